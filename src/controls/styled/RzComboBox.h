// The styled combo box: colours that follow the state (focused, read-only, disabled), a
// custom frame with hot tracking and flat drop-down button drawn over the widget, incremental
// search in the list styles and completion in the edit (both through TRzComboTextModel), an
// automatic drop-down width, wheel stepping, a cue text and owner-drawn items with a focus
// border. TRzComboBox adds Values, a stored value for each item.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/RzComboTextModel.h"
#include "controls/styled/RzFrameController.h"
#include "controls/styled/StyledTypes.h"
#include "platform/vcl/StdCtrls.h"

using TRzDeleteComboItemEvent = std::function<void(TObject* sender, void* data)>;

class TRzCustomComboBox : public TCustomComboBox {
    QUILLORA_COMPONENT(TRzCustomComboBox)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomComboBox(TComponent* owner);
    ~TRzCustomComboBox() override;

    bool AllowEdit() const { return allowEdit_; }
    void SetAllowEdit(bool v) { allowEdit_ = v; }
    bool AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(bool v) { autoComplete_ = v; }
    bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
    void SetBeepOnInvalidKey(bool v) { beepOnInvalidKey_ = v; }
    bool KeepSearchCase() const { return keepSearchCase_; }
    void SetKeepSearchCase(bool v) { keepSearchCase_ = v; }
    bool AutoDropDown() const { return autoDropDown_; }
    void SetAutoDropDown(bool v) { autoDropDown_ = v; }
    bool AutoCloseUp() const { return autoCloseUp_; }
    void SetAutoCloseUp(bool v) { autoCloseUp_ = v; }
    int DropDownWidth() const { return dropDownWidth_; }
    void SetDropDownWidth(int v) { dropDownWidth_ = v; }
    int ActualDropDownWidth() const { return actualDropDownWidth_; }
    bool ReadOnly() const { return readOnly_; }
    virtual void SetReadOnly(bool v);
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
    const WideString& TextHint() const { return textHint_; }
    void SetTextHint(const WideString& v);
    bool ShowFocusBorder() const { return showFocusBorder_; }
    void SetShowFocusBorder(bool v) { showFocusBorder_ = v; }

    TColor DisabledColor() const { return disabledColor_; }
    virtual void SetDisabledColor(TColor v);
    TColor FocusColor() const { return focusColor_; }
    virtual void SetFocusColor(TColor v);
    TColor ReadOnlyColor() const { return readOnlyColor_; }
    virtual void SetReadOnlyColor(TColor v);
    bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
    void SetReadOnlyColorOnFocus(bool v);
    TColor RestColor() const { return restColor_; }
    bool FlatButtons() const { return flatButtons_; }
    virtual void SetFlatButtons(bool v) { StoreFrame(flatButtons_, v); }
    TColor FlatButtonColor() const { return flatButtonColor_; }
    virtual void SetFlatButtonColor(TColor v) { StoreFrame(flatButtonColor_, v); }

    TColor FrameColor() const { return frameColor_; }
    virtual void SetFrameColor(TColor v) { StoreFrame(frameColor_, v); }
    TColor FrameHotColor() const { return frameHotColor_; }
    virtual void SetFrameHotColor(TColor v) { StoreFrame(frameHotColor_, v); }
    TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
    virtual void SetFrameHotStyle(TFrameStyle v) { StoreFrame(frameHotStyle_, v); }
    TFrameStyle FrameStyle() const { return frameStyle_; }
    virtual void SetFrameStyle(TFrameStyle v) { StoreFrame(frameStyle_, v); }
    TSides FrameSides() const { return frameSides_; }
    virtual void SetFrameSides(TSides v) { StoreFrame(frameSides_, v); }
    bool FrameHotTrack() const { return frameHotTrack_; }
    virtual void SetFrameHotTrack(bool v);
    bool FrameVisible() const { return frameVisible_; }
    virtual void SetFrameVisible(bool v);
    TFramingPreference FramingPreference() const { return framingPreference_; }
    virtual void SetFramingPreference(TFramingPreference v);
    TRzFrameController* FrameController() const { return frameController_; }
    virtual void SetFrameController(TRzFrameController* v) { LinkFrameController(*this, frameController_, v); }
    TRzFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
    void SetFrameControllerNotifications(TRzFrameControllerNotifications v) { notifications_ = v; }

    // The visual theme draws the frame (then no custom frame is painted).
    virtual bool UseThemeFrame() const;
    // Whether the custom frame shows, and in which colour and style now.
    bool DrawsCustomFrame() const { return frameVisible_ && !UseThemeFrame(); }
    TColor CurrentFrameColor() const { return Hot() && frameHotTrack_ ? frameHotColor_ : frameColor_; }
    TFrameStyle CurrentFrameStyle() const { return Hot() && frameHotTrack_ ? frameHotStyle_ : frameStyle_; }
    // The drop-down button's strip (left in a right-to-left context).
    TRect DropButtonRect() const;

    const WideString& SearchText() const { return model_.SearchText; }
    bool FocusInside() const { return focusInside_; }
    bool PointerOver() const { return pointerOver_; }
    // The focus lies on the inner edit; the control counts as focused meanwhile.
    bool HasFocus() const { return hasFocus_; }

    // Sets the text without completing it.
    virtual void SetTextQuietly(const WideString& value);
    // The item whose whole text is text, ignoring case; -1 when none.
    virtual int IndexOfText(const WideString& text) const;
    // The first item that begins with text, ignoring case; -1 when none.
    virtual int FindItem(const WideString& text) const;

    // The clock of the incremental search, in milliseconds; tests replace it.
    std::function<std::int64_t()> Clock;

    TNotifyEvent OnMatch;
    TNotifyEvent OnNotInList;
    TNotifyEvent OnSelEndOk;
    TNotifyEvent OnSelEndCancel;
    TRzDeleteComboItemEvent OnDeleteItem;

    void DefineProperties(TFiler* filer) override;
    void Notification(TComponent* component, TOperation operation) override;
    bool IsColorStored() const { return Enabled() && !ControllerSupplies(fcpColor); }
    bool IsFocusColorStored() const { return ColorToRGB(focusColor_) != ColorToRGB(Color()) && !ControllerSupplies(fcpFocusColor); }
    bool ControllerSupplies(TRzFrameControllerProperty p) const {
        return frameController_ != nullptr && notifications_.Contains(p);
    }

protected:
    virtual void UpdateColors();
    virtual void UpdateHotState(bool over, bool value);
    virtual void InvalidKeyPressed();
    // The item's data is about to go; the base fires OnDeleteItem.
    virtual void DeleteItem(void* data);
    virtual void UpdateTextHint();
    // Draws after the widget painted itself: the custom frame, the flat button.
    virtual void PaintOver(TCanvas& canvas);

    void Loaded() override;
    void CreateWnd() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(WideChar& key) override;
    void DropDown() override;
    void ItemDeleting(int index, TObject* object) override;
    bool Hot() const { return focusInside_ || pointerOver_; }
    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool ListStyle() const { return Style() != csDropDown && Style() != csSimple; }
    TRzComboTextModel& Model() { return model_; }

    void CMColorChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void WMSetText(TMessage& m);
    void WMSysKeyDown(TMessage& m);
    void WMMouseWheel(TMessage& m);
    void WMLButtonDown(TMessage& m);
    void CNCommand(TMessage& m);
    void CNDrawItem(TMessage& m);
    void CNPaintOver(TMessage& m);

private:
    template <class T>
    void StoreFrame(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    void ColorChanged();
    // Copies the control's items, index, text and selection into the model.
    void LoadModel();
    // Shows what a model step did and fires the events it calls for.
    void ApplyModel(const TRzComboEffects& fx, int oldIndex);
    bool TakeCharacter(WideChar& key, char32_t& c);
    void ListKeyPress(WideChar& key);
    void EditKeyPress(WideChar& key);
    void EditBackspace();
    void MatchOutsideText();
    void PaintFrame(TCanvas& canvas);
    void PaintFlatButton(TCanvas& canvas);

    TRzComboTextModel model_;
    char16_t pendingHigh_ = 0;  // the first half of a surrogate pair
    bool allowEdit_ = true, autoComplete_ = true, beepOnInvalidKey_ = true, keepSearchCase_ = false;
    bool autoDropDown_ = false, autoCloseUp_ = false;
    int dropDownWidth_ = 0, actualDropDownWidth_ = 0;
    bool readOnly_ = false, tabOnEnter_ = false, showFocusBorder_ = true;
    WideString textHint_;
    TColor disabledColor_ = clBtnFace, focusColor_ = clWindow, readOnlyColor_ = clInfoBk, restColor_ = clWindow;
    bool readOnlyColorOnFocus_ = false;
    bool flatButtons_ = false;
    TColor flatButtonColor_ = clBtnFace;
    TColor frameColor_ = clBtnShadow, frameHotColor_ = clBtnShadow;
    TFrameStyle frameHotStyle_ = fsFlatBold, frameStyle_ = fsFlat;
    TSides frameSides_ = sdAllSides;
    bool frameHotTrack_ = false, frameVisible_ = false;
    TFramingPreference framingPreference_ = fpXPThemes;
    TRzFrameController* frameController_ = nullptr;
    TRzFrameControllerNotifications notifications_ = fccAll;
    bool suppressTextMatch_ = false, enterSeen_ = false, pasteSeen_ = false;
    bool hasFocus_ = false, focusInside_ = false, pointerOver_ = false;
    bool colorUpdating_ = false;
};

class TRzComboBox : public TRzCustomComboBox {
    QUILLORA_COMPONENT(TRzComboBox)
public:
    explicit TRzComboBox(TComponent* owner);

    TStrings* Values() const { return values_.get(); }
    void SetValues(TStrings* values);
    // The value stored for item index: its entry in Values, else its text.
    virtual WideString GetItemValue(int index) const;
    // The value of the current choice (the text where it names no item).
    virtual WideString GetComboValue() const;
    // Selects the first item whose value is value (none when no item has it).
    virtual void SetComboValue(const WideString& value);
    const WideString& Value() const { return currentValue_; }
    bool ForceValue() const { return forceValue_; }
    void SetForceValue(bool v) { forceValue_ = v; }

protected:
    void Change() override;
    void Click() override;
    virtual void ValuesChanged();

private:
    std::unique_ptr<TStringList> values_;
    WideString currentValue_;
    bool settingValue_ = false, forceValue_ = false;
};

// The colour and frame properties both styled combo boxes publish.
template <class C>
void RegisterComboFrameProperties(TClassBuilder<C>& b) {
    b.Property("Color", &C::Color, &C::SetColor).Default(clWindow).Type(ColorTypeInfo())
        .Stored([](const TObject& o) { return static_cast<const C&>(o).IsColorStored(); });
    b.Property("FocusColor", &C::FocusColor, &C::SetFocusColor).Default(clWindow).Type(ColorTypeInfo())
        .Stored([](const TObject& o) { return static_cast<const C&>(o).IsFocusColorStored(); });
    b.Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor).Default(clBtnFace).Type(ColorTypeInfo());
    b.Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor).Default(clInfoBk).Type(ColorTypeInfo());
    b.Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus).Default(false);
    b.Property("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor).Default(clBtnFace).Type(ColorTypeInfo());
    b.Property("FlatButtons", &C::FlatButtons, &C::SetFlatButtons).Default(false);
    b.Property("FrameColor", &C::FrameColor, &C::SetFrameColor).Default(clBtnShadow).Type(ColorTypeInfo());
    b.Property("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor).Default(clBtnShadow).Type(ColorTypeInfo());
    b.Property("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack).Default(false);
    b.Property("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle).Default(fsFlatBold);
    b.Property("FrameSides", &C::FrameSides, &C::SetFrameSides).Default(sdAllSides);
    b.Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle).Default(fsFlat);
    b.Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible).Default(false);
    b.Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference).Default(fpXPThemes);
    b.Property("FrameController", &C::FrameController, &C::SetFrameController);
    b.Property("FrameControllerNotifications", &C::FrameControllerNotifications, &C::SetFrameControllerNotifications)
        .Default(fccAll);
}

// The events both styled combo boxes publish.
template <class C>
void RegisterComboEvents(TClassBuilder<C>& b) {
    b.Event("OnChange", static_cast<TNotifyEvent C::*>(&C::OnChange));
    b.Event("OnSelect", static_cast<TNotifyEvent C::*>(&C::OnSelect));
    b.Event("OnDropDown", static_cast<TNotifyEvent C::*>(&C::OnDropDown));
    b.Event("OnCloseUp", static_cast<TNotifyEvent C::*>(&C::OnCloseUp));
    b.Event("OnDrawItem", static_cast<TDrawItemEvent C::*>(&C::OnDrawItem));
    b.Event("OnSelEndOk", static_cast<TNotifyEvent C::*>(&C::OnSelEndOk));
    b.Event("OnSelEndCancel", static_cast<TNotifyEvent C::*>(&C::OnSelEndCancel));
}

// Makes TRzComboBox and TRzImageComboBox known to form files.
void RegisterStyledCombos();
