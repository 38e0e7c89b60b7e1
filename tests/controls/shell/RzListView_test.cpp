// The framed list view: sort order, column clicks, the stretched last column, the header
// section's layout, the check-state veto, state colours, context menus and the wheel.
#include <gtest/gtest.h>

#include "controls/shell/RzListView.h"
#include "platform/vcl/ListItems.h"
#include "platform/vcl/Forms.h"
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

TEST(RzListView, HeaderSectionLayoutPerPlacement) {
    const TRect r(2, 2, 98, 18);  // a 100 x 20 section less its edge: text 6 .. 94, box 10 x 9
    struct Case {
        TRzSortArrowPlacement placement;
        TAlignment alignment;
        bool sorted;
        TRect text, arrow;
        bool shown;
    } const cases[] = {
        {sapNone, taLeftJustify, true, {6, 2, 94, 18}, {6, 4, 16, 13}, false},
        {sapLeftOfCaption, taLeftJustify, true, {21, 2, 94, 18}, {6, 4, 16, 13}, true},
        {sapLeftOfCaption, taLeftJustify, false, {6, 2, 94, 18}, {6, 4, 16, 13}, false},
        {sapRightOfCaption, taLeftJustify, true, {6, 2, 94, 18}, {6, 4, 16, 13}, true},  // placed after the caption
        {sapRightOfCaption, taRightJustify, true, {6, 2, 79, 18}, {79, 4, 89, 13}, true},
        {sapRightOfCaption, taCenter, true, {21, 2, 79, 18}, {79, 4, 89, 13}, true},
        {sapRightEdge, taCenter, true, {6, 2, 79, 18}, {84, 4, 94, 13}, true},
        {sapRightEdge, taCenter, false, {6, 2, 94, 18}, {84, 4, 94, 13}, false},
    };
    for (const Case& c : cases) {
        const TRzHeaderSectionLayout l = LayoutHeaderSection(r, 100, c.alignment, c.placement, c.sorted);
        EXPECT_EQ(l.text, c.text) << c.placement << "/" << c.alignment;
        EXPECT_EQ(l.arrow, c.arrow) << c.placement << "/" << c.alignment;
        EXPECT_EQ(l.arrowShown, c.shown) << c.placement << "/" << c.alignment;
    }
    // A column exactly twice the box wide shows no arrow.
    EXPECT_FALSE(LayoutHeaderSection(r, 20, taLeftJustify, sapRightEdge, true).arrowShown);
    EXPECT_TRUE(LayoutHeaderSection(r, 21, taLeftJustify, sapRightEdge, true).arrowShown);
}

TEST(RzListView, SectionsAreOwnerDrawnUnlessThereIsNoArrowPlacement) {
    TRzCustomListView list(nullptr);
    list.SetViewStyle(vsReport);
    list.Columns()->Add()->SetCaption(u"Subject");
    list.Columns()->Add()->SetCaption(u"Size");
    list.HandleNeeded();
    EXPECT_TRUE(list.HeaderOwnerDrawn(0) && list.HeaderOwnerDrawn(1));
    list.SetSortArrowPlacement(sapNone);
    EXPECT_FALSE(list.HeaderOwnerDrawn(0) || list.HeaderOwnerDrawn(1));
    list.SetDefaultHeaderDrawing(false);  // the event draws: owner-drawn again
    EXPECT_TRUE(list.HeaderOwnerDrawn(1));
}

TEST(RzListView, ColourFollowsTheStateAndReachesTheRows) {
    TRzCustomListView list(nullptr);
    list.HandleNeeded();
    list.SetColor(clYellow);
    EXPECT_EQ(list.BkColor(), ColorToRGB(clYellow));
    EXPECT_EQ(list.TextBkColor(), ColorToRGB(clYellow));
    EXPECT_EQ(list.FocusColor(), clYellow);  // it equalled the normal colour
    list.SetDisabledColor(clSilver);
    list.SetEnabled(false);
    EXPECT_EQ(list.Color(), clSilver);
    EXPECT_EQ(list.BkColor(), ColorToRGB(clSilver));
    list.SetEnabled(true);
    EXPECT_EQ(list.Color(), clYellow);
}

TEST(RzListView, ContextMenusForItemsAndTheList) {
    TRzCustomListView list(nullptr);
    list.SetViewStyle(vsReport);
    list.Columns()->Add();
    TListItem* item = list.Items()->Add();
    item->SetCaption(u"one");
    TPopupMenu menu(nullptr);
    list.SetPopupMenu(&menu);
    std::vector<TListItem*> asked;
    list.OnItemContextMenu = [&](TObject*, TListItem* i, TPoint&, TPopupMenu*&) { asked.push_back(i); };
    std::vector<TPoint> shown;
    TScopedModalHook hook([&](TModalRequest& r) {
        shown.push_back(r.Pos);
        return kPopupMenuDismissed;
    });

    // Nothing selected: the request is ignored, the Applications key shows the list's menu.
    list.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_TRUE(shown.empty());
    list.Perform(WM_KEYDOWN, VK_APPS, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], list.ClientToScreen(TPoint(0, 0)));
    EXPECT_TRUE(asked.empty());
    list.Perform(WM_RBUTTONUP, 0, 0);

    // A focused, selected item: its menu.
    list.SetSelected(item);
    list.SetItemFocused(item);
    list.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], item);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(menu.PopupComponent(), &list);
    // Handled: the next request waits for the right button to come up.
    list.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_EQ(asked.size(), 1u);
    list.Perform(WM_RBUTTONUP, 0, 0);
    EXPECT_EQ(list.PopupMenu(), &menu);
    list.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_EQ(asked.size(), 2u);
}

TEST(RzListView, WheelScrollsByLinesOfTheViewStyle) {
    TRzCustomListView list(nullptr);
    list.SetViewStyle(vsReport);
    list.Columns()->Add();
    list.SetBounds(0, 0, 100, 60);
    for (int i = 0; i < 40; ++i) list.Items()->Add()->SetCaption(u"row");
    ASSERT_EQ(list.TopItem()->Index(), 0);
    EXPECT_EQ(list.Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0), 1);
    const int rows = 3 * 16 / list.RowHeight();  // three lines of 16 pixels
    EXPECT_EQ(list.TopItem()->Index(), rows);
    list.Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(list.TopItem()->Index(), 0);
}

}  // namespace
