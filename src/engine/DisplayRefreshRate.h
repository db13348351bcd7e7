#pragma once
#include <cstdint>

// Refresh rate in Hz of the fastest display attached to the desktop; 0 when none
// reports a rate in 24..1000.
int32_t DetectRefreshRate();
