#pragma once
// Notices that the system has dropped the mouse hook. Windows removes a low-level
// hook without notice when it does not answer in time (a stalled hook thread, a
// starved machine); smoothing would then be gone until the program restarts. The sign
// is mouse input that the hook did not see: the hook thread also receives the mice's
// raw input, which the system makes for the same events it gives the low-level hooks
// (a program that sets the cursor position makes neither, typing makes no mouse input),
// so raw input followed by a grace of silence from the hook means the hook is gone. The
// grace is counted from the input: another program's hook ahead of ours in the chain
// holds each event up for a moment, while the event's raw input is not held up.
//
// Nothing is checked while no input comes: the hook thread sleeps until a message
// arrives and sets itself a time to look again only while an input is unseen.

#include <cstdint>

class HookWatchdog {
public:
    static constexpr uint64_t GraceMs = 500;
    // An event's raw input and its hook call reach the hook thread a moment apart, either way round.
    static constexpr uint64_t SlackMs = 50;
    static constexpr uint32_t NoCheck = 0xFFFFFFFF; // sleep until a message comes (INFINITE)

    // The hook was (re)installed at nowMs: input until then is accounted for.
    void Installed(uint64_t nowMs) {
        installedMs_ = nowMs;
        unseenInputMs_ = 0;
    }

    // A mouse's raw input reached the hook thread at atMs; hookEventMs is when the hook
    // procedure was last called (0: never). Times are of one millisecond clock.
    void DeviceInput(uint64_t atMs, uint64_t hookEventMs) {
        if (unseenInputMs_ == 0 && !Seen(atMs, hookEventMs)) unseenInputMs_ = atMs;
    }

    // True when the hook has missed input and must be installed again.
    bool HookMissedInput(uint64_t nowMs, uint64_t hookEventMs);

    // How long the hook thread may sleep before the next check; NoCheck: until a message.
    uint32_t NextCheckDelayMs(uint64_t nowMs) const;

private:
    // The hook called after the input, or just before it, has seen it: it is alive.
    bool Seen(uint64_t inputMs, uint64_t hookEventMs) const {
        const uint64_t since = hookEventMs > installedMs_ ? hookEventMs : installedMs_;
        return since + SlackMs >= inputMs;
    }

    uint64_t installedMs_ = 0;
    uint64_t unseenInputMs_ = 0; // the first input of a stretch the hook has not seen; 0: none
};
