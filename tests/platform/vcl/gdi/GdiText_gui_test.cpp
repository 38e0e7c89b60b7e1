// Text measuring and DrawText layout: calculated rectangles, word breaks and the ellipses.
#include <gtest/gtest.h>

#include "tests/platform/vcl/gdi/GdiTestSupport.h"

using gditest::Selected;
using gditest::Surface;

namespace {

HFONT SansFont(int height) {
    LOGFONTW lf;
    lf.lfHeight = height;
    std::u16string_view(u"MS Sans Serif").copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

int Width(HDC dc, const std::u16string& s) {
    SIZE size{};
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
    return size.cx;
}

TEST(GdiText, MetricsAndExtents) {
    Surface s(10, 10);
    Selected font(s.dc(), SansFont(-11));
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(s.dc(), &tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GE(tm.tmHeight, 11);
    EXPECT_LE(tm.tmHeight, 16);
    EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_TRUETYPE);
    SIZE a{}, b{};
    GetTextExtentPoint32W(s.dc(), u"Hello", 5, &a);
    GetTextExtentPoint32W(s.dc(), u"Hello, world", 12, &b);
    EXPECT_GT(a.cx, 0);
    EXPECT_GT(b.cx, a.cx);
    EXPECT_EQ(a.cy, tm.tmHeight);
    // Scaled by the mapping: twice the logical units per pixel halves the extent.
    SetMapMode(s.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(s.dc(), 2, 2, nullptr);
    SetViewportExtEx(s.dc(), 1, 1, nullptr);
    Selected big(s.dc(), SansFont(-22));
    SIZE scaled{};
    GetTextExtentPoint32W(s.dc(), u"Hello", 5, &scaled);
    EXPECT_NEAR(scaled.cx, 2 * a.cx, 2);
}

TEST(GdiText, CalcRectOfOneLineAndOfWordBreaks) {
    Surface s(10, 10);
    Selected font(s.dc(), SansFont(-11));
    TEXTMETRICW tm;
    GetTextMetricsW(s.dc(), &tm);
    RECT r{5, 7, 500, 7};
    const int h = DrawTextW(s.dc(), u"Hello, world", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(h, tm.tmHeight);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right - r.left, Width(s.dc(), u"Hello, world"));
    EXPECT_EQ(r.bottom - r.top, tm.tmHeight);

    const std::u16string text = u"one two three four five six seven eight nine ten";
    const int limit = Width(s.dc(), u"one two three") + 2;
    RECT w{0, 0, limit, 0};
    const int wh = DrawTextW(s.dc(), text.c_str(), -1, &w, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GT(wh, 2 * tm.tmHeight);
    EXPECT_EQ(wh % tm.tmHeight, 0);
    EXPECT_EQ(w.bottom, wh);
    EXPECT_LE(w.right, limit);
    // A word longer than the rectangle widens it.
    RECT n{0, 0, 10, 0};
    DrawTextW(s.dc(), u"incomprehensibilities", -1, &n, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(n.right, Width(s.dc(), u"incomprehensibilities"));
    // Line breaks count unless the text is one line.
    RECT lines{0, 0, 300, 0};
    EXPECT_EQ(DrawTextW(s.dc(), u"a\r\nb\nc", -1, &lines, DT_CALCRECT), 3 * tm.tmHeight);
    RECT single{0, 0, 300, 0};
    EXPECT_EQ(DrawTextW(s.dc(), u"a\r\nb\nc", -1, &single, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
}

TEST(GdiText, PrefixesTabsAndVerticalCentre) {
    Surface s(10, 10);
    Selected font(s.dc(), SansFont(-11));
    TEXTMETRICW tm;
    GetTextMetricsW(s.dc(), &tm);
    RECT a{0, 0, 300, 0}, b{0, 0, 300, 0}, c{0, 0, 300, 0};
    DrawTextW(s.dc(), u"&Open", -1, &a, DT_CALCRECT | DT_SINGLELINE);
    DrawTextW(s.dc(), u"Open", -1, &b, DT_CALCRECT | DT_SINGLELINE);
    DrawTextW(s.dc(), u"&Open", -1, &c, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(a.right, b.right);
    EXPECT_GT(c.right, b.right);
    RECT tab{0, 0, 300, 0};
    DrawTextW(s.dc(), u"a\tb", -1, &tab, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(tab.right, 8 * tm.tmAveCharWidth + Width(s.dc(), u"b"));
    RECT box{0, 0, 100, 100};
    EXPECT_EQ(DrawTextW(s.dc(), u"x", -1, &box, DT_SINGLELINE | DT_VCENTER), (100 - tm.tmHeight) / 2 + tm.tmHeight);
}

// The ellipsis modes: the drawn pixels are those of the shortened text drawn plainly.
class Ellipsis : public ::testing::Test {
protected:
    static constexpr int kWidth = 120;
    void Draw(Surface& s, const std::u16string& text, UINT flags) {
        HFONT f = SansFont(-11);
        HGDIOBJ old = SelectObject(s.dc(), f);
        RECT r{0, 0, kWidth, 20};
        DrawTextW(s.dc(), text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX | flags);
        SelectObject(s.dc(), old);
        DeleteObject(f);
    }
    bool DrawsAs(const std::u16string& text, UINT flags, const std::u16string& expected) {
        Surface a(kWidth + 40, 20), b(kWidth + 40, 20);
        Draw(a, text, flags);
        Draw(b, expected, 0);
        return a.SameAs(b);
    }
    int WidthOf(const std::u16string& text) {
        Surface s(1, 1);
        Selected font(s.dc(), SansFont(-11));
        return Width(s.dc(), text);
    }
};

TEST_F(Ellipsis, EndEllipsisKeepsTheLongestFittingStart) {
    const std::u16string text = u"The quick brown fox jumps over the lazy dog";
    size_t k = text.size();
    while (k > 0 && WidthOf(text.substr(0, k) + u"...") > kWidth) --k;
    EXPECT_TRUE(DrawsAs(text, DT_END_ELLIPSIS, text.substr(0, k) + u"..."));
    EXPECT_TRUE(DrawsAs(u"short", DT_END_ELLIPSIS, u"short"));
}

TEST_F(Ellipsis, WordEllipsisEndsAtAWord) {
    const std::u16string text = u"The quick brown fox jumps over the lazy dog";
    std::u16string expected;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == u' ' && WidthOf(text.substr(0, i) + u"...") <= kWidth) expected = text.substr(0, i) + u"...";
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(DrawsAs(text, DT_WORD_ELLIPSIS, expected));
}

TEST_F(Ellipsis, PathEllipsisKeepsTheFileName) {
    const std::u16string head = u"/home/someone/Documents/Mail/Archive/2009";
    const std::u16string tail = u"/report.msg";
    size_t k = head.size();
    while (k > 0 && WidthOf(head.substr(0, k) + u"..." + tail) > kWidth) --k;
    ASSERT_GT(k, 0u);
    EXPECT_TRUE(DrawsAs(head + tail, DT_PATH_ELLIPSIS, head.substr(0, k) + u"..." + tail));
}

TEST(GdiText, TextOutAlignment) {
    Surface s(200, 40);
    Selected font(s.dc(), SansFont(-11));
    SetBkMode(s.dc(), TRANSPARENT);
    const int w = Width(s.dc(), u"Right");
    SetTextAlign(s.dc(), TA_RIGHT | TA_TOP);
    TextOutW(s.dc(), 100, 5, u"Right", 5);
    // Nothing right of x = 100, something left of it.
    int rightmost = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (s.At(x, y) != RGB(255, 255, 255)) rightmost = std::max(rightmost, x);
    EXPECT_LT(rightmost, 100);
    EXPECT_GT(rightmost, 100 - w);
    // TA_UPDATECP moves the current position by the text's width.
    SetTextAlign(s.dc(), TA_UPDATECP);
    MoveToEx(s.dc(), 10, 20, nullptr);
    TextOutW(s.dc(), 0, 0, u"Right", 5);
    POINT p{};
    GetCurrentPositionEx(s.dc(), &p);
    EXPECT_EQ(p.x, 10 + w);
}

}  // namespace
