// The framed edit: a single-line edit whose colour follows its state (focused, disabled,
// read-only), with a hot-tracked frame, a text hint, Enter as Tab and an optional drop button.
#pragma once

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/RzFrameController.h"
#include "controls/styled/StyledTypes.h"
#include "platform/vcl/StdCtrls.h"

enum TRzDropButtonState { dbsUp, dbsDisabled, dbsDown, dbsExclusive };

// A validation failure of an edit's text.
QUILLORA_EXCEPTION_CLASS(EDBEditError, Exception);
using TRzValidateErrorEvent = std::function<void(TObject* sender, WideString& message)>;

class TRzCustomEdit : public TCustomEdit {
    QUILLORA_COMPONENT(TRzCustomEdit)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomEdit(TComponent* owner);
    ~TRzCustomEdit() override;

    WideString GetText() const { return Text(); }
    void SetText(const WideString& text) { TControl::SetText(text); }

    TColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(TColor v);
    TColor FocusColor() const { return focusColor_; }
    void SetFocusColor(TColor v);
    TColor ReadOnlyColor() const { return readOnlyColor_; }
    void SetReadOnlyColor(TColor v);
    bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
    void SetReadOnlyColorOnFocus(bool v) { readOnlyColorOnFocus_ = v; }
    bool ReadOnly() const { return TCustomEdit::ReadOnly(); }
    void SetReadOnly(bool v);
    TColor NormalColor() const { return normalColor_; }

    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor v) { StoreFrame(frameColor_, v); }
    TColor FrameHotColor() const { return frameHotColor_; }
    void SetFrameHotColor(TColor v) { StoreFrame(frameHotColor_, v); }
    TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
    void SetFrameHotStyle(TFrameStyle v) { StoreFrame(frameHotStyle_, v); }
    TFrameStyle FrameStyle() const { return frameStyle_; }
    void SetFrameStyle(TFrameStyle v) { StoreFrame(frameStyle_, v); }
    TSides FrameSides() const { return frameSides_; }
    void SetFrameSides(TSides v) { StoreFrame(frameSides_, v); }
    bool FrameHotTrack() const { return frameHotTrack_; }
    void SetFrameHotTrack(bool v);
    bool FrameVisible() const { return frameVisible_; }
    void SetFrameVisible(bool v);
    TFramingPreference FramingPreference() const { return framingPreference_; }
    void SetFramingPreference(TFramingPreference v);
    // The custom frame is left to the visual theme when it is on and preferred.
    bool UseThemes() const;
    // Whether the custom frame is drawn, and in which colour and style now.
    bool DrawsCustomFrame() const { return frameVisible_ && !UseThemes(); }
    TColor CurrentFrameColor() const { return Hot() ? frameHotColor_ : frameColor_; }
    TFrameStyle CurrentFrameStyle() const { return Hot() ? frameHotStyle_ : frameStyle_; }

    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
    bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
    void SetBeepOnInvalidKey(bool v) { beepOnInvalidKey_ = v; }
    const WideString& TextHint() const { return textHint_; }
    void SetTextHint(const WideString& v) { textHint_ = v; }
    bool TextHintVisibleOnFocus() const { return textHintVisibleOnFocus_; }
    void SetTextHintVisibleOnFocus(bool v) { textHintVisibleOnFocus_ = v; }

    bool DropButtonVisible() const { return dropButtonVisible_; }
    void SetDropButtonVisible(bool v);
    bool ShowDropButton() const { return showDropButton_; }
    bool FlatButtons() const { return flatButtons_; }
    void SetFlatButtons(bool v) { flatButtons_ = v; }
    TColor FlatButtonColor() const { return flatButtonColor_; }
    void SetFlatButtonColor(TColor v) { flatButtonColor_ = v; }
    TRzDropButtonState ButtonState() const { return buttonState_; }
    bool DroppedDown() const { return droppedDown_; }
    // The strip the drop button takes at the right edge (left when right to left).
    TRect DropButtonRect() const;
    void DoDropDown();
    void InvalidKeyBeep();
    // Calls the validate-error handler; a message it returns is raised as EDBEditError.
    void ValidateError();

    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TRzValidateErrorEvent OnValidateError;

    // Reads the older "FrameFlat", "FrameFocusStyle" and "FrameFlatStyle".
    void DefineProperties(TFiler* filer) override;
    // A shared frame controller hands the edit its frame and colour settings by name.
    TRzFrameController* FrameController() const { return frameController_; }
    virtual void SetFrameController(TRzFrameController* v) { LinkFrameController(*this, frameController_, v); }
    TRzFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
    void SetFrameControllerNotifications(TRzFrameControllerNotifications v) { notifications_ = v; }
    bool ControllerSupplies(TRzFrameControllerProperty p) const { return frameController_ && notifications_.Contains(p); }
    bool IsColorStored() const { return Enabled() && !ControllerSupplies(fcpColor); }
    bool IsFocusColorStored() const { return ColorToRGB(focusColor_) != ColorToRGB(Color()) && !ControllerSupplies(fcpFocusColor); }

protected:
    virtual void UpdateColors();
    virtual void UpdateFrame(bool viaMouse, bool active);
    // The frame is painted on the non-client area (WM_NCPAINT).
    virtual void RepaintFrame();
    virtual void FireDropDown();
    virtual void FireCloseUp();
    void CreateParams(TCreateParams& params) override;
    void Loaded() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(WideChar& key) override;

    void CMColorChanged(TMessage& m);
    void CMParentColorChangedEdit(TMessage& m);
    void CMEnabledChangedEdit(TMessage& m);
    void CMEnterEdit(TMessage& m);
    void CMExitEdit(TMessage& m);
    void CMMouseEnterEdit(TMessage& m);
    void CMMouseLeaveEdit(TMessage& m);
    void CNCommandEdit(TMessage& m);
    void WMNCCalcSizeEdit(TMessage& m);
    void WMNCPaintEdit(TMessage& m);
    void WMSizeEdit(TMessage& m);
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TRzFrameController* frameController_ = nullptr;
    TRzFrameControllerNotifications notifications_ = fccAll;
    template <class T>
    void StoreFrame(T& field, const T& value) {
        if (field == value) return;
        field = value;
        RepaintFrame();
    }
    void PushDropButton();
    bool Hot() const { return frameHotTrack_ && (inControl_ || overControl_); }
    void ColorChanged();

    TColor disabledColor_ = clBtnFace, focusColor_ = clWindow, normalColor_ = clWindow;
    TColor readOnlyColor_ = clInfoBk;
    bool readOnlyColorOnFocus_ = false;
    TColor frameColor_ = clBtnShadow, frameHotColor_ = clBtnShadow;
    TFrameStyle frameHotStyle_ = fsFlatBold, frameStyle_ = fsFlat;
    TSides frameSides_ = sdAllSides;
    bool frameHotTrack_ = false, frameVisible_ = false;
    TFramingPreference framingPreference_ = fpXPThemes;
    bool tabOnEnter_ = false, beepOnInvalidKey_ = true;
    WideString textHint_;
    bool textHintVisibleOnFocus_ = false;
    bool dropButtonVisible_ = false, showDropButton_ = false;
    bool flatButtons_ = false;
    TColor flatButtonColor_ = clBtnFace;
    TRzDropButtonState buttonState_ = dbsUp;
    bool droppedDown_ = false;
    bool inControl_ = false, overControl_ = false;
    bool updatingColor_ = false;
};

class TRzEdit : public TRzCustomEdit {
    QUILLORA_COMPONENT(TRzEdit)
public:
    using TRzCustomEdit::TRzCustomEdit;
};

void RegisterStyledEdits();
