// The toolbar button: a windowless button showing a picture of an image list (with pictures of
// its own for hot, pressed and disabled) and an optional caption in four layouts. It latches in
// groups, drops down a menu (as a whole or from an arrow part), paints in three visual styles
// and takes its size, layout, caption visibility and style from the toolbar it sits on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/styled/RzBitBtn.h"
#include "controls/styled/RzPanel.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/Menus.h"

// A toolbar tells its buttons (and a button asks itself) to take one of its settings again.
inline constexpr UINT CM_TOOLBARSHOWCAPTIONCHANGED = 0xB3EA;
inline constexpr UINT CM_TOOLBARBUTTONLAYOUTCHANGED = 0xB3EB;
inline constexpr UINT CM_TOOLBARBUTTONSIZECHANGED = 0xB3EC;
inline constexpr UINT CM_TOOLBARVISUALSTYLECHANGED = 0xB3ED;

enum TRzToolStyle { tsButton, tsDropDown };
QUILLORA_ENUM_TYPEINFO(TRzToolStyle, "tsButton", "tsDropDown")

class TRzToolbar;

// The left edge of a drop-down menu below a button: moved left so that a menu too wide for the
// work area ends with the button instead.
int DropDownMenuLeft(int left, int buttonWidth, int menuWidth, int workAreaRight);

class TRzToolButton : public TGraphicControl {
    QUILLORA_COMPONENT(TRzToolButton)
    QUILLORA_MESSAGES()
public:
    static constexpr std::uint8_t bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3, bsDropped = 4;
    // The arrow part of a drop-down button, and what it adds to the width.
    static constexpr int kArrowWidth = 14;

    explicit TRzToolButton(TComponent* owner);
    ~TRzToolButton() override;

    bool AllowAllUp() const { return allowAllUp_; }
    virtual void SetAllowAllUp(bool v);
    TAlignment Alignment() const { return alignment_; }
    virtual void SetAlignment(TAlignment v) { Store(alignment_, v); }
    bool Down() const { return down_; }
    virtual void SetDown(bool v);
    int GroupIndex() const { return groupIndex_; }
    virtual void SetGroupIndex(int v);
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    virtual void SetDropDownMenu(TPopupMenu* menu);
    bool Flat() const { return flat_; }
    virtual void SetFlat(bool v);
    // The button's own list; PictureList falls back to the toolbar's.
    TCustomImageList* Images() const { return images_; }
    virtual void SetImages(TCustomImageList* list);
    TCustomImageList* PictureList() const;
    int ImageIndex() const { return imageIndex_; }
    virtual void SetImageIndex(int v) { Store(imageIndex_, v); }
    int HotIndex() const { return hotIndex_; }
    virtual void SetHotIndex(int v) { Store(hotIndex_, v); }
    int DownIndex() const { return downIndex_; }
    virtual void SetDownIndex(int v) { Store(downIndex_, v); }
    int DisabledIndex() const { return disabledIndex_; }
    virtual void SetDisabledIndex(int v) { Store(disabledIndex_, v); }
    TButtonLayout Layout() const { return layout_; }
    virtual void SetLayout(TButtonLayout v);
    bool ShowCaption() const { return showCaption_; }
    virtual void SetShowCaption(bool v);
    TRzToolStyle ToolStyle() const { return toolStyle_; }
    virtual void SetToolStyle(TRzToolStyle v);
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool v) { Store(transparent_, v); }
    TRzVisualStyle VisualStyle() const { return visualStyle_; }
    virtual void SetVisualStyle(TRzVisualStyle v);
    TRzGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
    virtual void SetGradientColorStyle(TRzGradientColorStyle v);
    TColor SelectionColorStart() const { return selectionColorStart_; }
    virtual void SetSelectionColorStart(TColor v) { Store(selectionColorStart_, v); }
    TColor SelectionColorStop() const { return selectionColorStop_; }
    virtual void SetSelectionColorStop(TColor v) { Store(selectionColorStop_, v); }
    TColor SelectionFrameColor() const { return selectionFrameColor_; }
    virtual void SetSelectionFrameColor(TColor v) { Store(selectionFrameColor_, v); }
    bool UseToolbarButtonLayout() const { return useToolbarButtonLayout_; }
    virtual void SetUseToolbarButtonLayout(bool v) { SetUseToolbar(useToolbarButtonLayout_, v, CM_TOOLBARBUTTONLAYOUTCHANGED); }
    bool UseToolbarButtonSize() const { return useToolbarButtonSize_; }
    virtual void SetUseToolbarButtonSize(bool v) { SetUseToolbar(useToolbarButtonSize_, v, CM_TOOLBARBUTTONSIZECHANGED); }
    bool UseToolbarShowCaption() const { return useToolbarShowCaption_; }
    virtual void SetUseToolbarShowCaption(bool v) { SetUseToolbar(useToolbarShowCaption_, v, CM_TOOLBARSHOWCAPTIONCHANGED); }
    bool UseToolbarVisualStyle() const { return useToolbarVisualStyle_; }
    virtual void SetUseToolbarVisualStyle(bool v) { SetUseToolbar(useToolbarVisualStyle_, v, CM_TOOLBARVISUALSTYLECHANGED); }
    // A size set by the user stops following the toolbar's button size (not while loading).
    void SetWidth(int v);
    void SetHeight(int v);

    std::uint8_t ButtonState() const { return buttonState_; }
    bool Tracking() const { return tracking_; }
    bool PointerInside() const { return pointerInside_; }
    bool InDropDown() const { return inDropDown_; }
    bool TreatAsNormal() const { return treatAsNormal_; }
    // The toolbar the button sits on, else null.
    TRzToolbar* Toolbar() const;
    // A drop-down button whose main part clicks (it has a handler or an action).
    bool IsSplitButton() const;
    // Whether the form file holds these: the action link and the toolbar may supply them.
    bool IsDownStored() const;
    bool IsImageIndexStored() const;
    bool IsSizeStored() const;

    void Click() override;
    // Opens DropDownMenu below the button (OnDropDown first); returns after the menu closed.
    virtual void DropDown();
    // Where the picture and the caption go in the client area.
    virtual void CalcLayout(TRect& pictureRect, TRect& textRect);
    virtual TPoint GetPictureSize() const;
    // Asks the toolbar for all four of its settings.
    virtual void ApplyToolbarStyles();
    void SetParent(TWinControl* parent) override;
    void DefineProperties(TFiler* filer) override;

    // The tick count of the drop-down timing (tests give a clock of their own).
    std::function<DWORD()> TickCount;
    // The caption's size in a rectangle; measured with the font unless a test sets it.
    std::function<TSize(const TRect&)> MeasureCaption;
    // Before the menu drops down; the sender is the menu.
    TNotifyEvent OnDropDown;

protected:
    void Paint() override;
    virtual void DrawFace(TRect& r);
    virtual void DrawDropDownArrow();
    virtual void DrawPicture(const TRect& r);
    virtual void DrawCaptionText(const TRect& r);
    // Whether the platform's control under the cursor is this button.
    virtual bool UnderCursor() const;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void BoundsChanged() override;
    void ActionChange(TObject* sender, bool checkDefaults) override;
    TControlActionLinkClass GetActionLinkClass() const override;
    // An action takes the button's caption, state, hint, Down and picture.
    void AssignTo(TPersistent* dest) const override;

    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void WMCancelMode(TMessage& m);
    void CMButtonPressed(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMToolbarShowCaptionChanged(TMessage& m);
    void CMToolbarButtonLayoutChanged(TMessage& m);
    void CMToolbarButtonSizeChanged(TMessage& m);
    void CMToolbarVisualStyleChanged(TMessage& m);

    bool FlatLooking() const { return visualStyle_ != vsClassic || flat_; }
    bool Hovered() const { return pointerInside_ && buttonState_ != bsDisabled; }
    // Pressed, dropped, hovered or designed: the face shows.
    bool Active() const;
    bool LooksPressed() const;

private:
    template <class T>
    void Store(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    void SetUseToolbar(bool& field, bool v, UINT message);
    void BroadcastGroup();
    void RefreshHover();
    void GrowToPictures();
    void TellToolbar();
    bool OnArrowPart(int x) const;
    TSize CaptionSize(const TRect& r);

    bool allowAllUp_ = false;
    TAlignment alignment_ = taCenter;
    bool down_ = false;
    int groupIndex_ = 0;
    TPopupMenu* dropDownMenu_ = nullptr;
    bool flat_ = true;
    TCustomImageList* images_ = nullptr;
    int imageIndex_ = -1, hotIndex_ = -1, downIndex_ = -1, disabledIndex_ = -1;
    TButtonLayout layout_ = blGlyphLeft;
    bool showCaption_ = false;
    TRzToolStyle toolStyle_ = tsButton;
    bool transparent_ = true;
    TRzVisualStyle visualStyle_ = vsWinXP;
    TRzGradientColorStyle gradientColorStyle_ = gcsSystem;
    TColor selectionColorStart_ = clBtnFace, selectionColorStop_ = clBtnShadow, selectionFrameColor_ = cl3DDkShadow;
    bool useToolbarButtonLayout_ = true, useToolbarButtonSize_ = true, useToolbarShowCaption_ = true,
         useToolbarVisualStyle_ = true;

    std::uint8_t buttonState_ = bsUp;
    bool tracking_ = false;
    bool pointerInside_ = false;
    bool inDropDown_ = false;
    bool treatAsNormal_ = true;
    DWORD dropTime_ = 0;
    bool applyingToolbar_ = false;
};

// A tool button's link: the action's checked state is the button's Down, its image the
// button's picture, while the button still shows the action's value.
class TRzToolButtonActionLink : public TControlActionLink {
public:
    explicit TRzToolButtonActionLink(TRzToolButton* client) : TControlActionLink(client) {}
    bool IsCheckedLinked() const override;
    bool IsImageIndexLinked() const override;
    void SetChecked(bool value) override;
    void SetImageIndex(int value) override;

private:
    TRzToolButton* Button() const { return static_cast<TRzToolButton*>(client_); }
};
