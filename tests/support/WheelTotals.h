#pragma once
// What a window received, summed: units per axis, and events and units with and
// without the program's marker (a smoothed train is marked, a passed notch is not).

#include <vector>

#include "engine/WheelInjection.h"
#include "support/WheelTargetWindow.h"

struct WheelTotals {
    int vertical = 0, horizontal = 0; // units
    int marked = 0, unmarked = 0;     // events
    int markedUnits = 0, unmarkedUnits = 0;
};

inline WheelTotals Sum(const std::vector<ReceivedWheel>& events) {
    WheelTotals totals;
    for (const ReceivedWheel& e : events) {
        (e.horizontal ? totals.horizontal : totals.vertical) += e.delta;
        const bool marked = e.extraInfo == WheelMarker;
        (marked ? totals.marked : totals.unmarked)++;
        (marked ? totals.markedUnits : totals.unmarkedUnits) += e.delta;
    }
    return totals;
}
