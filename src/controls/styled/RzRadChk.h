// The styled check box and radio button: a small picture beside a word-wrapped caption, drawn
// off-screen and copied in one step, with read-only mode, hot tracking, a see-through
// background and user pictures from a strip or an image list.
#pragma once

#include <memory>

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/RzButton.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/StdCtrls.h"

class TRzCustomGlyphButton : public TRzCustomButton {
    QUILLORA_COMPONENT(TRzCustomGlyphButton)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomGlyphButton(TComponent* owner);
    ~TRzCustomGlyphButton() override;

    // The accessors other parts of the program read and set the state through.
    virtual bool GetChecked() const { return false; }
    virtual void SetChecked(bool) {}
    bool Checked() const { return GetChecked(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool ReadOnly() const { return readOnly_; }
    virtual void SetReadOnly(bool v);
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor v) { Store(frameColor_, v); }
    TColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(TColor v) { Store(disabledColor_, v); }
    TColor FocusColor() const { return focusColor_; }
    void SetFocusColor(TColor v) { Store(focusColor_, v); }
    TColor FillColor() const { return fillColor_; }
    void SetFillColor(TColor v) { Store(fillColor_, v); }
    TColor ReadOnlyColor() const { return readOnlyColor_; }
    void SetReadOnlyColor(TColor v) { Store(readOnlyColor_, v); }
    bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
    void SetReadOnlyColorOnFocus(bool v) { Store(readOnlyColorOnFocus_, v); }
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor v) { Store(transparentColor_, v); }
    TColor WinMaskColor() const { return winMaskColor_; }
    void SetWinMaskColor(TColor v) { Store(winMaskColor_, v); }
    TRzButtonHotTrackStyle HotTrackStyle() const { return hotTrackStyle_; }
    void SetHotTrackStyle(TRzButtonHotTrackStyle v) { Store(hotTrackStyle_, v); }
    TBitmap* CustomGlyphs() const { return customGlyphs_.get(); }
    void SetCustomGlyphs(TBitmap* strip);
    TCustomImageList* CustomGlyphImages() const { return customGlyphImages_; }
    void SetCustomGlyphImages(TCustomImageList* list);
    bool UseCustomGlyphs() const { return useCustomGlyphs_; }
    void SetUseCustomGlyphs(bool v);

    int PictureWidth() const { return pictureWidth_; }
    int PictureHeight() const { return pictureHeight_; }
    int PictureCount() const { return pictureCount_; }
    // Where the picture sits in the control.
    TPoint PicturePosition() const;
    bool ClickedByMouse() const { return clickedByMouse_; }
    // Sets Checked without firing the click (an action setting its client).
    void SetCheckedQuietly(bool v);
    void DefineProperties(TFiler* filer) override;

    // Copies the index-th picture of a strip into bitmap, sized width x height.
    static void CopyGlyphFromStrip(int index, TBitmap& bitmap, int height, int width, TBitmap& strip);

protected:
    virtual void SelectGlyph(TBitmap& bitmap) = 0;
    virtual void FinishTransparentGlyph(TBitmap&) {}
    virtual void DrawGlyph(TCanvas& canvas);
    void Paint() override;
    void RepaintButton() override { Repaint(); }
    void RepaintFocused() override { Repaint(); }
    TRect GetHotTrackRect() const override;
    void CreateWnd() override;
    void Loaded() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyPress(WideChar& key) override;
    void Notification(TComponent* component, TOperation operation) override;
    // The control shows its action's checked state too.
    void ActionChange(TObject* sender, bool checkDefaults) override;
    TControlActionLinkClass GetActionLinkClass() const override;
    void AdjustBounds();
    bool PictureOnLeft() const;
    // The hot-track colours for the glyph painters.
    TGlyphColors GlyphColors() const;
    TRzDrawState GlyphDrawState() const;
    void UpdateUseCustomGlyphs();
    bool clicksSuppressed_ = false;

    void WMEraseBkgndGlyph(TMessage& m);
    void CMTextChangedGlyph(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMEnabledChangedGlyph(TMessage& m);

private:
    TAlignment alignment_ = taRightJustify;
    bool autoSize_ = true;
    // The width first sized from: a caption wraps there, never at the width an earlier, shorter
    // caption (another language) left behind.
    int wrapWidth_ = 0;
    bool readOnly_ = false;
    bool tabOnEnter_ = false;
    TColor frameColor_ = clBtnShadow, disabledColor_ = clBtnFace, focusColor_ = clWindow, fillColor_ = clWindow;
    TColor readOnlyColor_ = clInfoBk;
    bool readOnlyColorOnFocus_ = false;
    TColor transparentColor_ = 0x008080, winMaskColor_ = 0x00FF00;
    TRzButtonHotTrackStyle hotTrackStyle_ = htsInterior;
    std::unique_ptr<TBitmap> customGlyphs_;
    TCustomImageList* customGlyphImages_ = nullptr;
    bool useCustomGlyphs_ = false;
    bool backgroundStale_ = true;
    std::unique_ptr<TBitmap> backgroundCache_;
    bool clickedByMouse_ = false;

protected:
    int pictureWidth_ = 13, pictureHeight_ = 13;
    std::uint8_t pictureCount_ = 2;
};

// A glyph button's action link: a change of the action's checked state reaches the control
// without clicking it (which would run the action again).
class TRzCheckedActionLink : public TWinControlActionLink {
public:
    explicit TRzCheckedActionLink(TRzCustomGlyphButton* client) : TWinControlActionLink(client) {}
    bool IsCheckedLinked() const override;
    void SetChecked(bool value) override;
};

// The picture indexes of the user pictures: from an image list (hot pictures only when the
// list has more than the plain set) or from a strip.
int CheckBoxPictureIndex(TCheckBoxState state, bool enabled, bool pressed, bool hot, int imageCount, bool fromImageList);
int RadioButtonPictureIndex(bool checked, bool enabled, bool pressed, bool hot, int imageCount, bool fromImageList);
// Blends the edge pixels of a 13 x 13 radio circle toward the frame colour.
void SmoothRadioEdges(TBitmap& bitmap, TColor frameColor);

class TRzCustomCheckBox : public TRzCustomGlyphButton {
    QUILLORA_COMPONENT(TRzCustomCheckBox)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomCheckBox(TComponent* owner);
    TCheckBoxState State() const { return state_; }
    virtual void SetState(TCheckBoxState v);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { allowGrayed_ = v; }
    bool GetChecked() const override { return state_ == cbChecked; }
    void SetChecked(bool v) override { SetState(v ? cbChecked : cbUnchecked); }

protected:
    void ChangeState() override;
    void SelectGlyph(TBitmap& bitmap) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void CMDialogChar(TMessage& m);
    void BMGetCheck(TMessage& m);
    void CMExit(TMessage& m);

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    bool spaceArmed_ = false;
};

class TRzCheckBox : public TRzCustomCheckBox {
    QUILLORA_COMPONENT(TRzCheckBox)
public:
    using TRzCustomCheckBox::TRzCustomCheckBox;
};

class TRzRadioButton : public TRzCustomGlyphButton {
    QUILLORA_COMPONENT(TRzRadioButton)
    QUILLORA_MESSAGES()
public:
    explicit TRzRadioButton(TComponent* owner);
    bool GetChecked() const override { return checked_; }
    void SetChecked(bool v) override;
    void SetReadOnly(bool v) override;

protected:
    void ChangeState() override;
    void SelectGlyph(TBitmap& bitmap) override;
    void FinishTransparentGlyph(TBitmap& bitmap) override;
    void CMDialogChar(TMessage& m);
    void CMDialogKey(TMessage& m);
    void BMGetCheck(TMessage& m);
    void WMSetFocusRadio(TMessage& m);

private:
    bool checked_ = false;
};

void RegisterStyledCheckBoxes();
