// The folder choice: a shell folder tree with OK and Cancel. OK is offered only for a folder
// with a file-system path; callers read the choice from the tree after an OK result. The
// dialog keeps its last selection between uses.
#pragma once

#include "app/IChangeableLangForm.h"

class TRzShellTree;
class TTreeNode;

class TSelectFolderDlg : public IChangeableLangForm {
    QUILLORA_COMPONENT(TSelectFolderDlg)
public:
    explicit TSelectFolderDlg(TComponent* owner);
    ~TSelectFolderDlg() override;

    TRzShellTree* Tree() const;
    // Shows the dialog with the tree at folder when it is not empty (the tree's root when it
    // cannot be found); on OK the chosen folder's path goes into folder. False otherwise.
    bool Choose(WideString& folder);

    void CDirectoryOutline1Change(TObject* sender, TTreeNode* node);
    void LanguageChanged() override {}
};

extern TSelectFolderDlg* SelectFolderDlg;
