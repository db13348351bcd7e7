// velvetglide_soak.exe: the real program under a long stream of mixed input, as a
// day of use gives it: notches at varied rhythms on both axes (single notches,
// blends, fast bursts that accelerate, reversals), Shift and Ctrl with the wheel,
// pointer moves, an excluded game, browser pages with and without a site rule,
// settings changed in the window, smoothing switched off and on from the tray.
//
// Every train must deliver exactly the units the engine's own notch arithmetic gives
// for the notches sent; every notch over an excluded window, with Ctrl, or with
// smoothing off must arrive unchanged. A group the system saw otherwise than it was
// sent (over another window, without its key: under Wine the pointer and the keyboard
// state can fall back to the X server's), or whose rhythm the driver itself missed,
// is counted and not judged; at most 5% may be. The program's private bytes, handles,
// threads and GDI/USER objects are sampled from start to end and must not grow
// beyond fixed bounds after a warm-up. The program is the test build, whose seams
// tell how often the hook had to be installed again.
//
// Usage: velvetglide_soak.exe [--seconds N] [--seed S] [--report-every SECONDS]
// Prints its figures; exit code 0 when everything held.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/Win32.h"

#include "engine/AxisMotion.h"
#include "soak/ProcessFigures.h"
#include "soak/SettingsPanel.h"
#include "soak/SoakDesktop.h"
#include "support/DesktopInput.h"
#include "support/ProgramUnderTest.h"
#include "support/WheelTotals.h"
#include "ui/settings/SettingsLayout.h"

namespace {

// ---- bounds on growth, from the end of the warm-up to the end of the run -----------
// The warm-up has done everything once (every kind of input, every page of the window,
// a browser restarted), so caches, heaps and Wine's own tables have their working size.
// What is left is noise: a heap grows in steps of 64 KB (clean ten-minute runs grew by
// 0 to 68 KB), a handle or two can be open at the moment of a sample (a save's file, a
// process queried by the hook). A leak of 128 bytes per notch passes 256 KB within ten
// minutes (about 2,400 notches); one handle per train or per settings change passes 8
// within a minute. The program's own threads are fixed (main, hook, engine, browser
// watcher); the bound leaves room for one the system adds for a moment.
constexpr uint64_t PrivateGrowthBoundKb = 256;
constexpr int HandleGrowthBound = 8;
constexpr int ThreadGrowthBound = 1;
// Where the system counts them: the window's fonts, brushes and bitmaps are made once
// and kept; a tooltip or a menu open at the moment of a sample is a few objects.
constexpr int GdiGrowthBound = 16, UserGrowthBound = 8;

// ---- rhythms ------------------------------------------------------------------------
// The hook times a notch a little later than it was sent, by a few milliseconds that
// vary (more under load), and the acceleration depends on those intervals. So only
// rhythms are drawn where such a difference cannot change the outcome: burst notches
// 4-8 ms apart (from the second notch on, the rate is above 18 notches/s and the
// multiplier at its top, for a second notch up to 22 ms after the first), notches 220 ms
// or more apart (the rate stays at or under 5 down to intervals of 200 ms: multiplier
// 1), or any interval when acceleration is off. Every interval also stays EndMarginMs
// short of the curve's end, so a notch never races the end of its train, and a group
// starts PauseMs after the last notch, so its notch rate starts from 0. The limits are
// what the driver may send and still keep that guarantee with 10 ms of the hook's
// jitter or more.
constexpr double BurstGapMinMs = 4, BurstGapMaxMs = 8, BurstGapLimitMs = 12, BurstKeptGapLimitMs = 40;
constexpr double SlowGapMinMs = 220, SlowGapLimitMs = 215;
constexpr double EndMarginMs = 40, EndLimitMs = 20;
constexpr double PauseMs = 300;

enum class Input { Wheel, Tilt, ShiftWheel };
enum class Rhythm { Single, Burst, Blend };

const char* InputName(Input input) {
    return input == Input::Wheel ? "wheel" : input == Input::Tilt ? "tilt" : "Shift+wheel";
}
bool IsHorizontal(Input input) { return input != Input::Wheel; }
// The notch the engine queues: Shift turns a vertical notch into a horizontal one of opposite sign.
double EngineNotches(int delta, Input input) { return (input == Input::ShiftWheel ? -delta : delta) / 120.0; }
int Sign(double value) { return value < 0 ? -1 : 1; }

struct Beat {
    double gapMs; // before this notch; 0 for the first
    int size;     // wheel units of the notch, unsigned
};

struct Sent {
    double atMs; // from the group's first notch
    int delta;
    Input input;
    bool modified; // sent with Ctrl: not part of the train
};

// Shift down for a Shift+wheel group, with a moment for the hook to see it go down
// before the first notch and up after the last.
class ShiftKey {
public:
    explicit ShiftKey(Input input) : held_(input == Input::ShiftWheel) {
        if (!held_) return;
        PressKey(VK_SHIFT, true);
        Sleep(20);
    }
    ~ShiftKey() { Release(); }
    ShiftKey(const ShiftKey&) = delete;
    ShiftKey& operator=(const ShiftKey&) = delete;
    void Release() {
        if (!held_) return;
        Sleep(20);
        PressKey(VK_SHIFT, false);
        held_ = false;
    }

private:
    bool held_;
};

// One group of input and what it must give, kept for the report of a failure.
struct Group {
    const char* kind;
    Spot spot;
    Input input;
    AxisSettings settings;
    std::vector<Sent> sent;
    double firstMs = 0;
    std::vector<double> seenMs{}; // when the system gave each notch to the hooks, as sent
};

// The units the engine's arithmetic gives for a series of notches: the engine's own
// notch function on an axis of ours, ended the way the engine ends a train.
class ExpectedTrain {
public:
    explicit ExpectedTrain(bool horizontal) : axis_(horizontal) {}
    void Add(double atMs, double notches, const AxisSettings& settings) {
        std::lock_guard<std::mutex> lock(axis_.lock);
        AxisMotion::AddNotch(axis_, atMs, notches, settings);
        lastMs_ = atMs;
    }
    int Total() {
        bool active = false;
        return AxisMotion::Advance(axis_, lastMs_ + 1e7, active);
    }

private:
    AxisState axis_;
    double lastMs_ = 0;
};

struct Tally {
    int groups = 0;  // of notches, each judged as a whole
    int notches = 0; // every notch sent
    int trains = 0;  // judged exactly
    long long units = 0;
    int reversals = 0, stops = 0, plain = 0;
    int heldUp = 0;    // groups whose own sending was held up past its rhythm: not judged
    int displaced = 0; // groups whose notches the system saw elsewhere than meant: not judged
    int sliderMoves = 0, switches = 0, toggles = 0, windowShows = 0, pages = 0, titles = 0, restarts = 0;
    int fileChecks = 0;
    int failures = 0;
};

struct Options {
    double seconds = 600;
    unsigned seed = 0;
    double reportEvery = 0; // 0: a tenth of the run, 5 to 60 s
};

class Soak {
public:
    explicit Soak(const Options& options) : options_(options), random_(options.seed) {}
    int Run();

private:
    // Randomness.
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double Uniform(double low, double high) {
        return high <= low ? low : std::uniform_real_distribution<double>(low, high)(random_);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    template <typename T>
    T Pick(std::initializer_list<T> items) {
        return items.begin()[Uniform(0, static_cast<int>(items.size()) - 1)];
    }
    double Elapsed() const { return (QpcNowMs() - startMs_) / 1000.0; }

    const AxisSettings& SettingsFor(Input input) const {
        return panel_->Expected().ForAxis(IsHorizontal(input) ? Axis::Horizontal : Axis::Vertical);
    }
    Spot SmoothSpot() { return Chance(0.7) || desktop_->IsExcluded(Spot::Chrome) ? Spot::Own : Spot::Chrome; }
    Input AnyInput() { return Pick({Input::Wheel, Input::Wheel, Input::Tilt, Input::ShiftWheel}); }

    std::vector<Beat> PlanBeats(Rhythm rhythm, const AxisSettings& settings);
    bool KeptRhythm(const Group& group, const std::vector<double>& atMs) const;
    bool HeldUp(const Group& group);
    bool Displaced(Group& group);

    // Input.
    void Begin(Group& group);
    double SendNotch(Group& group, int delta, Input input);
    double SendBeats(Group& group, const std::vector<Beat>& beats, int sign, ExpectedTrain* a, ExpectedTrain* b);
    void WaitForTrainEnd(const AxisSettings& settings);

    // The kinds of input, each judged.
    void Train(Spot spot, Input input, Rhythm rhythm);
    void Reversal(Spot spot, Input input);
    void CtrlStop(Spot spot, Input input);
    void PassedUnchanged(Spot spot, Input input, const char* kind);
    void SmoothingOff(bool fromTray);
    void MoveSliders();
    void ToggleAcceleration(bool horizontal);
    void ShowWindow();
    void HideWindow();
    void ChangeBrowserPage();
    void RestartBrowser();
    void RandomStep();

    void Fail(const Group& group, const std::string& what, const std::vector<ReceivedWheel>& events);
    void Fail(const std::string& what);
    void CheckSettingsFile();
    std::string History() const {
        std::string text;
        for (const std::string& step : history_) text += (text.empty() ? "" : ", ") + step;
        return text;
    }

    // Figures.
    ProcessFigures Sample(const char* label);
    int HookReinstalls() const;
    bool CheckGrowth(const ProcessFigures& from, const ProcessFigures& to);

    Options options_;
    std::mt19937 random_;
    double startMs_ = 0, lastNotchMs_ = 0;
    Tally tally_;
    InputPacer pacer_;
    std::unique_ptr<SoakDesktop> desktop_;
    std::unique_ptr<ProgramUnderTest> program_;
    std::unique_ptr<SettingsPanel> panel_;
    HWND window_ = nullptr;
    std::deque<std::string> history_;
    int reinstallsSeen_ = 0;
};

std::vector<Beat> Soak::PlanBeats(Rhythm rhythm, const AxisSettings& settings) {
    const double ceiling = std::max(30, settings.DurationMs) - EndMarginMs;
    if (rhythm == Rhythm::Blend && ceiling < (settings.AccelEnabled ? SlowGapMinMs + 20 : 30)) rhythm = Rhythm::Burst;
    std::vector<Beat> beats;
    switch (rhythm) {
    case Rhythm::Single: beats.push_back({0, Pick({60, 120, 120, 240, 360})}); break;
    case Rhythm::Burst:
        for (int i = 0, n = Uniform(3, 10); i < n; ++i)
            beats.push_back(
                {i ? Uniform(BurstGapMinMs, std::min(BurstGapMaxMs, ceiling)) : 0, Pick({120, 120, 120, 240})});
        break;
    case Rhythm::Blend:
        for (int i = 0, n = Uniform(2, 4); i < n; ++i) {
            const double gap = settings.AccelEnabled ? Uniform(SlowGapMinMs, ceiling) : Uniform(20.0, ceiling);
            // Two notches at once would raise the rate past 5 at slow intervals.
            beats.push_back({i ? gap : 0, settings.AccelEnabled ? Pick({60, 120}) : Pick({60, 120, 240})});
        }
        break;
    }
    return beats;
}

// The driver itself can be held up (two cores, other work), and so can the system on its
// way to the hooks: a gap sent, or delivered, too long or too short for its rhythm voids
// the guarantee above.
// With acceleration on, a run of notches in one direction keeps to the kind its second
// notch set: a burst (the rate past 18 from there on, and kept there by intervals up to
// 55 ms) or a slow run (the rate at or under 5 as long as intervals stay over 200 ms).
bool Soak::KeptRhythm(const Group& group, const std::vector<double>& atMs) const {
    const double duration = std::max(30, group.settings.DurationMs), end = duration - EndLimitMs;
    enum class Run { Started, Burst, Slow } run = Run::Started;
    for (size_t i = 1; i < group.sent.size(); ++i) {
        const double gap = atMs[i] - atMs[i - 1];
        // Ctrl goes down at most a third into the last curve, 15 ms before its notch.
        if (group.sent[i].modified && gap > 0.3 * duration + 40) return false;
        if (group.sent[i].modified) continue;
        if (Sign(group.sent[i].delta) != Sign(group.sent[i - 1].delta)) {
            run = Run::Started; // a change of direction starts the rate from 0
            continue;
        }
        if (gap > end) return false;
        if (!group.settings.AccelEnabled) continue;
        const bool burst = gap <= (run == Run::Started ? BurstGapLimitMs : BurstKeptGapLimitMs);
        const bool slow = gap >= SlowGapLimitMs;
        if (run == Run::Started && (burst || slow)) run = burst ? Run::Burst : Run::Slow;
        else if (!(run == Run::Burst ? burst : slow)) return false;
    }
    return true;
}

// Counted and noted, not judged: the desktop, not the program, made the notches other
// than sent (over another window, or without the key held for them).
bool Soak::Displaced(Group& group) {
    const std::vector<SeenNotch> seen = desktop_->NotchesSeen();
    group.seenMs.clear();
    for (const SeenNotch& notch : seen) group.seenMs.push_back(notch.atMs - group.firstMs);
    bool asSent = seen.size() == group.sent.size();
    std::string how;
    for (size_t i = 0; i < seen.size(); ++i) {
        const std::string at = desktop_->SpotAt(seen[i].point);
        const bool modified = i < group.sent.size() && group.sent[i].modified;
        const bool shift = i < group.sent.size() && group.sent[i].input == Input::ShiftWheel && !modified;
        asSent = asSent && at == SpotName(group.spot) && seen[i].shift == shift && seen[i].modifier == modified;
        how += (how.empty() ? "" : ", ") + at + " (" + std::to_string(seen[i].point.x) + ", " +
               std::to_string(seen[i].point.y) + ")" + (seen[i].shift ? " Shift" : "") +
               (seen[i].modifier ? " Ctrl" : "");
    }
    if (asSent) return false;
    ++tally_.displaced;
    std::printf("note at %.1f s: %s meant for the %s not judged, the system saw %zu of its %zu notches: %s\n",
                Elapsed(), group.kind, SpotName(group.spot), seen.size(), group.sent.size(), how.c_str());
    return true;
}

// Counted and noted, not judged: the driver, not the program, broke the rhythm.
bool Soak::HeldUp(const Group& group) {
    std::vector<double> sentMs;
    for (const Sent& s : group.sent) sentMs.push_back(s.atMs);
    // Displaced() has made sure that the system gave the hooks every notch sent.
    const bool sentInRhythm = KeptRhythm(group, sentMs);
    if (sentInRhythm && KeptRhythm(group, group.seenMs)) return false;
    ++tally_.heldUp;
    std::printf("note at %.1f s: %s over the %s not judged, %s was held up between notches:", Elapsed(), group.kind,
                SpotName(group.spot), sentInRhythm ? "the system" : "the driver");
    for (size_t i = 0; i < group.sent.size(); ++i)
        std::printf(" %+d@%.1f (seen @%.1f)", group.sent[i].delta, group.sent[i].atMs, group.seenMs[i]);
    std::printf(" (%d ms curves)\n", group.settings.DurationMs);
    return true;
}

void Soak::Begin(Group& group) {
    ++tally_.groups;
    desktop_->ClearAll(); // first: a target whose report fills up starts afresh here
    pacer_.WaitUntil(lastNotchMs_ + PauseMs);
    for (int attempt = 0; attempt < 3 && !desktop_->PointAt(group.spot, &random_); ++attempt) {}
    desktop_->ClearAll(); // nothing from the moves
}

double Soak::SendNotch(Group& group, int delta, Input input) {
    const double now = QpcNowMs();
    InjectWheel(delta, input == Input::Tilt);
    if (group.sent.empty()) group.firstMs = now;
    group.sent.push_back({now - group.firstMs, delta, input, false});
    lastNotchMs_ = now;
    ++tally_.notches;
    return now;
}

// Sends the beats in one direction, each notch added to the expected trains given.
double Soak::SendBeats(Group& group, const std::vector<Beat>& beats, int sign, ExpectedTrain* a, ExpectedTrain* b) {
    const AxisSettings settings = SettingsFor(group.input);
    double at = QpcNowMs();
    for (size_t i = 0; i < beats.size(); ++i) {
        at += beats[i].gapMs;
        pacer_.WaitUntil(at);
        const int delta = sign * beats[i].size;
        const double sent = SendNotch(group, delta, group.input);
        for (ExpectedTrain* train : {a, b})
            if (train) train->Add(sent, EngineNotches(delta, group.input), settings);
        // Now and then the hand moves on the mouse between notches, inside the window.
        if (i + 1 < beats.size() && beats[i + 1].gapMs >= 60 && Chance(0.3))
            desktop_->MoveOver(group.spot, random_, group.input == Input::ShiftWheel);
    }
    return at;
}

void Soak::WaitForTrainEnd(const AxisSettings& settings) {
    pacer_.WaitUntil(lastNotchMs_ + std::max(30, settings.DurationMs) + 60);
    desktop_->WaitUntilQuiet(150, 5000);
}

void Soak::Train(Spot spot, Input input, Rhythm rhythm) {
    Group group{"train", spot, input, SettingsFor(input), {}};
    const std::vector<Beat> beats = PlanBeats(rhythm, group.settings);
    ExpectedTrain expected(IsHorizontal(input));
    Begin(group);
    ShiftKey shift(input);
    SendBeats(group, beats, Chance(0.5) ? 1 : -1, &expected, nullptr);
    shift.Release();
    // Sometimes the pointer leaves for another window while the train runs: the
    // injected rest goes wherever the system sends it, and still counts.
    if (Chance(0.15)) desktop_->MoveOver(static_cast<Spot>(Uniform(0, SpotCount - 1)), random_, false);
    WaitForTrainEnd(group.settings);

    const std::vector<ReceivedWheel> events = desktop_->ReceivedEverywhere();
    const WheelTotals totals = Sum(events);
    const int want = expected.Total();
    const int got = IsHorizontal(input) ? totals.horizontal : totals.vertical;
    const int other = IsHorizontal(input) ? totals.vertical : totals.horizontal;
    if (Displaced(group) || HeldUp(group)) return;
    if (got != want || other != 0 || totals.unmarked != 0 || totals.marked == 0)
        return Fail(group, "expected exactly " + std::to_string(want) + " units in marked steps", events);
    ++tally_.trains;
    tally_.units += std::abs(want);
}

// A notch against a motion under way: what was not yet emitted is dropped, and the
// new direction delivers exactly its own units.
void Soak::Reversal(Spot spot, Input input) {
    Group group{"reversal", spot, input, SettingsFor(input), {}};
    const double duration = std::max(30, group.settings.DurationMs);
    const std::vector<Beat> forward = PlanBeats(Pick({Rhythm::Single, Rhythm::Burst, Rhythm::Blend}), group.settings);
    std::vector<Beat> back = {{Uniform(4.0, std::min(0.4 * duration, duration - EndMarginMs)), Pick({60, 120, 240})}};
    for (int i = 0, n = Uniform(0, 2); i < n; ++i) back.push_back({Uniform(BurstGapMinMs, BurstGapMaxMs), 120});
    ExpectedTrain before(IsHorizontal(input)), whole(IsHorizontal(input));
    const int sign = Chance(0.5) ? 1 : -1;
    Begin(group);
    ShiftKey shift(input);
    SendBeats(group, forward, sign, &before, &whole);
    SendBeats(group, back, -sign, &whole, nullptr);
    shift.Release();
    WaitForTrainEnd(group.settings);

    const std::vector<ReceivedWheel> events = desktop_->ReceivedEverywhere();
    const int forwardAtMost = std::abs(before.Total()) - 1; // the reversal came while units were left
    const int backWant = whole.Total();
    int forwardGot = 0, backGot = 0, other = 0, unmarked = 0;
    for (const ReceivedWheel& e : events) {
        unmarked += e.extraInfo != WheelMarker;
        if (e.horizontal != IsHorizontal(input)) other += e.delta;
        else (Sign(e.delta) == Sign(backWant) ? backGot : forwardGot) += e.delta;
    }
    if (Displaced(group) || HeldUp(group)) return;
    if (backGot != backWant || std::abs(forwardGot) > forwardAtMost || other != 0 || unmarked != 0)
        return Fail(group, "expected " + std::to_string(backWant) + " units after the reversal and at most " +
                               std::to_string(forwardAtMost) + " before it",
                    events);
    ++tally_.trains;
    ++tally_.reversals;
    tally_.units += std::abs(backWant);
}

// Ctrl held with the wheel: the notch passes unchanged (zoom keeps working) and the
// running glide stops.
void Soak::CtrlStop(Spot spot, Input input) {
    Group group{"Ctrl stop", spot, input, SettingsFor(input), {}};
    const double duration = std::max(30, group.settings.DurationMs);
    const std::vector<Beat> beats = PlanBeats(Pick({Rhythm::Single, Rhythm::Burst, Rhythm::Blend}), group.settings);
    ExpectedTrain expected(IsHorizontal(input));
    const Input plainInput = Pick({Input::Wheel, Input::Tilt});
    const int plainDelta = Pick({120, -120, 240});
    Begin(group);
    ShiftKey shift(input);
    SendBeats(group, beats, Chance(0.5) ? 1 : -1, &expected, nullptr);
    const double ctrlAt = lastNotchMs_ + Uniform(10.0, std::max(10.0, 0.3 * duration));
    pacer_.WaitUntil(ctrlAt);
    shift.Release();
    PressKey(VK_CONTROL, true);
    Sleep(15);
    SendNotch(group, plainDelta, plainInput);
    group.sent.back().modified = true;
    Sleep(30);
    PressKey(VK_CONTROL, false);
    WaitForTrainEnd(group.settings);

    const std::vector<ReceivedWheel> events = desktop_->ReceivedEverywhere();
    const int trainAtMost = expected.Total();
    int marked = 0, markedOther = 0, markedAfterPlain = 0, plainCount = 0, plainUnits = 0;
    bool plainOnItsAxis = true;
    for (const ReceivedWheel& e : events) {
        if (e.extraInfo != WheelMarker) {
            ++plainCount;
            plainUnits += e.delta;
            plainOnItsAxis = plainOnItsAxis && e.horizontal == IsHorizontal(plainInput);
        } else {
            (e.horizontal == IsHorizontal(input) ? marked : markedOther) += e.delta;
            markedAfterPlain += plainCount > 0;
        }
    }
    if (Displaced(group) || HeldUp(group)) return;
    // Stopped well before its end (a third of the curve at most, on curves long enough
    // to leave whole units there), the train must have fallen short.
    const bool mustFallShort = duration >= 150 && std::abs(trainAtMost) >= 30;
    const bool withinTrain = Sign(marked) == Sign(trainAtMost) || marked == 0;
    if (plainCount != 1 || plainUnits != plainDelta || !plainOnItsAxis || markedAfterPlain > 1 || markedOther != 0 ||
        !withinTrain ||
        std::abs(marked) > std::abs(trainAtMost) || (mustFallShort && std::abs(marked) >= std::abs(trainAtMost)))
        return Fail(group, "expected the Ctrl notch unchanged (" + std::to_string(plainDelta) +
                               ") and the train stopped short of " + std::to_string(trainAtMost) + " units",
                    events);
    ++tally_.stops;
    ++tally_.plain;
}

// Notches that the program must leave alone: over an excluded window, or with smoothing off.
void Soak::PassedUnchanged(Spot spot, Input input, const char* kind) {
    Group group{kind, spot, input, SettingsFor(input), {}};
    Begin(group);
    ShiftKey shift(input);
    int sum = 0;
    double at = QpcNowMs();
    for (int i = 0, n = Uniform(1, 3); i < n; ++i) {
        at += i ? Uniform(30.0, 200.0) : 0.0;
        pacer_.WaitUntil(at);
        const int delta = Pick({120, -120, 60, -240});
        SendNotch(group, delta, input);
        sum += delta;
    }
    shift.Release();
    desktop_->WaitUntilQuiet(200, 5000);
    const std::vector<ReceivedWheel> events = desktop_->ReceivedEverywhere();
    const WheelTotals totals = Sum(events);
    // Shift changes nothing for a notch that passes: the window gets the vertical wheel.
    const int got = input == Input::Tilt ? totals.horizontal : totals.vertical;
    if (Displaced(group)) return;
    if (totals.marked != 0 || totals.unmarked != static_cast<int>(group.sent.size()) || got != sum)
        return Fail(group, "expected every notch unchanged (" + std::to_string(sum) + " units)", events);
    tally_.plain += static_cast<int>(group.sent.size());
}

// Smoothing off from the tray menu or the window's switch, notches, and back on.
void Soak::SmoothingOff(bool fromTray) {
    ++tally_.toggles;
    const auto means = [](bool tray) { return std::string(tray ? "the tray command" : "the switch"); };
    if (!panel_->ToggleEnabled(fromTray)) return Fail("smoothing off: " + means(fromTray) + " did not reach the file");
    PassedUnchanged(Chance(0.7) ? Spot::Own : Spot::Chrome, AnyInput(), "smoothing off");
    const bool back = Chance(0.5);
    if (!panel_->ToggleEnabled(back)) Fail("smoothing on: " + means(back) + " did not reach the file");
}

void Soak::MoveSliders() {
    for (int i = 0, n = Uniform(1, 3); i < n; ++i) {
        const int row = Uniform(0, SliderRowCount - 1);
        panel_->MoveSlider(Chance(0.5), row, Uniform(SliderRanges[row].min, SliderRanges[row].max), Chance(0.3));
        ++tally_.sliderMoves;
    }
}

void Soak::ToggleAcceleration(bool horizontal) {
    panel_->ToggleAcceleration(horizontal);
    ++tally_.switches;
}

void Soak::ShowWindow() {
    if (!panel_->IsShown()) {
        if (!panel_->Show()) return Fail("the settings window did not show");
        ++tally_.windowShows;
    }
    for (int i = 0, n = Uniform(1, 3); i < n; ++i) {
        panel_->ClickTab(Uniform(0, PageCount - 1));
        Sleep(100); // painted
        ++tally_.pages;
    }
}

void Soak::HideWindow() {
    if (panel_->IsShown() && !panel_->Hide()) Fail("the settings window did not hide");
}

void Soak::ChangeBrowserPage() {
    desktop_->ShowExcludedSite(!desktop_->IsExcluded(Spot::Chrome));
    ++tally_.titles;
}

void Soak::RestartBrowser() {
    desktop_->RestartBrowser();
    if (!desktop_->IsReady()) Fail("the browser window did not come back");
    ++tally_.restarts;
}

void Soak::RandomStep() {
    const int roll = Uniform(0, 99);
    const int reinstalls = HookReinstalls();
    if (reinstalls != reinstallsSeen_) {
        std::printf("note at %.1f s: the hook was installed again (%d times now), last steps: %s\n%s\n", Elapsed(),
                    reinstalls, History().c_str(), desktop_->Describe().c_str());
        reinstallsSeen_ = reinstalls;
        desktop_->WatchNotches(); // ours first in the chain again, before the program's new hook
    }
    // The last few steps, for the report of a failure.
    static const char* const names[] = {"train", "reversal", "Ctrl stop", "excluded", "smoothing off", "sliders",
                                        "acceleration switch", "window", "browser page", "browser restart"};
    static const int ends[] = {40, 48, 56, 66, 70, 82, 86, 90, 98, 100};
    const char* name = names[std::upper_bound(std::begin(ends), std::end(ends), roll) - std::begin(ends)];
    char entry[64];
    std::snprintf(entry, sizeof entry, "%s at %.1f s", name, Elapsed());
    history_.push_back(entry);
    if (history_.size() > 4) history_.pop_front();
    if (roll < 40) return Train(SmoothSpot(), AnyInput(), Pick({Rhythm::Single, Rhythm::Burst, Rhythm::Blend}));
    if (roll < 48) return Reversal(SmoothSpot(), AnyInput());
    if (roll < 56) return CtrlStop(SmoothSpot(), AnyInput());
    if (roll < 66) {
        const Spot spot = desktop_->IsExcluded(Spot::Chrome) ? Pick({Spot::Game, Spot::Firefox, Spot::Chrome})
                                                             : Pick({Spot::Game, Spot::Firefox});
        return PassedUnchanged(spot, AnyInput(), "excluded");
    }
    if (roll < 70) return SmoothingOff(Chance(0.7));
    if (roll < 82) return MoveSliders();
    if (roll < 86) return ToggleAcceleration(Chance(0.5));
    if (roll < 90) return Chance(0.6) ? ShowWindow() : HideWindow();
    if (roll < 98) return ChangeBrowserPage();
    RestartBrowser();
}

std::string Describe(const AxisSettings& s) {
    char text[160];
    std::snprintf(text, sizeof text, "speed %d, %d ms, smoothing %.1f, acceleration %s x%.1f", s.Speed, s.DurationMs,
                  s.Smoothing, s.AccelEnabled ? "on" : "off", s.AccelStrength);
    return text;
}

void Soak::Fail(const Group& group, const std::string& what, const std::vector<ReceivedWheel>& events) {
    if (++tally_.failures > 20) return; // counted, no longer printed
    const WheelTotals t = Sum(events);
    std::printf("FAILED at %.1f s: %s over the %s by %s (%s): %s\n  sent:", Elapsed(), group.kind, SpotName(group.spot),
                InputName(group.input), Describe(group.settings).c_str(), what.c_str());
    for (const Sent& s : group.sent)
        std::printf(" %s%+d%s@%.1f", s.modified ? "Ctrl" : "", s.delta, s.input == Input::Tilt ? "h" : "", s.atMs);
    std::printf("\n  seen by the hooks at:");
    for (double at : group.seenMs) std::printf(" %.1f", at);
    std::printf("\n  received: %zu events, vertical %d, horizontal %d; marked %d (%d units), unmarked %d (%d units)\n",
                events.size(), t.vertical, t.horizontal, t.marked, t.markedUnits, t.unmarked, t.unmarkedUnits);
    std::printf("%s\n  settings window %s; before it: %s\n", desktop_->Describe().c_str(),
                panel_->IsShown() ? "shown" : "hidden", History().c_str());
    std::fflush(stdout);
}

// What the window was told is what the program keeps: the file it writes says so.
void Soak::CheckSettingsFile() {
    ++tally_.fileChecks;
    const std::wstring difference = panel_->DifferenceFromFile();
    if (!difference.empty())
        Fail("the configuration file does not hold the settings made in the window: " +
             std::string(difference.begin(), difference.end()));
}

void Soak::Fail(const std::string& what) {
    if (++tally_.failures > 20) return;
    std::printf("FAILED at %.1f s: %s\n", Elapsed(), what.c_str());
    std::fflush(stdout);
}

int Soak::HookReinstalls() const {
    static const UINT message = RegisterWindowMessageW(L"Velvetglide.Seam.HookReinstalls");
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(window_, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return -1;
    return static_cast<int>(count);
}

ProcessFigures Soak::Sample(const char* label) {
    const ProcessFigures f = SampleProcess(program_->Process());
    const int reinstalls = HookReinstalls();
    if (reinstalls < 0) Fail("the settings window did not answer within 5 s");
    std::printf("[%5.0f s] %-8s %d trains exact (%lld units; %d reversals), %d stops, %d plain notches, "
                "%d not judged, %d failures | private %llu KB, %u handles, %u threads, GDI %u, USER %u, "
                "hook re-installs %d\n",
                Elapsed(), label, tally_.trains, tally_.units, tally_.reversals, tally_.stops, tally_.plain,
                tally_.heldUp + tally_.displaced, tally_.failures,
                static_cast<unsigned long long>(f.privateBytes / 1024), f.handles, f.threads, f.gdiObjects,
                f.userObjects, reinstalls);
    std::fflush(stdout);
    return f;
}

bool Soak::CheckGrowth(const ProcessFigures& from, const ProcessFigures& to) {
    bool ok = true;
    auto check = [&](const char* what, long long grew, long long bound, const char* unit) {
        const bool within = grew <= bound;
        std::printf("  %-14s %+lld %s after the warm-up (bound %lld)%s\n", what, grew, unit, bound,
                    within ? "" : "  EXCEEDED");
        ok = ok && within;
    };
    check("private bytes", (static_cast<long long>(to.privateBytes) - static_cast<long long>(from.privateBytes)) / 1024,
          PrivateGrowthBoundKb, "KB");
    check("handles", static_cast<long long>(to.handles) - from.handles, HandleGrowthBound, "");
    check("threads", static_cast<long long>(to.threads) - from.threads, ThreadGrowthBound, "");
    if (from.gdiObjects == 0 && to.gdiObjects == 0 && from.userObjects == 0 && to.userObjects == 0) {
        std::printf("  GDI/USER       0 and 0 throughout: not counted by this system (Wine reports 0)\n");
    } else {
        check("GDI objects", static_cast<long long>(to.gdiObjects) - from.gdiObjects, GdiGrowthBound, "");
        check("USER objects", static_cast<long long>(to.userObjects) - from.userObjects, UserGrowthBound, "");
    }
    return ok;
}

const wchar_t* const Config =
    L"[Exclusions]\r\nCount=1\r\nApp0=game.exe\r\n[Sites]\r\nCount=2\r\nSite0=wikipedia.org\r\nSite1=видео\r\n";

int Soak::Run() {
    desktop_ = std::make_unique<SoakDesktop>();
    if (!desktop_->IsReady()) {
        std::printf("FAILED: the target windows did not start\n");
        return 1;
    }
    program_ = std::make_unique<ProgramUnderTest>(Config, ProgramUnderTest::Build::WithSeams);
    if (!program_->Start(L"--minimized") || !(window_ = program_->FindSettingsWindow())) {
        std::printf("FAILED: the program did not start\n");
        return 1;
    }
    panel_ = std::make_unique<SettingsPanel>(window_, program_->Folder() + L"\\config.ini");
    if (!panel_->Load()) {
        std::printf("FAILED: the program's configuration file cannot be read\n");
        return 1;
    }
    // The hook follows the tray icon by a moment: probe until a notch comes back smoothed.
    bool hooked = false;
    for (int probe = 0; probe < 20 && !hooked; ++probe) {
        desktop_->PointAt(Spot::Own);
        desktop_->ClearAll();
        InjectWheel(120);
        lastNotchMs_ = QpcNowMs();
        desktop_->WaitUntilQuiet(150, 3000);
        hooked = Sum(desktop_->ReceivedEverywhere()).marked > 1;
    }
    if (!hooked) {
        std::printf("FAILED: no probe notch came back smoothed: the hook is not active\n");
        return 1;
    }
    desktop_->WatchNotches();
    startMs_ = QpcNowMs();
    const double reportEvery =
        options_.reportEvery > 0 ? options_.reportEvery : std::clamp(options_.seconds / 10, 5.0, 60.0);
    const ProcessFigures atStart = Sample("start");
    std::printf("private bytes: %s; handles: %s; GDI/USER objects: GetGuiResources\n",
                atStart.privateFromPagefile ? "PagefileUsage (PrivateUsage is 0 here: Wine's anonymous resident memory)"
                                            : "PrivateUsage",
                atStart.handlesFromSystemList ? "counted in the system's handle list (GetProcessHandleCount says 0)"
                                              : "GetProcessHandleCount");

    // Warm-up: every kind of input once, then more of the mix for a quarter of the run (at most a minute).
    Train(Spot::Own, Input::Wheel, Rhythm::Burst);
    Train(Spot::Chrome, Input::Tilt, Rhythm::Blend);
    Train(Spot::Own, Input::ShiftWheel, Rhythm::Single);
    Reversal(Spot::Own, Input::Wheel);
    CtrlStop(Spot::Chrome, Input::Wheel);
    for (Spot spot : {Spot::Game, Spot::Firefox}) PassedUnchanged(spot, Input::Wheel, "excluded");
    SmoothingOff(true);
    SmoothingOff(false);
    MoveSliders();
    ToggleAcceleration(false);
    ToggleAcceleration(false);
    ShowWindow();
    for (int page = 0; page < PageCount; ++page) {
        panel_->ClickTab(page);
        Sleep(100);
    }
    HideWindow();
    ChangeBrowserPage();
    PassedUnchanged(Spot::Chrome, Input::Wheel, "excluded");
    ChangeBrowserPage();
    RestartBrowser();
    const double warmUp = std::min(60.0, options_.seconds / 4);
    while (Elapsed() < warmUp) RandomStep();
    HideWindow();
    desktop_->WaitUntilQuiet(300, 5000);
    const ProcessFigures baseline = Sample("warm");

    double nextReport = Elapsed() + reportEvery;
    while (Elapsed() < options_.seconds) {
        RandomStep();
        if (WaitForSingleObject(program_->Process(), 0) != WAIT_TIMEOUT) {
            Fail("the program ended by itself");
            break;
        }
        if (Elapsed() >= nextReport) {
            CheckSettingsFile();
            Sample("");
            nextReport += reportEvery;
        }
    }

    // The end: the window hidden again, nothing moving, the settings as the window left them.
    HideWindow();
    desktop_->WaitUntilQuiet(300, 5000);
    CheckSettingsFile();
    const ProcessFigures atEnd = Sample("end");
    const int reinstalls = HookReinstalls();
    if (reinstalls != 0) Fail("the hook was installed again " + std::to_string(reinstalls) + " times: it missed input");
    const double asked = QpcNowMs();
    const int exitCode = program_->ExitThroughTrayMenu(5000);
    if (exitCode != 0) Fail("Exit from the tray menu: exit code " + std::to_string(exitCode));

    std::printf("\nsoak: %.0f s, seed %u; %d notches sent; %d trains, each exactly the engine's units (%lld units; "
                "%d reversals), %d glides stopped by Ctrl, %d notches passed unchanged; not judged: %d groups held "
                "up by the driver, %d seen by the system over another window or without their key\n",
                Elapsed(), options_.seed, tally_.notches, tally_.trains, tally_.units, tally_.reversals, tally_.stops,
                tally_.plain, tally_.heldUp, tally_.displaced);
    std::printf("input: %d slider moves, %d acceleration switches, %d smoothing off/on, %d window shows (%d tab "
                "clicks), %d browser page changes, %d browser restarts; the settings file checked %d times; exit "
                "after %.0f ms with code %d\n",
                tally_.sliderMoves, tally_.switches, tally_.toggles, tally_.windowShows, tally_.pages, tally_.titles,
                tally_.restarts, tally_.fileChecks, QpcNowMs() - asked, exitCode);
    std::printf("figures (start, after the warm-up, end): private bytes %llu, %llu, %llu KB; handles %u, %u, %u; "
                "threads %u, %u, %u; GDI objects %u, %u, %u; USER objects %u, %u, %u\n",
                static_cast<unsigned long long>(atStart.privateBytes / 1024),
                static_cast<unsigned long long>(baseline.privateBytes / 1024),
                static_cast<unsigned long long>(atEnd.privateBytes / 1024), atStart.handles, baseline.handles,
                atEnd.handles, atStart.threads, baseline.threads, atEnd.threads, atStart.gdiObjects,
                baseline.gdiObjects, atEnd.gdiObjects, atStart.userObjects, baseline.userObjects, atEnd.userObjects);
    const bool grewWithinBounds = CheckGrowth(baseline, atEnd);
    // A run that could judge little proves little.
    const int notJudged = tally_.heldUp + tally_.displaced;
    const bool judgedEnough = notJudged * 20 <= tally_.groups;
    std::printf("  not judged     %d of %d groups (at most 5%%)%s\n", notJudged, tally_.groups,
                judgedEnough ? "" : "  EXCEEDED");
    const bool passed = grewWithinBounds && judgedEnough && tally_.failures == 0 && tally_.trains > 0;
    std::printf("soak: %s (%d failures)\n", passed ? "PASSED" : "FAILED", tally_.failures);
    return passed ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    options.seed = static_cast<unsigned>(GetTickCount64());
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring name = argv[i];
        const double value = _wtof(argv[i + 1]);
        if (name == L"--seconds") options.seconds = value;
        else if (name == L"--seed") options.seed = static_cast<unsigned>(_wtoi64(argv[i + 1]));
        else if (name == L"--report-every") options.reportEvery = value;
        else {
            std::fprintf(stderr, "usage: velvetglide_soak.exe [--seconds N] [--seed S] [--report-every SECONDS]\n");
            return 2;
        }
    }
    std::printf("soak: %.0f s of mixed input, seed %u (--seed repeats the same choices)\n", options.seconds,
                options.seed);
    std::fflush(stdout);
    return Soak(options).Run();
}
