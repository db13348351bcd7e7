// A window of its own process for the end-to-end tests: copied under the file name
// of a game or a browser, it shows a top-level window of the requested class and
// title (with a child window inside when asked) and records every wheel message in
// the test's shared report.
//
//   velvetglide_wheel_target.exe REPORT_NAME CLASS X Y WIDTH HEIGHT CHILD(0|1) TITLE

#include <cwchar>
#include <cstdlib>

#include "support/TargetReport.h"
#include "support/WheelTargetWindow.h"

namespace {

TargetReport* g_report = nullptr;
HWND g_child = nullptr;

void Record(UINT message, WPARAM wParam) {
    const LONG index = g_report->count;
    if (index >= TargetReport::MaxRecords) return;
    TargetWheelRecord& record = g_report->records[index];
    record.delta = GET_WHEEL_DELTA_WPARAM(wParam);
    record.horizontal = message == WM_MOUSEHWHEEL;
    record.extraInfo = static_cast<uint64_t>(GetMessageExtraInfo());
    record.timeMs = QpcNowMs();
    InterlockedExchange(&g_report->count, index + 1); // a full barrier: the record is visible first
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        Record(message, wParam);
        return 0; // not handed to the parent: each message is recorded once
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (window != g_child) PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 9) return 2;
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, argv[1]);
    if (!mapping) return 3;
    g_report = static_cast<TargetReport*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TargetReport)));
    if (!g_report) return 4;
    const int x = _wtoi(argv[3]), y = _wtoi(argv[4]), width = _wtoi(argv[5]), height = _wtoi(argv[6]);
    const bool withChild = _wtoi(argv[7]) != 0;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = argv[2];
    RegisterClassW(&windowClass);
    windowClass.lpszClassName = L"VelvetglideTargetChild";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
    RegisterClassW(&windowClass);

    HWND window = CreateWindowExW(WS_EX_TOPMOST, argv[2], argv[8], WS_POPUP | WS_VISIBLE, x, y, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 5;
    if (withChild) {
        // Covers the window but a 10-pixel frame, as a browser's page covers its window.
        g_child = CreateWindowExW(0, L"VelvetglideTargetChild", L"", WS_CHILD | WS_VISIBLE, 10, 10, width - 20,
                                  height - 20, window, nullptr, instance, nullptr);
    }
    SetForegroundWindow(window);
    g_report->topLevel = reinterpret_cast<uint64_t>(window);
    g_report->child = reinterpret_cast<uint64_t>(g_child);
    InterlockedExchange(&g_report->ready, 1);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    UnmapViewOfFile(g_report);
    CloseHandle(mapping);
    return 0;
}
