#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <thread>

#include "exclusions/ExclusionRules.h"
#include "settings/ConfigStore.h"
#include "settings/SettingsFile.h"
#include "support/InMemoryConfigFiles.h"

namespace {

const std::wstring Path = L"C:\\Users\\u\\AppData\\Roaming\\Velvetglide\\config.ini";

class ConfigStoreTest : public ::testing::Test {
protected:
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store{Path, files, autoStart};
};

} // namespace

TEST_F(ConfigStoreTest, StartsFromDefaultsAndALoadWithoutAFileWritesThem) {
    const Settings settings = store.Snapshot();
    EXPECT_EQ(settings.ExcludedApps, DefaultExcludedApps());
    EXPECT_TRUE(settings.ExcludedSites.empty());
    EXPECT_FALSE(store.HasSiteExclusions());
    EXPECT_FALSE(store.IsDirty());
    EXPECT_EQ(store.GetConfigPath(), Path);
    EXPECT_EQ(files.writeCount, 0);

    store.Load();
    EXPECT_EQ(files.Text(Path), SerializeSettings(Settings{true, false, {}, {}, DefaultExcludedApps(), {}}));
    EXPECT_FALSE(store.IsDirty());
    EXPECT_EQ(autoStart.writeCount, 0); // not registered: the registry is not written
    autoStart.registered = true;
    store.Load(); // registered: the Run value is written again, for wherever the program now lies
    EXPECT_EQ(autoStart.writeCount, 1);
    EXPECT_TRUE(store.Snapshot().StartWithWindows);
}

TEST_F(ConfigStoreTest, ListEditsAreNormalisedDeduplicatedAndSavedAtOnce) {
    store.AddExcludedApp(L"\"C:\\Program Files\\Adobe\\PhotoShop.EXE\""); // already there in other case
    store.AddExcludedApp(L"  \"  \" ");
    store.AddExcludedApp(L"C:\\Games\\");
    EXPECT_EQ(store.GetExcludedApps(), DefaultExcludedApps());
    EXPECT_EQ(files.writeCount, 0);
    store.AddExcludedApp(L"Notepad++");
    store.AddExcludedApp(L"notepad++");
    EXPECT_EQ(files.writeCount, 1);
    EXPECT_EQ(store.GetExcludedApps().back(), L"Notepad++.exe");
    EXPECT_TRUE(ExclusionRules::IsAppExcluded(*store.Current(), L"notepad++.exe")); // the hook's prepared names
    EXPECT_NE(files.Text(Path).find(L"App8=Notepad++.exe\r\n"), std::wstring::npos);

    Settings settings = store.Snapshot();
    settings.ExcludedApps.push_back(L"Photoshop.exe"); // a hand-edited duplicate
    store.Apply(settings, true);
    store.RemoveExcludedApp(L"PHOTOSHOP.EXE");
    EXPECT_EQ(files.writeCount, 3);
    std::vector<std::wstring> expected = DefaultExcludedApps();
    expected.back() = L"Notepad++.exe"; // the last default was Photoshop
    EXPECT_EQ(store.GetExcludedApps(), expected); // both gone, the others keep their order
    store.RemoveExcludedApp(L"acad"); // no ".exe" is added for removal
    EXPECT_EQ(store.GetExcludedApps(), expected);
    EXPECT_EQ(files.writeCount, 4); // written all the same

    store.AddExcludedSite(L"https://WWW.Example.com/path?q=1");
    store.AddExcludedSite(L"example.com");
    store.AddExcludedSite(L"  \r\n");
    EXPECT_EQ(store.GetExcludedSites(), std::vector<std::wstring>{L"example.com"});
    EXPECT_EQ(files.writeCount, 5);
    EXPECT_TRUE(store.HasSiteExclusions());
    store.RemoveExcludedSite(L"http://example.com/");
    EXPECT_FALSE(store.HasSiteExclusions());
    EXPECT_EQ(files.writeCount, 6);
}

TEST_F(ConfigStoreTest, ApplyClampsAndMarksDirtyUntilASaveSucceeds) {
    Settings settings = store.Snapshot();
    settings.Vertical = {1000, 10, 1.5, false, 7.0};
    settings.Horizontal.Speed = 200;
    settings.StartWithWindows = true;
    store.Apply(settings, false);
    EXPECT_EQ(store.Snapshot().Vertical, (AxisSettings{480, 50, 2.0, false, 5.0}));
    // Each axis's settings come with the global switch.
    AxisSettings vertical, horizontal;
    EXPECT_TRUE(store.GetAxisSettings(Axis::Vertical, vertical));
    EXPECT_EQ(vertical.Speed, 480);
    EXPECT_TRUE(store.Snapshot().StartWithWindows);
    EXPECT_EQ(autoStart.writeCount, 0); // the cached flag only
    EXPECT_TRUE(store.IsDirty());
    EXPECT_EQ(files.writeCount, 0);

    files.failWrites = true;
    store.SaveIfDirty();
    store.SetEnabled(false); // a failed save of another change keeps the flag too
    EXPECT_TRUE(store.IsDirty());
    EXPECT_FALSE(store.IsEnabled());
    EXPECT_FALSE(store.GetAxisSettings(Axis::Horizontal, horizontal));
    EXPECT_EQ(horizontal.Speed, 200);

    files.failWrites = false;
    store.SaveIfDirty();
    EXPECT_FALSE(store.IsDirty());
    EXPECT_NE(files.Text(Path).find(L"Speed=480\r\nDurationMs=50\r\nSmoothing=2.00"), std::wstring::npos);
    EXPECT_NE(files.Text(Path).find(L"Enabled=0"), std::wstring::npos);

    const int writes = files.writeCount;
    store.SaveIfDirty();
    EXPECT_EQ(files.writeCount, writes); // clean: nothing to write

    store.Apply(store.Snapshot(), true);
    EXPECT_FALSE(store.IsDirty());
    EXPECT_EQ(files.writeCount, writes + 1);

    // A command that saves at once on a clean store: its failed save must not lose it.
    files.failWrites = true;
    store.SetEnabled(true);
    EXPECT_TRUE(store.IsDirty());
    files.failWrites = false;
    store.SaveIfDirty();
    EXPECT_NE(files.Text(Path).find(L"Enabled=1"), std::wstring::npos);
}

TEST_F(ConfigStoreTest, StartWithWindowsIsTheRegistrysStateAndAResetKeepsIt) {
    store.SetStartWithWindows(true);
    EXPECT_TRUE(autoStart.registered);
    Settings settings = store.Snapshot();
    settings.Enabled = false;
    settings.Horizontal.Speed = 333;
    settings.ExcludedApps = {L"x.exe"};
    settings.ExcludedSites = {L"example.com"};
    store.Apply(settings, false);

    store.ResetToDefaults();
    const Settings reset = store.Snapshot();
    EXPECT_TRUE(reset.Enabled);
    EXPECT_EQ(reset.Horizontal, AxisSettings{});
    EXPECT_EQ(reset.ExcludedApps, DefaultExcludedApps());
    EXPECT_TRUE(reset.ExcludedSites.empty());
    EXPECT_TRUE(reset.StartWithWindows);
    EXPECT_TRUE(store.IsStartWithWindows());
    EXPECT_TRUE(store.IsDirty()); // left as it was: the reset command saves explicitly

    autoStart.registered = false; // removed behind the program's back
    EXPECT_FALSE(store.IsStartWithWindows());
    EXPECT_TRUE(store.Snapshot().StartWithWindows);
    store.SetStartWithWindows(false);
    EXPECT_EQ(autoStart.writeCount, 2);
    EXPECT_EQ(files.writeCount, 0);
}

TEST_F(ConfigStoreTest, LoadReadsWhatASaveWrote) {
    Settings settings = store.Snapshot();
    settings.Enabled = false;
    settings.Vertical = {45, 700, 4.25, false, 3.5};
    settings.Horizontal = {-5, 900, 2.5, true, 1.25}; // clamped on the way in
    settings.ExcludedApps = {L"Game.exe", L"Редактор.exe"};
    settings.ExcludedSites = {L"example.com/docs", L"новости"};
    store.Apply(settings, true);

    InMemoryConfigFiles copy = files;
    FakeAutoStart otherRegistry;
    ConfigStore reloaded(Path, copy, otherRegistry);
    reloaded.Load();
    Settings expected = store.Snapshot();
    expected.StartWithWindows = false;
    EXPECT_EQ(reloaded.Snapshot(), expected);
    EXPECT_EQ(copy.Text(Path), files.Text(Path));
}

// A write the disk holds up (a scanner, a network profile) while the program goes on:
// readers see every change at once, a change made during the write is not lost, and
// the settings lock is never held across the write.
TEST_F(ConfigStoreTest, ASlowWriteBlocksNeitherReadersNorChanges) {
    struct HeldFiles : InMemoryConfigFiles {
        std::mutex mutex;
        std::condition_variable changed;
        bool writing = false, release = false;
        bool WriteFileAtomically(const std::wstring& path, const std::wstring& text) override {
            std::unique_lock<std::mutex> lock(mutex);
            writing = true;
            changed.notify_all();
            changed.wait(lock, [this] { return release; });
            return InMemoryConfigFiles::WriteFileAtomically(path, text);
        }
    } held;
    ConfigStore slow(Path, held, autoStart);
    int notified = 0;
    slow.SetChangeListener([&] { ++notified; });
    const uint64_t generation = slow.Current()->Generation;

    std::thread saver([&] { slow.SetEnabled(false); });
    {
        std::unique_lock<std::mutex> lock(held.mutex);
        held.changed.wait(lock, [&] { return held.writing; });
    }
    // The write is in progress: the change is visible, and another one goes through.
    EXPECT_FALSE(slow.IsEnabled());
    Settings settings = slow.Snapshot();
    settings.Vertical.Speed = 300;
    slow.Apply(settings, false);
    AxisSettings vertical;
    EXPECT_FALSE(slow.GetAxisSettings(Axis::Vertical, vertical));
    EXPECT_EQ(vertical.Speed, 300);
    EXPECT_EQ(slow.Current()->Generation, generation + 2);
    {
        std::lock_guard<std::mutex> lock(held.mutex);
        held.release = true;
    }
    held.changed.notify_all();
    saver.join();

    // The write carried the older text: the later change is still owed to the disk.
    EXPECT_NE(held.Text(Path).find(L"Enabled=0"), std::wstring::npos);
    EXPECT_EQ(held.Text(Path).find(L"Speed=300"), std::wstring::npos);
    EXPECT_TRUE(slow.IsDirty());
    slow.SaveIfDirty();
    EXPECT_NE(held.Text(Path).find(L"Speed=300"), std::wstring::npos);
    EXPECT_FALSE(slow.IsDirty());
    EXPECT_EQ(notified, 2);
}

// A file another program holds at start-up (a scanner, a backup, a sync client): the
// program runs on defaults and writes nothing; what the user changes meanwhile waits
// in memory and, once the file can be read, is made on the file's own values.
TEST_F(ConfigStoreTest, AFileHeldAtStartIsNeverWrittenAndTheUsersChangesLandOnItsValues) {
    Settings users;
    users.Vertical.Speed = 300;
    users.Vertical.DurationMs = 500;
    users.Horizontal.AccelEnabled = false;
    users.ExcludedApps = {L"mygame.exe", L"cs2.exe"};
    users.ExcludedSites = {L"news.example"};
    files.files[Path] = SerializeSettings(users); // the program's own form: no copy is made
    files.unreadable.insert(Path);

    store.Load();
    EXPECT_TRUE(store.IsWaitingForFile());
    EXPECT_EQ(store.Snapshot().Vertical.Speed, 120);
    EXPECT_EQ(store.GetExcludedApps(), DefaultExcludedApps());

    Settings changed = store.Snapshot();
    changed.Vertical.Smoothing = 4.0;
    store.Apply(changed, false);
    store.SetEnabled(false);
    store.AddExcludedApp(L"Editor");
    store.RemoveExcludedApp(L"CS2.EXE");
    store.SaveIfDirty();
    EXPECT_FALSE(store.RetryLoad()); // still held
    EXPECT_EQ(files.writeCount, 0);
    EXPECT_TRUE(store.HasUnsavedUserChanges());
    EXPECT_FALSE(store.IsEnabled()); // the changes work at once all the same

    files.unreadable.clear();
    EXPECT_TRUE(store.RetryLoad());
    EXPECT_FALSE(store.IsWaitingForFile());
    Settings expected = users;
    expected.Enabled = false;
    expected.Vertical.Smoothing = 4.0;
    expected.ExcludedApps = {L"mygame.exe", L"Editor.exe"};
    EXPECT_EQ(store.Snapshot(), expected);
    EXPECT_EQ(files.Text(Path), SerializeSettings(expected));
    EXPECT_EQ(files.writeCount, 1);
    EXPECT_FALSE(store.IsDirty());
    EXPECT_FALSE(store.HasUnsavedUserChanges());
    EXPECT_TRUE(files.rawFiles.empty()); // nothing to keep a copy of
    EXPECT_TRUE(store.RetryLoad());     // read once and for all
    EXPECT_EQ(files.writeCount, 1);

    // Held again later, and reset meanwhile: the reset wins over every value of the file.
    ConfigStore later(Path, files, autoStart);
    files.unreadable.insert(Path);
    later.Load();
    later.ResetToDefaults();
    files.unreadable.clear();
    EXPECT_TRUE(later.RetryLoad());
    Settings defaults;
    defaults.ExcludedApps = DefaultExcludedApps();
    EXPECT_EQ(files.Text(Path), SerializeSettings(defaults));

    // Missing when it can at last be looked at: the defaults with the changes are written.
    ConfigStore fresh(L"Z:\\new\\config.ini", files, autoStart);
    files.unreadable.insert(L"Z:\\new\\config.ini");
    fresh.Load();
    fresh.AddExcludedSite(L"example.org");
    files.unreadable.clear();
    EXPECT_TRUE(fresh.RetryLoad());
    EXPECT_TRUE(files.Text(L"Z:\\new\\config.ini").ends_with(L"[Sites]\r\nCount=1\r\nSite0=example.org\r\n"));
}

// A file the program cannot take as its own (another encoding, values it had to
// replace, a change under the profile calls' feet) is copied byte for byte beside it
// once, before the start-up rewrite; the program's own form is rewritten with no copy.
TEST_F(ConfigStoreTest, AFileNotInTheProgramsFormIsKeptAsBakBeforeItIsRewritten) {
    const std::wstring bak = Path + L".bak";
    const std::string utf8 = "[Vertical]\r\nSpeed=250\r\n; \xD0\xBC\xD0\xBE\xD0\xB9\r\n"; // a hand edit in UTF-8
    files.rawFiles[Path] = utf8;
    files.rawFiles[bak] = "an older copy";
    store.Load();
    EXPECT_EQ(files.rawFiles.at(bak), utf8);
    EXPECT_EQ(store.Snapshot().Vertical.Speed, 250);
    EXPECT_EQ(files.Text(Path), SerializeSettings(store.Snapshot()));

    ConfigStore again(Path, files, autoStart); // the next start: its own form now
    again.Load();
    EXPECT_EQ(files.rawFiles.at(bak), utf8);

    // The copy cannot be made: the file is not rewritten either, and the start-up
    // rewrite is no change of the user's.
    const std::string noise = {'\x00', '\x9C', '\xFF', '\x01', '['};
    files.rawFiles[Path] = noise;
    files.failWrites = true;
    ConfigStore refused(Path, files, autoStart);
    refused.Load();
    EXPECT_EQ(files.rawFiles.at(Path), noise);
    EXPECT_TRUE(refused.IsDirty());
    EXPECT_FALSE(refused.HasUnsavedUserChanges());
    files.failWrites = false;
    refused.SaveIfDirty();
    EXPECT_EQ(files.rawFiles.at(bak), noise);
    EXPECT_EQ(files.Text(Path), SerializeSettings(refused.Snapshot()));

    // Taken away and put back between the reads: not trusted, read again later.
    int reads = 0;
    files.onRead = [&] {
        if (++reads == 1) files.files[Path] = L"[Vertical]\r\nSpeed=90\r\n";
    };
    ConfigStore racing(Path, files, autoStart);
    racing.Load();
    EXPECT_TRUE(racing.IsWaitingForFile());
    EXPECT_TRUE(racing.RetryLoad());
    EXPECT_EQ(racing.Snapshot().Vertical.Speed, 90);
}
