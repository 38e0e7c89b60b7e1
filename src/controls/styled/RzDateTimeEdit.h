// The date-time edit: a framed edit holding one date-time value, edited as a date or as a
// time. Typed text is read leniently, keys step the value, and the drop button opens a month
// calendar in a popup.
#pragma once

#include <memory>

#include "controls/styled/RzCalendar.h"
#include "controls/styled/RzTimePicker.h"
#include "controls/styled/RzEdit.h"
#include "platform/vcl/FormatSettings.h"

class TRzPopupPanel;

enum TRzDTEditType { etDate, etTime };
QUILLORA_ENUM_TYPEINFO(TRzDTEditType, "etDate", "etTime")

using TRzDateTimeChangeEvent = std::function<void(TObject* sender, TDateTime dateTime)>;
using TRzInvalidDateEvent =
    std::function<void(TObject* sender, bool& keepFocused, bool& keepInvalidText, TDateTime& newDate)>;

// The lenient readers of typed dates and times, with the conventions they follow.
bool ParseDateText(const WideString& text, TDateTime& value, const TFormatSettings& settings, TDateTime today);
TDateTime ParseTimeText(const WideString& text, const TFormatSettings& settings);

class TRzDateTimeEdit : public TRzCustomEdit {
    QUILLORA_COMPONENT(TRzDateTimeEdit)
    QUILLORA_MESSAGES()
public:
    explicit TRzDateTimeEdit(TComponent* owner);
    ~TRzDateTimeEdit() override;

    virtual TDateTime GetDate() const;
    virtual void SetDate(TDateTime value);
    virtual TDateTime GetTime() const;
    virtual void SetTime(TDateTime value);
    TDateTime MinDate() const { return minDate_; }
    virtual void SetMinDate(TDateTime value);
    TDateTime MaxDate() const { return maxDate_; }
    virtual void SetMaxDate(TDateTime value);
    TRzDTEditType EditType() const { return editType_; }
    virtual void SetEditType(TRzDTEditType value);
    const WideString& Format() const { return format_; }
    virtual void SetFormat(const WideString& value);
    TRzCalendarElements CalendarElements() const { return calendarElements_; }
    void SetCalendarElements(TRzCalendarElements value) { calendarElements_ = value; }
    TRzCalendarColors* CalendarColors() const { return calendarColors_.get(); }
    virtual void SetCalendarColors(const TRzCalendarColors* value) { calendarColors_->Assign(value); }
    const WideString& CaptionClearBtn() const { return captionClear_; }
    void SetCaptionClearBtn(const WideString& v) { captionClear_ = v; }
    const WideString& CaptionTodayBtn() const { return captionToday_; }
    void SetCaptionTodayBtn(const WideString& v) { captionToday_ = v; }
    TRzFirstDayOfWeek FirstDayOfWeek() const { return firstDayOfWeek_; }
    void SetFirstDayOfWeek(TRzFirstDayOfWeek v) { firstDayOfWeek_ = v; }
    TRzClockFaceColors* ClockFaceColors() const { return clockFaceColors_.get(); }
    virtual void SetClockFaceColors(const TRzClockFaceColors* value) { clockFaceColors_->Assign(value); }
    const WideString& CaptionAM() const { return captionAM_; }
    void SetCaptionAM(const WideString& v) { captionAM_ = v; }
    const WideString& CaptionPM() const { return captionPM_; }
    void SetCaptionPM(const WideString& v) { captionPM_ = v; }
    const WideString& CaptionSet() const { return captionSet_; }
    void SetCaptionSet(const WideString& v) { captionSet_ = v; }
    bool RestrictMinutes() const { return restrictMinutes_; }
    void SetRestrictMinutes(bool v) { restrictMinutes_ = v; }
    bool ShowHowToUseHint() const { return showHowToUseHint_; }
    void SetShowHowToUseHint(bool v) { showHowToUseHint_ = v; }
    const WideString& HowToUseMsg() const { return howToUseMsg_; }
    void SetHowToUseMsg(const WideString& v) { howToUseMsg_ = v; }
    TColor PopupButtonColor() const { return popupButtonColor_; }
    void SetPopupButtonColor(TColor v) { popupButtonColor_ = v; }
    TColor PopupButtonFontColor() const { return popupButtonFontColor_; }
    void SetPopupButtonFontColor(TColor v) { popupButtonFontColor_ = v; }

    // Empties the text and the value.
    void Clear();
    // The value as it stands, and the text it is shown with.
    TDateTime Value() const { return value_; }
    void RefreshText();
    // Takes typed text over into the value; raises ERzCalendarError for a date out of range.
    void ValidateText();
    // True while OnChange reports text the user typed (a half-typed date), false for a value
    // set, stepped or picked.
    bool TypedChange() const { return typedChange_; }
    // The calendar shown by the drop button while it is open (tests pick a day in it).
    TRzCalendar* DroppedCalendar() const { return droppedCalendar_; }
    TRzTimePicker* DroppedTimePicker() const { return droppedPicker_; }
    // Today's date and the current time as the edit sees them (tests fix them).
    std::function<TDateTime()> Now;

    TRzDateTimeChangeEvent OnDateTimeChange;
    TRzInvalidDateEvent OnInvalidDate;
    TRzGetBoldDaysEvent OnGetBoldDays;
    TRzGetDayFormatEvent OnGetDayFormat;
    TRzGetWeekNumberEvent OnGetWeekNumber;
    TRzViewDateChangeEvent OnViewDateChange;

protected:
    virtual void DropDownCalendar();
    virtual void DropDownTimePicker();
    virtual void DateTimeChange();
    virtual void InvalidDate(bool& keepFocused, bool& keepInvalidText, TDateTime& newDate);
    void FireDropDown() override;
    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(WideChar& key) override;

    void WMGetDlgCode(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);

private:
    std::unique_ptr<TRzPopupPanel> MakePopupPanel();
    int CompareWithRange(TDateTime value) const;
    void AdjustToRange(TDateTime min, TDateTime max);
    void DateTimeChanged();
    void ParseText();
    [[noreturn]] void RaiseRange(int direction) const;
    void StepDate(int years, int months, int days);
    void StepTime(int hours, int minutes);
    TDateTime Today() const;

    TRzDTEditType editType_ = etDate;
    TDateTime lastReported_ = 0, value_ = 0, minDate_ = 0, maxDate_ = 0;
    WideString format_;
    bool updatingText_ = false;
    bool timeEntered_ = false, settingTime_ = false, timeFromPopup_ = false;
    bool dateEntered_ = false, settingDate_ = false, dateFromPopup_ = false;
    bool exitBusy_ = false;
    bool typedChange_ = false;
    TRzCalendarElements calendarElements_{ceYear, ceMonth, ceArrows, ceDaysOfWeek, ceFillDays, ceTodayButton, ceClearButton};
    std::unique_ptr<TRzCalendarColors> calendarColors_;
    WideString captionClear_, captionToday_;
    TRzFirstDayOfWeek firstDayOfWeek_ = fdowLocale;
    TColor popupButtonColor_ = clBtnFace, popupButtonFontColor_ = clWindowText;
    std::unique_ptr<TRzClockFaceColors> clockFaceColors_;
    WideString captionAM_, captionPM_, captionSet_, howToUseMsg_;
    bool restrictMinutes_ = false, showHowToUseHint_ = true;
    TRzCalendar* droppedCalendar_ = nullptr;
    TRzTimePicker* droppedPicker_ = nullptr;
};

void RegisterStyledDateTimeEdit();
