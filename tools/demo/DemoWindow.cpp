// velvetglide_demo.exe: shows the real Velvetglide.exe at work. A 500-line list under
// the cursor scrolls by whatever wheel messages reach it and records each one; a few
// notches go in with SendInput; what arrived goes to a CSV for tools/plot-glide.py,
// next to the curve the engine's own arithmetic predicts for the same send times.
//
// Usage: velvetglide_demo.exe OUT.csv [SNAPSHOT-REQUEST-FILE]
// The request file (holding the window's X geometry) is created mid-glide so that a
// script outside Wine can take a screenshot; the demo then waits for REQUEST-FILE.done
// before closing its window.
// Velvetglide.exe must sit beside this exe (ProgramUnderTest copies it from there).

#include <algorithm>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/AxisMotion.h"
#include "engine/Ease.h"
#include "engine/WheelInjection.h"
#include "platform/GdiScopes.h"
#include "platform/UniqueHandle.h"
#include "settings/Settings.h"
#include "support/ProgramUnderTest.h"
#include "support/WheelTargetWindow.h" // QpcNowMs, InjectWheel

namespace {

constexpr int WindowX = 100, WindowY = 100, WindowW = 440, WindowH = 560;
constexpr int HeaderH = 64, RowH = 24, RowCount = 500;
constexpr int NotchDelta = -120; // one notch towards the user: the list moves down

struct Arrival {
    double timeMs;
    int delta;
    bool marked;
};

// The list window, on a thread of its own so that its messages keep flowing while
// the main thread sleeps between notches.
class DemoList {
public:
    DemoList() {
        created_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] { Run(); });
        WaitForSingleObject(created_, 10000);
    }
    ~DemoList() {
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (thread_.joinable()) thread_.join();
        CloseHandle(created_);
    }
    void PlaceCursor() {
        SetCursorPos(WindowX + WindowW / 2, WindowY + HeaderH + (WindowH - HeaderH) / 2);
        SetForegroundWindow(window_);
    }
    // Empties the record; the header then counts this train only.
    void Clear(const char* train) {
        {
            std::lock_guard<std::mutex> lock(lock_);
            arrivals_.clear();
            train_ = train;
            shownCount_ = shownMarked_ = shownUnits_ = 0;
        }
        if (window_) InvalidateRect(window_, nullptr, FALSE);
    }
    // Waits until nothing arrived for quietMs: the train is over.
    std::vector<Arrival> WaitUntilQuiet(int quietMs = 200, int timeoutMs = 5000) {
        const double start = QpcNowMs();
        for (;;) {
            Sleep(10);
            std::lock_guard<std::mutex> lock(lock_);
            const double now = QpcNowMs();
            const double last = arrivals_.empty() ? start : arrivals_.back().timeMs;
            if (now - last >= quietMs || now - start >= timeoutMs) return arrivals_;
        }
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<DemoList*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_MOUSEWHEEL:
            if (self) self->OnWheel(window, GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1; // WM_PAINT covers everything; no flicker
        case WM_PAINT:
            if (self) self->Paint(window);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void OnWheel(HWND window, int delta) {
        const Arrival arrival{QpcNowMs(), delta, GetMessageExtraInfo() == static_cast<LPARAM>(WheelMarker)};
        {
            std::lock_guard<std::mutex> lock(lock_);
            arrivals_.push_back(arrival);
            ++shownCount_;
            shownMarked_ += arrival.marked;
            shownUnits_ += delta;
            // Pixel-exact like a browser: 120 units = the user's wheel lines, fractions kept.
            const double maxScroll = RowCount * RowH - (WindowH - HeaderH);
            scrollPx_ = std::clamp(scrollPx_ - delta * linesPerNotch_ * RowH / 120.0, 0.0, maxScroll);
        }
        InvalidateRect(window, nullptr, FALSE);
    }

    void Paint(HWND window) {
        const PaintDc screen(window);
        RECT client;
        GetClientRect(window, &client);
        const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
        const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
        const SelectedObject selectedBitmap(memory.get(), bitmap.get());
        const SelectedObject selectedFont(memory.get(), font_.get());
        const HDC dc = memory.get();
        SetBkMode(dc, TRANSPARENT);

        double scroll;
        std::wstring title, status;
        {
            std::lock_guard<std::mutex> lock(lock_);
            scroll = scrollPx_;
            title = L"Velvetglide demo: " + std::wstring(train_.begin(), train_.end());
            status = std::to_wstring(shownCount_) + L" wheel messages (" + std::to_wstring(shownMarked_) +
                     L" marked), " + std::to_wstring(std::abs(shownUnits_)) +
                     (shownUnits_ > 0 ? L" units up" : L" units down");
        }

        const int listH = client.bottom - HeaderH;
        const int top = static_cast<int>(std::floor(scroll));
        for (int row = top / RowH; row < RowCount && row * RowH - top < listH; ++row) {
            RECT r{0, HeaderH + row * RowH - top, client.right - 12, HeaderH + (row + 1) * RowH - top};
            Fill(dc, r, row % 2 ? RGB(240, 244, 250) : RGB(255, 255, 255));
            SetTextColor(dc, RGB(30, 30, 30));
            const std::wstring text = L"Line " + std::to_wstring(row + 1);
            RECT textRect = r;
            textRect.left += 14;
            DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER);
        }
        // Scroll bar: where the view is in the whole list.
        RECT track{client.right - 12, HeaderH, client.right, client.bottom};
        Fill(dc, track, RGB(225, 225, 225));
        const double total = RowCount * RowH;
        const int thumbTop = HeaderH + static_cast<int>(scroll / total * listH);
        const int thumbH = std::max(20, static_cast<int>(listH * listH / total));
        RECT thumb{client.right - 10, thumbTop, client.right - 2, thumbTop + thumbH};
        Fill(dc, thumb, RGB(120, 120, 130));

        RECT header{0, 0, client.right, HeaderH};
        Fill(dc, header, RGB(45, 55, 80));
        SetTextColor(dc, RGB(255, 255, 255));
        RECT line1{12, 8, client.right, 32};
        DrawTextW(dc, title.c_str(), -1, &line1, DT_SINGLELINE);
        SetTextColor(dc, RGB(190, 210, 255));
        RECT line2{12, 34, client.right, 58};
        DrawTextW(dc, status.c_str(), -1, &line2, DT_SINGLELINE);

        BitBlt(screen.get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    }

    static void Fill(HDC dc, const RECT& r, COLORREF color) {
        const UniqueBrush brush(CreateSolidBrush(color));
        FillRect(dc, &r, brush.get());
    }

    void Run() {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        linesPerNotch_ = lines == 0 || lines == WHEEL_PAGESCROLL ? 3 : static_cast<int>(lines);
        font_.reset(CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"DejaVu Sans"));
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VelvetglideDemoList";
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&windowClass);
        // A popup without a frame: with no window manager under Xvfb a caption would not be drawn anyway.
        window_ = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"Velvetglide demo",
                                  WS_POPUP | WS_VISIBLE, WindowX, WindowY, WindowW, WindowH, nullptr, nullptr,
                                  windowClass.hInstance, this);
        SetEvent(created_);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        font_.reset();
        UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
    }

    std::mutex lock_;
    std::vector<Arrival> arrivals_;
    std::string train_ = "waiting";
    int shownCount_ = 0, shownMarked_ = 0, shownUnits_ = 0;
    double scrollPx_ = 0;
    int linesPerNotch_ = 3; // signed: delta * lines must stay negative for a notch down
    UniqueFont font_;
    HWND window_ = nullptr;
    HANDLE created_ = nullptr;
    std::thread thread_;
};

struct Train {
    const char* name;
    std::vector<double> offsetsMs; // when each notch is sent, from the first
    std::vector<double> sentMs;    // when each was actually sent, from the first
    std::vector<Arrival> arrivals; // times from the first send
};

// The engine's curve for the notches as they were sent, fed through the same
// functions ScrollEngine::QueueWheel calls; sampled every millisecond.
std::vector<std::pair<double, double>> ModelCurve(const AxisSettings& settings, const std::vector<double>& sentMs) {
    struct Segment {
        double startMs, startPos, targetPos, velocity, durationMs, smoothing;
    };
    AxisState axis(false);
    std::vector<Segment> segments;
    for (double t : sentMs) {
        AxisMotion::AddNotch(axis, t, NotchDelta / 120.0, settings);
        segments.push_back({axis.startTimeMs, axis.startPos, axis.targetPos, axis.startVelocity, axis.durationMs,
                            axis.smoothing});
    }
    std::vector<std::pair<double, double>> curve;
    const double end = segments.back().startMs + segments.back().durationMs + 20;
    for (double t = 0; t <= end; t += 1.0) {
        double position = 0;
        for (const Segment& s : segments) {
            if (s.startMs > t) break;
            position = s.startPos + Ease((t - s.startMs) / s.durationMs, s.smoothing, s.velocity) * (s.targetPos - s.startPos);
        }
        curve.emplace_back(t, position);
    }
    return curve;
}

// The request holds the window's place on the screen as an X geometry, for `import -crop`.
void RequestSnapshot(const std::wstring& path) {
    char geometry[64];
    const int length = std::snprintf(geometry, sizeof geometry, "%dx%d+%d+%d\n", WindowW, WindowH, WindowX, WindowY);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, geometry, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

std::wstring ConfigText(const AxisSettings& a) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "[Vertical]\r\nSpeed=%d\r\nDurationMs=%d\r\nSmoothing=%.2f\r\nAccelEnabled=%d\r\nAccelStrength=%.2f\r\n",
                  a.Speed, a.DurationMs, a.Smoothing, a.AccelEnabled ? 1 : 0, a.AccelStrength);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fflush(stdout); // piped stdout is fully buffered: show progress as it happens
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: velvetglide_demo.exe OUT.csv [SNAPSHOT-REQUEST-FILE]\n");
        return 2;
    }
    const std::wstring csvPath = argv[1];
    const std::wstring snapshotRequest = argc > 2 ? argv[2] : L"";

    const AxisSettings settings; // the program's defaults, written out so both sides agree
    DemoList list;
    list.PlaceCursor();
    Sleep(200); // let the X server map the window before input arrives

    ProgramUnderTest program(ConfigText(settings));
    if (!program.Start(L"--minimized")) {
        std::fprintf(stderr, "demo: Velvetglide.exe did not start (is it beside velvetglide_demo.exe?)\n");
        return 1;
    }
    list.PlaceCursor();

    // The hook is installed a little after the window appears: a notch up (the list
    // is at its top, so nothing moves) comes back as a train once it is.
    bool hooked = false;
    for (int attempt = 0; attempt < 10 && !hooked; ++attempt) {
        list.Clear("probe");
        InjectWheel(120);
        const std::vector<Arrival> probe = list.WaitUntilQuiet(150);
        hooked = std::count_if(probe.begin(), probe.end(), [](const Arrival& a) { return a.marked; }) > 1;
    }
    if (!hooked) {
        std::fprintf(stderr, "demo: the probe notch was not smoothed: Velvetglide's hook is not active\n");
        return 1;
    }
    Say("Velvetglide.exe is running (DurationMs=%d, Smoothing=%.0f, acceleration up to x%.0f) and its hook is active;\n"
        "the demo window's list is under the cursor. Sending:\n",
        settings.DurationMs, settings.Smoothing, settings.AccelStrength);
    Sleep(400); // past AxisMotion::BurstGapMs: the probe cannot count towards acceleration

    std::vector<Train> trains = {
        {"one notch", {0}, {}, {}},
        {"blended pair", {0, 100}, {}, {}},
        {"fast burst", {0, 50, 100, 150, 200, 250}, {}, {}},
    };
    InputPacer pacer;
    bool snapshotAsked = false;
    for (Train& train : trains) {
        const size_t count = train.offsetsMs.size();
        const std::string apart = count > 1 ? " " + std::to_string(static_cast<int>(train.offsetsMs[1])) + " ms apart" : "";
        Say("  %-14s %zu notch%s down%s (SendInput, delta %d each)\n", (std::string(train.name) + ":").c_str(), count,
            count > 1 ? "es" : "", apart.c_str(), NotchDelta);
        list.Clear(train.name);
        const double t0 = QpcNowMs();
        for (size_t i = 0; i < train.offsetsMs.size(); ++i) {
            pacer.WaitUntil(t0 + train.offsetsMs[i]);
            train.sentMs.push_back(QpcNowMs() - t0);
            InjectWheel(NotchDelta);
            // Mid-burst: the list is moving fastest now.
            if (!snapshotAsked && !snapshotRequest.empty() && train.offsetsMs.size() > 2 && i == 3) {
                RequestSnapshot(snapshotRequest);
                snapshotAsked = true;
            }
        }
        train.arrivals = list.WaitUntilQuiet();
        for (Arrival& a : train.arrivals) a.timeMs -= t0;
        Sleep(400);
    }

    FILE* csv = _wfopen(csvPath.c_str(), L"w");
    if (!csv) {
        std::fprintf(stderr, "demo: cannot write the CSV\n");
        return 1;
    }
    // One row per fact; times in ms from the train's first SendInput, units as sent (negative = down).
    std::fprintf(csv, "kind,train,time_ms,units,marked\n");
    std::fprintf(csv, "setting,DurationMs,,%d,\nsetting,Smoothing,,%.2f,\nsetting,AccelEnabled,,%d,\n"
                      "setting,AccelStrength,,%.2f,\nsetting,Speed,,%d,\n",
                 settings.DurationMs, settings.Smoothing, settings.AccelEnabled ? 1 : 0, settings.AccelStrength,
                 settings.Speed);
    for (const Train& train : trains) {
        for (double t : train.sentMs) std::fprintf(csv, "sent,%s,%.3f,%d,\n", train.name, t, NotchDelta);
        for (const Arrival& a : train.arrivals)
            std::fprintf(csv, "received,%s,%.3f,%d,%d\n", train.name, a.timeMs, a.delta, a.marked ? 1 : 0);
        for (const auto& [t, units] : ModelCurve(settings, train.sentMs))
            std::fprintf(csv, "model,%s,%.1f,%.3f,\n", train.name, t, units);
    }
    std::fclose(csv);

    // Keep the window up until the screenshot is taken.
    if (snapshotAsked) {
        const std::wstring done = snapshotRequest + L".done";
        for (int i = 0; i < 300 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(10);
    }
    const int exitCode = program.ExitThroughTrayMenu();
    if (exitCode != 0) std::fprintf(stderr, "demo: Velvetglide.exe ended with %d\n", exitCode);
    return 0;
}
