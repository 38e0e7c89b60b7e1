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
