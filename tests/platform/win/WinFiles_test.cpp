#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Unprivileged.h"

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace {

WideString W(const fs::path& p) { return Utf8ToUtf16(p.string()); }

HANDLE Open(const fs::path& p, DWORD access, DWORD disposition, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    return CreateFileW(W(p).c_str(), access, FILE_SHARE_READ, nullptr, disposition, flags, nullptr);
}

LARGE_INTEGER Large(LONGLONG v) {
    LARGE_INTEGER li;
    li.QuadPart = v;
    return li;
}

std::string Read(HANDLE h, DWORD n) {
    std::string buf(n, '\0');
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(h, buf.data(), n, &got, nullptr));
    buf.resize(got);
    return buf;
}

// Restores the current directory when the test ends.
struct KeepCurrentDirectory {
    fs::path saved = fs::current_path();
    ~KeepCurrentDirectory() { fs::current_path(saved); }
};

}  // namespace

TEST(WinFiles, ReadWriteSeekAndSizePastFourGiB) {
    TempDir dir;
    HANDLE h = Open(dir / "data.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);

    const LONGLONG far = (5LL << 30) + 7;  // sparse
    LARGE_INTEGER pos {};
    ASSERT_TRUE(SetFilePointerEx(h, Large(far), &pos, FILE_BEGIN));
    EXPECT_EQ(pos.QuadPart, far);
    ASSERT_TRUE(WriteFile(h, "tail", 4, &written, nullptr));

    LARGE_INTEGER size {};
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, far + 4);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(h, &high), static_cast<DWORD>((far + 4) & 0xFFFFFFFF));
    EXPECT_EQ(high, 1u);

    // The 32-bit form: with a high part it reaches anywhere, without it only the first 4 GiB.
    LONG moveHigh = 1;
    EXPECT_EQ(SetFilePointer(h, static_cast<LONG>(1u << 30) + 7, &moveHigh, FILE_BEGIN), (1u << 30) + 7);
    EXPECT_EQ(moveHigh, 1);
    EXPECT_EQ(Read(h, 10), "tail");
    EXPECT_EQ(Read(h, 10), "");  // end of file: success with nothing read
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetFilePointer(h, 1, nullptr, FILE_BEGIN), 1u);
    EXPECT_EQ(Read(h, 3), "ell");

    ASSERT_TRUE(SetFilePointerEx(h, Large(-4), &pos, FILE_END));
    EXPECT_EQ(Read(h, 4), "tail");
    EXPECT_FALSE(SetFilePointerEx(h, Large(-1), nullptr, FILE_BEGIN));
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_FALSE(SetFilePointerEx(h, Large(0), nullptr, 7));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // Reading at an offset given by an OVERLAPPED, then cutting the file there.
    OVERLAPPED at;
    at.Offset = 2;
    char two[2];
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(h, two, 2, &got, &at));
    EXPECT_EQ(std::string(two, got), "ll");
    ASSERT_TRUE(SetEndOfFile(h));
    ASSERT_TRUE(FlushFileBuffers(h));
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, 4);

    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(ReadFile(h, two, 1, &got, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ReadFileBytes(dir / "data.bin"), "hell");
}

TEST(WinFiles, CreationDispositions) {
    const struct {
        DWORD disposition;
        bool exists;
        bool opens;
        DWORD error;
        std::string after;  // contents afterwards
    } cases[] = {
        {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "12345"},
        {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, ""},
        {OPEN_EXISTING, true, true, ERROR_SUCCESS, "12345"},
        {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "12345"},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, ""},
        {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const fs::path p = dir / "f.txt";
        if (c.exists) dir.WriteFile("f.txt", "12345");
        SetLastError(12345);
        HANDLE h = Open(p, GENERIC_READ | GENERIC_WRITE, c.disposition);
        SCOPED_TRACE(testing::Message() << "disposition " << c.disposition << (c.exists ? " on a file" : " on nothing"));
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens);
        EXPECT_EQ(GetLastError(), c.error);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (fs::exists(p)) {
            EXPECT_EQ(ReadFileBytes(p), c.after);
        }
    }
}

TEST(WinFiles, AccessRightsFlagsAndDeleteOnClose) {
    TempDir dir;
    dir.WriteFile("f.txt", "abc");
    char buf[4];
    DWORD n = 0;

    HANDLE writeOnly = Open(dir / "f.txt", GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(writeOnly, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReadFile(writeOnly, buf, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    CloseHandle(writeOnly);

    HANDLE readOnly = Open(dir / "f.txt", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(readOnly, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFile(readOnly, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SetEndOfFile(readOnly));
    CloseHandle(readOnly);

    // A folder opens only with backup semantics.
    EXPECT_EQ(Open(dir.path(), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    HANDLE folder = Open(dir.path(), GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    EXPECT_NE(folder, INVALID_HANDLE_VALUE);
    CloseHandle(folder);

    HANDLE temp = Open(dir / "scratch.tmp", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE);
    ASSERT_NE(temp, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(fs::exists(dir / "scratch.tmp"));
    EXPECT_TRUE(CloseHandle(temp));
    EXPECT_FALSE(fs::exists(dir / "scratch.tmp"));
}

TEST(WinFiles, WriteReportsAFullDisk) {
    HANDLE h = CreateFileW(u"/dev/full", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no /dev/full";
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(h, "data", 4, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(written, 0u);
    CloseHandle(h);
}

TEST(WinFiles, FileTimesAroundTheUnixRange) {
    TempDir dir;
    HANDLE h = Open(dir / "t.txt", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    // 1960-01-01 and 2100-01-01 (unix -315619200 and 4102444800), with 100-ns parts.
    for (const LONGLONG unix : {-315619200LL, 4102444800LL}) {
        const ULONGLONG ticks = static_cast<ULONGLONG>(unix * 10000000 + 116444736000000000LL + 1234567);
        FILETIME ft;
        ft.dwLowDateTime = static_cast<DWORD>(ticks);
        ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
        ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
        FILETIME back;
        ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &back));
        EXPECT_EQ(back.dwLowDateTime, ft.dwLowDateTime) << unix;
        EXPECT_EQ(back.dwHighDateTime, ft.dwHighDateTime) << unix;
    }
    CloseHandle(h);
}

TEST(WinFiles, ErrorCodes) {
    TempDir dir;
    dir.WriteFile("file.txt", "x");
    dir.WriteFile("full/inside.txt", "x");
    fs::create_directory(dir / "empty");
    const fs::path missingFile = dir / "missing.txt";
    const fs::path inMissingFolder = dir / "nofolder" / "a.txt";
    const fs::path tooLong = dir / std::string(300, 'a');

    const auto openError = [](const fs::path& p) {
        SetLastError(0);
        HANDLE h = Open(p, GENERIC_READ, OPEN_EXISTING);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        return GetLastError();
    };
    const auto fails = [](BOOL ok) { return ok ? ERROR_SUCCESS : GetLastError(); };
    const auto attributesError = [](const fs::path& p) {
        return GetFileAttributesW(W(p).c_str()) == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    };

    EXPECT_EQ(openError(missingFile), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(openError(inMissingFolder), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(openError(dir / "file.txt" / "x"), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(openError(tooLong), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(attributesError(missingFile), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(attributesError(inMissingFolder), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(fails(DeleteFileW(W(missingFile).c_str())), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fails(DeleteFileW(W(inMissingFolder).c_str())), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(fails(DeleteFileW(W(dir / "empty").c_str())), ERROR_ACCESS_DENIED);
    EXPECT_EQ(fails(DeleteFileW(nullptr)), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(fails(DeleteFileW(u"")), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(fails(CreateDirectoryW(W(dir / "empty").c_str(), nullptr)), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(fails(CreateDirectoryW(W(inMissingFolder).c_str(), nullptr)), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(fails(RemoveDirectoryW(W(dir / "file.txt").c_str())), ERROR_DIRECTORY);
    EXPECT_EQ(fails(RemoveDirectoryW(W(dir / "full").c_str())), ERROR_DIR_NOT_EMPTY);
    EXPECT_EQ(fails(RemoveDirectoryW(W(missingFile).c_str())), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fails(SetCurrentDirectoryW(W(missingFile).c_str())), ERROR_FILE_NOT_FOUND);

    EXPECT_TRUE(CreateDirectoryW(W(dir / "new").c_str(), nullptr));
    EXPECT_TRUE(RemoveDirectoryW(W(dir / "new").c_str()));
    EXPECT_TRUE(DeleteFileW(W(dir / "file.txt").c_str()));
    EXPECT_FALSE(fs::exists(dir / "file.txt"));
}

TEST(WinFiles, AccessDeniedByPermissions) {
    TempDir scratch;
    testsupport::RunUnprivileged(scratch.path(), [&] {
        const fs::path locked = scratch / "locked";
        scratch.WriteFile("locked/secret.txt", "x");
        fs::permissions(locked / "secret.txt", fs::perms::none);
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(Open(locked / "secret.txt", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        EXPECT_EQ(Open(locked / "new.txt", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        EXPECT_FALSE(DeleteFileW(W(locked / "secret.txt").c_str()));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        fs::permissions(locked, fs::perms::owner_all);
    });
}

TEST(WinFiles, Attributes) {
    TempDir dir;
    dir.WriteFile("f.txt", "x");
    dir.WriteFile(".profile", "x");
    const WideString f = W(dir / "f.txt");
    EXPECT_EQ(GetFileAttributesW(f.c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(GetFileAttributesW(W(dir / ".profile").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(GetFileAttributesW(W(dir.path()).c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW(W(dir.path() / "").c_str()), FILE_ATTRIBUTE_DIRECTORY);

    ASSERT_TRUE(SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(GetFileAttributesW(f.c_str()), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(fs::status(dir / "f.txt").permissions() & fs::perms::all & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write),
              fs::perms::none);
    ASSERT_TRUE(SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(f.c_str()), FILE_ATTRIBUTE_ARCHIVE);

    fs::create_symlink(dir / "gone", dir / "dangling");
    EXPECT_EQ(GetFileAttributesW(W(dir / "dangling").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST(WinFiles, MoveRefusesToReplaceUnlessAsked) {
    TempDir dir;
    const WideString a = W(dir.WriteFile("a.txt", "A"));
    const WideString b = W(dir.WriteFile("b.txt", "B"));
    fs::create_directory(dir / "folder");

    EXPECT_FALSE(MoveFileExW(a.c_str(), b.c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(MoveFileW(a.c_str(), b.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "A");
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "B");

    EXPECT_FALSE(MoveFileExW(a.c_str(), W(dir / "folder").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));

    EXPECT_TRUE(MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_FALSE(fs::exists(dir / "a.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "A");

    EXPECT_TRUE(MoveFileW(b.c_str(), W(dir / "folder" / "c.txt").c_str()));
    EXPECT_EQ(ReadFileBytes(dir / "folder" / "c.txt"), "A");
    EXPECT_TRUE(MoveFileW(W(dir / "folder").c_str(), W(dir / "renamed").c_str()));
    EXPECT_TRUE(fs::exists(dir / "renamed" / "c.txt"));

    EXPECT_FALSE(MoveFileW(a.c_str(), W(dir / "x.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(MoveFileW(W(dir / "renamed" / "c.txt").c_str(), W(dir / "nofolder" / "c.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(WinFiles, CopyKeepsModeAndTimesAndNeverLeavesHalfFiles) {
    TempDir dir;
    const fs::path src = dir.WriteFile("src.txt", std::string(200000, 's'));
    fs::permissions(src, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const timespec times[2] = {{1000000000, 0}, {1500000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, src.c_str(), times, 0), 0);
    const WideString dst = W(dir.WriteFile("dst.txt", "old"));

    EXPECT_FALSE(CopyFileW(W(src).c_str(), dst.c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(ReadFileBytes(dir / "dst.txt"), "old");

    ASSERT_TRUE(CopyFileW(W(src).c_str(), dst.c_str(), FALSE));
    EXPECT_EQ(ReadFileBytes(dir / "dst.txt"), std::string(200000, 's'));
    struct stat st {};
    ASSERT_EQ(::stat((dir / "dst.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1500000000);

    ASSERT_TRUE(CopyFileW(W(src).c_str(), W(dir / "fresh.txt").c_str(), TRUE));
    EXPECT_FALSE(CopyFileW(W(src).c_str(), W(dir / "nofolder" / "x.txt").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(CopyFileW(W(dir / "missing").c_str(), W(dir / "x.txt").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CopyFileW(W(dir.path()).c_str(), W(dir / "x.txt").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    int entries = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 3) << "no temporary copy is left behind";
}

TEST(WinFiles, FullPathNames) {
    TempDir dir;
    KeepCurrentDirectory keep;
    ASSERT_TRUE(SetCurrentDirectoryW(W(dir.path()).c_str()));
    const std::string cwd = fs::current_path().string();
    const struct {
        const char16_t* name;
        std::string full;
        const char* filePart;  // nullptr: none
    } cases[] = {
        {u"a/b/../c.txt", cwd + "/a/c.txt", "c.txt"},
        {u"./x", cwd + "/x", "x"},
        {u".", cwd, nullptr},  // file part: the folder's own name
        {u"/x/./y//z", "/x/y/z", "z"},
        {u"/a/b/", "/a/b/", nullptr},
        {u"/../..", "/", nullptr},
        {u"/a/b/..", "/a", "a"},
    };
    for (const auto& c : cases) {
        const std::string name = Utf16ToUtf8(c.name);
        char16_t buffer[1024];
        LPWSTR filePart = nullptr;
        const DWORD length = GetFullPathNameW(c.name, 1024, buffer, &filePart);
        ASSERT_EQ(length, Utf8ToUtf16(c.full).size()) << name;
        EXPECT_EQ(Utf16ToUtf8(buffer), c.full) << name;
        const std::string expectedPart =
            c.filePart ? c.filePart : (c.full.back() == '/' ? "" : fs::path(c.full).filename().string());
        if (!expectedPart.empty()) {
            ASSERT_NE(filePart, nullptr) << name;
            EXPECT_EQ(Utf16ToUtf8(filePart), expectedPart) << name;
        } else {
            EXPECT_EQ(filePart, nullptr) << name;
        }
    }

    // Too small a buffer: the size needed, terminator included, and the buffer left alone.
    const std::u16string full = Utf8ToUtf16(cwd + "/name.txt");
    char16_t small[4] = {u'k', u'e', u'e', u'p'};
    LPWSTR filePart = small;
    EXPECT_EQ(GetFullPathNameW(u"name.txt", 4, small, &filePart), full.size() + 1);
    EXPECT_EQ(small[0], u'k');
    EXPECT_EQ(filePart, nullptr);
    EXPECT_EQ(GetFullPathNameW(u"name.txt", 0, nullptr, nullptr), full.size() + 1);
    std::u16string exact(full.size() + 1, u'?');
    EXPECT_EQ(GetFullPathNameW(u"name.txt", static_cast<DWORD>(exact.size()), exact.data(), nullptr), full.size());
    EXPECT_EQ(exact.c_str(), full);
    EXPECT_EQ(GetFullPathNameW(u"", 10, small, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);

    // No 260-unit limit.
    const std::u16string deep = u"/" + std::u16string(100, u'd') + u"/" + std::u16string(100, u'e') + u"/" +
                                std::u16string(100, u'f');
    std::u16string big(400, u'\0');
    EXPECT_EQ(GetFullPathNameW(deep.c_str(), 400, big.data(), nullptr), deep.size());
}

TEST(WinFiles, CurrentTempAndModuleFolders) {
    TempDir dir;
    KeepCurrentDirectory keep;
    ASSERT_TRUE(SetCurrentDirectoryW(W(dir.path()).c_str()));
    char16_t buffer[4096];
    const DWORD n = GetCurrentDirectoryW(4096, buffer);
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(buffer, n)), fs::current_path().string());
    EXPECT_EQ(GetCurrentDirectoryW(1, buffer), n + 1);

    {
        testsupport::ScopedEnv tmp("TMPDIR", "/var/tmp/q");
        EXPECT_EQ(GetTempPathW(4096, buffer), 11u);
        EXPECT_EQ(std::u16string(buffer), u"/var/tmp/q/");
        EXPECT_EQ(GetTempPathW(11, buffer), 12u);
    }
    {
        testsupport::ScopedEnv tmp("TMPDIR", "");
        GetTempPathW(4096, buffer);
        EXPECT_EQ(std::u16string(buffer), u"/tmp/");
    }

    const DWORD length = GetModuleFileNameW(nullptr, buffer, 4096);
    ASSERT_GT(length, 0u);
    const std::string exe = Utf16ToUtf8(std::u16string_view(buffer, length));
    EXPECT_EQ(fs::path(exe), fs::read_symlink("/proc/self/exe"));

    // Truncated to the buffer with a terminator; the size returned; ERROR_INSUFFICIENT_BUFFER.
    char16_t small[5];
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::u16string(small), std::u16string(buffer, 4));
}
