#include "platform/win/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace {

std::vector<std::string> Names(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const fs::path& p)
{
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0);
    return st.st_mode & 07777;
}

}  // namespace

TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNothingBeside)
{
    TempDir dir;
    const fs::path target = dir.WriteFile("a.txt", std::string(5000, 'o'));
    EXPECT_EQ(ReplaceFileAtomically(target, "new"), 0);
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(WriteFileAtomically((dir / "b.txt").u16string(), ""));
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "");
    // A name at the file system's limit still has room for its temporary name.
    std::string longName;
    while (longName.size() < 253) longName += "\xC3\xA9";  // "é", two bytes each
    longName += "x";
    ASSERT_EQ(longName.size(), 255u);
    EXPECT_EQ(ReplaceFileAtomically(dir / longName, "long"), 0);
    EXPECT_EQ(ReadFileBytes(dir / longName), "long");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"a.txt", "b.txt", longName}));
}

TEST(AtomicFile, PermissionsFollowTheUmaskOrTheReplacedFile)
{
    TempDir dir;
    const mode_t mask = ::umask(022);
    EXPECT_EQ(ReplaceFileAtomically(dir / "plain", "x"), 0);
    EXPECT_EQ(ModeOf(dir / "plain"), 0644u);
    EXPECT_EQ(ReplaceFileAtomically(dir / "private", "x", {0600, true}), 0);
    EXPECT_EQ(ModeOf(dir / "private"), 0600u);
    ::chmod((dir / "private").c_str(), 0640);
    EXPECT_EQ(ReplaceFileAtomically(dir / "private", "y", {0600, true}), 0);
    EXPECT_EQ(ModeOf(dir / "private"), 0640u);
    // Without keepExisting a replaced file gets the mode of a new one.
    EXPECT_EQ(ReplaceFileAtomically(dir / "private", "z"), 0);
    EXPECT_EQ(ModeOf(dir / "private"), 0644u);
    ::umask(mask);
}

// A temporary name that is taken is never opened: another one is tried, and the file that
// held the name keeps its bytes.
TEST(AtomicFile, TakenTemporaryNamesAreSkippedNotReused)
{
    TempDir dir;
    const fs::path target = dir.WriteFile("t", "old");
    dir.WriteFile("taken0", "someone else's");
    dir.WriteFile("taken1", "another writer's");
    std::vector<unsigned> attempts;
    const AtomicTempName names = [&](const std::string& fileName, unsigned attempt) {
        EXPECT_EQ(fileName, "t");
        attempts.push_back(attempt);
        return attempt < 2 ? "taken" + std::to_string(attempt) : std::string("fresh");
    };
    EXPECT_EQ(ReplaceFileAtomically(target, "new", {}, names), 0);
    EXPECT_EQ(attempts, (std::vector<unsigned>{0, 1, 2}));
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(ReadFileBytes(dir / "taken0"), "someone else's");
    EXPECT_EQ(ReadFileBytes(dir / "taken1"), "another writer's");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"t", "taken0", "taken1"}));

    // When every name is taken the save fails and changes nothing.
    const AtomicTempName always = [](const std::string&, unsigned) { return std::string("taken0"); };
    EXPECT_EQ(ReplaceFileAtomically(target, "newer", {}, always), EEXIST);
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(ReadFileBytes(dir / "taken0"), "someone else's");
}

TEST(AtomicFile, FailureLeavesTheOldFileIntact)
{
    TempDir dir;
    // The rename fails: the target is a folder with something in it.
    fs::create_directory(dir / "folder");
    dir.WriteFile("folder/inside", "kept");
    EXPECT_NE(ReplaceFileAtomically(dir / "folder", "bytes"), 0);
    EXPECT_EQ(ReadFileBytes(dir / "folder" / "inside"), "kept");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"folder"});

    // A missing folder fails before anything is written.
    EXPECT_EQ(ReplaceFileAtomically(dir / "missing" / "x", "bytes"), ENOENT);

    // The write fails half way (file size limit, in a child so the limit stays there).
    const fs::path target = dir.WriteFile("keep.txt", "the old content");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4, 4};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(ReplaceFileAtomically(target, "longer than four bytes") == EFBIG ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFileBytes(target), "the old content");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"folder", "keep.txt"}));
}
