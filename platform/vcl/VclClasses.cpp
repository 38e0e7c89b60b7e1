#include "platform/vcl/VclClasses.h"

#include "platform/vcl/CommCtrl.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/HeaderControl.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/RangeCtrls.h"
#include "platform/vcl/StdCtrls.h"

void RegisterVclClasses() {
    RegisterStdCtrls();
    RegisterExtCtrls();
    RegisterRangeCtrls();
    RegisterCommonControlClasses();
    RegisterClasses({&TListView::StaticClass(), &THeaderControl::StaticClass(), &TOpenDialog::StaticClass(),
                     &TSaveDialog::StaticClass(), &TPrintDialog::StaticClass(), &TPrinterSetupDialog::StaticClass(),
                     &TFontDialog::StaticClass()});
}
