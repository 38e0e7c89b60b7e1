// Real .msg files: every one loads as a record; where an independent reader's values (.json)
// or an independent conversion (.eml) lie beside it, the record agrees with them; and every
// one written back by the compound-file writer reads into the same record.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <regex>
#include <cstdio>

#include "app/CAppUtils.h"
#include "app/RegExpUtils.h"
#include "message/MSGWriter.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"
#include "platform/win/WinTime.h"
#include "tests/message/CorpusJson.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using corpusjson::Json;
using corpusjson::Text;

namespace {

std::string U8(const WideString& w) { return Utf16ToUtf8(w); }
WideString W(const std::string& s) { return Utf8ToUtf16(s); }

std::vector<fs::path> CorpusMessages()
{
    std::vector<fs::path> files;
    const fs::path root = testsupport::CorpusDir() / "msg";
    if (!fs::is_directory(root)) return files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && e.path().extension() == ".msg") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Runs of white space become one blank; ends trimmed.
std::string Folded(const std::string& text)
{
    std::string out;
    bool blank = false;
    for (unsigned char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0xA0) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += static_cast<char>(c);
    }
    return out;
}

std::string Cleaned(std::string s)
{
    std::erase_if(s, [](char c) { return c == '\r' || c == '\n' || c == '\t'; });
    return s;
}

// "Sun, 04 Dec 2022 13:00:00 GMT" as a UTC date-time.
TDateTime ParseGmt(const std::string& text)
{
    int day = 0, year = 0, h = 0, mi = 0, se = 0;
    char month[4] = {};
    if (std::sscanf(text.c_str(), "%*3s %d %3s %d %d:%d:%d", &day, month, &year, &h, &mi, &se) != 6) return 0;
    static const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(months.find(month) / 3 + 1);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(se);
    return SystemTimeToDateTime(st);
}

constexpr std::uint32_t kReceivedByAddress = 0x0076001E;

// The display names of an address list ("Name <a@b>, c@d" gives "Name; c@d"), as a message
// keeps them for its recipients.
std::string DisplayNames(const std::string& list)
{
    std::string out, one;
    bool quoted = false;
    const auto flush = [&] {
        if (const std::size_t open = one.find('<'); open != std::string::npos && open > 0) one.resize(open);
        one = Folded(one);
        if (one.size() >= 2 && one.front() == '"' && one.back() == '"') one = one.substr(1, one.size() - 2);
        if (!one.empty()) out += (out.empty() ? "" : "; ") + one;
        one.clear();
    };
    for (const char c : list) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted)
            flush();
        else
            one += c;
    }
    flush();
    return out;
}

// The expected values come from a reader that decodes the 8-bit text of some messages with a
// wrong code page (Latin-1 where the message is Shift-JIS); such a text still holds the stored
// bytes, one per character, and is decoded again here with the message's code page.
void Redecode(Json& value, UINT codePage)
{
    if (value.kind == Json::String) {
        const WideString wide = Utf8ToUtf16(value.s);
        std::string bytes;
        bool high = false;
        for (char16_t c : wide) {
            if (c > 0xFF) return;
            high = high || c >= 0x80;
            bytes.push_back(static_cast<char>(c));
        }
        if (high) value.s = Utf16ToUtf8(DecodeCodePage(codePage, bytes));
        return;
    }
    for (Json& item : value.items) Redecode(item, codePage);
    for (auto& field : value.fields) Redecode(field.second, codePage);
}

UINT CodePageOf(TMessageAttr& m)
{
    const TMSGFile* file = static_cast<MessageMSG&>(m).GetMSGFile();
    return file ? file->GetTextCodePage() : 1252;
}

std::string Contains(const std::string& haystack, const std::string& needle)
{
    if (needle.empty()) return "nothing to look for in \"" + haystack.substr(0, 400) + "\"";
    return haystack.find(needle) != std::string::npos ? "" : "missing \"" + needle + "\" in \"" + haystack.substr(0, 400) + "\"";
}

// The record against an independent reader's values; the first difference, or empty.
void CompareWithJson(TMessageAttr& m, Json j, const std::string& where)
{
    if (CodePageOf(m) != 1252 && CodePageOf(m) != 28591) Redecode(j, CodePageOf(m));
    SCOPED_TRACE(where);
    if (j.Get("subject")) {
        EXPECT_EQ(U8(m.subject), Cleaned(Text(j, "subject")));
    }
    if (j.Get("senderName")) {
        const std::string name = Text(j, "senderName");
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(U8(m.from).starts_with(name)) << U8(m.from) << " / " << name;
        const std::string email = Text(j, "senderEmail");
        if (email != name && IsValidEmailAddress(W(email), true)) {
            EXPECT_EQ(Contains(U8(m.from), "<" + email + ">"), "");
        }
    }
    const std::vector<Json> none;
    const std::vector<Json>& recipients = j.Get("recipients") ? j.Get("recipients")->items : none;
    const std::vector<Json>& files = j.Get("attachments") ? j.Get("attachments")->items : none;
    for (const Json& r : recipients) {
        const std::string type = Text(r, "recipType");
        const std::string field = type == "cc" ? U8(m.cc) : type == "bcc" ? U8(m.bcc) : U8(m.to);
        EXPECT_EQ(Contains(field, Cleaned(Text(r, "name"))), "") << type;
    }
    if (j.Get("body")) {
        const std::string body = Folded(Text(j, "body"));
        if (!body.empty()) {
            EXPECT_EQ(Contains(Folded(U8(m.plainBody)), body), "");
        }
    }
    // Listed attachments are attachments of the file; each of the file's attachments is
    // listed or shown inline.
    std::vector<std::string> expected;
    for (const Json& a : files) {
        expected.push_back(U8(CAppUtils::MakeValidFileName(W(Text(a, "name")), false)));
        expected.push_back(U8(CAppUtils::MakeValidFileName(W(Text(a, "fileName")), false)));
    }
    std::vector<std::string> shown;
    for (const AttachmentItem& a : m.attachments) {
        std::string name = U8(a.name);
        if (a.attachMethod == 5 && name.ends_with(".msg")) name.resize(name.size() - 4);
        EXPECT_NE(std::find(expected.begin(), expected.end(), name), expected.end()) << "listed: " << name;
        shown.push_back(name);
    }
    // An inline part's file carries the load's number and the part's: "<load>-<part>-<name>".
    for (const AttachmentItem& a : m.inlineParts)
        shown.push_back(std::regex_replace(fs::path(U8(a.name)).filename().string(), std::regex("^\\d+-\\d+-"), ""));
    for (const Json& a : files) {
        const std::string n = U8(CAppUtils::MakeValidFileName(W(Text(a, "name")), false));
        const std::string f = U8(CAppUtils::MakeValidFileName(W(Text(a, "fileName")), false));
        const bool found = std::find(shown.begin(), shown.end(), n) != shown.end() ||
                           std::find(shown.begin(), shown.end(), f) != shown.end();
        EXPECT_TRUE(found) << "attachment " << n;
    }
    // The fields an appointment or a contact shows in its body.
    const std::string body = U8(m.plainBody);
    const std::string cls = Text(j, "messageClass");
    if (cls.starts_with("IPM.Appointment")) {
        EXPECT_EQ(Contains(body, "Location: " + Text(j, "apptLocation")), "");
        if (j.Get("apptStartWhole")) {
            EXPECT_EQ(Contains(body, "Begin Date: " + U8(MessageDateText(ParseGmt(Text(j, "apptStartWhole"))))), "");
        }
        if (j.Get("apptEndWhole")) {
            EXPECT_EQ(Contains(body, "End Date: " + U8(MessageDateText(ParseGmt(Text(j, "apptEndWhole"))))), "");
        }
    }
    if (cls.starts_with("IPM.Contact")) {
        const std::pair<const char*, const char*> rows[] = {
            {"name", "Name: "}, {"companyName", "Company: "}, {"postalAddress", "Address: "},
            {"departmentName", "Department Name: "}, {"businessTelephoneNumber", "Business Phone: "},
            {"homeTelephoneNumber", "Home Phone: "}, {"mobileTelephoneNumber", "Cell Phone: "},
            {"businessFaxNumber", "Business Fax: "}, {"businessHomePage", "Business Home Page: "},
            {"email1EmailAddress", "Email 1: "}};
        for (const auto& [key, caption] : rows)
            if (j.Get(key)) {
                EXPECT_EQ(Contains(body, caption + Text(j, key)), "") << key;
            }
    }
}

// The fields a record shows, as one text for comparing two records.
std::string Dump(const TMessageAttr& m)
{
    std::string d = "from=" + U8(m.from) + "\nto=" + U8(m.to) + "\ncc=" + U8(m.cc) + "\nbcc=" + U8(m.bcc) +
                    "\nsubject=" + U8(m.subject) + "\ndate=" + U8(m.dateText) + "\nsent=" + std::to_string(m.sent) +
                    "\ntype=" + std::to_string(m.msgType) + "\nhtml=" + std::to_string(m.bodyIsHtml) +
                    "\nrtf=" + std::to_string(m.bodyIsRtf) + "\nplain=" + U8(m.plainBody) + "\nhtmlBody=" +
                    U8(m.htmlBody) + "\nrtfBody=" + m.rtfBody + "\nheader=" + U8(m.headerText);
    for (const AttachmentItem& a : m.attachments)
        d += "\nattachment=" + std::to_string(a.number) + "/" + std::to_string(a.attachMethod) + "/" + U8(a.name);
    for (const AttachmentItem& a : m.inlineParts)
        d += "\ninline=" + std::to_string(a.number) + "/" + U8(a.name) + "/" + U8(a.contentId);
    // The number of each load in the names of its files (and the body's links to them).
    return std::regex_replace(d, std::regex("([/\"])\\d+-(\\d+-)"), "$1$2");
}

// Every attached message of the record, at every depth, loads as a record of its own; where
// "<stem>-attachments<i>.json" lies beside the file, the i-th attachment matches it, and its
// own attached messages are named after it ("<stem>-attachments<i>-attachments<k>.json").
void CompareAttachedMessages(TMessageAttr& m, const fs::path& stem, int depth, int& compared)
{
    if (depth > 8) return;
    for (int k = 0; k < static_cast<int>(m.attachments.size()); ++k) {
        if (!m.IsEmbeddedAttachMessage(k)) continue;
        const int number = m.attachments[static_cast<std::size_t>(k)].number;
        const fs::path inner = stem.string() + "-attachments" + std::to_string(number);
        SCOPED_TRACE(inner.filename().string());
        std::unique_ptr<TMessageAttr> embedded = m.GetEmbeddedMessage(k);
        ASSERT_TRUE(embedded) << "attached message " << number << " at depth " << depth;
        const fs::path values = inner.string() + ".json";
        if (fs::exists(values)) {
            Json j;
            ASSERT_TRUE(corpusjson::ReadJson(values, j)) << values;
            CompareWithJson(*embedded, j, values.filename().string());
            ++compared;
        }
        CompareAttachedMessages(*embedded, inner, depth + 1, compared);
    }
}

}  // namespace

TEST(MessageMSGCorpus, EveryMessageLoadsAndMatchesItsExpectedValues)
{
    QUILLORA_REQUIRE_CORPUS();
    const auto files = CorpusMessages();
    ASSERT_FALSE(files.empty());
    int loaded = 0, compared = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        MessageMSG m;
        ASSERT_TRUE(m.LoadFromFile(W(file.string()), false));
        ++loaded;
        fs::path expected = file;
        expected.replace_extension(".json");
        if (fs::exists(expected)) {
            Json j;
            ASSERT_TRUE(corpusjson::ReadJson(expected, j)) << expected;
            CompareWithJson(m, j, expected.filename().string());
            ++compared;
        }
        CompareAttachedMessages(m, file.parent_path() / file.stem().string(), 1, compared);
    }
    // Every file of expected values was compared with some message.
    std::size_t expectedFiles = 0;
    for (const auto& e : fs::recursive_directory_iterator(testsupport::CorpusDir() / "msg"))
        if (e.is_regular_file() && e.path().extension() == ".json") ++expectedFiles;
    EXPECT_GT(expectedFiles, 0u);
    EXPECT_EQ(static_cast<std::size_t>(compared), expectedFiles);
    std::cout << "[ corpus ] " << loaded << " .msg files loaded; " << compared
              << " records compared with an independent reader's values: "
              << (::testing::Test::HasFailure() ? "DIFFERENCES FOUND" : "all matched") << std::endl;
}

TEST(MessageMSGCorpus, PairedConversionsAgree)
{
    QUILLORA_REQUIRE_CORPUS();
    const fs::path folder = testsupport::CorpusDir() / "msg" / "msgconvert-pairs";
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no pairs";
    std::vector<fs::path> pairs;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".msg" && fs::exists(fs::path(e.path()).replace_extension(".eml")))
            pairs.push_back(e.path());
    ASSERT_FALSE(pairs.empty());
    std::size_t compared = 0;
    for (const fs::path& file : pairs) {
        SCOPED_TRACE(file.filename().string());
        MessageMSG msg;
        MessageEML eml;
        ASSERT_TRUE(msg.LoadFromFile(W(file.string()), false));
        ASSERT_TRUE(eml.LoadFromFile(W(fs::path(file).replace_extension(".eml").string()), false));
        EXPECT_EQ(U8(msg.subject), U8(eml.subject));
        // The sender as the conversion writes it; a message without a sender address of its
        // own shows the name alone (the conversion takes the address from the transport header).
        const std::string from = U8(msg.from);
        EXPECT_TRUE(from == U8(eml.from) || from == DisplayNames(U8(eml.from))) << from << " / " << U8(eml.from);
        // The record names recipients by display name, followed by the address the message was
        // received at when that is a valid address of its own.
        std::string to = DisplayNames(U8(eml.to));
        const TMSGFile* tree = msg.GetMSGFile();
        ASSERT_TRUE(tree);
        const std::string receivedBy = U8(tree->GetProperties().GetPropertyAsString(kReceivedByAddress, true, false));
        if (!receivedBy.empty() && receivedBy != to && IsValidEmailAddress(W(receivedBy), true))
            to += " <" + receivedBy + ">";
        EXPECT_EQ(U8(msg.to), to);
        EXPECT_EQ(U8(msg.cc), DisplayNames(U8(eml.cc)));
        std::vector<WideString> a, b;
        msg.GetAttachmentNames(a);
        eml.GetAttachmentNames(b);
        // The .eml record lists the conversion's unnamed body part under a placeholder name.
        std::erase_if(b, [](const WideString& n) { return n.rfind(u"Unnamed attachment", 0) == 0; });
        EXPECT_EQ(a, b);
        ++compared;
    }
    EXPECT_EQ(compared, pairs.size());
    std::cout << "[ corpus ] " << compared << " .msg files compared with their independent .eml conversions: "
              << (::testing::Test::HasFailure() ? "DIFFERENCES FOUND" : "all matched") << std::endl;
}

TEST(MessageMSGCorpus, EveryMessageWrittenBackReadsIntoTheSameRecord)
{
    QUILLORA_REQUIRE_CORPUS();
    testsupport::TempDir dir;
    const auto files = CorpusMessages();
    ASSERT_FALSE(files.empty());
    std::size_t written = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        TMSGFile tree;
        ASSERT_TRUE(tree.LoadFromFile(W(file.string())));
        const fs::path copy = dir / "copy.msg";
        ASSERT_EQ(SaveToMsgFile(tree, W(copy.string()), true), S_OK);
        MessageMSG original, again;
        ASSERT_TRUE(original.LoadFromFile(W(file.string()), false));
        ASSERT_TRUE(again.LoadFromFile(W(copy.string()), false));
        again.fileName = original.fileName;
        EXPECT_EQ(Dump(again), Dump(original));
        ++written;
    }
    EXPECT_EQ(written, files.size());
    std::cout << "[ corpus ] " << written << " .msg files written back and read again: "
              << (::testing::Test::HasFailure() ? "DIFFERENCES FOUND" : "all matched") << std::endl;
}
