// Regions are exact pixel sets: polygon fill rules, combinations and point tests.
#include <gtest/gtest.h>

#include "platform/vcl/GdiRegion.h"

namespace {

TEST(GdiRegion, RectangleHoldsLeftAndTopEdgesOnly) {
    const GdiRegion r(RECT{2, 3, 6, 8});
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(5, 7));
    EXPECT_FALSE(r.Contains(6, 7));
    EXPECT_FALSE(r.Contains(5, 8));
    EXPECT_EQ(r.Kind(), SIMPLEREGION);
    EXPECT_EQ(GdiRegion(RECT{4, 4, 4, 9}).Kind(), NULLREGION);
}

TEST(GdiRegion, CombinationsOfTwoOverlappingSquares) {
    const GdiRegion a(RECT{0, 0, 10, 10}), b(RECT{5, 5, 15, 15});
    struct Case {
        int mode;
        bool at00, at77, at1212;
        int kind;
    } cases[] = {
        {RGN_AND, false, true, false, SIMPLEREGION},
        {RGN_OR, true, true, true, COMPLEXREGION},
        {RGN_XOR, true, false, true, COMPLEXREGION},
        {RGN_DIFF, true, false, false, COMPLEXREGION},
    };
    for (const Case& c : cases) {
        const GdiRegion r = a.Combine(b, c.mode);
        EXPECT_EQ(r.Contains(0, 0), c.at00) << c.mode;
        EXPECT_EQ(r.Contains(7, 7), c.at77) << c.mode;
        EXPECT_EQ(r.Contains(12, 12), c.at1212) << c.mode;
        EXPECT_EQ(r.Kind(), c.kind) << c.mode;
    }
    // Combining back gives the same set.
    EXPECT_TRUE(a.Combine(b, RGN_DIFF).Combine(a.Combine(b, RGN_AND), RGN_OR) == a);
}

TEST(GdiRegion, PolygonFillRules) {
    // A square wound twice: its inside is covered twice, which the alternate rule leaves out.
    const std::vector<POINT> twice{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_FALSE(GdiRegion::FromPolygons({twice}, ALTERNATE).Contains(5, 5));
    EXPECT_TRUE(GdiRegion::FromPolygons({twice}, WINDING).Contains(5, 5));
    // The right and bottom edges of a polygon are outside it.
    const GdiRegion square = GdiRegion::FromPolygons({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, ALTERNATE);
    EXPECT_TRUE(square.Contains(0, 0));
    EXPECT_TRUE(square.Contains(9, 9));
    EXPECT_FALSE(square.Contains(10, 5));
    EXPECT_FALSE(square.Contains(5, 10));
    EXPECT_EQ(square.Kind(), SIMPLEREGION);
}

TEST(GdiRegion, EllipseStaysInsideItsBox) {
    const GdiRegion e = GdiRegion::FromEllipse(RECT{0, 0, 20, 10});
    EXPECT_TRUE(e.Contains(10, 5));
    EXPECT_FALSE(e.Contains(0, 0));
    EXPECT_FALSE(e.Contains(19, 9));
    const RECT b = e.Bounds();
    EXPECT_GE(b.left, 0);
    EXPECT_LE(b.right, 20);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.bottom, 10);
}

}  // namespace
