#include <gtest/gtest.h>

#include <string>

#include "engine/WheelRouting.h"

namespace {

// Answers the hook's questions from fields and logs each question and action in order.
class RecordingContext : public WheelRoutingContext {
public:
    bool enabled = true, modifier = false, shift = false, excluded = false;
    std::string log;
    short queuedDelta = 0;
    bool queuedHorizontal = false;

    bool IsSmoothingEnabled() override { return log += "enabled ", enabled; }
    bool IsModifierDown() override { return log += "modifier ", modifier; }
    bool IsShiftDown() override { return log += "shift ", shift; }
    bool IsExcludedAtPoint(int32_t x, int32_t y) override {
        log += "excluded(" + std::to_string(x) + "," + std::to_string(y) + ") ";
        return excluded;
    }
    void CancelAll() override { log += "cancel "; }
    bool QueueWheel(short delta, bool horizontal, int32_t x, int32_t y) override {
        log += "queue(" + std::to_string(x) + "," + std::to_string(y) + ") ";
        queuedDelta = delta;
        queuedHorizontal = horizontal;
        return true;
    }
};

MouseEvent Wheel(short delta, bool horizontal = false, uintptr_t extra = 0) {
    MouseEvent event;
    event.message = horizontal ? HorizontalWheelMessage : WheelMessage;
    event.mouseData = static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16;
    event.extraInfo = extra;
    event.x = 640;
    event.y = -20; // a monitor left of or above the primary one
    return event;
}

} // namespace

TEST(WheelRoutingTest, DecisionOrder) {
    struct Case {
        const char* name;
        MouseEvent event;
        bool enabled, modifier, shift, excluded;
        bool swallowed;
        const char* log;
    };
    const Case cases[] = {
        {"other mouse messages are not looked at", {0x0200, 0, 0, 0, 0}, true, true, true, true, false, ""},
        {"own marked steps pass, whatever the state", Wheel(120, false, InjectedWheelMarker), false, true, true, true,
         false, ""},
        {"smoothing off passes untouched", Wheel(120), false, true, true, true, false, "enabled "},
        {"modifier cancels and passes", Wheel(120), true, true, true, true, false, "enabled modifier cancel "},
        {"excluded window passes, engine untouched", Wheel(120), true, false, true, true, false,
         "enabled modifier excluded(640,-20) "},
        {"plain notch is queued", Wheel(120), true, false, false, false, true,
         "enabled modifier excluded(640,-20) shift queue(640,-20) "},
        {"tilt ignores shift", Wheel(120, true), true, false, true, false, true,
         "enabled modifier excluded(640,-20) queue(640,-20) "},
        {"a marker-like value that is not the marker is an ordinary event", Wheel(120, false, 0x56474C45), true, false,
         false, false, true, "enabled modifier excluded(640,-20) shift queue(640,-20) "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingContext context;
        context.enabled = c.enabled;
        context.modifier = c.modifier;
        context.shift = c.shift;
        context.excluded = c.excluded;
        EXPECT_EQ(RouteMouseEvent(c.event, context), c.swallowed);
        EXPECT_EQ(context.log, c.log);
    }
}

TEST(WheelRoutingTest, DeltasAndAxes) {
    struct Case {
        MouseEvent event;
        bool shift;
        short delta;
        bool horizontal;
    };
    const Case cases[] = {
        {Wheel(120), false, 120, false},
        {Wheel(-240), false, -240, false},
        {Wheel(-120), true, 120, true},  // towards the user with Shift: to the right
        {Wheel(120), true, -120, true},
        {Wheel(-32768), true, -32768, true}, // 16-bit negation wraps as the platform's would
        {Wheel(60, true), true, 60, true},
        {Wheel(0), false, 0, false},     // swallowed; the engine ignores a zero delta
    };
    for (const Case& c : cases) {
        RecordingContext context;
        context.shift = c.shift;
        EXPECT_TRUE(RouteMouseEvent(c.event, context));
        EXPECT_EQ(context.queuedDelta, c.delta);
        EXPECT_EQ(context.queuedHorizontal, c.horizontal);
    }
}
