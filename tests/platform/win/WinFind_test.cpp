#include <fcntl.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

WideString W(const std::filesystem::path& p) { return Utf8ToUtf16(p.string()); }

std::string Name(const WIN32_FIND_DATAW& d) { return Utf16ToUtf8(d.cFileName); }

}  // namespace

TEST(WinFind, WildcardRules) {
    const struct {
        const char16_t* pattern;
        const char16_t* name;
        bool match;
    } cases[] = {
        {u"*", u"abc", true},          {u"*", u".hidden", true},        {u"*", u"..", true},
        {u"*.*", u"README", true},     {u"*.*", u"a.b", true},          {u"*.*", u".", true},
        {u"*.", u"README", true},      {u"*.", u"a.txt", false},        {u"*.", u".bashrc", false},
        {u"*.msg", u"Mail.MSG", true}, {u"*.msg", u"a.b.msg", true},    {u"*.msg", u"a.msg.bak", false},
        {u"*.msg", u"msg", false},     {u"a?c", u"abc", true},          {u"a?c", u"ac", false},
        {u"a?c", u"abbc", false},      {u"a?c", u"a.c", false},         {u"a??", u"a", true},
        {u"a??", u"abc", true},        {u"a??", u"abcd", false},        {u"a?.txt", u"a.txt", true},
        {u"a?.txt", u"ab.txt", true},  {u"a?.txt", u"abc.txt", false},  {u"file.*", u"file", true},
        {u"file.*", u"FILE.eml", true}, {u"file.*", u"files", false},   {u"*~", u"x.doc~", true},
        {u"abc", u"ABC", true},        {u"abc", u"abcd", false},        {u"*a*b*", u"xaybz", true},
        // Beyond ASCII: Latin, Cyrillic and Greek letters fold; '?' takes a whole character.
        {u"ÄBC*", u"äbc.txt", true},   {u"ПИСЬМО.*", u"письмо.eml", true},
        {u"*.ΣΑ", u"x.σα", true},      {u"a?b", u"a\U0001F600b", true}, {u"é*", u"e.txt", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.match)
            << Utf16ToUtf8(c.pattern) << " vs " << Utf16ToUtf8(c.name);
}

class WinFindFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir.WriteFile("b.eml", "hello");
        dir.WriteFile("A.msg", "");
        dir.WriteFile("c.MSG", "");
        dir.WriteFile(".hidden", "");
        dir.WriteFile("письмо.msg", "");
        std::filesystem::create_directory(dir / "sub");
    }

    std::vector<std::string> List(const std::string& pattern) {
        std::vector<std::string> names;
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW(W(dir / pattern).c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) return names;
        do names.push_back(Name(data));
        while (FindNextFileW(h, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(h));
        return names;
    }

    testsupport::TempDir dir;
};

TEST_F(WinFindFolder, ListsSortedWithDotEntriesFirst) {
    const std::vector<std::string> all = {".", "..", ".hidden", "A.msg", "b.eml", "c.MSG", "sub", "письмо.msg"};
    EXPECT_EQ(List("*"), all);
    EXPECT_EQ(List("*.*"), all);
    EXPECT_EQ(List("*.msg"), (std::vector<std::string> {"A.msg", "c.MSG", "письмо.msg"}));
    EXPECT_EQ(List("*."), (std::vector<std::string> {".", "..", "sub"}));
    EXPECT_EQ(List("b.eml"), std::vector<std::string> {"b.eml"});
    EXPECT_EQ(List("ПИСЬМО.*"), std::vector<std::string> {"письмо.msg"});
}

TEST_F(WinFindFolder, ReportsAttributesSizesAndTimes) {
    // A sparse file past 4 GiB and a write time after 2038.
    const auto big = dir / "big.bin";
    dir.WriteFile("big.bin", "");
    std::filesystem::resize_file(big, 5ull << 30);
    const timespec times[2] = {{2200000000, 0}, {2200000000, 1234500}};
    ASSERT_EQ(::utimensat(AT_FDCWD, big.c_str(), times, 0), 0);

    struct Expect {
        const char* name;
        DWORD attributes;
        DWORD sizeHigh;
        DWORD sizeLow;
    };
    for (const Expect& e : {Expect {"b.eml", FILE_ATTRIBUTE_ARCHIVE, 0, 5},
                            Expect {".hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, 0, 0},
                            Expect {"sub", FILE_ATTRIBUTE_DIRECTORY, 0, 0},
                            Expect {"big.bin", FILE_ATTRIBUTE_ARCHIVE, 1, 1u << 30}}) {
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW(W(dir / e.name).c_str(), &data);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << e.name;
        EXPECT_EQ(Name(data), e.name);
        EXPECT_EQ(data.dwFileAttributes, e.attributes) << e.name;
        EXPECT_EQ(data.nFileSizeHigh, e.sizeHigh) << e.name;
        EXPECT_EQ(data.nFileSizeLow, e.sizeLow) << e.name;
        EXPECT_EQ(data.cAlternateFileName[0], u'\0');
        EXPECT_FALSE(FindNextFileW(h, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(h));
    }

    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(W(big).c_str(), &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FindClose(h);
    const ULONGLONG written = (ULONGLONG {data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(written, 2200000000ull * 10000000 + 12345 + 116444736000000000ull);
}

TEST_F(WinFindFolder, FailsTheWindowsWay) {
    WIN32_FIND_DATAW data;
    const struct {
        std::filesystem::path pattern;
        DWORD error;
    } cases[] = {
        {dir / "missing.txt", ERROR_FILE_NOT_FOUND},
        {dir / "*.pst", ERROR_FILE_NOT_FOUND},
        {dir / "nofolder" / "*", ERROR_PATH_NOT_FOUND},
        {dir / "nofolder" / "a.txt", ERROR_PATH_NOT_FOUND},
        {dir / "b.eml" / "*", ERROR_PATH_NOT_FOUND},
        {dir / "sub/", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(FindFirstFileW(W(c.pattern).c_str(), &data), INVALID_HANDLE_VALUE) << c.pattern;
        EXPECT_EQ(GetLastError(), c.error) << c.pattern;
    }
    EXPECT_FALSE(FindNextFileW(nullptr, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE h = FindFirstFileW(W(dir / "*").c_str(), &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FindClose(h));
    EXPECT_FALSE(FindClose(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(WinFindFolder, LeavesOutNamesThatAreNotUtf8) {
    dir.WriteFile("caf\xE9.txt", "");  // a Latin-1 name: no UTF-16 name would open it again
    EXPECT_EQ(List("*.txt"), std::vector<std::string> {});
}
