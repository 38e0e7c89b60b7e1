#include <gtest/gtest.h>

#include "app/RegExpUtils.h"

TEST(RegExpUtils, EscapesPatternCharactersOnly) {
    EXPECT_EQ(RegExpEscape(u"a.b (1)+c"), u"a\\.b\\ \\(1\\)\\+c");
    EXPECT_EQ(RegExpEscape(u"x]y-z"), u"x]y-z");
    EXPECT_EQ(RegExpEscape(u"[\\^$|?*{}#\t"), u"\\[\\\\\\^\\$\\|\\?\\*\\{\\}\\#\\\t");
}

TEST(RegExpUtils, EscapedTextMatchesItselfLiterally) {
    const WideString literal = u"<part1.2$x> (a|b)*";
    EXPECT_EQ(RegExpFirstGroup(u"cid: " + literal + u" end", RegExpEscape(literal)), literal);
}

TEST(RegExpUtils, ReplaceAllMatches) {
    EXPECT_EQ(RegExpReplace(u"a\r\nb\tc", u"[\r\n\t]", u"", 1), u"abc");
    EXPECT_EQ(RegExpReplace(u"C,,FOLDERS,,X", u",,", u","), u"C,FOLDERS,X");
    EXPECT_EQ(RegExpReplace(u"no match", u"z+", u"y"), u"no match");
    EXPECT_EQ(RegExpReplace(u"ABC", u"b", u"x", 8), u"AxC");
}

// A pattern built from data that comes out empty must not wipe (or rewrite) the text.
TEST(RegExpUtils, EmptyPatternLeavesTextUnchanged) {
    EXPECT_EQ(RegExpReplace(u"keep me", u"", u"x"), u"keep me");
    EXPECT_EQ(RegExpFirstGroup(u"text", u""), u"");
}

TEST(RegExpUtils, FirstGroupIsTheWholeFirstMatch) {
    EXPECT_EQ(RegExpFirstGroup(u"Subject: =?utf-8?B?x?=", u"=\\?.+?\\?"), u"=?utf-8?");
    EXPECT_EQ(RegExpFirstGroup(u"abc", u"(x)"), u"");
}

TEST(RegExpUtils, MatchAllWithGroupsTakesTheFirstMatch) {
    TStringList list;
    int start = -1;
    const AnsiString text = "\\f12\\f3";
    EXPECT_EQ(RegExpMatchAll(list, text, "\\\\f([\\d]+)", 0, start), 4);
    EXPECT_EQ(start, 4);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], "12");
    // The caller goes on from the returned position.
    EXPECT_EQ(RegExpMatchAll(list, text, "\\\\f([\\d]+)", 0, start), 7);
    EXPECT_EQ(list[1], "3");
    EXPECT_EQ(RegExpMatchAll(list, text, "\\\\f([\\d]+)", 0, start), -1);
    EXPECT_EQ(start, -1);
    EXPECT_EQ(list.Count(), 2);
}

TEST(RegExpUtils, MatchAllUnsetGroupIsEmpty) {
    TStringList list;
    int start = -1;
    RegExpMatchAll(list, "ab", "(a)(x)?(b)", 0, start);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1], "");
    EXPECT_EQ(list[2], "b");
}

TEST(RegExpUtils, MatchAllWithoutGroupsAppendsEveryMatch) {
    TStringList list;
    int start = -1;
    EXPECT_EQ(RegExpMatchAll(list, "a1 b22 c333", "\\d+", 0, start), -1);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[2], "333");
}

// An empty-matching pattern without groups must not search the same place forever.
TEST(RegExpUtils, MatchAllEmptyMatchesEnd) {
    TStringList list;
    int start = -1;
    EXPECT_EQ(RegExpMatchAll(list, "ab", "x*", 0, start), -1);
    EXPECT_EQ(list.Count(), 3);
}

TEST(RegExpUtils, EmailAddressStrictAndLoose) {
    struct Row {
        const char16_t* address;
        bool strict;
        bool loose;
    };
    const Row rows[] = {
        {u"john.smith@example.com", true, true},
        {u"a_b-c.d@mail.example.museum", true, false},  // 6-letter top-level label
        {u"user@example.travel", true, false},
        {u"x@10.0.0.1", true, false},
        {u"x@example.com:1234", true, true},
        {u"x@example.com:123", false, true},
        {u"x@Example.com", false, true},                 // upper case in the domain
        {u"x@example.c", false, false},                  // one-letter top-level label
        {u"john..smith@example.com", false, true},
        {u" x@example.com", false, true},
        {u"x@example.com ", false, true},
        {u"John Smith <JOHN@EXAMPLE.COM>", false, true},
        {u"no address here", false, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(IsValidEmailAddress(r.address, true), r.strict) << "strict";
        EXPECT_EQ(IsValidEmailAddress(r.address, false), r.loose) << "loose";
    }
}
