// The settings window's controls acting on the real program: driven from this
// process with the messages the controls themselves would get (trackbar positions
// with WM_HSCROLL, BM_CLICK, WM_SETTEXT and keys in the edit fields and lists), and
// judged by the configuration file, the Run value, the wheel trains a target window
// receives, and what the window and its dialogs show. Runs under Wine here.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/Win32.h"

#include <commctrl.h>

#include "VelvetglideVersion.h"
#include "engine/WheelInjection.h"
#include "support/DesktopInput.h"
#include "support/ProgramUnderTest.h"
#include "support/TargetProcess.h"
#include "support/WheelTotals.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/tray/TrayModel.h"

namespace {

constexpr wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring RunValue() {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, RunKey, L"Velvetglide", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return {};
    return data;
}

ULONGLONG LastWrite(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Pixels of a screen box within a few steps of a colour given as 0xRRGGBB.
int PixelsNear(const RECT& box, DWORD colour) {
    const std::vector<DWORD> pixels =
        ScreenPixels({box.left, box.top}, {box.right - box.left, box.bottom - box.top});
    int count = 0;
    for (const DWORD pixel : pixels) {
        bool close = true;
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((pixel >> shift) & 0xFF), b = static_cast<int>((colour >> shift) & 0xFF);
            close = close && a - b <= 10 && b - a <= 10;
        }
        count += close;
    }
    return count;
}

constexpr DWORD MutedText = 0x5F6878;

// The hint's line across the middle of a list, clear of the first rows an entry takes.
int HintPixels(const RECT& list) {
    const int middle = (list.top + list.bottom) / 2;
    return PixelsNear({list.left, middle - 12, list.right, middle + 12}, MutedText);
}

class SettingsControlsE2ETest : public ::testing::Test {
protected:
    void StartProgram(const std::wstring& config) {
        program = std::make_unique<ProgramUnderTest>(config);
        ASSERT_TRUE(program->Start(L""));
        window = program->FindSettingsWindow();
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; })) << "the window did not show";
        ASSERT_TRUE(WaitFor([] { return WineSystemTray::VisibleIconCount() == 1; })) << "no tray icon";
    }
    void TearDown() override {
        if (program) {
            EXPECT_EQ(program->ExitThroughTrayMenu(), 0);
        }
    }

    HWND Item(int id) const { return GetDlgItem(window, id); }
    std::wstring ConfigPath() const { return program->Folder() + L"\\config.ini"; }
    int IntInFile(const wchar_t* section, const wchar_t* key) const {
        return static_cast<int>(GetPrivateProfileIntW(section, key, -1, ConfigPath().c_str()));
    }
    std::wstring TextInFile(const wchar_t* section, const wchar_t* key) const {
        wchar_t text[512] = {};
        GetPrivateProfileStringW(section, key, L"", text, 512, ConfigPath().c_str());
        return text;
    }
    std::string FileBytes() const {
        std::ifstream file(std::filesystem::path(ConfigPath()), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void MoveSlider(int id, int position) {
        SendMessageW(Item(id), TBM_SETPOS, TRUE, position);
        SendMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(Item(id)));
    }
    // Types into an edit field and presses Enter there; true once the field is empty again.
    bool TypeAndEnter(int edit, const wchar_t* text) {
        SendMessageW(Item(edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        PostMessageW(Item(edit), WM_KEYDOWN, VK_RETURN, 0);
        return WaitFor([&] { return TextLength(edit) == 0; });
    }
    // Asked with a message: Wine answers GetWindowTextLengthW for another process's
    // window from the window's caption, which an edit field does not keep.
    int TextLength(int id) const { return static_cast<int>(SendMessageW(Item(id), WM_GETTEXTLENGTH, 0, 0)); }
    int Count(int list) const { return static_cast<int>(SendMessageW(Item(list), LB_GETCOUNT, 0, 0)); }
    int Selected(int list) const { return static_cast<int>(SendMessageW(Item(list), LB_GETCURSEL, 0, 0)); }
    // A click on the list's row, as a person selects an entry.
    void ClickRow(int list, int row) {
        RECT rect = {};
        GetWindowRect(Item(list), &rect);
        ClickAt({(rect.left + rect.right) / 2, rect.top + 30 * row + 15});
    }
    bool PressDelete(int list) {
        const int before = Count(list);
        PostMessageW(Item(list), WM_KEYDOWN, VK_DELETE, 0);
        return WaitFor([&] { return Count(list) == before - 1; });
    }
    void ShowPage(int page) {
        POINT tab = {82 + 108 * page, 99};
        ClientToScreen(window, &tab);
        ClickAt(tab);
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(Item(page == PagePrograms ? IDC_APP_LIST : IDC_SITE_LIST)) != FALSE; }));
    }
    // Starts a command that opens a message box; the box once it shows.
    HWND OpenDialog(HWND button, UINT message, WPARAM wParam, const wchar_t* caption) {
        PostMessageW(button, message, wParam, 0);
        HWND dialog = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (dialog = FindDialog(caption)) != nullptr; })) << "no box";
        return dialog;
    }
    bool Answer(HWND dialog, int button) {
        PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
        return WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    }

    std::unique_ptr<ProgramUnderTest> program;
    HWND window = nullptr;
};

} // namespace

// One start for every control: sliders and switches act on the scrolling, the file and
// the Run value; the lists add and remove entries; Reset asks first; About shows its text.
TEST_F(SettingsControlsE2ETest, SlidersSwitchesListsResetAndAboutActOnTheProgramAndTheFile) {
    TempFolder copies;
    TargetProcess target(copies.Path(), L"reader.exe", L"ReaderWindow", L"Reader", {960, 100, 280, 200});
    ASSERT_TRUE(target.IsReady());
    StartProgram(L"[General]\r\nEnabled=1\r\n[Vertical]\r\nSpeed=120\r\nAccelEnabled=1\r\n[Exclusions]\r\nCount=0\r\n"
                 L"[Sites]\r\nCount=1\r\nSite0=news.example\r\n");
    const auto notch = [&] { return Sum(target.NotchOver()); };
    ASSERT_EQ(notch().markedUnits, 120) << "the hook is not active";

    // Three steps of a drag, then a notch at once: the engine has the last speed before
    // anything is saved, and the file is written once, half a second after the last step.
    const ULONGLONG before = LastWrite(ConfigPath());
    MoveSlider(IDC_V_SPEED, 200);
    Sleep(100);
    MoveSlider(IDC_V_SPEED, 250);
    Sleep(100);
    MoveSlider(IDC_V_SPEED, 300);
    const double lastStep = QpcNowMs();
    target.PlaceCursor();
    target.Clear();
    InjectWheel(120);
    int writes = 0;
    double firstWriteMs = 0;
    for (ULONGLONG seen = before; QpcNowMs() - lastStep < 2000; Sleep(5)) {
        const ULONGLONG now = LastWrite(ConfigPath());
        if (now == seen) continue;
        if (++writes == 1) firstWriteMs = QpcNowMs() - lastStep;
        seen = now;
    }
    WaitUntilAllQuiet(150, 5000, target);
    EXPECT_EQ(Sum(target.Received()).markedUnits, 300);
    EXPECT_EQ(writes, 1);
    EXPECT_GE(firstWriteMs, 450.0);
    std::printf("slider saved %.0f ms after its last step\n", firstWriteMs);
    EXPECT_EQ(IntInFile(L"Vertical", L"Speed"), 300);
    EXPECT_EQ(IntInFile(L"Horizontal", L"Speed"), 120);

    // The master switch: off lets notches through unchanged and is saved at once.
    Click(IDC_ENABLE_TOGGLE);
    EXPECT_EQ(IntInFile(L"General", L"Enabled"), 0);
    EXPECT_EQ(notch().unmarkedUnits, 120);
    Click(IDC_ENABLE_TOGGLE);
    EXPECT_EQ(IntInFile(L"General", L"Enabled"), 1);
    EXPECT_EQ(notch().markedUnits, 300);

    // Vertical acceleration off greys only the vertical strength slider.
    Click(IDC_V_ACCEL_TOGGLE);
    EXPECT_EQ(IntInFile(L"Vertical", L"AccelEnabled"), 0);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_V_ACCEL_STRENGTH)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_H_ACCEL_STRENGTH)));
    EXPECT_EQ(IntInFile(L"Horizontal", L"AccelEnabled"), 1);
    Click(IDC_V_ACCEL_TOGGLE);
    EXPECT_EQ(IntInFile(L"Vertical", L"AccelEnabled"), 1);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_V_ACCEL_STRENGTH)));

    // Start with Windows follows the registry both ways (the guard restores the user's value).
    const bool wasOn = !RunValue().empty();
    Click(IDC_AUTOSTART_TOGGLE);
    EXPECT_EQ(RunValue().empty(), wasOn);
    if (!wasOn) {
        EXPECT_NE(RunValue().find(program->Folder()), std::wstring::npos) << "the Run value names another exe";
    }
    Click(IDC_AUTOSTART_TOGGLE);
    EXPECT_EQ(RunValue().empty(), !wasOn);

    // The lists: the empty one shows a hint.
    ShowPage(PagePrograms);
    RECT list = {};
    GetWindowRect(Item(IDC_APP_LIST), &list);
    ASSERT_EQ(Count(IDC_APP_LIST), 0);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_APP_REMOVE)));
    EXPECT_TRUE(WaitFor([&] { return HintPixels(list) > 10; })) << "the empty list shows no hint";

    // A name without a dot gets ".exe"; the same name in other letters adds nothing;
    // the field is emptied either way. The Add button does what Enter does.
    ASSERT_TRUE(TypeAndEnter(IDC_APP_EDIT, L"Blender"));
    EXPECT_EQ(TextInFile(L"Exclusions", L"App0"), L"Blender.exe");
    ASSERT_TRUE(TypeAndEnter(IDC_APP_EDIT, L"BLENDER"));
    EXPECT_EQ(IntInFile(L"Exclusions", L"Count"), 1);
    SendMessageW(Item(IDC_APP_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\Games\\Tools\\cad.exe"));
    Click(IDC_APP_ADD);
    EXPECT_EQ(TextLength(IDC_APP_EDIT), 0);
    ASSERT_TRUE(TypeAndEnter(IDC_APP_EDIT, L"game"));
    ASSERT_EQ(Count(IDC_APP_LIST), 3);
    EXPECT_EQ(TextInFile(L"Exclusions", L"App1"), L"cad.exe");
    EXPECT_TRUE(WaitFor([&] { return HintPixels(list) == 0; })) << "the hint stays over a filled list";

    // Delete removes the selected entry and the selection walks down; the last one leaves the hint.
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_APP_REMOVE)));
    ClickRow(IDC_APP_LIST, 1);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(Item(IDC_APP_REMOVE)) != FALSE; }));
    ASSERT_TRUE(PressDelete(IDC_APP_LIST));
    EXPECT_EQ(Selected(IDC_APP_LIST), 1);
    EXPECT_EQ(TextInFile(L"Exclusions", L"App1"), L"game.exe");
    ASSERT_TRUE(PressDelete(IDC_APP_LIST));
    EXPECT_EQ(Selected(IDC_APP_LIST), 0);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_APP_REMOVE)));
    Click(IDC_APP_REMOVE);
    EXPECT_EQ(Count(IDC_APP_LIST), 0);
    EXPECT_EQ(IntInFile(L"Exclusions", L"Count"), 0);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_APP_REMOVE)));
    EXPECT_TRUE(WaitFor([&] { return HintPixels(list) > 10; })) << "the emptied list shows no hint";

    // Reset asks first: "no" leaves the file as it is, "yes" brings back the defaults,
    // saves them, and smoothing is on again in the switch and in the tray's tooltip.
    Click(IDC_ENABLE_TOGGLE);
    const std::wstring offTip = WineSystemTray::TooltipText();
    EXPECT_EQ(offTip, L"Velvetglide (Отключено)");
    ASSERT_TRUE(TypeAndEnter(IDC_APP_EDIT, L"game"));
    const std::string beforeReset = FileBytes();
    HWND question = OpenDialog(Item(IDC_RESET), BM_CLICK, 0, L"Сброс настроек");
    ASSERT_TRUE(question);
    EXPECT_EQ(DialogMessage(question), L"Сбросить все настройки, списки программ и сайтов к стандартным?");
    ASSERT_TRUE(Answer(question, IDNO));
    Sleep(200);
    EXPECT_EQ(FileBytes(), beforeReset);
    EXPECT_EQ(Count(IDC_APP_LIST), 1);
    question = OpenDialog(Item(IDC_RESET), BM_CLICK, 0, L"Сброс настроек");
    ASSERT_TRUE(question);
    ASSERT_TRUE(Answer(question, IDYES));
    EXPECT_TRUE(WaitFor([&] { return IntInFile(L"General", L"Enabled") == 1; }));
    EXPECT_NE(TextInFile(L"Exclusions", L"App0"), L"game.exe");
    EXPECT_EQ(TextInFile(L"Sites", L"Site0"), L"");
    // The file is written before the tooltip is updated, a call to the shell during which the
    // program answers this process's messages: the list is refilled only after that.
    EXPECT_TRUE(WaitFor([&] { return Count(IDC_APP_LIST) == IntInFile(L"Exclusions", L"Count"); }))
        << Count(IDC_APP_LIST) << " entries shown";
    EXPECT_EQ(WineSystemTray::TooltipText(offTip), L"Velvetglide - Включено");

    // The About box, from the tray menu's command.
    const HWND about = OpenDialog(window, WM_COMMAND, ID_TRAY_ABOUT, L"О программе Velvetglide");
    ASSERT_TRUE(about);
    EXPECT_EQ(DialogMessage(about),
              L"Velvetglide v" VG_VERSION_WIDE L"\n\nПлавная прокрутка колесом мыши во всех программах Windows 10/11.\n\n"
              L"• Кадры анимации с частотой монитора 144 / 180 / 240 / 360 Гц\n"
              L"• Таймер высокой точности вместо Sleep()\n"
              L"• Мягкий старт, скорость не сбрасывается между щелчками\n"
              L"• Горизонтальная прокрутка (Shift + колесо)\n"
              L"• Ctrl + колесо (масштаб) работает как обычно\n"
              L"• Исключения для программ и сайтов");
    EXPECT_TRUE(Answer(about, IDOK));
}
