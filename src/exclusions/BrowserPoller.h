#pragma once
// One poll of the browser watcher and the state it keeps between polls: which
// browser windows are visible, their titles, the address field found in each, and
// when to read or search again. Publishes each address read into an AddressBook.
// Owned and used by the watcher thread alone; only the AddressBook is shared.

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "exclusions/AddressFieldSearch.h"
#include "exclusions/AutomationTree.h"
#include "exclusions/BrowserKind.h"
#include "exclusions/WindowId.h"

class AddressBook;
class ConfigStore;

// The window and process questions of the watcher; the Win32 version asks user32 and kernel32.
class BrowserWindowQueries {
public:
    virtual ~BrowserWindowQueries() = default;
    virtual void ForEachTopLevelWindow(const std::function<void(WindowId)>& visit) = 0;
    virtual bool IsVisible(WindowId window) = 0;
    virtual std::wstring ClassName(WindowId window) = 0; // at most 63 characters
    virtual std::wstring Title(WindowId window) = 0;     // at most 511 characters
    virtual uint32_t ProcessIdOf(WindowId window) = 0;
    virtual WindowId Foreground() = 0;
    // The full image path of a process; false when it cannot be opened or read.
    virtual bool ReadImagePath(uint32_t processId, std::wstring& path) = 0;
    virtual uint64_t TickMs() = 0;
};

struct WatchedWindow {
    std::wstring Title;        // at the last poll; only used to notice a change
    ElementRef AddressField;   // kept between polls once found
    uint64_t LastReadMs = 0;   // last attempt to read the address
    uint64_t RetryAfterMs = 0; // no new search before this tick
    bool Seen = false;         // met during the current poll
};

// The browser family of each process id, for a minute; the whole cache is emptied
// when it holds more than 256 entries at a store.
class BrowserKindCache {
public:
    static constexpr uint64_t FreshMs = 60000;
    static constexpr size_t MaxEntries = 256;

    BrowserKind Get(uint32_t processId, BrowserWindowQueries& system);
    size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        BrowserKind kind;
        uint64_t checkedAtMs;
    };
    std::unordered_map<uint32_t, Entry> entries_;
};

class BrowserPoller {
public:
    static constexpr uint64_t ForegroundRereadMs = 2000;
    static constexpr uint64_t SearchBackoffMs = 30000;

    // All four must outlive the poller. stop is asked between automation calls.
    BrowserPoller(BrowserWindowQueries& system, AutomationTree& tree, AddressBook& addresses, const ConfigStore& store,
                  StopRequested stop = {})
        : system_(system), tree_(tree), addresses_(addresses), store_(store), stop_(std::move(stop)) {}
    ~BrowserPoller() { ReleaseEverything(); }
    BrowserPoller(const BrowserPoller&) = delete;
    BrowserPoller& operator=(const BrowserPoller&) = delete;

    // One poll; what it read is committed to the address book at its end.
    void Poll();
    // Drops every window with its element and empties the published addresses.
    void ReleaseEverything();

    const WatchedWindow* Find(WindowId window) const;
    size_t WatchedCount() const { return windows_.size(); }

private:
    void Examine(WindowId window);
    void ReadAddress(WindowId window, WatchedWindow& watched, uint64_t now);
    void Sweep();

    BrowserWindowQueries& system_;
    AutomationTree& tree_;
    AddressBook& addresses_;
    const ConfigStore& store_;
    StopRequested stop_;
    std::unordered_map<WindowId, WatchedWindow> windows_;
    BrowserKindCache kinds_;
};
