#include "engine/WheelRouting.h"

bool RouteMouseEvent(const MouseEvent& event, WheelRoutingContext& context) {
    if (event.message != WheelMessage && event.message != HorizontalWheelMessage) return false;
    // The program's own steps pass always, even with smoothing off or a modifier held.
    if (event.extraInfo == InjectedWheelMarker) return false;
    if (!context.IsSmoothingEnabled()) return false;
    if (context.IsModifierDown()) {
        // Zoom and friends get the plain notch, and no earlier glide trails after it.
        context.CancelAll();
        return false;
    }
    if (context.IsExcludedAtPoint(event.x, event.y)) return false;

    short delta = static_cast<short>(event.mouseData >> 16);
    bool horizontal = event.message == HorizontalWheelMessage;
    if (!horizontal && context.IsShiftDown()) {
        // Shift+wheel scrolls sideways; turning towards the user scrolls right.
        delta = static_cast<short>(-delta);
        horizontal = true;
    }
    return context.QueueWheel(delta, horizontal, event.x, event.y);
}
