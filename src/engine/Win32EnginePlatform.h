#pragma once
// The engine's platform on Windows: the performance counter, an auto-reset wake
// event, a waitable frame timer (high resolution where the system has one), SendInput,
// the monitors' display settings and the compositor's clock.

#include "engine/EnginePlatform.h"
#include "platform/UniqueHandle.h"

class Win32EnginePlatform : public EnginePlatform {
public:
    Win32EnginePlatform();

    double NowMs() override;
    void SetWake() override;
    void WaitForWake() override;
    void OnEngineThreadStart() override;
    void BeginFrames() override;
    void EndFrames() override;
    bool IsModifierDown() override;
    void WaitUntil(double dueMs) override;
    void EmitWheelStep(bool horizontal, int32_t step) override;
    DisplayTable ReadDisplays() override;
    bool ReadDisplayTiming(DisplayTiming& timing) override;
    bool HasHighResolutionTimer() const override { return highResolution_; }

    // Where the displays come from: the system, replaced only by the test build (Wine
    // does not report a mode change to a running program).
    using DisplaySource = DisplayTable (*)();
    static void UseDisplaySource(DisplaySource source);

private:
    double counterFrequency_ = 1.0;
    UniqueKernelHandle wakeEvent_;
    UniqueKernelHandle frameTimer_;
    bool highResolution_ = false;
    bool periodRaised_ = false;  // engine thread only
};

// Ctrl, Alt or either Win key held, from the asynchronous key state.
bool IsZoomOrSystemModifierDown();
