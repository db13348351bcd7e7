#include "exclusions/PointTargetWin32.h"

namespace {
HWND AsWindow(WindowId window) { return reinterpret_cast<HWND>(window); }

size_t ReadTitleInto(HWND window, wchar_t* buffer) {
    const int length = InternalGetWindowText(window, buffer, static_cast<int>(PointTargetQueries::TitleChars));
    return length > 0 ? static_cast<size_t>(length) : 0;
}
} // namespace

std::wstring ReadWindowTitle(HWND window) {
    wchar_t buffer[PointTargetQueries::TitleChars] = {};
    return std::wstring(buffer, ReadTitleInto(window, buffer));
}

WindowId Win32PointTarget::WindowAt(int32_t x, int32_t y) {
    return reinterpret_cast<WindowId>(WindowFromPoint(POINT{x, y}));
}

uint32_t WindowProcessId(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

uint32_t Win32PointTarget::ProcessIdOf(WindowId window) { return WindowProcessId(AsWindow(window)); }

WindowId Win32PointTarget::RootOf(WindowId window) {
    return reinterpret_cast<WindowId>(GetAncestor(AsWindow(window), GA_ROOT));
}

size_t Win32PointTarget::TitleOf(WindowId topLevel, wchar_t* buffer) { return ReadTitleInto(AsWindow(topLevel), buffer); }

std::wstring_view Win32PointTarget::AddressOf(WindowId topLevel) {
    if (!viewTaken_) {
        view_ = addresses_.Read();
        viewTaken_ = true;
    }
    return view_.Get(topLevel);
}
