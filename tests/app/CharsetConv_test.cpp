#include <gtest/gtest.h>

#include "app/CharsetConv.h"
#include "app/SupportLibrary.h"
#include "app/TransferDecoding.h"
#include "platform/win/WinString.h"

namespace {

class CharsetConvTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }
};

}  // namespace

TEST(TransferDecoding, QuotedPrintableAndBase64) {
    EXPECT_EQ(DecodeQuotedPrintable("Caf=E9 =c3=a9"), "Caf\xe9 \xc3\xa9");
    EXPECT_EQ(DecodeQuotedPrintable("soft=\r\nbreak and =  \nblanks"), "softbreak and blanks");
    EXPECT_EQ(DecodeQuotedPrintable("a=5Fb =G1 end="), "a_b =G1 end=");  // malformed "=" stays
    EXPECT_EQ(DecodeBase64("SGVsbG8="), "Hello");
    EXPECT_EQ(DecodeBase64("SGVs\r\nbG8gV29y bGQ"), "Hello World");  // skipped blanks, no padding
    EXPECT_EQ(DecodeBase64("w6k=IGlnbm9yZWQ="), "\xc3\xa9");          // "=" ends the data
    EXPECT_EQ(DecodeBase64(""), "");
}

TEST_F(CharsetConvTest, DecodesEncodedWords) {
    struct Row {
        const char* text;
        const char* charset;
        const char16_t* expected;
    };
    const Row rows[] = {
        {"=?iso-8859-1?Q?Caf=E9?=", "", u"Caf\u00e9"},
        {"Re: =?utf-8?Q?=C3=A9t=C3=A9?=", "", u"Re: \u00e9t\u00e9"},
        {"=?utf-8?Q?a_b?= =?utf-8?Q?a=5Fb?=", "", u"a ba_b"},
        {"=?utf-8?q?=C3=A9?=|=?utf-8?b?w6k=?=", "", u"\u00e9|\u00e9"},  // lower-case letters
        {"=??Q?Caf=E9?=", "windows-1252", u"Caf\u00e9"},              // empty charset: the caller's
        {"=?utf-8*en?Q?x?=", "", u"x"},                                // RFC 2231 language suffix
        // each word with its own charset, the plain text with the caller's
        {"=?iso-8859-5?Q?=B0?= =?utf-8?B?w6k=?= Caf\xe9", "windows-1252", u"\u0410\u00e9 Caf\u00e9"},
        // blanks between adjacent words go, blanks next to plain text stay
        {"=?utf-8?Q?a?=  \t =?utf-8?Q?b?= c =?utf-8?Q?d?=", "", u"ab c d"},
        {"(=?utf-8?Q?a?=) =?utf-8?Q?b?=", "", u"(a) b"},
        // a character split across two words of one charset
        {"=?utf-8?Q?=C3?= =?utf-8?Q?=A9?=", "", u"\u00e9"},
        // decoded text is not decoded again
        {"=?utf-8?Q?=3D=3Futf-8=3FQ=3Fx=3F=3D?=", "", u"=?utf-8?Q?x?="},
        // what is no encoded word stays literal, and takes no real word with it
        {"5 =? 5 ?= 6", "", u"5 =? 5 ?= 6"},
        {"a =? b =?utf-8?Q?=C3=A9?=c", "", u"a =? b \u00e9c"},
        {"=?utf-8?Q?no end", "", u"=?utf-8?Q?no end"},
        {"=?utf-8?X?bad?=", "", u"=?utf-8?X?bad?="},
        {"=?utf-8?Q?two words?=", "", u"=?utf-8?Q?two words?="},
        {"=?utf-8?Q?" "?=", "", u""},  // empty payload
        // plain text without words, in a known, an unknown and no charset
        {"Caf\xe9", "iso-8859-1", u"Caf\u00e9"},
        {"Caf\xe9", "x-no-such-charset", u"Caf\u00e9"},
        {"Caf\xc3\xa9", "", u"Caf\u00e9"},
        {"=?x-no-such-charset?Q?Caf=C3=A9?=", "", u"Caf\u00e9"},
        {"", "utf-8", u""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ConvertCharsetW(nullptr, r.text, r.charset), r.expected) << r.text << " / " << r.charset;
}

// UTF-8, and ASCII in a charset that reads it as itself, are read without the converter: they
// must read as the converter reads them. ASCII in other charsets means something else.
TEST_F(CharsetConvTest, TextReadWithoutTheConverterReadsAsWithIt) {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
    const std::string mixed = "caf\xc3\xa9 \xe9\x80 \xed\xa0\x80 \xf0\x9f\x98\x80 \xc3";
    for (const char* charset : {"utf-8", "UTF8", "us-ascii", "ascii", "iso-8859-1", "latin1", "iso-8859-2", "ISO-8859-15",
                                "iso-8859-16", "windows-1250", "windows-1252", "cp1252", "windows-1258", "koi8-r", "koi8-u"})
        for (const std::string& bytes : {ascii, mixed})
            EXPECT_EQ(ConvertCharsetBytes(bytes, charset), ConvertCharsetToWide(bytes, charset).value_or(u"(none)"))
                << charset << " / " << bytes;
    EXPECT_EQ(ConvertCharsetBytes("+AGE-", "utf-7"), u"a");
    EXPECT_EQ(ConvertCharsetBytes(std::string("a\0", 2), "utf-16le"), u"a");
    EXPECT_EQ(ConvertCharsetBytes("\x1b$B$3\x1b(B", "iso-2022-jp"), u"\u3053");
    EXPECT_EQ(ConvertCharsetBytes("~{VP~}", "hz-gb-2312"), u"\u4e2d");
}

TEST_F(CharsetConvTest, FindsTheCharsetOfTheFirstWord) {
    EXPECT_EQ(GetEncodedWordCharset(u"=?utf-8?Q?Caf=C3=A9?="), u"utf-8");
    EXPECT_EQ(GetEncodedWordCharset(u"x =? y ?= =?KOI8-R*ru?B?8g==?= =?utf-8?Q?a?="), u"KOI8-R");
    EXPECT_EQ(GetEncodedWordCharset(u"Subject: =?windows-1251?"), u"windows-1251");
    EXPECT_EQ(GetEncodedWordCharset(u"no words =? here ?= =??Q?x?="), u"");
}

TEST(SetHtmlMetaCharset, ReplacesOrInsertsTheDeclaration) {
    struct Row {
        const char16_t* html;
        const char16_t* expected;
    };
    const Row rows[] = {
        {u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"></head></html>",
         u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head></html>"},
        {u"<HEAD><META charset=\"windows-1252\"></HEAD>", u"<HEAD><META charset=\"utf-8\"></HEAD>"},
        {u"<head><meta charset='iso-8859-1'/></head>", u"<head><meta charset='utf-8'/></head>"},
        {u"<head><meta charset=iso-8859-1></head>", u"<head><meta charset=utf-8></head>"},
        {u"<head><meta name=x></head><body><meta x>charset=koi8-r</body>",
         u"<head><meta name=x><META http-equiv=Content-Type Content=\"text/html; charset=utf-8\"></head>"
         u"<body><meta x>charset=koi8-r</body>"},
        {u"<!-- <meta charset=x> --><head></head>",
         u"<!-- <meta charset=x> --><head><META http-equiv=Content-Type Content=\"text/html; charset=utf-8\"></head>"},
        {u"<body>text</body>", u"<body><META http-equiv=Content-Type Content=\"text/html; charset=utf-8\">text</body>"},
        {u"<body class=x>text</body>",
         u"<META http-equiv=Content-Type Content=\"text/html; charset=utf-8\"><body class=x>text</body>"},
        {u"plain", u"<META http-equiv=Content-Type Content=\"text/html; charset=utf-8\">plain"},
    };
    for (const Row& r : rows) {
        WideString html = r.html;
        EXPECT_TRUE(SetHtmlMetaCharset(html, u"utf-8"));
        EXPECT_EQ(html, r.expected) << Utf16ToUtf8(r.html);
    }
}

TEST(CharsetConvWithoutConverter, UsesThePlatformCodePages) {
    FreeHelperLibraries();
    EXPECT_EQ(ConvertCharsetW(nullptr, "=?iso-8859-5?Q?=B0?= =?utf-8?B?w6k=?= Caf\xe9", "cp1252"), u"\u0410\u00e9 Caf\u00e9");
    EXPECT_EQ(ConvertCharsetW(nullptr, "x \xe9", "x-unknown"), u"x \u00e9");
    ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
}

// ASCII bytes skip the converter only in charsets that keep ASCII, and read as it reads them.
TEST_F(CharsetConvTest, AsciiInCharsetsThatKeepItReadsAsTheConverterReadsIt) {
    std::string ascii;
    for (int c = 1; c < 128; ++c) ascii += static_cast<char>(c);
    for (const char* charset : {"UTF-8", "utf8", "US-ASCII", "iso-8859-1", "ISO-8859-15", "windows-1252", "Windows-1258"}) {
        SCOPED_TRACE(charset);
        const std::optional<WideString> converted = TryConvertCharset(ascii, charset);
        ASSERT_TRUE(converted);
        EXPECT_EQ(ConvertCharsetBytes(ascii, charset), *converted);
    }
    // Charsets that read ASCII bytes otherwise still go through the converter.
    EXPECT_EQ(ConvertCharsetBytes("+AOk-", "utf-7"), u"\u00E9");
    EXPECT_EQ(ConvertCharsetBytes("AB", "utf-16be"), u"\u4142");
}
