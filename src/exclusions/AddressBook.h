#pragma once
// The last address read from each browser window: changed by the browser watcher,
// read by the hook. The watcher edits a working copy of its own and commits it
// after each poll as a new immutable map; a reader holds one committed map for as
// long as it looks at it. The hook never waits on the watcher.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "exclusions/WindowId.h"
#include "platform/Published.h"

class AddressBook {
public:
    using Map = std::unordered_map<WindowId, std::wstring>;

    // One committed state of the book; what Get returns lives as long as the view.
    class View {
    public:
        std::wstring_view Get(WindowId window) const;
        size_t Size() const { return map_ ? map_->size() : 0; }

    private:
        friend class AddressBook;
        std::shared_ptr<const Map> map_;
    };

    AddressBook() : published_(std::make_shared<const Map>()) {}

    // Any thread: the last committed state.
    View Read() const;

    // The watcher thread only: edits of the working copy, seen by readers after Commit.
    // The empty string is published too (no address now).
    void Publish(WindowId window, std::wstring_view address);
    void Erase(WindowId window);
    void Clear();
    void Commit(); // publishes the working copy when an edit changed it

private:
    Map working_;
    bool changed_ = false;
    Published<Map> published_;
};
