// The pass that fits mail HTML to the layout engine, and reading pages in their encodings.
#include <gtest/gtest.h>

#include "platform/outside/HtmlNormalizer.h"
#include "platform/outside/HtmlSource.h"

namespace {

TEST(HtmlNormalizer, FitsWordAndOldMailMarkup) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"<style><!--\np{color:red}\n--></style>", "<style>\np{color:red}\n</style>"},
        {"<STYLE>@page WordSection1 {size:8.5in 11.0in; margin:1in}\ndiv.WordSection1 {page:WordSection1;}</STYLE>",
         "<STYLE>\ndiv.WordSection1 {page:WordSection1;}</STYLE>"},
        {"<font face=\"Courier New\" size=\"+1\" color=red>x</FONT>",
         "<span style=\"font-family:Courier New;color:red;font-size:large;\">x</span>"},
        {"<p>a &lt; b</p><!-- <font> stays in a comment -->", "<p>a &lt; b</p><!-- <font> stays in a comment -->"},
        {"<fontx>kept</fontx>", "<fontx>kept</fontx>"},
        // An empty line between two breaks is held open; a single break and <brx> are kept.
        {"a<br><BR/>\n<br>b<br>c<brx>", "a<br>&nbsp;<BR/>\n&nbsp;<br>b<br>c<brx>"},
    };
    for (const auto& c : cases) {
        std::string html = c.in, error;
        ASSERT_TRUE(NormalizeMailHtml(html, error)) << c.in;
        EXPECT_EQ(html, c.out);
    }
}

TEST(HtmlNormalizer, RefusesTablesNestedBeyondAnyRealMail) {
    std::string ok, bomb, error;
    for (int i = 0; i < kMaxTableNesting; ++i) ok += "<table><tr><td>";
    for (int i = 0; i < kMaxTableNesting + 1; ++i) bomb += "<table><tr><td>";
    EXPECT_TRUE(NormalizeMailHtml(ok, error));
    EXPECT_FALSE(NormalizeMailHtml(bomb, error));
    EXPECT_NE(error.find("nested"), std::string::npos);
    // Sibling tables are no nesting.
    std::string siblings;
    for (int i = 0; i < 100; ++i) siblings += "<table><tr><td>x</td></tr></table>";
    EXPECT_TRUE(NormalizeMailHtml(siblings, error));
}

TEST(HtmlSource, EncodingsByMarkCharsetMetaAndBytes) {
    const struct {
        std::string bytes;
        const char* charset;
        const char* utf8;
    } cases[] = {
        {"\xEF\xBB\xBF<p>caf\xC3\xA9</p>", "windows-1252", "<p>caf\xC3\xA9</p>"},           // the mark wins
        {std::string("\xFF\xFE<\0p\0>\0\xE9\0", 10), "", "<p>\xC3\xA9"},                      // UTF-16LE
        {"<p>\xEF\xF0\xE8</p>", "windows-1251", "<p>\xD0\xBF\xD1\x80\xD0\xB8</p>"},           // asked for
        {"<meta charset=\"koi8-r\"><p>\xD0\xD2</p>", "", "<meta charset=\"koi8-r\"><p>\xD0\xBF\xD1\x80</p>"},
        {"<p>caf\xC3\xA9</p>", "", "<p>caf\xC3\xA9</p>"},                                      // valid UTF-8
        {"<p>caf\xE9</p>", "", "<p>caf\xC3\xA9</p>"},                                          // else 1252
    };
    for (const auto& c : cases) {
        THtmlSource source;
        std::string error;
        ASSERT_TRUE(HtmlSourceFromBytes(c.bytes, c.charset, source, error));
        EXPECT_EQ(source.html, c.utf8);
    }
}

TEST(HtmlSource, AMimeMessageGivesItsHtmlBodyAndItsPictures) {
    const std::string eml =
        "From: a@example.com\r\nSubject: s\r\nMIME-Version: 1.0\r\n"
        "Content-Type: multipart/related; boundary=\"b\"\r\n\r\n"
        "--b\r\nContent-Type: text/html; charset=iso-8859-1\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
        "<p>caf=E9 <img src=3D\"cid:Pic1@x\"></p>\r\n"
        "--b\r\nContent-Type: image/png\r\nContent-ID: <Pic1@X>\r\nContent-Transfer-Encoding: base64\r\n\r\n"
        "iVBORw0KGgo=\r\n--b--\r\n";
    THtmlSource source;
    std::string error;
    ASSERT_TRUE(HtmlSourceFromBytes(eml, "", source, error)) << error;
    EXPECT_NE(source.html.find("caf\xC3\xA9"), std::string::npos);
    ASSERT_EQ(source.parts.count("pic1@x"), 1u);
    EXPECT_EQ(source.parts["pic1@x"], std::string("\x89PNG\r\n\x1A\n", 8));

    // Plain mail becomes preformatted text that cannot turn into markup.
    THtmlSource plain;
    ASSERT_TRUE(HtmlSourceFromBytes("From: a@b.c\r\nContent-Type: text/plain\r\n\r\n<b>not bold</b>\r\n", "", plain, error));
    EXPECT_EQ(plain.html.rfind("<pre>&lt;b&gt;not bold&lt;/b&gt;", 0), 0u);
}

}  // namespace
