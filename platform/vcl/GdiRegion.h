// A region: a set of device pixels, kept as the Windows way keeps it, bands of rows holding
// sorted, disjoint spans. Every operation is exact to the pixel, so point tests, clipping and
// combinations behave the same on every device.
#pragma once

#include <vector>

#include "platform/vcl/GdiTypes.h"

struct GdiPointF {
    double x = 0;
    double y = 0;
};

class GdiRegion {
public:
    GdiRegion() = default;
    explicit GdiRegion(const RECT& r);

    // Pixels whose centres lie inside the polygon under the fill rule (ALTERNATE or WINDING).
    static GdiRegion FromPolygons(const std::vector<std::vector<POINT>>& polygons, int fillMode);
    // Pixels inside the ellipse that the box [left, right) x [top, bottom) bounds.
    static GdiRegion FromEllipse(const RECT& box);
    // A rectangle with corners rounded by an ellipse of size cornerW x cornerH.
    static GdiRegion FromRoundRect(const RECT& box, int cornerW, int cornerH);

    bool IsEmpty() const { return rects_.empty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    RECT Bounds() const;
    bool Contains(int x, int y) const;
    bool IntersectsRect(const RECT& r) const;
    // The rectangles that make up the region, top to bottom, left to right.
    const std::vector<RECT>& Rects() const { return rects_; }

    GdiRegion Combine(const GdiRegion& other, int mode) const;  // RGN_AND/OR/XOR/DIFF
    void Offset(int dx, int dy);
    bool operator==(const GdiRegion& other) const;

    // Rows [top, bottom) with the same spans, as (left, right) pairs.
    struct Band {
        LONG top, bottom;
        std::vector<LONG> xs;
    };

private:
    static GdiRegion FromBands(std::vector<Band> bands);
    std::vector<Band> ToBands() const;

    std::vector<RECT> rects_;
};
