// The about box: how to use the program, where to get support (a link), other products of
// the maker and the version. Its texts stay as the form has them in every language.
#pragma once

#include "app/IChangeableLangForm.h"

class TAboutDlg : public IChangeableLangForm {
    QUILLORA_COMPONENT(TAboutDlg)
public:
    explicit TAboutDlg(TComponent* owner);
    ~TAboutDlg() override;

    void FormCreate(TObject* sender);
    void FormKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void Label17Click(TObject* sender);
    // A translated version line names the version as "$WCREV$" too.
    void LanguageChanged() override { FormCreate(this); }
};

// The program's version, four numbers joined by dots.
WideString ProgramVersion();
// The text with its first "$WCREV$" replaced by the version, followed by " (Debug)" when
// debug is set; a text without the placeholder stays as it is.
WideString SubstituteVersion(const WideString& text, const WideString& version, bool debug);

extern TAboutDlg* AboutDlg;
