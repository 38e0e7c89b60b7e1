// The time picker: an analogue clock face on which the left button sets the hour and the right
// button the minute (optionally snapped), AM and PM options, an optional Set button, the time as
// text above the clock and a hint that explains the mouse.
#pragma once

#include <array>
#include <functional>

#include "controls/styled/RzCalendar.h"

class THintWindow;

class TRzClockFaceColors : public TRzIndexedColors<5> {
public:
    explicit TRzClockFaceColors(TControl* picker = nullptr)
        : TRzIndexedColors(picker, {clBtnFace, clWindowText, clWindowText, clBtnShadow, clWindowText}) {}
    std::string_view ClassName() const override { return "TRzClockFaceColors"; }

    TColor Face() const { return GetColor(0); }
    void SetFace(TColor c) { SetColor(0, c); }
    TColor Hands() const { return GetColor(1); }
    void SetHands(TColor c) { SetColor(1, c); }
    TColor Numbers() const { return GetColor(2); }
    void SetNumbers(TColor c) { SetColor(2, c); }
    TColor HourTicks() const { return GetColor(3); }
    void SetHourTicks(TColor c) { SetColor(3, c); }
    TColor MinuteTicks() const { return GetColor(4); }
    void SetMinuteTicks(TColor c) { SetColor(4, c); }
};

class TRzTimePicker : public TRzCustomPanel {
    QUILLORA_COMPONENT(TRzTimePicker)
    QUILLORA_MESSAGES()
public:
    explicit TRzTimePicker(TComponent* owner);
    ~TRzTimePicker() override;

    TDateTime Time() const { return time_; }
    virtual void SetTime(TDateTime value);
    bool IsPM() const { return pm_; }
    void SetHour(int hour);
    void SetMinute(int minute);
    void SetAM();
    void SetPM();
    void IncHours(int n);
    void IncMinutes(int n);
    int Hour() const;
    int Minute() const;

    bool RestrictMinutes() const { return restrictMinutes_; }
    void SetRestrictMinutes(bool v) { restrictMinutes_ = v; }
    int RestrictMinutesBy() const { return restrictMinutesBy_; }
    void SetRestrictMinutesBy(int v) { restrictMinutesBy_ = v > 0 && v <= 60 ? v : 5; }
    const WideString& Format() const { return format_; }
    virtual void SetFormat(const WideString& v);
    const WideString& CaptionAM() const { return captionAM_; }
    virtual void SetCaptionAM(const WideString& v);
    const WideString& CaptionPM() const { return captionPM_; }
    virtual void SetCaptionPM(const WideString& v);
    const WideString& CaptionSet() const { return captionSet_; }
    virtual void SetCaptionSet(const WideString& v);
    TColor ButtonColor() const { return buttonColor_; }
    virtual void SetButtonColor(TColor v);
    TColor ButtonFontColor() const { return buttonFontColor_; }
    virtual void SetButtonFontColor(TColor v);
    TRzClockFaceColors* ClockFaceColors() const { return colors_.get(); }
    virtual void SetClockFaceColors(const TRzClockFaceColors* v) { colors_->Assign(v); }
    bool ShowSetButton() const { return showSetButton_; }
    virtual void SetShowSetButton(bool v);
    bool ShowTime() const { return showTime_; }
    virtual void SetShowTime(bool v);
    bool ShowHowToUseHint() const { return showHowToUseHint_; }
    void SetShowHowToUseHint(bool v) { showHowToUseHint_ = v; }
    const WideString& HowToUseMsg() const { return howToUseMsg_; }
    void SetHowToUseMsg(const WideString& v) { howToUseMsg_ = v; }
    bool ThemeAware() const { return themeAware_; }
    virtual void SetThemeAware(bool v);
    bool IsPopup() const { return isPopup_; }
    void SetIsPopup(bool v) { isPopup_ = v; }

    // Hit tests relative to the clock's centre.
    static int HourAt(int dx, int dy);
    int MinuteAt(int dx, int dy, bool restrict) const;
    // The clock's centre and radius as last laid out.
    TPoint ClockCentre() const { return centre_; }
    int ClockRadius() const { return radius_; }
    const TRect& AMRect() const { return amRect_; }
    const TRect& PMRect() const { return pmRect_; }
    const TRect& SetRect() const { return setRect_; }
    TSize MinimumSize() const;
    void UpdateLayout();
    // How text of the picker's font measures (tests without a font system set it).
    std::function<TSize(const WideString&)> MeasureText;
    void Remeasure() { Measure(); }
    // The text the hint shows.
    WideString HowToUseText() const;

    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSetBtnClick;
    TNotifyEvent OnSetTime;

protected:
    virtual void DrawClockFace(TCanvas& canvas, const TRect& face, TPoint centre, int radius);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;

    void WMGetDlgCode(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMEnterLeave(TMessage& m);
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);

private:
    void Measure();
    TSize TextSize(const WideString& text) const;
    bool InClock(int x, int y) const;
    void SetAction();
    void UpdateHint(TPoint client);
    void HideHint();

    TDateTime time_ = 0;
    bool pm_ = false;
    bool restrictMinutes_ = false;
    int restrictMinutesBy_ = 5;
    WideString format_, captionAM_, captionPM_, captionSet_, howToUseMsg_;
    TColor buttonColor_ = clBtnFace, buttonFontColor_ = clWindowText;
    std::unique_ptr<TRzClockFaceColors> colors_;
    bool showSetButton_ = false, showTime_ = true, showHowToUseHint_ = true, themeAware_ = true, isPopup_ = false;
    bool forceUpdate_ = false;
    int charWidth_ = 7, charHeight_ = 13, fontHeight_ = 15;
    TRect timeRect_, clockRect_, amRect_, pmRect_, setRect_;
    TPoint centre_;
    int radius_ = 0;
    bool overAM_ = false, overPM_ = false, overSet_ = false, overClock_ = false;
    bool pressingLeft_ = false, pressingRight_ = false;
    int lastMinute_ = 0;
    THintWindow* hint_ = nullptr;  // owned as a component
    TRect hintRect_;
    TTimer* hintTimer_ = nullptr;  // owned as a component
};

void RegisterStyledTimePicker();
