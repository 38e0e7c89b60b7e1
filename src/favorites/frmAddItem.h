// A titled message entry under a chosen folder of the favorites pane.
#pragma once

#include <memory>

#include "app/IChangeableLangForm.h"
#include "favorites/FavItems.h"
#include "favorites/IFavorites.h"

class TfrmAddItem : public IChangeableLangForm {
    QUILLORA_COMPONENT(TfrmAddItem)
public:
    explicit TfrmAddItem(TComponent* owner);
    ~TfrmAddItem() override;

    void SetFavorites(IFavorites* favorites) { favorites_ = favorites; }
    // Without a title: nothing. Otherwise the chosen folder node (null for "Root folder" or no
    // choice) and a new message item with the title.
    void GetResult(TTreeNode*& folder, std::unique_ptr<FavMsg>& item) const;

    void FormActivate(TObject* sender);
    void uxOkClick(TObject* sender);
    void uxCancelClick(TObject* sender);
    void LanguageChanged() override {}

private:
    IFavorites* favorites_ = nullptr;
    TFavNodeList folders_;
};

extern TfrmAddItem* frmAddItem;
