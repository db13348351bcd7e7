#pragma once
// The last address read from each browser window, written by the browser watcher
// and copied by the hook. One lock, held only for one map operation and one string
// copy: never across a UI Automation call, a window query or a settings query.

#include <mutex>
#include <string>
#include <unordered_map>

#include "exclusions/WindowId.h"

class AddressBook {
public:
    // The address published for a top-level window; empty when there is none.
    std::wstring Get(WindowId window) const;
    // Sets the window's address; the empty string is published too (no address now).
    void Publish(WindowId window, const std::wstring& address);
    void Erase(WindowId window);
    void Clear();
    size_t Size() const;

private:
    mutable std::mutex lock_;
    std::unordered_map<WindowId, std::wstring> addresses_;
};
