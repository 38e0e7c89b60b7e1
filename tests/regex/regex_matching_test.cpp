// How the node kinds match and backtrack: captures, repeats, anchors, classes, look-around,
// direction and recursion, in both widths where the text is ASCII.
#include <string>

#include <gtest/gtest.h>

#include "RegexTestUtil.h"
#include "regex/RegexpT.h"

using regextest::Describe;
using regextest::Find;
using regextest::Walk;

namespace {

struct Case {
    const char* pattern;
    const char* text;
    int flags;
    const char* expected;
};

TEST(RegexMatching, CapturesRepeatsAndBacktracking)
{
    const Case cases[] = {
        {"(a|ab)c", "abc", 0, "0-3 0-2"},
        {"(a|b)+", "ab", 0, "0-2 1-2"},
        {"(a|b)+c", "abac", 0, "0-4 2-3"},
        {"(a)?b\\1", "b", 0, "no"},
        {"()b\\1", "b", 0, "0-1 0-0"},
        {"(a?)*", "b", 0, "0-0 x"},
        {"(a|)*", "aa", 0, "0-2 1-2"},
        {"a*+a", "aaa", 0, "no"},
        {"(?>a*)a", "aaa", 0, "no"},
        {"a*a", "aaa", 0, "0-3"},
        {"a{2,3}?", "aaaa", 0, "0-2"},
        {"a{2,3}?$", "aaaa", 0, "1-4"},
        {"(a+)+b", "aaab", 0, "0-4 0-3"},
        {"(ab|a)(bc|c)", "abc", 0, "0-3 0-2 2-3"},
        {"(a*?)(a*)", "aa", 0, "0-2 0-0 0-2"},
        {"((a)|b)+", "ab", 0, "0-2 1-2 0-1"},
        {"(a)|b", "b", 0, "0-1 x"},
        {"(\\w+)\\s+\\1", "the the", 0, "0-7 0-3"},
        {"(a)\\1", "aA", CaseInsensitive, "0-2 0-1"},
        {"x(?:ab)*?b", "xabab", 0, "no"},
        {"x(?:ab)*?a", "xaba", 0, "0-2"},
        {"(?:a|b)*?c", "abc", 0, "0-3"},
        {"a.+?c", "abcbc", 0, "0-3"},
        {"(a.)+?c", "abadc", 0, "0-5 2-4"},
        {"(?:(a)|b)*", "ab", 0, "0-2 0-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(Find<char16_t>(c.pattern, c.text, c.flags), c.expected);
        EXPECT_EQ(Find<char>(c.pattern, c.text, c.flags), c.expected);
    }
}

TEST(RegexMatching, LineAndTextAnchors)
{
    const Case walks[] = {
        {"^", "a\r\nb", LineAnchors, "0-0,3-3"},
        {"$", "a\r\nb", LineAnchors, "1-1,4-4"},
        {"^", "a\rb", LineAnchors, "0-0,2-2"},
        {"$", "a\rb", LineAnchors, "1-1,3-3"},
        {"^", "a\nb", 0, "0-0"},
        {"$", "a\n", 0, "2-2"},
        {"\\Z", "ab\r\n", 0, "2-2,3-3,4-4"},
        {"\\Z", "ab\n", 0, "2-2,3-3"},
        {"\\z", "ab\n", 0, "3-3"},
        {"\\A", "ab", 0, "0-0"},
        {"\\b", "abc", 0, "0-0,3-3"},
        {"\\B", "abc", 0, "1-1,2-2"},
        {"^\\w+", "ab\ncd", LineAnchors, "0-2,3-5"},
    };
    for (const auto& c : walks) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(Walk<char16_t>(c.pattern, c.text, c.flags), c.expected);
        EXPECT_EQ(Walk<char>(c.pattern, c.text, c.flags), c.expected);
    }
}

// Code units from 128 up are in no class, are no word characters and do not fold.
TEST(RegexMatching, NonAsciiUnitsStayOutsideClasses)
{
    CRegexpT<char16_t> boundary(u"\\b");
    CContext* c = boundary.StartSearch(u"a\u00e9b", 3);
    std::string at;
    for (MatchResult r = boundary.Match(c); r.Found(); r = boundary.Match(c)) at += std::to_string(r.MatchBegin());
    CRegexpT<char16_t>::EndSearch(c);
    EXPECT_EQ(at, "0123");

    EXPECT_FALSE(CRegexpT<char16_t>(u"[[:alpha:]]").Match(u"\u00e9").Found());
    EXPECT_TRUE(CRegexpT<char16_t>(u"[[:^alpha:]]").Match(u"\u00e9").Found());
    EXPECT_TRUE(CRegexpT<char16_t>(u"abc", CaseInsensitive).Match(u"ABC").Found());
    EXPECT_FALSE(CRegexpT<char16_t>(u"\u00e9", CaseInsensitive).Match(u"\u00c9").Found());
    EXPECT_FALSE(CRegexpT<char16_t>(u"[\u00e9]", CaseInsensitive).Match(u"\u00c9").Found());
    EXPECT_FALSE(CRegexpT<char16_t>(u"\\w").Match(u"\u00e9\u0416").Found());
    EXPECT_TRUE(CRegexpT<char16_t>(u"[^a]").Match(u"\u0416").Found());
    EXPECT_TRUE(CRegexpT<char16_t>(u"[\u0400-\u04ff]").Match(u"\u0416").Found());

    EXPECT_FALSE(CRegexpT<char>("[[:alpha:]]").Match("\xe9").Found());
    EXPECT_TRUE(CRegexpT<char>("[[:^alpha:]]").Match("\xe9").Found());
    EXPECT_FALSE(CRegexpT<char>("\\w").Match("\xe9").Found());
    EXPECT_FALSE(CRegexpT<char>("\xe9", CaseInsensitive).Match("\xc9").Found());
    EXPECT_TRUE(CRegexpT<char>(".").Match("\xff").Found());
}

// The 8-bit engine orders its code units as signed bytes.
TEST(RegexMatching, NarrowRangesAreSigned)
{
    EXPECT_FALSE(CRegexpT<char>("[a-\\xE9]").Match("a\xe9").Found());
    EXPECT_TRUE(CRegexpT<char>("[\\x80-\\xFF]").Match("a\xe9").Found());
    EXPECT_EQ(CRegexpT<char>("[\\x80-\\xFF]+").Match("ab\x80\xff").MatchBegin(), 2);
    EXPECT_FALSE(CRegexpT<char>("[\\x80-\\xFF]").Match("a\x7f").Found());
    EXPECT_TRUE(CRegexpT<char>("[\\xFF-a]").Match("\x05").Found());
    EXPECT_FALSE(CRegexpT<char16_t>(u"[\\xFF-a]").Match(u"\x05").Found());
    EXPECT_TRUE(CRegexpT<char16_t>(u"[a-\\xE9]").Match(u"\u00e9").Found());
}

TEST(RegexMatching, LookAroundCaptures)
{
    EXPECT_EQ(Find<char16_t>("(?!(a)b)a", "ac"), "0-1 x");
    EXPECT_EQ(Find<char16_t>("(?=(a))", "a"), "0-0 0-1");
    EXPECT_EQ(Find<char16_t>("(?=(a))a\\1", "aa"), "0-2 0-1");
    EXPECT_EQ(Find<char16_t>("(?<=(a))b", "ab"), "1-2 0-1");
    EXPECT_EQ(Find<char16_t>("(?<=a(b))c", "abc"), "2-3 1-2");
    EXPECT_EQ(Find<char16_t>("(?<=^|,)\\w", "a,b"), "0-1");
}

TEST(RegexMatching, RightToLeft)
{
    EXPECT_EQ(Find<char16_t>("(ab)", "xabab", RightToLeftScan), "3-5 3-5");
    EXPECT_EQ(Find<char16_t>("\\1(a)", "aa", RightToLeftScan), "0-2 1-2");
    EXPECT_EQ(Find<char16_t>("a+", "baab", RightToLeftScan), "1-3");
    EXPECT_EQ(Find<char16_t>("a+?", "baab", RightToLeftScan), "2-3");
    EXPECT_EQ(Find<char16_t>("^a", "aa", RightToLeftScan), "0-1");
    EXPECT_EQ(Find<char16_t>("a$", "aa", RightToLeftScan), "1-2");
    EXPECT_EQ(Walk<char16_t>("\\d", "a1b2", RightToLeftScan), "3-4,1-2");
    EXPECT_EQ(Find<char>("[[:digit:]]+", "1a23", RightToLeftScan), "2-4");
    EXPECT_EQ(Find<char>("(?=a)", "ab", RightToLeftScan), "0-0");
}

// Start-position shortcuts and repeats that skip giving units back must not change results.
TEST(RegexMatching, SearchShortcutsKeepResults)
{
    const Case finds[] = {
        {"(\\w+)\\s+\\1\\b", "abc abcd abc abc", 0, "9-16 9-12"},
        {"(a+)ab", "aaab", 0, "0-4 0-2"},
        {"[a-z]+@", "ab cd@", 0, "3-6"},
        {"(x+)(?:y|x)", "xx", 0, "0-2 0-1"},
        {"(a+)b?a", "aa", 0, "0-2 0-1"},
        {"(a+)(?1)b", "aab", 0, "0-3 1-2"},
        {"((a+))a", "aaa", 0, "0-3 0-2 0-2"},
        {"(?:(a+)|b)a", "aa", 0, "0-2 0-1"},
        {"\\Aa|^b", "ba", 0, "0-1"},
        {"(?:ab){2}", "abaabab", 0, "3-7"},
        {"ABC", "xabc", CaseInsensitive, "1-4"},
        {"\\bfoo", "xfoo foo", 0, "5-8"},
        {"(?=b)\\w", "ab", 0, "1-2"},
        {"a*b", "xxab", 0, "2-4"},
    };
    for (const auto& c : finds) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(Find<char16_t>(c.pattern, c.text, c.flags), c.expected);
        EXPECT_EQ(Find<char>(c.pattern, c.text, c.flags), c.expected);
    }
    const Case walks[] = {
        {"^ab", "abab", 0, "0-2"},
        {"^b", "a\nb\rb\r\nb", LineAnchors, "2-3,4-5,7-8"},
        {"abc", "ababcabc", 0, "2-5,5-8"},
        {"\\b\\w", "ab cd", 0, "0-1,3-4"},
    };
    for (const auto& c : walks) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(Walk<char16_t>(c.pattern, c.text, c.flags), c.expected);
        EXPECT_EQ(Walk<char>(c.pattern, c.text, c.flags), c.expected);
    }
    EXPECT_EQ(Describe(CRegexpT<char16_t>(u"[^a]b").Match(u"a\u0416b")), "1-3");
    EXPECT_EQ(Describe(CRegexpT<char>("[\\x80-\\xff]x").Match("a\xe9x")), "1-3");
    EXPECT_EQ(Describe(CRegexpT<char>("\\b\\w+").Match("\xe9" "abc")), "1-4");
}

TEST(RegexMatching, Recursion)
{
    EXPECT_EQ(Find<char16_t>("(a(?1)?b)", "aabb"), "0-4 0-4");
    EXPECT_EQ(Find<char16_t>("^(\\((?1)*\\))$", "(()(()))"), "0-8 0-8");
    EXPECT_EQ(Find<char16_t>("^(\\((?1)*\\))$", "(()(())"), "no");
    EXPECT_EQ(Find<char>("<(?:[^<>]|(?R))*>", "x<a<b>c>"), "1-8");
}

}  // namespace
