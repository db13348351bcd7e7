// A process that saves in a loop is killed at random moments: the file must always
// be one complete version or the other, never partial, never missing.

#include <gtest/gtest.h>

#include <random>

#include "platform/ExecutablePath.h"
#include "settings/ConfigStore.h"
#include "settings/SettingsFile.h"
#include "settings/Win32ConfigFile.h"
#include "support/Win32TestFiles.h"

namespace {

std::vector<unsigned char> VersionBytes(bool flip) {
    Settings settings;
    settings.ExcludedApps = DefaultExcludedApps();
    settings.Vertical.Speed = flip ? 300 : 120;
    if (flip) settings.ExcludedSites = {L"example.com"};
    return BomAndText(SerializeSettings(settings));
}

} // namespace

TEST(ConfigSaveCrashTest, KilledSavesNeverLeaveAPartialFile) {
    TempFolder folder;
    const std::wstring path = folder.File(L"config.ini");
    ASSERT_TRUE(WriteFileAtomically(path, SerializeSettings(Settings{true, false, {}, {}, DefaultExcludedApps(), {}})));
    const std::vector<unsigned char> versionA = VersionBytes(false), versionB = VersionBytes(true);

    const std::wstring counterName = L"Local\\VelvetglideSaveCount" + std::to_wstring(GetCurrentProcessId());
    UniqueKernelHandle mapping(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), counterName.c_str()));
    ASSERT_TRUE(mapping);
    auto* saves = static_cast<volatile LONG*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    ASSERT_NE(saves, nullptr);

    const std::wstring exe = ExecutablePath();
    const std::wstring tool = exe.substr(0, exe.find_last_of(L"\\/")) + L"\\config_save_loop.exe";
    std::mt19937 random(2026);
    int kills = 0, sawA = 0, sawB = 0;
    while ((*saves < 1000 || kills < 20) && kills < 300) {
        std::wstring commandLine = L"\"" + tool + L"\" \"" + path + L"\" " + counterName;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process))
            << "cannot start " << std::string(tool.begin(), tool.end());
        UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
        // Wait for the first save of this run, then kill at a random moment after it.
        const LONG startCount = *saves;
        for (int i = 0; i < 5000 && *saves == startCount; ++i) Sleep(1);
        Sleep(random() % 40);
        TerminateProcess(processHandle.get(), 9);
        WaitForSingleObject(processHandle.get(), INFINITE);
        ++kills;

        const std::vector<unsigned char> bytes = ReadFileBytes(path);
        const bool isA = bytes == versionA, isB = bytes == versionB;
        ASSERT_TRUE(isA || isB) << "after kill " << kills << ": " << bytes.size() << " bytes";
        (isA ? sawA : sawB)++;
    }
    EXPECT_GE(*saves, 1000);
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
    std::printf("%ld saves, %d kills: %d times the first version, %d times the second\n",
                static_cast<long>(*saves), kills, sawA, sawB);
    UnmapViewOfFile(const_cast<LONG*>(saves));
}
