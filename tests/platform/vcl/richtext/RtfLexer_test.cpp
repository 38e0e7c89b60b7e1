#include "platform/vcl/richtext/RtfLexer.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace richtext;

namespace {

std::vector<RtfToken> Lex(std::string_view s) {
    RtfLexer lexer(s);
    std::vector<RtfToken> out;
    for (RtfToken t = lexer.Next(); t.kind != RtfTokenKind::End; t = lexer.Next()) out.push_back(t);
    return out;
}

}  // namespace

TEST(RtfLexer, SplitsGroupsWordsSymbolsAndText) {
    const auto t = Lex("{\\b1 bold\\'e9\\~\\par\r\nx}");
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[0].kind, RtfTokenKind::GroupStart);
    EXPECT_EQ(t[1].kind, RtfTokenKind::ControlWord);
    EXPECT_EQ(t[1].name, "b");
    EXPECT_TRUE(t[1].hasParam);
    EXPECT_EQ(t[1].param, 1);
    EXPECT_EQ(t[2].text, "bold");  // the blank after \b1 belongs to the word
    EXPECT_EQ(t[3].kind, RtfTokenKind::HexByte);
    EXPECT_EQ(t[3].byte, 0xE9);
    EXPECT_EQ(t[4].kind, RtfTokenKind::ControlSymbol);
    EXPECT_EQ(t[4].symbol, '~');
    EXPECT_EQ(t[5].name, "par");
    EXPECT_EQ(t[6].text, "x");  // line ends are dropped
    EXPECT_EQ(t[7].kind, RtfTokenKind::GroupEnd);
}

TEST(RtfLexer, NumbersSaturateAndNegativesParse) {
    const auto t = Lex("\\fs99999999999999999999 \\li-720 \\u-4 \\sl-99999999999999");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].param, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(t[1].param, -720);
    EXPECT_EQ(t[2].param, -4);
    EXPECT_EQ(t[3].param, std::numeric_limits<std::int32_t>::min());
}

TEST(RtfLexer, BinaryTakesAtMostWhatRemains) {
    const std::string input("\\bin3 a}b}", 10);
    const auto t = Lex(input);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].kind, RtfTokenKind::Binary);
    EXPECT_EQ(t[0].text, "a}b");  // braces inside binary data are data
    EXPECT_EQ(t[1].kind, RtfTokenKind::GroupEnd);

    const auto huge = Lex("\\bin2147483647 xyz");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0].text, "xyz");
}

TEST(RtfLexer, MalformedEndsAreDropped) {
    EXPECT_TRUE(Lex("\\").empty());
    const auto t = Lex("\\'zq\\'4");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, "zq");  // \' without hex digits yields nothing
    EXPECT_EQ(t[1].byte, 4);
    const std::string word = "\\" + std::string(100, 'a') + "5";
    const auto longWord = Lex(word);
    ASSERT_EQ(longWord.size(), 1u);
    EXPECT_EQ(longWord[0].name.size(), RtfLexer::kMaxWordLength);
    EXPECT_EQ(longWord[0].param, 5);
}

TEST(RtfLexer, LongRunsOfEmptyHexEscapesDoNotDeepenTheStack) {
    std::string rtf;
    for (int i = 0; i < 400000; ++i) rtf += "\\'";
    rtf += "x";
    RtfLexer lexer(rtf);
    const RtfToken t = lexer.Next();
    EXPECT_EQ(t.kind, RtfTokenKind::Text);
    EXPECT_EQ(t.text, "x");
    EXPECT_EQ(lexer.Next().kind, RtfTokenKind::End);
}
