#include "platform/Dpi.h"

#include "platform/GdiScopes.h"

namespace {

constexpr int DefaultDpi = 96;

template <typename Fn>
Fn User32Function(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int DcDpi(HWND window) {
    const WindowDc dc(window);
    return dc ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
}

} // namespace

void BecomeDpiAware() {
    using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    static const auto setContext = User32Function<SetProcessDpiAwarenessContextFn>("SetProcessDpiAwarenessContext");
    if (!setContext || !setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) SetProcessDPIAware();
}

void MakeThreadPerMonitorDpiAware() {
    using SetThreadDpiAwarenessContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    static const auto setContext = User32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
    if (setContext) setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

unsigned WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    const int dpi = DcDpi(window);
    return dpi > 0 ? static_cast<unsigned>(dpi) : DefaultDpi;
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, unsigned dpi) {
    using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi) {
        adjustForDpi(&rect, style, FALSE, 0, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, 0);
    }
}

int SystemMetricForDpi(int metric, unsigned dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto metricsForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (metricsForDpi) return metricsForDpi(metric, dpi);
    // Before Windows 10 1607 the metrics are those of the system DPI: scale them from there.
    int systemDpi = DcDpi(nullptr);
    if (systemDpi <= 0) systemDpi = DefaultDpi;
    return MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), systemDpi);
}
