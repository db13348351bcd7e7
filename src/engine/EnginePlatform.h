#pragma once
// What the scroll engine needs from the system, behind one interface: the clock,
// the wake event, the frame wait, the modifier keys, the injection of a wheel step and
// the displays' rates and timing. The Win32 version wraps the performance counter, an
// auto-reset event, a waitable timer, SendInput, the display settings and DWM; tests
// drive the engine with a scripted one.

#include <cstdint>

#include "engine/DisplayRates.h"
#include "engine/FramePacing.h"

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

    virtual bool IsModifierDown() = 0;        // Ctrl, Alt or a Win key held
    virtual void WaitUntil(double dueMs) = 0; // engine thread; returns at once when due already

    virtual void EmitWheelStep(bool horizontal, int32_t step) = 0;

    // Every display with its rate. Main thread only: start-up and display changes.
    virtual DisplayTable ReadDisplays() = 0;
    // The display's clock, where the system tells it; engine thread, at a glide's start
    // and now and then during it.
    virtual bool ReadDisplayTiming(DisplayTiming&) { return false; }
    virtual bool HasHighResolutionTimer() const = 0;
};
