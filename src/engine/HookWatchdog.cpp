#include "engine/HookWatchdog.h"

bool HookWatchdog::HookMissedInput(uint64_t nowMs, uint64_t hookEventMs) {
    if (unseenInputMs_ == 0) return false;
    if (Seen(unseenInputMs_, hookEventMs)) {
        unseenInputMs_ = 0; // held up on its way, and seen since
        return false;
    }
    return nowMs >= unseenInputMs_ + GraceMs;
}

uint32_t HookWatchdog::NextCheckDelayMs(uint64_t nowMs) const {
    if (unseenInputMs_ == 0) return NoCheck;
    const uint64_t due = unseenInputMs_ + GraceMs;
    return due > nowMs ? static_cast<uint32_t>(due - nowMs) : 0;
}
