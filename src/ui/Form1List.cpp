// The main window's folder scan and message list: listing folders from the tree, the list's
// rows, sorting, selection and the status bar.
#include <cstdio>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/UiHelpers.h"
#include "controls/styled/RzRadChk.h"
#include "controls/shell/RzShellTree.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntRichEdit.h"
#include "controls/unicode/TntTreeView.h"
#include "controls/unicode/TntRegistry.h"
#include "controls/unicode/TntStatusBar.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/MessageAttr.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinString.h"
#include "ui/Form1.h"
#include "ui/MainImages.h"

namespace {

WideString Decimal(std::size_t n) { return Utf8ToUtf16(std::to_string(n)); }

}  // namespace

// ---- folder scan

WideString TForm1::SelectedTreePath() const
{
    if (const auto* tree = Find<TRzShellTree>("ShellDirList")) return Utf8ToUtf16(tree->SelectedPathName());
    return treePath_;
}

void TForm1::ChangeShellDirListFolder(const WideString& folder)
{
    treePath_ = folder;
    if (auto* tree = Find<TRzShellTree>("ShellDirList")) tree->SetSelectedPath(Utf16ToUtf8(folder));
}

bool TForm1::NavigateToFolder(const WideString& folderPath)
{
    if (appOptions.hideOF) return false;
    // The window takes no input while a silent print reads the listed messages; a click's
    // deferred listing (the tree's timer) must not free them under it either.
    if (!Enabled()) return true;
    try {
        TTntRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (reg.OpenKey("SOFTWARE\\Kestrelwright\\quillora", true)) reg.WriteString(WideString(u"StartPath"), folderPath);
    } catch (const std::exception&) {
        // A refused write keeps the earlier start folder; the listing goes on.
    }
    if (!WideDirectoryExists(folderPath) || folderPath == CurrentShellFolder) return true;
    if (scanner_.Busy()) {
        // Asked from inside a running scan (through its message pumping): stop that one and list
        // this folder once its stack has unwound.
        StopSearch();
        pendingFolder_ = folderPath;
        pendingFolderSet_ = true;
        return true;
    }
    // A folder asked for earlier is superseded by this choice: it is never listed over it.
    pendingFolderSet_ = false;
    WideString folder = folderPath;
    for (;;) {
        CurrentShellFolder = folder;
        EmptyList();
        ToolbarInit();
        FindMSGFiles(folder, nullptr, this, rbSubFolderChecked(), ftAll);
        ScanRunning = false;
        scanner_.stopStoreEnum = true;
        ToolbarInit();
        if (!pendingFolderSet_ || m_closing) break;
        folder = pendingFolder_;
        pendingFolderSet_ = false;
    }
    pendingFolderSet_ = false;
    return true;
}

void TForm1::ListPendingFolder()
{
    // Only the outermost command lists it: a scan further up the stack would go on over it.
    if (!pendingFolderSet_ || scanner_.Busy() || m_closing) return;
    const WideString folder = pendingFolder_;
    pendingFolderSet_ = false;
    NavigateToFolder(folder);
}

bool TForm1::rbSubFolderChecked() const
{
    const auto* box = Find<TRzCustomGlyphButton>("rbSubFolder");
    return box && box->Checked();
}

void TForm1::ShellDirListMouseDown(TObject*, TMouseButton, TShiftState, int, int)
{
    // The click selects its node after this handler: the folder is read once it has.
    if (auto* timer = Find<TTimer>("TreeTimer")) timer->SetEnabled(true);
}

void TForm1::TreeTimerTimer(TObject*)
{
    if (auto* timer = Find<TTimer>("TreeTimer")) timer->SetEnabled(false);
    NavigateToFolder(SelectedTreePath());
}

void TForm1::ShellDirListKeyUp(TObject*, WORD&, TShiftState) { NavigateToFolder(SelectedTreePath()); }

void TForm1::rbSubFolderClick(TObject*)
{
    CurrentShellFolder.clear();
    NavigateToFolder(SelectedTreePath());
}

void TForm1::FindMSGFiles(const WideString& folder, SearchEngine* engine, ISearchInfoView* view,
                          bool includeSubfolders, FileTypeFilter filter)
{
    scanner_.FindMSGFiles(folder, engine, view, includeSubfolders, filter);
}

TMessageAttr* TForm1::AddFileToList(const WideString& path, SearchEngine* engine, ISearchInfoView* view,
                                    MessageFileType type, bool headersOnly, bool countOnly)
{
    return scanner_.AddFileToList(path, engine, view, type, headersOnly, countOnly);
}

bool TForm1::StopSearch() { return scanner_.StopSearch(); }

void TForm1::EmptyList()
{
    if (auto* list = List()) {
        list->ClearSelection();
        list->Items()->SetCount(0);
    }
    if (auto* attachments = Find<TTntListView>("AttachmentList")) attachments->Items()->Clear();
    if (auto* tree = Find<TCustomTreeView>("tvProperties")) tree->Items()->Clear();
    m_properties.clear();
    if (auto* values = Find<TControl>("mmPropValues")) values->SetText({});
    if (auto* id = Find<TControl>("lbPropID")) id->SetText(u"0X000");
    m_dateText.clear();
    ClearMsgInfoUI();
    if (auto* bar = Find<TTntStatusBar>("StatusBar1"); bar && bar->Panels()->Count() > 2)
        bar->Panels()->Items(2)->SetText({});
    scanner_.EmptyList();
    if (auto* list = List(); list && list->Columns()->Count() > 0) list->Column(0)->SetImageIndex(kImageHeaderUnchecked);
    UpdateMessagesCount(0);
}

void TForm1::ListGrown()
{
    auto* list = List();
    if (!list) return;
    const int count = static_cast<int>(m_messages.size());
    if (list->Items()->Count() == count) {
        list->InvalidateOwnerDataCache();
        list->Invalidate();
        return;
    }
    // The view keeps its top row and selection while rows are appended below.
    list->Items()->SetCount(count);
}

void TForm1::ScanFinished(std::size_t count, double seconds)
{
    char elapsed[48];
    std::snprintf(elapsed, sizeof elapsed, " (%.2f seconds)", seconds);
    if (auto* bar = Find<TTntStatusBar>("StatusBar1"); bar && bar->Panels()->Count() > 0)
        bar->Panels()->Items(0)->SetText(GetUiString(1032) + Decimal(count) + Utf8ToUtf16(elapsed));
}

// ---- message list

void TForm1::BuildColumns()
{
    auto* list = List();
    if (!list) return;
    const auto caption = [this](const char* label, const char16_t* fallback) {
        const auto* c = Find<TControl>(label);
        return c ? c->Text() : WideString(fallback);
    };
    list->SetExtendedStyle(LVS_EX_SUBITEMIMAGES, LVS_EX_SUBITEMIMAGES);
    list->Columns()->Clear();
    const struct {
        WideString text;
        int image;
        int width;
        bool fixed;
    } columns[] = {
        {u"", kImageHeaderUnchecked, 28, true},      {u"", 0, 28, true}, {u"", 0, 28, true},
        {caption("Label7", u"From:"), -1, 185, false}, {caption("Label10", u"Subject:"), -1, 134, false},
        {GetUiString(1143), -1, 114, false},          {caption("Label8", u"To:"), -1, 154, false},
        {GetUiString(1144), -1, 114, false},
    };
    for (const auto& c : columns) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(c.text);
        column->SetImageIndex(c.image);
        column->SetWidth(c.width);
        if (c.fixed) {
            column->SetMinWidth(c.width);
            column->SetMaxWidth(c.width);
        }
    }
    if (auto* attachments = Find<TTntListView>("AttachmentList")) {
        attachments->Columns()->Clear();
        attachments->Columns()->Add()->SetWidth(std::max(40, attachments->Width() - 1));
    }
}

void TForm1::MessagelistData(TObject*, TListItem* item)
{
    if (m_listRebuilding || !item) return;
    const int i = item->Index();
    if (i < 0 || i >= static_cast<int>(m_messages.size())) return;
    const TMessageAttr& m = *m_messages[static_cast<std::size_t>(i)];
    item->SetStateIndex(m.checked ? 1 : 0);
    item->SetCaption({});
    TSubItems* sub = item->SubItems();
    sub->Add({});
    item->SetSubItemImages(0, m.GetImageIndex());
    sub->Add({});
    item->SetSubItemImages(1, m.hasAttachments ? kImageAttachment : -1);
    for (int column = mlcFrom; column < kMessageListColumns; ++column) sub->Add(MessageCellText(m, column));
}

void TForm1::SortMessages(int column, bool flag)
{
    // The selection stays with the records, not with the row numbers.
    std::vector<TMessageAttr*> selected;
    for (int row : SelectedRows()) selected.push_back(m_messages[static_cast<std::size_t>(row)]);
    ::SortMessages(m_messages, column, flag);
    if (!selected.empty()) SelectRows(RowsOfMessages(m_messages, selected));
    if (auto* list = List()) {
        list->InvalidateOwnerDataCache();
        list->Invalidate();
    }
}

void TForm1::MessagelistColumnClick(TObject*, TListColumn* column)
{
    if (!column) return;
    const int index = column->Index();
    if (index == mlcCheck) {
        // Checks all when none is checked, else clears all.
        bool any = false;
        for (const TMessageAttr* m : m_messages) any = any || m->checked;
        for (TMessageAttr* m : m_messages) m->checked = !any;
        column->SetImageIndex(any ? kImageHeaderUnchecked : kImageHeaderChecked);
        if (auto* list = List()) {
            list->InvalidateOwnerDataCache();
            list->Invalidate();
        }
        ToolbarInit();
        return;
    }
    if (!sort_.Click(index)) return;
    appOptions.sortMode = sort_.column;
    appOptions.sortDir = sort_.flag;
    SortMessages(sort_.column, sort_.flag);
}

void TForm1::MessagelistSelectItem(TObject*, TListItem*, bool)
{
    if (auto* timer = Find<TTimer>("KeyTimer")) {
        timer->SetEnabled(false);
        timer->SetEnabled(true);
    }
    ToolbarInit();
}

void TForm1::MessagelistItemChecked(TObject*, TListItem* item)
{
    if (!item) return;
    const int row = item->Index();
    if (row < 0 || row >= static_cast<int>(m_messages.size())) return;
    TMessageAttr* m = m_messages[static_cast<std::size_t>(row)];
    m->checked = !m->checked;
    // The selected rows take the clicked row's new mark with it.
    for (int selected : SelectedRows()) m_messages[static_cast<std::size_t>(selected)]->checked = m->checked;
    if (auto* list = List()) {
        list->InvalidateOwnerDataCache();
        list->Invalidate();
    }
    ToolbarInit();
}

void TForm1::MessagelistKeyDown(TObject*, WORD& key, TShiftState shift)
{
    // Space ticks or clears the selected rows together, as the first of them turns.
    if (key != VK_SPACE || !shift.Empty()) return;
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    const bool check = !m_messages[static_cast<std::size_t>(rows.front())]->checked;
    for (int row : rows) m_messages[static_cast<std::size_t>(row)]->checked = check;
    if (auto* list = List()) {
        list->InvalidateOwnerDataCache();
        list->Invalidate();
    }
    key = 0;
    ToolbarInit();
}

void TForm1::KeyTimerTimer(TObject*)
{
    if (auto* timer = Find<TTimer>("KeyTimer")) timer->SetEnabled(false);
    if (m_displayBusy) return;
    const std::vector<int> rows = SelectedRows();
    if (rows.size() == 1 && !m_closing) ShowMessageRow(rows.front());
    ToolbarInit();
}

void TForm1::ShowMessageRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_messages.size())) return;
    m_displayBusy = true;
    try {
        TMessageAttr* m = m_messages[static_cast<std::size_t>(row)];
        SetStatusPanelText(m->fileName);
        m->Display(*this, m_plainTextMode, false);
        if (m->loadLevel < mllFull) ShowLoadError(m->fileName);
    } catch (const std::exception& e) {
        ShowLoadError(Utf8ToUtf16(e.what()));
    } catch (...) {
        ShowLoadError({});
    }
    m_displayBusy = false;
}

// A message that cannot be shown says so in place of its body, with what is known of why.
void TForm1::ShowLoadError(const WideString& detail)
{
    ClearMsgInfoUI();
    if (auto* body = Find<TTntRichEdit>("mmBody"))
        body->SetText(detail.empty() ? GetUiString(1100) : GetUiString(1100) + u"\r\n" + detail);
}

void TForm1::SetPlainTextMode(bool on)
{
    m_plainTextMode = on;
    const std::vector<int> rows = SelectedRows();
    if (rows.size() == 1 && !m_closing) ShowMessageRow(rows.front());
}

TMessageAttr* TForm1::GetSelectedMessage() const
{
    const auto* list = List();
    if (!list) return nullptr;
    const int row = list->ItemIndex();
    if (row < 0 || row >= static_cast<int>(m_messages.size())) return nullptr;
    return m_messages[static_cast<std::size_t>(row)];
}

std::vector<int> TForm1::SelectedRows() const
{
    std::vector<int> rows;
    const auto* list = List();
    if (!list) return rows;
    const int count = static_cast<int>(m_messages.size());
    for (int i = list->GetNextItemIndex(-1, LVNI_SELECTED); i >= 0 && i < count; i = list->GetNextItemIndex(i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

void TForm1::SelectRows(const std::vector<int>& rows)
{
    auto* list = List();
    if (!list) return;
    list->ClearSelection();
    for (int row : rows) list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    if (!rows.empty()) {
        list->SetItemState(rows.front(), LVIS_FOCUSED, LVIS_FOCUSED);
        list->MakeItemVisible(rows.front());
    }
}

void TForm1::UpdateMessagesCount(int count)
{
    if (auto* bar = Find<TTntStatusBar>("StatusBar1"); bar && bar->Panels()->Count() > 0)
        bar->Panels()->Items(0)->SetText(GetUiString(1032) + Decimal(static_cast<std::size_t>(std::max(count, 0))));
}

void TForm1::SetStatusPanelText(const WideString& text)
{
    if (auto* bar = Find<TTntStatusBar>("StatusBar1"); bar && bar->Panels()->Count() > 2)
        bar->Panels()->Items(2)->SetText(text);
}

void TForm1::SetProgressPercent(unsigned done, unsigned total)
{
    const unsigned percent = total > 0 ? static_cast<unsigned>(static_cast<unsigned long long>(done) * 100 / total) : 0;
    if (percent == m_progressPercent) return;
    m_progressPercent = percent;
    if (auto* bar = Find<TTntStatusBar>("StatusBar1")) InvalidateStatusPanel(bar, 1);
}

void TForm1::StatusBar1DrawPanel(TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect)
{
    DrawStatusProgress(bar, panel, rect, m_progressPercent);
}

void TForm1::LanguageChanged()
{
    if (ScanRunning) return;
    SetStatusPanelText(GetUiString(1001));
    UpdateMessagesCount(static_cast<int>(m_messages.size()));
}
