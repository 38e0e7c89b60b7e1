#include "message/MSGFile.h"

#include <cstring>

#include <gtest/gtest.h>

#include "message/CompressedRTF.h"
#include "tests/message/MsgFixture.h"

namespace {

using namespace msgfixture;

std::span<const std::uint8_t> AsBytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

WideString W(const std::string& s) {
    WideString w;
    for (char c : s) w.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return w;
}

const TMSGProperty& Item(const TMSGProperties& c, int i) { return c.GetProperty(i); }

TEST(MSGFile, RootItemsInEnumerationOrder) {
    testsupport::TempDir dir;
    std::string path;
    Build({Prop(0x0037001F, Utf16(u"Hi")), Fixed(32, {{0x0003, 0x0E07, Le(9, 4)}}),
           Storage("__recip_version1.0_#00000000", {Fixed(8, {{0x0003, 0x0C15, Le(1, 4)}}), Prop(0x3001001F, Utf16(u"Bob"))}),
           Storage("__attach_version1.0_#00000000", {Fixed(8, {}), Prop(0x3707001F, Utf16(u"a.txt")), Prop(0x37010102, "data")})},
          dir, &path);
    TMSGFile msg;
    ASSERT_TRUE(msg.LoadFromFile(W(path))) << msg.LastErrorText();
    const TMSGProperties& root = msg.GetProperties();
    ASSERT_EQ(root.Count(), 4);
    EXPECT_EQ(Item(root, 0).TagID, 0x0037001Fu);
    EXPECT_EQ(Item(root, 1).TagID, 0u);
    EXPECT_EQ(Item(root, 2).TagID, 0x0C000000u);
    EXPECT_EQ(Item(root, 3).TagID, 0x37000000u);
    EXPECT_EQ(msg.GetSubject(), u"Hi");
    EXPECT_EQ(Item(root, 1).GetName(false, false), "__properties_version1.0");
    ASSERT_EQ(Item(root, 1).SubProperties().Count(), 1);
    EXPECT_EQ(Item(root, 1).SubProperties().GetProperty(0).TagID, 0x0E070003u);
    EXPECT_EQ(Item(root, 1).SubProperties().GetProperty(0).Value, MSGValue(std::int32_t{9}));
    // The recipient's entries start after an 8-byte header.
    const TMSGProperty* type = Item(root, 2).SubProperties().GetPropertyByTag(0x0C150003, false, true);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Value, MSGValue(std::int32_t{1}));
    EXPECT_EQ(Item(root, 2).Value, MSGValue(std::u16string(u"__recip_version1.0_#00000000")));
    ASSERT_EQ(root.GetAttachmentCount(), 1);
    EXPECT_EQ(root.GetAttachment(0)->GetAttachmentName(), "a.txt");
    std::ostringstream out;
    EXPECT_TRUE(root.SaveAttachmentToStream(0, out));
    EXPECT_EQ(out.str(), "data");
}

TEST(MSGFile, FixedLengthHeadersByStorageKind) {
    // An attached message (0x3701000D) has a 24-byte header; any other storage 32.
    testsupport::TempDir dir;
    std::string bytes = Build(
        {Storage("__attach_version1.0_#00000000",
                 {Fixed(8, {{0x0003, 0x3705, Le(5, 4)}}),
                  Storage("__substg1.0_3701000D",
                          {Fixed(24, {{0x0003, 0x0E07, Le(3, 4)}}), Prop(0x001A001E, "IPM.Note"), Prop(0x0037001F, Utf16(u"Inner"))})}),
         Storage("other", {Fixed(32, {{0x000B, 0x0E1F, Le(1, 1)}})}), Fixed(32, {})},
        dir);
    TMSGFile msg;
    ASSERT_TRUE(msg.LoadFromMemory(AsBytes(bytes))) << msg.LastErrorText();
    const TMSGProperties& root = msg.GetProperties();
    const TMSGProperty* inner = root.GetPropertyByTag(0x3701000D, false, true);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->Value, MSGValue(std::u16string(u"3701000D")));
    EXPECT_EQ(inner->SubProperties().GetSubject(), u"Inner");
    EXPECT_NE(inner->SubProperties().GetPropertyByTag(0x0E070003, false, true), nullptr);
    EXPECT_TRUE(root.GetAttachment(0)->AttachmentIsEmbeddedMessage());
    const TMSGProperty* method = root.GetPropertyByTag(0x37050003, false, true);
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(method->Value, MSGValue(std::int32_t{5}));
    EXPECT_NE(root.GetPropertyByTag(0x0E1F000B, false, true), nullptr);
    // The root's fixed-length stream holding only its header gives a node without children.
    const TMSGProperty* rootFixed = nullptr;
    for (const auto& item : root)
        if (item->TagID == 0) rootFixed = item.get();
    ASSERT_NE(rootFixed, nullptr);
    EXPECT_TRUE(rootFixed->SubProperties().Empty());
}

TEST(MSGFile, PartialLastEntryAndContentsStream) {
    testsupport::TempDir dir;
    std::string fixed = Fixed(8, {{0x0003, 0x0E21, Le(1, 4)}}).data + std::string(10, '\x01');
    std::string bytes = Build({Storage("__attach_version1.0_#00000000",
                                       {Stream("__properties_version1.0", fixed),
                                        Storage("__substg1.0_3701000D", {Stream("CONTENTS", "native")})}),
                               Stream("CONTENTS", "ignored at the root")},
                              dir);
    TMSGFile msg;
    ASSERT_TRUE(msg.LoadFromMemory(AsBytes(bytes))) << msg.LastErrorText();
    const TMSGProperties& att = msg.GetProperties().GetAttachment(0)->SubProperties();
    const TMSGProperty* node = att.GetPropertyByTag(0x3701000D, false, false);
    ASSERT_NE(node, nullptr);
    const TMSGProperty* method = att.GetPropertyByTag(0x37050003, false, false);
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(method->Value, MSGValue(std::string("6")));
    const TMSGProperty* data = node->SubProperties().GetPropertyByTag(0x37010102, false, false);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->Value, MSGValue(std::string("native")));
    EXPECT_EQ(msg.GetProperties().Count(), 1);  // the root CONTENTS is no property
    const TMSGProperty* fixedNode = att.GetPropertyByTag(0, false, false);
    ASSERT_NE(fixedNode, nullptr);
    EXPECT_EQ(fixedNode->SubProperties().Count(), 1);  // the partial entry is left out
}

TEST(MSGFile, MultiValuedPropertiesKeepTheirTag) {
    testsupport::TempDir dir;
    std::string bytes = Build({Prop(0x8001101F, Le(4, 4) + Le(6, 4)), Stream(PropName(0x8001101F) + "-00000000", Utf16(u"ab")),
                               Stream(PropName(0x8001101F) + "-00000001", Utf16(u"cde")),
                               Prop(0x80021003, Le(7, 4) + Le(0xFFFFFFFF, 4))},
                              dir);
    TMSGFile msg;
    ASSERT_TRUE(msg.LoadFromMemory(AsBytes(bytes))) << msg.LastErrorText();
    const TMSGProperty* texts = msg.GetProperties().GetPropertyByTag(0x8001101F, false, false);
    ASSERT_NE(texts, nullptr);
    ASSERT_EQ(texts->SubProperties().Count(), 2);
    EXPECT_EQ(texts->SubProperties().GetProperty(0).TagID, 0x8001001Fu);
    EXPECT_EQ(texts->SubProperties().GetProperty(1).GetAsString(), u"cde");
    EXPECT_EQ(texts->GetAsString(), u"ab; cde");
    EXPECT_EQ(msg.GetProperties().Count(), 2);  // no leaves tagged with an index
    const TMSGProperty* ints = msg.GetProperties().GetPropertyByTag(0x80021003, false, false);
    ASSERT_NE(ints, nullptr);
    EXPECT_EQ(ints->GetAsString(), u"7; -1");
    EXPECT_EQ(ints->DataSize, 8);
}

TEST(MSGFile, MiniStreamBoundaryAndRtfBody) {
    testsupport::TempDir dir;
    std::string rtf = "{\\rtf1\\ansi " + std::string(6000, 'r') + "}";
    std::vector<std::uint8_t> compressed = EncodeCompressedRTF(AsBytes(rtf));
    std::vector<Element> root = {Prop(0x10090102, std::string(compressed.begin(), compressed.end()))};
    for (std::uint32_t n : {4095u, 4096u, 4097u}) root.push_back(Prop(0x80000102 + (n << 16 & 0x0FFF0000), std::string(n, 'b')));
    std::string bytes = Build(root, dir);
    TMSGFile msg;
    ASSERT_TRUE(msg.LoadFromMemory(AsBytes(bytes))) << msg.LastErrorText();
    const TMSGProperty* body = msg.GetProperties().GetPropertyByTag(0x10090102, false, false);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(*body->RawBytes(), rtf + '\0');
    EXPECT_EQ(msg.GetBody(), W(rtf));
    int seen = 0;
    for (const auto& p : msg.GetProperties())
        if (p->PropertyType() == 0x0102 && p->TagID != 0x10090102) {
            EXPECT_TRUE(p->DataSize == 4095 || p->DataSize == 4096 || p->DataSize == 4097);
            EXPECT_EQ(*p->RawBytes(), std::string(static_cast<std::size_t>(p->DataSize), 'b'));
            ++seen;
        }
    EXPECT_EQ(seen, 3);
}

TEST(MSGFile, AnsiAndUnicodeNotes) {
    testsupport::TempDir dir;
    // An ANSI note from a Japanese mailer: the internet code page claims ISO-2022-JP, the
    // locale (Japanese) tells that 8-bit text is Shift-JIS.
    std::string ansi = Build({Prop(0x0037001E, std::string("\x93\xFA\x96\x7B", 4) + '\0'), Prop(0x0042001E, "Taro"),
                              Prop(0x0065001E, "taro@x.test"),
                              Fixed(32, {{0x0003, 0x3FDE, Le(50220, 4)}, {0x0003, 0x3FF1, Le(0x0411, 4)}})},
                             dir);
    TMSGFile a;
    ASSERT_TRUE(a.LoadFromMemory(AsBytes(ansi)));
    EXPECT_EQ(a.GetSubject(), u"\u65E5\u672C");
    EXPECT_EQ(a.GetSenderName(), u"Taro <taro@x.test>");
    std::string unicode = Build({Prop(0x0037001F, Utf16(u"\u00DCber")), Prop(0x1000001F, Utf16(u"Body\u20AC"))}, dir);
    TMSGFile u;
    ASSERT_TRUE(u.LoadFromMemory(AsBytes(unicode)));
    EXPECT_EQ(u.GetSubject(), u"\u00DCber");
    EXPECT_EQ(u.GetBody(), u"Body\u20AC");
}

TEST(MSGFile, FailuresAreReported) {
    testsupport::TempDir dir;
    TMSGFile msg;
    auto text = dir.WriteFile("plain.msg", "not a compound file at all");
    EXPECT_FALSE(msg.LoadFromFile(W(text.string())));
    EXPECT_EQ(msg.GetProperties().Count(), 0);
    EXPECT_FALSE(msg.LoadFromFile(W((dir / "missing.msg").string())));
    EXPECT_EQ(msg.LastError(), STG_E_FILENOTFOUND);

    // A compressed RTF body whose header lies loses only itself: the rest of the message loads.
    std::string lie = Le(12 + 2, 4) + Le(0x7FFFFFFF, 4) + "LZFu" + Le(0, 4) + std::string("\0a", 2);
    std::string bytes = Build({Prop(0x0037001F, Utf16(u"x")), Prop(0x10090102, lie)}, dir);
    EXPECT_TRUE(msg.LoadFromMemory(AsBytes(bytes)));
    EXPECT_TRUE(msg.HasDamagedRtf());
    EXPECT_EQ(msg.GetSubject(), u"x");
    const TMSGProperty* rtf = msg.GetProperties().GetPropertyByTag(0x10090102, true, false);
    ASSERT_NE(rtf, nullptr);
    EXPECT_EQ(rtf->DataSize, 0);

    // A truncated file fails as a whole.
    std::string good = Build({Prop(0x1000001F, Utf16(std::u16string(5000, u'x')))}, dir);
    EXPECT_FALSE(msg.LoadFromMemory(AsBytes(good.substr(0, good.size() - 1000))));
    EXPECT_EQ(msg.LastError(), STG_E_DOCFILECORRUPT);
    EXPECT_GT(msg.LastErrorText().size(), std::string("cannot open the compound file: ").size()) << "says why";
}

}  // namespace
