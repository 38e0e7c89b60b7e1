// Deleting into the desktop trash: the file leaves its folder, its record says where it came
// from, and a second file of the same name gets a name of its own in the trash.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/shell/ShellFileOps.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace testsupport;

WideString Wide(const fs::path& p) { return Utf8ToUtf16(p.string()); }

void Touch(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

TEST(MoveToTrash, FilesGoToTheHomeTrashWithARecordAndUniqueNames) {
    TempDir dir;
    ScopedEnv data("XDG_DATA_HOME", (dir.path() / "data").string());
    fs::create_directories(dir.path() / "docs");
    const fs::path first = dir.path() / "docs" / "r\xc3\xa9sum\xc3\xa9 1.msg";
    const fs::path second = dir.path() / "other.msg";
    Touch(first, "one");
    ASSERT_TRUE(MoveToTrash(Wide(first)));
    EXPECT_FALSE(fs::exists(first));
    const fs::path trash = dir.path() / "data" / "Trash";
    EXPECT_EQ(ReadFileBytes(trash / "files" / first.filename()), "one");
    const std::string record = ReadFileBytes(trash / "info" / (first.filename().string() + ".trashinfo"));
    EXPECT_NE(record.find("[Trash Info]\nPath=" + (dir.path() / "docs").string() + "/r%C3%A9sum%C3%A9%201.msg\n"),
              std::string::npos)
        << record;
    EXPECT_NE(record.find("DeletionDate="), std::string::npos);

    // The same name again is kept beside the first, not over it.
    Touch(first, "two");
    ASSERT_TRUE(MoveToTrash(Wide(first)));
    EXPECT_EQ(ReadFileBytes(trash / "files" / first.filename()), "one");
    EXPECT_EQ(ReadFileBytes(trash / "files" / (first.filename().string() + ".2")), "two");

    std::string error;
    EXPECT_FALSE(MoveToTrash(Wide(second), &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
