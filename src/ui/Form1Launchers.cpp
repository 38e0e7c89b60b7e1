// The commands that open the program's other windows: reply and forward, printing, export,
// the file naming utility, CSV export and the settings.
#include "ui/Form1.h"

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/CAppUtils.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CsvExport.h"
#include "dialogs/SettingsDlg.h"
#include "mail/ReplyForwardForm.h"
#include "output/PrintCopyForm.h"
#include "output/export/ExportManagerForm.h"
#include "mapi/MapiLibs.h"
#include "message/MessageAttr.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntSysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/ProcessSpawn.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

void TForm1::actionReplyExecute(TObject*)
{
    if (!Form3 || !GetSelectedMessage()) return;
    Form3->SetIsForward(false);
    Form3->ShowModal();
}

void TForm1::actionForwardExecute(TObject*)
{
    if (!Form3 || !GetSelectedMessage()) return;
    Form3->SetIsForward(true);
    Form3->ShowModal();
}

void TForm1::Reply() { ReplyOrForward(false); }

void TForm1::Forward() { ReplyOrForward(true); }

void TForm1::ReplyOrForward(bool forward)
{
    ReplyForwardContext context;
    context.mapiReady = MapiLibs::get().isReady;
    context.tempFolder = CAppUtils::getAppTempFolder();
    // The mail's files go nowhere else: without the private folder there is no hand-off.
    if (context.tempFolder.empty()) return;
    context.owner = Handle();
    context.desktop = mailDesktop;
    // The row the user sees; the command loads its whole body and attachments.
    RunReplyForward(GetSelectedMessage(), forward, context);
}

void TForm1::actionPrintMessageExecute(TObject*)
{
    if (!appOptions.hidePM) TForm2::PrintFiles(this, true);
}

void TForm1::actionPrintMessageSilentExecute(TObject*) { TForm2::PrintFiles(this, false); }

void TForm1::actionPrintHeaderExecute(TObject*)
{
    if (!appOptions.hidePH) PrintTextRaw(this, true);
}

void TForm1::actionPrintHeaderSilentExecute(TObject*)
{
    if (!appOptions.hidePH) PrintTextRaw(this, false);
}

void TForm1::actionCopyToExecute(TObject*)
{
    if (!appOptions.hideSM) TForm2::CopyFiles(this);
}

void TForm1::actionExportExecute(TObject*)
{
    if (appOptions.hideX || !fmBateStamp) return;
    exportMode = true;
    fmBateStamp->OnMinimized = [this] { m_restoreWindow = fmBateStamp; };
    fmBateStamp->Execute(this, true, SelectedTreePath());
}

void TForm1::actionFileNamingExecute(TObject*)
{
    if (!fmBateStamp) return;
    exportMode = false;
    if (Application->MessageBox(GetUiString(1101), GetUiString(1087), MB_YESNO | MB_ICONWARNING) != IDYES) return;
    fmBateStamp->OnMinimized = [this] { m_restoreWindow = fmBateStamp; };
    fmBateStamp->Execute(this, false, {});
}

void TForm1::actionExportCsvExecute(TObject*)
{
    if (!appOptions.hideCSV) RunCsvExportCommand(m_messages);
}

void TForm1::actionSettingsDlgExecute(TObject*)
{
    if (!appOptions.hideAPP && SettingsDlg) SettingsDlg->ShowModal();
}

void TForm1::Help1Click(TObject*)
{
    if (AboutDlg) AboutDlg->ShowModal();
}

void TForm1::MessagelistDblClick(TObject*)
{
    const auto* list = List();
    if (!list) return;
    const int row = list->ItemIndex();
    if (row < 0 || row >= static_cast<int>(m_messages.size())) return;
    TMessageAttr* m = m_messages[static_cast<std::size_t>(row)];
    const TCursor saved = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
    WideString path = m->fileName;
    if (m->GetType() == mftPST) {
        const WideString folder = CAppUtils::getAppTempFolder();
        path = folder.empty() ? WideString() : m->Export(folder + m->GetExportFileName());
    }
    if (!path.empty()) {
        if (startViewer) {
            startViewer(path);
        } else {
            WCHAR self[4096] = {};
            GetModuleFileNameW(nullptr, self, 4096);
            SpawnDetached({Utf16ToUtf8(self), "+FULLSCR", Utf16ToUtf8(path)});
        }
    }
    Screen->SetCursor(saved);
}
