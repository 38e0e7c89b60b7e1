#include <atomic>
#include <filesystem>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "controls/unicode/TntSysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

WideString Wide(const std::filesystem::path& p) { return Utf8ToUtf16(p.string()); }

}  // namespace

TEST(Paths, TrailingDelimiters) {
    EXPECT_EQ(WideIncludeTrailingBackslash(u""), u"/");
    EXPECT_EQ(WideIncludeTrailingBackslash(u"/"), u"/");
    EXPECT_EQ(WideIncludeTrailingBackslash(u"/a"), u"/a/");
    EXPECT_EQ(WideExcludeTrailingBackslash(u"/a//"), u"/a/");
    EXPECT_EQ(WideExcludeTrailingBackslash(u"/a"), u"/a");
    EXPECT_TRUE(WideIsPathDelimiter(u"a/b", 2));
    EXPECT_FALSE(WideIsPathDelimiter(u"a/b", 4));
    EXPECT_FALSE(WideIsPathDelimiter(u"a\\b", 2));
    EXPECT_EQ(WideLastDelimiter(u"/.", WideString(u"a.b/c\0", 6)), 4);
}

TEST(Paths, PartsOfAName) {
    const struct {
        WideString name, path, dir, file, ext;
    } cases[] = {
        {u"/home/u/mail.msg", u"/home/u/", u"/home/u", u"mail.msg", u".msg"},
        {u"/file", u"/", u"/", u"file", u""},
        {u"file.", u"", u"", u"file.", u"."},
        {u".profile", u"", u"", u".profile", u".profile"},
        {u"/a.b/file", u"/a.b/", u"/a.b", u"file", u""},
        {u"Re: hi.msg", u"", u"", u"Re: hi.msg", u".msg"},
        {u"a//b", u"a//", u"a//", u"b", u""},
        {u"dir/", u"dir/", u"dir", u"", u""},
        {u"C:\\x.txt", u"", u"", u"C:\\x.txt", u".txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideExtractFilePath(c.name), c.path) << Utf16ToUtf8(c.name);
        EXPECT_EQ(WideExtractFileDir(c.name), c.dir) << Utf16ToUtf8(c.name);
        EXPECT_EQ(WideExtractFileName(c.name), c.file) << Utf16ToUtf8(c.name);
        EXPECT_EQ(WideExtractFileExt(c.name), c.ext) << Utf16ToUtf8(c.name);
    }
    EXPECT_EQ(WideChangeFileExt(u"report", u".eml"), u"report.eml");
    EXPECT_EQ(WideChangeFileExt(u"a.msg", u""), u"a");
    EXPECT_EQ(WideChangeFileExt(u"/x.d/a.msg", u".txt"), u"/x.d/a.txt");
    EXPECT_EQ(WideChangeFileExt(u"/x.d/a", u".txt"), u"/x.d/a.txt");
}

TEST(Text, LineBreaksUpperCaseAndRtf) {
    EXPECT_EQ(WideAdjustLineBreaks(u"a\n\rb", LineBreakCRLF), u"a\r\n\r\nb");
    EXPECT_EQ(WideAdjustLineBreaks(u"a\r\nb", LineBreakLF), u"a\nb");
    EXPECT_EQ(WideAdjustLineBreaks(u"a\u2028b\rc", LineBreakCR), u"a\rb\rc");
    EXPECT_EQ(WideAdjustLineBreaksLength(u"a\nb\n", LineBreakCRLF), 6);
    EXPECT_EQ(WideUpperCaseString(u"stra\u00dfe"), u"STRA\u00dfE");
    EXPECT_TRUE(IsRTFText(u"{\\rtf1\\ansi}"));
    EXPECT_TRUE(IsRTFText(u"{urtf1"));
    EXPECT_FALSE(IsRTFText(u" {\\rtf1"));
    EXPECT_FALSE(IsRTFText(u"{\\rt"));
}

TEST(Files, ExistenceCreationCopyAndDeletion) {
    testsupport::TempDir dir;
    const WideString root = Wide(dir.path()) + u"/";
    const WideString file = root + u"\u0444\u0430\u0439\u043b.msg";
    const HANDLE h = WideFileCreate(file);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(WideFileExists(file));
    EXPECT_TRUE(WideFileExists(root + u"*.MSG"));  // a pattern counts when its first match is a file
    EXPECT_FALSE(WideFileExists(root));            // a folder is not a file
    EXPECT_FALSE(WideFileExists(root + u"none"));
    EXPECT_TRUE(WideDirectoryExists(root));
    EXPECT_FALSE(WideDirectoryExists(file));
    EXPECT_EQ(WideFileGetAttr(root + u"none"), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(WideCopyFile(file, root + u"copy.msg", true));
    EXPECT_FALSE(WideCopyFile(file, root + u"copy.msg", true));
    EXPECT_TRUE(WideCopyFile(file, root + u"copy.msg", false));
    EXPECT_TRUE(WideDeleteFile(root + u"copy.msg"));
    EXPECT_FALSE(WideDeleteFile(root + u"copy.msg"));

    EXPECT_TRUE(WideCreateDir(root + u"sub"));
    EXPECT_FALSE(WideCreateDir(root + u"sub"));
    EXPECT_TRUE(WideRemoveDir(root + u"sub"));
    EXPECT_FALSE(WideRemoveDir(root + u"sub"));

    const HANDLE r = WideFileOpen(file, fmOpenRead | fmShareDenyNone);
    ASSERT_NE(r, INVALID_HANDLE_VALUE);
    CloseHandle(r);
    EXPECT_EQ(WideFileOpen(root + u"none", fmOpenRead), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_THROW(WideFileOpen(file, 3), ERangeError);
    EXPECT_THROW(WideFileOpen(file, 0x50), ERangeError);
}

TEST(Files, ForceDirectories) {
    testsupport::TempDir dir;
    const WideString root = Wide(dir.path());
    EXPECT_THROW(WideForceDirectories(u""), ETntGeneralError);
    EXPECT_TRUE(WideForceDirectories(u"/"));
    EXPECT_TRUE(WideForceDirectories(root + u"/a/\u00e9/c/"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/\xC3\xA9/c"));
    EXPECT_TRUE(WideForceDirectories(root + u"/a"));
    EXPECT_TRUE(WideForceDirectories(root + u"/x//"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "x"));
    dir.WriteFile("file", "x");
    EXPECT_FALSE(WideForceDirectories(root + u"/file/sub"));
}

TEST(Files, ForceDirectoriesRacingAnotherCreator) {
    // Threads creating the same tree all succeed, whoever makes each folder first.
    testsupport::TempDir dir;
    const WideString target = Wide(dir.path()) + u"/r/s/t/u/v";
    std::atomic<int> ok{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] {
            if (WideForceDirectories(target)) ++ok;
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(ok, 8);
}

TEST(Files, LongNamesHaveNoLimit) {
    testsupport::TempDir dir;
    WideString path = Wide(dir.path());
    for (int i = 0; i < 12; ++i) path += u"/" + WideString(40, static_cast<char16_t>(u'a' + i));
    ASSERT_GT(path.size(), 400u);
    EXPECT_TRUE(WideForceDirectories(path));
    EXPECT_TRUE(WideDirectoryExists(path));
    const WideString file = path + u"/f.txt";
    CloseHandle(WideFileCreate(file));
    EXPECT_EQ(WideExpandFileName(file), file);
    EXPECT_TRUE(WideFileExists(file));
}

TEST(Files, ExpandModuleAndMessages) {
    EXPECT_EQ(WideExpandFileName(u"/a/b/../c"), u"/a/c");
    const WideString self = WideGetModuleFileName(nullptr);
    EXPECT_TRUE(WideFileExists(self));
    EXPECT_EQ(WideExtractFileName(self), u"tests_controls_unicode_unit");
    const WideString message = WideSysErrorMessage(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(message.empty());
    EXPECT_GT(message.back(), u' ');
    EXPECT_FALSE(InprocServerFileExists(GUID{}));
}

TEST(FindFirst, FiltersByAttributes) {
    testsupport::TempDir dir;
    dir.WriteFile("b.msg", "12345");
    dir.WriteFile(".hidden", "");
    dir.WriteFile("\u65e5\u672c.MSG", "x");
    std::filesystem::create_directory(dir / "sub");
    const WideString pattern = Wide(dir.path()) + u"/*";
    const auto names = [&](int attr) {
        std::set<WideString> found;
        TSearchRecW f;
        if (WideFindFirst(pattern, attr, f) == 0) {
            do found.insert(f.Name);
            while (WideFindNext(f) == 0);
            WideFindClose(f);
        }
        return found;
    };
    EXPECT_EQ(names(0), (std::set<WideString>{u"b.msg", u"\u65e5\u672c.MSG"}));
    EXPECT_EQ(names(faDirectory), (std::set<WideString>{u".", u"..", u"b.msg", u"\u65e5\u672c.MSG", u"sub"}));
    EXPECT_EQ(names(faAnyFile).size(), 6u);
    TSearchRecW f;
    ASSERT_EQ(WideFindFirst(Wide(dir.path()) + u"/B.*", 0, f), 0);
    EXPECT_EQ(f.Name, u"b.msg");
    EXPECT_EQ(f.Size, 5);
    EXPECT_NE(f.Time, 0);
    EXPECT_EQ(f.Attr & faDirectory, 0);
    EXPECT_EQ(WideFindNext(f), static_cast<int>(ERROR_NO_MORE_FILES));
    WideFindClose(f);
    WideFindClose(f);
    EXPECT_EQ(f.FindHandle, INVALID_HANDLE_VALUE);
}

TEST(FindFirst, FailureLeavesTheRecordClosed) {
    testsupport::TempDir dir;
    TSearchRecW f;
    EXPECT_NE(WideFindFirst(Wide(dir.path()) + u"/*.none", faAnyFile, f), 0);
    EXPECT_EQ(f.FindHandle, INVALID_HANDLE_VALUE);
    WideFindClose(f);
    dir.WriteFile(".only", "");
    EXPECT_EQ(WideFindFirst(Wide(dir.path()) + u"/.only", 0, f), static_cast<int>(ERROR_NO_MORE_FILES));
    EXPECT_EQ(f.FindHandle, INVALID_HANDLE_VALUE);
}
