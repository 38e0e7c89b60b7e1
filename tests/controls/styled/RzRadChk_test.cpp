// The styled check box and radio button over the headless widget set: state cycles, read-only
// input, radio exclusivity without sibling clicks, keyboard focus checking a radio button,
// quiet state changes, and the picture indexes of user pictures.
#include <gtest/gtest.h>

#include "controls/styled/RzRadChk.h"
#include "controls/styled/RzStyledControls.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"

namespace {

class RzRadChkTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
        form_->Show();
    }
    template <class C>
    C* Make(int top = 0) {
        auto* c = new C(form_.get());
        c->SetParent(form_.get());
        c->SetBounds(0, top, 120, 17);
        return c;
    }
    std::unique_ptr<TForm> form_;
};

void ClickAt(TControl& c) {
    c.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    c.Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

TEST_F(RzRadChkTest, CheckBoxCyclesWithAndWithoutGrayed) {
    auto* box = Make<TRzCheckBox>();
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    const TCheckBoxState plain[] = {cbChecked, cbUnchecked, cbChecked};
    for (TCheckBoxState s : plain) {
        ClickAt(*box);
        EXPECT_EQ(box->State(), s);
    }
    box->SetState(cbGrayed);  // set in code: never comes back without AllowGrayed
    ClickAt(*box);
    EXPECT_EQ(box->State(), cbChecked);
    box->SetAllowGrayed(true);
    const TCheckBoxState grayed[] = {cbUnchecked, cbGrayed, cbChecked, cbUnchecked};
    for (TCheckBoxState s : grayed) {
        ClickAt(*box);
        EXPECT_EQ(box->State(), s);
        EXPECT_EQ(box->Perform(BM_GETCHECK, 0, 0), static_cast<LRESULT>(s));
    }
    EXPECT_EQ(clicks, 3 + 1 + 1 + 4);
    EXPECT_EQ(box->Checked(), false);
    box->SetChecked(true);
    EXPECT_EQ(box->State(), cbChecked);
}

TEST_F(RzRadChkTest, ReadOnlyCheckBoxIgnoresTheUserButNotTheCode) {
    auto* box = Make<TRzCheckBox>();
    box->SetCaption(u"&Subfolders");
    box->SetReadOnly(true);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(*box);
    box->SetFocus();
    box->Perform(WM_KEYDOWN, VK_SPACE, 0);
    box->Perform(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, u's', 0), 1);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 0);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    // Writable: Space and the accelerator toggle; Esc disarms Space.
    box->SetReadOnly(false);
    box->Perform(WM_KEYDOWN, VK_SPACE, 0);
    box->Perform(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(box->State(), cbUnchecked);
    box->Perform(CM_DIALOGCHAR, u'S', 0);
    EXPECT_EQ(box->State(), cbChecked);
    box->Perform(WM_KEYDOWN, VK_SPACE, 0);
    box->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
    box->Perform(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(box->State(), cbChecked);
    // An action setting the state does not click again.
    box->SetCheckedQuietly(false);
    EXPECT_EQ(clicks, 3);
    EXPECT_FALSE(box->Checked());
}

TEST_F(RzRadChkTest, RadioButtonsAreExclusiveAndClickOnce) {
    auto* a = Make<TRzRadioButton>(0);
    auto* b = Make<TRzRadioButton>(20);
    auto* c = Make<TRzRadioButton>(40);
    int clicksA = 0, clicksB = 0;
    a->OnClick = [&](TObject*) { ++clicksA; };
    b->OnClick = [&](TObject*) { ++clicksB; };
    a->SetChecked(true);
    EXPECT_TRUE(a->TabStop());
    ClickAt(*b);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_FALSE(a->TabStop());
    EXPECT_EQ(clicksA, 1) << "unchecking fires nothing";
    EXPECT_EQ(clicksB, 1);
    EXPECT_EQ(b->Perform(BM_GETCHECK, 0, 0), 1);
    // A click on a checked button changes nothing.
    ClickAt(*b);
    EXPECT_EQ(clicksB, 1);
    // Keyboard focus checks; a read-only group stays as it is.
    c->SetFocus();
    EXPECT_TRUE(c->Checked());
    EXPECT_FALSE(b->Checked());
    a->SetReadOnly(true);
    EXPECT_TRUE(b->ReadOnly());
    EXPECT_TRUE(c->ReadOnly());
    b->SetFocus();
    ClickAt(*a);
    EXPECT_TRUE(c->Checked());
    // A focus that comes from a mouse press checks only through the click.
    a->SetReadOnly(false);
    c->SetFocus();
    a->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_FALSE(a->Checked());
    a->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(a->Checked());
}

TEST_F(RzRadChkTest, PictureIndexesOfUserPictures) {
    struct Case {
        TCheckBoxState state;
        bool enabled, pressed, hot;
        int count;
        bool list;
        int expected;
    } boxes[] = {
        {cbUnchecked, true, false, false, 12, true, 0}, {cbChecked, true, true, false, 12, true, 4},
        {cbGrayed, true, false, true, 12, true, 11},    {cbGrayed, true, false, true, 9, true, 2},  // no hot set
        {cbChecked, false, true, true, 12, true, 7},    {cbChecked, true, false, true, 0, false, 1},
        {cbUnchecked, true, true, false, 0, false, 3},
    };
    for (const Case& c : boxes)
        EXPECT_EQ(CheckBoxPictureIndex(c.state, c.enabled, c.pressed, c.hot, c.count, c.list), c.expected) << c.expected;
    EXPECT_EQ(RadioButtonPictureIndex(true, true, false, true, 8, true), 7);
    EXPECT_EQ(RadioButtonPictureIndex(false, true, false, true, 6, true), 0);
    EXPECT_EQ(RadioButtonPictureIndex(true, true, true, false, 6, false), 3);
    EXPECT_EQ(RadioButtonPictureIndex(false, false, true, false, 6, false), 4);
}

TEST_F(RzRadChkTest, PicturePositionFollowsAlignment) {
    auto* box = Make<TRzCheckBox>();
    box->SetAutoSize(false);
    box->SetBounds(0, 0, 100, 30);
    EXPECT_EQ(box->PicturePosition(), TPoint(0, 2));
    box->SetAlignment(taLeftJustify);
    box->SetAlignmentVertical(avCenter);
    EXPECT_EQ(box->PicturePosition(), TPoint(87, 8));
    box->SetAlignmentVertical(avBottom);
    EXPECT_EQ(box->PicturePosition(), TPoint(87, 15));
}

TEST_F(RzRadChkTest, TheBoxFollowsItsActionsCheckedStateWithoutRunningIt) {
    auto* action = new TAction(form_.get());
    int runs = 0;
    action->OnExecute = [&](TObject*) { ++runs; };
    action->SetChecked(true);
    auto* box = Make<TRzCheckBox>();
    int clicks = 0;
    box->SetAction(action);
    box->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(box->Checked()) << "linking shows the action's state";
    action->SetChecked(false);
    EXPECT_FALSE(box->Checked());
    action->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(runs, 0) << "a state change from the action does not run it again";
    EXPECT_EQ(clicks, 0);
    auto* radio = Make<TRzRadioButton>(20);
    radio->SetAction(action);
    EXPECT_TRUE(radio->Checked());
    action->SetChecked(false);
    EXPECT_FALSE(radio->Checked());
    EXPECT_EQ(runs, 0);
}

TEST_F(RzRadChkTest, OlderFormDataSetsCheckedAndStateIsWhatIsWritten) {
    RegisterStyledControls();
    const char* text = R"(object Options: TForm
  object Sub: TRzCheckBox
    Left = 8
    Top = 8
    Caption = 'Subfolders'
    Checked = True
  end
end
)";
    TForm form(nullptr);
    ReadComponentText(text, &form);
    auto* box = dynamic_cast<TRzCheckBox*>(form.FindComponent("Sub"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->Checked());
    const std::string written = ComponentToText(&form);
    EXPECT_NE(written.find("State = cbChecked"), std::string::npos) << written;
    EXPECT_EQ(written.find("Checked = True"), std::string::npos) << written;
}

}  // namespace
