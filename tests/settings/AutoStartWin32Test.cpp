// The Run value in the real registry (the test prefix's, under Wine).

#include <gtest/gtest.h>

#include "platform/ExecutablePath.h"
#include "settings/AutoStart.h"
#include "settings/ConfigStore.h"
#include "settings/Win32ConfigFile.h"
#include "support/Win32TestFiles.h"

namespace {

std::wstring ReadRunValue(DWORD* type = nullptr) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data, valueType = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_ANY, &valueType, data, &size) != ERROR_SUCCESS)
        return L"<missing>";
    if (type) *type = valueType;
    return valueType == REG_SZ ? std::wstring(data) : L"<not text>";
}

void SetRawRunValue(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    UniqueRegistryKey owner(key);
    ASSERT_EQ(RegSetValueExW(key, RunValueName, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

class AutoStartWin32Test : public ::testing::Test {
protected:
    void SetUp() override { autoStart.Write(false); }
    void TearDown() override { autoStart.Write(false); }
    AutoStart autoStart;
};

} // namespace

TEST_F(AutoStartWin32Test, SwitchingOnAndOff) {
    EXPECT_FALSE(autoStart.IsRegistered());
    autoStart.Write(true);
    EXPECT_TRUE(autoStart.IsRegistered());
    DWORD type = 0;
    EXPECT_EQ(ReadRunValue(&type), L"\"" + ExecutablePath() + L"\" --minimized");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    autoStart.Write(false);
    EXPECT_FALSE(autoStart.IsRegistered());
    EXPECT_EQ(ReadRunValue(), L"<missing>");
    autoStart.Write(false); // already gone: nothing changes
    EXPECT_FALSE(autoStart.IsRegistered());
}

TEST_F(AutoStartWin32Test, LoadRepointsAValueFromAnOldLocationOrOfAnotherType) {
    TempFolder folder;
    Win32ConfigFile files;
    const std::wstring old = L"\"C:\\Old Place\\Velvetglide.exe\" --minimized";
    SetRawRunValue(REG_SZ, old.c_str(), static_cast<DWORD>((old.size() + 1) * sizeof(wchar_t)));
    {
        ConfigStore store(folder.File(L"config.ini"), files, autoStart);
        store.Load();
        EXPECT_TRUE(store.Snapshot().StartWithWindows);
    }
    EXPECT_EQ(ReadRunValue(), L"\"" + ExecutablePath() + L"\" --minimized");

    const DWORD number = 1;
    SetRawRunValue(REG_DWORD, &number, sizeof number);
    EXPECT_TRUE(autoStart.IsRegistered()); // any value under the name counts as on
    ConfigStore store(folder.File(L"config.ini"), files, autoStart);
    store.Load();
    EXPECT_EQ(ReadRunValue(), L"\"" + ExecutablePath() + L"\" --minimized");
}

TEST_F(AutoStartWin32Test, LoadLeavesAnAbsentValueAbsentAndResetKeepsThePresentOne) {
    TempFolder folder;
    Win32ConfigFile files;
    ConfigStore store(folder.File(L"config.ini"), files, autoStart);
    store.Load();
    EXPECT_FALSE(autoStart.IsRegistered());
    EXPECT_FALSE(store.IsStartWithWindows());

    store.SetStartWithWindows(true);
    EXPECT_TRUE(store.IsStartWithWindows());
    store.ResetToDefaults();
    store.Save();
    EXPECT_TRUE(store.IsStartWithWindows());
    EXPECT_TRUE(store.Snapshot().StartWithWindows);
}
