// The folder-browsing window of the select-folder dialog: a shell tree with create-folder and
// delete-folder buttons, OK and Cancel, and a status bar showing the chosen folder's path
// shortened to fit.
#pragma once

#include <functional>
#include <memory>

#include "controls/shell/RzShellTree.h"
#include "platform/vcl/Forms.h"

class TRzToolButton;
class TRzBitBtn;
class TRzPanel;
class TRzStatusBar;

using TRzFolderBrowseSelChangeEvent = std::function<void(TObject* sender, const ShellIdList& newSel)>;

// Shortens path (its folders separated by '/') to fit width: the leading folders give way
// to ".../" one at a time, and finally only the name is left.
WideString ShortenFolderPath(const WideString& path, int width, const std::function<int(const WideString&)>& measure);

class TRzSelectFolderForm : public TForm {
    QUILLORA_COMPONENT(TRzSelectFolderForm)
public:
    explicit TRzSelectFolderForm(TComponent* owner);
    ~TRzSelectFolderForm() override;

    TRzShellTree* ShellTree() const { return shellTree_; }
    TRzToolButton* NewFolderButton() const { return btnNewFolder_; }
    TRzToolButton* DeleteFolderButton() const { return btnDeleteFolder_; }
    TRzBitBtn* OkButton() const { return btnOk_; }
    TRzBitBtn* CancelButton() const { return btnCancel_; }
    TRzStatusBar* StatusBar() const { return statusBar_; }
    TImageList* ButtonImages() const { return images_.get(); }
    // Places without a file-system path may be chosen.
    void SetAllowVirtualFolders(bool v) { allowVirtual_ = v; }

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormHide(TObject* sender);
    void FormResize(TObject* sender);
    void ShellTreeChange(TObject* sender, TTreeNode* node);
    void btnNewFolderClick(TObject* sender);
    void btnDeleteFolderClick(TObject* sender);

    TRzFolderBrowseSelChangeEvent OnSelChange;
    TNotifyEvent OnFormShow;
    TNotifyEvent OnFormClose;

private:
    void ShowPath(const AnsiString& path);
    void UpdateSelection(TTreeNode* node);

    TRzToolButton* btnNewFolder_ = nullptr;
    TRzToolButton* btnDeleteFolder_ = nullptr;
    TRzShellTree* shellTree_ = nullptr;
    TRzPanel* buttonPanel_ = nullptr;
    TRzBitBtn* btnOk_ = nullptr;
    TRzBitBtn* btnCancel_ = nullptr;
    TRzStatusBar* statusBar_ = nullptr;
    std::unique_ptr<TImageList> images_;
    bool allowVirtual_ = false;
};

void RegisterSelectFolderForm();
