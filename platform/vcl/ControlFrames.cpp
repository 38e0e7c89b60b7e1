#include "platform/vcl/ControlFrames.h"

#include "platform/vcl/Gdi.h"
#include "platform/vcl/Graphics.h"

namespace {

std::unique_ptr<TFramePainter>& Installed() {
    static std::unique_ptr<TFramePainter> painter = std::make_unique<TFramePainter>();
    return painter;
}

// The font selected into dc while it lives.
class SelectedFont {
public:
    SelectedFont(HDC dc, const TFont& font) : dc_(dc) {
        const LOGFONTW logFont = font.LogFont();
        font_ = CreateFontIndirectW(&logFont);
        old_ = SelectObject(dc_, font_);
    }
    ~SelectedFont() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

TFramePainter& FramePainter() { return *Installed(); }
void SetFramePainter(std::unique_ptr<TFramePainter> painter) {
    Installed() = painter ? std::move(painter) : std::make_unique<TFramePainter>();
}

int TFramePainter::CaptionHeight(const TFont& font) {
    HDC dc = CreateCompatibleDC(nullptr);
    int height = 0;
    {
        SelectedFont selected(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, u"0", 1, &size);
        height = size.cy;
    }
    DeleteDC(dc);
    return height;
}

void TFramePainter::GroupFrame(HDC dc, const TRect& r, const WideString& caption, const TFont& font, bool enabled) {
    SelectedFont selected(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, u"0", 1, &size);
    RECT frame{r.left, r.top + size.cy / 2 - 1, r.right, r.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (caption.empty()) return;
    RECT text{r.left + 8, r.top, r.right - 8, r.top + size.cy};
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &text, face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE);
}

void TFramePainter::Bevel(HDC dc, TRect& r, TFrameKind kind, int width) {
    for (int i = 0; i < width; ++i) {
        RECT edge = r;
        const UINT style = kind == TFrameKind::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER;
        DrawEdge(dc, &edge, style, kind == TFrameKind::Single ? BF_RECT | BF_MONO : BF_RECT);
        r.Inflate(-1, -1);
    }
}

void TFramePainter::Line(HDC dc, TPoint a, TPoint b, bool raised) {
    RECT r{a.x, a.y, b.x == a.x ? a.x + 2 : b.x, b.y == a.y ? a.y + 2 : b.y};
    DrawEdge(dc, &r, raised ? EDGE_BUMP : EDGE_ETCHED, a.y == b.y ? BF_TOP : BF_LEFT);
}
