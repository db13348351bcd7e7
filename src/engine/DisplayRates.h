#pragma once
// The refresh rate of each display, where it lies on the desktop: read on the main
// thread at start and after each display change, looked up by the engine for the point
// where a glide's notch was turned.

#include <cstdint>
#include <vector>

struct DisplayArea {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // screen pixels, right and bottom outside
    int32_t refreshHz = 0;                            // 0: the display reports none
};
using DisplayTable = std::vector<DisplayArea>;

// The rate of the display that holds the point, else of the nearest one (the point may
// lie in a gap between displays, or just off an edge); 0 without any display.
int32_t RefreshRateAt(const DisplayTable& displays, int32_t x, int32_t y);
