// The folder choice of the favorites pane's New Shortcut: a shell tree with OK and Cancel.
#pragma once

#include "app/IChangeableLangForm.h"

class TfrmSelectFolder : public IChangeableLangForm {
    QUILLORA_COMPONENT(TfrmSelectFolder)
public:
    explicit TfrmSelectFolder(TComponent* owner);
    ~TfrmSelectFolder() override;

    // The selected folder's path; empty for a place without one (Computer, Network).
    WideString GetSelectedPath() const;
    void LanguageChanged() override {}
};

extern TfrmSelectFolder* frmSelectFolder;
