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
    // A move that ends the pause, held up by another program's hook ahead of ours: it is
    // not missed while it is on its way, and forgotten once the hook has seen it.
    EXPECT_FALSE(missed(72010, 11990, 72000, true));
    EXPECT_FALSE(missed(72260, 11990, 72000, true));
    EXPECT_FALSE(missed(72510, 72480, 72490, false));
    EXPECT_FALSE(missed(73100, 72480, 72900, true)); // unseen for less than a grace
    EXPECT_FALSE(missed(73200, 73150, 73150, false));
    // The hook went quiet while the pointer kept moving: dropped once the first unseen
    // move is a grace old, however recent the last one is. Checks stay fast meanwhile.
    EXPECT_FALSE(missed(74000, 73150, 73900, true));
    EXPECT_EQ(watchdog.NextCheckDelayMs(74000 + HookWatchdog::FastWindowMs, 73150), HookWatchdog::FastCheckMs);
    EXPECT_FALSE(missed(74250, 73150, 74240, true));
    EXPECT_TRUE(missed(74400, 73150, 74390, true));

    // Installed again: the input that proved the drop no longer counts.
    watchdog.Installed(74400);
    EXPECT_FALSE(missed(74650, 73150, 74390, true));
    EXPECT_FALSE(missed(75000, 73150, 74900, true)); // the new hook misses input too...
    EXPECT_TRUE(missed(75400, 73150, 75390, true));  // ...and is installed again

    // Checks come fast while input flows, then rarely.
    watchdog.Installed(75400);
    EXPECT_EQ(watchdog.NextCheckDelayMs(75500, 0), HookWatchdog::FastCheckMs);
    EXPECT_EQ(watchdog.NextCheckDelayMs(80000, 79000), HookWatchdog::FastCheckMs);
    EXPECT_EQ(watchdog.NextCheckDelayMs(90000, 75400), HookWatchdog::SlowCheckMs);

    // GetLastInputInfo's 32-bit tick, taken shortly before a 64-bit now, across its wrap.
    EXPECT_EQ(WidenTick(0x1'0000'0100ull, 0xFFFF'FF00u), 0x0'FFFF'FF00ull);
    EXPECT_EQ(WidenTick(0x1'0000'0100ull, 0x0000'0080u), 0x1'0000'0080ull);
}
