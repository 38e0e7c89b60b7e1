#include "dialogs/SelectFolderDlg.h"

#include "controls/shell/RzShellTree.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinString.h"

TSelectFolderDlg* SelectFolderDlg = nullptr;

const TMetaClass& TSelectFolderDlg::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TSelectFolderDlg>(
        "TSelectFolderDlg", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TSelectFolderDlg>& b) {
            b.Method("CDirectoryOutline1Change", &TSelectFolderDlg::CDirectoryOutline1Change);
        });
    return meta;
}

TSelectFolderDlg::TSelectFolderDlg(TComponent* owner) : IChangeableLangForm(owner) {}

TSelectFolderDlg::~TSelectFolderDlg() {
    if (SelectFolderDlg == this) SelectFolderDlg = nullptr;
}

TRzShellTree* TSelectFolderDlg::Tree() const {
    return dynamic_cast<TRzShellTree*>(FindComponent("CDirectoryOutline1"));
}

void TSelectFolderDlg::CDirectoryOutline1Change(TObject*, TTreeNode*) {
    const TRzShellTree* tree = Tree();
    if (auto* ok = dynamic_cast<TControl*>(FindComponent("RzBitBtn1")))
        ok->SetEnabled(tree && !tree->GetSelectedPath().empty());
}

bool TSelectFolderDlg::Choose(WideString& folder) {
    TRzShellTree* tree = Tree();
    if (!tree) return false;
    if (!folder.empty()) tree->SetSelectedPath(Utf16ToUtf8(folder));
    CDirectoryOutline1Change(tree, nullptr);
    if (ShowModal() != mrOk) return false;
    const AnsiString chosen = tree->GetSelectedPath();
    // OK is disabled for places without a path, but a key press may still close with it.
    if (chosen.empty()) return false;
    folder = Utf8ToUtf16(chosen);
    return true;
}
