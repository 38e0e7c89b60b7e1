// The commands that open the program's other windows: reply and forward, printing, export,
// the file naming utility, CSV export and the settings.
#include "ui/Form1.h"

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "mail/ReplyForwardForm.h"
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
    if (!Form3 || !GetTargetMessage()) return;
    Form3->SetIsForward(false);
    Form3->ShowModal();
}

void TForm1::actionForwardExecute(TObject*)
{
    if (!Form3 || !GetTargetMessage()) return;
    Form3->SetIsForward(true);
    Form3->ShowModal();
}

void TForm1::Reply() { ReplyOrForward(false); }

void TForm1::Forward() { ReplyOrForward(true); }

void TForm1::ReplyOrForward(bool forward)
{
    ReplyForwardContext context;
    context.mapiReady = MapiLibs::get().isReady;
    context.tempFolder = m_tempFolder;
    context.owner = Handle();
    RunReplyForward(GetTargetMessage(), forward, context);
}

void TForm1::actionPrintMessageExecute(TObject*) {}
void TForm1::actionPrintHeaderExecute(TObject*) {}
void TForm1::actionPrintMessageSilentExecute(TObject*) {}
void TForm1::actionPrintHeaderSilentExecute(TObject*) {}
void TForm1::actionCopyToExecute(TObject*) {}
void TForm1::actionExportExecute(TObject*) { exportMode = true; }
void TForm1::actionFileNamingExecute(TObject*) { exportMode = false; }
void TForm1::actionExportCsvExecute(TObject*) {}
void TForm1::actionSettingsDlgExecute(TObject*) {}
void TForm1::Help1Click(TObject*) {}

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
    if (m->GetType() == mftPST) path = m->Export(WideIncludeTrailingBackslash(m_tempFolder) + m->GetExportFileName());
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
