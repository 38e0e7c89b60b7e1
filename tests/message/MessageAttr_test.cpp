#include "message/MessageAttr.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "output/HtmlRenderer.h"
#include "output/TextRenderer.h"
#include "platform/win/WinString.h"
#include "tests/message/RecordingView.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;

WideString W(const std::filesystem::path& p) { return Utf8ToUtf16(p.string()); }

// A record kind whose attachments save their index as text; `failing` never saves.
class TestRecord : public TMessageAttr {
public:
    int failing = -1;
    int GetType() override { return 0; }
    bool SaveAttachment(int index, const WideString& path, bool) override
    {
        if (index == failing) return false;
        std::ofstream(Utf16ToUtf8(path)) << index;
        return true;
    }
};

TEST(MessageAttr, ConstructionAndClear)
{
    TestRecord r;
    EXPECT_EQ(r.msgType, mtNote);
    EXPECT_TRUE(r.sent);
    EXPECT_EQ(r.date, 0);

    r.fileType = mftEML;
    r.fileName = u"/m/a.eml";
    r.checked = true;
    r.loadLevel = mllFull;
    r.from = r.subject = r.to = r.cc = r.bcc = r.htmlBody = r.loadedHtmlBody = r.plainBody = u"x";
    r.shownFile = r.headerText = r.dateText = u"x";
    r.rtfBody = "x";
    r.zoneHours = 5;
    r.date = 3;
    r.attachments.push_back({});
    r.inlineParts.push_back({});
    r.bodyIsHtml = r.bodyIsRtf = r.hasAttachments = true;
    r.bodyBuffer.push_back(1);
    r.Clear();
    EXPECT_EQ(r.loadLevel, mllEmpty);
    for (const WideString* s : {&r.from, &r.subject, &r.to, &r.cc, &r.bcc, &r.htmlBody, &r.loadedHtmlBody,
                                &r.plainBody, &r.shownFile, &r.headerText, &r.dateText})
        EXPECT_TRUE(s->empty());
    EXPECT_TRUE(r.rtfBody.empty());
    EXPECT_EQ(r.zoneHours, 0);
    EXPECT_EQ(r.date, 0);
    EXPECT_TRUE(r.attachments.empty());
    EXPECT_TRUE(r.inlineParts.empty());  // would grow with every fill otherwise
    EXPECT_FALSE(r.bodyIsHtml || r.bodyIsRtf || r.hasAttachments);
    EXPECT_TRUE(r.bodyBuffer.empty());
    // What belongs to the row and the file stays.
    EXPECT_TRUE(r.checked);
    EXPECT_EQ(r.fileType, mftEML);
    EXPECT_EQ(r.fileName, u"/m/a.eml");
}

TEST(MessageAttr, IsEmbeddedAttachMessageChecksTheIndex)
{
    TestRecord r;
    r.attachments = {{0, 0, u"a", {}}, {1, 5, u"b", {}}};
    EXPECT_FALSE(r.IsEmbeddedAttachMessage(-1));
    EXPECT_FALSE(r.IsEmbeddedAttachMessage(0));
    EXPECT_TRUE(r.IsEmbeddedAttachMessage(1));
    EXPECT_FALSE(r.IsEmbeddedAttachMessage(2));
    std::vector<WideString> names{u"first"};
    EXPECT_EQ(r.GetAttachmentNames(names), 3);
    EXPECT_EQ(names.back(), u"b");
    EXPECT_EQ(r.GetAttachmentCount(), 2);
}

TEST(MessageAttr, GetMessageFileType)
{
    TempDir dir;
    const auto cfb = dir.WriteFile("real.txt", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
    const auto text = dir.WriteFile("fake.msg", "From: a\r\n\r\nbody");
    const auto pst = dir.WriteFile("store.pst", "!BDN....");

    EXPECT_EQ(GetMessageFileType(u"/x/A.MSG", false), mftMSG);
    EXPECT_EQ(GetMessageFileType(u"/x/a.Msg", false), mftMSG);
    EXPECT_EQ(GetMessageFileType(u"/x/a.eml", false), mftEML);
    EXPECT_EQ(GetMessageFileType(u"/x/a.PST", false), mftPST);
    EXPECT_EQ(GetMessageFileType(u"/x/a.txt", false), mftUnknown);
    EXPECT_EQ(GetMessageFileType(W(cfb), true), mftMSG);
    EXPECT_EQ(GetMessageFileType(W(text), true), mftEML);
    EXPECT_EQ(GetMessageFileType(W(pst), true), mftEML);
    EXPECT_EQ(GetMessageFileType(W(dir / "missing.msg"), true), mftEML);
}

TEST(MessageAttr, IsRealAttachment)
{
    struct Case {
        const char16_t* html;
        const char16_t* id;
        bool real;
    };
    const Case cases[] = {
        {u"<p><img alt=x src=\"cid:pic.1$@host\"></p>", u"<pic.1$@host>", false},
        {u"<IMG SRC=\"pic.1$@host\">", u"<pic.1$@host>", false},
        {u"<td background=x SRC=\"CID:pic.1$@host\">", u"pic.1$@host", false},
        {u"<img src=\"cid:other\">", u"<pic.1$@host>", true},
        {u"<img src=\"cid:picX1$@host\">", u"pic.1$@host", true},  // "." is escaped
        {u"<img src=\"cid:x\">", u"", true},
        {u"", u"<x>", true},
        {u"<img src=\"cid:pic\"", u"pic", true},                 // the tag never closes
        {u"<img src=\"cid:pic\" <b>", u"pic", true},             // another tag opens first
        {u"<img><b src=\"pic\">", u"pic", true},                 // SRC in a tag that is no IMG
        {u"<imgsrc=\"pic\">", u"pic", true},                     // nothing between IMG and SRC
        {u"<a src> cid:pic>", u"pic", true},                      // the name is outside the tag
        {u"<b\nsrc=\"x\"\nalt=\"cid:PIC\">", u"pic", false},     // line breaks inside a tag
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.html));
        EXPECT_EQ(TMessageAttr::IsRealAttachment(c.html, c.id), c.real);
    }
}

TEST(MessageAttr, ExportCopiesUnderAUniqueName)
{
    TempDir dir;
    const auto source = dir.WriteFile("Weekly report.eml", "From: a\r\n\r\nx");
    std::filesystem::create_directory(dir / "out");
    dir.WriteFile("out/Weekly report.eml", "old");
    TestRecord r;
    r.fileName = W(source);

    EXPECT_EQ(r.Export(W(dir / "out")), W(dir / "out" / "Weekly report (2).eml"));
    EXPECT_EQ(ReadFileBytes(dir / "out" / "Weekly report (2).eml"), "From: a\r\n\r\nx");
    EXPECT_EQ(ReadFileBytes(dir / "out" / "Weekly report.eml"), "old");
    EXPECT_EQ(r.Export(W(dir / "out" / "copy.eml")), W(dir / "out" / "copy.eml"));
    // A folder name outside any 8-bit code page is still a folder.
    std::filesystem::create_directory(dir / "папка");
    EXPECT_EQ(r.Export(W(dir / "папка")), W(dir / "папка" / "Weekly report.eml"));

    r.fileName = W(dir / "gone.eml");
    EXPECT_EQ(r.Export(W(dir / "out")), u"");

    EXPECT_EQ(r.GetExportName(), u"gone");
    r.fileName = u"/m/Weekly report.eml";
    EXPECT_EQ(r.GetExportName(), u"Weekly report");
    EXPECT_EQ(r.GetExportFileName(), u"Weekly report.eml");
    r.fileName = u"/m/a:b?.eml";
    EXPECT_EQ(r.GetExportFileName(), u"a_b_.eml");
}

TEST(MessageAttr, SaveAllAttachments)
{
    TempDir dir;
    TestRecord r;
    std::vector<WideString> saved;
    EXPECT_TRUE(r.SaveAllAttachments(W(dir.path()), u"p_", &saved, false));
    EXPECT_TRUE(saved.empty());

    r.attachments = {{0, 0, u"a.txt", {}}, {1, 0, u"b.pdf", {}}, {2, 0, u"a.txt", {}}};
    r.failing = 1;
    // One failed save makes the answer false; the others are saved all the same.
    EXPECT_FALSE(r.SaveAllAttachments(W(dir.path()), u"p_", &saved, false));
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0], W(dir / "p_a.txt"));
    EXPECT_EQ(saved[1], W(dir / "p_a (2).txt"));
    EXPECT_EQ(ReadFileBytes(dir / "p_a (2).txt"), "2");

    TMessageAttr::RandomNames().seed(7);
    saved.clear();
    r.failing = -1;
    EXPECT_TRUE(r.SaveAllAttachments(W(dir.path()), u"", &saved, true));
    ASSERT_EQ(saved.size(), 3u);
    for (const WideString& p : saved) {
        const std::filesystem::path file = std::filesystem::path(Utf16ToUtf8(p)).filename();
        const std::string stem = file.stem().string();
        EXPECT_TRUE(file.extension() == ".txt" || file.extension() == ".pdf") << file;
        EXPECT_TRUE(!stem.empty() && stem.size() <= 8 &&
                    stem.find_first_not_of("0123456789") == std::string::npos) << file;
        EXPECT_LT(std::stoul(stem), 0xFFFFFFu);
    }
}

TEST(MessageAttr, DisplayPushesTheHeaderFieldsInOrder)
{
    TestRecord r;
    r.to = u"t";
    r.from = u"f";
    r.cc = u"c";
    r.subject = u"s";
    r.attachments.resize(2);
    RecordingView view;
    r.Display(view, true);
    const std::vector<std::string> expected = {"Clear", "To:t", "From:f", "CC:c", "Subject:s",
                                               "FileName", "Header", "Attachments:2"};
    EXPECT_EQ(view.calls, expected);
}

TEST(MessageAttr, RenderHeadersAndBody)
{
    TestRecord empty;
    TextRenderer text;
    empty.RenderHeaders(text);
    EXPECT_EQ(text.GetDocument(), u"From: \r\nTo: \r\nCC: \r\nSubject: \r\nDate: \r\n");

    TestRecord r;
    r.plainBody = u"plain <b>";
    r.htmlBody = u"<p>html</p>";
    r.subject = u"a & b";
    TextRenderer both;
    r.RenderHeadersAndBody(both);
    EXPECT_EQ(both.GetDocument(), u"From: \r\nTo: \r\nCC: \r\nSubject: a & b\r\nDate: \r\n\r\nplain <b>\r\n");

    // Message text in an HTML document is text, not markup.
    HtmlRenderer html;
    r.RenderHeadersAndBody(html);
    EXPECT_NE(html.Content().find(u"<p>Subject: a &amp; b</p>"), WideString::npos);
    EXPECT_NE(html.Content().find(u"<hr/><p>plain &lt;b&gt;</p>"), WideString::npos);

    r.plainBody.clear();
    TextRenderer onlyHtml;
    r.RenderBody(onlyHtml);
    EXPECT_EQ(onlyHtml.GetDocument(), u"<p>html</p>\r\n");
}

TEST(MessageAttr, FormatHtmlBodyLinks)
{
    TestRecord r;
    r.htmlBody = u"<img src=\"cid:a.b$c\"><img src = \"a.b$c\"><img SRC=\"cid:a.b$c\"><img src=\"cid:aXb$c\">";
    r.inlineParts = {{3, 0, u"/tmp/q/pic$1 #2?%41\u00E9.png", u"a.b$c"}};
    r.FormatHtmlBodyLinks();
    // Relative to the page beside the picture, and encoded: "#", "?" and "%" stay in the name.
    EXPECT_EQ(r.htmlBody, u"<img src=\"pic%241%20%232%3F%2541%C3%A9.png\"><img src=\"pic%241%20%232%3F%2541%C3%A9.png\">"
                          u"<img SRC=\"cid:a.b$c\"><img src=\"cid:aXb$c\">");

    EXPECT_EQ(PrependScriptErrorHandler(u""),
              u"<SCRIPT language=JavaScript>function errorHandler(message, url, line) { return true; }"
              u"window.onerror = errorHandler;</SCRIPT>");
}

TEST(MessageAttr, TimeZoneOfTheDateLine)
{
    struct Case {
        const char16_t* header;
        int hours;
        int minutes;
    };
    const Case cases[] = {
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 -0500\r\n", -5, -300},
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 +0000 (UTC)\r\n", 0, 0},
        {u"X: 1\r\ndate: 15 Nov 1994 08:12:31 EST\r\n", -5, -300},
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 (CET)\r\n", 1, 60},
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 Elsewhere\r\n", 0, 0},
        {u"X: 1\r\nSubject: no date\r\n", 0, 0},
        {u"X: 1\r\nResent-Date: Tue, 15 Nov 1994 08:12:31 -0500\r\n", 0, 0},
        {u"Date: Tue, 15 Nov 1994 08:12:31 +0530\r\n", 5, 330},  // on the first line
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 -0330\r\n", -3, -210},
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 +0545\r\n", 5, 345},
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 +0930\r\n", 9, 570},
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 ACST\r\n", 9, 570},
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:31 +1000\r\n", 10, 600},
        {u"X: 1\r\nDate: Tue, 15 Nov\r\n 1994 08:12:31\r\n\t+0200\r\n", 2, 120},  // folded
        {u"Subject: see Date: 1 Jan 2000 01:02:03 +0900\r\nDate: 2 Jan 2000 01:02:03 -0700\r\n", -7, -420},
        {u"X: 1\r\nDate: 1 Jan 2000 01:02:03 +0900\r\nDate: 2 Jan 2000 01:02:03 -0700\r\n", 9, 540},
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:47\r\n", 0, 0},  // no zone: no seconds digit as one
        {u"X: 1\r\nDate: Tue, 15 Nov 1994 08:12:47\r\nX: 2\r\n", 0, 0},
        {u"X: 1\r\nDate: 15 Nov 1994 08:12:31 GMT\r\n", 0, 0},
        {u"X: 1\r\nDate: 15 Nov 1994 08:12:31 +0100 (CET)\r\n", 1, 60},
        {u"X: 1\r\nDate: 15-Nov-1994 08:12:31 +0100\r\n", 1, 60},  // not the usual form
        // Too few numbers for a zone after them
        {u"X: 1\r\nDate: Wed, 15 Dec 2010 59:10 -0500\r\n", 0, 0},
        {u"X: 1\r\nDate: May 8, 2005 1:17 PM\r\n", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.header));
        EXPECT_EQ(TMessageAttr::GetTimeZone(c.header), c.hours);
        EXPECT_EQ(TMessageAttr::GetTimeZoneMinutes(c.header), c.minutes);
    }
}

// A Date value with too few digit runs for a date, long enough that the lazy runs of the
// pattern could backtrack for hours: the search gives up at once and the zone is 0.
TEST(MessageAttr, TimeZoneOfABacktrackingDateLine)
{
    const WideString run(400, u'Z');
    const WideString header = u"X: 1\r\nDate: Mon, 0" + run + u"11" + run + u"0" + run + u"\r\n";
    EXPECT_EQ(TMessageAttr::GetTimeZone(header), 0);
    EXPECT_EQ(TMessageAttr::GetTimeZoneMinutes(header), 0);
}

}  // namespace
