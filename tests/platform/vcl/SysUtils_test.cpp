#include <gtest/gtest.h>

#include "platform/vcl/SysUtils.h"
#include "platform/win/WinError.h"

TEST(Exception, KeepsWideMessageAndItsUtf8Form) {
    const Exception e(u"Fehler \u00e4\u4e2d");
    EXPECT_EQ(e.Message(), u"Fehler \u00e4\u4e2d");
    EXPECT_STREQ(e.what(), "Fehler \xC3\xA4\xE4\xB8\xAD");
    EXPECT_EQ(EConvertError("x").ClassName(), "EConvertError");
}

TEST(Exception, LastOsErrorCarriesCodeAndText) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        RaiseLastOSError();
        FAIL();
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), ERROR_FILE_NOT_FOUND);
        EXPECT_NE(e.Message().find(u"Code: 2."), WideString::npos);
    }
}

TEST(FileOpenModes, MapAccessAndSharingAndRejectOthers) {
    EXPECT_EQ(FileOpenAccess(fmOpenRead), 0x80000000u);
    EXPECT_EQ(FileOpenAccess(fmOpenReadWrite | fmShareDenyNone), 0xC0000000u);
    EXPECT_EQ(FileOpenShare(fmShareExclusive), 0u);
    EXPECT_EQ(FileOpenShare(fmShareDenyWrite), 1u);
    EXPECT_EQ(FileOpenShare(fmShareDenyRead), 2u);
    EXPECT_EQ(FileOpenShare(fmShareDenyNone), 3u);
    EXPECT_THROW(FileOpenAccess(3), ERangeError);
    EXPECT_THROW(FileOpenShare(0x50), ERangeError);
}

TEST(WideCompare, CaseInsensitiveFormIgnoresCaseOnly) {
    EXPECT_EQ(WideCompareText(u"b", u"B"), 0);
    EXPECT_LT(WideCompareText(u"a", u"B"), 0);
    EXPECT_NE(WideCompareText(u"resume", u"r\u00e9sum\u00e9"), 0);
    EXPECT_NE(WideCompareStr(u"b", u"B"), 0);
    // Only identical texts are equal under the case-sensitive form.
    EXPECT_NE(WideCompareStr(u"\u00e9", u"e\u0301"), 0);
    EXPECT_EQ(WideCompareStr(u"abc", u"abc"), 0);
    EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
}

TEST(CaseMapping, IsSimpleAndKeepsTheLength) {
    EXPECT_EQ(WideUpperCase(u"stra\u00dfe \u00e9\U00010428"), u"STRA\u00dfE \u00c9\U00010400");
    EXPECT_EQ(WideLowerCase(u"ABC\u00c9"), u"abc\u00e9");
    EXPECT_EQ(AnsiUpperCase("gr\xC3\xBC\xC3\x9F"), "GR\xC3\x9C\xC3\x9F");
}

TEST(DecodeUnmarkedText, TakesUtf8ElseTheLegacyCodePage) {
    EXPECT_EQ(DecodeUnmarkedText("gr\xC3\xBCn"), u"gr\u00fcn");
    EXPECT_EQ(DecodeUnmarkedText("gr\xFCn \x80"), u"gr\u00fcn \u20ac");
}
