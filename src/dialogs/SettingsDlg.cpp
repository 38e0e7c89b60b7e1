#include "dialogs/SettingsDlg.h"

#include <array>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/FileDlgWrapper.h"
#include "controls/unicode/TntStdCtrls.h"
#include "controls/unicode/TntSysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinString.h"

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
    // A language whose file is not beside the program cannot be chosen; its hint says why.
    // English is built in.
    for (const LanguageButton& button : kLanguageButtons) {
        const WideString file = LanguageFilePath(button.code);
        auto* radio = Find<TControl>(button.name);
        if (!radio || file.empty() || button.code == LanguageEnglish) continue;
        const bool present = WideFileExists(file);
        radio->SetEnabled(present);
        radio->SetHint(present ? WideString() : WideFormat(GetUiFormat(1141).c_str(), file.c_str()));
        radio->SetShowHint(!present);
    }
    // The button may have been checked already, which runs no click.
    rbCustomClick(this);
}

void TSettingsDlg::rbCustomClick(TObject*) {
    const bool custom = Checked("rbCustom");
    for (const char* name : {"edCustomLangDB", "btnBrowse"})
        if (auto* control = Find<TControl>(name)) control->SetEnabled(custom);
}

void TSettingsDlg::btnBrowseClick(TObject*) {
    OpenDlgWrapper dialog(WideString(), GetUiString(1164) + u"|*.txt", WideString());
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
    const WideString file = code == LanguageCustom ? customFile : LanguageFilePath(code);
    // Another custom file under the same code is a change too.
    const bool changed = code != LanguageNone && (code != appOptions.language || file != appOptions.localizationDb);
    if (changed) {
        const int applied = ApplyLanguage ? ApplyLanguage(file) : appLocDB.SwitchLanguage(file);
        if (applied != 0) {
            // The texts on screen and the language chosen before stay; the user picks again.
            MessageBoxW(WindowHandle(), WideFormat(GetUiFormat(1140).c_str(), file.c_str()).c_str(),
                        GetUiString(1087).c_str(), MB_OK | MB_ICONWARNING);
            return;
        }
        appOptions.language = code;
        appOptions.localizationDb = file;
    }
    appOptions.Write(false);
    SetModalResult(mrOk);
}
