// Replacing matches with literal text and "$" references.
#include <string>

#include <gtest/gtest.h>

#include "regex/RegexpT.h"

namespace {

std::u16string ReplaceAll(const char16_t* pattern, const char16_t* text, const char16_t* replacement,
                          int flags = 0, int start = -1, int count = -1)
{
    CRegexpT<char16_t> re(pattern, flags);
    char16_t* out = re.Replace(text, replacement, start, count);
    if (!out) return u"<null>";
    std::u16string s(out);
    CRegexpT<char16_t>::FreeString(out);
    return s;
}

TEST(RegexReplace, References)
{
    struct Case {
        const char16_t* pattern;
        const char16_t* text;
        const char16_t* replacement;
        const char16_t* expected;
    } cases[] = {
        {u"a(b)c", u"xabcx", u"[$1]", u"x[b]x"},
        {u"a(b)c", u"xabcx", u"$&$&", u"xabcabcx"},
        {u"a(b)c", u"xabcx", u"$`|$'", u"xx|xx"},
        {u"a(b)c", u"xabcx", u"$_", u"xxabcxx"},
        {u"a(b)c", u"xabcx", u"$$", u"x$x"},
        {u"a(b)c", u"xabcx", u"$0", u"xabcx"},
        {u"(a)(b)(c)", u"abc", u"$12", u"a2"},
        {u"(a)(b)(c)", u"abc", u"$9", u"$9"},
        {u"(a)(b)(c)", u"abc", u"$3$2$1", u"cba"},
        {u"(a)(x)?", u"a", u"[$2]", u"[]"},
        {u"(a)(x)?", u"a", u"[$+]", u"[a]"},
        {u"a", u"a", u"[$+]", u"[a]"},
        {u"a(?<Name>b)c", u"abc", u"[${name}]", u"[b]"},
        {u"a(?<Name>b)c", u"abc", u"[${nosuch}]", u"[${nosuch}]"},
        {u"a(b)c", u"abc", u"[${1}]", u"[${1}]"},
        {u"x*", u"ab", u"-", u"-a-b-"},
        {u"a*", u"baaac", u"-", u"-b--c-"},
        {u"b", u"abc", u"$", u"a$c"},
        {u"b", u"abc", u"\\1$x", u"a\\1$xc"},
        {u"\\d", u"a1b2", u"<$&>", u"a<1>b<2>"},
        {u"z", u"abc", u"-", u"abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.replacement, c.replacement + std::u16string(c.replacement).size()));
        EXPECT_EQ(ReplaceAll(c.pattern, c.text, c.replacement), c.expected);
    }
}

TEST(RegexReplace, RightToLeftGivesTheSameText)
{
    EXPECT_EQ(ReplaceAll(u"\\d", u"a1b2", u"<$&>", RightToLeftScan), u"a<1>b<2>");
    EXPECT_EQ(ReplaceAll(u"(\\d)(\\w)", u"1a2b", u"$2$1", RightToLeftScan), u"a1b2");
    EXPECT_EQ(ReplaceAll(u"\\d", u"a1b2", u"<$`>", RightToLeftScan), u"a<a>b<a1b>");
}

TEST(RegexReplace, StartAndCount)
{
    EXPECT_EQ(ReplaceAll(u"a", u"aaa", u"b", 0, -1, 1), u"baa");
    EXPECT_EQ(ReplaceAll(u"a", u"aaaa", u"b", 0, 2), u"aabb");
    EXPECT_EQ(ReplaceAll(u"a", u"aaa", u"b", 0, -1, 0), u"aaa");
    EXPECT_EQ(ReplaceAll(u"a", u"aaaa", u"b", RightToLeftScan, 2), u"bbaa");
    EXPECT_EQ(ReplaceAll(u"a", u"aaa", u"b", 0, 99), u"aaa");
}

TEST(RegexReplace, SummaryAndLengths)
{
    CRegexpT<char16_t> re(u"a");
    MatchResult summary;
    int length = 0;
    char16_t* out = re.Replace(u"aXa", 3, u"bb", 2, length, -1, -1, &summary);
    EXPECT_EQ(std::u16string(out), u"bbXbb");
    EXPECT_EQ(length, 5);
    ASSERT_EQ(summary.Count(), 4);  // the search ended: the final empty result took the ints
    EXPECT_EQ(summary[0], 5);
    EXPECT_EQ(summary[1], 2);
    EXPECT_EQ(summary[2], 3);
    EXPECT_EQ(summary[3], 5);
    CRegexpT<char16_t>::ReleaseString(out);

    // Ended by count: the four ints follow the last match's entries.
    out = re.Replace(u"aXa", u"bb", -1, 1, &summary);
    EXPECT_EQ(std::u16string(out), u"bbXa");
    ASSERT_EQ(summary.Count(), 4 + 4);
    EXPECT_EQ(summary.MatchBegin(), 0);
    EXPECT_EQ(summary[4], 4);
    EXPECT_EQ(summary[5], 1);
    EXPECT_EQ(summary[6], 0);
    EXPECT_EQ(summary[7], 2);
    CRegexpT<char16_t>::FreeString(out);
    CRegexpT<char16_t>::FreeString(nullptr);
}

TEST(RegexReplace, NarrowEngineAndGivenContext)
{
    CRegexpT<char> re("(\\w+)@(\\w+)");
    CContext context;
    int length = 0;
    char* out = re.Replace("mail bob@host now", 17, "$2 at $1", 8, length, -1, -1, nullptr, &context);
    EXPECT_EQ(std::string(out, static_cast<size_t>(length)), "mail host at bob now");
    CRegexpT<char>::FreeString(out);
}

}  // namespace
