#pragma once
// Window messages shared between the program's parts and with other processes.

#include "platform/Win32.h"

inline constexpr wchar_t SingleInstanceMutexName[] = L"Velvetglide_SingleInstance_Mutex_9872";
inline constexpr wchar_t ShowSettingsMessageName[] = L"Velvetglide.ShowSettings";

// Registered before the entry point runs; 0 when registration failed.
extern const UINT ShowSettingsMessage;
extern const UINT TaskbarCreatedMessage;

inline constexpr UINT WM_TRAYICON = WM_APP + 1;
