#pragma once
// The browser watcher's thread: in the multithreaded COM apartment, with its own
// UI Automation object, it polls the browser windows every 300 ms while there are
// site rules, and sleeps without a timeout while there are none, until the
// settings change or it is stopped.

#include <memory>
#include <thread>

#include "platform/UniqueHandle.h"

class AddressBook;
class AutomationTree;
class ConfigStore;

class BrowserWatcherThread {
public:
    // Makes the automation tree on the watcher thread; null: the system's UI Automation.
    using TreeFactory = std::unique_ptr<AutomationTree> (*)();

    BrowserWatcherThread() = default;
    ~BrowserWatcherThread() { Stop(INFINITE); }
    BrowserWatcherThread(const BrowserWatcherThread&) = delete;
    BrowserWatcherThread& operator=(const BrowserWatcherThread&) = delete;

    // Starts the thread unless it runs; both must outlive it. Without its events or a
    // thread nothing runs, and every address stays empty (site rules match by title).
    void Start(ConfigStore& store, AddressBook& addresses, TreeFactory makeTree = nullptr);
    // Signals the stop event and waits up to timeoutMs for the thread, so a poll in
    // progress finishes first. False when the thread is still inside a call that does
    // not return (a browser's automation provider that hangs): it is left running,
    // and the caller must end the process rather than wait for it.
    bool Stop(DWORD timeoutMs);
    bool IsRunning() const { return worker_.joinable(); }

private:
    ConfigStore* store_ = nullptr;
    UniqueKernelHandle stopEvent_;
    UniqueKernelHandle changedEvent_; // the settings changed (auto-reset)
    UniqueKernelHandle exitedEvent_;  // set by the thread as its very last step
    std::thread worker_; // last: never outlives the events it waits on
};
