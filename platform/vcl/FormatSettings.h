// The user's date and time conventions (day and month names, date and time formats, the first
// day of the week) from the locale of the environment, and date-time formatting with the class
// library's format letters.
#pragma once

#include <array>

#include "platform/win/WinTime.h"
#include "platform/win/WinTypes.h"

struct TFormatSettings {
    // Index 0 is Sunday, as DayOfWeek - 1.
    std::array<WideString, 7> ShortDayNames;
    std::array<WideString, 7> LongDayNames;
    // Index 0 is January; names as they stand alone (a calendar's title).
    std::array<WideString, 12> ShortMonthNames;
    std::array<WideString, 12> LongMonthNames;
    // The same as written after a day number ("5 stycznia", "5 janv."); in many languages these
    // differ from the names standing alone.
    std::array<WideString, 12> ShortMonthNamesAfterDay;
    std::array<WideString, 12> LongMonthNamesAfterDay;
    // Format strings in the letters FormatDateTime takes ("d/m/yyyy", "hh:nn:ss").
    WideString ShortDateFormat;
    WideString LongDateFormat;
    WideString ShortTimeFormat;
    WideString LongTimeFormat;
    WideString TimeAMString;
    WideString TimePMString;
    char16_t DateSeparator = u'/';
    char16_t TimeSeparator = u':';
    // 0 Monday ... 6 Sunday.
    int FirstDayOfWeek = 0;
    // Two-digit years fall into the 100 years ending this many years after the current one.
    int TwoDigitYearCenturyWindow = 50;
};

// The settings of the locale named by the environment (LC_ALL, LC_TIME, LANG), read once.
const TFormatSettings& FormatSettings();
// The settings of a named locale ("de_DE", "en_US"); the tests' way to a known locale.
TFormatSettings LocaleFormatSettings(const char* locale);

// Letters: d dd ddd dddd ddddd (short date) dddddd (long date), m mm mmm mmmm (minutes right
// after an hour), yy yyyy, h hh, n nn, s ss, z zzz, t (short time) tt (long time), am/pm a/p
// ampm, c (short date and long time), / and : (the separators), text in quotes as it stands.
WideString FormatDateTime(const WideString& format, TDateTime value, const TFormatSettings& settings = FormatSettings());
WideString DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
WideString TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
// The short date, a blank and the long time; the time is left out at midnight.
WideString DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());

// Reads a date written in the short date format's order of day, month and year, fields apart by
// anything but digits; a missing year is this year's, a two-digit year the one nearest within
// fifty years of now.
bool TryStrToDate(const WideString& text, TDateTime& value, const TFormatSettings& settings = FormatSettings());
int ExpandTwoDigitYear(int year, int currentYear);

// The ISO 8601 week of the year of a date (1-53).
int WeekOfTheYear(TDateTime value);
