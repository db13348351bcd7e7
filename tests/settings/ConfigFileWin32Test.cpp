// The configuration file on the real file system: location, first start, parsing
// through the platform's profile calls, and saves that fail while the file is locked.

#include <gtest/gtest.h>

#include "settings/ConfigPath.h"
#include "settings/ConfigStore.h"
#include "settings/SettingsFile.h"
#include "settings/Win32ConfigFile.h"
#include "support/Win32TestFiles.h"

namespace {

class NoAutoStart : public AutoStartRegistry {
public:
    bool IsRegistered() override { return false; }
    void Write(bool) override {}
};

std::wstring DefaultText() {
    Settings settings;
    settings.ExcludedApps = DefaultExcludedApps();
    return SerializeSettings(settings);
}

// A program folder and a roaming application data folder of the test's own, in
// place of the executable's folder and the user's AppData.
struct PrivatePlaces {
    TempFolder root;
    std::wstring programFolder = root.File(L"Program"), appData = root.File(L"Roaming");
    std::wstring exe = programFolder + L"\\Velvetglide.exe", besideExe = programFolder + L"\\config.ini";
    std::wstring appFolder = appData + L"\\Velvetglide";
    PrivatePlaces() {
        CreateDirectoryW(programFolder.c_str(), nullptr);
        CreateDirectoryW(appData.c_str(), nullptr);
    }
    std::wstring Resolve() const { return ResolveConfigPath(exe, appData); }
};

class ConfigFileWin32Test : public ::testing::Test {
protected:
    Settings LoadText(const std::wstring& text, std::wstring* written = nullptr) {
        const std::wstring path = folder.File(L"config.ini");
        EXPECT_TRUE(WriteFileAtomically(path, text));
        ConfigStore store(path, files, noAutoStart);
        store.Load();
        if (written) {
            const std::vector<unsigned char> bytes = ReadFileBytes(path);
            written->clear();
            for (size_t i = 2; i + 1 < bytes.size(); i += 2) written->push_back(static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8));
        }
        return store.Snapshot();
    }

    TempFolder folder;
    Win32ConfigFile files;
    NoAutoStart noAutoStart;
};

} // namespace

TEST_F(ConfigFileWin32Test, FirstStartWritesTheDefaultFileUnderAppData) {
    PrivatePlaces places;
    const std::wstring path = places.Resolve();
    EXPECT_EQ(path, places.appFolder + L"\\config.ini");
    EXPECT_TRUE(IsDirectory(places.appFolder));
    ConfigStore store(path, files, noAutoStart);
    store.Load();

    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.size(), 812u);
    EXPECT_EQ(bytes, BomAndText(DefaultText()));
    EXPECT_FALSE(PathExists(path + L".tmp"));
    EXPECT_EQ(places.Resolve(), path); // the next start finds it there
}

TEST_F(ConfigFileWin32Test, FileBesideTheExecutableIsUsedAndRewrittenThere) {
    PrivatePlaces places;
    ASSERT_TRUE(WriteFileAtomically(places.besideExe, L"[Vertical]\r\nSpeed=200\r\n"));
    const std::wstring path = places.Resolve();
    EXPECT_EQ(path, places.besideExe);
    EXPECT_FALSE(PathExists(places.appFolder)); // nothing is made in AppData

    ConfigStore store(path, files, noAutoStart);
    store.Load();
    EXPECT_EQ(store.Snapshot().Vertical.Speed, 200);
    Settings expected;
    expected.ExcludedApps = DefaultExcludedApps();
    expected.Vertical.Speed = 200;
    EXPECT_EQ(ReadFileBytes(path), BomAndText(SerializeSettings(expected)));
}

TEST_F(ConfigFileWin32Test, FolderNamedConfigIniBesideTheExecutableDoesNotCount) {
    PrivatePlaces places;
    ASSERT_TRUE(CreateDirectoryW(places.besideExe.c_str(), nullptr));
    EXPECT_EQ(places.Resolve(), places.appFolder + L"\\config.ini");
}

TEST_F(ConfigFileWin32Test, ValuesAreParsedClampedAndWrittenBack) {
    std::wstring written;
    Settings s = LoadText(L"[Vertical]\r\nSmoothing=2.5\r\nSpeed=900\r\n[Horizontal]\r\nSmoothing=\r\n", &written);
    EXPECT_EQ(s.Vertical.Smoothing, 2.5);
    EXPECT_EQ(s.Vertical.Speed, 480);
    EXPECT_EQ(s.Horizontal.Smoothing, 3.0);
    EXPECT_NE(written.find(L"[Vertical]\r\nSpeed=480\r\nDurationMs=280\r\nSmoothing=2.50\r\n"), std::wstring::npos);
    EXPECT_NE(written.find(L"[Horizontal]\r\nSpeed=120\r\nDurationMs=280\r\nSmoothing=3.00\r\n"), std::wstring::npos);

    s = LoadText(L"[Vertical]\r\nSmoothing=abc\r\nAccelStrength=x\r\nDurationMs=7\r\n");
    EXPECT_EQ(s.Vertical.Smoothing, 2.0);
    EXPECT_EQ(s.Vertical.AccelStrength, 1.0);
    EXPECT_EQ(s.Vertical.DurationMs, 50);

    s = LoadText(L"[General]\r\nEnabled=0\r\n[Vertical]\r\nSpeed=-5\r\n");
    EXPECT_FALSE(s.Enabled);
    EXPECT_EQ(s.Vertical.Speed, 30);
}

TEST_F(ConfigFileWin32Test, ListsAreReadNormalisedAndRenumbered) {
    std::wstring written;
    Settings s = LoadText(L"[Exclusions]\r\nApp0=mine.exe\r\n", &written);
    EXPECT_EQ(s.ExcludedApps, DefaultExcludedApps());
    EXPECT_EQ(written, DefaultText());

    s = LoadText(L"[Exclusions]\r\nCount=3\r\nApp0=C:\\Games\\Game\r\nApp2=Редактор.exe\r\n"
                 L"[Sites]\r\nCount=2\r\nSite0=HTTPS://WWW.Example.COM/Path/\r\nSite1=Docs.Example.org/Guide/\r\n",
                 &written);
    EXPECT_EQ(s.ExcludedApps, (std::vector<std::wstring>{L"Game.exe", L"Редактор.exe"}));
    EXPECT_EQ(s.ExcludedSites, (std::vector<std::wstring>{L"example.com", L"docs.example.org/guide"}));
    EXPECT_NE(written.find(L"[Exclusions]\r\nCount=2\r\nApp0=Game.exe\r\nApp1=Редактор.exe\r\n\r\n"), std::wstring::npos);
    EXPECT_TRUE(written.ends_with(L"[Sites]\r\nCount=2\r\nSite0=example.com\r\nSite1=docs.example.org/guide\r\n"));
}

TEST_F(ConfigFileWin32Test, CommentsAndUnknownKeysAreGoneAfterTheLoad) {
    std::wstring written;
    LoadText(L"; notes\r\n[General]\r\nEnabled=1\r\nTheme=dark\r\n\r\n[Other]\r\nX=1\r\n", &written);
    EXPECT_EQ(written, DefaultText());
}

TEST_F(ConfigFileWin32Test, HugeCountLoadsQuickly) {
    const auto start = GetTickCount64();
    Settings s = LoadText(L"[Exclusions]\r\nCount=2147483647\r\nApp0=a.exe\r\napp4095=z.exe\r\nApp4096=over.exe\r\n"
                          L"[Sites]\r\nCount=2147483647\r\n");
    // Bounded: the first 4096 indexes at most, and only the keys that exist are read.
    EXPECT_EQ(s.ExcludedApps, (std::vector<std::wstring>{L"a.exe", L"z.exe"}));
    EXPECT_TRUE(s.ExcludedSites.empty());
    std::printf("load of a file with Count=2147483647 took %llu ms\n",
                static_cast<unsigned long long>(GetTickCount64() - start));
}

TEST_F(ConfigFileWin32Test, SaveWhileTheFileIsLockedFailsQuietlyAndIsRetried) {
    const std::wstring path = folder.File(L"config.ini");
    ConfigStore store(path, files, noAutoStart);
    store.Load();
    const std::vector<unsigned char> before = ReadFileBytes(path);

    Settings changed = store.Snapshot();
    changed.Vertical.Speed = 333;
    {
        UniqueFileHandle holder(
            CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        store.Apply(changed, true);
        EXPECT_TRUE(store.IsDirty());
        EXPECT_EQ(store.Snapshot().Vertical.Speed, 333); // the live settings keep the change
        EXPECT_FALSE(PathExists(path + L".tmp"));
        store.SaveIfDirty();
        EXPECT_TRUE(store.IsDirty());
    }
    EXPECT_EQ(ReadFileBytes(path), before);

    store.SaveIfDirty();
    EXPECT_FALSE(store.IsDirty());
    EXPECT_EQ(ReadFileBytes(path), BomAndText(SerializeSettings(store.Snapshot())));
}

TEST_F(ConfigFileWin32Test, WriteIntoAMissingFolderFailsWithoutLeavingAnything) {
    const std::wstring path = folder.File(L"missing\\config.ini");
    EXPECT_FALSE(WriteFileAtomically(path, L"x"));
    EXPECT_FALSE(PathExists(path));
    EXPECT_FALSE(PathExists(path + L".tmp"));
}
