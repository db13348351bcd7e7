#pragma once
// The system-wide low-level mouse hook, on a thread of its own whose message loop
// lets the system call the hook procedure. The same thread watches that the hook
// keeps receiving input and installs it again when the system has dropped it.

#include <cstdint>

#include "platform/Win32.h"

namespace MouseHook {

// Starts the hook thread and waits until the hook is installed; true when it is.
bool Start(HINSTANCE instance);
// Removes the hook and ends the thread. Main thread only. False when the thread did not
// end in time: it is left behind, and the process must not return into its destructors.
bool Stop();

// How many times the hook has been installed again after the system dropped it.
uint32_t ReinstallCount();

// The hook as installed now and the hook thread, for the test build, which makes the
// system's misdeeds happen on demand (app/TestSeams.cpp). Null when not running.
HHOOK InstalledHook();
HANDLE Thread();

} // namespace MouseHook
