#pragma once
// What the measurements of the Wine benchmark share: output the script can read as it
// comes, statistics, input on a precise schedule, the target window's message stream and
// the program under test. Each measurement is a file of its own; WineBench.cpp runs them.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "support/ProgramUnderTest.h"
#include "support/WheelTargetWindow.h"

// Flushed at once: the script reads this output through a pipe and must see
// protocol lines while the program waits for its answer.
void Print(const char* format, ...);
std::string Narrow(const std::wstring& text);

struct Stats {
    size_t count = 0;
    double median = 0, p90 = 0, p99 = 0, max = 0, mean = 0;
};
// Nearest rank: every reported figure is a value that was actually measured.
Stats Summarize(std::vector<double> values);

// The bench's target window and its input schedule, made once by main().
extern WheelTargetWindow* g_target;
extern InputPacer* g_pacer;

double SendNotch(int delta, bool horizontal = false);
// Absolute, so that moving one pixel to and fro stays inside the target window; a
// relative 0,0 move might be dropped before it reaches any hook.
INPUT MoveInput(int x, int y);
// Messages received since the last call; nothing is cleared, so a late message is
// charged to the next train instead of vanishing.
std::vector<ReceivedWheel> TakeNew();
// A train ends one curve duration after its last notch (plus a frame); the quiet
// wait then catches a straggler instead of charging it to the next train.
void WaitTrainEnd(double lastSentMs, double durationMs);

inline constexpr wchar_t NoAccelerationConfig[] = L"[Vertical]\r\nAccelEnabled=0\r\n[Horizontal]\r\nAccelEnabled=0\r\n";
inline constexpr wchar_t PassThroughConfig[] = L"[General]\r\nEnabled=0\r\n";
inline constexpr wchar_t LongTrainConfig[] = L"[Vertical]\r\nSpeed=480\r\nDurationMs=800\r\nAccelEnabled=0\r\n";
inline constexpr double DefaultDurationMs = 280.0;

// Starts the program and checks with a probe notch that its hook does what the config says.
std::unique_ptr<ProgramUnderTest> StartProgram(const wchar_t* config, bool smoothing, double durationMs);
void StopProgram(std::unique_ptr<ProgramUnderTest>& program);
const char* Verdict(bool met);
void PrintCost(const char* label, const Stats& s);

// ---- the measurements, in the order they are printed ----

// [1] intervals between the wheel messages of long trains, against the engine's period.
void FramePacing(double periodMs, int refreshHz, int frameRate);

// [2] latency of one notch and [3] the cost of SendInput with and without the hook.
struct LatencyResult {
    Stats stats;
    int missing = 0;
    int firstStepMin = 0, firstStepMax = 0;
};
LatencyResult MeasureLatency(int notches, bool smoothing);
Stats MeasureSendInput(bool wheel, int calls);
void PrintLatency(const char* label, const LatencyResult& r);
// When the curve itself first reaches a whole unit.
double CurveFirstUnitMs(double periodMs);

// [4] units in vs units out, without and with acceleration.
void UnitsWithoutAcceleration();
void UnitsWithAcceleration();

// [5] the program held idle while tools/bench-wine counts its threads' wake-ups.
void IdleHandshake(ProgramUnderTest& program);

// [6] the exclusion decision over a browser window of another process.
void ExclusionDecisionCost();
