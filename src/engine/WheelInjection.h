#pragma once
// Sending one wheel step into the system's input stream, marked so that the
// program's own hook lets it pass instead of swallowing it again.

#include <cstdint>

#include "platform/Win32.h"

// dwExtraInfo of every wheel event the program injects.
inline constexpr ULONG_PTR WheelMarker = 0x56474C44;

// The input record for one step: no movement, the step as mouseData, the axis's flag.
INPUT MakeWheelInput(bool horizontal, int32_t step);

// Sends the step (nothing for 0). Engine thread, no lock held.
void EmitWheelStep(bool horizontal, int32_t step);
