#pragma once
// What the test build can make happen inside the running program that cannot be
// produced from outside on demand: the system dropping the mouse hook, a shell that
// refuses the first tray icons, a browser whose automation provider never answers.
// The shipped program links the empty version (NoTestSeams.cpp); only the test
// build (TestSeams.cpp) reads the environment and answers the tests' messages.

#include "exclusions/BrowserWatcherThread.h"
#include "platform/Win32.h"

namespace TestSeams {
// Before the services start.
void Configure();
// The browser watcher's automation tree; null: the system's.
BrowserWatcherThread::TreeFactory AutomationTreeFactory();
// Once the settings window exists: the messages the tests send to it.
void Attach(HWND settingsWindow);
} // namespace TestSeams
