#include <gtest/gtest.h>

#include <string>

#include "app/RtfHtml.h"
#include "app/SupportLibrary.h"
#include "platform/win/WinString.h"

namespace {

class RtfHtmlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }
};

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\fnil\\fcharset204 Tahoma;}{\\f2\\fmodern\\fprq1\\fcharset128 MS Gothic;}}"
    "{\\colortbl\\red0\\green0\\blue0;}\n\\uc1\\pard\\plain\\deftab360 \\f0\\fs24 \n";

WideString Decapsulate(const std::string& rtf) {
    WideString html;
    DecapsulateHtmlFromRtf(rtf.data(), rtf.size(), html);
    return html;
}

WideString Body(const char* body) { return Decapsulate(kHeader + body + "}"); }

}  // namespace

TEST(RtfHtml, RecognisesEncapsulatedHtml) {
    const auto is = [](const std::string& rtf) { return IsHtmlEncapsulatedRtf(rtf.data(), rtf.size()); };
    EXPECT_TRUE(is(kHeader + "}"));
    EXPECT_TRUE(is("{\\rtf1\\ansi\\fbidis\\fromhtml1 x}"));
    EXPECT_FALSE(is("{\\rtf1\\ansi\\fromtext \\fbidis \\deff0 {\\*\\htmltag64}}"));
    EXPECT_FALSE(is("{\\rtf1\\ansi plain \\fromhtml1}"));  // in the body, not the header
    EXPECT_FALSE(is("{\\rtf1\\ansi{\\fonttbl\\fromhtml1}}"));
    EXPECT_FALSE(is(""));
}

TEST_F(RtfHtmlTest, DecapsulatesTheListedCases) {
    struct Row {
        const char* body;
        const char16_t* html;
    };
    const Row rows[] = {
        {"{\\*\\htmltag64 <p>}Caf\\'e9{\\*\\htmltag72 </p>}", u"<p>Caf\u00e9</p>"},
        {"{\\*\\htmltag0 \\par }a\\tab b\\{c\\}d\\\\e", u"\r\na   b{c}d\\e"},
        // a suppressed run: only its font switch acts
        {"{\\*\\htmltag84 <td>}\\htmlrtf \\f1 {\\b ignored}\\htmlrtf0 \\'c0\\'c1{\\*\\htmltag92 </td>}",
         u"<td>\u0410\u0411</td>"},
        {"{\\*\\htmltag84 <a>}{\\*\\mhtmltag84 <a href=\"cid:x\">{nested}}{\\*\\htmltag84 <b>}", u"<a><b>"},
        // control words are whole words, unknown ones are dropped
        {"{\\*\\htmltag64 <p>}\\pard\\plain\\b\\f2\\fs20\\cf1\\uc1\\li360\\list a\\par b", u"<p>a\r\nb"},
        // \htmlrtf0 outside a run starts nothing
        {"{\\*\\htmltag64 <p>}\\htmlrtf0 visible", u"<p>visible"},
        // the run ends with its group; the state outside it comes back
        {"{\\*\\htmltag64 <p>}{\\htmlrtf x}y{\\f1 \\'c0}\\'c0", u"<p>y\u0410\u00c0"},
        // Unicode escapes skip their fallback, surrogate pairs included
        {"{\\*\\htmltag64 <p>}\\u8364?\\uc2\\u8364\\'80\\'80|\\uc1\\u-10179?\\u-8704?|\\uc0\\u233 x",
         u"<p>\u20ac\u20ac|\U0001F600|\u00e9x"},
        {"{\\*\\htmltag64 <p>}{\\uc2\\u8364 ab}c", u"<p>\u20acc"},
        // destinations and the text before the first tag group are no HTML
        {"lost{\\*\\htmltag64 <p>}{\\*\\bkmkstart x}{\\pntext 1.}{\\*\\unknown y}z\\~\\-w", u"<p>z\u00a0w"},
        {"{\\*\\htmltag241 <!--[if gte mso 9]>\\par <xml>\\par}}", u"<!--[if gte mso 9]>\r\n<xml>\r\n"},
        {"no tag group at all", u""},
    };
    for (const Row& r : rows) EXPECT_EQ(Body(r.body), r.html) << r.body;
}

TEST_F(RtfHtmlTest, CodePageZeroIsTheLegacyDefault) {
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg0\\fromhtml1{\\*\\htmltag0 <p>}Caf\\'e9 and text}";
    EXPECT_EQ(Decapsulate(rtf), u"<p>Caf\u00e9 and text");
}

TEST_F(RtfHtmlTest, DefaultCodePageOfTheDocument) {
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\fromhtml1{\\fonttbl{\\f0\\fswiss MS PGothic;}}"
                            "\\f0{\\*\\htmltag0 <p>}\\'93\\'fa\\'96\\'7b}";
    EXPECT_EQ(Decapsulate(rtf), u"<p>\u65e5\u672c");
}

TEST(RtfHtmlEncode, WritesTheListedCases) {
    const WideString header = encodertfhtml(u"");
    ASSERT_EQ(header.back(), u'}');
    const WideString prefix = header.substr(0, header.size() - 1);
    EXPECT_EQ(prefix.find(u"\\ansicpg0"), WideString::npos);
    EXPECT_NE(prefix.find(u"{\\rtf1\\ansi\\ansicpg1252\\fromhtml1"), WideString::npos);

    const auto body = [&](const WideString& html) {
        const WideString rtf = encodertfhtml(html);
        EXPECT_EQ(rtf.compare(0, prefix.size(), prefix), 0);
        return rtf.substr(prefix.size());
    };
    EXPECT_EQ(body(u"<p>Caf\u00e9 {x}</p>"),
              u"{\\*\\htmltag0 <p>}\nCaf\\'e9 \\{x\\}{\\*\\htmltag0 </p>}\n}");
    EXPECT_EQ(body(u"\u20ac \u0080 C:\\new $& \U0001F600"),
              u"\\uc1\\u8364? \\uc1\\u128? C:\\\\new $& \\uc1\\u55357?\\uc1\\u56832?}");
    // head and body alike: braces escaped, non-ASCII encoded; a plain element is one group
    EXPECT_EQ(body(u"<head><title>\u20ac</title><style>p {x}</style></head><Body>Hello</Body>"),
              u"{\\*\\htmltag0 <head>}\n{\\*\\htmltag0 <title>\\uc1\\u8364?</title>}\n"
              u"{\\*\\htmltag0 <style>p \\{x\\}</style>}\n{\\*\\htmltag0 </head>}\n"
              u"{\\*\\htmltag0 <Body>}\nHello{\\*\\htmltag0 </Body>}\n}");
    EXPECT_EQ(EncodeRtfUnicode(u"{\\b Jos\u00e9}"), u"{\\b Jos\\uc1\\u233?}");
}

TEST_F(RtfHtmlTest, RoundTripGivesTheHtmlBack) {
    const WideString pages[] = {
        u"",
        u"<p>Caf\u00e9 {x}</p>",
        u"<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title>T\u00eete \u20ac</title>\r\n"
        u"<style>\r\np { margin: 0 } /* C:\\path */\r\n</style>\r\n</head>\r\n"
        u"<BODY class=x>\r\n<p>$& and $1 \\par {\\b} \u00a0\u0080\u009f\u00ff\u0100\u4e2d \U0001F600</p>\r\n"
        u"\t<pre>  two  blanks\r\n\r\n</pre>a < b > c<!-- {comment} -->\r\n</BODY>\r\n</html>",
        u"text only, no tags \\ { } \u00e9",
        u" 1 leading digit and blank",
    };
    for (const WideString& html : pages) {
        const std::string rtf = Utf16ToUtf8(encodertfhtml(html));
        for (const char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "RTF is 7-bit";
        ASSERT_TRUE(IsHtmlEncapsulatedRtf(rtf.data(), rtf.size()));
        EXPECT_EQ(Decapsulate(rtf), html) << Utf16ToUtf8(html);
    }
}
