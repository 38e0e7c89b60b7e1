// Popups and the popup panel.
#include "controls/styled/RzPopup.h"

#include <functional>

#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/TypInfo.h"
#include "platform/vcl/WidgetSet.h"
#include "platform/vcl/WinUser.h"

namespace {

constexpr LRESULT kNoActivate = 3;
constexpr WPARAM kEscape = 0x1B;

bool IsButtonDown(UINT msg) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: return true;
        default: return false;
    }
}

bool IsKeyboard(UINT msg) { return msg >= WM_KEYDOWN && msg <= 0x0109; }

// The control's rectangle on the screen, through its parent when it has one.
TRect ScreenRectOf(const TControl& control) {
    const TPoint at(control.Left(), control.Top());
    const TPoint origin = control.Parent() ? control.Parent()->ClientToScreen(at) : at;
    return TRect(origin.x, origin.y, origin.x + control.Width(), origin.y + control.Height());
}

}  // namespace

// ---- TRzCustomPopup

const TMetaClass& TRzCustomPopup::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomPopup>("TRzCustomPopup", &TRzCustomPanel::StaticClass());
    return meta;
}

TRzCustomPopup::TRzCustomPopup(TComponent* owner) : TRzCustomPanel(owner) {
    SetBorderWidth(2);
    SetBorderOuter(fsPopup);
    SetFlatColorAdjustment(0);
    SetVisible(false);
}

void TRzCustomPopup::AdjustClientRect(TRect& rect) const {
    rect = ClientRect();
    AdjustRectForBorders(rect, true);
}

// ---- TRzPopup

const TMetaClass& TRzPopup::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzPopup>("TRzPopup", &TRzCustomPopup::StaticClass());
    return meta;
}

TRzPopup::TRzPopup(TComponent* owner, TRzPopupPanel& panel) : TRzCustomPopup(owner), panel_(panel) {}

TRzPopup::~TRzPopup() {
    // A loop still on the stack must not touch this object again.
    loop_->destroyed = true;
    loop_->ending = true;
}

void TRzPopup::CreateParams(TCreateParams& params) {
    TRzCustomPopup::CreateParams(params);
    params.Style = WS_POPUP;
    params.WinClassName = kPopupWindowClass;
}

void TRzPopup::PostClose() { PostMessageW(Handle(), kCloseMessage, 0, 0); }

bool TRzPopup::Popup(TControl* control, TAlignment alignment, int x, int y) {
    control_ = control;
    const TRect c = control ? ScreenRectOf(*control) : TRect();
    MoveChildren(panel_, *this);
    focusTarget_ = nullptr;
    for (int i = 0; i < ControlCount() && !focusTarget_; ++i) {
        auto* w = dynamic_cast<TWinControl*>(Controls(i));
        if (w && w->Enabled() && w->Visible()) focusTarget_ = w;
    }
    const int width = panel_.Width(), height = panel_.Height();
    int left, top;
    if (x == -1 && y == -1) {
        top = c.bottom;
        switch (alignment) {
            case taLeftJustify: left = c.left; break;
            case taRightJustify: left = c.right - width; break;
            default: left = (c.left + c.right - width) / 2; break;
        }
    } else {
        left = c.left + x;
        top = c.top + y;
    }
    // The monitor the popup opens at, not the primary one.
    const TRect work = Screen->WorkAreaAt(TPoint(left, top));
    if (work.right < left + width) left = work.right - width;
    if (work.bottom < top + height) top = c.top - height;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
    SetBounds(left, top, width, height);
    HandleNeeded();
    SetVisible(true);
    cancelled_ = true;
    const std::shared_ptr<LoopState> loop = loop_;
    RunLoop();
    if (loop->destroyed) return false;
    return !cancelled_;
}

void TRzPopup::RunLoop() {
    const std::shared_ptr<LoopState> loop = loop_;
    loop->running = true;
    loop->ending = false;
    {
        TInputFilterScope scope([this, loop](const TInputPeek& peek) { return !loop->destroyed && LoopInput(peek); });
        try {
            while (!loop->ending) {
                if (Application->Terminated()) {
                    PostClose();
                    break;
                }
                // Without a display nothing arrives that is not queued already.
                MSG pending;
                if (!WidgetSet().HasDisplay() && !PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE)) break;
                Application->HandleMessage();
            }
        } catch (...) {
            if (!loop->destroyed) EndLoop();
            throw;
        }
    }
    if (!loop->destroyed) EndLoop();
}

void TRzPopup::EndLoop() {
    loop_->running = false;
    SetVisible(false);
    MoveChildren(*this, panel_);
}

void TRzPopup::MoveChildren(TWinControl& from, TWinControl& to) {
    // Last to first, both ways, so the order is the panel's again afterwards.
    for (int i = from.ControlCount() - 1; i >= 0; --i) from.Controls(i)->SetParent(&to);
}

bool TRzPopup::Contains(HWND window) const {
    const std::function<bool(const TWinControl&)> holds = [&](const TWinControl& w) {
        if (w.WindowHandle() == window) return true;
        for (int i = 0; i < w.ControlCount(); ++i)
            if (const auto* child = dynamic_cast<const TWinControl*>(w.Controls(i)); child && holds(*child)) return true;
        return false;
    };
    return holds(*this);
}

bool TRzPopup::LoopInput(const TInputPeek& peek) {
    if (peek.Msg == WM_ACTIVATEAPP) {
        loop_->ending = true;
        PostClose();
        return false;
    }
    if (IsButtonDown(peek.Msg)) {
        if (peek.Window && Contains(peek.Window)) return false;
        // The click closes the popup and reaches nothing else.
        loop_->ending = true;
        PostClose();
        return true;
    }
    if (IsKeyboard(peek.Msg)) {
        Perform(peek.Msg, peek.WParam, peek.LParam);
        return true;
    }
    return false;
}

void TRzPopup::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_MOUSEACTIVATE: m.Result = kNoActivate; return;
        case WM_NCACTIVATE: m.Result = 0; return;
        case WM_SYSCOMMAND: PostClose(); return;
        case WM_KILLFOCUS:
            if (loop_->running) loop_->ending = true;
            break;
        case kCloseMessage:
            if (loop_->running) loop_->ending = true;
            return;
        default: break;
    }
    if (IsKeyboard(m.Msg)) {
        if (m.Msg == WM_KEYDOWN && m.WParam == kEscape) PostClose();
        if (focusTarget_) {
            focusTarget_->WindowProc(m);
            return;
        }
    }
    TRzCustomPopup::WndProc(m);
}

// ---- TRzPopupPanel

const TMetaClass& TRzPopupPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzPopupPanel>("TRzPopupPanel", &TRzCustomPopup::StaticClass(), [](TClassBuilder<TRzPopupPanel>& b) {
        b.Property("Alignment", &TRzPopupPanel::Alignment, &TRzPopupPanel::SetAlignment).Default(taRightJustify);
        b.Property("BorderOuter", &TRzPopupPanel::BorderOuter, &TRzPopupPanel::SetBorderOuter).Default(fsPopup);
        b.Property("BorderWidth", &TRzPopupPanel::BorderWidth, &TRzPopupPanel::SetBorderWidth).Default(2);
        b.Event("OnClose", &TRzPopupPanel::OnClose);
        b.Event("OnPopup", &TRzPopupPanel::OnPopup);
    });
    return meta;
}

TRzPopupPanel::TRzPopupPanel(TComponent* owner) : TRzCustomPopup(owner) {
    SetAlignment(taRightJustify);
    SetBounds(Left(), Top(), 100, 100);
    controlStyle_ << csAcceptsControls;
    SetColor(clBtnFace);
    SetParentColor(false);
}

TRzPopupPanel::~TRzPopupPanel() { *alive_ = false; }

void TRzPopupPanel::DestroyWnd() {
    ClosePopup();
    TRzCustomPopup::DestroyWnd();
}

void TRzPopupPanel::ClosePopup() {
    if (!popup_) return;
    popup_->Accept();
    popup_->PostClose();
}

bool TRzPopupPanel::PopupAt(TControl* control, int x, int y) {
    if (popup_) return false;
    control_ = control;
    const TCustomForm* form = GetParentForm(this);
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    const std::shared_ptr<bool> alive = alive_;
    bool accepted = false;
    try {
        if (OnPopup) OnPopup(this);
        HandleNeeded();
        auto popup = std::make_unique<TRzPopup>(this, *this);
        popup->SetColor(Color());
        popup->SetFont(Font());
        popup->SetHint(Hint());
        popup->SetShowHint(ShowHint());
        popup->SetBorderOuter(BorderOuter());
        popup->SetFlatColor(FlatColor());
        popup_ = popup.release();  // owned by this panel as its component
        accepted = popup_->Popup(control, Alignment(), x, y);
        if (*alive && OnClose) OnClose(this);
    } catch (...) {
        if (*alive) {
            delete popup_;
            popup_ = nullptr;
            control_ = nullptr;
        }
        throw;
    }
    if (!*alive) return false;
    if (Application->Active() && active) active->SetFocus();
    control_ = nullptr;
    delete popup_;
    popup_ = nullptr;
    return accepted;
}

void RegisterStyledPopups() { RegisterClasses({&TRzPopupPanel::StaticClass()}); }
