#include "app/RtfHtml.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CharsetConv.h"
#include "app/RtfFonts.h"
#include "app/cLogger.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/richtext/RtfLexer.h"
#include "regex/RegexpT.h"

using richtext::RtfLexer;
using richtext::RtfToken;
using richtext::RtfTokenKind;

namespace {

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// Destinations whose content is no text of the document.
bool IsSkippedDestination(std::string_view name) {
    static constexpr std::string_view kNames[] = {
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "pntext", "pntxta", "pntxtb",
        "listtable", "listoverridetable", "rsidtbl", "header", "headerl", "headerr", "headerf", "footer",
        "footerl", "footerr", "footerf", "footnote", "fldinst", "themedata", "colorschememapping",
        "latentstyles", "datastore", "xmlnstbl", "filetbl", "revtbl", "nonshppict", "mhtmltag",
    };
    for (const std::string_view n : kNames)
        if (n == name) return true;
    return false;
}

// Control words that stand for a character.
const char16_t* TextOfControlWord(std::string_view name) {
    struct Entry {
        std::string_view name;
        const char16_t* text;
    };
    static constexpr Entry kEntries[] = {
        {"par", u"\r\n"},       {"line", u"\r\n"},      {"tab", u"   "},         {"lquote", u"\u2018"},
        {"rquote", u"\u2019"},  {"ldblquote", u"\u201C"}, {"rdblquote", u"\u201D"}, {"bullet", u"\u2022"},
        {"endash", u"\u2013"},  {"emdash", u"\u2014"},  {"enspace", u"\u2002"},  {"emspace", u"\u2003"},
        {"qmspace", u"\u2005"},
    };
    for (const Entry& e : kEntries)
        if (e.name == name) return e.text;
    return nullptr;
}

enum class Destination { Text, HtmlTag, Skipped };

// What a group inherits and its end restores.
struct GroupState {
    int fontAtStart = -1;
    bool suppressed = false;  // inside \htmlrtf ... \htmlrtf0
    int unicodeSkip = 1;      // \ucN
    Destination destination = Destination::Text;
};

class HtmlDecapsulator {
public:
    HtmlDecapsulator(std::string_view rtf, WideString& output) : rtf_(rtf), fonts_(rtf), out_(output) {
        groups_.push_back({});
    }

    void Run() {
        RtfLexer lexer(rtf_);
        for (RtfToken t = lexer.Next(); t.kind != RtfTokenKind::End; t = lexer.Next()) Take(t);
        Flush();
    }

private:
    void Take(const RtfToken& t) {
        if (t.kind == RtfTokenKind::GroupStart || t.kind == RtfTokenKind::GroupEnd) {
            TrackRtfBrace(t.kind == RtfTokenKind::GroupStart);
            return;
        }
        GroupState& group = groups_.back();
        if (group.destination == Destination::Skipped) return;

        const bool atGroupStart = groupStart_;
        groupStart_ = false;
        if (atGroupStart && t.kind == RtfTokenKind::ControlSymbol && t.symbol == '*') {
            starred_ = true;
            groupStart_ = true;
            return;
        }
        const bool starred = starred_;
        starred_ = false;
        if (atGroupStart && t.kind == RtfTokenKind::ControlWord) {
            if (t.name == "htmltag") {
                group.destination = Destination::HtmlTag;
                started_ = true;
                return;
            }
            if (starred || IsSkippedDestination(t.name)) {
                group.destination = Destination::Skipped;
                return;
            }
        } else if (starred) {
            group.destination = Destination::Skipped;  // "{\*" without a destination word
            return;
        }

        std::string_view text = t.text;
        if (fallbackToSkip_ > 0) {
            if (t.kind != RtfTokenKind::Text) {
                --fallbackToSkip_;
                return;
            }
            const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(fallbackToSkip_));
            fallbackToSkip_ -= static_cast<int>(n);
            text.remove_prefix(n);
        }

        switch (t.kind) {
        case RtfTokenKind::ControlWord:
            TakeControlWord(t, group);
            break;
        case RtfTokenKind::ControlSymbol:
            if (t.symbol == '~') AppendText(u"\u00A0");
            else if (t.symbol == '_') AppendText(u"\u2011");
            break;
        case RtfTokenKind::HexByte:
            AppendBytes(std::string_view(reinterpret_cast<const char*>(&t.byte), 1));
            break;
        case RtfTokenKind::Text:
            AppendBytes(text);
            break;
        default:
            break;  // binary data
        }
    }

    void TakeControlWord(const RtfToken& t, GroupState& group) {
        if (t.name == "htmlrtf") {
            group.suppressed = !(t.hasParam && t.param == 0);
        } else if (t.name == "f") {
            if (t.hasParam) fonts_.SelectFont(t.param);
        } else if (t.name == "uc") {
            group.unicodeSkip = t.hasParam && t.param > 0 ? t.param : 0;
        } else if (t.name == "u") {
            if (t.hasParam) {
                const int unit = t.param < 0 ? t.param + 65536 : t.param;
                const char16_t c = static_cast<char16_t>(unit & 0xFFFF);
                AppendText(std::u16string_view(&c, 1));
            }
            fallbackToSkip_ = group.unicodeSkip;
        } else if (const char16_t* text = TextOfControlWord(t.name)) {
            AppendText(text);
        }
    }

    // A group starts ({) or ends (}): the state it inherits, or the state before it.
    void TrackRtfBrace(bool open) {
        fallbackToSkip_ = 0;
        starred_ = false;
        groupStart_ = open;
        if (open) {
            GroupState inner = groups_.back();
            inner.fontAtStart = fonts_.CurrentFont();
            groups_.push_back(inner);
            return;
        }
        if (groups_.size() <= 1) return;  // an unbalanced "}"
        fonts_.RestoreFont(groups_.back().fontAtStart);
        groups_.pop_back();
    }

    bool Emitting() const { return started_ && !groups_.back().suppressed; }

    void AppendBytes(std::string_view bytes) {
        if (!Emitting() || bytes.empty()) return;
        if (!pending_.empty() && pendingCodePage_ != fonts_.CurrentCodePage()) Flush();
        pendingCodePage_ = fonts_.CurrentCodePage();
        pending_ += bytes;
    }

    void AppendText(std::u16string_view text) {
        if (!Emitting()) return;
        Flush();
        out_ += text;
    }

    void Flush() {
        if (pending_.empty()) return;
        out_ += ConvertRun(pending_, pendingCodePage_);
        pending_.clear();
    }

    // The run in its code page; a code page the converter does not know falls back to the
    // document's, then to the reading of unmarked text, so that no run vanishes.
    WideString ConvertRun(const std::string& bytes, const AnsiString& codePage) const {
        bool ascii = true;
        for (const char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii) return WideString(bytes.begin(), bytes.end());
        if (std::optional<WideString> text = TryConvertCharset(bytes, codePage)) return std::move(*text);
        if (codePage != fonts_.DefaultCodePage())
            if (std::optional<WideString> text = TryConvertCharset(bytes, fonts_.DefaultCodePage()))
                return std::move(*text);
        return DecodeUnmarkedText(bytes);
    }

    std::string_view rtf_;
    Helpers::Fonts fonts_;
    WideString& out_;
    std::vector<GroupState> groups_;
    bool started_ = false;     // the first {\*\htmltag} group was met
    bool groupStart_ = false;  // the next token is the first of a group
    bool starred_ = false;     // the group began with \*
    int fallbackToSkip_ = 0;   // fallback characters of a \uN still to skip
    std::string pending_;      // bytes not yet converted, all in pendingCodePage_
    AnsiString pendingCodePage_;
};

}  // namespace

bool IsHtmlEncapsulatedRtf(const char* bytes, std::size_t length) {
    if (bytes == nullptr) return false;
    RtfLexer lexer(std::string_view(bytes, length));
    int depth = 0;
    for (RtfToken t = lexer.Next(); t.kind != RtfTokenKind::End; t = lexer.Next()) {
        if (t.kind == RtfTokenKind::GroupStart) {
            ++depth;
        } else if (t.kind == RtfTokenKind::GroupEnd) {
            if (--depth <= 0) return false;
        } else if (depth == 1) {
            if (t.kind == RtfTokenKind::Text && !IsBlank(t.text)) return false;
            if (t.kind == RtfTokenKind::ControlWord) {
                if (t.name == "fromhtml") return !(t.hasParam && t.param == 0);
                if (t.name == "fromtext") return false;
            }
        }
    }
    return false;
}

void DecapsulateHtmlFromRtf(const char* bytes, std::size_t length, WideString& output) {
    if (bytes == nullptr || length == 0) return;
    HtmlDecapsulator(std::string_view(bytes, length), output).Run();
}

namespace {

constexpr char16_t kRtfHtmlHeader[] =
    u"{\\rtf1\\ansi\\ansicpg1252\\fromhtml1\\deff0{\\fonttbl\n"
    u"{\\f0\\fswiss\\fcharset0 Arial;}"
    u"{\\f1\\fmodern Courier New;}"
    u"{\\f2\\fnil\\fcharset2 Symbol;}"
    u"{\\f3\\fmodern\\fcharset0 Courier New;}}"
    u"{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;"
    u"\\red0\\green0\\blue234;}\n"
    u"\\uc1\\pard\\plain\\deftab360 \\f0\\fs24\n"
    u"{\\*\\htmltag64}";  // the encapsulated content starts here, text before any tag included

// A line break of the HTML: inside a tag group \par; between tags a group that gives the
// break back to the HTML and a blank (invisible to the HTML) to an RTF reader.
constexpr char16_t kTagLineBreak[] = u"\\par ";
constexpr char16_t kTextLineBreak[] = u"\\htmlrtf  \\htmlrtf0{\\*\\htmltag0 \\par }";

void AppendHexEscape(WideString& out, char16_t c) {
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    out += u"\\'";
    out.push_back(kHex[(c >> 4) & 0xF]);
    out.push_back(kHex[c & 0xF]);
}

void AppendUnicodeEscape(WideString& out, char16_t c) {
    out += u"\\uc1\\u";
    for (const char d : std::to_string(static_cast<unsigned>(c))) out.push_back(static_cast<char16_t>(d));
    out.push_back(u'?');
}

void AppendEscaped(WideString& out, std::u16string_view text, bool inTag) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\\' || c == u'{' || c == u'}') {
            out.push_back(u'\\');
            out.push_back(c);
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += inTag ? kTagLineBreak : kTextLineBreak;
        } else if (c == u'\t' || (c >= 0x20 && c < 0x7F)) {
            out.push_back(c);
        } else if (c < 0x20 || c == 0x7F || (c >= 0xA0 && c <= 0xFF)) {
            AppendHexEscape(out, c);  // the same byte in code page 1252 and Latin-1
        } else {
            AppendUnicodeEscape(out, c);
        }
    }
}

// Every match of the pattern becomes a tag group, the text between matches stays text.
void AppendEncapsulated(WideString& out, const WideString& part, const char16_t* pattern, int flags) {
    const CRegexpT<char16_t> re(pattern, flags);
    const int length = static_cast<int>(part.size());
    int pos = 0;
    while (pos < length) {
        const MatchResult m = re.Match(part.c_str(), length, pos);
        if (!m.Found() || m.MatchEnd() <= m.MatchBegin() || m.MatchBegin() < pos) break;
        const std::u16string_view all(part);
        AppendEscaped(out, all.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(m.MatchBegin() - pos)), false);
        out += u"{\\*\\htmltag0 ";
        AppendEscaped(out,
                      all.substr(static_cast<std::size_t>(m.MatchBegin()),
                                 static_cast<std::size_t>(m.MatchEnd() - m.MatchBegin())),
                      true);
        out += u"}\n";
        pos = m.MatchEnd();
    }
    AppendEscaped(out, std::u16string_view(part).substr(static_cast<std::size_t>(pos)), false);
}

std::size_t FindBodyTag(const WideString& html) {
    for (std::size_t at = html.find(u'<'); at != WideString::npos; at = html.find(u'<', at + 1)) {
        if (at + 5 > html.size()) break;
        bool match = true;
        for (std::size_t i = 0; i < 4 && match; ++i) {
            char16_t c = html[at + 1 + i];
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
            match = c == u"body"[i];
        }
        if (match) return at;
    }
    return WideString::npos;
}

}  // namespace

WideString encodertfhtml(const WideString& html) {
    QUILLORA_TRACE(u"encodertfhtml");
    const std::size_t split = FindBodyTag(html);
    const WideString head = split == WideString::npos ? WideString() : html.substr(0, split);
    const WideString body = split == WideString::npos ? html : html.substr(split);

    WideString out = kRtfHtmlHeader;
    out.reserve(out.size() + html.size() * 2);
    // In the head an element with plain content (title, style) stays one group.
    AppendEncapsulated(out, head, u"<([A-Z][A-Z0-9]*)\\b[^>]*>([^<>]*?)</\\1>|<.*?>", 9);
    AppendEncapsulated(out, body, u"<.*?>", 1);
    out += u"}";
    return out;
}

WideString EncodeRtfUnicode(const WideString& rtf) {
    WideString out;
    out.reserve(rtf.size());
    for (const char16_t c : rtf) {
        if (c < 128) out.push_back(c);
        else AppendUnicodeEscape(out, c);
    }
    return out;
}
