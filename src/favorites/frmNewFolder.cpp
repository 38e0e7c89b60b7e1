#include "favorites/frmNewFolder.h"

#include "controls/unicode/TntStdCtrls.h"

TfrmNewFolder* frmNewFolder = nullptr;

const TMetaClass& TfrmNewFolder::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TfrmNewFolder>(
        "TfrmNewFolder", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TfrmNewFolder>& b) {
            b.Method("uxOKClick", &TfrmNewFolder::uxOKClick);
            b.Method("uxCancelClick", &TfrmNewFolder::uxCancelClick);
        });
    return meta;
}

TfrmNewFolder::TfrmNewFolder(TComponent* owner) : IChangeableLangForm(owner) {}

TfrmNewFolder::~TfrmNewFolder() {
    if (frmNewFolder == this) frmNewFolder = nullptr;
}

std::unique_ptr<FavFolder> TfrmNewFolder::Execute() {
    result_.reset();
    ShowModal();
    return std::move(result_);
}

void TfrmNewFolder::uxOKClick(TObject*) {
    const auto* name = dynamic_cast<TTntEdit*>(FindComponent("uxName"));
    const auto* description = dynamic_cast<TTntEdit*>(FindComponent("uxDescription"));
    if (!name || name->GetText().empty()) return;
    auto folder = std::make_unique<FavFolder>();
    folder->Tittle = name->GetText();
    folder->Comments = description && !description->GetText().empty() ? description->GetText() : folder->Tittle;
    folder->ImageIndex = 8;
    result_ = std::move(folder);
    SetModalResult(mrOk);
}

void TfrmNewFolder::uxCancelClick(TObject*) {
    result_.reset();
    SetModalResult(mrCancel);
}
