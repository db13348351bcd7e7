// The settings window and the tray icon of the real program, used the way a person
// uses them: clicks on the icon in Wine's system tray, the context menu driven with
// the keyboard, key strokes into the window. Runs under Wine here.

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

#include "platform/Win32.h"

#include <shellapi.h>

#include "platform/UniqueHandle.h"
#include "support/DesktopInput.h"
#include "support/ProgramUnderTest.h"
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

// Dialogs on the screen (message boxes, the file dialog) that `owner` owns.
std::vector<HWND> DialogsOf(HWND owner) {
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{owner, {}};
    EnumWindows(
        [](HWND window, LPARAM context) {
            auto& search = *reinterpret_cast<Search*>(context);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == search.owner && wcscmp(name, L"#32770") == 0)
                search.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// The system scale a program reads when it starts, set for as long as the guard lives.
class SystemDpiGuard {
public:
    explicit SystemDpiGuard(DWORD dpi) {
        hadValue_ = RegGetValueW(HKEY_CURRENT_USER, Key, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &saved_, &size_) ==
                    ERROR_SUCCESS;
        set_ = RegSetKeyValueW(HKEY_CURRENT_USER, Key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi) == ERROR_SUCCESS;
    }
    ~SystemDpiGuard() {
        if (hadValue_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, Key, L"LogPixels", REG_DWORD, &saved_, sizeof saved_);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, Key, L"LogPixels");
        }
    }
    SystemDpiGuard(const SystemDpiGuard&) = delete;
    SystemDpiGuard& operator=(const SystemDpiGuard&) = delete;
    bool Set() const { return set_; }

private:
    static constexpr wchar_t Key[] = L"Control Panel\\Desktop";
    DWORD saved_ = 0;
    DWORD size_ = sizeof saved_;
    bool hadValue_ = false;
    bool set_ = false;
};

// WM_DPICHANGED as Windows sends it when the window reaches a monitor of another scale
// (Wine never does): its rectangle, a pointer, is written into the program's memory first.
bool SendDpiChange(HWND window, unsigned dpi, const RECT& suggested) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueKernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return false;
    void* remote = VirtualAllocEx(process.get(), nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    const bool sent = WriteProcessMemory(process.get(), remote, &suggested, sizeof suggested, nullptr) &&
                      SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote)) == 0;
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return sent;
}

// Nine letters of the edit field's font, measured by the field itself.
int NineLettersWide(HWND edit) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"ШШШШШШШШШШ"));
    const LRESULT first = SendMessageW(edit, EM_POSFROMCHAR, 0, 0), last = SendMessageW(edit, EM_POSFROMCHAR, 9, 0);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    return static_cast<short>(LOWORD(last)) - static_cast<short>(LOWORD(first));
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

    // A (double) click on the icon; true once the window is shown in front. Wine's tray
    // window drops a click now and then, as it does right clicks (see OpenMenu): a second one.
    bool ShowByClickingIcon(bool twice = false) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            ClickCentreOf(WineSystemTray::FirstIcon(), MouseButton::Left, twice);
            if (WaitFor([this] { return ShownInFront(window); }, 2500)) return true;
        }
        return false;
    }
    // Right click on the icon; true once the menu is open and painted. The menu opens
    // under the pointer, which then leaves it so that no item is highlighted.
    bool OpenMenu() {
        // Wine's tray window now and then drops a click that comes while it repaints:
        // a second right click, as a person would give.
        const auto rightClick = [] {
            ClickCentreOf(WineSystemTray::FirstIcon(), MouseButton::Right);
            return WaitFor([] { return VisibleMenu() != nullptr; }, 2500);
        };
        if (!rightClick() && !rightClick()) {
            ADD_FAILURE() << "no menu after two right clicks on the icon";
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

// The program started minimized, used through its tray icon and its menu, then its
// window through the keyboard, and the dialogs it opens, one at a time.
TEST_F(SettingsWindowE2ETest, TrayIconAndMenuShowSwitchAndEndTheProgramWhosePagesAndDialogsFollowTheKeyboard) {
    StartProgram(L"--minimized");
    EXPECT_FALSE(IsWindowVisible(window));

    // A left click shows the window in front; its hide button puts it away again.
    EXPECT_TRUE(ShowByClickingIcon());
    ClickCentreOf(GetDlgItem(window, IDC_HIDE_TO_TRAY));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
    EXPECT_TRUE(Running());
    EXPECT_TRUE(IsTrayIconRegistered(window));

    // A double click restores it from the taskbar; a right click never shows it.
    ShowWindow(window, SW_SHOWMINIMIZED);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(window) != FALSE; }));
    EXPECT_TRUE(ShowByClickingIcon(true));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));

    // The menu's first command is checked while smoothing is on and flips it in the file at once.
    ASSERT_TRUE(OpenMenu());
    EXPECT_TRUE(WaitFor([&] { return FirstItemChecked(); }, 1000)); // the check mark may be painted a moment later
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
        Sleep(1200); // the first retry, 500 ms on, fails too (the next comes after 1 s more)
        EXPECT_EQ(EnabledInFile(), 0);
    }
    EXPECT_TRUE(WaitFor([&] { return EnabledInFile() == 1; }, 2000));

    // "Настройки..." shows the window, centred on the work area.
    ASSERT_TRUE(ChooseFromMenu(2));
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
    EXPECT_TRUE(ShowByClickingIcon());
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

    // One dialog at a time: the file dialog of "Обзор…" (on the page still shown) is open,
    // and "О программе..." from the tray menu brings it forward and opens nothing.
    const wchar_t aboutCaption[] = L"О программе Velvetglide";
    ASSERT_TRUE(WaitFor([&] { return Visible(GetDlgItem(window, IDC_APP_BROWSE)); }));
    PostMessageW(GetDlgItem(window, IDC_APP_BROWSE), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return DialogsOf(window).size() == 1; }, 10000)) << "no file dialog";
    const HWND browse = DialogsOf(window).front();
    ASSERT_TRUE(ChooseFromMenu(3));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == browse; }));
    Sleep(300);
    EXPECT_EQ(FindDialog(aboutCaption), nullptr);
    EXPECT_EQ(DialogsOf(window).size(), 1u);
    Keystroke(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return DialogsOf(window).empty(); })) << "Esc did not close the file dialog";

    // "О программе..." twice: one box, in front.
    ASSERT_TRUE(ChooseFromMenu(3));
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = FindDialog(aboutCaption)) != nullptr; }));
    ASSERT_TRUE(ChooseFromMenu(3));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    Sleep(300);
    EXPECT_EQ(DialogsOf(window), std::vector<HWND>{about});

    // "Выход" closes the box, ends the program with code 0 and takes the icon along.
    ASSERT_TRUE(ChooseFromMenu(4));
    ASSERT_EQ(WaitForSingleObject(program->Process(), 20000), WAIT_OBJECT_0) << "the program is still running";
    DWORD code = 1;
    GetExitCodeProcess(program->Process(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(WaitFor([] { return WineSystemTray::VisibleIconCount() == 0; }));
    EXPECT_EQ(EnabledInFile(), 1);
}

// At twice the scale on a 1280 x 1024 screen the window is taller than the work area:
// its caption stays on it. A change of scale (WM_DPICHANGED with the rectangle Windows
// suggests) resizes the client area, the list rows and the fields' font. (The window's
// new icons cannot be read from here: Wine answers WM_GETICON from another process with 0.)
// A setting changed just before the exit command is still saved.
TEST_F(SettingsWindowE2ETest, AtDoubleScaleTheCaptionStaysReachableAndScaleChangesRelayTheWindow) {
    if (!RunningUnderWine()) GTEST_SKIP() << "sets the system scale, which only Wine's private prefix may have changed";
    {
        SystemDpiGuard scale(192);
        ASSERT_TRUE(scale.Set());
        StartProgram(L"");
    }
    ASSERT_TRUE(WaitFor([&] { return ShownInFront(window); }));
    RECT frame = {}, client = {};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    std::printf("192 DPI: work area (%ld, %ld)-(%ld, %ld), window (%ld, %ld)-(%ld, %ld), client %ld x %ld\n", work.left,
                work.top, work.right, work.bottom, frame.left, frame.top, frame.right, frame.bottom, client.right,
                client.bottom);
    EXPECT_EQ(client.right, 1200);
    EXPECT_GE(frame.top, work.top);
    EXPECT_GE(frame.left, work.left);
    EXPECT_LE(frame.right, work.right);
    const POINT close = FindFramePart(window, HTCLOSE);
    EXPECT_TRUE(PtInRect(&work, close)) << "the close button at (" << close.x << ", " << close.y
                                        << ") is off the work area";

    const HWND list = GetDlgItem(window, IDC_APP_LIST);
    const int wideAt192 = NineLettersWide(GetDlgItem(window, IDC_APP_EDIT));
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 60);
    const LONG frameWidth = (frame.right - frame.left) - client.right;
    const LONG frameHeight = (frame.bottom - frame.top) - client.bottom;
    for (const unsigned dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        const RECT suggested = {200, 100, 200 + ScaleToDpi(ClientWidth, dpi) + frameWidth,
                                100 + ScaleToDpi(ClientHeight, dpi) + frameHeight};
        ASSERT_TRUE(SendDpiChange(window, dpi, suggested));
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        EXPECT_EQ(frame.left, 200);
        EXPECT_EQ(frame.top, 100);
        EXPECT_EQ(client.right, ScaleToDpi(ClientWidth, dpi));
        EXPECT_EQ(client.bottom, ScaleToDpi(ClientHeight, dpi));
        EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), ScaleToDpi(30, dpi));
        RECT place = {};
        GetWindowRect(list, &place);
        EXPECT_EQ(place.right - place.left, ScaleToDpi(552 - 48, dpi));
        const int wide = NineLettersWide(GetDlgItem(window, IDC_APP_EDIT));
        std::printf("%u DPI: nine letters of the fields' font are %d pixels wide (%d at 192 DPI)\n", dpi, wide,
                    wideAt192);
        EXPECT_NEAR(static_cast<double>(wide) / wideAt192, dpi / 192.0, 0.1);
    }

    // A slider step waits 500 ms for its save; the exit command queued right behind it
    // ends the program first, which still writes the new speed.
    const int speed = SpeedInFile();
    ASSERT_GT(speed, 0);
    PostMessageW(GetDlgItem(window, IDC_V_SPEED), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(program->ExitThroughTrayMenu(20000), 0);
    EXPECT_EQ(SpeedInFile(), speed + SliderRanges[SpeedRow].lineStep);
}
