// Date controls: TDateTimePicker (a date or a time, with an optional check box that leaves the
// value unset, and a lower and upper limit) and TMonthCalendar (a month to pick a day in). The
// control keeps the value; the toolkit's editor reports a change as DTN_DATETIMECHANGE /
// MCN_SELECT through CN_NOTIFY.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/win/WinTime.h"

QUILLORA_EXCEPTION_CLASS(EDateTimeError, Exception);

inline constexpr UINT DTM_FIRST = 0x1000;
inline constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1;
inline constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2;
inline constexpr UINT DTN_FIRST = 0u - 760u;
inline constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST + 1;  // -759
inline constexpr UINT MCN_FIRST = 0u - 750u;
inline constexpr UINT MCN_SELCHANGE = MCN_FIRST + 1;
inline constexpr UINT MCN_SELECT = MCN_FIRST + 4;
inline constexpr DWORD GDT_ERROR = static_cast<DWORD>(-1), GDT_VALID = 0, GDT_NONE = 1;

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID;
    SYSTEMTIME st{};
};

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };
QUILLORA_ENUM_TYPEINFO(TDateTimeKind, "dtkDate", "dtkTime")
QUILLORA_ENUM_TYPEINFO(TDTDateFormat, "dfShort", "dfLong")

// What the toolkit's editor shows.
class TDateTimePeer {
public:
    virtual ~TDateTimePeer() = default;
    virtual void SetValue(TDateTime value, bool checked) = 0;
    // min / max of 0: no limit.
    virtual void SetRange(TDateTime minDate, TDateTime maxDate) = 0;
    virtual void SetKind(TDateTimeKind kind, TDTDateFormat format, bool showCheckbox) = 0;
};

// The part both date controls share: a value inside optional limits, and OnChange.
class TCommonCalendar : public TWinControl {
    QUILLORA_COMPONENT(TCommonCalendar)
    QUILLORA_MESSAGES()
public:
    explicit TCommonCalendar(TComponent* owner);

    TDateTime DateTime() const { return value_; }
    void SetDateTime(TDateTime value);
    // The day of the value (no time), and the time of day (no date).
    TDateTime Date() const;
    void SetDate(TDateTime value);
    TDateTime Time() const;
    void SetTime(TDateTime value);
    TDateTime MinDate() const { return minDate_; }
    void SetMinDate(TDateTime value);
    TDateTime MaxDate() const { return maxDate_; }
    void SetMaxDate(TDateTime value);

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    virtual void Change();
    virtual void PushToPeer();
    // The change a user made: the value, or none (an unchecked picker).
    virtual void UserChanged(const SYSTEMTIME* value);
    void CNNotify(TWMNotify& m);
    void CheckRange(TDateTime value) const;

    TDateTime value_;
    TDateTime minDate_ = 0;
    TDateTime maxDate_ = 0;
};

class TDateTimePicker : public TCommonCalendar {
    QUILLORA_COMPONENT(TDateTimePicker)
public:
    explicit TDateTimePicker(TComponent* owner);

    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind kind);
    TDTDateFormat DateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat format);
    bool ShowCheckbox() const { return showCheckbox_; }
    void SetShowCheckbox(bool v);
    // Unchecked, the picker holds no value (DTM_GETSYSTEMTIME answers GDT_NONE).
    bool Checked() const { return checked_; }
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void PushToPeer() override;
    void UserChanged(const SYSTEMTIME* value) override;

private:
    TDateTimeKind kind_ = dtkDate;
    TDTDateFormat dateFormat_ = dfShort;
    bool showCheckbox_ = false;
    bool checked_ = true;
};

class TMonthCalendar : public TCommonCalendar {
    QUILLORA_COMPONENT(TMonthCalendar)
public:
    explicit TMonthCalendar(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};
