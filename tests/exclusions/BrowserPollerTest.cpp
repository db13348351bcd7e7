#include <gtest/gtest.h>

#include <string>

#include "exclusions/AddressBook.h"
#include "exclusions/BrowserPoller.h"
#include "settings/ConfigStore.h"
#include "support/FakeAutomationTree.h"
#include "support/FakeDesktop.h"
#include "support/InMemoryConfigFiles.h"

namespace {

using Tree = FakeAutomationTree;

constexpr uint32_t Chrome = 10, Firefox = 20, Electron = 30, Unreadable = 40, Edge = 50;

class BrowserPollerTest : public ::testing::Test {
protected:
    BrowserPollerTest() {
        desktop.imagePaths = {{Chrome, L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe"},
                              {Firefox, L"C:\\Program Files\\Mozilla Firefox\\firefox.exe"},
                              {Electron, L"C:\\Apps\\Chat\\chat.exe"},
                              {Edge, L"C:\\Program Files\\Microsoft\\Edge\\MSEDGE.EXE"}};
        store.AddExcludedSite(L"example.com");
    }
    // A Chromium window whose tree holds an address field with this text.
    int OpenChromeWindow(WindowId id, const std::wstring& address, uint32_t processId = Chrome) {
        desktop.Open(id, processId);
        const int toolbar = tree.Add(tree.AddRoot(id), Tree::Pane, L"ToolbarView");
        return tree.AddAddressField(toolbar, address);
    }

    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store{L"C:\\cfg\\config.ini", files, autoStart};
    FakeDesktop desktop;
    Tree tree;
    AddressBook addresses;
    BrowserPoller poller{desktop, tree, addresses, store};
};

} // namespace

TEST_F(BrowserPollerTest, PublishesChromiumAddressesTracksFirefoxAndIgnoresTheRest) {
    OpenChromeWindow(1, L"https://www.Example.com:8080/Docs/?q=1#top");
    OpenChromeWindow(2, L"how to bake bread", Edge); // a search phrase typed into the field
    desktop.Open(3, Firefox, L"MozillaWindowClass");
    OpenChromeWindow(4, L"chat.example.com", Electron); // same window class, not a browser
    OpenChromeWindow(5, L"hidden.example.com");
    desktop.windows.at(5).visible = false;
    OpenChromeWindow(6, L"untitled.example.com");
    desktop.windows.at(6).title = L"";
    desktop.Open(7, Chrome, L"Chrome_WidgetWin_0");
    OpenChromeWindow(8, L"unreadable.example.com", Unreadable);

    poller.Poll();
    EXPECT_EQ(addresses.Read().Get(1), L"example.com/docs");
    EXPECT_EQ(addresses.Read().Get(2), L"");
    EXPECT_EQ(addresses.Read().Size(), 2u); // the empty address is published too; nothing for Firefox
    EXPECT_EQ(poller.WatchedCount(), 3u);
    ASSERT_NE(poller.Find(3), nullptr);
    EXPECT_EQ(poller.Find(3)->Title, L"Page");
    for (WindowId ignored : {4, 5, 6, 7, 8}) EXPECT_EQ(poller.Find(ignored), nullptr) << ignored;
    EXPECT_EQ(tree.rootRequests, 2); // only the two Chromium windows were searched
    EXPECT_EQ(tree.Outstanding(), 2); // their fields are kept

    // Closing one window and hiding the other erases them at the next poll.
    desktop.Close(1);
    desktop.windows.at(2).visible = false;
    poller.Poll();
    EXPECT_EQ(addresses.Read().Size(), 0u);
    EXPECT_EQ(poller.WatchedCount(), 1u);
    EXPECT_EQ(tree.Outstanding(), 0);

    // An empty site list releases everything and asks nothing more of the desktop; a rule starts afresh.
    desktop.windows.at(2).visible = true;
    poller.Poll();
    ASSERT_EQ(tree.Outstanding(), 1);
    store.RemoveExcludedSite(L"example.com");
    poller.Poll();
    EXPECT_EQ(poller.WatchedCount(), 0u);
    EXPECT_EQ(addresses.Read().Size(), 0u);
    EXPECT_EQ(tree.Outstanding(), 0);
    poller.Poll();
    EXPECT_EQ(desktop.enumerations, 3);
    store.AddExcludedSite(L"example.com");
    poller.Poll();
    EXPECT_EQ(tree.rootRequests, 4);
    EXPECT_EQ(addresses.Read().Size(), 1u);
    EXPECT_EQ(poller.WatchedCount(), 2u);
    EXPECT_FALSE(tree.AnyReleasedTwice());
}

TEST_F(BrowserPollerTest, ReadsAgainOnATitleChangeOrInTheForegroundAfterTwoSeconds) {
    const int front = OpenChromeWindow(1, L"example.com/a");
    const int back = OpenChromeWindow(2, L"example.org/a");
    desktop.foreground = 1;
    poller.Poll();
    EXPECT_EQ(tree.valueReads, 2);

    // Navigation that keeps the titles: nothing is read until the foreground window's turn.
    tree[front].value = L"example.com/b";
    tree[back].value = L"example.org/b";
    for (uint64_t t : {1300u, 2000u, 3000u}) {
        desktop.now = t;
        poller.Poll();
    }
    EXPECT_EQ(tree.valueReads, 2);
    EXPECT_EQ(addresses.Read().Get(1), L"example.com/a");
    desktop.now = 3001;
    poller.Poll();
    EXPECT_EQ(tree.valueReads, 3);
    EXPECT_EQ(addresses.Read().Get(1), L"example.com/b");
    EXPECT_EQ(addresses.Read().Get(2), L"example.org/a"); // a background window keeps its last address

    desktop.now = 3300;
    desktop.windows.at(2).title = L"Other page";
    poller.Poll();
    EXPECT_EQ(addresses.Read().Get(2), L"example.org/b");
    EXPECT_EQ(tree.rootRequests, 2); // each field was found once and reused
}

TEST_F(BrowserPollerTest, SearchesAtMostEveryThirtySecondsAndAgainAtOnceWhenTheFieldFails) {
    desktop.Open(1, Chrome);
    const int root = tree.AddRoot(1);
    int title = 0;
    auto pollWithNewTitle = [&](uint64_t now) {
        desktop.now = now;
        desktop.windows.at(1).title = L"Title " + std::to_wstring(++title);
        poller.Poll();
    };

    pollWithNewTitle(1000); // no field in the tree yet
    EXPECT_EQ(tree.rootRequests, 1);
    EXPECT_EQ(addresses.Read().Size(), 1u);
    EXPECT_EQ(addresses.Read().Get(1), L"");
    const int field = tree.AddAddressField(root, L"example.com/x");
    for (uint64_t t : {1300u, 20000u, 30999u}) pollWithNewTitle(t);
    EXPECT_EQ(tree.rootRequests, 1);
    EXPECT_EQ(addresses.Read().Get(1), L"");
    pollWithNewTitle(31000);
    EXPECT_EQ(tree.rootRequests, 2);
    EXPECT_EQ(addresses.Read().Get(1), L"example.com/x");

    // A failed read, or a value that is not a string, drops the element and publishes the
    // empty address; the next read searches again at once.
    int searches = tree.rootRequests;
    uint64_t now = 31000;
    for (bool Tree::Node::*failure : {&Tree::Node::valueReadable, &Tree::Node::valueIsString}) {
        tree[field].*failure = false;
        pollWithNewTitle(now += 300);
        EXPECT_EQ(addresses.Read().Get(1), L"");
        EXPECT_EQ(tree.Outstanding(), 0);
        tree[field].*failure = true;
        pollWithNewTitle(now += 300);
        EXPECT_EQ(tree.rootRequests, ++searches);
        EXPECT_EQ(addresses.Read().Get(1), L"example.com/x");
    }
    EXPECT_FALSE(tree.AnyReleasedTwice());
    EXPECT_EQ(tree.useAfterRelease, 0);
}

TEST(BrowserKindCacheTest, KeepsEachAnswerAMinuteAndEmptiesAboveTheBound) {
    FakeDesktop desktop;
    desktop.imagePaths = {{Chrome, L"C:\\chrome\\Chrome.exe"}, {Firefox, L"D:/portable/firefox.exe"}};
    BrowserKindCache cache;
    EXPECT_EQ(cache.Get(Chrome, desktop), BrowserKind::ChromiumFamily);
    EXPECT_EQ(cache.Get(Firefox, desktop), BrowserKind::FirefoxFamily);
    EXPECT_EQ(cache.Get(Unreadable, desktop), BrowserKind::None);
    EXPECT_EQ(desktop.imageReads, 3);

    // Within the minute the old answers hold, even for a process id taken over by a browser.
    desktop.imagePaths[Unreadable] = L"C:\\b\\brave.exe";
    desktop.now += 59999;
    EXPECT_EQ(cache.Get(Unreadable, desktop), BrowserKind::None);
    EXPECT_EQ(desktop.imageReads, 3);
    desktop.now += 1;
    EXPECT_EQ(cache.Get(Unreadable, desktop), BrowserKind::ChromiumFamily);
    EXPECT_EQ(desktop.imageReads, 4);

    for (uint32_t id = 1000; cache.Size() <= BrowserKindCache::MaxEntries; ++id) cache.Get(id, desktop);
    EXPECT_EQ(cache.Size(), BrowserKindCache::MaxEntries + 1);
    cache.Get(Chrome, desktop);
    EXPECT_EQ(cache.Size(), 1u);
}
