// The favorites pane from its form file with a fake main window: its tree from the favorites
// file, adding, renaming, moving and deleting favorites, the copies of message favorites,
// files and favorites dropped on it, and its dialogs answered through the modal hook.
// With QUILLORA_SCREENSHOT set (a .png path), the pane and the properties dialog are saved
// beside it as pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "controls/shell/RzShellTree.h"
#include "controls/styled/RzImageComboBox.h"
#include "controls/unicode/TntStdCtrls.h"
#include "controls/unicode/TntTreeView.h"
#include "favorites/FavoritesDialogForms.h"
#include "favorites/FavoritesFile.h"
#include "favorites/MessageForFile.h"
#include "favorites/frmAddItem.h"
#include "favorites/frmFavorites.h"
#include "favorites/frmNewFolder.h"
#include "favorites/frmSelectFolder.h"
#include "favorites/uxFolderProperties.h"
#include "message/MessageAttr.h"
#include "platform/shell/qt/ShellIconsQt.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/WinUser.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/message/MsgFixture.h"
#include "tests/support/TestSupport.h"
#include "ui/IQuilloraProvider.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

WideString W(const fs::path& p) { return Utf8ToUtf16(p.string()); }

struct FakeHost : IQuilloraProvider {
    WideString root;
    std::vector<WideString> shown, folders;
    void Show(const WideString& path) override { shown.push_back(path); }
    void GoToFolder(const WideString& path) override { folders.push_back(path); }
    WideString GetRootFolderLocation() override { return root; }
    void GetMessagesFromList(MessageAttrDeque&, bool) override {}
    TForm* GetOwnerForm() override { return nullptr; }
};

// Answers every message box with answer and keeps what was asked.
struct Boxes {
    explicit Boxes(int answer = IDYES)
        : hook([this, answer](TModalRequest& r) {
              if (r.What != TModalRequest::MessageBox) return 0;
              asked.push_back(Utf16ToUtf8(r.Caption) + ": " + Utf16ToUtf8(r.Text));
              return answer;
          }) {}
    std::vector<std::string> asked;
    TScopedModalHook hook;
};

const char kEml[] = "From: Ann <ann@example.com>\r\nTo: bob@example.com\r\nSubject: Status\r\n\r\nbody\r\n";

void Screenshot(TCustomForm& form, const std::string& name) {
    const char* path = std::getenv("QUILLORA_SCREENSHOT");
    if (!path) return;
    std::string base = path;
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".png") == 0) base.resize(base.size() - 4);
    Application->ProcessMessages();
    EXPECT_TRUE(dynamic_cast<QWidget*>(form.Peer())->grab().save(QString::fromStdString(base + "_" + name + ".png")));
}

// "text[children],text" for the nodes from first on.
std::string Shape(const TTreeNode* first) {
    std::string out;
    for (const TTreeNode* node = first; node; node = node->GetNextSibling()) {
        if (!out.empty()) out += ",";
        out += Utf16ToUtf8(node->Text());
        if (node->GetFirstChild()) out += "[" + Shape(node->GetFirstChild()) + "]";
    }
    return out;
}

class FavoritesPaneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallQtWidgetSet();
        InstallQtShellIcons();
        Application->Initialize();
        CreateFavoritesDialogForms();
    }
    // The dialogs go before the toolkit does at exit.
    static void TearDownTestSuite() {
        delete frmNewFolder;
        delete uxFolderProperties;
        delete frmAddItem;
        delete frmSelectFolder;
    }

    FavoritesPaneTest() : tmp_("TMPDIR", dir_.path().string()) {
        fs::create_directories(dir_ / "store");
        host_.root = W(dir_ / "store") + u"/";
        pane_ = std::make_unique<TfrmFavorites>(nullptr);
        pane_->InitForm();
        pane_->SetBounds(0, 0, 260, 360);
        pane_->SetHost(&host_);
        pane_->Show();
        Application->ProcessMessages();
    }
    ~FavoritesPaneTest() override { pane_->Clear(); }

    TTntTreeView& Tree() { return *pane_->Tree(); }
    TTreeNode* Node(const char* text) {
        for (int i = 0; i < Tree().Items()->Count(); ++i)
            if (Tree().Items()->Item(i)->Text() == Utf8ToUtf16(text)) return Tree().Items()->Item(i);
        ADD_FAILURE() << "no node " << text;
        return nullptr;
    }
    std::string Shape() { return ::Shape(Tree().Items()->GetFirstNode()); }

    // A message favorite whose copy exists in the storage folder.
    std::unique_ptr<FavMsg> Message(const char* title) {
        auto item = std::make_unique<FavMsg>();
        item->Tittle = Utf8ToUtf16(title);
        item->ImageIndex = 3;
        const fs::path folder = dir_ / "store" / Utf16ToUtf8(item->GetGuidText());
        fs::create_directories(folder);
        std::ofstream(folder / "m.eml") << kEml;
        item->FileName = W(folder / "m.eml");
        return item;
    }
    static FavNode Item(std::unique_ptr<FavItem> item, std::vector<FavNode> children = {}) {
        return FavNode{std::move(item), std::move(children)};
    }
    static std::unique_ptr<FavItem> Folder(const char* title) {
        auto folder = std::make_unique<FavFolder>();
        folder->Tittle = Utf8ToUtf16(title);
        folder->Comments = folder->Tittle + u" notes";
        folder->ImageIndex = 8;
        return folder;
    }

    // Work[Report,Old[Deep]], Home (a shortcut), Note, with their file.
    WideString LoadSample() {
        auto home = std::make_unique<FavShortcut>();
        home->Tittle = u"Home";
        home->Path = W(dir_.path());
        home->ImageIndex = 14;
        std::vector<FavNode> nodes;
        std::vector<FavNode> old;
        old.push_back(Item(Message("Deep")));
        std::vector<FavNode> work;
        work.push_back(Item(Message("Report")));
        work.push_back(Item(Folder("Old"), std::move(old)));
        nodes.push_back(Item(Folder("Work"), std::move(work)));
        nodes.push_back(Item(std::move(home)));
        nodes.push_back(Item(Message("Note")));
        const WideString path = W(dir_ / "favorites.xml");
        WideString error;
        EXPECT_TRUE(SaveFavoritesFile(path, nodes, error)) << Utf16ToUtf8(error);
        pane_->Load(path);
        Tree().FullExpand();
        Application->ProcessMessages();
        EXPECT_EQ(Shape(), "Work[Report,Old[Deep]],Home,Note");
        return path;
    }

    void Drop(const std::vector<WideString>& files, TTreeNode* onto) {
        POINT point{5, 350};  // below the last node
        if (onto) {
            const TRect r = onto->DisplayRect(true);
            point = POINT{(r.left + r.right) / 2 + Tree().Left(), (r.top + r.bottom) / 2 + Tree().Top()};
        }
        pane_->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropHandle(files, point, true)), 0);
    }

    TempDir dir_;
    testsupport::ScopedEnv tmp_;
    FakeHost host_;
    std::unique_ptr<TfrmFavorites> pane_;
};

// ---- the favorites file

TEST_F(FavoritesPaneTest, TreeFromFileAndBackUnchanged) {
    const WideString path = LoadSample();
    const TTreeNode* report = Node("Report");
    EXPECT_EQ(report->ImageIndex(), 3);
    EXPECT_EQ(report->SelectedIndex(), 3);
    EXPECT_EQ(Node("Old")->Level(), 1);
    const std::string before = testsupport::ReadFileBytes(Utf16ToUtf8(path));
    pane_->Save(W(dir_ / "again.xml"));
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "again.xml"), before);
}

TEST_F(FavoritesPaneTest, DamagedFileReportedOnceKeptAsideAndNotOverwritten) {
    const fs::path file = dir_.WriteFile("favorites.xml", "<Items><Folder Tittle=\"a\"");
    Boxes boxes(IDOK);
    pane_->Load(W(file));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("favorites.xml.damaged"), std::string::npos) << boxes.asked[0];
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "favorites.xml.damaged"), "<Items><Folder Tittle=\"a\"");
    pane_->Save(W(file));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "favorites.xml.damaged"), "<Items><Folder Tittle=\"a\"");
}

// ---- adding

TEST_F(FavoritesPaneTest, AddMessageCopiesItAtTheTopLevel) {
    LoadSample();
    const fs::path source = dir_.WriteFile("in.eml", kEml);
    std::unique_ptr<TMessageAttr> message = NewMessageForFile(W(source));
    ASSERT_TRUE(message && message->LoadFromFile(W(source), false));
    message->imageIndex = 6;
    Tree().Select(Node("Work"));  // "Add To Favorites" ignores the selection
    pane_->AddMessage(message.get(), u"");
    const TTreeNode* added = Tree().Items()->TopItem(Tree().Items()->TopCount() - 1);
    ASSERT_EQ(Utf16ToUtf8(added->Text()), "Status - Ann <ann@example.com>");
    EXPECT_EQ(added->ImageIndex(), 6);
    const auto* item = static_cast<const FavMsg*>(added->Data());
    const fs::path copy = Utf16ToUtf8(item->FileName);
    EXPECT_EQ(copy.parent_path(), dir_ / "store" / Utf16ToUtf8(item->GetGuidText()));
    EXPECT_EQ(testsupport::ReadFileBytes(copy), kEml);
}

TEST_F(FavoritesPaneTest, MessageThatCannotBeCopiedIsReportedAndNotAdded) {
    std::unique_ptr<TMessageAttr> message = NewMessageForFile(u"gone.msg");
    ASSERT_TRUE(message);
    message->fileName = W(dir_ / "gone.msg");
    message->subject = u"Gone";
    pane_->Load(W(dir_ / "none.xml"));
    Boxes boxes(IDOK);
    pane_->AddMessage(message.get(), u"");
    EXPECT_EQ(Tree().Items()->Count(), 0);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("gone.msg"), std::string::npos) << boxes.asked[0];
    EXPECT_TRUE(fs::is_empty(dir_ / "store")) << "no empty copy folder is left";

    // Without a host there is no storage folder at all.
    TfrmFavorites alone(nullptr);
    alone.InitForm();
    alone.Load(W(dir_ / "none.xml"));
    alone.AddMessage(message.get(), u"x");
    EXPECT_EQ(alone.Tree()->Items()->Count(), 0);
    EXPECT_EQ(boxes.asked.size(), 2u);
}

TEST_F(FavoritesPaneTest, InsertionParentAndNewFolderDialog) {
    LoadSample();
    const struct {
        const char* selected;  // null: nothing selected
        const char* parent;    // null: top level
    } cases[] = {{nullptr, nullptr}, {"Work", "Work"}, {"Report", "Work"}, {"Deep", "Old"}, {"Home", nullptr}, {"Note", nullptr}};
    for (const auto& c : cases) {
        Tree().ClearSelection();
        if (c.selected) Tree().Select(Node(c.selected));
        EXPECT_EQ(pane_->InsertionParent(), c.parent ? Node(c.parent) : nullptr) << (c.selected ? c.selected : "none");
    }

    auto* name = dynamic_cast<TTntEdit*>(frmNewFolder->FindComponent("uxName"));
    auto* description = dynamic_cast<TTntEdit*>(frmNewFolder->FindComponent("uxDescription"));
    ASSERT_TRUE(name && description);
    Tree().Select(Node("Report"));
    TScopedModalHook hook([&](TModalRequest& r) {
        EXPECT_EQ(r.Form, frmNewFolder);
        name->SetText(u"");
        frmNewFolder->uxOKClick(nullptr);
        EXPECT_EQ(frmNewFolder->ModalResult(), mrNone) << "an empty name keeps the dialog open";
        name->SetText(u"Пapка \U0001F4C1");
        description->SetText(u"");
        Screenshot(*frmNewFolder, "NewFolder");
        frmNewFolder->uxOKClick(nullptr);
        return frmNewFolder->ModalResult();
    });
    pane_->actNewFolderExecute(nullptr);
    EXPECT_EQ(Shape(), "Work[Report,Old[Deep],Пapка \U0001F4C1],Home,Note");
    const auto* folder = static_cast<const FavItem*>(Node("Пapка \U0001F4C1")->Data());
    EXPECT_EQ(folder->Comments, folder->Tittle);
    EXPECT_EQ(folder->ImageIndex, 8);
}

TEST_F(FavoritesPaneTest, NewShortcutFromTheFolderDialog) {
    fs::create_directories(dir_ / "mail" / "inbox");
    Boxes boxes(IDOK);
    auto* shell = dynamic_cast<TRzShellTree*>(frmSelectFolder->FindComponent("RzShellTree1"));
    ASSERT_TRUE(shell);
    WideString chosen = W(dir_ / "mail" / "inbox");
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::MessageBox) {
            boxes.asked.push_back(Utf16ToUtf8(r.Caption) + ": " + Utf16ToUtf8(r.Text));
            return IDOK;
        }
        shell->SetSelectedPath(Utf16ToUtf8(chosen));
        return static_cast<int>(mrOk);
    });
    pane_->actNewShortcutExecute(nullptr);
    ASSERT_EQ(Shape(), "inbox");
    const auto* shortcut = dynamic_cast<const FavShortcut*>(static_cast<const FavItem*>(Node("inbox")->Data()));
    ASSERT_TRUE(shortcut);
    EXPECT_EQ(shortcut->Path, chosen);
    EXPECT_EQ(shortcut->ImageIndex, 14);
    pane_->OpenNode(Node("inbox"));
    EXPECT_EQ(host_.folders, std::vector<WideString>{chosen});
    EXPECT_TRUE(boxes.asked.empty());

    for (const auto& [path, caption] : std::vector<std::pair<WideString, WideString>>{
             {u"/home/ann/mail", u"mail"}, {u"/", u"/"}, {u"/home/ann/", u"/home/ann/"}, {u"/home", u"/home"}, {u"mail", u"mail"}})
        EXPECT_EQ(ShortcutCaption(path), caption) << Utf16ToUtf8(path);
}

// ---- renaming, opening, deleting

TEST_F(FavoritesPaneTest, RenameKeepsTheTitleForEmptyOrSameText) {
    LoadSample();
    auto* node = static_cast<TTntTreeNode*>(Node("Work"));
    auto* item = static_cast<FavItem*>(node->Data());
    for (const auto& [typed, kept] : std::vector<std::pair<WideString, WideString>>{
             {u"", u"Work"}, {u"Work", u"Work"}, {u"Arbeit \u00E9", u"Arbeit \u00E9"}}) {
        WideString text = typed;
        pane_->uxTreeEdited(nullptr, node, text);
        EXPECT_EQ(text, kept);
        EXPECT_EQ(item->Tittle, kept);
    }
}

TEST_F(FavoritesPaneTest, OpenShowsAnExistingCopyOnly) {
    LoadSample();
    pane_->OpenNode(Node("Note"));
    pane_->OpenNode(Node("Work"));
    ASSERT_EQ(host_.shown.size(), 1u);
    fs::remove(Utf16ToUtf8(host_.shown[0]));
    pane_->OpenNode(Node("Note"));
    EXPECT_EQ(host_.shown.size(), 1u);
}

TEST_F(FavoritesPaneTest, DeletingAFolderQueuesEveryCopyInside) {
    LoadSample();
    const WideString report = static_cast<const FavMsg*>(Node("Report")->Data())->FileName;
    const WideString deep = static_cast<const FavMsg*>(Node("Deep")->Data())->FileName;
    Tree().Select(Node("Work"));
    {
        Boxes no(IDNO);
        pane_->actDeleteExecute(nullptr);
        ASSERT_EQ(no.asked.size(), 1u);
        EXPECT_EQ(no.asked[0], "Deleting item: Are you sure you want to remove  folder 'Work' and all it's contents?");
    }
    EXPECT_EQ(Shape(), "Work[Report,Old[Deep]],Home,Note");
    Boxes yes;
    pane_->actDeleteExecute(nullptr);
    EXPECT_EQ(Shape(), "Home,Note");
    ASSERT_EQ(pane_->QueuedCopies().GetCount(), 2);
    EXPECT_TRUE(WideFileExists(report)) << "copies stay until Clear";
    pane_->Clear();
    for (const WideString& copy : {report, deep}) {
        EXPECT_FALSE(fs::exists(Utf16ToUtf8(copy)));
        EXPECT_FALSE(fs::exists(fs::path(Utf16ToUtf8(copy)).parent_path()));
    }
    EXPECT_EQ(pane_->QueuedCopies().GetCount(), 0);
}

TEST_F(FavoritesPaneTest, ConfirmTextsPerKind) {
    LoadSample();
    Boxes boxes(IDNO);
    for (const char* name : {"Report", "Home"}) pane_->ConfirmDelete(Node(name));
    EXPECT_EQ(boxes.asked, (std::vector<std::string>{"Deleting item: Are you sure you want to remove  message 'Report' ?",
                                                     "Deleting item: Are you sure you want to remove 'Home'"}));
}

TEST_F(FavoritesPaneTest, MultiDeleteTakesANodeInsideASelectedFolderOnce) {
    LoadSample();
    Tree().Select(std::vector<TTreeNode*>{Node("Work"), Node("Deep"), Node("Note")});
    Boxes boxes;
    pane_->actDeleteExecute(nullptr);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0], "Deleting items: Are you sure you want to delete 3 items?");
    EXPECT_EQ(Shape(), "Home");
    EXPECT_EQ(pane_->QueuedCopies().GetCount(), 3) << "Report, Deep and Note, each once";
}

// ---- folder lists and properties

TEST_F(FavoritesPaneTest, FolderListsComboAndCopy) {
    LoadSample();
    TFavNodeList folders;
    pane_->GetFolderNodes(folders, nullptr);
    EXPECT_EQ(folders, (TFavNodeList{Node("Work"), Node("Old")})) << "shortcuts are no folders";
    pane_->GetFolderNodes(folders, Node("Work"));
    EXPECT_TRUE(folders.empty()) << "nor the excluded node's own subfolders";
    pane_->GetFolderNodes(folders, Node("Report"));
    EXPECT_EQ(pane_->IndexOfNode(Node("Old"), folders), 1);
    EXPECT_EQ(pane_->IndexOfNode(Node("Note"), folders), -1);
    EXPECT_EQ(pane_->IndexOfNode(nullptr, folders), -1);

    auto* combo = dynamic_cast<TRzImageComboBox*>(uxFolderProperties->FindComponent("uxFolders"));
    combo->Clear();
    pane_->FillFolderCombo(combo, folders);
    ASSERT_EQ(combo->Items()->Count(), 3);
    const struct {
        const char* caption;
        int indent, image;
    } entries[] = {{"Root folder", 0, 10}, {"Work", 1, 8}, {"Old", 2, 8}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Utf16ToUtf8(combo->GetImageItem(i)->Caption()), entries[i].caption);
        EXPECT_EQ(combo->GetImageItem(i)->IndentLevel(), entries[i].indent);
        EXPECT_EQ(combo->GetImageItem(i)->ImageIndex(), entries[i].image);
    }

    TTntTreeView other(nullptr);
    pane_->CopyFolderNodes(other.Items());
    EXPECT_EQ(::Shape(other.Items()->GetFirstNode()), "Work[Old]");
    EXPECT_EQ(other.Items()->GetFirstNode()->Data(), Node("Work")->Data());
}

class FavoritesPropertiesTest : public FavoritesPaneTest {
protected:
    // Runs Properties on the node; answer edits the dialog before OK.
    void Run(const char* node, const std::function<void()>& answer) {
        Tree().ClearSelection();
        Tree().Select(Node(node));
        TScopedModalHook hook([&](TModalRequest& r) {
            EXPECT_EQ(r.Form, uxFolderProperties);
            answer();
            return static_cast<int>(mrOk);
        });
        pane_->actPropertiesExecute(nullptr);
    }
    TRzImageComboBox& Combo() { return *dynamic_cast<TRzImageComboBox*>(uxFolderProperties->FindComponent("uxFolders")); }
    TTntEdit& Title() { return *dynamic_cast<TTntEdit*>(uxFolderProperties->FindComponent("TntEdit1")); }
};

TEST_F(FavoritesPropertiesTest, MovesRenamesAndKeepsEditsAcrossActivation) {
    LoadSample();
    Run("Note", [&] {
        EXPECT_EQ(Combo().ItemIndex(), 0) << "a top-level node starts at Root folder";
        EXPECT_EQ(Title().GetText(), u"Note");
        Title().SetText(u"Нота");
        Combo().SetItemIndex(2);  // Old
        uxFolderProperties->FormActivate(nullptr);
        EXPECT_EQ(Title().GetText(), u"Нота") << "coming back to the dialog keeps the edit";
        EXPECT_EQ(Combo().ItemIndex(), 2);
        Screenshot(*uxFolderProperties, "FolderProperties");
    });
    EXPECT_EQ(Shape(), "Work[Report,Old[Deep,Нота]],Home");
    EXPECT_EQ(static_cast<const FavItem*>(Node("Нота")->Data())->Tittle, u"Нота");

    Run("Report", [&] { EXPECT_EQ(Combo().ItemIndex(), 1) << "Work"; });
    EXPECT_EQ(Shape(), "Work[Old[Deep,Нота],Report],Home") << "OK without a change moves it last";

    Run("Work", [&] {
        EXPECT_EQ(Combo().Items()->Count(), 1) << "only Root folder: its own subfolders are not offered";
    });
    EXPECT_EQ(Shape(), "Home,Work[Old[Deep,Нота],Report]");

    {
        TScopedModalHook cancel([](TModalRequest&) { return static_cast<int>(mrCancel); });
        Tree().ClearSelection();
        Tree().Select(Node("Home"));
        pane_->actPropertiesExecute(nullptr);
    }
    EXPECT_EQ(Shape(), "Home,Work[Old[Deep,Нота],Report]");
}

TEST_F(FavoritesPaneTest, AddItemDialogResult) {
    LoadSample();
    frmAddItem->SetFavorites(pane_.get());
    frmAddItem->FormActivate(nullptr);
    auto* combo = dynamic_cast<TRzImageComboBox*>(frmAddItem->FindComponent("uxFolders"));
    auto* title = dynamic_cast<TTntEdit*>(frmAddItem->FindComponent("uxTittle"));
    ASSERT_EQ(combo->Items()->Count(), 3);
    TTreeNode* folder = nullptr;
    std::unique_ptr<FavMsg> item;
    title->SetText(u"");
    frmAddItem->GetResult(folder, item);
    EXPECT_FALSE(item);
    title->SetText(u"Entry");
    combo->SetItemIndex(2);
    frmAddItem->GetResult(folder, item);
    ASSERT_TRUE(item);
    EXPECT_EQ(folder, Node("Old"));
    EXPECT_EQ(item->ImageIndex, 5);
    EXPECT_TRUE(item->FileName.empty());
    frmAddItem->uxCancelClick(nullptr);
    EXPECT_EQ(title->GetText(), u"");
}

// ---- dropping files and dragging favorites

TEST_F(FavoritesPaneTest, DroppedMessagesBecomeFavoritesInTheFolderUnderThePoint) {
    LoadSample();
    std::string msgPath;
    msgfixture::Build({msgfixture::Fixed(32, {}), msgfixture::Prop(0x0037001F, msgfixture::Utf16(u"Compound")),
                       msgfixture::Prop(0x0C1A001F, msgfixture::Utf16(u"Cy"))},
                      dir_, &msgPath);
    const fs::path upper = dir_ / "drop" / "A.MSG";
    fs::create_directories(upper.parent_path());
    fs::copy_file(msgPath, upper);
    const fs::path eml = dir_.WriteFile("drop/b.eml", kEml);
    const fs::path pst = dir_.WriteFile("drop/c.pst", "not used");
    const fs::path bad = dir_.WriteFile("drop/bad.eml", "");
    Boxes boxes(IDOK);
    Drop({W(upper), W(pst), W(bad), W(eml)}, Node("Report"));  // a message: its folder takes them
    EXPECT_EQ(Shape(), "Work[Report,Old[Deep],Compound - Cy,Status - Ann <ann@example.com>],Home,Note");
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("bad.eml"), std::string::npos);
    EXPECT_EQ(boxes.asked[0].find("c.pst"), std::string::npos);

    Drop({W(eml)}, nullptr);
    EXPECT_EQ(Utf16ToUtf8(Tree().Items()->TopItem(Tree().Items()->TopCount() - 1)->Text()),
              "Status - Ann <ann@example.com>");
}

TEST_F(FavoritesPaneTest, ToolkitDropOnTheTreeReachesThePane) {
    LoadSample();
    auto* pane = dynamic_cast<QWidget*>(pane_->Peer());
    ASSERT_TRUE(pane);
    const TRect r = Node("Old")->DisplayRect(true);
    const QPoint at((r.left + r.right) / 2 + Tree().Left(), (r.top + r.bottom) / 2 + Tree().Top());
    QWidget* under = pane->childAt(at);
    ASSERT_TRUE(under) << "the tree covers the pane";
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir_.WriteFile("d.eml", kEml).string()))});
    const QPointF local = under->mapFrom(pane, QPointF(at));
    QDragEnterEvent enter(local.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(under, &enter);
    ASSERT_TRUE(enter.isAccepted()) << "the pane takes dropped files";
    QDropEvent drop(local, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(under, &drop);
    Application->ProcessMessages();
    EXPECT_EQ(Shape(), "Work[Report,Old[Deep,Status - Ann <ann@example.com>]],Home,Note");
}

TEST_F(FavoritesPaneTest, FoldersMoveByTheirMarkerOnlyDuringTheirOwnDrag) {
    LoadSample();
    const WideString note = static_cast<const FavMsg*>(Node("Note")->Data())->FileName;
    Tree().Select(std::vector<TTreeNode*>{Node("Note"), Node("Old")});
    std::vector<WideString> offered;
    std::string markerText;
    const fs::path stale = dir_.WriteFile("desk/3f06f605-b5a4-43ce-8d8c-343fe9329da6", "0\n");
    pane_->dragFilesOut = [&](const std::vector<WideString>& files) {
        offered = files;
        markerText = testsupport::ReadFileBytes(Utf16ToUtf8(TfrmFavorites::MarkerPath()));
        Drop({W(stale)}, Node("Home"));
        EXPECT_EQ(Shape(), "Work[Report,Old[Deep]],Home,Note") << "a marker of the same name from elsewhere";
        Drop(files, Node("Home"));  // a shortcut: its parent (the top level) takes them
    };
    pane_->DragOut();
    EXPECT_EQ(offered, (std::vector<WideString>{TfrmFavorites::MarkerPath(), note})) << "tree order";
    EXPECT_EQ(markerText, "2\n");
    EXPECT_EQ(Shape(), "Work[Report],Home,Note,Old[Deep],Status - Ann <ann@example.com>")
        << "the message copy comes back as a new favorite";
    Application->ProcessMessages();
    EXPECT_FALSE(fs::exists(Utf16ToUtf8(TfrmFavorites::MarkerPath()))) << "removed when the drag ended";

    // A marker dropped later, or one from elsewhere with the same name, moves nothing.
    const std::string before = Shape();
    std::ofstream(Utf16ToUtf8(TfrmFavorites::MarkerPath())) << "0\n";
    Drop({W(stale), TfrmFavorites::MarkerPath()}, Node("Home"));
    EXPECT_EQ(Shape(), before);

    // Into its own subtree: no move.
    Tree().ClearSelection();
    Tree().Select(Node("Old"));
    pane_->dragFilesOut = [&](const std::vector<WideString>& files) { Drop(files, Node("Deep")); };
    pane_->DragOut();
    EXPECT_EQ(Shape(), before);
    Screenshot(*pane_, "FavoritesPane");
}

TEST_F(FavoritesPaneTest, KeysRunTheCommands) {
    LoadSample();
    Tree().Select(Node("Note"));
    WORD key = VK_RETURN;
    pane_->uxTreeKeyDown(nullptr, key, {});
    EXPECT_EQ(host_.shown.size(), 1u);
    Boxes no(IDNO);
    key = VK_DELETE;
    pane_->uxTreeKeyDown(nullptr, key, {});
    EXPECT_EQ(no.asked.size(), 1u);
}

}  // namespace
