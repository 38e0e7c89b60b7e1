// The Unicode standard controls without a display: wide text through a new window, the wide
// password character, memo lines, accelerators and form files.
#include <gtest/gtest.h>

#include "controls/unicode/TntStdCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

class TntStdCtrlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        RegisterClasses({&TTntEdit::StaticClass(), &TTntLabel::StaticClass(), &TTntCheckBox::StaticClass()});
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
    }
    template <class C>
    C* Make() {
        auto* c = new C(form_.get());
        c->SetParent(form_.get());
        return c;
    }
    std::unique_ptr<TForm> form_;
};

TEST_F(TntStdCtrlsTest, WideTextSurvivesANewWindowForEveryKind) {
    const WideString text = u"\u0416 \u03A9 \u65E5 \U0001F600";
    std::vector<TControl*> controls{Make<TTntEdit>(), Make<TTntMemo>(), Make<TTntButton>(), Make<TTntCheckBox>(),
                                    Make<TTntRadioButton>(), Make<TTntGroupBox>(), Make<TTntLabel>()};
    for (TControl* c : controls) SetWideControlText(c, text);
    form_->HandleNeeded();
    for (TControl* c : controls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            w->HandleNeeded();
            w->RecreateWnd();
            w->HandleNeeded();
        }
    for (TControl* c : controls) EXPECT_EQ(GetWideControlText(c), text) << c->ClassName();
}

TEST_F(TntStdCtrlsTest, EditPasswordCharAndSelection) {
    auto* edit = Make<TTntEdit>();
    edit->SetPasswordChar(u'\u25CF');
    EXPECT_EQ(edit->GetPasswordChar(), u'\u25CF');
    EXPECT_EQ(edit->Perform(EM_GETPASSWORDCHAR, 0, 0), 0x25CF);
    edit->SetText(u"\u0430\u0431\U0001F600\u0432");
    edit->SetWideSelStart(2);
    edit->SetWideSelLength(2);
    EXPECT_EQ(edit->GetWideSelText(), u"\U0001F600");
}

TEST_F(TntStdCtrlsTest, MemoLinesAreWide) {
    auto* memo = Make<TTntMemo>();
    memo->SetText(u"\u0430\r\n\u0431");
    // At the count, with no break at the end: a break and the line follow the last line.
    memo->Lines()->Insert(2, u"\u0432");
    EXPECT_EQ(memo->GetText(), u"\u0430\r\n\u0431\r\n\u0432");
    memo->Lines()->Insert(0, u"\U0001F600");
    EXPECT_EQ(memo->Lines()->Get(0), u"\U0001F600");
    EXPECT_EQ(memo->Lines()->Count(), 4);
    memo->Lines()->SetText(u"x\ny");
    EXPECT_EQ(memo->GetText(), u"x\r\ny");
    TTntStringList other;
    other.Add(u"\u03B1");
    memo->SetLines(&other);
    EXPECT_EQ(memo->Lines()->Get(0), u"\u03B1");
}

TEST_F(TntStdCtrlsTest, AcceleratorsOfWideCaptions) {
    auto* box = Make<TTntCheckBox>();
    box->SetCaption(u"&\u0416\u0438\u0440\u043D\u044B\u0439");
    auto* button = Make<TTntButton>();
    button->SetCaption(u"\u041E&\u041A");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form_->Show();
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, u'\u0436', 0), 1);
    EXPECT_TRUE(box->Checked());
    form_->Perform(CM_DIALOGCHAR, u'\u043A', 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, u'\u0444', 0), 0);
}

TEST_F(TntStdCtrlsTest, FormFilesCarryWideTextAndThePlatformsProperties) {
    TForm form(nullptr);
    ReadComponentText("object F: TForm\n"
                      "  object E: TTntEdit\n    Text = #$0416'x'\n    ReadOnly = True\n    Hint = 'a|b'\n  end\n"
                      "  object L: TTntLabel\n    Caption = #$65E5\n    CaptionW = 'dropped'\n  end\n"
                      "end\n",
                      &form);
    auto* edit = dynamic_cast<TTntEdit*>(form.FindComponent("E"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetText(), u"\u0416x");
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_EQ(WideGetHint(edit), u"a|b");
    EXPECT_EQ(dynamic_cast<TTntLabel*>(form.FindComponent("L"))->GetCaption(), u"\u65E5");
}

}  // namespace
