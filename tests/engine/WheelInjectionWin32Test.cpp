// The injected event record, the display queries and the program's embedded resources.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "VelvetglideVersion.h"
#include "engine/DisplayRefreshRate.h"
#include "engine/WheelInjection.h"
#include "engine/Win32EnginePlatform.h"
#include "platform/ExecutablePath.h"

TEST(WheelInjectionTest, InputRecordCarriesTheStepTheAxisAndTheMarker) {
    INPUT input = MakeWheelInput(true, -3);
    EXPECT_EQ(input.type, static_cast<DWORD>(INPUT_MOUSE));
    EXPECT_EQ(input.mi.mouseData, 0xFFFFFFFDu);
    EXPECT_EQ(input.mi.dwFlags, static_cast<DWORD>(MOUSEEVENTF_HWHEEL));
    EXPECT_EQ(input.mi.dwExtraInfo, WheelMarker);
    EXPECT_EQ(input.mi.dx, 0);
    EXPECT_EQ(input.mi.dy, 0);
    EXPECT_EQ(input.mi.time, 0u);

    input = MakeWheelInput(false, 7);
    EXPECT_EQ(input.mi.mouseData, 7u);
    EXPECT_EQ(input.mi.dwFlags, static_cast<DWORD>(MOUSEEVENTF_WHEEL));
}

// Every monitor with a rate in range or none; the compositor's clock, where it answers
// (Wine answers, with 60 Hz where the display has no rate), on the engine's own clock.
TEST(DisplayRefreshRateTest, ReportsEveryMonitorWithARateInRangeOrNoneAndTheDisplayClock) {
    const DisplayTable displays = ReadDisplayTable();
    ASSERT_FALSE(displays.empty());
    for (const DisplayArea& display : displays) {
        std::printf("display (%d,%d)-(%d,%d): %d Hz\n", display.left, display.top, display.right, display.bottom,
                    display.refreshHz);
        EXPECT_LT(display.left, display.right);
        EXPECT_TRUE(display.refreshHz == 0 || (display.refreshHz >= 24 && display.refreshHz <= 1000));
    }
    Win32EnginePlatform platform;
    DisplayTiming timing;
    if (platform.ReadDisplayTiming(timing)) {
        const double now = platform.NowMs();
        std::printf("display clock: period %.4f ms, last refresh %.3f ms ago\n", timing.periodMs,
                    now - timing.vblankMs);
        EXPECT_GT(timing.periodMs, 1.0);
        EXPECT_LT(timing.periodMs, 42.0);
        EXPECT_LT(std::fabs(now - timing.vblankMs), 1000.0) << "not on the performance counter's clock";
    }
}

namespace {
std::string ResourceText(HMODULE module, LPCWSTR type, LPCWSTR name) {
    HRSRC resource = FindResourceW(module, name, type);
    if (!resource) return {};
    HGLOBAL loaded = LoadResource(module, resource);
    return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, resource));
}
} // namespace

TEST(ProgramResourcesTest, ManifestAndVersionAreEmbedded) {
    const std::wstring exe = ExecutablePath();
    const std::wstring program = exe.substr(0, exe.find_last_of(L"\\/")) + L"\\Velvetglide.exe";
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    const std::string manifest = ResourceText(module, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Velvetglide\" version=\"" VG_VERSION_TEXT ".0\""), std::string::npos);

    const std::string version = ResourceText(module, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1));
    ASSERT_GE(version.size(), 40u + sizeof(VS_FIXEDFILEINFO));
    // The fixed record follows the "VS_VERSION_INFO" key; find it by its signature.
    const size_t at = version.find(std::string("\xBD\x04\xEF\xFE", 4));
    ASSERT_NE(at, std::string::npos);
    VS_FIXEDFILEINFO info;
    memcpy(&info, version.data() + at, sizeof info);
    constexpr DWORD major = VG_VERSION_MAJOR, minor = VG_VERSION_MINOR, patch = VG_VERSION_PATCH;
    EXPECT_EQ(info.dwFileVersionMS, (major << 16) | minor);
    EXPECT_EQ(info.dwFileVersionLS, patch << 16);
    EXPECT_EQ(info.dwProductVersionMS, (major << 16) | minor);
    FreeLibrary(module);
}
