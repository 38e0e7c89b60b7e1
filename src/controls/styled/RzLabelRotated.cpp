// The styled label's rotated text and its text laid along an arc.
#include <cmath>
#include <numbers>

#include "controls/styled/RzLabel.h"
#include "platform/vcl/Gdi.h"

TPoint RotationCenter(TCenterPoint point, TRotation rotation, int w, int h, int bw) {
    if (rotation == roFlat) return TPoint(w / 2, h / 2);
    switch (point) {
    case cpUpperLeft: return TPoint(bw, bw);
    case cpUpperCenter: return TPoint(w / 2, bw);
    case cpUpperRight: return TPoint(w - bw, bw);
    case cpLeftCenter: return TPoint(bw, h / 2);
    case cpCenter: return TPoint(w / 2, h / 2);
    case cpRightCenter: return TPoint(w - bw, h / 2);
    case cpLowerLeft: return TPoint(bw, h - bw);
    case cpLowerCenter: return TPoint(w / 2, h - bw);
    case cpLowerRight: return TPoint(w - bw, h - bw);
    }
    return TPoint(w / 2, h / 2);
}

TPoint CurveRadii(TCenterPoint point, int w, int h, int bw) {
    switch (point) {
    case cpUpperCenter:
    case cpLowerCenter: return TPoint(w / 2 - 2 * bw, h - 2 * bw);
    case cpLeftCenter:
    case cpRightCenter: return TPoint(w - 2 * bw, h / 2 - 2 * bw);
    case cpCenter: return TPoint(w / 2 - 2 * bw, h / 2 - 2 * bw);
    default: return TPoint(w - 2 * bw, h - 2 * bw);
    }
}

namespace {

// Restores the device context's text alignment when drawing ends, however it ends.
class TextAlignScope {
public:
    TextAlignScope(HDC dc, UINT align) : dc_(dc), saved_(SetTextAlign(dc, align)) {}
    ~TextAlignScope() { SetTextAlign(dc_, saved_); }
    TextAlignScope(const TextAlignScope&) = delete;
    TextAlignScope& operator=(const TextAlignScope&) = delete;

private:
    HDC dc_;
    UINT saved_;
};

}  // namespace

void TRzLabel::DrawRotatedText(TCanvas& c, const TRect& r, UINT flags) {
    const WideString text = Caption();
    c.Font()->Assign(Font());
    const int h = c.TextHeight(u"Pp");
    const int tw = c.TextWidth(text);
    const int e = textStyle_ == tsShadow ? shadowDepth_ / 2 : 0;
    const int s = tw + e;
    const double q = h / 4.0;
    const double phi = angle_ * std::numbers::pi / 180.0 + std::numbers::pi / 2;
    const bool centred = flags & DT_CENTER, right = flags & DT_RIGHT;
    int x = Width() / 2, y = Height() / 2;
    UINT align = TA_LEFT | TA_TOP;
    switch (angle_) {
    case 0:
        if (centred) align = TA_CENTER | TA_TOP;
        else x = right ? r.right - tw - 2 * e : r.left + e;
        y -= (h + e) / 2;
        break;
    case 90:
        x -= static_cast<int>(std::lround(std::cos(phi) * q));
        y = centred ? r.bottom - (r.bottom - s) / 2 : right ? r.top + s + e : r.bottom - e;
        align = TA_LEFT | TA_BASELINE;
        break;
    case 180:
        x = centred ? r.right - (r.right - s) / 2 : right ? r.left + s : r.right - e;
        y -= (h + e) / 4;
        align = TA_LEFT | TA_BASELINE;
        break;
    case 270:
        x -= static_cast<int>(std::lround(std::cos(phi) * q));
        y = centred ? (r.bottom - s) / 2 : right ? r.bottom - s - e : r.top + e;
        align = TA_LEFT | TA_BASELINE;
        break;
    default:
        x -= static_cast<int>(std::lround(std::cos(phi) * q));
        y += static_cast<int>(std::lround(std::sin(phi) * q));
        align = TA_CENTER | TA_BASELINE;
        break;
    }
    c.Font()->SetOrientation(angle_ * 10);
    c.Brush()->SetStyle(bsClear);
    const TextAlignScope scope(c.Handle(), align);
    DrawPasses(
        [&](int dx, int dy, TColor color) {
            c.Font()->SetColor(color);
            c.TextRect(r, x + dx, y + dy, text);
        },
        e, -e);
}

void TRzLabel::DrawCurvedText(TCanvas& c) {
    const WideString text = Caption();
    const TPoint centre = RotationCenter(centerPoint_, rotation_, Width(), Height(), borderWidth_);
    const TPoint radii = CurveRadii(centerPoint_, Width(), Height(), borderWidth_);
    // The angle steps by a character width over the x radius: no arc, no text.
    if (radii.x <= 0 || text.empty()) return;
    c.Font()->Assign(Font());
    const int yy = c.TextHeight(u"Yy");
    const double step = (c.TextWidth(u"w") + 2) / static_cast<double>(radii.x);
    c.Brush()->SetStyle(bsClear);
    const TextAlignScope scope(c.Handle(), TA_CENTER | TA_BASELINE);
    double theta = angle_ * std::numbers::pi / 180.0;
    for (std::size_t i = 0; i < text.size();) {
        // One character a step: a surrogate pair stays together.
        const std::size_t n = (i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF) ? 2 : 1;
        const WideString one = text.substr(i, n);
        i += n;
        const int x = centre.x - static_cast<int>(std::lround((radii.x - yy) * std::cos(theta)));
        const int y = centre.y - static_cast<int>(std::lround((radii.y - yy) * std::sin(theta)));
        // The baseline follows the arc the way the characters advance (θ falling runs the
        // other way round to the escapement), so the text reads along the curve with its
        // tops towards the centre.
        const double tangent = -(theta + std::numbers::pi / 2);
        const int tenths = static_cast<int>(std::lround(tangent * 1800.0 / std::numbers::pi));
        c.Font()->SetOrientation((tenths % 3600 + 3600) % 3600);
        const auto pass = [&](int dx, int dy, TColor color) {
            c.Font()->SetColor(color);
            c.TextOut(x + dx, y + dy, one);
        };
        if (Enabled()) {
            DrawPasses(pass, shadowDepth_, 0);
        } else {
            pass(1, 1, clBtnHighlight);
            pass(0, 0, clBtnShadow);
        }
        theta -= step;
    }
}
