#pragma once
// The engine's platform on Windows: the performance counter, an auto-reset wake
// event, a waitable frame timer (high resolution where the system has one) and
// SendInput.

#include "engine/EnginePlatform.h"
#include "engine/FramePacing.h"
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
    void WaitFrame(int32_t frameRateHz) override;
    void EmitWheelStep(bool horizontal, int32_t step) override;
    int32_t DetectRefreshRate() override;
    bool HasHighResolutionTimer() const override { return highResolution_; }

    // Where the displays' rate comes from: the system, replaced only by the test build
    // (Wine does not report a mode change to a running program).
    using RefreshRateSource = int32_t (*)();
    static void UseRefreshRateSource(RefreshRateSource source);

private:
    double counterFrequency_ = 1.0;
    UniqueKernelHandle wakeEvent_;
    UniqueKernelHandle frameTimer_;
    bool highResolution_ = false;
    bool periodRaised_ = false;  // engine thread only
    FrameScheduler frames_;      // engine thread only
};

// Ctrl, Alt or either Win key held, from the asynchronous key state.
bool IsZoomOrSystemModifierDown();
