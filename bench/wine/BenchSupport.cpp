#include "WineBench.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "engine/WheelInjection.h"

WheelTargetWindow* g_target = nullptr;
InputPacer* g_pacer = nullptr;

namespace {
size_t g_seen = 0; // messages of the target already handed out

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    size_t rank = static_cast<size_t>(std::ceil(p * static_cast<double>(sorted.size())));
    rank = std::clamp<size_t>(rank, 1, sorted.size());
    return sorted[rank - 1];
}
} // namespace

void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

Stats Summarize(std::vector<double> values) {
    Stats s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    s.count = values.size();
    s.median = Percentile(values, 0.5);
    s.p90 = Percentile(values, 0.9);
    s.p99 = Percentile(values, 0.99);
    s.max = values.back();
    double sum = 0;
    for (double v : values) sum += v;
    s.mean = sum / static_cast<double>(values.size());
    return s;
}

double SendNotch(int delta, bool horizontal) {
    const double sent = QpcNowMs();
    InjectWheel(delta, horizontal);
    return sent;
}

INPUT MoveInput(int x, int y) {
    const int width = std::max(2, GetSystemMetrics(SM_CXSCREEN));
    const int height = std::max(2, GetSystemMetrics(SM_CYSCREEN));
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (width - 1);
    input.mi.dy = y * 65535 / (height - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

std::vector<ReceivedWheel> TakeNew() {
    const std::vector<ReceivedWheel> all = g_target->Received();
    std::vector<ReceivedWheel> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(g_seen, all.size())), all.end());
    g_seen = all.size();
    return fresh;
}

void WaitTrainEnd(double lastSentMs, double durationMs) {
    g_pacer->WaitUntil(lastSentMs + durationMs + 25.0);
    g_target->WaitUntilQuiet(60, 3000);
}

std::unique_ptr<ProgramUnderTest> StartProgram(const wchar_t* config, bool smoothing, double durationMs) {
    auto program = std::make_unique<ProgramUnderTest>(config);
    if (!program->Start(L"--minimized")) {
        Print("  !! Velvetglide.exe did not start (is it built beside this program?)\n");
        return nullptr;
    }
    g_target->PlaceCursor();
    Sleep(300); // the hook thread comes up after the window the launcher waits for
    TakeNew();
    const double sent = SendNotch(120);
    if (smoothing) WaitTrainEnd(sent, durationMs);
    else g_target->WaitUntilQuiet(60, 1000);
    const std::vector<ReceivedWheel> probe = TakeNew();
    const size_t marked = std::count_if(probe.begin(), probe.end(),
                                        [](const ReceivedWheel& e) { return e.extraInfo == WheelMarker; });
    const bool ok = smoothing ? marked > 1 : (probe.size() == 1 && marked == 0 && probe[0].delta == 120);
    if (!ok) {
        Print("  !! probe notch came back as %zu messages (%zu marked): the hook is not doing what the config says\n",
              probe.size(), marked);
        return nullptr;
    }
    return program;
}

void StopProgram(std::unique_ptr<ProgramUnderTest>& program) {
    if (!program) return;
    const int code = program->ExitThroughTrayMenu(5000);
    if (code != 0) Print("  !! Velvetglide.exe exit code %d\n", code);
    program.reset();
}

const char* Verdict(bool met) { return met ? "MET" : "NOT MET"; }

void PrintCost(const char* label, const Stats& s) {
    Print("    %-44s median %6.1f us   p99 %6.1f us   max %7.1f us  (n=%zu)\n", label, s.median * 1000.0,
          s.p99 * 1000.0, s.max * 1000.0, s.count);
}
