// The styled status bar over the headless widget set: the grip follows the form, simple status
// swaps the panes for the caption, panes scale with the bar, and the spacer turns around.
#include <gtest/gtest.h>

#include "controls/styled/RzStatus.h"
#include "controls/styled/RzStatusBar.h"
#include "platform/vcl/Forms.h"

namespace {

class RzStatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 200, 150);
        bar_ = new TRzStatusBar(form_.get());
        bar_->SetParent(form_.get());
        for (int i = 0; i < 2; ++i) {
            panes_[i] = new TRzStatusPane(form_.get());
            panes_[i]->SetParent(bar_);
            panes_[i]->SetAlign(alLeft);
            panes_[i]->SetWidth(50);
        }
    }
    std::unique_ptr<TForm> form_;
    TRzStatusBar* bar_ = nullptr;
    TRzStatusPane* panes_[2] = {};
};

TEST_F(RzStatusBarTest, DocksAtTheBottomInItsAutomaticStyle) {
    EXPECT_EQ(bar_->Align(), alBottom);
    EXPECT_EQ(bar_->Height(), 19);
    EXPECT_EQ(bar_->Top(), form_->ClientHeight() - 19);
    EXPECT_EQ(bar_->BorderOuter(), fsNone);
    // A border of the user's own ends the automatic style.
    bar_->SetBorderOuter(fsLowered);
    EXPECT_FALSE(bar_->AutoStyle());
}

TEST_F(RzStatusBarTest, GripOnlyOnASizeableFormThatIsNotMaximised) {
    bar_->HandleNeeded();
    EXPECT_TRUE(bar_->SizeGripValid());
    form_->SetWindowState(wsMaximized);
    bar_->SetShowSizeGrip(true);
    EXPECT_FALSE(bar_->SizeGripValid());
    form_->SetWindowState(wsNormal);
    form_->SetBorderStyle(bsDialog);
    bar_->SetShowSizeGrip(true);
    EXPECT_FALSE(bar_->SizeGripValid());
}

TEST_F(RzStatusBarTest, TheGripUnderAPaneStillSizesTheForm) {
    panes_[1]->SetAlign(alClient);  // the last pane reaches the grip
    bar_->HandleNeeded();
    ASSERT_TRUE(bar_->SizeGripValid());
    const IStatusBarHost* host = bar_;
    EXPECT_TRUE(host->ShowsSizeGrip());
    int sizing = 0, paneDowns = 0;
    form_->WindowProc = [&, original = form_->WindowProc](TMessage& m) {
        if (m.Msg == WM_SYSCOMMAND && m.WParam == 0xF008) ++sizing;
        original(m);
    };
    panes_[1]->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++paneDowns; };
    bar_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar_->Width() - 4, 8));
    bar_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(bar_->Width() - 4, 8));
    EXPECT_EQ(sizing, 1) << "sized from the bottom-right corner";
    EXPECT_EQ(paneDowns, 0);
    bar_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 8));
    bar_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(100, 8));
    EXPECT_EQ(sizing, 1);
    EXPECT_EQ(paneDowns, 1) << "away from the grip the pane has the click";
}

TEST_F(RzStatusBarTest, SimpleStatusHidesThePanesAndBringsThemBack) {
    bar_->SetSimpleStatus(true);
    EXPECT_FALSE(panes_[0]->Visible());
    EXPECT_FALSE(panes_[1]->Visible());
    bar_->SetSimpleStatus(false);
    EXPECT_TRUE(panes_[0]->Visible());
    EXPECT_TRUE(panes_[1]->Visible());
}

TEST_F(RzStatusBarTest, PanesScaleWithTheBar) {
    bar_->SetAutoScalePanes(true);
    form_->SetClientWidth(200);
    ASSERT_EQ(bar_->Width(), 200);
    form_->SetClientWidth(300);
    EXPECT_EQ(panes_[0]->Width(), 75);
    EXPECT_EQ(panes_[1]->Width(), 75);
    // Without scaling the panes keep their widths.
    bar_->SetAutoScalePanes(false);
    form_->SetClientWidth(400);
    EXPECT_EQ(panes_[0]->Width(), 75);
}

TEST(RzSpacer, TurningItAroundSwapsWidthAndHeight) {
    TRzSpacer spacer(nullptr);
    EXPECT_EQ(spacer.Width(), 8);
    EXPECT_EQ(spacer.Height(), 25);
    spacer.SetOrientation(orVertical);
    EXPECT_EQ(spacer.Width(), 25);
    EXPECT_EQ(spacer.Height(), 8);
}

}  // namespace
