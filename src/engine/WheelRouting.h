#pragma once
// The hook's decision for one mouse event, in its fixed order, apart from the hook
// itself so every rule can be tested without a system hook. The questions are asked
// lazily and in order: the settings lock and the exclusion lookup are only taken for
// wheel events that get that far.

#include <cstdint>

inline constexpr uint32_t WheelMessage = 0x020A;           // WM_MOUSEWHEEL
inline constexpr uint32_t HorizontalWheelMessage = 0x020E; // WM_MOUSEHWHEEL
inline constexpr uintptr_t InjectedWheelMarker = 0x56474C44;

struct MouseEvent {
    uint32_t message = 0;
    uint32_t mouseData = 0; // high word: the signed wheel delta
    uintptr_t extraInfo = 0;
    int32_t x = 0, y = 0;   // screen point
};

class WheelRoutingContext {
public:
    virtual ~WheelRoutingContext() = default;
    virtual bool IsSmoothingEnabled() = 0;
    virtual bool IsModifierDown() = 0; // Ctrl, Alt, Win
    virtual bool IsShiftDown() = 0;
    virtual bool IsExcludedAtPoint(int32_t x, int32_t y) = 0;
    virtual void CancelAll() = 0;
    // True when the engine took the notch; false: it is passed on (smoothing switched
    // off since IsSmoothingEnabled, or the engine stopped).
    virtual bool QueueWheel(short delta, bool horizontal, int32_t x, int32_t y) = 0;
};

// True when the event is swallowed (taken by the engine); false: pass it on. Only a
// notch the engine took is swallowed.
bool RouteMouseEvent(const MouseEvent& event, WheelRoutingContext& context);
