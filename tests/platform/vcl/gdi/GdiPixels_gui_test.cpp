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
