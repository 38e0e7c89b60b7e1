#include "favorites/uxFolderProperties.h"

#include "controls/styled/RzImageComboBox.h"
#include "controls/unicode/TntPageControl.h"
#include "controls/unicode/TntStdCtrls.h"
#include "favorites/FavItems.h"
#include "platform/vcl/TreeView.h"

TuxFolderProperties* uxFolderProperties = nullptr;

const TMetaClass& TuxFolderProperties::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TuxFolderProperties>(
        "TuxFolderProperties", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TuxFolderProperties>& b) {
            b.Method("FormActivate", &TuxFolderProperties::FormActivate);
        });
    return meta;
}

TuxFolderProperties::TuxFolderProperties(TComponent* owner) : IChangeableLangForm(owner) {}

TuxFolderProperties::~TuxFolderProperties() {
    if (uxFolderProperties == this) uxFolderProperties = nullptr;
}

int TuxFolderProperties::Execute(TTreeNode* node, const TFavNodeList& folders) {
    node_ = node;
    item_ = node ? static_cast<const FavItem*>(node->Data()) : nullptr;
    folders_ = &folders;
    loaded_ = false;
    if (auto* tabs = dynamic_cast<TTntPageControl*>(FindComponent("uxTabs"))) tabs->SetActivePageIndex(0);
    LoadFields();
    const int result = ShowModal();
    folders_ = nullptr;
    return result;
}

void TuxFolderProperties::FormActivate(TObject*) {
    if (!loaded_) LoadFields();
}

void TuxFolderProperties::LoadFields() {
    if (!node_ || !item_ || !folders_) return;
    loaded_ = true;
    if (auto* combo = dynamic_cast<TRzImageComboBox*>(FindComponent("uxFolders")); combo && favorites_) {
        combo->Clear();
        combo->SetImages(favorites_->GetImages());
        favorites_->FillFolderCombo(combo, *folders_);
        combo->SetItemIndex(favorites_->IndexOfNode(node_->Parent(), *folders_) + 1);
    }
    if (auto* title = dynamic_cast<TTntEdit*>(FindComponent("TntEdit1"))) title->SetText(item_->Tittle);
    if (auto* comment = dynamic_cast<TTntMemo*>(FindComponent("uxEditComment"))) comment->SetText(item_->Comments);
}

int TuxFolderProperties::FolderEntry() const {
    const auto* combo = dynamic_cast<const TRzImageComboBox*>(FindComponent("uxFolders"));
    return combo ? combo->ItemIndex() : -1;
}

WideString TuxFolderProperties::TitleText() const {
    const auto* title = dynamic_cast<const TTntEdit*>(FindComponent("TntEdit1"));
    return title ? title->GetText() : WideString();
}

WideString TuxFolderProperties::CommentText() const {
    const auto* comment = dynamic_cast<const TTntMemo*>(FindComponent("uxEditComment"));
    return comment ? comment->Text() : WideString();
}
