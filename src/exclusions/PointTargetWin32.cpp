#include "exclusions/PointTargetWin32.h"

namespace {
constexpr int TitleChars = 512;
HWND AsWindow(WindowId window) { return reinterpret_cast<HWND>(window); }
} // namespace

std::wstring ReadWindowTitle(HWND window) {
    wchar_t buffer[TitleChars] = {};
    const int length = InternalGetWindowText(window, buffer, TitleChars);
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
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

std::wstring Win32PointTarget::TitleOf(WindowId topLevel) { return ReadWindowTitle(AsWindow(topLevel)); }
