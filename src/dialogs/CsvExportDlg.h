// The CSV options: the file's encoding and whether bodies are exported. Made once at start-up
// and reused, so the choices last for the run.
#pragma once

#include "app/IChangeableLangForm.h"
#include "dialogs/CsvExport.h"

class TcsvExportDlg : public IChangeableLangForm {
    QUILLORA_COMPONENT(TcsvExportDlg)
public:
    explicit TcsvExportDlg(TComponent* owner);
    ~TcsvExportDlg() override;

    // The choices as export options.
    CsvExportOptions Options() const;
    void LanguageChanged() override {}
};

extern TcsvExportDlg* csvExportDlg;
