#pragma once
// Notices that the system has dropped the mouse hook. Windows removes a low-level
// hook without notice when it does not answer in time (a stalled hook thread, a
// starved machine); smoothing would then be gone until the program restarts. The
// sign is input that the system saw and the hook did not: the system's last input
// moved on past the hook's last event while the cursor is no longer where the hook
// last saw it (typing alone moves the system's clock, not the cursor), and the hook
// still has not seen it a grace later. The grace is counted from the input, not from
// the hook's last event: another program's hook ahead of ours in the chain holds each
// event up for a moment, and an event that ends a pause is held up like any other.
//
// Checks run on the hook thread: every quarter second for a few seconds after the
// hook's last event (a drop happens while input flows) and while input is unseen,
// otherwise twice a minute.

#include <cstdint>

struct WatchdogObservation {
    uint64_t nowMs = 0;
    uint64_t hookEventMs = 0;        // tick of the last event the hook saw; 0: none yet
    uint64_t systemInputMs = 0;      // tick of the last input the system saw
    bool cursorAwayFromHook = false; // the cursor is not where the hook last saw it
};

class HookWatchdog {
public:
    static constexpr uint64_t GraceMs = 500;
    // The system's input time and the hook's own tick may be read from clocks a little apart.
    static constexpr uint64_t ClockSlackMs = 50;
    static constexpr uint32_t FastCheckMs = 250;
    static constexpr uint64_t FastWindowMs = 3000;
    static constexpr uint32_t SlowCheckMs = 30000;

    // The hook was (re)installed at nowMs: input until then is accounted for.
    void Installed(uint64_t nowMs) {
        installedMs_ = nowMs;
        unseenInputMs_ = 0;
    }

    // True when the hook has missed input and must be installed again.
    bool HookMissedInput(const WatchdogObservation& seen);

    // How long the hook thread may sleep before the next check.
    uint32_t NextCheckDelayMs(uint64_t nowMs, uint64_t hookEventMs) const;

private:
    uint64_t Since(uint64_t hookEventMs) const { return hookEventMs > installedMs_ ? hookEventMs : installedMs_; }

    uint64_t installedMs_ = 0;
    uint64_t unseenInputMs_ = 0; // the system's first input the hook has not seen yet; 0: none
};

// The 64-bit tick of a 32-bit tick taken at most 49 days before nowMs (GetLastInputInfo's clock).
constexpr uint64_t WidenTick(uint64_t nowMs, uint32_t tick) {
    return nowMs - static_cast<uint32_t>(static_cast<uint32_t>(nowMs) - tick);
}
