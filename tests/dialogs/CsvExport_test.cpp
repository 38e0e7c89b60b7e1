// The CSV lines and the file: quoting, line feeds, both encodings, read back by a small CSV
// reader; replacing an existing file; a file that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialogs/CsvExport.h"
#include "message/MessageAttr.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using Records = std::vector<std::vector<WideString>>;

class FakeMessage : public TMessageAttr {
public:
    FakeMessage(WideString path, WideString from, WideString subject, WideString cc = {}) {
        fileName = std::move(path);
        this->from = std::move(from);
        this->subject = std::move(subject);
        this->cc = std::move(cc);
        dateText = u"03.04.2026 10:15";
        to = u"bob@example.org";
    }
    int GetType() override { return 0; }
    bool LoadFromFile(const WideString& path, bool headersOnly) override {
        loads.push_back({path, headersOnly});
        if (!failLoad) plainBody = u"first\r\nsecond";
        return !failLoad;
    }
    std::vector<std::pair<WideString, bool>> loads;
    bool failLoad = false;
};

// Fields in double quotes may hold commas and line breaks; "" is one quote; records end at a
// line feed outside quotes.
Records ParseCsv(const WideString& text) {
    Records records(1, std::vector<WideString>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                records.back().back() += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                records.back().back() += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            records.back().emplace_back();
        } else if (c == u'\n') {
            records.emplace_back(1);
        } else {
            records.back().back() += c;
        }
    }
    return records;
}

WideString FromUtf16Le(const std::string& bytes) {
    WideString out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return out;
}

TEST(CsvLine, QuotesOnlyWhatNeedsQuotingAndDoublesQuotesOnce) {
    const struct {
        const char16_t* field;
        const char16_t* written;
    } cases[] = {
        {u"/mail/plain.msg", u"/mail/plain.msg"},
        {u"/mail/with space.msg", u"\"/mail/with space.msg\""},
        {u"say \"hi\", now", u"\"say \"\"hi\"\", now\""},
        {u"", u""},
        {u"tab\there", u"\"tab\there\""},
        {u"a\nb", u"\"a\nb\""},
        {u"Gr\u00fc\u00dfe \u65e5\u672c", u"\"Gr\u00fc\u00dfe \u65e5\u672c\""},
        {u"Gr\u00fc\u00dfe", u"Gr\u00fc\u00dfe"},
        {u"\x7f", u"\x7f"},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvQuoteField(c.field), c.written) << Utf16ToUtf8(c.field);
    EXPECT_EQ(CsvLine({u"a", u"", u"b c"}), u"a,,\"b c\"") << "an empty field is nothing between commas";
}

TEST(CsvLine, MessageLineTurnsCrLfIntoLfInsideOneField) {
    EXPECT_EQ(formatForCSV(u"a\r\nb\rc\n\r\n"), u"a\nb\rc\n\n");
    FakeMessage m(u"/mail/x.eml", u"Ann <ann@example.org>", u"Re: \"plan\", v2");
    m.plainBody = u"line 1\r\nline 2";
    const Records r = ParseCsv(CsvMessageLine(m, true));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (std::vector<WideString>{u"/mail/x.eml", u"Ann <ann@example.org>", u"Re: \"plan\", v2",
                                             u"03.04.2026 10:15", u"bob@example.org", u"", u"line 1\nline 2"}));
    EXPECT_EQ(CsvHeaderLine(false), u"Path,From,Subject,Date,To,CC");
    EXPECT_EQ(CsvHeaderLine(true), u"Path,From,Subject,Date,To,CC,Body");
}

class CsvFileTest : public ::testing::Test {
protected:
    CsvFileTest() {
        a_.cc = u"carol@example.org";
        list_ = {&a_, &b_};
    }
    WideString Target(const char* name) const { return Utf8ToUtf16((dir_ / name).string()); }

    testsupport::TempDir dir_;
    FakeMessage a_{u"/mail/one.msg", u"ann@example.org", u"Quarterly, final"};
    FakeMessage b_{u"/mail/two files/\u0434\u0432\u0430.eml", u"\u0418\u0432\u0430\u043d", u"\u041f\u0440\u0438\u0432\u0435\u0442"};
    MessageAttrDeque list_;
};

TEST_F(CsvFileTest, AnsiFileHasLfBeforeEachMessageLineAndNoneAtTheEnd) {
    const WideString path = Target("out.csv");
    ASSERT_TRUE(ExportMessagesToCsv(list_, path, {}).ok);
    const std::string bytes = testsupport::ReadFileBytes(Utf16ToUtf8(path));
    EXPECT_EQ(bytes.substr(0, 28), "Path,From,Subject,Date,To,CC") << "no byte-order mark";
    EXPECT_NE(bytes.back(), '\n');
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    const Records r = ParseCsv(Utf8ToUtf16(bytes));
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[1][2], u"Quarterly, final");
    EXPECT_EQ(r[1][5], u"carol@example.org");
    EXPECT_EQ(r[2][0], u"/mail/two files/\u0434\u0432\u0430.eml") << "non-ASCII survives the ANSI code page";
    EXPECT_EQ(r[2][1], u"\u0418\u0432\u0430\u043d");
    EXPECT_EQ(r[2][5], u"") << "empty CC";
    EXPECT_TRUE(a_.loads.empty()) << "without bodies nothing is loaded";
}

TEST_F(CsvFileTest, UnicodeFileIsUtf16LeWithoutMarkAndLoadsBodies) {
    b_.failLoad = true;
    const WideString path = Target("out.csv");
    ASSERT_TRUE(ExportMessagesToCsv(list_, path, {true, true}).ok);
    const std::string bytes = testsupport::ReadFileBytes(Utf16ToUtf8(path));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("P\0a\0", 4)) << "starts with the first header character";
    EXPECT_EQ(bytes.size() % 2, 0u);
    const Records r = ParseCsv(FromUtf16Le(bytes));
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].back(), u"Body");
    EXPECT_EQ(r[1][6], u"first\nsecond") << "one quoted field over two physical lines";
    EXPECT_EQ(r[2][6], u"") << "a message that fails to load keeps its line";
    EXPECT_EQ(r[2][1], u"\u0418\u0432\u0430\u043d");
    ASSERT_EQ(a_.loads.size(), 1u);
    EXPECT_EQ(a_.loads[0], (std::pair<WideString, bool>{u"/mail/one.msg", false})) << "loaded fully from its source";
}

TEST_F(CsvFileTest, ExportingAgainReplacesTheFile) {
    const WideString path = Target("out.csv");
    dir_.WriteFile("out.csv", std::string(5000, 'x'));
    ASSERT_TRUE(ExportMessagesToCsv(list_, path, {}).ok);
    list_.pop_back();
    ASSERT_TRUE(ExportMessagesToCsv(list_, path, {}).ok);
    const Records r = ParseCsv(Utf8ToUtf16(testsupport::ReadFileBytes(Utf16ToUtf8(path))));
    EXPECT_EQ(r.size(), 2u) << "the shorter second export leaves nothing of the first";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1) << "no temporary file left";
}

TEST_F(CsvFileTest, AFileThatCannotBeCreatedIsReportedAndNothingIsWritten) {
    const WideString path = Target("missing/folder/out.csv");
    const CsvExportResult result = ExportMessagesToCsv(list_, path, {});
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(path), WideString::npos) << Utf16ToUtf8(result.error);
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

}  // namespace
