#include "engine/WheelInjection.h"

INPUT MakeWheelInput(bool horizontal, int32_t step) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.mouseData = static_cast<DWORD>(step); // two's complement for negative steps
    input.mi.dwFlags = horizontal ? MOUSEEVENTF_HWHEEL : MOUSEEVENTF_WHEEL;
    input.mi.dwExtraInfo = WheelMarker;
    return input;
}

void EmitWheelStep(bool horizontal, int32_t step) {
    if (step == 0) return;
    INPUT input = MakeWheelInput(horizontal, step);
    SendInput(1, &input, sizeof(INPUT)); // a step the system refuses is lost, not retried
}
