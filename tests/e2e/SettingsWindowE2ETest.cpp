// The settings window and the tray icon of the real program, used the way a person
// uses them: clicks on the icon in Wine's system tray, the context menu driven with
// the keyboard, key strokes into the window. Runs under Wine here.

#include <gtest/gtest.h>

#include <memory>

#include "platform/Win32.h"

#include <shellapi.h>

#include "e2e/DesktopInput.h"
#include "e2e/ProgramUnderTest.h"
#include "platform/UniqueHandle.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/SliderValues.h"

namespace {

bool Visible(HWND window) { return window && IsWindowVisible(window); }

// The page whose controls are all shown while every other page's controls are hidden; -1 if none.
int ShownPage(HWND window) {
    for (int page = 0; page < PageCount; ++page) {
        bool matches = true;
        for (const ControlSpec& control : SettingsControls()) {
            if (control.page != AllPages && Visible(GetDlgItem(window, control.id)) != (control.page == page))
                matches = false;
        }
        if (matches) return page;
    }
    return -1;
}

bool ShownInFront(HWND window) {
    return Visible(window) && !IsIconic(window) && GetForegroundWindow() == window;
}

class SettingsWindowE2ETest : public ::testing::Test {
protected:
    void StartProgram(const std::wstring& arguments) {
        program = std::make_unique<ProgramUnderTest>(L"[General]\r\nEnabled=1\r\n");
        ASSERT_TRUE(program->Start(arguments));
        window = program->FindSettingsWindow();
        ASSERT_TRUE(WaitFor([&] { return IsTrayIconRegistered(window); })) << "no tray icon";
        ASSERT_TRUE(WaitFor([] { return WineSystemTray::VisibleIconCount() == 1; })) << "not in Wine's tray";
    }
    int ValueInFile(const wchar_t* section, const wchar_t* key) const {
        return static_cast<int>(GetPrivateProfileIntW(section, key, -1, (program->Folder() + L"\\config.ini").c_str()));
    }
    int EnabledInFile() const { return ValueInFile(L"General", L"Enabled"); }
    int SpeedInFile() const { return ValueInFile(L"Vertical", L"Speed"); }
    bool Running() const { return WaitForSingleObject(program->Process(), 0) == WAIT_TIMEOUT; }

    // Right click on the icon; true once the menu is open and painted. The menu opens
    // under the pointer, which then leaves it so that no item is highlighted.
    bool OpenMenu() {
        ClickCentreOf(WineSystemTray::FirstIcon(), MouseButton::Right);
        if (!WaitFor([] { return VisibleMenu() != nullptr; })) {
            ADD_FAILURE() << "no menu after a right click on the icon";
            return false;
        }
        GetWindowRect(VisibleMenu(), &menu);
        MovePointer({GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) - 10});
        if (!WaitFor([this] { return MenuOnScreen(); })) {
            ADD_FAILURE() << "the menu at (" << menu.left << ", " << menu.top << ") is not painted";
            return false;
        }
        shownMenuText = ScreenPixels({menu.left + 24, menu.top + 3}, {18, 16});
        return true;
    }
    // Until the screen no longer shows the menu, the next one could be judged by the old one's pixels.
    bool CloseMenu(WORD key) {
        Keystroke(key);
        return WaitFor([this] {
            return VisibleMenu() == nullptr && ScreenPixels({menu.left + 24, menu.top + 3}, {18, 16}) != shownMenuText;
        });
    }
    // Picks the menu's n-th command (1-4; the keyboard skips the separators).
    bool ChooseFromMenu(int command) {
        if (!OpenMenu()) return false;
        for (int i = 0; i < command; ++i) Keystroke(VK_DOWN);
        return CloseMenu(VK_RETURN);
    }
    // Boxes of the menu's first row against the check-mark column of its last row, which
    // is never checked: the first item's text shows the menu is painted, its check
    // column shows the check mark.
    int AgainstLastCheckColumn(int x) const {
        const SIZE box = {18, 16};
        return DifferingPixels({menu.left + x, menu.top + 3}, {menu.left + 2, menu.bottom - box.cy - 3}, box);
    }
    bool MenuOnScreen() const { return AgainstLastCheckColumn(24) > 10; }
    bool FirstItemChecked() const { return AgainstLastCheckColumn(2) > 10; }

    RECT menu = {};
    std::vector<DWORD> shownMenuText;
    std::unique_ptr<ProgramUnderTest> program;
    HWND window = nullptr;
};

} // namespace

TEST_F(SettingsWindowE2ETest, TrayIconOpensTheWindowAndItsMenuSwitchesShowsAndEnds) {
    StartProgram(L"--minimized");
    EXPECT_FALSE(IsWindowVisible(window));

    // A left click shows the window in front; its hide button puts it away again.
    ClickCentreOf(WineSystemTray::FirstIcon());
    EXPECT_TRUE(WaitFor([&] { return ShownInFront(window); }));
    ClickCentreOf(GetDlgItem(window, IDC_HIDE_TO_TRAY));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
    EXPECT_TRUE(Running());
    EXPECT_TRUE(IsTrayIconRegistered(window));

    // A double click restores it from the taskbar; a right click never shows it.
    ShowWindow(window, SW_SHOWMINIMIZED);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(window) != FALSE; }));
    ClickCentreOf(WineSystemTray::FirstIcon(), MouseButton::Left, true);
    EXPECT_TRUE(WaitFor([&] { return ShownInFront(window); }));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));

    // The menu's first command is checked while smoothing is on and flips it in the file at once.
    ASSERT_TRUE(OpenMenu());
    EXPECT_TRUE(FirstItemChecked());
    ASSERT_TRUE(CloseMenu(VK_ESCAPE));
    EXPECT_FALSE(IsWindowVisible(window));
    ASSERT_TRUE(ChooseFromMenu(1));
    EXPECT_TRUE(WaitFor([&] { return EnabledInFile() == 0; }));
    ASSERT_TRUE(OpenMenu());
    EXPECT_FALSE(FirstItemChecked());
    ASSERT_TRUE(CloseMenu(VK_ESCAPE));
    // Another program reading the file holds it open: that save fails and is retried
    // until it gets through, without any further command.
    {
        const std::wstring file = program->Folder() + L"\\config.ini";
        UniqueFileHandle reader(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(reader);
        ASSERT_TRUE(ChooseFromMenu(1));
        Sleep(1200); // two retries come and go
        EXPECT_EQ(EnabledInFile(), 0);
    }
    EXPECT_TRUE(WaitFor([&] { return EnabledInFile() == 1; }, 2000));

    // "Настройки..." shows the window; "Выход" ends the program and takes the icon along.
    ASSERT_TRUE(ChooseFromMenu(2));
    EXPECT_TRUE(WaitFor([&] { return ShownInFront(window); }));
    ASSERT_TRUE(ChooseFromMenu(4));
    EXPECT_EQ(WaitForSingleObject(program->Process(), 5000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(program->Process(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitFor([] { return WineSystemTray::VisibleIconCount() == 0; }));
    EXPECT_EQ(EnabledInFile(), 1);
}

TEST_F(SettingsWindowE2ETest, WindowIsCentredPagesFollowTheKeyboardAndHidingKeepsThePage) {
    StartProgram(L"");
    ASSERT_TRUE(WaitFor([&] { return ShownInFront(window); }));

    RECT client = {}, frame = {};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    EXPECT_EQ(client.right, 600);
    EXPECT_EQ(client.bottom, 604);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    EXPECT_EQ(frame.left, work.left + (work.right - work.left - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, work.top + (work.bottom - work.top - (frame.bottom - frame.top)) / 2);

    // Ctrl+Tab walks round the five pages both ways; other pages' controls are hidden.
    EXPECT_EQ(ShownPage(window), PageVertical);
    Keystroke(VK_TAB, true, true);
    EXPECT_TRUE(WaitFor([&] { return ShownPage(window) == PageGeneral; }));
    Keystroke(VK_TAB, true);
    EXPECT_TRUE(WaitFor([&] { return ShownPage(window) == PageVertical; }));
    Keystroke(VK_TAB, true);
    Keystroke(VK_TAB, true);
    ASSERT_TRUE(WaitFor([&] { return ShownPage(window) == PagePrograms; }));

    // Esc and the close button hide the window; the program and its icon stay, and
    // each showing returns to the page that was open.
    Keystroke(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
    EXPECT_TRUE(Running());
    EXPECT_TRUE(IsTrayIconRegistered(window));
    ClickCentreOf(WineSystemTray::FirstIcon());
    EXPECT_TRUE(WaitFor([&] { return ShownInFront(window); }));
    EXPECT_EQ(ShownPage(window), PagePrograms);
    const POINT closeButton = FindFramePart(window, HTCLOSE);
    ASSERT_NE(closeButton.x, -1) << "no close button in the caption";
    ClickAt(closeButton);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
    EXPECT_TRUE(Running());
    EXPECT_EQ(program->RunSecondInstance(L""), 0); // shows the first one's window
    EXPECT_TRUE(WaitFor([&] { return ShownInFront(window); }));
    EXPECT_EQ(ShownPage(window), PagePrograms);

    // When the shell loses the icon, "TaskbarCreated" brings it back.
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    ASSERT_TRUE(WaitFor([] { return WineSystemTray::VisibleIconCount() == 0; }));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return IsTrayIconRegistered(window); }));
    EXPECT_TRUE(WaitFor([] { return WineSystemTray::VisibleIconCount() == 1; }));

    // A slider step waits 500 ms for its save; the exit command queued right behind
    // it ends the program first, which still writes the new speed.
    const int speed = SpeedInFile();
    ASSERT_GT(speed, 0);
    PostMessageW(GetDlgItem(window, IDC_V_SPEED), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(program->ExitThroughTrayMenu(20000), 0);
    EXPECT_EQ(SpeedInFile(), speed + SliderRanges[SpeedRow].lineStep);
    EXPECT_TRUE(WaitFor([] { return WineSystemTray::VisibleIconCount() == 0; }));
}
