// The new-folder dialog of the favorites pane: a name and a description.
#pragma once

#include <memory>

#include "app/IChangeableLangForm.h"
#include "favorites/FavItems.h"

class TfrmNewFolder : public IChangeableLangForm {
    QUILLORA_COMPONENT(TfrmNewFolder)
public:
    explicit TfrmNewFolder(TComponent* owner);
    ~TfrmNewFolder() override;

    // Shows the dialog; the new folder on OK with a name, else null. The fields keep what was
    // typed the last time.
    std::unique_ptr<FavFolder> Execute();

    // Without a name the dialog stays open.
    void uxOKClick(TObject* sender);
    void uxCancelClick(TObject* sender);
    void LanguageChanged() override {}

private:
    std::unique_ptr<FavFolder> result_;
};

extern TfrmNewFolder* frmNewFolder;
