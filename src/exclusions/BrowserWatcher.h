#pragma once
// Reads the addresses shown in visible Chromium-family browser windows on a thread
// of its own, every 300 ms, and publishes them for the hook's site rules.

#include <string>

#include "platform/Win32.h"

namespace BrowserWatcher {
// Starts the watcher thread once. Main thread.
void Start();
// Ends the thread, waiting for a poll in progress. Main thread.
void Stop();
// The last address published for a top-level window, or empty. Any thread, running or not.
std::wstring GetAddress(HWND topLevel);
} // namespace BrowserWatcher
