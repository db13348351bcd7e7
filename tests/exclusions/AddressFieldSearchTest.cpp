#include <gtest/gtest.h>

#include <vector>

#include "exclusions/AddressFieldSearch.h"
#include "support/FakeAutomationTree.h"

namespace {
constexpr WindowId Browser = 0x1234;
using Tree = FakeAutomationTree;
} // namespace

TEST(AddressFieldSearchTest, PreOrderSkipsContentTabsAndBookmarksAndKeepsOnlyTheField) {
    Tree tree;
    const int root = tree.AddRoot(Browser);
    const int view = tree.Add(root, Tree::Pane, L"BrowserView");
    const int document = tree.Add(view, Tree::Document);
    const int top = tree.Add(view, Tree::Pane, L"TopContainerView");
    const int tabs = tree.Add(top, Tree::Tab);
    const int bookmarks = tree.Add(top, Tree::Pane, L"BookmarkBarView");
    const int content = tree.Add(top, Tree::Pane, L"Chrome_RenderWidgetHostHWND");
    const int otherEdit = tree.Add(top, Tree::Edit, L"Textfield");
    const int location = tree.Add(top, Tree::Group, L"LocationBarView");
    const int field = tree.AddAddressField(location, L"example.com");
    const int later = tree.AddAddressField(top, L"never examined");
    const int rest = tree.Add(root, Tree::Pane, L"Rest");
    tree.Add(rest, Tree::Pane);
    // Fields inside the skipped subtrees would be found first if they were entered.
    const std::vector<int> hidden = {tree.AddAddressField(document, L"in the page"),
                                     tree.AddAddressField(tabs, L"in a tab"),
                                     tree.AddAddressField(bookmarks, L"in the bookmarks"),
                                     tree.AddAddressField(content, L"in the content")};

    ElementRef found = FindAddressField(tree, Browser);
    ASSERT_TRUE(found);
    EXPECT_EQ(Tree::IdOf(found.get()), field);
    EXPECT_EQ(tree.examined,
              (std::vector<int>{root, view, document, top, tabs, bookmarks, content, otherEdit, location, field}));
    for (int id : hidden) EXPECT_EQ(tree[id].obtained, 0) << "a skipped subtree was entered";
    // Siblings already fetched are released unexamined; the field is the one reference kept.
    EXPECT_EQ(tree[later].obtained, 1);
    EXPECT_EQ(tree[rest].obtained, 1);
    EXPECT_EQ(tree.Outstanding(), 1);
    EXPECT_EQ(tree[field].obtained - tree[field].released, 1);
    found.reset();
    EXPECT_EQ(tree.Outstanding(), 0);
    EXPECT_FALSE(tree.AnyReleasedTwice());
    EXPECT_EQ(tree.useAfterRelease, 0);

    // A window without an element, or no automation at all, finds nothing.
    EXPECT_FALSE(FindAddressField(tree, 0x9999));
    EXPECT_EQ(tree.Outstanding(), 0);
    const int requests = tree.rootRequests;
    tree.canSearch = false;
    EXPECT_FALSE(FindAddressField(tree, Browser));
    EXPECT_EQ(tree.rootRequests, requests);
}

TEST(AddressFieldSearchTest, ExaminesAtMostSixHundredElementsWideOrDeep) {
    struct Case {
        const char* shape;
        bool deep;
        int fieldPosition; // 1-based place of the field in examination order
        bool found;
    };
    for (const Case& c : {Case{"wide", false, 600, true}, Case{"wide", false, 601, false},
                          Case{"deep", true, 600, true}, Case{"deep", true, 601, false}}) {
        SCOPED_TRACE(testing::Message() << c.shape << ", field examined as number " << c.fieldPosition);
        Tree tree;
        const int root = tree.AddRoot(Browser);
        int parent = root;
        for (int position = 2; position <= 2000; ++position) {
            const int id = position == c.fieldPosition ? tree.AddAddressField(parent, L"x") : tree.Add(parent, Tree::Pane);
            if (c.deep) parent = id;
        }
        ElementRef found = FindAddressField(tree, Browser);
        EXPECT_EQ(static_cast<bool>(found), c.found);
        EXPECT_EQ(tree.examined.size(), static_cast<size_t>(c.found ? c.fieldPosition : AddressFieldSearchBound));
        found.reset();
        EXPECT_EQ(tree.Outstanding(), 0);
        EXPECT_FALSE(tree.AnyReleasedTwice());
    }
}
