// The Run value in the real registry, under a key of the test's own that stands in
// for the current user's Run key.

#include <gtest/gtest.h>

#include "platform/ExecutablePath.h"
#include "settings/AutoStart.h"
#include "settings/ConfigStore.h"
#include "settings/Win32ConfigFile.h"
#include "support/TempRegistryKey.h"
#include "support/Win32TestFiles.h"

namespace {

class AutoStartWin32Test : public ::testing::Test {
protected:
    std::wstring ReadRunValue(DWORD* type = nullptr) const {
        wchar_t data[1024] = {};
        DWORD size = sizeof data, valueType = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, runKey.Path().c_str(), RunValueName, RRF_RT_ANY, &valueType, data,
                         &size) != ERROR_SUCCESS)
            return L"<missing>";
        if (type) *type = valueType;
        return valueType == REG_SZ ? std::wstring(data) : L"<not text>";
    }

    void SetRawRunValue(DWORD type, const void* data, DWORD size) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, runKey.Path().c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        UniqueRegistryKey owner(key);
        ASSERT_EQ(RegSetValueExW(key, RunValueName, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }

    TempRegistryKey runKey;
    AutoStart autoStart{runKey.Path()};
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

    // The key is opened, never created: without it, on is a silent no-op.
    AutoStart nowhere(runKey.Path() + L"\\Missing");
    nowhere.Write(true);
    EXPECT_FALSE(nowhere.IsRegistered());
    HKEY created = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, (runKey.Path() + L"\\Missing").c_str(), 0, KEY_READ, &created),
              ERROR_SUCCESS);
    UniqueRegistryKey owner(created);
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
