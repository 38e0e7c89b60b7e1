// The program's command-line export on a machine without a display: it chooses the off-screen
// platform by itself, exports, and answers with its status.
#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "app/CAppUtils.h"
#include "output/export/CmdLineExport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Unprivileged.h"

namespace {

TEST(RunCommandLineExport, RunsWithoutADisplay) {
    testsupport::TempDir root;
    testsupport::ScopedRegistry registry;
    testsupport::ScopedEnv data("XDG_DATA_HOME", (root / "data").string());
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    root.WriteFile("in/a.eml", "From: a@example.com\r\nSubject: headless\r\n\r\nbody\r\n");
    const std::string argument = "+EXPORT=" + (root / "in").string() + "," + (root / "out").string() + ",pdf,,";
    EXPECT_EQ(RunCommandLineExport({"quillora", argument}), ceAllExported);
    EXPECT_TRUE(std::filesystem::exists(root / "out" / "a.pdf"));
    EXPECT_EQ(RunCommandLineExport({"quillora", "+EXPORT=" + (root / "in").string()}), ceBadRequest);
}

// One user's run leaves its temporary folder behind; a second user sharing TMPDIR still
// exports an HTML message, and so does the first one after it.
TEST(RunCommandLineExport, TwoUsersSharingATemporaryFolderBothExport) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    testsupport::TempDir root;
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", "");
    testsupport::ScopedEnv shared("TMPDIR", (root / "tmp").string());
    std::filesystem::create_directory(root / "tmp");
    std::filesystem::permissions(root / "tmp", std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    root.WriteFile("in/a.eml",
                   "From: a@example.com\r\nSubject: shared\r\nContent-Type: text/html\r\n\r\n<p>html body</p>\r\n");
    ASSERT_FALSE(CAppUtils::getAppTempFolder().empty()) << "the first user's folder";
    const auto exportAs = [&](const std::string& who) {
        testsupport::ScopedEnv registry("QUILLORA_REGISTRY_DIR", (root / who / "registry").string());
        testsupport::ScopedEnv data("XDG_DATA_HOME", (root / who / "data").string());
        testsupport::ScopedEnv config("XDG_CONFIG_HOME", (root / who / "config").string());
        testsupport::ScopedEnv home("HOME", (root / who).string());
        const std::string argument = "+EXPORT=" + (root / "in").string() + "," + (root / who / "out").string() + ",pdf,,";
        EXPECT_EQ(RunCommandLineExport({"quillora", argument}), ceAllExported) << who;
        EXPECT_TRUE(std::filesystem::exists(root / who / "out" / "a.pdf")) << who;
    };
    testsupport::RunUnprivileged(root.path(), [&] {
        std::filesystem::create_directory(root / "second");
        exportAs("second");
    });
    exportAs("first");
}

}  // namespace
