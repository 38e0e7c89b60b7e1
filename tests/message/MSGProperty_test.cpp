#include "message/MSGProperty.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include <gtest/gtest.h>

#include "message/Message.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Le(std::uint64_t v, int n) {
    Bytes b;
    for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return b;
}

TEST(MSGProperty, DecodesEveryTypeOfAPropertyStream) {
    TMessage msg;
    double d = 2.5;
    std::uint64_t dbits;
    std::memcpy(&dbits, &d, 8);
    float f = 1.5f;
    std::uint32_t fbits;
    std::memcpy(&fbits, &f, 4);
    const Bytes guid = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    struct Case {
        std::uint32_t tag;
        Bytes bytes;
        MSGValue value;
        std::int32_t dataSize;
    };
    const Case cases[] = {
        {0x00010002, Le(0xFFFE, 2), std::int16_t{-2}, 2},
        {0x00010003, Le(0xFFFFFFFF, 4), std::int32_t{-1}, 4},
        {0x00010004, Le(fbits, 4), 1.5, 4},
        {0x00010005, Le(dbits, 8), 2.5, 8},
        {0x00010006, Le(123400, 8), 123400.0, 8},  // currency as stored, not divided by 10000
        {0x00010007, Le(dbits, 8), DateTime{2.5}, 8},
        {0x0001000A, Le(0x80004005u, 4), std::uint32_t{0x80004005u}, 4},
        {0x0001000B, Le(0x0100, 2), true, 2},
        {0x0001000B, Le(0, 2), false, 2},
        {0x00010014, Le(1ull << 40, 8), std::ldexp(1.0, 40), 8},
        {0x00010040, Le(94353120000000000ull + 864000000000ull * 3 / 2, 8), DateTime{1.5}, 8},
        {0x00010048, guid, std::string("{00112233-4455-6677-8899-AABBCCDDEEFF}"), 16},
        {0x0001001E, Bytes{'a', 'b', 0}, std::string("ab\0", 3), 3},
        {0x00010102, Bytes{0, 1, 2}, std::string("\0\1\2", 3), 3},
        {0x0001001F, Bytes{'a', 0, 'b', 0, 'c'}, std::u16string(u"abc"), 5},  // 5 bytes give 3 characters
        {0x00010003, Le(7, 2), std::int32_t{7}, 2},                           // short stream: the rest is zero
        {0x000100FE, Bytes{1, 2}, std::string(), 2},                          // unknown type
    };
    for (const Case& c : cases) {
        TMSGProperty& p = msg.GetProperties().Add();
        ASSERT_TRUE(p.ApplyValueTag(c.tag, c.bytes));
        EXPECT_EQ(p.Value, c.value) << std::hex << c.tag;
        EXPECT_EQ(p.DataSize, c.dataSize) << std::hex << c.tag;
    }
}

TEST(MSGProperty, FixedLengthEntriesKeepEveryFixedType) {
    struct Case {
        std::uint16_t type;
        std::uint64_t value;
        std::uint32_t tag;
        MSGValue expected;
    };
    double d = 0.25;
    std::uint64_t dbits;
    std::memcpy(&dbits, &d, 8);
    const Case cases[] = {
        {0x0003, 42, 0x0E070003, std::int32_t{42}},
        {0x0002, 0xFFFF, 0x0E070002, std::int16_t{-1}},
        {0x0005, dbits, 0x0E070005, 0.25},
        {0x0006, 123400, 0x0E070006, 123400.0},
        {0x0007, dbits, 0x0E070007, DateTime{0.25}},
        {0x000A, 0x8004010F, 0x0E07000A, std::uint32_t{0x8004010F}},
        {0x0014, 1ull << 33, 0x0E070014, std::ldexp(1.0, 33)},
        {0x000B, 1, 0x0E07000B, true},
        {0x001F, 12, 0x0E070000, std::string()},  // wide text: its stream holds the value
    };
    TMessage msg;
    for (const Case& c : cases) {
        Bytes entry = Le(c.type, 2);
        for (auto b : Le(0x0E07, 2)) entry.push_back(b);
        for (auto b : Le(0, 4)) entry.push_back(b);
        for (auto b : Le(c.value, 8)) entry.push_back(b);
        TMSGProperty& p = msg.GetProperties().Add();
        p.ApplyGeneralProperty(std::span<const std::uint8_t, 16>(entry.data(), 16));
        EXPECT_EQ(p.TagID, c.tag);
        EXPECT_EQ(p.Value, c.expected) << std::hex << c.type;
        EXPECT_EQ(p.StoredEntry(), std::string(entry.begin(), entry.end()));
    }
}

TEST(MSGProperty, CategoriesNamesAndText) {
    const std::pair<std::uint16_t, TMSGPropertyCategory> categories[] = {
        {0x0000, mpcGeneral}, {0xFFFF, mpcGeneral}, {0x0001, mpcEnvelope}, {0x3701, mpcAttachment},
        {0x8000, pmcUserProperty}, {0xFFFE, pmcUserProperty}, {0x4000, mpvTransportEnvelope}, {0x3FFF, mpcStatus}};
    for (auto [id, category] : categories) EXPECT_EQ(TMSGProperty::CategoryOfId(id), category) << std::hex << id;
    EXPECT_STREQ(CategoryName(mpvTransportEnvelope), "mpvTransportEnvelope");

    TMessage msg;
    TMSGProperty& fixed = msg.GetProperties().Add();
    fixed.Value = std::u16string(u"__properties_version1.0");
    fixed.SubProperties().Add().TagID = 0x0E070003;
    EXPECT_EQ(fixed.GetName(false, false), "__properties_version1.0");
    TMSGProperty& unnamed = msg.GetProperties().Add();
    unnamed.SubProperties().Add();
    EXPECT_EQ(unnamed.GetName(false, false), "Properties");
    TMSGProperty& leaf = msg.GetProperties().Add();
    leaf.TagID = 0x0037001F;
    EXPECT_EQ(leaf.GetName(false, false), "SUBJECT");
    EXPECT_EQ(leaf.GetName(true, false), "SUBJECT (Subject)");
    leaf.TagID = 0x12340003;
    EXPECT_EQ(leaf.GetName(false, false), "");
    TMSGProperty& recip = msg.GetProperties().Add();
    recip.TagID = 0x0C000000;
    recip.SubProperties().Add();
    EXPECT_EQ(recip.GetName(false, false), "");
    EXPECT_EQ(recip.GetName(false, true), "");  // id 0x0C00 is not in the table

    const std::pair<MSGValue, std::u16string> texts[] = {
        {std::monostate{}, u""}, {std::int32_t{-5}, u"-5"}, {std::uint32_t{4000000000u}, u"4000000000"},
        {0.1, u"0.1"}, {123400.0, u"123400"}, {true, u"True"}, {DateTime{45000.5}, u"2023-03-15 12:00:00"},
        {DateTime{45000}, u"2023-03-15"}, {DateTime{0.75}, u"18:00:00"}, {std::u16string(u"x\0", 2), u"x"},
        {std::string("ab\0", 3), u"ab"},  // one stored terminating zero is left out of the text
    };
    for (const auto& [value, text] : texts) {
        leaf.Value = value;
        EXPECT_EQ(leaf.GetAsString(), text);
    }
}

TEST(MSGProperties, SearchOrderAndDepth) {
    TMessage msg;
    TMSGProperties& root = msg.GetProperties();
    TMSGProperty& a = root.Add();
    a.TagID = 0x37000000;
    TMSGProperty& deep = a.SubProperties().Add();
    deep.TagID = 0x0037001E;
    deep.Value = std::string("deep");
    TMSGProperty& b = root.Add();
    b.TagID = 0x0037001F;
    b.Value = std::u16string(u"own");
    EXPECT_EQ(root.GetPropertyByTag(0x0037001E, false, false), nullptr);  // never into children
    EXPECT_EQ(root.GetPropertyByTag(0x0037001E, false, true), &deep);
    EXPECT_EQ(root.GetPropertyByTag(0x00370000, true, false), &b);       // own items before children
    EXPECT_EQ(root.GetPropertyByTag(0x00370000, true, true), &b);
    EXPECT_TRUE(root.IsMainProperties());
    EXPECT_FALSE(a.SubProperties().IsMainProperties());
    EXPECT_EQ(a.SubProperties().GetOwner(), &msg);
    EXPECT_EQ(root.GetSubject(), u"own");
    EXPECT_EQ(a.SubProperties().GetSubject(), u"deep");

    // The submit time: a root item only on the root; anywhere below on other collections.
    TMSGProperty& fixed = root.Add();
    TMSGProperty& submit = fixed.SubProperties().Add();
    submit.TagID = 0x00390040;
    submit.Value = DateTime{45000};
    EXPECT_EQ(root.GetMessageDate(), DateTime{});
    EXPECT_EQ(a.SubProperties().GetMessageDate(), DateTime{});
    // The code page is searched in the whole tree.
    TMSGProperty& cp = fixed.SubProperties().Add();
    EXPECT_EQ(msg.GetHTMLCharset(), "iso-8859-1");
    cp.TagID = 0x3FFD0003;
    cp.Value = std::int32_t{932};
    EXPECT_EQ(root.GetCodePage(), 932);
    EXPECT_EQ(msg.GetHTMLCharset(), "shift_jis");
    EXPECT_EQ(TMessage::HTMLCharsetOfCodePage(1250), "windows-1250");

    // Deep copy into another message.
    TMessage copy;
    copy.SetProperties(root);
    ASSERT_EQ(copy.GetProperties().Count(), root.Count());
    TMSGProperty* copied = copy.GetProperties().GetPropertyByTag(0x0037001E, false, true);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, &deep);
    EXPECT_EQ(copied->Collection()->GetOwner(), &copy);
}

TEST(MSGProperties, SenderAndRecipientNames) {
    struct Case {
        std::string name, address;
        std::u16string expected;
    };
    const Case cases[] = {
        {std::string("Ann\0", 4), "ann@x.test", u"Ann <ann@x.test>"},
        {"", std::string("ann@x.test\0", 11), u"ann@x.test"},  // no zero leaks from the address either
        {"Ann", "", u"Ann"},
        {"", "", u""},
    };
    for (const Case& c : cases) {
        TMessage msg;
        TMSGProperty& n = msg.GetProperties().Add();
        n.TagID = 0x0042001E;
        n.Value = c.name;
        TMSGProperty& a = msg.GetProperties().Add();
        a.TagID = 0x0065001E;
        a.Value = c.address;
        EXPECT_EQ(msg.GetSenderName(), c.expected);
    }
    TMessage msg;
    TMSGProperty& to = msg.GetProperties().Add();
    to.TagID = 0x0E04001E;
    to.Value = std::string("Display To");
    EXPECT_EQ(msg.GetRecipientName(), u"Display To");
}

TEST(MSGProperties, AttachmentsAndSavingThem) {
    TMessage msg;
    for (const char* data : {"first", "second"}) {
        TMSGProperty& att = msg.GetProperties().Add();
        att.TagID = 0x37000000;
        TMSGProperty& bin = att.SubProperties().Add();
        bin.TagID = 0x37010102;
        bin.Value = std::string(data);
        bin.DataSize = static_cast<std::int32_t>(std::strlen(data));
        TMSGProperty& name = att.SubProperties().Add();
        name.TagID = 0x3707001F;
        name.Value = std::u16string(u"r\u00e9sum\u00e9.txt");
    }
    EXPECT_EQ(msg.GetProperties().GetAttachmentCount(), 2);
    EXPECT_EQ(msg.GetProperties().GetAttachment(2), nullptr);
    EXPECT_EQ(msg.GetProperties().GetAttachment(1)->GetAttachmentName(), "r\xC3\xA9sum\xC3\xA9.txt");
    std::ostringstream out;
    EXPECT_TRUE(msg.GetProperties().SaveAttachmentToStream(1, out));
    EXPECT_EQ(out.str(), "second");
    std::ostringstream none;
    EXPECT_FALSE(msg.GetProperties().SaveAttachmentToStream(2, none));
    EXPECT_EQ(none.str(), "");
}

TEST(MSGProperties, EightBitTextUsesTheMessageCodePage) {
    // Shift-JIS bytes of U+65E5 U+672C.
    const std::string sjis = "\x93\xFA\x96\x7B";
    struct Case {
        const char* what;
        std::vector<std::pair<std::uint32_t, std::int32_t>> numbers;
        UINT codePage;
    };
    const Case cases[] = {
        {"nothing declared: the legacy option", {}, 1252},
        {"message code page first", {{0x3FFD0003, 932}, {0x3FDE0003, 1252}}, 932},
        {"internet code page next", {{0x3FDE0003, 1251}, {0x3FF10003, 0x0411}}, 1251},
        {"a 7-bit internet code page yields to the locale", {{0x3FDE0003, 50220}, {0x3FF10003, 0x0419}}, 1251},
        {"7-bit internet code page without locale: its family", {{0x3FDE0003, 50220}}, 932},
        {"locale only", {{0x3FF10003, 0x0411}}, 932},
    };
    for (const Case& c : cases) {
        TMessage msg;
        TMSGProperty& fixed = msg.GetProperties().Add();
        for (auto [tag, value] : c.numbers) {
            TMSGProperty& p = fixed.SubProperties().Add();
            p.TagID = tag;
            p.Value = value;
        }
        EXPECT_EQ(msg.GetTextCodePage(), c.codePage) << c.what;
    }
    TMessage jp;
    TMSGProperty& locale = jp.GetProperties().Add();
    locale.TagID = 0x3FF10003;
    locale.Value = std::int32_t{0x0411};
    TMSGProperty& subject = jp.GetProperties().Add();
    subject.TagID = 0x0037001E;
    subject.Value = sjis + '\0';
    EXPECT_EQ(jp.GetSubject(), u"\u65E5\u672C");
}

}  // namespace
