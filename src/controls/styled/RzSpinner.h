// A small windowed control showing one integer between a minus and a plus button: clicks,
// holding a button (auto-repeat), arrow and page keys and the wheel step it within Min..Max,
// or without a range when Min equals Max and CheckRange is off.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/GraphicsImageList.h"

using TRzSpinnerEvent = std::function<void(TObject* sender, int newValue, bool& allowChange)>;
using TRzSpinnerIncDecEvent = std::function<void(TObject* sender, int amount)>;

class TRzSpinner : public TCustomControl {
    QUILLORA_COMPONENT(TRzSpinner)
    QUILLORA_MESSAGES()
public:
    // Areas of the control: none, the minus button, the plus button.
    enum TArea : std::uint8_t { arNone = 0, arMinus = 1, arPlus = 2 };

    explicit TRzSpinner(TComponent* owner);
    ~TRzSpinner() override;

    int Value() const { return value_; }
    virtual void SetValue(int v);
    int Min() const { return min_; }
    virtual void SetMin(int v);
    int Max() const { return max_; }
    virtual void SetMax(int v);
    bool CheckRange() const { return checkRange_; }
    virtual void SetCheckRange(bool v);
    int Increment() const { return increment_; }
    void SetIncrement(int v) { increment_ = v; }
    int PageSize() const { return pageSize_; }
    void SetPageSize(int v) { pageSize_ = v; }
    bool ShowHexValue() const { return showHexValue_; }
    virtual void SetShowHexValue(bool v) { Store(showHexValue_, v); }
    const WideString& HexValuePrefix() const { return hexValuePrefix_; }
    virtual void SetHexValuePrefix(const WideString& v) { Store(hexValuePrefix_, v); }
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
    TColor ButtonColor() const { return buttonColor_; }
    virtual void SetButtonColor(TColor v) { Store(buttonColor_, v); }
    int ButtonWidth() const { return buttonWidth_; }
    virtual void SetButtonWidth(int v) { Store(buttonWidth_, v); }
    TColor FrameColor() const { return frameColor_; }
    virtual void SetFrameColor(TColor v) { Store(frameColor_, v); }
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool v) { Store(showFocusRect_, v); }
    bool ThemeAware() const { return themeAware_; }
    virtual void SetThemeAware(bool v) { Store(themeAware_, v); }
    TCustomImageList* Images() const { return images_; }
    virtual void SetImages(TCustomImageList* list);
    // index 1 the minus button, 2 the plus button.
    virtual int GetImageIndex(int index) const { return index == arMinus ? imageIndexMinus_ : imageIndexPlus_; }
    virtual void SetImageIndex(int index, int v);
    int ImageIndexMinus() const { return imageIndexMinus_; }
    void SetImageIndexMinus(int v) { SetImageIndex(arMinus, v); }
    int ImageIndexPlus() const { return imageIndexPlus_; }
    void SetImageIndexPlus(int v) { SetImageIndex(arPlus, v); }

    // The value the range allows: clamped unless the spinner has no range.
    virtual int CheckValue(int v) const;
    virtual void IncValue(int amount);
    virtual void DecValue(int amount);
    // The text shown: decimal, or the prefix and upper-case hex of the 32-bit pattern.
    WideString DisplayText() const;
    TArea AreaAt(const TPoint& p) const;

    bool MinusDown() const { return minusDown_; }
    bool PlusDown() const { return plusDown_; }
    bool OverMinus() const { return overMinus_; }
    bool OverPlus() const { return overPlus_; }
    // The auto-repeat timer: null until the first press on a button.
    TTimer* RepeatTimer() const { return repeatTimer_; }
    static constexpr std::uint16_t InitialRepeatDelay = 400, RepeatDelay = 100;

    TNotifyEvent OnChange;
    TRzSpinnerEvent OnChanging;
    TRzSpinnerIncDecEvent OnIncrement;
    TRzSpinnerIncDecEvent OnDecrement;

    // Drops the retired "NumGlyphsMinus", "NumGlyphsPlus" and "Flat".
    void DefineProperties(TFiler* filer) override;

protected:
    void Paint() override;
    virtual void DrawFrame();
    virtual void DrawValue();
    virtual void DrawButton(TArea button, bool down, const TRect& bounds);
    virtual bool CanChange(int newValue);
    virtual void Change();
    void EnsureButtonSize();

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(WideChar& key) override;
    void Notification(TComponent* component, TOperation operation) override;

    void WMGetDlgCode(TMessage& m);
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMDesignHitTest(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);
    void CMEnabledChanged(TMessage& m);

private:
    template <class T>
    void Store(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    void RepeatTick();
    void HotTrack(const TPoint& p);
    // Steps by amount, in 64 bits and saturated to the 32-bit range when there is no range.
    void StepBy(long long amount, const TRzSpinnerIncDecEvent& event, int reported);

    int value_ = 0, min_ = 0, max_ = 100;
    bool checkRange_ = false;
    int increment_ = 1, pageSize_ = 10;
    bool showHexValue_ = false;
    WideString hexValuePrefix_ = u"$";
    bool tabOnEnter_ = false;
    TColor buttonColor_ = clBtnFace;
    int buttonWidth_ = 18;
    TColor frameColor_ = clBtnShadow;
    bool showFocusRect_ = true;
    bool themeAware_ = true;
    TCustomImageList* images_ = nullptr;
    int imageIndexMinus_ = -1, imageIndexPlus_ = -1;
    bool minusDown_ = false, plusDown_ = false;
    bool overMinus_ = false, overPlus_ = false;
    TArea lastHotArea_ = arNone;
    TTimer* repeatTimer_ = nullptr;  // owned as a component
};

void RegisterStyledSpinner();
