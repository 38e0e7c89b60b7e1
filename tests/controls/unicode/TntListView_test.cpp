// The Unicode list view without a display: typed items and columns, owner data over 100,000
// rows, wide captions and sub-items, label editing, sorting, re-creation and the item class.
#include <gtest/gtest.h>

#include "controls/unicode/TntListView.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinString.h"

namespace {

class TntListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
        list_ = new TTntListView(form_.get());
        list_->SetParent(form_.get());
        list_->SetBounds(0, 0, 300, 200);
        list_->SetViewStyle(vsReport);
        for (const char16_t* caption : {u"\u0422\u0435\u043C\u0430", u"\u65E5\u4ED8"})
            list_->GetColumns()->Add()->SetCaption(caption);
    }
    TTntListItem* Add(const WideString& caption, const WideString& sub) {
        TTntListItem* item = list_->GetItems()->Add();
        item->SetCaption(caption);
        item->SubItems()->Add(sub);
        return item;
    }
    std::unique_ptr<TForm> form_;
    TTntListView* list_ = nullptr;
};

TEST_F(TntListViewTest, TypedColumnsAndItemsKeepWideText) {
    EXPECT_EQ(list_->GetColumns()->GetItem(1)->GetCaption(), u"\u65E5\u4ED8");
    TTntListItem* item = Add(u"\u0416\U0001F600", u"\u03A9");
    EXPECT_EQ(list_->GetItems()->GetItem(0), item);
    EXPECT_EQ(item->GetListView(), list_);
    EXPECT_EQ(list_->CellText(0, 0), u"\u0416\U0001F600");
    EXPECT_EQ(list_->CellText(0, 1), u"\u03A9");
    EXPECT_EQ(list_->CellText(0, 2), u"");  // a column beyond the sub-items
    list_->SetSelected(item);
    EXPECT_EQ(list_->GetSelected(), item);
    EXPECT_EQ(list_->GetTopItem(), item);
    // A subject longer than any fixed buffer is shown whole.
    const WideString longText(2000, u'\u0436');
    item->SetCaption(longText);
    EXPECT_EQ(list_->CellText(0, 0), longText);
}

TEST_F(TntListViewTest, OwnerDataAsksOnlyForRowsShown) {
    int asked = 0;
    list_->SetOwnerData(true);
    list_->OnData = [&](TObject*, TListItem* item) {
        ++asked;
        auto* wide = dynamic_cast<TTntListItem*>(item);
        ASSERT_NE(wide, nullptr);
        EXPECT_EQ(item->SubItems()->Count(), 0);  // cleared before each row
        wide->SetCaption(u"\u0421\u0442\u0440\u043E\u043A\u0430 " + Utf8ToUtf16(std::to_string(item->Index())));
        if (item->Index() % 2 == 0) wide->SubItems()->Add(u"\u4E00");
    };
    list_->Items()->SetCount(100000);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(list_->GetItems()->GetItem(77777)->GetCaption(), u"\u0421\u0442\u0440\u043E\u043A\u0430 77777");
    EXPECT_EQ(list_->CellText(77777, 1), u"");
    EXPECT_EQ(list_->CellText(77778, 1), u"\u4E00");
    EXPECT_LE(asked, 3);
    EXPECT_TRUE(list_->IsItemsStored() == false);
}

TEST_F(TntListViewTest, EditedHandlerChangesTheCaption) {
    TTntListItem* item = Add(u"old", u"");
    TTntListItem* seen = nullptr;
    list_->OnEdited = [&](TObject*, TTntListItem* edited, WideString& s) {
        seen = edited;
        s += u" \u2714";
    };
    char16_t typed[] = u"\u043D\u043E\u0432\u044B\u0439";
    NMLVDISPINFOW nm;
    nm.hdr.code = LVN_ENDLABELEDITW;
    nm.item.iItem = 0;
    nm.item.pszText = typed;
    list_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(seen, item);
    EXPECT_EQ(item->GetCaption(), u"\u043D\u043E\u0432\u044B\u0439 \u2714");
    // A cancelled edit changes nothing.
    nm.item.pszText = nullptr;
    list_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(item->GetCaption(), u"\u043D\u043E\u0432\u044B\u0439 \u2714");
}

TEST_F(TntListViewTest, SortsByCaptionOrByTheHandler) {
    for (const char16_t* c : {u"\u0432", u"b", u"\u0430", u"A"}) Add(c, u"");
    list_->AlphaSort();
    std::vector<WideString> order;
    for (int i = 0; i < 4; ++i) order.push_back(list_->GetItems()->GetItem(i)->GetCaption());
    // Latin before Cyrillic, without case; no punctuation order is pinned.
    EXPECT_EQ(order, (std::vector<WideString>{u"A", u"b", u"\u0430", u"\u0432"}));
    list_->OnCompare = [](TObject*, TListItem* a, TListItem* b, int, int& compare) {
        compare = -WideCompareStr(a->Caption(), b->Caption());
    };
    list_->AlphaSort();
    EXPECT_EQ(list_->GetItems()->GetItem(0)->GetCaption(), u"\u0432");
}

TEST_F(TntListViewTest, ItemsSurviveANewWindow) {
    Add(u"\u0416", u"\u03A9");
    list_->HandleNeeded();
    list_->SetCheckboxes(true);
    list_->RecreateWnd();
    list_->HandleNeeded();
    ASSERT_EQ(list_->GetItems()->Count(), 1);
    EXPECT_EQ(list_->GetItems()->GetItem(0)->GetCaption(), u"\u0416");
    EXPECT_EQ(list_->GetItems()->GetItem(0)->SubItems()->Get(0), u"\u03A9");
}

TEST_F(TntListViewTest, ItemClassMustBeWide) {
    list_->OnCreateItemClass = [](TObject*, TTntListItemClass& itemClass) {
        itemClass = [](TListItems* owner) { return std::make_unique<TListItem>(owner); };
    };
    EXPECT_THROW(list_->GetItems()->Add(), ETntInternalError);
    EXPECT_EQ(list_->GetItems()->Count(), 0);
}

TEST_F(TntListViewTest, CopySelectionGoesThroughTheWideInterface) {
    Add(u"\u0430", u"");
    Add(u"\u0431", u"");
    list_->SetMultiSelect(true);
    list_->GetItems()->GetItem(1)->SetSelected(true);
    auto* other = new TTntListView(form_.get());
    list_->CopySelection(other);
    ASSERT_EQ(other->GetItems()->Count(), 1);
    EXPECT_EQ(other->GetItems()->GetItem(0)->GetCaption(), u"\u0431");
    // Plain list and combo boxes take the copy through their own item lists.
    auto* box = new TListBox(form_.get());
    auto* combo = new TComboBox(form_.get());
    list_->CopySelection(box);
    list_->CopySelection(combo);
    ASSERT_EQ(box->Items()->Count(), 1);
    EXPECT_EQ(Utf8ToUtf16(box->Items()->Get(0)), u"\u0431");
    ASSERT_EQ(combo->Items()->Count(), 1);
    EXPECT_EQ(Utf8ToUtf16(combo->Items()->Get(0)), u"\u0431");
    list_->GetColumns()->GetItem(1)->SetTag(5);
    EXPECT_EQ(list_->ColumnFromTag(5), list_->GetColumns()->GetItem(1));
    EXPECT_EQ(list_->ColumnFromTag(6), nullptr);
}

}  // namespace
