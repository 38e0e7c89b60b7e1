// The pattern language as the tokenizer and the compiler read it, checked through matches.
#include <string>

#include <gtest/gtest.h>

#include "RegexTestUtil.h"
#include "regex/RegexpT.h"

using regextest::Describe;
using regextest::Find;
using regextest::Units;

namespace {

struct Case {
    const char* pattern;
    std::string text;
    int flags;
    const char* expected;
};

void RunCases(const Case* begin, const Case* end)
{
    for (const Case* c = begin; c != end; ++c) {
        SCOPED_TRACE(std::string("pattern ") + c->pattern + " text " + c->text);
        EXPECT_EQ(Find<char16_t>(c->pattern, c->text, c->flags), c->expected);
        EXPECT_EQ(Find<char>(c->pattern, c->text, c->flags), c->expected);
    }
}

TEST(RegexSyntax, CommentsEscapesAndQuoting)
{
    const std::string nul(1, '\0');
    const Case cases[] = {
        {"ab(?#c", "xabc", 0, "1-3"},
        {"a(?#x)b", "ab", 0, "0-2"},
        {"[a(?#x)b]", "(x)b", 0, "3-4"},
        {"a\\", "xa\\", 0, "1-3"},
        {"\\x41", "zA", 0, "1-2"},
        {"\\x{41}", "zA", 0, "1-2"},
        {"\\u0041", "zA", 0, "1-2"},
        {"\\u{41}", "zA", 0, "1-2"},
        {"\\x4", "a\x04", 0, "1-2"},
        {"\\xg", "xg", 0, "0-2"},
        {"\\x{41", "AB", 0, "0-1"},
        {"\\x{41zz", "Azz", 0, "0-1"},
        {"a\\x{}b", "a" + nul + "b", 0, "0-3"},
        {"\\Qa.b\\E.", "axbza.bz", 0, "4-8"},
        {"\\Ua.b\\E", "a.bA.B", 0, "3-6"},
        {"\\Labc", "ABCabc", 0, "3-6"},
        {"\\LAbC", "abc", 0, "0-3"},
        {"\\Qa(b", "a(b", 0, "0-3"},
        {"a\\Eb", "ab", 0, "0-2"},
        {"\\t\\n\\e", "\t\n\x1b", 0, "0-3"},
        {"\\.\\p\\#", ".p#", 0, "0-3"},
        {"a b # c\nd", "abd", ExtendedSyntax, "0-3"},
        {"a\\ b", "a b", ExtendedSyntax, "0-3"},
        {"[a b]", " ", ExtendedSyntax, "no"},
        {"\\Qa b#\\E", "a b#", ExtendedSyntax, "0-4"},
        {"a b", "a b", 0, "0-3"},
    };
    RunCases(std::begin(cases), std::end(cases));
    // The wide engine cuts escapes to 16 bits.
    EXPECT_EQ(Find<char16_t>("\\x{10041}", "A"), "0-1");
    EXPECT_EQ(Find<char>("\\x{141}", "A"), "0-1");
}

TEST(RegexSyntax, BracketExpressions)
{
    const Case cases[] = {
        {"[a-]", "x-", 0, "1-2"},
        {"[-a]", "x-", 0, "1-2"},
        {"[a-\\d]+", "x-a5", 0, "1-4"},
        {"[z-a]", "az-", 0, "no"},
        {"[\\b]", "b\b", 0, "1-2"},
        {"[\\1]+", "x\\1", 0, "1-3"},
        {"[]a]", "a a]", 0, "no"},
        {"[^]", "\n", 0, "0-1"},
        {"[]", "abc", 0, "no"},
        {"[$.()*+?{}|]+", "x$.()*+?{}|", 0, "1-11"},
        {"[\\A\\Z]+", "xAZ", 0, "1-3"},
        {"[^a-c]", "abcd", 0, "3-4"},
        {"[:alpha:]", "1a", 0, "1-2"},
        {"[[:alpha:]]", "1a", 0, "1-2"},
        {"[[:^digit:]]", "1a", 0, "1-2"},
        {"[[:alpha]]", "a]", 0, "no"},
        {"[[:foo:]]", "a", 0, "no"},
        {"[[:^foo:]]", "a", 0, "no"},
        {"[[:alpha:]\\d]+", "-a1", 0, "1-3"},
        {"[a-z]", "Q", CaseInsensitive, "0-1"},
        {"[K]", "k", CaseInsensitive, "0-1"},
        {"[a-f0-9]+", "xE9", CaseInsensitive, "1-3"},
        {"[[:upper:]]", "a", CaseInsensitive, "no"},
        {"[\\w]", "-_", CaseInsensitive, "1-2"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(RegexSyntax, Quantifiers)
{
    const std::string a123456(123456, 'a');
    const Case cases[] = {
        {"a{2,1}", "aaa", 0, "0-2"},
        {"a{,5}", "aaa", 0, "0-0"},
        {"a{}", "aaa", 0, "0-0"},
        {"a{0}", "aaa", 0, "0-0"},
        {"a{x}", "aaa", 0, "0-0"},
        {"a{0}b", "ab", 0, "1-2"},
        {"a{ 2 , 3 }", "aaaa", 0, "0-3"},
        {"a{2,}", "aaaaa", 0, "0-5"},
        {"*a", "x*a", 0, "1-3"},
        {"a**", "aa*", 0, "0-3"},
        {"a*??", "aa?", 0, "0-3"},
        {"a{2}?", "aaa", 0, "0-2"},
        {"a{2}+", "aaa", 0, "0-2"},
        {"abc*", "ababcc", 0, "0-2"},
        {"a+?", "aaa", 0, "0-1"},
        {"(ab)+", "ababa", 0, "0-4 2-4"},
        {"x{2", "x{2", 0, "no"},
    };
    RunCases(std::begin(cases), std::end(cases));
    EXPECT_EQ(Find<char16_t>("^a{1234567}$", a123456), "0-123456");
    EXPECT_EQ(Find<char16_t>("^a{1234567}$", a123456 + "a"), "no");
}

TEST(RegexSyntax, BackReferenceNumbers)
{
    std::string pattern, text;
    for (int i = 0; i < 123; ++i) pattern += "(x)";
    pattern += "\\1234";
    text = std::string(124, 'x') + "4";
    EXPECT_EQ(Find<char16_t>(pattern, text).substr(0, 5), "0-125");
    EXPECT_EQ(Find<char16_t>("(a)\\k<1>\\k'1'\\g1", "aaaa"), "0-4 0-1");
    EXPECT_EQ(Find<char16_t>("(?<n>a)\\k<N>", "aa"), "0-2 0-1");
    EXPECT_EQ(Find<char16_t>("a\\k<nope>", "aa"), "no");
    EXPECT_EQ(Find<char16_t>("ab\\0", "abab"), "0-4");
    EXPECT_EQ(Find<char16_t>("ab\\kx", "ababx"), "0-5");
}

TEST(RegexSyntax, GroupsAndNumbering)
{
    const Case cases[] = {
        {"ab)cd", "abcd", 0, "0-2"},
        {"(ab", "xab", 0, "1-3 1-3"},
        {"(?<x>a)(b)", "ab", 0, "0-2 1-2 0-1"},
        {"(?<x>a)|(?<X>b)", "b", 0, "0-1 0-1"},
        {"(?<3>a)", "a", 0, "0-1 x x 0-1"},
        {"(?'q'a)(?P<r>b)(?P's'c)", "abc", 0, "0-3 0-1 1-2 2-3"},
        {"(?i)a|b", "B", 0, "0-1"},
        {"(a(?i)b)c", "aBc", 0, "0-3 0-2"},
        {"(a(?i)b)c", "aBC", 0, "no"},
        {"(?i:a)b", "Ab", 0, "0-2"},
        {"(?i:a)b", "AB", 0, "no"},
        {"(?i(a)b)", "AB", 0, "0-2 0-1"},
        {"(?i)a(?-i)a", "AaAA", 0, "0-2"},
        {"(?s).", "\n", 0, "0-1"},
        {".", "\n", 0, "no"},
        {"(?m)^b", "a\nb", 0, "2-3"},
        {"(?x)a", "a", 0, "0-1"},
        {"(?:a|b)+c", "abc", 0, "0-3"},
        {"(?>a|ab)c", "abc", 0, "no"},
        {"(?R)?x", "xx", 0, "0-2"},
        {"a(?R)?b", "aabb", 0, "0-4"},
        {"(a)(?2)b", "ab", 0, "0-2 0-1"},
        {"(a)(?1)", "aa", 0, "0-2 1-2"},
        {"(?<n>a)(?R<n>)", "aa", 0, "0-2 1-2"},
        {"(? 1)(a)", "aa", 0, "0-2 1-2"},
        {"(?(nope)a|b)", "xb", 0, "1-2"},
        {"(?(nope)a|b)", "nope", 0, "no"},
        {"(x)?(?(1)a|b)", "xa", 0, "0-2 0-1"},
        {"(x)?(?(1)a|b)", "b", 0, "0-1 x"},
        {"(x)?(?( 1 )a|b)", "xa", 0, "0-2 0-1"},
        {"(?<n>x)?(?(n)a|b)", "xa", 0, "0-2 0-1"},
        {"(?(?=a)ab|cd)", "cdab", 0, "0-2"},
        {"(?(?!a)cd|ab)", "ab", 0, "0-2"},
        {"(?(1)a)", "b", 0, "0-0"},
        {"(?<=ab)c", "abc", 0, "2-3"},
        {"(?<!a)c", "acbc", 0, "3-4"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(RegexSyntax, StockNodesAreShared)
{
    CRegexpT<char16_t> re(u"..\\d[\\d]");
    const auto& builder = re.Builder();
    auto* list = dynamic_cast<const CListElxT<0>*>(builder.root);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->nodes.Count(), 4);
    EXPECT_EQ(list->nodes[0], list->nodes[1]);
    EXPECT_EQ(list->nodes[0], builder.stockNodes[2]);
    auto* bracket = dynamic_cast<const CRangeElxT<char16_t>*>(list->nodes[3]);
    ASSERT_NE(bracket, nullptr);
    EXPECT_EQ(bracket->classes[0], list->nodes[2]);
    EXPECT_EQ(builder.maxGroupNumber, 0);

    // A quantifier with maximum 0 still owns its item, unlinked.
    CRegexpT<char16_t> zero(u"a{0}");
    EXPECT_EQ(zero.Builder().root, zero.Builder().stockNodes[0]);
    EXPECT_EQ(zero.Builder().ownedNodes.size(), 2u);
}

TEST(RegexSyntax, WhitespaceClassDependsOnDirection)
{
    const std::string ff = "\f";
    EXPECT_EQ(Find<char16_t>("\\s", ff), "no");
    EXPECT_EQ(Find<char16_t>("\\s", ff, RightToLeftScan), "0-1");
    EXPECT_EQ(Find<char16_t>("(?<=\\s)x", ff + "x"), "1-2");
    EXPECT_EQ(Find<char16_t>("(?=\\s).", ff, RightToLeftScan), "no");
    EXPECT_EQ(Find<char16_t>("\\S", ff), "0-1");
    EXPECT_EQ(Find<char16_t>("\\S", ff, RightToLeftScan), "no");
}

}  // namespace
