// The select-folder dialog answered through the modal hook: OK returns the folder chosen in
// the form, Cancel keeps the old one but records the placement, places without a path are no
// answer, the create button makes the next free "New Folder", the delete button moves a folder
// to the trash; a second Execute while one runs is refused. Also the status bar's path
// shortening and the placement bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <QApplication>

#include "controls/shell/RzShellDialogs.h"
#include "controls/styled/RzBitBtn.h"
#include "controls/styled/RzToolButton.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class RzSelectFolderGui : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        RegisterShellControls();
        for (const char* d : {"Mail/Inbox", "Mail/Sent", "Mail/New Folder", "Mail/New Folder (2)"})
            fs::create_directories(dir_ / d);
        TRzShellLocator base;
        base.SetPath((dir_ / "Mail").string());
        dialog_.SetBaseFolder(&base);
    }
    // Runs the dialog; act gets the shown form and returns its answer.
    bool Run(const std::function<int(TRzSelectFolderForm&)>& act) {
        TScopedModalHook hook([&](TModalRequest& r) {
            if (r.What != TModalRequest::ModalForm) return 0;
            auto* form = dynamic_cast<TRzSelectFolderForm*>(r.Form);
            return form ? act(*form) : static_cast<int>(mrCancel);
        });
        return dialog_.Execute();
    }
    testsupport::TempDir dir_;
    TRzSelectFolderDialog dialog_{nullptr};
};

TEST_F(RzSelectFolderGui, OkReturnsTheChosenFolderCancelKeepsTheOld) {
    dialog_.SelectedFolder()->SetPath((dir_ / "Mail/Sent").string());
    bool buttonsHidden = false;
    WideString caption;
    EXPECT_TRUE(Run([&](TRzSelectFolderForm& form) {
        buttonsHidden = !form.NewFolderButton()->Visible() && !form.DeleteFolderButton()->Visible();
        caption = form.Caption();
        EXPECT_EQ(form.ShellTree()->GetSelectedPath(), (dir_ / "Mail/Sent").string()) << "starts at SelectedFolder";
        form.ShellTree()->SetSelectedPath((dir_ / "Mail/Inbox").string());
        return static_cast<int>(mrOk);
    }));
    EXPECT_TRUE(buttonsHidden) << "default options hide the create and delete buttons";
    EXPECT_EQ(caption, u"Browse for Folder");
    EXPECT_EQ(dialog_.SelectedFolder()->GetPath(), (dir_ / "Mail/Inbox").string());

    dialog_.FormWidth = dialog_.FormHeight = -1;
    EXPECT_FALSE(Run([&](TRzSelectFolderForm& form) {
        form.ShellTree()->SetSelectedPath((dir_ / "Mail/Sent").string());
        return static_cast<int>(mrCancel);
    }));
    EXPECT_EQ(dialog_.SelectedFolder()->GetPath(), (dir_ / "Mail/Inbox").string());
    EXPECT_GT(dialog_.FormWidth, 0) << "the placement is recorded after Cancel too";
    EXPECT_GT(dialog_.FormHeight, 0);
    EXPECT_EQ(dialog_.Form(), nullptr);
}

TEST_F(RzSelectFolderGui, APlaceWithoutAPathIsNoAnswerUnlessVirtualFoldersAreAllowed) {
    TRzShellLocator computer;
    computer.SetSpecialFolder(CSIDL_DRIVES);
    dialog_.SetBaseFolder(&computer);
    for (const bool allowVirtual : {false, true}) {
        TRzSelectFolderDialogOptions options = kDefaultSelectFolderOptions;
        if (allowVirtual) options << sfdoVirtualFolders;
        dialog_.SetOptions(options);
        Run([&](TRzSelectFolderForm& form) {
            TRzShellTree& tree = *form.ShellTree();
            TTreeNode* root = tree.Items()->GetFirstNode();
            EXPECT_NE(root, nullptr);
            if (!root) return static_cast<int>(mrCancel);
            tree.SetSelected(root);
            EXPECT_EQ(form.OkButton()->Enabled(), allowVirtual);
            EXPECT_FALSE(form.NewFolderButton()->Enabled());
            if (root->Count() > 0) {
                tree.SetSelected(root->Item(0));
                EXPECT_TRUE(form.OkButton()->Enabled()) << "a volume has a path";
            }
            return static_cast<int>(mrCancel);
        });
    }
}

TEST_F(RzSelectFolderGui, CreateMakesTheNextFreeNameAndDeleteMovesToTheTrashAfterAsking) {
    const fs::path data = dir_ / "data";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    dialog_.SetOptions(kDefaultSelectFolderOptions + TRzSelectFolderDialogOptions{sfdoCreateDeleteButtons});
    dialog_.SelectedFolder()->SetPath((dir_ / "Mail").string());
    Run([&](TRzSelectFolderForm& form) {
        EXPECT_TRUE(form.NewFolderButton()->Visible());
        EXPECT_FALSE(form.DeleteFolderButton()->Enabled()) << "the root is not deleted";
        form.btnNewFolderClick(nullptr);
        EXPECT_TRUE(fs::is_directory(dir_ / "Mail/New Folder (3)"));
        const TTreeNode* made = form.ShellTree()->CurrentNode();
        EXPECT_TRUE(made && made->Text() == u"New Folder (3)") << "the new folder is selected";
        form.ShellTree()->SetSelectedPath((dir_ / "Mail/Sent").string());
        EXPECT_TRUE(form.DeleteFolderButton()->Enabled());
        for (const int answer : {IDNO, IDYES}) {
            WideString asked;
            TScopedModalHook confirm([&](TModalRequest& r) {
                if (r.What != TModalRequest::MessageBox) return 0;
                asked = r.Text;
                return answer;
            });
            form.btnDeleteFolderClick(nullptr);
            EXPECT_EQ(asked, u"Move \"Sent\" to the trash?");
            EXPECT_EQ(fs::exists(dir_ / "Mail/Sent"), answer == IDNO);
        }
        EXPECT_EQ(form.ShellTree()->GetSelectedPath(), (dir_ / "Mail").string()) << "the parent is selected";
        return static_cast<int>(mrCancel);
    });
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_FALSE(fs::exists(dir_ / "Mail/Sent"));
    EXPECT_TRUE(fs::is_directory(data / "Trash/files/Sent"));
    EXPECT_TRUE(fs::exists(data / "Trash/info/Sent.trashinfo"));
}

TEST_F(RzSelectFolderGui, ASecondExecuteWhileOneRunsIsRefused) {
    std::string message;
    Run([&](TRzSelectFolderForm&) {
        try {
            dialog_.Execute();
        } catch (const Exception& e) {
            message = Utf16ToUtf8(e.Message());
        }
        return static_cast<int>(mrCancel);
    });
    EXPECT_EQ(message, "TRzSelectFolderDialog already executing");
    EXPECT_FALSE(dialog_.Executing());
}

TEST(RzSelectFolder, LongPathsLoseLeadingFoldersThenAllButTheName) {
    // One unit of width per character.
    const auto measure = [](const WideString& s) { return static_cast<int>(s.size()); };
    const WideString path = u"/home/user/mail/2024/reports/Quarterly";
    const struct {
        int width;
        const char16_t* shown;
    } cases[] = {
        {100, u"/home/user/mail/2024/reports/Quarterly"},
        {37, u"/.../user/mail/2024/reports/Quarterly"},
        {33, u"/.../mail/2024/reports/Quarterly"},
        {22, u"/.../reports/Quarterly"},
        {14, u"/.../Quarterly"},
        {13, u".../Quarterly"},
        {5, u"Quarterly"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortenFolderPath(path, c.width, measure), c.shown) << c.width;
}

TEST(RzSelectFolder, PlacementIsEighteenLittleEndianBytes) {
    TRzSelectFolderDialog dialog(nullptr);
    dialog.FormLeft = 10;
    dialog.FormTop = -1;
    dialog.FormWidth = 0x01020304;
    dialog.FormHeight = 400;
    dialog.FormWindowState = wsMaximized;
    dialog.FormPosition = poDesigned;
    TMemoryStream stream;
    dialog.WritePlacement(stream);
    ASSERT_EQ(stream.Size(), 18);
    const auto* bytes = static_cast<const unsigned char*>(stream.Memory());
    EXPECT_EQ(bytes[8], 0x04);
    EXPECT_EQ(bytes[11], 0x01);
    EXPECT_EQ(bytes[4], 0xFF);
    EXPECT_EQ(bytes[16], wsMaximized);
    TRzSelectFolderDialog back(nullptr);
    stream.SetPosition(0);
    back.ReadPlacement(stream);
    EXPECT_EQ(back.FormTop, -1);
    EXPECT_EQ(back.FormWidth, 0x01020304);
    EXPECT_EQ(back.FormPosition, poDesigned);
}

}  // namespace
