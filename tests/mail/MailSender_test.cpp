#include <gtest/gtest.h>

#include "mail/MailSender.h"
#include "platform/win/WinString.h"
#include "tests/platform/mapi/FakeMailDesktop.h"
#include "tests/support/TestSupport.h"

namespace {

struct Sender : MailSender {
    int Reply() override { return 0; }
    int Forward() override { return 0; }
    int SendMessage(bool) override { return 0; }
};

TEST(MailSender, AddRecipientTable) {
    struct Case {
        int recipClass;
        const char16_t* addr;
        const char16_t* name;
        bool added;
        bool warning;
        const char16_t* storedName;
    } const cases[] = {
        {1, u"ann@ex.com", u"Ann", true, false, u"Ann"},
        {2, u"ann@ex.com", u"", true, false, u"ann@ex.com"},
        {1, u"Ann <ann@ex.com>", u"", true, false, u"Ann <ann@ex.com>"},  // the loose check searches the text
        {1, u"", u"", false, false, nullptr},
        {4, u"ann@ex.com", u"Ann", false, false, nullptr},
        {-1, u"ann@ex.com", u"Ann", false, false, nullptr},
        {1, u"", u"Ann", false, true, nullptr},
        {3, u"/O=ORG/OU=SITE/CN=ANN", u"", false, true, nullptr},
    };
    for (const Case& c : cases) {
        Sender s;
        EXPECT_EQ(s.AddRecipient(c.recipClass, c.addr, c.name), c.added) << Utf16ToUtf8(c.addr);
        EXPECT_EQ(s.ExchangeWarning(), c.warning) << Utf16ToUtf8(c.addr);
        if (c.added) {
            ASSERT_EQ(s.Recips().size(), 1u);
            EXPECT_EQ(s.Recips()[0].recipName, c.storedName);
            EXPECT_EQ(s.Recips()[0].addr, c.addr);
            EXPECT_EQ(s.Recips()[0].recipClass, c.recipClass);
        } else {
            EXPECT_TRUE(s.Recips().empty());
        }
    }
}

TEST(MailSender, AddressListsBecomeSeparateRecipients) {
    Sender s;
    EXPECT_EQ(s.AddRecipients(1, u"Ann <ann@ex.com>; bob@ex.org, \"Carl, Jr.\" <carl@ex.net>"), 3);
    ASSERT_EQ(s.Recips().size(), 3u);
    EXPECT_EQ(s.Recips()[0].recipName, u"Ann");
    EXPECT_EQ(s.Recips()[0].addr, u"ann@ex.com");
    EXPECT_EQ(s.Recips()[1].recipName, u"bob@ex.org");
    EXPECT_EQ(s.Recips()[2].recipName, u"Carl, Jr.");
    EXPECT_FALSE(s.ExchangeWarning());
    // Display names only (as a ".msg" often lists them): the whole text, refused with the warning.
    EXPECT_EQ(s.AddRecipients(1, u"Ann Example; Bob"), 0);
    EXPECT_TRUE(s.ExchangeWarning());
    EXPECT_EQ(s.AddRecipients(1, u""), 0);
}

TEST(MailSender, AddAttachmentAndBodies) {
    testsupport::TempDir dir;
    const WideString file = Utf8ToUtf16(dir.WriteFile("a.txt", "x").string());
    Sender s;
    EXPECT_TRUE(s.AddAttachment(file, u"shown.txt"));
    EXPECT_TRUE(s.AddAttachment(file, u""));
    EXPECT_FALSE(s.AddAttachment(Utf8ToUtf16(dir.path().string()), u"folder"));
    EXPECT_FALSE(s.AddAttachment(file + u".missing", u"x"));
    ASSERT_EQ(s.Attaches().size(), 2u);
    EXPECT_EQ(s.Attaches()[0].displayName, u"shown.txt");
    EXPECT_EQ(s.Attaches()[1].displayName, file);

    s.AddBody(u"plain", 2);
    s.AddBody(u"<p>", 1);
    EXPECT_EQ(s.Body(), u"plain");
    EXPECT_EQ(s.HtmlBody(), u"<p>");
    EXPECT_EQ(s.SetMessage(nullptr, false), -1);
}

TEST(MailSender, ClientKindFromTheMailtoHandler) {
    struct Case {
        const char* id;
        const char* exec;
        MailClientKind kind;
    } const cases[] = {
        {"thunderbird.desktop", "thunderbird %u", mckThunderbird},
        {"org.mozilla.Thunderbird.desktop", "flatpak run org.mozilla.Thunderbird", mckThunderbird},
        {"x.desktop", "wine OUTLOOK.EXE thunderbird.exe %u", mckOutlook},  // the first name in order wins
        {"opera-mail.desktop", "opera -mail %u", mckOpera},
        {"notes.desktop", "/opt/hcl/notes/notes %u", mckNotes},
        {"thebat.desktop", "wine thebat.exe %u", mckTheBat},
        {"org.gnome.Evolution.desktop", "evolution %U", mckOther},
        {"", "", mckOther},
    };
    for (const Case& c : cases) {
        FakeMailDesktop desktop;
        desktop.handler = {c.id, c.exec};
        EXPECT_EQ(DetectDefaultMailClient(desktop), c.kind) << c.exec;
    }
}

}  // namespace
