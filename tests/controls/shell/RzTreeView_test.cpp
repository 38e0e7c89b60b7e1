// The framed tree view: text import and export, item height, frame hot tracking and state
// colours.
#include <gtest/gtest.h>

#include "controls/shell/RzTreeView.h"

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

TEST(RzTreeView, NegativeItemHeightIsStoredAsZero) {
    TRzTreeView tree(nullptr);
    tree.SetFramedItemHeight(-5);
    EXPECT_EQ(tree.FramedItemHeight(), 0);
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

}  // namespace
