#include "platform/vcl/Controls.h"

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/win/WinError.h"

namespace {

TControl* captureControl = nullptr;

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
    if (OnClick) OnClick(this);
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
    if (captureControl && captureControl != this) captureControl = nullptr;
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
// TWinControl

class TWinControl::Target : public TWindowTarget {
public:
    explicit Target(TWinControl& control) : control_(control) {}
    LRESULT WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        return control_.Perform(msg, wParam, lParam);
    }

private:
    TWinControl& control_;
};

const TMetaClass& TWinControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TWinControl>("TWinControl", &TControl::StaticClass(), [](TClassBuilder<TWinControl>& b) {
        b.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Default(-1)
            .Stored([](const TObject& o) { return static_cast<const TWinControl&>(o).Parent() != nullptr; });
        b.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
        b.Event("OnKeyDown", &TWinControl::OnKeyDown);
        b.Event("OnKeyUp", &TWinControl::OnKeyUp);
        b.Event("OnKeyPress", &TWinControl::OnKeyPress);
        b.Event("OnEnter", &TWinControl::OnEnter);
        b.Event("OnExit", &TWinControl::OnExit);
    });
    return meta;
}

const TMessageTable& TWinControl::ClassMessages() {
    static const TMessageTable table(&TControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_PAINT, TWinControl::WMPaint),
        MESSAGE_HANDLER(WM_ERASEBKGND, TWinControl::WMEraseBkgnd),
        MESSAGE_HANDLER(WM_SIZE, TWinControl::WMSize),
        MESSAGE_HANDLER(WM_SETFOCUS, TWinControl::WMSetFocus),
        MESSAGE_HANDLER(WM_KILLFOCUS, TWinControl::WMKillFocus),
        MESSAGE_HANDLER(WM_KEYDOWN, TWinControl::WMKeyDown),
        MESSAGE_HANDLER(WM_KEYUP, TWinControl::WMKeyUp),
        MESSAGE_HANDLER(WM_CHAR, TWinControl::WMChar),
        MESSAGE_HANDLER(WM_SYSKEYDOWN, TWinControl::WMSysKeyDown),
        MESSAGE_HANDLER(WM_SYSCHAR, TWinControl::WMSysChar),
        MESSAGE_HANDLER(CM_ENTER, TWinControl::CMEnter),
        MESSAGE_HANDLER(CM_EXIT, TWinControl::CMExit),
        MESSAGE_HANDLER(CM_DIALOGCHAR, TWinControl::CMDialogChar),
        MESSAGE_HANDLER(CM_DIALOGKEY, TWinControl::CMDialogKey),
        MESSAGE_HANDLER(CM_FONTCHANGED, TWinControl::CMFontChanged),
        MESSAGE_HANDLER(CM_COLORCHANGED, TWinControl::CMColorChanged),
        MESSAGE_HANDLER(CM_SHOWHINTCHANGED, TWinControl::CMShowHintChanged),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TWinControl::CMEnabledChangedWin),
        MESSAGE_HANDLER(CM_VISIBLECHANGED, TWinControl::CMVisibleChangedWin),
        MESSAGE_HANDLER(CM_TEXTCHANGED, TWinControl::CMTextChanged),
        MESSAGE_HANDLER(CM_CURSORCHANGED, TWinControl::CMCursorChanged),
    });
    return table;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), target_(std::make_unique<Target>(*this)) {}

TWinControl::~TWinControl() {
    Destroying();
    // Children go with their parent (their owner may be another component).
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        RemoveControl(c);
        delete c;
    }
    // Leave the parent while still a windowed control, so its tab list forgets this one.
    if (Parent()) Parent()->RemoveControl(this);
    if (HandleAllocated()) DestroyHandle();
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded() {
    if (handle_) return;
    if (Parent()) Parent()->HandleNeeded();
    if (!handle_) CreateHandle();
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    CreateWnd();
    for (TWinControl* c : tabList_)
        if (!c->handle_) c->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params = TCreateParams();
    params.Caption = text_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (tabStop_) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->handle_ : nullptr;
    params.WinClassName = WideFromAscii(std::string(ClassName()).c_str());
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (Parent() && !params.WndParent) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    controlState_ << csCreating;
    try {
        CreateWindowHandle(params);
    } catch (...) {
        controlState_ >> csCreating;
        throw;
    }
    controlState_ >> csCreating;
    UpdatePeer();
    Perform(WM_CREATE, 0, 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    peer_ = WidgetSet().CreatePeer(*this, params, Parent() ? Parent()->peer_.get() : nullptr);
    if (!peer_) throw EOutOfResources("Error creating window for " + Name());
    handle_ = AllocateWindowHandle(target_.get());
}

void TWinControl::UpdatePeer() {
    if (!peer_) return;
    peer_->SetBounds(BoundsRect());
    peer_->SetText(text_);
    peer_->SetEnabled(Enabled());
    PushFontToPeer(*peer_, Font());
    peer_->SetColor(ColorToRGB(Color()));
    peer_->SetCursor(Cursor());
    peer_->SetVisible(Visible());
}

void TWinControl::DestroyWnd() {
    // The text a toolkit widget holds (an edit's) survives the window.
    if (peer_)
        if (std::optional<WideString> t = peer_->Text()) text_ = *t;
    Perform(WM_DESTROY, 0, 0);
    FreeWindowHandle(handle_);
    handle_ = nullptr;
    peer_.reset();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    controlState_ << csDestroyingHandle;
    for (TWinControl* c : tabList_) c->DestroyHandle();
    DestroyWnd();
    controlState_ >> csDestroyingHandle;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    const bool wasFocused = Focused();
    DestroyHandle();
    HandleNeeded();
    if (wasFocused && CanFocus()) SetFocus();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) RaiseRangeError();
    return controls_[static_cast<std::size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
    if (!control || control->parent_ == this) return;
    if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
    controls_.push_back(control);
    control->parent_ = this;
    if (!ComponentState().Contains(csLoading) && !control->ComponentState().Contains(csLoading)) {
        if (control->parentColor_) control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (control->parentFont_) control->Perform(CM_PARENTFONTCHANGED, 0, 0);
        if (control->parentShowHint_) control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    }
    control->UpdateAnchorRules();
    if (auto* w = dynamic_cast<TWinControl*>(control); w && handle_) w->HandleNeeded();
    if (control->Align() != alNone) Realign();
    control->Invalidate();
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), TRUE);
}

void TWinControl::RemoveControl(TControl* control) {
    if (!control || control->parent_ != this) return;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), FALSE);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (w->HandleAllocated()) w->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
        if (TCustomForm* form = ParentForm()) form->ControlRemoved(w);
    }
    if (mouseControl_ == control) mouseControl_ = nullptr;
    control->Invalidate();
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    if (control->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (c->BoundsRect().Contains(pos)) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        controls_[i]->WindowProc(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) const {
    for (TControl* c : controls_)
        if (c->Owner() == root) proc(c);
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AdjustClientRect(TRect&) const {}

TRect TWinControl::ClientRect() const { return TControl::ClientRect(); }

void TWinControl::AlignControl(TControl* control) {
    if (alignDisabled_ > 0 || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) {
        alignPending_ = true;
        return;
    }
    alignPending_ = false;
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    AlignControls(control, rect);
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
    if (aligning_) return;
    aligning_ = true;
    try {
        for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) AlignOne(a, rect);
        // Anchored controls keep their distance to the right and bottom edges.
        const TRect client = ClientRect();
        for (TControl* c : controls_) {
            if (c->Align() != alNone || !c->anchorRulesSet_) continue;
            const TAnchors a = c->Anchors();
            int left = c->Left(), top = c->Top(), width = c->Width(), height = c->Height();
            if (a.Contains(akRight)) {
                if (a.Contains(akLeft)) width = client.Width() - c->anchorRight_ - left;
                else left = client.Width() - c->anchorRight_ - width;
            }
            if (a.Contains(akBottom)) {
                if (a.Contains(akTop)) height = client.Height() - c->anchorBottom_ - top;
                else top = client.Height() - c->anchorBottom_ - height;
            }
            c->SetBounds(left, top, width, height);
        }
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignOne(TAlign align, TRect& rect) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
        if (c->Align() == align && c->Visible()) list.push_back(c);
    // Controls of one alignment stack in the order of their current places.
    std::stable_sort(list.begin(), list.end(), [align](const TControl* a, const TControl* b) {
        switch (align) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
        }
    });
    for (TControl* c : list) {
        int w = c->Width(), h = c->Height();
        switch (align) {
        case alTop:
            w = rect.Width();
            c->ConstrainSize(w, h);
            c->SetBounds(rect.left, rect.top, w, h);
            rect.top += c->Height();
            break;
        case alBottom:
            w = rect.Width();
            c->ConstrainSize(w, h);
            c->SetBounds(rect.left, rect.bottom - h, w, h);
            rect.bottom -= c->Height();
            break;
        case alLeft:
            h = rect.Height();
            c->ConstrainSize(w, h);
            c->SetBounds(rect.left, rect.top, w, h);
            rect.left += c->Width();
            break;
        case alRight:
            h = rect.Height();
            c->ConstrainSize(w, h);
            c->SetBounds(rect.right - w, rect.top, w, h);
            rect.right -= c->Width();
            break;
        case alClient:
            c->SetBounds(rect.left, rect.top, std::max<LONG>(rect.Width(), 0), std::max<LONG>(rect.Height(), 0));
            break;
        default: break;
        }
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent() || order < 0) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(order), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    TCustomForm* form = ParentForm();
    if (form && form != this) {
        form->FocusControl(this);
        return;
    }
    HandleNeeded();
    peer_->SetFocus();
}

bool TWinControl::Focused() const { return peer_ && peer_->Focused(); }

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    auto it = std::find(list.begin(), list.end(), current);
    std::ptrdiff_t start = it == list.end() ? (goForward ? -1 : 0) : it - list.begin();
    const auto n = static_cast<std::ptrdiff_t>(list.size());
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((start + (goForward ? step : -step)) % n + n) % n;
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if (c == current) break;
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) next->SetFocus();
}

void TWinControl::SelectFirst() {
    TCustomForm* form = ParentForm();
    TWinControl* first = FindNextControl(nullptr, true, true, false);
    if (!first) first = FindNextControl(nullptr, true, false, false);
    if (!first) return;
    if (form && !form->Visible())
        form->SetActiveControl(first);
    else
        first->SetFocus();
}

TPoint TWinControl::ClientOrigin() const {
    if (peer_) return peer_->ClientOrigin();
    return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    const int oldW = Width(), oldH = Height();
    TControl::SetBounds(left, top, width, height);
    if (peer_) peer_->SetBounds(BoundsRect());
    // Without a toolkit to report the new size, children realign here.
    if (Width() != oldW || Height() != oldH) Realign();
}

void TWinControl::Invalidate() {
    if (peer_) peer_->Invalidate(nullptr);
}

void TWinControl::Update() {
    if (peer_) peer_->Update();
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::DefWndProc(TMessage& m) {
    if (peer_ && peer_->DefaultMessage(m)) return;
    TControl::DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    DefWndProc(m);
    // The window shows its new text.
    if (m.Msg == WM_SETTEXT && peer_) peer_->SetText(text_);
}

void TWinControl::WndProc(TMessage& m) {
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL) {
        if (m.Msg == WM_MOUSEMOVE && Application) {
            const TPoint pos(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            TControl* over = ControlAtPos(pos, false);
            Application->HintMouseMessage(over ? over : this, over ? pos - TPoint(over->Left(), over->Top()) : pos);
        }
        if (IsControlMouseMsg(m)) return;
        if (m.Msg == WM_MOUSEMOVE) TrackMouseControl(nullptr);
    }
    TControl::WndProc(m);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TWMMouse mouse(m);
    TControl* target = nullptr;
    if (captureControl && captureControl->Parent() == this) {
        target = captureControl;
    } else if (!captureControl || captureControl == this) {
        target = ControlAtPos(mouse.Pos(), false);
        if (m.Msg == WM_MOUSEMOVE) TrackMouseControl(target);
    }
    if (!target || dynamic_cast<TWinControl*>(target)) return false;
    const TPoint local = mouse.Pos() - TPoint(target->Left(), target->Top());
    m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(local.x, local.y));
    return true;
}

void TWinControl::TrackMouseControl(TControl* control) {
    if (control == mouseControl_) return;
    TControl* old = mouseControl_;
    mouseControl_ = control;
    if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
    if (control) control->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::PaintHandler(HDC dc) {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int saved = SaveDC(dc);
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = first ? std::find(controls_.begin(), controls_.end(), first) : controls_.begin();
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        const int saved = SaveDC(dc);
        POINT org{};
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::WMPaint(TWMPaint& m) {
    if (m.DC) PaintHandler(m.DC);
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& m) {
    if (!m.DC) return;
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    const TRect r = ClientRect();
    FillRect(m.DC, &r, brush);
    DeleteObject(brush);
    m.Result = 1;
}

void TWinControl::WMSize(TWMSize& m) {
    // The toolkit resized the window (the user dragged a frame): take the new size.
    if (m.SizeType != SIZE_MINIMIZED && (m.Width != ClientWidth() || m.Height != ClientHeight())) {
        const TRect c = ClientRect();
        TControl::SetBounds(Left(), Top(), Width() + m.Width - c.Width(), Height() + m.Height - c.Height());
        Realign();
    }
}

void TWinControl::WMSetFocus(TWMSetFocus&) {
    if (TCustomForm* form = ParentForm()) form->FocusChanged(this);
}

void TWinControl::WMKillFocus(TWMKillFocus&) {}

bool TWinControl::DoKeyDown(TWMKey& m) {
    WORD key = m.CharCode;
    const TShiftState shift = KeyDataToShiftState(m.KeyData);
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0) return true;
    }
    KeyDown(key, shift);
    if (key == 0) return true;
    m.Message.WParam = key;
    m.CharCode = key;
    return false;
}

bool TWinControl::DoKeyUp(TWMKey& m) {
    WORD key = m.CharCode;
    const TShiftState shift = KeyDataToShiftState(m.KeyData);
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyUp(key, shift);
        if (key == 0) return true;
    }
    KeyUp(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(TWMKey& m) {
    WideChar ch = static_cast<WideChar>(m.CharCode);
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyPress(ch);
        if (ch == 0) return true;
    }
    KeyPress(ch);
    if (ch == 0) return true;
    m.Message.WParam = ch;
    return false;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(WideChar& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::WMKeyDown(TWMKey& m) {
    if (DoKeyDown(m)) return;
    // Keys the control does not want go to the form as dialog keys (Tab, arrows, Enter, Esc).
    const LRESULT wants = Perform(WM_GETDLGCODE, 0, 0);
    const WORD key = static_cast<WORD>(m.Message.WParam);
    const bool dialogKey = (key == VK_TAB && !(wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) ||
                           ((key == VK_RETURN || key == VK_ESCAPE) && !(wants & DLGC_WANTALLKEYS)) ||
                           ((key >= VK_LEFT && key <= VK_DOWN) && !(wants & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)));
    if (dialogKey) {
        if (TCustomForm* form = ParentForm()) {
            if (form->Perform(CM_DIALOGKEY, key, m.Message.LParam) != 0) return;
        }
    }
    DefaultHandler(m.Message);
}

void TWinControl::WMKeyUp(TWMKey& m) {
    if (!DoKeyUp(m)) DefaultHandler(m.Message);
}

void TWinControl::WMChar(TWMKey& m) {
    if (!DoKeyPress(m)) DefaultHandler(m.Message);
}

void TWinControl::WMSysKeyDown(TWMKey& m) {
    if (!DoKeyDown(m)) DefaultHandler(m.Message);
}

void TWinControl::WMSysChar(TWMKey& m) {
    // Alt+letter: the form's controls look for their accelerator.
    if (TCustomForm* form = ParentForm()) {
        if (form->Perform(CM_DIALOGCHAR, m.Message.WParam, m.Message.LParam) != 0) {
            m.Result = 1;
            return;
        }
    }
    DefaultHandler(m.Message);
}

void TWinControl::CMDialogChar(TMessage& m) { Broadcast(m); }
// Enter and Escape reach the default and cancel buttons inside containers too.
void TWinControl::CMDialogKey(TMessage& m) { Broadcast(m); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::CMFontChanged(TMessage&) {
    if (peer_) PushFontToPeer(*peer_, Font());
    TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->WindowProc(m);
    Invalidate();
}

void TWinControl::CMColorChanged(TMessage&) {
    if (peer_) peer_->SetColor(ColorToRGB(Color()));
    TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->WindowProc(m);
    Invalidate();
}

void TWinControl::CMShowHintChanged(TMessage&) {
    TMessage m{CM_PARENTSHOWHINTCHANGED, 0, 0, 0};
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->WindowProc(m);
}

void TWinControl::CMEnabledChangedWin(TMessage&) {
    if (!Enabled() && Focused())
        if (TCustomForm* form = ParentForm()) form->DefocusControl(this, false);
    if (peer_) peer_->SetEnabled(Enabled());
    Invalidate();
}

void TWinControl::CMVisibleChangedWin(TMessage&) {
    if (!Visible())
        if (TCustomForm* form = ParentForm(); form && form != this && ContainsControl(form->ActiveControl()))
            form->DefocusControl(this, true);
    if (peer_) peer_->SetVisible(Visible());
    else if (Visible() && Parent() && Parent()->HandleAllocated()) HandleNeeded();
}

void TWinControl::CMTextChanged(TMessage&) {}

void TWinControl::CMCursorChanged(TMessage&) {
    if (peer_) peer_->SetCursor(Cursor());
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

// ---------------------------------------------------------------------------------------------
// TCustomControl and TGraphicControl

const TMetaClass& TCustomControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomControl>("TCustomControl", &TWinControl::StaticClass());
    return meta;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(NewControlCanvas(*this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
    BeginCanvasPaint(canvas_.get(), dc, Font(), Color());
    try {
        Paint();
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    EndCanvasPaint(canvas_.get());
}

const TMetaClass& TGraphicControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TGraphicControl>("TGraphicControl", &TControl::StaticClass());
    return meta;
}

const TMessageTable& TGraphicControl::ClassMessages() {
    static const TMessageTable table(&TControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_PAINT, TGraphicControl::WMPaint),
    });
    return table;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(NewControlCanvas(*this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WMPaint(TWMPaint& m) {
    if (!m.DC) return;
    BeginCanvasPaint(canvas_.get(), m.DC, Font(), Color());
    try {
        Paint();
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    EndCanvasPaint(canvas_.get());
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

void SetCaptureControl(TControl* control) {
    captureControl = control;
    TWinControl* w = control ? dynamic_cast<TWinControl*>(control) : nullptr;
    if (!w && control) w = control->Parent();
    if (w && w->Peer()) w->Peer()->SetMouseCapture(true);
}

TPoint TMouse::CursorPos() const { return WidgetSet().CursorPos(); }
void TMouse::SetCursorPos(const TPoint& p) { WidgetSet().SetCursorPos(p); }
HWND TMouse::Capture() const {
    TControl* c = captureControl;
    if (!c) return nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(c)) return w->WindowHandle();
    return c->Parent() ? c->Parent()->WindowHandle() : nullptr;
}
