// The styled push button over the headless widget set: the press-and-drag state machine,
// latching groups, Enter and Esc, and the caption rectangle.
#include <gtest/gtest.h>

#include "controls/styled/RzButton.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/StdCtrls.h"

namespace {

class RzButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        RegisterStdCtrls();
        RegisterExtCtrls();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
        form_->Show();
    }
    template <class C>
    C* Make(TWinControl* parent = nullptr) {
        auto* c = new C(form_.get());
        c->SetParent(parent ? parent : form_.get());
        return c;
    }
    std::unique_ptr<TForm> form_;
};

void Mouse(TControl& c, UINT msg, int x, int y) { c.Perform(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }

TEST_F(RzButtonTest, PressDragAndReleaseClickOnlyInside) {
    auto* b = Make<TRzButton>();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    Mouse(*b, WM_LBUTTONDOWN, 10, 10);
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(b->PressedLook());
    Mouse(*b, WM_MOUSEMOVE, 200, 10);
    EXPECT_FALSE(b->PressedLook());  // the face pops up outside
    Mouse(*b, WM_MOUSEMOVE, 74, 24);
    EXPECT_TRUE(b->PressedLook());
    Mouse(*b, WM_LBUTTONUP, 74, 24);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->Tracking());
    // The bottom edge lies outside.
    Mouse(*b, WM_LBUTTONDOWN, 10, 10);
    Mouse(*b, WM_MOUSEMOVE, 10, b->Height());
    EXPECT_FALSE(b->PressedLook());
    Mouse(*b, WM_LBUTTONUP, 10, b->Height());
    EXPECT_EQ(clicks, 1);
    // A disabled button takes no press.
    b->SetEnabled(false);
    Mouse(*b, WM_LBUTTONDOWN, 10, 10);
    EXPECT_FALSE(b->Tracking());
}

TEST_F(RzButtonTest, GroupsLatchAndReleaseByTheirRules) {
    auto* panel = Make<TPanel>();
    auto* a = Make<TRzButton>(panel);
    auto* b = Make<TRzButton>(panel);
    auto* other = Make<TRzButton>(panel);
    a->SetDown(true);
    EXPECT_FALSE(a->Down()) << "no group, no latch";
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);
    a->SetDown(true);
    EXPECT_EQ(a->ButtonState(), TRzButton::bsExclusive);
    b->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(other->Down()) << "another group";
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    // A latched button without AllowAllUp stays down when clicked; the click still runs.
    Mouse(*b, WM_LBUTTONDOWN, 5, 5);
    Mouse(*b, WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 1);
    // AllowAllUp spreads over the group.
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp());
    EXPECT_FALSE(other->AllowAllUp());
    Mouse(*b, WM_LBUTTONDOWN, 5, 5);
    Mouse(*b, WM_LBUTTONUP, 5, 5);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 2);
}

TEST_F(RzButtonTest, EnterAndEscapeFollowFocusDefaultAndModifiers) {
    auto* panel = Make<TPanel>();
    auto* edit = Make<TEdit>();
    auto* ok = Make<TRzButton>(panel);
    auto* cancel = Make<TRzButton>(panel);
    auto* other = Make<TRzButton>(panel);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    other->SetModalResult(mrRetry);
    constexpr LONG shiftBit = 1 << 25, ctrlBit = 1 << 26, altBit = 1 << 29;
    struct Case {
        TWinControl* focus;
        WORD key;
        LONG keyData;
        TModalResult expected;
    } cases[] = {
        {edit, VK_RETURN, 0, mrOk},          {other, VK_RETURN, 0, mrRetry},  {ok, VK_RETURN, 0, mrOk},
        {edit, VK_ESCAPE, 0, mrCancel},      {other, VK_ESCAPE, 0, mrCancel}, {edit, VK_ESCAPE, shiftBit, mrNone},
        {edit, VK_RETURN, ctrlBit, mrNone},  {edit, VK_ESCAPE, altBit, mrNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " " << c.keyData << " on " << c.focus->ClassName());
        c.focus->SetFocus();
        form_->SetModalResult(mrNone);
        form_->Perform(CM_DIALOGKEY, c.key, c.keyData);
        ok->Perform(CM_DIALOGKEY, c.key, c.keyData);
        cancel->Perform(CM_DIALOGKEY, c.key, c.keyData);
        other->Perform(CM_DIALOGKEY, c.key, c.keyData);
        EXPECT_EQ(form_->ModalResult(), c.expected);
    }
    other->SetFocus();
    EXPECT_TRUE(other->ShowsDefault());
    EXPECT_FALSE(ok->ShowsDefault());
    edit->SetFocus();
    EXPECT_TRUE(ok->ShowsDefault());
    EXPECT_FALSE(other->ShowsDefault());
}

TEST_F(RzButtonTest, CaptionRectMovesWhenPressedOnTheClassicFaceOnly) {
    auto* b = Make<TRzButton>();
    TRect r;
    b->GetCaptionRect(r);
    EXPECT_EQ(r, TRect(5, 5, 70, 20));
    Mouse(*b, WM_LBUTTONDOWN, 5, 5);
    b->GetCaptionRect(r);
    EXPECT_EQ(r, TRect(6, 6, 71, 21));
    b->SetHotTrack(true);
    EXPECT_TRUE(b->Transparent());
    b->GetCaptionRect(r);
    EXPECT_EQ(r, TRect(5, 5, 70, 20));
    Mouse(*b, WM_LBUTTONUP, 5, 5);
}

}  // namespace
