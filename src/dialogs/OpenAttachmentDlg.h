// The attachment manager: open, save, or save all. The choice is kept as the attachment action,
// read by the main window after the dialog closes; the radio buttons keep their state between
// uses.
#pragma once

#include "app/IChangeableLangForm.h"

// The attachment action after the dialog closed.
enum AttachmentAction : int {
    aaNone = 10,    // set on every activation; also what the title bar's close leaves
    aaCancel = 0,
    aaOpen = 1,
    aaSave = 2,
    aaSaveAll = 3,
};

class TOpenAttachmentDlg : public IChangeableLangForm {
    QUILLORA_COMPONENT(TOpenAttachmentDlg)
public:
    explicit TOpenAttachmentDlg(TComponent* owner);
    ~TOpenAttachmentDlg() override;

    int attachmentAction = aaNone;
    // Shows the dialog modally; the attachment action it ends with.
    int AskAction();

    void bbOkClick(TObject* sender);
    void Button3Click(TObject* sender);
    void FormKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void FormActivate(TObject* sender);
    void LanguageChanged() override {}

private:
    bool Checked(const char* name) const;
};

extern TOpenAttachmentDlg* OpenAttachmentDlg;
