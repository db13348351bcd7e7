#pragma once
// The system-wide low-level mouse hook, on a thread of its own whose message loop
// lets the system call the hook procedure.

#include "platform/Win32.h"

namespace MouseHook {

// Starts the hook thread and waits until the hook is installed; true when it is.
bool Start(HINSTANCE instance);
// Removes the hook and ends the thread. Main thread only.
void Stop();

} // namespace MouseHook
