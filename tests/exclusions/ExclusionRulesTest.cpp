#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "exclusions/ExclusionRules.h"
#include "settings/ConfigStore.h"
#include "settings/TextCase.h"
#include "support/InMemoryConfigFiles.h"

namespace {

struct TextCase {
    const wchar_t* input;
    const wchar_t* expected;
};

// A rule (or none) against an address (normalised; empty when the browser gave none) and a tab title.
struct MatchCase {
    const wchar_t* rule;
    const wchar_t* address;
    const wchar_t* title;
    bool expected;
};

// Wide text goes through testing::Message, which writes it out as UTF-8.
testing::Message Shown(const wchar_t* text) { return testing::Message() << "\"" << text << "\""; }

testing::Message Shown(const MatchCase& c) {
    return testing::Message() << "rule \"" << c.rule << "\", address \"" << c.address << "\", title \"" << c.title
                              << "\"";
}

template <typename Normalize>
void ExpectNormalized(Normalize normalize, std::initializer_list<TextCase> cases) {
    for (const TextCase& c : cases) {
        SCOPED_TRACE(Shown(c.input));
        EXPECT_EQ(normalize(c.input), c.expected);
    }
}

class ExclusionRulesTest : public ::testing::Test {
protected:
    // The hook's two questions as it asks them: the process name brought to rule form,
    // the title lower-cased, both against a store's published snapshot.
    static bool AppExcluded(const ConfigStore& store, std::wstring_view processName) {
        std::wstring name;
        ExclusionRules::ToAppRuleName(processName, name);
        return ExclusionRules::IsAppExcluded(*store.Current(), name);
    }
    static bool SiteExcluded(const ConfigStore& store, std::wstring_view address, std::wstring_view title) {
        return ExclusionRules::IsSiteExcluded(*store.Current(), address, ToLowerCopy(std::wstring(title)));
    }

    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store{L"C:\\cfg\\config.ini", files, autoStart};
};

} // namespace

TEST_F(ExclusionRulesTest, NormalizeAppEntry) {
    ExpectNormalized(ExclusionRules::NormalizeAppEntry, {
        // A bare name becomes an executable name; the case stays as typed.
        {L"Game", L"Game.exe"}, {L"league of legends", L"league of legends.exe"}, {L"Игра", L"Игра.exe"},
        // A dot anywhere means the user wrote the whole name: nothing is appended.
        {L"notepad.exe", L"notepad.exe"}, {L"game.v1.2", L"game.v1.2"},
        // Blanks and quotes go at both ends only.
        {L"  \t\"Game.exe\"\r\n", L"Game.exe"}, {L"my\"app", L"my\"app.exe"},
        // A path, quoted or not, with either separator, is cut to its file name.
        {L"\"C:\\Program Files\\Studio\\Studio.exe\"", L"Studio.exe"}, {L"C:\\Games\\Tool", L"Tool.exe"},
        {L"D:/games/tool.exe", L"tool.exe"}, {L"C:\\one/two\\Three", L"Three.exe"},
        {L"C:/one\\two/Three.bin", L"Three.bin"},
        // The file name is trimmed again after the cut.
        {L"C:\\Games\\  \"tool", L"tool.exe"}, {L"\"C:\\Games\\ My Tool \"", L"My Tool.exe"},
        // Rejected: nothing left once blanks, quotes and folders are gone.
        {L"", L""}, {L"   ", L""}, {L"\"\"", L""}, {L" \" \t\" ", L""}, {L"C:\\Games\\", L""},
        {L"\"C:\\Games\\\"", L""}, {L"tools/", L""}, {L"\\", L""}, {L"C:\\Games\\ \" ", L""},
        // A line break inside can be neither in a file name nor on one line of the file.
        {L"Game\r\nHack", L""}, {L"C:\\Games\\My\nTool.exe", L""},
    });
    // No file name is longer than 255 characters; a longer entry would also come back cut from the file.
    EXPECT_EQ(ExclusionRules::NormalizeAppEntry(std::wstring(251, L'g')), std::wstring(251, L'g') + L".exe");
    EXPECT_EQ(ExclusionRules::NormalizeAppEntry(L"C:\\" + std::wstring(255, L'g') + L".x"), L"");
    EXPECT_EQ(ExclusionRules::NormalizeAppEntry(std::wstring(252, L'g')), L"");
}

TEST_F(ExclusionRulesTest, NormalizeAddress) {
    ExpectNormalized(ExclusionRules::NormalizeAddress, {
        {L"", L""}, {L" \t\r\n", L""}, {L"example.com", L"example.com"},
        // Everything at once, in capitals, with blanks around it.
        {L"  HTTPS://WWW.Example.COM:8443/Docs/Guide///?Lang=EN#Intro \r\n", L"example.com/docs/guide"},
        {L"\tExample.COM/Path\r\n", L"example.com/path"}, {L"ЮТУБ.РФ/Видео", L"ютуб.рф/видео"},
        // A space inside makes it a search phrase, not an address.
        {L"velvetglide smooth scrolling", L""}, {L"  Example.com/a b  ", L""},
        // The scheme goes up to the first "://", wherever it is.
        {L"http://example.com/", L"example.com"}, {L"ftp://files.example.com/pub", L"files.example.com/pub"},
        {L"://example.com", L"example.com"}, {L"a://b", L"b"}, {L"://", L""}, {L"http://", L""},
        {L"http://example.com/redirect?to=https://other.org/x", L"example.com/redirect"},
        {L"example.com/go://next", L"next"},
        // One leading "www." label goes, and only when followed by a dot.
        {L"www.example.com", L"example.com"}, {L"https://www.example.com", L"example.com"},
        {L"www.www.example.com", L"www.example.com"}, {L"www", L"www"}, {L"wwwexample.com", L"wwwexample.com"},
        {L"news.www.example.com", L"news.www.example.com"}, {L"www.", L""},
        // Query and fragment are cut at the first of either.
        {L"example.com/search?q=a/b", L"example.com/search"}, {L"example.com/page#part?x=1", L"example.com/page"},
        {L"example.com#/route", L"example.com"}, {L"?q=1", L""},
        // The port goes, with or without a path; a colon in the path is no port.
        {L"example.com:8080", L"example.com"}, {L"example.com:8080/a/b", L"example.com/a/b"},
        {L"example.com:80/", L"example.com"}, {L"localhost:3000", L"localhost"}, {L"example.com:", L"example.com"},
        {L"example.com/a:b", L"example.com/a:b"},
        // Trailing slashes go, every one of them.
        {L"example.com///", L"example.com"}, {L"example.com/a//", L"example.com/a"}, {L"///", L""},
        // Tabs and line breaks inside are no address either (the cuts would leave them at the ends).
        {L"example.com\t/", L""}, {L"http://\texample.com", L""}, {L"example.com/a\r\nb", L""},
    });
}

TEST_F(ExclusionRulesTest, NormalizeSiteEntry) {
    ExpectNormalized(ExclusionRules::NormalizeSiteEntry, {
        {L"Example.com", L"example.com"}, {L"ЮТУБ", L"ютуб"}, {L"example", L"example"}, {L"www", L"www"},
        // Without a scheme the path the user wrote stays; with one, only the host does.
        {L"  example.com/Docs/  ", L"example.com/docs"}, {L"example.com/docs/page?x=1", L"example.com/docs/page"},
        {L"https://example.com/docs/page?x=1", L"example.com"}, {L"https://example.com", L"example.com"},
        {L"HTTPS://WWW.Example.COM:8443/Docs", L"example.com"}, {L"www.example.com:8080/docs/", L"example.com/docs"},
        {L"http://localhost:3000/app", L"localhost"}, {L"localhost:3000/app", L"localhost/app"},
        // "*." is the same as the plain host, once; blanks after it go too.
        {L"*.example.com", L"example.com"}, {L"*.Example.com/docs", L"example.com/docs"},
        {L"*.*.example.com", L"*.example.com"}, {L"*. News Site", L"news site"}, {L"*.\tExample.com/", L"example.com"},
        // Several words: lower-cased and otherwise kept exactly as typed.
        {L"  My Favourite  Site ", L"my favourite  site"}, {L"Some Site.com/Page?X#y", L"some site.com/page?x#y"},
        {L"https://www.example.com search", L"https://www.example.com search"}, {L"*.News Site", L"news site"},
        {L"Новости Дня", L"новости дня"},
        // Quotes are not blanks for sites.
        {L"\"example.com\"", L"\"example.com\""},
        // Rejected.
        {L"", L""}, {L"  \r\n", L""}, {L"*.", L""}, {L"https://", L""}, {L"://", L""}, {L"/", L""}, {L"?q=1", L""},
        {L"example.com\t/", L""}, {L"news site\r\n[General]", L""},
    });
}

TEST_F(ExclusionRulesTest, SiteRuleMatches) {
    const MatchCase cases[] = {
        // An empty rule matches nothing, not even an empty title.
        {L"", L"example.com", L"Example", false}, {L"", L"", L"", false},

        // Domain rule against an address: the host itself or any subdomain.
        {L"example.com", L"example.com", L"", true}, {L"example.com", L"news.example.com", L"", true},
        {L"example.com", L"a.b.news.example.com", L"", true}, {L"example.com", L"badexample.com", L"", false},
        {L"example.com", L"example.com.evil.net", L"", false}, {L"example.com", L"example.co", L"", false},
        {L"news.example.com", L"example.com", L"", false},
        {L"news.example.com", L"othernews.example.com", L"", false},
        // With an address known, the title is not consulted.
        {L"example.com", L"other.org", L"Example.com — home", false},
        // A rule without a path covers every path of the host.
        {L"example.com", L"example.com/any/path", L"", true},
        // A rule path covers itself and what is below it, not siblings or parents.
        {L"example.com/docs", L"example.com/docs", L"", true},
        {L"example.com/docs", L"example.com/docs/guide/intro", L"", true},
        {L"example.com/docs", L"sub.example.com/docs/x", L"", true},
        {L"example.com/docs", L"example.com/docsearch", L"", false},
        {L"example.com/docs", L"example.com/doc", L"", false}, {L"example.com/docs", L"example.com", L"", false},
        {L"example.com/docs", L"example.com/other/docs", L"", false},
        {L"example.com/docs", L"other.com/docs", L"", false}, {L"example.com/docs", L"badexample.com/docs", L"", false},
        {L"example.com/docs/guide", L"example.com/docs", L"", false},

        // No address: a host-only rule looks for its second-level label in the title.
        {L"example.com", L"", L"Example Domain — Browser", true}, {L"example.com", L"", L"EXAMPLE", true},
        {L"example.com", L"", L"Welcome", false}, {L"example.com", L"", L"Community forum", false},
        {L"news.example.com", L"", L"Example: breaking stories", true},
        {L"news.example.com", L"", L"Latest news", false}, {L"mail.google.com", L"", L"Inbox - Google", true},
        {L"ютуб.рф", L"", L"ЮТУБ — видео", true}, {L"café.fr", L"", L"CAFÉ de Paris", true},
        // Exactly three characters are enough; one or two never match.
        {L"abc.com", L"", L"ABC News", true}, {L"ok.ru", L"", L"OK — социальная сеть", false},
        {L"x.com", L"", L"X. It's what's happening", false}, {L"bbc.co.uk", L"", L"BBC Co Home", false},
        // A host whose only dot leads is its own label, dot included.
        {L".com", L"", L"Shop.COM deals", true}, {L".com", L"", L"Company news", false},
        // A rule with a path never matches by title.
        {L"example.com/docs", L"", L"Example docs", false},

        // Word rules: the title in any case, or the address host; never the path.
        {L"ютуб", L"", L"ЮТУБ — видео", true}, {L"ютуб", L"", L"Главная", false},
        {L"youtube", L"", L"Funny cats - YouTube", true}, {L"youtube", L"", L"Funny cats", false},
        {L"youtube", L"m.youtube.com", L"Funny cats", true}, {L"tube", L"youtube.com", L"", true},
        {L"cats", L"video.example.com", L"Funny Cats", true}, {L"docs", L"example.com/docs", L"Example", false},
        {L"docs", L"example.com/docs/docs", L"", false}, {L"ютуб", L"ютуб.рф", L"", true},
        // Several words: a plain substring, even with a dot in it.
        {L"my site", L"", L"Welcome to My Site!", true}, {L"my site", L"mysite.com", L"Home", false},
        {L"some site.com", L"", L"Visit Some Site.com Today", true},
        {L"some site.com", L"example.com", L"Some Site.com", true},
        {L"some site.com", L"some-site.com", L"some-site.com", false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(Shown(c));
        EXPECT_EQ(ExclusionRules::SiteRuleMatches(c.rule, c.address, c.title), c.expected);
    }
}

TEST_F(ExclusionRulesTest, IsAppExcludedByDefaultAndAddedEntries) {
    store.AddExcludedApp(L"\"C:\\Tools\\Editor\"");
    store.AddExcludedApp(L"Game v1.2");
    store.AddExcludedApp(L"Игра");
    const std::pair<const wchar_t*, bool> cases[] = {
        // Names a new store starts with, in any case; the process name is trimmed of blanks and quotes.
        {L"cs2.exe", true}, {L"league of legends.exe", true}, {L"photoshop.exe", true}, {L"CS2.EXE", true},
        {L"Photoshop.Exe", true}, {L"League Of Legends.EXE", true}, {L"  \"Blender.exe\"\t", true},
        {L"\r\nacad.exe\n", true},
        // Whole names only: no ".exe" added, no prefix, suffix or folder.
        {L"cs2", false}, {L"cs2.exe.bak", false}, {L"cs.exe", false}, {L"xcs2.exe", false},
        {L"C:\\Games\\cs2.exe", false}, {L"notepad.exe", false}, {L"", false}, {L"  \"\" \t", false},
        // Added entries: an entry with a dot got no ".exe" and matches only as written.
        {L"editor.exe", true}, {L"EDITOR.EXE", true}, {L"Editor", false}, {L"game v1.2", true},
        {L"GAME V1.2", true}, {L"Game v1.2.exe", false},
        // Cyrillic names fold too, on the entry and on the process name.
        {L"ИГРА.EXE", true}, {L"игра.exe", true}, {L"игра", false},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(Shown(name));
        EXPECT_EQ(AppExcluded(store, name), expected);
    }
}

TEST_F(ExclusionRulesTest, IsSiteExcludedWithNoRulesAndWithRulesInEitherOrder) {
    const wchar_t* const entries[] = {
        L"https://www.YouTube.com/watch?v=1", // → youtube.com
        L"*.Example.org/Docs/",               // → example.org/docs
        L"ЮТУБ",                              // → ютуб
        L"Breaking News",                     // → breaking news
    };
    ConfigStore backward(L"C:\\cfg\\other.ini", files, autoStart), empty(L"C:\\cfg\\none.ini", files, autoStart);
    for (const wchar_t* entry : entries) store.AddExcludedSite(entry);
    for (auto it = std::rbegin(entries); it != std::rend(entries); ++it) backward.AddExcludedSite(*it);

    const MatchCase cases[] = {
        {L"", L"youtube.com", L"", true}, {L"", L"m.youtube.com", L"", true}, {L"", L"notyoutube.com", L"", false},
        {L"", L"example.org/docs/api", L"", true}, {L"", L"api.example.org/docs", L"", true},
        {L"", L"example.org/docsearch", L"", false}, {L"", L"example.org", L"Example docs", false},
        {L"", L"", L"YouTube", true}, {L"", L"", L"Example.org docs", false}, {L"", L"", L"ЮТУБ — видео", true},
        {L"", L"ютуб.рф", L"", true}, {L"", L"news.site.com", L"BREAKING NEWS today", true},
        {L"", L"news.site.com", L"Weather", false}, {L"", L"", L"", false},
    };
    // Which rule matches first must not change the answer; without rules nothing is excluded.
    for (const ConfigStore* rules : {&store, &backward, &empty}) {
        SCOPED_TRACE(rules == &store ? "rules in entry order" : rules == &backward ? "reverse order" : "no rules");
        EXPECT_EQ(rules->HasSiteExclusions(), rules != &empty);
        for (const MatchCase& c : cases) {
            SCOPED_TRACE(testing::Message() << "address \"" << c.address << "\", title \"" << c.title << "\"");
            EXPECT_EQ(SiteExcluded(*rules, c.address, c.title), c.expected && rules != &empty);
        }
    }
}
