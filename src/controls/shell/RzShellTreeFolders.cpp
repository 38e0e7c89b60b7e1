// The shell tree's current folder to the trash.
#include "controls/shell/RzShellTree.h"

#include "platform/shell/ShellFileOps.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

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
