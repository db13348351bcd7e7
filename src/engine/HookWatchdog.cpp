#include "engine/HookWatchdog.h"

bool HookWatchdog::HookMissedInput(const WatchdogObservation& seen) {
    const uint64_t since = Since(seen.hookEventMs);
    if (!seen.cursorAwayFromHook || seen.systemInputMs <= since + ClockSlackMs) {
        unseenInputMs_ = 0;
        return false;
    }
    // The first input of this stretch that the hook has not seen; the hook seeing any
    // event after it ends the stretch.
    if (unseenInputMs_ <= since) unseenInputMs_ = seen.systemInputMs;
    return seen.nowMs >= unseenInputMs_ + GraceMs;
}

uint32_t HookWatchdog::NextCheckDelayMs(uint64_t nowMs, uint64_t hookEventMs) const {
    return unseenInputMs_ != 0 || nowMs < Since(hookEventMs) + FastWindowMs ? FastCheckMs : SlowCheckMs;
}
