// The Unicode status bar, page control and tab sheet without a display: leading tabs, panel
// text, tab accelerators and a docked control's caption.
#include <gtest/gtest.h>

#include "controls/unicode/TntActnList.h"
#include "controls/unicode/TntPageControl.h"
#include "controls/unicode/TntStatusBar.h"
#include "platform/vcl/Forms.h"

namespace {

class TntBarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
    }
    std::unique_ptr<TForm> form_;
};

TEST(MatchLeadingTabs, AddsOrTakesTabs) {
    struct Case {
        const char16_t* wide;
        const char16_t* other;
        const char16_t* result;
    } cases[] = {
        {u"\u0416", u"\tx", u"\t\u0416"},     {u"\u0416", u"\t\tx", u"\t\t\u0416"}, {u"\t\t\u0416", u"\tx", u"\t\u0416"},
        {u"\t\u0416", u"x", u"\u0416"},       {u"\u0416", u"x", u"\u0416"},         {u"", u"\t", u"\t"},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchLeadingTabs(c.wide, c.other), c.result);
}

TEST_F(TntBarsTest, PanelsAndSimpleTextAreWide) {
    auto* bar = new TTntStatusBar(form_.get());
    bar->SetParent(form_.get());
    TTntStatusPanel* found = bar->GetPanels()->Add();
    found->SetWidth(200);
    found->SetText(u"\u041D\u0430\u0439\u0434\u0435\u043D\u043E: \U0001F4E7");
    bar->GetPanels()->Add()->SetStyle(psOwnerDraw);
    EXPECT_EQ(bar->GetPanels()->GetItem(0)->GetText(), u"\u041D\u0430\u0439\u0434\u0435\u043D\u043E: \U0001F4E7");
    // An owner-drawn part's text message leaves its text alone.
    char16_t text[] = u"ignored";
    bar->Perform(SB_SETTEXTW, 1 | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(bar->GetPanels()->GetItem(1)->GetText(), u"");
    EXPECT_EQ(bar->GetPanels()->GetItem(1)->Style(), psOwnerDraw);
    bar->SetSimpleText(u"\u65E5\u672C\u8A9E");
    EXPECT_EQ(bar->GetSimpleText(), u"\u65E5\u672C\u8A9E");
    EXPECT_EQ(bar->Perform(WM_GETTEXTLENGTH, 0, 0), 3);
    EXPECT_THROW(bar->GetPanels()->GetItem(5), Exception);
}

TEST_F(TntBarsTest, HintActionShowsInPanelZeroOrSimpleText) {
    auto* bar = new TTntStatusBar(form_.get());
    TTntHintAction hint(nullptr);
    hint.SetHint(u"\u041F\u043E\u0434\u0441\u043A\u0430\u0437\u043A\u0430 \U0001F4A1");
    EXPECT_FALSE(bar->ExecuteAction(&hint));  // without AutoHint
    bar->SetAutoHint(true);
    EXPECT_TRUE(bar->ExecuteAction(&hint));
    EXPECT_EQ(bar->GetSimpleText(), hint.Hint());
    bar->GetPanels()->Add();
    EXPECT_TRUE(bar->ExecuteAction(&hint));
    EXPECT_EQ(bar->GetPanels()->GetItem(0)->GetText(), hint.Hint());
    TTntAction other(nullptr);
    EXPECT_FALSE(bar->ExecuteAction(&other));
}

TEST_F(TntBarsTest, TabAcceleratorsSelectVisiblePages) {
    auto* pages = new TTntPageControl(form_.get());
    pages->SetParent(form_.get());
    pages->SetBounds(0, 0, 300, 200);
    std::vector<TTntTabSheet*> sheets;
    for (const char16_t* caption : {u"&\u041E\u0431\u0449\u0438\u0435", u"&\u0414\u043E\u043F", u"&\u0424\u0430\u0439\u043B"}) {
        auto* sheet = new TTntTabSheet(form_.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
        sheets.push_back(sheet);
    }
    sheets[2]->SetTabVisible(false);
    form_->Show();
    int changes = 0;
    pages->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, u'\u0434', 0), 1);
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, u'\u0444', 0), 0);  // hidden tab
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    pages->OnChanging = [](TObject*, bool& allow) { allow = false; };
    EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, u'\u041E', 0), 1);  // taken, but the change is refused
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
}

TEST_F(TntBarsTest, DockedCaptionIsOneLine) {
    auto* pages = new TTntPageControl(form_.get());
    pages->SetParent(form_.get());
    auto* client = new TCustomControl(form_.get());
    client->SetCaption(u"\u041F\u0435\u0440\u0432\u0430\u044F\r\n\u0432\u0442\u043E\u0440\u0430\u044F");
    TTntTabSheet* sheet = pages->DockClient(client);
    EXPECT_EQ(sheet->GetCaption(), u"\u041F\u0435\u0440\u0432\u0430\u044F");
    EXPECT_EQ(client->Parent(), sheet);
    EXPECT_EQ(pages->ActivePage(), sheet);
    EXPECT_EQ(pages->TabCaption(0), u"\u041F\u0435\u0440\u0432\u0430\u044F");
}

}  // namespace
