#include "platform/mime/IdHeaderList.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Calls f for every line of the text, without its line break (CR LF, LF or a lone CR).
template <class F>
void ForEachLine(std::string_view text, F f)
{
    if (text.find('\n') == std::string_view::npos && text.find('\r') == std::string_view::npos) {
        if (!text.empty()) f(text);  // one line, as most values are: found by two memchr calls
        return;
    }
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        f(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) f(text.substr(start));
}

}  // namespace

bool TIdHeaderList::SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

void TIdHeaderList::Add(AnsiString name, AnsiString rawValue)
{
    headers_.push_back({std::move(name), std::move(rawValue)});
}

AnsiString TIdHeaderList::Text() const
{
    AnsiString text;
    size_t size = 0;
    for (const Header& h : headers_) size += h.name.size() + h.raw.size() + 3;
    text.reserve(size + size / 16);
    for (const Header& h : headers_) {
        text += h.name;
        text += ':';
        std::string_view raw = h.raw;
        while (!raw.empty() && (raw.back() == '\n' || raw.back() == '\r')) raw.remove_suffix(1);
        bool first = true;
        ForEachLine(raw, [&](std::string_view l) {
            if (!first) text += "\r\n";
            text += l;
            first = false;
        });
        text += "\r\n";
    }
    return text;
}

AnsiString TIdHeaderList::Values(std::string_view name) const
{
    for (const Header& h : headers_) {
        if (!SameName(h.name, name)) continue;
        if (!UnfoldLines) return AnsiString(Trim(h.raw));
        AnsiString value;
        ForEachLine(h.raw, [&](std::string_view l) {
            l = Trim(l);
            if (l.empty()) return;
            if (!value.empty()) value += ' ';
            value += l;
        });
        return value;
    }
    return {};
}

bool TIdHeaderList::Contains(std::string_view name) const
{
    return std::any_of(headers_.begin(), headers_.end(), [&](const Header& h) { return SameName(h.name, name); });
}
