#pragma once
// Turns swallowed wheel notches into smooth trains of small wheel steps, one curve
// per axis. The hook thread queues notches; the engine thread runs frames at the
// display's pace while any axis moves and sleeps on the wake event otherwise.

#include <atomic>
#include <cstdint>
#include <thread>

#include "engine/AxisState.h"

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

    // One intercepted wheel event (120 per notch). Hook thread; never waits, never allocates.
    // True when the engine took it (a delta of 0 is taken and adds nothing); false when
    // smoothing is off or the engine is not running: the hook passes the event on.
    bool QueueWheel(short delta, bool horizontal);
    void CancelAll();

    void RefreshDisplayRate();
    int32_t RefreshRateHz() const { return refreshRateHz_.load(); }
    int32_t FrameRateHz() const;
    bool HasHighResolutionTimer() const;

    bool IsRunning() const { return running_.load(); }
    double NowMs() const;
    AxisState& AxisFor(bool horizontal) { return horizontal ? horizontal_ : vertical_; }

private:
    void RunFrameLoop();
    bool AnyAxisActive();
    void RunFrame();

    ConfigStore& store_;
    EnginePlatform& platform_;
    AxisState vertical_{false};
    AxisState horizontal_{true};
    std::atomic<bool> running_{false};
    std::atomic<int32_t> refreshRateHz_{0};
    std::thread thread_; // last: joined before the rest goes
};
