// [4] Units in vs units out: what a target receives against what the notches asked for,
// exact without acceleration and against the engine's own arithmetic with it.

#include "WineBench.h"

#include <cmath>
#include <cstdlib>
#include <random>

#include "engine/AxisMotion.h"
#include "engine/WheelInjection.h"

namespace {

struct PlannedNotch {
    double offsetMs;
    int delta;
};

struct TrainPlan {
    const char* kind;
    bool horizontal = false;
    std::vector<PlannedNotch> notches;
    size_t reversalAt = 0; // index of the first notch in the new direction; 0 = none
};

// Fixed seed: every run sends the same 100 trains.
std::vector<TrainPlan> PlanTrains(int count) {
    std::mt19937 random(20241208);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const int deltas[] = {120, 120, 120, 120, 240, 60, 30};
    std::vector<TrainPlan> plans;
    for (int i = 0; i < count; ++i) {
        TrainPlan plan;
        plan.horizontal = between(0, 4) == 0;
        const int direction = between(0, 1) ? 1 : -1;
        const int kind = i % 4;
        double at = 0;
        auto add = [&](int delta, double gap) {
            plan.notches.push_back({at, delta});
            at += gap;
        };
        if (kind == 0) {
            plan.kind = "single";
            add(direction * deltas[between(0, 6)], 0);
        } else if (kind == 1) {
            plan.kind = "blend";
            for (int n = between(2, 4); n > 0; --n) add(direction * deltas[between(0, 6)], between(60, 160));
        } else if (kind == 2) {
            plan.kind = "burst";
            for (int n = between(4, 8); n > 0; --n) add(direction * 120, between(15, 40));
        } else {
            // The reversal comes while the old glide still has most of its way to go.
            plan.kind = "reversal";
            for (int n = between(1, 3); n > 0; --n) add(direction * deltas[between(0, 4)], between(20, 80));
            at += between(20, 80);
            plan.reversalAt = plan.notches.size();
            for (int n = between(1, 2); n > 0; --n) add(-direction * 120, between(20, 60));
        }
        plans.push_back(std::move(plan));
    }
    return plans;
}

} // namespace

void UnitsWithoutAcceleration() {
    constexpr int Trains = 100;
    Print("\n[4] Units in vs units out\n");
    Print("    %d trains of single notches, blends, fast bursts and reversals (vertical and horizontal;\n"
          "    deltas 30..240) with AccelEnabled=0, so each notch asks for exactly its delta. A train\n"
          "    without reversal must deliver exactly what it asked; with a reversal the new direction must\n"
          "    deliver exactly its notches and the old one less than it asked (the rest is dropped).\n",
          Trains);
    auto program = StartProgram(NoAccelerationConfig, true, DefaultDurationMs);
    if (!program) return;

    const std::vector<TrainPlan> plans = PlanTrains(Trains);
    long long asked = 0, received = 0, dropped = 0;
    int notches = 0, mismatches = 0, reversals = 0, horizontal = 0;
    for (size_t t = 0; t < plans.size(); ++t) {
        const TrainPlan& plan = plans[t];
        TakeNew();
        const double start = QpcNowMs();
        double last = start;
        for (const PlannedNotch& notch : plan.notches) {
            g_pacer->WaitUntil(start + notch.offsetMs);
            last = SendNotch(notch.delta, plan.horizontal);
        }
        WaitTrainEnd(last, DefaultDurationMs);
        const std::vector<ReceivedWheel> events = TakeNew();

        const int oldDirection = plan.notches.front().delta > 0 ? 1 : -1;
        long long oldAsked = 0, newAsked = 0, oldReceived = 0, newReceived = 0;
        for (size_t i = 0; i < plan.notches.size(); ++i) {
            (plan.reversalAt && i >= plan.reversalAt ? newAsked : oldAsked) += std::abs(plan.notches[i].delta);
        }
        int strays = 0; // unmarked, or on the other axis
        for (const ReceivedWheel& e : events) {
            if (e.extraInfo != WheelMarker || e.horizontal != plan.horizontal) {
                ++strays;
                continue;
            }
            ((e.delta > 0 ? 1 : -1) == oldDirection ? oldReceived : newReceived) += std::abs(e.delta);
        }
        bool ok = strays == 0;
        if (plan.reversalAt) {
            ++reversals;
            ok = ok && newReceived == newAsked && oldReceived < oldAsked;
            dropped += oldAsked - oldReceived;
        } else {
            ok = ok && oldReceived == oldAsked && newReceived == 0;
        }
        notches += static_cast<int>(plan.notches.size());
        horizontal += plan.horizontal;
        asked += oldAsked + newAsked;
        received += oldReceived + newReceived;
        if (!ok) {
            ++mismatches;
            Print("    !! train %zu (%s, %s): asked %lld then %lld, received %lld then %lld, %d stray messages\n", t,
                  plan.kind, plan.horizontal ? "horizontal" : "vertical", oldAsked, newAsked, oldReceived, newReceived,
                  strays);
        }
    }
    StopProgram(program);
    Print("    trains %d (%d with a reversal, %d horizontal)   notches %d\n", Trains, reversals, horizontal, notches);
    Print("    units asked %lld   units received %lld   units dropped by reversals %lld   "
          "asked - dropped - received = %lld\n",
          asked, received, dropped, asked - dropped - received);
    Print("    mismatches %d (must be 0)\n", mismatches);
}

// With acceleration the distance depends on the notch rate, so the expectation comes
// from the engine's own model fed with the times the notches were actually sent.
void UnitsWithAcceleration() {
    constexpr int Bursts = 12;
    Print("    Bursts with acceleration ON (default config): received units vs the AxisMotion model fed\n"
          "    with the measured send times (the engine times notches on arrival in its hook instead).\n");
    std::mt19937 random(7);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const AxisSettings defaults;
    long long totalReceived = 0;
    double totalModel = 0, worst = 0;
    for (int b = 0; b < Bursts; ++b) {
        const int count = between(4, 8);
        const int gapMs = between(25, 60);
        const int direction = b % 2 ? -1 : 1;
        TakeNew();
        AxisState model(false);
        double expected = 0, first = 0, last = 0;
        for (int i = 0; i < count; ++i) {
            if (i > 0) g_pacer->WaitUntil(first + i * gapMs);
            last = SendNotch(120 * direction);
            if (i == 0) first = last;
            expected += AxisMotion::AddNotch(model, last, direction, defaults);
        }
        WaitTrainEnd(last, DefaultDurationMs);
        long long got = 0;
        for (const ReceivedWheel& e : TakeNew()) got += e.delta;
        const double difference = static_cast<double>(got) - std::round(expected);
        worst = std::max(worst, std::fabs(difference));
        totalReceived += std::llabs(got);
        totalModel += std::fabs(std::round(expected));
        Print("      burst %2d: %d notches %2d ms apart: received %6lld   model %8.1f   difference %+5.0f (%+.2f %%)\n",
              b + 1, count, gapMs, got, expected, difference, difference / std::fabs(expected) * 100.0);
    }
    Print("      total: received %lld units, model %.0f, difference %+.0f (%+.2f %%); largest burst difference %.0f\n",
          totalReceived, totalModel, static_cast<double>(totalReceived) - totalModel,
          (static_cast<double>(totalReceived) - totalModel) / totalModel * 100.0, worst);
}
