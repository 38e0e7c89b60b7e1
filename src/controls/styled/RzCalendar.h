// The month calendar: a header with the month, the year and arrows, day names, a 6 x 7 grid of
// days with the neighbouring months' days, ISO week numbers, Today and Clear buttons, a month
// menu and an in-place year spinner. It sizes itself from its font.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "controls/styled/RzIndexedColors.h"
#include "controls/styled/RzPanel.h"
#include "controls/styled/RzSpinner.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinTime.h"

class TPopupMenu;
class TRzCalendar;

QUILLORA_EXCEPTION_CLASS(ERzCalendarError, Exception);

enum TRzFirstDayOfWeek { fdowMonday, fdowTuesday, fdowWednesday, fdowThursday, fdowFriday, fdowSaturday, fdowSunday, fdowLocale };
QUILLORA_ENUM_TYPEINFO(TRzFirstDayOfWeek, "fdowMonday", "fdowTuesday", "fdowWednesday", "fdowThursday", "fdowFriday",
                       "fdowSaturday", "fdowSunday", "fdowLocale")
enum TRzCalendarElement { ceYear, ceMonth, ceArrows, ceWeekNumbers, ceDaysOfWeek, ceFillDays, ceTodayButton, ceClearButton };
QUILLORA_ENUM_TYPEINFO(TRzCalendarElement, "ceYear", "ceMonth", "ceArrows", "ceWeekNumbers", "ceDaysOfWeek", "ceFillDays",
                       "ceTodayButton", "ceClearButton")
using TRzCalendarElements = TSet<TRzCalendarElement>;

// Where the pointer is: the index of the layout rectangle.
enum TRzCalendarArea : std::uint8_t {
    calHeader = 0, calTitle = 1, calPrevious = 2, calNext = 3, calWeekNumbers = 4, calDays = 5, calDayNames = 6, calNone = 7,
    calToday = 8, calClear = 9
};

class TRzCalendarColors : public TRzIndexedColors<7> {
public:
    explicit TRzCalendarColors(TControl* calendar = nullptr)
        : TRzIndexedColors(calendar, {clWindowText, clBtnShadow, clWindowText, clBtnShadow, clHighlight, clHighlightText,
                                      TColor(0x000080)}) {}
    std::string_view ClassName() const override { return "TRzCalendarColors"; }

    TColor Days() const { return GetColor(0); }
    void SetDays(TColor c) { SetColor(0, c); }
    TColor FillDays() const { return GetColor(1); }
    void SetFillDays(TColor c) { SetColor(1, c); }
    TColor DaysOfWeek() const { return GetColor(2); }
    void SetDaysOfWeek(TColor c) { SetColor(2, c); }
    TColor Lines() const { return GetColor(3); }
    void SetLines(TColor c) { SetColor(3, c); }
    TColor SelectedDateBack() const { return GetColor(4); }
    void SetSelectedDateBack(TColor c) { SetColor(4, c); }
    TColor SelectedDateFore() const { return GetColor(5); }
    void SetSelectedDateFore(TColor c) { SetColor(5, c); }
    TColor TodaysDateFrame() const { return GetColor(6); }
    void SetTodaysDateFrame(TColor c) { SetColor(6, c); }
};

// The year field that opens over the calendar's header.
class TRzYearSpinner : public TRzSpinner {
    QUILLORA_COMPONENT(TRzYearSpinner)
public:
    explicit TRzYearSpinner(TComponent* owner);
    std::function<void()> OnCloseUp;

protected:
    void WndProc(TMessage& message) override;
};

using TRzGetBoldDaysEvent = std::function<void(TObject* sender, WORD year, WORD month, std::uint32_t& bitmask)>;
using TRzGetDayFormatEvent = std::function<void(TObject* sender, TDateTime day, WORD year, WORD month, WORD dayOfMonth,
                                                TColor& dayColor, TColor& dayFontColor, TFontStyles& dayFontStyle)>;
using TRzGetWeekNumberEvent = std::function<void(TObject* sender, TDateTime weekDate, int& weekNumber)>;
using TRzViewDateChangeEvent = std::function<void(TObject* sender, TDateTime viewDate)>;
using TRzAllowEvent = std::function<void(TObject* sender, bool& allow)>;

class TRzCalendar : public TRzCustomPanel {
    QUILLORA_COMPONENT(TRzCalendar)
    QUILLORA_MESSAGES()
public:
    explicit TRzCalendar(TComponent* owner);
    ~TRzCalendar() override;

    TDateTime Date() const { return date_; }
    virtual void SetDate(TDateTime value);
    virtual void SetDateInternal(TDateTime value);
    TDateTime MinDate() const { return minDate_; }
    virtual void SetMinDate(TDateTime value);
    TDateTime MaxDate() const { return maxDate_; }
    virtual void SetMaxDate(TDateTime value);
    TRzFirstDayOfWeek FirstDayOfWeek() const { return firstDayOfWeek_; }
    virtual void SetFirstDayOfWeek(TRzFirstDayOfWeek value);
    // 0 Monday ... 6 Sunday.
    int FirstDay() const { return firstDay_; }
    TRzCalendarElements Elements() const { return elements_; }
    virtual void SetElements(TRzCalendarElements value);
    bool ShowDays() const { return showDays_; }
    virtual void SetShowDays(bool value);
    TColor ButtonColor() const { return buttonColor_; }
    virtual void SetButtonColor(TColor value);
    TColor ButtonFontColor() const { return buttonFontColor_; }
    virtual void SetButtonFontColor(TColor value);
    const WideString& CaptionClearBtn() const { return captionClear_; }
    virtual void SetCaptionClearBtn(const WideString& value);
    const WideString& CaptionTodayBtn() const { return captionToday_; }
    virtual void SetCaptionTodayBtn(const WideString& value);
    TRzCalendarColors* CalendarColors() const { return colors_.get(); }
    virtual void SetCalendarColors(const TRzCalendarColors* value) { colors_->Assign(value); }
    bool ThemeAware() const { return themeAware_; }
    virtual void SetThemeAware(bool value);
    bool IsPopup() const { return isPopup_; }
    void SetIsPopup(bool value) { isPopup_ = value; }
    bool ClearClicked() const { return clearClicked_; }

    // The first day of the month shown, and the date of the grid's top-left cell.
    TDateTime ViewDate() const { return viewDate_; }
    virtual void SetViewDate(TDateTime value);
    TDateTime FirstGridDate() const { return firstGridDate_; }
    // The day under a client point (0 when none); cells of other months only with ceFillDays.
    TDateTime DateAt(const TPoint& p) const;
    TRzCalendarArea AreaAt(const TPoint& p) const;
    const TRect& AreaRect(TRzCalendarArea area) const { return layout_[area]; }
    TSize MinimumSize() const;
    bool YearSpinnerOpen() const { return spinnerOpen_; }
    TRzYearSpinner* YearSpinner() const { return yearSpinner_; }
    TPopupMenu* MonthMenu() const { return monthMenu_; }
    // Moves the view by whole months (arrows, the month menu).
    void MoveView(int months);
    // The clock the calendar asks for today (tests fix it).
    std::function<TDateTime()> Today = [] { return DefaultToday(); };
    static TDateTime DefaultToday();
    // How text of the calendar's font measures (tests without a font system set it); unset,
    // the screen's fonts measure it. Call Remeasure after setting it.
    std::function<TSize(const WideString&)> MeasureText;
    void Remeasure() { Measure(); }

    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;
    TRzGetBoldDaysEvent OnGetBoldDays;
    TRzGetDayFormatEvent OnGetDayFormat;
    TRzGetWeekNumberEvent OnGetWeekNumber;
    TRzViewDateChangeEvent OnViewDateChange;
    TRzAllowEvent OnToday;
    TRzAllowEvent OnClear;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void CreateWnd() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Click() override;
    void DblClick() override;
    virtual void SetOverArea(TRzCalendarArea area);
    virtual void SetPressedArea(TRzCalendarArea area);

    void WMGetDlgCode(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMTimer(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMEnterLeave(TMessage& m);

private:
    void Measure();
    void Changed();
    TSize TextSize(const WideString& text) const;
    void UpdateLayout();
    void RecomputeGrid();
    void ApplyFirstDay();
    int CompareWithRange(TDateTime value) const;
    void GoToday();
    void ClearDate();
    void RepeatStep();
    void OpenYearSpinner();
    void CloseYearSpinner();
    void PaintHeader(TCanvas& canvas);
    void PaintDayNames(TCanvas& canvas);
    void PaintGrid(TCanvas& canvas);
    void PaintButtons(TCanvas& canvas);
    bool HasButtons() const { return elements_.Contains(ceTodayButton) || elements_.Contains(ceClearButton); }
    WideString TodayCaption() const { return captionToday_.empty() ? WideString(u"Today") : captionToday_; }
    WideString ClearCaption() const { return captionClear_.empty() ? WideString(u"Clear") : captionClear_; }

    TDateTime date_ = 0, minDate_ = 0, maxDate_ = 0;
    TDateTime viewDate_ = 0, firstGridDate_ = 0, today_ = 0;
    TRzFirstDayOfWeek firstDayOfWeek_ = fdowLocale;
    int firstDay_ = 0;
    TRzCalendarElements elements_{ceYear, ceMonth, ceArrows, ceDaysOfWeek, ceFillDays, ceTodayButton, ceClearButton};
    bool showDays_ = true;
    TColor buttonColor_ = clBtnFace, buttonFontColor_ = clWindowText;
    WideString captionClear_, captionToday_;
    std::unique_ptr<TRzCalendarColors> colors_;
    bool themeAware_ = true;
    bool forceUpdate_ = false;
    bool isPopup_ = false;
    bool clearClicked_ = false;
    bool ignoreClick_ = false;
    bool spinnerOpen_ = false;
    int charWidth_ = 7, charHeight_ = 13;
    int todayWidth_ = 0, clearWidth_ = 0;
    int cellWidth_ = 0, cellHeight_ = 0;
    int repeatCounter_ = 0;
    TRzCalendarArea overArea_ = calNone, pressedArea_ = calNone;
    TRect mouseOverRect_;
    std::array<TRect, 10> layout_{};
    TPopupMenu* monthMenu_ = nullptr;       // owned as a component
    TRzYearSpinner* yearSpinner_ = nullptr;  // owned as a component
    TTimer* todayTimer_ = nullptr;           // owned as a component
};

// The calendar's and the time picker's push button.
void DrawCalendarButton(TCanvas& canvas, const TRect& r, const WideString& caption, bool themed, bool pressed, bool flat,
                        TColor fontColor, TColor buttonColor);

void RegisterStyledCalendar();
