// The date controls' peers: a QDateTimeEdit (with a calendar popup for dates and a check box in
// front when the picker may hold no value) and a QCalendarWidget. A change the user makes goes
// to the control as DTN_DATETIMECHANGE; the control keeps the value and its limits.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>

#include <cmath>

#include "platform/vcl/DateTimePicker.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

const QDate kEpoch(1899, 12, 30);

QDateTime ToQDateTime(TDateTime value) {
    const double day = std::floor(value);
    const auto ms = static_cast<int>(std::lround((value - day) * 86400000.0));
    return QDateTime(kEpoch.addDays(static_cast<qint64>(day)), QTime(0, 0).addMSecs(std::min(ms, 86399999)));
}

SYSTEMTIME ToSystemTime(const QDateTime& dt) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(dt.date().year());
    st.wMonth = static_cast<WORD>(dt.date().month());
    st.wDay = static_cast<WORD>(dt.date().day());
    st.wDayOfWeek = static_cast<WORD>(dt.date().dayOfWeek() % 7);
    st.wHour = static_cast<WORD>(dt.time().hour());
    st.wMinute = static_cast<WORD>(dt.time().minute());
    st.wSecond = static_cast<WORD>(dt.time().second());
    st.wMilliseconds = static_cast<WORD>(dt.time().msec());
    return st;
}

// Sends the control the change the user made (none: the check box was cleared).
class DatePeerBase : public HostedPeer, public TDateTimePeer {
public:
    using HostedPeer::HostedPeer;

protected:
    void Report(const QDateTime* value) {
        if (syncing_) return;
        NMDATETIMECHANGE nm;
        nm.nmhdr.hwndFrom = Control().WindowHandle();
        nm.nmhdr.code = DTN_DATETIMECHANGE;
        nm.dwFlags = value ? GDT_VALID : GDT_NONE;
        if (value) nm.st = ToSystemTime(*value);
        Send(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    }
    bool syncing_ = false;
};

class DateTimePickerPeer : public DatePeerBase {
public:
    DateTimePickerPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : DatePeerBase(control, params, parent), box_(new QWidget), check_(new QCheckBox), edit_(new QDateTimeEdit) {
        auto* layout = new QHBoxLayout(box_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        layout->addWidget(check_);
        layout->addWidget(edit_, 1);
        check_->hide();
        QObject::connect(edit_, &QDateTimeEdit::dateTimeChanged, edit_, [this](const QDateTime& dt) { Report(&dt); });
        QObject::connect(check_, &QCheckBox::toggled, check_, [this](bool on) {
            edit_->setEnabled(on);
            const QDateTime dt = edit_->dateTime();
            Report(on ? &dt : nullptr);
        });
        Host(box_, {edit_, check_});
    }
    void SetValue(TDateTime value, bool checked) override {
        syncing_ = true;
        edit_->setDateTime(ToQDateTime(value));
        check_->setChecked(checked);
        edit_->setEnabled(checked || check_->isHidden());
        syncing_ = false;
    }
    void SetRange(TDateTime minDate, TDateTime maxDate) override {
        syncing_ = true;
        edit_->clearMinimumDateTime();
        edit_->clearMaximumDateTime();
        if (minDate != 0) edit_->setMinimumDate(ToQDateTime(minDate).date());
        if (maxDate != 0) edit_->setMaximumDate(ToQDateTime(maxDate).date());
        syncing_ = false;
    }
    void SetKind(TDateTimeKind kind, TDTDateFormat format, bool showCheckbox) override {
        const QLocale locale;
        if (kind == dtkTime) {
            edit_->setDisplayFormat(locale.timeFormat(QLocale::LongFormat).remove(QStringLiteral(" t")));
            edit_->setCalendarPopup(false);
        } else {
            edit_->setDisplayFormat(locale.dateFormat(format == dfLong ? QLocale::LongFormat : QLocale::ShortFormat));
            edit_->setCalendarPopup(true);
        }
        check_->setVisible(showCheckbox);
    }

private:
    QWidget* box_;
    QCheckBox* check_;
    QDateTimeEdit* edit_;
};

class MonthCalendarPeer : public DatePeerBase {
public:
    MonthCalendarPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : DatePeerBase(control, params, parent), calendar_(new QCalendarWidget) {
        calendar_->setGridVisible(false);
        QObject::connect(calendar_, &QCalendarWidget::selectionChanged, calendar_, [this] {
            const QDateTime dt(calendar_->selectedDate(), time_);
            Report(&dt);
        });
        Host(calendar_);
    }
    void SetValue(TDateTime value, bool) override {
        syncing_ = true;
        const QDateTime dt = ToQDateTime(value);
        time_ = dt.time();
        calendar_->setSelectedDate(dt.date());
        syncing_ = false;
    }
    void SetRange(TDateTime minDate, TDateTime maxDate) override {
        syncing_ = true;
        calendar_->setMinimumDate(minDate != 0 ? ToQDateTime(minDate).date() : QDate(100, 1, 1));
        calendar_->setMaximumDate(maxDate != 0 ? ToQDateTime(maxDate).date() : QDate(9999, 12, 31));
        syncing_ = false;
    }
    void SetKind(TDateTimeKind, TDTDateFormat, bool) override {}

private:
    QCalendarWidget* calendar_;
    QTime time_;
};

}  // namespace

void RegisterDateTimePickerPeers() {
    RegisterPeerClass(u"SysDateTimePick32", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) -> std::unique_ptr<TWidgetPeer> {
        return std::make_unique<DateTimePickerPeer>(c, p, parent);
    });
    RegisterPeerClass(u"SysMonthCal32", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) -> std::unique_ptr<TWidgetPeer> {
        return std::make_unique<MonthCalendarPeer>(c, p, parent);
    });
}

}  // namespace vclqt
