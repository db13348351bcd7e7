#pragma once
// Top-level windows and processes for the browser watcher's tests, on a clock the
// test moves. Not thread-safe: one watcher thread uses it.

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "exclusions/BrowserPoller.h"
#include "exclusions/ExclusionDecision.h"

// A fake window's title as the exclusion decision reads it: into its buffer, cut to
// the 511 characters the platform call gives.
inline size_t CopyTitle(std::wstring_view title, wchar_t* buffer) {
    const size_t length = std::min(title.size(), PointTargetQueries::TitleChars - 1);
    std::copy_n(title.data(), length, buffer);
    return length;
}

class FakeDesktop : public BrowserWindowQueries {
public:
    struct Window {
        uint32_t processId = 0;
        std::wstring className = L"Chrome_WidgetWin_1";
        std::wstring title = L"Page";
        bool visible = true;
    };
    std::vector<WindowId> order; // enumeration order
    std::map<WindowId, Window> windows;
    std::map<uint32_t, std::wstring> imagePaths; // a process missing here cannot be read
    WindowId foreground = 0;
    uint64_t now = 1000;
    int enumerations = 0, imageReads = 0;

    Window& Open(WindowId id, uint32_t processId, const std::wstring& className = L"Chrome_WidgetWin_1") {
        order.push_back(id);
        Window& window = windows[id];
        window.processId = processId;
        window.className = className;
        return window;
    }
    void Close(WindowId id) {
        std::erase(order, id);
        windows.erase(id);
    }

    void ForEachTopLevelWindow(const std::function<void(WindowId)>& visit) override {
        ++enumerations;
        for (WindowId id : order) visit(id);
    }
    bool IsVisible(WindowId id) override { return windows.at(id).visible; }
    std::wstring ClassName(WindowId id) override { return windows.at(id).className; }
    std::wstring Title(WindowId id) override { return windows.at(id).title; }
    uint32_t ProcessIdOf(WindowId id) override { return windows.at(id).processId; }
    WindowId Foreground() override { return foreground; }
    bool ReadImagePath(uint32_t processId, std::wstring& path) override {
        ++imageReads;
        const auto found = imagePaths.find(processId);
        if (found == imagePaths.end()) return false;
        path = found->second;
        return true;
    }
    uint64_t TickMs() override { return now; }
};
