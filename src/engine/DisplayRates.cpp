#include "engine/DisplayRates.h"

#include <limits>

namespace {

// Squared distance from the point to the area; 0 inside it.
int64_t DistanceSquared(const DisplayArea& area, int32_t x, int32_t y) {
    const int64_t dx = x < area.left ? int64_t{area.left} - x : (x >= area.right ? int64_t{x} - area.right + 1 : 0);
    const int64_t dy = y < area.top ? int64_t{area.top} - y : (y >= area.bottom ? int64_t{y} - area.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

} // namespace

int32_t RefreshRateAt(const DisplayTable& displays, int32_t x, int32_t y) {
    int32_t rate = 0;
    int64_t nearest = std::numeric_limits<int64_t>::max();
    for (const DisplayArea& area : displays) {
        const int64_t distance = DistanceSquared(area, x, y);
        if (distance < nearest) {
            nearest = distance;
            rate = area.refreshHz;
        }
    }
    return rate;
}
