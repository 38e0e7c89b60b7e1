#include <gtest/gtest.h>

#include "app/RtfHtml.h"
#include "mail/QuoteHeader.h"

namespace {

struct Msg : TMessageAttr {
    int GetType() override { return 1; }
};

// A sender with a name and an address, hostile characters in every field.
void FillHostile(Msg& m) {
    m.from = u"Ann <&> \"x\" <ann@ex.com>";
    m.to = u"Bob {\\b} <bob@ex.com>";
    m.cc = u"";
    m.bcc = u"";
    m.subject = u"Caf\u00e9 {\\rtf1} <script>";
    m.dateCaption = u"Sent: ";
    m.dateText = u"2026-12-10 09:00:00";
    m.fileName = u"/mail/in<b>.eml";
    m.attachments.push_back({0, 0, u"a&b.txt", u""});
}

TEST(QuoteHeader, SplitNameAndAddressTable) {
    struct Case {
        const char16_t* text;
        bool ok;
        const char16_t* name;
        const char16_t* address;
    } const cases[] = {
        {u"Ann Example <ann@ex.com>", true, u"Ann Example ", u"ann@ex.com"},
        {u"ann@ex.com", false, u"", u""},
        {u"\"Ann Example\"", true, u"", u"Ann Example"},
        {u"Ann [ann@ex.com]", true, u"Ann ", u"ann@ex.com"},
        {u"a <b> c <d>", true, u"a <b> c ", u"d"},
        {u"line\nbreak <x@y.z>", true, u"line\nbreak ", u"x@y.z"},
    };
    for (const Case& c : cases) {
        WideString name, address;
        EXPECT_EQ(SplitNameAndAddress(c.text, name, address), c.ok);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(address, c.address);
    }
}

TEST(QuoteHeader, HtmlBlockEscapesEveryValue) {
    Msg m;
    FillHostile(m);
    const WideString html = BuildHtmlQuoteHeader(m, qhAttachments | qhFileName | qhSeparator);
    const WideString f2 = u"<FONT SIZE=2 FACE=\"Tahoma\">";
    const WideString f1 = u"<FONT SIZE=1 FACE=\"Tahoma\">";
    const WideString expected =
        u"<P DIR=LTR>\n<BR><BR><HR>" + f1 + u"Message File name: in&lt;b&gt;.eml</FONT>\n" + u"<P DIR=LTR><B>" +
        f2 + u"From:</FONT></B>" + f2 + u"  Ann &lt;&amp;&gt; &quot;x&quot;  [<A HREF=\"mailto:ann@ex.com\">mailto:ann@ex.com</A>]" +
        u"<BR></FONT>\n" + u"<B>" + f2 + u"To:</FONT></B>" + f2 + u"  Bob {\\b} &lt;bob@ex.com&gt;<BR></FONT>\n" +
        u"<B>" + f2 + u"Sent: </FONT></B>" + f2 + u"  2026-12-10 09:00:00<BR></FONT>" +
        u"<div style=\"word-wrap:break-word;\"><B>" + f2 + u"Subject:</FONT></B>" + f2 +
        u"  Caf\u00e9 {\\rtf1} &lt;script&gt;<BR></FONT></div>\n" + u"<BR>" + f1 + u"Attachments:</FONT><BR>" + f1 +
        u"a&amp;b.txt</FONT><BR>\n</P>";
    EXPECT_EQ(html, expected);
}

TEST(QuoteHeader, HtmlMailtoAddressIsEscaped) {
    Msg m;
    m.from = u"Eve <a&b'c@ex.com>";
    const WideString html = BuildHtmlQuoteHeader(m, 0);
    EXPECT_NE(html.find(u"HREF=\"mailto:a&amp;b'c@ex.com\">mailto:a&amp;b'c@ex.com</A>"), WideString::npos);
}

TEST(QuoteHeader, SendersThatDoNotSplit) {
    // No brackets, or only a quoted name: the sender text shows whole (twice in RTF and text).
    for (const char16_t* from : {u"ann@ex.com", u"\"Ann\""}) {
        Msg m;
        m.from = from;
        m.sent = false;
        const WideString f = from;
        EXPECT_EQ(BuildTextQuoteHeader(m, 0), u"From: " + f + u" [" + f + u"]\r\nTo: \r\nCC: \r\nBCC: \r\nSubject: \r\n");
        EXPECT_NE(BuildHtmlQuoteHeader(m, 0).find(u"<P DIR=LTR>\n<B>"), WideString::npos);
        EXPECT_EQ(BuildHtmlQuoteHeader(m, 0).find(u"mailto"), WideString::npos);
    }
    Msg none;
    none.sent = false;
    EXPECT_EQ(BuildHtmlQuoteHeader(none, 0), u"<P DIR=LTR>\n<BR></FONT>\n</P>");
    EXPECT_EQ(BuildRtfQuoteHeader(none, 0),
              u"\n\\b From:\\b0 \\par\\b To:\\b0 \\par\\b CC:\\b0 \\par\\b BCC:\\b0 \\par\\b Subject:\\b0 \\par \\par\n\n");
}

TEST(QuoteHeader, RtfBlockEscapesBracesAndBackslashes) {
    Msg m;
    FillHostile(m);
    m.cc = u"c}c";
    const WideString rtf = BuildRtfQuoteHeader(m, qhAttachments | qhFileName | qhSeparatorAlt);
    const WideString expected = u"\\par \\par " + WideString(35, u'_') +
                                u" \\par" u"Message File name: in<b>.eml\\par \\par \n"
                                u"\n\\b From:\\b0 Ann <&> \"x\"  [ann@ex.com]"
                                u"\\par\\b To:\\b0 Bob \\{\\\\b\\} <bob@ex.com>"
                                u"\\par\\b CC:\\b0 c\\}c"
                                u"\\par\\b BCC:\\b0 "
                                u"\\par\\b Sent: \\b0 2026-12-10 09:00:00"
                                u"\\par\\b Subject:\\b0 Caf\u00e9 \\{\\\\rtf1\\} <script>"
                                u"\\par Attachments: \\par \na&b.txt \\par\n"
                                u"\\par \\par\n\n";
    EXPECT_EQ(rtf, expected);
}

TEST(QuoteHeader, TextBlockIsTheExportHeader) {
    Msg m;
    FillHostile(m);
    const WideString text = BuildTextQuoteHeader(m, qhAttachments | qhFileName | qhSeparator | qhSeparatorAlt);
    EXPECT_EQ(text, u"\r\n\r\n" + WideString(35, u'-') +
                        u"\r\nMessage File name: in<b>.eml\r\n\r\n"
                        u"From: Ann <&> \"x\"  [ann@ex.com]\r\nTo: Bob {\\b} <bob@ex.com>\r\nCC: \r\nBCC: "
                        u"\r\nSent: 2026-12-10 09:00:00\r\nSubject: Caf\u00e9 {\\rtf1} <script>\r\n"
                        u"\r\nAttachments:\r\na&b.txt\r\n\r\n");
    // Separator bits 4 and 8 give the same block; flags 0 still writes From to Subject.
    EXPECT_EQ(BuildTextQuoteHeader(m, qhSeparator), BuildTextQuoteHeader(m, qhSeparatorAlt));
    m.sent = false;
    EXPECT_EQ(BuildTextQuoteHeader(m, 0).find(u"Sent"), WideString::npos);
    EXPECT_EQ(BuildHtmlQuoteHeader(m, 0).find(u"Sent"), WideString::npos);
    EXPECT_EQ(BuildRtfQuoteHeader(m, 0).find(u"Sent"), WideString::npos);
}

TEST(QuoteHeader, HtmlInsertAnchors) {
    Msg m;
    m.sent = false;
    const WideString block = BuildHtmlQuoteHeader(m, qhSeparator);
    struct Case {
        const char16_t* body;
        const char16_t* before;  // the block goes right after this prefix
    } const cases[] = {
        {u"<html><body bgcolor=x>hi</body></html>", u"<html><body bgcolor=x>"},
        {u"<HTML><BODY>hi</BODY></HTML>", u"<HTML><BODY>"},
        {u"<html><Body>hi</Body></html>", u"<html><Body>"},
        {u"<bodyguard>x</bodyguard><body>hi", u"<bodyguard>x</bodyguard><body>"},
        {u"<p>no body tag</p>", u""},
        {u"<html><body", u""},
    };
    for (const Case& c : cases) {
        const WideString body = c.body, before = c.before;
        const WideString expected = before + block + body.substr(before.size());
        EXPECT_EQ(InsertHtmlQuoteHeader(m, body, qhSeparator), expected) << std::string(body.begin(), body.end());
    }
    EXPECT_EQ(InsertHtmlQuoteHeader(m, u"<body>x", 0), u"<body>x");
}

TEST(QuoteHeader, RtfInsertAnchors) {
    Msg m;
    m.sent = false;
    m.subject = u"\u00e9";
    const WideString block = EncodeRtfUnicode(BuildRtfQuoteHeader(m, qhSeparator));
    EXPECT_NE(block.find(u"\\uc1\\u233?"), WideString::npos);
    const WideString withTable = u"{\\rtf1{\\colortbl;\\red0;}\\par text}";
    EXPECT_EQ(InsertRtfQuoteHeader(m, withTable, qhSeparator),
              u"{\\rtf1{\\colortbl;\\red0;}" + block + u"\\par text}");
    const WideString noTable = u"{\\rtf1 a\\par b}";
    EXPECT_EQ(InsertRtfQuoteHeader(m, noTable, qhSeparator), u"{\\rtf1 a\\par " + block + u"b}");
    // The anchor at the end, no anchor at all, flags 0: unchanged.
    for (const char16_t* body : {u"{\\colortbl;}x", u"{\\colortbl;}", u"{\\rtf1 nothing}"})
        EXPECT_EQ(InsertRtfQuoteHeader(m, body, qhSeparator), body);
    EXPECT_EQ(InsertRtfQuoteHeader(m, withTable, 0), withTable);
}

TEST(QuoteHeader, TextInsertPrepends) {
    Msg m;
    EXPECT_EQ(InsertTextQuoteHeader(m, u"body", qhSeparator), BuildTextQuoteHeader(m, qhSeparator) + u"body");
    EXPECT_EQ(InsertTextQuoteHeader(m, u"body", 0), u"body");
}

}  // namespace
