// Text output: TextOutW and ExtTextOutW with the context's alignment and background,
// DrawTextW's layout (lines, word breaks, tabs, prefixes, ellipses), and text measuring.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

const GdiFont* SelectedFont(const GdiDeviceContext& d) {
    auto* f = HandleAs<GdiFont>(static_cast<HANDLE>(d.state.font));
    if (!f) f = HandleAs<GdiFont>(static_cast<HANDLE>(GetStockObject(SYSTEM_FONT)));
    return f;
}

// Measures and draws text of the selected font in logical units, with the design's faces
// mapped to installed families and the symbol font's letters to their symbols.
class TextContext {
public:
    explicit TextContext(GdiDeviceContext& d) : d_(d), surface_(d.Surface()) {
        const GdiFont* f = SelectedFont(d);
        logical_ = f->logFont;
        device_ = logical_;
        const double sy = std::abs(d.ScaleY()), sx = std::abs(d.ScaleX());
        sx_ = sx > 0 ? sx : 1;
        sy_ = sy > 0 ? sy : 1;
        LONG h = logical_.lfHeight == 0 ? -12 : logical_.lfHeight;
        double dh = h * sy_;
        if (std::abs(dh) < 1) dh = dh < 0 ? -1 : 1;
        device_.lfHeight = static_cast<LONG>(std::lround(dh));
        device_.lfWidth = static_cast<LONG>(std::lround(logical_.lfWidth * sx_));
        const std::u16string_view face(logical_.lfFaceName);
        symbol_ = IsSymbolFace(face);
        const WideString family = SubstituteFontFamily(face, logical_.lfPitchAndFamily);
        std::fill(std::begin(device_.lfFaceName), std::end(device_.lfFaceName), u'\0');
        std::u16string_view(family).substr(0, LF_FACESIZE - 1).copy(device_.lfFaceName, LF_FACESIZE - 1);
    }

    bool Valid() const { return surface_ != nullptr; }
    GdiSurface& Surface() const { return *surface_; }
    const LOGFONTW& DeviceFont() const { return device_; }
    double ScaleX() const { return sx_; }
    double ScaleY() const { return sy_; }

    WideString Shown(std::u16string_view text) const { return symbol_ ? MapSymbolText(text) : WideString(text); }

    // Device pixels.
    double DeviceWidth(std::u16string_view text) {
        if (text.empty()) return 0;
        return surface_->Advance(device_, Shown(text)) + d_.state.textCharExtra * sx_ * CodePoints(text);
    }
    // Logical units.
    double Width(std::u16string_view text) { return DeviceWidth(text) / sx_; }

    const TEXTMETRICW& DeviceMetrics() {
        if (!metrics_) metrics_ = surface_->Metrics(device_);
        return *metrics_;
    }
    TEXTMETRICW LogicalMetrics() {
        TEXTMETRICW m = DeviceMetrics();
        auto ly = [&](LONG v) { return static_cast<LONG>(std::lround(v / sy_)); };
        auto lx = [&](LONG v) { return static_cast<LONG>(std::lround(v / sx_)); };
        m.tmHeight = ly(m.tmHeight);
        m.tmAscent = ly(m.tmAscent);
        m.tmDescent = m.tmHeight - m.tmAscent;
        m.tmInternalLeading = ly(m.tmInternalLeading);
        m.tmExternalLeading = ly(m.tmExternalLeading);
        m.tmAveCharWidth = lx(m.tmAveCharWidth);
        m.tmMaxCharWidth = lx(m.tmMaxCharWidth);
        return m;
    }

    double Angle() const { return logical_.lfEscapement / 10.0; }

    static int CodePoints(std::u16string_view text) {
        int n = 0;
        for (char16_t c : text)
            if (c < 0xDC00 || c > 0xDFFF) ++n;
        return n;
    }

private:
    GdiDeviceContext& d_;
    GdiSurface* surface_;
    LOGFONTW logical_, device_;
    double sx_ = 1, sy_ = 1;
    bool symbol_ = false;
    std::optional<TEXTMETRICW> metrics_;
};

// Draws a run whose reference point (by the alignment) is at device point p; returns the
// run's advance in device pixels.
double OutputRun(GdiDeviceContext& d, TextContext& tc, GdiPointF p, std::u16string_view text, UINT align,
                 const std::vector<double>* advances, bool opaque, bool rtl) {
    const TEXTMETRICW& m = tc.DeviceMetrics();
    double width = 0;
    if (advances) {
        for (double a : *advances) width += a;
    } else {
        width = tc.DeviceWidth(text);
    }
    const double angle = tc.Angle();
    const double rad = angle * M_PI / 180.0;
    const double ux = std::cos(rad), uy = -std::sin(rad);  // along the base line
    const double vx = std::sin(rad), vy = std::cos(rad);   // downwards across it
    double along = 0;
    switch (align & (TA_LEFT | TA_RIGHT | TA_CENTER)) {
        case TA_RIGHT: along = -width; break;
        case TA_CENTER: along = -width / 2; break;
        default: break;
    }
    double across = 0;
    switch (align & (TA_TOP | TA_BOTTOM | TA_BASELINE)) {
        case TA_BOTTOM: across = -m.tmDescent; break;
        case TA_BASELINE: across = 0; break;
        default: across = m.tmAscent; break;
    }
    const GdiPointF origin{p.x + ux * along + vx * across, p.y + uy * along + vy * across};
    if (opaque && angle == 0) {
        GdiPaint bk;
        bk.color = d.state.bkColor;
        const RECT cell{static_cast<LONG>(std::floor(origin.x)), static_cast<LONG>(std::floor(origin.y - m.tmAscent)),
                        static_cast<LONG>(std::ceil(origin.x + width)),
                        static_cast<LONG>(std::floor(origin.y - m.tmAscent)) + m.tmHeight};
        if (cell.right > cell.left) tc.Surface().FillRects({cell}, bk, R2_COPYPEN);
    }
    if (!text.empty()) {
        GdiTextRun run;
        run.font = tc.DeviceFont();
        run.origin = origin;
        run.angle = angle;
        run.text = tc.Shown(text);
        if (advances) run.advances = *advances;
        else if (d.state.textCharExtra) {
            for (size_t i = 0; i < text.size(); ++i) {
                const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
                run.advances.push_back(low ? 0 : tc.DeviceWidth(text.substr(i, 1)));
            }
        }
        run.color = d.state.textColor;
        run.rtl = rtl;
        tc.Surface().DrawTextRun(run);
    }
    return width;
}

// Clips drawing to a device rectangle for the lifetime of the object.
class ScopedClipRect {
public:
    ScopedClipRect(GdiDeviceContext& d, const RECT& deviceRect) : d_(d) {
        const SIZE s = d.Surface()->Size();
        GdiRegion v(RECT{0, 0, s.cx, s.cy});
        if (d.state.clip) v = v.Combine(*d.state.clip, RGN_AND);
        if (d.baseClip) v = v.Combine(*d.baseClip, RGN_AND);
        v = v.Combine(GdiRegion(deviceRect), RGN_AND);
        d.Surface()->SetClip(&v);
    }
    ~ScopedClipRect() { d_.ApplyClip(); }
    ScopedClipRect(const ScopedClipRect&) = delete;
    ScopedClipRect& operator=(const ScopedClipRect&) = delete;

private:
    GdiDeviceContext& d_;
};

size_t TextLength(LPCWSTR text, int length) {
    if (length >= 0) return static_cast<size_t>(length);
    return std::u16string_view(text).size();
}

}  // namespace

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* r, LPCWSTR text, UINT length, const INT* dx) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    TextContext tc(*d);
    if (!tc.Valid()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (!text && length) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::u16string_view s = text ? std::u16string_view(text, length) : std::u16string_view();
    const UINT align = d->state.textAlign;
    const bool updateCp = (align & TA_UPDATECP) != 0;
    const GdiPointF p = updateCp ? d->ToDevice(d->state.current.x, d->state.current.y) : d->ToDevice(x, y);
    std::optional<RECT> deviceRect;
    if (r) deviceRect = d->ToDeviceRect(*r);
    if ((options & ETO_OPAQUE) && deviceRect) {
        GdiPaint bk;
        bk.color = d->state.bkColor;
        d->Surface()->FillRects({*deviceRect}, bk, R2_COPYPEN);
    }
    std::vector<double> advances;
    if (dx) {
        for (UINT i = 0; i < length; ++i) advances.push_back(dx[i] * tc.ScaleX());
    }
    double width = 0;
    {
        std::optional<ScopedClipRect> clip;
        if ((options & ETO_CLIPPED) && deviceRect) clip.emplace(*d, *deviceRect);
        const bool opaque = d->state.bkMode == OPAQUE && !((options & ETO_OPAQUE) && deviceRect);
        width = OutputRun(*d, tc, p, s, align, dx ? &advances : nullptr, opaque,
                          (options & ETO_RTLREADING) || (align & TA_RTLREADING));
    }
    if (updateCp) {
        const LONG w = static_cast<LONG>(std::lround(width / tc.ScaleX()));
        if ((align & TA_CENTER) == TA_RIGHT) d->state.current.x -= w;
        else if ((align & TA_CENTER) == TA_LEFT) d->state.current.x += w;
    }
    return TRUE;
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length) {
    if (length < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int length, SIZE* size) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!size || length < 0 || (!text && length)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TextContext tc(*d);
    if (!tc.Valid()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const std::u16string_view s = text ? std::u16string_view(text, length) : std::u16string_view();
    size->cx = static_cast<LONG>(std::lround(tc.Width(s)));
    size->cy = tc.LogicalMetrics().tmHeight;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size) {
    if (length < 0 || (!text && length)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const WideString w = Utf8ToUtf16(std::string_view(text ? text : "", static_cast<size_t>(length)));
    return GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), size);
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int length, int maxExtent, INT* fit, INT* dx, SIZE* size) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (length < 0 || (!text && length)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TextContext tc(*d);
    if (!tc.Valid()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const std::u16string_view s(text ? text : u"", static_cast<size_t>(length));
    int fits = 0;
    for (int i = 1; i <= length; ++i) {
        const int extent = static_cast<int>(std::lround(tc.Width(s.substr(0, i))));
        if (dx) dx[i - 1] = extent;
        if (extent <= maxExtent) fits = i;
        else if (!dx) break;
    }
    if (fit) *fit = fits;
    if (size) {
        size->cx = static_cast<LONG>(std::lround(tc.Width(s)));
        size->cy = tc.LogicalMetrics().tmHeight;
    }
    return TRUE;
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!metrics) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TextContext tc(*d);
    if (!tc.Valid()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    *metrics = tc.LogicalMetrics();
    return TRUE;
}

int GetTextFaceW(HDC dc, int count, LPWSTR face) {
    auto* d = DcFromHandle(dc);
    if (!d) return 0;
    const std::u16string_view name(SelectedFont(*d)->logFont.lfFaceName);
    if (!face) return static_cast<int>(name.size()) + 1;
    if (count <= 0) return 0;
    const size_t n = std::min(name.size(), static_cast<size_t>(count - 1));
    name.copy(face, n);
    face[n] = 0;
    return static_cast<int>(n) + 1;
}

// ---- DrawText

namespace {

constexpr char16_t kEllipsis[] = u"...";

struct DrawLine {
    size_t start = 0;      // offset of the line in the text without prefixes
    WideString text;       // what is drawn
    bool elided = false;   // an ellipsis changed the text: no prefix underline
};

class TextLayout {
public:
    TextLayout(TextContext& tc, UINT format) : tc_(tc), format_(format) {
        const TEXTMETRICW m = tc.LogicalMetrics();
        int tabChars = 8;
        if (format & DT_TABSTOP) tabChars = std::max<int>(1, (format >> 8) & 0xFF);
        tabWidth_ = std::max<double>(1, m.tmAveCharWidth * tabChars);
    }

    // Width in logical units, with tab stops when tabs are expanded.
    double Width(std::u16string_view s) {
        if (!(format_ & DT_EXPANDTABS) || s.find(u'\t') == std::u16string_view::npos) return tc_.Width(s);
        double x = 0;
        size_t pos = 0;
        while (true) {
            const size_t tab = s.find(u'\t', pos);
            x += tc_.Width(s.substr(pos, tab == std::u16string_view::npos ? std::u16string_view::npos : tab - pos));
            if (tab == std::u16string_view::npos) break;
            x = (std::floor(x / tabWidth_) + 1) * tabWidth_;
            pos = tab + 1;
        }
        return x;
    }

    double TabWidth() const { return tabWidth_; }

    // Breaks a paragraph into lines that fit maxWidth at blanks; a word longer than a line
    // stays whole (clipped) unless the edit-control rule breaks it between characters.
    void Wrap(size_t start, std::u16string_view para, double maxWidth, std::vector<DrawLine>& out) {
        auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
        const size_t n = para.size();
        if (n == 0) {
            out.push_back(DrawLine{start, WideString(), false});
            return;
        }
        size_t pos = 0;
        while (pos < n) {
            size_t end = pos;
            bool found = false;
            for (size_t scan = pos; scan < n;) {
                size_t wordEnd = scan;
                while (wordEnd < n && !blank(para[wordEnd])) ++wordEnd;
                if (Width(para.substr(pos, wordEnd - pos)) > maxWidth) break;
                end = wordEnd;
                found = true;
                scan = wordEnd;
                while (scan < n && blank(para[scan])) ++scan;
            }
            if (!found) {
                size_t wordEnd = pos;
                while (wordEnd < n && !blank(para[wordEnd])) ++wordEnd;
                end = wordEnd;
                if (format_ & DT_EDITCONTROL) {
                    size_t k = pos + 1;
                    while (k < wordEnd && Width(para.substr(pos, k + 1 - pos)) <= maxWidth) ++k;
                    if (k < wordEnd && para[k] >= 0xDC00 && para[k] <= 0xDFFF) ++k;
                    end = k;
                }
            }
            out.push_back(DrawLine{start + pos, WideString(para.substr(pos, end - pos)), false});
            pos = end;
            while (pos < n && blank(para[pos])) ++pos;  // blanks at a break are not drawn
        }
    }

    // The longest prefix of s that, followed by the ellipsis, fits.
    size_t FitBefore(std::u16string_view s, std::u16string_view tail, double maxWidth) {
        size_t k = s.size();
        while (k > 0) {
            if (s[k - 1] >= 0xD800 && s[k - 1] <= 0xDBFF) {  // never split a surrogate pair
                --k;
                continue;
            }
            if (Width(WideString(s.substr(0, k)) + kEllipsis + WideString(tail)) <= maxWidth) break;
            --k;
        }
        return k;
    }

    void EndEllipsis(DrawLine& line, double maxWidth) {
        if (Width(line.text) <= maxWidth) return;
        const size_t k = FitBefore(line.text, u"", maxWidth);
        line.text = line.text.substr(0, k) + kEllipsis;
        line.elided = true;
    }

    void WordEllipsis(DrawLine& line, double maxWidth) {
        if (Width(line.text) <= maxWidth) return;
        const std::u16string_view s(line.text);
        for (size_t k = s.size(); k > 0; --k) {
            if (s[k - 1] != u' ') continue;
            size_t e = k - 1;
            while (e > 0 && s[e - 1] == u' ') --e;
            if (e == 0) break;
            if (Width(WideString(s.substr(0, e)) + kEllipsis) <= maxWidth) {
                line.text = WideString(s.substr(0, e)) + kEllipsis;
                line.elided = true;
                return;
            }
        }
        EndEllipsis(line, maxWidth);
    }

    // Keeps the end after the last path separator and drops characters before it.
    void PathEllipsis(DrawLine& line, double maxWidth) {
        if (Width(line.text) <= maxWidth) return;
        const std::u16string_view s(line.text);
        const size_t sep = s.find_last_of(u"\\/");
        const std::u16string_view head = sep == std::u16string_view::npos ? s : s.substr(0, sep);
        const std::u16string_view tail = sep == std::u16string_view::npos ? std::u16string_view() : s.substr(sep);
        const size_t k = FitBefore(head, tail, maxWidth);
        line.elided = true;
        if (k > 0 || Width(WideString(kEllipsis) + WideString(tail)) <= maxWidth) {
            line.text = WideString(head.substr(0, k)) + kEllipsis + WideString(tail);
            return;
        }
        line.text = WideString(kEllipsis) + WideString(tail);
        EndEllipsis(line, maxWidth);
    }

private:
    TextContext& tc_;
    UINT format_;
    double tabWidth_ = 64;
};

// Removes the prefix marks: "&x" underlines x, "&&" is one "&".
WideString StripPrefixes(std::u16string_view s, std::set<size_t>& underlined) {
    WideString out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'&') {
            if (i + 1 < s.size() && s[i + 1] == u'&') {
                out.push_back(u'&');
                ++i;
                continue;
            }
            if (i + 1 < s.size()) underlined.insert(out.size());
            continue;
        }
        out.push_back(s[i]);
    }
    return out;
}

}  // namespace

int DrawTextW(HDC dc, LPCWSTR text, int length, RECT* r, UINT format) {
    auto* d = DcFromHandle(dc);
    if (!d) return 0;
    if (!r || (!text && length != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    TextContext tc(*d);
    if (!tc.Valid()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    const std::u16string_view raw = text ? std::u16string_view(text, TextLength(text, length)) : std::u16string_view();
    const bool single = (format & DT_SINGLELINE) != 0;
    std::set<size_t> underlined;
    WideString clean;
    if (format & DT_NOPREFIX) clean = WideString(raw);
    else clean = StripPrefixes(raw, underlined);
    const bool drawUnderlines = !(format & (DT_NOPREFIX | DT_HIDEPREFIX));
    const bool prefixOnly = (format & DT_PREFIXONLY) != 0;

    TextLayout layout(tc, format);
    const double maxWidth = r->right - r->left;
    const TEXTMETRICW m = tc.LogicalMetrics();
    const int lineHeight = m.tmHeight + ((format & DT_EXTERNALLEADING) ? m.tmExternalLeading : 0);

    // Lines: paragraphs at line breaks (unless single line), then word breaks.
    std::vector<DrawLine> lines;
    {
        size_t pos = 0;
        while (true) {
            size_t brk = single ? WideString::npos : clean.find_first_of(u"\r\n", pos);
            const std::u16string_view para = std::u16string_view(clean).substr(
                pos, brk == WideString::npos ? WideString::npos : brk - pos);
            if (format & DT_WORDBREAK)
                layout.Wrap(pos, para, maxWidth, lines);
            else
                lines.push_back(DrawLine{pos, WideString(para), false});
            if (brk == WideString::npos) break;
            pos = brk + 1;
            if (clean[brk] == u'\r' && pos < clean.size() && clean[pos] == u'\n') ++pos;
        }
    }
    if (single) {
        // Line breaks of a single line are not drawn.
        for (auto& l : lines) std::replace_if(l.text.begin(), l.text.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
    }

    // With word breaks and an end ellipsis, lines past the rectangle are dropped and the last
    // one that shows ends in the ellipsis.
    if ((format & DT_WORDBREAK) && (format & DT_END_ELLIPSIS) && !(format & DT_CALCRECT) && lineHeight > 0) {
        const size_t fitting = std::max<size_t>(1, static_cast<size_t>((r->bottom - r->top) / lineHeight));
        if (lines.size() > fitting) {
            lines.resize(fitting);
            DrawLine& last = lines.back();
            const size_t k = layout.FitBefore(last.text, u"", maxWidth);
            last.text = last.text.substr(0, k) + kEllipsis;
            last.elided = true;
        }
    }
    for (auto& l : lines) {
        if (format & DT_PATH_ELLIPSIS) layout.PathEllipsis(l, maxWidth);
        else if (format & DT_WORD_ELLIPSIS) layout.WordEllipsis(l, maxWidth);
        else if (format & DT_END_ELLIPSIS) layout.EndEllipsis(l, maxWidth);
    }

    std::vector<double> widths;
    double widest = 0;
    for (const auto& l : lines) {
        widths.push_back(layout.Width(l.text));
        widest = std::max(widest, widths.back());
    }
    const int height = static_cast<int>(lines.size()) * lineHeight;

    if (format & DT_CALCRECT) {
        r->right = r->left + static_cast<LONG>(std::lround(widest));
        r->bottom = r->top + height;
        return height;
    }

    int top = r->top;
    if (single && (format & DT_VCENTER)) top = r->top + (r->bottom - r->top - lineHeight) / 2;
    else if (single && (format & DT_BOTTOM)) top = r->bottom - lineHeight;

    std::optional<ScopedClipRect> clip;
    if (!(format & DT_NOCLIP)) clip.emplace(*d, d->ToDeviceRect(*r));
    const bool rtl = (format & DT_RTLREADING) != 0;
    const bool opaque = d->state.bkMode == OPAQUE;
    for (size_t i = 0; i < lines.size(); ++i) {
        const DrawLine& line = lines[i];
        double x = r->left;
        if (format & DT_CENTER) x = r->left + (maxWidth - widths[i]) / 2;
        else if (format & DT_RIGHT) x = r->right - widths[i];
        const double y = top + static_cast<double>(i) * lineHeight;
        if (!prefixOnly) {
            // Tabs split the line into runs placed at the tab stops.
            const std::u16string_view s(line.text);
            size_t pos = 0;
            double offset = 0;
            while (true) {
                const size_t tab = (format & DT_EXPANDTABS) ? s.find(u'\t', pos) : std::u16string_view::npos;
                const std::u16string_view piece = s.substr(pos, tab == std::u16string_view::npos ? std::u16string_view::npos : tab - pos);
                OutputRun(*d, tc, d->ToDevice(x + offset, y), piece, TA_LEFT | TA_TOP, nullptr, opaque, rtl);
                offset += layout.Width(piece);
                if (tab == std::u16string_view::npos) break;
                offset = (std::floor(offset / layout.TabWidth()) + 1) * layout.TabWidth();
                pos = tab + 1;
            }
        }
        if (drawUnderlines && !line.elided) {
            for (size_t u : underlined) {
                if (u < line.start || u >= line.start + line.text.size()) continue;
                const size_t at = u - line.start;
                const double ux = x + layout.Width(std::u16string_view(line.text).substr(0, at));
                const double uw = layout.Width(std::u16string_view(line.text).substr(at, 1));
                const GdiPointF a = d->ToDevice(ux, y);
                const GdiPointF b = d->ToDevice(ux + uw, y);
                const double base = a.y + tc.DeviceMetrics().tmAscent + 1;
                GdiPaint pen;
                pen.color = d->state.textColor;
                const RECT bar{static_cast<LONG>(std::lround(std::min(a.x, b.x))), static_cast<LONG>(std::lround(base)),
                               static_cast<LONG>(std::lround(std::max(a.x, b.x))), static_cast<LONG>(std::lround(base)) + 1};
                if (bar.right > bar.left) d->Surface()->FillRects({bar}, pen, R2_COPYPEN);
            }
        }
    }
    if (single && (format & (DT_VCENTER | DT_BOTTOM))) return top - r->top + lineHeight;
    return height;
}

int DrawTextA(HDC dc, LPCSTR text, int length, RECT* r, UINT format) {
    if (!text && length != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string_view s = text ? (length < 0 ? std::string_view(text) : std::string_view(text, static_cast<size_t>(length)))
                                     : std::string_view();
    const WideString w = Utf8ToUtf16(s);
    return DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), r, format);
}
