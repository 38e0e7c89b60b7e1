// The file-system namespace over a temporary home: lists and their bytes, the mount table,
// sorted enumeration with hidden entries, attributes, and path round trips with names that
// are not ASCII or not UTF-8.
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/shell/MountTable.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TEST(ShellIdList, BytesRoundTripAndMalformedListsAreRejected) {
    const ShellIdList list = ShellIdList::Single("Fa") + ShellIdList::Single(std::string("F\xff\x01", 3));
    EXPECT_EQ(ShellIdList().Size(), 2u);
    EXPECT_EQ(list.Size(), 2u + 4 + 5);
    const Bytes bytes = list.Bytes();
    EXPECT_EQ(bytes, (Bytes{4, 0, 'F', 'a', 5, 0, 'F', 0xff, 1, 0, 0}));
    EXPECT_EQ(ShellIdList::FromBytes(bytes), list);
    EXPECT_EQ(ShellIdList::FromBytes(Bytes{0, 0}), ShellIdList());
    struct Case {
        const char* what;
        Bytes bytes;
    } const cases[] = {
        {"nothing", {}},
        {"one byte", {0}},
        {"an empty item", {2, 0, 0, 0}},
        {"a size below its own field", {1, 0, 0, 0}},
        {"an item past the end", {9, 0, 'F', 'a', 0, 0}},
        {"no closing zero", {4, 0, 'F', 'a'}},
    };
    for (const Case& c : cases) EXPECT_FALSE(ShellIdList::FromBytes(c.bytes)) << c.what;
}

TEST(ShellIdList, PiecesOfAThreeItemList) {
    const ShellIdList a = ShellIdList::Single("H"), b = ShellIdList::Single("Fb"), c = ShellIdList::Single("Fc");
    const ShellIdList list = a + b + c;
    EXPECT_EQ(list.First(2), a + b);
    EXPECT_EQ(list.First(0), ShellIdList());
    EXPECT_EQ(list.First(7), list);
    EXPECT_EQ(list.Last(), c);
    EXPECT_EQ(list.Parent(), a + b);
    EXPECT_EQ(ShellIdList().Parent(), ShellIdList());
    EXPECT_TRUE(list.StartsWith(a + b));
    EXPECT_FALSE(list.StartsWith(b));
}

TEST(MountTable, PseudoAndSystemMountsAreHiddenAndVolumesKept) {
    const auto table = ParseMountTable(
        "overlay / overlay rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sda1 /boot/efi vfat rw 0 0\n"
        "/dev/sdb1 /run/media/u/USB\\040Stick vfat rw 0 0\n"
        "server:/export /mnt/share nfs4 rw 0 0\n"
        "/dev/sdc1 /data ext4 rw 0 0\n"
        "/dev/sdd1 /data xfs rw 0 0\n"
        "garbage\n");
    std::vector<std::string> visible;
    for (const MountEntry& m : table)
        if (m.visible) visible.push_back(m.mountPoint);
    EXPECT_EQ(visible, (std::vector<std::string>{"/", "/run/media/u/USB Stick", "/mnt/share", "/data"}));
    const MountEntry* share = MountOf(table, "/mnt/share/a/b");
    ASSERT_TRUE(share);
    EXPECT_TRUE(share->remote);
    EXPECT_FALSE(share->removable);
    EXPECT_TRUE(MountOf(table, "/run/media/u/USB Stick")->removable);
    EXPECT_EQ(MountOf(table, "/data")->type, "xfs") << "the later mount hides the earlier";
    EXPECT_EQ(MountOf(table, "/database")->mountPoint, "/") << "a prefix of a name is no folder";
}

class ShellNamespaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(home_ / ".config");
        fs::create_directories(home_ / "Desktop");
        fs::create_directories(home_ / "Docs");
        std::ofstream(home_ / ".config/user-dirs.dirs")
            << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
    }
    static std::vector<std::string> Names(const std::vector<ShellItem>& items) {
        std::vector<std::string> names;
        for (const ShellItem& i : items) names.push_back(Utf16ToUtf8(i.name));
        return names;
    }
    ShellIdList Home() const { return *ParseShellPath(home_.string()); }

    testsupport::TempDir dir_;
    fs::path home_ = dir_ / "home";
    testsupport::ScopedEnv homeEnv_{"HOME", home_.string()};
    testsupport::ScopedEnv configEnv_{"XDG_CONFIG_HOME", (home_ / ".config").string()};
};

TEST_F(ShellNamespaceTest, DesktopHoldsHomeDesktopDocumentsAndComputer) {
    std::vector<ShellItem> items;
    ASSERT_EQ(EnumShellFolder(ShellIdList(), SHCONTF_FOLDERS, items), S_OK);
    EXPECT_EQ(Names(items), (std::vector<std::string>{"Home", "Desktop", "Documents", "Computer"}));
    EXPECT_EQ(ShellIdListToPath(items[0].id), home_.string());
    EXPECT_EQ(ShellIdListToPath(items[2].id), (home_ / "Docs").string());
    EXPECT_EQ(ShellIdListToPath(ShellIdList()), (home_ / "Desktop").string()) << "the desktop's own path";
    EXPECT_EQ(ShellIdListToPath(items[3].id), "") << "Computer has no path";
    EXPECT_FALSE(items[3].attributes & SFGAO_FILESYSTEM);

    std::vector<ShellItem> volumes;
    ASSERT_EQ(EnumShellFolder(items[3].id, SHCONTF_FOLDERS, volumes), S_OK);
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(Names(volumes)[0], "File System");
    EXPECT_EQ(ShellIdListToPath(items[3].id + volumes[0].id), "/");
}

TEST_F(ShellNamespaceTest, FoldersAreSortedNaturallyWithHiddenOnesOnRequest) {
    for (const char* d : {"b", "A10", "a2", ".hidden", "Zeta"}) fs::create_directories(home_ / "t" / d);
    fs::create_directories(home_ / "t/a2/sub");
    std::ofstream(home_ / "t/file1.txt") << "x";
    fs::create_directory_symlink(home_ / "t/b", home_ / "t/link");
    fs::create_symlink(home_ / "t/missing", home_ / "t/broken");
    const ShellIdList t = *ParseShellPath((home_ / "t").string());

    std::vector<ShellItem> items;
    ASSERT_EQ(EnumShellFolder(t, SHCONTF_FOLDERS, items), S_OK);
    EXPECT_EQ(Names(items), (std::vector<std::string>{"a2", "A10", "b", "link", "Zeta"}));
    EXPECT_TRUE(items[0].attributes & SFGAO_HASSUBFOLDER);
    EXPECT_FALSE(items[1].attributes & SFGAO_HASSUBFOLDER);
    EXPECT_TRUE(items[3].attributes & SFGAO_LINK);

    ASSERT_EQ(EnumShellFolder(t, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, items), S_OK);
    EXPECT_EQ(Names(items), (std::vector<std::string>{".hidden", "a2", "A10", "b", "link", "Zeta", "file1.txt"}))
        << "folders first; the broken link is left out";
    EXPECT_TRUE(items[0].attributes & SFGAO_HIDDEN);
    EXPECT_FALSE(items[1].attributes & SFGAO_HIDDEN);
    EXPECT_FALSE(items[6].attributes & SFGAO_FOLDER);

    EXPECT_NE(EnumShellFolder(t + ShellIdList::Single("Fgone"), SHCONTF_FOLDERS, items), S_OK);
}

TEST_F(ShellNamespaceTest, PathsRoundTripThroughListsKeepingRawBytes) {
    const std::string nonUtf8 = "caf\xe9";  // Latin-1, not UTF-8
    for (const std::string& name : {std::string("plain"), std::string("Grüße 日本"), nonUtf8}) {
        const fs::path p = home_ / "r" / name / "inner";
        fs::create_directories(p);
        const auto list = ParseShellPath(p.string());
        ASSERT_TRUE(list) << name;
        EXPECT_EQ(ShellIdListToPath(*list), p.string());
        EXPECT_EQ(ShellIdListToPath(list->Parent()), (home_ / "r" / name).string());
        EXPECT_EQ(ShellIdList::FromBytes(list->Bytes()), *list);
        std::vector<ShellItem> items;
        ASSERT_EQ(EnumShellFolder(list->Parent(), SHCONTF_FOLDERS, items), S_OK) << "a folder that opens";
        EXPECT_EQ(Names(items), std::vector<std::string>{"inner"});
    }
    EXPECT_EQ(GetShellDisplayName(*ParseShellPath((home_ / "r" / nonUtf8).string()), ShellNameKind::InFolder),
              u"caf\uFFFD");
    EXPECT_EQ(GetShellDisplayName(*ParseShellPath((home_ / "r/Grüße 日本").string()), ShellNameKind::InFolder),
              u"Grüße 日本");
}

TEST_F(ShellNamespaceTest, ParsingNormalisesAndRefusesWhatNamesNoFolder) {
    fs::create_directories(home_ / "x/y");
    const ShellIdList y = *ParseShellPath((home_ / "x/y").string());
    EXPECT_EQ(y.Count(), 3) << "Home, x, y";
    EXPECT_EQ(ParseShellPath(home_.string() + "//x/./y/"), y);
    EXPECT_EQ(ParseShellPath(home_.string()), ShellIdList::Single("H"));
    EXPECT_EQ(ParseShellPath("/")->Count(), 2) << "Computer, the root volume";
    for (const std::string& bad : {std::string(), std::string("x/y"), home_.string() + "/x/../x",
                                   home_.string() + "/absent", "/" + std::string(300, 'n')})
        EXPECT_FALSE(ParseShellPath(bad)) << bad;
    // Lists that name no place: an item after Computer that is no volume, a name with a slash.
    for (const ShellIdList& bad : {ShellIdList::Single("C") + ShellIdList::Single("Fx"),
                                   ShellIdList::Single("H") + ShellIdList::Single("Fa/b"),
                                   ShellIdList::Single("Q")}) {
        std::vector<ShellItem> items;
        EXPECT_EQ(EnumShellFolder(bad, SHCONTF_FOLDERS, items), E_INVALIDARG);
        EXPECT_EQ(ShellIdListToPath(bad), "");
    }
}

// A mount table and a folder opener put in for one test: the opener notes every folder it
// opens and, while held, keeps callers of a chosen folder waiting as a hung server would.
class FakeMounts {
public:
    explicit FakeMounts(std::string table)
        : previousTable_(SetMountTableSource([table] { return table; })),
          previousAccess_(SetShellFolderAccess({[state = state_](const char* path) {
                                                    std::unique_lock lock(state->mutex);
                                                    state->opened.emplace_back(path);
                                                    state->released.wait(lock, [&] { return path != state->hung || !state->holding; });
                                                    return opendir(path);
                                                },
                                                std::chrono::milliseconds(50)})) {}
    ~FakeMounts() {
        Release();
        SetMountTableSource(std::move(previousTable_));
        SetShellFolderAccess(std::move(previousAccess_));
    }
    void Hang(const std::string& path) {
        std::lock_guard lock(state_->mutex);
        state_->hung = path;
        state_->holding = true;
    }
    void Release() {
        std::lock_guard lock(state_->mutex);
        state_->holding = false;
        state_->released.notify_all();
    }
    bool Opened(const std::string& path) const {
        std::lock_guard lock(state_->mutex);
        return std::find(state_->opened.begin(), state_->opened.end(), path) != state_->opened.end();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable released;
        std::vector<std::string> opened;
        std::string hung;
        bool holding = false;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
    MountTableSource previousTable_;
    ShellFolderAccess previousAccess_;
};

TEST_F(ShellNamespaceTest, RemoteMountPointsBelowLocalFoldersAreNeverOpenedWhileListing) {
    for (const char* d : {"mnt/share/sub", "mnt/fuse/sub", "mnt/disk"}) fs::create_directories(home_ / d);
    const std::string share = (home_ / "mnt/share").string(), fuse = (home_ / "mnt/fuse").string();
    FakeMounts mounts("/dev/sda1 / ext4 rw 0 0\nserver:/export " + share + " nfs4 rw 0 0\nhost: " + fuse +
                      " fuse.sshfs rw 0 0\n");
    const ShellIdList mnt = *ParseShellPath((home_ / "mnt").string());

    std::vector<ShellItem> items;
    ASSERT_EQ(EnumShellFolder(mnt, SHCONTF_FOLDERS, items), S_OK);
    ASSERT_EQ(Names(items), (std::vector<std::string>{"disk", "fuse", "share"}));
    for (const ShellItem& i : {items[1], items[2]})
        EXPECT_EQ(i.attributes & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER), SFGAO_FOLDER | SFGAO_HASSUBFOLDER)
            << "a network or FUSE mount shows a button without being read";
    EXPECT_FALSE(items[0].attributes & SFGAO_HASSUBFOLDER) << "a local folder is still looked into";
    EXPECT_TRUE(mounts.Opened((home_ / "mnt/disk").string()));
    DWORD attributes = 0;
    ASSERT_EQ(GetShellAttributes(mnt + items[2].id, attributes), S_OK);
    EXPECT_TRUE(attributes & SFGAO_HASSUBFOLDER);
    EXPECT_FALSE(mounts.Opened(share));
    EXPECT_FALSE(mounts.Opened(fuse));

    // Opened on purpose, a server that does not answer gives "not reachable" at the deadline;
    // once it answers, the folder reads.
    mounts.Hang(share);
    EXPECT_EQ(EnumShellFolder(mnt + items[2].id, SHCONTF_FOLDERS, items), kShellNotReachable);
    EXPECT_TRUE(items.empty());
    mounts.Release();
    ASSERT_EQ(EnumShellFolder(mnt + ShellIdList::Single("Fshare"), SHCONTF_FOLDERS, items), S_OK);
    EXPECT_EQ(Names(items), std::vector<std::string>{"sub"});
}

}  // namespace
