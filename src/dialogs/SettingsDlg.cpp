#include "dialogs/SettingsDlg.h"

#include <array>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/FileDlgWrapper.h"
#include "controls/unicode/TntStdCtrls.h"
#include "platform/vcl/Forms.h"

TSettingsDlg* SettingsDlg = nullptr;

namespace {

struct LanguageButton {
    const char* name;
    int code;
};

constexpr std::array<LanguageButton, 7> kLanguageButtons = {{
    {"rbEnglish", LanguageEnglish},
    {"rbFrench", LanguageFrench},
    {"rbGerman", LanguageGerman},
    {"rbSpanish", LanguageSpanish},
    {"rbRussian", LanguageRussian},
    {"rbItaliano", LanguageItalian},
    {"rbCustom", LanguageCustom},
}};

}  // namespace

const TMetaClass& TSettingsDlg::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TSettingsDlg>("TSettingsDlg", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TSettingsDlg>& b) {
            b.Method("FormShow", &TSettingsDlg::FormShow);
            b.Method("rbCustomClick", &TSettingsDlg::rbCustomClick);
            b.Method("btnBrowseClick", &TSettingsDlg::btnBrowseClick);
            b.Method("TntButton1Click", &TSettingsDlg::TntButton1Click);
        });
    return meta;
}

TSettingsDlg::TSettingsDlg(TComponent* owner) : IChangeableLangForm(owner) {}

TSettingsDlg::~TSettingsDlg() {
    if (SettingsDlg == this) SettingsDlg = nullptr;
}

bool TSettingsDlg::Checked(const char* name) const {
    if (const auto* radio = Find<TRadioButton>(name)) return radio->Checked();
    const auto* box = Find<TCustomCheckBox>(name);
    return box && box->Checked();
}

void TSettingsDlg::SetChecked(const char* name, bool checked) {
    if (auto* radio = Find<TRadioButton>(name)) radio->SetChecked(checked);
    else if (auto* box = Find<TCustomCheckBox>(name)) box->SetChecked(checked);
}

void TSettingsDlg::FormShow(TObject*) {
    // A box already checked is disabled: an association cannot be removed here.
    const std::array<std::pair<const char*, bool>, 2> associations = {{
        {"cbRegisterMSG", appOptions.assocMsg}, {"cbRegisterEML", appOptions.assocEml}}};
    for (const auto& [name, associated] : associations) {
        SetChecked(name, associated);
        if (auto* box = Find<TControl>(name)) box->SetEnabled(!associated);
    }
    SetChecked("cbPrintPageBreaks", appOptions.printPageBreaks);

    if (appOptions.language == LanguageCustom)
        if (auto* edit = Find<TControl>("edCustomLangDB")) edit->SetText(appOptions.localizationDb);
    // An unknown code checks none.
    for (const LanguageButton& button : kLanguageButtons) SetChecked(button.name, button.code == appOptions.language);
    // The button may have been checked already, which runs no click.
    rbCustomClick(this);
}

void TSettingsDlg::rbCustomClick(TObject*) {
    const bool custom = Checked("rbCustom");
    for (const char* name : {"edCustomLangDB", "btnBrowse"})
        if (auto* control = Find<TControl>(name)) control->SetEnabled(custom);
}

void TSettingsDlg::btnBrowseClick(TObject*) {
    OpenDlgWrapper dialog(WideString(), u"Text files|*.txt", WideString());
    if (!dialog.Exec(WideString(), WideString(), WideString())) return;
    if (auto* edit = Find<TControl>("edCustomLangDB")) edit->SetText(dialog.GetFileName());
}

void TSettingsDlg::TntButton1Click(TObject*) {
    const auto* edit = Find<TControl>("edCustomLangDB");
    const WideString customFile = edit ? edit->Text() : WideString();
    if (Checked("rbCustom") && customFile.empty()) {
        MessageBoxW(nullptr, GetUiString(1097).c_str(), GetUiString(1087).c_str(), MB_OK);
        return;
    }
    appOptions.assocMsg = Checked("cbRegisterMSG");
    appOptions.assocEml = Checked("cbRegisterEML");
    appOptions.printPageBreaks = Checked("cbPrintPageBreaks");

    int code = LanguageNone;
    for (const LanguageButton& button : kLanguageButtons)
        if (Checked(button.name)) code = button.code;
    bool changed = false;
    if (code != LanguageNone) {
        const WideString file = code == LanguageCustom ? customFile : LanguageFilePath(code);
        // Another custom file under the same code is a change too.
        changed = code != appOptions.language || file != appOptions.localizationDb;
        if (changed) {
            appOptions.language = code;
            appOptions.localizationDb = file;
        }
    }
    appOptions.Write(false);
    if (changed) {
        if (ApplyLanguage) {
            ApplyLanguage(appOptions.localizationDb);
        } else {
            // The forms are retranslated whatever the load reported, as far as it got.
            appLocDB.LoadDB(appOptions.localizationDb);
            appLocDB.ProcessForms(false);
        }
    }
    SetModalResult(mrOk);
}
