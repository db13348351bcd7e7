// [1] Frame pacing: the intervals between the wheel messages of long blended trains,
// against the engine's frame period and the floor of the input path itself.

#include "WineBench.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/FramePacing.h"
#include "engine/WheelInjection.h"
#include "engine/Win32EnginePlatform.h"

namespace {

// What the eye sees: how many steps arrive within each display interval, on the display's
// clock as DWM tells it (the same performance counter in every process). Only intervals
// wholly inside the steady parts count.
void PrintStepsPerDisplayInterval(const std::vector<std::pair<double, double>>& spans,
                                  const std::vector<double>& arrivals, int refreshHz, int frameRate) {
    Win32EnginePlatform platform;
    DisplayTiming timing;
    if (refreshHz <= 0 || !platform.ReadDisplayTiming(timing) ||
        std::fabs(1000.0 / timing.periodMs - refreshHz) > 1.0) {
        Print("    steps per display interval: not counted (no display clock that agrees with %d Hz)\n", refreshHz);
        return;
    }
    std::map<long long, int> perInterval;
    for (const auto& [from, to] : spans) {
        const auto first = static_cast<long long>(std::ceil((from - timing.vblankMs) / timing.periodMs));
        const auto last = static_cast<long long>(std::floor((to - timing.vblankMs) / timing.periodMs)) - 1;
        for (long long n = first; n <= last; ++n) perInterval[n] = 0;
    }
    for (const double t : arrivals) {
        const auto n = static_cast<long long>(std::floor((t - timing.vblankMs) / timing.periodMs));
        if (const auto it = perInterval.find(n); it != perInterval.end()) ++it->second;
    }
    std::map<int, int> histogram;
    for (const auto& [interval, steps] : perInterval) ++histogram[steps];
    if (LinesUpWithRefresh(refreshHz, frameRate) && frameRate >= refreshHz) {
        Print("    steps per display interval of %.3f ms (%zu intervals; even motion is %d in each):", timing.periodMs,
              perInterval.size(), frameRate / refreshHz);
    } else {
        Print("    steps per display interval of %.3f ms (%zu intervals):", timing.periodMs, perInterval.size());
    }
    for (const auto& [steps, count] : histogram)
        Print("  %d: %.1f %%", steps, 100.0 * count / static_cast<double>(perInterval.size()));
    Print("\n");
}

} // namespace

void FramePacing(double periodMs, int refreshHz, int frameRate) {
    constexpr int Trains = 3, NotchesPerTrain = 12;
    // The window skips the train's soft start, where frames under 1 unit send nothing, and stops
    // well before the soft end: in between every frame carries a step.
    constexpr double NotchGapMs = 150.0, SteadyFromFirstMs = 100.0, SteadyAfterLastMs = 400.0, DurationMs = 800.0;
    Print("\n[1] Frame pacing\n");
    Print("    Intervals between consecutive wheel messages the target window received during long\n"
          "    blended trains: Speed=480, DurationMs=800, no acceleration, %d notches %.0f ms apart per train,\n"
          "    %d trains. Display refresh reported: %d Hz -> engine frame rate %d/s, period %.3f ms.\n",
          NotchesPerTrain, NotchGapMs, Trains, refreshHz, frameRate, periodMs);
    auto program = StartProgram(LongTrainConfig, true, DurationMs);
    if (!program) return;

    std::vector<double> steady, whole, arrivals;
    std::vector<std::pair<double, double>> spans;
    int smallestSteadyStep = 1 << 30, unmarked = 0;
    for (int train = 0; train < Trains; ++train) {
        TakeNew();
        double first = 0, last = 0;
        for (int i = 0; i < NotchesPerTrain; ++i) {
            if (i > 0) g_pacer->WaitUntil(first + i * NotchGapMs);
            last = SendNotch(120);
            if (i == 0) first = last;
        }
        WaitTrainEnd(last, DurationMs);
        const std::vector<ReceivedWheel> events = TakeNew();
        const double steadyStart = first + SteadyFromFirstMs, steadyEnd = last + SteadyAfterLastMs;
        spans.emplace_back(steadyStart, steadyEnd);
        for (size_t k = 0; k < events.size(); ++k) {
            if (events[k].extraInfo != WheelMarker) ++unmarked;
            const bool inSteady = events[k].timeMs >= steadyStart && events[k].timeMs <= steadyEnd;
            if (inSteady) smallestSteadyStep = std::min(smallestSteadyStep, std::abs(events[k].delta));
            if (inSteady) arrivals.push_back(events[k].timeMs);
            if (k == 0) continue;
            const double gap = events[k].timeMs - events[k - 1].timeMs;
            whole.push_back(gap);
            if (inSteady && events[k - 1].timeMs >= steadyStart) steady.push_back(gap);
        }
    }
    StopProgram(program);

    const Stats s = Summarize(steady);
    const Stats w = Summarize(whole);
    Print("    steady part (%.0f ms after the first notch until %.0f ms after the last; smallest step there:\n"
          "    %d units, so no frame in it sent nothing):\n",
          SteadyFromFirstMs, SteadyAfterLastMs, smallestSteadyStep);
    Print("      intervals %zu   median %.3f ms   p99 %.3f ms   max %.3f ms   mean %.3f ms (= %.1f frames/s)\n",
          s.count, s.median, s.p99, s.max, s.mean, s.mean > 0 ? 1000.0 / s.mean : 0.0);
    const double medianError = (s.median - periodMs) / periodMs * 100.0;
    Print("    target: median within 2 %% of %.3f ms (%.3f..%.3f): %s (%+.1f %%)\n", periodMs, periodMs * 0.98,
          periodMs * 1.02, Verdict(std::fabs(medianError) <= 2.0), medianError);
    Print("    target: p99 at most period + 0.5 ms (%.3f ms): %s (%+.3f ms)\n", periodMs + 0.5,
          Verdict(s.p99 <= periodMs + 0.5), s.p99 - periodMs);
    // Frames on deadlines neither gain nor lose time, however the timer quantises each wait.
    const double meanError = (s.mean - periodMs) / periodMs * 100.0;
    Print("    target: mean within 1 %% of the period: %s (%+.2f %%)\n", Verdict(std::fabs(meanError) <= 1.0), meanError);
    PrintStepsPerDisplayInterval(spans, arrivals, refreshHz, frameRate);
    Print("    whole trains, including the soft start and end where a frame under 1 unit sends nothing:\n");
    Print("      intervals %zu   median %.3f ms   p99 %.3f ms   max %.3f ms\n", w.count, w.median, w.p99, w.max);
    if (unmarked) Print("    !! %d unmarked messages arrived during the trains\n", unmarked);

    // The floor any timer-paced sender gets here: the bench itself sends one wheel event per
    // period on the same kind of timer (no program running) and times their arrival.
    constexpr int FloorEvents = 400;
    TakeNew();
    const double start = QpcNowMs() + periodMs;
    for (int i = 0; i < FloorEvents; ++i) {
        g_pacer->WaitUntil(start + i * periodMs);
        InjectWheel(1);
    }
    Sleep(200);
    const std::vector<ReceivedWheel> floorEvents = TakeNew();
    std::vector<double> floorGaps;
    for (size_t k = 1; k < floorEvents.size(); ++k) floorGaps.push_back(floorEvents[k].timeMs - floorEvents[k - 1].timeMs);
    const Stats f = Summarize(floorGaps);
    Print("    for comparison, the input path's own floor: %d events sent by the bench itself every %.3f ms\n"
          "    on a high-resolution timer, without the program (received %zu):\n", FloorEvents, periodMs, floorEvents.size());
    Print("      intervals %zu   median %.3f ms   p99 %.3f ms   max %.3f ms   mean %.3f ms\n", f.count, f.median, f.p99,
          f.max, f.mean);
}
