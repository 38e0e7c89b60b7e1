// TScrollBox: children beyond the client area are reached with the scroll bars and the wheel.
#include <algorithm>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Gdi.h"

namespace {
constexpr int kBarSize = 16;
constexpr int kLine = 16;
}  // namespace

const TMetaClass& TScrollBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TScrollBox>("TScrollBox", &TWinControl::StaticClass(), [](TClassBuilder<TScrollBox>& b) {
        b.Property("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle);
    });
    return meta;
}

const TMessageTable& TScrollBox::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_PAINT, TScrollBox::WMPaint),
        MESSAGE_HANDLER(WM_HSCROLL, TScrollBox::WMHScroll),
        MESSAGE_HANDLER(WM_VSCROLL, TScrollBox::WMVScroll),
    });
    return table;
}

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
    controlStyle_ = controlStyle_ + TControlStyle{csAcceptsControls};
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TFormBorderStyle v) {
    borderStyle_ = v == bsNone ? bsNone : bsSingle;
    RecreateWnd();
}

TRect TScrollBox::ClientRect() const {
    const int border = borderStyle_ == bsSingle ? 2 : 0;
    return TRect(0, 0, std::max(Width() - 2 * border - (vBar_ ? kBarSize : 0), 0),
                 std::max(Height() - 2 * border - (hBar_ ? kBarSize : 0), 0));
}

// The extent of the children at the unscrolled origin.
TSize TScrollBox::Range() const {
    TSize range{0, 0};
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (!c->Visible() || c->Align() == alClient) continue;
        if (c->Align() != alTop && c->Align() != alBottom) range.cx = std::max<LONG>(range.cx, c->Left() + c->Width() + pos_.x);
        if (c->Align() != alLeft && c->Align() != alRight) range.cy = std::max<LONG>(range.cy, c->Top() + c->Height() + pos_.y);
    }
    return range;
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"ScrollBox";
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollBox::Loaded() {
    TWinControl::Loaded();
    UpdateScrollBars();
}

void TScrollBox::BoundsChanged() {
    TWinControl::BoundsChanged();
    UpdateScrollBars();
}

// Children move without telling their parent: the bars are checked before each paint and
// each scroll.
void TScrollBox::WMPaint(TWMPaint& m) {
    UpdateScrollBars();
    InheritedMessage(TWinControl::ClassMessages(), m.Message);
}

void TScrollBox::AlignControls(TControl* control, TRect& rect) {
    rect.Offset(-pos_.x, -pos_.y);
    TWinControl::AlignControls(control, rect);
    UpdateScrollBars();
}

// A bar shows when the children reach beyond the client area; the other bar's space counts.
void TScrollBox::UpdateScrollBars() {
    if (updating_) return;
    updating_ = true;
    const TSize range = Range();
    const int border = borderStyle_ == bsSingle ? 2 : 0;
    const int fullW = Width() - 2 * border, fullH = Height() - 2 * border;
    bool h = range.cx > fullW, v = range.cy > fullH;
    if (h && !v) v = range.cy > fullH - kBarSize;
    if (v && !h) h = range.cx > fullW - kBarSize;
    const bool changed = h != hBar_ || v != vBar_;
    hBar_ = h;
    vBar_ = v;
    const TRect client = ClientRect();
    const int maxX = std::max<int>(range.cx - client.Width(), 0), maxY = std::max<int>(range.cy - client.Height(), 0);
    if (pos_.x > maxX || pos_.y > maxY) ScrollTo(std::min<int>(pos_.x, maxX), std::min<int>(pos_.y, maxY));
    updating_ = false;
    if (auto* p = dynamic_cast<TScrollBoxPeer*>(Peer()))
        p->SetScrollBars(h ? range.cx : 0, client.Width(), pos_.x, v ? range.cy : 0, client.Height(), pos_.y);
    if (changed) Realign();
}

void TScrollBox::ScrollTo(int x, int y) {
    if (!updating_) UpdateScrollBars();
    const TSize range = Range();
    const TRect client = ClientRect();
    x = std::clamp(x, 0, std::max<int>(range.cx - client.Width(), 0));
    y = std::clamp(y, 0, std::max<int>(range.cy - client.Height(), 0));
    const int dx = x - pos_.x, dy = y - pos_.y;
    if (dx == 0 && dy == 0) return;
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() - dx, c->Top() - dy, c->Width(), c->Height());
    }
    pos_ = TPoint(x, y);
    EnableAlign();
    if (auto* p = dynamic_cast<TScrollBoxPeer*>(Peer()))
        p->SetScrollBars(hBar_ ? range.cx : 0, client.Width(), pos_.x, vBar_ ? range.cy : 0, client.Height(), pos_.y);
    Invalidate();
}

void TScrollBox::ScrollInView(TControl* control) {
    if (!control || control->Parent() != this) return;
    const TRect client = ClientRect();
    int x = pos_.x, y = pos_.y;
    if (control->Left() < 0) x += control->Left();
    else if (control->Left() + control->Width() > client.Width()) x += control->Left() + control->Width() - client.Width();
    if (control->Top() < 0) y += control->Top();
    else if (control->Top() + control->Height() > client.Height()) y += control->Top() + control->Height() - client.Height();
    ScrollTo(x, y);
}

bool TScrollBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TWinControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    UpdateScrollBars();
    const int lines = wheelDelta * 3 / WHEEL_DELTA;
    if (vBar_ && !shift.Contains(ssShift)) ScrollTo(pos_.x, pos_.y - lines * kLine);
    else if (hBar_) ScrollTo(pos_.x - lines * kLine, pos_.y);
    else return false;
    return true;
}

void TScrollBox::Scroll(bool vertical, WORD code, int thumb) {
    const TRect client = ClientRect();
    const int page = vertical ? client.Height() : client.Width();
    int pos = vertical ? pos_.y : pos_.x;
    switch (code) {
    case SB_LINEUP: pos -= kLine; break;
    case SB_LINEDOWN: pos += kLine; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = thumb; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = vertical ? Range().cy : Range().cx; break;
    default: return;
    }
    if (vertical) ScrollTo(pos_.x, pos);
    else ScrollTo(pos, pos_.y);
}

void TScrollBox::WMHScroll(TMessage& m) { Scroll(false, LOWORD(m.WParam), HIWORD(m.WParam)); }
void TScrollBox::WMVScroll(TMessage& m) { Scroll(true, LOWORD(m.WParam), HIWORD(m.WParam)); }
