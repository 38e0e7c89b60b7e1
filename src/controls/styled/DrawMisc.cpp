// Parent backgrounds of transparent controls, bitmap helpers, text and fonts.
#include "controls/styled/DrawHelpers.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/TypInfo.h"

namespace {

// WM_PRINTCLIENT: paint the client area.
constexpr LPARAM PRF_CLIENT = 0x4;

}  // namespace

void DrawParentBackground(TControl* control, HDC dc, bool invalidateParent) {
    if (!control || !control->Parent()) return;
    TWinControl* parent = control->Parent();
    const bool designing = control->ComponentState().Contains(csDesigning);
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -control->Left(), -control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    try {
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        parent->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    } catch (...) {
        RestoreDC(dc, saved);
        if (!designing) throw;
        return;
    }
    RestoreDC(dc, saved);
    if (invalidateParent && !designing && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
        parent->Invalidate();
}

void DrawParentBackgroundOnCanvas(TControl* control, TCanvas& canvas, bool invalidateParent) {
    DrawParentBackground(control, canvas.Handle(), invalidateParent);
}

void TransparentBlitFull(TCanvas& dest, TBitmap& source, const TRect& destRect, TColor transparent, const TRect& sourceRect) {
    const int w = destRect.Width(), h = destRect.Height();
    if (w <= 0 || h <= 0) return;
    // The source part stretched to the destination's size, then drawn without its key colour.
    TBitmap colour;
    colour.SetSize(w, h);
    StretchBlt(colour.Canvas()->Handle(), 0, 0, w, h, source.Canvas()->Handle(), sourceRect.left, sourceRect.top,
               sourceRect.Width(), sourceRect.Height(), SRCCOPY);
    TransparentBlt(dest.Handle(), 0, 0, w, h, colour.Canvas()->Handle(), 0, 0, w, h, ColorToRGB(transparent));
}

void FlipBitmapVertically(TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    TBitmap copy;
    copy.SetSize(w, h);
    TCanvas& from = *bitmap.Canvas();
    TCanvas& to = *copy.Canvas();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) to.SetPixel(x, h - 1 - y, from.Pixel(x, y));
    bitmap.Assign(&copy);
}

void InvalidateTransparentChildren(TWinControl* panel) {
    if (!panel) return;
    for (int i = 0; i < panel->ControlCount(); ++i) {
        TControl* child = panel->Controls(i);
        if (!IsPublishedProp(*child, "Transparent")) continue;
        const TPropValue value = GetPropValue(*child, "Transparent");
        if (const auto* n = std::get_if<std::int64_t>(&value); n && *n == 1) child->Invalidate();
    }
}

int CanvasDrawText(TCanvas& canvas, const WideString& text, TRect& r, UINT flags) {
    return DrawTextW(canvas.Handle(), text.c_str(), -1, &r, flags);
}

int CanvasDrawCenteredText(TCanvas& canvas, const WideString& text, const TRect& r) {
    TRect copy = r;
    return CanvasDrawText(canvas, text, copy, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

HFONT CreateRotatedFont(const TFont& font, int angle) {
    LOGFONTW lf{};
    lf.lfHeight = font.Height();
    lf.lfWidth = 0;
    lf.lfEscapement = angle * 10;
    lf.lfOrientation = 0;
    lf.lfWeight = font.Style().Contains(fsBold) ? 700 : 400;
    lf.lfItalic = font.Style().Contains(fsItalic);
    lf.lfUnderline = font.Style().Contains(fsUnderline);
    lf.lfStrikeOut = font.Style().Contains(fsStrikeOut);
    lf.lfCharSet = font.Charset();
    lf.lfOutPrecision = 0;
    lf.lfClipPrecision = 0;
    lf.lfQuality = 0;
    lf.lfPitchAndFamily = font.Pitch() == fpVariable ? VARIABLE_PITCH : font.Pitch() == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
    const WideString& name = font.Name();
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), LF_FACESIZE - 1), lf.lfFaceName);
    return CreateFontIndirectW(&lf);
}

bool FontIsTrueType(TFont& font) {
    HDC dc = GetDC(nullptr);
    if (!dc) return false;
    const HGDIOBJ old = SelectObject(dc, font.Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

int FontMinimumHeight(TFont& font) {
    HDC dc = GetDC(nullptr);
    if (!dc) return 2;
    const HGDIOBJ old = SelectObject(dc, font.Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight + 2;
}

void BuildCheckerPattern(TBitmap& bitmap, TColor base, TColor dot) {
    bitmap.SetSize(8, 8);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetColor(base);
    canvas.FillRect(TRect(0, 0, 8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2) canvas.SetPixel(x, y, dot);
}

TSize FontTextExtent(const TFont& font, const WideString& text) {
    try {
        TBitmap probe(1, 1);
        probe.Canvas()->Font()->Assign(&font);
        return probe.Canvas()->TextExtent(text);
    } catch (const Exception&) {
        return TSize{static_cast<LONG>(7 * text.size()), 13};
    }
}
