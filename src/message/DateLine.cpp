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

// The patterns' \d and \w, in 8-bit and in UTF-16 text.
template <class Char>
bool IsDateDigit(Char c) { return c >= '0' && c <= '9'; }
template <class Char>
bool IsDateWord(Char c) { return IsDateDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

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

bool DateGroupsWithoutBacktracking(std::string_view text, std::vector<AnsiString>& groups)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) ++at;
    size_t word = at;
    while (word < text.size() && IsDateWord(text[word])) ++word;
    if (word > at && word < text.size() && text[word] == ',') {
        groups.emplace_back(text.substr(at, word + 1 - at));
        at = word + 1;
    } else {
        groups.emplace_back();
    }
    for (bool (*const kind)(char) : {IsDateDigit<char>, IsDateWord<char>, IsDateDigit<char>, IsDateDigit<char>,
                                     IsDateDigit<char>, IsDateDigit<char>}) {
        while (at < text.size() && !kind(text[at])) {
            if (text[at] == '\n') return false;
            ++at;
        }
        if (at == text.size()) return false;
        const size_t from = at;
        while (at < text.size() && kind(text[at])) ++at;
        groups.emplace_back(text.substr(from, at - from));
    }
    return true;
}

bool DateZoneWithoutBacktracking(std::u16string_view value, std::u16string_view& token)
{
    const auto digit = IsDateDigit<char16_t>;
    const auto word = IsDateWord<char16_t>;
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    const size_t n = value.size();
    size_t at = 0;
    size_t run = 0;
    while (run < n && word(value[run])) ++run;
    if (run > 0 && run < n && value[run] == u',') at = run + 1;
    // The first run of `kind` from `at`, taken whole; with `bounded` one that a word character
    // does not follow. No line break may be skipped on the way.
    const auto next = [&](auto kind, bool bounded) {
        for (;;) {
            while (at < n && !kind(value[at])) {
                if (value[at] == u'\n') return false;
                ++at;
            }
            if (at == n) return false;
            while (at < n && kind(value[at])) ++at;
            if (!bounded || at == n || !word(value[at])) return true;
        }
    };
    if (!next(digit, false) || !next(word, false)) return false;
    for (int i = 0; i < 4; ++i)
        if (!next(digit, true)) return false;
    // A signed number after blanks.
    size_t k = at;
    while (k < n && blank(value[k])) ++k;
    if (k + 1 < n && (value[k] == u'+' || value[k] == u'-') && digit(value[k + 1])) {
        size_t end = k + 1;
        while (end < n && digit(value[end])) ++end;
        token = value.substr(k, end - k);
        return true;
    }
    // Else the first number or word after a blank or "(".
    for (k = at; k < n; ++k) {
        if (blank(value[k]) || value[k] == u'(') {
            size_t from = k + 1, end = from;
            if (end < n && (value[end] == u'+' || value[end] == u'-') && end + 1 < n && digit(value[end + 1])) ++end;
            if (end < n && digit(value[end])) {
                while (end < n && digit(value[end])) ++end;
                token = value.substr(from, end - from);
                return true;
            }
            end = from;
            while (end < n && word(value[end])) ++end;
            if (end > from) {
                token = value.substr(from, end - from);
                return true;
            }
        }
        if (value[k] == u'\n') return false;
    }
    return false;
}

bool MayHoldZone(std::u16string_view value)
{
    const auto at = [&](size_t i) { return i < value.size() ? value[i] : char16_t(0); };
    const auto isSign = [](char16_t c) { return c == u'+' || c == u'-'; };
    const auto isSpace = [](char16_t c) { return (c >= 9 && c <= 13) || c == u' '; };
    size_t first = 0;
    while (first < value.size() && !IsDateDigit(value[first])) ++first;
    // The four numbers' ends: each the end of a digit run that ends a word, and the first at
    // least three places past the first digit (the number and the word come before it).
    int ends = 0;
    size_t i = first + 3;
    for (; i <= value.size() && ends < 4; ++i)
        if (IsDateDigit(at(i - 1)) && !IsDateWord(at(i)) && ++ends == 4) break;
    if (ends < 4) return false;
    for (; i < value.size(); ++i) {
        const char16_t c = value[i];
        if (isSign(c) && IsDateDigit(at(i + 1))) return true;
        if ((isSpace(c) || c == u'(') && (IsDateWord(at(i + 1)) || (isSign(at(i + 1)) && IsDateDigit(at(i + 2)))))
            return true;
    }
    return false;
}
