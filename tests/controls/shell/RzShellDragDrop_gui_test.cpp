// Files dropped onto the shell tree's and list's folders in the Qt widget set: copied or moved
// into the folder under the pointer, never replacing a name, with the drop highlight on the
// way; drops naming what does not exist or a folder into itself are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "controls/dragdrop/DropFileComponents.h"
#include "controls/shell/RzShellList.h"
#include "controls/shell/RzShellTree.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class ShellDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) GTEST_SKIP() << "no widget application";
        Application->Initialize();
        for (const char* d : {"root/inbox/old", "root/sent", "outside"}) fs::create_directories(dir_ / d);
        for (const char* f : {"outside/a.eml", "outside/b.eml", "root/inbox/a.eml"}) std::ofstream(dir_ / f) << f;
        form_ = new TForm(Application);
        form_->SetBounds(0, 0, 500, 300);
        tree_ = new TRzShellTree(form_);
        tree_->SetParent(form_);
        tree_->SetBounds(0, 0, 240, 300);
        list_ = new TRzShellList(form_);
        list_->SetParent(form_);
        list_->SetBounds(250, 0, 240, 300);
        TRzShellLocator base;
        base.SetPath((dir_ / "root").string());
        tree_->SetBaseFolder(&base);
        list_->SetFolder(&base);
        form_->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { delete form_; }

    TTreeNode* Node(const char16_t* text) const {
        for (TTreeNode* n = tree_->Items()->GetFirstNode(); n; n = n->GetNext())
            if (n->Text() == text) return n;
        return nullptr;
    }
    POINTL At(TWinControl& control, TRect r) const {
        const TPoint p = control.ClientToScreen(TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        return {p.x, p.y};
    }
    POINTL AtNode(const char16_t* text) const { return At(*tree_, Node(text)->DisplayRect(true)); }
    // Drags the files over point and drops them with the keys; the effect the drop had.
    DWORD Drop(TRzShellDragDrop& dnd, std::vector<fs::path> files, POINTL point, DWORD keys,
               std::function<void()> whileOver = {}) {
        TDropFileSource source(nullptr);
        source.DragTypes = {dtCopy, dtMove};
        for (const fs::path& f : files) source.Files().Add(f.string());
        IDropTarget* target = dnd.Target().DropTarget();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->DragEnter(source.DataObject(), MK_LBUTTON | keys, point, &effect), S_OK);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragOver(MK_LBUTTON | keys, point, &effect);
        if (whileOver) whileOver();
        if (effect == DROPEFFECT_NONE) {
            target->DragLeave();
            return DROPEFFECT_NONE;
        }
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->Drop(source.DataObject(), keys, point, &effect), S_OK);
        return effect;
    }

    testsupport::TempDir dir_;
    TForm* form_ = nullptr;
    TRzShellTree* tree_ = nullptr;
    TRzShellList* list_ = nullptr;
};

TEST_F(ShellDropTest, DropOntoATreeFolderCopiesOrMovesWithoutReplacing) {
    ASSERT_NE(Node(u"inbox"), nullptr);
    ASSERT_FALSE(Node(u"inbox")->Expanded());
    DWORD now = 1000;
    tree_->DragDrop().Clock = [&] { return now; };
    // Resting over a folder highlights and then opens it.
    EXPECT_NE(Drop(tree_->DragDrop(), {dir_ / "outside/a.eml"}, AtNode(u"inbox"), MK_CONTROL, [&] {
                  EXPECT_EQ(tree_->DropTarget(), Node(u"inbox"));
                  now += 1000;
                  DWORD effect = DROPEFFECT_COPY;
                  tree_->DragDrop().Target().DropTarget()->DragOver(MK_LBUTTON | MK_CONTROL, AtNode(u"inbox"), &effect);
                  EXPECT_TRUE(Node(u"inbox")->Expanded());
              }),
              DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(tree_->DropTarget(), nullptr) << "the highlight goes with the drop";
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "root/inbox/a (2).eml"), "outside/a.eml") << "a.eml was there already";
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "root/inbox/a.eml"), "root/inbox/a.eml");
    EXPECT_TRUE(fs::exists(dir_ / "outside/a.eml")) << "a copy";

    // No keys: a move; the source learns nothing to delete.
    EXPECT_EQ(Drop(tree_->DragDrop(), {dir_ / "outside/b.eml"}, AtNode(u"sent"), 0), DWORD(DROPEFFECT_COPY));
    EXPECT_TRUE(fs::exists(dir_ / "root/sent/b.eml"));
    EXPECT_FALSE(fs::exists(dir_ / "outside/b.eml"));

    // A folder named with a trailing slash, as some programs send it, goes whole.
    fs::create_directories(dir_ / "outside/notes/2024");
    Drop(tree_->DragDrop(), {(dir_ / "outside/notes").string() + "/"}, AtNode(u"sent"), MK_CONTROL);
    EXPECT_TRUE(fs::is_directory(dir_ / "root/sent/notes/2024"));
}

TEST_F(ShellDropTest, DropOntoTheListGoesIntoAFolderItemOrTheFolderShown) {
    TListItem* sent = nullptr;
    for (int i = 0; i < list_->Items()->Count(); ++i)
        if (list_->Items()->Item(i)->Caption() == u"sent") sent = list_->Items()->Item(i);
    ASSERT_NE(sent, nullptr);
    Drop(list_->DragDrop(), {dir_ / "outside/a.eml"}, At(*list_, sent->DisplayRect(drBounds)), MK_CONTROL,
         [&] { EXPECT_TRUE(sent->DropTarget()); });
    EXPECT_FALSE(sent->DropTarget());
    EXPECT_TRUE(fs::exists(dir_ / "root/sent/a.eml"));
    Drop(list_->DragDrop(), {dir_ / "outside/b.eml"}, At(*list_, TRect(0, 250, 200, 290)), 0);
    EXPECT_TRUE(fs::exists(dir_ / "root/b.eml"));
    bool listed = false;
    for (int i = 0; i < list_->Items()->Count(); ++i) listed |= list_->Items()->Item(i)->Caption() == u"b.eml";
    EXPECT_TRUE(listed) << "the list reads its folder again";
}

TEST_F(ShellDropTest, DropsOfWhatCannotGoAreRefused) {
    std::vector<WideString> boxes;
    TScopedModalHook hook([&](TModalRequest& r) {
        boxes.push_back(r.Text);
        return IDOK;
    });
    const struct {
        const char* what;
        fs::path file;
        const char16_t* onto;
    } cases[] = {
        {"a file that does not exist", dir_ / "outside/none.eml", u"inbox"},
        {"a folder onto itself", dir_ / "root/inbox", u"inbox"},
        {"a folder into a folder it holds", dir_ / "root/inbox", u"old"},
        {"a path with dot-dot parts", dir_ / "root/sent/../../outside/a.eml", u"sent"},
        {"moving a file to where it is", dir_ / "root/inbox/a.eml", u"inbox"},
    };
    Node(u"inbox")->Expand(false);
    for (const auto& c : cases)
        EXPECT_EQ(Drop(tree_->DragDrop(), {c.file}, AtNode(c.onto), 0), DWORD(DROPEFFECT_NONE)) << c.what;
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(fs::exists(dir_ / "root/sent/a.eml"));
    EXPECT_TRUE(fs::exists(dir_ / "root/inbox/a.eml"));
    EXPECT_EQ(fs::directory_iterator(dir_ / "root/inbox/old"), fs::directory_iterator());
}

TEST_F(ShellDropTest, RestingNearTheBottomOfAScrolledTreeScrollsItAStep) {
    for (int i = 0; i < 60; ++i) fs::create_directories(dir_ / "root/sent" / ("folder " + std::to_string(i)));
    tree_->Refresh();
    Node(u"sent")->Expand(false);
    Application->ProcessMessages();  // the view lays out its rows and scroll bar
    const int top = tree_->VertScrollPos();
    DWORD now = 1000;
    TDropFileTarget& target = tree_->DragDrop().Target();
    target.Clock = [&] { return now; };
    TDropFileSource source(nullptr);
    source.Files().Add((dir_ / "outside/a.eml").string());
    const TPoint edge = tree_->ClientToScreen(TPoint(60, tree_->ClientHeight() - 4));
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target.DropTarget()->DragEnter(source.DataObject(), MK_LBUTTON, {edge.x, edge.y}, &effect), S_OK);
    now += 20;
    effect = DROPEFFECT_COPY;
    target.DropTarget()->DragOver(MK_LBUTTON, {edge.x, edge.y}, &effect);
    EXPECT_TRUE(effect & DROPEFFECT_SCROLL) << "the tree's own scroll bar is seen";
    ASSERT_TRUE(target.ScrollTimerRunning());
    now += DragDropScrollInterval;
    target.DoAutoScroll();
    EXPECT_GT(tree_->VertScrollPos(), top) << "one line down";
    target.DropTarget()->DragLeave();
}

// A drop's data as the desktop hands it over: the file list's bytes as its sender wrote them.
class DesktopMime : public QMimeData {
public:
    explicit DesktopMime(QByteArray uriList) : uriList_(std::move(uriList)) {}
    QStringList formats() const override { return {QStringLiteral("text/uri-list")}; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override {
        return mimeType == QStringLiteral("text/uri-list") ? QVariant(uriList_) : QVariant();
    }

private:
    QByteArray uriList_;
};

TEST_F(ShellDropTest, DesktopDropKeepsTheBytesOfNamesThatAreNotUtf8) {
    const std::string name = "r\xe9sum\xe9 \xe4\xb8\x80.eml";  // Latin-1 bytes, then UTF-8
    std::ofstream(dir_ / "outside" / name) << "r";
    QWidget* widget = dynamic_cast<QWidget*>(tree_->Peer());
    ASSERT_NE(widget, nullptr);
    const TRect r = Node(u"sent")->DisplayRect(true);
    const QPoint at((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // As the desktop's file managers write it: the bytes percent-encoded.
    const DesktopMime data("file://" + QByteArray::fromStdString((dir_ / "outside" / name).string()).toPercentEncoding("/") + "\r\n");
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(widget, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(widget, &drop);
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "root/sent" / name), "r");
}

}  // namespace
