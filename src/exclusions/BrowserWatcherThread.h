#pragma once
// The browser watcher's thread: in the multithreaded COM apartment, with its own
// UI Automation object, it polls the browser windows every 300 ms until stopped.

#include <thread>

#include "platform/UniqueHandle.h"

class AddressBook;
class ConfigStore;

class BrowserWatcherThread {
public:
    BrowserWatcherThread() = default;
    ~BrowserWatcherThread() { Stop(); }
    BrowserWatcherThread(const BrowserWatcherThread&) = delete;
    BrowserWatcherThread& operator=(const BrowserWatcherThread&) = delete;

    // Starts the thread unless it runs; both must outlive it. Without a stop event or
    // a thread nothing runs, and every address stays empty (site rules match by title).
    void Start(const ConfigStore& store, AddressBook& addresses);
    // Signals the stop event and waits for the thread, so a poll in progress finishes first.
    void Stop();
    bool IsRunning() const { return worker_.joinable(); }

private:
    UniqueKernelHandle stopEvent_;
    std::thread worker_; // last: never outlives the event it waits on
};
