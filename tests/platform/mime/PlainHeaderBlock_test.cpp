#include "platform/mime/PlainHeaderBlock.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/mime/IdMessage.h"
#include "tests/platform/mime/PartHeaderReading.h"

namespace {

using mime_detail::PlainHeaderBlock;
using mime_detail::SplitPlainHeaderBlock;

struct Case {
    const char* what;
    std::string block;
    bool plain;  // split here, not left to the MIME reader
};

std::vector<Case> Cases()
{
    const std::string longSubject = "Subject: " + std::string(20000, 'x') + "\r\n";
    return {
        {"ordinary", "From: Ann <a@x.org>\r\nTo: b@y.org\r\nSubject: hi\r\nDate: Tue, 15 Nov 2022 08:12:31 +0000\r\n\r\n", true},
        {"LF line ends", "From: a@x.org\nSubject: hi\n\n", true},
        {"no Date, empty values", "Subject:\r\nX:\r\nY:z\r\n\r\n", true},
        {"folded with blanks and tabs", "Subject:  two  spaces \r\n folded\r\n\tline\r\nTo: b@y.org\r\n\r\n", true},
        {"very long", longSubject + "\r\n", true},
        {"broken encoded word", "Subject: =?utf-8?B?broken\r\nFrom: =?iso-8859-1?Q?Andr=E9?= <a@x.org>\r\n\r\n", true},
        {"8-bit bytes", "Subject: \xE9t\xE9 \xC3\xA9\r\nFrom: J\xFCrgen <j@x.org>\r\n\r\n", true},
        {"colons and odd names", "X-[a]: b: c\r\nX_y.z: 1\r\n\r\n", true},
        {"no empty line", "Subject: last\r\n", true},
        {"content type", "Content-Type: Text/HTML; charset=\"ISO-8859-1\"; x=y\r\n\r\n", true},
        {"content type folded", "Content-Type: multipart/mixed;\r\n boundary=x; charset=koi8-r\r\n\r\n", true},
        {"content type, trailing semicolon", "Content-Type: text/plain;\r\n\r\n", true},
        {"content type, blanks around =", "Content-Type: text/plain; charset = utf-8\r\n\r\n", true},
        {"content type, empty quoted charset", "Content-Type: text/plain; charset=\"\"\r\n\r\n", true},
        {"content type, two charsets", "Content-Type: text/plain; charset=x; CHARSET=y\r\n\r\n", true},
        {"content type, quoted semicolon", "Content-Type: text/plain; name=\"a;b\"; charset=x\r\n\r\n", true},
        {"two content types", "Content-Type: text/plain\r\nContent-type: text/html\r\n\r\n", true},
        {"mbox separator", "From ann@x.org Mon May  2 16:07:05 2005\r\nFrom: a@x.org\r\n\r\n", false},
        {"blank before colon", "Subject : x\r\n\r\n", false},
        {"continuation first", " Subject: x\r\n\r\n", false},
        {"no colon", "no header here\r\n\r\n", false},
        {"lone CR", "Subject: a\rb\r\n\r\n", false},
        {"NUL", std::string("Subject: a\0b\r\n\r\n", 15), false},
        {"8-bit name", "Subj\xE9: x\r\n\r\n", false},
        {"content type comment", "Content-Type: text/plain; charset=utf-8 (note)\r\n\r\n", false},
        {"content type continued parameter", "Content-Type: text/plain; name*0=a; name*1=b\r\n\r\n", false},
        {"content type without subtype", "Content-Type: text\r\n\r\n", false},
        {"content type empty", "Content-Type: \r\n\r\n", false},
        {"content type unquoted blank", "Content-Type: text/plain; charset=x y\r\n\r\n", false},
        {"content type encoded word", "Content-Type: text/plain; name=\"=?utf-8?Q?a?=\"\r\n\r\n", false},
    };
}

std::string Mailboxes(const std::vector<TIdEmailAddressItem>& items)
{
    std::string d;
    for (const TIdEmailAddressItem& item : items) d += item.Name + "<" + item.Address + ">,";
    return d;
}

std::string Mailboxes(const TIdMessage& m)
{
    std::string d;
    for (const TIdEmailAddressList* list : {&m.Recipients(), &m.CCList(), &m.BccList()}) {
        for (int i = 0; i < list->Count(); ++i) d += list->Items(i).Name + "<" + list->Items(i).Address + ">,";
        d += "|";
    }
    return d;
}

// Whatever the split takes, it reads as the MIME reader does; the rest it leaves alone.
TEST(PlainHeaderBlock, SplitsAsTheMimeReaderOrDeclines)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        PlainHeaderBlock plain;
        const bool split = SplitPlainHeaderBlock(c.block, plain);
        EXPECT_EQ(split, c.plain);
        if (split) {
            EXPECT_EQ(partreading::Describe(plain), partreading::Describe(partreading::ReadWithMimeReader(c.block)));
        }
    }
}

// The headers-only load answers as the whole message does, by either route.
TEST(PlainHeaderBlock, HeadersOnlyLoadAnswersAsTheWholeMessage)
{
    for (const Case& c : Cases()) {
        if (c.block.find('\0') != std::string::npos || c.block.starts_with(" ") || c.block.starts_with("no colon"))
            continue;
        SCOPED_TRACE(c.what);
        const std::string text = c.block + "body\r\n";
        TIdMessage whole, headers;
        try {
            whole.LoadFromBytes(text, false);
        } catch (const EIdException&) {
            EXPECT_THROW(headers.LoadFromBytes(text, true), EIdException);
            continue;
        }
        headers.LoadFromBytes(text, true);
        EXPECT_EQ(headers.Headers().Text(), whole.Headers().Text());
        EXPECT_EQ(headers.ContentType(), whole.ContentType());
        EXPECT_EQ(headers.CharSet(), whole.CharSet());
        EXPECT_EQ(Mailboxes(headers), Mailboxes(whole));
        EXPECT_FALSE(headers.IsLoaded());
    }
}

// Plain address lists read as the MIME reader reads them; the others are left to it.
TEST(PlainHeaderBlock, AddressListsSplitAsTheMimeReaderOrDecline)
{
    const struct {
        const char* value;
        bool plain;
    } cases[] = {
        {" Bob <bob@example.com>\r\n", true},
        {" bob@example.com\r\n", true},
        {" \"Carl\" <carl@example.com>, bob@example.com\r\n", true},
        {" Sender   12 <s12@example.com>\r\n", true},
        {" \"Last, First\" <lf@x.org>\r\n", true},
        {" <a@x.org>\r\n", true},
        {" A.B. O'Neil <a@x.org>\r\n", true},
        {" a@x.org,,b@y.org,\r\n", true},
        {" Bob\r\n <bob@x.org>,\r\n\tann@y.org\r\n", true},
        {" \"\" <a@x.org>\r\n", true},
        {" Bob<Bob@Example.COM> \r\n", true},
        {" a.b+c@x-y.org\r\n", true},
        {"\r\n", true},
        {" bob\r\n", false},
        {" x@y@z\r\n", false},
        {" a @x.org\r\n", false},
        {" team: a@x.org, b@y.org;\r\n", false},
        {" undisclosed-recipients:;\r\n", false},
        {" =?utf-8?Q?J=C3=BCrgen?= <j@x.org>\r\n", false},
        {" J\xC3\xBCrgen <j@x.org>\r\n", false},
        {" a@x.org (Ann)\r\n", false},
        {" \"Ann \\\"A\\\"\" <a@x.org>\r\n", false},
        {" \"Ann\" Smith <a@x.org>\r\n", false},
        {" a@[10.0.0.1]\r\n", false},
        {" \"unclosed <a@x.org>\r\n", false},
        {" Bob\r\n Smith <b@x.org>\r\n", false},
        {" <>\r\n", false},
        {" a..b@x.org\r\n", false},
        {" .a@x.org\r\n", false},
        {" a@x..org\r\n", false},
        {" a@x_y.org\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::vector<TIdEmailAddressItem> plain;
        EXPECT_EQ(mime_detail::SplitPlainAddressList(c.value, plain), c.plain);
        if (c.plain) {
            EXPECT_EQ(Mailboxes(plain), partreading::ReadAddressesWithMimeReader(c.value));
        }
        TIdMessage reader;
        reader.LoadFromBytes(std::string("From: z@z.org\r\nTo:") + c.value + "\r\n", true);
        // Whatever route it took, the headers-only load reads the list as the whole message.
        TIdMessage whole;
        whole.LoadFromBytes(std::string("From: z@z.org\r\nTo:") + c.value + "\r\nbody", false);
        EXPECT_EQ(Mailboxes(reader), Mailboxes(whole));
    }
}

}  // namespace
