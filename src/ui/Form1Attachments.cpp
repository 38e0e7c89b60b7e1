// The attachments of the shown message: open, save one or several, save all, drag out, and
// open an attached message in the list.
#include "ui/Form1.h"

#include "app/CAppUtils.h"
#include "app/FileDlgWrapper.h"
#include "app/AppLocDB.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/MessageAttr.h"
#include "platform/shell/OpenWith.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinString.h"
#include "ui/AttachmentFiles.h"

namespace {

void ReportSaveFailure(const WideString& path)
{
    Application->MessageBox(GetUiString(1098) + path, GetUiString(1087), MB_OK | MB_ICONERROR);
}

}  // namespace

bool TForm1::GetSelectedAttachment(int& index, TMessageAttr*& message) const
{
    const auto* list = List();
    const auto* attachments = Find<TTntListView>("AttachmentList");
    if (!list || !attachments) return false;
    int row = list->GetNextItemIndex(-1, LVNI_SELECTED);
    if (row < 0) row = list->ItemIndex();
    const int attachment = attachments->ItemIndex();
    if (row < 0 || attachment < 0) return false;
    if (row >= static_cast<int>(m_messages.size()) || attachment >= attachments->Items()->Count()) return false;
    TMessageAttr* m = m_messages[static_cast<std::size_t>(row)];
    if (attachment >= static_cast<int>(m->attachments.size())) return false;
    index = attachment;
    message = m;
    return true;
}

bool TForm1::AttachmentActionSelect()
{
    int index = -1;
    TMessageAttr* message = nullptr;
    if (!GetSelectedAttachment(index, message)) return false;
    switch (askAttachmentAction ? askAttachmentAction() : 10) {
    case 1: OpenSelectedAttachment(index, message); break;
    case 2: SaveSelectedAttachments(index, message); break;
    case 3:
        if (auto* attachments = Find<TTntListView>("AttachmentList")) attachments->SelectAll();
        SaveSelectedAttachments(0, message);
        break;
    default: break;
    }
    return true;
}

bool TForm1::OpenSelectedAttachment(int index, TMessageAttr* message)
{
    return ProcessEmbeddedMessage(index, message) || AttachmentOpen(index, message);
}

bool TForm1::SaveSelectedAttachments(int index, TMessageAttr* message)
{
    const auto* attachments = Find<TTntListView>("AttachmentList");
    const int selected = attachments ? attachments->SelCount() : 0;
    if (selected > 1) return AttachmentSaveAll(message);
    if (selected == 1) return AttachmentSave(index, message);
    return false;
}

bool TForm1::ProcessEmbeddedMessage(int index, TMessageAttr* message)
{
    if (!message || !message->IsEmbeddedAttachMessage(index)) return false;
    std::unique_ptr<TMessageAttr> embedded;
    try {
        embedded = message->GetEmbeddedMessage(index);
    } catch (const std::exception&) {
        embedded.reset();
    }
    if (!embedded) {
        // The attachment says it is a message but none could be read: say so, list nothing.
        Application->MessageBox(GetUiString(1100), GetUiString(1087), MB_OK | MB_ICONERROR);
        return true;
    }
    m_messages.push_back(embedded.release());
    const int row = static_cast<int>(m_messages.size()) - 1;
    if (auto* list = List()) {
        list->Items()->SetCount(row + 1);
        list->InvalidateOwnerDataCache();
    }
    SelectRows({row});
    m_messages.back()->Display(*this, m_plainTextMode, false);
    UpdateMessagesCount(row + 1);
    ToolbarInit();
    return true;
}

WideString TForm1::SaveAttachmentCopy(int index, TMessageAttr& message)
{
    const WideString& name = message.attachments[static_cast<std::size_t>(index)].name;
    // Asked again: the folder is checked (and made again) before every use.
    const WideString folder = CAppUtils::getAppTempFolder();
    const WideString temp = folder.empty() ? WideString() : CreateTempFileName(folder);
    if (temp.empty()) return {};
    // The extension is cleaned like the name: it comes from the message too.
    const WideString ext = UpperExtension(SafeAttachmentName(name));
    const WideString target = ext.empty() ? temp : temp + ext;
    return SaveAttachmentSafely(message, index, target, ext.empty()) ? target : WideString();
}

bool TForm1::AttachmentOpen(int index, TMessageAttr* message)
{
    if (!message || index < 0 || index >= static_cast<int>(message->attachments.size())) return false;
    const WideString target = SaveAttachmentCopy(index, *message);
    if (target.empty()) {
        // Nothing is opened in place of a copy that failed.
        ReportSaveFailure(WideIncludeTrailingBackslash(m_tempFolder) + SafeAttachmentName(message->attachments[static_cast<std::size_t>(index)].name));
        return true;
    }
    const DesktopOpenResult opened = openWithDesktop ? openWithDesktop(target) : OpenFileWithDesktop(target);
    // No program set for the type: the desktop's chooser asks for one, where a desktop offers it.
    if (opened == DesktopOpenResult::NoHandler && (openWith ? openWith(target) : AskDesktopToOpenWith(target)))
        return true;
    if (opened == DesktopOpenResult::NoHandler)
        Application->MessageBox(GetUiString(1087) + u": no program is set to open " + target, GetUiString(1087), MB_OK | MB_ICONINFORMATION);
    else if (opened == DesktopOpenResult::Failed)
        Application->MessageBox(WideFormat(GetUiFormat(1159).c_str(), target.c_str()), GetUiString(1087), MB_OK | MB_ICONERROR);
    return true;
}

bool TForm1::AttachmentSave(int index, TMessageAttr* message)
{
    if (!message || index < 0 || index >= static_cast<int>(message->attachments.size())) return false;
    const WideString name = SafeAttachmentName(message->attachments[static_cast<std::size_t>(index)].name);
    const WideString ext = UpperExtension(name);
    const WideString filter = u"*" + ext + u"|*" + ext;
    SaveDlgWrapper dialog(name, filter, ext.empty() ? WideString() : ext.substr(1));
    if (!dialog.Exec(name, filter, {})) return true;
    // The save dialog has confirmed replacing; the old file goes only once the new one is whole.
    const WideString path = dialog.GetFileName();
    if (!SaveAttachmentSafely(*message, index, path, true)) ReportSaveFailure(path);
    return true;
}

bool TForm1::AttachmentSaveAll(TMessageAttr* message)
{
    if (!message) return false;
    const WideString folder = chooseFolder ? chooseFolder() : WideString();
    if (folder.empty()) return false;
    const WideString destination = WideIncludeTrailingBackslash(folder);
    const auto* attachments = Find<TTntListView>("AttachmentList");
    if (!attachments) return false;
    const int count = std::min<int>(attachments->Items()->Count(), static_cast<int>(message->attachments.size()));
    for (int row = 0; row < count; ++row) {
        if (!attachments->Items()->Item(row)->Selected()) continue;
        const WideString name = SafeAttachmentName(message->attachments[static_cast<std::size_t>(row)].name);
        // A name taken meanwhile is never replaced: the next free one is tried.
        bool saved = false;
        WideString target;
        for (int attempt = 0; attempt < 20 && !saved; ++attempt) {
            target = CAppUtils::MakeUniqueFileName(destination + name);
            saved = SaveAttachmentSafely(*message, row, target, false);
            if (!saved && !WideFileExists(target)) break;
        }
        if (!saved) ReportSaveFailure(target);
    }
    return true;
}

void TForm1::actionOpenAttachmentExecute(TObject*) { AttachmentActionSelect(); }

void TForm1::actionSaveAttachmentExecute(TObject*)
{
    int index = -1;
    TMessageAttr* message = nullptr;
    if (GetSelectedAttachment(index, message)) SaveSelectedAttachments(index, message);
}

void TForm1::AttachmentListDblClick(TObject*) { AttachmentActionSelect(); }

void TForm1::AttachmentListKeyDown(TObject*, WORD& key, TShiftState shift)
{
    if (key != 'A' || !(shift == TShiftState{ssCtrl})) return;
    if (auto* attachments = Find<TTntListView>("AttachmentList")) attachments->SelectAll();
    key = 0;
}

void TForm1::AttachmentListMouseMove(TObject*, TShiftState, int x, int y)
{
    const auto* attachments = Find<TTntListView>("AttachmentList");
    const bool over = attachments && attachments->GetItemAt(x, y) != nullptr;
    for (const char* name : {"actionSaveAttachment", "actionOpenAttachment"})
        if (auto* action = Find<TAction>(name)) action->SetEnabled(over);
}

std::vector<WideString> TForm1::CollectDraggedAttachments()
{
    std::vector<WideString> paths;
    const auto* list = List();
    const auto* attachments = Find<TTntListView>("AttachmentList");
    if (!list || !attachments) return paths;
    const int row = list->GetNextItemIndex(-1, LVNI_SELECTED);
    if (row < 0 || row >= static_cast<int>(m_messages.size())) return paths;
    TMessageAttr& message = *m_messages[static_cast<std::size_t>(row)];
    const WideString folder = CAppUtils::getAppTempFolder();
    if (folder.empty()) return paths;
    const int count = std::min<int>(attachments->Items()->Count(), static_cast<int>(message.attachments.size()));
    for (int i = 0; i < count; ++i) {
        if (!attachments->Items()->Item(i)->Selected()) continue;
        const WideString target = folder + SafeAttachmentName(message.attachments[static_cast<std::size_t>(i)].name);
        // Only whole copies are offered to the place they are dropped.
        if (SaveAttachmentSafely(message, i, target, true)) paths.push_back(target);
    }
    return paths;
}

void TForm1::AttachmentListMouseDown(TObject* sender, TMouseButton button, TShiftState, int x, int y)
{
    auto* attachments = Find<TTntListView>("AttachmentList");
    if (!attachments) return;
    if (button == mbRight) {
        if (const int row = attachments->ItemIndexAt(TPoint{x, y}); row >= 0) attachments->SetItemIndex(row);
        return;
    }
    if (!detectDrag || !detectDrag(dynamic_cast<TControl*>(sender), x, y)) return;
    const std::vector<WideString> paths = CollectDraggedAttachments();
    if (!paths.empty() && dragFilesOut) dragFilesOut(paths);
}
