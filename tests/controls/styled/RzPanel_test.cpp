// The framed panel over the headless widget set: the border table seen through an aligned
// child, children keeping their own disabled state, and bottom-aligned resizing.
#include <gtest/gtest.h>

#include "controls/styled/RzPanel.h"
#include "platform/vcl/Forms.h"

namespace {

class RzPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
        panel_ = new TRzPanel(form_.get());
        panel_->SetParent(form_.get());
        panel_->SetBounds(0, 0, 100, 60);
    }
    std::unique_ptr<TForm> form_;
    TRzPanel* panel_ = nullptr;
};

TEST_F(RzPanelTest, BordersShrinkTheAreaChildrenAlignIn) {
    auto* child = new TPanel(form_.get());
    child->SetParent(panel_);
    child->SetAlign(alClient);
    panel_->SetBevelWidth(3);
    struct Case {
        TFrameStyleEx outer, inner;
        TSides sides;
        TRect expected;
    } cases[] = {
        {fsNone, fsNone, sdAllSides, TRect(0, 0, 100, 60)},
        {fsFlat, fsNone, sdAllSides, TRect(1, 1, 99, 59)},
        {fsStatus, fsNone, sdAllSides, TRect(3, 3, 97, 57)},  // the bevel width
        {fsPopup, fsNone, sdAllSides, TRect(3, 3, 97, 57)},
        {fsRaised, fsLowered, sdAllSides, TRect(4, 4, 96, 56)},
        {fsGroove, fsFlat, TSides{sdLeft, sdBottom}, TRect(3, 0, 100, 57)},
        {fsFlatRounded, fsNone, TSides{sdTop}, TRect(0, 2, 100, 60)},
    };
    for (const Case& c : cases) {
        panel_->SetBorderOuter(c.outer);
        panel_->SetBorderInner(c.inner);
        panel_->SetBorderSides(c.sides);
        EXPECT_EQ(child->BoundsRect(), c.expected) << c.outer << " " << c.inner;
    }
    // The border width counts on every side.
    panel_->SetBorderWidth(2);
    EXPECT_EQ(child->BoundsRect(), TRect(2, 4, 98, 58));
}

TEST_F(RzPanelTest, ReenablingKeepsChildrenThatWereDisabled) {
    auto* off = new TPanel(form_.get());
    auto* on = new TPanel(form_.get());
    off->SetParent(panel_);
    on->SetParent(panel_);
    off->SetEnabled(false);
    panel_->SetEnabled(false);
    EXPECT_FALSE(on->Enabled());
    auto* later = new TPanel(form_.get());  // added while the panel was disabled
    later->SetParent(panel_);
    panel_->SetEnabled(true);
    EXPECT_FALSE(off->Enabled());
    EXPECT_TRUE(on->Enabled());
    EXPECT_TRUE(later->Enabled());
}

TEST_F(RzPanelTest, AlignedPanelsKeepTheirOuterEdge) {
    panel_->SetAlign(alBottom);
    const int bottom = panel_->Top() + panel_->Height();
    panel_->SetHeight(90);
    EXPECT_EQ(panel_->Top() + panel_->Height(), bottom);
    EXPECT_EQ(panel_->Height(), 90);
    panel_->SetAlign(alRight);
    const int right = panel_->Left() + panel_->Width();
    panel_->SetWidth(50);
    EXPECT_EQ(panel_->Left() + panel_->Width(), right);
}

}  // namespace
