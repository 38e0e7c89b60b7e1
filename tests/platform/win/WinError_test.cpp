#include <cerrno>
#include <thread>

#include <gtest/gtest.h>

#include "platform/win/WinError.h"

TEST(WinError, MapsErrnoToWindowsCodes) {
    const struct { int err; DWORD code; } cases[] = {
        {ENOENT, ERROR_FILE_NOT_FOUND}, {ENOTDIR, ERROR_PATH_NOT_FOUND},
        {EACCES, ERROR_ACCESS_DENIED},  {EEXIST, ERROR_ALREADY_EXISTS},
        {ENOSPC, ERROR_DISK_FULL},      {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
        {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
    };
    for (const auto& c : cases) EXPECT_EQ(WinErrorFromErrno(c.err), c.code) << c.err;
}

TEST(WinError, LastErrorIsPerThread) {
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seen = 1;
    std::thread([&] { seen = GetLastError(); }).join();
    EXPECT_EQ(seen, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}
