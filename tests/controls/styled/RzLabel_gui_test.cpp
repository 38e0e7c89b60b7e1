// The styled label's text by pixels: rotated text runs the way its angle says, text laid along
// an arc leaves ink round its centre, and layout moves the text down.
#include <gtest/gtest.h>

#include <cmath>

#include <QApplication>

#include "controls/styled/RzLabel.h"
#include "platform/vcl/qt/GdiQt.h"

namespace {

void EnsureApp() {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "label_gui_tests";
        static char* argv[] = {name, nullptr};
        // The widgets application type: other cases in this binary make widgets.
        static QApplication* app = new QApplication(argc, argv);  // lives until exit
        (void)app;
    }
    InstallQtGdi();
}

// The box holding every pixel darker than mid grey; empty when there is none.
TRect InkBox(TBitmap& b) {
    TRect box(b.Width(), b.Height(), 0, 0);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Canvas()->Pixel(x, y);
            if ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) >= 3 * 128) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    return box.right > box.left ? box : TRect();
}

class LabelPaint : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        label_.SetAutoSize(false);
        label_.SetColor(clWhite);
        label_.SetParentColor(false);
        label_.Font()->SetColor(clBlack);
        label_.Font()->SetName(u"DejaVu Sans");
        label_.Font()->SetSize(16);
        label_.SetCaption(u"Mail");
        label_.SetBounds(0, 0, 120, 120);
    }
    TRect Paint() {
        bitmap_ = std::make_unique<TBitmap>(label_.Width(), label_.Height());
        bitmap_->Canvas()->Brush()->SetColor(clWhite);
        bitmap_->Canvas()->FillRect(TRect(0, 0, label_.Width(), label_.Height()));
        label_.Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap_->Canvas()->Handle()), 0);
        return InkBox(*bitmap_);
    }
    TRzLabel label_{nullptr};
    std::unique_ptr<TBitmap> bitmap_;
};

TEST_F(LabelPaint, RotatedTextRunsAlongItsAngle) {
    label_.SetAlignment(taCenter);
    const TRect flat = Paint();
    ASSERT_FALSE(flat.IsEmpty());
    EXPECT_GT(flat.Width(), flat.Height());
    for (int angle : {90, 270}) {
        label_.SetAngle(angle);
        const TRect r = Paint();
        ASSERT_FALSE(r.IsEmpty()) << angle;
        EXPECT_GT(r.Height(), r.Width()) << angle;
        EXPECT_NEAR(r.Height(), flat.Width(), 2) << angle << ": the same text, stood up";
        // Centred on the label: the text's middle lies near the label's.
        EXPECT_NEAR((r.top + r.bottom) / 2, 60, 3) << angle;
        EXPECT_NEAR((r.left + r.right) / 2, 60, 4) << angle;
    }
    label_.SetAngle(180);
    const TRect upsideDown = Paint();
    EXPECT_NEAR(upsideDown.Width(), flat.Width(), 2);
    EXPECT_NEAR((upsideDown.left + upsideDown.right) / 2, 60, 3);
    label_.SetAngle(45);
    const TRect slanted = Paint();
    EXPECT_NEAR(slanted.Width(), slanted.Height(), 4);
}

TEST_F(LabelPaint, CurvedTextNeedsRoomForItsArc) {
    label_.SetRotation(roCurve);
    label_.SetAngle(150);
    const TRect arc = Paint();
    EXPECT_FALSE(arc.IsEmpty());
    // Border width 30 leaves the centred arc no radius: nothing is drawn, nothing divides by 0.
    label_.SetBorderWidth(30);
    EXPECT_TRUE(Paint().IsEmpty());
}

// Upright bars laid along a circle stand across the arc with their tops towards the centre:
// their ink fills a ring as deep as a capital, inside the circle the baselines follow. Bars
// turned into spokes would lie along and outside that circle.
TEST_F(LabelPaint, CurvedTextFollowsTheArc) {
    label_.SetBounds(0, 0, 160, 160);
    label_.Font()->SetSize(20);
    label_.SetCaption(u"IIIIIIIIII");
    label_.SetRotation(roCurve);
    label_.SetCenterPoint(cpCenter);
    label_.SetAngle(330);  // from the left, down round the bottom
    ASSERT_FALSE(Paint().IsEmpty());
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(label_.Font());
    const int baseline = 80 - measure.Canvas()->TextHeight(u"Yy");
    TCanvas& c = *bitmap_->Canvas();
    double nearest = 1e9, farthest = 0;
    int below = 0, above = 0;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 160; ++x) {
            const TColor p = c.Pixel(x, y);
            if ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF) >= 3 * 128) continue;
            const double r = std::hypot(x - 80.0, y - 80.0);
            nearest = std::min(nearest, r);
            farthest = std::max(farthest, r);
            ++(y > 80 ? below : above);
        }
    EXPECT_LE(farthest, baseline + 1.5) << "tops towards the centre, nothing beyond the baselines";
    EXPECT_GE(farthest - nearest, 12) << "a 20-point capital stands some 19 pixels across the arc";
    EXPECT_GT(nearest, 20.0) << "nothing near the centre";
    EXPECT_GT(below, above) << "the text runs round the lower half";
}

TEST_F(LabelPaint, LayoutMovesTheTextDown) {
    const TRect top = Paint();
    label_.SetLayout(tlCenter);
    const TRect centre = Paint();
    label_.SetLayout(tlBottom);
    const TRect bottom = Paint();
    EXPECT_LT(top.top, 10);
    EXPECT_NEAR((centre.top + centre.bottom) / 2, 60, 3);
    EXPECT_GT(bottom.bottom, 110);
    EXPECT_EQ(bottom.Height(), top.Height());
}

TEST(RzLabel, RotationCentreAndArcRadii) {
    struct Case {
        TCenterPoint point;
        TPoint centre, radii;
    } const cases[] = {
        {cpUpperLeft, {3, 3}, {94, 54}},   {cpUpperCenter, {50, 3}, {44, 54}}, {cpRightCenter, {97, 30}, {94, 24}},
        {cpCenter, {50, 30}, {44, 24}},    {cpLowerRight, {97, 57}, {94, 54}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RotationCenter(c.point, roCurve, 100, 60, 3), c.centre) << c.point;
        EXPECT_EQ(CurveRadii(c.point, 100, 60, 3), c.radii) << c.point;
    }
    EXPECT_EQ(RotationCenter(cpUpperLeft, roFlat, 100, 60, 3), TPoint(50, 30));  // flat: always the middle
}

}  // namespace
