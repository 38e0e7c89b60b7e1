#include "message/MessageEML.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/CAppUtils.h"
#include "app/SupportLibrary.h"
#include "app/TransferDecoding.h"
#include "output/TextRenderer.h"
#include "platform/win/WinString.h"
#include "tests/message/EmlFixtures.h"
#include "tests/message/RecordingView.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Unprivileged.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

WideString W(const fs::path& p) { return Utf8ToUtf16(p.string()); }

// Charsets and encoded words are converted by the support library, as in the program.
class EmlRecord : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }
};

// A record loaded from a fixture written into its own temporary folder.
struct Loaded {
    TempDir dir;
    MessageEML message;
    bool ok = false;
    explicit Loaded(const std::string& text, bool headersOnly = false, const std::string& name = "m.eml")
    {
        ok = message.LoadFromFile(W(dir.WriteFile(name, text)), headersOnly);
    }
};

// 15 Nov 1994 13:12:31 UTC.
TDateTime Utc(int y, int mo, int d, int h, int mi, int s)
{
    TDateTime date = 0, time = 0;
    EXPECT_TRUE(TryEncodeDate(static_cast<WORD>(y), static_cast<WORD>(mo), static_cast<WORD>(d), date));
    EXPECT_TRUE(TryEncodeTime(static_cast<WORD>(h), static_cast<WORD>(mi), static_cast<WORD>(s), 0, time));
    return date + time;
}

TEST_F(EmlRecord, LoadsASinglePartPlainMessage)
{
    Loaded m(eml::kPlainAscii);
    ASSERT_TRUE(m.ok);
    const MessageEML& r = m.message;
    EXPECT_EQ(m.message.GetType(), 1);
    EXPECT_EQ(r.fileType, mftEML);
    EXPECT_EQ(r.loadLevel, mllFull);
    EXPECT_EQ(r.imageIndex, 6);
    EXPECT_EQ(r.dateCaption, u"Created: ");
    EXPECT_EQ(r.from, u"Ann Example <ann@example.com>");
    EXPECT_EQ(r.to, u"Bob <bob@example.com>");
    EXPECT_EQ(r.subject, u"Status");
    EXPECT_EQ(r.plainBody, u"Hello Bob,\r\nall is well.");
    EXPECT_EQ(r.htmlBody, r.plainBody);
    EXPECT_FALSE(r.bodyIsHtml);
    EXPECT_FALSE(r.hasAttachments);
    EXPECT_EQ(r.headerText.rfind(u"From: Ann Example <ann@example.com>\r\nTo: Bob", 0), 0u);
    EXPECT_DOUBLE_EQ(r.date, Utc(1994, 11, 15, 13, 12, 31));
    EXPECT_EQ(r.zoneHours, -5);
    EXPECT_FALSE(r.dateText.empty());
}

TEST_F(EmlRecord, DecodesCharsetsEncodedWordsAndQuotedPrintable)
{
    Loaded m(eml::kLatin1QuotedPrintable);
    ASSERT_TRUE(m.ok);
    EXPECT_EQ(m.message.charset, "ISO-8859-1");
    EXPECT_EQ(m.message.subject, u"Café\u00e9");
    EXPECT_EQ(m.message.from, u"René <rene@example.com>");
    EXPECT_EQ(m.message.to, u"\"ab\" <ab@example.com>");  // backslashes removed
    EXPECT_EQ(m.message.plainBody, u"café crème soft break");
}

TEST_F(EmlRecord, SinglePartHtml)
{
    Loaded m(eml::kHtmlOnly);
    ASSERT_TRUE(m.ok);
    EXPECT_TRUE(m.message.bodyIsHtml);
    EXPECT_TRUE(m.message.plainBody.empty());
    EXPECT_EQ(m.message.htmlBody, PrependScriptErrorHandler(u"<html><body><p>café &amp; co</p></body></html>"));
    EXPECT_EQ(m.message.loadedHtmlBody, m.message.htmlBody);
    EXPECT_EQ(m.message.GetExportFilterString(), u"Html Files(*.html)|*.html");
}

TEST_F(EmlRecord, AlternativeInEitherOrderKeepsBothBodies)
{
    for (const char* text : {eml::kAlternativePlainFirst, eml::kAlternativeHtmlFirst}) {
        Loaded m(text);
        ASSERT_TRUE(m.ok);
        EXPECT_TRUE(m.message.bodyIsHtml);
        EXPECT_EQ(m.message.htmlBody, PrependScriptErrorHandler(u"<p>html text</p>"));
        EXPECT_EQ(m.message.plainBody, u"plain text");
        EXPECT_FALSE(m.message.hasAttachments);
        EXPECT_EQ(m.message.GetExportFilterString(), u"Html Files(*.html)|*.html|Text Files(*.txt)|*.txt");
    }
}

TEST_F(EmlRecord, MixedAttachmentsAndTheirNames)
{
    Loaded m(eml::kMixedNames);
    ASSERT_TRUE(m.ok);
    const MessageEML& r = m.message;
    EXPECT_TRUE(r.hasAttachments);
    EXPECT_EQ(r.cc, u"c@example.com");
    ASSERT_EQ(r.attachments.size(), 6u);
    const char16_t* names[] = {u"report.pdf",         u"dot.gif", u"résumé final.doc",
                               u"book.xls",           u"Unnamed attachment", u".._.._etc_passwd"};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(r.attachments[i].name, names[i]);
        EXPECT_EQ(r.attachments[i].number, static_cast<int>(i) + 1);
        EXPECT_EQ(r.attachments[i].attachMethod, 0);
        EXPECT_TRUE(r.attachments[i].contentId.empty());
    }
    EXPECT_EQ(m.message.GetExportFilterString(), u"Text Files(*.txt)|*.txt");
}

TEST_F(EmlRecord, UnnamedAttachmentsTakeTheExtensionOfTheirTypeAndSaveUnderUniqueNames)
{
    const std::string part = "--b\r\nContent-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n\r\niVBORw0K\r\n";
    Loaded m("From: a@example.com\r\nSubject: s\r\nMIME-Version: 1.0\r\n"
             "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
             "--b\r\nContent-Type: text/plain\r\n\r\nbody\r\n" +
             part + part +
             "--b\r\nContent-Type: application/x-unheard-of\r\nContent-Disposition: attachment\r\n\r\nzz\r\n--b--\r\n");
    ASSERT_TRUE(m.ok);
    std::vector<WideString> names;
    for (const AttachmentItem& a : m.message.attachments) names.push_back(a.name);
    EXPECT_EQ(names, (std::vector<WideString>{u"Unnamed attachment.png", u"Unnamed attachment.png", u"Unnamed attachment"}));
    TempDir out;
    std::vector<WideString> saved;
    ASSERT_TRUE(m.message.SaveAllAttachments(W(out.path()), u"", &saved, false));
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(fs::path(Utf16ToUtf8(saved[0])).filename(), "Unnamed attachment.png");
    EXPECT_EQ(fs::path(Utf16ToUtf8(saved[1])).filename(), "Unnamed attachment (2).png");
    EXPECT_EQ(ReadFileBytes(Utf16ToUtf8(saved[1])).substr(0, 4), "\x89PNG");
}

TEST_F(EmlRecord, InlinePictureDependsOnTheOrderOfParts)
{
    Loaded inlineFirst(eml::kRelatedHtmlFirst);
    ASSERT_TRUE(inlineFirst.ok);
    EXPECT_TRUE(inlineFirst.message.attachments.empty());
    ASSERT_EQ(inlineFirst.message.inlineParts.size(), 1u);
    EXPECT_EQ(inlineFirst.message.inlineParts[0].contentId, u"logo.1@host");
    EXPECT_EQ(inlineFirst.message.inlineParts[0].name, u"logo.png");
    EXPECT_FALSE(inlineFirst.message.hasAttachments);  // related, not mixed

    Loaded listed(eml::kRelatedPictureFirst);
    ASSERT_TRUE(listed.ok);
    ASSERT_EQ(listed.message.attachments.size(), 1u);
    EXPECT_TRUE(listed.message.inlineParts.empty());
    EXPECT_TRUE(listed.message.hasAttachments);
}

TEST_F(EmlRecord, AttachedMessagesAreListedByTheirSubjectOrSender)
{
    Loaded m(eml::kAttachedMessages);
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.message.attachments.size(), 1u);  // the anonymous one is not listed
    EXPECT_EQ(m.message.attachments[0].name, u"Inner_ one_two");
    EXPECT_EQ(m.message.attachments[0].attachMethod, 5);
    EXPECT_TRUE(m.message.IsEmbeddedAttachMessage(0));
    EXPECT_EQ(m.message.plainBody, u"two forwards");

    std::unique_ptr<TMessageAttr> inner = m.message.GetEmbeddedMessage(0);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetType(), 1);
    EXPECT_EQ(inner->subject, u"Inner: one/two");
    EXPECT_EQ(inner->plainBody, u"inner body");
    EXPECT_EQ(inner->fileName.rfind(CAppUtils::getAppTempFolder(), 0), 0u);
    EXPECT_EQ(m.message.GetEmbeddedMessage(1), nullptr);
    EXPECT_EQ(m.message.GetEmbeddedMessage(-1), nullptr);
}

TEST_F(EmlRecord, AnAttachedCompoundFileBecomesARecordOfItsKind)
{
    // A stand-in kind for ".msg" records: it answers 2 and loads any file.
    struct FakeMsg : TMessageAttr {
        int GetType() override { return 2; }
        bool LoadFromFile(const WideString& path, bool) override
        {
            fileName = path;
            return true;
        }
    };
    RegisterMessageKind(mftMSG, [] { return std::unique_ptr<TMessageAttr>(std::make_unique<FakeMsg>()); });
    const std::string cfb = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, 'x');
    std::string text =
        "From: a@example.com\r\nSubject: s\r\nContent-Type: multipart/mixed; boundary=\"z\"\r\n\r\n"
        "--z\r\nContent-Type: message/rfc822\r\n\r\nSubject: not this\r\n\r\nx\r\n"
        "--z\r\nContent-Type: application/vnd.ms-outlook\r\nContent-Disposition: attachment; filename=\"old.msg\"\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\n";
    // base64 of the compound-file bytes
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (size_t i = 0; i < cfb.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(cfb[i]) << 16;
        if (i + 1 < cfb.size()) v |= static_cast<unsigned char>(cfb[i + 1]) << 8;
        if (i + 2 < cfb.size()) v |= static_cast<unsigned char>(cfb[i + 2]);
        text += alphabet[(v >> 18) & 63];
        text += alphabet[(v >> 12) & 63];
        text += i + 1 < cfb.size() ? alphabet[(v >> 6) & 63] : '=';
        text += i + 2 < cfb.size() ? alphabet[v & 63] : '=';
        if ((i / 3) % 19 == 18) text += "\r\n";
    }
    text += "\r\n--z--\r\n";
    Loaded m(text.c_str());
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.message.attachments.size(), 2u);
    std::unique_ptr<TMessageAttr> msg = m.message.GetEmbeddedMessage(1);
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(msg->GetType(), 2);
    EXPECT_EQ(ReadFileBytes(Utf16ToUtf8(msg->fileName)), cfb);
    RegisterMessageKind(mftMSG, nullptr);
    EXPECT_EQ(m.message.GetEmbeddedMessage(1), nullptr);
}

TEST_F(EmlRecord, DateVariants)
{
    struct Case {
        const char* date;
        TDateTime utc;
        int zone;
    };
    const Case cases[] = {
        {"Date: Tue, 15 Nov 1994 08:12:31 -0500", Utc(1994, 11, 15, 13, 12, 31), -5},
        {"Date: 15 Nov 1994 08:12:31 +0530", Utc(1994, 11, 15, 2, 42, 31), 5},
        {"Date: 15 Nov 1994 08:12:31 +0545", Utc(1994, 11, 15, 2, 27, 31), 5},
        {"Date: 15 Nov 1994 08:12:31 -0330", Utc(1994, 11, 15, 11, 42, 31), -3},
        {"Date: 15 Nov 1994 08:12:31 +0930", Utc(1994, 11, 14, 22, 42, 31), 9},
        {"Date: Sun, 1 Jan 06 00:30:00 GMT", Utc(2006, 1, 1, 0, 30, 0), 0},
        {"Date: 15 Foo 1994 08:12:31 -0500", 0, -5},  // unknown month: no date, no shift
        {"Date: someday", 0, 0},
        {"X-No-Date: 1", 0, 0},
        {"Date: Tue, 15 Nov\r\n 1994 08:12:31\r\n -0500", Utc(1994, 11, 15, 13, 12, 31), -5},  // folded
        {"X-Note: Date: 1 Jan 2000 01:02:03 +0900", 0, 0},  // only the Date header counts
        // No zone: the time stays as written (no digit of the seconds read as a zone).
        {"Date: Tue, 15 Nov 1994 08:12:47", Utc(1994, 11, 15, 8, 12, 47), 0},
        {"Date: 15 Nov 1994 08:12:31", Utc(1994, 11, 15, 8, 12, 31), 0},
        {"Date: Tue, 15 Nov 1994 08:12:47 +0100", Utc(1994, 11, 15, 7, 12, 47), 1},
        // The usual form with its freedoms: blanks, tabs, short fields, what follows the zone.
        {"Date:\t Tue,15 Nov 1994  08:12:31\t-0500 (EST)", Utc(1994, 11, 15, 13, 12, 31), -5},
        {"Date: 15 Nov 94 8:2:1 -0800", Utc(1994, 11, 15, 16, 2, 1), -8},
        {"Date: Tue, 15 Nov 1994 08:12:31 +0530abc", Utc(1994, 11, 15, 2, 42, 31), 5},
        {"Date: Tue, 15 Nov 1994 08:12:31 PDT", Utc(1994, 11, 15, 15, 12, 31), -7},
        {"Date: Tue, 15 Nov 1994 08:12:31 GMT+0100", Utc(1994, 11, 15, 8, 12, 31), 0},
        {"Date: Tue, 15 Nov 1994 08:12:31 (CET)", Utc(1994, 11, 15, 7, 12, 31), 1},
        // The date is read from a line written "Date:", the zone from the first in any case.
        {"date: 15 Nov 1994 08:12:31 EST", 0, -5},
        {"DATE: 1 Jan 2000 01:02:03 +0900\r\nDate: 2 Jan 2000 01:02:03 -0700", Utc(2000, 1, 1, 16, 2, 3), 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        const std::string text = std::string("From: a@example.com\r\n") + c.date + "\r\n\r\nbody\r\n";
        for (const bool headersOnly : {false, true}) {
            Loaded m(text, headersOnly);
            ASSERT_TRUE(m.ok);
            EXPECT_DOUBLE_EQ(m.message.date, c.utc);
            EXPECT_EQ(m.message.zoneHours, c.zone);
            EXPECT_EQ(m.message.dateText.empty(), c.utc == 0);
        }
    }
    // A Date header on the file's very first line counts.
    Loaded first("Date: Tue, 15 Nov 1994 08:12:31 -0500\r\nFrom: a@example.com\r\n\r\nbody\r\n");
    EXPECT_DOUBLE_EQ(first.message.date, Utc(1994, 11, 15, 13, 12, 31));
}

// Found by fuzzing: its Date line once made the date patterns backtrack for about a minute.
TEST_F(EmlRecord, ADateLineThatWouldBacktrackLoadsWithoutADate)
{
    const AnsiString text = DecodeBase64(
        "RnJvbTogYUBleGFtcGxlLmNvbQ0KU3VianJAZXhhbXBsZUhjb20NClN1YmplY3Q6IElubmVyOiBvbmUvdHdvDQpEYXRlOiBN"
        "b24sIDBaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWkpaWloxMUNBc3NlcnRFbHhUSUxpMFpaWlpaWlpa"
        "WlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpGcm9tOiBhQJV4YW1wbKqqqqqR0JBjdGV0LXN0cmVhbQ1aWiBKYW4gNDAxMt8gMWFA"
        "ZXhhbXBsZfz8/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8CkNvbnRlbnQtRKqqqqqqqqqqZS6kb20NCvz8/Pz8"
        "/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8/Pz8/PwuU3ViamVjdDogaHRtbA0KQ29udGVudC1UeXBlOiB0ZXh0L2h0bWw7IGNoYXJz"
        "ZXQ9dXxmLTgNCg0KPGh0bWw+PGJvZHk+PHA+Y2Fmw6kgJmFtcDsgY288L3A+PC9ib2R5PjwvaHRtbD5jdm0NClN1YmplY3Q6"
        "IA0KaHRtbA0KJ29udGUtbnRUeXBlOiB0ZXh0L2h0bWw7IGNoYXJzZXQ9dXRmLTcNAEkA");
    ASSERT_EQ(text.size(), 483u);
    for (const bool headersOnly : {true, false}) {
        Loaded m(text, headersOnly);
        ASSERT_TRUE(m.ok);
        EXPECT_EQ(m.message.from, u"a@example.com");
        EXPECT_EQ(m.message.date, 0);
        EXPECT_EQ(m.message.zoneHours, 0);
    }
}

TEST_F(EmlRecord, FilesThatAreNoMessageFailToLoad)
{
    TempDir dir;
    // A FIFO named as a message has no writer: the load must neither wait for one nor list it.
    const fs::path fifo = dir / "fifo.eml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const bool headersOnly : {false, true}) {
        SCOPED_TRACE(headersOnly);
        MessageEML r;
        EXPECT_FALSE(r.LoadFromFile(W(dir.WriteFile("empty.eml", "")), headersOnly));
        EXPECT_EQ(r.loadLevel, mllEmpty);
        EXPECT_EQ(r.fileName, W(dir / "empty.eml"));
        EXPECT_FALSE(r.LoadFromFile(W(dir / "missing.eml"), headersOnly));
        EXPECT_FALSE(r.LoadFromFile(W(dir.WriteFile("junk.eml", "no header here\r\n")), headersOnly));
        EXPECT_EQ(r.loadLevel, mllEmpty);
        EXPECT_TRUE(r.from.empty());
        EXPECT_FALSE(r.LoadFromFile(W(fifo), headersOnly));
        // A link to an endless device: a full load refuses what has no size, a headers-only
        // load reads no further than any header block could run.
        const fs::path endless = dir / "zero.eml";
        fs::create_symlink("/dev/zero", endless);
        MessageEML zero;
        if (headersOnly)
            (void)zero.LoadFromFile(W(endless), true);
        else
            EXPECT_FALSE(zero.LoadFromFile(W(endless), false));
        EXPECT_TRUE(zero.subject.empty());
        fs::remove(endless);
        fs::create_directory(dir / "folder.eml");
        EXPECT_FALSE(r.LoadFromFile(W(dir / "folder.eml"), headersOnly));
        fs::remove(dir / "folder.eml");
        // A file the user may not read; root reads anything, so a user without its powers tries.
        const auto locked = dir.WriteFile("locked.eml", eml::kPlainAscii);
        fs::permissions(locked, fs::perms::none);
        testsupport::RunUnprivileged(dir.path(), [&] {
            MessageEML unreadable;
            EXPECT_FALSE(unreadable.LoadFromFile(W(locked), headersOnly));
            EXPECT_EQ(unreadable.loadLevel, mllEmpty);
        });
    }

    Loaded cut(eml::kUnterminatedBoundary);
    ASSERT_TRUE(cut.ok);
    EXPECT_EQ(cut.message.plainBody, u"cut off here");
}

// The plain body is the first text/plain part: a calendar part (an invitation), before or
// after it, or a second plain part never takes its place; a calendar stands in only for a
// message without a plain part.
TEST_F(EmlRecord, PlainBodyIsThePlainPart)
{
    const auto part = [](const char* type, const char* body) {
        return std::string("--b\r\nContent-Type: ") + type + "; charset=utf-8\r\n\r\n" + body + "\r\n";
    };
    const std::string plain = part("text/plain", "Meet at noon");
    const std::string html = part("text/html", "<p>Meet at <b>noon</b></p>");
    const std::string calendar = part("text/calendar; method=REQUEST", "BEGIN:VCALENDAR\r\nEND:VCALENDAR");
    const struct {
        const char* what;
        std::string parts;
        const char16_t* plainBody;
        bool html;
    } cases[] = {
        {"invitation", plain + html + calendar, u"Meet at noon", true},
        {"calendar first", calendar + plain, u"Meet at noon", false},
        {"second plain part", plain + part("text/plain", "-- list footer"), u"Meet at noon", false},
        {"calendar only", html + calendar, u"BEGIN:VCALENDAR\r\nEND:VCALENDAR", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded m("From: a@example.com\r\nSubject: s\r\nMIME-Version: 1.0\r\n"
                 "Content-Type: multipart/alternative; boundary=\"b\"\r\n\r\n" +
                 c.parts + "--b--\r\n");
        ASSERT_TRUE(m.ok);
        EXPECT_EQ(Utf16ToUtf8(m.message.plainBody), Utf16ToUtf8(c.plainBody));
        EXPECT_EQ(m.message.bodyIsHtml, c.html);
        if (!c.html) {
            EXPECT_EQ(m.message.htmlBody, m.message.plainBody) << "a text body shows its plain words";
        }
    }
}

// The header block is read up to its empty line however the reads fall: longer than one read,
// ending right at a read's end, or with no empty line before the end of the file.
TEST_F(EmlRecord, HeadersOnlyReadsTheWholeHeaderBlock)
{
    const std::string longTo = "To: " + std::string(40000, 'b') + "@example.com\r\n";
    const std::string exact = "Subject: s\r\nX-Pad: " + std::string(16384 - 12 - 7 - 4, 'p') + "\r\n\r\n";
    ASSERT_EQ(exact.size(), 16384u);
    const struct {
        std::string text;
        WideString subject;
    } cases[] = {
        {"From: a@example.com\r\n" + longTo + "Subject: late\r\n\r\nbody\r\n", u"late"},
        {exact + "Subject: body\r\n", u"s"},
        {"Subject: no end\r\nFrom: a@example.com", u"no end"},
        {"Subject: LF only\nFrom: a@example.com\n\nSubject: body\n", u"LF only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        Loaded m(c.text, true);
        ASSERT_TRUE(m.ok);
        EXPECT_EQ(m.message.subject, c.subject);
        Loaded full(c.text);
        EXPECT_EQ(m.message.to, full.message.to);
        EXPECT_EQ(m.message.from, full.message.from);
    }
}

TEST_F(EmlRecord, HeadersOnlyThenFull)
{
    Loaded m(eml::kMixedNames, true);
    ASSERT_TRUE(m.ok);
    EXPECT_EQ(m.message.loadLevel, mllHeaders);
    EXPECT_TRUE(m.message.hasAttachments);
    EXPECT_TRUE(m.message.attachments.empty());
    EXPECT_TRUE(m.message.plainBody.empty());
    EXPECT_EQ(m.message.subject, u"files");

    m.message.LoadPlainTextBody();
    EXPECT_EQ(m.message.loadLevel, mllFull);
    EXPECT_EQ(m.message.plainBody, u"see attached");
    EXPECT_EQ(m.message.attachments.size(), 6u);
}

TEST_F(EmlRecord, SaveAttachment)
{
    Loaded m(eml::kMixedNames);
    ASSERT_TRUE(m.ok);
    MessageEML& r = m.message;
    TempDir out;
    EXPECT_FALSE(r.SaveAttachment(6, W(out / "x")));
    EXPECT_FALSE(r.SaveAttachment(-1, W(out / "x")));
    ASSERT_TRUE(r.SaveAttachment(0, W(out / "report.pdf")));
    EXPECT_EQ(ReadFileBytes(out / "report.pdf"), "%PDF-1.4\n%\xC3\xA4\xC3\xBC\xC3\xB6\xC3\x9F");
    EXPECT_FALSE(r.SaveAttachment(0, W(out / "no" / "such" / "folder.pdf")));

    // A record that holds only the headers parses the file for the save.
    Loaded headers(eml::kMixedNames, true);
    headers.message.attachments = r.attachments;
    ASSERT_TRUE(headers.message.SaveAttachment(1, W(out / "dot.gif")));
    EXPECT_EQ(ReadFileBytes(out / "dot.gif").substr(0, 6), "GIF89a");

    // Names from the message stay inside the folder.
    std::vector<WideString> saved;
    EXPECT_TRUE(r.SaveAllAttachments(W(out.path()), u"", &saved, false));
    ASSERT_EQ(saved.size(), 6u);
    for (const WideString& p : saved) EXPECT_EQ(fs::path(Utf16ToUtf8(p)).parent_path(), out.path());
    EXPECT_TRUE(fs::exists(out / ".._.._etc_passwd"));
}

TEST_F(EmlRecord, DisplayOrderAndValues)
{
    Loaded m(eml::kAlternativePlainFirst, true);
    ASSERT_TRUE(m.ok);
    RecordingView view;
    m.message.Display(view, true);
    const std::vector<std::string> expected = {
        "Clear", "To:", "From:a@example.com", "CC:", "Subject:alt", "FileName", "Header", "Attachments:0",
        "Date:Created:  0", "ViewRTFString:plain text"};
    EXPECT_EQ(view.calls, expected);
    EXPECT_EQ(view.lastDate, 0);
}

TEST_F(EmlRecord, DisplayBuildsOnePageWithItsInlinePictures)
{
    Loaded m(eml::kRelatedHtmlFirst);
    ASSERT_TRUE(m.ok);
    RecordingView view;
    m.message.Display(view, false);
    ASSERT_EQ(view.calls.back(), "ViewHTMLFile:");
    const fs::path page(Utf16ToUtf8(view.lastHtmlFile));
    EXPECT_EQ(view.lastHtmlFile.rfind(CAppUtils::getAppTempFolder(), 0), 0u);
    EXPECT_EQ(page.extension(), ".html");
    const std::string html = ReadFileBytes(page);
    EXPECT_EQ(html.rfind("\xEF\xBB\xBF<SCRIPT", 0), 0u);
    EXPECT_NE(html.find("<img src=\"logo.png\" alt=\"\">"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(page.parent_path() / "logo.png"), "\x89PNG\r\n\x1A\n");

    // Shown again: the same page, nothing re-read (the source is gone), nothing duplicated.
    const auto before = std::distance(fs::directory_iterator(page.parent_path()), {});
    fs::remove(Utf16ToUtf8(m.message.fileName));
    RecordingView again;
    m.message.Display(again, false);
    EXPECT_EQ(again.lastHtmlFile, view.lastHtmlFile);
    EXPECT_EQ(std::distance(fs::directory_iterator(page.parent_path()), {}), before);
    EXPECT_EQ(m.message.inlineParts.size(), 1u);
    EXPECT_EQ(m.message.loadLevel, mllFull);
}

TEST_F(EmlRecord, DisplayOfPlainTextEscapesItInPre)
{
    Loaded m("From: a@example.com\r\nSubject: s\r\n\r\n<script>x</script> & more\r\n");
    ASSERT_TRUE(m.ok);
    RecordingView view;
    m.message.Display(view, false);
    const std::string html = ReadFileBytes(Utf16ToUtf8(view.lastHtmlFile));
    EXPECT_NE(html.find("<pre>&lt;script&gt;x&lt;/script&gt; &amp; more</pre>"), std::string::npos);
    EXPECT_EQ(m.message.shownFile, view.lastHtmlFile);
}

TEST_F(EmlRecord, ExportToHtmlCopiesAsMht)
{
    Loaded m(eml::kPlainAscii, false, "Weekly report.eml");
    ASSERT_TRUE(m.ok);
    TempDir out;
    EXPECT_EQ(m.message.ExportToHtml(W(out.path())), W(out / "Weekly report.mht"));
    EXPECT_EQ(ReadFileBytes(out / "Weekly report.mht"), eml::kPlainAscii);
    EXPECT_EQ(m.message.ExportToHtml(W(out.path())), W(out / "Weekly report.mht"));  // overwritten
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 1);
    EXPECT_EQ(m.message.ExportToHtml(W(out / "x.html")), W(out / "x.mht"));
    EXPECT_EQ(m.message.ExportToHtml(W(out / "missing" / "x.html")), u"");
}

TEST_F(EmlRecord, FileDialogStrings)
{
    MessageEML r;
    EXPECT_EQ(r.GetSaveFilterString(), u"EML Files (*.eml)|*.eml");
    EXPECT_EQ(r.GetDefaultExtension(), u"*.eml");
    EXPECT_EQ(r.GetExportDefaultExtension(), u"*.html");
    struct Case {
        bool html;
        const char16_t* plain;
        const char16_t* filter;
    };
    const Case cases[] = {
        {false, u"", u"Text Files(*.txt)|*.txt"},
        {false, u"p", u"Text Files(*.txt)|*.txt"},
        {true, u"", u"Html Files(*.html)|*.html"},
        {true, u"p", u"Html Files(*.html)|*.html|Text Files(*.txt)|*.txt"},
    };
    for (const Case& c : cases) {
        r.bodyIsHtml = c.html;
        r.plainBody = c.plain;
        EXPECT_EQ(r.GetExportFilterString(), c.filter);
    }
}

TEST_F(EmlRecord, LoadsFromMemoryAndFillsFromAParsedMessage)
{
    TStringStream stream(eml::kAttachedMessages);
    MessageEML r;
    ASSERT_TRUE(r.LoadFromStream(stream, false));
    EXPECT_EQ(r.subject, u"forwards");

    TIdMessage parsed;
    parsed.LoadFromBytes(eml::kPlainAscii, false);
    MessageEML other;
    other.FillFromTIdMessage(parsed);
    EXPECT_EQ(other.subject, u"Status");
    EXPECT_EQ(other.zoneHours, -5);

    TextRenderer text;
    other.RenderHeaders(text);
    EXPECT_NE(text.GetDocument().find(u"Subject: Status\r\n"), WideString::npos);
}

}  // namespace
