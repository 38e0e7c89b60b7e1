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

bool IsDateDigit(char c) { return c >= '0' && c <= '9'; }
bool IsDateWord(char c) { return IsDateDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

}  // namespace

WideString DateHeaderValue(const WideString& headerText, bool anyCase)
{
    for (size_t at = 0; at < headerText.size();) {
        size_t next = 0;
        if (!StartsWithDate(headerText, at, anyCase)) {
            next = headerText.find(u'\n', at);
            at = next == WideString::npos ? headerText.size() : next + 1;
            continue;
        }
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
    for (bool (*const kind)(char) : {IsDateDigit, IsDateWord, IsDateDigit, IsDateDigit, IsDateDigit, IsDateDigit}) {
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
