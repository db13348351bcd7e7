#pragma once
// The exclusion decision's window questions answered by user32: the window under
// a point, its process and top-level window, and that window's title. The address
// comes from whoever publishes it (the browser watcher in the program).

#include "exclusions/ExclusionDecision.h"
#include "platform/Win32.h"

class Win32PointTarget : public PointTargetQueries {
public:
    using AddressSource = std::wstring (*)(HWND topLevel);
    explicit Win32PointTarget(AddressSource addressOf) : addressOf_(addressOf) {}

    WindowId WindowAt(int32_t x, int32_t y) override;
    uint32_t ProcessIdOf(WindowId window) override;
    WindowId RootOf(WindowId window) override;
    std::wstring TitleOf(WindowId topLevel) override;
    std::wstring AddressOf(WindowId topLevel) override { return addressOf_(reinterpret_cast<HWND>(topLevel)); }
    uint64_t TickMs() override { return GetTickCount64(); }

private:
    AddressSource addressOf_;
};

// A window's text as InternalGetWindowText gives it, read into a zero-filled buffer
// of 512 characters (at most 511 of them).
std::wstring ReadWindowTitle(HWND window);

// The id of the process that made the window; 0 when there is none.
uint32_t WindowProcessId(HWND window);
