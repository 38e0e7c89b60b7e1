// The match driver: search walks, whole-text matches, contexts, both widths, and the limits
// that keep a search over untrusted text bounded.
#include <atomic>
#include <string>

#include <gtest/gtest.h>

#include "RegexTestUtil.h"
#include "regex/RegexpT.h"

using regextest::Describe;
using regextest::Find;
using regextest::Units;
using regextest::Walk;

namespace {

struct WalkCase {
    const char* pattern;
    const char* text;
    int flags;
    int start;
    const char* matches;
};

TEST(RegexDriver, WalksReportEachMatchOnce)
{
    const WalkCase cases[] = {
        {"x*", "abc", 0, -1, "0-0,1-1,2-2,3-3"},
        {"a*", "aab", 0, -1, "0-2,2-2,3-3"},
        {"\\Gab", "ababxab", ContinueAnchor, -1, "0-2,2-4"},
        {"\\Gab", "ababxab", 0, -1, "0-2,2-4,5-7"},  // without the flag \G matches anywhere
        {"abc", "abcabc", RightToLeftScan, -1, "3-6,0-3"},
        {"a*", "abc", 0, 3, "3-3"},
        {"a", "abc", 0, 3, "none"},
        {"b", "abcb", 0, 2, "3-4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(Walk<char16_t>(c.pattern, c.text, c.flags, c.start), c.matches);
        EXPECT_EQ(Walk<char>(c.pattern, c.text, c.flags, c.start), c.matches);
    }
}

TEST(RegexDriver, MatchWholeAnchorsBothEnds)
{
    struct Case {
        const char* pattern;
        const char* text;
        int flags;
        const char* expected;
    } cases[] = {
        {"ab", "abc", 0, "no"},
        {"a.c", "abc", 0, "0-3"},
        {"a*", "", 0, "0-0"},
        {"(a|ab)(c|bcd)", "abcd", 0, "0-4 0-1 1-4"},
        {"a+?", "aaa", 0, "0-3"},
        {"b", "ab", RightToLeftScan, "no"},
        {"a.", "ab", RightToLeftScan, "0-2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        auto p = Units<char16_t>(c.pattern);
        auto t = Units<char16_t>(c.text);
        CRegexpT<char16_t> re(p.c_str(), c.flags);
        EXPECT_EQ(Describe(re.MatchWhole(t.c_str(), static_cast<int>(t.size()))), c.expected);
    }
}

TEST(RegexDriver, ResultLayoutAndAccessors)
{
    CRegexpT<char16_t> re(u"(a)(x)?(b)");
    MatchResult r = re.Match(u"zab");
    ASSERT_EQ(r.Count(), 2 * 3 + 4);
    EXPECT_EQ(r[0], 1);
    EXPECT_EQ(r.HighestGroup(), 3);
    EXPECT_EQ(r.MatchBegin(), 1);
    EXPECT_EQ(r.MatchEnd(), 3);
    EXPECT_EQ(r.GroupBegin(2), -1);
    EXPECT_EQ(r.GroupEnd(2), -1);
    EXPECT_EQ(r.GroupBegin(3), 2);
    EXPECT_EQ(r.GroupBegin(4), -1);  // beyond the count

    MatchResult none = re.Match(u"zzz");
    EXPECT_EQ(none.Found(), 0);
    EXPECT_EQ(none.HighestGroup(), 0);
    EXPECT_EQ(none.MatchBegin(), -1);
}

TEST(RegexDriver, NoPatternMatchesNothing)
{
    CRegexpT<char16_t> none(nullptr);
    EXPECT_FALSE(none.Match(u"abc").Found());
    EXPECT_FALSE(none.MatchWhole(u"").Found());
    EXPECT_EQ(none.StartSearch(u"abc", 3), nullptr);
    EXPECT_EQ(none.Replace(u"abc", u"x"), nullptr);

    CRegexpT<char16_t> empty(u"");
    EXPECT_EQ(Describe(empty.Match(u"abc")), "0-0");
}

TEST(RegexDriver, ContextIsReusedForAnotherText)
{
    CRegexpT<char16_t> re(u"\\d+");
    CContext* c = re.StartSearch(u"a1b22", 5);
    EXPECT_EQ(Describe(re.Match(c)), "1-2");
    EXPECT_EQ(re.StartSearch(u"333", 3, -1, c), c);
    EXPECT_EQ(Describe(re.Match(c)), "0-3");
    EXPECT_FALSE(re.Match(c).Found());
    EXPECT_FALSE(re.Match(c).Found());  // stays at its end
    CRegexpT<char16_t>::EndSearch(c);
    CRegexpT<char16_t>::EndSearch(nullptr);
}

TEST(RegexDriver, NamedGroupNumberIgnoresCase)
{
    CRegexpT<char16_t> re(u"(x)(?<name>y)");
    EXPECT_EQ(re.Builder().NamedGroupNumber(u"NAME", 4), 2);
    EXPECT_EQ(re.Builder().NamedGroupNumber(u"nam", 3), -3);
}

TEST(RegexDriver, NumbersHaveThreeDigitsInTheNarrowEngine)
{
    const std::string hundred(100, 'a'), thousand(1000, 'a');
    EXPECT_EQ(Find<char>("^a{1000}$", hundred), "0-100");
    EXPECT_EQ(Find<char>("^a{1000}$", thousand), "no");
    EXPECT_EQ(Find<char16_t>("^a{1000}$", thousand), "0-1000");
    EXPECT_EQ(Find<char16_t>("^a{1000}$", hundred), "no");
}

// A start index past the end used to loop forever and read beyond the text.
TEST(RegexDriver, StartBeyondTheTextIsClamped)
{
    for (int flags : {0, int(RightToLeftScan)}) {
        CRegexpT<char16_t> re(u"\\b|$", flags);
        MatchResult r = re.Match(u"ab", 2, 50);
        ASSERT_TRUE(r.Found());
        EXPECT_EQ(r.MatchBegin(), 2);
        CContext* c = re.StartSearch(u"ab", 2, 1000);
        EXPECT_TRUE(re.Match(c).Found());
        CRegexpT<char16_t>::EndSearch(c);
    }
    CRegexpT<char> narrow("a");
    EXPECT_FALSE(narrow.Match("aaa", 3, 7).Found());
}

TEST(RegexDriver, LongTextDoesNotDeepenTheCallStack)
{
    std::u16string text(1 << 20, u'a');
    for (size_t i = 0; i < text.size(); i += 3) text[i] = u'b';
    CRegexpT<char16_t> re(u"(a|b)*");
    MatchResult r = re.Match(text.c_str(), static_cast<int>(text.size()), -1);
    EXPECT_EQ(r.MatchEnd(), static_cast<int>(text.size()));
    EXPECT_EQ(r.GroupBegin(1), static_cast<int>(text.size()) - 1);
}

// A numeric group name of a million used to re-initialise a million slots per position.
TEST(RegexDriver, HugeGroupNumberStaysCheap)
{
    std::u16string text(200000, u'b');
    text += u"a";
    CRegexpT<char16_t> re(u"(?<999999>a)");
    MatchResult r = re.Match(text.c_str(), static_cast<int>(text.size()), -1);
    ASSERT_TRUE(r.Found());
    EXPECT_EQ(r.HighestGroup(), 999999);
    EXPECT_EQ(r.GroupBegin(999999), 200000);
    EXPECT_EQ(r.GroupBegin(5), -1);
}

// Recursion that re-enters without consuming text used to overflow the call stack.
TEST(RegexDriver, RecursionDepthIsLimited)
{
    EXPECT_EQ(Find<char16_t>("(?R)", "abc"), "no");
    EXPECT_EQ(Find<char>("(?R)", "abc"), "no");
    EXPECT_EQ(Find<char16_t>("(?R)a|b", "b"), "0-1");

    // Balanced nesting far deeper than the limit fails instead of crashing.
    std::u16string deep(200000, u'(');
    deep += std::u16string(200000, u')');
    CRegexpT<char16_t> balanced(u"\\((?R)*\\)");
    EXPECT_FALSE(balanced.MatchWhole(deep.c_str(), static_cast<int>(deep.size())).Found());
    EXPECT_EQ(Describe(balanced.Match(u"x(()())")), "1-7");
}

TEST(RegexDriver, NestingTooDeepMatchesNothingThere)
{
    std::string pattern = "x|";
    for (int i = 0; i < 5000; ++i) pattern += '(';
    pattern += 'a';
    for (int i = 0; i < 5000; ++i) pattern += ')';
    EXPECT_EQ(Find<char16_t>(pattern, "a"), "no");
    EXPECT_EQ(Find<char16_t>(pattern, "x").substr(0, 3), "0-1");
}

std::atomic<int> g_exhausted{0};
void CountExhausted(std::int64_t) { ++g_exhausted; }

TEST(RegexDriver, StepBudgetEndsAHostileSearch)
{
    SetRegexBudgetHandler(CountExhausted);
    std::u16string text(5000, u'a');
    CRegexpT<char16_t> re(u"(?:a|aa)*(?:a|aa)*(?:a|aa)*b");
    re.SetStepBudget(100000);
    CContext c;
    MatchResult r = re.Match(text.c_str(), static_cast<int>(text.size()), -1, &c);
    EXPECT_FALSE(r.Found());
    EXPECT_TRUE(c.budgetExhausted);
    EXPECT_EQ(g_exhausted.load(), 1);

    // The same search on a matching text stays within its budget.
    text += u"b";
    r = re.Match(text.c_str(), static_cast<int>(text.size()), -1, &c);
    EXPECT_TRUE(r.Found());
    EXPECT_FALSE(c.budgetExhausted);
    SetRegexBudgetHandler(nullptr);
}

TEST(RegexDriver, DefaultBudgetIsGenerous)
{
    CRegexpT<char16_t> re(u"[a-z]+ing");
    EXPECT_EQ(re.StepBudget(), CRegexpT<char16_t>::kDefaultStepBudget);
    std::u16string text;
    for (int i = 0; i < 20000; ++i) text += u"sometimes words go by ";
    text += u"nothing";
    CContext c;
    EXPECT_TRUE(re.Match(text.c_str(), static_cast<int>(text.size()), -1, &c).Found());
    EXPECT_FALSE(c.budgetExhausted);
}

}  // namespace
