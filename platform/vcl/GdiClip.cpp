// Regions and clipping.
#include "platform/vcl/Gdi.h"

#include <algorithm>
#include <cmath>

#include "platform/vcl/GdiDevice.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"

// ---- regions

namespace {

HRGN NewRegion(GdiRegion region) {
    auto r = std::make_unique<GdiRegionObject>();
    r->region = std::move(region);
    return static_cast<HRGN>(RegisterGdiObject(std::move(r)));
}

RECT Normalized(int l, int t, int r, int b) {
    return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(GdiRegion(Normalized(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* r) {
    if (!r) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(r->left, r->top, r->right, r->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h) {
    return NewRegion(GdiRegion::FromRoundRect(Normalized(left, top, right, bottom), w, h));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return NewRegion(GdiRegion::FromEllipse(Normalized(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* r) {
    if (!r) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateEllipticRgn(r->left, r->top, r->right, r->bottom);
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (!points || count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return NewRegion(GdiRegion::FromPolygons({std::vector<POINT>(points, points + count)}, fillMode));
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode) {
    if (!points || !counts || polygons < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<std::vector<POINT>> polys;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        polys.emplace_back(points, points + counts[i]);
        points += counts[i];
    }
    return NewRegion(GdiRegion::FromPolygons(polys, fillMode));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    auto* d = GdiObjectAs<GdiRegionObject>(dest);
    auto* a = GdiObjectAs<GdiRegionObject>(src1);
    if (!d || !a) return ERROR;
    if (mode == RGN_COPY) {
        d->region = a->region;
        return d->region.Kind();
    }
    auto* b = GdiObjectAs<GdiRegionObject>(src2);
    if (!b || mode < RGN_AND || mode > RGN_DIFF) {
        if (b) SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    d->region = a->region.Combine(b->region, mode);
    return d->region.Kind();
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!r) return FALSE;
    r->region = GdiRegion(Normalized(left, top, right, bottom));
    return TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!r) return ERROR;
    r->region.Offset(dx, dy);
    return r->region.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    return r && r->region.Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    return r && rect && r->region.IntersectsRect(Normalized(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN a, HRGN b) {
    auto* ra = GdiObjectAs<GdiRegionObject>(a);
    auto* rb = GdiObjectAs<GdiRegionObject>(b);
    if (!ra || !rb) return ERROR;
    return ra->region == rb->region;
}

int GetRgnBox(HRGN rgn, RECT* box) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!r || !box) return ERROR;
    *box = r->region.Bounds();
    return r->region.Kind();
}

// ---- clipping

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode) {
    auto* d = DcFromHandle(dc);
    if (!d) return ERROR;
    if (!rgn) {
        if (mode != RGN_COPY) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
        }
        d->state.clip.reset();
    } else {
        auto* r = GdiObjectAs<GdiRegionObject>(rgn);
        if (!r) return ERROR;
        if (mode == RGN_COPY || !d->state.clip) {
            if (mode == RGN_COPY || mode == RGN_AND || mode == RGN_OR)
                d->state.clip = r->region;
            else {
                // Against no clip region: the whole surface.
                const SIZE s = d->Surface() ? d->Surface()->Size() : SIZE{};
                d->state.clip = GdiRegion(RECT{0, 0, s.cx, s.cy}).Combine(r->region, mode);
            }
        } else {
            d->state.clip = d->state.clip->Combine(r->region, mode);
        }
    }
    d->ApplyClip();
    if (!d->state.clip) return SIMPLEREGION;
    return d->state.clip->Kind();
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

namespace {

int ClipWithRect(HDC dc, int left, int top, int right, int bottom, int mode) {
    auto* d = DcFromHandle(dc);
    if (!d) return ERROR;
    const RECT r = d->ToDeviceRect(Normalized(left, top, right, bottom));
    GdiRegion current;
    if (d->state.clip)
        current = *d->state.clip;
    else {
        const SIZE s = d->Surface() ? d->Surface()->Size() : SIZE{};
        current = GdiRegion(RECT{0, 0, s.cx, s.cy});
    }
    d->state.clip = current.Combine(GdiRegion(r), mode);
    d->ApplyClip();
    return d->state.clip->Kind();
}

}  // namespace

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    return ClipWithRect(dc, left, top, right, bottom, RGN_AND);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    return ClipWithRect(dc, left, top, right, bottom, RGN_DIFF);
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
    auto* d = DcFromHandle(dc);
    if (!d) return ERROR;
    if (!d->state.clip) return SIMPLEREGION;
    const double sx = d->ScaleX(), sy = d->ScaleY();
    d->state.clip->Offset(static_cast<int>(std::lround(dx * sx)), static_cast<int>(std::lround(dy * sy)));
    d->ApplyClip();
    return d->state.clip->Kind();
}

namespace {

// The device pixels a context may draw on: its surface, its clip region and its base clip.
GdiRegion VisibleRegion(const GdiDeviceContext& d) {
    const SIZE s = d.Surface() ? d.Surface()->Size() : SIZE{};
    GdiRegion v(RECT{0, 0, s.cx, s.cy});
    if (d.state.clip) v = v.Combine(*d.state.clip, RGN_AND);
    if (d.baseClip) v = v.Combine(*d.baseClip, RGN_AND);
    return v;
}

}  // namespace

int GetClipBox(HDC dc, RECT* box) {
    auto* d = DcFromHandle(dc);
    if (!d || !box) return ERROR;
    const GdiRegion v = VisibleRegion(*d);
    const RECT b = v.Bounds();
    const GdiPointF a = d->ToLogical(b.left, b.top), c = d->ToLogical(b.right, b.bottom);
    *box = Normalized(static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y)),
                      static_cast<int>(std::lround(c.x)), static_cast<int>(std::lround(c.y)));
    return v.Kind();
}

int GetClipRgn(HDC dc, HRGN rgn) {
    auto* d = DcFromHandle(dc);
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!d || !r) return -1;
    if (!d->state.clip) return 0;
    r->region = *d->state.clip;
    return 1;
}

BOOL PtVisible(HDC dc, int x, int y) {
    auto* d = DcFromHandle(dc);
    if (!d) return -1;
    const POINT p = d->ToDevicePoint(x, y);
    return VisibleRegion(*d).Contains(p.x, p.y);
}

BOOL RectVisible(HDC dc, const RECT* r) {
    auto* d = DcFromHandle(dc);
    if (!d || !r) return FALSE;
    return VisibleRegion(*d).IntersectsRect(d->ToDeviceRect(*r));
}
