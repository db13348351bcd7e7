#pragma once
// What the scroll engine needs from the system, behind one interface: the clock,
// the wake event, the frame wait, the modifier keys and the injection of a wheel
// step. The Win32 version wraps the performance counter, an auto-reset event, a
// waitable timer and SendInput; tests drive the engine with a scripted one.

#include <cstdint>

class EnginePlatform {
public:
    virtual ~EnginePlatform() = default;

    virtual double NowMs() = 0; // monotonic milliseconds

    virtual void SetWake() = 0;     // any thread
    virtual void WaitForWake() = 0; // engine thread; returns once SetWake was called (auto-reset)

    // Called on the engine thread when it starts (priority) and around runs of frames
    // (the system timer resolution is raised only while frames run, when needed).
    virtual void OnEngineThreadStart() {}
    virtual void BeginFrames() {}
    virtual void EndFrames() {}

    virtual bool IsModifierDown() = 0;             // Ctrl, Alt or a Win key held
    virtual void WaitFrame(int32_t frameRateHz) = 0; // one frame period, relative to now

    virtual void EmitWheelStep(bool horizontal, int32_t step) = 0;

    virtual int32_t DetectRefreshRate() = 0;        // Hz of the fastest display, 0 if unknown
    virtual bool HasHighResolutionTimer() const = 0;
};
