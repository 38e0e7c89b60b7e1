// The list view and the header control without a widget: owner data, selection and focus,
// check-box veto, column clicks from the header, the LVM_* and HDM_* answers and form files.
#include <gtest/gtest.h>

#include <set>

#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListView.h"

namespace {

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
        list_ = new TListView(form_.get());
        list_->SetParent(form_.get());
        list_->SetBounds(0, 0, 300, 200);
        list_->SetViewStyle(vsReport);
        for (const char16_t* caption : {u"Name", u"Size", u"Date"}) list_->Columns()->Add()->SetCaption(caption);
    }
    void Fill(int count) {
        list_->Items()->BeginUpdate();
        for (int i = 0; i < count; ++i) {
            TListItem* item = list_->Items()->Add();
            item->SetCaption(u"item " + Utf8ToUtf16(std::to_string(i)));
            item->SubItems()->Add(Utf8ToUtf16(std::to_string(i * 10)));
        }
        list_->Items()->EndUpdate();
    }
    std::unique_ptr<TForm> form_;
    TListView* list_ = nullptr;
};

TEST_F(ListViewTest, OwnerDataAsksOnlyForRowsReadAndKeepsTheLastRow) {
    std::vector<int> asked;
    list_->SetOwnerData(true);
    list_->OnData = [&](TObject*, TListItem* item) {
        asked.push_back(item->Index());
        item->SetCaption(u"row " + Utf8ToUtf16(std::to_string(item->Index())));
        item->SubItems()->Add(u"sub");
        item->SetSubItemImages(0, 3);
        item->SetImageIndex(7);
    };
    list_->Items()->SetCount(100000);
    EXPECT_EQ(list_->Items()->Count(), 100000);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(list_->Items()->Item(4711)->Caption(), u"row 4711");
    EXPECT_EQ(list_->Items()->Item(4711)->SubItemImages(0), 3);
    EXPECT_EQ(list_->CellText(4711, 1), u"sub");
    EXPECT_EQ(asked, std::vector<int>{4711});  // one call for the row, however often it is read

    // LVN_GETDISPINFOW answers from the same row.
    char16_t buffer[32] = {};
    NMLVDISPINFOW nm;
    nm.hdr.code = LVN_GETDISPINFOW;
    nm.item.mask = LVIF_TEXT | LVIF_IMAGE;
    nm.item.iItem = 99;
    nm.item.pszText = buffer;
    nm.item.cchTextMax = 32;
    list_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(WideString(buffer), u"row 99");
    EXPECT_EQ(nm.item.iImage, 7);

    // Scrolled far down with a selection there, the count shrinks below the top row.
    list_->MakeItemVisible(90000);
    ASSERT_NE(list_->TopItem(), nullptr);
    EXPECT_GT(list_->TopItem()->Index(), 80000);
    list_->SetMultiSelect(true);
    list_->SetItemIndex(90001);
    list_->Items()->Item(5)->SetSelected(true);
    EXPECT_EQ(list_->SelCount(), 2);
    list_->Items()->SetCount(10);
    EXPECT_EQ(list_->SelCount(), 1);
    EXPECT_EQ(list_->ItemFocused(), nullptr);
    ASSERT_NE(list_->TopItem(), nullptr);
    EXPECT_EQ(list_->TopItem()->Index(), 0);
    EXPECT_EQ(list_->Items()->Item(10), nullptr);
    EXPECT_THROW(list_->Items()->Add(), EInvalidOperation);
}

TEST_F(ListViewTest, SelectionAndFocusThroughGetNextItem) {
    Fill(10);
    list_->SetMultiSelect(true);
    std::vector<std::pair<int, bool>> events;
    list_->OnSelectItem = [&](TObject*, TListItem* item, bool selected) { events.emplace_back(item ? item->Index() : -1, selected); };
    for (int i : {7, 2, 5}) list_->Items()->Item(i)->SetSelected(true);
    list_->Items()->Item(5)->SetFocused(true);
    EXPECT_EQ(list_->SelCount(), 3);
    EXPECT_EQ(list_->Selected()->Index(), 2);
    EXPECT_EQ(list_->ItemFocused()->Index(), 5);
    struct Case {
        int start;
        UINT flags;
        int expected;
    };
    for (const Case& c : {Case{-1, LVNI_SELECTED, 2}, Case{2, LVNI_SELECTED, 5}, Case{5, LVNI_SELECTED, 7},
                          Case{7, LVNI_SELECTED, -1}, Case{-1, LVNI_FOCUSED, 5}, Case{5, LVNI_FOCUSED, -1},
                          Case{-1, LVNI_ALL, 0}, Case{3, LVNI_ALL, 4}, Case{6, LVNI_SELECTED | LVNI_ABOVE, 5},
                          Case{-1, LVNI_SELECTED | LVNI_FOCUSED, 5}}) {
        EXPECT_EQ(list_->Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(c.start), static_cast<LPARAM>(c.flags)), c.expected)
            << c.start << " " << c.flags;
    }
    EXPECT_EQ(list_->GetNextItem(list_->Items()->Item(2), TSearchDirection::sdAll, {isSelected})->Index(), 5);
    EXPECT_EQ(list_->Perform(LVM_GETSELECTEDCOUNT, 0, 0), 3);
    list_->OnInfoTip = [](TObject*, TListItem* item, WideString& tip) { tip = u"tip of " + item->Caption(); };
    EXPECT_EQ(list_->InfoTip(5, 0), u"tip of item 5");
    EXPECT_EQ(list_->InfoTip(50, 0), u"");
    EXPECT_EQ(events, (std::vector<std::pair<int, bool>>{{7, true}, {2, true}, {5, true}}));

    // Deleting an item moves the selection and focus after it.
    list_->Items()->Delete(3);
    EXPECT_EQ(list_->GetNextItemIndex(2, LVNI_SELECTED), 4);
    EXPECT_EQ(list_->ItemFocused()->Index(), 4);
    list_->ClearSelection();
    EXPECT_EQ(list_->SelCount(), 0);
    list_->SelectAll();
    EXPECT_EQ(list_->SelCount(), 9);
    // Single selection keeps one; the item losing the selection hears of it first.
    list_->SetMultiSelect(false);
    EXPECT_EQ(list_->SelCount(), 1);
    events.clear();
    list_->SetItemIndex(8);
    EXPECT_EQ(list_->ItemIndex(), 8);
    EXPECT_EQ(list_->SelCount(), 1);
    EXPECT_EQ(events.back(), std::make_pair(8, true));
    EXPECT_EQ(events[events.size() - 2].second, false);
    EXPECT_EQ(list_->GetNextItemIndex(-1, LVNI_FOCUSED), 8);
}

TEST_F(ListViewTest, CheckBoxChangesCanBeVetoed) {
    Fill(3);
    list_->SetCheckboxes(true);
    std::vector<int> checked, changes;
    list_->OnChanging = [](TObject*, TListItem* item, TItemChange change, bool& allow) {
        if (change == ctState && item->Index() == 1) allow = false;
    };
    list_->OnItemChecked = [&](TObject*, TListItem* item) { checked.push_back(item->Index()); };
    list_->OnChange = [&](TObject*, TListItem* item, TItemChange) { changes.push_back(item->Index()); };
    EXPECT_FALSE(list_->Items()->Item(0)->Checked());
    list_->Items()->Item(0)->SetChecked(true);
    list_->Items()->Item(1)->SetChecked(true);
    EXPECT_TRUE(list_->Items()->Item(0)->Checked());
    EXPECT_FALSE(list_->Items()->Item(1)->Checked());
    EXPECT_EQ(checked, std::vector<int>{0});
    EXPECT_EQ(changes, std::vector<int>{0});
    EXPECT_EQ(list_->Perform(LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(2)));
    // LVM_SETITEMSTATE goes the same way.
    LVITEMW state;
    state.state = INDEXTOSTATEIMAGEMASK(2);
    state.stateMask = LVIS_STATEIMAGEMASK;
    EXPECT_FALSE(list_->Perform(LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state)));
    EXPECT_TRUE(list_->Perform(LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state)));
    EXPECT_TRUE(list_->Items()->Item(2)->Checked());
}

TEST_F(ListViewTest, HeaderNotificationsClickColumnsAndKeepWidthLimits) {
    std::vector<int> clicked;
    list_->OnColumnClick = [&](TObject*, TListColumn* column) { clicked.push_back(column->Index()); };
    list_->Column(1)->SetMinWidth(30);
    list_->Column(1)->SetMaxWidth(120);
    const HWND header = reinterpret_cast<HWND>(list_->Perform(LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    // Both widths of the codes arrive.
    for (bool unicode : {true, false}) SendHeaderNotify(*list_, WM_NOTIFY, header, unicode, HDN_ITEMCLICKW, 1, -1);
    EXPECT_EQ(clicked, (std::vector<int>{1, 1}));
    list_->SetColumnClick(false);
    SendHeaderNotify(*list_, WM_NOTIFY, header, true, HDN_ITEMCLICKW, 2, -1);
    EXPECT_EQ(clicked.size(), 2u);

    struct Case {
        bool unicode;
        UINT code;
        int width;
        int expected;
    };
    for (const Case& c : {Case{true, HDN_TRACKW, 300, 120}, Case{false, HDN_TRACKW, 10, 30}, Case{true, HDN_ENDTRACKW, 80, 80},
                          Case{false, HDN_ENDTRACKW, 500, 120}}) {
        SendHeaderNotify(*list_, WM_NOTIFY, header, c.unicode, c.code, 1, c.width);
        EXPECT_EQ(list_->Column(1)->Width(), c.expected) << c.width;
    }
    // The header window answers the header messages with the columns' geometry.
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
    RECT r{};
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right, 170);
    HDHITTESTINFO hit;
    hit.pt = POINT{171, 3};
    EXPECT_EQ(SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, HHT_ONDIVIDER);
    hit.pt = POINT{100, 3};
    EXPECT_EQ(SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, HHT_ONHEADER);
    hit.pt = POINT{900, 3};
    EXPECT_EQ(SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, HHT_TORIGHT);
}

TEST_F(ListViewTest, ItemAndColumnMessagesWithTextCallbacksFindAndSort) {
    Fill(4);
    // Texts: set and read in both widths; a callback text asks LVN_GETDISPINFOW.
    LVITEMW item;
    item.iSubItem = 2;
    char16_t text[] = u"third";
    item.pszText = text;
    ASSERT_TRUE(list_->Perform(LVM_SETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item)));
    char narrow[16] = {};
    LVITEMA itemA;
    itemA.iSubItem = 2;
    itemA.pszText = narrow;
    itemA.cchTextMax = 16;
    EXPECT_EQ(list_->Perform(LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&itemA)), 5);
    EXPECT_STREQ(narrow, "third");
    item.iSubItem = 0;
    item.pszText = LPSTR_TEXTCALLBACKW;
    list_->Perform(LVM_SETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&item));
    auto inherited = list_->WindowProc;
    list_->WindowProc = [&](TMessage& m) {
        if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == LVN_GETDISPINFOW) {
            auto* nm = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
            nm->item.pszText = const_cast<char16_t*>(u"from the owner");
            return;
        }
        inherited(m);
    };
    EXPECT_EQ(list_->CellText(3, 0), u"from the owner");
    char16_t again[] = u"item 3";
    item.pszText = again;
    list_->Perform(LVM_SETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(list_->CellText(3, 0), u"item 3");  // no longer asked
    list_->WindowProc = inherited;

    // Columns.
    LVCOLUMNW col;
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    char16_t caption[] = u"Bytes";
    col.pszText = caption;
    col.cx = 77;
    col.fmt = LVCFMT_RIGHT;
    ASSERT_TRUE(list_->Perform(LVM_SETCOLUMNW, 1, reinterpret_cast<LPARAM>(&col)));
    EXPECT_EQ(list_->Column(1)->Caption(), u"Bytes");
    EXPECT_EQ(list_->Column(1)->Alignment(), taRightJustify);
    EXPECT_EQ(list_->Perform(LVM_GETCOLUMNWIDTH, 1, 0), 77);
    char colText[16] = {};
    LVCOLUMNA colA;
    colA.mask = LVCF_TEXT;
    colA.pszText = colText;
    colA.cchTextMax = 3;  // truncated to what fits
    list_->Perform(LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&colA));
    EXPECT_STREQ(colText, "By");

    // Finding: exact, partial, wrapping.
    LVFINDINFOW find;
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = u"ITEM 2";
    EXPECT_EQ(list_->Perform(LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 2);
    find.flags = LVFI_STRING;
    find.psz = u"item 0";
    EXPECT_EQ(list_->Perform(LVM_FINDITEMW, 1, reinterpret_cast<LPARAM>(&find)), -1);
    find.flags = LVFI_STRING | LVFI_WRAP;
    EXPECT_EQ(list_->Perform(LVM_FINDITEMW, 1, reinterpret_cast<LPARAM>(&find)), 0);

    // Sorting by the items' data keeps the selection on its item.
    for (int i = 0; i < 4; ++i) list_->Items()->Item(i)->SetData(reinterpret_cast<void*>(static_cast<INT_PTR>(10 - i)));
    TListItem* first = list_->Items()->Item(0);
    first->SetSelected(true);
    auto byData = [](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(a - b); };
    ASSERT_TRUE(list_->Perform(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(+byData)));
    EXPECT_EQ(list_->Items()->Item(0)->Caption(), u"item 3");
    EXPECT_EQ(first->Index(), 3);
    EXPECT_TRUE(first->Selected());
    list_->OnCompare = [](TObject*, TListItem* a, TListItem* b, int, int& result) { result = WideCompareText(a->Caption(), b->Caption()); };
    list_->AlphaSort();
    EXPECT_EQ(list_->Items()->Item(0)->Caption(), u"item 0");

    // Owner data finds through OnDataFind.
    list_->SetOwnerData(true);
    list_->Items()->SetCount(50);
    list_->OnDataFind = [](TObject*, TItemFind kind, const WideString& s, const TPoint&, void*, int start, TSearchDirection, bool,
                           int& index) {
        if (kind == ifPartialString && s == u"row 4") index = start + 40;
    };
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = u"row 4";
    EXPECT_EQ(list_->Perform(LVM_FINDITEMW, 1, reinterpret_cast<LPARAM>(&find)), 42);
}

TEST_F(ListViewTest, ColumnsAndOptionsComeFromAFormFile) {
    RegisterClasses({&TListView::StaticClass()});
    const char* text =
        "object TListView\n"
        "  ViewStyle = vsReport\n"
        "  Checkboxes = True\n"
        "  RowSelect = True\n"
        "  MultiSelect = True\n"
        "  OwnerData = True\n"
        "  Columns = <\n"
        "    item\n"
        "      Caption = 'Subject'\n"
        "      Width = 200\n"
        "      MinWidth = 40\n"
        "    end\n"
        "    item\n"
        "      Alignment = taRightJustify\n"
        "      Caption = 'Size'\n"
        "    end>\n"
        "end\n";
    std::unique_ptr<TComponent> made(ReadComponentText(text, nullptr));
    auto* list = dynamic_cast<TListView*>(made.get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ViewStyle(), vsReport);
    EXPECT_TRUE(list->Checkboxes());
    EXPECT_TRUE(list->RowSelect());
    EXPECT_TRUE(list->OwnerData());
    ASSERT_EQ(list->Columns()->Count(), 2);
    EXPECT_EQ(list->Column(0)->Width(), 200);
    EXPECT_EQ(list->Column(0)->MinWidth(), 40);
    EXPECT_EQ(list->Column(1)->Alignment(), taRightJustify);
    EXPECT_EQ(list->Perform(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), static_cast<LRESULT>(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT));
}

TEST(HeaderControlTest, TrackingKeepsLimitsAndAnswersHeaderMessages) {
    SetGuiThread();
    THeaderControl header(nullptr);
    for (int w : {100, 60, 0, 80}) header.Sections()->Add()->SetWidth(w);
    header.Sections()->Items(1)->SetMaxWidth(90);
    std::vector<std::pair<int, TSectionTrackState>> tracks;
    header.OnSectionTrack = [&](THeaderControl*, THeaderSection* s, int& width, TSectionTrackState state) {
        tracks.emplace_back(width, state);
        if (s->Index() == 3) width = 55;  // the handler may change the width
    };
    int resized = 0;
    header.OnSectionResize = [&](THeaderControl*, THeaderSection*) { ++resized; };
    SendHeaderNotify(header, CN_NOTIFY, nullptr, false, HDN_BEGINTRACKW, 1, 60);
    SendHeaderNotify(header, CN_NOTIFY, nullptr, true, HDN_TRACKW, 1, 200);
    SendHeaderNotify(header, CN_NOTIFY, nullptr, false, HDN_ENDTRACKW, 1, 200);
    EXPECT_EQ(header.Sections()->Items(1)->Width(), 90);
    EXPECT_EQ(tracks, (std::vector<std::pair<int, TSectionTrackState>>{{60, tsTrackBegin}, {90, tsTrackMove}, {90, tsTrackEnd}}));
    EXPECT_EQ(resized, 1);
    SendHeaderNotify(header, CN_NOTIFY, nullptr, true, HDN_TRACKW, 3, 70);
    EXPECT_EQ(header.Sections()->Items(3)->Width(), 55);
    EXPECT_EQ(header.Sections()->Items(3)->Left(), 190);

    // A divider of a zero-width section belongs to that section (it can be widened again).
    HDHITTESTINFO hit;
    hit.pt = POINT{190, 5};
    EXPECT_EQ(header.Perform(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    EXPECT_EQ(hit.flags, HHT_ONDIVIDER);
    RECT r{};
    ASSERT_TRUE(header.Perform(HDM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(r.left, 190);
    EXPECT_EQ(r.right, 245);
    EXPECT_FALSE(header.Perform(HDM_GETITEMRECT, 9, reinterpret_cast<LPARAM>(&r)));
    HDITEMW item;
    item.mask = HDI_TEXT | HDI_FORMAT;
    char16_t text[] = u"From";
    item.pszText = text;
    item.fmt = HDF_OWNERDRAW | HDF_CENTER;
    ASSERT_TRUE(header.Perform(HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(header.Sections()->Items(0)->Text(), u"From");
    EXPECT_EQ(header.Sections()->Items(0)->Style(), hsOwnerDraw);
    EXPECT_EQ(header.Sections()->Items(0)->Alignment(), taCenter);
}

}  // namespace
