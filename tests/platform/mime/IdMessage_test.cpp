#include "platform/mime/IdMessage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// mixed > (alternative > (plain, related > (html, png)), rfc822, pdf)
const char kNested[] =
    "From: Ann <ann@example.com>\r\n"
    "To: bob@example.com, \"Carl\" <carl@example.com>\r\n"
    "Cc: team: dan@example.com, eve@example.com;\r\n"
    "Subject: folded\r\n"
    "  subject line\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/mixed; boundary=\"m\"\r\n"
    "\r\n"
    "preamble\r\n"
    "--m\r\n"
    "Content-Type: multipart/alternative; boundary=\"a\"\r\n"
    "\r\n"
    "--a\r\n"
    "Content-Type: text/plain; charset=iso-8859-1\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "\r\n"
    "caf=E9\r\n"
    "line two\r\n"
    "--a\r\n"
    "Content-Type: multipart/related; boundary=\"r\"\r\n"
    "\r\n"
    "--r\r\n"
    "Content-Type: text/html; charset=utf-8\r\n"
    "\r\n"
    "<img src=\"cid:pic@x\">\r\n"
    "--r\r\n"
    "Content-Type: image/png\r\n"
    "Content-ID: <pic@x>\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "AAECAw==\r\n"
    "--r--\r\n"
    "--a--\r\n"
    "--m\r\n"
    "Content-Type: message/rfc822\r\n"
    "\r\n"
    "Subject: inner\r\n"
    "Content-Type: multipart/mixed; boundary=\"i\"\r\n"
    "\r\n"
    "--i\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "inner body\r\n"
    "--i--\r\n"
    "--m\r\n"
    "Content-Type: text/plain; name=\"notes.txt\"\r\n"
    "Content-Disposition: attachment;\r\n"
    " filename=\"notes.txt\"\r\n"
    "\r\n"
    "attached text\r\n"
    "--m--\r\n";

TEST(IdMessage, FlattensTheTreeInDocumentOrderWithoutEnteringAttachedMessages)
{
    TIdMessage m;
    m.LoadFromBytes(kNested, false);
    ASSERT_TRUE(m.IsLoaded());
    EXPECT_EQ(m.ContentType(), "multipart/mixed");
    EXPECT_TRUE(m.Body().empty());

    const TIdMessageParts& parts = m.MessageParts();
    struct Expected {
        TIdMessagePartKind kind;
        const char* type;
        const char* body;
    };
    const Expected expected[] = {
        {TIdMessagePartKind::Text, "multipart/alternative", ""},
        {TIdMessagePartKind::Text, "text/plain", "caf\xE9\r\nline two"},
        {TIdMessagePartKind::Text, "multipart/related", ""},
        {TIdMessagePartKind::Text, "text/html", "<img src=\"cid:pic@x\">"},
        {TIdMessagePartKind::Attachment, "image/png", nullptr},
        {TIdMessagePartKind::Attachment, "message/rfc822", nullptr},
        {TIdMessagePartKind::Attachment, "text/plain", nullptr},
    };
    ASSERT_EQ(parts.Count(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < parts.Count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(parts.Items(i).Kind(), expected[i].kind);
        EXPECT_EQ(parts.Items(i).ContentType(), expected[i].type);
        if (expected[i].body) {
            EXPECT_EQ(static_cast<const TIdText&>(parts.Items(i)).Body(), expected[i].body);
        }
    }
    EXPECT_EQ(parts.Items(1).CharSet(), "iso-8859-1");
    EXPECT_EQ(parts.Items(4).ContentID(), "<pic@x>");
    EXPECT_EQ(static_cast<const TIdAttachment&>(parts.Items(4)).Content(), std::string("\x00\x01\x02\x03", 4));
    EXPECT_EQ(static_cast<const TIdAttachment&>(parts.Items(6)).Content(), "attached text");

    // The attached message's bytes parse as a message of their own.
    TIdMessage inner;
    inner.LoadFromBytes(static_cast<const TIdAttachment&>(parts.Items(5)).Content(), false);
    EXPECT_EQ(inner.Headers().Values("Subject"), "inner");
    EXPECT_EQ(inner.MessageParts().Count(), 1);
}

TEST(IdMessage, HeadersKeepFileOrderAndUnfoldTheSpecWay)
{
    TIdMessage m;
    m.LoadFromBytes(kNested, false);
    const TIdHeaderList& h = m.Headers();
    ASSERT_EQ(h.Count(), 6);
    EXPECT_EQ(h.Names(5), "Content-Type");
    EXPECT_EQ(h.Values("subject"), "folded subject line");
    EXPECT_EQ(h.Values("X-Missing"), "");
    EXPECT_EQ(h.Text().rfind("From: Ann <ann@example.com>\r\nTo: bob@example.com,", 0), 0u);
    EXPECT_NE(h.Text().find("Subject: folded\r\n  subject line\r\n"), std::string::npos);

    TIdHeaderList folded = h;
    folded.UnfoldLines = false;
    EXPECT_EQ(folded.Values("Subject"), "folded\r\n  subject line");

    EXPECT_EQ(m.Recipients().Count(), 2);
    EXPECT_EQ(m.Recipients().Items(1).Name, "Carl");
    EXPECT_EQ(m.CCList().Count(), 2);  // the group's members
    EXPECT_EQ(m.BccList().Count(), 0);
}

TEST(IdMessage, HeadersOnlyReadsJustTheHeaderBlock)
{
    TStringStream stream(kNested);
    TIdMessage m;
    m.LoadFromStream(stream, true);
    EXPECT_EQ(m.ContentType(), "multipart/mixed");
    EXPECT_EQ(m.MessageParts().Count(), 0);
    EXPECT_TRUE(m.Body().empty());
    EXPECT_EQ(m.Headers().Values("Subject"), "folded subject line");
    // Stopped right after the empty line (rounded up to the read size at most).
    EXPECT_LE(stream.Position(), 8192);
}

// The header-only reading answers what reading the whole message answers about its headers.
TEST(IdMessage, HeadersOnlyAnswersAsTheWholeMessage)
{
    const auto describe = [](const TIdMessage& m) {
        std::string d = m.Headers().Text() + "|" + m.CharSet() + "|" + m.ContentType() + "|";
        for (const TIdEmailAddressList* list : {&m.Recipients(), &m.CCList(), &m.BccList()}) {
            for (int i = 0; i < list->Count(); ++i) d += list->Items(i).Name + "<" + list->Items(i).Address + ">,";
            d += "|";
        }
        return d;
    };
    const char* const messages[] = {
        kNested,
        // an mbox separator line first
        "From ann@example.com Mon May  2 16:07:05 2005\r\nFrom: ann@example.com\r\nTo: b@example.com\r\n\r\nbody\r\n",
        // several To headers, one a group: one list in header order, members after the rest
        "To: a@example.com\r\nTo: team: b@example.com;\r\nTO: c@example.com\r\nbcc: d@example.com\r\n"
        "Content-Type: text/plain; charset=\"koi8-r\"\r\n\r\nbody",
        "Subject: no recipients\r\nTo: undisclosed-recipients:;\r\nCc:\r\n\r\n",
    };
    for (const char* text : messages) {
        SCOPED_TRACE(text);
        TIdMessage whole;
        whole.LoadFromBytes(text, false);
        TIdMessage headers;
        headers.LoadFromBytes(text, true);
        EXPECT_EQ(describe(headers), describe(whole));
        EXPECT_EQ(headers.MessageParts().Count(), 0);
        EXPECT_TRUE(headers.Body().empty());
    }
    TIdMessage junk;
    EXPECT_THROW(junk.LoadFromBytes("no header here\r\n", true), EIdException);
}

TEST(IdMessage, SinglePartBodiesAndNonTextSingleParts)
{
    TIdMessage text;
    text.LoadFromBytes("Subject: s\nContent-Type: text/plain; charset=\"UTF-8\"\n\nline 1\nline 2\n\n", false);
    EXPECT_EQ(text.Body(), "line 1\r\nline 2\r\n");
    EXPECT_EQ(text.CharSet(), "UTF-8");
    EXPECT_EQ(text.MessageParts().Count(), 0);

    TIdMessage pdf;
    pdf.LoadFromBytes("Subject: s\r\nContent-Type: application/pdf\r\nContent-Transfer-Encoding: base64\r\n\r\nJVBERg==\r\n",
                      false);
    EXPECT_TRUE(pdf.Body().empty());
    ASSERT_EQ(pdf.MessageParts().Count(), 1);
    EXPECT_EQ(static_cast<const TIdAttachment&>(pdf.MessageParts().Items(0)).Content(), "%PDF");
}

TEST(IdMessage, EveryKindOfLineBreakInATextBodyBecomesCrLf)
{
    struct Row {
        const char* body;
        const char* joined;
    };
    const Row rows[] = {
        {"a\r\nb\r\n", "a\r\nb"},          {"a\nb", "a\r\nb"},
        {"a\rb\r", "a\r\nb"},                {"a\r\r\nb", "a\r\n\r\nb"},  // a lone CR, then CR LF
        {"a\n\r\n\rb", "a\r\n\r\n\r\nb"}, {"a\r\n\r\n", "a\r\n"},  // only the last break goes
        {"\n", ""},                        {"no break", "no break"},
    };
    for (const Row& r : rows) {
        TIdMessage m;
        m.LoadFromBytes(std::string("Content-Type: text/plain\n\n") + r.body, false);
        EXPECT_EQ(m.Body(), r.joined) << testing::PrintToString(std::string(r.body));
    }
}

// A stream is read in one block when the message fits it, else measured and read to its end.
TEST(IdMessage, ReadsAStreamWhateverTheMessageSize)
{
    const std::string header = "Subject: s\r\nContent-Type: text/plain\r\n\r\n";
    for (const size_t size : {size_t(100), size_t(32767), size_t(32768), size_t(32769), size_t(200000)}) {
        std::string text = header + std::string(size - header.size() - 4, 'x') + "\r\nyz";
        ASSERT_EQ(text.size(), size);
        TStringStream stream{"skipped" + text};
        stream.SetPosition(7);
        TIdMessage m;
        m.LoadFromStream(stream, false);
        EXPECT_EQ(m.Body().size(), size - header.size()) << size;
        EXPECT_EQ(m.Body().substr(m.Body().size() - 4), "\r\nyz") << size;
    }
}

TEST(IdMessage, TheHeadersOfAnAttachedMessageAreThoseOfItsHeaderBlock)
{
    const std::string text = std::string(kNested).insert(std::string(kNested).find("Subject: inner"),
                                                         "From: =?utf-8?Q?In=C3=A8s?= <ines@x.org>\r\nX-Folded: a\r\n b\r\n");
    TIdMessage m;
    m.LoadFromBytes(text, false);
    const auto& part = static_cast<const TIdAttachment&>(m.MessageParts().Items(5));
    ASSERT_EQ(part.ContentType(), "message/rfc822");
    TIdMessage block;
    block.LoadFromBytes(part.Content(), true);
    const TIdHeaderList headers = part.MessageHeaders();
    ASSERT_EQ(headers.Count(), 4);
    ASSERT_EQ(headers.Count(), block.Headers().Count());
    // The same names and values; the raw values keep the file's line ends, which writing the
    // message out would change.
    for (int i = 0; i < headers.Count(); ++i) {
        EXPECT_EQ(headers.Names(i), block.Headers().Names(i));
        EXPECT_EQ(headers.Values(headers.Names(i)), block.Headers().Values(headers.Names(i)));
    }
    EXPECT_EQ(headers.Values("X-Folded"), "a b");
    EXPECT_EQ(headers.RawValues(1), " a\r\n b\r\n");
}

TEST(IdMessage, AnUnterminatedBoundaryKeepsWhatWasRead)
{
    TIdMessage m;
    m.LoadFromBytes("Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\nContent-Type: text/plain\r\n\r\nhalf", false);
    ASSERT_EQ(m.MessageParts().Count(), 1);
    EXPECT_EQ(static_cast<const TIdText&>(m.MessageParts().Items(0)).Body(), "half");
}

TEST(IdMessage, TextThatIsNoMessageFails)
{
    TIdMessage m;
    EXPECT_THROW(m.LoadFromBytes("", false), EIdException);
    EXPECT_THROW(m.LoadFromBytes("no header here\r\nat all\r\n", false), EIdException);
    EXPECT_FALSE(m.IsLoaded());
    EXPECT_THROW(m.SaveToBytes(), EIdException);
}

TEST(IdMessage, SavesTheMessageAsMime)
{
    TIdMessage m;
    m.LoadFromBytes(kNested, false);
    TStringStream out;
    m.SaveToStream(out);
    TIdMessage again;
    again.LoadFromBytes(out.DataString(), false);
    EXPECT_EQ(again.MessageParts().Count(), m.MessageParts().Count());
    EXPECT_EQ(again.Headers().Values("Subject"), "folded subject line");
}

}  // namespace
