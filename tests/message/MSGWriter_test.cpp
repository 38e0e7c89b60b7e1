// The compound-file writer: files that read back into the same tree and carry what other
// readers need (header counts, typed fixed entries, compressed RTF, storage names, class id),
// and the small text writers.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

#include "message/CompressedRTF.h"
#include "message/MSGNameMap.h"
#include "message/MSGTextWriters.h"
#include "message/MSGWriter.h"
#include "platform/win/WinString.h"
#include "tests/message/MsgTreeBuilder.h"

using namespace msgtree;

namespace {

// Same tags, values, stored entries and children, in the same order.
void ExpectSameTree(const TMSGProperties& a, const TMSGProperties& b, const std::string& where = "root")
{
    ASSERT_EQ(a.Count(), b.Count()) << where;
    for (int i = 0; i < a.Count(); ++i) {
        const TMSGProperty& x = a.GetProperty(i);
        const TMSGProperty& y = b.GetProperty(i);
        char tag[16];
        std::snprintf(tag, sizeof tag, "%08X", x.TagID);
        const std::string at = where + "/" + tag;
        EXPECT_EQ(x.TagID, y.TagID) << at;
        EXPECT_TRUE(x.Value == y.Value) << at << " " << x.GetAsAnsiString() << " vs " << y.GetAsAnsiString();
        EXPECT_EQ(x.StoredEntry(), y.StoredEntry()) << at;
        ExpectSameTree(x.SubProperties(), y.SubProperties(), at);
    }
}

std::string ReadStream(IStorage* storage, const char16_t* name)
{
    ComPtr<IStream> s;
    if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, s.put()))) return "<missing>";
    std::string out;
    char buf[4096];
    ULONG got = 0;
    while (SUCCEEDED(s->Read(buf, sizeof buf, &got)) && got > 0) out.append(buf, got);
    return out;
}

std::uint32_t Le32At(const std::string& s, std::size_t at)
{
    return static_cast<std::uint8_t>(s[at]) | (static_cast<std::uint8_t>(s[at + 1]) << 8) |
           (static_cast<std::uint8_t>(s[at + 2]) << 16) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24);
}

// A message with recipients, an attachment, an attached message that has a recipient and an
// attachment of its own, compressed RTF, multi-valued properties and a wide string entry.
void BuildRich(TMessage& m)
{
    TMSGProperties& root = m.GetProperties();
    TMSGProperties& fixed = Fixed(root);
    Int(fixed, 0x0E070003, 1);
    Bool(fixed, 0x0E1F000B, true);
    Date(fixed, 0x00390040, 45662.37716435185);  // 2025-01-05 09:03:07
    Add(fixed, 0x0037001F, std::string(), 0);      // a wide subject's entry: its stream is beside it
    Wide(root, 0x0037001F, u"Grüße \u4F60\u597D");
    Bytes(root, 0x001A001E, "IPM.Note");
    Bytes(root, 0x10090102, std::string("{\\rtf1\\ansi Hello}") + '\0');
    TMSGProperty& multi = Add(root, 0x8001101F, std::string(), 0);
    Wide(multi.SubProperties(), 0x8001001F, u"one");
    Wide(multi.SubProperties(), 0x8001001F, u"two");
    NameMap(root, {{PSETID_Common, 0x8501, 0x8001}});
    for (int r = 0; r < 2; ++r) {
        TMSGProperties& recip = Node(root, 0x0C000000);
        Fixed(recip);
        Wide(recip, 0x3001001F, r ? u"Bob" : u"Ann");
    }
    TMSGProperties& attach = Node(root, 0x37000000);
    Int(Fixed(attach), 0x37050003, 5);
    Wide(attach, 0x3001001F, u"Inner");
    TMSGProperties& inner = Node(attach, 0x3701000D);
    Int(Fixed(inner), 0x0E070003, 8);
    Bytes(inner, 0x001A001E, "IPM.Note");
    Wide(inner, 0x0037001F, u"Inner subject");
    Wide(Node(inner, 0x0C000000), 0x3001001F, u"Carl");
    TMSGProperties& innerAttach = Node(inner, 0x37000000);
    Wide(innerAttach, 0x3707001F, u"a.bin");
    Bytes(innerAttach, 0x37010102, std::string("\x00\x01\x02", 3));
}

}  // namespace

TEST(MSGWriter, WrittenFileReadsBackIntoTheSameTreeAndAgainIntoItself)
{
    testsupport::TempDir dir;
    TMSGFile source;
    BuildRich(source);
    const std::string first = Write(source, dir, "first.msg");

    TMSGFile read;
    ASSERT_TRUE(read.LoadFromFile(W(first))) << read.LastErrorText();
    const TMSGProperties& root = read.GetProperties();
    EXPECT_EQ(read.GetSubject(), u"Grüße \u4F60\u597D");
    const TMSGProperty* rtf = root.GetPropertyByTag(0x10090102, false, false);
    ASSERT_TRUE(rtf);
    EXPECT_EQ(*rtf->RawBytes(), std::string("{\\rtf1\\ansi Hello}") + '\0');
    const TMSGProperty* multi = root.GetPropertyByTag(0x8001101F, false, false);
    ASSERT_TRUE(multi);
    ASSERT_EQ(multi->SubProperties().Count(), 2);
    EXPECT_EQ(multi->SubProperties().GetProperty(1).GetAsString(), u"two");
    const TMSGProperty* inner = root.GetAttachment(0)->SubProperties().GetPropertyByTag(0x3701000D, false, false);
    ASSERT_TRUE(inner) << "the attached message's storage is found by its name";
    EXPECT_EQ(inner->SubProperties().GetSubject(), u"Inner subject");
    EXPECT_EQ(inner->SubProperties().GetAttachmentCount(), 1);
    const TMSGProperty* date = root.GetPropertyByTag(0x00390040, false, true);
    ASSERT_TRUE(date);
    ASSERT_TRUE(std::holds_alternative<DateTime>(date->Value));
    EXPECT_NEAR(std::get<DateTime>(date->Value).days, 45662.37716435185, 1e-9);

    // Once read, a tree writes and reads back exactly, stored entries and dates included.
    const std::string second = Write(read, dir, "second.msg");
    TMSGFile again;
    ASSERT_TRUE(again.LoadFromFile(W(second)));
    ExpectSameTree(read.GetProperties(), again.GetProperties());
}

TEST(MSGWriter, FileCarriesWhatOtherReadersNeed)
{
    testsupport::TempDir dir;
    TMSGFile source;
    BuildRich(source);
    const std::string path = Write(source, dir, "rich.msg");

    ComPtr<IStorage> root;
    ASSERT_EQ(StgOpenStorage(W(path).c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, root.put()), S_OK);
    CLSID clsid{};
    ASSERT_EQ(ReadClassStg(root.get(), &clsid), S_OK);
    EXPECT_TRUE(clsid == CLSID_MailMessage);

    // Root header: next recipient id, next attachment id, recipient count, attachment count.
    const std::string props = ReadStream(root.get(), u"__properties_version1.0");
    ASSERT_GE(props.size(), 32u + 4 * 16);
    EXPECT_EQ(Le32At(props, 8), 2u);
    EXPECT_EQ(Le32At(props, 12), 1u);
    EXPECT_EQ(Le32At(props, 16), 2u);
    EXPECT_EQ(Le32At(props, 20), 1u);
    // The wide subject's entry keeps its type and counts its stream's bytes with the terminator.
    const std::string subjectEntry = props.substr(32 + 3 * 16, 16);
    EXPECT_EQ(Le32At(subjectEntry, 0), 0x0037001Fu);
    EXPECT_EQ(Le32At(subjectEntry, 8), (8u + 1u) * 2u);

    // Compressed RTF with its header.
    const std::string rtf = ReadStream(root.get(), u"__substg1.0_10090102");
    ASSERT_GE(rtf.size(), 16u);
    EXPECT_EQ(rtf.substr(8, 4), "LZFu");
    EXPECT_EQ(Le32At(rtf, 12), CompressedRTFCrc(std::span(reinterpret_cast<const std::uint8_t*>(rtf.data()) + 16, rtf.size() - 16)));

    // Variable-size multi-valued properties: a lengths stream and one stream per value.
    EXPECT_EQ(ReadStream(root.get(), u"__substg1.0_8001101F-00000001"), std::string("t\0w\0o\0", 6));
    EXPECT_EQ(ReadStream(root.get(), u"__substg1.0_8001101F").size(), 8u);

    // Recipients and attachments: 8-byte headers; the attached message: a 24-byte header
    // counting its own recipient and attachment.
    ComPtr<IStorage> recip, attach, inner;
    ASSERT_EQ(root->OpenStorage(u"__recip_version1.0_#00000001", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, recip.put()), S_OK);
    EXPECT_EQ(ReadStream(recip.get(), u"__properties_version1.0").size(), 8u);
    ASSERT_EQ(root->OpenStorage(u"__attach_version1.0_#00000000", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, attach.put()), S_OK);
    EXPECT_EQ(ReadStream(attach.get(), u"__properties_version1.0").size(), 8u + 16u);
    ASSERT_EQ(attach->OpenStorage(u"__substg1.0_3701000D", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, inner.put()), S_OK);
    const std::string innerProps = ReadStream(inner.get(), u"__properties_version1.0");
    ASSERT_EQ(innerProps.size(), 24u + 16u);
    EXPECT_EQ(Le32At(innerProps, 16), 1u);
    EXPECT_EQ(Le32At(innerProps, 20), 1u);
}

TEST(MSGWriter, EmptyLeavesAndTheHeaderOnlyMode)
{
    testsupport::TempDir dir;
    TMSGFile m;
    TMSGProperties& root = m.GetProperties();
    Add(root, 0x1000001E, std::monostate{}, 0);
    Wide(root, 0x0037001F, u"wide subject");
    Bytes(root, 0x0042001E, "Sender");
    Bytes(root, 0x1035001E, "<id@host>");
    const std::string full = Write(m, dir, "full.msg");
    ComPtr<IStorage> stg;
    ASSERT_EQ(StgOpenStorage(W(full).c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, stg.put()), S_OK);
    EXPECT_EQ(ReadStream(stg.get(), u"__substg1.0_1000001E"), "");

    const std::u16string headers = W((dir / "headers.msg").string());
    ASSERT_EQ(SaveToMsgFile(m, headers, false), S_OK);
    TMSGFile read;
    ASSERT_TRUE(read.LoadFromFile(headers));
    ASSERT_EQ(read.GetProperties().Count(), 2);
    EXPECT_EQ(read.GetProperties().GetProperty(0).TagID, 0x0042001Eu);
    EXPECT_EQ(read.GetProperties().GetProperty(1).TagID, 0x1035001Eu);
}

TEST(MSGWriter, FailedWriteReportsAndLeavesNoFile)
{
    testsupport::TempDir dir;
    TMSGFile m;
    BuildRich(m);
    const std::string path = (dir / "missing" / "x.msg").string();
    EXPECT_TRUE(FAILED(SaveToMsgFile(m, W(path), true)));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(MSGWriter, EMailFormatDateUsesTheZoneOfThatDate)
{
    testsupport::ScopedEnv tz("TZ", "Europe/Paris");
    tzset();
    EXPECT_EQ(EMailFormatDate(45662.37716435185), "Sun, 5 Jan 2025 09:03:07 +0100");
    EXPECT_EQ(EMailFormatDate(45851.5), "Sun, 13 Jul 2025 12:00:00 +0200");
    testsupport::ScopedEnv utc("TZ", "UTC");
    tzset();
    EXPECT_EQ(EMailFormatDate(45662.37716435185), "Sun, 5 Jan 2025 09:03:07 GMT");
}

TEST(MSGWriter, TextWritersEscapeWhatTheyWrite)
{
    testsupport::TempDir dir;
    TMSGFile m;
    TMSGProperties& root = m.GetProperties();
    Wide(root, 0x0037001F, u"<b>Tom & \"Jerry\"</b>");
    Wide(root, 0x1000001F, u"body ]]> end");
    TMSGProperties& recip = Node(root, 0x0C000000);
    Wide(recip, 0x3001001F, u"only child");

    const std::u16string xml = W((dir / "m.xml").string());
    ASSERT_TRUE(SaveToXMLFile(m, xml, true));
    const std::string x = testsupport::ReadFileBytes(dir / "m.xml");
    EXPECT_NE(x.find("<SUBJECT>&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;</SUBJECT>\r\n"), std::string::npos);
    EXPECT_NE(x.find("  <PROPERTY TAGID=\"0x0C000000\">\r\n"), std::string::npos);
    EXPECT_NE(x.find("  <SUBPROPERTIES>\r\n    <PROPERTY TAGID=\"0x3001001F\">\r\n"), std::string::npos);
    EXPECT_NE(x.find("<VALUE><![CDATA[body ]]]]><![CDATA[> end]]></VALUE>"), std::string::npos);
    EXPECT_TRUE(x.ends_with("</MESSAGE></DATAPACKET>\r\n"));

    const std::u16string html = W((dir / "m.html").string());
    ASSERT_TRUE(SaveToHTMLFile(m, html, true));
    const std::string h = testsupport::ReadFileBytes(dir / "m.html");
    EXPECT_NE(h.find("<p><b>Subject:</b> &lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;</p>"), std::string::npos);
    EXPECT_EQ(h.find("<b>Tom"), std::string::npos);

    const std::u16string text = W((dir / "m.txt").string());
    ASSERT_TRUE(SaveToTextFile(m, text, true));
    EXPECT_NE(testsupport::ReadFileBytes(dir / "m.txt").find("  mpcMessage\t0x3001001F\t\"only child\"\r\n"),
              std::string::npos);
    EXPECT_FALSE(SaveToEMLFile(m, W((dir / "no" / "m.eml").string())));
}
