// The date-time edit: value, text, keys and the drop-down calendar.
#include "controls/styled/RzDateTimeEdit.h"

#include <cmath>

#include "controls/styled/RzPopup.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinString.h"

namespace {

constexpr WORD kPageUp = 0x21, kPageDown = 0x22, kUp = 0x26, kDown = 0x28;
constexpr LRESULT kWantArrowsAndChars = 0x81;

TDateTime Whole(TDateTime v) { return std::trunc(v); }
TDateTime Fraction(TDateTime v) { return v - std::trunc(v); }

}  // namespace

const TMetaClass& TRzDateTimeEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzDateTimeEdit>("TRzDateTimeEdit", &TRzCustomEdit::StaticClass(), [](TClassBuilder<TRzDateTimeEdit>& b) {
        b.Property("EditType", &TRzDateTimeEdit::EditType, &TRzDateTimeEdit::SetEditType).NoDefault();
        b.Property("Date", &TRzDateTimeEdit::GetDate, &TRzDateTimeEdit::SetDate)
            .Stored([](const TObject& o) { return static_cast<const TRzDateTimeEdit&>(o).EditType() == etDate; });
        b.Property("Time", &TRzDateTimeEdit::GetTime, &TRzDateTimeEdit::SetTime)
            .Stored([](const TObject& o) { return static_cast<const TRzDateTimeEdit&>(o).EditType() == etTime; });
        b.Property("MinDate", &TRzDateTimeEdit::MinDate, &TRzDateTimeEdit::SetMinDate)
            .Stored([](const TObject& o) { return static_cast<const TRzDateTimeEdit&>(o).MinDate() != 0; });
        b.Property("MaxDate", &TRzDateTimeEdit::MaxDate, &TRzDateTimeEdit::SetMaxDate)
            .Stored([](const TObject& o) { return static_cast<const TRzDateTimeEdit&>(o).MaxDate() != 0; });
        b.Property("Format", &TRzDateTimeEdit::Format, &TRzDateTimeEdit::SetFormat);
        b.Property("CalendarElements", &TRzDateTimeEdit::CalendarElements, &TRzDateTimeEdit::SetCalendarElements).NoDefault();
        b.Property("CaptionTodayBtn", &TRzDateTimeEdit::CaptionTodayBtn, &TRzDateTimeEdit::SetCaptionTodayBtn);
        b.Property("CaptionClearBtn", &TRzDateTimeEdit::CaptionClearBtn, &TRzDateTimeEdit::SetCaptionClearBtn);
        b.Property("FirstDayOfWeek", &TRzDateTimeEdit::FirstDayOfWeek, &TRzDateTimeEdit::SetFirstDayOfWeek).Default(fdowLocale);
        b.Property("PopupButtonColor", &TRzDateTimeEdit::PopupButtonColor, &TRzDateTimeEdit::SetPopupButtonColor).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("PopupButtonFontColor", &TRzDateTimeEdit::PopupButtonFontColor, &TRzDateTimeEdit::SetPopupButtonFontColor).Default(clWindowText).Type(ColorTypeInfo());
        b.Property("FrameVisible", &TRzDateTimeEdit::FrameVisible, &TRzDateTimeEdit::SetFrameVisible).Default(false);
        b.Property("FrameColor", &TRzDateTimeEdit::FrameColor, &TRzDateTimeEdit::SetFrameColor).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("FrameStyle", &TRzDateTimeEdit::FrameStyle, &TRzDateTimeEdit::SetFrameStyle).Default(fsFlat);
        b.Property("ReadOnlyColor", &TRzDateTimeEdit::ReadOnlyColor, &TRzDateTimeEdit::SetReadOnlyColor).Default(clInfoBk).Type(ColorTypeInfo());
        b.Property("DropButtonVisible", &TRzDateTimeEdit::DropButtonVisible, &TRzDateTimeEdit::SetDropButtonVisible).Default(true);
        b.Event("OnDateTimeChange", &TRzDateTimeEdit::OnDateTimeChange);
        b.Event("OnChange", static_cast<decltype(TCustomEdit::OnChange) TRzDateTimeEdit::*>(&TCustomEdit::OnChange));
        b.Event("OnDropDown", static_cast<TNotifyEvent TRzDateTimeEdit::*>(&TRzCustomEdit::OnDropDown));
        b.Event("OnCloseUp", static_cast<TNotifyEvent TRzDateTimeEdit::*>(&TRzCustomEdit::OnCloseUp));
    });
    return meta;
}

const TMessageTable& TRzDateTimeEdit::ClassMessages() {
    static const TMessageTable table(&TRzCustomEdit::ClassMessages(), {
        MESSAGE_HANDLER(WM_GETDLGCODE, TRzDateTimeEdit::WMGetDlgCode),
        MESSAGE_HANDLER(CM_ENTER, TRzDateTimeEdit::CMEnter),
        MESSAGE_HANDLER(CM_EXIT, TRzDateTimeEdit::CMExit),
    });
    return table;
}

TRzDateTimeEdit::TRzDateTimeEdit(TComponent* owner)
    : TRzCustomEdit(owner),
      calendarColors_(std::make_unique<TRzCalendarColors>()),
      clockFaceColors_(std::make_unique<TRzClockFaceColors>()) {
    SetDropButtonVisible(true);
}

TRzDateTimeEdit::~TRzDateTimeEdit() = default;

TDateTime TRzDateTimeEdit::Today() const {
    if (Now) return Whole(Now());
    return TRzCalendar::DefaultToday();
}

// ---- value

TDateTime TRzDateTimeEdit::GetDate() const { return Whole(value_); }

TDateTime TRzDateTimeEdit::GetTime() const { return Fraction(value_); }

// The value is compared with its time: a time on the maximum day lies beyond it.
int TRzDateTimeEdit::CompareWithRange(TDateTime value) const {
    if (maxDate_ != 0 && value > maxDate_) return 1;
    if (minDate_ != 0 && value < minDate_) return -1;
    return 0;
}

void TRzDateTimeEdit::RaiseRange(int direction) const {
    if (direction > 0) throw ERzCalendarError(WideFormat(u"Date exceeds maximum of %s", DateToStr(maxDate_).c_str()));
    throw ERzCalendarError(WideFormat(u"Date is less than minimum of %s", DateToStr(minDate_).c_str()));
}

void TRzDateTimeEdit::SetDate(TDateTime value) {
    settingDate_ = true;
    try {
        if (const int c = CompareWithRange(value)) RaiseRange(c);
        value_ = value;
        dateEntered_ = true;
        editType_ = etDate;
        DateTimeChanged();
        RefreshText();
    } catch (...) {
        settingDate_ = false;
        throw;
    }
    settingDate_ = false;
}

void TRzDateTimeEdit::SetTime(TDateTime value) {
    settingTime_ = true;
    try {
        value_ = value;
        timeEntered_ = true;
        editType_ = etTime;
        DateTimeChanged();
        RefreshText();
    } catch (...) {
        settingTime_ = false;
        throw;
    }
    settingTime_ = false;
}

void TRzDateTimeEdit::AdjustToRange(TDateTime min, TDateTime max) {
    if (editType_ != etDate || Whole(value_) == 0) return;
    if (min != 0 && Whole(value_) < min) SetDate(min);
    if (max != 0 && Whole(value_) > max) SetDate(max);
}

void TRzDateTimeEdit::SetMinDate(TDateTime value) {
    const TDateTime bound = Whole(value);
    if (bound != 0 && maxDate_ != 0 && bound > maxDate_) RaiseRange(1);
    if (bound == minDate_) return;
    const TDateTime saved = minDate_;
    minDate_ = 0;  // the clamp runs against the new range only
    try {
        AdjustToRange(bound, maxDate_);
    } catch (...) {
        minDate_ = saved;
        throw;
    }
    minDate_ = bound;
}

void TRzDateTimeEdit::SetMaxDate(TDateTime value) {
    const TDateTime bound = Whole(value);
    if (bound != 0 && minDate_ != 0 && bound < minDate_) RaiseRange(-1);
    if (bound == maxDate_) return;
    const TDateTime saved = maxDate_;
    maxDate_ = 0;
    try {
        AdjustToRange(minDate_, bound);
    } catch (...) {
        maxDate_ = saved;
        throw;
    }
    maxDate_ = bound;
}

void TRzDateTimeEdit::SetEditType(TRzDTEditType value) {
    if (value == editType_) return;
    editType_ = value;
    ValidateText();
}

void TRzDateTimeEdit::SetFormat(const WideString& value) {
    if (value == format_) return;
    ParseText();
    format_ = value;
    RefreshText();
}

void TRzDateTimeEdit::Clear() {
    TCustomEdit::Clear();
    value_ = 0;
    DateTimeChanged();
    dateEntered_ = false;
    timeEntered_ = false;
    RefreshText();
}

void TRzDateTimeEdit::DateTimeChanged() {
    const bool moved = editType_ == etTime ? Fraction(value_) != Fraction(lastReported_) : Whole(value_) != Whole(lastReported_);
    if (!moved) return;
    lastReported_ = value_;
    DateTimeChange();
}

void TRzDateTimeEdit::DateTimeChange() {
    if (OnDateTimeChange) OnDateTimeChange(this, value_);
}

void TRzDateTimeEdit::InvalidDate(bool& keepFocused, bool& keepInvalidText, TDateTime& newDate) {
    if (OnInvalidDate) OnInvalidDate(this, keepFocused, keepInvalidText, newDate);
}

// ---- text

void TRzDateTimeEdit::ParseText() {
    if (!Modified()) return;
    SetModified(false);
    try {
        if (editType_ == etTime) {
            value_ = ParseTimeText(Text(), FormatSettings());
            timeEntered_ = true;
        } else {
            TDateTime parsed = 0;
            ParseDateText(Text(), parsed, FormatSettings(), Today());
            value_ = parsed;
            dateEntered_ = true;
        }
        DateTimeChanged();
    } catch (const Exception&) {
        // Text that cannot be read leaves the value as it is; leaving the edit reports it.
    }
}

void TRzDateTimeEdit::RefreshText() {
    const WideString format = !format_.empty() ? format_ : editType_ == etTime ? WideString(u"t") : WideString(u"ddddd");
    updatingText_ = true;
    const bool time = editType_ == etTime;
    const bool setting = time ? settingTime_ : settingDate_;
    const bool entered = time ? timeEntered_ : dateEntered_;
    const bool fromPopup = time ? timeFromPopup_ : dateFromPopup_;
    bool write = true;
    if (!setting && value_ == 0) {
        if (!entered) {
            TControl::SetText(WideString());
            write = false;
        } else if (Text().empty() && !fromPopup) {
            write = false;
        }
    }
    if (write) TControl::SetText(FormatDateTime(format, value_));
    updatingText_ = false;
    SetModified(false);
}

void TRzDateTimeEdit::Change() {
    if (!updatingText_) {
        ParseText();
        DateTimeChange();
    }
    const bool saved = typedChange_;
    typedChange_ = !updatingText_;
    try {
        TRzCustomEdit::Change();
    } catch (...) {
        typedChange_ = saved;
        throw;
    }
    typedChange_ = saved;
}

void TRzDateTimeEdit::ValidateText() {
    const WideString remembered = Text();
    ParseText();
    if (editType_ == etTime) {
        RefreshText();
        return;
    }
    bool keepFocused = false, keepInvalidText = false;
    TDateTime newDate = 0;
    TDateTime parsed = 0;
    if (!ParseDateText(Text(), parsed, FormatSettings(), Today())) {
        InvalidDate(keepFocused, keepInvalidText, newDate);
        value_ = newDate;
        if (keepFocused || keepInvalidText) {
            if (CanFocus()) SetFocus();
            updatingText_ = true;
            TControl::SetText(keepInvalidText ? remembered : value_ == 0 ? WideString() : Text());
            updatingText_ = false;
        }
        dateEntered_ = false;
    }
    if (Whole(value_) != 0)
        if (const int c = CompareWithRange(Whole(value_))) RaiseRange(c);
    if (!keepFocused && !keepInvalidText) RefreshText();
}

// ---- focus

void TRzDateTimeEdit::WMGetDlgCode(TMessage& m) { m.Result = kWantArrowsAndChars; }

void TRzDateTimeEdit::CMEnter(TMessage& m) {
    InheritedMessage(TRzCustomEdit::ClassMessages(), m);
    RefreshText();
}

void TRzDateTimeEdit::CMExit(TMessage& m) {
    InheritedMessage(TRzCustomEdit::ClassMessages(), m);
    if (exitBusy_ || ComponentState().Contains(csDestroying)) return;
    exitBusy_ = true;
    try {
        ValidateText();
    } catch (const Exception&) {
        Application->MessageBox(u"Date is beyond valid date range", Application->Title(), MB_ICONERROR);
        if (CanFocus()) SetFocus();
    } catch (...) {
        exitBusy_ = false;  // the next exit validates again
        throw;
    }
    exitBusy_ = false;
}

// ---- keys

void TRzDateTimeEdit::StepDate(int years, int months, int days) {
    if (value_ == 0) value_ = Today();
    value_ = IncMonth(value_, 12 * years + months) + days;
    dateEntered_ = true;
    DateTimeChanged();
    RefreshText();
}

void TRzDateTimeEdit::StepTime(int hours, int minutes) {
    if (value_ == 0) value_ = Now ? Now() : TRzCalendar::DefaultToday();
    value_ += hours / 24.0 + minutes / 1440.0;
    if (value_ < 0) value_ += 1;
    timeEntered_ = true;
    DateTimeChanged();
    RefreshText();
}

void TRzDateTimeEdit::KeyDown(WORD& key, TShiftState shift) {
    TRzCustomEdit::KeyDown(key, shift);
    if (ReadOnly() || (key != kPageUp && key != kPageDown && key != kUp && key != kDown)) return;
    ParseText();
    if (editType_ == etTime) {
        if (key == kPageUp) StepTime(1, 0);
        else if (key == kPageDown) StepTime(-1, 0);
        else if (key == kUp) StepTime(0, 1);
        else StepTime(0, -1);
    } else {
        const bool years = shift.Contains(ssShift);
        if (key == kPageUp) StepDate(years ? 1 : 0, years ? 0 : 1, 0);
        else if (key == kPageDown) StepDate(years ? -1 : 0, years ? 0 : -1, 0);
        else if (key == kUp) StepDate(0, 0, 1);
        else StepDate(0, 0, -1);
    }
    key = 0;
}

void TRzDateTimeEdit::KeyPress(WideChar& key) {
    const bool stepKey = key == u'+' || key == u'-' || key == u'=' || key == u'_';
    if (ReadOnly() && stepKey) {
        key = 0;
        return;
    }
    if (editType_ == etTime) {
        const WideChar upper = key >= u'a' && key <= u'z' ? static_cast<WideChar>(key - 32) : key;
        const bool letter = (upper >= u'A' && upper <= u'Z');
        if (letter && upper != u'A' && upper != u'M' && upper != u'P') {
            InvalidKeyBeep();
            key = 0;
            return;
        }
    }
    const WideChar separator = editType_ == etDate ? FormatSettings().DateSeparator : FormatSettings().TimeSeparator;
    if (stepKey && key != separator) {
        ParseText();
        const int step = key == u'+' || key == u'=' ? 1 : -1;
        if (editType_ == etDate) StepDate(0, 0, step);
        else StepTime(step, 0);
        key = 0;
        return;
    }
    TRzCustomEdit::KeyPress(key);
}

// ---- drop-down

void TRzDateTimeEdit::FireDropDown() {
    if (ReadOnly()) return;
    TRzCustomEdit::FireDropDown();
    const TNotifyEvent enter = OnEnter, exit = OnExit;
    OnEnter = nullptr;
    OnExit = nullptr;
    try {
        if (editType_ == etDate) DropDownCalendar();
        else DropDownTimePicker();
    } catch (const Exception&) {
        // A failed drop-down leaves the value as it was.
    } catch (...) {
        // Anything else is no drop-down failure: it goes on, with the handlers back.
        OnEnter = enter;
        OnExit = exit;
        throw;
    }
    OnEnter = enter;
    OnExit = exit;
}

void TRzDateTimeEdit::DropDownCalendar() {
    if (!Parent()) return;
    const bool autoSelect = AutoSelect();
    SetAutoSelect(false);
    auto panel = MakePopupPanel();
    auto* calendar = new TRzCalendar(panel.get());
    calendar->SetParent(panel.get());
    calendar->SetIsPopup(true);
    calendar->SetThemeAware(UseThemes());
    calendar->SetColor(Color());
    calendar->SetButtonColor(popupButtonColor_);
    calendar->SetButtonFontColor(popupButtonFontColor_);
    calendar->SetElements(calendarElements_);
    calendar->SetFirstDayOfWeek(firstDayOfWeek_);
    calendar->SetCaptionClearBtn(captionClear_);
    calendar->SetCaptionTodayBtn(captionToday_);
    calendar->OnGetBoldDays = OnGetBoldDays;
    calendar->OnGetDayFormat = OnGetDayFormat;
    calendar->OnGetWeekNumber = OnGetWeekNumber;
    calendar->OnViewDateChange = OnViewDateChange;
    if (Now) calendar->Today = [this] { return Today(); };
    calendar->HandleNeeded();
    calendar->SetMinDate(minDate_);
    calendar->SetMaxDate(maxDate_);
    TDateTime date = Whole(value_);
    if (date == 0) date = Today();
    else if (maxDate_ != 0 && date > maxDate_) date = maxDate_;
    else if (minDate_ != 0 && date < minDate_) date = minDate_;
    calendar->SetDateInternal(date);
    if ((FrameVisible() && !UseThemes() && FrameStyle() == fsFlat) || FrameStyle() == fsFlatBold) {
        calendar->SetBorderOuter(fsFlat);
        calendar->SetFlatColor(FrameColor());
    }
    calendar->SetVisible(true);
    calendar->SetCalendarColors(calendarColors_.get());
    TRzPopupPanel* popup = panel.get();
    calendar->OnClick = [popup](TObject*) { popup->ClosePopup(); };
    // Size the panel to the calendar it shows.
    panel->SetBounds(0, 0, calendar->Width() + 2 * panel->BorderWidth() + 4, calendar->Height() + 2 * panel->BorderWidth() + 4);
    calendar->SetAlign(alClient);
    droppedCalendar_ = calendar;
    exitBusy_ = true;
    bool accepted = false;
    try {
        accepted = panel->Popup(this);
    } catch (...) {
        exitBusy_ = false;
        droppedCalendar_ = nullptr;
        SetAutoSelect(autoSelect);
        throw;
    }
    exitBusy_ = false;
    droppedCalendar_ = nullptr;
    if (accepted) {
        dateFromPopup_ = true;
        try {
            if (calendar->ClearClicked()) Clear();
            else SetDate(calendar->Date());
        } catch (...) {
            dateFromPopup_ = false;
            SetAutoSelect(autoSelect);
            throw;
        }
        dateFromPopup_ = false;
    }
    SetAutoSelect(autoSelect);
}

std::unique_ptr<TRzPopupPanel> TRzDateTimeEdit::MakePopupPanel() {
    auto panel = std::make_unique<TRzPopupPanel>(this);
    panel->SetParent(Parent());
    panel->Font()->Assign(Font());
    return panel;
}

void TRzDateTimeEdit::DropDownTimePicker() {
    if (!Parent()) return;
    const bool autoSelect = AutoSelect();
    SetAutoSelect(false);
    auto panel = MakePopupPanel();
    auto* picker = new TRzTimePicker(panel.get());
    picker->SetParent(panel.get());
    picker->SetIsPopup(true);
    picker->SetThemeAware(UseThemes());
    picker->SetColor(Color());
    picker->SetButtonColor(popupButtonColor_);
    picker->SetButtonFontColor(popupButtonFontColor_);
    picker->SetCaptionAM(captionAM_);
    picker->SetCaptionPM(captionPM_);
    picker->SetCaptionSet(captionSet_);
    picker->HandleNeeded();
    picker->SetTime(GetTime());
    if ((FrameVisible() && !UseThemes() && FrameStyle() == fsFlat) || FrameStyle() == fsFlatBold) {
        picker->SetBorderOuter(fsFlat);
        picker->SetFlatColor(FrameColor());
    }
    picker->SetVisible(true);
    picker->SetClockFaceColors(clockFaceColors_.get());
    picker->SetFormat(format_);
    picker->SetShowSetButton(true);
    picker->SetShowHowToUseHint(showHowToUseHint_);
    picker->SetHowToUseMsg(howToUseMsg_);
    picker->SetRestrictMinutes(restrictMinutes_);
    TRzPopupPanel* popup = panel.get();
    picker->OnSetBtnClick = [popup](TObject*) { popup->ClosePopup(); };
    panel->SetBounds(0, 0, picker->Width() + 2 * panel->BorderWidth() + 4, picker->Height() + 2 * panel->BorderWidth() + 4);
    picker->SetAlign(alClient);
    droppedPicker_ = picker;
    bool accepted = false;
    try {
        accepted = panel->Popup(this);
    } catch (...) {
        droppedPicker_ = nullptr;
        SetAutoSelect(autoSelect);
        throw;
    }
    droppedPicker_ = nullptr;
    if (accepted) {
        timeFromPopup_ = true;
        try {
            SetTime(picker->Time());
        } catch (...) {
            timeFromPopup_ = false;
            SetAutoSelect(autoSelect);
            throw;
        }
        timeFromPopup_ = false;
    }
    SetAutoSelect(autoSelect);
}

void RegisterStyledDateTimeEdit() { RegisterClasses({&TRzDateTimeEdit::StaticClass()}); }
