// Hostile RTF: every size and count is bounded, nothing recurses without end or hangs.
#include <chrono>
#include <string>

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "platform/vcl/qt/richtext/RtfReader.h"
#include "platform/vcl/richtext/RichTextDocument.h"
#include "tests/platform/vcl/richtext/GuiApp.h"

using namespace richtext;

namespace {

class RtfHostileTest : public ::testing::Test {
protected:
    void SetUp() override { richtext_test::EnsureGuiApp(); }
    RtfReadResult Read(const std::string& rtf) {
        doc_.clear();
        QTextCursor cursor(&doc_);
        return RtfReader::Read(rtf, cursor);
    }
    QTextDocument doc_;
};

TEST_F(RtfHostileTest, DeepNestingIsCutOffNotRecursed) {
    const std::string deep = "{\\rtf1 top" + std::string(200000, '{') + "deep" + std::string(200000, '}') + " end}";
    const RtfReadResult r = Read(deep);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.depthExceeded);
    EXPECT_EQ(doc_.toPlainText(), "top end");  // the text below the limit is left out

    const RtfReadResult open = Read("{\\rtf1 a" + std::string(100000, '{') + "b");
    EXPECT_TRUE(open.unterminated);
    EXPECT_EQ(doc_.toPlainText(), "a");
}

TEST_F(RtfHostileTest, UnterminatedGroupsKeepTheirText) {
    const RtfReadResult r = Read("{\\rtf1 {\\b bold {\\i both");
    EXPECT_TRUE(r.unterminated);
    EXPECT_EQ(doc_.toPlainText(), "bold both");
    Read("{\\rtf1 {\\pict\\pngblip 89504e");  // a picture cut short
    EXPECT_EQ(doc_.characterCount(), 2);
    Read("{\\rtf1 {\\fonttbl{\\f0 Ari");
    EXPECT_EQ(doc_.toPlainText(), "");
}

TEST_F(RtfHostileTest, HugeNumbersAreClamped) {
    Read("{\\rtf1\\fs2147483647\\li-2147483648\\fi99999999999999999999\\sb2147483647"
         "\\sl-2147483648\\uc2147483647\\cf2147483647\\f-5\\tx2147483647 x\\u2147483647 y}");
    QTextCursor c(&doc_);
    c.setPosition(1);
    EXPECT_LE(c.charFormat().fontPointSize(), 1638.0);
    EXPECT_GE(c.blockFormat().leftMargin(), -2112.0);
    EXPECT_LE(c.blockFormat().topMargin(), 2112.0);
    EXPECT_TRUE(doc_.toPlainText().startsWith("x"));
}

TEST_F(RtfHostileTest, BinaryLengthsBeyondTheInputTakeWhatRemains) {
    const RtfReadResult r = Read("{\\rtf1 a{\\pict\\pngblip\\bin2147483647 \x89PNG}");
    EXPECT_TRUE(r.unterminated);  // the binary data swallowed the closing brace
    EXPECT_EQ(r.unreadablePictures, 1);
    Read("{\\rtf1 a\\bin4 }}}}b}");  // binary data outside a picture is skipped
    EXPECT_EQ(doc_.toPlainText(), "ab");
}

TEST_F(RtfHostileTest, TablesAreBoundedInColumns) {
    std::string rtf = "{\\rtf1\\trowd\\pard\\intbl ";
    for (int i = 0; i < 5000; ++i) rtf += "c\\cell ";
    rtf += "\\row}";
    Read(rtf);
    QTextTable* table = QTextCursor(doc_.find("c")).currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columns(), RtfReader::kMaxColumns);
    EXPECT_EQ(table->rows(), 1);
}

TEST_F(RtfHostileTest, ManyGroupsAndFieldsStayLinear) {
    std::string rtf = "{\\rtf1";
    for (int i = 0; i < 20000; ++i)
        rtf += "{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt{\\b x}}}{\\f" + std::to_string(i) + " y}";
    rtf += "}";
    const auto start = std::chrono::steady_clock::now();
    Read(rtf);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(doc_.characterCount(), 40001);
    EXPECT_LT(seconds, 20.0);  // generous under sanitizers; quadratic work would take minutes
}

TEST_F(RtfHostileTest, FontAndColourTablesAreBounded) {
    std::string rtf = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 10000; ++i) rtf += "{\\f" + std::to_string(i) + " F;}";
    rtf += "}{\\colortbl";
    for (int i = 0; i < 10000; ++i) rtf += "\\red1;";
    rtf += "}\\f9999\\cf9999 text}";
    EXPECT_TRUE(Read(rtf).ok);
    EXPECT_EQ(doc_.toPlainText(), "text");
}

}  // namespace
