#include "favorites/frmAddItem.h"

#include "controls/styled/RzImageComboBox.h"
#include "controls/unicode/TntStdCtrls.h"

TfrmAddItem* frmAddItem = nullptr;

const TMetaClass& TfrmAddItem::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TfrmAddItem>(
        "TfrmAddItem", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TfrmAddItem>& b) {
            b.Method("FormActivate", &TfrmAddItem::FormActivate);
            b.Method("uxOkClick", &TfrmAddItem::uxOkClick);
            b.Method("uxCancelClick", &TfrmAddItem::uxCancelClick);
        });
    return meta;
}

TfrmAddItem::TfrmAddItem(TComponent* owner) : IChangeableLangForm(owner) {}

TfrmAddItem::~TfrmAddItem() {
    if (frmAddItem == this) frmAddItem = nullptr;
}

void TfrmAddItem::FormActivate(TObject*) {
    auto* combo = dynamic_cast<TRzImageComboBox*>(FindComponent("uxFolders"));
    if (!combo || !favorites_) return;
    favorites_->GetFolderNodes(folders_, nullptr);
    combo->Clear();
    combo->SetImages(favorites_->GetImages());
    favorites_->FillFolderCombo(combo, folders_);
}

void TfrmAddItem::uxOkClick(TObject*) { SetModalResult(mrOk); }

void TfrmAddItem::uxCancelClick(TObject*) {
    if (auto* title = dynamic_cast<TTntEdit*>(FindComponent("uxTittle"))) title->SetText(WideString());
    SetModalResult(mrCancel);
}

void TfrmAddItem::GetResult(TTreeNode*& folder, std::unique_ptr<FavMsg>& item) const {
    const auto* title = dynamic_cast<const TTntEdit*>(FindComponent("uxTittle"));
    if (!title || title->GetText().empty()) return;
    folder = nullptr;
    if (const auto* combo = dynamic_cast<const TRzImageComboBox*>(FindComponent("uxFolders"))) {
        const int index = combo->ItemIndex();
        if (const TRzImageComboBoxItem* entry = index >= 0 ? combo->GetImageItem(index) : nullptr)
            folder = static_cast<TTreeNode*>(entry->Data);
    }
    item = std::make_unique<FavMsg>();
    item->Tittle = title->GetText();
    item->ImageIndex = 5;
}
