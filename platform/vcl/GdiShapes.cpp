// Paints and strokes of the selected objects, lines, shapes and drawn regions.
#include "platform/vcl/Gdi.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/vcl/GdiDevice.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"

// ---- paints and strokes of the selected objects

namespace {

bool HatchBit(int hatch, int x, int y) {
    switch (hatch) {
        case HS_HORIZONTAL: return y == 7;
        case HS_VERTICAL: return x == 7;
        case HS_FDIAGONAL: return x == y;
        case HS_BDIAGONAL: return x + y == 7;
        case HS_CROSS: return x == 7 || y == 7;
        case HS_DIAGCROSS: return x == y || x + y == 7;
        default: return false;
    }
}

std::uint32_t Argb(COLORREF c) {
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace

std::optional<GdiPaint> GdiBrushPaint(const GdiDeviceContext& d, HBRUSH brush) {
    // A small number stands for a system colour + 1.
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= 31) brush = GetSysColorBrush(static_cast<int>(value - 1));
    auto* b = HandleAs<GdiBrush>(static_cast<HANDLE>(brush));
    if (!b || b->style == BS_NULL) return std::nullopt;
    GdiPaint paint;
    paint.color = b->dcBrush ? d.state.dcBrushColor : b->color;
    if (b->sysColorIndex >= 0) paint.color = GetSysColor(b->sysColorIndex);
    paint.origin = d.state.brushOrg;
    if (b->style == BS_HATCHED) {
        paint.tiled = true;
        paint.tileWidth = paint.tileHeight = 8;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                if (HatchBit(b->hatch, x, y))
                    paint.tile.push_back(Argb(b->color));
                else
                    paint.tile.push_back(d.state.bkMode == OPAQUE ? Argb(d.state.bkColor) : 0u);
            }
    } else if (b->style == BS_PATTERN && b->patternWidth > 0 && b->patternHeight > 0) {
        paint.tiled = true;
        paint.tileWidth = b->patternWidth;
        paint.tileHeight = b->patternHeight;
        if (!b->monoPattern.empty()) {
            for (std::uint8_t bit : b->monoPattern)
                paint.tile.push_back(Argb(bit ? d.state.bkColor : d.state.textColor));
        } else {
            paint.tile = b->pattern;
        }
    }
    return paint;
}

std::optional<GdiStroke> GdiPenStroke(const GdiDeviceContext& d) {
    auto* p = HandleAs<GdiPen>(static_cast<HANDLE>(d.state.pen));
    if (!p || p->style == PS_NULL) return std::nullopt;
    GdiStroke s;
    s.color = p->dcPen ? d.state.dcPenColor : p->color;
    s.style = p->style == PS_INSIDEFRAME ? PS_SOLID : p->style;
    const double w = p->width * std::abs(d.ScaleX());
    s.width = (p->width <= 1 && !p->geometric) || w < 1.5 ? 0 : w;
    if (s.width > 0) {
        s.endCap = p->geometric && p->endCap != PS_ENDCAP_ROUND ? p->endCap : PS_ENDCAP_ROUND;
        s.join = p->geometric ? p->join : PS_JOIN_ROUND;
        if (!p->geometric) {
            s.endCap = PS_ENDCAP_ROUND;
            s.join = PS_JOIN_ROUND;
        }
    }
    s.opaqueGaps = d.state.bkMode == OPAQUE;
    s.bkColor = d.state.bkColor;
    return s;
}

bool GdiPenIsInsideFrame(const GdiDeviceContext& d) {
    auto* p = HandleAs<GdiPen>(static_cast<HANDLE>(d.state.pen));
    return p && p->style == PS_INSIDEFRAME;
}

// ---- lines

namespace {

GdiPointF Centre(const POINT& p) { return GdiPointF{p.x + 0.5, p.y + 0.5}; }

GdiPathElement MoveEl(GdiPointF p) {
    GdiPathElement e;
    e.kind = GdiPathElement::Move;
    e.point = p;
    return e;
}

GdiPathElement LineEl(GdiPointF p) {
    GdiPathElement e;
    e.kind = GdiPathElement::Line;
    e.point = p;
    return e;
}

GdiPathElement CloseEl() {
    GdiPathElement e;
    e.kind = GdiPathElement::Close;
    return e;
}

GdiPathElement ArcEl(double l, double t, double r, double b, double start, double sweep) {
    GdiPathElement e;
    e.kind = GdiPathElement::Arc;
    e.left = l;
    e.top = t;
    e.right = r;
    e.bottom = b;
    e.start = start;
    e.sweep = sweep;
    return e;
}

GdiSurface* SurfaceOf(GdiDeviceContext* d) {
    if (d && !d->Surface()) SetLastError(ERROR_NOT_SUPPORTED);
    return d ? d->Surface() : nullptr;
}

bool StrokePoints(GdiDeviceContext& d, const std::vector<POINT>& devicePoints, bool closed) {
    GdiSurface* s = SurfaceOf(&d);
    if (!s) return false;
    const auto stroke = GdiPenStroke(d);
    if (!stroke || devicePoints.size() < 2) return true;
    GdiPath path;
    path.push_back(MoveEl(Centre(devicePoints[0])));
    for (size_t i = 1; i < devicePoints.size(); ++i) path.push_back(LineEl(Centre(devicePoints[i])));
    if (closed) path.push_back(CloseEl());
    s->StrokePath(path, *stroke, d.state.rop2);
    return true;
}

}  // namespace

BOOL MoveToEx(HDC dc, int x, int y, POINT* old) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (old) *old = d->state.current;
    d->state.current = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC dc, POINT* pos) {
    auto* d = DcFromHandle(dc);
    if (!d || !pos) return FALSE;
    *pos = d->state.current;
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const POINT a = d->ToDevicePoint(d->state.current.x, d->state.current.y);
    const POINT b = d->ToDevicePoint(x, y);
    d->state.current = POINT{x, y};
    return StrokePoints(*d, {a, b}, false);
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> dev;
    for (int i = 0; i < count; ++i) dev.push_back(d->ToDevicePoint(points[i].x, points[i].y));
    return StrokePoints(*d, dev, false);
}

BOOL PolylineTo(HDC dc, const POINT* points, DWORD count) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!points || count == 0) return TRUE;
    std::vector<POINT> dev{d->ToDevicePoint(d->state.current.x, d->state.current.y)};
    for (DWORD i = 0; i < count; ++i) dev.push_back(d->ToDevicePoint(points[i].x, points[i].y));
    d->state.current = points[count - 1];
    return StrokePoints(*d, dev, false);
}

BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines) {
    if (!points || !counts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (DWORD i = 0; i < polylines; ++i) {
        if (!Polyline(dc, points, static_cast<int>(counts[i]))) return FALSE;
        points += counts[i];
    }
    return TRUE;
}

// ---- shapes

namespace {

// Fills the path with the brush, then outlines it with the pen.
BOOL FillAndStroke(GdiDeviceContext& d, const GdiPath& fillPath, const GdiPath& strokePath) {
    GdiSurface* s = SurfaceOf(&d);
    if (!s) return FALSE;
    if (const auto paint = GdiBrushPaint(d, d.state.brush)) s->FillPath(fillPath, d.state.polyFillMode, *paint, d.state.rop2);
    if (const auto stroke = GdiPenStroke(d)) s->StrokePath(strokePath, *stroke, d.state.rop2);
    return TRUE;
}

// The outline runs through pixel centres; the fill runs along pixel corners, so that (as for
// every filled shape) the right and bottom edges stay outside.
GdiPath PolygonPath(const std::vector<std::vector<POINT>>& polys, bool outline) {
    const auto at = [outline](const POINT& p) { return outline ? Centre(p) : GdiPointF{double(p.x), double(p.y)}; };
    GdiPath path;
    for (const auto& poly : polys) {
        if (poly.size() < 2) continue;
        path.push_back(MoveEl(at(poly[0])));
        for (size_t i = 1; i < poly.size(); ++i) path.push_back(LineEl(at(poly[i])));
        path.push_back(CloseEl());
    }
    return path;
}

// The box a shape's outline runs through: pixel centres of a box whose right and bottom edges
// are exclusive; without a pen the filled shape is one pixel smaller.
struct ShapeBoxes {
    double l, t, r, b;       // outline
    double fl, ft, fr, fb;   // fill without a pen
};

ShapeBoxes BoxesOf(const GdiDeviceContext& d, int left, int top, int right, int bottom) {
    const RECT r = d.ToDeviceRect(RECT{left, top, right, bottom});
    ShapeBoxes b{r.left + 0.5, r.top + 0.5, r.right - 0.5, r.bottom - 0.5,
                 double(r.left), double(r.top), r.right - 1.0, r.bottom - 1.0};
    if (GdiPenIsInsideFrame(d)) {
        if (const auto stroke = GdiPenStroke(d); stroke && stroke->width > 1) {
            const double half = stroke->width / 2 - 0.5;
            b.l += half;
            b.t += half;
            b.r -= half;
            b.b -= half;
        }
    }
    return b;
}

GdiPath EllipsePath(double l, double t, double r, double b) {
    GdiPath p;
    p.push_back(MoveEl(GdiPointF{r, (t + b) / 2}));
    p.push_back(ArcEl(l, t, r, b, 0, 360));
    p.push_back(CloseEl());
    return p;
}

GdiPath RoundRectPath(double l, double t, double r, double b, double cw, double ch) {
    cw = std::min(std::abs(cw), r - l);
    ch = std::min(std::abs(ch), b - t);
    GdiPath p;
    p.push_back(MoveEl(GdiPointF{r, t + ch / 2}));
    p.push_back(ArcEl(r - cw, t, r, t + ch, 0, 90));
    p.push_back(ArcEl(l, t, l + cw, t + ch, 90, 90));
    p.push_back(ArcEl(l, b - ch, l + cw, b, 180, 90));
    p.push_back(ArcEl(r - cw, b - ch, r, b, 270, 90));
    p.push_back(CloseEl());
    return p;
}

}  // namespace

BOOL Polygon(HDC dc, const POINT* points, int count) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> dev;
    for (int i = 0; i < count; ++i) dev.push_back(d->ToDevicePoint(points[i].x, points[i].y));
    return FillAndStroke(*d, PolygonPath({dev}, false), PolygonPath({dev}, true));
}

BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!points || !counts || polygons < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<std::vector<POINT>> polys;
    for (int i = 0; i < polygons; ++i) {
        std::vector<POINT> dev;
        for (int k = 0; k < counts[i]; ++k) dev.push_back(d->ToDevicePoint(points[k].x, points[k].y));
        points += counts[i];
        polys.push_back(std::move(dev));
    }
    return FillAndStroke(*d, PolygonPath(polys, false), PolygonPath(polys, true));
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = SurfaceOf(d);
    if (!s) return FALSE;
    const RECT r = d->ToDeviceRect(RECT{left, top, right, bottom});
    if (r.right - r.left < 1 || r.bottom - r.top < 1) return TRUE;
    const auto paint = GdiBrushPaint(*d, d->state.brush);
    const auto stroke = GdiPenStroke(*d);
    if (!stroke) {
        // Without a pen the rectangle is one pixel smaller on the right and at the bottom.
        if (paint) s->FillRects({RECT{r.left, r.top, r.right - 1, r.bottom - 1}}, *paint, d->state.rop2);
        return TRUE;
    }
    if (stroke->width == 0 && stroke->style == PS_SOLID) {
        // One-pixel outline exactly on the edges: four rectangles that never overlap.
        if (paint && r.right - r.left > 2 && r.bottom - r.top > 2)
            s->FillRects({RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}}, *paint, d->state.rop2);
        GdiPaint pen;
        pen.color = stroke->color;
        std::vector<RECT> edges{RECT{r.left, r.top, r.right, r.top + 1}};
        if (r.bottom - r.top > 1) edges.push_back(RECT{r.left, r.bottom - 1, r.right, r.bottom});
        if (r.bottom - r.top > 2) {
            edges.push_back(RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1});
            if (r.right - r.left > 1) edges.push_back(RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1});
        }
        s->FillRects(edges, pen, d->state.rop2);
        return TRUE;
    }
    const ShapeBoxes b = BoxesOf(*d, left, top, right, bottom);
    GdiPath path{MoveEl({b.l, b.t}), LineEl({b.r, b.t}), LineEl({b.r, b.b}), LineEl({b.l, b.b}), CloseEl()};
    return FillAndStroke(*d, path, path);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int w, int h) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const ShapeBoxes b = BoxesOf(*d, left, top, right, bottom);
    const double cw = w * std::abs(d->ScaleX()), ch = h * std::abs(d->ScaleY());
    const bool pen = GdiPenStroke(*d).has_value();
    const GdiPath fill = pen ? RoundRectPath(b.l, b.t, b.r, b.b, cw, ch) : RoundRectPath(b.fl, b.ft, b.fr, b.fb, cw, ch);
    return FillAndStroke(*d, fill, RoundRectPath(b.l, b.t, b.r, b.b, cw, ch));
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const ShapeBoxes b = BoxesOf(*d, left, top, right, bottom);
    const bool pen = GdiPenStroke(*d).has_value();
    const GdiPath fill = pen ? EllipsePath(b.l, b.t, b.r, b.b) : EllipsePath(b.fl, b.ft, b.fr, b.fb);
    return FillAndStroke(*d, fill, EllipsePath(b.l, b.t, b.r, b.b));
}

namespace {

enum class ArcShape { Arc, Pie, Chord };

BOOL ArcLike(HDC dc, ArcShape shape, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const ShapeBoxes b = BoxesOf(*d, left, top, right, bottom);
    const double cx = (b.l + b.r) / 2, cy = (b.t + b.b) / 2;
    const double rx = std::max((b.r - b.l) / 2, 0.5), ry = std::max((b.b - b.t) / 2, 0.5);
    // Angles of the radial lines through the start and end points, on the ellipse's circle.
    auto angleOf = [&](int x, int y) {
        const GdiPointF p = d->ToDevice(x + 0.0, y + 0.0);
        return std::atan2(-(p.y + 0.5 - cy) / ry, (p.x + 0.5 - cx) / rx) * 180.0 / M_PI;
    };
    const double start = angleOf(xs, ys), end = angleOf(xe, ye);
    double sweep = std::fmod(end - start + 720.0, 360.0);
    if (d->state.arcDirection == AD_CLOCKWISE) sweep = sweep == 0 ? -360 : sweep - 360;
    if (sweep == 0) sweep = 360;
    // With a y axis flipped by the mapping, counter-clockwise in logical space turns round.
    if ((d->ScaleX() < 0) != (d->ScaleY() < 0)) sweep = -sweep;
    const double rad = start * M_PI / 180.0;
    const GdiPointF startPt{cx + rx * std::cos(rad), cy - ry * std::sin(rad)};
    GdiPath path;
    if (shape == ArcShape::Pie) {
        path.push_back(MoveEl({cx, cy}));
        path.push_back(LineEl(startPt));
    } else {
        path.push_back(MoveEl(startPt));
    }
    path.push_back(ArcEl(b.l, b.t, b.r, b.b, start, sweep));
    if (shape == ArcShape::Arc) {
        GdiSurface* s = SurfaceOf(d);
        if (!s) return FALSE;
        if (const auto stroke = GdiPenStroke(*d)) s->StrokePath(path, *stroke, d->state.rop2);
        return TRUE;
    }
    path.push_back(CloseEl());
    return FillAndStroke(*d, path, path);
}

}  // namespace

BOOL Arc(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcLike(dc, ArcShape::Arc, l, t, r, b, xs, ys, xe, ye);
}
BOOL Pie(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcLike(dc, ArcShape::Pie, l, t, r, b, xs, ys, xe, ye);
}
BOOL Chord(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcLike(dc, ArcShape::Chord, l, t, r, b, xs, ys, xe, ye);
}

// ---- regions drawn

namespace {

// A region is in device units already; it is drawn where it lies.
BOOL FillRegionWith(HDC dc, HRGN rgn, std::optional<GdiPaint> paint, int rop2) {
    auto* d = DcFromHandle(dc);
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    GdiSurface* s = SurfaceOf(d);
    if (!s || !r) return FALSE;
    if (paint && !r->region.IsEmpty()) s->FillRects(r->region.Rects(), *paint, rop2);
    return TRUE;
}

}  // namespace

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    return FillRegionWith(dc, rgn, GdiBrushPaint(*d, brush), R2_COPYPEN);
}

BOOL PaintRgn(HDC dc, HRGN rgn) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    return FillRegionWith(dc, rgn, GdiBrushPaint(*d, d->state.brush), d->state.rop2);
}

BOOL InvertRgn(HDC dc, HRGN rgn) {
    GdiPaint white;
    white.color = RGB(255, 255, 255);
    return FillRegionWith(dc, rgn, white, R2_XORPEN);
}

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h) {
    auto* d = DcFromHandle(dc);
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!d || !r) return FALSE;
    // The frame: the region less the region shrunk by w and h on every side.
    GdiRegion inner = r->region;
    for (int dx : {-w, w}) {
        GdiRegion moved = r->region;
        moved.Offset(dx, 0);
        inner = inner.Combine(moved, RGN_AND);
    }
    for (int dy : {-h, h}) {
        GdiRegion moved = r->region;
        moved.Offset(0, dy);
        inner = inner.Combine(moved, RGN_AND);
    }
    const GdiRegion frame = r->region.Combine(inner, RGN_DIFF);
    GdiSurface* s = SurfaceOf(d);
    const auto paint = GdiBrushPaint(*d, brush);
    if (!s) return FALSE;
    if (paint && !frame.IsEmpty()) s->FillRects(frame.Rects(), *paint, R2_COPYPEN);
    return TRUE;
}
