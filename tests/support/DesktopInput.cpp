#include "support/DesktopInput.h"

#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/GdiScopes.h"
#include "platform/UniqueHandle.h"

namespace {

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

struct IconSearch {
    int count = 0;
    HWND first = nullptr;
};

BOOL CALLBACK CountIcon(HWND window, LPARAM context) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    auto& search = *reinterpret_cast<IconSearch*>(context);
    if (wcscmp(name, L"__winex11_tray_icon") == 0 && IsWindowVisible(window)) {
        if (!search.first) search.first = window;
        ++search.count;
    }
    return TRUE;
}

IconSearch FindIcons() {
    IconSearch search;
    if (HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr)) {
        if (IsWindowVisible(tray)) EnumChildWindows(tray, CountIcon, reinterpret_cast<LPARAM>(&search));
    }
    return search;
}

} // namespace

void MovePointer(POINT screen) {
    // Under Wine an injected move takes the X server's pointer along only while no
    // low-level mouse hook runs, and the program under test has one. Left behind, the
    // X pointer is reported again whenever a window appears under it, and a click
    // would end somewhere else.
    SetCursorPos(screen.x, screen.y);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen.x * 65535 / (width - 1), screen.y * 65535 / (height - 1));
}

void ClickAt(POINT screen, MouseButton button, bool doubleClick) {
    MovePointer(screen);
    const DWORD down = button == MouseButton::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    const DWORD up = button == MouseButton::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    for (int i = 0; i < (doubleClick ? 2 : 1); ++i) {
        SendMouse(down);
        SendMouse(up);
    }
}

void ClickCentreOf(HWND window, MouseButton button, bool doubleClick) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, button, doubleClick);
}

POINT FindFramePart(HWND window, LRESULT hitTest) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    // The part's box within the caption row at the top right, then its middle:
    // its edges may belong to the border.
    RECT part = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = frame.top; y < frame.top + 40 && y < frame.bottom; ++y) {
        for (LONG x = frame.right - 1; x > frame.right - 120 && x >= frame.left; --x) {
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != hitTest) continue;
            part = {std::min(part.left, x), std::min(part.top, y), std::max(part.right, x), std::max(part.bottom, y)};
        }
    }
    if (part.left > part.right) return {-1, -1};
    return {(part.left + part.right) / 2, (part.top + part.bottom) / 2};
}

void PressKey(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

void Keystroke(WORD key, bool ctrl, bool shift) {
    if (ctrl) PressKey(VK_CONTROL, true);
    if (shift) PressKey(VK_SHIFT, true);
    PressKey(key, true);
    PressKey(key, false);
    if (shift) PressKey(VK_SHIFT, false);
    if (ctrl) PressKey(VK_CONTROL, false);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= end) return condition();
        Sleep(20);
    }
    return true;
}

int WineSystemTray::VisibleIconCount() { return FindIcons().count; }

HWND WineSystemTray::FirstIcon() { return FindIcons().first; }

std::wstring WineSystemTray::TooltipText(const std::wstring& differentFrom) {
    std::wstring text;
    // The pointer arrives from elsewhere so the icon sees a fresh hover.
    MovePointer({GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2});
    Sleep(100);
    RECT icon = {};
    GetWindowRect(FirstIcon(), &icon);
    const POINT centre = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    MovePointer(centre);
    Sleep(50);
    MovePointer({centre.x + 1, centre.y + 1});
    WaitFor([&] {
        for (HWND tip = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); tip;
             tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) {
            if (!IsWindowVisible(tip)) continue;
            wchar_t buffer[256] = {};
            DWORD_PTR copied = 0;
            SendMessageTimeoutW(tip, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 1000, &copied);
            if (buffer[0] && differentFrom != buffer) {
                text = buffer;
                return true;
            }
        }
        return false;
    });
    return text;
}

HWND FindDialog(const wchar_t* caption) {
    const HWND dialog = FindWindowW(L"#32770", caption);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

std::wstring DialogMessage(HWND dialog) {
    std::wstring longest;
    for (HWND child = FindWindowExW(dialog, nullptr, L"Static", nullptr); child;
         child = FindWindowExW(dialog, child, L"Static", nullptr)) {
        const int length = GetWindowTextLengthW(child);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(child, text.data(), length + 1)));
        if (text.size() > longest.size()) longest = text;
    }
    return longest;
}

HWND VisibleMenu() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

std::vector<DWORD> ScreenPixels(POINT origin, SIZE box) {
    std::vector<DWORD> pixels(static_cast<size_t>(box.cx) * box.cy);
    const WindowDc screen(nullptr);
    const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, box.cx, -box.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, box.cx, box.cy, screen.get(), origin.x, origin.y, SRCCOPY);
    GdiFlush();
    if (bits) memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
    return pixels;
}

int DifferingPixels(POINT first, POINT second, SIZE box) {
    const std::vector<DWORD> a = ScreenPixels(first, box), b = ScreenPixels(second, box);
    int differing = 0;
    for (size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
    return differing;
}
