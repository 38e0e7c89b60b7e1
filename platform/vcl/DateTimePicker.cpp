#include "platform/vcl/DateTimePicker.h"

#include <cmath>

namespace {
TDateTime Today() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return std::floor(SystemTimeToDateTime(now));
}
}  // namespace

// ---- TCommonCalendar

const TMetaClass& TCommonCalendar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCommonCalendar>("TCommonCalendar", &TWinControl::StaticClass(), [](TClassBuilder<TCommonCalendar>& b) {
        b.Property("MinDate", &TCommonCalendar::MinDate, &TCommonCalendar::SetMinDate);
        b.Property("MaxDate", &TCommonCalendar::MaxDate, &TCommonCalendar::SetMaxDate);
        b.Property("DateTime", &TCommonCalendar::DateTime, &TCommonCalendar::SetDateTime).NoDefault();
        b.Property("TabStop", &TCommonCalendar::TabStop, &TCommonCalendar::SetTabStop).Default(true);
        b.Event("OnChange", &TCommonCalendar::OnChange);
    });
    return meta;
}

const TMessageTable& TCommonCalendar::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_NOTIFY, TCommonCalendar::CNNotify),
    });
    return table;
}

TCommonCalendar::TCommonCalendar(TComponent* owner) : TWinControl(owner), value_(Today()) {
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
}

void TCommonCalendar::CheckRange(TDateTime value) const {
    if (ComponentState().Contains(csLoading)) return;
    if (minDate_ != 0 && std::floor(value) < std::floor(minDate_))
        throw EDateTimeError(WideString(u"Date is before the first allowed date"));
    if (maxDate_ != 0 && std::floor(value) > std::floor(maxDate_))
        throw EDateTimeError(WideString(u"Date is after the last allowed date"));
}

void TCommonCalendar::SetDateTime(TDateTime value) {
    CheckRange(value);
    if (value == value_) return;
    value_ = value;
    PushToPeer();
    Change();
}

TDateTime TCommonCalendar::Date() const { return std::floor(value_); }
void TCommonCalendar::SetDate(TDateTime value) { SetDateTime(std::floor(value) + (value_ - std::floor(value_))); }
TDateTime TCommonCalendar::Time() const { return value_ - std::floor(value_); }
void TCommonCalendar::SetTime(TDateTime value) { SetDateTime(std::floor(value_) + (value - std::floor(value))); }

void TCommonCalendar::SetMinDate(TDateTime value) {
    if (maxDate_ != 0 && value != 0 && value > maxDate_) throw EDateTimeError(WideString(u"The first allowed date is after the last"));
    minDate_ = value;
    if (minDate_ != 0 && value_ < minDate_ && !ComponentState().Contains(csLoading)) value_ = std::floor(minDate_) + Time();
    PushToPeer();
}

void TCommonCalendar::SetMaxDate(TDateTime value) {
    if (minDate_ != 0 && value != 0 && value < minDate_) throw EDateTimeError(WideString(u"The last allowed date is before the first"));
    maxDate_ = value;
    if (maxDate_ != 0 && std::floor(value_) > std::floor(maxDate_) && !ComponentState().Contains(csLoading))
        value_ = std::floor(maxDate_) + Time();
    PushToPeer();
}

void TCommonCalendar::CreateWnd() {
    TWinControl::CreateWnd();
    PushToPeer();
}

void TCommonCalendar::PushToPeer() {
    if (auto* peer = dynamic_cast<TDateTimePeer*>(Peer())) {
        peer->SetRange(minDate_, maxDate_);
        peer->SetValue(value_, true);
    }
}

void TCommonCalendar::Change() {
    if (OnChange) OnChange(this);
}

void TCommonCalendar::UserChanged(const SYSTEMTIME* value) {
    if (!value) return;
    const TDateTime v = SystemTimeToDateTime(*value);
    if ((minDate_ != 0 && std::floor(v) < std::floor(minDate_)) || (maxDate_ != 0 && std::floor(v) > std::floor(maxDate_))) {
        PushToPeer();  // outside the limits: the editor goes back
        return;
    }
    if (v == value_) return;
    value_ = v;
    Change();
}

void TCommonCalendar::CNNotify(TWMNotify& m) {
    if (!m.NMHdr) return;
    if (m.NMHdr->code == DTN_DATETIMECHANGE) {
        const auto* nm = reinterpret_cast<const NMDATETIMECHANGE*>(m.NMHdr);
        UserChanged(nm->dwFlags == GDT_VALID ? &nm->st : nullptr);
    }
}

void TCommonCalendar::WndProc(TMessage& m) {
    if (m.Msg == DTM_GETSYSTEMTIME) {
        auto* st = reinterpret_cast<SYSTEMTIME*>(m.LParam);
        const auto* picker = dynamic_cast<const TDateTimePicker*>(this);
        if (picker && !picker->Checked()) { m.Result = GDT_NONE; return; }
        m.Result = st && DateTimeToSystemTime(value_, *st) ? GDT_VALID : GDT_ERROR;
        return;
    }
    if (m.Msg == DTM_SETSYSTEMTIME) {
        const auto* st = reinterpret_cast<const SYSTEMTIME*>(m.LParam);
        if (m.WParam == GDT_NONE) {
            if (auto* picker = dynamic_cast<TDateTimePicker*>(this)) picker->SetChecked(false);
            m.Result = 1;
            return;
        }
        if (!st) { m.Result = 0; return; }
        try {
            SetDateTime(SystemTimeToDateTime(*st));
            m.Result = 1;
        } catch (const EDateTimeError&) {
            m.Result = 0;
        }
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TDateTimePicker

const TMetaClass& TDateTimePicker::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TDateTimePicker>("TDateTimePicker", &TCommonCalendar::StaticClass(), [](TClassBuilder<TDateTimePicker>& b) {
        b.Property("Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind).Default(dtkDate);
        b.Property("DateFormat", &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat).Default(dfShort);
        b.Property("ShowCheckbox", &TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox).Default(false);
        b.Property("Checked", &TDateTimePicker::Checked, &TDateTimePicker::SetChecked).Default(true);
    });
    return meta;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TCommonCalendar(owner) { SetBounds(0, 0, 186, 21); }

void TDateTimePicker::CreateParams(TCreateParams& params) {
    TCommonCalendar::CreateParams(params);
    params.WinClassName = u"SysDateTimePick32";
    params.OwnerPainted = false;
}

void TDateTimePicker::SetKind(TDateTimeKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    PushToPeer();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat format) {
    if (format == dateFormat_) return;
    dateFormat_ = format;
    PushToPeer();
}

void TDateTimePicker::SetShowCheckbox(bool v) {
    if (v == showCheckbox_) return;
    showCheckbox_ = v;
    if (!v) checked_ = true;
    PushToPeer();
}

void TDateTimePicker::SetChecked(bool v) {
    v = v || !showCheckbox_;
    if (v == checked_) return;
    checked_ = v;
    PushToPeer();
    Change();
}

void TDateTimePicker::PushToPeer() {
    if (auto* peer = dynamic_cast<TDateTimePeer*>(Peer())) {
        peer->SetKind(kind_, dateFormat_, showCheckbox_);
        peer->SetRange(minDate_, maxDate_);
        peer->SetValue(value_, checked_);
    }
}

void TDateTimePicker::UserChanged(const SYSTEMTIME* value) {
    if (!value) {
        if (showCheckbox_ && checked_) {
            checked_ = false;
            Change();
        }
        return;
    }
    const bool wasChecked = checked_;
    checked_ = true;
    const TDateTime before = value_;
    TCommonCalendar::UserChanged(value);
    if (!wasChecked && value_ == before) Change();
}

// ---- TMonthCalendar

const TMetaClass& TMonthCalendar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TMonthCalendar>("TMonthCalendar", &TCommonCalendar::StaticClass());
    return meta;
}

TMonthCalendar::TMonthCalendar(TComponent* owner) : TCommonCalendar(owner) { SetBounds(0, 0, 191, 154); }

void TMonthCalendar::CreateParams(TCreateParams& params) {
    TCommonCalendar::CreateParams(params);
    params.WinClassName = u"SysMonthCal32";
    params.OwnerPainted = false;
}
