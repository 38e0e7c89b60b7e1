// Pixel rules of the drawing interface on an off-screen bitmap.
#include <gtest/gtest.h>

#include "tests/platform/vcl/gdi/GdiTestSupport.h"

using gditest::Selected;
using gditest::Surface;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(GdiPixels, RectangleLeavesOutRightAndBottomEdges) {
    Surface s(12, 10);
    Selected brush(s.dc(), CreateSolidBrush(kRed));
    ASSERT_TRUE(Rectangle(s.dc(), 2, 2, 8, 6));
    EXPECT_EQ(s.At(2, 2), kBlack);
    EXPECT_EQ(s.At(7, 5), kBlack);
    EXPECT_EQ(s.At(7, 2), kBlack);
    EXPECT_EQ(s.At(3, 3), kRed);
    EXPECT_EQ(s.At(6, 4), kRed);
    EXPECT_EQ(s.At(8, 5), kWhite) << s.Picture(0, 0, 12, 10);
    EXPECT_EQ(s.At(7, 6), kWhite);
}

TEST(GdiPixels, RectangleWithoutPenIsOnePixelSmaller) {
    Surface s(12, 10);
    Selected brush(s.dc(), CreateSolidBrush(kRed));
    SelectObject(s.dc(), GetStockObject(NULL_PEN));
    Rectangle(s.dc(), 2, 2, 8, 6);
    EXPECT_EQ(s.At(2, 2), kRed);
    EXPECT_EQ(s.At(6, 4), kRed);
    EXPECT_EQ(s.At(7, 4), kWhite) << s.Picture(0, 0, 12, 10);
    EXPECT_EQ(s.At(6, 5), kWhite);
}

TEST(GdiPixels, PolygonFillLeavesOutRightAndBottomEdges) {
    const POINT box[] = {{2, 2}, {8, 2}, {8, 6}, {2, 6}};
    Surface bare(12, 10);
    {
        Selected brush(bare.dc(), CreateSolidBrush(kRed));
        SelectObject(bare.dc(), GetStockObject(NULL_PEN));
        Polygon(bare.dc(), box, 4);
    }
    EXPECT_EQ(bare.At(2, 2), kRed) << bare.Picture(0, 0, 12, 10);
    EXPECT_EQ(bare.At(7, 5), kRed);
    EXPECT_EQ(bare.At(8, 4), kWhite);
    EXPECT_EQ(bare.At(4, 6), kWhite);

    // With a pen the outline adds the right and bottom edges.
    Surface outlined(12, 10);
    Polygon(outlined.dc(), box, 4);
    EXPECT_NE(outlined.At(8, 6), kWhite) << outlined.Picture(0, 0, 12, 10);
    EXPECT_NE(outlined.At(2, 2), kWhite);
    EXPECT_EQ(outlined.At(9, 7), kWhite);
}

TEST(GdiPixels, LinesLeaveOutTheirEndPoint) {
    Surface s(12, 12);
    MoveToEx(s.dc(), 1, 1, nullptr);
    LineTo(s.dc(), 6, 1);
    EXPECT_EQ(s.At(1, 1), kBlack);
    EXPECT_EQ(s.At(5, 1), kBlack);
    EXPECT_EQ(s.At(6, 1), kWhite) << s.Picture(0, 0, 12, 12);
    MoveToEx(s.dc(), 2, 3, nullptr);
    LineTo(s.dc(), 2, 9);
    EXPECT_EQ(s.At(2, 8), kBlack);
    EXPECT_EQ(s.At(2, 9), kWhite) << s.Picture(0, 0, 12, 12);
    MoveToEx(s.dc(), 4, 4, nullptr);
    LineTo(s.dc(), 9, 9);
    EXPECT_EQ(s.At(4, 4), kBlack);
    EXPECT_EQ(s.At(8, 8), kBlack);
    EXPECT_EQ(s.At(9, 9), kWhite) << s.Picture(0, 0, 12, 12);
    POINT p{};
    GetCurrentPositionEx(s.dc(), &p);
    EXPECT_EQ(p.x, 9);
    EXPECT_EQ(p.y, 9);
}

TEST(GdiPixels, FillRectAndFrameRectStayInsideTheRectangle) {
    Surface s(12, 12);
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT r{2, 2, 7, 6};
    FillRect(s.dc(), &r, red);
    EXPECT_EQ(s.At(6, 5), kRed);
    EXPECT_EQ(s.At(7, 5), kWhite);
    EXPECT_EQ(s.At(6, 6), kWhite);
    const RECT f{1, 1, 11, 11};
    FrameRect(s.dc(), &f, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(s.At(10, 10), kBlack);
    EXPECT_EQ(s.At(9, 9), kWhite);
    EXPECT_EQ(s.At(11, 11), kWhite);
    // A system colour index + 1 stands for that colour's brush.
    const RECT g{0, 11, 3, 12};
    FillRect(s.dc(), &g, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(s.At(0, 11), GetSysColor(COLOR_BTNFACE));
    DeleteObject(red);
}

}  // namespace

namespace {

TEST(GdiPixels, DrawEdgeRaisedAndSunken) {
    Surface s(10, 10);
    RECT r{0, 0, 10, 10};
    ASSERT_TRUE(DrawEdge(s.dc(), &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
    EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(s.At(9, 9), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(s.At(9, 0), GetSysColor(COLOR_3DDKSHADOW));  // the bottom-right colour owns the corners
    EXPECT_EQ(s.At(0, 9), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.At(8, 8), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(s.At(5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right, 8);
    RECT q{0, 0, 10, 10};
    DrawEdge(s.dc(), &q, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(s.At(9, 9), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(s.At(8, 8), GetSysColor(COLOR_3DLIGHT));
    // Only the sides asked for.
    Surface t(10, 10);
    RECT b{0, 0, 10, 10};
    DrawEdge(t.dc(), &b, BDR_RAISEDOUTER, BF_BOTTOM);
    EXPECT_EQ(t.At(5, 9), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(t.At(5, 0), RGB(255, 255, 255));
}

TEST(GdiPixels, ClippingRegionsAndSavedStates) {
    Surface s(20, 20);
    HRGN ellipse = CreateEllipticRgn(0, 0, 20, 20);
    EXPECT_EQ(SelectClipRgn(s.dc(), ellipse), COMPLEXREGION);
    const int saved = SaveDC(s.dc());
    ExcludeClipRect(s.dc(), 8, 8, 12, 12);
    const RECT all{0, 0, 20, 20};
    FillRect(s.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // Pixels outside the clip region cannot be read.
    EXPECT_EQ(s.At(10, 10), CLR_INVALID);
    RECT box{};
    EXPECT_EQ(GetClipBox(s.dc(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 20);
    SaveDC(s.dc());
    SelectClipRgn(s.dc(), nullptr);
    EXPECT_EQ(s.At(5, 10), RGB(0, 0, 0));
    EXPECT_EQ(s.At(10, 10), RGB(255, 255, 255));  // the excluded hole
    EXPECT_EQ(s.At(0, 0), RGB(255, 255, 255));    // outside the ellipse
    ASSERT_TRUE(RestoreDC(s.dc(), saved));        // back past both saved states
    FillRect(s.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_FALSE(PtVisible(s.dc(), 0, 0));
    SelectClipRgn(s.dc(), nullptr);
    EXPECT_TRUE(PtVisible(s.dc(), 0, 0));
    EXPECT_EQ(s.At(10, 10), RGB(0, 0, 0));  // the hole went with the saved state
    EXPECT_EQ(s.At(0, 0), RGB(255, 255, 255));
    // A polygon region tested by point.
    const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
    HRGN t = CreatePolygonRgn(tri, 3, ALTERNATE);
    EXPECT_TRUE(PtInRegion(t, 2, 2));
    EXPECT_FALSE(PtInRegion(t, 8, 8));
    DeleteObject(t);
    // The region was copied into the context: deleting it leaves the clip alone.
    EXPECT_TRUE(DeleteObject(ellipse));
}

TEST(GdiPixels, GradientEnds) {
    Surface s(100, 4);
    TRIVERTEX v[2];
    v[0].x = 0;
    v[0].y = 0;
    v[0].Red = 0xFF00;
    v[1].x = 100;
    v[1].y = 4;
    v[1].Blue = 0xFF00;
    GRADIENT_RECT g{0, 1};
    ASSERT_TRUE(GradientFill(s.dc(), v, 2, &g, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(s.At(0, 0), RGB(255, 0, 0));
    const COLORREF last = s.At(99, 3);
    EXPECT_LE(GetRValue(last), 3);
    EXPECT_GE(GetBValue(last), 252);
    EXPECT_EQ(s.At(50, 2), RGB(127, 0, 127));
}

TEST(GdiPixels, BlitsWithRasterOperations) {
    Surface src(8, 8), dst(8, 8);
    const RECT all{0, 0, 8, 8};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(src.dc(), &all, red);
    SetPixel(src.dc(), 1, 1, RGB(0, 255, 0));
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 8, 8, src.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(1, 1), RGB(0, 255, 0));
    // XOR twice gives the picture back.
    BitBlt(dst.dc(), 0, 0, 8, 8, src.dc(), 0, 0, SRCINVERT);
    EXPECT_EQ(dst.At(3, 3), RGB(0, 0, 0));
    BitBlt(dst.dc(), 0, 0, 8, 8, src.dc(), 0, 0, SRCINVERT);
    EXPECT_EQ(dst.At(3, 3), RGB(255, 0, 0));
    ASSERT_TRUE(PatBlt(dst.dc(), 0, 0, 4, 8, DSTINVERT));
    EXPECT_EQ(dst.At(0, 5), RGB(0, 255, 255));
    EXPECT_EQ(dst.At(5, 5), RGB(255, 0, 0));
    // Stretched twice as large.
    Surface big(16, 16);
    ASSERT_TRUE(StretchBlt(big.dc(), 0, 0, 16, 16, src.dc(), 0, 0, 8, 8, SRCCOPY));
    EXPECT_EQ(big.At(2, 2), RGB(0, 255, 0));
    EXPECT_EQ(big.At(3, 3), RGB(0, 255, 0));
    EXPECT_EQ(big.At(4, 4), RGB(255, 0, 0));
    // Transparent: the key colour leaves the destination alone.
    Surface t(8, 8);
    ASSERT_TRUE(TransparentBlt(t.dc(), 0, 0, 8, 8, src.dc(), 0, 0, 8, 8, RGB(255, 0, 0)));
    EXPECT_EQ(t.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(t.At(1, 1), RGB(0, 255, 0));
    DeleteObject(red);
}

TEST(GdiPixels, MonochromeMaskFromAColourKey) {
    Surface colour(4, 1);
    SetPixel(colour.dc(), 0, 0, RGB(255, 0, 255));
    SetPixel(colour.dc(), 1, 0, RGB(10, 20, 30));
    SetBkColor(colour.dc(), RGB(255, 0, 255));
    Surface mask(4, 1, 1);
    ASSERT_TRUE(BitBlt(mask.dc(), 0, 0, 4, 1, colour.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(mask.At(0, 0), RGB(255, 255, 255));  // the key becomes white
    EXPECT_EQ(mask.At(1, 0), RGB(0, 0, 0));
    // Monochrome to colour: 0 takes the text colour, 1 the background colour.
    Surface back(4, 1);
    SetTextColor(back.dc(), RGB(0, 0, 255));
    SetBkColor(back.dc(), RGB(0, 255, 0));
    BitBlt(back.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(back.At(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(back.At(1, 0), RGB(0, 0, 255));
}

TEST(GdiPixels, MapModesAndDeviceCaps) {
    Surface s(40, 40);
    EXPECT_EQ(GetDeviceCaps(s.dc(), LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(s.dc(), NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(s.dc(), HORZRES), 40);
    SetMapMode(s.dc(), MM_LOMETRIC);
    POINT p{254, -254};
    LPtoDP(s.dc(), &p, 1);
    EXPECT_EQ(p.x, 96);
    EXPECT_EQ(p.y, 96);
    SetMapMode(s.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(s.dc(), 10, 10, nullptr);
    SetViewportExtEx(s.dc(), 20, 20, nullptr);
    SetViewportOrgEx(s.dc(), 4, 4, nullptr);
    const RECT r{0, 0, 5, 5};
    FillRect(s.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetMapMode(s.dc(), MM_TEXT);
    SetViewportOrgEx(s.dc(), 0, 0, nullptr);
    EXPECT_EQ(s.At(4, 4), RGB(0, 0, 0));
    EXPECT_EQ(s.At(13, 13), RGB(0, 0, 0));
    EXPECT_EQ(s.At(14, 14), RGB(255, 255, 255));
    EXPECT_EQ(s.At(3, 3), RGB(255, 255, 255));
}

TEST(GdiPixels, SelectedObjectsCannotBeDeleted) {
    Surface s(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(s.dc(), pen);
    EXPECT_FALSE(DeleteObject(pen));
    SelectObject(s.dc(), old);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));  // a stale handle
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));  // stock objects stay
    EXPECT_NE(GetObjectType(GetStockObject(BLACK_PEN)), 0u);
}

}  // namespace

namespace {

TEST(GdiPixels, HatchAndPatternBrushes) {
    Surface s(16, 16);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(0, 0, 0));
    SetBkMode(s.dc(), TRANSPARENT);
    SetBkColor(s.dc(), RGB(0, 255, 0));
    const RECT r{0, 0, 16, 16};
    FillRect(s.dc(), &r, hatch);
    int black = 0, white = 0;
    for (int x = 0; x < 8; ++x) {
        black += s.At(x, 7) == RGB(0, 0, 0);
        white += s.At(x, 3) == RGB(255, 255, 255);
    }
    EXPECT_EQ(black, 8);  // one full line of the cross in every 8 rows
    EXPECT_EQ(white, 7);  // the gaps stay transparent, but for the vertical line
    // Opaque background: the gaps take the background colour.
    SetBkMode(s.dc(), OPAQUE);
    FillRect(s.dc(), &r, hatch);
    EXPECT_EQ(s.At(3, 3), RGB(0, 255, 0));
    DeleteObject(hatch);
    // An 8x8 pattern bitmap repeats from the brush origin.
    HBITMAP pattern = CreateBitmap(8, 8, 1, 32, nullptr);
    HDC mem = CreateCompatibleDC(s.dc());
    HGDIOBJ old = SelectObject(mem, pattern);
    const RECT p{0, 0, 8, 8};
    FillRect(mem, &p, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetPixel(mem, 0, 0, RGB(255, 0, 0));
    SelectObject(mem, old);
    DeleteDC(mem);
    HBRUSH brush = CreatePatternBrush(pattern);
    FillRect(s.dc(), &r, brush);
    EXPECT_EQ(s.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(s.At(8, 8), RGB(255, 0, 0));
    EXPECT_EQ(s.At(1, 0), RGB(255, 255, 255));
    DeleteObject(brush);
    DeleteObject(pattern);
}

TEST(GdiPixels, FrameControlsAndFocusRect) {
    Surface s(16, 16);
    RECT box{0, 0, 13, 13};
    ASSERT_TRUE(DrawFrameControl(s.dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
    EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_BTNSHADOW));      // sunken edge
    EXPECT_EQ(s.At(12, 12), GetSysColor(COLOR_BTNHIGHLIGHT));
    int marks = 0;
    for (int y = 2; y < 11; ++y)
        for (int x = 2; x < 11; ++x) marks += s.At(x, y) == GetSysColor(COLOR_BTNTEXT);
    EXPECT_GT(marks, 5);  // the check mark
    Surface arrow(16, 16);
    RECT a{0, 0, 16, 16};
    ASSERT_TRUE(DrawFrameControl(arrow.dc(), &a, DFC_SCROLL, DFCS_SCROLLDOWN));
    EXPECT_EQ(arrow.At(0, 0), GetSysColor(COLOR_3DLIGHT));     // raised button
    EXPECT_EQ(arrow.At(8, 8), GetSysColor(COLOR_BTNTEXT));     // the arrow in the middle
    EXPECT_FALSE(DrawFrameControl(arrow.dc(), &a, 99, 0));
    // The focus rectangle inverts every other pixel; drawn twice it is gone.
    Surface f(8, 8);
    const RECT fr{0, 0, 8, 8};
    DrawFocusRect(f.dc(), &fr);
    EXPECT_EQ(f.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(f.At(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(f.At(4, 4), RGB(255, 255, 255));
    DrawFocusRect(f.dc(), &fr);
    EXPECT_EQ(f.CountNot(RGB(255, 255, 255)), 0);
}

TEST(GdiPixels, RotatedTextRunsUpwards) {
    Surface s(60, 100);
    LOGFONTW lf;
    lf.lfHeight = -14;
    lf.lfEscapement = 900;
    HFONT f = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(s.dc(), f);
    SetBkMode(s.dc(), TRANSPARENT);
    SetTextAlign(s.dc(), TA_BASELINE);
    TextOutW(s.dc(), 30, 90, u"HHHHHH", 6);
    int minX = 60, maxX = -1, minY = 100, maxY = -1;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 60; ++x)
            if (s.At(x, y) != RGB(255, 255, 255)) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    EXPECT_GT(maxY - minY, 2 * (maxX - minX));  // taller than wide
    EXPECT_LE(maxY, 90);
    EXPECT_LE(maxX, 30);  // the glyphs stand left of the base line
    SelectObject(s.dc(), old);
    DeleteObject(f);
}

}  // namespace
