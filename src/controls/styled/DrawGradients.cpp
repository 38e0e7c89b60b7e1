// Gradients: colour bands in 16.16 fixed point, filled into an off-screen bitmap that is then
// drawn at the rectangle's top-left.
#include "controls/styled/DrawHelpers.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/vcl/Gdi.h"

namespace {

// The colours of steps 0 .. steps-1 between two colours, per channel in 16.16 fixed point.
class Ramp {
public:
    Ramp(COLORREF from, COLORREF to, int steps) {
        const int n = std::max(steps, 1);
        start_[0] = GetRValue(from) << 16, start_[1] = GetGValue(from) << 16, start_[2] = GetBValue(from) << 16;
        step_[0] = ((GetRValue(to) << 16) - start_[0]) / n;
        step_[1] = ((GetGValue(to) << 16) - start_[1]) / n;
        step_[2] = ((GetBValue(to) << 16) - start_[2]) / n;
    }
    TColor At(int i) const {
        return static_cast<TColor>(RGB((start_[0] + step_[0] * i) >> 16, (start_[1] + step_[1] * i) >> 16, (start_[2] + step_[2] * i) >> 16));
    }

private:
    int start_[3], step_[3];
};

int MinimumBand(int granularity, bool box) {
    if (granularity <= 8) return std::max(granularity, 1);
    return (box ? 256 : 255) / granularity + 1;
}

// Walks steps 0 .. count-1 in bands: each band at least the minimum long, extended while the
// colour stays the same; fill(first step, band length, colour).
void Bands(const Ramp& ramp, int count, int granularity, bool box, const std::function<void(int, int, TColor)>& fill) {
    const int minimum = MinimumBand(granularity, box);
    for (int i = 0; i < count;) {
        const TColor c = ramp.At(i);
        int length = std::min(minimum, count - i);
        while (i + length < count && ramp.At(i + length) == c) ++length;
        fill(i, length, c);
        i += length;
    }
}

void Fill(TCanvas& c, int l, int t, int r, int b, TColor color) {
    c.Brush()->SetColor(color);
    c.FillRect(TRect(l, t, r, b));
}

struct PointF {
    double x, y;
};

// The part of the W x H rectangle where lo <= f(x, y) <= hi, f linear, as a polygon.
std::vector<TPoint> StripOfRect(int w, int h, const std::function<double(double, double)>& f, double lo, double hi) {
    std::vector<PointF> poly = {{0, 0}, {double(w), 0}, {double(w), double(h)}, {0, double(h)}};
    const auto clip = [&](bool keepAbove, double limit) {
        std::vector<PointF> out;
        for (std::size_t i = 0; i < poly.size(); ++i) {
            const PointF a = poly[i], b = poly[(i + 1) % poly.size()];
            const double fa = f(a.x, a.y) - limit, fb = f(b.x, b.y) - limit;
            const bool ina = keepAbove ? fa >= 0 : fa <= 0, inb = keepAbove ? fb >= 0 : fb <= 0;
            if (ina) out.push_back(a);
            if (ina != inb) {
                const double t = fa / (fa - fb);
                out.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
            }
        }
        poly = std::move(out);
    };
    clip(true, lo);
    clip(false, hi);
    std::vector<TPoint> points;
    for (const PointF& p : poly) points.emplace_back(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    return points;
}

void Diagonal(TCanvas& c, int w, int h, bool up, COLORREF c1, COLORREF c2) {
    if (c1 == c2) {
        Fill(c, 0, 0, w, h, static_cast<TColor>(c2));
        return;
    }
    const int steps = static_cast<int>(std::sqrt(double(w) * w + double(h) * h)) + 1;
    // Distance from the starting corner, 0 there and 2 at the opposite corner.
    const auto f = up ? std::function<double(double, double)>([w, h](double x, double y) { return x / w + (h - y) / h; })
                      : std::function<double(double, double)>([w, h](double x, double y) { return (w - x) / w + (h - y) / h; });
    // Up starts with the second colour at the bottom-left; down with the first at the bottom-right.
    const Ramp ramp = up ? Ramp(c2, c1, steps) : Ramp(c1, c2, steps);
    // Polygons drawn without a pen leave out their right and bottom edges: the far colour goes
    // first, under the bands.
    Fill(c, 0, 0, w, h, ramp.At(steps - 1));
    Bands(ramp, steps, 1, false, [&](int first, int length, TColor colour) {
        const double lo = 2.0 * first / steps, hi = 2.0 * (first + length) / steps;
        const std::vector<TPoint> band = StripOfRect(w, h, f, lo, hi);
        if (band.size() < 3) return;
        c.Brush()->SetColor(colour);
        c.Polygon(band);
    });
}

void Box(TCanvas& c, int w, int h, TGradientDirection direction, int granularity, COLORREF c1, COLORREF c2) {
    const int hw = (w - 1) / 2, hh = (h - 1) / 2;
    const int ix = (direction == gdHorizontalBox || direction == gdBigSquareBox) ? w / 4 : 0;
    const int iy = (direction == gdVerticalBox || direction == gdBigSquareBox) ? h / 4 : 0;
    if (direction == gdHorizontalBox || direction == gdSquareBox) Fill(c, 0, 0, w, h, static_cast<TColor>(c2));
    if (c1 == c2 || w < 5 || h <= 4) {
        Fill(c, 0, 0, hw + 1, hh + 1, static_cast<TColor>(c2));
    } else {
        const int steps = std::max(hw - ix, hh - iy) + 1;
        const Ramp ramp(c1, c2, steps);
        // From the outside in: each band a rectangle reaching the centre, the next one inside it.
        std::vector<std::pair<int, TColor>> bands;
        Bands(ramp, steps, granularity, true, [&](int first, int, TColor colour) { bands.emplace_back(first, colour); });
        for (auto it = bands.rbegin(); it != bands.rend(); ++it)
            Fill(c, std::max(0, hw - ix - it->first), std::max(0, hh - iy - it->first), hw + 1, hh + 1, it->second);
    }
    // Mirror the top-left quarter: left half flipped right, then the upper half flipped down,
    // a column or row at a time so the mirror axis is exact whatever the blit does with
    // negative extents.
    HDC dc = c.Handle();
    for (int x = 0; x <= hw; ++x) BitBlt(dc, w - 1 - x, 0, 1, hh + 1, dc, x, 0, SRCCOPY);
    for (int y = 0; y <= hh; ++y) BitBlt(dc, 0, h - 1 - y, w, 1, dc, 0, y, SRCCOPY);
}

}  // namespace

void PaintGradient(TCanvas& canvas, const TRect& r, TGradientDirection direction, int granularity, TColor first,
                   TColor second) {
    const int w = std::abs(r.Width()), h = std::abs(r.Height());
    if (w == 0 || h == 0) return;
    const COLORREF c1 = ColorToRGB(first), c2 = ColorToRGB(second);
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    TCanvas& c = *bitmap.Canvas();
    c.Pen()->SetStyle(psClear);
    c.Pen()->SetMode(pmCopy);
    c.Brush()->SetStyle(bsSolid);
    switch (direction) {
    case gdHorizontalEnd:
        Bands(Ramp(c1, c2, h), h, granularity, false, [&](int p, int n, TColor col) { Fill(c, 0, h - p - n, w, h - p, col); });
        break;
    case gdVerticalEnd:
        Bands(Ramp(c1, c2, w), w, granularity, false, [&](int p, int n, TColor col) { Fill(c, w - p - n, 0, w - p, h, col); });
        break;
    case gdHorizontalCenter: {
        const int mid = h / 2, steps = h / 2 + 1;
        Bands(Ramp(c1, c2, steps), mid + 1, granularity, false,
              [&](int p, int n, TColor col) { Fill(c, 0, mid - p - n + 1, w, mid - p + 1, col); });
        Bands(Ramp(c2, c1, steps), h - 1 - mid, granularity, false,
              [&](int p, int n, TColor col) { Fill(c, 0, h - p - n, w, h - p, col); });
        break;
    }
    case gdVerticalCenter: {
        const int mid = w / 2, steps = w / 2 + 1;
        Bands(Ramp(c1, c2, steps), mid + 1, granularity, false,
              [&](int p, int n, TColor col) { Fill(c, mid - p - n + 1, 0, mid - p + 1, h, col); });
        Bands(Ramp(c2, c1, steps), w - 1 - mid, granularity, false,
              [&](int p, int n, TColor col) { Fill(c, w - p - n, 0, w - p, h, col); });
        break;
    }
    case gdDiagonalUp:
    case gdDiagonalDown: Diagonal(c, w, h, direction == gdDiagonalUp, c1, c2); break;
    default: Box(c, w, h, direction, granularity, c1, c2); break;
    }
    canvas.Draw(std::min(r.left, r.right), std::min(r.top, r.bottom), &bitmap);
}

void PaintGradientFrameHighlight(TCanvas& canvas, const TRect& r, TGradientDirection direction, TColor first, TColor second) {
    if (!IsFullColorDisplay()) return;
    HDC dc = canvas.Handle();
    SaveDC(dc);
    ExcludeClipRect(dc, r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    PaintGradient(canvas, r, direction, 1, first, second);
    RestoreDC(dc, -1);
}
