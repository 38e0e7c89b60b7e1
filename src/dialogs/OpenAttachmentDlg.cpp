#include "dialogs/OpenAttachmentDlg.h"

#include "controls/unicode/TntStdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"

TOpenAttachmentDlg* OpenAttachmentDlg = nullptr;

const TMetaClass& TOpenAttachmentDlg::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TOpenAttachmentDlg>(
        "TOpenAttachmentDlg", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TOpenAttachmentDlg>& b) {
            b.Method("bbOkClick", &TOpenAttachmentDlg::bbOkClick);
            b.Method("Button3Click", &TOpenAttachmentDlg::Button3Click);
            b.Method("FormKeyDown", &TOpenAttachmentDlg::FormKeyDown);
            b.Method("FormActivate", &TOpenAttachmentDlg::FormActivate);
        });
    return meta;
}

TOpenAttachmentDlg::TOpenAttachmentDlg(TComponent* owner) : IChangeableLangForm(owner) {}

TOpenAttachmentDlg::~TOpenAttachmentDlg() {
    if (OpenAttachmentDlg == this) OpenAttachmentDlg = nullptr;
}

bool TOpenAttachmentDlg::Checked(const char* name) const {
    const auto* button = dynamic_cast<const TRadioButton*>(FindComponent(name));
    return button && button->Checked();
}

int TOpenAttachmentDlg::AskAction() {
    // Activation may not reach a window the system does not focus; the answer must not be
    // the previous one.
    attachmentAction = aaNone;
    ShowModal();
    return attachmentAction;
}

void TOpenAttachmentDlg::FormActivate(TObject*) {
    if (auto* ok = dynamic_cast<TWinControl*>(FindComponent("bbOk")); ok && ok->CanFocus()) SetActiveControl(ok);
    attachmentAction = aaNone;
}

void TOpenAttachmentDlg::bbOkClick(TObject*) {
    if (Checked("rbOpen")) attachmentAction = aaOpen;
    else if (Checked("rbSave")) attachmentAction = aaSave;
    else if (Checked("rbSaveAll")) attachmentAction = aaSaveAll;
    SetModalResult(mrOk);
}

void TOpenAttachmentDlg::Button3Click(TObject*) {
    attachmentAction = aaCancel;
    SetModalResult(mrCancel);
}

void TOpenAttachmentDlg::FormKeyDown(TObject*, WORD& key, TShiftState) {
    if (key == VK_ESCAPE) {
        key = 0;
        Button3Click(this);
    } else if (key == VK_RETURN) {
        key = 0;
        bbOkClick(this);
    }
}
