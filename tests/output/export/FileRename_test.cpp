// The file naming utility on real folders: numbered and letter schemes, capacity, collisions
// that must never destroy a file, subfolders left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "output/export/FileRename.h"
#include "platform/win/WinString.h"
#include "tests/output/export/RecordingProgress.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

std::set<std::string> Listing(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

ExportOpts Numbered(const TempDir& dir, const WideString& prefix, int start)
{
    ExportOpts o;
    o.destFolder = Utf8ToUtf16(dir.path().string());
    o.prefix = prefix;
    o.useFileNumbering = true;
    o.currentNumber = start;
    return o;
}

TEST(FileRename, NumberedKeepsExtensionsAndLeavesSubfoldersAlone) {
    TempDir dir;
    dir.WriteFile("a.txt", "a");
    dir.WriteFile("b.doc", "b");
    dir.WriteFile("c", "c");
    fs::create_directory(dir / "sub");
    dir.WriteFile("sub/inner.txt", "i");
    testsupport::RecordingProgress progress;
    ExportOpts o = Numbered(dir, u"R", 7);
    o.progressForm = &progress;
    const RenameOutcome r = PDFRename(o);
    EXPECT_EQ(r.renamed, 3);
    EXPECT_EQ(r.failed, 0);
    EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"R7.txt", "R8.doc", "R9", "sub"}));
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "R8.doc"), "b");
    EXPECT_TRUE(fs::exists(dir / "sub" / "inner.txt"));
    EXPECT_EQ(progress.boxes, (std::vector<std::string>{"Completed: All files renamed successfully"}));
    EXPECT_EQ(progress.statuses.back(), "Completed");
}

TEST(FileRename, CollisionsNeverDestroyAFile) {
    TempDir dir;
    // Targets held by files of the run itself: planned first, so every file arrives.
    dir.WriteFile("R8.txt", "eight");
    dir.WriteFile("a.txt", "a");
    dir.WriteFile("b.txt", "b");
    ExportOpts o = Numbered(dir, u"R", 7);
    RenameOutcome r = PDFRename(o);
    EXPECT_EQ(r.failed, 0);
    EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"R7.txt", "R8.txt", "R9.txt"}));
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "R7.txt"), "eight");
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "R9.txt"), "b");

    // A target held by something outside the run: that file keeps its name, the next gets
    // the next number.
    TempDir other;
    other.WriteFile("a.txt", "a");
    other.WriteFile("b.doc", "b");
    other.WriteFile("c.txt", "c");
    fs::create_directory(other / "R2.doc");
    testsupport::RecordingProgress progress;
    ExportOpts p = Numbered(other, u"R", 1);
    p.progressForm = &progress;
    r = PDFRename(p);
    EXPECT_EQ(r.renamed, 2);
    EXPECT_EQ(r.failed, 1);
    EXPECT_EQ(Listing(other.path()), (std::set<std::string>{"R1.txt", "b.doc", "R2.doc", "R3.txt"}));
    EXPECT_EQ(testsupport::ReadFileBytes(other / "b.doc"), "b");
    EXPECT_EQ(progress.boxes.back(), "Error: Error: Some files were not renamed. Please check your access permissions.");
}

TEST(FileRename, LetterSchemeCapacityAndExhaustion) {
    TempDir dir;
    for (int i = 0; i < 11; ++i) dir.WriteFile("f" + std::to_string(100 + i) + ".txt", "x");
    testsupport::RecordingProgress progress;
    ExportOpts o;
    o.destFolder = Utf8ToUtf16(dir.path().string());
    o.letter = u'A';
    o.maxNumber = 9;
    o.progressForm = &progress;
    RenameOutcome r = PDFRename(o);
    EXPECT_TRUE(r.refused);
    EXPECT_EQ(progress.boxes, (std::vector<std::string>{
                                  "File naming: It is only possible to rename 10 files with your current options.There "
                                  "are 11 files in your directory. Please extend number range before trying again"}));
    EXPECT_TRUE(fs::exists(dir / "f100.txt"));

    o.allowLetterIncrement = true;
    r = PDFRename(o);
    EXPECT_EQ(r.renamed, 11);
    EXPECT_TRUE(fs::exists(dir / "A9.txt") && fs::exists(dir / "B0.txt"));

    // The capacity counts the letters from the chosen one to "Z" only.
    ExportOpts fromY;
    fromY.letter = u'Y';
    fromY.allowLetterIncrement = true;
    fromY.maxNumber = 9;
    EXPECT_EQ(NamingCapacity(fromY), 20);
    fromY.allowLetterIncrement = false;
    EXPECT_EQ(NamingCapacity(fromY), 10);

    // A plan past the last name leaves the rest as they are.
    fromY.allowLetterIncrement = true;
    fromY.maxNumber = 0;
    const auto plan = PlanRenames(fromY, {u"/x/a.txt", u"/x/b", u"/x/c.txt"});
    EXPECT_EQ(Utf16ToUtf8(plan[0].to), "/x/Y0.txt");
    EXPECT_EQ(Utf16ToUtf8(plan[1].to), "/x/Z0");
    EXPECT_TRUE(plan[2].to.empty());
}

TEST(FileRename, EmptyFolderSucceeds) {
    TempDir dir;
    testsupport::RecordingProgress progress;
    ExportOpts o = Numbered(dir, u"R", 1);
    o.progressForm = &progress;
    const RenameOutcome r = PDFRename(o);
    EXPECT_EQ(r.listed, 0);
    EXPECT_EQ(progress.boxes, (std::vector<std::string>{"Completed: All files renamed successfully"}));
}

}  // namespace
