// Date controls without a toolkit: limits, the check box that leaves no value, and the change
// the editor reports.
#include <gtest/gtest.h>

#include "platform/vcl/DateTimePicker.h"

namespace {

NMDATETIMECHANGE Change(WORD year, WORD month, WORD day, DWORD flags = GDT_VALID) {
    NMDATETIMECHANGE nm;
    nm.nmhdr.code = DTN_DATETIMECHANGE;
    nm.dwFlags = flags;
    nm.st.wYear = year;
    nm.st.wMonth = month;
    nm.st.wDay = day;
    nm.st.wHour = 12;
    return nm;
}

TEST(DateTimePicker, LimitsCheckBoxAndUserChanges) {
    TDateTimePicker picker(nullptr);
    int changes = 0;
    picker.OnChange = [&](TObject*) { ++changes; };
    TDateTime first = 0, day = 0;
    ASSERT_TRUE(TryEncodeDate(2020, 1, 1, first));
    ASSERT_TRUE(TryEncodeDate(2024, 5, 17, day));
    picker.SetDateTime(day + 0.25);
    EXPECT_DOUBLE_EQ(picker.Date(), day);
    EXPECT_DOUBLE_EQ(picker.Time(), 0.25);
    picker.SetMinDate(first);
    EXPECT_THROW(picker.SetDate(first - 1), EDateTimeError);
    EXPECT_THROW(picker.SetMaxDate(first - 10), EDateTimeError);
    EXPECT_EQ(changes, 1);

    // The editor reports a day: taken with its time; a day before the limit is refused.
    NMDATETIMECHANGE nm = Change(2023, 3, 4);
    picker.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(changes, 2);
    WORD y = 0, m = 0, d = 0;
    DecodeDate(picker.Date(), y, m, d);
    EXPECT_EQ(y, 2023);
    EXPECT_EQ(d, 4);
    nm = Change(2019, 12, 31);
    picker.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(changes, 2);
    DecodeDate(picker.Date(), y, m, d);
    EXPECT_EQ(y, 2023);

    // Unchecked, the picker has no value to give.
    picker.SetShowCheckbox(true);
    nm = Change(0, 0, 0, GDT_NONE);
    picker.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_FALSE(picker.Checked());
    EXPECT_EQ(changes, 3);
    SYSTEMTIME st{};
    EXPECT_EQ(picker.Perform(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), static_cast<LRESULT>(GDT_NONE));
    picker.SetChecked(true);
    EXPECT_EQ(picker.Perform(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), static_cast<LRESULT>(GDT_VALID));
    EXPECT_EQ(st.wYear, 2023);
    // Without the check box a picker is always checked.
    picker.SetShowCheckbox(false);
    picker.SetChecked(false);
    EXPECT_TRUE(picker.Checked());
}

}  // namespace
