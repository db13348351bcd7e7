// How evenly a glide moves from one display frame to the next: the engine's own curve,
// notch and step arithmetic (AxisMotion) and frame deadlines (FrameScheduler) on a
// simulated clock, against displays of common refresh rates, with the engine's wake-ups
// off their deadlines by up to ±jitter. Each display frame shows the whole units whose
// events arrived within it; the figure is how far that differs from what the curve
// itself moved over the same frame. Three rules for the frame rate and its phase:
//   landed      the refresh rate held to 200..360, deadlines in no relation to the display,
//               the curve sampled when the frame woke
//   multiple    the whole multiple of the refresh rate, in no relation to its phase
//   in phase    the whole multiple, each frame in the middle of its share of the interval
// The last two sample the curve at each frame's deadline, as the engine does.
// A fixed seed: every run prints the same table.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "engine/AxisMotion.h"
#include "engine/Ease.h"
#include "engine/FramePacing.h"

namespace {

constexpr double DurationMs = 280.0, Smoothing = 3.0, Notches = 3.0;
constexpr double MiddleFrom = 0.2, MiddleTo = 0.8; // of the glide: away from its soft ends
constexpr int Trials = 500;
constexpr unsigned Seed = 23;

enum class Rule { Landed, Multiple, InPhase };

struct Figures {
    int32_t frameRateHz = 0;
    double mean = 0, p95 = 0; // relative deviation
};

// One glide: returns the relative deviation of each display frame in its middle part.
void Glide(Rule rule, int32_t refreshHz, double jitterMs, std::mt19937& random, std::vector<double>& deviations) {
    const double displayPeriod = 1000.0 / refreshHz;
    std::uniform_real_distribution<double> phase(0.0, displayPeriod), jitter(-jitterMs, jitterMs);
    const double firstVBlank = -phase(random); // the notch comes at 0, anywhere in a display interval
    auto vblankBefore = [&](double t) {
        return firstVBlank + std::floor((t - firstVBlank) / displayPeriod) * displayPeriod;
    };

    AxisSettings settings;
    settings.DurationMs = static_cast<int32_t>(DurationMs);
    settings.Smoothing = Smoothing;
    settings.AccelEnabled = false;
    AxisState axis(false);
    AxisMotion::AddNotch(axis, 0.0, Notches, settings);
    const double distance = settings.Speed * Notches;

    const int32_t rate = rule == Rule::Landed ? std::clamp(refreshHz, MinFrameRateHz, MaxFrameRateHz)
                                              : FrameRateForRefresh(refreshHz);
    DisplayTiming timing{displayPeriod, vblankBefore(0.0)};
    FrameScheduler frames;
    frames.Start(0.0, refreshHz, rate, rule == Rule::InPhase ? &timing : nullptr);

    std::vector<double> shown(static_cast<size_t>(DurationMs / displayPeriod) + 4, 0.0);
    double now = 0.0; // when the frame woke, and its event arrives
    for (;;) {
        bool anyActive = false;
        const int32_t step = AxisMotion::Advance(axis, rule == Rule::Landed ? now : frames.FrameTimeMs(now), anyActive);
        const auto frame = static_cast<size_t>(std::floor((now - firstVBlank) / displayPeriod));
        if (frame < shown.size()) shown[frame] += step;
        if (!anyActive) break;
        frames.FrameDone(now);
        if (frames.WantsTiming()) {
            timing.vblankMs = vblankBefore(now);
            frames.CheckPhase(&timing);
        }
        // A clock never runs backwards, however early a wake-up.
        now = std::max(now, frames.NextWakeMs(now) + jitter(random));
    }
    for (size_t frame = 0; frame < shown.size(); ++frame) {
        const double from = firstVBlank + static_cast<double>(frame) * displayPeriod, to = from + displayPeriod;
        if (from < MiddleFrom * DurationMs || to > MiddleTo * DurationMs) continue;
        const double curve =
            distance * (Ease(to / DurationMs, Smoothing, 0.0) - Ease(from / DurationMs, Smoothing, 0.0));
        deviations.push_back(std::fabs(shown[frame] - curve) / curve);
    }
}

Figures Measure(Rule rule, int32_t refreshHz, double jitterMs) {
    std::mt19937 random(Seed);
    std::vector<double> deviations;
    for (int trial = 0; trial < Trials; ++trial) Glide(rule, refreshHz, jitterMs, random, deviations);
    Figures figures;
    figures.frameRateHz = rule == Rule::Landed ? std::clamp(refreshHz, MinFrameRateHz, MaxFrameRateHz)
                                               : FrameRateForRefresh(refreshHz);
    double sum = 0;
    for (const double d : deviations) sum += d;
    figures.mean = sum / static_cast<double>(deviations.size());
    std::sort(deviations.begin(), deviations.end());
    figures.p95 = deviations[deviations.size() * 95 / 100];
    return figures;
}

} // namespace

int main() {
    std::printf("Glide evenness: a %.0f-notch glide (%.0f units over %.0f ms, Smoothing %.0f), its middle %.0f %%;\n"
                "for each display frame, how far the units it shows differ from the curve's own movement over it\n"
                "(mean / p95), over %d glides per row at random phases of the display (seed %u). Jitter: wake-ups\n"
                "uniformly up to that far off their deadlines. The landed rule gets deadlines that do not drift.\n\n",
                Notches, Notches * 120, DurationMs, Smoothing, (MiddleTo - MiddleFrom) * 100, Trials, Seed);
    std::printf("  display  jitter  | landed rule           | whole multiple        | whole multiple in phase\n");
    const int32_t displays[] = {60, 75, 120, 144, 165, 240, 360};
    const double jitters[] = {0.0, 0.25, 0.5};
    bool goalsMet = true;
    for (const int32_t hz : displays) {
        for (const double jitter : jitters) {
            const Figures landed = Measure(Rule::Landed, hz, jitter);
            const Figures multiple = Measure(Rule::Multiple, hz, jitter);
            const Figures inPhase = Measure(Rule::InPhase, hz, jitter);
            std::printf("  %4d Hz  %.2f ms | %3d/s %5.1f %% %5.1f %% | %3d/s %5.1f %% %5.1f %% "
                        "| %3d/s %5.1f %% %5.1f %%\n",
                        hz, jitter, landed.frameRateHz, landed.mean * 100, landed.p95 * 100, multiple.frameRateHz,
                        multiple.mean * 100, multiple.p95 * 100, inPhase.frameRateHz, inPhase.mean * 100,
                        inPhase.p95 * 100);
            if (jitter == 0.5 && (hz == 60 || hz == 120 || hz == 144 || hz == 165))
                goalsMet = goalsMet && inPhase.mean <= 0.05 && inPhase.p95 <= 0.15;
        }
    }
    std::printf("\n  goal: with 0.5 ms jitter, in phase, mean <= 5 %% and p95 <= 15 %% at 60, 120, 144 and 165 Hz: "
                "%s\n",
                goalsMet ? "met" : "NOT met");
    return 0;
}
