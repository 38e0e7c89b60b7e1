#include "controls/unicode/TntHintWindow.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"

namespace {

UINT ReadingOrder(const TControl& control) { return control.UseRightToLeftReading() ? DT_RTLREADING : 0; }

// Restores a flag however the block is left.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = saved_; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

}  // namespace

WideString WideHintText(const THintInfo& info) { return info.HintStr; }

const TMetaClass& TTntCustomHintWindow::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TTntCustomHintWindow>("TTntCustomHintWindow", &THintWindow::StaticClass());
    return meta;
}

void TTntCustomHintWindow::ActivateHint(TRect rect, const WideString& hint) {
    TFlagScope activating(activating_);
    THintWindow::ActivateHint(rect, hint);
}

void TTntCustomHintWindow::ActivateHintData(TRect rect, const WideString& hint, void* data) {
    if (!IsWideHintPrepared(data)) {
        THintWindow::ActivateHintData(rect, hint, data);
        return;
    }
    {
        TFlagScope blocked(blockPaint_);
        TFlagScope activating(activating_);
        THintWindow::ActivateHintData(rect, hint, data);
        SetCaption(WideHintText(*static_cast<const THintInfo*>(data)));
    }
    Invalidate();
}

TRect TTntCustomHintWindow::CalcHintRect(int maxWidth, const WideString& hint, void* data) {
    if (!IsWideHintPrepared(data)) return THintWindow::CalcHintRect(maxWidth, hint, data);
    const WideString text = WideHintText(*static_cast<const THintInfo*>(data));
    RECT r{0, 0, maxWidth > 0 ? maxWidth : Screen->Width(), 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | ReadingOrder(*this));
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return TRect(r.left, r.top, r.right + 6, r.bottom + 2);
}

void TTntCustomHintWindow::Paint() {
    if (blockPaint_) return;
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Brush()->SetColor(clInfoText);
    c->FrameRect(r);
    r.left += 2;
    r.top += 2;
    c->Font()->Assign(Font());
    c->Font()->SetColor(Screen->HintFont()->Color());
    c->Brush()->SetStyle(bsClear);
    const WideString text = Caption();
    DrawTextW(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | ReadingOrder(*this));
}

void TTntCustomHintWindow::WndProc(TMessage& message) {
    THintWindow::WndProc(message);
    // A caption set from elsewhere sizes the window to it.
    if (message.Msg == CM_TEXTCHANGED && !activating_) {
        const WideString text = Caption();
        TSize size = WideCanvasTextExtent(Canvas(), text);
        SetBounds(Left(), Top(), size.cx + 6, size.cy + 6);
    }
}
