#include <gtest/gtest.h>

#include "settings/ConfigStore.h"
#include "settings/SettingsFile.h"
#include "support/InMemoryConfigFiles.h"

namespace {

const std::wstring Path = L"Z:\\portable\\config.ini";

const wchar_t* const DefaultFile =
    L"[General]\r\nEnabled=1\r\n\r\n"
    L"[Vertical]\r\nSpeed=120\r\nDurationMs=280\r\nSmoothing=3.00\r\nAccelEnabled=1\r\nAccelStrength=2.00\r\n\r\n"
    L"[Horizontal]\r\nSpeed=120\r\nDurationMs=280\r\nSmoothing=3.00\r\nAccelEnabled=1\r\nAccelStrength=2.00\r\n\r\n"
    L"[Exclusions]\r\nCount=8\r\nApp0=cs2.exe\r\nApp1=valorant.exe\r\nApp2=dota2.exe\r\n"
    L"App3=league of legends.exe\r\nApp4=overwatch.exe\r\nApp5=blender.exe\r\nApp6=acad.exe\r\nApp7=photoshop.exe\r\n\r\n"
    L"[Sites]\r\nCount=0\r\n";

// Loads a store from the given file text and returns what the load wrote back.
struct Loaded {
    Settings settings;
    std::wstring written;
};

Loaded LoadFrom(const std::wstring& text) {
    InMemoryConfigFiles files;
    files.files[Path] = text;
    FakeAutoStart autoStart;
    ConfigStore store(Path, files, autoStart);
    store.Load();
    return {store.Snapshot(), files.Text(Path)};
}

std::wstring WithSection(const std::wstring& section) { return L"[General]\r\nEnabled=1\r\n" + section; }

} // namespace

// The defaults, written out; comments and unknown keys or sections are gone after a load.
TEST(SettingsFileTest, DefaultTextIsExact) {
    Settings settings;
    EXPECT_FALSE(settings.StartWithWindows); // kept in the registry, not in the file
    settings.ExcludedApps = DefaultExcludedApps();
    EXPECT_EQ(SerializeSettings(settings), DefaultFile);
    EXPECT_EQ(LoadFrom(L"; my notes\r\n[General]\r\nEnabled=1\r\nColour=red\r\n[Extra]\r\nA=1\r\n").written,
              DefaultFile);
}

TEST(SettingsFileTest, ListsAreRenumberedAndValuesWrittenAsStored) {
    Settings settings;
    settings.Vertical.Speed = -7; // never produced by the clamp, but written as a signed number
    settings.Horizontal.Smoothing = 2.5;
    settings.Horizontal.AccelStrength = 4.999;
    settings.ExcludedApps = {L"a b.exe", L"Игра.exe"};
    settings.ExcludedSites = {L"example.com/x"};
    const std::wstring text = SerializeSettings(settings);
    EXPECT_NE(text.find(L"[Vertical]\r\nSpeed=-7\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Smoothing=2.50\r\nAccelEnabled=1\r\nAccelStrength=5.00\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"[Exclusions]\r\nCount=2\r\nApp0=a b.exe\r\nApp1=Игра.exe\r\n\r\n"), std::wstring::npos);
    EXPECT_TRUE(text.ends_with(L"[Sites]\r\nCount=1\r\nSite0=example.com/x\r\n"));
}

TEST(SettingsFileTest, ValuesAreParsedAndClamped) {
    struct Case {
        const wchar_t* section;
        AxisSettings expected;
    };
    const Case cases[] = {
        {L"[Vertical]\r\nSmoothing=2.5\r\n", {120, 280, 2.5, true, 2.0}},
        {L"[Vertical]\r\nSmoothing=\r\n", {120, 280, 3.0, true, 2.0}},
        {L"[Vertical]\r\nSmoothing=abc\r\nAccelStrength=x\r\n", {120, 280, 2.0, true, 1.0}},
        {L"[Vertical]\r\nSpeed=900\r\nDurationMs=1\r\n", {480, 50, 3.0, true, 2.0}},
        {L"[Vertical]\r\nSmoothing=  4.75abc\r\nAccelEnabled=0\r\n", {120, 280, 4.75, false, 2.0}},
        {L"[Vertical]\r\nSpeed=-1000\r\nAccelEnabled=7\r\nAccelStrength=9e9\r\n", {30, 280, 3.0, true, 5.0}},
    };
    for (const Case& c : cases) {
        const Loaded loaded = LoadFrom(WithSection(c.section));
        EXPECT_EQ(loaded.settings.Vertical, c.expected) << c.section;
        EXPECT_EQ(loaded.settings.Horizontal, AxisSettings{});
    }
    EXPECT_NE(LoadFrom(WithSection(L"[Vertical]\r\nSmoothing=2.5\r\n")).written.find(L"Smoothing=2.50\r\n"),
              std::wstring::npos);
    EXPECT_FALSE(LoadFrom(L"[General]\r\nEnabled=0\r\n").settings.Enabled);
    EXPECT_TRUE(LoadFrom(L"[General]\r\nEnabled=2\r\n").settings.Enabled);
}

TEST(SettingsFileTest, ApplicationList) {
    // No "Count": the defaults, and the save replaces the user's keys with them.
    Loaded loaded = LoadFrom(WithSection(L"[Exclusions]\r\nApp0=mine.exe\r\n"));
    EXPECT_EQ(loaded.settings.ExcludedApps, DefaultExcludedApps());
    EXPECT_EQ(loaded.written.find(L"mine.exe"), std::wstring::npos);

    loaded = LoadFrom(WithSection(L"[Exclusions]\r\nCount=1\r\nApp0=Game\r\n"));
    EXPECT_EQ(loaded.settings.ExcludedApps, std::vector<std::wstring>{L"Game.exe"});

    loaded = LoadFrom(WithSection(L"[Exclusions]\r\nCount=3\r\nApp0=a.exe\r\nApp2=c.exe\r\nApp3=d.exe\r\n"));
    EXPECT_EQ(loaded.settings.ExcludedApps, (std::vector<std::wstring>{L"a.exe", L"c.exe"}));
    EXPECT_NE(loaded.written.find(L"[Exclusions]\r\nCount=2\r\nApp0=a.exe\r\nApp1=c.exe\r\n\r\n"), std::wstring::npos);

    // Entries from the file are taken as they are: duplicates survive, blanks go.
    loaded = LoadFrom(WithSection(L"[Exclusions]\r\nCount=3\r\nApp0=X.exe\r\nApp1=x.exe\r\nApp2=\"  \"\r\n"));
    EXPECT_EQ(loaded.settings.ExcludedApps, (std::vector<std::wstring>{L"X.exe", L"x.exe"}));

    loaded = LoadFrom(WithSection(L"[Exclusions]\r\nCount=0\r\n"));
    EXPECT_TRUE(loaded.settings.ExcludedApps.empty());
}

TEST(SettingsFileTest, SiteListIsNormalised) {
    const Loaded loaded =
        LoadFrom(WithSection(L"[Sites]\r\nCount=3\r\nSite0=WWW.Example.COM/\r\nSite1=https://docs.x.org/a/b\r\nSite2=  \r\n"));
    EXPECT_EQ(loaded.settings.ExcludedSites, (std::vector<std::wstring>{L"example.com", L"docs.x.org"}));
    EXPECT_NE(loaded.written.find(L"[Sites]\r\nCount=2\r\nSite0=example.com\r\nSite1=docs.x.org\r\n"),
              std::wstring::npos);
    EXPECT_TRUE(LoadFrom(WithSection(L"[Sites]\r\nSite0=example.com\r\n")).settings.ExcludedSites.empty());
}

TEST(SettingsFileTest, TheNextStartReadsWhatALoadWrote) {
    // Entries that came back changed at the next start: a name grown by ".exe" past what the
    // reader takes of a value, a blank or a tab left at an end of a rule once a prefix was cut.
    const Loaded first = LoadFrom(WithSection(L"[Exclusions]\r\nCount=2\r\nApp0=" + std::wstring(256, L'g') +
                                              L"\r\nApp1=Game\r\n[Sites]\r\nCount=4\r\nSite0=*. News Site\r\n"
                                              L"Site1=example.com\t/\r\nSite2=http://\texample.org\r\nSite3=Example.net/Docs/\r\n"));
    EXPECT_EQ(first.settings.ExcludedApps, std::vector<std::wstring>{L"Game.exe"});
    EXPECT_EQ(first.settings.ExcludedSites, (std::vector<std::wstring>{L"news site", L"example.net/docs"}));
    const Loaded second = LoadFrom(first.written);
    EXPECT_EQ(second.settings, first.settings);
    EXPECT_EQ(second.written, first.written);
}

TEST(SettingsFileTest, HugeCountsAreBounded) {
    const std::wstring last = std::to_wstring(MaxListEntriesRead - 1), beyond = std::to_wstring(MaxListEntriesRead);
    const Loaded loaded = LoadFrom(WithSection(L"[Exclusions]\r\nCount=2147483647\r\nApp0=a.exe\r\n"
                                               L"[Sites]\r\nCount=2147483647\r\nSite0=first.org\r\n"
                                               L"Site" + last + L"=last.org\r\nSite" + beyond + L"=beyond.org\r\n"));
    EXPECT_EQ(loaded.settings.ExcludedApps, std::vector<std::wstring>{L"a.exe"});
    EXPECT_EQ(loaded.settings.ExcludedSites, (std::vector<std::wstring>{L"first.org", L"last.org"}));

    // A negative count (or one that wraps to it) means "not given" for applications, none for sites.
    const Loaded negative = LoadFrom(WithSection(L"[Exclusions]\r\nCount=4294967295\r\n[Sites]\r\nCount=-3\r\n"));
    EXPECT_EQ(negative.settings.ExcludedApps, DefaultExcludedApps());
    EXPECT_TRUE(negative.settings.ExcludedSites.empty());
}
