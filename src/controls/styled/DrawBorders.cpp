// Borders, rings, frames and outlines.
#include "controls/styled/DrawHelpers.h"

#include <algorithm>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/WinFrames.h"

namespace {

void Line(TCanvas& c, int x1, int y1, int x2, int y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

void Dot(TCanvas& c, int x, int y, TColor color) { c.SetPixel(x, y, color); }

struct Pair {
    TColor ul, lr;
};

Pair FrameColors(TFrameStyle style) {
    switch (style) {
    case fsFlat: return {cl3DDkShadow, cl3DDkShadow};
    case fsGroove: return {clBtnShadow, clBtnHighlight};
    case fsBump: return {clBtnHighlight, clBtnShadow};
    case fsStatus: return {clBtnShadow, clBtnHighlight};
    case fsPopup: return {clBtnHighlight, clBtnShadow};
    case fsFlatBold: return {clBtnShadow, clBtnShadow};
    default: return {clNone, clNone};
    }
}

TRect Shrink(const TRect& r, TSides sides, int n) {
    TRect out = r;
    if (sides.Contains(sdLeft)) out.left += n;
    if (sides.Contains(sdTop)) out.top += n;
    if (sides.Contains(sdRight)) out.right -= n;
    if (sides.Contains(sdBottom)) out.bottom -= n;
    return out;
}

// The two-pixel etched line of the groove and bump styles.
TRect PaintEtched(TCanvas& c, const TRect& r, TColor ul, TColor lr, TSides sides) {
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const bool left = sides.Contains(sdLeft), top = sides.Contains(sdTop), right = sides.Contains(sdRight),
               bottom = sides.Contains(sdBottom);
    if (right) Dot(c, R - 1, T, ColorToRGB(lr));
    if (top && !right) Dot(c, R - 1, T, ColorToRGB(ul));
    if (bottom) Dot(c, L, B - 1, ColorToRGB(lr));
    if (left && !bottom) Dot(c, L, B - 1, ColorToRGB(ul));
    if (top && !left) Dot(c, L, T + 1, ColorToRGB(lr));
    if (left && !top) Dot(c, L + 1, T, ColorToRGB(lr));
    if (bottom && !right) Dot(c, R - 1, B - 2, ColorToRGB(ul));
    if (right && !bottom) Dot(c, R - 2, B - 1, ColorToRGB(ul));
    PaintRectSides(c, TRect(L + 1, T + 1, R, B), lr, lr, sides);
    PaintRectSides(c, TRect(L, T, R - 1, B - 1), ul, ul, sides);
    return Shrink(r, sides, 2);
}

TRect TwoRings(TCanvas& c, const TRect& r, Pair ring1, Pair ring2, TSides sides) {
    const TRect inner = PaintBevelRings(c, r, ring1.ul, ring1.lr, sides, 1);
    return PaintBevelRings(c, inner, ring2.ul, ring2.lr, sides, 1);
}

}  // namespace

TRect PaintRectSides(TCanvas& c, const TRect& r, TColor ul, TColor lr, TSides sides) {
    if (ul != clNone) {
        c.Pen()->SetColor(ul);
        if (sides.Contains(sdLeft)) Line(c, r.left, r.top, r.left, r.bottom);
        if (sides.Contains(sdTop)) Line(c, r.left, r.top, r.right, r.top);
    }
    if (lr != clNone) {
        c.Pen()->SetColor(lr);
        if (sides.Contains(sdRight)) Line(c, r.right - 1, r.top, r.right - 1, r.bottom);
        if (sides.Contains(sdBottom)) Line(c, r.left, r.bottom - 1, r.right, r.bottom - 1);
    }
    return Shrink(r, sides, 1);
}

TRect PaintBevelRings(TCanvas& c, const TRect& r, TColor ul, TColor lr, TSides sides, int rings) {
    c.Pen()->SetWidth(1);
    TRect out = r;
    for (int i = 0; i < rings; ++i) out = PaintRectSides(c, out, ul, lr, sides);
    return out;
}

TRect PaintCtl3DBorderSides(TCanvas& c, const TRect& r, bool lowered, TSides sides) {
    if (lowered) return TwoRings(c, r, {clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}, sides);
    return TwoRings(c, r, {cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}, sides);
}
TRect PaintCtl3DBorder(TCanvas& c, const TRect& r, bool lowered) { return PaintCtl3DBorderSides(c, r, lowered, sdAllSides); }

TRect PaintButtonBorderSides(TCanvas& c, const TRect& r, bool lowered, TSides sides) {
    if (lowered) return TwoRings(c, r, {clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}, sides);
    return TwoRings(c, r, {clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}, sides);
}
TRect PaintButtonBorder(TCanvas& c, const TRect& r, bool lowered) { return PaintButtonBorderSides(c, r, lowered, sdAllSides); }

TRect PaintColoredButtonBorderSides(TCanvas& c, const TRect& r, TColor face, bool lowered, TSides sides) {
    if (lowered) {
        const TColor d100 = DarkerColor(face, 100), d50 = DarkerColor(face, 50);
        return TwoRings(c, r, {d100, d100}, {d50, d50}, sides);
    }
    return TwoRings(c, r, {LighterColor(face, 100), DarkerColor(face, 100)}, {LighterColor(face, 40), DarkerColor(face, 50)}, sides);
}
TRect PaintColoredButtonBorder(TCanvas& c, const TRect& r, TColor face, bool lowered) {
    return PaintColoredButtonBorderSides(c, r, face, lowered, sdAllSides);
}

TRect PaintFrameBorderSides(TCanvas& c, const TRect& r, TFrameStyle style, TSides sides) {
    const Pair p = FrameColors(style);
    switch (style) {
    case fsNone: return r;
    case fsFlat:
    case fsStatus:
    case fsPopup: return PaintBevelRings(c, r, p.ul, p.lr, sides, 1);
    case fsLowered:
    case fsRaised: return PaintCtl3DBorderSides(c, r, style == fsLowered, sides);
    case fsButtonDown:
    case fsButtonUp: return PaintButtonBorderSides(c, r, style == fsButtonDown, sides);
    case fsFlatBold: return PaintBevelRings(c, r, p.ul, p.lr, sides, 2);
    case fsGroove:
    case fsBump: return PaintEtched(c, r, p.ul, p.lr, sides);
    default: return r;
    }
}
TRect PaintFrameBorder(TCanvas& c, const TRect& r, TFrameStyle style) { return PaintFrameBorderSides(c, r, style, sdAllSides); }

TRect PaintColoredBorderSides(TCanvas& c, const TRect& r, TColor face, TFrameStyleEx style, TSides sides) {
    const auto D = [face](int n) { return DarkerColor(face, n); };
    const auto Lt = [face](int n) { return LighterColor(face, n); };
    switch (style) {
    case fsNone: return r;
    case fsFlat: return PaintBevelRings(c, r, D(50), D(50), sides, 1);
    case fsGroove: return PaintEtched(c, r, D(50), Lt(100), sides);
    case fsLowered: return TwoRings(c, r, {D(50), Lt(100)}, {D(100), Lt(50)}, sides);
    case fsRaised: return TwoRings(c, r, {Lt(50), D(100)}, {Lt(100), D(50)}, sides);
    case fsButtonDown:
    case fsButtonUp: return PaintColoredButtonBorderSides(c, r, face, style == fsButtonDown, sides);
    case fsStatus: return PaintBevelRings(c, r, D(50), Lt(100), sides, 1);
    case fsPopup: return PaintBevelRings(c, r, Lt(100), D(50), sides, 1);
    case fsFlatBold: return PaintBevelRings(c, r, D(50), D(50), sides, 2);
    default: return PaintEtched(c, r, Lt(100), D(50), sides);  // fsBump and any other value
    }
}
TRect PaintColoredBorder(TCanvas& c, const TRect& r, TColor face, TFrameStyleEx style) {
    return PaintColoredBorderSides(c, r, face, style, sdAllSides);
}

TRect PaintBoxOutline(TCanvas& c, const TRect& r, TColor color) {
    c.Pen()->SetColor(color);
    Line(c, r.left, r.top, r.left, r.bottom);
    Line(c, r.left, r.top, r.right, r.top);
    Line(c, r.right - 1, r.top, r.right - 1, r.bottom);
    Line(c, r.left, r.bottom - 1, r.right, r.bottom - 1);
    return TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
}

TRect PaintBoxCornerMarks(TCanvas& c, const TRect& r, TColor color, int n) {
    c.Pen()->SetColor(color);
    const int L = r.left, T = r.top, R = r.right - 1, B = r.bottom - 1;
    c.Polyline({TPoint(L, T + n - 1), TPoint(L, T), TPoint(L + n, T)});
    c.Polyline({TPoint(R - n + 1, T), TPoint(R, T), TPoint(R, T + n)});
    c.Polyline({TPoint(R, B - n + 1), TPoint(R, B), TPoint(R - n, B)});
    c.Polyline({TPoint(L + n - 1, B), TPoint(L, B), TPoint(L, B - n)});
    return TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
}

TRect PaintFocusBorder(TCanvas& c, const TRect& r) {
    const auto flip = [&c](int x, int y) { c.SetPixel(x, y, static_cast<TColor>(ColorToRGB(c.Pixel(x, y)) ^ 0xFFFFFF)); };
    for (int y = r.top + 1; y < r.bottom; y += 2) {
        flip(r.left, y);
        if (r.right - 1 != r.left) flip(r.right - 1, y);
    }
    for (int x = r.left + 1; x < r.right; x += 2) {
        flip(x, r.top);
        if (r.bottom - 1 != r.top) flip(x, r.bottom - 1);
    }
    return TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
}

TRect PaintRoundedFlatBorder(TCanvas& c, const TRect& r, TColor color, TSides sides) {
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const bool left = sides.Contains(sdLeft), top = sides.Contains(sdTop), right = sides.Contains(sdRight),
               bottom = sides.Contains(sdBottom);
    const int T2 = top ? T + 2 : T, B2 = bottom ? B - 2 : B, L2 = left ? L + 2 : L, R2 = right ? R - 2 : R;
    c.Pen()->SetColor(color);
    if (left) Line(c, L, T2, L, B2);
    if (top) Line(c, L2, T, R2, T);
    if (right) Line(c, R - 1, T2, R - 1, B2);
    if (bottom) Line(c, L2, B - 1, R2, B - 1);
    const TColor px = ColorToRGB(color);
    if (left && top) Dot(c, L + 1, T + 1, px);
    if (top && right) Dot(c, R - 2, T + 1, px);
    if (right && bottom) Dot(c, R - 2, B - 2, px);
    if (bottom && left) Dot(c, L + 1, B - 2, px);
    return TRect(L2, T2, R2, B2);
}

namespace {

// One style of a panel's outer or inner frame.
TRect PanelFrame(TCanvas& c, const TRect& r, TFrameStyleEx style, const TPanelBorderStyle& s, TColor flat, bool inner) {
    switch (style) {
    case fsFlat: return PaintBevelRings(c, r, flat, flat, s.sides, 1);
    case fsFlatBold: return PaintBevelRings(c, r, flat, flat, s.sides, 2);
    case fsPopup: return PaintBevelRings(c, r, s.borderHighlight, s.borderShadow, s.sides, s.bevelWidth);
    case fsStatus: return PaintBevelRings(c, r, s.borderShadow, s.borderHighlight, s.sides, s.bevelWidth);
    case fsFlatRounded: {
        if (inner) {
            TRect next = PaintBevelRings(c, r, s.borderColor, s.borderColor, s.sides, 1);
            if (!s.transparent) next = PaintBevelRings(c, next, s.color, s.color, s.sides, 1);
            PaintRoundedFlatBorder(c, r, flat, s.sides);
            return next;
        }
        const bool ringed = s.borderWidth > 0 || s.inner != fsNone;
        if (!s.transparent) {
            const TRect next = PaintBevelRings(c, r, s.parentColor, s.parentColor, s.sides, 1);
            const TColor ring = ringed ? s.borderColor : s.color;
            PaintBevelRings(c, next, ring, ring, s.sides, 1);
        } else if (ringed) {
            PaintBevelRings(c, TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), s.borderColor, s.borderColor, s.sides, 1);
        }
        return PaintRoundedFlatBorder(c, r, flat, s.sides);
    }
    default: return PaintFrameBorderSides(c, r, style, s.sides);
    }
}

}  // namespace

TRect PaintPanelBorder(TCanvas& c, const TRect& r, const TPanelBorderStyle& s) {
    const TColor flat = AdjustedColor(s.flatColor, s.flatColorAdjustment);
    TRect out = PanelFrame(c, r, s.outer, s, flat, false);
    if (s.borderWidth > 0) out = PaintBevelRings(c, out, s.borderColor, s.borderColor, s.sides, s.borderWidth);
    return PanelFrame(c, out, s.inner, s, flat, true);
}

void PaintNonClientFrame(TCanvas& c, int width, int height, TSides sides, TColor frameColor, TColor controlColor,
                         TFrameStyleEx style) {
    const TRect all(0, 0, width, height);
    PaintBevelRings(c, all, controlColor, controlColor, sdAllSides, 2);
    if (style == fsFlat) PaintBevelRings(c, all, frameColor, frameColor, sides, 1);
    else if (style == fsFlatBold) PaintBevelRings(c, all, frameColor, frameColor, sides, 2);
    else if (controlColor == clWindow) PaintFrameBorderSides(c, all, style, sides);
    else PaintColoredBorderSides(c, all, controlColor, style, sides);
}

void ReserveNonClientFrame(RECT* r) {
    constexpr int kClientEdge = 2;  // the sunken edge the frame paints over
    if (!r) return;
    r->left += kClientEdge;
    r->top += kClientEdge;
    r->right = std::max<LONG>(r->left, r->right - kClientEdge);
    r->bottom = std::max<LONG>(r->top, r->bottom - kClientEdge);
}

void RedrawNonClientFrame(HWND window, const TRect&) {
    HDC dc = GetWindowDC(window);
    if (!dc) return;
    RECT box;
    const int kind = GetClipBox(dc, &box);
    ReleaseDC(window, dc);
    if (kind == NULLREGION || kind == ERROR) return;
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}
