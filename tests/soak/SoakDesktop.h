#pragma once
// The desktop a long run scrolls on: the driver's own window, and windows of their
// own processes under the names of an excluded game and of two browsers (the
// Chromium one switches between a page a site rule excludes and one it does not).
// Where the pointer goes, and what every window received.

#include <memory>
#include <random>
#include <vector>

#include "e2e/TargetProcess.h"
#include "e2e/WheelTargetWindow.h"
#include "support/Win32TestFiles.h"

enum class Spot { Own, Chrome, Game, Firefox };
inline constexpr int SpotCount = 4;
const char* SpotName(Spot spot);

class SoakDesktop {
public:
    SoakDesktop();
    bool IsReady() const;

    // Moves the pointer as a mouse does (the hook sees the move) to a point inside the
    // spot's window, its middle or a random one, and brings that window forward.
    void PointAt(Spot spot, std::mt19937* random = nullptr);
    // The hand moving on the mouse while a key may be held: the injected move alone, no
    // change of focus. Under Wine, moving the X pointer (as SetCursorPos does) or the
    // focus takes the keyboard state from the X server, which knows nothing of keys
    // pressed with SendInput: Shift would be let go.
    void Nudge(Spot spot, std::mt19937& random);
    // True when a notch over the spot must pass the program unchanged.
    bool IsExcluded(Spot spot) const;

    // What every window received since the last ClearAll, in order of arrival.
    std::vector<ReceivedWheel> ReceivedEverywhere();
    void ClearAll();
    // Until no window received anything for quietMs (or timeoutMs passed).
    void WaitUntilQuiet(int quietMs, int timeoutMs);

    // The Chromium window's title: a page of an excluded site or another page.
    void ShowExcludedSite(bool excluded);
    // The browser ends and starts again: another process, another window.
    void RestartBrowser();
    int TargetStarts() const { return starts_; }

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
    Target targets_[SpotCount - 1];
    bool chromeShowsExcludedSite_ = false;
    int starts_ = 0;
};
