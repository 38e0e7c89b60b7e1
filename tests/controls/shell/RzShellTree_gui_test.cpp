// The shell tree in the Qt widget set: it fills once its window is shown and its nodes carry
// pictures from the icon theme, a link with its emblem.
#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>

#include "controls/shell/RzShellTree.h"
#include "platform/shell/ShellIcons.h"
#include "platform/shell/qt/ShellIconsQt.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST(RzShellTreeGui, NodesShowPicturesFromTheIconTheme) {
    InstallQtWidgetSet();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) GTEST_SKIP() << "no widget application";
    InstallQtShellIcons();
    testsupport::TempDir dir;
    fs::create_directories(dir / "Mail/Inbox");
    fs::create_directory_symlink(dir / "Mail/Inbox", dir / "Mail/Shortcut");
    Application->Initialize();
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 240, 300);
    auto* tree = new TRzShellTree(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 240, 300);
    TRzShellLocator base;
    base.SetPath((dir / "Mail").string());
    tree->SetBaseFolder(&base);
    form->Show();
    Application->ProcessMessages();
    ASSERT_NE(tree->Images(), nullptr);
    EXPECT_EQ(tree->Images()->Width(), 16);
    const TTreeNode* root = tree->Items()->GetFirstNode();
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->Count(), 2);
    for (const TTreeNode* n : std::initializer_list<const TTreeNode*>{root, root->Item(0), root->Item(1)}) {
        EXPECT_GE(n->ImageIndex(), 0) << Utf16ToUtf8(n->Text());
        EXPECT_GE(n->SelectedIndex(), 0);
    }
    const TTreeNode* link = root->Item(1);
    EXPECT_EQ(link->Text(), u"Shortcut");
    EXPECT_EQ(link->OverlayIndex(), 1);
    EXPECT_GE(tree->Images()->OverlayImage(1), 0) << "the link emblem";
    delete form;
    SetShellIconSource(nullptr);
}

}  // namespace
