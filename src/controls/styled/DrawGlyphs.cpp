// Small glyphs: drop-down and arrow buttons, the close cross, check-box and radio-button marks.
#include "controls/styled/DrawHelpers.h"

#include <initializer_list>
#include <utility>

#include "platform/vcl/Gdi.h"

namespace {

using Px = std::initializer_list<std::pair<int, int>>;

struct Centre {
    int x, y;
};

Centre CentreOf(const TRect& r) {
    Centre c{r.left + r.Width() / 2, r.top + r.Height() / 2};
    if (r.Height() % 2 == 0) --c.y;
    return c;
}

TColor GlyphColor(TCanvas& c, bool themed, bool enabled) {
    if (!enabled) return clBtnShadow;
    // The themed drop-down colour would come from the visual-style engine; without one the
    // design's replacement for a colour too close to the window applies.
    if (themed) return cl3DDkShadow;
    return ColorsAreClose(c.Brush()->Color(), clBlack) ? cl3DDkShadow : clBlack;
}

// Fills a polygon in colour with a clear pen, then leaves the pen solid and the brush colour
// as it was.
void FillShape(TCanvas& c, TColor colour, const std::vector<TPoint>& points) {
    const TColor saved = c.Brush()->Color();
    c.Pen()->SetStyle(psClear);
    c.Brush()->SetColor(colour);
    c.Polygon(points);
    c.Pen()->SetStyle(psSolid);
    c.Brush()->SetColor(saved);
}

// Rows (or columns) of 1, 3, 5 and 7 pixels.
void Triangle(TCanvas& c, TColor colour, int x, int y, int dx, int dy, bool rows) {
    const TColor saved = c.Brush()->Color();
    c.Brush()->SetColor(colour);
    for (int k = 0; k < 4; ++k) {
        const int px = x + dx * k, py = y + dy * k;
        if (rows) c.FillRect(TRect(px - k, py, px + k + 1, py + 1));
        else c.FillRect(TRect(px, py - k, px + 1, py + k + 1));
    }
    c.Pen()->SetStyle(psSolid);
    c.Brush()->SetColor(saved);
}

void Pixels(TCanvas& c, int x0, int y0, TColor colour, Px points) {
    const TColor rgb = static_cast<TColor>(ColorToRGB(colour));
    for (const auto& [x, y] : points) c.SetPixel(x0 + x, y0 + y, rgb);
}

TColor FillColour(const TGlyphColors& k, bool focused, TRzDrawState s) {
    if (s == dsPressed) return DarkerColor(k.focusColor, 20);
    if (s == dsDisabled) return k.disabledColor;
    if (focused) return (k.readOnlyColorOnFocus && k.readOnly) ? k.readOnlyColor : k.focusColor;
    return k.readOnly ? k.readOnlyColor : k.fillColor;
}

}  // namespace

void PaintDropDownButton(TCanvas& c, const TRect& r, bool themed, bool enabled, bool) {
    const TColor colour = GlyphColor(c, themed, enabled);
    Centre p = CentreOf(r);
    if (themed) {
        p.y += 4;
        FillShape(c, colour, {TPoint(p.x, p.y), TPoint(p.x - 4, p.y - 5), TPoint(p.x - 3, p.y - 7), TPoint(p.x, p.y - 3),
                              TPoint(p.x + 3, p.y - 7), TPoint(p.x + 5, p.y - 5)});
    } else {
        p.y += 2;
        Triangle(c, colour, p.x, p.y, 0, -1, true);
    }
}

void PaintArrowButton(TCanvas& c, const TRect& r, bool themed, bool enabled, bool, int direction) {
    const TColor colour = GlyphColor(c, themed, enabled);
    Centre p = CentreOf(r);
    const int x = p.x, y = p.y;
    if (themed) {
        switch (direction) {
        case 0: FillShape(c, colour, {TPoint(x, y + 4 - 5), TPoint(x + 4, y + 4), TPoint(x + 1, y + 4), TPoint(x, y + 4 - 2),
                                      TPoint(x - 1, y + 4), TPoint(x - 4, y + 4)}); break;
        case 1: FillShape(c, colour, {TPoint(x, y + 2), TPoint(x - 3, y + 2 - 4), TPoint(x, y + 2 - 4), TPoint(x, y + 2 - 3),
                                      TPoint(x + 1, y + 2 - 4), TPoint(x + 4, y + 2 - 4)}); break;
        case 2: FillShape(c, colour, {TPoint(x - 1, y), TPoint(x - 1 + 4, y - 4), TPoint(x - 1 + 4, y - 1), TPoint(x - 1 + 3, y),
                                      TPoint(x - 1 + 4, y + 1), TPoint(x - 1 + 4, y + 4)}); break;
        default: FillShape(c, colour, {TPoint(x - 3 + 4, y), TPoint(x - 3, y + 4), TPoint(x - 3, y + 1), TPoint(x - 3 + 1, y),
                                       TPoint(x - 3, y - 1), TPoint(x - 3, y - 4)}); break;
        }
        return;
    }
    switch (direction) {
    case 0: Triangle(c, colour, x, y + 1 - 3, 0, 1, true); break;        // tip on top
    case 1: Triangle(c, colour, x, y + 1, 0, -1, true); break;           // tip below
    case 2: Triangle(c, colour, x - 2, y, 1, 0, false); break;           // tip left
    default: Triangle(c, colour, x - 2 + 3, y, -1, 0, false); break;     // tip right
    }
}

void PaintCloseGlyph(TCanvas& c, const TRect& r, TColor colour) {
    const Centre p = CentreOf(r);
    const int x = p.x, y = p.y;
    if (r.Height() <= 10 || r.Width() < 9) {
        FillShape(c, colour, {TPoint(x, y - 1), TPoint(x + 1, y - 2), TPoint(x + 3, y - 2), TPoint(x + 1, y), TPoint(x + 3, y + 3),
                              TPoint(x + 1, y + 2), TPoint(x, y + 1), TPoint(x - 3, y + 3), TPoint(x - 3, y + 2), TPoint(x - 1, y),
                              TPoint(x - 3, y - 2), TPoint(x - 1, y - 2), TPoint(x - 1, y - 1)});
    } else {
        FillShape(c, colour, {TPoint(x, y - 1), TPoint(x + 2, y - 3), TPoint(x + 5, y - 3), TPoint(x + 2, y), TPoint(x + 5, y + 4),
                              TPoint(x + 2, y + 3), TPoint(x, y + 1), TPoint(x - 2, y + 4), TPoint(x - 4, y + 3), TPoint(x - 1, y),
                              TPoint(x - 4, y - 3), TPoint(x - 1, y - 3)});
    }
}

void PaintCloseButton(TCanvas& c, const TRect& r, bool themed, bool enabled, bool) {
    PaintCloseGlyph(c, r, enabled && !themed ? clBlack : GlyphColor(c, themed, enabled));
}

void PaintCheckBoxGlyph(TCanvas& c, const TRect& r, TRzGlyphCheckState state, const TGlyphColors& k, bool focused, TRzDrawState s) {
    const TColor frame = (s == dsHot && k.hotTrackStyle == htsFrame) ? k.hotFrameColor : k.frameColor;
    const TRect inner = PaintBoxOutline(c, r, frame);
    const int X = inner.left, Y = inner.top;
    TColor mark = k.markColor;
    if (s == dsDisabled) mark = clBtnShadow;
    c.Brush()->SetColor(FillColour(k, focused, s));
    c.FillRect(inner);
    if (state == gcsChecked) {
        const TColor m = static_cast<TColor>(ColorToRGB(mark));
        Pixels(c, X, Y, m, {{2, 4}, {2, 5}, {2, 6}, {3, 5}, {3, 6}, {3, 7}, {4, 6}, {8, 3}, {8, 4}});
        for (int i = 0; i <= 3; ++i) {
            c.SetPixel(X + 4 + i, Y + 7 - i, m);
            c.SetPixel(X + 4 + i, Y + 8 - i, m);
            c.SetPixel(X + 5 + i, Y + 5 - i, m);
        }
    } else if (state == gcsGrayed) {
        c.Brush()->SetColor(mark);
        c.FillRect(TRect(inner.left + 2, inner.top + 2, inner.right - 2, inner.bottom - 2));
    }
    if (s == dsHot) {
        if (k.hotTrackStyle == htsInterior) PaintGradientFrameHighlight(c, inner, gdDiagonalDown, k.hotFrameColor, k.hotFillColor);
        else PaintBoxOutline(c, inner, k.hotFrameColor);
    }
}

void PaintRadioButtonGlyph(TCanvas& canvas, const TRect& r, bool checked, const TGlyphColors& k, TColor transparentKey,
                           bool transparent, TColor controlColor, bool focused, TRzDrawState s) {
    const int w = r.Width() > 0 ? r.Width() : 13, h = r.Height() > 0 ? r.Height() : 13;
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    TCanvas& c = *bitmap.Canvas();
    const bool full = IsFullColorDisplay();
    c.Brush()->SetColor(FillColour(k, focused, s));
    c.FillRect(TRect(0, 0, w, h));
    const TColor E = (s == dsHot && k.hotTrackStyle == htsFrame) ? k.hotFrameColor : k.frameColor;
    const TColor O = full ? LighterColor(E, 10) : E;
    const bool hot = s == dsHot;
    if (hot && full) {
        if (k.hotTrackStyle == htsFrame) {
            Pixels(c, 0, 0, O, {{5, 1}, {6, 1}, {7, 1}, {1, 5}, {11, 5}, {1, 6}, {11, 6}, {1, 7}, {11, 7}, {5, 11}, {6, 11}, {7, 11}});
            Pixels(c, 0, 0, E, {{4, 1}, {8, 1}, {1, 4}, {11, 4}, {1, 8}, {11, 8}, {4, 11}, {8, 11}});
        } else {
            HDC dc = c.Handle();
            SaveDC(dc);
            ExcludeClipRect(dc, 4, 4, 9, 9);
            ExcludeClipRect(dc, 5, 3, 8, 10);
            ExcludeClipRect(dc, 3, 5, 10, 8);
            PaintGradient(c, TRect(0, 0, w, h), gdDiagonalDown, 1, k.hotFrameColor, k.hotFillColor);
            RestoreDC(dc, -1);
        }
    }
    const TColor K = transparent ? transparentKey : controlColor;
    Pixels(c, 0, 0, K, {{0, 0}, {1, 0}, {2, 0}, {10, 0}, {11, 0}, {12, 0}, {0, 1}, {1, 1}, {11, 1}, {12, 1}, {0, 2}, {12, 2},
                        {0, 10}, {12, 10}, {0, 11}, {1, 11}, {11, 11}, {12, 11}, {0, 12}, {1, 12}, {2, 12}, {10, 12}, {11, 12}, {12, 12}});
    TColor P, Q;
    if (transparent) P = Q = transparentKey;
    else if (full) P = BlendColors(E, controlColor, 128), Q = BlendColors(E, controlColor, 40);
    else P = E, Q = controlColor;
    Pixels(c, 0, 0, P, {{4, 0}, {8, 0}, {2, 1}, {10, 1}, {1, 2}, {11, 2}, {0, 4}, {12, 4}, {0, 8}, {12, 8}, {1, 10}, {11, 10},
                        {2, 11}, {10, 11}, {4, 12}, {8, 12}});
    Pixels(c, 0, 0, Q, {{3, 0}, {9, 0}, {0, 3}, {12, 3}, {0, 9}, {12, 9}, {3, 12}, {9, 12}});
    Pixels(c, 0, 0, E, {{6, 0}, {3, 1}, {9, 1}, {1, 3}, {11, 3}, {0, 6}, {12, 6}, {1, 9}, {11, 9}, {3, 11}, {9, 11}, {6, 12}});
    Pixels(c, 0, 0, O, {{5, 0}, {7, 0}, {2, 2}, {10, 2}, {0, 5}, {12, 5}, {0, 7}, {12, 7}, {2, 10}, {10, 10}, {5, 12}, {7, 12}});
    // Blends of the frame colour into what is there.
    const auto blend = [&](int n, Px points) {
        for (const auto& [x, y] : points) c.SetPixel(x, y, BlendColors(E, c.Pixel(x, y), n));
    };
    if (full && hot && k.hotTrackStyle == htsFrame) {
        blend(150, {{3, 2}, {9, 2}, {2, 3}, {10, 3}, {2, 9}, {10, 9}, {3, 10}, {9, 10}});
        blend(80, {{4, 2}, {8, 2}, {2, 4}, {10, 4}, {2, 8}, {10, 8}, {4, 10}, {8, 10}});
    } else if (full) {
        blend(128, {{4, 1}, {8, 1}, {1, 4}, {11, 4}, {1, 8}, {11, 8}, {4, 11}, {8, 11}});
        blend(80, {{5, 1}, {7, 1}, {3, 2}, {9, 2}, {2, 3}, {10, 3}, {1, 5}, {11, 5}, {1, 7}, {11, 7}, {2, 9}, {10, 9}, {3, 10},
                   {9, 10}, {5, 11}, {7, 11}});
        blend(40, {{6, 1}, {1, 6}, {11, 6}, {6, 11}});
    } else {
        Pixels(c, 0, 0, E, {{4, 1}, {8, 1}, {1, 4}, {11, 4}, {1, 8}, {11, 8}, {4, 11}, {8, 11}});
        Pixels(c, 0, 0, static_cast<TColor>(0xC0C0C0), {{5, 1}, {7, 1}, {3, 2}, {9, 2}, {2, 3}, {10, 3}, {1, 5}, {11, 5}, {1, 7},
                                                        {11, 7}, {2, 9}, {10, 9}, {3, 10}, {9, 10}, {5, 11}, {7, 11}});
    }
    if (checked) {
        const TColor M = s == dsDisabled ? clBtnShadow : k.markColor;
        const TColor N = full ? BlendColors(M, c.Pixel(4, 4), 153) : M;
        c.Brush()->SetColor(M);
        c.FillRect(TRect(5, 5, 8, 8));
        Pixels(c, 0, 0, M, {{6, 4}, {4, 6}, {8, 6}, {6, 8}});
        Pixels(c, 0, 0, N, {{5, 4}, {7, 4}, {4, 5}, {8, 5}, {4, 7}, {8, 7}, {5, 8}, {7, 8}});
    }
    canvas.Draw(r.left, r.top, &bitmap);
}
