// The framed list view: sort order, column clicks, the stretched last column, the sort arrow's
// geometry and the check-state veto.
#include <gtest/gtest.h>

#include "controls/shell/RzListView.h"
#include "platform/vcl/ListItems.h"
#include "platform/vcl/ListViewMessages.h"

namespace {

TEST(RzListView, ComparisonPutsEmptiesLastAndNegatesDescending) {
    TRzCustomListView list(nullptr);
    TListItem* a = list.Items()->Add();
    a->SetCaption(u"apple");
    a->SubItems()->Add(u"x");
    TListItem* b = list.Items()->Add();
    b->SetCaption(u"Banana");
    TListItem* e = list.Items()->Add();
    struct Case {
        const TListItem *x, *y;
        int column;
        TRzSortDirection dir;
        int expected;
    } const cases[] = {
        {a, b, 0, sdAscending, -1},   {a, b, 0, sdDescending, 1},  {b, a, 0, sdAscending, 1},
        {a, e, 0, sdAscending, -1},   {e, a, 0, sdAscending, 1},   {a, e, 0, sdDescending, 1},
        {a, b, 1, sdAscending, -1},   // b has no sub-item: empty, after "x"
        {a, b, -1, sdAscending, 0},   {a, nullptr, 0, sdAscending, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CompareListItems(c.x, c.y, c.column, c.dir), c.expected);
}

TEST(RzListView, ClickingAColumnSortsAscendingThenDescendingThenAscending) {
    TRzCustomListView list(nullptr);
    list.SetSortOnColumnClick(true);
    list.Columns()->Add()->SetCaption(u"Name");
    for (const char16_t* s : {u"b", u"", u"a", u"C"}) list.Items()->Add()->SetCaption(s);
    int clicks = 0;
    list.OnColumnClick = [&](TObject*, TListColumn*) { ++clicks; };
    const auto order = [&] {
        std::u16string s;
        for (int i = 0; i < list.Items()->Count(); ++i) s += list.Items()->Item(i)->Caption().empty() ? u"_" : list.Items()->Item(i)->Caption();
        return s;
    };
    list.ColumnClicked(0);
    EXPECT_EQ(order(), u"abC_");
    EXPECT_EQ(list.HeaderSortDirection(), sdAscending);
    list.ColumnClicked(0);
    EXPECT_EQ(order(), u"_Cba");
    EXPECT_EQ(list.HeaderSortDirection(), sdDescending);
    list.ColumnClicked(0);
    EXPECT_EQ(order(), u"abC_");
    EXPECT_EQ(list.HeaderSortColumn(), 0);
    EXPECT_EQ(clicks, 3);
}

TEST(RzListView, LastColumnStretchArithmetic) {
    EXPECT_EQ(StretchedLastColumnWidth({100, 120, 50}, 200, 16, false), 50);  // no room: kept
    EXPECT_EQ(StretchedLastColumnWidth({100, 97, 50}, 200, 16, false), 5);    // 3 becomes 5
    EXPECT_EQ(StretchedLastColumnWidth({100, 50}, 200, 16, false), 100);
    EXPECT_EQ(StretchedLastColumnWidth({100, 50}, 200, 16, true), 84);        // no items: the scroll bar's room
    TRzCustomListView list(nullptr);
    list.SetViewStyle(vsReport);
    list.Columns()->Add()->SetWidth(60);
    list.Columns()->Add()->SetWidth(10);
    list.SetBounds(0, 0, 200, 100);
    EXPECT_EQ((*list.Columns())[1]->Width(), 200 - 60 - list.ScrollBarWidth());
}

TEST(RzListView, SortArrowBoxAndItsFit) {
    const TRect section(0, 0, 80, 18);
    const TRect box = SortArrowBox(section);
    EXPECT_EQ(box, TRect(0, 4, 9, 12));  // s = 8: left 0, top (18 - 8) / 2 - 1, 9 x 8
    EXPECT_FALSE(SortArrowFits(section, 2 * box.Width()));
    EXPECT_TRUE(SortArrowFits(section, 2 * box.Width() + 1));
}

TEST(RzListView, CheckStateChangeCanBeVetoed) {
    TRzCustomListView list(nullptr);
    list.SetCheckboxes(true);
    list.Items()->Add()->SetCaption(u"one");
    bool allow = false;
    int changed = 0;
    list.OnItemCheckStateChanging = [&](TObject*, TListItem*, bool checked, bool& a) {
        EXPECT_TRUE(checked);
        a = allow;
    };
    list.OnItemCheckStateChanged = [&](TObject*, TListItem*) { ++changed; };
    NMLISTVIEW nm;
    nm.hdr.code = LVN_ITEMCHANGING;
    nm.iItem = 0;
    nm.uNewState = 0x2000;
    nm.uChanged = LVIF_STATE;
    EXPECT_EQ(list.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)), 1);
    allow = true;
    EXPECT_EQ(list.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)), 0);
    nm.hdr.code = LVN_ITEMCHANGED;
    list.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(changed, 1);
}

}  // namespace
