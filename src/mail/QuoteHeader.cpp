#include "mail/QuoteHeader.h"

#include "app/RtfHtml.h"
#include "controls/unicode/TntSysUtils.h"
#include "output/IRenderer.h"
#include "regex/RegexpT.h"

namespace {

constexpr char16_t kLF[] = u"\n";
constexpr char16_t kCRLF[] = u"\r\n";
const WideString kHyphens(35, u'-');
const WideString kUnderscores(35, u'_');
constexpr char16_t kFont2[] = u"<FONT SIZE=2 FACE=\"Tahoma\">";
constexpr char16_t kFont1[] = u"<FONT SIZE=1 FACE=\"Tahoma\">";

bool HasSeparator(int flags) { return (flags & (qhSeparator | qhSeparatorAlt)) != 0; }

// The sender as the three blocks show it: both parts when the text splits into a non-empty
// name and address, else only the whole text (name and address stay empty).
struct SenderParts {
    WideString name;
    WideString address;
    bool Split() const { return !name.empty() && !address.empty(); }
};

SenderParts SplitSender(const TMessageAttr& message) {
    SenderParts parts;
    if (!message.from.empty()) SplitNameAndAddress(message.from, parts.name, parts.address);
    return parts;
}

// Name [address], or sender [sender] when it does not split, or nothing without a sender.
WideString SenderLine(const TMessageAttr& message, WideString (*escape)(const WideString&)) {
    const SenderParts s = SplitSender(message);
    if (s.Split()) return escape(s.name) + u" [" + escape(s.address) + u"]";
    if (!message.from.empty()) return escape(message.from) + u" [" + escape(message.from) + u"]";
    return {};
}

WideString Same(const WideString& text) { return text; }

WideString HtmlRow(const WideString& caption, const WideString& value) {
    return WideString(u"<B>") + kFont2 + caption + u"</FONT></B>" + kFont2 + u"  " + HtmlEscape(value) +
           u"<BR></FONT>" + kLF;
}

WideString FileNamePart(const TMessageAttr& message) { return WideExtractFileName(message.fileName); }

// The end of the first match of pattern (dot matches line breaks), or -1.
int MatchEnd(const WideString& text, const char16_t* pattern) {
    const CRegexpT<char16_t> re(pattern, DotMatchesNewline);
    const MatchResult m = re.Match(text.c_str(), static_cast<int>(text.size()), -1);
    return m.Found() ? m.MatchEnd() : -1;
}

bool IsTagEnd(char16_t c) { return c == u'>' || c == u'/' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// The position of the first "<body" tag in any case, or npos.
size_t FindBodyTag(const WideString& html) {
    constexpr std::u16string_view tag = u"<body";
    for (size_t at = html.find(u'<'); at != WideString::npos; at = html.find(u'<', at + 1)) {
        if (html.size() - at <= tag.size()) break;
        bool same = true;
        for (size_t i = 1; i < tag.size() && same; ++i) {
            char16_t c = html[at + i];
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
            same = c == tag[i];
        }
        if (same && IsTagEnd(html[at + tag.size()])) return at;
    }
    return WideString::npos;
}

}  // namespace

bool SplitNameAndAddress(const WideString& text, WideString& name, WideString& address) {
    const CRegexpT<char16_t> re(u"(.*)[\\<\\[\\\"](.*?)[\\>\\]\\\"]", DotMatchesNewline);
    const MatchResult m = re.Match(text.c_str(), static_cast<int>(text.size()), -1);
    if (!m.Found()) return false;
    const auto group = [&](int g) {
        const int b = m.GroupBegin(g), e = m.GroupEnd(g);
        return b < 0 || e < b ? WideString() : text.substr(static_cast<size_t>(b), static_cast<size_t>(e - b));
    };
    name = group(1);
    address = group(2);
    return true;
}

WideString HtmlEscape(const WideString& text) { return EscapeHtmlText(text); }

WideString RtfEscape(const WideString& text) {
    WideString out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'{' || c == u'}') out += u'\\';
        out += c;
    }
    return out;
}

WideString BuildHtmlQuoteHeader(const TMessageAttr& message, int flags) {
    WideString out = WideString(u"<P DIR=LTR>") + kLF;
    if (HasSeparator(flags)) out += u"<BR><BR><HR>";
    if (flags & qhFileName)
        out += kFont1 + WideString(u"Message File name: ") + HtmlEscape(FileNamePart(message)) + u"</FONT>" + kLF;

    const SenderParts s = SplitSender(message);
    const WideString fromCaption = WideString(u"<B>") + kFont2 + u"From:</FONT></B>" + kFont2 + u"  ";
    if (s.Split()) {
        const WideString address = HtmlEscape(s.address);
        out += u"<P DIR=LTR>" + fromCaption + HtmlEscape(s.name) + u" [<A HREF=\"mailto:" + address + u"\">mailto:" +
               address + u"</A>]";
    } else if (!message.from.empty()) {
        out += u"<P DIR=LTR>" + WideString(kLF) + fromCaption + HtmlEscape(message.from);
    }
    out += WideString(u"<BR></FONT>") + kLF;

    if (!message.to.empty()) out += HtmlRow(u"To:", message.to);
    if (!message.cc.empty()) out += HtmlRow(u"CC:", message.cc);
    if (!message.bcc.empty()) out += HtmlRow(u"BCC:", message.bcc);
    if (message.sent)
        out += WideString(u"<B>") + kFont2 + HtmlEscape(message.dateCaption) + u"</FONT></B>" + kFont2 + u"  " +
               HtmlEscape(message.dateText) + u"<BR></FONT>";
    if (!message.subject.empty())
        out += WideString(u"<div style=\"word-wrap:break-word;\"><B>") + kFont2 + u"Subject:</FONT></B>" + kFont2 +
               u"  " + HtmlEscape(message.subject) + u"<BR></FONT></div>" + kLF;
    if (flags & qhAttachments) {
        out += WideString(u"<BR>") + kFont1 + u"Attachments:</FONT><BR>";
        for (const AttachmentItem& a : message.attachments)
            out += kFont1 + HtmlEscape(a.name) + u"</FONT><BR>" + kLF;
    }
    return out + u"</P>";
}

WideString BuildRtfQuoteHeader(const TMessageAttr& message, int flags) {
    WideString out;
    if (HasSeparator(flags)) out += u"\\par \\par " + kUnderscores + u" \\par";
    if (flags & qhFileName) out += u"Message File name: " + RtfEscape(FileNamePart(message)) + u"\\par \\par \n";
    out += u"\n\\b From:\\b0 " + SenderLine(message, RtfEscape);
    out += u"\\par\\b To:\\b0 " + RtfEscape(message.to);
    out += u"\\par\\b CC:\\b0 " + RtfEscape(message.cc);
    out += u"\\par\\b BCC:\\b0 " + RtfEscape(message.bcc);
    if (message.sent) out += u"\\par\\b " + RtfEscape(message.dateCaption) + u"\\b0 " + RtfEscape(message.dateText);
    out += u"\\par\\b Subject:\\b0 " + RtfEscape(message.subject);
    if (flags & qhAttachments) {
        out += u"\\par Attachments: \\par \n";
        for (const AttachmentItem& a : message.attachments) out += RtfEscape(a.name) + u" \\par\n";
    }
    return out + u"\\par \\par\n\n";
}

WideString BuildTextQuoteHeader(const TMessageAttr& message, int flags) {
    WideString out;
    if (HasSeparator(flags)) out += WideString(kCRLF) + kCRLF + kHyphens + kCRLF;
    if (flags & qhFileName) out += u"Message File name: " + FileNamePart(message) + kCRLF + kCRLF;
    out += u"From: " + SenderLine(message, Same);
    out += kCRLF + WideString(u"To: ") + message.to;
    out += kCRLF + WideString(u"CC: ") + message.cc;
    out += kCRLF + WideString(u"BCC: ") + message.bcc;
    if (message.sent) out += kCRLF + message.dateCaption + message.dateText;
    out += kCRLF + WideString(u"Subject: ");
    if (!message.subject.empty()) out += message.subject + kCRLF;
    if (flags & qhAttachments) {
        out += kCRLF + WideString(u"Attachments:") + kCRLF;
        for (const AttachmentItem& a : message.attachments) out += a.name + kCRLF;
    }
    return out + kCRLF;
}

WideString InsertHtmlQuoteHeader(const TMessageAttr& message, const WideString& html, int flags) {
    if (flags == 0) return html;
    const WideString block = BuildHtmlQuoteHeader(message, flags);
    const size_t tag = FindBodyTag(html);
    const size_t close = tag == WideString::npos ? WideString::npos : html.find(u'>', tag);
    // A body without a (closed) body tag still gets its header, in front.
    if (close == WideString::npos) return block + html;
    WideString out = html;
    out.insert(close + 1, block);
    return out;
}

WideString InsertRtfQuoteHeader(const TMessageAttr& message, const WideString& rtf, int flags) {
    if (flags == 0) return rtf;
    int at = MatchEnd(rtf, u"\\{\\\\colortbl.*?\\}");
    if (at < 0) at = MatchEnd(rtf, u"\\\\par ");
    if (at <= 0 || at >= static_cast<int>(rtf.size()) - 1) return rtf;
    WideString out = rtf;
    out.insert(static_cast<size_t>(at), EncodeRtfUnicode(BuildRtfQuoteHeader(message, flags)));
    return out;
}

WideString InsertTextQuoteHeader(const TMessageAttr& message, const WideString& text, int flags) {
    if (flags == 0) return text;
    return BuildTextQuoteHeader(message, flags) + text;
}
