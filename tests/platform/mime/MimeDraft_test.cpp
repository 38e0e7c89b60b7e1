#include <gtest/gtest.h>

#include "platform/mime/MimeDraft.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(MimeAddressList, SplitsListsAndSkipsNonAddresses) {
    const auto items = ParseEmailAddressList(
        "Ann Example <ann@ex.com>; bob@ex.org; \"D; E\" <de@ex.com>, "
        "=?UTF-8?B?SsO2cmc=?= <joerg@ex.de>, just a name");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].Name, "Ann Example");
    EXPECT_EQ(items[0].Address, "ann@ex.com");
    EXPECT_EQ(items[1].Address, "bob@ex.org");
    EXPECT_EQ(items[2].Name, "D; E");
    EXPECT_EQ(items[3].Name, "J\xC3\xB6rg");
    const auto group = ParseEmailAddressList("team: carl@ex.net, dora@ex.net;, eve@ex.net");
    ASSERT_EQ(group.size(), 3u);
    EXPECT_EQ(group[1].Address, "dora@ex.net");
    EXPECT_EQ(group[2].Address, "eve@ex.net");
    EXPECT_TRUE(ParseEmailAddressList("/O=ORG/OU=SITE/CN=RECIPIENTS/CN=ANN").empty());
    EXPECT_TRUE(ParseEmailAddressList("").empty());
}

TEST(MimeDraft, ParsesBackWithBodiesAttachmentsAndUnsentMark) {
    testsupport::TempDir dir;
    const auto file = dir.WriteFile("12345.bin", std::string("\x00\x01zip", 5));
    MimeDraft d;
    d.subject = "Fw: caf\xC3\xA9";
    d.plainBody = "plain \xC3\xA9";
    d.htmlBody = "<p>html</p>";
    d.to = {{"Ann", "ann@ex.com"}, {"", "bob@ex.org"}};
    d.cc = {{"Carl, Jr.", "carl@ex.net"}};
    d.attachments = {{file.string(), "r\xC3\xA9sum\xC3\xA9.pdf"}, {file.string(), ""}};
    const std::string bytes = BuildDraftMessage(d);

    TIdMessage m;
    m.LoadFromBytes(bytes, false);
    EXPECT_EQ(m.Headers().Values("X-Unsent"), "1");
    ASSERT_EQ(m.Recipients().Count(), 2);
    EXPECT_EQ(m.Recipients().Items(0).Address, "ann@ex.com");
    ASSERT_EQ(m.CCList().Count(), 1);
    EXPECT_EQ(m.CCList().Items(0).Name, "Carl, Jr.");
    std::vector<std::string> texts, names;
    for (int i = 0; i < m.MessageParts().Count(); ++i) {
        const TIdMessagePart& p = m.MessageParts().Items(i);
        if (p.Kind() == TIdMessagePartKind::Text && !static_cast<const TIdText&>(p).Body().empty())
            texts.push_back(p.ContentType());
        if (p.Kind() == TIdMessagePartKind::Attachment) {
            EXPECT_EQ(static_cast<const TIdAttachment&>(p).Content(), std::string("\x00\x01zip", 5));
            names.push_back(p.Headers().Values("Content-Disposition"));
        }
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"text/plain", "text/html"}));
    ASSERT_EQ(names.size(), 2u);
    EXPECT_NE(names[0].find("sum"), std::string::npos);  // RFC 2231 encoded display name
    EXPECT_NE(names[1].find("12345.bin"), std::string::npos);
}

TEST(MimeDraft, UnreadableAttachmentIsAnError) {
    MimeDraft d;
    d.plainBody = "x";
    d.attachments = {{"/nonexistent/file", "a"}};
    EXPECT_THROW(BuildDraftMessage(d), EIdException);
}

}  // namespace
