// The toolbar button: properties, the press and drop-down state machine, groups, actions and the
// settings taken from the toolbar. Painting is in RzToolButtonPaint.cpp.
#include "controls/styled/RzToolButton.h"

#include <algorithm>

#include "controls/styled/OldPropReader.h"
#include "controls/styled/RzToolbar.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinTime.h"

namespace {

// Estimated beyond the widest caption: check, picture and shortcut columns of a menu.
constexpr int kMenuExtraWidth = 56;
// A press this soon after a menu closed is the press that closed it.
constexpr DWORD kDropTime = 100;

// Sets a flag for a scope, clearing it again on every way out.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

int MenuWidth(const TPopupMenu& menu) {
    TFont font;
    int widest = 0;
    const TMenuItem* items = menu.Items();
    for (int i = 0; i < items->Count(); ++i)
        widest = std::max<int>(widest, FontTextExtent(font, StripHotkey(items->Items(i)->Caption())).cx);
    return widest + kMenuExtraWidth;
}

}  // namespace

int DropDownMenuLeft(int left, int buttonWidth, int menuWidth, int workAreaRight) {
    return left + menuWidth > workAreaRight ? left - (menuWidth - buttonWidth) : left;
}

const TMetaClass& TRzToolButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzToolButton>("TRzToolButton", &TGraphicControl::StaticClass(), [](TClassBuilder<TRzToolButton>& b) {
        using B = TRzToolButton;
        const auto ownCaption = [](const TObject& o) { return !static_cast<const B&>(o).UseToolbarShowCaption(); };
        const auto ownStyle = [](const TObject& o) { return !static_cast<const B&>(o).UseToolbarVisualStyle(); };
        const auto sizeStored = [](const TObject& o) { return static_cast<const B&>(o).IsSizeStored(); };
        b.Property("Width", &B::Width, &B::SetWidth).NoDefault().Stored(sizeStored);
        b.Property("Height", &B::Height, &B::SetHeight).NoDefault().Stored(sizeStored);
        b.Property("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp).Default(false);
        b.Property("Alignment", &B::Alignment, &B::SetAlignment).Default(taCenter);
        b.Property("GroupIndex", &B::GroupIndex, &B::SetGroupIndex).Default(0);
        b.Property("Down", &B::Down, &B::SetDown).Default(false).Stored([](const TObject& o) {
            return static_cast<const B&>(o).IsDownStored();
        });
        b.Property("DropDownMenu", &B::DropDownMenu, &B::SetDropDownMenu);
        b.Property("Flat", &B::Flat, &B::SetFlat).Default(true);
        b.Property("Images", &B::Images, &B::SetImages);
        b.Property("ImageIndex", &B::ImageIndex, &B::SetImageIndex).Default(-1).Stored([](const TObject& o) {
            return static_cast<const B&>(o).IsImageIndexStored();
        });
        b.Property("HotIndex", &B::HotIndex, &B::SetHotIndex).Default(-1);
        b.Property("DownIndex", &B::DownIndex, &B::SetDownIndex).Default(-1);
        b.Property("DisabledIndex", &B::DisabledIndex, &B::SetDisabledIndex).Default(-1);
        b.Property("Layout", &B::Layout, &B::SetLayout).Default(blGlyphLeft);
        b.Property("ShowCaption", &B::ShowCaption, &B::SetShowCaption).NoDefault().Stored(ownCaption);
        b.Property("ToolStyle", &B::ToolStyle, &B::SetToolStyle).Default(tsButton);
        b.Property("Transparent", &B::Transparent, &B::SetTransparent).Default(true);
        b.Property("VisualStyle", &B::VisualStyle, &B::SetVisualStyle).NoDefault().Stored(ownStyle);
        b.Property("GradientColorStyle", &B::GradientColorStyle, &B::SetGradientColorStyle).NoDefault().Stored(ownStyle);
        b.Property("SelectionColorStart", &B::SelectionColorStart, &B::SetSelectionColorStart).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("SelectionColorStop", &B::SelectionColorStop, &B::SetSelectionColorStop).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("SelectionFrameColor", &B::SelectionFrameColor, &B::SetSelectionFrameColor).Default(cl3DDkShadow).Type(ColorTypeInfo());
        b.Property("UseToolbarButtonLayout", &B::UseToolbarButtonLayout, &B::SetUseToolbarButtonLayout).Default(true);
        b.Property("UseToolbarButtonSize", &B::UseToolbarButtonSize, &B::SetUseToolbarButtonSize).Default(true);
        b.Property("UseToolbarShowCaption", &B::UseToolbarShowCaption, &B::SetUseToolbarShowCaption).Default(true);
        b.Property("UseToolbarVisualStyle", &B::UseToolbarVisualStyle, &B::SetUseToolbarVisualStyle).Default(true);
        b.Event("OnDropDown", &B::OnDropDown);
    });
    return meta;
}

const TMessageTable& TRzToolButton::ClassMessages() {
    static const TMessageTable table(&TGraphicControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzToolButton::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzToolButton::CMMouseLeave),
        MESSAGE_HANDLER(WM_CANCELMODE, TRzToolButton::WMCancelMode),
        MESSAGE_HANDLER(CM_BUTTONPRESSED, TRzToolButton::CMButtonPressed),
        MESSAGE_HANDLER(CM_DIALOGCHAR, TRzToolButton::CMDialogChar),
        MESSAGE_HANDLER(CM_TEXTCHANGED, TRzToolButton::CMTextChanged),
        MESSAGE_HANDLER(CM_VISIBLECHANGED, TRzToolButton::CMVisibleChanged),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TRzToolButton::CMEnabledChanged),
        MESSAGE_HANDLER(CM_TOOLBARSHOWCAPTIONCHANGED, TRzToolButton::CMToolbarShowCaptionChanged),
        MESSAGE_HANDLER(CM_TOOLBARBUTTONLAYOUTCHANGED, TRzToolButton::CMToolbarButtonLayoutChanged),
        MESSAGE_HANDLER(CM_TOOLBARBUTTONSIZECHANGED, TRzToolButton::CMToolbarButtonSizeChanged),
        MESSAGE_HANDLER(CM_TOOLBARVISUALSTYLECHANGED, TRzToolButton::CMToolbarVisualStyleChanged),
    });
    return table;
}

TRzToolButton::TRzToolButton(TComponent* owner)
    : TGraphicControl(owner), TickCount([] { return GetTickCount(); }) {
    controlStyle_ = TControlStyle{csCaptureMouse};
    TControl::SetBounds(Left(), Top(), 25, 25);
    SetColor(clBtnFace);
}

TRzToolButton::~TRzToolButton() {
    if (images_) images_->UnRegisterChanges(this);
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
}

TRzToolbar* TRzToolButton::Toolbar() const { return dynamic_cast<TRzToolbar*>(Parent()); }

TCustomImageList* TRzToolButton::PictureList() const {
    if (images_) return images_;
    const TRzToolbar* bar = Toolbar();
    return bar ? bar->Images() : nullptr;
}

bool TRzToolButton::IsSplitButton() const { return toolStyle_ == tsDropDown && (OnClick || Action()); }

bool TRzToolButton::IsDownStored() const {
    const auto* link = dynamic_cast<const TRzToolButtonActionLink*>(ActionLink());
    return !link || !link->IsCheckedLinked();
}

bool TRzToolButton::IsImageIndexStored() const {
    const auto* link = dynamic_cast<const TRzToolButtonActionLink*>(ActionLink());
    return !link || !link->IsImageIndexLinked();
}

bool TRzToolButton::IsSizeStored() const {
    const TRzToolbar* bar = Toolbar();
    return !(useToolbarButtonSize_ && bar && bar->ButtonWidth() == Width() && bar->ButtonHeight() == Height());
}

bool TRzToolButton::Active() const {
    return LooksPressed() || buttonState_ == bsDropped || Hovered() || ComponentState().Contains(csDesigning);
}

bool TRzToolButton::LooksPressed() const { return buttonState_ == bsDown || buttonState_ == bsExclusive; }

void TRzToolButton::DefineProperties(TFiler* filer) {
    TGraphicControl::DefineProperties(filer);
    filer->DefineProperty("GradientColorDefault", &TRzOldPropReader::ReadOldEnumProp, nullptr, false);
    filer->DefineProperty("ThemeAware", &TRzOldPropReader::ReadOldBooleanProp, nullptr, false);
    // A colour identifier (clBtnFace) or a number.
    const auto color = [](TReader& reader) {
        if (reader.NextValue() != vaIdent) return static_cast<TColor>(reader.ReadInteger());
        const AnsiString ident = reader.ReadIdent();
        std::int64_t value = 0;
        if (!ColorTypeInfo()->IdentToInt(ident, value)) throw EReadError("Invalid colour: " + ident);
        return static_cast<TColor>(value);
    };
    filer->DefineProperty("GradientColorStart", [this, color](TReader& r) { SetSelectionColorStart(color(r)); }, nullptr, false);
    filer->DefineProperty("GradientColorStop", [this, color](TReader& r) { SetSelectionColorStop(color(r)); }, nullptr, false);
    filer->DefineProperty("FrameColor", [this, color](TReader& r) { SetSelectionFrameColor(color(r)); }, nullptr, false);
    filer->DefineProperty("UseGradients", [this](TReader& r) {
        if (r.ReadBoolean()) SetVisualStyle(vsGradient);
    }, nullptr, false);
}

// ---- settings and the toolbar

void TRzToolButton::SetUseToolbar(bool& field, bool v, UINT message) {
    if (field == v) return;
    field = v;
    if (Parent() && !ComponentState().Contains(csReading)) Perform(message, 0, 0);
    Invalidate();
}

void TRzToolButton::ApplyToolbarStyles() {
    if (!Parent()) return;
    for (UINT m : {CM_TOOLBARSHOWCAPTIONCHANGED, CM_TOOLBARBUTTONLAYOUTCHANGED, CM_TOOLBARBUTTONSIZECHANGED,
                   CM_TOOLBARVISUALSTYLECHANGED})
        Perform(m, 0, 0);
}

void TRzToolButton::Loaded() {
    TGraphicControl::Loaded();
    ApplyToolbarStyles();
}

void TRzToolButton::SetParent(TWinControl* parent) {
    TGraphicControl::SetParent(parent);
    if (!ComponentState().Contains(csLoading)) ApplyToolbarStyles();
}

void TRzToolButton::CMToolbarShowCaptionChanged(TMessage&) {
    TRzToolbar* bar = Toolbar();
    if (!useToolbarShowCaption_ || !bar) return;
    SetShowCaption(bar->ShowButtonCaptions());
    useToolbarShowCaption_ = true;
}

void TRzToolButton::CMToolbarButtonLayoutChanged(TMessage&) {
    TRzToolbar* bar = Toolbar();
    if (!useToolbarButtonLayout_ || !bar) return;
    layout_ = bar->ButtonLayout();
    Invalidate();
}

void TRzToolButton::CMToolbarButtonSizeChanged(TMessage&) {
    TRzToolbar* bar = Toolbar();
    if (!useToolbarButtonSize_ || !bar) return;
    int width = bar->ButtonWidth();
    if (showCaption_) {
        const int text = FontTextExtent(*Font(), StripHotkey(Caption())).cx;
        const bool beside = layout_ == blGlyphLeft || layout_ == blGlyphRight;
        const int needed = beside ? GetPictureSize().x + text + 12 : text + 8;
        width = std::max(width, needed + (toolStyle_ == tsDropDown ? kArrowWidth : 0));
    }
    TControl::SetBounds(Left(), Top(), width, bar->ButtonHeight());
}

void TRzToolButton::CMToolbarVisualStyleChanged(TMessage&) {
    TRzToolbar* bar = Toolbar();
    if (!useToolbarVisualStyle_ || !bar) return;
    visualStyle_ = bar->VisualStyle();
    gradientColorStyle_ = bar->GradientColorStyle();
    Invalidate();
}

void TRzToolButton::SetLayout(TButtonLayout v) {
    if (!ComponentState().Contains(csReading)) useToolbarButtonLayout_ = false;
    Store(layout_, v);
}

void TRzToolButton::SetShowCaption(bool v) {
    useToolbarShowCaption_ = false;
    Store(showCaption_, v);
}

void TRzToolButton::SetVisualStyle(TRzVisualStyle v) {
    useToolbarVisualStyle_ = false;
    Store(visualStyle_, v);
}

void TRzToolButton::SetGradientColorStyle(TRzGradientColorStyle v) {
    useToolbarVisualStyle_ = false;
    Store(gradientColorStyle_, v);
}

void TRzToolButton::SetWidth(int v) {
    if (!ComponentState().Contains(csLoading)) useToolbarButtonSize_ = false;
    TControl::SetBounds(Left(), Top(), v, Height());
}

void TRzToolButton::SetHeight(int v) {
    if (!ComponentState().Contains(csLoading)) useToolbarButtonSize_ = false;
    TControl::SetBounds(Left(), Top(), Width(), v);
}

void TRzToolButton::SetToolStyle(TRzToolStyle v) {
    if (v == toolStyle_) return;
    toolStyle_ = v;
    SetGroupIndex(0);
    if (!ComponentState().Contains(csLoading))
        TControl::SetBounds(Left(), Top(), Width() + (v == tsDropDown ? kArrowWidth : -kArrowWidth), Height());
    Invalidate();
}

void TRzToolButton::SetFlat(bool v) {
    if (v == flat_) return;
    flat_ = v;
    Repaint();
}

void TRzToolButton::SetImages(TCustomImageList* list) {
    if (!ChangeImageList(*this, images_, list, [this](TObject*) { GrowToPictures(); })) return;
    GrowToPictures();
    Invalidate();
}

void TRzToolButton::GrowToPictures() {
    if (!images_) return;
    TControl::SetBounds(Left(), Top(), std::max(Width(), images_->Width()), std::max(Height(), images_->Height()));
    Invalidate();
}

void TRzToolButton::SetDropDownMenu(TPopupMenu* menu) {
    if (menu == dropDownMenu_) return;
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = menu;
    if (dropDownMenu_) dropDownMenu_->FreeNotification(this);
}

void TRzToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == dropDownMenu_) dropDownMenu_ = nullptr;
    if (component == images_) {
        images_ = nullptr;
        Invalidate();
    }
}

// A size or visibility change moves the buttons after it on the toolbar.
void TRzToolButton::TellToolbar() {
    if (TRzToolbar* bar = Toolbar()) bar->ControlChanged();
}

void TRzToolButton::BoundsChanged() {
    TGraphicControl::BoundsChanged();
    TellToolbar();
}

void TRzToolButton::CMVisibleChanged(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    TellToolbar();
}

void TRzToolButton::CMEnabledChanged(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    Invalidate();
}

void TRzToolButton::CMTextChanged(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    ApplyToolbarStyles();
    Invalidate();
}

// ---- groups

void TRzToolButton::BroadcastGroup() {
    if (!Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TRzToolButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_ || (down_ && !allowAllUp_)) return;
    down_ = v;
    if (v) {
        if (buttonState_ == bsUp) Invalidate();
        buttonState_ = bsExclusive;
        BroadcastGroup();
    } else {
        buttonState_ = bsUp;
        Repaint();
    }
}

void TRzToolButton::SetAllowAllUp(bool v) {
    if (v == allowAllUp_) return;
    allowAllUp_ = v;
    BroadcastGroup();
}

void TRzToolButton::SetGroupIndex(int v) {
    if (toolStyle_ == tsDropDown) v = 0;
    if (v == groupIndex_) return;
    groupIndex_ = v;
    BroadcastGroup();
}

void TRzToolButton::CMButtonPressed(TMessage& m) {
    if (!ReleasedByGroupPress(*this, m, down_, allowAllUp_)) return;
    buttonState_ = bsUp;
    Invalidate();
}

// ---- mouse

bool TRzToolButton::OnArrowPart(int x) const {
    return UseRightToLeftAlignment() ? x < kArrowWidth + 1 : x >= Width() - kArrowWidth;
}

void TRzToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    const bool alone = shift == TShiftState{ssLeft};
    if (toolStyle_ == tsDropDown && dropDownMenu_ && alone && (OnArrowPart(x) || !IsSplitButton())) {
        if (dropTime_ != 0 && TickCount() - dropTime_ < kDropTime) {
            // The press that closed the menu: it must not open it again.
            treatAsNormal_ = true;
            dropTime_ = 0;
            if (GetCaptureControl() == this) SetCaptureControl(nullptr);
        } else {
            buttonState_ = bsDropped;
            Repaint();
            DropDown();
            treatAsNormal_ = false;
            dropTime_ = TickCount();
            if (dropTime_ == 0) dropTime_ = 1;  // 0 means no menu closed
        }
        MouseUp(button, shift, x, y);
        return;
    }
    if (toolStyle_ == tsDropDown && !treatAsNormal_) {
        treatAsNormal_ = true;
        return;
    }
    const bool showPressed = toolStyle_ == tsDropDown ? !down_ : !down_ || buttonState_ == bsExclusive;
    if (showPressed) {
        buttonState_ = bsDown;
        Invalidate();
    }
    tracking_ = true;
}

void TRzToolButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (tracking_) {
        const std::uint8_t state = down_ ? bsExclusive : ClientRect().Contains(TPoint(x, y)) ? bsDown : bsUp;
        if (state != buttonState_) {
            buttonState_ = state;
            Invalidate();
        }
    } else if (!pointerInside_) {
        RefreshHover();
    }
}

void TRzToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (tracking_) {
        tracking_ = false;
        const bool inside = ClientRect().Contains(TPoint(x, y));
        bool click = inside;
        if (groupIndex_ == 0) {
            buttonState_ = bsUp;
            pointerInside_ = false;
            if (inside) Repaint();
        } else if (inside) {
            const bool was = down_;
            SetDown(!down_);
            if (down_) {
                buttonState_ = bsExclusive;
                Repaint();
            }
            click = down_ != was;
        } else {
            if (down_) buttonState_ = bsExclusive;
            Repaint();
        }
        if (click) Click();
        RefreshHover();
    }
    if (toolStyle_ == tsDropDown) {
        if (!ClientRect().Contains(TPoint(x, y))) treatAsNormal_ = true;
        buttonState_ = bsUp;
        Repaint();
        RefreshHover();
    }
}

void TRzToolButton::Click() {
    if (toolStyle_ == tsDropDown && !treatAsNormal_) return;
    TGraphicControl::Click();
}

bool TRzToolButton::UnderCursor() const { return Screen && Mouse && Screen->ControlAtPos(Mouse->CursorPos()) == this; }

void TRzToolButton::RefreshHover() {
    if (!FlatLooking() || !Enabled()) return;
    Perform(UnderCursor() ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

void TRzToolButton::WMCancelMode(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    // The press was taken away (a modal window, a drag): the release that follows clicks nothing.
    if (!tracking_) return;
    tracking_ = false;
    buttonState_ = down_ ? bsExclusive : bsUp;
    Invalidate();
}

void TRzToolButton::CMMouseEnter(TMessage& m) {
    if (ComponentState().Contains(csDesigning)) return;
    pointerInside_ = true;
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    if (FlatLooking()) Repaint();
}

void TRzToolButton::CMMouseLeave(TMessage& m) {
    if (ComponentState().Contains(csDesigning)) return;
    if (!inDropDown_) pointerInside_ = false;
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    if (FlatLooking()) Repaint();
}

void TRzToolButton::CMDialogChar(TMessage& m) {
    const bool ready = Enabled() && Visible() && Parent() && Parent()->IsShowing();
    if (!ready || !IsAccel(static_cast<WORD>(m.WParam), Caption())) {
        InheritedMessage(TGraphicControl::ClassMessages(), m);
        return;
    }
    if (toolStyle_ == tsButton || IsSplitButton()) Click();
    else DropDown();
    m.Result = 1;
}

// ---- the drop-down menu

void TRzToolButton::DropDown() {
    if (!dropDownMenu_ || !Parent()) return;
    FlagScope dropping(inDropDown_);
    if (OnDropDown) OnDropDown(dropDownMenu_);
    if (!dropDownMenu_) return;  // the handler may have freed it
    const bool rtl = UseRightToLeftAlignment();
    TPoint p = Parent()->ClientToScreen(TPoint(rtl ? Left() + Width() : Left(), Top() + Height()));
    HMONITOR monitor = MonitorAtPoint(p);
    const TRect work = monitor ? MonitorWorkArea(monitor) : MonitorWorkAreaOfWindow(Parent());
    p.x = DropDownMenuLeft(p.x, Width(), MenuWidth(*dropDownMenu_), work.right);
    dropDownMenu_->SetPopupComponent(this);
    dropDownMenu_->Popup(p.x, p.y);
}

// ---- actions

void TRzToolButton::ActionChange(TObject* sender, bool checkDefaults) {
    TGraphicControl::ActionChange(sender, checkDefaults);
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || !down_) SetDown(action->Checked());
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action->ImageIndex());
}

void TRzToolButton::AssignTo(TPersistent* dest) const {
    auto* action = dynamic_cast<TCustomAction*>(dest);
    if (!action) {
        TGraphicControl::AssignTo(dest);
        return;
    }
    action->SetCaption(Caption());
    action->SetEnabled(Enabled());
    action->SetHint(Hint());
    action->SetVisible(Visible());
    action->SetChecked(down_);
    action->SetImageIndex(imageIndex_);
}

TControlActionLinkClass TRzToolButton::GetActionLinkClass() const {
    return [](TControl* client) -> std::unique_ptr<TControlActionLink> {
        return std::make_unique<TRzToolButtonActionLink>(static_cast<TRzToolButton*>(client));
    };
}

bool TRzToolButtonActionLink::IsCheckedLinked() const {
    return TControlActionLink::IsCheckedLinked() && Button()->Down() == CustomAction()->Checked();
}

bool TRzToolButtonActionLink::IsImageIndexLinked() const {
    return TControlActionLink::IsImageIndexLinked() && Button()->ImageIndex() == CustomAction()->ImageIndex();
}

void TRzToolButtonActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) Button()->SetDown(value);
}

void TRzToolButtonActionLink::SetImageIndex(int value) {
    if (IsImageIndexLinked()) Button()->SetImageIndex(value);
}
