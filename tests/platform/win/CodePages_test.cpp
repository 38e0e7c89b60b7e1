#include <gtest/gtest.h>

#include "platform/win/CodePages.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

AnsiString Encode(UINT cp, const WideString& text, BOOL* usedDefault = nullptr, DWORD flags = 0,
                  const char* defaultChar = nullptr) {
    const int n = WideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      defaultChar, usedDefault);
    if (n == 0) return "<failed>";
    AnsiString out(static_cast<std::size_t>(n), '\0');
    EXPECT_EQ(WideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()), out.data(), n,
                                  defaultChar, usedDefault),
              n);
    return out;
}

WideString Decode(UINT cp, const AnsiString& bytes, DWORD flags = 0) {
    const int n = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n == 0) return u"<failed>";
    WideString out(static_cast<std::size_t>(n), u'\0');
    EXPECT_EQ(MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n), n);
    return out;
}

std::string Hex(const std::string& bytes) { return testing::PrintToString(bytes); }

}  // namespace

TEST(CodePages, EveryListedCodePageRoundTripsItsOwnScript) {
    const struct { UINT cp; WideString text; } cases[] = {
        {437, u"Caf\u00E9 \u00C7a \u2591\u2592"},     {850, u"Caf\u00E9 \u00D8re \u00E6\u00DF"},
        {852, u"\u0141\u00F3d\u017A \u010Ce\u0161tina"}, {866, u"\u041F\u0440\u0438\u0432\u0435\u0442"},
        {874, u"\u0E2A\u0E27\u0E31\u0E2A\u0E14\u0E35"}, {932, u"\u65E5\u672C\u8A9E\u30C6\u30AD\u30B9\u30C8 \uFF71\uFF72 \u2460"},
        {936, u"\u4E2D\u6587\u7B80\u4F53 \u20AC"},     {949, u"\uD55C\uAD6D\uC5B4 \uD14D\uC2A4\uD2B8"},
        {950, u"\u4E2D\u6587\u7E41\u9AD4"},           {1200, u"mixed \u00E9 \U0001F600"},
        {1201, u"mixed \u00E9 \U0001F600"},           {1250, u"P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD"},
        {1251, u"\u041F\u0440\u0438\u0432\u0435\u0442"}, {1252, u"\u20AC \u201Cquotes\u201D Caf\u00E9"},
        {1253, u"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"}, {1254, u"T\u00FCrk\u00E7e \u011F\u0131\u015F"},
        {1255, u"\u05E2\u05D1\u05E8\u05D9\u05EA"},     {1256, u"\u0627\u0644\u0639\u0631\u0628\u064A\u0629"},
        {1257, u"Lietuvi\u0173 \u0105\u010D\u0119"},   {1258, u"\u00C2\u00CA\u00D4 \u0111\u01B0\u01A1"},
        {1361, u"\uD55C\uAD6D\uC5B4"},                 {10000, u"Caf\u00E9 \u0192 \u03C0"},
        {10007, u"\u041F\u0440\u0438\u0432\u0435\u0442"}, {10029, u"\u0141\u00F3d\u017A"},
        {20127, u"plain ASCII ~"},                     {20866, u"\u041F\u0440\u0438\u0432\u0435\u0442"},
        {21866, u"\u041F\u0440\u0438\u0432\u0456\u0442 \u0491"}, {28591, u"Caf\u00E9 \u00FF"},
        {28592, u"\u0141\u00F3d\u017A"},               {28593, u"\u0120\u0127"},
        {28594, u"\u0100\u0112\u012A"},               {28595, u"\u041F\u0440\u0438\u0432\u0435\u0442"},
        {28596, u"\u0639\u0631\u0628\u064A"},         {28597, u"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"},
        {28598, u"\u05E2\u05D1\u05E8\u05D9\u05EA"},   {28599, u"T\u00FCrk\u00E7e \u011F\u0131\u015F"},
        {28600, u"\u014A\u0166"},                      {28603, u"\u0105\u010D\u0119"},
        {28604, u"\u0174\u0177"},                      {28605, u"\u20AC \u0152"},
        {28606, u"\u0218\u021B"},                      {38598, u"\u05E2\u05D1\u05E8\u05D9\u05EA"},
        {50220, u"\u65E5\u672C\u8A9E\u30C6\u30AD\u30B9\u30C8 abc"},
        {50221, u"\u65E5\u672C\u8A9E \uFF71\uFF72"},   {50222, u"\u65E5\u672C\u8A9E"},
        {50225, u"\uD55C\uAD6D\uC5B4"},                {51932, u"\u65E5\u672C\u8A9E\u30C6\u30AD\u30B9\u30C8"},
        {51936, u"\u4E2D\u6587"},                      {51949, u"\uD55C\uAD6D\uC5B4"},
        {52936, u"\u4E2D\u6587 ~ text"},               {54936, u"\u4E2D\u6587 \U0001F600 \u20AC"},
        {65000, u"UTF-7 \u65E5\u672C +x"},             {65001, u"\U0001F600 \u00E9"},
        {CP_SYMBOL, u"\uF041\uF0B7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cp);
        ASSERT_TRUE(IsValidCodePage(c.cp));
        BOOL usedDefault = TRUE;
        const AnsiString bytes = Encode(c.cp, c.text, &usedDefault);
        EXPECT_FALSE(usedDefault);
        EXPECT_EQ(Decode(c.cp, bytes, MB_ERR_INVALID_CHARS), c.text) << Hex(bytes);
        EXPECT_EQ(DecodeCodePage(c.cp, EncodeCodePage(c.cp, c.text)), c.text);
    }
}

TEST(CodePages, WritesTheBytesMailReadersExpect) {
    const struct { UINT cp; WideString text; std::string bytes; } cases[] = {
        {1252, u"\u20AC\u00E9", "\x80\xE9"},
        {932, u"\u65E5\u672C", "\x93\xFA\x96\x7B"},
        {936, u"\u4E2D\u6587", "\xD6\xD0\xCE\xC4"},
        {949, u"\uD55C\uAD6D", "\xC7\xD1\xB1\xB9"},
        {950, u"\u4E2D\u6587", "\xA4\xA4\xA4\xE5"},
        {50220, u"a\u65E5\u672C", "a\x1B$BF|K\\\x1B(B"},
        {52936, u"\u4E2D\u6587~", "~{VPND~}~~"},
        {65000, u"A\u65E5\u672C", "A+ZeVnLA-"},
        {1201, u"A\u00E9", std::string("\0A\0\xE9", 4)},
        {54936, u"\u20AC", "\xA2\xE3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cp);
        EXPECT_EQ(Encode(c.cp, c.text), c.bytes);
        EXPECT_EQ(Decode(c.cp, c.bytes), c.text);
    }
}

TEST(CodePages, InvalidAndTruncatedInputFailsOnlyWhenAsked) {
    const struct { UINT cp; std::string bytes; WideString lenient; } cases[] = {
        {932, "ab\x81", u"ab\uFFFD"},          // lead byte cut off at the end
        {932, "\x81 x", u"\uFFFD x"},          // lead byte without a valid trail keeps the next byte
        {936, "\xD6", u"\uFFFD"},
        {65001, "a\xC3", u"a\uFFFD"},
        {65001, "\xED\xA0\x80", u"\xD800"},  // a lone surrogate is invalid UTF-8 but read back
        {65001, "\xFF", u"\uFFFD"},
        {1200, std::string("A\0B", 3), u"A\uFFFD"},
        {1252, "\x81", u"\uFFFD"},             // a hole in the table
        {1252, "caf\xE9 \x81\x80", u"caf\u00E9 \uFFFD\u20AC"},  // a hole amid readable bytes
        {20127, "a\xE9", u"a\uFFFD"},           // ASCII has no upper half
        {54936, "\x81\x30", u"\uFFFD"},        // half a four-byte sequence
        {52936, "~{VP", u"\u4E2D"},            // an unterminated run still decodes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cp);
        if (c.cp != 52936) {
            SetLastError(0);
            char16_t buf[16];
            EXPECT_EQ(MultiByteToWideChar(c.cp, MB_ERR_INVALID_CHARS, c.bytes.data(), static_cast<int>(c.bytes.size()), buf, 16), 0)
                << Hex(c.bytes);
            EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
        }
        EXPECT_EQ(Decode(c.cp, c.bytes), c.lenient) << Hex(c.bytes);
    }
}

TEST(CodePages, ReportsArgumentErrorsTheWin32Way) {
    char16_t wide[8];
    char narrow[8];
    const struct { int result; DWORD error; } cases[] = {
        {MultiByteToWideChar(12345, 0, "abc", 3, wide, 8), ERROR_INVALID_PARAMETER},
        {WideCharToMultiByte(12345, 0, u"abc", 3, narrow, 8, nullptr, nullptr), ERROR_INVALID_PARAMETER},
        {MultiByteToWideChar(1252, 0, nullptr, 3, wide, 8), ERROR_INVALID_PARAMETER},
        {MultiByteToWideChar(1252, 0, "abc", 0, wide, 8), ERROR_INVALID_PARAMETER},
        {MultiByteToWideChar(1252, 0, "abc", -2, wide, 8), ERROR_INVALID_PARAMETER},
        {MultiByteToWideChar(1252, 0x1000, "abc", 3, wide, 8), ERROR_INVALID_FLAGS},
        {MultiByteToWideChar(1252, 0, "abcdef", 6, wide, 3), ERROR_INSUFFICIENT_BUFFER},
        {WideCharToMultiByte(932, 0, u"\u65E5\u672C", 2, narrow, 3, nullptr, nullptr), ERROR_INSUFFICIENT_BUFFER},
        {WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"a\xD800", 2, narrow, 8, nullptr, nullptr),
         ERROR_NO_UNICODE_TRANSLATION},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].result, 0) << i;
    }
    // The error of each call is checked right after it, since a later call overwrites it.
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(12345, 0, "abc", 3, wide, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(IsValidCodePage(12345));
    CPINFO info;
    EXPECT_FALSE(GetCPInfo(12345, &info));
    EXPECT_EQ(MultiByteToWideChar(1252, 0x1000, "abc", 3, wide, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abcdef", 6, wide, 3), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"a\xD800", 2, narrow, 8, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(CodePages, CountsTheTerminatorWithMinusOneAndAnswersSizeQueries) {
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xC3\xA9t\xC3\xA9", -1, nullptr, 0), 4);
    char16_t wide[4];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xC3\xA9t\xC3\xA9", -1, wide, 4), 4);
    EXPECT_EQ(WideString(wide), u"\u00E9t\u00E9");
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E9", -1, nullptr, 0, nullptr, nullptr), 3);
    EXPECT_EQ(MultiByteToWideChar(1200, 0, "A\0\0\0", -1, nullptr, 0), 2);
}

TEST(CodePages, UnmappableCharactersBecomeTheDefaultCharacter) {
    BOOL used = FALSE;
    EXPECT_EQ(Encode(1252, u"a\u65E5b", &used), "a?b");
    EXPECT_TRUE(used);
    EXPECT_EQ(Encode(1252, u"a\u65E5\U0001F600b", &used, 0, "*"), "a**b");  // a pair is one character
    EXPECT_EQ(Encode(932, u"\u0E01", &used, 0, "\x81\x48"), "\x81\x48");       // double-byte default
    EXPECT_EQ(Encode(CP_UTF8, u"a\xDC00", &used), "a\xEF\xBF\xBD");
    EXPECT_TRUE(used);
    EXPECT_EQ(Encode(CP_UTF8, u"a\u00E9", &used), "a\xC3\xA9");
    EXPECT_FALSE(used);
    // In a shifted encoding the default character is written in ASCII mode.
    const AnsiString jis = Encode(50220, u"\u65E5\u20AC\u672C", &used);
    EXPECT_TRUE(used);
    EXPECT_EQ(Decode(50220, jis), u"\u65E5?\u672C");
    EXPECT_EQ(Encode(52936, u"\u4E2D\u0E01", &used), "~{VP~}?");
}

TEST(CodePages, DescribesCodePages) {
    EXPECT_EQ(GetACP(), 65001u);
    EXPECT_EQ(GetOEMCP(), 437u);
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(932, &info));
    EXPECT_EQ(info.MaxCharSize, 2u);
    EXPECT_EQ(info.DefaultChar[0], '?');
    const BYTE lead932[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(lead932), std::end(lead932), info.LeadByte));
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    EXPECT_EQ(info.MaxCharSize, 4u);
    EXPECT_EQ(info.LeadByte[0], 0);
    ASSERT_TRUE(GetCPInfo(1252, &info));
    EXPECT_EQ(info.MaxCharSize, 1u);
    EXPECT_TRUE(IsDBCSLeadByteEx(932, 0x93));
    EXPECT_FALSE(IsDBCSLeadByteEx(932, 0xA5));
    EXPECT_FALSE(IsDBCSLeadByte(0xC3));
    EXPECT_TRUE(IsValidCodePage(CP_OEMCP));
}

TEST(CodePages, CharsetNamesAndCodePagesMapBothWays) {
    const struct { const char* name; UINT cp; } names[] = {
        {"iso-8859-1", 28591}, {"ISO_8859-1", 28591}, {"latin1", 28591},     {"us-ascii", 20127},
        {"windows-1252", 1252}, {"cp1252", 1252},     {"x-cp1250", 1250},   {"utf-8", 65001},
        {"UTF8", 65001},       {"shift_jis", 932},    {"SJIS", 932},        {"euc-jp", 51932},
        {"iso-2022-jp", 50220}, {"gb2312", 936},      {"GBK", 936},         {"gb18030", 54936},
        {"big5", 950},         {"ks_c_5601-1987", 949}, {"euc-kr", 51949},  {"koi8-r", 20866},
        {"koi8-u", 21866},     {"utf-7", 65000},      {"utf-16", 1200},     {"unicode", 1200},
        {"utf-16be", 1201},    {"hz-gb-2312", 52936}, {" \"iso-8859-15\" ", 28605}, {"ibm850", 850},
        {"windows-874", 874},  {"tis-620", 874},      {"macintosh", 10000},
        {"", 0},               {"x-unknown", 0},      {"cp99999", 0},       {"cp1", 0},
    };
    for (const auto& n : names) EXPECT_EQ(CodePageFromCharsetName(n.name), n.cp) << n.name;

    for (UINT cp : {437u, 850u, 932u, 936u, 949u, 950u, 1200u, 1250u, 1252u, 1258u, 10000u, 20127u, 20866u,
                    28591u, 28605u, 50220u, 51932u, 52936u, 54936u, 65000u, 65001u}) {
        const char* name = CharsetNameOfCodePage(cp);
        ASSERT_NE(name, nullptr) << cp;
        EXPECT_EQ(CodePageFromCharsetName(name), cp) << name;
    }
    EXPECT_STREQ(CharsetNameOfCodePage(1252), "windows-1252");
    EXPECT_STREQ(CharsetNameOfCodePage(932), "shift_jis");
    EXPECT_STREQ(CharsetNameOfCodePage(CP_ACP), "utf-8");
    EXPECT_EQ(CharsetNameOfCodePage(12345), nullptr);
}

TEST(CodePages, LocaleIdsGiveTheirAnsiCodePage) {
    const struct { LCID lcid; UINT cp; } cases[] = {
        {0x0409, 1252}, {0x0809, 1252}, {0x0407, 1252}, {0x0411, 932},  {0x0804, 936},  {0x0412, 949},
        {0x0404, 950},  {0x0C04, 950},  {0x0419, 1251}, {0x0405, 1250}, {0x0408, 1253}, {0x041F, 1254},
        {0x040D, 1255}, {0x0401, 1256}, {0x0C01, 1256}, {0x0425, 1257}, {0x042A, 1258}, {0x041E, 874},
        {0x081A, 1250}, {0x0C1A, 1251}, {0x082C, 1251}, {0x0415, 1250}, {0x0422, 1251},
        {0x00020411, 932},  // a sort id in the upper bits does not matter
        {0x042B, 0},    {0x0439, 0},    {0x0000, 0},    {0x03FF, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CodePageOfLocale(c.lcid), c.cp) << std::hex << c.lcid;
}

TEST(CodePages, DecodingMessageTextNeverFails) {
    EXPECT_EQ(DecodeCodePage(28591, "\x93quoted\x94"), u"\u201Cquoted\u201D");  // read as 1252
    EXPECT_EQ(DecodeCodePage(20127, "caf\xE9"), u"caf\u00E9");
    EXPECT_EQ(DecodeCodePage(9999, "\x80"), u"\u20AC");  // unknown: 1252
    EXPECT_EQ(DecodeCodePage(1252, "a\x81" "b"), u"a\uFFFD" u"b");
    EXPECT_EQ(DecodeCodePage(51949, "\xC7\xD1"), u"\uD55C");
    EXPECT_EQ(DecodeCodePage(CP_ACP, ""), u"");
    EXPECT_EQ(EncodeCodePage(1252, u"\u65E5\u00E9"), "?\xE9");
    EXPECT_EQ(EncodeCodePage(9999, u"\u20AC"), "\x80");
}
