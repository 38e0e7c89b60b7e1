// The glyph button over the headless widget set: picture counts from the glyph's shape, stock
// kinds and their reset to bkCustom, and the caption and picture rectangles of each layout.
#include <gtest/gtest.h>

#include "controls/styled/RzBitBtn.h"
#include "platform/vcl/Forms.h"

namespace {

class RzBitBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 300, 200);
        form_->Show();
        button_ = new TRzBitBtn(form_.get());
        button_->SetParent(form_.get());
        button_->SetBounds(0, 0, 100, 60);
        button_->MeasureCaptionHeight = [](const TRect&) { return 13; };
    }
    std::unique_ptr<TForm> form_;
    TRzBitBtn* button_ = nullptr;
};

TEST_F(RzBitBtnTest, GlyphShapeGivesThePictureCount) {
    const struct {
        int w, h, expected;
    } rows[] = {{36, 18, 2}, {48, 16, 3}, {64, 16, 4}, {80, 16, 1}, {20, 16, 1}, {16, 16, 1}};
    for (const auto& r : rows) {
        button_->SetNumGlyphs(1);
        TBitmap glyph(r.w, r.h);
        button_->SetGlyph(&glyph);
        EXPECT_EQ(button_->NumGlyphs(), r.expected) << r.w << "x" << r.h;
    }
    // A shape that is no whole multiple keeps the count.
    button_->SetNumGlyphs(3);
    TBitmap odd(20, 16);
    button_->SetGlyph(&odd);
    EXPECT_EQ(button_->NumGlyphs(), 3);
}

TEST_F(RzBitBtnTest, StockKindsAndTheirReset) {
    button_->SetKind(bkOK);
    EXPECT_EQ(button_->Caption(), u"OK");
    EXPECT_TRUE(button_->Default());
    EXPECT_EQ(button_->ModalResult(), mrOk);
    EXPECT_EQ(button_->NumGlyphs(), 2);
    EXPECT_EQ(button_->Glyph()->Width(), 32);
    EXPECT_FALSE(button_->IsRoleStored());
    EXPECT_FALSE(button_->IsGlyphStored());
    EXPECT_EQ(button_->GetKind(), bkOK);
    button_->SetModalResult(mrCancel);
    EXPECT_TRUE(button_->IsRoleStored());
    EXPECT_EQ(button_->GetKind(), bkCustom);
    EXPECT_TRUE(button_->IsGlyphStored());
    button_->SetKind(bkNo);
    EXPECT_TRUE(button_->Cancel());
    EXPECT_FALSE(button_->Default());
    EXPECT_EQ(button_->Caption(), u"&No");
    // A glyph of one's own makes the button custom too.
    TBitmap own(16, 16);
    button_->SetGlyph(&own);
    EXPECT_EQ(button_->GetKind(), bkCustom);
    // Margins below -1 are ignored.
    button_->SetMargin(-2);
    EXPECT_EQ(button_->Margin(), 2);
}

TEST_F(RzBitBtnTest, CaptionAndPictureRectanglesOfEachLayout) {
    TBitmap glyph(16, 16);
    button_->SetGlyph(&glyph);
    // Client 100 x 60: the base caption rectangle is (5, 5, 95, 55); picture 16 x 16, caption 13 high.
    struct Case {
        TButtonLayout layout;
        int margin;
        TRect caption, picture;
    } cases[] = {
        {blGlyphLeft, 2, TRect(27, 5, 95, 55), TRect(7, 22, 23, 38)},
        {blGlyphRight, 2, TRect(5, 5, 73, 55), TRect(77, 22, 93, 38)},
        {blGlyphTop, 2, TRect(5, 27, 95, 55), TRect(42, 7, 58, 23)},
        {blGlyphBottom, 2, TRect(5, 5, 95, 33), TRect(42, 37, 58, 53)},
        {blGlyphLeft, -1, TRect(24, 5, 95, 55), TRect(5, 22, 21, 38)},
        {blGlyphRight, -1, TRect(5, 5, 76, 55), TRect(79, 22, 95, 38)},
        // (60 - (16 + 13 + 4)) / 2 = 13: picture from 13, caption from 13 + 16 + 5.
        {blGlyphTop, -1, TRect(5, 34, 95, 47), TRect(42, 13, 58, 29)},
        {blGlyphBottom, -1, TRect(5, 18, 95, 31), TRect(42, 31, 58, 47)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layout << " margin " << c.margin);
        button_->SetLayout(c.layout);
        button_->SetMargin(c.margin);
        TRect caption;
        button_->GetCaptionRect(caption);
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(button_->GetGlyphRect(), c.picture);
    }
    // Pressed on the classic face: one pixel right and down.
    button_->SetLayout(blGlyphLeft);
    button_->SetMargin(2);
    button_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(button_->GetGlyphRect(), TRect(8, 23, 24, 39));
    button_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(RzBitBtnTest, ImageListGivesTheSizeButNotThePictureOfAStockKind) {
    TImageList list(form_.get());
    list.SetSize(24, 20);
    button_->SetImages(&list);
    button_->SetImageIndex(0);
    EXPECT_EQ(button_->GetGlyphSize(), TPoint(24, 20));
    button_->SetKind(bkCancel);
    EXPECT_EQ(button_->GetGlyphSize(), TPoint(24, 20));
    button_->SetImages(nullptr);
    EXPECT_EQ(button_->GetGlyphSize(), TPoint(16, 16));
}

}  // namespace
