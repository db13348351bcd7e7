// The real program against a real window: wheel input injected with SendInput goes
// through the program's system-wide hook and arrives in the window as it would for
// a user. Runs under Wine here.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/Win32.h"

#include <tlhelp32.h>

#include "engine/AxisMotion.h"
#include "engine/WheelInjection.h"
#include "support/DesktopInput.h"
#include "support/ProgramUnderTest.h"
#include "support/WheelTargetWindow.h"
#include "support/WheelTotals.h"
#include "ui/tray/TrayModel.h"

namespace {

// What made earlier builds of the program drop their hook for the tests: a thread message
// of the hook thread, and a registered message to the settings window. The shipped program
// has no seams; both are sent to all of it.
void SendTheTestBuildsDropMessages(HANDLE program, HWND settingsWindow) {
    constexpr UINT OldDropMessage = WM_APP + 40;
    const DWORD processId = GetProcessId(program);
    const UniqueKernelHandle threads(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread = {};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(threads.get(), &thread); more; more = Thread32Next(threads.get(), &thread))
        if (thread.th32OwnerProcessID == processId) PostThreadMessageW(thread.th32ThreadID, OldDropMessage, 0, 0);
    PostMessageW(settingsWindow, RegisterWindowMessageW(L"Velvetglide.Seam.DropHook"), 0, 0);
    Sleep(200);
}

double MaxGapMs(const std::vector<ReceivedWheel>& events) {
    double gap = 0;
    for (size_t i = 1; i < events.size(); ++i) gap = std::max(gap, events[i].timeMs - events[i - 1].timeMs);
    return gap;
}

const wchar_t* const NoAcceleration =
    L"[Vertical]\r\nAccelEnabled=0\r\n[Horizontal]\r\nAccelEnabled=0\r\n";

class SmoothScrollingE2ETest : public ::testing::Test {
protected:
    // Starts the program and waits until its hook smooths a probe notch.
    void StartProgram(const std::wstring& config, const std::wstring& arguments = L"--minimized") {
        program = std::make_unique<ProgramUnderTest>(config);
        ASSERT_TRUE(program->Start(arguments));
        target.PlaceCursor();
    }
    void ExpectHookActive() {
        target.Clear();
        InjectWheel(120);
        const WheelTotals totals = Sum(target.WaitUntilQuiet());
        ASSERT_EQ(totals.vertical, 120);
        ASSERT_GT(totals.marked, 1) << "the probe notch was not smoothed: the hook is not active";
        target.Clear();
    }
    void TearDown() override {
        if (program) {
            EXPECT_EQ(program->ExitThroughTrayMenu(), 0);
        }
    }

    WheelTargetWindow target;
    std::unique_ptr<ProgramUnderTest> program;
};

} // namespace

// One start without acceleration: a notch (after the messages that made test builds drop
// their hook), Shift and the tilt wheel, quick notches and a reversal, an event of the
// program's own mark, and at last the exit from the tray menu, after which the wheel
// reaches the window as it was sent.
TEST_F(SmoothScrollingE2ETest, NotchesGlideBlendTurnAndGoSidewaysUntilTheExitReleasesTheWheel) {
    StartProgram(NoAcceleration);
    ExpectHookActive();
    SendTheTestBuildsDropMessages(program->Process(), program->FindSettingsWindow());

    // One notch arrives as a marked train of exactly its units.
    const double sent = QpcNowMs();
    InjectWheel(120);
    std::vector<ReceivedWheel> events = target.WaitUntilQuiet();
    WheelTotals totals = Sum(events);
    EXPECT_EQ(totals.vertical, 120);
    EXPECT_EQ(totals.unmarked, 0);
    ASSERT_GT(events.size(), 10u); // a train, not one event of 120
    const double duration = events.back().timeMs - events.front().timeMs;
    std::printf("one notch: %zu events over %.1f ms, first after %.2f ms\n", events.size(), duration,
                events.front().timeMs - sent);
    EXPECT_GT(duration, 200.0); // about the configured 280 ms
    EXPECT_LT(duration, 400.0);

    // Shift and the tilt wheel scroll sideways, smoothed as well.
    for (const bool shift : {true, false}) {
        SCOPED_TRACE(shift ? "Shift" : "tilt");
        target.Clear();
        if (shift) {
            PressKey(VK_SHIFT, true);
            Sleep(20);
        }
        InjectWheel(120, !shift);
        totals = Sum(target.WaitUntilQuiet());
        if (shift) PressKey(VK_SHIFT, false);
        EXPECT_EQ(totals.horizontal, shift ? -120 : 120);
        EXPECT_EQ(totals.vertical, 0);
        EXPECT_GT(totals.marked, 1);
    }

    // Quick notches blend into one glide; a reversal drops what the first had not emitted.
    target.Clear();
    InjectWheel(120);
    Sleep(100);
    InjectWheel(120);
    events = target.WaitUntilQuiet();
    EXPECT_EQ(Sum(events).vertical, 240);
    EXPECT_LT(MaxGapMs(events), 40.0) << "the glide paused between the notches";
    target.Clear();
    InjectWheel(120);
    Sleep(100);
    InjectWheel(-120);
    events = target.WaitUntilQuiet();
    int forward = 0, backward = 0;
    for (const ReceivedWheel& e : events) (e.delta > 0 ? forward : backward) += e.delta;
    EXPECT_EQ(backward, -120);
    EXPECT_GT(forward, 0);
    EXPECT_LT(forward, 120);

    // An event carrying the program's own mark passes unchanged.
    target.Clear();
    InjectWheel(120, false, WheelMarker);
    events = target.WaitUntilQuiet();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].delta, 120);

    const double asked = QpcNowMs();
    EXPECT_EQ(program->ExitThroughTrayMenu(3000), 0);
    std::printf("exit took %.0f ms\n", QpcNowMs() - asked);
    program.reset();
    target.Clear();
    InjectWheel(120);
    events = target.WaitUntilQuiet();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].delta, 120);
    EXPECT_EQ(events[0].extraInfo, 0u);
}

// With smoothing off in the file notches pass unchanged; turned on from the tray menu,
// Ctrl, Alt and Win pass the notch and stop the train. With the defaults a fast burst
// accelerates as its notch rate says, and a second start shows the first one's window.
TEST_F(SmoothScrollingE2ETest, OffPassesNotchesModifiersStopTheTrainAndABurstAccelerates) {
    StartProgram(L"[General]\r\nEnabled=0\r\n[Vertical]\r\nAccelEnabled=0\r\nDurationMs=800\r\n");
    target.Clear();
    InjectWheel(120);
    const std::vector<ReceivedWheel> passed = target.WaitUntilQuiet();
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].delta, 120);
    EXPECT_EQ(passed[0].extraInfo, 0u);
    SendMessageW(program->FindSettingsWindow(), WM_COMMAND, ID_TRAY_TOGGLE, 0);
    ExpectHookActive();
    for (WORD key : {VK_CONTROL, VK_MENU, VK_LWIN}) {
        SCOPED_TRACE(key);
        target.Clear();
        InjectWheel(120);
        Sleep(150); // the train is under way
        PressKey(key, true);
        Sleep(20);
        InjectWheel(120);
        Sleep(50);
        PressKey(key, false);
        const std::vector<ReceivedWheel> events = target.WaitUntilQuiet(200);
        const auto plain = std::find_if(events.begin(), events.end(),
                                        [](const ReceivedWheel& e) { return e.extraInfo != WheelMarker; });
        ASSERT_NE(plain, events.end());
        EXPECT_EQ(plain->delta, 120);
        EXPECT_EQ(Sum(events).unmarked, 1);
        // At most a step already on its way when the key went down arrives after it.
        EXPECT_LE(std::count_if(plain, events.end(), [](const ReceivedWheel& e) { return e.extraInfo == WheelMarker; }),
                  1);
        EXPECT_LT(Sum(events).vertical, 240); // the rest of the first train was dropped
    }
    ASSERT_EQ(program->ExitThroughTrayMenu(), 0);

    StartProgram(L"");
    ExpectHookActive();
    // Six notches 50 ms apart, paced by a high-resolution timer; the expected total
    // follows from the intervals actually achieved.
    InputPacer pacer;
    AxisState model(false);
    AxisSettings defaults;
    double expected = 0;
    const double first = QpcNowMs();
    for (int i = 0; i < 6; ++i) {
        pacer.WaitUntil(first + i * 50.0);
        const double now = QpcNowMs();
        InjectWheel(120);
        expected += AxisMotion::AddNotch(model, now, 1.0, defaults);
    }
    const int total = Sum(target.WaitUntilQuiet()).vertical;
    std::printf("burst of 6: %d units received, %.1f expected from the intervals sent, 1161 at exactly 50 ms\n", total,
                expected);
    EXPECT_NEAR(total, expected, expected * 0.02);
    EXPECT_GT(total, 6 * 120 * 1.5);

    const HWND window = program->FindSettingsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(program->RunSecondInstance(L""), 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(WaitForSingleObject(program->Process(), 0), static_cast<DWORD>(WAIT_TIMEOUT)); // the first one runs on
}
