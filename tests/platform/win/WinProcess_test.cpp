#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "platform/win/WinError.h"
#include "platform/win/WinHandle.h"
#include "platform/win/WinProcess.h"
#include "platform/win/WinString.h"

namespace {

// Closes a process handle without depending on the file services' CloseHandle.
void Close(HANDLE h) { EXPECT_NE(ReleaseHandle(h), nullptr); }

}  // namespace

TEST(WinProcess, IdentifiesTheCurrentProcessAndThread) {
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
    EXPECT_EQ(GetCurrentThreadId(), static_cast<DWORD>(getpid()));  // the main thread
    DWORD other = 0;
    std::thread([&] { other = GetCurrentThreadId(); }).join();
    EXPECT_NE(other, GetCurrentThreadId());
}

TEST(WinProcess, OpensItselfAndNamesItsImage) {
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, GetCurrentProcessId());
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetProcessId(h), GetCurrentProcessId());
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(h, &code));
    EXPECT_EQ(code, STILL_ACTIVE);

    char16_t name[4096];
    DWORD size = 4096;
    ASSERT_TRUE(QueryFullProcessImageNameW(h, 0, name, &size));
    const WideString expected = Utf8ToUtf16(std::filesystem::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(WideString(name, size), expected);
    EXPECT_EQ(ProcessImageName(GetCurrentProcessId()), expected);
    DWORD small = 4;
    SetLastError(0);
    EXPECT_FALSE(QueryFullProcessImageNameW(h, 0, name, &small));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    Close(h);
}

TEST(WinProcess, ReportsAChildRunningThenItsExitCode) {
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char c;
        close(go[1]);
        (void)!read(go[0], &c, 1);
        _exit(7);
    }
    close(go[0]);
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, static_cast<DWORD>(child));
    ASSERT_NE(h, nullptr);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(h, &code));
    EXPECT_EQ(code, STILL_ACTIVE);

    close(go[1]);  // let the child finish
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
    ASSERT_TRUE(GetExitCodeProcess(h, &code));
    EXPECT_EQ(code, 7u);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);  // reaped: the code read earlier is kept
    ASSERT_TRUE(GetExitCodeProcess(h, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_TRUE(ProcessImageName(static_cast<DWORD>(child)).empty());
    Close(h);
}

TEST(WinProcess, FailsForMissingProcessesAndBadHandles) {
    SetLastError(0);
    EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0x7FFFFFF0u), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0), nullptr);
    DWORD code;
    SetLastError(0);
    EXPECT_FALSE(GetExitCodeProcess(nullptr, &code));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
    Close(h);
    EXPECT_FALSE(GetExitCodeProcess(h, &code));  // closed
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}
