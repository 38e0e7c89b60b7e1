// Every .msg of the shared corpus loads; its RTF body and its main fields equal the expected
// values kept beside it (X.rtf, X.json, X-attachmentsN.json for attached message N).
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "message/MSGFile.h"
#include "tests/message/CorpusJson.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

using corpusjson::Json;
using corpusjson::ReadJson;

// The expected values come from another reader, which decodes 8-bit text of some messages
// with a wrong code page (Latin-1 where the message is Shift-JIS). Such a value still holds
// the stored bytes, one per character; decoded with the message's code page they must give
// our text.
bool SameText(const std::string& ours, const std::string& expected, UINT codePage) {
    if (ours == expected) return true;
    std::string bytes;
    for (char16_t c : Utf8ToUtf16(expected)) {
        if (c > 0xFF) return false;
        bytes.push_back(static_cast<char>(c));
    }
    return Utf16ToUtf8(DecodeCodePage(codePage, bytes)) == ours;
}

// Own-level text of the first non-empty tag.
std::string Text(const TMSGProperties& c, std::initializer_list<std::uint32_t> tags) {
    for (std::uint32_t tag : tags)
        if (const TMSGProperty* p = c.GetPropertyByTag(tag, false, false)) {
            std::string s = p->GetAsAnsiString();
            if (!s.empty()) return s;
        }
    return "";
}

// The value of a fixed-length entry (or own stream) as a number.
long Number(const TMSGProperties& c, std::uint32_t tag) {
    const TMSGProperty* p = c.GetPropertyByTag(tag, false, false);
    for (const auto& item : c)
        if (!p && item->TagID == 0) p = item->SubProperties().GetPropertyByTag(tag, false, false);
    if (!p) return -1;
    if (auto* v = std::get_if<std::int32_t>(&p->Value)) return *v;
    return -1;
}

// Compares one message collection with its expected values.
void CheckMessage(const TMSGProperties& msg, const Json& expected, const std::string& where) {
    const UINT cp = msg.GetOwner()->GetTextCodePage();
    auto expectText = [&](const std::string& ours, const char* key) {
        if (const Json* value = expected.Get(key)) {
            EXPECT_TRUE(SameText(ours, value->s, cp)) << where << " " << key << ": ours \"" << ours << "\", expected \"" << value->s << "\"";
        }
    };
    expectText(Text(msg, {0x0037001F, 0x0037001E}), "subject");
    expectText(Text(msg, {0x001A001F, 0x001A001E}), "messageClass");
    expectText(Text(msg, {0x0C1A001F, 0x0C1A001E}), "senderName");
    if (const Json* email = expected.Get("senderEmail")) {
        std::vector<std::string> candidates;
        for (std::uint32_t id : {0x5D01u, 0x0C1Fu, 0x0065u, 0x5D02u})
            candidates.push_back(Text(msg, {id << 16 | 0x001F, id << 16 | 0x001E}));
        EXPECT_NE(std::find(candidates.begin(), candidates.end(), email->s), candidates.end()) << where << ": " << email->s;
    }

    std::vector<const TMSGProperty*> recipients, attachments;
    for (const auto& item : msg) {
        if (item->TagID == 0x0C000000) recipients.push_back(item.get());
        if (item->TagID == 0x37000000) attachments.push_back(item.get());
    }
    if (const Json* list = expected.Get("recipients")) {
        ASSERT_EQ(recipients.size(), list->items.size()) << where;
        static const char* const kinds[] = {"", "to", "cc", "bcc"};
        for (std::size_t i = 0; i < recipients.size(); ++i) {
            const TMSGProperties& r = recipients[i]->SubProperties();
            const Json& e = list->items[i];
            if (const Json* name = e.Get("name")) {
                EXPECT_TRUE(SameText(Text(r, {0x3001001F, 0x3001001E}), name->s, cp)) << where << " recipient " << i;
            }
            if (const Json* email = e.Get("email")) {
                std::string smtp = Text(r, {0x39FE001F, 0x39FE001E});
                std::string address = Text(r, {0x3003001F, 0x3003001E});
                EXPECT_TRUE(email->s == smtp || email->s == address) << where << " recipient " << i << ": " << email->s;
            }
            if (const Json* kind = e.Get("recipType")) {
                long type = Number(r, 0x0C150003);
                ASSERT_TRUE(type >= 1 && type <= 3) << where;
                EXPECT_EQ(kinds[type], kind->s) << where << " recipient " << i;
            }
        }
    }
    if (const Json* list = expected.Get("attachments")) {
        ASSERT_EQ(attachments.size(), list->items.size()) << where;
        for (std::size_t i = 0; i < attachments.size(); ++i) {
            const Json& e = list->items[i];
            if (const Json* name = e.Get("name")) {
                EXPECT_TRUE(SameText(attachments[i]->GetAttachmentName(), name->s, cp)) << where << " attachment " << i;
            }
            if (const Json* inner = e.Get("innerMsgContentFields")) {
                const TMSGProperty* embedded = attachments[i]->SubProperties().GetPropertyByTag(0x3701000D, false, false);
                ASSERT_NE(embedded, nullptr) << where;
                CheckMessage(embedded->SubProperties(), *inner, where + " > attachment " + std::to_string(i));
            }
        }
    }
}

TEST(MSGFileCorpus, EveryMessageLoadsWithItsExpectedValues) {
    QUILLORA_REQUIRE_CORPUS();
    const fs::path folder = testsupport::CorpusDir() / "msg";
    if (!fs::exists(folder)) GTEST_SKIP() << "no msg folder in the corpus";
    int loaded = 0, rtfCompared = 0, jsonCompared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const fs::path& path = entry.path();
        if (path.extension() != ".msg") continue;
        const std::string where = path.filename().string();
        TMSGFile msg;
        ASSERT_TRUE(msg.LoadFromFile(Utf8ToUtf16(path.string()))) << where << ": " << msg.LastErrorText();
        ++loaded;
        EXPECT_GT(msg.GetProperties().Count(), 0) << where;

        fs::path rtf = path;
        rtf.replace_extension(".rtf");
        if (fs::exists(rtf)) {
            const TMSGProperty* body = msg.GetProperties().GetPropertyByTag(0x10090102, false, false);
            ASSERT_NE(body, nullptr) << where;
            std::string text = *body->RawBytes();
            ASSERT_FALSE(text.empty());
            text.pop_back();  // the terminating zero
            EXPECT_TRUE(text == testsupport::ReadFileBytes(rtf)) << where << ": RTF body differs";
            ++rtfCompared;
        }
        fs::path json = path;
        json.replace_extension(".json");
        Json expected;
        if (fs::exists(json)) {
            ASSERT_TRUE(ReadJson(json, expected)) << json;
            CheckMessage(msg.GetProperties(), expected, where);
            ++jsonCompared;
        }
        for (int n = 0;; ++n) {
            fs::path inner = path.parent_path() / (path.stem().string() + "-attachments" + std::to_string(n) + ".json");
            if (!fs::exists(inner)) break;
            ASSERT_TRUE(ReadJson(inner, expected)) << inner;
            const TMSGProperty* att = msg.GetProperties().GetAttachment(n);
            ASSERT_NE(att, nullptr) << where;
            const TMSGProperty* embedded = att->SubProperties().GetPropertyByTag(0x3701000D, false, false);
            ASSERT_NE(embedded, nullptr) << where;
            CheckMessage(embedded->SubProperties(), expected, where + " > attachment " + std::to_string(n));
            ++jsonCompared;
        }
    }
    EXPECT_GT(loaded, 0);
    RecordProperty("loaded", loaded);
    RecordProperty("rtf", rtfCompared);
    RecordProperty("json", jsonCompared);
}

}  // namespace
