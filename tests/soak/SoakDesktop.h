#pragma once
// The desktop a long run scrolls on: the driver's own window, and windows of their
// own processes under the names of an excluded game and of two browsers (the
// Chromium one switches between a page a site rule excludes and one it does not).
// Where the pointer goes, and what every window received.

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/TargetProcess.h"
#include "support/WheelTargetWindow.h"
#include "support/Win32TestFiles.h"

enum class Spot { Own, Chrome, Game, Firefox };
inline constexpr int SpotCount = 4;
const char* SpotName(Spot spot);

class NotchWatch;

// A wheel event as the system saw it: where, and with which keys down.
struct SeenNotch {
    POINT point;
    bool shift;
    bool modifier; // Ctrl, Alt or Win
    double atMs;   // QpcNowMs when the system gave it to the hooks
};

class SoakDesktop {
public:
    SoakDesktop();
    ~SoakDesktop();
    bool IsReady() const;

    // Moves the pointer as a mouse does (the hook sees the move) to a point inside the
    // spot's window, its middle or a random one, and brings that window forward. False
    // when the system does not have the pointer there a moment later.
    bool PointAt(Spot spot, std::mt19937* random = nullptr);
    // The hand moving on the mouse, to a random point over the spot's window; the focus
    // stays. With a key held, the injected move alone: under Wine, moving the X pointer
    // (as SetCursorPos does) takes the keyboard state from the X server, which knows
    // nothing of keys pressed with SendInput, so Shift would be let go. The X pointer
    // then lags behind until the next move without a key.
    void MoveOver(Spot spot, std::mt19937& random, bool keyHeld);
    // True when a notch over the spot must pass the program unchanged.
    bool IsExcluded(Spot spot) const;

    // From now on, how the system sees each notch (once the program's hook is in).
    void WatchNotches();
    // The notches (events without the program's marker) since the last ClearAll.
    std::vector<SeenNotch> NotchesSeen();
    // The spot whose window is at the point, or the class of the window that is.
    std::string SpotAt(POINT point);

    // What every window received since the last ClearAll, in order of arrival.
    std::vector<ReceivedWheel> ReceivedEverywhere();
    void ClearAll();
    // Until no window received anything for quietMs (or timeoutMs passed).
    void WaitUntilQuiet(int quietMs, int timeoutMs);
    // For the report of a failure: what each window received, where the pointer is and
    // over which window, the window in front, the modifier keys the system holds down.
    std::string Describe();

    // The Chromium window's title: a page of an excluded site or another page.
    void ShowExcludedSite(bool excluded);
    // The browser ends and starts again: another process, another window.
    void RestartBrowser();

private:
    struct Target {
        std::unique_ptr<TargetProcess> process;
        size_t recordsUsed = 0; // its report holds a fixed number of records
    };
    void Start(Spot spot);
    POINT PointIn(Spot spot, std::mt19937* random) const;
    Target& TargetAt(Spot spot) { return targets_[static_cast<int>(spot) - 1]; }

    TempFolder copies_;
    WheelTargetWindow own_;
    HWND ownWindow_ = nullptr;
    Target targets_[SpotCount - 1];
    bool chromeShowsExcludedSite_ = false;
    std::unique_ptr<NotchWatch> watch_;
};
