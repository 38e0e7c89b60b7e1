#include <gtest/gtest.h>

#include <filesystem>

#include "output/HtmlRenderer.h"
#include "output/TextRenderer.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;

WideString W(const std::filesystem::path& p) { return Utf8ToUtf16(p.string()); }

TEST(TextRenderer, LinesEndInCrLfAndARuleIsAnEmptyLine)
{
    TextRenderer r;
    r.AddBold(u"a");
    r.AddRule();
    r.AddPreformatted(u"b");
    EXPECT_EQ(r.GetDocument(), u"a\r\n\r\nb\r\n");
}

TEST(HtmlRenderer, FramesTheContentWithoutEscapingIt)
{
    HtmlRenderer r;
    r.AddParagraph(u"x < y & z");
    r.AddBold(u"b");
    r.AddPreformatted(u"p");
    r.AddRule();
    const WideString doc = r.GetDocument();
    EXPECT_EQ(doc.rfind(u"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                        u"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"
                        u"<html xmlns=\"http://www.w3.org/1999/xhtml\"><head>",
                        0),
              0u);
    EXPECT_NE(doc.find(u"charset=UTF-8\"/><title></title></head><body>"
                       u"<p>x < y & z</p><b>b</b><pre>p</pre><hr/></body></html>"),
              WideString::npos);
    EXPECT_EQ(doc.find(u'\n'), WideString::npos);
    EXPECT_EQ(EscapeHtmlText(u"<a href=\"x\">&</a>"), u"&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
}

TEST(Renderers, SaversWriteExactBytes)
{
    TempDir dir;
    TextRenderer r;
    r.AddParagraph(u"ab");
    ASSERT_TRUE(r.SaveToFileUnicode(W(dir / "u.txt")));
    EXPECT_EQ(ReadFileBytes(dir / "u.txt"), std::string("\xFF\xFE" "a\0b\0\r\0\n\0", 10));

    TextRenderer accents;
    accents.AddPreformatted(u"été €");
    ASSERT_TRUE(accents.SaveToFileUTF8(W(dir / "u8.txt")));
    EXPECT_EQ(ReadFileBytes(dir / "u8.txt"), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\r\n");
    ASSERT_TRUE(accents.SaveToFileAnsi(W(dir / "a.txt")));
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "\xE9t\xE9 \x80\r\n");

    // Any path works, and only the target is left in the folder.
    ASSERT_TRUE(accents.SaveToFileUTF8(W(dir / "имя файла.txt")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
}

TEST(Renderers, NothingAddedRefusesAndLeavesTheFileAlone)
{
    TempDir dir;
    const auto existing = dir.WriteFile("old.html", "keep");
    HtmlRenderer r;
    EXPECT_FALSE(r.GetDocument().empty());
    EXPECT_FALSE(r.SaveToFileUTF8(W(existing)));
    EXPECT_FALSE(r.SaveToFileUnicode(W(existing)));
    EXPECT_FALSE(r.SaveToFileAnsi(W(existing)));
    EXPECT_EQ(ReadFileBytes(existing), "keep");
}

TEST(Renderers, AnUnwritableTargetFailsAndLeavesNothing)
{
    TempDir dir;
    TextRenderer r;
    r.AddParagraph(u"x");
    EXPECT_FALSE(r.SaveToFileUTF8(W(dir / "missing" / "x.txt")));
    // A folder in the way of the rename.
    std::filesystem::create_directory(dir / "taken");
    std::filesystem::create_directory(dir / "taken" / "sub");
    EXPECT_FALSE(r.SaveToFileUnicode(W(dir / "taken")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
