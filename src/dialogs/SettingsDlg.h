// The settings: the .msg and .eml associations, the language (with a custom translation file)
// and the hidden page-break printing flag. Refreshed from the options on every show; OK stores
// them, writes them and, when the language changed, retranslates every window.
#pragma once

#include <functional>

#include "app/IChangeableLangForm.h"

class TSettingsDlg : public IChangeableLangForm {
    QUILLORA_COMPONENT(TSettingsDlg)
public:
    explicit TSettingsDlg(TComponent* owner);
    ~TSettingsDlg() override;

    // Loads a translation file and applies it to every window: 0, or -1 when the file cannot
    // be read (nothing changed). Unset: the program's database and windows.
    std::function<int(const WideString& file)> ApplyLanguage;

    void FormShow(TObject* sender);
    void rbCustomClick(TObject* sender);
    void btnBrowseClick(TObject* sender);
    void TntButton1Click(TObject* sender);
    void LanguageChanged() override {}

private:
    template <class T>
    T* Find(const char* name) const {
        return dynamic_cast<T*>(FindComponent(name));
    }
    bool Checked(const char* name) const;
    void SetChecked(const char* name, bool checked);
};

extern TSettingsDlg* SettingsDlg;
