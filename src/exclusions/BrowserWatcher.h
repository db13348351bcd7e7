#pragma once
// Reads the addresses shown in visible Chromium-family browser windows on a thread
// of its own and publishes them for the hook's site rules.

#include "exclusions/BrowserWatcherThread.h"
#include "platform/Win32.h"

class AddressBook;

namespace BrowserWatcher {
// Starts the watcher thread once. Main thread. makeTree: see BrowserWatcherThread.
void Start(BrowserWatcherThread::TreeFactory makeTree = nullptr);
// Ends the thread, waiting at most timeoutMs; false when it did not end (see
// BrowserWatcherThread::Stop). Main thread.
bool Stop(DWORD timeoutMs);
// The addresses last published. Any thread, running or not.
const AddressBook& Addresses();
} // namespace BrowserWatcher
