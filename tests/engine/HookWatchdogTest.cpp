#include <gtest/gtest.h>

#include "engine/HookWatchdog.h"

// A day in the hook's life, as the watchdog on the hook thread sees it at its checks.
TEST(HookWatchdogTest, ReinstallsOnlyAfterPointerInputTheHookMissed) {
    HookWatchdog watchdog;
    watchdog.Installed(10000);
    auto missed = [&](uint64_t now, uint64_t hookEvent, uint64_t systemInput, bool cursorAway) {
        return watchdog.HookMissedInput({now, hookEvent, systemInput, cursorAway});
    };

    // Input from before the hook existed, and the hook seeing every move since.
    EXPECT_FALSE(missed(10200, 0, 9000, true));
    EXPECT_FALSE(missed(12000, 11990, 11990, false));
    // Typing for a minute: the system's clock moves, the cursor does not.
    EXPECT_FALSE(missed(72000, 11990, 71900, false));
    // A move the hook has not seen yet, within the grace: still on its way.
    EXPECT_FALSE(missed(72100, 71700, 71700 + HookWatchdog::GraceMs, true));
    // The hook went quiet while the pointer kept moving: dropped.
    EXPECT_TRUE(missed(73000, 71700, 72900, true));

    // Installed again: the input that proved the drop no longer counts.
    watchdog.Installed(73000);
    EXPECT_FALSE(missed(73250, 71700, 72900, true));
    EXPECT_TRUE(missed(74000, 71700, 73600, true)); // the new hook misses input too: again

    // Checks come fast while input flows, then rarely.
    EXPECT_EQ(watchdog.NextCheckDelayMs(73100, 0), HookWatchdog::FastCheckMs);
    EXPECT_EQ(watchdog.NextCheckDelayMs(80000, 79000), HookWatchdog::FastCheckMs);
    EXPECT_EQ(watchdog.NextCheckDelayMs(80000, 73000), HookWatchdog::SlowCheckMs);

    // GetLastInputInfo's 32-bit tick, taken shortly before a 64-bit now, across its wrap.
    EXPECT_EQ(WidenTick(0x1'0000'0100ull, 0xFFFF'FF00u), 0x0'FFFF'FF00ull);
    EXPECT_EQ(WidenTick(0x1'0000'0100ull, 0x0000'0080u), 0x1'0000'0080ull);
}
