// Toolbar buttons painting over the Qt drawing interface: pixel probes of the hover frame, the
// latched pattern, the picture that moves when pressed and the drop-down arrow.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QTimer>

#include "controls/styled/RzToolbar.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class RzToolbarGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(10, 10, 420, 200);
        bar_ = new TRzToolbar(form_.get());
        bar_->SetParent(form_.get());
        bar_->SetColor(clWhite);
        images_ = new TImageList(form_.get());
        images_->AddPixels(std::vector<std::uint32_t>(16 * 16, 0xFFFF0000));  // solid red
        bar_->SetImages(images_);
    }
    TRzToolButton* Button() {
        auto* b = new TRzToolButton(form_.get());
        b->SetParent(bar_);
        b->SetImageIndex(0);
        return b;
    }
    // The toolbar painted with its buttons; pixel (x, y) of the button b.
    TColor Pixel(const TRzToolButton& b, int x, int y) {
        TBitmap shot(bar_->Width(), bar_->Height());
        bar_->PaintHandler(shot.Canvas()->Handle());
        return shot.Canvas()->Pixel(b.Left() + x, b.Top() + y);
    }
    std::unique_ptr<TForm> form_;
    TRzToolbar* bar_ = nullptr;
    TImageList* images_ = nullptr;
};

TEST_F(RzToolbarGuiTest, FlatFaceShowsOnlyWhileHoveredAndTheLatchShowsItsPattern) {
    TRzToolButton* b = Button();
    EXPECT_EQ(Pixel(*b, 0, 10), TColor(clWhite)) << "a flat button at rest has no face";
    EXPECT_EQ(Pixel(*b, 12, 12), TColor(0x0000FF)) << "its picture is centred";
    b->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(Pixel(*b, 0, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Pixel(*b, 24, 10), ColorToRGB(clBtnShadow));
    b->Perform(CM_MOUSELEAVE, 0, 0);

    b->SetGroupIndex(1);
    b->SetDown(true);
    EXPECT_EQ(Pixel(*b, 0, 10), ColorToRGB(clBtnShadow)) << "latched: sunken";
    const TColor a = Pixel(*b, 2, 2), c = Pixel(*b, 3, 2);
    EXPECT_NE(a, c) << "the pattern alternates";
    const auto face = static_cast<TColor>(ColorToRGB(clBtnFace)), light = static_cast<TColor>(ColorToRGB(clBtnHighlight));
    EXPECT_TRUE((a == face && c == light) || (c == face && a == light));
    // A latched button's picture sits one pixel right and down: (5, 5) is its first column.
    EXPECT_EQ(Pixel(*b, 5, 6), TColor(0x0000FF));
    EXPECT_NE(Pixel(*b, 4, 6), TColor(0x0000FF));
}

TEST_F(RzToolbarGuiTest, DropDownButtonDrawsItsArrowAndGreysItWhenDisabled) {
    TRzToolButton* b = Button();
    b->SetToolStyle(tsDropDown);
    // The arrow's tip is at (width - 8, height / 2 + 2), its top row 2 pixels up and 5 wide.
    const int x = b->Width() - 8, y = b->Height() / 2 + 2;
    EXPECT_EQ(Pixel(*b, x, y), ColorToRGB(clWindowText));
    EXPECT_EQ(Pixel(*b, x - 2, y - 2), ColorToRGB(clWindowText));
    EXPECT_EQ(Pixel(*b, x, y + 1), TColor(clWhite));
    b->SetEnabled(false);
    EXPECT_EQ(Pixel(*b, x, y), ColorToRGB(clBtnShadow));
}

// The popup buttons among what a component owns, at any depth.
void FindPopupButtons(const TComponent& owner, std::vector<TRzPopupToolButton*>& found) {
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* c = owner.Components(i);
        if (auto* b = dynamic_cast<TRzPopupToolButton*>(c)) found.push_back(b);
        FindPopupButtons(*c, found);
    }
}

TEST_F(RzToolbarGuiTest, OverflowPopupOffersTheHiddenButtonsAndClicksTheChosenOne) {
    form_->Show();
    bar_->SetWrapControls(false);
    std::vector<int> clicked;
    for (int i = 0; i < 10; ++i) {
        TRzToolButton* b = Button();
        b->SetWidth(50);
        b->OnClick = [&clicked, i](TObject*) { clicked.push_back(i); };
    }
    const int fit = (bar_->Width() - 2 * bar_->Margin()) / 50;
    ASSERT_TRUE(bar_->OverflowShown());
    ASSERT_EQ(static_cast<int>(bar_->HiddenToolButtons().size()), 10 - fit);
    std::vector<TRzPopupToolButton*> offered;
    QTimer::singleShot(0, [&] {
        FindPopupButtons(*bar_->OverflowButton(), offered);
        if (!offered.empty()) offered.front()->Click();
    });
    bar_->OverflowButton()->ShowOverflowPopup();
    EXPECT_EQ(static_cast<int>(offered.size()), 10 - fit);
    EXPECT_EQ(clicked, std::vector<int>{fit}) << "the first hidden button ran, once the popup closed";
}

}  // namespace
