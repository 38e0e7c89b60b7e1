// The shell tree over a temporary home: lazy filling, selection by path (hidden and non-UTF-8
// folders included), places outside the base folder, refresh after outside changes, and the
// main window's use through a form file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <condition_variable>
#include <mutex>

#include "controls/shell/RzShellTree.h"
#include "platform/shell/MountTable.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Messages.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string Names(const TTreeNode* parent) {
    std::string out;
    for (const TTreeNode* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
        out += (out.empty() ? "" : " ") + Utf16ToUtf8(c->Text());
    return out;
}

const TTreeNode* Child(const TTreeNode* parent, const char16_t* text) {
    for (const TTreeNode* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
        if (c->Text() == text) return c;
    return nullptr;
}

class ShellTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        for (const char* d : {".config", "Desktop", "Docs", "mail/2024", "mail/2023/Q1", "mail/.hidden/inner", "other"})
            fs::create_directories(home_ / d);
        std::ofstream(home_ / ".config/user-dirs.dirs")
            << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
    }
    std::string Path(const char* relative) const { return (home_ / relative).string(); }

    testsupport::TempDir dir_;
    fs::path home_ = dir_ / "home";
    testsupport::ScopedEnv homeEnv_{"HOME", home_.string()};
    testsupport::ScopedEnv configEnv_{"XDG_CONFIG_HOME", (home_ / ".config").string()};
};

TEST_F(ShellTreeTest, FillsTheDesktopAndReadsFoldersOnlyWhenOpened) {
    TRzShellTree tree(nullptr);
    int fills = 0;
    tree.OnFillComplete = [&](TObject*) { ++fills; };
    tree.FillTree();
    ASSERT_EQ(tree.Items()->TopCount(), 1);
    TTreeNode* root = tree.Items()->GetFirstNode();
    EXPECT_EQ(root->Text(), u"Desktop");
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(Names(root), "Home Desktop Documents Computer");
    EXPECT_EQ(tree.Selected(), root);
    EXPECT_EQ(tree.SelectedPathName(), Path("Desktop")) << "the desktop root is the desktop folder";

    TTreeNode* home = const_cast<TTreeNode*>(Child(root, u"Home"));
    ASSERT_TRUE(home);
    EXPECT_TRUE(home->HasChildren());
    EXPECT_EQ(home->Count(), 0) << "not read before it opens";
    const int before = fills;
    home->Expand(false);
    EXPECT_EQ(Names(home), ".config Desktop Docs mail other") << "default options show hidden folders";
    EXPECT_TRUE(Child(home, u".config")->Cut());
    EXPECT_FALSE(Child(home, u"mail")->Cut());
    EXPECT_GT(fills, before);
    EXPECT_FALSE(Child(home, u"other")->HasChildren()) << "a folder without folders shows no button";

    tree.SetSelected(const_cast<TTreeNode*>(Child(root, u"Computer")));
    EXPECT_EQ(tree.SelectedPathName(), "") << "Computer has no path";
}

TEST_F(ShellTreeTest, FillsOnceItsWindowIsMadeWithTheSelectionAlreadySet) {
    TForm form(nullptr);
    auto* tree = new TRzShellTree(&form);
    tree->SetParent(&form);
    tree->SetSelectedPath(Path("mail/2024"));
    EXPECT_EQ(tree->Items()->Count(), 0) << "nothing read before the window";
    form.Show();
    Application->ProcessMessages();
    ASSERT_GT(tree->Items()->Count(), 0);
    EXPECT_EQ(tree->SelectedPathName(), Path("mail/2024"));
}

TEST_F(ShellTreeTest, SelectingByPathExpandsDownToItAndFiresOnce) {
    TRzShellTree tree(nullptr);
    tree.SetOptions(tree.Options() >> stoShowHidden);
    tree.FillTree();
    std::vector<std::string> changes;
    tree.OnChange = [&](TObject*, TTreeNode*) { changes.push_back(tree.SelectedPathName()); };

    tree.SetSelectedPath(Path("mail/2023/Q1"));
    EXPECT_EQ(changes, std::vector<std::string>{Path("mail/2023/Q1")});
    EXPECT_EQ(tree.Selected()->Text(), u"Q1");
    EXPECT_TRUE(tree.Selected()->Parent()->Expanded());
    EXPECT_EQ(Names(tree.Selected()->Parent()->Parent()), "2023 2024") << "natural order";
    EXPECT_EQ(tree.SelectedFolder()->GetPath(), Path("mail/2023/Q1"));

    // The place already selected: nothing happens, by path or by locator.
    tree.SetSelectedPath(Path("mail/2023/Q1") + "/");
    TRzShellLocator same;
    same.SetPath(Path("mail/2023/Q1"));
    tree.SetSelectedFolder(&same);
    EXPECT_EQ(changes.size(), 1u);

    // A hidden folder the enumeration left out is added on its own, ghosted.
    tree.SetSelectedPath(Path("mail/.hidden/inner"));
    EXPECT_EQ(tree.SelectedPathName(), Path("mail/.hidden/inner"));
    EXPECT_TRUE(tree.Selected()->Parent()->Cut());
    EXPECT_EQ(Names(tree.Selected()->Parent()->Parent()), ".hidden 2023 2024");

    // A path that names no folder selects the root.
    tree.SetSelectedPath(Path("mail/absent"));
    EXPECT_EQ(tree.Selected(), tree.Items()->GetFirstNode());
    EXPECT_EQ(changes.back(), Path("Desktop"));
}

TEST_F(ShellTreeTest, NonUtf8FolderOpensAndGivesBackItsBytes) {
    const std::string raw = Path("mail") + "/caf\xe9";
    fs::create_directories(raw + "/sub");
    TRzShellTree tree(nullptr);
    tree.FillTree();
    tree.SetSelectedPath(raw + "/sub");
    EXPECT_EQ(tree.SelectedPathName(), raw + "/sub");
    EXPECT_EQ(tree.Selected()->Parent()->Text(), u"caf\uFFFD");
}

TEST_F(ShellTreeTest, BaseFolderRootsTheTreeAndPlacesOutsideItSelectTheRoot) {
    TRzShellTree tree(nullptr);
    tree.SetOptions(tree.Options() >> stoAutoFill);
    TRzShellLocator base;
    base.SetPath(Path("mail"));
    tree.SetBaseFolder(&base);
    tree.FillTree();
    TTreeNode* root = tree.Items()->GetFirstNode();
    EXPECT_EQ(root->Text(), u"mail");
    EXPECT_EQ(Names(root), ".hidden 2023 2024");
    tree.SetSelectedPath(Path("mail/2024"));
    EXPECT_EQ(tree.Selected()->Text(), u"2024");
    tree.SetSelectedPath(Path("other"));
    EXPECT_EQ(tree.Selected(), root) << "not a look-alike path below the root";
    tree.GoUp(3);
    EXPECT_EQ(tree.Selected(), root);
}

TEST_F(ShellTreeTest, RefreshFollowsFoldersMadeAndRemovedOutside) {
    TRzShellTree tree(nullptr);
    tree.FillTree();
    tree.SetSelectedPath(Path("mail/2023/Q1"));
    const TTreeNode* mail = tree.Selected()->Parent()->Parent();
    fs::remove_all(home_ / "mail/2023");
    fs::create_directories(home_ / "mail/2022");
    WORD key = VK_F1 + 4;  // F5
    tree.Perform(WM_KEYDOWN, key, 0);
    EXPECT_EQ(Names(mail), ".hidden 2022 2024");
    EXPECT_EQ(tree.Selected(), mail) << "the selection moves out of the removed folder";
    EXPECT_EQ(tree.SelectedPathName(), Path("mail"));
}

TEST_F(ShellTreeTest, OnAddItemAndTheVirtualFoldersOptionFilterNodes) {
    TRzShellTree tree(nullptr);
    tree.SetOptions(tree.Options() >> stoVirtualFolders);
    tree.OnAddItem = [&](TObject*, const ShellIdList& parent, const ShellIdList& item, DWORD, bool& allow) {
        allow = ShellIdListToPath(parent + item) != home_.string();
    };
    tree.FillTree();
    EXPECT_EQ(Names(tree.Items()->GetFirstNode()), "Desktop Documents Computer")
        << "Computer is an ancestor of folders and stays";
}

// The main window's folder tree as its form file declares it.
class TFolderForm : public TForm {
    QUILLORA_COMPONENT(TFolderForm)
public:
    using TForm::TForm;
    void ShellDirListKeyUp(TObject* sender, WORD&, TShiftState) {
        keyUpPaths.push_back(static_cast<TRzShellTree*>(sender)->SelectedPathName());
    }
    void ShellDirListMouseDown(TObject* sender, TMouseButton, TShiftState, int, int) {
        mouseDownPaths.push_back(static_cast<TRzShellTree*>(sender)->SelectedPathName());
    }
    std::vector<std::string> keyUpPaths, mouseDownPaths;
};

const TMetaClass& TFolderForm::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TFolderForm>("TFolderForm", &TForm::StaticClass(), [](TClassBuilder<TFolderForm>& b) {
            b.Method("ShellDirListKeyUp", &TFolderForm::ShellDirListKeyUp);
            b.Method("ShellDirListMouseDown", &TFolderForm::ShellDirListMouseDown);
        });
    return meta;
}

TEST_F(ShellTreeTest, FormFileDeclaresTheMainWindowsTree) {
    RegisterShellControls();
    TFolderForm form(nullptr);
    ReadComponentText(R"(object FolderForm: TFolderForm
  Width = 300
  Height = 400
  object ShellDirList: TRzShellTree
    Left = 0
    Top = 0
    Width = 250
    Height = 380
    Options = [stoAutoFill, stoVirtualFolders, stoShowHidden]
    ReadOnly = True
    HideSelection = False
    Indent = 20
    OnKeyUp = ShellDirListKeyUp
    OnMouseDown = ShellDirListMouseDown
  end
end
)",
                      &form);
    auto* tree = dynamic_cast<TRzShellTree*>(form.FindComponent("ShellDirList"));
    ASSERT_TRUE(tree);
    EXPECT_TRUE(tree->Options() == (TRzShellTreeOptions{stoAutoFill, stoVirtualFolders, stoShowHidden}));
    EXPECT_TRUE(tree->ReadOnly());
    EXPECT_EQ(tree->Indent(), 20);
    ASSERT_GT(tree->Items()->Count(), 0) << "auto-fill fills when the form is read";

    TRzShellLocator place;
    place.SetPath(Path("mail/2024"));
    tree->SetSelectedFolder(&place);
    EXPECT_EQ(tree->SelectedPathName(), Path("mail/2024"));
    tree->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    tree->Perform(WM_KEYUP, VK_F1, 0);
    EXPECT_EQ(form.mouseDownPaths, std::vector<std::string>{Path("mail/2024")});
    EXPECT_EQ(form.keyUpPaths, std::vector<std::string>{Path("mail/2024")});
    EXPECT_NE(ComponentToText(&form).find("Options = [stoAutoFill, stoVirtualFolders, stoShowHidden]"), std::string::npos);
}

TEST_F(ShellTreeTest, BaseFolderIsStoredInTheFormFile) {
    RegisterShellControls();
    TFolderForm form(nullptr);
    auto* tree = new TRzShellTree(&form);
    tree->SetName("ShellDirList");
    tree->SetParent(&form);
    TRzShellLocator base;
    base.SetPath(Path("mail/2024"));
    tree->SetBaseFolder(&base);
    const std::string text = ComponentToText(&form);
    EXPECT_NE(text.find("BaseFolder.Pidl = {"), std::string::npos) << text;

    TFolderForm again(nullptr);
    ReadComponentText(text, &again);
    auto* read = dynamic_cast<TRzShellTree*>(again.FindComponent("ShellDirList"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->BaseFolder()->GetPath(), Path("mail/2024"));
    EXPECT_EQ(read->Items()->GetFirstNode()->Text(), u"2024") << "auto-fill roots the tree there";
}

// A mount table the test rewrites, in place of the system's for the test's life.
class ScopedMountTable {
public:
    ScopedMountTable() : previous_(SetMountTableSource([text = text_] { return *text; })) {}
    ~ScopedMountTable() { SetMountTableSource(std::move(previous_)); }
    void Set(std::string text) { *text_ = std::move(text); }

private:
    std::shared_ptr<std::string> text_ = std::make_shared<std::string>("/dev/sda1 / ext4 rw 0 0\n");
    MountTableSource previous_;
};

TEST_F(ShellTreeTest, VolumesMountedAndUnmountedWhileRunningShowUnderComputer) {
    ScopedMountTable mounts;
    fs::create_directories(dir_ / "usb/photos");
    TRzShellTree tree(nullptr);
    tree.FillTree();
    TTreeNode* computer = const_cast<TTreeNode*>(Child(tree.Items()->GetFirstNode(), u"Computer"));
    ASSERT_TRUE(computer);
    computer->Expand(false);
    EXPECT_EQ(Names(computer), "File System");

    mounts.Set("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + (dir_ / "usb").string() + " vfat rw 0 0\n");
    tree.Perform(kShellChangeMessage, TChangeHandlerThread::kMountsChangedSlot, 0);
    tree.FlushPendingSelection();
    EXPECT_EQ(Names(computer), "File System usb");

    tree.SetSelected(const_cast<TTreeNode*>(Child(computer, u"usb")));
    mounts.Set("/dev/sda1 / ext4 rw 0 0\n");
    tree.Perform(kShellChangeMessage, TChangeHandlerThread::kMountsChangedSlot, 0);
    tree.FlushPendingSelection();
    EXPECT_EQ(Names(computer), "File System");
    EXPECT_EQ(tree.Selected(), computer) << "the selection leaves the volume that went";
}

TEST_F(ShellTreeTest, AShareThatDoesNotAnswerShowsNotReachableAndIsReadAgainWhenOpened) {
    ScopedMountTable mounts;
    const std::string share = Path("mail/2024");
    mounts.Set("/dev/sda1 / ext4 rw 0 0\nserver:/x " + share + " cifs rw 0 0\n");
    fs::create_directories(share + "/inbox");
    struct Gate {
        std::mutex mutex;
        std::condition_variable open;
        bool hung = true;
    };
    auto gate = std::make_shared<Gate>();
    const ShellFolderAccess previous = SetShellFolderAccess({[gate, share](const char* path) {
                                                                 std::unique_lock lock(gate->mutex);
                                                                 gate->open.wait(lock, [&] { return path != share || !gate->hung; });
                                                                 return opendir(path);
                                                             },
                                                             std::chrono::milliseconds(50)});
    TRzShellTree tree(nullptr);
    tree.FillTree();
    tree.SetSelectedPath(Path("mail"));
    tree.Selected()->Expand(false);
    TTreeNode* node = const_cast<TTreeNode*>(Child(tree.Selected(), u"2024"));
    ASSERT_TRUE(node);
    EXPECT_TRUE(node->HasChildren()) << "a share shows its button unread";
    node->Expand(false);
    EXPECT_EQ(Names(node), "Not reachable");
    tree.Refresh();
    EXPECT_EQ(Names(node), "Not reachable") << "a refresh does not wait on it again";

    {
        std::lock_guard lock(gate->mutex);
        gate->hung = false;
        gate->open.notify_all();
    }
    node->Collapse(false);
    node->Expand(false);
    EXPECT_EQ(Names(node), "inbox");
    SetShellFolderAccess(previous);
}

}  // namespace
