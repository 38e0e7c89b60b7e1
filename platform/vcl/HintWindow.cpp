#include "platform/vcl/HintWindow.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"

const TMetaClass* HintWindowClass = &THintWindow::StaticClass();

namespace {
// Space between the text and the window's edge.
constexpr int kMargin = 3;
}  // namespace

WideString GetShortHint(const WideString& hint) {
    const auto bar = hint.find(u'|');
    return bar == WideString::npos ? hint : hint.substr(0, bar);
}

WideString GetLongHint(const WideString& hint) {
    const auto bar = hint.find(u'|');
    return bar == WideString::npos ? hint : hint.substr(bar + 1);
}

const TMetaClass& THintWindow::StaticClass() {
    static const TMetaClass& meta = DescribeClass<THintWindow>("THintWindow", &TCustomControl::StaticClass());
    return meta;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    SetColor(clInfoBk);
    Font()->Assign(Screen->HintFont());
    Font()->SetColor(clInfoText);
    SetVisible(false);
}

THintWindow::~THintWindow() = default;

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    // Subclasses share the tool-tip window of the toolkit.
    params.WinClassName = u"THintWindow";
}

TRect THintWindow::CalcHintRect(int maxWidth, const WideString& hint, void*) {
    TRect r(0, 0, maxWidth > 0 ? maxWidth : Screen->Width(), 0);
    HDC dc = GetDC(nullptr);
    HFONT old = static_cast<HFONT>(SelectObject(dc, Font()->Handle()));
    RECT calc{0, 0, r.right, 0};
    DrawTextW(dc, hint.c_str(), static_cast<int>(hint.size()), &calc,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return TRect(0, 0, calc.right + 2 * kMargin + 2, calc.bottom + 2 * kMargin);
}

void THintWindow::ActivateHint(TRect rect, const WideString& hint) { ActivateHintData(rect, hint, nullptr); }

void THintWindow::ActivateHintData(TRect rect, const WideString& hint, void*) {
    // Kept on the desktop.
    const TRect desk = Screen->DesktopRect();
    if (rect.right > desk.right) rect.Offset(desk.right - rect.right, 0);
    if (rect.bottom > desk.bottom) rect.Offset(0, desk.bottom - rect.bottom);
    if (rect.left < desk.left) rect.Offset(desk.left - rect.left, 0);
    if (rect.top < desk.top) rect.Offset(0, desk.top - rect.top);
    SetCaption(hint);
    SetBoundsRect(rect);
    active_ = true;
    HandleNeeded();
    SetVisible(true);
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    active_ = false;
    SetVisible(false);
}

void THintWindow::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Brush()->SetColor(clInfoText);
    c->FrameRect(r);
    r.Inflate(-kMargin, -kMargin);
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    c->TextRect(r, Caption(), TTextFormat{tfWordBreak, tfNoPrefix});
}
