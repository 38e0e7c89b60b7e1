// The small buttons of the styled tab strip: the scroll-arrow pair, the strip close button, the
// close button drawn on the active tab and the button that lists every tab in a menu.
#pragma once

#include "controls/styled/RzTabs.h"

// The face shared by the strip buttons.
void PaintStripButtonFace(TCanvas& canvas, const TRect& r, const TRzCustomTabControl& tabs, TColor frameColor, bool hot,
                          bool down);

// Pressed / down / hot tracking of a strip button; down follows the pointer while pressed.
struct TRzButtonPress {
    bool hot = false, pressed = false, down = false;
    void Press() { pressed = down = true; }
    // True when down changed.
    bool Move(bool inside) {
        if (!pressed || down == inside) return false;
        down = inside;
        return true;
    }
    // True when the release fires the button.
    bool Release() {
        const bool fire = pressed && down;
        pressed = down = false;
        return fire;
    }
};

class TRzTabScroller : public TCustomControl {
    QUILLORA_COMPONENT(TRzTabScroller)
    QUILLORA_MESSAGES()
public:
    explicit TRzTabScroller(TComponent* owner);
    ~TRzTabScroller() override;
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor c);
    TOrientation Orientation() const { return orientation_; }
    void SetOrientation(TOrientation o);
    bool UpRightPressed() const { return upRight_; }
    const TRzButtonPress& State() const { return state_; }
    // A step of the repeat timer, as the timer does it; its interval is observable.
    void TimerTick();
    bool TimerRunning() const { return timer_ && timer_->Enabled(); }
    UINT TimerInterval() const { return timer_ ? timer_->Interval() : 0; }

    TNotifyEvent OnUpRightClick;
    TNotifyEvent OnDownLeftClick;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { m.Result = 1; }
    void CMDesignHitTest(TMessage& m) { m.Result = 1; }

private:
    bool InPressedHalf(int x, int y) const;
    void FirePressed();
    TColor frameColor_ = clBtnShadow;
    TOrientation orientation_ = orHorizontal;
    TRzButtonPress state_;
    bool upRight_ = false;
    std::unique_ptr<TTimer> timer_;
};

class TRzTabControlCloseButton : public TCustomControl {
    QUILLORA_COMPONENT(TRzTabControlCloseButton)
    QUILLORA_MESSAGES()
public:
    explicit TRzTabControlCloseButton(TComponent* owner);
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor c);
    const TRzButtonPress& State() const { return state_; }
    TNotifyEvent OnClose;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { m.Result = 1; }
    virtual void Released();

    TColor frameColor_ = clBtnShadow;
    TRzButtonPress state_;
};

// An entry of the tab menu.
struct TRzTabMenuEntry {
    WideString Caption;
    bool Enabled = true;
    bool Checked = false;
    int ImageIndex = -1;
    int Tag = -1;  // the tab index
};
// Every visible tab by caption (case-insensitive, stable for equal captions).
std::vector<TRzTabMenuEntry> TabMenuEntries(const TRzCustomTabControl& tabs);

// Where the menu opens: a screen point and whether the menu's right edge aligns to it.
struct TRzTabMenuPlacement {
    TPoint At;
    bool RightAligned = false;
    HWND Owner = nullptr;  // the tab control's window, which the menu reports to
};
// Shows the menu; answers the chosen entry's tag or -1.
using TRzTabMenuPopup =
    std::function<int(const std::vector<TRzTabMenuEntry>& entries, const TRzTabMenuPlacement& placement)>;
// The popup every menu button uses: the class library's popup menu unless another is installed
// (null puts that one back).
void SetTabMenuPopup(TRzTabMenuPopup popup);

class TRzTabMenuButton : public TRzTabControlCloseButton {
    QUILLORA_COMPONENT(TRzTabMenuButton)
public:
    using TRzTabControlCloseButton::TRzTabControlCloseButton;
    void DisplayMenu();
    TRzTabMenuPlacement MenuPlacement() const;
    TNotifyEvent OnDisplayMenu;

protected:
    void Paint() override;
    void Released() override { DisplayMenu(); }
};

class TRzActiveTabCloseButton : public TGraphicControl {
    QUILLORA_COMPONENT(TRzActiveTabCloseButton)
    QUILLORA_MESSAGES()
public:
    explicit TRzActiveTabCloseButton(TComponent* owner);
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor c);
    const TRzButtonPress& State() const { return state_; }
    TNotifyEvent OnClose;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);

private:
    TColor frameColor_ = clBtnShadow;
    TRzButtonPress state_;
};
