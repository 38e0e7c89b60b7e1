// Progress bars: percentage figures in inverse colours over the two parts, the segmented bar,
// and the gradient bar.
#include "controls/styled/DrawHelpers.h"

#include <algorithm>
#include <cmath>

#include "platform/vcl/Gdi.h"
#include "platform/win/WinString.h"

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

WideString PercentText(bool show, int percent) {
    return show ? Utf8ToUtf16(std::to_string(std::max(percent, 0)) + "%") : WideString();
}

TRect RestRect(const TRect& r, const TRect& filled, bool vertical) {
    if (vertical) return TRect(r.left, r.top, r.right, filled.top);
    return TRect(filled.right, r.top, r.right, r.bottom);
}

// The figures drawn centred, clipped to part; the brush fills the part unless it is clear.
void FiguresIn(TCanvas& c, const TRect& r, const TRect& part, const WideString& text) {
    const int y = r.top + (r.Height() - c.TextHeight(u"X")) / 2;
    const UINT oldAlign = SetTextAlign(c.Handle(), TA_CENTER);
    c.TextRect(part, (r.left + r.right) / 2, y, text);
    SetTextAlign(c.Handle(), oldAlign);
}

}  // namespace

TRect ProgressFilledRect(const TRect& r, bool vertical, int percent) {
    if (percent >= 100) return r;
    const int p = std::max(percent, 0);
    if (vertical) return TRect(r.left, r.bottom - RoundEven(p * double(r.bottom - r.top) / 100), r.right, r.bottom);
    return TRect(r.left, r.top, r.left + RoundEven(p * double(r.right - r.left) / 100), r.bottom);
}

void PaintProgressPercentText(TCanvas& c, const TRect& r, bool vertical, bool transparent, bool showPercent, int percent,
                              TColor background, TColor bar) {
    const WideString text = PercentText(showPercent, percent);
    const TRect filled = ProgressFilledRect(r, vertical, percent);
    c.Font()->SetColor(background);
    c.Brush()->SetColor(bar);
    c.Brush()->SetStyle(bsSolid);
    FiguresIn(c, r, filled, text);
    c.Font()->SetColor(bar);
    if (transparent) c.Brush()->SetStyle(bsClear);
    else c.Brush()->SetColor(background);
    FiguresIn(c, r, RestRect(r, filled, vertical), text);
    if (transparent) c.Brush()->SetStyle(bsSolid);
}

void PaintProgressBarThemed(TCanvas& c, const TRect& r, bool vertical, bool transparent, bool, int percent, int count,
                            TColor background, TColor bar) {
    // Themes are off on this platform: the classic segmented bar.
    const int length = vertical ? r.Height() : r.Width();
    if (length <= 0 || count <= 0) return;
    int size = length / count;
    if (length <= 80 && count > 10) {
        size = length / 10;
        count = 10;
    }
    if (size > 0) {
        const int extra = (length - size * count) / size;
        if (extra > 0) count += extra;
    }
    if (size <= 0) return;
    const int margin = (length - size * count) / 2;
    c.Pen()->SetStyle(psClear);
    c.Brush()->SetStyle(bsSolid);
    if (!transparent) {
        c.Brush()->SetColor(background);
        if (vertical) {
            c.FillRect(TRect(r.left, r.top, r.right, r.top + margin));
            c.FillRect(TRect(r.left, r.bottom - margin - (length - size * count - 2 * margin), r.right, r.bottom));
        } else {
            c.FillRect(TRect(r.left, r.top, r.left + margin, r.bottom));
            c.FillRect(TRect(r.right - margin - (length - size * count - 2 * margin), r.top, r.right, r.bottom));
        }
    }
    const int lit = static_cast<int>(percent * count / 100.0);
    if (!transparent) {
        c.Pen()->SetStyle(psSolid);
        c.Pen()->SetColor(background);
    }
    for (int segment = 1; segment <= count; ++segment) {
        const bool on = segment <= lit;
        if (transparent && !on) continue;
        TRect s = vertical ? TRect(r.left, r.top + margin + size * (count - segment), r.right,
                                   r.top + margin + size * (count - segment) + size)
                           : TRect(r.left + margin + size * (segment - 1), r.top, r.left + margin + size * segment, r.bottom);
        if (transparent) {
            ++s.left;
            ++s.top;
        }
        c.Brush()->SetColor(on ? bar : background);
        c.Rectangle(s);
    }
    c.Pen()->SetStyle(psSolid);
}

void PaintGradientProgress(TCanvas& c, const TRect& r, bool vertical, bool transparent, bool showPercent, int percent,
                           TGradientDirection direction, TColor backgroundStop, TColor background, TColor barStop, TColor bar) {
    const WideString text = PercentText(showPercent, percent);
    const TRect filled = ProgressFilledRect(r, vertical, percent);
    const TRect rest = RestRect(r, filled, vertical);
    PaintGradient(c, filled, direction, 1, barStop, bar);
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetColor(background);
    FiguresIn(c, r, filled, text);
    if (!transparent) PaintGradient(c, rest, direction, 1, backgroundStop, background);
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetColor(bar);
    FiguresIn(c, r, rest, text);
    c.Brush()->SetStyle(bsSolid);
}
