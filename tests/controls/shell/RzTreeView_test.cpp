// The framed tree view: text import and export, item height, frame hot tracking, state
// colours, image requests and context menus.
#include <gtest/gtest.h>

#include "controls/shell/RzTreeView.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Messages.h"

namespace {

TStringList Lines(std::initializer_list<const char*> lines) {
    TStringList list;
    for (const char* l : lines) list.Add(l);
    return list;
}

TEST(RzTreeView, LoadAndSaveRoundTripIndentedText) {
    TRzTreeView tree(nullptr);
    tree.LoadFromStrings(Lines({" Root", "  Child", "\t  Grand", "", " \tSecond", " Other"}));
    TStringList out;
    tree.SaveToStrings(out);
    EXPECT_EQ(out.Text(), "Root\r\n\tChild\r\n\t\tGrand\r\n\tSecond\r\nOther\r\n");
    tree.LoadFromStrings(out);  // tab-indented text reads back the same tree
    TStringList again;
    tree.SaveToStrings(again);
    EXPECT_EQ(again.Text(), out.Text());
}

TEST(RzTreeView, LevelsThatSkipOrClimbAboveTheFirstLineAreRejected) {
    struct Case {
        std::initializer_list<const char*> lines;
        const char* message;
    } const cases[] = {
        {{"a", "\tb", "\t\t\tc"}, "Invalid level (3) for item \"c\""},
        {{"\ta", "\t\tb", "c"}, "Invalid level (0) for item \"c\""},  // above an indented first line
    };
    for (const Case& c : cases) {
        TRzTreeView tree(nullptr);
        try {
            tree.LoadFromStrings(Lines(c.lines));
            ADD_FAILURE() << "no error";
        } catch (const ETreeViewError& e) {
            EXPECT_EQ(e.Message(), Utf8ToUtf16(c.message));
        }
        EXPECT_FALSE(tree.Items()->Updating());
    }
}

TEST(RzTreeView, NegativeItemHeightIsStoredAsZeroAndAsksForThePlatformHeight) {
    SetGuiThread();
    Application->Initialize();
    TForm form(nullptr);
    auto* tree = new TRzTreeView(&form);
    tree->SetParent(&form);
    tree->HandleNeeded();
    std::vector<WPARAM> heights;
    const auto original = tree->WindowProc;
    tree->WindowProc = [&](TMessage& m) {
        if (m.Msg == TVM_SETITEMHEIGHT) heights.push_back(m.WParam);
        original(m);
    };
    tree->SetFramedItemHeight(-5);
    EXPECT_EQ(tree->FramedItemHeight(), 0);
    tree->SetFramedItemHeight(20);
    EXPECT_EQ(heights, (std::vector<WPARAM>{static_cast<WPARAM>(-1), 20})) << "-1 asks for the platform's height";
    tree->WindowProc = original;
}

TEST(RzTreeView, ColourFollowsTheEnabledState) {
    TRzTreeView tree(nullptr);
    tree.SetDisabledColor(clSilver);
    tree.SetColor(clYellow);
    EXPECT_EQ(tree.FocusColor(), clYellow);  // it equalled the normal colour
    tree.SetEnabled(false);
    EXPECT_EQ(tree.Color(), clSilver);
    tree.SetEnabled(true);
    EXPECT_EQ(tree.Color(), clYellow);
}

TEST(RzTreeView, AutoSelectAndAutoExpandExcludeEachOther) {
    TRzTreeView tree(nullptr);
    tree.SetAutoExpandFramed(true);
    tree.SetAutoSelect(true);
    EXPECT_FALSE(tree.AutoExpand());
    tree.SetAutoExpandFramed(true);
    EXPECT_FALSE(tree.AutoSelect());
}

TEST(RzTreeView, EachImageEventFiresOncePerRequest) {
    TRzTreeView tree(nullptr);
    TTreeNode* node = tree.Items()->AddChild(nullptr, u"a");
    int images = 0, selected = 0;
    tree.OnGetImageIndex = [&](TObject*, TTreeNode* n) {
        ++images;
        n->SetImageIndex(4);
    };
    tree.OnGetSelectedIndex = [&](TObject*, TTreeNode* n) {
        ++selected;
        n->SetSelectedIndex(5);
    };
    int image = -1, selectedImage = -1;
    tree.NodeImages(node, image, selectedImage);
    EXPECT_EQ(images, 1);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(image, 4);
    EXPECT_EQ(selectedImage, 5);
    EXPECT_TRUE(tree.OnGetImageIndex && tree.OnGetSelectedIndex) << "handlers are back after the request";
}

// Popup menus shown, answered as dismissed.
struct MenuLog {
    std::vector<TPoint> shown;
    TScopedModalHook hook{[this](TModalRequest& r) {
        shown.push_back(r.Pos);
        return kPopupMenuDismissed;
    }};
};

TEST(RzTreeView, ContextMenusForNodesKeysAndTheTree) {
    TRzTreeView tree(nullptr);
    TPopupMenu menu(nullptr);
    tree.SetPopupMenu(&menu);
    TTreeNode* node = tree.Items()->AddChild(nullptr, u"a");
    std::vector<TTreeNode*> asked;
    tree.OnNodeContextMenu = [&](TObject*, TTreeNode* n, TPoint&, TPopupMenu*&) { asked.push_back(n); };
    MenuLog log;

    // No current node: a keyboard request shows the tree's menu at its origin.
    tree.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0], tree.ClientToScreen(TPoint(0, 0)));
    EXPECT_EQ(menu.PopupComponent(), &tree);

    // With a selected node the request is the node's business: the Applications key shows its menu.
    tree.SetSelected(node);
    tree.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_EQ(log.shown.size(), 1u);
    tree.Perform(WM_KEYDOWN, VK_APPS, 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], node);
    EXPECT_EQ(log.shown.size(), 2u);

    // A handler that takes the menu away shows none, and the request after it is ignored until
    // the right button comes up; the menu's own popup is left as it was.
    tree.OnNodeContextMenu = [&](TObject*, TTreeNode*, TPoint&, TPopupMenu*& m) { m = nullptr; };
    tree.Perform(WM_KEYDOWN, VK_APPS, 0);
    tree.SetSelected(nullptr);
    tree.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_EQ(log.shown.size(), 2u);
    tree.Perform(WM_RBUTTONUP, 0, 0);
    EXPECT_TRUE(menu.AutoPopup());
    tree.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_EQ(log.shown.size(), 3u);
}

}  // namespace
