#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/MiscUtils.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

TEST(MiscUtils, FileKindsByExtension) {
    EXPECT_TRUE(isPST(u"/mail/Report.pst"));
    EXPECT_TRUE(isPST(u"a.Pst"));
    EXPECT_FALSE(isPST(u"archive.pst.bak"));
    EXPECT_FALSE(isPST(u"/dir.pst/file"));
    EXPECT_FALSE(isPST(u"pst"));
    EXPECT_TRUE(isEML(u"x/Message.EML"));
    EXPECT_TRUE(isMSG(u"\u0416.msg"));
    EXPECT_FALSE(isMSG(u"a.eml"));
    // Extensions outside ASCII are upper-cased as the Unicode tables do it.
    EXPECT_TRUE(isMSG(u"a.m\u017Fg"));
    EXPECT_FALSE(isEML(u"a.\u00E9ml"));
}

TEST(MiscUtils, MonthNumbers) {
    EXPECT_EQ(ExtractMonthNumber("Tue, 09 Dec 2026 08:00:00 +0100"), 12);
    EXPECT_EQ(ExtractMonthNumber("Mon, 1 Jun 2026"), 6);
    EXPECT_EQ(ExtractMonthNumber("mar"), -1);
    EXPECT_EQ(ExtractMonthNumber("Dec Jan"), 1);
    EXPECT_EQ(ExtractMonthNumber(""), -1);
    // The date's own month beats a month name elsewhere in the text.
    EXPECT_EQ(ExtractMonthNumber("Fri, 5 Dec 2025 10:00:00 +0000 (Mar Office)"), 12);
}

TEST(MiscUtils, UtcToLocalOneHourEast) {
    testsupport::ScopedEnv tz("TZ", "UTC-1");
    EXPECT_DOUBLE_EQ(UtcToLocalDateTime(25569.5), 25569.5 + 1.0 / 24);
    EXPECT_EQ(UtcToLocalDateTime(25568.0), 0.0);  // before 1970
    // 2040-06-01 12:00 UTC: past the 32-bit limit.
    TDateTime d = 0;
    ASSERT_TRUE(TryEncodeDate(2040, 6, 1, d));
    EXPECT_DOUBLE_EQ(UtcToLocalDateTime(d + 0.5), d + 0.5 + 1.0 / 24);
    // Milliseconds do not survive.
    TDateTime t = 0;
    ASSERT_TRUE(TryEncodeTime(10, 0, 0, 400, t));
    TDateTime whole = 0;
    ASSERT_TRUE(TryEncodeTime(11, 0, 0, 0, whole));
    EXPECT_NEAR(UtcToLocalDateTime(d + t), d + whole, 1e-9);
    tzset();
}

TEST(MiscUtils, SubtractMinutes) {
    EXPECT_DOUBLE_EQ(SubtractMinutes(45000.5, 90), 45000.5 - 0.0625);
    EXPECT_DOUBLE_EQ(SubtractMinutes(45000.5, -90), 45000.5 + 0.0625);
}

TEST(MiscUtils, RemoveDirWithFilesKeepsSubFolders) {
    testsupport::TempDir dir;
    fs::create_directory(dir / "box");
    std::ofstream(dir / "box" / "one.msg") << "1";
    std::ofstream(dir / "box" / "tw\u00f6.eml") << "2";
    fs::create_directory(dir / "box" / "sub");
    std::ofstream(dir / "box" / "sub" / "inner") << "3";
    RemoveDirWithFiles(Utf8ToUtf16((dir / "box").string()));
    EXPECT_FALSE(fs::exists(dir / "box" / "one.msg"));
    EXPECT_FALSE(fs::exists(dir / "box" / "tw\u00f6.eml"));
    EXPECT_TRUE(fs::exists(dir / "box" / "sub" / "inner"));
    RemoveDirWithFiles(Utf8ToUtf16((dir / "missing").string()));
}
