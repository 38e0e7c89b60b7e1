#include "message/DateLine.h"

#include <iterator>

namespace {

bool StartsWithDate(const WideString& text, size_t at, bool anyCase)
{
    static constexpr char16_t kName[] = u"Date:";
    const auto fold = [anyCase](char16_t c) {
        return anyCase && c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    for (size_t i = 0; i + 1 < std::size(kName); ++i)
        if (at + i >= text.size() || fold(text[at + i]) != fold(kName[i])) return false;
    return true;
}

// The line from `at` to its LF, without the LF and a CR before it.
WideString LineAt(const WideString& text, size_t at, size_t& next)
{
    size_t end = text.find(u'\n', at);
    next = end == WideString::npos ? text.size() : end + 1;
    if (end == WideString::npos) end = text.size();
    if (end > at && text[end - 1] == u'\r') --end;
    return text.substr(at, end - at);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsWordChar(char16_t c) { return IsLetter(c) || IsDigit(c) || c == u'_'; }

// The run of characters of one kind at `at`, which moves past it.
template <class Kind>
std::u16string_view Run(std::u16string_view text, size_t& at, Kind kind)
{
    const size_t begin = at;
    while (at < text.size() && kind(text[at])) ++at;
    return text.substr(begin, at - begin);
}

}  // namespace

WideString DateHeaderValue(const WideString& headerText, bool anyCase, bool* writtenExactly)
{
    if (writtenExactly) *writtenExactly = false;
    for (size_t at = 0; at < headerText.size();) {
        size_t next = 0;
        if (!StartsWithDate(headerText, at, anyCase)) {
            next = headerText.find(u'\n', at);
            at = next == WideString::npos ? headerText.size() : next + 1;
            continue;
        }
        if (writtenExactly) *writtenExactly = !anyCase || StartsWithDate(headerText, at, false);
        WideString value = LineAt(headerText, at, next).substr(5);
        while (next < headerText.size() && (headerText[next] == u' ' || headerText[next] == u'\t'))
            value += u' ' + LineAt(headerText, next, next);
        return value;
    }
    return {};
}

std::optional<UsualDate> SplitUsualDate(std::u16string_view value)
{
    size_t at = 0;
    Run(value, at, IsBlank);
    if (size_t end = at; !Run(value, end, IsLetter).empty() && end < value.size() && value[end] == u',') {
        at = end + 1;
        Run(value, at, IsBlank);
    }
    UsualDate date;
    const auto field = [&](std::u16string_view& out, bool (*kind)(char16_t), char16_t separator) {
        out = Run(value, at, kind);
        if (out.empty() || at >= value.size()) return false;
        if (separator) return value[at++] == separator;
        return !Run(value, at, IsBlank).empty();
    };
    if (!field(date.day, IsDigit, 0) || !field(date.month, IsLetter, 0) || !field(date.year, IsDigit, 0) ||
        !field(date.hours, IsDigit, u':') || !field(date.minutes, IsDigit, u':'))
        return std::nullopt;
    date.seconds = Run(value, at, IsDigit);
    if (date.seconds.empty()) return std::nullopt;
    const bool blanks = !Run(value, at, IsBlank).empty();
    if (at == value.size()) return date;  // no zone
    if (!blanks) return std::nullopt;
    const size_t zoneBegin = at;
    if ((value[at] == u'+' || value[at] == u'-') && at + 1 < value.size() && IsDigit(value[at + 1])) {
        ++at;
        Run(value, at, IsDigit);
    } else if (IsLetter(value[at])) {
        Run(value, at, IsWordChar);
    } else {
        return std::nullopt;
    }
    // A letter or digit beyond ASCII would continue the patterns' runs.
    if (at < value.size() && value[at] >= 0x80) return std::nullopt;
    date.zone = value.substr(zoneBegin, at - zoneBegin);
    return date;
}

bool MayHoldZone(std::u16string_view value)
{
    const auto at = [&](size_t i) { return i < value.size() ? value[i] : char16_t(0); };
    const auto isSign = [](char16_t c) { return c == u'+' || c == u'-'; };
    const auto isSpace = [](char16_t c) { return (c >= 9 && c <= 13) || c == u' '; };
    size_t first = 0;
    while (first < value.size() && !IsDigit(value[first])) ++first;
    // The four numbers' ends: each the end of a digit run that ends a word, and the first at
    // least three places past the first digit (the number and the word come before it).
    int ends = 0;
    size_t i = first + 3;
    for (; i <= value.size() && ends < 4; ++i)
        if (IsDigit(at(i - 1)) && !IsWordChar(at(i)) && ++ends == 4) break;
    if (ends < 4) return false;
    for (; i < value.size(); ++i) {
        const char16_t c = value[i];
        if (isSign(c) && IsDigit(at(i + 1))) return true;
        if ((isSpace(c) || c == u'(') && (IsWordChar(at(i + 1)) || (isSign(at(i + 1)) && IsDigit(at(i + 2)))))
            return true;
    }
    return false;
}
