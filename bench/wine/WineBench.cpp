// Measures the real Velvetglide.exe from the outside, as an application sees it:
// frame pacing, notch latency, the hook's cost on every mouse event and the units
// delivered; and, in this process with the program's own Win32 queries, the cost of
// the exclusion decision over a browser window (--exclusions-only: that alone). Run
// under Wine by tools/bench-wine, which also counts the program's thread wake-ups
// from Linux while this program holds it idle (--idle-handshake). Each measurement
// is a file of its own (WineBench.h lists them).

#include "WineBench.h"

#include <cstring>

#include "engine/DisplayRefreshRate.h"
#include "engine/FramePacing.h"

int main(int argc, char** argv) {
    bool handshake = false, pacingOnly = false, exclusionsOnly = false;
    for (int i = 1; i < argc; ++i) {
        handshake = handshake || std::strcmp(argv[i], "--idle-handshake") == 0;
        pacingOnly = pacingOnly || std::strcmp(argv[i], "--pacing-only") == 0; // quick look at one figure
        exclusionsOnly = exclusionsOnly || std::strcmp(argv[i], "--exclusions-only") == 0;
    }
    const double benchStart = QpcNowMs();

    InputPacer pacer;
    g_pacer = &pacer;
    WheelTargetWindow target;
    g_target = &target;
    // The glides below run on the display under the target window.
    target.PlaceCursor();
    POINT cursor = {};
    GetCursorPos(&cursor);
    const int refreshHz = RefreshRateAt(ReadDisplayTable(), cursor.x, cursor.y);
    const int frameRate = FrameRateForRefresh(refreshHz);
    const double periodMs = 1000.0 / frameRate;
    Print("Velvetglide under Wine: measured from a separate target window (QPC times in its own process)\n");

    if (exclusionsOnly) {
        ExclusionDecisionCost();
        return 0;
    }
    FramePacing(periodMs, refreshHz, frameRate);
    if (pacingOnly) return 0;

    // [2] and [3]: first with no program, then with the hook passing notches through,
    // then with smoothing on.
    constexpr int LatencyNotches = 30, Calls = 2000;
    TakeNew();
    const LatencyResult bare = MeasureLatency(LatencyNotches, false);
    const Stats moveBare = MeasureSendInput(false, Calls);
    const Stats wheelBare = MeasureSendInput(true, Calls);

    LatencyResult passThrough;
    Stats wheelHooked;
    std::unique_ptr<ProgramUnderTest> program = StartProgram(PassThroughConfig, false, 0);
    if (program) {
        passThrough = MeasureLatency(LatencyNotches, false);
        wheelHooked = MeasureSendInput(true, Calls);
        StopProgram(program);
    }

    LatencyResult smoothed;
    Stats moveHooked;
    program = StartProgram(NoAccelerationConfig, true, DefaultDurationMs);
    if (program) {
        smoothed = MeasureLatency(LatencyNotches, true);
        moveHooked = MeasureSendInput(false, Calls);
        StopProgram(program);
    }

    Print("\n[2] Latency\n");
    Print("    From the target's SendInput of one notch to the first wheel message it receives; %d notches,\n"
          "    each after the previous train had ended.\n",
          LatencyNotches);
    PrintLatency("no program running (plain notch):", bare);
    PrintLatency("program, Enabled=0 (hook passes it on):", passThrough);
    PrintLatency("program, smoothing on (first marked step):", smoothed);
    Print("    hook pass-through cost (Enabled=0 minus no program): %+.2f ms median, %+.2f ms p90\n",
          passThrough.stats.median - bare.stats.median, passThrough.stats.p90 - bare.stats.p90);
    Print("    first step carried %d..%d units; the curve itself (120 units over 280 ms, starting at rest)\n"
          "    first reaches a whole unit %.0f ms after the notch at %.3f ms frames, so that much of the\n"
          "    smoothed figure is the glide's soft start, not the hook or the engine's wake-up.\n",
          smoothed.firstStepMin, smoothed.firstStepMax, CurveFirstUnitMs(periodMs), periodMs);

    Print("\n[3] Hook cost seen by every mouse event\n");
    Print("    Duration of the target's own SendInput call, one call per ms, %d calls each.\n", Calls);
    PrintCost("move +-1 px, no program running:", moveBare);
    PrintCost("move +-1 px, program running (smoothing on):", moveHooked);
    PrintCost("wheel, no program running:", wheelBare);
    PrintCost("wheel, program running with Enabled=0:", wheelHooked);
    Print("    added by the hook: move %+.1f us median (%+.1f us p99), wheel %+.1f us median (%+.1f us p99)\n",
          (moveHooked.median - moveBare.median) * 1000.0, (moveHooked.p99 - moveBare.p99) * 1000.0,
          (wheelHooked.median - wheelBare.median) * 1000.0, (wheelHooked.p99 - wheelBare.p99) * 1000.0);

    UnitsWithoutAcceleration();
    program = StartProgram(L"", true, DefaultDurationMs);
    if (program) {
        UnitsWithAcceleration();
        Print("\n[5] Voluntary context switches of Velvetglide.exe's threads while idle\n");
        if (handshake) {
            IdleHandshake(*program);
        } else {
            Print("    Counted from Linux by tools/bench-wine (run with --idle-handshake); not measured here.\n");
        }
        StopProgram(program);
    }
    ExclusionDecisionCost();
    Print("\nbench program finished in %.0f s\n", (QpcNowMs() - benchStart) / 1000.0);
    return 0;
}
