#include "message/HtmlTagRefs.h"

#include <algorithm>
#include <string>

#include "platform/win/WinString.h"

namespace {

constexpr size_t kNone = std::u16string_view::npos;

bool FoldEqual(char16_t a, char16_t b)
{
    const auto letter = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); };
    return a == b || ((a ^ b) == 32 && letter(a) && letter(b));
}

bool FoldEqualAt(std::u16string_view text, size_t at, std::u16string_view word)
{
    if (at > text.size() || text.size() - at < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (!FoldEqual(text[at + i], word[i])) return false;
    return true;
}

size_t FoldFind(std::u16string_view text, std::u16string_view word, size_t from)
{
    for (size_t at = from; at < text.size() && text.size() - at >= word.size(); ++at)
        if (FoldEqualAt(text, at, word)) return at;
    return kNone;
}

}  // namespace

// A match holds one occurrence of LEAD NAME at p: its tag opens at the last "<" or ">" before p,
// which must be a "<" followed by KEY; an "SRC" starts at least one character after KEY and
// ends at least one before p; after the name the next "<" or ">" is a ">".
bool HasTagReferring(std::u16string_view html, std::u16string_view key, std::u16string_view lead,
                     std::u16string_view name)
{
    const std::u16string needle = std::u16string(lead) + std::u16string(name);
    size_t lastBracket = kNone;  // the last "<" or ">" before `scanned`
    size_t scanned = 0;
    size_t tagOpen = kNone, firstSrc = kNone;  // the tag whose first SRC was looked up
    bool closingKnown = false;                 // nextBracket: the first "<" or ">" at or after
    size_t nextBracket = kNone;                // the end of an earlier occurrence
    for (size_t p = FoldFind(html, needle, 0); p != kNone; p = FoldFind(html, needle, p + 1)) {
        for (; scanned < p; ++scanned)
            if (html[scanned] == u'<' || html[scanned] == u'>') lastBracket = scanned;
        if (lastBracket == kNone || html[lastBracket] != u'<' || !FoldEqualAt(html, lastBracket + 1, key)) continue;
        if (tagOpen != lastBracket) {
            // SRC lies inside the tag, before its first bracket.
            tagOpen = lastBracket;
            const size_t from = std::min(html.size(), lastBracket + 1 + key.size() + 1);
            const size_t tagEnd = std::min(html.find_first_of(u"<>", lastBracket + 1), html.size());
            firstSrc = from < tagEnd ? FoldFind(html.substr(0, tagEnd), u"SRC", from) : kNone;
        }
        if (firstSrc == kNone || firstSrc + 4 > p) continue;
        const size_t end = p + needle.size();
        if (!closingKnown || (nextBracket != kNone && nextBracket < end)) {
            closingKnown = true;
            nextBracket = html.find_first_of(u"<>", end);
        }
        if (nextBracket != kNone && html[nextBracket] == u'>') return true;
    }
    return false;
}

WideString UrlOfFileName(const WideString& name)
{
    static const char hex[] = "0123456789ABCDEF";
    WideString out;
    for (const unsigned char c : Utf16ToUtf8(name)) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            out += static_cast<char16_t>(c);
        } else {
            out += u'%';
            out += static_cast<char16_t>(hex[c >> 4]);
            out += static_cast<char16_t>(hex[c & 15]);
        }
    }
    return out;
}
