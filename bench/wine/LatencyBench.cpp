// [2] Latency from a notch to the first message, and [3] how long SendInput takes with
// and without the program's hook in the path.

#include "WineBench.h"

#include <algorithm>

#include "engine/AxisMotion.h"

// Each notch goes out after the previous one's messages have all arrived.
LatencyResult MeasureLatency(int notches, bool smoothing) {
    LatencyResult result;
    std::vector<double> latencies;
    result.firstStepMin = 1 << 30;
    for (int i = 0; i < notches; ++i) {
        TakeNew();
        const double sent = SendNotch(120);
        if (smoothing) WaitTrainEnd(sent, DefaultDurationMs);
        else g_target->WaitUntilQuiet(30, 1000);
        const std::vector<ReceivedWheel> events = TakeNew();
        if (events.empty()) {
            ++result.missing;
            continue;
        }
        latencies.push_back(events.front().timeMs - sent);
        result.firstStepMin = std::min(result.firstStepMin, events.front().delta);
        result.firstStepMax = std::max(result.firstStepMax, events.front().delta);
    }
    result.stats = Summarize(latencies);
    return result;
}

// How long the SendInput call itself takes, one call per millisecond like a 1000 Hz mouse.
Stats MeasureSendInput(bool wheel, int calls) {
    std::vector<double> durations;
    durations.reserve(calls);
    const double start = QpcNowMs();
    for (int i = 0; i < calls; ++i) {
        g_pacer->WaitUntil(start + i * 1.0);
        INPUT input = MoveInput(350 + (i & 1), 350);
        if (wheel) {
            input = {};
            input.type = INPUT_MOUSE;
            input.mi.mouseData = 120;
            input.mi.dwFlags = MOUSEEVENTF_WHEEL;
        }
        const double before = QpcNowMs();
        SendInput(1, &input, sizeof input);
        durations.push_back(QpcNowMs() - before);
    }
    g_target->WaitUntilQuiet(60, 5000);
    TakeNew();
    g_target->PlaceCursor();
    return Summarize(durations);
}

void PrintLatency(const char* label, const LatencyResult& r) {
    Print("    %-44s median %6.2f ms   p90 %6.2f ms   max %6.2f ms  (n=%zu%s)\n", label, r.stats.median, r.stats.p90,
          r.stats.max, r.stats.count, r.missing ? ", some notches got no message" : "");
}

// When the curve itself first reaches a whole unit: the part of the latency that is
// the glide's gentle start, not the pipeline.
double CurveFirstUnitMs(double periodMs) {
    AxisState axis(false);
    AxisMotion::Retarget(axis, 0.0, 120.0, DefaultDurationMs, AxisSettings{}.Smoothing);
    for (int frame = 0; frame < 200; ++frame) {
        bool active = false;
        if (AxisMotion::Advance(axis, frame * periodMs, active) != 0) return frame * periodMs;
    }
    return -1;
}
