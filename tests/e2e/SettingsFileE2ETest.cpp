// The user's configuration file through the real program: held by another program
// across the start, damaged or hand-edited, and a save that fails at exit. Nothing the
// user set may be lost in any of them.

#include <gtest/gtest.h>

#include <random>

#include "settings/ConfigStore.h"
#include "settings/SettingsFile.h"
#include "settings/Win32ConfigFile.h"
#include "support/DesktopInput.h"
#include "support/ProgramUnderTest.h"
#include "support/WheelTargetWindow.h"
#include "support/WheelTotals.h"
#include "ui/settings/SettingsCommands.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    return WriteBytesAtomically(path, std::string(bytes.begin(), bytes.end()));
}

// Units one notch gives, from a notch sent after any glide has ended.
int NotchUnits(WheelTargetWindow& target) {
    target.Clear();
    InjectWheel(120);
    return Sum(target.WaitUntilQuiet()).vertical;
}

// What the program's own file for the values in it would be, byte for byte.
bool IsProgramsOwnForm(const std::wstring& path) {
    Win32ConfigFile files;
    Settings values;
    values.ExcludedApps = DefaultExcludedApps();
    ReadSettingsFile(files, path, values);
    return ReadFileBytes(path) == BomAndText(SerializeSettings(values));
}

void Toggle(HWND window, int id) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// The user's own settings: a speed, no acceleration (so a notch gives exactly the speed),
// and a program of their own among the exclusions.
Settings UsersSettings() {
    Settings users;
    users.Vertical.Speed = 300;
    users.Vertical.AccelEnabled = false;
    users.ExcludedApps = {L"mygame.exe", L"blender.exe"};
    return users;
}

} // namespace

// The file held open without sharing for 4 s across the start, as a scanner or a backup
// does at logon: the program runs on defaults meanwhile, writes nothing, keeps a change
// the user makes, and once the file is free glides at the user's speed; at exit the file
// holds the user's values with that change.
TEST(SettingsFileE2ETest, AFileHeldAcrossTheStartKeepsTheUsersValuesAndTheChangeMadeMeanwhile) {
    WheelTargetWindow target;
    const Settings users = UsersSettings();
    ProgramUnderTest program(SerializeSettings(users));
    const std::wstring path = program.Folder() + L"\\config.ini";
    const std::vector<unsigned char> original = ReadFileBytes(path);
    UniqueFileHandle holder(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    const ULONGLONG held = GetTickCount64();
    ASSERT_TRUE(program.Start());
    target.PlaceCursor();

    EXPECT_EQ(NotchUnits(target), 120); // the defaults while the file cannot be read
    Toggle(program.FindSettingsWindow(), IDC_H_ACCEL_TOGGLE); // the user's change meanwhile
    while (GetTickCount64() - held < 4000) Sleep(50);
    holder.reset();
    EXPECT_EQ(ReadFileBytes(path), original) << "the held file was written over";

    const ULONGLONG released = GetTickCount64();
    int units = 0;
    while ((units = NotchUnits(target)) != users.Vertical.Speed && GetTickCount64() - released < 40000) Sleep(300);
    EXPECT_EQ(units, users.Vertical.Speed) << "the file's values never came in";
    std::printf("the user's speed glided %llu ms after the file was released\n",
                static_cast<unsigned long long>(GetTickCount64() - released));

    EXPECT_EQ(program.ExitThroughTrayMenu(), 0);
    wchar_t firstApp[64] = {};
    GetPrivateProfileStringW(L"Exclusions", L"App0", L"", firstApp, 64, path.c_str());
    std::printf("after the exit config.ini holds Speed=%u, App0=%ls\n",
                GetPrivateProfileIntW(L"Vertical", L"Speed", 0, path.c_str()), firstApp);
    Settings expected = users;
    expected.Horizontal.AccelEnabled = false;
    EXPECT_EQ(ReadFileBytes(path), BomAndText(SerializeSettings(expected)));
    EXPECT_FALSE(PathExists(path + L".bak")); // it was in the program's own form
}

// Damaged and hand-edited files: each start glides and exits with code 0 and no dialog;
// a file the program cannot take as its own is kept byte for byte as config.ini.bak and
// config.ini becomes the program's form; a read-only file is left as it is.
TEST(SettingsFileE2ETest, DamagedFilesAreKeptAsBakAndTheProgramStillGlidesAndExits) {
    std::mt19937 random(20261211);
    std::vector<unsigned char> noise(700);
    for (unsigned char& byte : noise) byte = static_cast<unsigned char>(random());
    std::vector<unsigned char> bigEndian = {0xFE, 0xFF};
    for (const char c : std::string("[Vertical]\r\nSpeed=200\r\n")) bigEndian.insert(bigEndian.end(), {0, static_cast<unsigned char>(c)});
    std::vector<unsigned char> truncated = BomAndText(L"[Vertical]\r\nSpeed=200\r\n");
    truncated.pop_back();
    std::vector<unsigned char> readOnly = BomAndText(SerializeSettings(UsersSettings()));

    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        int units; // what one notch gives after the start; 0: what config.ini says after it
        bool readOnly = false;
    };
    const Case cases[] = {
        {"random bytes", noise, 0},
        {"a hand edit saved as UTF-8", Bytes("[Vertical]\r\nSpeed=200\r\n; \xD0\xBC\xD0\xBE\xD0\xB9 \xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB\r\n"), 200},
        {"an empty file", {}, 0},
        {"only the byte-order mark", {0xFF, 0xFE}, 0},
        {"UTF-16 big-endian", bigEndian, 0},
        {"UTF-16 cut in the middle of a character", truncated, 0},
        {"zeros", std::vector<unsigned char>(1024, 0), 0},
        {"the program's own form, read-only", readOnly, 300, true},
    };
    WheelTargetWindow target;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramUnderTest program(L"");
        const std::wstring path = program.Folder() + L"\\config.ini";
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        if (c.readOnly) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(program.Start());
        target.PlaceCursor();
        target.Clear();
        InjectWheel(120);
        const WheelTotals glide = Sum(target.WaitUntilQuiet());
        EXPECT_GT(glide.marked, 1) << "not smoothed";
        EXPECT_EQ(program.ExitThroughTrayMenu(), 0) << "no dialog may hold up the exit";
        const int speed = static_cast<int>(GetPrivateProfileIntW(L"Vertical", L"Speed", -1, path.c_str()));
        EXPECT_EQ(glide.vertical, c.units ? c.units : speed) << "the glide and the file disagree";
        if (c.readOnly) {
            EXPECT_EQ(ReadFileBytes(path), c.bytes);
            EXPECT_FALSE(PathExists(path + L".bak"));
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        } else {
            EXPECT_EQ(ReadFileBytes(path + L".bak"), c.bytes);
            EXPECT_TRUE(IsProgramsOwnForm(path));
        }
        EXPECT_FALSE(PathExists(path + L".tmp"));
    }
}

// A change of the user's that cannot be written at exit (the test build fails the
// writes, as a locked file would): the program tries again for about 2 s, then asks
// with the file's path; Cancel ends it without the change. When the second attempt
// succeeds nothing is asked and the change is in the file.
TEST(SettingsFileE2ETest, AChangeThatCannotBeSavedAtExitIsRetriedThenAskedAbout) {
    for (const bool recovers : {false, true}) {
        SCOPED_TRACE(recovers ? "the second attempt succeeds" : "every attempt fails");
        ProgramUnderTest program(SerializeSettings(UsersSettings()), ProgramUnderTest::Build::WithSeams);
        const std::wstring path = program.Folder() + L"\\config.ini", log = program.Folder() + L"\\writes.log";
        const std::vector<unsigned char> before = ReadFileBytes(path);
        SetEnvironmentVariableW(L"VG_SEAM_WRITE_LOG", log.c_str());
        const bool started = program.Start();
        SetEnvironmentVariableW(L"VG_SEAM_WRITE_LOG", nullptr);
        ASSERT_TRUE(started);
        const HWND window = program.FindSettingsWindow();
        SendMessageW(window, RegisterWindowMessageW(L"Velvetglide.Seam.FailWrites"), recovers ? 1 : 0xFFFFFFFF, 0);
        Toggle(window, IDC_V_ACCEL_TOGGLE); // its own save fails: unsaved

        const ULONGLONG asked = GetTickCount64();
        PostMessageW(window, WM_COMMAND, 3004, 0); // the tray menu's "Выход"
        HWND box = nullptr;
        const bool exited = WaitFor(
            [&] {
                box = FindDialog(L"Сохранение настроек");
                return box || WaitForSingleObject(program.Process(), 0) == WAIT_OBJECT_0;
            },
            15000);
        ASSERT_TRUE(exited);
        const ULONGLONG waited = GetTickCount64() - asked;
        if (recovers) {
            EXPECT_EQ(box, nullptr);
        } else {
            ASSERT_NE(box, nullptr);
            EXPECT_NE(DialogMessage(box).find(path), std::wstring::npos) << "the message names the file";
            EXPECT_GE(waited, 1900u) << "asked before the retries were made";
            std::printf("asked %llu ms after the exit was chosen\n", static_cast<unsigned long long>(waited));
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        }
        ASSERT_EQ(WaitForSingleObject(program.Process(), 10000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(program.Process(), &code);
        EXPECT_EQ(code, 0u);

        const std::vector<unsigned char> lines = ReadFileBytes(log);
        const std::string attempts(lines.begin(), lines.end());
        size_t failed = 0;
        for (size_t at = attempts.find("config.ini failed"); at != std::string::npos;
             at = attempts.find("config.ini failed", at + 1))
            ++failed;
        std::printf("%s", attempts.c_str());
        Settings changed = UsersSettings();
        changed.Vertical.AccelEnabled = true;
        if (recovers) {
            EXPECT_EQ(ReadFileBytes(path), BomAndText(SerializeSettings(changed)));
            EXPECT_NE(attempts.find("config.ini ok"), std::string::npos);
        } else {
            EXPECT_EQ(ReadFileBytes(path), before);
            EXPECT_GE(failed, 6u) << "the command's save, the window's and the retries at exit";
        }
    }
}
