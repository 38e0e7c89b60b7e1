// Date conventions of named locales and formatting with the class library's letters.
#include <gtest/gtest.h>

#include "platform/vcl/FormatSettings.h"

namespace {

TDateTime At(WORD y, WORD m, WORD d, WORD h = 0, WORD n = 0, WORD s = 0) {
    TDateTime date = 0, time = 0;
    EXPECT_TRUE(TryEncodeDate(y, m, d, date));
    EXPECT_TRUE(TryEncodeTime(h, n, s, 0, time));
    return date + time;
}

TEST(FormatSettings, LocalesGiveTheirOwnConventions) {
    const TDateTime when = At(2026, 3, 5, 13, 2, 3);
    struct Case {
        const char* locale;
        int firstDay;
        const char16_t* shortDate;
        const char16_t* longTime;
        const char16_t* month;
    } cases[] = {
        {"en_US", 6, u"3/5/2026", u"1:02:03 PM", u"March"},
        {"de_DE", 0, u"05.03.2026", u"13:02:03", u"März"},
        {"en_GB", 0, u"05/03/2026", u"13:02:03", u"March"},
    };
    for (const Case& c : cases) {
        const TFormatSettings fs = LocaleFormatSettings(c.locale);
        EXPECT_EQ(fs.FirstDayOfWeek, c.firstDay) << c.locale;
        EXPECT_EQ(DateToStr(when, fs), c.shortDate) << c.locale;
        // The desktop's narrow blank before AM/PM is a blank of its own kind: compare loosely.
        WideString time = TimeToStr(when, fs);
        for (char16_t& ch : time)
            if (ch == u'\u202F' || ch == u'\u00A0') ch = u' ';
        EXPECT_EQ(time, c.longTime) << c.locale;
        EXPECT_EQ(FormatDateTime(u"mmmm yyyy", when, fs), WideString(c.month) + u" 2026") << c.locale;
    }
}

TEST(FormatSettings, FormatLetters) {
    const TFormatSettings fs = LocaleFormatSettings("en_US");
    const TDateTime when = At(2026, 3, 5, 9, 7, 4);
    struct Case {
        const char16_t* format;
        const char16_t* expected;
    } cases[] = {
        {u"yyyy-mm-dd hh:nn:ss", u"2026-03-05 09:07:04"},
        {u"d/m/yy", u"5/3/26"},
        {u"hh:mm", u"09:07"},  // m right after an hour is the minute
        {u"ddd dddd mmm", u"Thu Thursday Mar"},
        {u"h:nn am/pm", u"9:07 AM"},
        {u"'at' hh\"h\"", u"at 09h"},
        {u"YYYY, MM.DD DDD, HH:MM:SS", u"2026, 03.05 Thu, 09:07:04"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, when, fs), c.expected);
    EXPECT_EQ(DateTimeToStr(At(2026, 3, 5), fs), u"3/5/2026") << "no time at midnight";
}

TEST(FormatSettings, IsoWeekNumbers) {
    struct Case {
        TDateTime date;
        int week;
    } cases[] = {
        {At(2026, 1, 1), 1},     // a Thursday: the year's first week
        {At(2027, 1, 1), 53},    // a Friday: the last week of 2026
        {At(2024, 12, 30), 1},   // a Monday: already the first week of 2025
        {At(2021, 1, 3), 53},    // a Sunday in the last week of 2020
        {At(2026, 12, 31), 53},
    };
    for (const Case& c : cases) EXPECT_EQ(WeekOfTheYear(c.date), c.week);
}

}  // namespace
