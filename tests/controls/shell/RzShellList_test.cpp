// The shell list over a temporary home: filling and sorting, the size column, opening and
// navigating (alone and linked to a tree), following outside changes, renaming, and deleting
// into the trash only after the user agrees.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "controls/shell/RzShellColumnWidths.h"
#include "controls/shell/RzShellList.h"
#include "controls/shell/RzShellTree.h"
#include "platform/shell/ShellFileOps.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/Registry.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string Names(const TCustomListView& list) {
    std::string out;
    for (int i = 0; i < list.Items()->Count(); ++i) out += (out.empty() ? "" : " ") + Utf16ToUtf8(list.Items()->Item(i)->Caption());
    return out;
}

TListItem* Find(const TCustomListView& list, const char16_t* caption) {
    for (int i = 0; i < list.Items()->Count(); ++i)
        if (list.Items()->Item(i)->Caption() == caption) return list.Items()->Item(i);
    return nullptr;
}

class ShellListTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        for (const char* d : {".config", "Desktop", "mail/inbox", "mail/sent"}) fs::create_directories(home_ / d);
        std::ofstream(home_ / ".config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
        Write("mail/file10.eml", 1025);
        Write("mail/File2.eml", 0);
        Write("mail/big.msg", 3000);
        Write("mail/.hidden", 1);
        fs::create_directory_symlink(home_ / "mail/inbox", home_ / "mail/shortcut");
    }
    void Write(const char* relative, std::size_t size) const { std::ofstream(home_ / relative) << std::string(size, 'x'); }
    std::string Path(const char* relative) const { return (home_ / relative).string(); }
    void Show(TRzShellList& list, const char* relative) const {
        TRzShellLocator at;
        at.SetPath(Path(relative));
        list.SetFolder(&at);
    }
    // Sends the change message the watcher posts and runs the refresh it schedules.
    static void ChangeNotified(TRzShellList& list) {
        list.Perform(kShellChangeMessage, 0, 0);
        list.FlushPending(false);
    }

    testsupport::TempDir dir_;
    fs::path home_ = dir_ / "home";
    testsupport::ScopedEnv homeEnv_{"HOME", home_.string()};
    testsupport::ScopedEnv configEnv_{"XDG_CONFIG_HOME", (home_ / ".config").string()};
    testsupport::ScopedEnv dataEnv_{"XDG_DATA_HOME", (home_ / ".local/share").string()};
};

TEST_F(ShellListTest, FillsFoldersFirstInNaturalOrderWithDetails) {
    TRzShellList list(nullptr);
    Show(list, "mail");
    EXPECT_EQ(Names(list), "inbox sent shortcut .hidden big.msg File2.eml file10.eml");
    ASSERT_EQ(list.Columns()->Count(), 4);
    EXPECT_EQ(list.Column(1)->Caption(), u"Size");
    EXPECT_EQ(list.Column(0)->Width(), 200);
    const int file10 = Find(list, u"file10.eml")->Index();
    EXPECT_EQ(list.CellText(file10, 1), u"2KB");
    EXPECT_EQ(list.CellText(Find(list, u"File2.eml")->Index(), 1), u"0KB");
    EXPECT_EQ(list.CellText(Find(list, u"inbox")->Index(), 1), u"") << "folders show no size";
    EXPECT_EQ(list.CellText(file10, 2), u"EML File");
    EXPECT_FALSE(list.CellText(file10, 3).empty());
    EXPECT_EQ(Find(list, u"shortcut")->OverlayIndex(), 1);
    EXPECT_TRUE(list.GetDataFromItem(Find(list, u"shortcut"))->IsShortcut());
}

TEST_F(ShellListTest, SizeTextsRoundUpToWholeKilobytes) {
    const std::pair<std::uint64_t, const char16_t*> cases[] = {
        {0, u"0KB"}, {1, u"1KB"}, {1024, u"1KB"}, {1025, u"2KB"}, {1024ull * 999, u"999KB"},
        {1024ull * 1000, u"1,000KB"}, {1024ull * 1234567 + 1, u"1,234,568KB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(ShellSizeText(bytes, u','), text) << bytes;
    EXPECT_EQ(ShellSizeText(1024ull * 1000, u'.'), u"1.000KB");
}

TEST_F(ShellListTest, ColumnWidthsComeFromAndGoBackToDirectoryCols) {
    testsupport::ScopedRegistry registry;
    // 150, 70, 90, 110 and a fifth value that is kept.
    const std::vector<std::uint8_t> stored = {150, 0, 70, 0, 90, 0, 110, 0, 42, 0};
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", true));
        reg.WriteBinaryData("DirectoryCols", stored.data(), static_cast<int>(stored.size()));
    }
    {
        TRzShellList list(nullptr);
        list.HandleNeeded();
        Show(list, "mail");
        ASSERT_EQ(list.Columns()->Count(), 4);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(list.Column(i)->Width(), stored[static_cast<std::size_t>(2 * i)]) << i;
        list.Column(0)->SetWidth(0x123);
        list.DestroyHandle();
    }
    std::vector<std::uint8_t> value = ReadDirectoryCols();
    ASSERT_EQ(value.size(), stored.size());
    EXPECT_EQ(value[0], 0x23);
    EXPECT_EQ(value[1], 0x01);
    EXPECT_EQ(value[8], 42) << "values beyond the widths stay";
    TRzShellList next(nullptr);
    Show(next, "mail");
    EXPECT_EQ(next.Column(0)->Width(), 0x123);

    // A value longer than 22 bytes is not the desktop's: the defaults.
    const std::vector<std::uint8_t> tooLong(24, 1);
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", false));
        reg.WriteBinaryData("DirectoryCols", tooLong.data(), static_cast<int>(tooLong.size()));
    }
    EXPECT_TRUE(ReadDirectoryCols().empty());
    EXPECT_EQ(DirectoryColsWidths({}), (std::vector<int>{200, 60, 100, 120}));
    EXPECT_EQ(DirectoryColsWidths({10, 1}), (std::vector<int>{266, 60, 100, 120})) << "a short value overlays the defaults";
}

TEST_F(ShellListTest, ColumnClicksSortAndReverse) {
    TRzShellList list(nullptr);
    list.SetOptions(list.Options() >> sloShowHidden);
    Show(list, "mail");
    NMLISTVIEW click;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 1;
    list.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(list.SortColumn(), 2);
    EXPECT_EQ(Names(list), "inbox sent shortcut File2.eml file10.eml big.msg");
    list.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(list.SortColumn(), -2);
    EXPECT_EQ(list.HeaderSortDirection(), sdDescending);
    EXPECT_EQ(Names(list), "big.msg file10.eml File2.eml shortcut sent inbox") << "the whole order reversed";
}

TEST_F(ShellListTest, OpensFoldersAndLinksInPlaceAndFilesWithTheDesktop) {
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& p) {
        opened.push_back(p);
        return true;
    });
    TRzShellList list(nullptr);
    Show(list, "mail");
    list.OpenItem(Find(list, u"shortcut"));
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail/shortcut"));
    WideChar back = VK_BACK;
    list.Perform(WM_CHAR, back, 0);
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail"));
    list.OpenItem(Find(list, u"big.msg"));
    EXPECT_EQ(opened, std::vector<std::string>{Path("mail/big.msg")}) << "never run, only handed to the desktop";
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail"));

    list.SetOptions(list.Options() << sloNoNavigation);
    list.OpenItem(Find(list, u"inbox"));
    list.GoUp(1);
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail"));
    SetShellOpener(nullptr);
}

TEST_F(ShellListTest, LinkedTreeDecidesTheFolder) {
    TForm form(nullptr);
    auto& tree = *new TRzShellTree(&form);
    auto& list = *new TRzShellList(&form);
    tree.SetParent(&form);
    list.SetParent(&form);
    tree.SetShellList(&list);
    EXPECT_EQ(list.ShellTree(), &tree);
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(Names(list), "Home Desktop Computer") << "both fill with their windows: the desktop's places";

    tree.SetSelectedPath(Path("mail"));
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail")) << "a selection by program shows at once";

    // A keyboard move waits for the user to pause; then the list follows once.
    int fills = 0;
    list.OnFillComplete = [&](TObject*) { ++fills; };
    tree.Selected()->Expand(false);
    TTreeNode* inbox = tree.Selected()->GetFirstChild();
    tree.SetSelected(inbox);
    tree.SetSelected(inbox->GetNextSibling());
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail"));
    EXPECT_EQ(fills, 0);
    tree.FlushPendingSelection();
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail/sent"));
    EXPECT_EQ(fills, 1);

    // Backspace in the list selects the tree's parent node, and the list follows.
    WideChar back = VK_BACK;
    list.Perform(WM_CHAR, back, 0);
    EXPECT_EQ(tree.SelectedPathName(), Path("mail"));
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail"));

    // Opening a folder in the list selects it in the tree.
    list.OpenItem(Find(list, u"inbox"));
    EXPECT_EQ(tree.SelectedPathName(), Path("mail/inbox"));
    EXPECT_EQ(list.Folder()->GetPath(), Path("mail/inbox"));

    // Files only: the tree keeps the folders.
    list.SetOptions(list.Options() << sloFilesOnlyWithTree);
    tree.SetSelectedPath(Path("mail"));
    EXPECT_EQ(Names(list), ".hidden big.msg File2.eml file10.eml");
    EXPECT_TRUE(tree.Selected()->Expanded());
}

TEST_F(ShellListTest, FollowsEntriesMadeAndRemovedOutside) {
    TRzShellList list(nullptr);
    Show(list, "mail");
    Write("mail/new.eml", 5);
    fs::remove(home_ / "mail/big.msg");
    ChangeNotified(list);
    EXPECT_EQ(Names(list), "inbox sent shortcut .hidden File2.eml file10.eml new.eml");
}

TEST_F(ShellListTest, RenameByLabelEditingChecksTheName) {
    TRzShellList list(nullptr);
    Show(list, "mail");
    std::vector<WideString> boxes;
    TScopedModalHook hook([&](TModalRequest& r) {
        boxes.push_back(r.Text);
        return IDOK;
    });
    auto endEdit = [&](const char16_t* caption, const char16_t* text) {
        WideString buffer = text;
        NMLVDISPINFOW nm;
        nm.hdr.code = LVN_ENDLABELEDITW;
        nm.item.iItem = Find(list, caption)->Index();
        nm.item.pszText = buffer.data();
        list.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    };
    endEdit(u"big.msg", u"  a/b  ");
    EXPECT_TRUE(fs::exists(home_ / "mail/big.msg"));
    ASSERT_EQ(boxes.size(), 1u) << "refused with a message, not cut";
    EXPECT_NE(Find(list, u"big.msg"), nullptr);

    endEdit(u"big.msg", u" aaa.msg ");
    EXPECT_TRUE(fs::exists(home_ / "mail/aaa.msg"));
    EXPECT_FALSE(fs::exists(home_ / "mail/big.msg"));
    ASSERT_NE(Find(list, u"aaa.msg"), nullptr);
    EXPECT_EQ(list.GetDataFromItem(Find(list, u"aaa.msg"))->GetPath(), Path("mail/aaa.msg"));
    EXPECT_EQ(Names(list), "inbox sent shortcut .hidden aaa.msg File2.eml file10.eml") << "sorted again";
}

TEST_F(ShellListTest, DeleteAsksThenMovesToTheTrash) {
    TRzShellList list(nullptr);
    Show(list, "mail");
    int answer = IDNO;
    WideString asked;
    TScopedModalHook hook([&](TModalRequest& r) {
        asked = r.Text;
        return answer;
    });
    Find(list, u"big.msg")->SetSelected(true);
    WORD del = VK_DELETE;
    list.Perform(WM_KEYDOWN, del, 0);
    EXPECT_EQ(asked, u"Move \"big.msg\" to the trash?");
    EXPECT_TRUE(fs::exists(home_ / "mail/big.msg")) << "the user said no";

    answer = IDYES;
    list.Perform(WM_KEYDOWN, del, 0);
    EXPECT_FALSE(fs::exists(home_ / "mail/big.msg"));
    EXPECT_TRUE(fs::exists(home_ / ".local/share/Trash/files/big.msg")) << "never deleted outright";
    EXPECT_EQ(Find(list, u"big.msg"), nullptr);
}

}  // namespace
