// The injected event record, the display query and the program's embedded resources.

#include <gtest/gtest.h>

#include <string>

#include "VelvetglideVersion.h"
#include "engine/DisplayRefreshRate.h"
#include "engine/WheelInjection.h"
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

TEST(DisplayRefreshRateTest, ReportsARateInRangeOrNone) {
    const int32_t hz = DetectRefreshRate();
    std::printf("detected refresh rate: %d Hz\n", hz);
    EXPECT_TRUE(hz == 0 || (hz >= 24 && hz <= 1000));
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
