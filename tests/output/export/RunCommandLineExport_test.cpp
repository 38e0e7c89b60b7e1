// The program's command-line export on a machine without a display: it chooses the off-screen
// platform by itself, exports, and answers with its status.
#include <gtest/gtest.h>

#include <filesystem>

#include "output/export/CmdLineExport.h"
#include "tests/support/TestSupport.h"

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

}  // namespace
