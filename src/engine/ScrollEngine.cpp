#include "engine/ScrollEngine.h"

#include <cmath>
#include <memory>
#include <new>

#include "engine/AxisMotion.h"
#include "engine/EnginePlatform.h"
#include "engine/FramePacing.h"
#include "settings/ConfigStore.h"

namespace {

// A value that is not a number can come from a hand-edited file ("Smoothing=nan")
// and slips through the range clamp; such a field falls back to its default so the
// notch still scrolls and no step is ever computed from it.
void ReplaceNonFinite(AxisSettings& settings) {
    const AxisSettings defaults;
    if (!std::isfinite(settings.Smoothing)) settings.Smoothing = defaults.Smoothing;
    if (!std::isfinite(settings.AccelStrength)) settings.AccelStrength = defaults.AccelStrength;
}

uint64_t PackPoint(int32_t x, int32_t y) {
    return (uint64_t{static_cast<uint32_t>(x)} << 32) | static_cast<uint32_t>(y);
}

} // namespace

ScrollEngine::ScrollEngine(ConfigStore& store, EnginePlatform& platform)
    : store_(store), platform_(platform),
      displays_(std::make_shared<const DisplayTable>(platform.ReadDisplays())) {}

ScrollEngine::~ScrollEngine() { Stop(); }

double ScrollEngine::NowMs() const { return platform_.NowMs(); }

bool ScrollEngine::QueueWheel(short delta, bool horizontal, int32_t x, int32_t y) {
    if (!running_.load()) return false;
    AxisSettings settings; // the defaults, overwritten by the store
    // Smoothing may have been switched off since the hook's own look at it.
    if (!store_.GetAxisSettings(horizontal ? Axis::Horizontal : Axis::Vertical, settings)) return false;
    if (delta == 0) return true;
    ReplaceNonFinite(settings);
    const double now = platform_.NowMs();

    AxisState& axis = AxisFor(horizontal);
    {
        std::lock_guard<std::mutex> lock(axis.lock);
        AxisMotion::AddNotch(axis, now, delta / 120.0, settings);
    }
    notchPoint_.store(PackPoint(x, y), std::memory_order_release); // before the wake that reads it
    platform_.SetWake();
    return true;
}

void ScrollEngine::CancelAll() {
    AxisMotion::Cancel(vertical_);
    AxisMotion::Cancel(horizontal_);
}

bool ScrollEngine::Start() {
    if (running_.load()) return true;
    RefreshDisplayRate();
    running_.store(true);
    try {
        thread_ = std::thread([this] { RunFrameLoop(); });
    } catch (...) { // the thread could not be created
        running_.store(false);
        return false;
    }
    return true;
}

void ScrollEngine::Stop() {
    if (!running_.exchange(false)) return;
    platform_.SetWake(); // an idle loop is blocked on the wake event
    if (thread_.joinable()) thread_.join();
}

void ScrollEngine::RefreshDisplayRate() {
    try {
        displays_.Publish(std::make_shared<const DisplayTable>(platform_.ReadDisplays()));
    } catch (const std::bad_alloc&) { // called from a window procedure: the last table stays
    }
}

int32_t ScrollEngine::RefreshRateAt(int32_t x, int32_t y) const { return ::RefreshRateAt(*displays_.Load(), x, y); }

bool ScrollEngine::HasHighResolutionTimer() const { return platform_.HasHighResolutionTimer(); }

bool ScrollEngine::AnyAxisActive() {
    bool active = false;
    for (AxisState* axis : {&vertical_, &horizontal_}) {
        std::lock_guard<std::mutex> lock(axis->lock);
        active = active || axis->active;
    }
    return active;
}

// The display under the glide's first notch sets its frame rate, and the display's
// clock, where the system tells it, the place of its frames.
void ScrollEngine::StartGlide() {
    const uint64_t point = notchPoint_.load(std::memory_order_acquire);
    const auto x = static_cast<int32_t>(point >> 32), y = static_cast<int32_t>(point & 0xFFFFFFFFu);
    const int32_t refreshHz = RefreshRateAt(x, y);
    const int32_t frameRateHz = FrameRateForRefresh(refreshHz);
    DisplayTiming timing;
    const bool told = platform_.ReadDisplayTiming(timing);
    frames_.Start(platform_.NowMs(), refreshHz, frameRateHz, told ? &timing : nullptr);
    glideFrameRateHz_.store(frameRateHz);
}

void ScrollEngine::RunFrame() {
    const double now = frames_.FrameTimeMs(platform_.NowMs());
    bool anyActive = false;
    // Each step is sent after Advance has released its axis lock.
    if (const int32_t step = AxisMotion::Advance(vertical_, now, anyActive)) platform_.EmitWheelStep(false, step);
    if (const int32_t step = AxisMotion::Advance(horizontal_, now, anyActive)) platform_.EmitWheelStep(true, step);
    if (!anyActive) return;
    frames_.FrameDone(platform_.NowMs());
    if (frames_.WantsTiming()) {
        DisplayTiming timing;
        frames_.CheckPhase(platform_.ReadDisplayTiming(timing) ? &timing : nullptr);
    }
    platform_.WaitUntil(frames_.NextWakeMs(platform_.NowMs()));
}

void ScrollEngine::RunFrameLoop() {
    if (!running_.load()) return;
    platform_.OnEngineThreadStart();
    bool framesRunning = false;
    while (running_.load()) {
        if (!AnyAxisActive()) {
            if (framesRunning) {
                platform_.EndFrames();
                framesRunning = false;
            }
            platform_.WaitForWake();
            if (!running_.load()) break;
            // The wake of a notch that came while the last glide ran: nothing starts.
            if (!AnyAxisActive()) continue;
        }
        if (!framesRunning) {
            platform_.BeginFrames();
            StartGlide();
            framesRunning = true;
        }
        // A held modifier (zoom, window switching) ends the glide at once; no frame, no wait.
        if (platform_.IsModifierDown()) {
            CancelAll();
            continue;
        }
        RunFrame();
    }
    if (framesRunning) platform_.EndFrames();
}
