#include "engine/HookWatchdog.h"

bool HookWatchdog::HookMissedInput(const WatchdogObservation& seen) const {
    // Input within the grace may still be on its way to the hook thread.
    return seen.cursorAwayFromHook && seen.systemInputMs > Since(seen.hookEventMs) + GraceMs;
}

uint32_t HookWatchdog::NextCheckDelayMs(uint64_t nowMs, uint64_t hookEventMs) const {
    return nowMs < Since(hookEventMs) + FastWindowMs ? FastCheckMs : SlowCheckMs;
}
