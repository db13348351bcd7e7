#pragma once

// Reads the addresses shown in visible browser windows on a thread of its own.
// The reader comes with its own change; until then nothing is started.
namespace BrowserWatcher {
void Start();
void Stop();
} // namespace BrowserWatcher
