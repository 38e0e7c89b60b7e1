// The tool bar: TToolBar lays out its TToolButton children in a row; buttons show a picture of
// the bar's image list and, with ShowCaptions, their caption under it. Check buttons stay
// down, grouped ones release their neighbours, drop-down buttons open their menu from the
// arrow. The bar and its buttons paint themselves in the classic look (flat or raised).
#pragma once

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/GraphicsImageList.h"

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
QUILLORA_ENUM_TYPEINFO(TToolButtonStyle, "tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider")

class TToolBar;

class TToolButton : public TGraphicControl {
    QUILLORA_COMPONENT(TToolButton)
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    TToolBar* ToolBar() const;
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle style);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool Down() const { return down_; }
    void SetDown(bool down);
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool grouped);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    // The menu a drop-down button opens (a popup menu of the menus unit).
    TComponent* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TComponent* menu);
    // The index among the bar's buttons, -1 without a bar.
    int Index() const;
    // True while the mouse is over a button of a flat bar.
    bool Hot() const { return hot_; }
    // Opens the drop-down menu below the button (OnDropDown first; it may show its own).
    bool CheckMenuDropdown();
    void Click() override;
    void SetParent(TWinControl* parent) override;

    // Before the drop-down menu opens.
    TNotifyEvent OnDropDown;

protected:
    // The action's image and checked state as well (ToolButtonActions.cpp).
    void ActionChange(TObject* sender, bool checkDefaults) override;
    TControlActionLinkClass GetActionLinkClass() const override;
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolBar;
    bool OnArrow(int x) const;
    void UpdateGroup();
    void Relayout();
    TToolButtonStyle style_ = tbsButton;
    int imageIndex_ = -1;
    bool down_ = false, grouped_ = false, allowAllUp_ = false;
    bool pressed_ = false, hot_ = false, mouseInside_ = false;
    TComponent* dropdownMenu_ = nullptr;
};

// A tool button's link: the action's checked state is the button's Down, its image the
// button's picture.
class TToolButtonActionLink : public TControlActionLink {
public:
    explicit TToolButtonActionLink(TToolButton* client) : TControlActionLink(client) {}
    bool IsCheckedLinked() const override;
    bool IsImageIndexLinked() const override;
    void SetChecked(bool value) override;
    void SetImageIndex(int value) override;

private:
    TToolButton* Button() const { return static_cast<TToolButton*>(client_); }
};

class TToolBar : public TWinControl {
    QUILLORA_COMPONENT(TToolBar)
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    int ButtonCount() const;
    TToolButton* Buttons(int index) const;
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* list);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int v);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int v);
    // The size every button gets: the set size, grown to fit pictures and captions.
    TSize ButtonSize() const;
    // Places the buttons in a row, left to right in their order.
    void LayoutButtons();

protected:
    void CreateParams(TCreateParams& params) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Notification(TComponent* component, TOperation operation) override;
    void PaintWindow(HDC dc) override;

private:
    TCustomImageList* images_ = nullptr;
    bool showCaptions_ = false;
    bool flat_ = false;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool layingOut_ = false;
};
