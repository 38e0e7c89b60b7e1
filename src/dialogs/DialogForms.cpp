#include "dialogs/DialogForms.h"

#include "controls/shell/RzShellTree.h"
#include "controls/styled/RzStyledControls.h"
#include "controls/unicode/TntRegisterClasses.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CsvExportDlg.h"
#include "dialogs/OpenAttachmentDlg.h"
#include "dialogs/SelectFolderDlg.h"
#include "dialogs/SettingsDlg.h"
#include "dialogs/SplashScreen.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/VclClasses.h"

void RegisterDialogForms() {
    RegisterVclClasses();
    RegisterTntClasses();
    RegisterStyledControls();
    RegisterShellControls();
    RegisterClasses({&TAboutDlg::StaticClass(), &TOpenAttachmentDlg::StaticClass(), &TSelectFolderDlg::StaticClass(),
                     &TcsvExportDlg::StaticClass(), &TSettingsDlg::StaticClass(), &TSplashScreen::StaticClass()});
}

void CreateDialogForms() {
    RegisterDialogForms();
    Application->CreateForm(AboutDlg);
    Application->CreateForm(OpenAttachmentDlg);
    Application->CreateForm(SelectFolderDlg);
    Application->CreateForm(csvExportDlg);
    Application->CreateForm(SettingsDlg);
}
