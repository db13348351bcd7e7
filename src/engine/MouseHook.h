#pragma once
// The system-wide low-level mouse hook, on a thread of its own whose message loop
// lets the system call the hook procedure. The same thread watches that the hook
// keeps receiving input and installs it again when the system has dropped it.

#include <cstdint>

#include "platform/Win32.h"

namespace MouseHook {

// Starts the hook thread and waits until the hook is installed; true when it is.
bool Start(HINSTANCE instance);
// Removes the hook and ends the thread. Main thread only.
void Stop();

// How many times the hook has been installed again after the system dropped it.
uint32_t ReinstallCount();

// Removes the hook the way the system does when it gives up on a hook that timed
// out: without telling the watchdog. For the test build, which cannot make the
// system drop a hook on demand.
void SimulateSystemRemoval();

} // namespace MouseHook
