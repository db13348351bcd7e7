#pragma once
// The exclusion decision's window questions answered by user32: the window under
// a point, its process and top-level window, and that window's title. The address
// comes from the book the browser watcher commits to.

#include "exclusions/AddressBook.h"
#include "exclusions/ExclusionDecision.h"
#include "platform/Win32.h"

#include <string>

class Win32PointTarget : public PointTargetQueries {
public:
    explicit Win32PointTarget(const AddressBook& addresses) : addresses_(addresses) {}

    WindowId WindowAt(int32_t x, int32_t y) override;
    uint32_t ProcessIdOf(WindowId window) override;
    WindowId RootOf(WindowId window) override;
    size_t TitleOf(WindowId topLevel, wchar_t* buffer) override;
    std::wstring_view AddressOf(WindowId topLevel) override;
    uint64_t TickMs() override { return GetTickCount64(); }

private:
    const AddressBook& addresses_;
    AddressBook::View view_; // taken at the first address question, held to the end
    bool viewTaken_ = false;
};

// A window's text as InternalGetWindowText gives it, read into a zero-filled buffer
// of 512 characters (at most 511 of them).
std::wstring ReadWindowTitle(HWND window);

// The id of the process that made the window; 0 when there is none.
uint32_t WindowProcessId(HWND window);
