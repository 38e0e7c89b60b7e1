// The date-time edit's readers of typed dates and times: any order of fields the locale
// suggests, month names, digit runs without separators and AM/PM markers.
#include <array>
#include <cmath>

#include "controls/styled/RzDateTimeEdit.h"
#include "platform/vcl/SysUtils.h"

namespace {

enum class TokenKind { None, Letters, Digits };

struct Token {
    TokenKind kind = TokenKind::None;
    WideString text;
};

WideString Trim(const WideString& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= u' ') ++b;
    while (e > b && s[e - 1] <= u' ') --e;
    return s.substr(b, e - b);
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
// Letters as a user types them: Latin, accented and other scripts' letters alike.
bool IsLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F) &&
                                                                   !(c >= 0x3000 && c <= 0x303F) && c != 0xFEFF);
}

// The next run of letters or of digits; separators before it are skipped.
Token NextToken(const WideString& text, size_t& at) {
    while (at < text.size() && !IsDigit(text[at]) && !IsLetter(text[at])) ++at;
    Token t;
    if (at >= text.size()) return t;
    const bool digits = IsDigit(text[at]);
    t.kind = digits ? TokenKind::Digits : TokenKind::Letters;
    while (at < text.size() && (digits ? IsDigit(text[at]) : IsLetter(text[at]))) t.text += text[at++];
    return t;
}

// The distinct letters of `letters` in the order the format first uses them.
std::u16string FilterFormatLetters(const WideString& format, std::u16string_view letters) {
    std::u16string out;
    for (char16_t c : WideUpperCase(format))
        if (letters.find(c) != std::u16string_view::npos && out.find(c) == std::u16string::npos) out += c;
    return out;
}

void RemoveLetter(std::u16string& order, char16_t letter) {
    if (const auto at = order.find(letter); at != std::u16string::npos) order.erase(at, 1);
}

int Number(const WideString& digits) {
    int n = 0;
    for (char16_t c : digits) {
        n = n * 10 + (c - u'0');
        if (n > 99999999) break;
    }
    return n;
}

// Cuts a run of digits as the readers do; an empty result keeps the run whole.
std::vector<WideString> Cut(const WideString& run, std::initializer_list<size_t> sizes) {
    std::vector<WideString> pieces;
    size_t at = 0;
    for (size_t n : sizes) {
        pieces.push_back(run.substr(at, n));
        at += n;
    }
    return pieces;
}

// A locale's month name as the tokenizer sees it: upper case, without the abbreviation's dot.
bool SameMonthName(const WideString& token, const WideString& name) {
    if (name.empty()) return false;
    WideString upper = WideUpperCase(name);
    while (!upper.empty() && upper.back() == u'.') upper.pop_back();
    return token == upper;
}

int MonthFromName(const WideString& name, const TFormatSettings& fs) {
    static const std::array<const char16_t*, 12> english = {u"JANUARY", u"FEBRUARY", u"MARCH", u"APRIL", u"MAY", u"JUNE",
                                                            u"JULY", u"AUGUST", u"SEPTEMBER", u"OCTOBER", u"NOVEMBER", u"DECEMBER"};
    for (int m = 0; m < 12; ++m) {
        const size_t i = static_cast<size_t>(m);
        // Standalone names first, then the forms written after a day number ("5 stycznia").
        for (const WideString* locale : {&fs.ShortMonthNames[i], &fs.LongMonthNames[i], &fs.ShortMonthNamesAfterDay[i],
                                         &fs.LongMonthNamesAfterDay[i]})
            if (SameMonthName(name, *locale)) return m + 1;
        const WideString full = english[i];
        if (name == full || name == full.substr(0, 3)) return m + 1;
    }
    return 0;
}

}  // namespace

bool ParseDateText(const WideString& input, TDateTime& value, const TFormatSettings& fs, TDateTime today) {
    const WideString trimmed = Trim(input);
    value = 0;
    if (trimmed.empty()) return true;
    std::u16string order = FilterFormatLetters(fs.ShortDateFormat, u"DMY");
    if (order.size() != 3) order = u"MDY";
    WORD y, m, d;
    DecodeDate(today, y, m, d);
    int year = y, month = m, day = d;
    const WideString text = WideUpperCase(trimmed);
    const bool hasSeparator = text.find(fs.DateSeparator) != WideString::npos;
    size_t at = 0;
    for (int pass = 0; pass < 3; ++pass) {
        Token t = NextToken(text, at);
        while (t.kind == TokenKind::Letters) {
            if (const int named = MonthFromName(t.text, fs)) {
                month = named;
                RemoveLetter(order, u'M');
            }
            t = NextToken(text, at);
        }
        if (t.kind != TokenKind::Digits || order.empty()) continue;
        std::vector<WideString> pieces{t.text};
        if (!hasSeparator && order != u"Y") {
            switch (t.text.size()) {
                case 3: pieces = Cut(t.text, {1, 2}); break;
                case 4: pieces = Cut(t.text, {2, 2}); break;
                case 5: pieces = Cut(t.text, {1, 2, 2}); break;
                case 6: pieces = Cut(t.text, {2, 2, 2}); break;
                case 8: pieces = Cut(t.text, {2, 2, 4}); break;
                default: break;
            }
        }
        for (const WideString& piece : pieces) {
            // A piece left over once every field is taken sets nothing.
            if (order.empty()) break;
            const int n = Number(piece);
            char16_t field = order[0];
            if (n > 999) field = u'Y';
            else if (n > 12 && field != u'Y') {
                // Above 12 only a day fits; with the day taken ("13/13/2020") the text is no date.
                if (order.find(u'D') == std::u16string::npos) return false;
                field = u'D';
            }
            if (field == u'Y') year = n;
            else if (field == u'M') month = n;
            else day = n;
            RemoveLetter(order, field);
        }
    }
    if (month > 12) {
        if (day <= 12) std::swap(month, day);
        else month = 1;
    }
    // A two-digit year reads as the short date conversion reads it.
    if (year < 100) year = ExpandTwoDigitYear(year, y);
    if (year < 1 || year > 9999 || month < 1 || day < 1 || day > 31) return false;
    TDateTime encoded = 0;
    if (!TryEncodeDate(static_cast<WORD>(year), static_cast<WORD>(month), static_cast<WORD>(day), encoded)) return false;
    value = encoded;
    return true;
}

TDateTime ParseTimeText(const WideString& input, const TFormatSettings& fs) {
    // Markers are no fields: "AMPM" would otherwise read as an M.
    WideString format = WideUpperCase(fs.LongTimeFormat);
    for (const std::u16string_view marker : {std::u16string_view(u"AM/PM"), std::u16string_view(u"AMPM"), std::u16string_view(u"A/P")})
        for (size_t at; (at = format.find(marker)) != WideString::npos;) format.erase(at, marker.size());
    std::u16string order = FilterFormatLetters(format, u"HMNSZ");
    int hours = 0, minutes = 0, seconds = 0, msecs = 0;
    enum { none, am, pm } marker = none;
    const WideString text = WideUpperCase(input);
    const WideString amText = WideUpperCase(fs.TimeAMString), pmText = WideUpperCase(fs.TimePMString);
    size_t at = 0;
    for (int pass = 0; pass < 4; ++pass) {
        Token t = NextToken(text, at);
        while (t.kind == TokenKind::Letters) {
            if (marker == none) {
                if (t.text == amText || t.text == u"AM" || t.text == u"A") marker = am;
                else if (t.text == pmText || t.text == u"PM" || t.text == u"P") marker = pm;
            }
            t = NextToken(text, at);
        }
        if (t.kind != TokenKind::Digits || order.empty()) continue;
        std::vector<WideString> pieces{t.text};
        if (t.text.size() == 3) pieces = Cut(t.text, {1, 2});
        else if (t.text.size() == 4) pieces = Cut(t.text, {2, 2});
        for (const WideString& piece : pieces) {
            if (order.empty()) break;
            const int n = Number(piece);
            switch (order[0]) {
                case u'H': hours = n; break;
                case u'M':
                case u'N': minutes = n; break;
                case u'S': seconds = n; break;
                default: msecs = n; break;
            }
            order.erase(0, 1);
        }
    }
    if (hours < 12 && marker == pm) hours += 12;
    if (hours == 12 && marker == am) hours = 0;
    hours %= 24;
    if (minutes >= 60) minutes = 0;
    if (seconds >= 60) seconds = 0;
    while (msecs > 999) msecs /= 10;
    TDateTime result = 0;
    if (!TryEncodeTime(static_cast<WORD>(hours), static_cast<WORD>(minutes), static_cast<WORD>(seconds), static_cast<WORD>(msecs), result))
        return 0;
    return result;
}
