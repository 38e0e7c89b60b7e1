// Checks that must run without root's powers: a test of access denied by permissions says
// nothing when root runs it, since root passes every permission check.
#pragma once

#include <filesystem>
#include <functional>

namespace testsupport {

// Runs check in a child process. A child started as root first drops to user and group 65534
// ("nobody"); any other user runs it as itself. The folder is opened to every user first, so
// that the child can create its files there (the caller's temporary folder, removed by the
// caller). Failures the check records are printed by the child and fail the calling test, as
// do a crash, an exception or a child that cannot drop its privileges.
void RunUnprivileged(const std::filesystem::path& folder, const std::function<void()>& check);

}  // namespace testsupport
