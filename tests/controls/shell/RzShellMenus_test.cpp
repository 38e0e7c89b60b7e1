// The shell's context menus in the shell controls: commands found by their verbs, the menu-key
// rule, message texts, new folders, and the tree's menu, keys, renaming and change messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "controls/shell/RzShellMenus.h"
#include "controls/shell/RzShellTree.h"
#include "platform/shell/DesktopApps.h"
#include "platform/shell/ShellIcons.h"
#include "platform/shell/menus/ShellFileTransfer.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Verbs(IContextMenu& menu, HMENU popup) {
    std::vector<std::string> verbs;
    for (const TMenuItemRecord& r : MenuItemRecords(popup))
        if (r.Id >= kFirstShellCommand) verbs.push_back(ContextCommandVerb(menu, r.Id - kFirstShellCommand));
    return verbs;
}

class ShellMenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        for (const char* d : {".config", "Desktop", "mail/inbox", "mail/New Folder", "mail/New Folder (2)"})
            fs::create_directories(home_ / d);
        std::ofstream(home_ / ".config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
        std::ofstream(home_ / "mail/a.eml") << "a";
    }
    std::string Path(const char* relative) const { return (home_ / relative).string(); }
    ShellIdList List(const char* relative) const { return *ParseShellPath(Path(relative)); }

    testsupport::TempDir dir_;
    fs::path home_ = dir_ / "home";
    testsupport::ScopedEnv homeEnv_{"HOME", home_.string()};
    testsupport::ScopedEnv configEnv_{"XDG_CONFIG_HOME", (home_ / ".config").string()};
    testsupport::ScopedEnv dataEnv_{"XDG_DATA_HOME", (home_ / ".local/share").string()};
};

TEST_F(ShellMenusTest, CommandsAreFoundByTheirVerbs) {
    const ShellIdList mail = List("mail");
    const ShellIdList file = List("mail/a.eml").Last();
    TShellPopup popup;
    auto menu = BuildContextMenu(mail, {file}, CMF_EXPLORE, kFirstShellCommand, popup);
    ASSERT_TRUE(menu);
    EXPECT_EQ(Verbs(*menu, popup.Handle()), (std::vector<std::string>{"open", "cut", "copy", "delete", "properties"}));
    TShellPopup renaming;
    BuildContextMenu(mail, {file}, CMF_EXPLORE | CMF_CANRENAME, kFirstShellCommand, renaming);
    EXPECT_EQ(Verbs(*menu, renaming.Handle())[4], "rename");
    EXPECT_GE(FindVerbOffset(*menu, "DELETE"), 0);
    EXPECT_EQ(FindVerbOffset(*menu, "rename"), -1) << "offered only to callers that can rename";
    EXPECT_EQ(FindVerbOffset(*menu, "format"), -1);
    EXPECT_EQ(InvokeContextCommand(nullptr, *menu, "format"), S_FALSE) << "an unknown verb runs nothing";
    std::string help;
    EXPECT_EQ(menu->GetCommandString(static_cast<UINT>(FindVerbOffset(*menu, "delete")), GCS_HELPTEXTA, help), S_OK);
    EXPECT_EQ(help, "Moves the selected items to the trash.");

    // A place of the desktop is opened and copied but never cut, deleted or renamed.
    TShellPopup place;
    auto homeMenu = BuildContextMenu(ShellIdList(), {List("").Last()}, CMF_EXPLORE | CMF_CANRENAME, kFirstShellCommand, place);
    ASSERT_TRUE(homeMenu);
    EXPECT_EQ(Verbs(*homeMenu, place.Handle()), (std::vector<std::string>{"open", "copy", "paste", "properties"}));
}

TEST_F(ShellMenusTest, CopyAndPasteGoThroughTheClipboardsFileList) {
    auto copy = GetShellContextMenu(List("mail"), {List("mail/a.eml").Last()});
    ASSERT_EQ(InvokeContextCommand(nullptr, *copy, "copy"), S_OK);
    auto paste = GetShellContextMenu(List("mail"), {List("mail/inbox").Last()});
    ASSERT_EQ(InvokeContextCommand(nullptr, *paste, "paste"), S_OK);
    EXPECT_EQ(testsupport::ReadFileBytes(home_ / "mail/inbox/a.eml"), "a");
    ASSERT_EQ(InvokeContextCommand(nullptr, *paste, "paste"), S_OK);
    EXPECT_TRUE(fs::exists(home_ / "mail/inbox/a (2).eml")) << "nothing is overwritten";

    auto cut = GetShellContextMenu(List("mail/inbox"), {List("mail/inbox/a.eml").Last()});
    ASSERT_EQ(InvokeContextCommand(nullptr, *cut, "cut"), S_OK);
    auto pasteMail = GetShellContextMenu(ShellIdList(List("mail").Parent()), {List("mail").Last()});
    ASSERT_EQ(InvokeContextCommand(nullptr, *pasteMail, "paste"), S_OK);
    EXPECT_FALSE(fs::exists(home_ / "mail/inbox/a.eml"));
    EXPECT_TRUE(fs::exists(home_ / "mail/a (2).eml"));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP)) << "cut files are pasted once";
}

TEST_F(ShellMenusTest, SendToOffersTheApplicationsThatTakeTheItemsTypes) {
    const fs::path apps = dir_ / "system/applications";
    fs::create_directories(apps);
    std::ofstream(apps / "viewer.desktop") << "[Desktop Entry]\nType=Application\nName=Mail Viewer\nExec=viewer --new %F\n"
                                              "MimeType=message/rfc822;\n";
    std::ofstream(apps / "files.desktop") << "[Desktop Entry]\nType=Application\nName=Files\nExec=files %u\n"
                                             "MimeType=inode/directory;\n";
    testsupport::ScopedEnv dirs("XDG_DATA_DIRS", (dir_ / "system").string());
    SetShellMimeTypeSource([](const std::string& path, bool) {
        return path.ends_with(".eml") ? std::vector<std::string>{"message/rfc822"} : std::vector<std::string>{};
    });
    std::vector<std::vector<std::string>> launched;
    SetDesktopAppLauncher([&](const std::vector<std::string>& argv) {
        launched.push_back(argv);
        return true;
    });
    std::ofstream(home_ / "mail/b.eml") << "b";
    auto files = GetShellContextMenu(List("mail"), {List("mail/a.eml").Last(), List("mail/b.eml").Last()});
    EXPECT_EQ(FindVerbOffset(*files, "sendto:files.desktop"), -1);
    std::string help;
    files->GetCommandString(static_cast<UINT>(FindVerbOffset(*files, "sendto:viewer.desktop")), GCS_HELPTEXTA, help);
    EXPECT_EQ(help, "Opens the selected items with Mail Viewer.");
    EXPECT_EQ(InvokeContextCommand(nullptr, *files, "sendto:viewer.desktop"), S_OK);
    EXPECT_EQ(launched, (std::vector<std::vector<std::string>>{{"viewer", "--new", Path("mail/a.eml"), Path("mail/b.eml")}}));
    EXPECT_EQ(FindVerbOffset(*files, "properties"), -1) << "one item at a time";

    auto folder = GetShellContextMenu(List("mail"), {List("mail/inbox").Last()});
    EXPECT_EQ(FindVerbOffset(*folder, "sendto:viewer.desktop"), -1);
    EXPECT_GE(FindVerbOffset(*folder, "sendto:files.desktop"), 0);
    SetShellMimeTypeSource(nullptr);
    SetDesktopAppLauncher(nullptr);
}

TEST_F(ShellMenusTest, PropertiesShowNameTypeSizeAndPlace) {
    std::vector<std::pair<WideString, WideString>> boxes;
    TScopedModalHook hook([&](TModalRequest& r) {
        boxes.emplace_back(r.Caption, r.Text);
        return IDOK;
    });
    auto file = GetShellContextMenu(List("mail"), {List("mail/a.eml").Last()});
    ASSERT_EQ(InvokeContextCommand(nullptr, *file, "properties"), S_OK);
    auto folder = GetShellContextMenu(List("mail"), {List("mail/inbox").Last()});
    ASSERT_EQ(InvokeContextCommand(nullptr, *folder, "properties"), S_OK);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].first, u"a.eml Properties");
    const WideString& text = boxes[0].second;
    for (const WideString& line : std::vector<WideString>{u"Name:\ta.eml\n", u"\nLocation:\t" + Utf8ToUtf16(Path("mail")) + u"\n", WideString(u"\nSize:\t1 byte\n"),
                                   WideString(u"\nModified:\t")})
        EXPECT_NE(text.find(line), WideString::npos) << Utf16ToUtf8(line) << " in " << Utf16ToUtf8(text);
    EXPECT_EQ(boxes[1].second.find(u"Size:"), WideString::npos) << "folders show no size";
    EXPECT_NE(boxes[1].second.find(u"Type:\tFolder"), WideString::npos);
    fs::remove(home_ / "mail/a.eml");
    EXPECT_EQ(InvokeContextCommand(nullptr, *file, "properties"), E_FAIL) << "gone meanwhile";
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(ShellMenusTest, MenuKeysSelectSharedLettersAndRunUniqueOnes) {
    const std::vector<WideString> entries = {u"Mail", u"desktop", u"Memo", u"Zip"};
    struct Case {
        WideChar typed;
        int highlighted;
        WORD index, code;
    };
    const Case cases[] = {
        {u'm', -1, 0, MNC_SELECT}, {u'M', 0, 2, MNC_SELECT}, {u'm', 2, 0, MNC_SELECT},
        {u'D', -1, 1, MNC_EXECUTE}, {u'z', 3, 3, MNC_EXECUTE}, {u'q', 1, 0, MNC_CLOSE},
    };
    for (const Case& c : cases) {
        const LRESULT r = MenuCharAnswer(c.typed, entries, c.highlighted);
        EXPECT_EQ(HIWORD(static_cast<DWORD_PTR>(r)), c.code) << char(c.typed) << c.highlighted;
        if (c.code != MNC_CLOSE) {
            EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(r)), c.index) << char(c.typed) << c.highlighted;
        }
    }
}

TEST_F(ShellMenusTest, FormatStrPosInsertsUpToFifty) {
    EXPECT_EQ(FormatStrPos(u"Unable to create the folder '%2'\n\n%1", {u"why", u"X"}), u"Unable to create the folder 'X'\n\nwhy");
    EXPECT_EQ(FormatStrPos(u"100%% %3 %", {u"a"}), u"100% %3 %");
    std::vector<WideString> fifty(50, u"-");
    fifty[49] = u"last";
    EXPECT_EQ(FormatStrPos(u"%50", fifty), u"last");
    fifty.push_back(u"more");
    EXPECT_THROW(FormatStrPos(u"%1", fifty), Exception);
}

TEST_F(ShellMenusTest, NewFolderTakesTheNextFreeNameOrReportsTheRealError) {
    WideString name;
    EXPECT_FALSE(CreateNewShellFolder(nullptr, "", name)) << "never the working directory";
    ASSERT_TRUE(CreateNewShellFolder(nullptr, Path("mail"), name));
    EXPECT_EQ(name, u"New Folder (3)");
    EXPECT_TRUE(fs::is_directory(home_ / "mail/New Folder (3)"));

    std::vector<WideString> boxes;
    TScopedModalHook hook([&](TModalRequest& r) {
        boxes.push_back(r.Text);
        return IDOK;
    });
    EXPECT_FALSE(CreateNewShellFolder(nullptr, Path("mail/a.eml"), name)) << "a file holds no folders";
    ASSERT_EQ(boxes.size(), 1u) << "one box, with the real reason";
    EXPECT_EQ(boxes[0].find(u"Unable to create the folder 'New Folder'\n\n"), 0u);
    EXPECT_EQ(boxes[0].find(u"already exists"), WideString::npos);
}

TEST_F(ShellMenusTest, ALongCopyShowsItsProgressAndCancelLeavesNoPartOfAnItem) {
    fs::create_directories(home_ / "big");
    for (int i = 0; i < 400; ++i) std::ofstream(home_ / "big" / ("m" + std::to_string(i) + ".eml")) << i;
    const unsigned delay = std::exchange(ShellTransferProgressDelay, 0u);
    WideString caption;
    bool cancelled = false;
    int boxes = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::MessageBox) ++boxes;
        if (r.What != TModalRequest::ModalForm) return 0;
        caption = r.Form->Caption();
        for (int i = 0; i < r.Form->ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(r.Form->Components(i)); b && b->Caption() == u"Cancel") {
                b->Click();
                cancelled = true;
            }
        return static_cast<int>(mrCancel);
    });
    const HRESULT hr =
        TransferShellFiles(nullptr, Path("mail/inbox"), {(home_ / "big").string(), Path("mail/a.eml")}, kShellTransferCopy);
    ShellTransferProgressDelay = delay;
    EXPECT_EQ(caption, u"Copying");
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(boxes, 0) << "a cancel is no error";
    auto copied = [&] {
        std::error_code ec;
        return std::distance(fs::directory_iterator(home_ / "mail/inbox/big", ec), fs::directory_iterator());
    };
    if (hr == kShellTransferCancelled) {
        // Stopped inside the folder: nothing of it stays; after it: it stays whole.
        EXPECT_TRUE(!fs::exists(home_ / "mail/inbox/big") || copied() == 400) << copied();
        EXPECT_FALSE(fs::exists(home_ / "mail/inbox/a.eml"));
    } else {
        EXPECT_EQ(hr, S_OK) << "the copy finished before Cancel";
        EXPECT_EQ(copied(), 400);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(home_ / "big"), fs::directory_iterator()), 400) << "the source stays";
}

class ShellTreeCommandsTest : public ShellMenusTest {
protected:
    void SetUp() override {
        ShellMenusTest::SetUp();
        tree_.FillTree();
        tree_.SetSelectedPath(Path("mail"));
        tree_.Selected()->Expand(false);
    }
    TTreeNode* Child(TTreeNode* parent, const char16_t* text) {
        for (TTreeNode* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
            if (c->Text() == text) return c;
        return nullptr;
    }
    TRzShellTree tree_{nullptr};
};

TEST_F(ShellTreeCommandsTest, NewFolderStartsEditingItsName) {
    TTreeNode* parent = tree_.Selected();
    ASSERT_TRUE(tree_.CreateNewFolder());
    ASSERT_TRUE(tree_.IsEditing());
    TTreeNode* made = Child(parent, u"New Folder (3)");
    EXPECT_EQ(tree_.Selected(), made);
    ASSERT_NE(made, nullptr);
    made->SetText(u"Archive");
    made->EndEdit(false);
    EXPECT_TRUE(fs::is_directory(home_ / "mail/Archive"));
    EXPECT_EQ(made->Text(), u"Archive");
}

TEST_F(ShellTreeCommandsTest, RenameThroughTheMenuEditsAndRenamesOnDisk) {
    TTreeNode* inbox = Child(tree_.Selected(), u"inbox");
    ASSERT_NE(inbox, nullptr);
    TScopedModalHook hook([](TModalRequest& r) {
        if (r.What != TModalRequest::PopupMenu) return 0;
        for (const TMenuItemRecord& item : MenuItemRecords(r.Menu))
            if (item.Text == u"Rena&me") return static_cast<int>(item.Id);
        return kPopupMenuDismissed;
    });
    ASSERT_TRUE(tree_.ShowShellContextMenu(inbox, TPoint(0, 0)));
    ASSERT_TRUE(tree_.IsEditing()) << "the menu's rename is label editing";
    inbox->SetText(u"Inbox 2024");
    inbox->EndEdit(false);
    EXPECT_TRUE(fs::is_directory(home_ / "mail/Inbox 2024"));
    tree_.SetSelected(inbox);
    EXPECT_EQ(tree_.SelectedPathName(), Path("mail/Inbox 2024"));
}

TEST_F(ShellTreeCommandsTest, MenuSelectionShowsTheCommandsHelp) {
    std::vector<std::string> hints;
    tree_.OnPopupHint = [&](TObject*, const AnsiString& hint) { hints.push_back(hint); };
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What != TModalRequest::PopupMenu) return 0;
        for (const TMenuItemRecord& item : MenuItemRecords(r.Menu)) {
            if (item.Text == u"&Delete") SendMessageW(tree_.Handle(), WM_MENUSELECT, MAKELONG(static_cast<WORD>(item.Id), 0), 0);
        }
        SendMessageW(tree_.Handle(), WM_MENUSELECT, MAKELONG(5, 0), 0);  // an entry of the control's own
        return kPopupMenuDismissed;
    });
    ASSERT_TRUE(tree_.ShowShellContextMenu(Child(tree_.Selected(), u"inbox"), TPoint(0, 0)));
    EXPECT_EQ(hints, (std::vector<std::string>{"Moves the selected items to the trash.", ""}));
    EXPECT_TRUE(fs::exists(home_ / "mail/inbox")) << "a dismissed menu runs nothing";
}

TEST_F(ShellTreeCommandsTest, F2EditsOnlyWhatCanBeRenamed) {
    TTreeNode* root = tree_.Items()->GetFirstNode();
    tree_.SetSelected(Child(root, u"Computer"));
    WORD f2 = VK_F1 + 1;
    tree_.Perform(WM_KEYDOWN, f2, 0);
    EXPECT_FALSE(tree_.IsEditing());
    tree_.SetSelectedPath(Path("mail/inbox"));
    tree_.Perform(WM_KEYDOWN, f2, 0);
    EXPECT_TRUE(tree_.IsEditing());
    tree_.Selected()->EndEdit(true);
}

TEST_F(ShellTreeCommandsTest, DeleteKeyMovesTheFolderToTheTrashAfterAsking) {
    tree_.SetSelectedPath(Path("mail/inbox"));
    TScopedModalHook hook([](TModalRequest& r) { return r.What == TModalRequest::MessageBox ? IDYES : 0; });
    WORD del = VK_DELETE;
    tree_.Perform(WM_KEYDOWN, del, 0);
    EXPECT_FALSE(fs::exists(home_ / "mail/inbox"));
    EXPECT_TRUE(fs::is_directory(home_ / ".local/share/Trash/files/inbox"));
    EXPECT_EQ(tree_.SelectedPathName(), Path("mail")) << "the node went with its folder";
}

TEST_F(ShellTreeCommandsTest, ChangeMessageRefreshesUnlessTheTreeCausedIt) {
    TTreeNode* mail = tree_.Selected();
    mail->Expand(false);
    fs::create_directory(home_ / "mail/outside");
    tree_.Perform(kShellChangeMessage, 0, 0);
    tree_.FlushPendingSelection();
    EXPECT_NE(Child(mail, u"outside"), nullptr);
}

TEST_F(ShellTreeCommandsTest, NamesThatAreNotUtf8GoThroughCreateCopyCutAndRename) {
    const std::string cafe = Path("mail") + "/caf\xe9";
    fs::create_directories(cafe);
    std::ofstream(cafe + "/r\xe9sum\xe9.eml") << "r";
    WideString made;
    ASSERT_TRUE(CreateNewShellFolder(nullptr, cafe, made)) << "a folder inside a folder whose name is not UTF-8";
    EXPECT_TRUE(fs::is_directory(cafe + "/New Folder"));

    const ShellIdList cafeList = *ParseShellPath(cafe);
    auto copy = GetShellContextMenu(cafeList, {ShellIdList::Single("Fr\xe9sum\xe9.eml")});
    ASSERT_EQ(InvokeContextCommand(nullptr, *copy, "copy"), S_OK);
    auto paste = GetShellContextMenu(List("mail"), {List("mail/inbox").Last()});
    ASSERT_EQ(InvokeContextCommand(nullptr, *paste, "paste"), S_OK);
    EXPECT_EQ(testsupport::ReadFileBytes(home_ / "mail/inbox" / "r\xe9sum\xe9.eml"), "r") << "the bytes of the name kept";

    auto cut = GetShellContextMenu(List("mail"), {cafeList.Last()});
    ASSERT_EQ(InvokeContextCommand(nullptr, *cut, "cut"), S_OK);
    ASSERT_EQ(InvokeContextCommand(nullptr, *paste, "paste"), S_OK);
    EXPECT_FALSE(fs::exists(cafe));
    EXPECT_TRUE(fs::exists(Path("mail/inbox") + "/caf\xe9/r\xe9sum\xe9.eml"));

    // Renaming around the character shown for the byte keeps the byte.
    fs::create_directories(Path("mail") + "/caf\xe9 2023");
    tree_.Refresh();
    TTreeNode* node = Child(tree_.Selected(), u"caf\uFFFD 2023");
    ASSERT_NE(node, nullptr);
    node->EditText();
    node->SetText(u"Caf\uFFFD 2024");
    node->EndEdit(false);
    EXPECT_TRUE(fs::is_directory(Path("mail") + "/Caf\xe9 2024"));
}

TEST_F(ShellTreeCommandsTest, ARefreshAskedForDuringACancelledRenameRunsWhenItEnds) {
    TTreeNode* inbox = Child(tree_.Selected(), u"inbox");
    ASSERT_NE(inbox, nullptr);
    for (const bool sameName : {false, true}) {
        inbox->EditText();
        ASSERT_TRUE(tree_.IsEditing());
        const std::string made = sameName ? "from-outside-2" : "from-outside-1";
        fs::create_directory(home_ / "mail" / made);
        tree_.Perform(kShellChangeMessage, 0, 0);
        tree_.FlushPendingSelection();
        EXPECT_EQ(Child(tree_.Selected(), Utf8ToUtf16(made).c_str()), nullptr) << "not while editing";
        // Cancelled, or ended with the name unchanged: either way the waiting refresh runs.
        inbox->EndEdit(!sameName);
        EXPECT_NE(Child(tree_.Selected(), Utf8ToUtf16(made).c_str()), nullptr) << made;
    }
}

}  // namespace
