// Moving to the trash as the desktop lays it out, renaming entries with their names checked,
// folder-change handles and type names, over temporary folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/shell/MountTable.h"
#include "platform/shell/ShellChangeNotify.h"
#include "platform/shell/ShellFileOps.h"
#include "platform/shell/ShellIcons.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/win/WinError.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class ShellFileOpsTest : public ::testing::Test {
protected:
    testsupport::TempDir dir_;
    fs::path data_ = dir_ / "data";
    testsupport::ScopedEnv dataEnv_{"XDG_DATA_HOME", data_.string()};
};

TEST_F(ShellFileOpsTest, TrashKeepsTheItemAndWhereItCameFrom) {
    const fs::path file = dir_.WriteFile("caf\xe9 #1.txt", "x");
    ASSERT_EQ(MoveToTrash(file.string()), S_OK);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(testsupport::ReadFileBytes(data_ / "Trash/files" / "caf\xe9 #1.txt"), "x");
    const std::string info = testsupport::ReadFileBytes(data_ / "Trash/info" / "caf\xe9 #1.txt.trashinfo");
    EXPECT_NE(info.find("[Trash Info]\nPath=" + EncodePathForUrl(dir_.path().string()) + "/caf%E9%20%231.txt\n"), std::string::npos) << info;
    EXPECT_NE(info.find("DeletionDate="), std::string::npos);

    // A second item of the same name gets a name of its own; a folder goes whole.
    dir_.WriteFile("caf\xe9 #1.txt", "y");
    fs::create_directories(dir_ / "folder/inner");
    ASSERT_EQ(MoveToTrash(file.string()), S_OK);
    ASSERT_EQ(MoveToTrash((dir_ / "folder").string()), S_OK);
    EXPECT_EQ(testsupport::ReadFileBytes(data_ / "Trash/files" / "caf\xe9 #1.txt.2"), "y");
    EXPECT_TRUE(fs::is_directory(data_ / "Trash/files/folder/inner"));
    EXPECT_TRUE(fs::exists(data_ / "Trash/info/folder.trashinfo"));
}

TEST_F(ShellFileOpsTest, VolumeTrashMustBeTheUsersOwnFolder) {
    // The home trash cannot be made (its parent is a file): the volume's trash serves, on a
    // volume mounted at the temporary folder.
    testsupport::ScopedEnv data("XDG_DATA_HOME", dir_.WriteFile("plain", "x").string());
    const std::string top = dir_.path().string();
    MountTableSource previous = SetMountTableSource([top] { return "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + top + " ext4 rw 0 0\n"; });
    const fs::path trash = dir_ / (".Trash-" + std::to_string(geteuid()));
    const fs::path elsewhere = dir_ / "someone-elses";
    fs::create_directories(elsewhere);
    fs::create_directory_symlink(elsewhere, trash);
    const fs::path file = dir_.WriteFile("item.eml", "x");
    EXPECT_EQ(MoveToTrash(file.string()), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)) << "a link planted as the trash";
    EXPECT_TRUE(fs::exists(file));
    EXPECT_TRUE(fs::is_empty(elsewhere));

    fs::remove(trash);
    ASSERT_EQ(MoveToTrash(file.string()), S_OK);
    EXPECT_EQ(fs::status(trash).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(fs::exists(trash / "files/item.eml"));
    EXPECT_NE(testsupport::ReadFileBytes(trash / "info/item.eml.trashinfo").find("Path=item.eml\n"), std::string::npos)
        << "named from the volume's top";
    SetMountTableSource(std::move(previous));
}

TEST_F(ShellFileOpsTest, WidePathsTrashAndSayWhyNot) {
    const fs::path file = dir_.WriteFile("wide.eml", "x");
    std::string error;
    EXPECT_TRUE(MoveToTrash(WideString(u"") + std::u16string(file.u16string()), &error));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(MoveToTrash(WideString(file.u16string()), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ShellFileOpsTest, TrashFailsWithoutTouchingAnything) {
    EXPECT_TRUE(FAILED(MoveToTrash((dir_ / "absent").string())));
    EXPECT_TRUE(FAILED(MoveToTrash("")));
    EXPECT_TRUE(FAILED(MoveToTrash("relative")));
    EXPECT_FALSE(fs::exists(data_ / "Trash/info") && !fs::is_empty(data_ / "Trash/info"));
}

TEST_F(ShellFileOpsTest, OpeningGoesToTheDesktopHandler) {
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& p) {
        opened.push_back(p);
        return true;
    });
    EXPECT_TRUE(OpenWithDesktop("/tmp/a b.sh"));
    SetShellOpener(nullptr);
    EXPECT_EQ(opened, std::vector<std::string>{"/tmp/a b.sh"});
}

TEST_F(ShellFileOpsTest, RenameChecksTheNameAndNeverReplaces) {
    fs::create_directories(dir_ / "f");
    dir_.WriteFile("f/a.txt", "a");
    dir_.WriteFile("f/b.txt", "b");
    const ShellIdList folder = *ParseShellPath((dir_ / "f").string());
    std::vector<ShellItem> items;
    ASSERT_EQ(EnumShellFolder(folder, SHCONTF_NONFOLDERS, items), S_OK);
    const ShellIdList a = items[0].id;

    struct Case {
        WideString name;
        HRESULT result;
    };
    const Case cases[] = {
        {u"", HRESULT_FROM_WIN32(ERROR_INVALID_NAME)},
        {u".", HRESULT_FROM_WIN32(ERROR_INVALID_NAME)},
        {u"..", HRESULT_FROM_WIN32(ERROR_INVALID_NAME)},
        {u"x/y", HRESULT_FROM_WIN32(ERROR_INVALID_NAME)},
        {WideString(256, u'n'), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)},
        {WideString(128, u'\u00e9'), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)},  // 256 bytes
        {u"b.txt", HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)},
    };
    for (const Case& c : cases) {
        ShellIdList renamed;
        EXPECT_EQ(SetShellItemName(folder, a, c.name, renamed), c.result) << c.name.size();
    }
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "f/a.txt"), "a");
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "f/b.txt"), "b");

    ShellIdList renamed;
    ASSERT_EQ(SetShellItemName(folder, a, u"\u00e9t\u00e9.txt", renamed), S_OK);
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "f/\xc3\xa9t\xc3\xa9.txt"), "a");
    EXPECT_EQ(GetShellDisplayName(folder + renamed, ShellNameKind::InFolder), u"\u00e9t\u00e9.txt");
    EXPECT_EQ(SetShellItemName(ShellIdList(), ShellIdList::Single("C"), u"x", renamed), E_INVALIDARG)
        << "places are not renamed";
}

TEST_F(ShellFileOpsTest, TypeNamesWithoutADesktopSource) {
    EXPECT_EQ(GetShellTypeName("", SFGAO_FOLDER), u"System Folder");
    EXPECT_EQ(GetShellTypeName("/a/b", SFGAO_FILESYSTEM | SFGAO_FOLDER), u"Folder");
    EXPECT_EQ(GetShellTypeName("/a/mail.eml", SFGAO_FILESYSTEM), u"EML File");
    EXPECT_EQ(GetShellTypeName("/a/.profile", SFGAO_FILESYSTEM), u"File");
    EXPECT_EQ(GetShellTypeName("/a.b/plain", SFGAO_FILESYSTEM), u"File");
}

class ShellChangeTest : public ::testing::Test {
protected:
    testsupport::TempDir dir_;
};

TEST_F(ShellChangeTest, FiresForEntriesTheFilterAsksFor) {
    auto folders = ShellChangeHandle::Open(dir_.path().string(), false, FILE_NOTIFY_CHANGE_DIR_NAME);
    auto files = ShellChangeHandle::Open(dir_.path().string() + "/", false, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_TRUE(folders && files);
    dir_.WriteFile("new.txt", "x");
    EXPECT_FALSE(folders->Consume()) << "a file is no folder change";
    EXPECT_TRUE(files->Consume());
    fs::create_directory(dir_ / "made");
    const ShellWakeEvent wake;
    ShellChangeHandle* const handles[] = {folders.get()};
    EXPECT_EQ(WaitForShellChanges(wake, handles), 0);
    EXPECT_TRUE(folders->Consume());
    EXPECT_FALSE(folders->Consume()) << "read once";
    wake.Set();
    EXPECT_EQ(WaitForShellChanges(wake, handles), -1);

    EXPECT_FALSE(ShellChangeHandle::Open("", false, FILE_NOTIFY_CHANGE_DIR_NAME));
    EXPECT_FALSE(ShellChangeHandle::Open((dir_ / "absent").string(), false, FILE_NOTIFY_CHANGE_DIR_NAME));
    EXPECT_FALSE(ShellChangeHandle::Open((dir_ / "new.txt").string(), false, FILE_NOTIFY_CHANGE_DIR_NAME));
}

TEST_F(ShellChangeTest, SubtreeCoversFoldersListedBeforeAndAfter) {
    fs::create_directories(dir_ / "a/b");
    fs::create_directories(dir_ / "c");
    std::vector<ShellItem> items;
    ASSERT_EQ(EnumShellFolder(*ParseShellPath((dir_ / "a").string()), SHCONTF_FOLDERS, items), S_OK);
    auto handle = ShellChangeHandle::Open(dir_.path().string(), true, FILE_NOTIFY_CHANGE_DIR_NAME);
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->WatchCount(), 2) << "the root and the listed folder a";
    fs::create_directory(dir_ / "a/new");
    EXPECT_TRUE(handle->Consume());
    fs::create_directory(dir_ / "c/new");
    EXPECT_FALSE(handle->Consume()) << "c was never listed";
    ASSERT_EQ(EnumShellFolder(*ParseShellPath((dir_ / "c").string()), SHCONTF_FOLDERS, items), S_OK);
    fs::create_directory(dir_ / "c/newer");
    EXPECT_TRUE(handle->Consume());

    fs::remove_all(dir_.path());
    EXPECT_TRUE(handle->Consume());
    EXPECT_TRUE(handle->Gone());
    fs::create_directories(dir_.path());  // for the folder's own clean-up
}

}  // namespace
