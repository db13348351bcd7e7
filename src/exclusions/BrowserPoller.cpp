#include "exclusions/BrowserPoller.h"

#include "exclusions/AddressBook.h"
#include "exclusions/AddressFieldSearch.h"
#include "exclusions/ExclusionRules.h"
#include "settings/ConfigStore.h"

namespace {

// Other programs use these classes too; the process decides (BrowserKindCache).
bool IsBrowserWindowClass(const std::wstring& className) {
    return className == L"Chrome_WidgetWin_1" || className == L"MozillaWindowClass";
}

} // namespace

BrowserKind BrowserKindCache::Get(uint32_t processId, BrowserWindowQueries& system) {
    const uint64_t now = system.TickMs();
    const auto found = entries_.find(processId);
    if (found != entries_.end() && now - found->second.checkedAtMs < FreshMs) return found->second.kind;

    // A process that cannot be read counts as no browser, for a minute like any other.
    BrowserKind kind = BrowserKind::None;
    std::wstring path;
    if (system.ReadImagePath(processId, path)) kind = ClassifyBrowserExe(FileNameOfPath(path));
    if (entries_.size() > MaxEntries) entries_.clear();
    entries_[processId] = Entry{kind, now};
    return kind;
}

void BrowserPoller::Poll() {
    if (!store_.HasSiteExclusions()) {
        ReleaseEverything();
        return;
    }
    for (auto& [window, watched] : windows_) watched.Seen = false;
    system_.ForEachTopLevelWindow([this](WindowId window) {
        if (!(stop_ && stop_())) Examine(window);
    });
    Sweep();
    addresses_.Commit();
}

void BrowserPoller::Examine(WindowId window) {
    if (!system_.IsVisible(window)) return;
    if (!IsBrowserWindowClass(system_.ClassName(window))) return;
    std::wstring title = system_.Title(window);
    if (title.empty()) return;
    const BrowserKind kind = kinds_.Get(system_.ProcessIdOf(window), system_);
    if (kind == BrowserKind::None) return;

    WatchedWindow& watched = windows_[window];
    watched.Seen = true;
    const uint64_t now = system_.TickMs();
    const bool changed = title != watched.Title;
    watched.Title = std::move(title);
    // Firefox-family windows are tracked, but their address is never read.
    if (kind != BrowserKind::ChromiumFamily) return;
    // An unchanged title costs nothing, except in the foreground window now and then:
    // navigation that keeps the title is noticed there within a few seconds.
    if (!changed && !(system_.Foreground() == window && now - watched.LastReadMs > ForegroundRereadMs)) return;
    ReadAddress(window, watched, now);
}

void BrowserPoller::ReadAddress(WindowId window, WatchedWindow& watched, uint64_t now) {
    watched.LastReadMs = now;
    if (!watched.AddressField && now >= watched.RetryAfterMs) {
        watched.AddressField = FindAddressField(tree_, window, stop_);
        if (!watched.AddressField) watched.RetryAfterMs = now + SearchBackoffMs;
    }
    std::wstring address;
    if (watched.AddressField) {
        std::wstring text;
        if (tree_.ReadValue(watched.AddressField.get(), text)) {
            address = ExclusionRules::NormalizeAddress(text);
        } else {
            // The element went stale (the window rebuilt its toolbar): search again at the next read.
            watched.AddressField.reset();
            watched.RetryAfterMs = 0;
        }
    }
    addresses_.Publish(window, address);
}

void BrowserPoller::Sweep() {
    for (auto it = windows_.begin(); it != windows_.end();) {
        if (it->second.Seen) {
            ++it;
            continue;
        }
        it->second.AddressField.reset();
        addresses_.Erase(it->first);
        it = windows_.erase(it);
    }
}

void BrowserPoller::ReleaseEverything() {
    for (auto& [window, watched] : windows_) watched.AddressField.reset();
    windows_.clear();
    addresses_.Clear();
    addresses_.Commit();
}

const WatchedWindow* BrowserPoller::Find(WindowId window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : &found->second;
}
