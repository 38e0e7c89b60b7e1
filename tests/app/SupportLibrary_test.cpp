#include <gtest/gtest.h>

#include "app/SupportLibrary.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

class SupportLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }
};

}  // namespace

TEST_F(SupportLibraryTest, ConvertsNamedCharsets) {
    struct Row {
        const char* charset;
        std::string bytes;
        const char16_t* text;
    };
    const Row rows[] = {
        {"utf-8", "\xd0\x96\xc3\xa9", u"\u0416\u00e9"},
        {"UTF-8", "\xd0\x96", u"\u0416"},
        {"iso-8859-1", "caf\xe9", u"caf\u00e9"},
        {"ISO-8859-1", "\x80", u"\u20ac"},  // read as its 1252 superset, as mail needs
        {"CP1251", "\xc6", u"\u0416"},
        {"cp1251", "\xc6", u"\u0416"},
        {"CP932", "\x82\xa0", u"\u3042"},
        {"x-sjis", "\x82\xa0", u"\u3042"},
        {"ks_c_5601-1987", "\xb0\xa1", u"\uac00"},
        {"CP0", "\x80", u"\u20ac"},          // code page 0: the legacy default 1252
        {"utf-8", "a\xffz", u"a\ufffdz"},   // a bad byte does not stop the text
    };
    for (const Row& r : rows) {
        const auto text = ConvertCharsetToWide(r.bytes, r.charset);
        ASSERT_TRUE(text.has_value()) << r.charset;
        EXPECT_EQ(*text, r.text) << r.charset;
    }
    EXPECT_FALSE(ConvertCharsetToWide("abc", "no-such-charset").has_value());
    EXPECT_FALSE(ConvertCharsetToWide("abc", "").has_value());
    EXPECT_EQ(ConvertCodePageToWide("\xc6", 1251), u"\u0416");
    EXPECT_EQ(ConvertCodePageToWide("\x80", 0), u"\u20ac");
}

// Whatever the caller's idea of the size, nothing is written past the buffer, and an
// unknown charset leaves the caller's buffer untouched so that it can fall back.
TEST_F(SupportLibraryTest, RawEntryPointsStayInsideTheBuffer) {
    const HelperEntryPoints& lib = HelperLibrary();
    char16_t buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(lib.ConvertToUStr(buffer, 4, "abcdefgh", 8, "us-ascii"), 8);
    EXPECT_EQ(WideString(buffer, 6), WideString(u"abc\0##", 6));

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(lib.ConvertToUStr(buffer, 6, "abc", 3, "klingon"), -1);
    EXPECT_EQ(WideString(buffer, 6), u"######");

    char bytes[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(lib.ConvertFromUStr(bytes, 3, u"\u0416\u0416", 2, "windows-1251"), 2);
    EXPECT_EQ(std::string(bytes, 4), std::string("\xc6\xc6\0#", 4));
}

TEST(SupportLibraryLoad, MissingLibraryIsReportedAsFatal) {
    testsupport::TempDir empty;
    WideString text, caption;
    bool fatal = false;
    SetHelperLibraryErrorHandler([&](const WideString& t, const WideString& c, bool f) {
        text = t;
        caption = c;
        fatal = f;
    });
    FreeHelperLibraries();
    const WideString folder = Utf8ToUtf16(empty.path().string()) + u"/";
    EXPECT_EQ(LoadHelperLibraries(folder), 0);
    SetHelperLibraryErrorHandler({});
    EXPECT_TRUE(fatal);
    EXPECT_EQ(caption, u"Load dll error");
    EXPECT_EQ(text, u"System can not load specified file libquillora-utils.so. Search path: " + folder);
    EXPECT_FALSE(ConvertCharsetToWide("abc", "utf-8").has_value());
    EXPECT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
}
