// Rectangles, frames, 3-D edges, frame controls and gradients in the classic look, and the
// classic system colour scheme.
#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"

// ---- system colours

namespace {

std::mutex& SchemeLock() {
    static std::mutex m;
    return m;
}

COLORREF* Scheme() {
    // The classic scheme: grey faces, navy selection, white windows.
    static COLORREF colours[31] = {
        RGB(212, 208, 200),  // scroll bar
        RGB(58, 110, 165),   // background
        RGB(10, 36, 106),    // active caption
        RGB(128, 128, 128),  // inactive caption
        RGB(212, 208, 200),  // menu
        RGB(255, 255, 255),  // window
        RGB(0, 0, 0),        // window frame
        RGB(0, 0, 0),        // menu text
        RGB(0, 0, 0),        // window text
        RGB(255, 255, 255),  // caption text
        RGB(212, 208, 200),  // active border
        RGB(212, 208, 200),  // inactive border
        RGB(128, 128, 128),  // application workspace
        RGB(10, 36, 106),    // highlight
        RGB(255, 255, 255),  // highlight text
        RGB(212, 208, 200),  // button face
        RGB(128, 128, 128),  // button shadow
        RGB(128, 128, 128),  // grey text
        RGB(0, 0, 0),        // button text
        RGB(212, 208, 200),  // inactive caption text
        RGB(255, 255, 255),  // button highlight
        RGB(64, 64, 64),     // 3-D dark shadow
        RGB(212, 208, 200),  // 3-D light
        RGB(0, 0, 0),        // info text
        RGB(255, 255, 225),  // info background
        RGB(181, 181, 181),  // (unused)
        RGB(0, 0, 128),      // hot-track
        RGB(166, 202, 240),  // active caption gradient
        RGB(192, 192, 192),  // inactive caption gradient
        RGB(10, 36, 106),    // menu highlight
        RGB(212, 208, 200),  // menu bar
    };
    return colours;
}

}  // namespace

DWORD GetSysColor(int index) {
    if (index < 0 || index > 30) return 0;
    std::lock_guard<std::mutex> guard(SchemeLock());
    return Scheme()[index];
}

BOOL SetSysColors(int count, const INT* indices, const COLORREF* colors) {
    if (count < 0 || (count && (!indices || !colors))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(SchemeLock());
    for (int i = 0; i < count; ++i)
        if (indices[i] >= 0 && indices[i] <= 30) Scheme()[indices[i]] = colors[i] & 0xFFFFFF;
    return TRUE;
}

// ---- rectangles

namespace {

GdiSurface* Target(GdiDeviceContext* d) {
    if (d && !d->Surface()) SetLastError(ERROR_NOT_SUPPORTED);
    return d ? d->Surface() : nullptr;
}

GdiPaint Solid(COLORREF c) {
    GdiPaint p;
    p.color = c;
    return p;
}

void OffsetRectBy(RECT& r, LONG dx, LONG dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

void FillDevice(GdiSurface& s, const RECT& r, const GdiPaint& paint, int rop2 = R2_COPYPEN) {
    if (r.right > r.left && r.bottom > r.top) s.FillRects({r}, paint, rop2);
}

}  // namespace

int FillRect(HDC dc, const RECT* r, HBRUSH brush) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = Target(d);
    if (!s) return 0;
    if (!r) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto paint = GdiBrushPaint(*d, brush);
    if (!paint) {
        const auto value = reinterpret_cast<std::uintptr_t>(brush);
        if (!(value >= 1 && value <= 31) && !HandleAs<GdiBrush>(static_cast<HANDLE>(brush))) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        return 1;  // a hollow brush fills nothing
    }
    FillDevice(*s, d->ToDeviceRect(*r), *paint);
    return 1;
}

int FrameRect(HDC dc, const RECT* r, HBRUSH brush) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = Target(d);
    if (!s) return 0;
    if (!r) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto paint = GdiBrushPaint(*d, brush);
    if (!paint) return 1;
    const RECT q = d->ToDeviceRect(*r);
    if (q.right <= q.left || q.bottom <= q.top) return 1;
    // One logical unit wide, inside the rectangle.
    const LONG w = std::max<LONG>(1, std::lround(std::abs(d->ScaleX())));
    const LONG h = std::max<LONG>(1, std::lround(std::abs(d->ScaleY())));
    const GdiRegion outer(q);
    const GdiRegion inner(RECT{q.left + w, q.top + h, q.right - w, q.bottom - h});
    const GdiRegion frame = outer.Combine(inner, RGN_DIFF);
    s->FillRects(frame.Rects(), *paint, R2_COPYPEN);
    return 1;
}

BOOL InvertRect(HDC dc, const RECT* r) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = Target(d);
    if (!s || !r) return FALSE;
    FillDevice(*s, d->ToDeviceRect(*r), Solid(RGB(255, 255, 255)), R2_XORPEN);
    return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* r) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = Target(d);
    if (!s || !r) return FALSE;
    const RECT q = d->ToDeviceRect(*r);
    if (q.right <= q.left || q.bottom <= q.top) return TRUE;
    // Every other pixel of the outline inverted, so that a second call takes it away.
    GdiPaint dots;
    dots.tiled = true;
    dots.tileWidth = dots.tileHeight = 2;
    dots.tile = {0xFFFFFFFFu, 0u, 0u, 0xFFFFFFFFu};
    dots.origin = POINT{q.left, q.top};
    const GdiRegion frame = GdiRegion(q).Combine(GdiRegion(RECT{q.left + 1, q.top + 1, q.right - 1, q.bottom - 1}), RGN_DIFF);
    s->FillRects(frame.Rects(), dots, R2_XORPEN);
    return TRUE;
}

// ---- 3-D edges

namespace {

// Draws one ring of an edge: the top-left colour on the top row and left column, the
// bottom-right colour on the bottom row and right column, which own the corners they meet.
void EdgeRing(GdiSurface& s, const RECT& r, COLORREF topLeft, COLORREF bottomRight, UINT sides) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (sides & BF_TOP) FillDevice(s, RECT{r.left, r.top, r.right - 1, r.top + 1}, Solid(topLeft));
    if (sides & BF_LEFT) FillDevice(s, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, Solid(topLeft));
    if (sides & BF_BOTTOM) FillDevice(s, RECT{r.left, r.bottom - 1, r.right, r.bottom}, Solid(bottomRight));
    if (sides & BF_RIGHT) FillDevice(s, RECT{r.right - 1, r.top, r.right, r.bottom}, Solid(bottomRight));
}

}  // namespace

BOOL DrawEdge(HDC dc, RECT* r, UINT edge, UINT flags) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = Target(d);
    if (!s) return FALSE;
    if (!r) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT q = d->ToDeviceRect(*r);
    const UINT sides = flags & BF_RECT;
    const UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
    COLORREF outerTL = 0, outerBR = 0, innerTL = 0, innerBR = 0;
    if (flags & BF_MONO) {
        outerTL = outerBR = innerTL = innerBR = GetSysColor(COLOR_WINDOWFRAME);
    } else if (flags & BF_FLAT) {
        outerTL = outerBR = GetSysColor(COLOR_BTNSHADOW);
        innerTL = innerBR = GetSysColor(COLOR_BTNFACE);
    } else {
        const bool soft = (flags & BF_SOFT) != 0;
        if (outer == BDR_RAISEDOUTER) {
            outerTL = GetSysColor(soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
            outerBR = GetSysColor(COLOR_3DDKSHADOW);
        } else if (outer == BDR_SUNKENOUTER) {
            outerTL = GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
            outerBR = GetSysColor(COLOR_BTNHIGHLIGHT);
        }
        if (inner == BDR_RAISEDINNER) {
            innerTL = GetSysColor(soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT);
            innerBR = GetSysColor(COLOR_BTNSHADOW);
        } else if (inner == BDR_SUNKENINNER) {
            innerTL = GetSysColor(soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
            innerBR = GetSysColor(COLOR_3DLIGHT);
        }
    }
    auto shrink = [&](RECT& x) {
        if (sides & BF_LEFT) ++x.left;
        if (sides & BF_TOP) ++x.top;
        if (sides & BF_RIGHT) --x.right;
        if (sides & BF_BOTTOM) --x.bottom;
    };
    const bool flatOrMono = (flags & (BF_FLAT | BF_MONO)) != 0;
    if (outer || flatOrMono) {
        if (outer || (flags & BF_MONO) || (flags & BF_FLAT)) EdgeRing(*s, q, outerTL, outerBR, sides);
        shrink(q);
    }
    if (inner && !(flags & BF_MONO)) {
        EdgeRing(*s, q, innerTL, innerBR, sides);
        shrink(q);
    }
    if (flags & BF_MIDDLE) FillDevice(*s, q, Solid(GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE)));
    if (flags & BF_ADJUST) {
        const GdiPointF a = d->ToLogical(q.left, q.top), b = d->ToLogical(q.right, q.bottom);
        *r = RECT{static_cast<LONG>(std::lround(std::min(a.x, b.x))), static_cast<LONG>(std::lround(std::min(a.y, b.y))),
                  static_cast<LONG>(std::lround(std::max(a.x, b.x))), static_cast<LONG>(std::lround(std::max(a.y, b.y)))};
    }
    return TRUE;
}

// ---- frame controls

namespace {

void FillPolygonDevice(GdiSurface& s, const std::vector<GdiPointF>& pts, COLORREF c) {
    GdiPath path;
    for (size_t i = 0; i < pts.size(); ++i) {
        GdiPathElement e;
        e.kind = i == 0 ? GdiPathElement::Move : GdiPathElement::Line;
        e.point = pts[i];
        path.push_back(e);
    }
    GdiPathElement close;
    close.kind = GdiPathElement::Close;
    path.push_back(close);
    s.FillPath(path, WINDING, Solid(c), R2_COPYPEN);
}

// A solid triangle pointing in a direction (0 up, 1 down, 2 left, 3 right), centred in r.
void Arrow(GdiSurface& s, const RECT& r, int dir, COLORREF c) {
    const double w = r.right - r.left, h = r.bottom - r.top;
    const double size = std::max(2.0, std::floor(std::min(w, h) / 3.0));
    const double cx = r.left + w / 2, cy = r.top + h / 2;
    std::vector<GdiPointF> pts;
    switch (dir) {
        case 0: pts = {{cx - size, cy + size / 2}, {cx + size, cy + size / 2}, {cx, cy - size / 2}}; break;
        case 1: pts = {{cx - size, cy - size / 2}, {cx + size, cy - size / 2}, {cx, cy + size / 2}}; break;
        case 2: pts = {{cx + size / 2, cy - size}, {cx + size / 2, cy + size}, {cx - size / 2, cy}}; break;
        default: pts = {{cx - size / 2, cy - size}, {cx - size / 2, cy + size}, {cx + size / 2, cy}}; break;
    }
    FillPolygonDevice(s, pts, c);
}

void CheckMark(GdiSurface& s, const RECT& r, COLORREF c) {
    const double w = r.right - r.left, h = r.bottom - r.top;
    const double x = r.left + w * 0.2, y = r.top + h * 0.5;
    const double u = std::max(1.0, w / 12.0);
    FillPolygonDevice(s,
                      {{x, y}, {x + 2.5 * u, y + 2.5 * u}, {x + 7 * u, y - 2 * u}, {x + 7 * u, y - 0.5 * u},
                       {x + 2.5 * u, y + 4 * u}, {x, y + 1.5 * u}},
                      c);
}

void FillEllipse(GdiSurface& s, double l, double t, double r, double b, COLORREF c) {
    GdiPath path;
    GdiPathElement m;
    m.kind = GdiPathElement::Move;
    m.point = {r, (t + b) / 2};
    path.push_back(m);
    GdiPathElement a;
    a.kind = GdiPathElement::Arc;
    a.left = l;
    a.top = t;
    a.right = r;
    a.bottom = b;
    a.start = 0;
    a.sweep = 360;
    path.push_back(a);
    GdiPathElement close;
    close.kind = GdiPathElement::Close;
    path.push_back(close);
    s.FillPath(path, WINDING, Solid(c), R2_COPYPEN);
}

}  // namespace

BOOL DrawFrameControl(HDC dc, RECT* r, UINT type, UINT state) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = Target(d);
    if (!s) return FALSE;
    if (!r) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const RECT q = d->ToDeviceRect(*r);
    const bool inactive = (state & DFCS_INACTIVE) != 0;
    const bool pushed = (state & DFCS_PUSHED) != 0;
    const COLORREF glyph = GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    auto button = [&](RECT box) {
        RECT edge = box;
        if (state & DFCS_FLAT) {
            if (pushed) DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE);
            else FillDevice(*s, box, Solid(GetSysColor(COLOR_BTNFACE)));
        } else if (pushed) {
            DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_SOFT);
        } else {
            DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        }
    };
    switch (type) {
        case DFC_BUTTON: {
            const UINT kind = state & 0x1F;
            if (kind & DFCS_BUTTONPUSH) {
                button(*r);
                if (state & DFCS_ADJUSTRECT) {
                    r->left += 2;
                    r->top += 2;
                    r->right -= 2;
                    r->bottom -= 2;
                }
                return TRUE;
            }
            const LONG size = std::min(q.right - q.left, q.bottom - q.top);
            const RECT box{q.left, q.top, q.left + size, q.top + size};
            const bool checked = (state & DFCS_CHECKED) != 0;
            if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
                if (kind & DFCS_BUTTONRADIOMASK) {
                    FillDevice(*s, box, Solid(RGB(255, 255, 255)));
                    FillEllipse(*s, box.left, box.top, box.right, box.bottom, 0);
                    return TRUE;
                }
                FillEllipse(*s, box.left, box.top, box.right, box.bottom, GetSysColor(COLOR_BTNSHADOW));
                FillEllipse(*s, box.left + 1, box.top + 1, box.right, box.bottom, GetSysColor(COLOR_BTNHIGHLIGHT));
                FillEllipse(*s, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, GetSysColor(COLOR_3DDKSHADOW));
                FillEllipse(*s, box.left + 2, box.top + 2, box.right - 1, box.bottom - 1, GetSysColor(COLOR_3DLIGHT));
                FillEllipse(*s, box.left + 2, box.top + 2, box.right - 2, box.bottom - 2,
                            GetSysColor(pushed || inactive ? COLOR_BTNFACE : COLOR_WINDOW));
                if (checked) {
                    const double inset = size * 0.35;
                    FillEllipse(*s, box.left + inset, box.top + inset, box.right - inset, box.bottom - inset, glyph);
                }
                return TRUE;
            }
            // Check box (and three-state box, whose check is grey).
            RECT edge = box;
            const GdiPointF a = d->ToLogical(box.left, box.top), b = d->ToLogical(box.right, box.bottom);
            edge = RECT{static_cast<LONG>(std::lround(a.x)), static_cast<LONG>(std::lround(a.y)),
                        static_cast<LONG>(std::lround(b.x)), static_cast<LONG>(std::lround(b.y))};
            const bool third = (kind & DFCS_BUTTON3STATE) && checked;
            DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
            const RECT face{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
            FillDevice(*s, face, Solid(GetSysColor(pushed || inactive || third ? COLOR_BTNFACE : COLOR_WINDOW)));
            if (checked) CheckMark(*s, face, third ? GetSysColor(COLOR_BTNSHADOW) : glyph);
            return TRUE;
        }
        case DFC_SCROLL: {
            const UINT kind = state & 0xFF;
            if (kind == DFCS_SCROLLSIZEGRIP) {
                FillDevice(*s, q, Solid(GetSysColor(COLOR_BTNFACE)));
                const LONG size = std::min(q.right - q.left, q.bottom - q.top);
                for (LONG k = 3; k < size; k += 4) {
                    for (LONG i = 0; i < k && i < size; ++i) {
                        FillDevice(*s, RECT{q.right - k + i, q.bottom - 1 - i, q.right - k + i + 1, q.bottom - i},
                                   Solid(GetSysColor(COLOR_BTNHIGHLIGHT)));
                        FillDevice(*s, RECT{q.right - k + i + 1, q.bottom - 1 - i, q.right - k + i + 3, q.bottom - i},
                                   Solid(GetSysColor(COLOR_BTNSHADOW)));
                    }
                }
                return TRUE;
            }
            button(*r);
            RECT glyphBox = q;
            if (pushed) OffsetRectBy(glyphBox, 1, 1);
            const int dir = kind == DFCS_SCROLLUP ? 0 : kind == DFCS_SCROLLLEFT ? 2 : kind == DFCS_SCROLLRIGHT ? 3 : 1;
            if (inactive) {
                RECT shadow = glyphBox;
                OffsetRectBy(shadow, 1, 1);
                Arrow(*s, shadow, dir, GetSysColor(COLOR_BTNHIGHLIGHT));
            }
            Arrow(*s, glyphBox, dir, glyph);
            return TRUE;
        }
        case DFC_CAPTION: {
            button(*r);
            RECT g = q;
            if (pushed) OffsetRectBy(g, 1, 1);
            const double w = g.right - g.left, h = g.bottom - g.top;
            const double u = std::max(1.0, std::floor(std::min(w, h) / 7.0));
            const double l = g.left + w / 2 - 2.5 * u, t = g.top + h / 2 - 2.5 * u;
            auto bar = [&](double x0, double y0, double x1, double y1) {
                FillDevice(*s, RECT{static_cast<LONG>(x0), static_cast<LONG>(y0), static_cast<LONG>(x1), static_cast<LONG>(y1)},
                           Solid(glyph));
            };
            switch (state & 0xFF) {
                case DFCS_CAPTIONCLOSE:
                    FillPolygonDevice(*s, {{l, t}, {l + u, t}, {l + 5 * u, t + 5 * u}, {l + 4 * u, t + 5 * u}}, glyph);
                    FillPolygonDevice(*s, {{l + 4 * u, t}, {l + 5 * u, t}, {l + u, t + 5 * u}, {l, t + 5 * u}}, glyph);
                    break;
                case DFCS_CAPTIONMIN: bar(l, t + 4 * u, l + 4 * u, t + 5 * u); break;
                case DFCS_CAPTIONMAX:
                    bar(l, t, l + 5 * u, t + 2 * u);
                    bar(l, t, l + u, t + 5 * u);
                    bar(l + 4 * u, t, l + 5 * u, t + 5 * u);
                    bar(l, t + 4 * u, l + 5 * u, t + 5 * u);
                    break;
                case DFCS_CAPTIONRESTORE:
                    bar(l + 1.5 * u, t, l + 5 * u, t + u);
                    bar(l + 4 * u, t, l + 5 * u, t + 3 * u);
                    bar(l, t + 2 * u, l + 3.5 * u, t + 3 * u);
                    bar(l, t + 2 * u, l + u, t + 5 * u);
                    bar(l + 2.5 * u, t + 2 * u, l + 3.5 * u, t + 5 * u);
                    bar(l, t + 4 * u, l + 3.5 * u, t + 5 * u);
                    break;
                default:  // help: a question mark of bars
                    bar(l + u, t, l + 4 * u, t + u);
                    bar(l + 3 * u, t, l + 4 * u, t + 2.5 * u);
                    bar(l + 2 * u, t + 2 * u, l + 3 * u, t + 3.5 * u);
                    bar(l + 2 * u, t + 4 * u, l + 3 * u, t + 5 * u);
                    break;
            }
            return TRUE;
        }
        case DFC_MENU: {
            switch (state & 0xFF) {
                case DFCS_MENUARROW: Arrow(*s, q, 3, glyph); break;
                case DFCS_MENUCHECK: CheckMark(*s, q, glyph); break;
                default: {
                    const double w = q.right - q.left, h = q.bottom - q.top, rr = std::min(w, h) / 6;
                    FillEllipse(*s, q.left + w / 2 - rr, q.top + h / 2 - rr, q.left + w / 2 + rr, q.top + h / 2 + rr, glyph);
                    break;
                }
            }
            return TRUE;
        }
        default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
}

// ---- gradients

namespace {

COLORREF Mix(const TRIVERTEX& a, const TRIVERTEX& b, double t) {
    auto ch = [&](COLOR16 x, COLOR16 y) {
        const double v = (x >> 8) + ((y >> 8) - (x >> 8)) * t;
        return static_cast<BYTE>(std::clamp(std::lround(std::floor(v)), 0L, 255L));
    };
    return RGB(ch(a.Red, b.Red), ch(a.Green, b.Green), ch(a.Blue, b.Blue));
}

}  // namespace

BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount, ULONG mode) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = Target(d);
    if (!s) return FALSE;
    if (!vertices || !mesh || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) {
        // Triangle meshes are not drawn.
        SetLastError(mode == GRADIENT_FILL_TRIANGLE ? ERROR_NOT_SUPPORTED : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
        if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        TRIVERTEX a = vertices[rects[i].UpperLeft], b = vertices[rects[i].LowerRight];
        RECT q = d->ToDeviceRect(RECT{a.x, a.y, b.x, b.y});
        const POINT pa = d->ToDevicePoint(a.x, a.y), pb = d->ToDevicePoint(b.x, b.y);
        // The colour runs from the upper-left vertex's side to the other.
        const bool horizontal = mode == GRADIENT_FILL_RECT_H;
        if ((horizontal && pa.x > pb.x) || (!horizontal && pa.y > pb.y)) std::swap(a, b);
        const LONG n = horizontal ? q.right - q.left : q.bottom - q.top;
        // Runs of equal colour become one rectangle.
        LONG runStart = 0;
        COLORREF runColour = n > 0 ? Mix(a, b, 0) : 0;
        for (LONG k = 1; k <= n; ++k) {
            const COLORREF c = k < n ? Mix(a, b, double(k) / n) : ~runColour;
            if (c == runColour) continue;
            const RECT band = horizontal ? RECT{q.left + runStart, q.top, q.left + k, q.bottom}
                                         : RECT{q.left, q.top + runStart, q.right, q.top + k};
            FillDevice(*s, band, Solid(runColour));
            runStart = k;
            runColour = c;
        }
    }
    return TRUE;
}
