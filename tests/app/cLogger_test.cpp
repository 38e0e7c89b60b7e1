#include <gtest/gtest.h>

#include "app/cLogger.h"
#include "platform/win/PlatformTrace.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

// Decodes a UTF-16LE log file; the BOM, when present, stays as U+FEFF.
WideString ReadLog(const std::filesystem::path& p) {
    const std::string bytes = testsupport::ReadFileBytes(p);
    WideString out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return out;
}

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetLogStampSource({[] {
                               SYSTEMTIME t{};
                               t.wYear = 2026; t.wMonth = 3; t.wDay = 7;
                               t.wHour = 9; t.wMinute = 5; t.wSecond = 2;
                               return t;
                           },
                           [] { return DWORD{4242}; }});
        debugMode = true;
        path_ = Utf8ToUtf16((dir_.path() / "trace Ünïcode.log").string());
    }
    void TearDown() override {
        cLogger::logStop();
        debugMode = false;
        SetLogStampSource({});
    }
    void Traced(int nesting) {
        QUILLORA_TRACE(u"Outer::Run"); traceLine_ = __LINE__;
        LogPrintf(u"value %d of %s", 7, u"x");
        if (nesting > 0) Traced(nesting - 1);
    }

    testsupport::TempDir dir_;
    WideString path_;
    int traceLine_ = 0;
};

TEST_F(LoggerTest, WritesStampedIndentedCallTree) {
    ASSERT_EQ(cLogger::logStart(path_), 0);
    Traced(1);
    cLogger::logStop();
    const WideString prefix = u"2026-03-07 09:05:02 4242\t";
    const WideString where = WideFormat(u"cLogger_test.cpp %d", traceLine_);
    const WideString expected =
        u"\xFEFF" + prefix + u"> cLogger::logStart : Log started\r\n" +
        prefix + u"< cLogger::logStart\r\n" +
        prefix + u"> Outer::Run : " + where + u"\r\n" +
        prefix + u"value 7 of x\r\n" +
        prefix + u"  > Outer::Run : " + where + u"\r\n" +
        prefix + u"  value 7 of x\r\n" +
        prefix + u"  < Outer::Run\r\n" +
        prefix + u"< Outer::Run\r\n" +
        prefix + u"Log stopped\r\n";
    EXPECT_EQ(ReadLog(Utf16ToUtf8(path_)), expected);
}

TEST_F(LoggerTest, SecondRunAppendsWithoutSecondBom) {
    ASSERT_EQ(cLogger::logStart(path_), 0);
    cLogger::logStop();
    ASSERT_EQ(cLogger::logStart(path_), 0);
    cLogger::logStop();
    const WideString log = ReadLog(Utf16ToUtf8(path_));
    EXPECT_EQ(log.find(u'\xFEFF'), 0u);
    EXPECT_EQ(log.find(u'\xFEFF', 1), WideString::npos);
    EXPECT_EQ(log.find(u"Log started", log.find(u"Log stopped")) != WideString::npos, true);
}

TEST_F(LoggerTest, ClosedLogWritesNothing) {
    EXPECT_FALSE(IsLogging());
    Traced(2);
    EXPECT_EQ(LogPrintf(u"x"), 0);
    EXPECT_EQ(LogWriteLine(u"x"), -1);
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
    ASSERT_EQ(cLogger::logStart(path_), 0);
    cLogger::logStop();
    EXPECT_EQ(LogPrintf(u"after"), 0);
    EXPECT_EQ(LogWriteLine(u"after"), -1);
}

// The platform layer's diagnostics (libraries' warnings) join the log only while it is open.
TEST_F(LoggerTest, PlatformDiagnosticsGoToTheOpenLog) {
    PlatformTrace(u"before");
    ASSERT_EQ(cLogger::logStart(path_), 0);
    PlatformTrace(u"libgsf:msole: a diagnostic");
    cLogger::logStop();
    PlatformTrace(u"after");
    const WideString log = ReadLog(Utf16ToUtf8(path_));
    EXPECT_NE(log.find(u"4242\tlibgsf:msole: a diagnostic\r\n"), WideString::npos) << Utf16ToUtf8(log);
    EXPECT_EQ(log.find(u"before"), WideString::npos);
    EXPECT_EQ(log.find(u"after"), WideString::npos);
}

TEST_F(LoggerTest, ScopeOpenedBeforeTheLogWritesNoExitLine) {
    {
        QUILLORA_TRACE(u"WinMain");
        ASSERT_EQ(cLogger::logStart(path_), 0);
    }
    Traced(0);
    cLogger::logStop();
    const WideString log = ReadLog(Utf16ToUtf8(path_));
    EXPECT_EQ(log.find(u"< \r\n"), WideString::npos);
    EXPECT_NE(log.find(u"4242\t> Outer::Run"), WideString::npos);  // depth not driven negative
}

TEST_F(LoggerTest, LongLinesAreCutNotOverflowed) {
    ASSERT_EQ(cLogger::logStart(path_), 0);
    const WideString big(20000, u'x');
    LogPrintf(u"%s", big.c_str());
    cLogger::logStop();
    const WideString log = ReadLog(Utf16ToUtf8(path_));
    EXPECT_NE(log.find(WideString(8191, u'x') + u"\r\n"), WideString::npos);
    EXPECT_EQ(log.find(WideString(8192, u'x')), WideString::npos);
}

TEST_F(LoggerTest, UnopenableLogFails) {
    EXPECT_EQ(cLogger::logStart(u"/nonexistent-folder/x/trace.log"), -1);
    EXPECT_FALSE(IsLogging());
}

}  // namespace
