#pragma once
// What the wheel target program shares with the test that started it: a named
// file mapping holding its windows and every wheel message it received. One writer
// (the target's window thread) appends; the count is published after the record.

#include <cstdint>

#include "platform/Win32.h"

struct TargetWheelRecord {
    int32_t delta;
    int32_t horizontal;
    uint64_t extraInfo;
    double timeMs; // QpcNowMs in the target: the counter is the same in every process
};

struct TargetReport {
    static constexpr LONG MaxRecords = 8192;
    volatile LONG ready; // 1 once the windows are shown
    uint64_t topLevel;   // HWNDs, as numbers
    uint64_t child;      // 0 without a child window
    volatile LONG count;
    TargetWheelRecord records[MaxRecords];
};
