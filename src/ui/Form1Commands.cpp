// The main window's commands on messages: open, save and copy bodies and headers, delete to
// the trash, drag out, drop in, refresh, and the launchers of the other windows.
#include "ui/Form1.h"

#include <random>
#include <set>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/CAppUtils.h"
#include "app/FileDlgWrapper.h"
#include "controls/dragdrop/DroppedFiles.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntRichEdit.h"
#include "controls/unicode/TntStatusBar.h"
#include "controls/unicode/TntStdCtrls.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/MessageAttr.h"
#include "output/HtmlRenderer.h"
#include "output/TextRenderer.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"
#include "search/SearchDlg.h"
#include "ui/MainImages.h"

const TMessageTable& TForm1::ClassMessages()
{
    static const TMessageTable table(&IChangeableLangForm::ClassMessages(), {
        MESSAGE_HANDLER(WM_DROPFILES, TForm1::WMDropFiles),
    });
    return table;
}

namespace {

bool IsHtmlName(const WideString& path) { return WideUpperCase(WideExtractFileExt(path)) == u".HTML"; }

// -1 when the file cannot be opened.
long long FileSizeOf(const WideString& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return -1;
    LARGE_INTEGER size {};
    const bool ok = GetFileSizeEx(h, &size);
    CloseHandle(h);
    return ok ? static_cast<long long>(size.QuadPart) : -1;
}

void ReportWriteFailure(const WideString& path)
{
    Application->MessageBox(WideFormat(GetUiFormat(1160).c_str(), path.c_str()), GetUiString(1087), MB_OK | MB_ICONERROR);
}

}  // namespace

// ---- opening

WideString TForm1::SetOpenFileDlgParams() const
{
    WideString filter = GetUiString(1014) + (m_mapiAvailable ? u"|*.msg;*.eml;*.pst|" : u"|*.msg;*.eml|");
    filter += GetUiString(1015) + u"|*.eml|" + GetUiString(1016) + u"|*.msg|";
    if (m_mapiAvailable) filter += GetUiString(1017) + u"|*.pst|";
    return filter + GetUiString(1086) + u"|*.*";
}

void TForm1::actionOpenFileExecute(TObject*)
{
    if (appOptions.hideOF) return;
    OpenMessageFromFile();
}

void TForm1::OpenMessageFromFile()
{
    OpenDlgWrapper dialog({}, SetOpenFileDlgParams(), {});
    if (!dialog.Exec({}, {}, {})) return;
    OpenMessageFile(dialog.GetFileName());
}

bool TForm1::OpenMessageFile(const WideString& path)
{
    if (!WideFileExists(path)) return false;
    if (FileSizeOf(path) == 0) {
        Application->MessageBox(GetUiString(1126), GetUiString(1087), MB_OK);
        return false;
    }
    // A store is opened once, by the listing itself.
    MessageFileType type = MatchFileType(path, ftAll);
    if (type != mftPST) type = GetMessageFileType(path, true);
    TMessageAttr* added = AddFileToList(path, nullptr, this, type, false, false);
    if (!added) {
        ToolbarInit();
        // A store is listed by a scan, during which a folder may have been clicked.
        ListPendingFolder();
        return false;
    }
    added->Display(*this, m_plainTextMode, false);
    SelectRows({static_cast<int>(m_messages.size()) - 1});
    UpdateMessagesCount(static_cast<int>(m_messages.size()));
    ToolbarInit();
    return true;
}

// ---- saving and copying

bool TForm1::SaveMessageToFile(TMessageAttr& message)
{
    message.EnsureFullyLoaded();
    SaveDlgWrapper dialog(message.GetExportName() + u"_body", message.GetExportFilterString(),
                          message.GetExportDefaultExtension());
    if (!dialog.Exec({}, {}, {})) return false;
    const WideString path = dialog.GetFileName();
    WideString text;
    if (IsHtmlName(path)) {
        if (message.bodyIsHtml) {
            text = message.loadedHtmlBody.empty() ? message.htmlBody : message.loadedHtmlBody;
        } else {
            HtmlRenderer html;
            html.AddParagraph(html.Escape(message.plainBody));
            text = html.GetDocument();
        }
    } else {
        text = message.plainBody.empty() ? message.htmlBody : message.plainBody;
    }
    TextRenderer out;
    out.AddParagraph(text);
    if (out.SaveToFileUnicode(path)) return true;
    ReportWriteFailure(path);
    return false;
}

bool TForm1::SaveHeaderToFile(TMessageAttr& message)
{
    message.EnsureFullyLoaded();
    SaveDlgWrapper dialog(message.GetExportName() + u"_header", message.GetExportFilterString(),
                          message.GetExportDefaultExtension());
    if (!dialog.Exec({}, {}, {})) return false;
    const WideString path = dialog.GetFileName();
    std::unique_ptr<IRenderer> out;
    if (IsHtmlName(path)) out = std::make_unique<HtmlRenderer>();
    else out = std::make_unique<TextRenderer>();
    message.RenderHeaders(*out);
    if (out->SaveToFileUnicode(path)) return true;
    ReportWriteFailure(path);
    return false;
}

void TForm1::actionSaveBodyExecute(TObject*)
{
    if (appOptions.hideSM) return;
    if (TMessageAttr* m = GetTargetMessage()) SaveMessageToFile(*m);
}

void TForm1::actionSaveHeaderExecute(TObject*)
{
    if (appOptions.hideSH) return;
    if (TMessageAttr* m = GetTargetMessage()) SaveHeaderToFile(*m);
}

void TForm1::actionCopyMessageExecute(TObject*)
{
    TMessageAttr* m = GetTargetMessage();
    if (!m) return;
    if (m_bodyKind == 3 && m == GetSelectedMessage()) {
        CopyHTMLToClipboard();
        return;
    }
    m->EnsureFullyLoaded();
    TextRenderer text;
    m->RenderBody(text);
    Clipboard()->SetAsText(text.GetDocument());
}

void TForm1::actionCopyMessageHeaderExecute(TObject*)
{
    TMessageAttr* m = GetTargetMessage();
    if (!m) return;
    m->EnsureFullyLoaded();
    TextRenderer text;
    m->RenderHeaders(text);
    Clipboard()->SetAsText(text.GetDocument());
}

// ---- deleting

void TForm1::actionDeleteExecute(TObject*)
{
    if (appOptions.hideDEL) return;
    std::vector<int> rows;
    for (std::size_t i = 0; i < m_messages.size(); ++i)
        if (m_messages[i]->checked) rows.push_back(static_cast<int>(i));
    if (rows.empty()) rows = SelectedRows();

    std::vector<int> deletable;
    bool storeNoticeShown = false;
    for (int row : rows) {
        TMessageAttr* m = m_messages[static_cast<std::size_t>(row)];
        if (m->GetType() == mftPST) {
            if (!storeNoticeShown) Application->MessageBox(GetUiString(1128), GetUiString(1087), MB_OK);
            storeNoticeShown = true;
            continue;
        }
        deletable.push_back(row);
    }
    if (deletable.empty()) return;

    // Deleting moves the files to the trash, after asking.
    const WideString question = deletable.size() == 1
        ? WideFormat(GetUiFormat(1161).c_str(),
                     WideExtractFileName(m_messages[static_cast<std::size_t>(deletable.front())]->fileName).c_str())
        : WideFormat(GetUiFormat(1162).c_str(), static_cast<int>(deletable.size()));
    if (Application->MessageBox(question, GetUiString(1087), MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    Clear();
    m_listRebuilding = true;
    WideString failures;
    for (int row : deletable) {
        const WideString& path = m_messages[static_cast<std::size_t>(row)]->fileName;
        std::string error;
        const bool moved = moveToTrash ? moveToTrash(path, &error) : MoveToTrash(path, &error);
        if (!moved) failures += u"\r\n" + path + u": " + Utf8ToUtf16(error);
    }
    auto* list = List();
    if (list) list->Items()->SetCount(0);
    for (auto it = deletable.rbegin(); it != deletable.rend(); ++it) {
        const auto at = m_messages.begin() + *it;
        if (WideFileExists((*at)->fileName)) continue;
        delete *at;
        m_messages.erase(at);
    }
    if (list) {
        list->Items()->SetCount(static_cast<int>(m_messages.size()));
        list->InvalidateOwnerDataCache();
        list->ClearSelection();
        list->Invalidate();
        if (list->Columns()->Count() > 0) list->Columns()->Items(0)->SetImageIndex(kImageHeaderUnchecked);
    }
    m_listRebuilding = false;
    UpdateMessagesCount(static_cast<int>(m_messages.size()));
    if (auto* bar = Find<TTntStatusBar>("StatusBar1"); bar && bar->Panels()->Count() > 2) bar->Panels()->Items(2)->SetText({});
    ToolbarInit();
    if (!failures.empty())
        Application->MessageBox(WideFormat(GetUiFormat(1163).c_str(), failures.c_str()), GetUiString(1087), MB_OK | MB_ICONERROR);
}

// ---- the check-box column and dragging messages out

void TForm1::MessagelistMouseDown(TObject* sender, TMouseButton, TShiftState, int x, int y)
{
    auto* list = List();
    if (!list || m_messages.empty()) return;
    if (detectDrag && detectDrag(dynamic_cast<TControl*>(sender), x, y)) {
        const std::vector<WideString> paths = CollectDraggedMessages();
        if (!paths.empty() && dragFilesOut) dragFilesOut(paths);
    }
}

std::vector<WideString> TForm1::CollectDraggedMessages()
{
    static std::mt19937 random{std::random_device{}()};
    std::vector<WideString> paths;
    MessageAttrDeque messages;
    GetMessagesFromList(messages, false);
    for (TMessageAttr* m : messages) {
        if (m->GetType() == mftPST) {
            const WideString folder = CAppUtils::getAppTempFolder();
            if (folder.empty()) continue;
            const WideString proposed = folder + Utf8ToUtf16(std::to_string(random() % 1000000)) + u".msg";
            const WideString written = m->Export(proposed);
            if (!written.empty()) paths.push_back(written);
        } else {
            paths.push_back(m->fileName);
        }
    }
    return paths;
}

// ---- dropping files on the window

void TForm1::WMDropFiles(TMessage& message)
{
    const auto drop = reinterpret_cast<HDROP>(message.WParam);
    const std::vector<WideString> paths = DroppedFileNames(drop);
    DragFinish(drop);
    message.Result = 0;
    DropFiles(paths);
}

void TForm1::DropFiles(const std::vector<WideString>& paths)
{
    for (const WideString& path : paths) AddFileToList(path, nullptr, this, MatchFileType(path, ftAll), false, false);
    if (paths.size() == 1 && !m_messages.empty()) m_messages.back()->Display(*this, m_plainTextMode, false);
    UpdateMessagesCount(static_cast<int>(m_messages.size()));
    ToolbarInit();
    ListPendingFolder();
}

// ---- list commands

void TForm1::actionStopListExecute(TObject*) { StopSearch(); }

void TForm1::actionRefreshListExecute(TObject*)
{
    ScanRunning = false;
    scanner_.stopStoreEnum = true;
    EmptyList();
    const WideString folder = CurrentShellFolder.empty() ? SelectedTreePath() : CurrentShellFolder;
    CurrentShellFolder.clear();
    NavigateToFolder(folder);
    ToolbarInit();
}

void TForm1::actionExitExecute(TObject*) { Close(); }

void TForm1::actionAddToFavsExecute(TObject*)
{
    if (TMessageAttr* m = GetTargetMessage(); m && addToFavorites) addToFavorites(*m);
}

void TForm1::actionFontSelectExecute(TObject*)
{
    auto* dialog = Find<TFontDialog>("FontDialog1");
    auto* body = Find<TTntRichEdit>("mmBody");
    if (!dialog || !body) return;
    dialog->SetFont(body->Font());
    if (!dialog->Execute()) return;
    body->Font()->Assign(dialog->Font());
    if (auto* header = Find<TTntRichEdit>("mmHeader")) header->Font()->Assign(dialog->Font());
    if (auto* list = List()) {
        list->Font()->Assign(dialog->Font());
        // Two points smaller, never below a readable size.
        list->Font()->SetSize(std::max(6, dialog->Font()->Size() - 2));
    }
}

// ---- launchers

void TForm1::actionSearchExecute(TObject*)
{
    if (appOptions.hideS || !SearchDlg) return;
    actionViewMessageExecute(nullptr);
    if (auto* folder = SearchDlg->FindComponent("edFolder")) {
        if (auto* edit = dynamic_cast<TTntEdit*>(folder); edit && edit->Text().empty()) edit->SetText(SelectedTreePath());
    }
    SearchDlg->ShowModal();
    UpdateMessagesCount(static_cast<int>(m_messages.size()));
}
