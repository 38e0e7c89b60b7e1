#include "platform/vcl/ToolBar.h"

#include <algorithm>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/Menus.h"

namespace {
constexpr int kArrowWidth = 13;     // the arrow part of a drop-down button
constexpr int kSeparatorWidth = 8;
constexpr int kEdge = 2;            // around the row of buttons
constexpr int kCaptionMargin = 4;

TSize CaptionExtent(const TFont* font, const WideString& text) {
    if (text.empty()) return TSize{0, 0};
    TBitmap measure;
    try {
        measure.SetSize(1, 1);
        measure.Canvas()->SetFont(font);
        return measure.Canvas()->TextExtent(text);
    } catch (const EInvalidGraphicOperation&) {
        // No drawing device (a program without a display): the font's average proportions.
        const int height = font->Height() < 0 ? -font->Height() : (font->Size() * 96 + 36) / 72;
        return TSize{static_cast<LONG>(text.size()) * height / 2, height + 2};
    }
}
}  // namespace

// ---- TToolButton

const TMetaClass& TToolButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TToolButton>("TToolButton", &TGraphicControl::StaticClass(), [](TClassBuilder<TToolButton>& b) {
        b.Property("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
        b.Property("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu);
        b.Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(false);
        b.Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1);
        b.Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
        b.Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false);
        b.Event("OnDropDown", &TToolButton::OnDropDown);
    });
    return meta;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() { SetDropdownMenu(nullptr); }

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::Relayout() {
    if (TToolBar* bar = ToolBar()) bar->LayoutButtons();
    Invalidate();
}

void TToolButton::SetParent(TWinControl* parent) {
    TToolBar* old = ToolBar();
    TGraphicControl::SetParent(parent);
    if (old && old != ToolBar()) old->LayoutButtons();
    Relayout();
}

void TToolButton::SetStyle(TToolButtonStyle style) {
    if (style == style_) return;
    style_ = style;
    if (style == tbsSeparator || style == tbsDivider) SetWidth(kSeparatorWidth);
    Relayout();
}

void TToolButton::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    Invalidate();
}

void TToolButton::SetDown(bool down) {
    if (down == down_) return;
    // The last button of a group stays down unless the group may be all up.
    if (!down && grouped_ && style_ == tbsCheck && !allowAllUp_ && !ComponentState().Contains(csLoading)) return;
    down_ = down;
    if (down_ && grouped_) UpdateGroup();
    Invalidate();
}

void TToolButton::SetGrouped(bool grouped) {
    if (grouped == grouped_) return;
    grouped_ = grouped;
    if (down_ && grouped_) UpdateGroup();
}

// A group: neighbouring grouped check buttons, up to a separator or any other button.
void TToolButton::UpdateGroup() {
    TToolBar* bar = ToolBar();
    if (!bar) return;
    const int me = Index();
    auto release = [&](int step) {
        for (int i = me + step; i >= 0 && i < bar->ButtonCount(); i += step) {
            TToolButton* b = bar->Buttons(i);
            if (!b->grouped_ || b->style_ != tbsCheck) break;
            if (b->down_) {
                b->down_ = false;
                b->Invalidate();
            }
        }
    };
    release(-1);
    release(1);
}

void TToolButton::SetDropdownMenu(TComponent* menu) {
    if (menu == dropdownMenu_) return;
    if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
    dropdownMenu_ = menu;
    if (dropdownMenu_) dropdownMenu_->FreeNotification(this);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dropdownMenu_) dropdownMenu_ = nullptr;
}

int TToolButton::Index() const {
    TToolBar* bar = ToolBar();
    if (!bar) return -1;
    for (int i = 0; i < bar->ButtonCount(); ++i)
        if (bar->Buttons(i) == this) return i;
    return -1;
}

bool TToolButton::OnArrow(int x) const { return style_ == tbsDropDown && x >= Width() - kArrowWidth; }

bool TToolButton::CheckMenuDropdown() {
    if (OnDropDown) OnDropDown(this);
    if (!dropdownMenu_) return false;
    TWinControl* parent = Parent();
    if (!parent) return false;
    PopupContextMenu(*this, dropdownMenu_, parent->ClientToScreen(TPoint(Left(), Top() + Height())));
    return true;
}

void TToolButton::Click() {
    if (style_ == tbsCheck) SetDown(!down_);
    TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (style_ == tbsSeparator || style_ == tbsDivider) {
        controlState_ = controlState_ - TControlState{csClicked};
        return;
    }
    if (OnArrow(x) || (style_ == tbsDropDown && !OnClick && dropdownMenu_)) {
        // The arrow drops the menu at once; the button does not click.
        controlState_ = controlState_ - TControlState{csClicked};
        pressed_ = true;
        Invalidate();
        CheckMenuDropdown();
        pressed_ = false;
        Invalidate();
        return;
    }
    pressed_ = true;
    mouseInside_ = true;
    Invalidate();
}

void TToolButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!pressed_) return;
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (inside != mouseInside_) {
        mouseInside_ = inside;
        Invalidate();
    }
}

// The click itself comes from the mouse-up (csClickEvents); Click toggles a check button.
void TToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && pressed_) {
        pressed_ = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
        hot_ = true;
        Invalidate();
        break;
    case CM_MOUSELEAVE:
        hot_ = false;
        Invalidate();
        break;
    case CM_ENABLEDCHANGED: Invalidate(); break;
    default: break;
    }
    TGraphicControl::WndProc(m);
    if (m.Msg == CM_TEXTCHANGED) Relayout();
}

void TToolButton::Paint() {
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    const TRect client(0, 0, Width(), Height());
    TToolBar* bar = ToolBar();
    const bool flat = bar && bar->Flat();
    if (style_ == tbsSeparator) return;
    if (style_ == tbsDivider) {
        RECT line{client.Width() / 2 - 1, client.top + 2, client.Width() / 2 + 1, client.bottom - 2};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
        return;
    }
    const bool enabled = Enabled();
    const bool sunk = (pressed_ && mouseInside_) || down_;
    const TRect face(client.left, client.top, style_ == tbsDropDown ? client.right - kArrowWidth : client.right, client.bottom);
    if (down_ && !(pressed_ && mouseInside_)) {
        // A checked button shows a lighter face, as the classic bar does.
        const COLORREF face3d = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
        c->Brush()->SetColor(static_cast<TColor>(RGB((GetRValue(face3d) + GetRValue(light)) / 2, (GetGValue(face3d) + GetGValue(light)) / 2,
                                                     (GetBValue(face3d) + GetBValue(light)) / 2)));
        c->FillRect(client);
    }
    auto edge = [&](const TRect& r) {
        RECT e = r;
        if (sunk) DrawEdge(dc, &e, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
        else if (!flat || (hot_ && enabled)) DrawEdge(dc, &e, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    };
    edge(face);
    if (style_ == tbsDropDown) {
        const TRect arrow(face.right, client.top, client.right, client.bottom);
        if (!flat || hot_ || sunk) {
            RECT e = arrow;
            DrawEdge(dc, &e, sunk && !down_ ? BDR_SUNKENOUTER : (flat ? BDR_RAISEDINNER : EDGE_RAISED), BF_RECT);
        }
        const int cx = arrow.left + arrow.Width() / 2, cy = arrow.top + arrow.Height() / 2;
        c->Pen()->SetColor(enabled ? clBtnText : clGrayText);
        c->Brush()->SetColor(enabled ? clBtnText : clGrayText);
        c->Polygon({TPoint(cx - 3, cy - 1), TPoint(cx + 3, cy - 1), TPoint(cx, cy + 2)});
    }
    const int shift = sunk ? 1 : 0;
    TCustomImageList* images = bar ? bar->Images() : nullptr;
    const bool captions = bar && bar->ShowCaptions();
    const WideString caption = Caption();
    // An "&" marks the hot key: measured without it, drawn underlining the key.
    const TSize text = captions ? CaptionExtent(Font(), StripHotkey(caption)) : TSize{0, 0};
    const int imageHeight = images && imageIndex_ >= 0 ? images->Height() : 0;
    const int contentHeight = imageHeight + (captions && !caption.empty() ? text.cy + (imageHeight ? 1 : 0) : 0);
    int y = face.top + (face.Height() - contentHeight) / 2 + shift;
    if (images && imageIndex_ >= 0) {
        images->Draw(c, face.left + (face.Width() - images->Width()) / 2 + shift, y, imageIndex_, enabled);
        y += images->Height() + 1;
    }
    if (captions && !caption.empty()) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(enabled ? clBtnText : clGrayText);
        TRect line(face.left + shift, y, face.right + shift, y + text.cy);
        c->TextRect(line, caption, TTextFormat{tfCenter, tfSingleLine, tfNoClip});
        c->Brush()->SetStyle(bsSolid);
    }
}

// ---- TToolBar

const TMetaClass& TToolBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TToolBar>("TToolBar", &TWinControl::StaticClass(), [](TClassBuilder<TToolBar>& b) {
        b.Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
        b.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
        b.Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false);
        b.Property("Images", &TToolBar::Images, &TToolBar::SetImages);
        b.Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false);
    });
    return meta;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    SetColor(clBtnFace);
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar() { SetImages(nullptr); }

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"ToolbarWindow32";
}

int TToolBar::ButtonCount() const {
    int count = 0;
    for (int i = 0; i < ControlCount(); ++i)
        if (dynamic_cast<TToolButton*>(Controls(i))) ++count;
    return count;
}

TToolButton* TToolBar::Buttons(int index) const {
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TToolButton*>(Controls(i)); b && n++ == index) return b;
    throw EInvalidOperation(WideString(u"List index out of bounds"));
}

void TToolBar::SetImages(TCustomImageList* list) {
    if (ChangeImageList(*this, images_, list, [this](TObject*) { LayoutButtons(); })) LayoutButtons();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) SetImages(nullptr);
}

void TToolBar::SetShowCaptions(bool v) {
    if (v == showCaptions_) return;
    showCaptions_ = v;
    LayoutButtons();
}

void TToolBar::SetFlat(bool v) {
    if (v == flat_) return;
    flat_ = v;
    Invalidate();
}

void TToolBar::SetButtonWidth(int v) {
    buttonWidth_ = std::max(v, 1);
    LayoutButtons();
}

void TToolBar::SetButtonHeight(int v) {
    buttonHeight_ = std::max(v, 1);
    LayoutButtons();
}

TSize TToolBar::ButtonSize() const {
    TSize size{buttonWidth_, buttonHeight_};
    const int imageW = images_ ? images_->Width() : 16, imageH = images_ ? images_->Height() : 15;
    size.cx = std::max<int>(size.cx, imageW + 7);
    size.cy = std::max<int>(size.cy, imageH + 7);
    if (showCaptions_) {
        int textW = 0, textH = 0;
        for (int i = 0; i < ButtonCount(); ++i) {
            TToolButton* b = Buttons(i);
            if (b->Style() == tbsSeparator || b->Style() == tbsDivider) continue;
            const TSize t = CaptionExtent(b->Font(), StripHotkey(b->Caption()));
            textW = std::max<int>(textW, t.cx);
            textH = std::max<int>(textH, t.cy);
        }
        size.cx = std::max<int>(size.cx, textW + 2 * kCaptionMargin);
        size.cy = std::max<int>(size.cy, imageH + textH + 8);
    }
    return size;
}

void TToolBar::LayoutButtons() {
    if (layingOut_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    layingOut_ = true;
    try {
        const TSize size = ButtonSize();
        int x = kEdge;
        for (int i = 0; i < ButtonCount(); ++i) {
            TToolButton* b = Buttons(i);
            if (!b->Visible()) continue;
            int w = size.cx;
            if (b->Style() == tbsSeparator || b->Style() == tbsDivider) w = b->Width() > 0 ? b->Width() : kSeparatorWidth;
            else if (b->Style() == tbsDropDown) w += kArrowWidth;
            b->SetBounds(x, kEdge, w, size.cy);
            x += w;
        }
        // The bar grows to hold its buttons (taller with captions under the pictures).
        if (ButtonCount() > 0 && Height() < size.cy + 2 * kEdge) SetHeight(size.cy + 2 * kEdge);
    } catch (...) {
        layingOut_ = false;
        throw;
    }
    layingOut_ = false;
    Invalidate();
}

void TToolBar::AlignControls(TControl* control, TRect& rect) {
    TWinControl::AlignControls(control, rect);
    LayoutButtons();
}

void TToolBar::PaintWindow(HDC dc) {
    // A raised bar has a thin line at its top, as under a menu bar.
    if (!flat_) {
        RECT top{0, 0, Width(), 2};
        DrawEdge(dc, &top, EDGE_ETCHED, BF_TOP);
    }
}
