// The styled combo box: properties, colour and hot states, focus, values.
#include "controls/styled/RzComboBox.h"

#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsThemes.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinString.h"

const TMetaClass& TRzCustomComboBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomComboBox>("TRzCustomComboBox", &TCustomComboBox::StaticClass());
    return meta;
}

const TMessageTable& TRzCustomComboBox::ClassMessages() {
    static const TMessageTable table(&TCustomComboBox::ClassMessages(), {
        MESSAGE_HANDLER(CM_COLORCHANGED, TRzCustomComboBox::CMColorChanged),
        MESSAGE_HANDLER(CM_PARENTCOLORCHANGED, TRzCustomComboBox::CMParentColorChanged),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TRzCustomComboBox::CMEnabledChanged),
        MESSAGE_HANDLER(CM_ENTER, TRzCustomComboBox::CMEnter),
        MESSAGE_HANDLER(CM_EXIT, TRzCustomComboBox::CMExit),
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzCustomComboBox::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzCustomComboBox::CMMouseLeave),
        MESSAGE_HANDLER(WM_SETTEXT, TRzCustomComboBox::WMSetText),
        MESSAGE_HANDLER(WM_SYSKEYDOWN, TRzCustomComboBox::WMSysKeyDown),
        MESSAGE_HANDLER(WM_MOUSEWHEEL, TRzCustomComboBox::WMMouseWheel),
        MESSAGE_HANDLER(WM_LBUTTONDOWN, TRzCustomComboBox::WMLButtonDown),
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, TRzCustomComboBox::WMLButtonDown),
        MESSAGE_HANDLER(CN_COMMAND, TRzCustomComboBox::CNCommand),
        MESSAGE_HANDLER(CN_DRAWITEM, TRzCustomComboBox::CNDrawItem),
        MESSAGE_HANDLER(CN_PAINTOVER, TRzCustomComboBox::CNPaintOver),
    });
    return table;
}

TRzCustomComboBox::TRzCustomComboBox(TComponent* owner) : TCustomComboBox(owner) {
    controlStyle_ >> csSetCaption;
    SetParentColor(false);
    SetColor(clWindow);
    restColor_ = clWindow;
}

TRzCustomComboBox::~TRzCustomComboBox() { SetFrameController(nullptr); }

void TRzCustomComboBox::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == frameController_) frameController_ = nullptr;
}

void TRzCustomComboBox::DefineProperties(TFiler* filer) {
    TCustomComboBox::DefineProperties(filer);
    DefineRetiredFrameProperties(
        *filer,
        [this](bool flat) {
            SetFrameHotTrack(flat);
            if (flat) {
                SetFrameStyle(fsStatus);
                SetFrameHotStyle(fsLowered);
            }
        },
        [this](TFrameStyle style) { SetFrameHotStyle(style); });
}

void TRzCustomComboBox::Loaded() {
    TCustomComboBox::Loaded();
    UpdateColors();
}

void TRzCustomComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) {
        p->SetEditReadOnly(readOnly_);
        p->SetPaintOver(true);
    }
    UpdateTextHint();
}

// ---- colours

void TRzCustomComboBox::UpdateColors() {
    if (Loading()) return;
    colorUpdating_ = true;
    try {
        if (!Enabled()) SetColor(disabledColor_);
        else if (hasFocus_) SetColor(readOnly_ && readOnlyColorOnFocus_ ? readOnlyColor_ : focusColor_);
        else if (readOnly_) SetColor(readOnlyColor_);
        else SetColor(restColor_);
    } catch (...) {
        colorUpdating_ = false;
        throw;
    }
    colorUpdating_ = false;
}

// A colour set from outside becomes the colour at rest; a focus colour that was the same follows.
void TRzCustomComboBox::ColorChanged() {
    if (colorUpdating_) return;
    if (focusColor_ == restColor_) focusColor_ = Color();
    restColor_ = Color();
}

void TRzCustomComboBox::CMColorChanged(TMessage& m) {
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
    ColorChanged();
}

void TRzCustomComboBox::CMParentColorChanged(TMessage& m) {
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
    if (ParentColor()) ColorChanged();
}

void TRzCustomComboBox::CMEnabledChanged(TMessage& m) {
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
    UpdateColors();
}

void TRzCustomComboBox::SetDisabledColor(TColor v) {
    disabledColor_ = v;
    if (!Enabled()) UpdateColors();
}

void TRzCustomComboBox::SetFocusColor(TColor v) {
    focusColor_ = v;
    if (hasFocus_) UpdateColors();
}

void TRzCustomComboBox::SetReadOnlyColor(TColor v) {
    readOnlyColor_ = v;
    if (readOnly_) UpdateColors();
}

void TRzCustomComboBox::SetReadOnlyColorOnFocus(bool v) {
    readOnlyColorOnFocus_ = v;
    if (readOnly_ && hasFocus_) UpdateColors();
}

void TRzCustomComboBox::SetReadOnly(bool v) {
    if (v == readOnly_) return;
    readOnly_ = v;
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) p->SetEditReadOnly(v);
    UpdateColors();
    Invalidate();
}

void TRzCustomComboBox::SetTextHint(const WideString& v) {
    if (v == textHint_) return;
    textHint_ = v;
    if (!Loading()) UpdateTextHint();
}

void TRzCustomComboBox::UpdateTextHint() {
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) p->SetCueText(textHint_);
}

// ---- frame

bool TRzCustomComboBox::UseThemeFrame() const {
    return framingPreference_ == fpXPThemes && ThemeServices()->ThemesEnabled();
}

void TRzCustomComboBox::SetFrameHotTrack(bool v) {
    if (v == frameHotTrack_) return;
    frameHotTrack_ = v;
    if (v) {
        frameVisible_ = true;
        if (!Loading()) frameSides_ = sdAllSides;
    }
    Invalidate();
}

void TRzCustomComboBox::SetFrameVisible(bool v) {
    if (v == frameVisible_) return;
    frameVisible_ = v;
    Invalidate();
}

void TRzCustomComboBox::SetFramingPreference(TFramingPreference v) {
    if (v == framingPreference_) return;
    framingPreference_ = v;
    if (v == fpCustomFraming) Invalidate();
}

void TRzCustomComboBox::UpdateHotState(bool over, bool value) {
    (over ? pointerOver_ : focusInside_) = value;
    if ((flatButtons_ || frameHotTrack_) && !DroppedDown()) Invalidate();
    UpdateColors();
}

void TRzCustomComboBox::CMMouseEnter(TMessage& m) {
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
    if (!ComponentState().Contains(csDesigning)) UpdateHotState(true, true);
}

void TRzCustomComboBox::CMMouseLeave(TMessage& m) {
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
    UpdateHotState(true, false);
}

// ---- focus

void TRzCustomComboBox::CMEnter(TMessage& m) {
    hasFocus_ = true;
    UpdateHotState(false, true);
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
}

void TRzCustomComboBox::CMExit(TMessage& m) {
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
    hasFocus_ = false;
    model_.SearchText.clear();
    pendingHigh_ = 0;
    UpdateHotState(false, false);
    if (Style() == csDropDown && !Text().empty() && IndexOfText(Text()) < 0 && OnNotInList) OnNotInList(this);
}

// ---- items

int TRzCustomComboBox::IndexOfText(const WideString& text) const {
    for (int i = 0; i < Items()->Count(); ++i)
        if (WideSameText(Utf8ToUtf16(Items()->Get(i)), text)) return i;
    return -1;
}

int TRzCustomComboBox::FindItem(const WideString& text) const {
    TRzComboTextModel probe;
    for (int i = 0; i < Items()->Count(); ++i) probe.Items.push_back(Utf8ToUtf16(Items()->Get(i)));
    return probe.FindItem(text);
}

void TRzCustomComboBox::ItemDeleting(int, TObject* object) { DeleteItem(object); }

void TRzCustomComboBox::DeleteItem(void* data) {
    if (OnDeleteItem) OnDeleteItem(this, data);
}

void TRzCustomComboBox::SetTextQuietly(const WideString& value) {
    if (value == Text()) return;
    autoComplete_ = false;
    try {
        SetText(value);
    } catch (...) {
        autoComplete_ = true;
        throw;
    }
    autoComplete_ = true;
}

// The widest item decides the list's width, unless DropDownWidth sets it.
void TRzCustomComboBox::DropDown() {
    TCustomComboBox::DropDown();
    std::vector<int> widths;
    if (dropDownWidth_ <= 0) {
        TBitmap measure(1, 1);
        measure.Canvas()->Font()->Assign(Font());
        for (int i = 0; i < Items()->Count(); ++i) widths.push_back(measure.Canvas()->TextWidth(Utf8ToUtf16(Items()->Get(i))));
    }
    constexpr int kScrollBarWidth = 16;
    actualDropDownWidth_ = ComboDropDownWidth(widths, dropDownWidth_, Width(), DropDownCount(), kScrollBarWidth);
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) p->SetDroppedWidth(actualDropDownWidth_);
}

void TRzCustomComboBox::CNCommand(TMessage& m) {
    const WORD code = HIWORD(m.WParam);
    if (code == CBN_SELENDOK) {
        suppressTextMatch_ = true;
        if (OnSelEndOk) OnSelEndOk(this);
        return;
    }
    if (code == CBN_SELENDCANCEL) {
        if (OnSelEndCancel) OnSelEndCancel(this);
        return;
    }
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
    if (code == CBN_CLOSEUP) Invalidate();
    if (code == CBN_EDITCHANGE && pasteSeen_) {
        // A paste or cut through the widget: complete what is now in the field.
        pasteSeen_ = false;
        if (allowEdit_ && autoComplete_) MatchOutsideText();
    }
}

// ---- TRzComboBox

const TMetaClass& TRzComboBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzComboBox>("TRzComboBox", &TRzCustomComboBox::StaticClass(), [](TClassBuilder<TRzComboBox>& b) {
        using C = TRzComboBox;
        b.Property("Style", &C::Style, &C::SetStyle).Default(csDropDown);
        b.Property("DropDownCount", &C::DropDownCount, &C::SetDropDownCount).Default(8);
        b.Property("ItemHeight", &C::ItemHeight, &C::SetItemHeight).Default(16);
        b.Property("MaxLength", &C::MaxLength, &C::SetMaxLength).Default(0);
        b.Property("Sorted", &C::Sorted, &C::SetSorted).Default(false);
        b.Property("Text", &C::Text, &C::SetText);
        b.Property("Items", &C::Items, &C::SetItems);
        b.Property("ItemIndex", &C::ItemIndex, &C::SetItemIndex).Default(-1);
        b.Property("Values", &C::Values, &C::SetValues);
        b.Property("AllowEdit", &C::AllowEdit, &C::SetAllowEdit).Default(true);
        b.Property("AutoComplete", &C::AutoComplete, &C::SetAutoComplete).Default(true);
        b.Property("AutoCloseUp", &C::AutoCloseUp, &C::SetAutoCloseUp).Default(false);
        b.Property("AutoDropDown", &C::AutoDropDown, &C::SetAutoDropDown).Default(false);
        b.Property("BeepOnInvalidKey", &C::BeepOnInvalidKey, &C::SetBeepOnInvalidKey).Default(true);
        b.Property("KeepSearchCase", &C::KeepSearchCase, &C::SetKeepSearchCase).Default(false);
        b.Property("DropDownWidth", &C::DropDownWidth, &C::SetDropDownWidth).Default(0);
        b.Property("ReadOnly", &C::ReadOnly, &C::SetReadOnly).Default(false);
        b.Property("TabOnEnter", &C::TabOnEnter, &C::SetTabOnEnter).Default(false);
        b.Property("TextHint", &C::TextHint, &C::SetTextHint).Default(u"");
        RegisterComboFrameProperties(b);
        RegisterComboEvents(b);
        b.Event("OnMeasureItem", static_cast<TMeasureItemEvent C::*>(&C::OnMeasureItem));
        b.Event("OnMatch", static_cast<TNotifyEvent C::*>(&C::OnMatch));
        b.Event("OnNotInList", static_cast<TNotifyEvent C::*>(&C::OnNotInList));
    });
    return meta;
}

TRzComboBox::TRzComboBox(TComponent* owner) : TRzCustomComboBox(owner), values_(std::make_unique<TStringList>()) {
    values_->OnChange = [this](TObject*) { ValuesChanged(); };
}

void TRzComboBox::SetValues(TStrings* values) { values_->Assign(values); }

WideString TRzComboBox::GetItemValue(int index) const {
    // Only the one entry is read: a lookup over every item stays linear.
    if (index < 0 || index >= Items()->Count()) return WideString();
    if (index < values_->Count()) {
        const AnsiString value = values_->Get(index);
        if (!value.empty()) return Utf8ToUtf16(value);
    }
    return Utf8ToUtf16(Items()->Get(index));
}

WideString TRzComboBox::GetComboValue() const {
    const WideString text = Text();
    int index = -1;
    if (ListStyle()) index = ItemIndex();
    else if (!text.empty()) index = Items()->IndexOf(Utf16ToUtf8(text));
    if (index >= 0 && index < values_->Count() && !values_->Get(index).empty()) return Utf8ToUtf16(values_->Get(index));
    return text;
}

void TRzComboBox::SetComboValue(const WideString& value) {
    if (value == currentValue_ && !forceValue_) return;
    settingValue_ = true;
    try {
        int found = -1;
        const AnsiString wanted = Utf16ToUtf8(value);
        const int count = Items()->Count();
        for (int i = 0; i < count && found < 0; ++i) {
            const bool ownValue = i < values_->Count() && !values_->Get(i).empty();
            if ((ownValue ? values_->Get(i) : Items()->Get(i)) == wanted) found = i;
        }
        // Choosing the chosen item again would replace a completed text's typed case.
        if (found != ItemIndex()) SetItemIndex(found);
        currentValue_ = value;
    } catch (...) {
        settingValue_ = false;
        throw;
    }
    settingValue_ = false;
}

void TRzComboBox::Change() {
    if (settingValue_ || forceValue_) return;
    TRzCustomComboBox::Change();
    if (ItemIndex() >= 0) SetComboValue(GetItemValue(ItemIndex()));
}

void TRzComboBox::Click() {
    if (settingValue_) return;
    TRzCustomComboBox::Click();
    if (ItemIndex() >= 0) SetComboValue(GetItemValue(ItemIndex()));
}

void TRzComboBox::ValuesChanged() {
    if (forceValue_) SetComboValue(GetComboValue());
}
