#include "app/CharsetConv.h"

#include <algorithm>

#include "app/SupportLibrary.h"
#include "app/TransferDecoding.h"
#include "app/cLogger.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

namespace {

// RFC 2047 token characters: printable ASCII except blanks and the specials.
bool IsTokenChar(char c) {
    if (c <= ' ' || c >= 0x7F) return false;
    switch (c) {
    case '(': case ')': case '<': case '>': case '@': case ',': case ';': case ':':
    case '"': case '/': case '[': case ']': case '?': case '=':
        return false;
    default:
        return true;
    }
}

bool IsLinearWhiteSpace(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameCharset(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// The decoded bytes of a run of adjacent encoded words in one charset. Words are joined
// before conversion because senders split one multi-byte character across two words.
class WordRun {
public:
    void Add(std::string_view charset, const AnsiString& bytes, WideString& out) {
        if (active_ && !SameCharset(charset, charset_)) Flush(out);
        charset_.assign(charset);
        bytes_ += bytes;
        active_ = true;
    }
    void Flush(WideString& out) {
        if (active_) out += ConvertCharsetBytes(bytes_, charset_);
        bytes_.clear();
        charset_.clear();
        active_ = false;
    }

private:
    bool active_ = false;
    AnsiString charset_;
    AnsiString bytes_;
};

bool IsAscii(std::string_view bytes) {
    unsigned char any = 0;
    for (const char c : bytes) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// Code pages whose bytes below 0x80 are ASCII itself: not UTF-7, UTF-16, ISO-2022, HZ, EBCDIC
// or the DOS pages.
bool ReadsAsciiAsItself(UINT codePage) {
    return codePage == CP_UTF8 || codePage == 20127 || codePage == 20866 || codePage == 21866 ||
           (codePage >= 1250 && codePage <= 1258) || (codePage >= 28591 && codePage <= 28606);
}

// What the converter gives for UTF-8, and for ASCII in a charset that reads it as itself,
// without the round trip through it: most message text is one of these.
std::optional<WideString> DirectConversion(std::string_view bytes, std::string_view charset) {
    const UINT codePage = CodePageFromCharsetName(charset);
    if (codePage == CP_UTF8) return Utf8ToUtf16(bytes);
    if (!ReadsAsciiAsItself(codePage) || !IsAscii(bytes)) return std::nullopt;
    return WideString(bytes.begin(), bytes.end());
}

}  // namespace

std::optional<EncodedWord> ParseEncodedWord(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size() || text[at] != '=' || text[at + 1] != '?') return std::nullopt;
    size_t i = at + 2;
    const size_t charsetBegin = i;
    while (i < text.size() && IsTokenChar(text[i])) ++i;
    if (i >= text.size() || text[i] != '?') return std::nullopt;
    std::string_view charset = text.substr(charsetBegin, i - charsetBegin);
    if (i + 2 >= text.size() || text[i + 2] != '?') return std::nullopt;
    const char encoding = text[i + 1];
    if (encoding != 'Q' && encoding != 'q' && encoding != 'B' && encoding != 'b') return std::nullopt;
    const size_t payloadBegin = i + 3;
    size_t j = payloadBegin;
    while (j < text.size() && text[j] != '?' && text[j] > ' ' && text[j] < 0x7F) ++j;
    if (j + 1 >= text.size() || text[j] != '?' || text[j + 1] != '=') return std::nullopt;
    // RFC 2231 lets a language follow the charset: "utf-8*en".
    if (const size_t star = charset.find('*'); star != std::string_view::npos) charset = charset.substr(0, star);
    EncodedWord word;
    word.begin = at;
    word.end = j + 2;
    word.charset = charset;
    word.encoding = encoding;
    word.payload = text.substr(payloadBegin, j - payloadBegin);
    return word;
}

AnsiString DecodeEncodedWordPayload(const EncodedWord& word) {
    if (word.encoding == 'B' || word.encoding == 'b') return DecodeBase64(word.payload);
    AnsiString payload(word.payload);
    for (char& c : payload)
        if (c == '_') c = ' ';
    return DecodeQuotedPrintable(payload);
}

std::optional<WideString> TryConvertCharset(std::string_view bytes, std::string_view charset) {
    if (charset.empty()) return std::nullopt;
    if (std::optional<WideString> text = DirectConversion(bytes, charset)) return text;
    if (HelperLibrary().ConvertToUStr != nullptr) return ConvertCharsetToWide(bytes, charset);
    // The support library lacks its converter (reported when it was loaded): the platform's
    // own code-page table still knows the charset.
    const UINT codePage = CodePageFromCharsetName(charset);
    if (codePage == 0) return std::nullopt;
    return DecodeCodePage(codePage, bytes);
}

WideString ConvertCharsetBytes(std::string_view bytes, std::string_view charset) {
    if (bytes.empty()) return {};
    if (std::optional<WideString> text = TryConvertCharset(bytes, charset)) return std::move(*text);
    return DecodeUnmarkedText(bytes);
}

WideString ConvertCharsetW(TComponent* /*owner*/, const AnsiString& text, const AnsiString& charset) {
    QUILLORA_TRACE(u"ConvertCharsetW");
    if (text.empty()) return {};

    const std::string_view all(text);
    WideString out;
    WordRun words;
    bool afterWord = false;  // plain text ends at `plain` because a word ended there
    size_t plain = 0;        // start of the text not yet converted
    size_t scan = 0;
    while ((scan = all.find("=?", scan)) != std::string_view::npos) {
        const std::optional<EncodedWord> word = ParseEncodedWord(all, scan);
        if (!word) {
            ++scan;  // not a word: stays literal text
            continue;
        }
        const std::string_view gap = all.substr(plain, word->begin - plain);
        if (!(afterWord && IsLinearWhiteSpace(gap))) {
            words.Flush(out);
            out += ConvertCharsetBytes(gap, charset);
        }
        const std::string_view wordCharset = word->charset.empty() ? std::string_view(charset) : word->charset;
        words.Add(wordCharset, DecodeEncodedWordPayload(*word), out);
        plain = scan = word->end;
        afterWord = true;
    }
    words.Flush(out);
    if (out.empty()) return ConvertCharsetBytes(all.substr(plain), charset);  // no words: nothing to join
    out += ConvertCharsetBytes(all.substr(plain), charset);
    return out;
}

WideString GetEncodedWordCharset(const WideString& text) {
    // Only the start of a word is needed ("=?charset?"): callers pass a text cut after it.
    const AnsiString bytes = Utf16ToUtf8(text);
    for (size_t at = bytes.find("=?"); at != AnsiString::npos; at = bytes.find("=?", at + 1)) {
        size_t end = at + 2;
        while (end < bytes.size() && IsTokenChar(bytes[end])) ++end;
        if (end == at + 2 || end >= bytes.size() || bytes[end] != '?') continue;
        std::string_view charset = std::string_view(bytes).substr(at + 2, end - at - 2);
        charset = charset.substr(0, charset.find('*'));
        if (!charset.empty()) return Utf8ToUtf16(charset);
    }
    return {};
}

namespace {

// Case-insensitive (ASCII) test that `word` stands at `at`.
bool HasAt(const WideString& text, size_t at, std::u16string_view word) {
    if (at + word.size() > text.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (AsciiLower(text[at + i]) != word[i]) return false;
    return true;
}

bool IsHtmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }
bool IsNameChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u':';
}

// The end of the tag that opens at `lt` (one past its ">"), quotes respected; npos when open.
size_t TagEnd(const WideString& html, size_t lt) {
    char16_t quote = 0;
    for (size_t i = lt + 1; i < html.size(); ++i) {
        const char16_t c = html[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            return i + 1;
        }
    }
    return WideString::npos;
}

// The position of the first tag named `name` (start or end tag by `endTag`) at or after
// `from`, comments skipped; npos when there is none. `bare` asks for a tag without attributes.
size_t FindTag(const WideString& html, std::u16string_view name, bool endTag, bool bare, size_t from = 0) {
    for (size_t lt = html.find(u'<', from); lt != WideString::npos; lt = html.find(u'<', lt + 1)) {
        if (html.compare(lt, 4, u"<!--") == 0) {
            const size_t close = html.find(u"-->", lt + 4);
            if (close == WideString::npos) return WideString::npos;
            lt = close + 2;
            continue;
        }
        size_t i = lt + 1;
        while (i < html.size() && IsHtmlSpace(html[i])) ++i;
        if (endTag) {
            if (i >= html.size() || html[i] != u'/') continue;
            ++i;
            while (i < html.size() && IsHtmlSpace(html[i])) ++i;
        }
        if (!HasAt(html, i, name)) continue;
        i += name.size();
        if (i < html.size() && IsNameChar(html[i])) continue;  // <bodyx>, <header>
        if (bare) {
            while (i < html.size() && IsHtmlSpace(html[i])) ++i;
            if (i >= html.size() || html[i] != u'>') continue;
        }
        return lt;
    }
    return WideString::npos;
}

// The span of the charset value inside one tag [begin, end): after "charset", optional
// blanks, "=", optional blanks; a quoted value is the text between its quotes, an unquoted
// one ends at a blank, a quote, ";", "/" or ">".
bool FindCharsetValue(const WideString& html, size_t begin, size_t end, size_t& valueBegin, size_t& valueEnd) {
    static constexpr std::u16string_view kName = u"charset";
    for (size_t at = begin; at + kName.size() <= end; ++at) {
        if (!HasAt(html, at, kName)) continue;
        size_t i = at + kName.size();
        while (i < end && IsHtmlSpace(html[i])) ++i;
        if (i >= end || html[i] != u'=') continue;
        ++i;
        while (i < end && IsHtmlSpace(html[i])) ++i;
        if (i < end && (html[i] == u'"' || html[i] == u'\'')) {
            const char16_t quote = html[i];
            size_t close = html.find(quote, i + 1);
            if (close == WideString::npos || close > end) close = end;
            valueBegin = i + 1;
            valueEnd = close;
            return true;
        }
        size_t j = i;
        while (j < end && !IsHtmlSpace(html[j]) && html[j] != u'"' && html[j] != u'\'' && html[j] != u';' &&
               html[j] != u'/' && html[j] != u'>')
            ++j;
        valueBegin = i;
        valueEnd = j;
        return true;
    }
    return false;
}

}  // namespace

bool SetHtmlMetaCharset(WideString& html, const WideString& charset) {
    // Only declarations before the body count: "charset=" in the text is no declaration.
    size_t limit = FindTag(html, u"body", false, false);
    if (limit == WideString::npos) limit = html.size();
    for (size_t lt = FindTag(html, u"meta", false, false); lt != WideString::npos && lt < limit;
         lt = FindTag(html, u"meta", false, false, lt + 1)) {
        size_t end = TagEnd(html, lt);
        if (end == WideString::npos) end = html.size();
        size_t valueBegin = 0, valueEnd = 0;
        if (FindCharsetValue(html, lt, end, valueBegin, valueEnd)) {
            html.replace(valueBegin, valueEnd - valueBegin, charset);
            return true;
        }
    }

    const WideString tag = u"<META http-equiv=Content-Type Content=\"text/html; charset=" + charset + u"\">";
    const size_t headEnd = FindTag(html, u"head", true, true);
    if (headEnd != WideString::npos && headEnd > 0) {
        html.insert(headEnd, tag);
        return true;
    }
    const size_t body = FindTag(html, u"body", false, true);
    if (body != WideString::npos) {
        html.insert(TagEnd(html, body), tag);
        return true;
    }
    html.insert(0, tag);
    return true;
}
