#pragma once
// What the hook's exclusion decision sees for a notch over a page inside a Chromium
// window, for the benchmarks: the page, its top-level window and title, the
// address the watcher committed for it, and a chrome.exe process at our level.

#include <algorithm>
#include <string>
#include <string_view>

#include "exclusions/AddressBook.h"
#include "exclusions/ExclusionDecision.h"
#include "exclusions/ProcessInfo.h"

class BrowserUnderCursor : public PointTargetQueries, public ProcessQueries {
public:
    static constexpr WindowId Page = 0x100, Window = 0x200;
    AddressBook addresses;

    BrowserUnderCursor() {
        addresses.Publish(Window, L"weather.example.com/forecast/week");
        addresses.Commit();
    }

    WindowId WindowAt(int32_t, int32_t) override { return Page; }
    uint32_t ProcessIdOf(WindowId) override { return 4242; }
    WindowId RootOf(WindowId) override { return Window; }
    size_t TitleOf(WindowId, wchar_t* buffer) override {
        constexpr std::wstring_view title = L"Weather forecast for the week ahead - Google Chrome";
        std::copy(title.begin(), title.end(), buffer);
        return title.size();
    }
    std::wstring_view AddressOf(WindowId window) override {
        view_ = addresses.Read();
        return view_.Get(window);
    }
    uint64_t TickMs() override { return 10000; }

    bool Inspect(uint32_t, std::wstring& path, uint32_t& level) override {
        path = L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe";
        level = MediumIntegrityLevel;
        return true;
    }
    uint32_t ReadOwnIntegrityLevel() override { return MediumIntegrityLevel; }

private:
    AddressBook::View view_;
};

// Five site rules of the kinds people add, none matching the page above.
inline constexpr const wchar_t* FiveSiteRules[] = {L"wikipedia.org", L"github.com/settings", L"Видео",
                                                   L"docs.python.org", L"youtube.com"};
