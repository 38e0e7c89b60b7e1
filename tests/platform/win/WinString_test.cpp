#include <gtest/gtest.h>

#include "platform/win/FileNameText.h"
#include "platform/win/WinString.h"

TEST(WinString, ConvertsWellFormedTextBothWays) {
    const struct { const char* utf8; std::u16string utf16; } cases[] = {
        {"", u""},
        {"plain ASCII", u"plain ASCII"},
        {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},                       // 2-byte
        {"\xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC", u"\u20AC \u65E5\u672C"},  // 3-byte
        {"\xF0\x9F\x98\x80", u"\U0001F600"},                            // 4-byte -> pair
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
        EXPECT_TRUE(IsValidUtf8(c.utf8)) << c.utf8;
    }
    EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(WinString, LoneSurrogatesSurviveARoundTripAsWtf8) {
    const std::u16string cases[] = {
        std::u16string(1, char16_t(0xD800)),
        std::u16string(1, char16_t(0xDFFF)),
        std::u16string{u'x', char16_t(0xDC00), char16_t(0xD83D)},  // low before high: two lone units
        std::u16string{char16_t(0xD83D), u'y'},
    };
    for (const auto& w : cases) {
        const std::string bytes = Utf16ToUtf8(w);
        EXPECT_FALSE(IsValidUtf8(bytes));
        EXPECT_EQ(Utf8ToUtf16(bytes), w);
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xED\xA0\x80");
}

TEST(WinString, InvalidUtf8BecomesOneReplacementPerMaximalSubpart) {
    const struct { std::string in; std::u16string out; } cases[] = {
        {"\x80", u"\uFFFD"},                                // stray continuation
        {"a\xFF" "b", u"a\uFFFDb"},                          // never-valid byte
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                       // overlong '/'
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},             // overlong 3-byte
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},   // above U+10FFFF
        {"\xE2\x82", u"\uFFFD"},                             // truncated at the end
        {"\xE2\x82x", u"\uFFFDx"},                           // truncated in the middle
        {"\xF0\x9F\x98", u"\uFFFD"},
        {"\xC3", u"\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.in), c.out) << testing::PrintToString(c.in);
        EXPECT_FALSE(IsValidUtf8(c.in));
    }
}

// ASCII is skipped eight bytes at a time: a sequence at every place of a block is still seen.
TEST(WinString, ASequenceAnywhereInALongAsciiRunIsDecoded) {
    for (size_t before = 0; before < 18; ++before) {
        const std::string ascii(before, 'a'), tail(9, 'b');
        EXPECT_EQ(Utf8ToUtf16(ascii + "\xC3\xA9" + tail), std::u16string(before, u'a') + u"\u00E9" + std::u16string(9, u'b'));
        EXPECT_TRUE(IsValidUtf8(ascii + "\xC3\xA9" + tail)) << before;
        EXPECT_EQ(Utf8ToUtf16(ascii + "\xFF" + tail), std::u16string(before, u'a') + u"\uFFFD" + std::u16string(9, u'b'));
        EXPECT_FALSE(IsValidUtf8(tail + ascii + "\xE2\x82")) << before;
    }
}

TEST(WinString, FileNamesKeepEveryByteThroughUtf16) {
    struct Case {
        std::string bytes;
        std::u16string wide;
    } const cases[] = {
        {"plain", u"plain"},
        {"Gr\xc3\xbc\xc3\x9f\xe2\x82\xac \xf0\x9f\x98\x80", u"Grüß€ \U0001F600"},
        {"caf\xe9", u"caf\xDCE9"},
        {"\xe9t\xc3", u"\xDCE9t\xDCC3"},
        {"\xed\xb2\x80", u"\xDCED\xDCB2\xDC80"},  // a surrogate written as bytes is no UTF-8
        {"\xf0\x9f\x98", u"\xDCF0\xDC9F\xDC98"},  // a sequence cut short
        {"\xf0\x90\x82\x80\xff", u"\U00010080\xDCFF"},  // a pair ending in DC80 stays a pair
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameToUtf16(c.bytes), c.wide) << c.bytes;
        EXPECT_EQ(FileNameFromUtf16(c.wide), c.bytes) << c.bytes;
    }
}

TEST(WinString, WideFormatFollowsTheWidePrintfRules) {
    const char16_t* nullWide = nullptr;
    const char* nullNarrow = nullptr;
    EXPECT_EQ(WideFormat(u"%s and %ls", u"wide", u"also wide"), u"wide and also wide");
    EXPECT_EQ(WideFormat(u"%hs", "\xC3\xA9t\xC3\xA9"), u"\u00E9t\u00E9");
    EXPECT_EQ(WideFormat(u"[%s|%hs]", nullWide, nullNarrow), u"[(null)|(null)]");
    EXPECT_EQ(WideFormat(u"[%5s|%-5s|%.2s|%*s|%-*.*s]", u"ab", u"ab", u"abcdef", 4, u"x", 4, 1, u"yz"),
              u"[   ab|ab   |ab|   x|y   ]");
    EXPECT_EQ(WideFormat(u"%d %i %u %x %X", -42, 7, 4000000000u, 255, 255), u"-42 7 4000000000 ff FF");
    EXPECT_EQ(WideFormat(u"[%5d|%-5d|%05d|%.3d|%+d|%*d]", 42, 42, -42, 7, 5, 3, 1), u"[   42|42   |-0042|007|+5|  1]");
    EXPECT_EQ(WideFormat(u"%ld %lu %lx", static_cast<LONG>(-1), static_cast<DWORD>(0xFFFFFFFFu), static_cast<DWORD>(0xABCu)),
              u"-1 4294967295 abc");
    EXPECT_EQ(WideFormat(u"%lld %llu %I64d", -9000000000LL, 18446744073709551615ULL, 1LL << 40),
              u"-9000000000 18446744073709551615 1099511627776");
    EXPECT_EQ(WideFormat(u"%c%c%hc", u'\u00E9', 'x', 'y'), u"\u00E9xy");
    EXPECT_EQ(WideFormat(u"100%% %.2f", 2.5), u"100% 2.50");
    EXPECT_EQ(WideFormat(u"%q %k stays"), u"%q %k stays");  // unknown conversions: literal, no argument
    EXPECT_EQ(WideFormat(u"ends with %-5"), u"ends with %-5");
    EXPECT_EQ(WideFormat(u"%s", u"\U0001F600"), u"\U0001F600");
}

TEST(WinString, AnsiFormatTakesUtf8ForPercentS) {
    EXPECT_EQ(AnsiFormat("%s=%d %ls", "\xE2\x82\xAC", 3, u"\u00E9"), "\xE2\x82\xAC=3 \xC3\xA9");
    EXPECT_EQ(AnsiFormat("%-4s|%04x", "ab", 0x1F), "ab  |001f");
}
