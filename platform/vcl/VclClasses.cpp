#include "platform/vcl/VclClasses.h"

#include "platform/vcl/ActnList.h"
#include "platform/vcl/CommCtrl.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/HeaderControl.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/RangeCtrls.h"
#include "platform/vcl/StdCtrls.h"

void RegisterVclClasses() {
    RegisterStdCtrls();
    RegisterExtCtrls();
    RegisterRangeCtrls();
    RegisterCommonControlClasses();
    RegisterMenuClasses();
    RegisterActionClasses();
    RegisterClasses({&TListView::StaticClass(), &THeaderControl::StaticClass(), &TOpenDialog::StaticClass(),
                     &TSaveDialog::StaticClass(), &TPrintDialog::StaticClass(), &TPrinterSetupDialog::StaticClass(),
                     &TFontDialog::StaticClass()});
}
