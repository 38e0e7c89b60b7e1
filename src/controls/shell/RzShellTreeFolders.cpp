// Folder operations of the shell tree: a new folder in the current one, the current folder
// to the trash.
#include "controls/shell/RzShellTree.h"

#include "platform/shell/ShellTrash.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

constexpr int kAttempts = 50;

void WarnNotCreated(DWORD error, const WideString& name) {
    const WideString text = u"Unable to create the folder '" + name + u"'\n\n" + SysErrorMessage(error);
    MessageBoxW(nullptr, text.c_str(), u"Warning", MB_OK | MB_ICONWARNING);
}

// Tries name(i) for i = 1..50 in folder; the name made, or empty (a warning was shown for any
// error but "already exists").
WideString CreateNumbered(const WideString& folder, const std::function<WideString(int)>& name) {
    for (int i = 1; i <= kAttempts; ++i) {
        const WideString candidate = name(i);
        if (CreateDirectoryW((folder + candidate).c_str(), nullptr)) return candidate;
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS) continue;
        WarnNotCreated(error, candidate);
        return WideString();
    }
    return WideString();
}

}  // namespace

bool TRzCustomShellTree::CreateNewFolder() {
    const AnsiString path = GetSelectedPath();
    // A place without a folder of its own takes no new folder.
    if (path.empty()) return false;
    const WideString folder = Utf8ToUtf16(path) + (path.back() == '/' ? u"" : u"/");
    WideString made = CreateNumbered(folder, [](int i) {
        return i == 1 ? WideString(u"New Folder") : u"New Folder (" + Utf8ToUtf16(std::to_string(i)) + u")";
    });
    if (made.empty()) made = CreateNumbered(folder, [](int i) { return i == 1 ? WideString(u"fldr") : u"fldr" + Utf8ToUtf16(std::to_string(i)); });
    if (made.empty()) {
        WarnNotCreated(ERROR_ALREADY_EXISTS, u"New Folder");
        return false;
    }
    Refresh();
    TTreeNode* current = CurrentNode();
    if (!current) return true;
    if (CanExpand(current)) current->Expand(false);
    for (TTreeNode* child = current->GetFirstChild(); child; child = child->GetNextSibling()) {
        if (child->Text() == made) {
            SetSelected(child);
            if (!ReadOnly() && HandleAllocated()) child->EditText();
            break;
        }
    }
    return true;
}

bool TRzCustomShellTree::DeleteSelectedFolder() {
    TTreeNode* node = CurrentNode();
    const TRzShellTreeData* data = GetItemData(node);
    if (!node || !node->Parent() || !data) return false;
    const AnsiString path = data->GetPath();
    if (path.empty()) return false;
    if (const HRESULT hr = MoveToTrash(path); FAILED(hr))
        throw Exception(u"Unable to delete '" + Utf8ToUtf16(path) + u"'\n\n" + SysErrorMessage(static_cast<DWORD>(hr & 0xFFFF)));
    SetSelected(node->Parent());
    Refresh();
    return true;
}
