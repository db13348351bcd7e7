#pragma once
// The motion of one wheel axis. A train runs from the notch that finds the axis idle
// until the curve ends; positions are wheel units from the train's start.

#include <cstdint>
#include <mutex>

struct AxisState {
    explicit AxisState(bool horizontal) : isHorizontal(horizontal) {}

    std::mutex lock; // guards every field below but isHorizontal
    bool active = false;
    double startPos = 0.0;
    double targetPos = 0.0;
    double emitted = 0.0;       // whole units already emitted in this train
    double startVelocity = 0.0; // normalised slope at the curve's start, 0..4
    double durationMs = 280.0;
    double smoothing = 3.0;
    double startTimeMs = 0.0;
    bool hasLastNotch = false;
    double lastNotchMs = 0.0;
    int32_t lastDirection = 0;
    double notchRate = 0.0; // smoothed notches per second
    const bool isHorizontal;
};
