#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/HookWatchdog.h"

namespace {

struct Replayed {
    std::vector<uint64_t> reinstalls; // when the hook was installed again
    bool idle = false;                // nothing left to check at the end: the thread sleeps
};

// What reached the hook thread, recorded under Wine (milliseconds of one clock), replayed
// the way the thread's loop handles it: "r" a mouse's raw input, "h" a call of the hook
// procedure (none while the hook is dropped), "x" the system drops the hook. Between
// messages the thread wakes only for the check the watchdog asks for.
Replayed Replay(const std::string& trace, uint64_t untilMs) {
    Replayed result;
    HookWatchdog watchdog;
    uint64_t now = 1000, lastHookMs = 0;
    bool dropped = false;
    watchdog.Installed(now);
    auto check = [&] {
        if (!watchdog.HookMissedInput(now, lastHookMs)) return;
        result.reinstalls.push_back(now);
        dropped = false;
        watchdog.Installed(now);
    };
    auto sleepUntil = [&](uint64_t ms) {
        for (uint32_t delay; (delay = watchdog.NextCheckDelayMs(now)) != HookWatchdog::NoCheck && now + delay <= ms;) {
            now += delay;
            check();
        }
        now = ms;
    };
    for (size_t at = 0; at < trace.size();) {
        const char kind = trace[at];
        char* end = nullptr;
        const uint64_t ms = std::strtoull(trace.c_str() + at + 1, &end, 10);
        at = static_cast<size_t>(end - trace.c_str()) + 1;
        sleepUntil(ms);
        if (kind == 'x') dropped = true;
        if (kind == 'h' && !dropped) lastHookMs = ms;
        if (kind == 'r') watchdog.DeviceInput(ms, lastHookMs);
        check();
    }
    sleepUntil(untilMs);
    result.idle = watchdog.NextCheckDelayMs(now) == HookWatchdog::NoCheck;
    return result;
}

using Times = std::vector<uint64_t>;

// Another program warps the cursor every 8 ms while a key is typed every 100 ms: Wine
// echoes the warps to the hooks together with their raw input, Windows reports them to
// neither; keys make no mouse input at all.
const std::string WarpsWhileTyping =
    "h2218 r2218 h2226 r2227 h2235 r2235 h2244 r2244 h2253 r2253 h2261 r2262 h2270 r2270 h2279 r2279 "
    "h2288 r2288 h2296 r2297 h2307 r2307 h2319 r2320 h2328 r2329 h2337 r2345 h2350 r2351 h2354 r2355 "
    "h2366 r2378 h2379 r2380 h2380 r2386 h2390 r2391 h2402 r2403 h2414 r2415 h2415 r2416 h2430 r2442";

// The pointer moved by hand (X's own input), about every 60 ms.
const std::string Moving =
    "h1626 r1626 h1689 r1690 h1785 r1786 h1861 r1862 h1937 r1938 h2008 r2008 h2076 r2076 h2138 r2139 "
    "h2209 r2209 h2250 r2250 h2307 r2307 h2361 r2362 h2436 r2437 h2502 r2503 h2562 r2563 h2620 r2620 "
    "h2677 r2678 h2735 r2749 h2805 r2806 h2878 r2878 h2939 r2939 h3011 r3011 h3088 r3088 h3173 r3173 "
    "h3233 r3234 h3329 r3330 h3374 r3374 h3441 r3441 h3500 r3501 h3557 r3557 h3622 r3623 h3679 r3681";

// Moves after pauses, each first one held up 300 ms by another program's hook ahead of ours.
const std::string HeldUpAfterPauses = "r3863 h4167 r4168 h4168 r5510 h5811 r5812 h5812 r7158 h7458";

} // namespace

TEST(HookWatchdogTest, OnlyMouseInputTheHookMissedReinstallsIt) {
    const Replayed warps = Replay(WarpsWhileTyping, 20000);
    EXPECT_EQ(warps.reinstalls, Times{});
    EXPECT_TRUE(warps.idle);
    EXPECT_EQ(Replay("", 20000).reinstalls, Times{}); // the same on Windows: nothing reaches the thread

    EXPECT_EQ(Replay(Moving, 20000).reinstalls, Times{});
    // Dropped while the pointer moves: back a grace after the next move, once; the new
    // hook sees the moves that follow.
    const Replayed drop = Replay(Moving.substr(0, Moving.find("h3011")) + "x2990 " + Moving.substr(Moving.find("h3011")), 20000);
    EXPECT_EQ(drop.reinstalls, Times{3011 + HookWatchdog::GraceMs});
    EXPECT_TRUE(drop.idle);
    // A hook that stays deaf after it was installed again is installed again a grace later.
    EXPECT_EQ(Replay("h7458 x7500 r12230 r12545 r12860 r13173", 20000).reinstalls, (Times{12730, 13360}));

    const Replayed heldUp = Replay(HeldUpAfterPauses, 20000);
    EXPECT_EQ(heldUp.reinstalls, Times{});
    EXPECT_TRUE(heldUp.idle);
}
