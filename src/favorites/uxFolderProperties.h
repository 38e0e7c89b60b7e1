// The properties dialog of a favorite: its title, its folder and its comment.
#pragma once

#include "app/IChangeableLangForm.h"
#include "favorites/IFavorites.h"

class FavItem;

class TuxFolderProperties : public IChangeableLangForm {
    QUILLORA_COMPONENT(TuxFolderProperties)
public:
    explicit TuxFolderProperties(TComponent* owner);
    ~TuxFolderProperties() override;

    // The pane that fills the folder picker; set before each showing.
    void SetFavorites(IFavorites* favorites) { favorites_ = favorites; }
    // Shows the dialog for the node's item with the folder choices; the modal result.
    int Execute(TTreeNode* node, const TFavNodeList& folders);

    // The answers after OK: the picker entry (0 "Root folder", k the folder k - 1), the title
    // and the comment.
    int FolderEntry() const;
    WideString TitleText() const;
    WideString CommentText() const;

    // Fills the fields when this showing has not yet: switching windows and back must not
    // throw away what the user typed.
    void FormActivate(TObject* sender);
    void LanguageChanged() override {}

private:
    void LoadFields();

    IFavorites* favorites_ = nullptr;
    TTreeNode* node_ = nullptr;
    const FavItem* item_ = nullptr;
    const TFavNodeList* folders_ = nullptr;
    bool loaded_ = false;
};

extern TuxFolderProperties* uxFolderProperties;
