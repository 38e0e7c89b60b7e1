#include "platform/vcl/FormatSettings.h"

#include <cctype>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <unicode/ucal.h>
#include <unicode/udat.h>
#include <unicode/uloc.h>

namespace {

struct DateFormatCloser {
    void operator()(UDateFormat* f) const { udat_close(f); }
};
using DateFormatPtr = std::unique_ptr<UDateFormat, DateFormatCloser>;

DateFormatPtr OpenFormat(UDateFormatStyle time, UDateFormatStyle date, const char* locale) {
    UErrorCode status = U_ZERO_ERROR;
    DateFormatPtr f(udat_open(time, date, locale, u"UTC", -1, nullptr, -1, &status));
    if (U_FAILURE(status)) return nullptr;
    return f;
}

WideString Symbol(const UDateFormat* f, UDateFormatSymbolType type, int index) {
    if (!f) return {};
    UChar buffer[64];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = udat_getSymbols(f, type, index, buffer, 64, &status);
    if (U_FAILURE(status) || n <= 0) return {};
    return WideString(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(std::min(n, 63)));
}

WideString Pattern(const UDateFormat* f) {
    if (!f) return {};
    UChar buffer[128];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = udat_toPattern(f, false, buffer, 128, &status);
    if (U_FAILURE(status) || n <= 0) return {};
    return WideString(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(std::min(n, 127)));
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Turns a locale pattern into the class library's letters. The first separator met between the
// numeric fields becomes the settings' separator and is written as '/' or ':'. Years are always
// written with four digits: a short date must not lose the century.
WideString ConvertPattern(const WideString& pattern, char16_t& separator, bool time) {
    WideString out;
    bool separatorSet = false;
    for (size_t i = 0; i < pattern.size();) {
        const char16_t c = pattern[i];
        if (c == u'\'') {
            size_t j = i + 1;
            WideString literal;
            while (j < pattern.size() && pattern[j] != u'\'') literal += pattern[j++];
            if (literal.empty() && j < pattern.size()) literal = u"'";
            out += u'"' + literal + u'"';
            i = j + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        i += run;
        switch (c) {
            case u'y':
            case u'Y':
            case u'u': out += u"yyyy"; break;
            case u'M':
            case u'L': out += run == 1 ? u"m" : run == 2 ? u"mm" : run == 3 ? u"mmm" : u"mmmm"; break;
            case u'd': out += run == 1 ? u"d" : u"dd"; break;
            case u'E':
            case u'c': out += run <= 3 ? u"ddd" : u"dddd"; break;
            case u'H':
            case u'h':
            case u'k':
            case u'K': out += run == 1 ? u"h" : u"hh"; break;
            case u'm': out += run == 1 ? u"n" : u"nn"; break;
            case u's': out += run == 1 ? u"s" : u"ss"; break;
            case u'a': out += u"ampm"; break;
            default:
                if (IsAsciiLetter(c)) break;  // eras, zones and the like are not shown
                for (size_t k = 0; k < run; ++k) {
                    const bool numericSeparator = c == u'/' || c == u'.' || c == u'-' || c == u':';
                    if (numericSeparator && (!separatorSet || c == separator)) {
                        separator = c;
                        separatorSet = true;
                        out += time ? u':' : u'/';
                    } else if (c == u'/' || c == u':') {
                        out += u'"';
                        out += c;
                        out += u'"';
                    } else {
                        out += c;
                    }
                }
        }
    }
    return out;
}

WideString Digits(int value, int width) {
    std::string s = std::to_string(value);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
    return WideString(s.begin(), s.end());
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool StartsWithNoCase(const WideString& s, size_t at, std::u16string_view what) {
    if (at + what.size() > s.size()) return false;
    for (size_t i = 0; i < what.size(); ++i)
        if (Lower(s[at + i]) != what[i]) return false;
    return true;
}

// Whether a 12-hour marker follows in the format, which makes h count 1-12.
bool HasAmPm(const WideString& format, size_t from) {
    for (size_t i = from; i < format.size(); ++i)
        if (StartsWithNoCase(format, i, u"am/pm") || StartsWithNoCase(format, i, u"a/p") || StartsWithNoCase(format, i, u"ampm"))
            return true;
    return false;
}

void Format(WideString& out, const WideString& format, TDateTime value, const TFormatSettings& fs, int depth) {
    if (depth > 2) return;
    WORD year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    const int dow = DayOfWeek(value) - 1;
    bool afterHour = false;
    for (size_t i = 0; i < format.size();) {
        const char16_t c = format[i];
        const char16_t lc = Lower(c);
        if (c == u'"' || c == u'\'') {
            size_t j = i + 1;
            while (j < format.size() && format[j] != c) out += format[j++];
            i = j + 1;
            continue;
        }
        if (StartsWithNoCase(format, i, u"am/pm") || StartsWithNoCase(format, i, u"ampm")) {
            out += hour < 12 ? fs.TimeAMString : fs.TimePMString;
            i += StartsWithNoCase(format, i, u"ampm") ? 4 : 5;
            continue;
        }
        if (StartsWithNoCase(format, i, u"a/p")) {
            out += hour < 12 ? u'a' : u'p';
            i += 3;
            continue;
        }
        size_t run = 1;
        while (i + run < format.size() && Lower(format[i + run]) == lc) ++run;
        switch (lc) {
            case u'd':
                if (run == 1) out += Digits(day, 1);
                else if (run == 2) out += Digits(day, 2);
                else if (run == 3) out += fs.ShortDayNames[dow];
                else if (run == 4) out += fs.LongDayNames[dow];
                else if (run == 5) Format(out, fs.ShortDateFormat, value, fs, depth + 1);
                else Format(out, fs.LongDateFormat, value, fs, depth + 1);
                afterHour = false;
                break;
            case u'm':
                if (afterHour && run <= 2) out += Digits(minute, static_cast<int>(run));
                else if (run <= 2) out += Digits(month, static_cast<int>(run));
                else if (run == 3) out += fs.ShortMonthNames[month - 1];
                else out += fs.LongMonthNames[month - 1];
                afterHour = false;
                break;
            case u'y':
                out += run <= 2 ? Digits(year % 100, 2) : Digits(year, 4);
                afterHour = false;
                break;
            case u'h': {
                int h = hour;
                if (HasAmPm(format, i)) h = hour % 12 == 0 ? 12 : hour % 12;
                out += Digits(h, run >= 2 ? 2 : 1);
                afterHour = true;
                break;
            }
            case u'n':
                out += Digits(minute, run >= 2 ? 2 : 1);
                afterHour = false;
                break;
            case u's':
                out += Digits(second, run >= 2 ? 2 : 1);
                afterHour = false;
                break;
            case u'z':
                out += Digits(msec, run >= 3 ? 3 : 1);
                break;
            case u't':
                Format(out, run >= 2 ? fs.LongTimeFormat : fs.ShortTimeFormat, value, fs, depth + 1);
                break;
            case u'c':
                Format(out, fs.ShortDateFormat, value, fs, depth + 1);
                if (DateTimeToMSecs(value) % MSecsPerDay != 0) {
                    out += u' ';
                    Format(out, fs.LongTimeFormat, value, fs, depth + 1);
                }
                break;
            case u'/':
                out.append(run, fs.DateSeparator);
                break;
            case u':':
                out.append(run, fs.TimeSeparator);
                break;
            default:
                out.append(run, c);
                break;
        }
        i += run;
    }
}

}  // namespace

TFormatSettings LocaleFormatSettings(const char* locale) {
    TFormatSettings fs;
    const DateFormatPtr shortDate = OpenFormat(UDAT_NONE, UDAT_SHORT, locale);
    const DateFormatPtr longDate = OpenFormat(UDAT_NONE, UDAT_LONG, locale);
    const DateFormatPtr shortTime = OpenFormat(UDAT_SHORT, UDAT_NONE, locale);
    const DateFormatPtr longTime = OpenFormat(UDAT_MEDIUM, UDAT_NONE, locale);
    for (int i = 0; i < 7; ++i) {
        // The symbols count Sunday as 1.
        fs.ShortDayNames[i] = Symbol(shortDate.get(), UDAT_SHORT_WEEKDAYS, i + 1);
        fs.LongDayNames[i] = Symbol(shortDate.get(), UDAT_WEEKDAYS, i + 1);
    }
    for (int i = 0; i < 12; ++i) {
        fs.ShortMonthNames[i] = Symbol(shortDate.get(), UDAT_STANDALONE_SHORT_MONTHS, i);
        fs.LongMonthNames[i] = Symbol(shortDate.get(), UDAT_STANDALONE_MONTHS, i);
        fs.ShortMonthNamesAfterDay[i] = Symbol(shortDate.get(), UDAT_SHORT_MONTHS, i);
        fs.LongMonthNamesAfterDay[i] = Symbol(shortDate.get(), UDAT_MONTHS, i);
    }
    fs.TimeAMString = Symbol(shortTime.get(), UDAT_AM_PMS, 0);
    fs.TimePMString = Symbol(shortTime.get(), UDAT_AM_PMS, 1);
    if (fs.TimeAMString.empty()) fs.TimeAMString = u"AM";
    if (fs.TimePMString.empty()) fs.TimePMString = u"PM";
    char16_t unused = 0;
    fs.ShortDateFormat = ConvertPattern(Pattern(shortDate.get()), fs.DateSeparator, false);
    fs.LongDateFormat = ConvertPattern(Pattern(longDate.get()), unused, false);
    fs.ShortTimeFormat = ConvertPattern(Pattern(shortTime.get()), fs.TimeSeparator, true);
    fs.LongTimeFormat = ConvertPattern(Pattern(longTime.get()), unused, true);
    if (fs.ShortDateFormat.empty()) fs.ShortDateFormat = u"yyyy/mm/dd";
    if (fs.LongDateFormat.empty()) fs.LongDateFormat = fs.ShortDateFormat;
    if (fs.ShortTimeFormat.empty()) fs.ShortTimeFormat = u"hh:nn";
    if (fs.LongTimeFormat.empty()) fs.LongTimeFormat = u"hh:nn:ss";
    UErrorCode status = U_ZERO_ERROR;
    if (UCalendar* cal = ucal_open(nullptr, 0, locale, UCAL_GREGORIAN, &status); U_SUCCESS(status) && cal) {
        // 1 Sunday ... 7 Saturday -> 0 Monday ... 6 Sunday.
        fs.FirstDayOfWeek = (ucal_getAttribute(cal, UCAL_FIRST_DAY_OF_WEEK) + 5) % 7;
        ucal_close(cal);
    }
    return fs;
}

const TFormatSettings& FormatSettings() {
    static const TFormatSettings settings = LocaleFormatSettings(uloc_getDefault());
    return settings;
}

WideString FormatDateTime(const WideString& format, TDateTime value, const TFormatSettings& settings) {
    WideString out;
    Format(out, format.empty() ? WideString(u"c") : format, value, settings, 0);
    return out;
}

WideString DateToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime(settings.ShortDateFormat, value, settings);
}

WideString TimeToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime(settings.LongTimeFormat, value, settings);
}

WideString DateTimeToStr(TDateTime value, const TFormatSettings& settings) { return FormatDateTime(u"c", value, settings); }

int WeekOfTheYear(TDateTime value) {
    const double day = std::floor(value);
    const int isoDay = (DayOfWeek(day) + 5) % 7 + 1;  // 1 Monday ... 7 Sunday
    const double thursday = day - isoDay + 4;
    WORD year, month, dayOfMonth;
    DecodeDate(thursday, year, month, dayOfMonth);
    TDateTime first = 0;
    TryEncodeDate(year, 1, 1, first);
    return static_cast<int>((thursday - first) / 7) + 1;
}

int ExpandTwoDigitYear(int year, int currentYear) {
    if (year >= 100) return year;
    int full = currentYear / 100 * 100 + year;
    if (full > currentYear + 49) full -= 100;
    else if (full <= currentYear - 51) full += 100;
    return full;
}

bool TryStrToDate(const WideString& text, TDateTime& value, const TFormatSettings& settings) {
    // The order of the fields, from the format's letters.
    std::u16string order;
    for (char16_t c : settings.ShortDateFormat) {
        const char16_t l = Lower(c);
        if ((l == u'd' || l == u'm' || l == u'y') && order.find(l) == std::u16string::npos) order += l;
    }
    if (order.size() != 3) order = u"mdy";
    std::vector<int> numbers;
    std::vector<int> widths;
    for (size_t i = 0; i < text.size();) {
        if (text[i] < u'0' || text[i] > u'9') {
            ++i;
            continue;
        }
        int n = 0, width = 0;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && width < 9) n = n * 10 + (text[i++] - u'0'), ++width;
        numbers.push_back(n);
        widths.push_back(width);
    }
    if (numbers.size() < 2 || numbers.size() > 3) return false;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    int year = now.wYear, month = 0, day = 0;
    if (numbers.size() == 2) order.erase(order.find(u'y'), 1);
    for (size_t k = 0; k < numbers.size(); ++k) {
        switch (order[k]) {
            case u'd': day = numbers[k]; break;
            case u'm': month = numbers[k]; break;
            default: year = widths[k] <= 2 ? ExpandTwoDigitYear(numbers[k], now.wYear) : numbers[k]; break;
        }
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
    return TryEncodeDate(static_cast<WORD>(year), static_cast<WORD>(month), static_cast<WORD>(day), value);
}
