#pragma once
// Turns swallowed wheel notches into smooth trains of small wheel steps, one curve
// per axis. The hook thread queues notches; the engine thread runs frames at the
// display's pace while any axis moves and sleeps on the wake event otherwise. A glide
// runs at the frame rate of the display where its first notch was turned, to its end.

#include <atomic>
#include <cstdint>
#include <thread>

#include "engine/AxisState.h"
#include "engine/DisplayRates.h"
#include "engine/FramePacing.h"
#include "platform/Published.h"

class ConfigStore;
class EnginePlatform;

class ScrollEngine {
public:
    // The process-wide engine on the real platform (constructed on first use).
    static ScrollEngine& Instance();

    // Both references must outlive the engine.
    ScrollEngine(ConfigStore& store, EnginePlatform& platform);
    ~ScrollEngine(); // stops the thread if it still runs
    ScrollEngine(const ScrollEngine&) = delete;
    ScrollEngine& operator=(const ScrollEngine&) = delete;

    bool Start();
    void Stop(); // never on the engine thread

    // One intercepted wheel event (120 per notch) at its screen point, which picks the
    // display a new glide paces by. Hook thread; never waits, never allocates.
    // True when the engine took it (a delta of 0 is taken and adds nothing); false when
    // smoothing is off or the engine is not running: the hook passes the event on.
    bool QueueWheel(short delta, bool horizontal, int32_t x = 0, int32_t y = 0);
    void CancelAll();

    // Reads the displays' rates again (main thread: a display change, a wake from sleep).
    // A glide under way keeps its rate.
    void RefreshDisplayRate();
    // The refresh rate of the display at a screen point, 0 when it reports none; the
    // frame rate a glide there runs at is FrameRateForRefresh of it.
    int32_t RefreshRateAt(int32_t x, int32_t y) const;
    // The frame rate of the glide under way, or of the last one (0 before the first).
    int32_t GlideFrameRateHz() const { return glideFrameRateHz_.load(); }
    bool HasHighResolutionTimer() const;

    bool IsRunning() const { return running_.load(); }
    double NowMs() const;
    AxisState& AxisFor(bool horizontal) { return horizontal ? horizontal_ : vertical_; }

private:
    void RunFrameLoop();
    bool AnyAxisActive();
    void StartGlide();
    void RunFrame();

    ConfigStore& store_;
    EnginePlatform& platform_;
    AxisState vertical_{false};
    AxisState horizontal_{true};
    std::atomic<bool> running_{false};
    Published<DisplayTable> displays_;    // written on the main thread
    std::atomic<uint64_t> notchPoint_{0}; // the last notch's point, packed
    std::atomic<int32_t> glideFrameRateHz_{0};
    FrameScheduler frames_; // engine thread only
    std::thread thread_; // last: joined before the rest goes
};
