#include "tests/support/Unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace testsupport {

namespace {

constexpr uid_t kNobody = 65534;

bool DropRoot() {
    if (::geteuid() != 0) return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && ::geteuid() == kNobody;
}

// The child's side: runs check and exits with the number of failures it recorded (capped).
[[noreturn]] void RunChild(const std::function<void()>& check) {
    if (!DropRoot()) {
        std::fprintf(stderr, "cannot drop root privileges: %s\n", std::strerror(errno));
        std::fflush(nullptr);
        ::_exit(100);
    }
    ::testing::TestPartResultArray results;
    {
        const ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
        try {
            check();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "exception: " << e.what();
        } catch (...) {
            ADD_FAILURE() << "unknown exception";
        }
    }
    int failures = 0;
    for (int i = 0; i < results.size(); ++i) {
        const ::testing::TestPartResult& r = results.GetTestPartResult(i);
        if (!r.failed()) continue;
        ++failures;
        std::printf("%s:%d: unprivileged check failed\n%s\n", r.file_name() ? r.file_name() : "?", r.line_number(),
                    r.message());
    }
    std::fflush(nullptr);
    ::_exit(failures < 99 ? failures : 99);
}

}  // namespace

void RunUnprivileged(const std::filesystem::path& folder, const std::function<void()>& check) {
    std::error_code ec;
    std::filesystem::permissions(folder, std::filesystem::perms::all, ec);
    ASSERT_FALSE(ec) << folder << ": " << ec.message();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1) << "fork: " << std::strerror(errno);
    if (child == 0) RunChild(check);
    int status = 0;
    pid_t waited = -1;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited == -1 && errno == EINTR);
    ASSERT_EQ(waited, child) << "waitpid: " << std::strerror(errno);
    if (WIFSIGNALED(status)) {
        ADD_FAILURE() << "unprivileged check ended by signal " << WTERMSIG(status);
    } else if (WEXITSTATUS(status) == 100) {
        ADD_FAILURE() << "the check could not drop root privileges";
    } else {
        const int failures = WEXITSTATUS(status);
        EXPECT_EQ(failures, 0) << "failures recorded by the unprivileged check (printed above)";
    }
}

}  // namespace testsupport
