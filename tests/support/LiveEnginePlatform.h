#pragma once
// An engine platform whose engine thread really runs: the steady clock (plus a jump the
// test may add, as a wake from sleep shows it), a real auto-reset wake event, frames that
// really wait, modifiers the test can hold, one display of the rate the test sets, and a
// record of what was emitted.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "engine/EnginePlatform.h"

class LiveEnginePlatform : public EnginePlatform {
public:
    explicit LiveEnginePlatform(int32_t refreshRate = 0) : refreshRateHz(refreshRate) {}

    std::atomic<bool> modifierDown{false};
    std::atomic<int32_t> refreshRateHz;
    std::atomic<double> clockJumpMs{0.0};
    std::chrono::microseconds frameWait{1000};
    std::atomic<int64_t> units[2] = {0, 0}; // vertical, horizontal
    std::atomic<int64_t> steps{0};
    std::atomic<int> openFrameRuns{0};
    std::atomic<bool> parked{false}; // the engine thread waits on the wake event: no step in flight
    std::mutex orderLock;
    std::string order; // 'V' and 'H' for each emitted step, '|' for each frame wait

    double NowMs() override {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count() +
               clockJumpMs.load();
    }
    // A wake with nobody waiting is kept for the next wait.
    void SetWake() override {
        std::lock_guard<std::mutex> lock(wakeLock_);
        woken_ = true;
        wakeup_.notify_one();
    }
    void WaitForWake() override {
        std::unique_lock<std::mutex> lock(wakeLock_);
        parked = true;
        wakeup_.wait(lock, [this] { return woken_; });
        woken_ = false;
        parked = false;
    }
    void BeginFrames() override { ++openFrameRuns; }
    void EndFrames() override { --openFrameRuns; }
    bool IsModifierDown() override { return modifierDown.load(); }
    void WaitUntil(double) override {
        Record('|');
        std::this_thread::sleep_for(frameWait);
    }
    void EmitWheelStep(bool horizontal, int32_t step) override {
        units[horizontal ? 1 : 0] += step;
        ++steps;
        Record(horizontal ? 'H' : 'V');
    }
    DisplayTable ReadDisplays() override { return {DisplayArea{0, 0, 1920, 1080, refreshRateHz.load()}}; }
    bool HasHighResolutionTimer() const override { return true; }

private:
    void Record(char event) {
        std::lock_guard<std::mutex> lock(orderLock);
        order.push_back(event);
    }

    std::mutex wakeLock_;
    std::condition_variable wakeup_;
    bool woken_ = false;
};
