#pragma once
// An engine platform for tests: a clock the test sets. Its engine thread stays parked on
// the wake event until the test stops the engine, so the test itself drives the frames,
// step by step, and reads the steps from them.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "engine/EnginePlatform.h"

class ScriptedEnginePlatform : public EnginePlatform {
public:
    double nowMs = 1000.0;
    std::atomic<int> wakeCount{0};

    double NowMs() override { return nowMs; }
    // The next SetWake (the engine's Stop) lets the parked thread go.
    void ReleaseOnNextWake() { releaseOnWake_ = true; }

    void SetWake() override {
        ++wakeCount;
        if (releaseOnWake_) {
            std::lock_guard<std::mutex> lock(mutex_);
            released_ = true;
            wakeup_.notify_all();
        }
    }
    void WaitForWake() override {
        std::unique_lock<std::mutex> lock(mutex_);
        parked_ = true;
        parkedChanged_.notify_all();
        wakeup_.wait(lock, [this] { return released_; });
    }

    // After Start: the engine thread must be parked before the test queues anything,
    // or it would run frames of its own.
    void WaitUntilParked() {
        std::unique_lock<std::mutex> lock(mutex_);
        parkedChanged_.wait(lock, [this] { return parked_; });
    }
    bool IsModifierDown() override { return false; }
    void WaitUntil(double) override {}
    void EmitWheelStep(bool, int32_t) override {}
    DisplayTable ReadDisplays() override { return {}; }
    bool HasHighResolutionTimer() const override { return true; }

private:
    std::atomic<bool> releaseOnWake_{false};
    std::mutex mutex_;
    std::condition_variable wakeup_, parkedChanged_;
    bool released_ = false;
    bool parked_ = false;
};
