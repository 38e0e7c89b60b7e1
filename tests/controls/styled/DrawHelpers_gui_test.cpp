// Pixel probes of the drawing helpers on an off-screen bitmap with the classic colours.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>

#include "controls/styled/DrawHelpers.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/GdiQt.h"

namespace {

constexpr TColor kSentinel = 0x00FF00FF;  // no helper draws this

// A bitmap filled with the sentinel colour.
class Board {
public:
    Board(int w, int h) {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "styled_gui_tests";
            static char* argv[] = {name, nullptr};
            // The widgets application type: other cases in this binary make widgets.
            static QApplication* app = new QApplication(argc, argv);  // lives until exit
            (void)app;
        }
        InstallQtGdi();
        bmp_.SetSize(w, h);
        c().Brush()->SetColor(kSentinel);
        c().FillRect(TRect(0, 0, w, h));
    }
    TCanvas& c() { return *bmp_.Canvas(); }
    TColor At(int x, int y) { return c().Pixel(x, y); }
    bool Untouched() {
        for (int y = 0; y < bmp_.Height(); ++y)
            for (int x = 0; x < bmp_.Width(); ++x)
                if (At(x, y) != kSentinel) return false;
        return true;
    }

private:
    TBitmap bmp_;
};

TColor Rgb(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

int Distance(TColor a, TColor b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

TEST(DrawHelpers, FrameStylesDrawTheirOuterColoursAndLeaveTheirWidthInside) {
    struct Case {
        TFrameStyle style;
        TColor left, right;  // outermost pixel of the left and of the right side
        int width;
    } const cases[] = {
        {fsNone, kSentinel, kSentinel, 0},         {fsFlat, cl3DDkShadow, cl3DDkShadow, 1},
        {fsGroove, clBtnShadow, clBtnHighlight, 2}, {fsBump, clBtnHighlight, clBtnShadow, 2},
        {fsLowered, clBtnShadow, clBtnHighlight, 2}, {fsButtonDown, clBtnText, clBtnText, 2},
        {fsRaised, cl3DLight, cl3DDkShadow, 2},     {fsButtonUp, clBtnHighlight, cl3DDkShadow, 2},
        {fsStatus, clBtnShadow, clBtnHighlight, 1}, {fsPopup, clBtnHighlight, clBtnShadow, 1},
        {fsFlatBold, clBtnShadow, clBtnShadow, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(TypeInfoOf<TFrameStyleEx>()->EnumNames[k.style]);
        Board b(20, 20);
        const TRect inner = PaintFrameBorder(b.c(), TRect(0, 0, 20, 20), k.style);
        EXPECT_EQ(inner, TRect(k.width, k.width, 20 - k.width, 20 - k.width));
        EXPECT_EQ(b.At(0, 10), Rgb(k.left));
        EXPECT_EQ(b.At(19, 10), Rgb(k.right));
        EXPECT_EQ(b.At(10, 0), Rgb(k.left));
        EXPECT_EQ(b.At(10, 19), Rgb(k.right));
        EXPECT_EQ(b.At(10, 10), kSentinel);
        EXPECT_EQ(b.At(k.width, k.width), kSentinel);
    }
}

TEST(DrawHelpers, SidesChooseWhatIsDrawnAndClNoneStillShrinks) {
    Board b(10, 10);
    EXPECT_EQ(PaintRectSides(b.c(), TRect(0, 0, 10, 10), clRed, clRed, TSides{}), TRect(0, 0, 10, 10));
    EXPECT_TRUE(b.Untouched());
    EXPECT_EQ(PaintRectSides(b.c(), TRect(0, 0, 10, 10), clNone, clBlue, sdAllSides), TRect(1, 1, 9, 9));
    EXPECT_EQ(b.At(0, 5), kSentinel);
    EXPECT_EQ(b.At(9, 5), clBlue);
    EXPECT_EQ(b.At(5, 9), clBlue);
    EXPECT_EQ(PaintFrameBorderSides(b.c(), TRect(0, 0, 10, 10), fsFlat, {sdTop}), TRect(0, 1, 10, 10));
}

TEST(DrawHelpers, GradientsRunAlongTheirDirection) {
    struct Case {
        TGradientDirection direction;
        TPoint sameA, sameB;     // alike by symmetry or across the bands
        TPoint differA, differB; // along the run
    } const cases[] = {
        // Horizontal bands change from top to bottom, vertical bands from left to right.
        {gdHorizontalEnd, {0, 15}, {39, 15}, {20, 0}, {20, 29}},
        {gdHorizontalCenter, {20, 0}, {20, 29}, {20, 0}, {20, 15}},
        {gdHorizontalBox, {20, 0}, {20, 29}, {20, 0}, {20, 15}},
        {gdVerticalEnd, {20, 0}, {20, 29}, {0, 15}, {39, 15}},
        {gdVerticalCenter, {0, 15}, {39, 15}, {0, 15}, {20, 15}},
        {gdVerticalBox, {0, 15}, {39, 15}, {0, 15}, {20, 15}},
        {gdSquareBox, {0, 0}, {39, 29}, {0, 0}, {20, 15}},
        {gdBigSquareBox, {0, 0}, {39, 29}, {0, 0}, {20, 15}},
        {gdDiagonalUp, {5, 5}, {34, 24}, {2, 27}, {37, 2}},
        {gdDiagonalDown, {5, 24}, {34, 5}, {2, 2}, {37, 27}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(TypeInfoOf<TGradientDirection>()->EnumNames[k.direction]);
        Board b(42, 32);
        PaintGradient(b.c(), TRect(0, 0, 40, 30), k.direction, 1, clBlack, clWhite);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) ASSERT_NE(b.At(x, y), kSentinel) << x << "," << y;
        EXPECT_EQ(b.At(40, 5), kSentinel);
        EXPECT_EQ(b.At(5, 30), kSentinel);
        EXPECT_LE(Distance(b.At(k.sameA.x, k.sameA.y), b.At(k.sameB.x, k.sameB.y)), 64);  // one band apart at most
        EXPECT_GE(Distance(b.At(k.differA.x, k.differA.y), b.At(k.differB.x, k.differB.y)), 200);
    }
}

TEST(DrawHelpers, EmptyAndOneColourGradients) {
    Board b(20, 20);
    PaintGradient(b.c(), TRect(5, 5, 5, 15), gdHorizontalEnd, 1, clBlack, clWhite);
    EXPECT_TRUE(b.Untouched());
    PaintGradient(b.c(), TRect(0, 0, 20, 20), gdSquareBox, 1, clTeal, clTeal);
    for (auto [x, y] : {std::pair{0, 0}, {10, 10}, {19, 19}, {0, 19}}) EXPECT_EQ(b.At(x, y), clTeal);
}

TEST(DrawHelpers, SegmentedBarLightsWholeSegments) {
    struct Case {
        int width, percent, segments;
        TPoint lit, dark;  // a pixel inside a lit segment and one inside an unlit one
    } const cases[] = {
        {80, 50, 15, {36, 5}, {44, 5}},   // 15 segments in 80 px: 10 of 8 px, five lit
        {80, 0, 15, {-1, -1}, {4, 5}},
        {80, 100, 15, {76, 5}, {-1, -1}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.percent);
        Board b(k.width, 10);
        PaintProgressBarThemed(b.c(), TRect(0, 0, k.width, 10), false, false, false, k.percent, k.segments, clWhite,
                               clNavy);
        if (k.lit.x >= 0) {
            EXPECT_EQ(b.At(k.lit.x, k.lit.y), clNavy);
        }
        if (k.dark.x >= 0) {
            EXPECT_EQ(b.At(k.dark.x, k.dark.y), clWhite);
        }
        EXPECT_EQ(b.At(39, 5), clWhite);  // the segments' own outline in the background colour
    }
    Board none(40, 10);
    PaintProgressBarThemed(none.c(), TRect(0, 0, 40, 10), false, false, false, 50, 0, clWhite, clNavy);
    PaintProgressBarThemed(none.c(), TRect(0, 0, 5, 10), false, false, false, 50, 10, clWhite, clNavy);
    EXPECT_TRUE(none.Untouched());
}

TEST(DrawHelpers, GradientBarFillsItsShareAtTheEnds) {
    for (int percent : {0, 100}) {
        SCOPED_TRACE(percent);
        Board b(60, 12);
        PaintGradientProgress(b.c(), TRect(0, 0, 60, 12), false, false, false, percent, gdHorizontalEnd, clWhite,
                              clWhite, clRed, clRed);
        const TColor expected = percent == 100 ? clRed : clWhite;
        for (int x : {0, 30, 59}) EXPECT_EQ(b.At(x, 6), expected) << x;
    }
    Board v(12, 60);
    PaintGradientProgress(v.c(), TRect(0, 0, 12, 60), true, false, false, 50, gdVerticalEnd, clWhite, clWhite, clRed, clRed);
    EXPECT_EQ(v.At(6, 59), clRed);  // a vertical bar fills from the bottom
    EXPECT_EQ(v.At(6, 0), clWhite);
}

TEST(DrawHelpers, PercentFiguresAreCentredInARectangleAwayFromTheOrigin) {
    Board b(200, 20);
    PaintProgressPercentText(b.c(), TRect(100, 0, 180, 20), false, false, true, 0, clWhite, clBlack);
    long sum = 0, count = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x)
            if (b.At(x, y) != kSentinel && Distance(b.At(x, y), clWhite) > 300) {
                EXPECT_GE(x, 100);
                sum += x;
                ++count;
            }
    ASSERT_GT(count, 0) << "no figures drawn";
    EXPECT_NEAR(static_cast<double>(sum) / count, 140.0, 6.0);
    EXPECT_EQ(b.At(50, 10), kSentinel);
}

TEST(DrawHelpers, FocusBorderInvertsEverySecondPixel) {
    Board b(10, 6);
    b.c().Brush()->SetColor(clWhite);
    b.c().FillRect(TRect(0, 0, 10, 6));
    EXPECT_EQ(PaintFocusBorder(b.c(), TRect(0, 0, 10, 6)), TRect(1, 1, 9, 5));
    EXPECT_EQ(b.At(1, 0), clBlack);
    EXPECT_EQ(b.At(2, 0), clWhite);
    EXPECT_EQ(b.At(0, 1), clBlack);
    EXPECT_EQ(b.At(9, 3), clBlack);
    EXPECT_EQ(b.At(4, 3), clWhite);
}

TEST(DrawHelpers, GlyphsMarkTheirListedPixels) {
    Board b(40, 13);
    TGlyphColors colors;
    colors.markColor = clBlack;
    colors.frameColor = clNavy;
    colors.fillColor = clWhite;
    PaintCheckBoxGlyph(b.c(), TRect(0, 0, 13, 13), gcsChecked, colors, false, dsNormal);
    EXPECT_EQ(b.At(0, 0), clNavy);
    EXPECT_EQ(b.At(1 + 2, 1 + 4), clBlack);  // first stroke of the tick
    EXPECT_EQ(b.At(1 + 8, 1 + 3), clBlack);
    EXPECT_EQ(b.At(1 + 1, 1 + 1), clWhite);
    PaintCheckBoxGlyph(b.c(), TRect(13, 0, 26, 13), gcsUnchecked, colors, false, dsNormal);
    EXPECT_EQ(b.At(13 + 3, 5), clWhite);
    // The close glyph: the large cross from 9 x 11 up, the small one below.
    Board big(20, 20), small(20, 20);
    PaintCloseGlyph(big.c(), TRect(0, 0, 12, 12), clBlack);
    PaintCloseGlyph(small.c(), TRect(0, 0, 12, 10), clBlack);
    int bigCount = 0, smallCount = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bigCount += big.At(x, y) == clBlack;
            smallCount += small.At(x, y) == clBlack;
        }
    EXPECT_GT(smallCount, 0);
    EXPECT_GT(bigCount, smallCount);
}

}  // namespace
