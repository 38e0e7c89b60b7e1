#include "platform/vcl/Controls.h"

#include <algorithm>
#include <utility>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"

namespace {

TControl* captureControl = nullptr;

// The control or one of its children has the capture.
bool HoldsCapture(const TControl& control) {
    if (!captureControl) return false;
    if (captureControl == &control) return true;
    const auto* w = dynamic_cast<const TWinControl*>(&control);
    return w && w->ContainsControl(captureControl);
}

TShiftState ButtonShift(TMouseButton b) {
    return b == mbLeft ? TShiftState{ssLeft} : b == mbRight ? TShiftState{ssRight} : TShiftState{ssMiddle};
}

}  // namespace

TMouse* Mouse = nullptr;
namespace {
TMouse theMouse;
struct MouseInit {
    MouseInit() { Mouse = &theMouse; }
} mouseInit;
}  // namespace

TShiftState KeysToShiftState(WORD keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s << ssShift;
    if (keys & MK_CONTROL) s << ssCtrl;
    if (keys & MK_LBUTTON) s << ssLeft;
    if (keys & MK_RBUTTON) s << ssRight;
    if (keys & MK_MBUTTON) s << ssMiddle;
    return s;
}

// Key data of our key messages: bit 29 Alt (as Windows), and our bits 25/26 for Shift/Ctrl,
// which Windows reads from the keyboard state instead.
TShiftState KeyDataToShiftState(LONG keyData) {
    TShiftState s;
    if (keyData & (1 << 29)) s << ssAlt;
    if (keyData & (1 << 25)) s << ssShift;
    if (keyData & (1 << 26)) s << ssCtrl;
    return s;
}

// ---------------------------------------------------------------------------------------------
// TSizeConstraints

const TMetaClass& TSizeConstraints::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TSizeConstraints>("TSizeConstraints", nullptr, [](TClassBuilder<TSizeConstraints>& b) {
        b.Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
        b.Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
        b.Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
        b.Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
    });
    return meta;
}

void TSizeConstraints::SetMinWidth(int v) {
    if (v == minWidth_) return;
    minWidth_ = std::max(v, 0);
    if (maxWidth_ && minWidth_ > maxWidth_) maxWidth_ = minWidth_;
    Changed();
}
void TSizeConstraints::SetMinHeight(int v) {
    if (v == minHeight_) return;
    minHeight_ = std::max(v, 0);
    if (maxHeight_ && minHeight_ > maxHeight_) maxHeight_ = minHeight_;
    Changed();
}
void TSizeConstraints::SetMaxWidth(int v) {
    if (v == maxWidth_) return;
    maxWidth_ = std::max(v, 0);
    if (maxWidth_ && minWidth_ > maxWidth_) minWidth_ = maxWidth_;
    Changed();
}
void TSizeConstraints::SetMaxHeight(int v) {
    if (v == maxHeight_) return;
    maxHeight_ = std::max(v, 0);
    if (maxHeight_ && minHeight_ > maxHeight_) minHeight_ = maxHeight_;
    Changed();
}
void TSizeConstraints::Assign(const TPersistent* source) {
    if (const auto* c = dynamic_cast<const TSizeConstraints*>(source)) {
        minWidth_ = c->minWidth_;
        minHeight_ = c->minHeight_;
        maxWidth_ = c->maxWidth_;
        maxHeight_ = c->maxHeight_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}
void TSizeConstraints::Changed() {
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------
// TControl

const TTypeInfo* CursorTypeInfo() {
    static const TTypeInfo info{"TCursor", TTypeKind::tkInteger, {}, nullptr,
        {{"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4},
         {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10},
         {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15},
         {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20},
         {"crHandPoint", -21}, {"crSizeAll", -22}}};
    return &info;
}

const TMetaClass& TControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TControl>("TControl", &TComponent::StaticClass(), [](TClassBuilder<TControl>& b) {
        b.Property("Left", &TControl::Left, &TControl::SetLeft).NoDefault();
        b.Property("Top", &TControl::Top, &TControl::SetTop).NoDefault();
        b.Property("Width", &TControl::Width, &TControl::SetWidth).NoDefault();
        b.Property("Height", &TControl::Height, &TControl::SetHeight).NoDefault();
        b.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
        b.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
        b.ReadOnly("Constraints", &TControl::Constraints);
        b.Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Default(bdLeftToRight);
        b.Property("Caption", &TControl::Caption, &TControl::SetCaption)
            .Stored([](const TObject& o) { return static_cast<const TControl&>(o).ControlStyle().Contains(csSetCaption); });
        b.Property("Color", &TControl::Color, &TControl::SetColor)
            .Type(ColorTypeInfo())
            .NoDefault()
            .Stored([](const TObject& o) { return !static_cast<const TControl&>(o).ParentColor(); });
        b.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
        b.Property("Font", &TControl::Font, &TControl::SetFont)
            .Stored([](const TObject& o) { return !static_cast<const TControl&>(o).ParentFont(); });
        b.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
        b.Property("Cursor", [](const TControl& c) { return static_cast<int>(c.Cursor()); },
                   [](TControl& c, int v) { c.SetCursor(static_cast<TCursor>(v)); })
            .Default(0)
            .Type(CursorTypeInfo());
        b.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
        b.Property("Hint", &TControl::Hint, &TControl::SetHint);
        b.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .Default(false)
            .Stored([](const TObject& o) { return !static_cast<const TControl&>(o).ParentShowHint(); });
        b.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
        b.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
        b.Property("Action", &TControl::Action, &TControl::SetAction);
        b.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
        b.Event("OnClick", &TControl::OnClick);
        b.Event("OnDblClick", &TControl::OnDblClick);
        b.Event("OnMouseDown", &TControl::OnMouseDown);
        b.Event("OnMouseUp", &TControl::OnMouseUp);
        b.Event("OnMouseMove", &TControl::OnMouseMove);
        b.Event("OnMouseEnter", &TControl::OnMouseEnter);
        b.Event("OnMouseLeave", &TControl::OnMouseLeave);
        b.Event("OnMouseWheel", &TControl::OnMouseWheel);
        b.Event("OnResize", &TControl::OnResize);
        b.Event("OnContextPopup", &TControl::OnContextPopup);
    });
    return meta;
}

const TMessageTable& TControl::ClassMessages() {
    static const TMessageTable table(nullptr, {
        MESSAGE_HANDLER(WM_LBUTTONDOWN, TControl::WMLButtonDown),
        MESSAGE_HANDLER(WM_RBUTTONDOWN, TControl::WMRButtonDown),
        MESSAGE_HANDLER(WM_MBUTTONDOWN, TControl::WMMButtonDown),
        MESSAGE_HANDLER(WM_LBUTTONUP, TControl::WMLButtonUp),
        MESSAGE_HANDLER(WM_RBUTTONUP, TControl::WMRButtonUp),
        MESSAGE_HANDLER(WM_MBUTTONUP, TControl::WMMButtonUp),
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, TControl::WMLButtonDblClk),
        MESSAGE_HANDLER(WM_MOUSEMOVE, TControl::WMMouseMove),
        MESSAGE_HANDLER(WM_CANCELMODE, TControl::WMCancelMode),
        MESSAGE_HANDLER(WM_MOUSEWHEEL, TControl::WMMouseWheel),
        MESSAGE_HANDLER(WM_CONTEXTMENU, TControl::WMContextMenu),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TControl::CMEnabledChanged),
        MESSAGE_HANDLER(CM_VISIBLECHANGED, TControl::CMVisibleChanged),
        MESSAGE_HANDLER(CM_PARENTFONTCHANGED, TControl::CMParentFontChanged),
        MESSAGE_HANDLER(CM_PARENTCOLORCHANGED, TControl::CMParentColorChanged),
        MESSAGE_HANDLER(CM_PARENTSHOWHINTCHANGED, TControl::CMParentShowHintChanged),
        MESSAGE_HANDLER(CM_MOUSEENTER, TControl::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TControl::CMMouseLeave),
        MESSAGE_HANDLER(CM_HINTSHOW, TControl::CMHintShow),
    });
    return table;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), constraints_(std::make_unique<TSizeConstraints>()), color_(clBtnFace),
      font_(NewControlFont()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    constraints_->OnChange = [this](TObject*) { SetBounds(left_, top_, width_, height_); };
    SetFontChangeHandler(font_.get(), [this](TObject* sender) { FontChanged(sender); });
}

TControl::~TControl() {
    if (captureControl == this) captureControl = nullptr;
    if (Application) Application->ControlDestroyed(this);
    if (parent_) parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) {
    // Controls without double clicks see a second press instead.
    if (m.Msg == WM_LBUTTONDBLCLK && !controlStyle_.Contains(csDoubleClicks)) m.Msg = WM_LBUTTONDOWN;
    Dispatch(m);
}

void TControl::Dispatch(TMessage& m) {
    if (TMessageTable::Handler h = MessageTable().Find(m.Msg)) {
        h(*this, m);
        return;
    }
    DefaultHandler(m);
}

void TControl::InheritedMessage(const TMessageTable& parentTable, TMessage& m) {
    if (TMessageTable::Handler h = parentTable.Find(m.Msg)) {
        h(*this, m);
        return;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPWSTR>(m.LParam);
        if (!buffer || m.WParam == 0) {
            m.Result = 0;
            return;
        }
        const std::size_t n = std::min<std::size_t>(text_.size(), m.WParam - 1);
        std::copy_n(text_.data(), n, buffer);
        buffer[n] = u'\0';
        m.Result = static_cast<LRESULT>(n);
        return;
    }
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(text_.size()); return;
    case WM_SETTEXT: {
        const auto* text = reinterpret_cast<LPCWSTR>(m.LParam);
        text_ = text ? WideString(text) : WideString();
        m.Result = TRUE;
        return;
    }
    default: break;
    }
}

WideString TControl::Text() const {
    auto* self = const_cast<TControl*>(this);
    const auto length = self->Perform(WM_GETTEXTLENGTH, 0, 0);
    WideString text(static_cast<std::size_t>(length) + 1, u'\0');
    const auto got = self->Perform(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
    return text;
}

int TControl::GetTextLen() const { return static_cast<int>(const_cast<TControl*>(this)->Perform(WM_GETTEXTLENGTH, 0, 0)); }

void TControl::SetText(const WideString& text) {
    if (Text() == text) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    for (TWinControl* p = parent; p; p = p->Parent())
        if (p == this) throw EInvalidOperation("A control cannot be placed inside itself");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::ConstrainSize(int& width, int& height) const {
    const TSizeConstraints& c = *constraints_;
    if (c.MinWidth() > 0 && width < c.MinWidth()) width = c.MinWidth();
    if (c.MaxWidth() > 0 && width > c.MaxWidth()) width = c.MaxWidth();
    if (c.MinHeight() > 0 && height < c.MinHeight()) height = c.MinHeight();
    if (c.MaxHeight() > 0 && height > c.MaxHeight()) height = c.MaxHeight();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    ConstrainSize(width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    const TRect old = BoundsRect();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (parent_ && !parent_->aligning_) UpdateAnchorRules();
    BoundsChanged();
    if (parent_ && !dynamic_cast<TWinControl*>(this)) {
        // A graphic control repaints both where it was and where it is.
        parent_->Invalidate();
        (void)old;
    }
    if (parent_ && (align_ != alNone || !anchors_.Contains(akLeft) || !anchors_.Contains(akTop)) && !parent_->aligning_)
        parent_->AlignControl(this);
    if (resized) Resize();
}

void TControl::UpdateAnchorRules() {
    if (!parent_) return;
    const TRect client = parent_->ClientRect();
    anchorRight_ = client.Width() - (left_ + width_);
    anchorBottom_ = client.Height() - (top_ + height_);
    anchorRulesSet_ = true;
}

void TControl::SetClientSize(int width, int height) {
    const TRect c = ClientRect();
    SetBounds(left_, top_, width_ + width - c.Width(), height_ + height - c.Height());
}

TPoint TControl::ClientOrigin() const {
    if (!parent_) return TPoint(left_, top_);
    return parent_->ClientOrigin() + TPoint(left_, top_);
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    const TAlign old = align_;
    align_ = align;
    anchors_ = align == alNone || align == alCustom ? TAnchors{akLeft, akTop}
             : align == alTop ? TAnchors{akLeft, akTop, akRight}
             : align == alBottom ? TAnchors{akLeft, akRight, akBottom}
             : align == alLeft ? TAnchors{akLeft, akTop, akBottom}
             : align == alRight ? TAnchors{akTop, akRight, akBottom}
             : TAnchors{akLeft, akTop, akRight, akBottom};
    if (parent_ && (old != alNone || align != alNone)) parent_->Realign();
}

void TControl::SetAnchors(TAnchors anchors) {
    if (anchors == anchors_) return;
    anchors_ = anchors;
    UpdateAnchorRules();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (!visible && HoldsCapture(*this)) CancelMouseCapture();
    Perform(CM_VISIBLECHANGED, visible, 0);
    if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::IsShowing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled && HoldsCapture(*this)) CancelMouseCapture();
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor color) {
    if (color == color_ && !parentColor_) return;
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
    if (v == parentColor_) return;
    parentColor_ = v;
    if (v && parent_) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetFont(TFont* font) {
    if (!font) return;
    AssignFont(font_.get(), font);  // FontChanged clears ParentFont
}

void TControl::FontChanged(TObject*) {
    if (!fontChanging_) parentFont_ = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
    if (v == parentFont_) return;
    parentFont_ = v;
    if (v && parent_) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool v) {
    if (v == showHint_ && !parentShowHint_) return;
    showHint_ = v;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool v) {
    if (v == parentShowHint_) return;
    parentShowHint_ = v;
    if (v && parent_) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* menu) {
    if (menu == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
    if (operation == TOperation::opRemove && component == Action()) SetAction(nullptr);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        if (parentColor_) Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (parentFont_) Perform(CM_PARENTFONTCHANGED, 0, 0);
        if (parentShowHint_) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        UpdateAnchorRules();
    }
}

void TControl::Invalidate() {
    if (parent_ && visible_) {
        const TRect r = BoundsRect();
        if (TWidgetPeer* p = parent_->Peer()) p->Invalidate(&r);
    }
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->Peer()) w->Peer()->SetZOrder(true);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->Peer()) w->Peer()->SetZOrder(false);
    Invalidate();
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::Click() {
    // A handler of the control's own wins over the linked action.
    if (OnClick)
        OnClick(this);
    else if (actionLink_)
        actionLink_->Execute(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    return handled;
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::ChangeScale(int m, int d) {
    if (m == d || d == 0) return;
    SetBounds(MulDiv(left_, m, d), MulDiv(top_, m, d), MulDiv(width_, m, d), MulDiv(height_, m, d));
}

void TControl::SendCancelMode() {
    if (captureControl && captureControl != this) CancelMouseCapture();
}

void TControl::DoMouseDown(TWMMouse& m, TMouseButton button, TShiftState extra) {
    if (controlStyle_.Contains(csCaptureMouse)) SetCaptureControl(this);
    if (!controlStyle_.Contains(csNoStdEvents))
        MouseDown(button, KeysToShiftState(static_cast<WORD>(m.Keys)) + extra + ButtonShift(button), m.XPos, m.YPos);
}

void TControl::DoMouseUp(TWMMouse& m, TMouseButton button) {
    if (!controlStyle_.Contains(csNoStdEvents)) MouseUp(button, KeysToShiftState(static_cast<WORD>(m.Keys)), m.XPos, m.YPos);
}

void TControl::WMLButtonDown(TWMMouse& m) {
    controlState_ << csLButtonDown;
    if (controlStyle_.Contains(csClickEvents)) controlState_ << csClicked;
    DoMouseDown(m, mbLeft, {});
}

void TControl::WMRButtonDown(TWMMouse& m) { DoMouseDown(m, mbRight, {}); }
void TControl::WMMButtonDown(TWMMouse& m) { DoMouseDown(m, mbMiddle, {}); }

void TControl::WMLButtonDblClk(TWMMouse& m) {
    controlState_ << csLButtonDown;
    if (controlStyle_.Contains(csDoubleClicks)) DblClick();
    DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TWMMouse& m) {
    if (captureControl == this) SetCaptureControl(nullptr);
    const bool clicked = controlState_.Contains(csClicked);
    controlState_ = controlState_ - TControlState{csLButtonDown, csClicked};
    // A click is a press and a release over the control.
    if (clicked && ClientRect().Contains(m.Pos())) Click();
    DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonUp(TWMMouse& m) {
    if (captureControl == this) SetCaptureControl(nullptr);
    DoMouseUp(m, mbRight);
}

void TControl::WMMButtonUp(TWMMouse& m) {
    if (captureControl == this) SetCaptureControl(nullptr);
    DoMouseUp(m, mbMiddle);
}

void TControl::WMMouseMove(TWMMouse& m) {
    if (!controlStyle_.Contains(csNoStdEvents)) MouseMove(KeysToShiftState(static_cast<WORD>(m.Keys)), m.XPos, m.YPos);
}

void TControl::WMCancelMode(TMessage&) {
    if (captureControl == this) captureControl = nullptr;
    controlState_ = controlState_ - TControlState{csLButtonDown, csClicked};
}

void TControl::WMMouseWheel(TWMMouseWheel& m) {
    if (DoMouseWheel(KeysToShiftState(static_cast<WORD>(m.Keys)), m.WheelDelta, TPoint(m.XPos, m.YPos))) {
        m.Result = 1;
        return;
    }
    // Not handled here: the parent may scroll.
    if (parent_) m.Result = parent_->Perform(WM_MOUSEWHEEL, m.Message.WParam, m.Message.LParam);
}

void TControl::WMContextMenu(TWMContextMenu& m) {
    TPoint pos(m.XPos, m.YPos);
    const bool keyboard = m.XPos == -1 && m.YPos == -1;
    const TPoint local = keyboard ? TPoint(-1, -1) : ScreenToClient(pos);
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, local, handled);
    if (handled) {
        m.Result = 1;
        return;
    }
    if (popupMenu_) {
        if (keyboard) pos = ClientToScreen(TPoint(0, 0));
        PopupContextMenu(*this, popupMenu_, pos);
        m.Result = 1;
        return;
    }
    if (parent_) m.Result = parent_->Perform(WM_CONTEXTMENU, m.Message.WParam, m.Message.LParam);
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
    if (!parentFont_ || !parent_) return;
    fontChanging_ = true;
    AssignFont(font_.get(), parent_->Font());
    fontChanging_ = false;
}

void TControl::CMParentColorChanged(TMessage&) {
    if (!parentColor_ || !parent_) return;
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED, 0, 0);
    parentColor_ = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!parentShowHint_ || !parent_) return;
    showHint_ = parent_->ShowHint();
    Perform(CM_SHOWHINTCHANGED, 0, 0);
    parentShowHint_ = true;
}

void TControl::CMMouseEnter(TMessage&) {
    if (OnMouseEnter) OnMouseEnter(this);
    if (parent_) parent_->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage&) {
    if (OnMouseLeave) OnMouseLeave(this);
    if (parent_) parent_->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMHintShow(TMessage& m) {
    // A control without a hint declines to show one.
    if (hint_.empty()) m.Result = 1;
}

// ---------------------------------------------------------------------------------------------

TWinControl* FindControl(HWND window) {
    if (!window) return nullptr;
    TWindowTarget* target = WindowTarget(window);
    if (!target) return nullptr;
    // Only a control's own target answers as a control.
    for (TCustomForm* form : Screen ? Screen->AllForms() : std::vector<TCustomForm*>{}) {
        if (form->WindowHandle() == window) return form;
        std::vector<TWinControl*> list;
        form->GetTabOrderList(list);
        for (TWinControl* c : list)
            if (c->WindowHandle() == window) return c;
    }
    return nullptr;
}

TControl* GetCaptureControl() { return captureControl; }

void SetCaptureControl(TControl* control) { captureControl = control; }

void CancelMouseCapture() {
    TControl* const control = std::exchange(captureControl, nullptr);
    if (control) control->Perform(WM_CANCELMODE, 0, 0);
}

TPoint TMouse::CursorPos() const { return WidgetSet().CursorPos(); }
void TMouse::SetCursorPos(const TPoint& p) { WidgetSet().SetCursorPos(p); }
HWND TMouse::Capture() const {
    TControl* c = captureControl;
    if (!c) return nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(c)) return w->WindowHandle();
    return c->Parent() ? c->Parent()->WindowHandle() : nullptr;
}
