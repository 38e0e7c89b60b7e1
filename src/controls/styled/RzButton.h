// The styled push buttons: TRzCustomButton tracks hover, press and focus and paints captions
// with raised, recessed or shadowed text; TRzButton adds default and cancel keys, a modal
// result, latching groups and three faces (themed, flat hot-tracking, classic).
#pragma once

#include "controls/styled/StyledTypes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

enum TAlignmentVertical { avTop, avCenter, avBottom };
QUILLORA_ENUM_TYPEINFO(TAlignmentVertical, "avTop", "avCenter", "avBottom")

// Broadcast to the parent's controls when a grouped button goes down: WParam the group index,
// LParam the button.
inline constexpr UINT CM_GROUPBUTTONPRESSED = 0x2421;

// A grouped button of class B hears that the sender of m went down in group m.WParam: it takes
// the sender's AllowAllUp, and goes up when both are down (true: the caller shows it up).
template <class B>
bool ReleasedByGroupPress(const B& self, const TMessage& m, bool& down, bool& allowAllUp) {
    const auto* sender = reinterpret_cast<const B*>(m.LParam);
    if (!sender || sender == &self || static_cast<int>(m.WParam) != self.GroupIndex()) return false;
    allowAllUp = sender->AllowAllUp();
    if (!sender->Down() || !down) return false;
    down = false;
    return true;
}

class TRzCustomButton : public TCustomControl {
    QUILLORA_COMPONENT(TRzCustomButton)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomButton(TComponent* owner);

    TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
    void SetAlignmentVertical(TAlignmentVertical v) { Store(alignmentVertical_, v); }
    bool HotTrack() const { return hotTrack_; }
    virtual void SetHotTrack(bool v) { Store(hotTrack_, v); }
    TColor HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(TColor v) { Store(highlightColor_, v); }
    TColor HotTrackColor() const { return hotTrackColor_; }
    void SetHotTrackColor(TColor v) { hotTrackColor_ = v; }
    TRzHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
    void SetHotTrackColorType(TRzHotTrackColorType v) { hotTrackColorType_ = v; }
    bool LightTextStyle() const { return lightTextStyle_; }
    void SetLightTextStyle(bool v) { Store(lightTextStyle_, v); }
    TTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TTextStyle v) { Store(textStyle_, v); }
    TColor TextHighlightColor() const { return textHighlightColor_; }
    void SetTextHighlightColor(TColor v) { Store(textHighlightColor_, v); }
    TColor TextShadowColor() const { return textShadowColor_; }
    void SetTextShadowColor(TColor v) { Store(textShadowColor_, v); }
    int TextShadowDepth() const { return textShadowDepth_; }
    void SetTextShadowDepth(int v) { Store(textShadowDepth_, v); }
    bool ThemeAware() const { return themeAware_; }
    void SetThemeAware(bool v) { Store(themeAware_, v); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { Store(transparent_, v); }

    bool PointerInside() const { return pointerInside_; }
    bool Tracking() const { return tracking_; }
    bool PressedLook() const { return pressedLook_; }
    virtual bool UseThemes() const;

protected:
    virtual void DrawTransparentBackground(HDC) {}
    virtual void RepaintButton() {}
    virtual void RepaintFocused() { Repaint(); }
    virtual TRect GetHotTrackRect() const { return ClientRect(); }
    virtual void DrawCaption(TCanvas& canvas, TRect r, UINT flags);
    // What a completed click does to the control's own state.
    virtual void ChangeState() {}

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMTextChanged(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);

    template <class T>
    void Store(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    void SetPressedLook(bool v) { pressedLook_ = v; }

private:
    TAlignmentVertical alignmentVertical_ = avCenter;
    bool hotTrack_ = false;
    TColor highlightColor_ = clHighlight;
    TColor hotTrackColor_ = 0x00149BF0;
    TRzHotTrackColorType hotTrackColorType_ = htctActual;
    bool lightTextStyle_ = false;
    TTextStyle textStyle_ = tsNormal;
    TColor textHighlightColor_ = clBtnHighlight;
    TColor textShadowColor_ = clBtnShadow;
    int textShadowDepth_ = 2;
    bool themeAware_ = true;
    bool transparent_ = false;
    bool pointerInside_ = false;
    bool tracking_ = false;
    bool pressedLook_ = false;
};

class TRzButton : public TRzCustomButton {
    QUILLORA_COMPONENT(TRzButton)
    QUILLORA_MESSAGES()
public:
    // The button-state scale: only up and latched are stored here.
    static constexpr std::uint8_t bsUp = 0, bsExclusive = 3;

    explicit TRzButton(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { Store(alignment_, v); }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool DropDownOnEnter() const { return dropDownOnEnter_; }
    void SetDropDownOnEnter(bool v) { dropDownOnEnter_ = v; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor v) { Store(frameColor_, v); }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    bool ShowDownPattern() const { return showDownPattern_; }
    void SetShowDownPattern(bool v) { Store(showDownPattern_, v); }
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool v) { Store(showFocusRect_, v); }
    void SetHotTrack(bool v) override;

    std::uint8_t ButtonState() const { return buttonState_; }
    bool ShowsDefault() const { return showsDefault_; }
    bool InClick() const { return inClick_; }
    // Sets the parent form's modal result, then the click event.
    void Click() override;
    // The 8x8 dither of a latched button: Color with every other pixel grey.
    virtual void BuildDownPattern(TBitmap& bitmap) const;
    virtual void GetCaptionRect(TRect& r);
    // Whether Cancel, Default and ModalResult go to form files.
    virtual bool IsRoleStored() const { return true; }
    // Reads the older "FrameFlat" into HotTrack.
    void DefineProperties(TFiler* filer) override;

protected:
    void Paint() override;
    virtual void DrawContents();
    void RepaintButton() override { Invalidate(); }
    void DrawTransparentBackground(HDC dc) override;
    void ChangeState() override;
    void CreateWnd() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    // Pressed for painting: latched or held.
    bool ShowsPressed() const { return buttonState_ == bsExclusive || PressedLook(); }

    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMFocusChanged(TMessage& m);
    void CMGroupButtonPressed(TMessage& m);
    void WMKillFocusButton(TMessage& m);

private:
    void BroadcastGroup();
    void PaintHotTrackFace(TCanvas& canvas, TRect& r);
    void PaintClassicFace(TCanvas& canvas, TRect& r);

    TAlignment alignment_ = taCenter;
    bool allowAllUp_ = false;
    bool cancel_ = false;
    bool default_ = false;
    bool dropDownOnEnter_ = true;
    int groupIndex_ = 0;
    bool down_ = false;
    TColor frameColor_ = cl3DDkShadow;
    TModalResult modalResult_ = mrNone;
    bool showDownPattern_ = true;
    bool showFocusRect_ = true;
    std::uint8_t buttonState_ = bsUp;
    bool showsDefault_ = false;
    bool spaceArmed_ = false;
    bool inClick_ = false;
};

void RegisterStyledButtons();
