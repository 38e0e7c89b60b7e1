#include "tools/vcldemo/ShellDemo.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "controls/shell/RzShellList.h"
#include "controls/shell/RzShellTree.h"
#include "platform/shell/qt/ShellIconsQt.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "tools/vcldemo/DemoRun.h"

namespace {

namespace fs = std::filesystem;

// The folders the tree shows; removed with everything in them when the demo ends.
class DemoFolders {
public:
    DemoFolders() {
        std::string pattern = (fs::temp_directory_path() / "vcldemo-shell-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        root_ = fs::path(pattern) / "Mail";
        for (const char* d : {"Archive/2023", "Archive/2024/Q1", "Archive/2024/Q2", "Clients/Acme", "Clients/Globex",
                              "Inbox", "Projects 10", "Projects 9", ".cache/index", "Grüße aus Köln"})
            fs::create_directories(root_ / d);
        std::ofstream(root_ / "Inbox/message.eml") << "Subject: hello\r\n\r\nbody\r\n";
        for (const char* f : {"Archive/2024/Q2/report 10.pdf", "Archive/2024/Q2/report 9.pdf", "Archive/2024/Q2/notes.txt",
                              "Archive/2024/Q2/minutes.eml", "Archive/2024/Q2/.index"})
            std::ofstream(root_ / f) << std::string(std::string(f).find("report") != std::string::npos ? 150000 : 900, 'x');
        fs::create_directories(root_ / "Archive/2024/Q2/Attachments");
        std::error_code ec;
        fs::create_directory_symlink(root_ / "Clients/Acme", root_ / "Acme (link)", ec);
    }
    ~DemoFolders() {
        std::error_code ec;
        if (!root_.empty()) fs::remove_all(root_.parent_path(), ec);
    }
    DemoFolders(const DemoFolders&) = delete;
    DemoFolders& operator=(const DemoFolders&) = delete;
    const fs::path& Root() const { return root_; }

private:
    fs::path root_;
};

}  // namespace

int RunShellDemo(const char* screenshot) {
    DemoFolders folders;
    if (folders.Root().empty()) {
        std::fprintf(stderr, "vcldemo: cannot make a temporary folder\n");
        return 1;
    }
    InstallQtShellIcons();
    Application->Initialize();
    auto* form = new TForm(Application);
    form->SetCaption(u"Folders");
    form->SetBounds(40, 40, 820, 380);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(8, 8, 800, 16);
    auto* tree = new TRzShellTree(form);
    tree->SetParent(form);
    tree->SetBounds(8, 28, 240, 340);
    auto* list = new TRzShellList(form);
    list->SetParent(form);
    list->SetBounds(254, 28, 558, 340);
    list->SetViewStyle(vsReport);
    list->SetHideSelection(false);
    tree->SetShellList(list);
    tree->SetHideSelection(false);
    tree->SetIndent(20);
    tree->SetReadOnly(true);
    TRzShellLocator base;
    base.SetPath(folders.Root().string());
    tree->SetBaseFolder(&base);
    tree->SetSelectedPath((folders.Root() / "Archive/2024/Q2").string());
    tree->OnChange = [tree, label](TObject*, TTreeNode*) { label->SetCaption(Utf8ToUtf16(tree->SelectedPathName())); };
    label->SetCaption(Utf8ToUtf16(tree->SelectedPathName()));
    return ShowDemoForm(*form, screenshot);
}
