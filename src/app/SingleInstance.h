#pragma once
// Whether this start is the first instance of the logon, from what creating the named
// single-instance mutex gave. No windows.h: the system's error codes are passed in.

#include <cstdint>

enum class InstanceRole { First, Second };

// An instance started as administrator owns a mutex whose security a normal instance
// may not open: creating it then fails with "access denied". That is another instance
// all the same; taking it for none would give two tray icons and two writers of one file.
InstanceRole RoleFromMutexCreation(bool gotHandle, uint32_t lastError);

// The system's error codes the decision reads.
inline constexpr uint32_t MutexErrorAccessDenied = 5;   // ERROR_ACCESS_DENIED
inline constexpr uint32_t MutexErrorAlreadyExists = 183; // ERROR_ALREADY_EXISTS
