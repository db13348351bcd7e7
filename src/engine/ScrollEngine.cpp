#include "engine/ScrollEngine.h"

#include <cmath>

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

} // namespace

ScrollEngine::ScrollEngine(ConfigStore& store, EnginePlatform& platform)
    : store_(store), platform_(platform), refreshRateHz_(platform.DetectRefreshRate()) {}

ScrollEngine::~ScrollEngine() { Stop(); }

double ScrollEngine::NowMs() const { return platform_.NowMs(); }

bool ScrollEngine::QueueWheel(short delta, bool horizontal) {
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
    platform_.SetWake();
    return true;
}

void ScrollEngine::CancelAll() {
    AxisMotion::Cancel(vertical_);
    AxisMotion::Cancel(horizontal_);
}

bool ScrollEngine::Start() {
    if (running_.load()) return true;
    refreshRateHz_.exchange(platform_.DetectRefreshRate());
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

void ScrollEngine::RefreshDisplayRate() { refreshRateHz_.exchange(platform_.DetectRefreshRate()); }

int32_t ScrollEngine::FrameRateHz() const { return FrameRateForRefresh(refreshRateHz_.load()); }

bool ScrollEngine::HasHighResolutionTimer() const { return platform_.HasHighResolutionTimer(); }

bool ScrollEngine::AnyAxisActive() {
    bool active = false;
    for (AxisState* axis : {&vertical_, &horizontal_}) {
        std::lock_guard<std::mutex> lock(axis->lock);
        active = active || axis->active;
    }
    return active;
}

void ScrollEngine::RunFrame() {
    const double now = platform_.NowMs();
    bool anyActive = false;
    // Each step is sent after Advance has released its axis lock.
    if (const int32_t step = AxisMotion::Advance(vertical_, now, anyActive)) platform_.EmitWheelStep(false, step);
    if (const int32_t step = AxisMotion::Advance(horizontal_, now, anyActive)) platform_.EmitWheelStep(true, step);
    if (anyActive) platform_.WaitFrame(FrameRateHz());
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
        }
        if (!framesRunning) {
            platform_.BeginFrames();
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
