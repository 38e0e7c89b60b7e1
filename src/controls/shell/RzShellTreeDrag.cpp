// The shell tree's drags: its folders dragged out, files dropped onto them.
#include "controls/shell/RzShellTree.h"

std::unique_ptr<TRzShellDragDrop> TRzCustomShellTree::MakeDragDrop() {
    TRzShellDragDrop::Hooks hooks;
    hooks.folderAt = [this](TPoint p) { return DropFolderAt(p); };
    hooks.clearHighlight = [this] { SetDropTarget(nullptr); };
    hooks.hover = [this](TPoint p) {
        if (TTreeNode* node = GetNodeAt(p.x, p.y); node && node->HasChildren() && !node->Expanded()) node->Expand(false);
    };
    hooks.changed = [this] { Refresh(); };
    return std::make_unique<TRzShellDragDrop>(*this, std::move(hooks));
}

void TRzCustomShellTree::UpdateDropRegistration() {
    dragDrop_->SetAcceptDrops(options_.Contains(stoOleDrop) && !ComponentState().Contains(csDesigning) && HandleAllocated());
}

std::string TRzCustomShellTree::DropFolderAt(TPoint client) {
    TTreeNode* node = GetNodeAt(client.x, client.y);
    const TRzShellTreeData* data = GetItemData(node);
    std::string path = data && (data->Attributes() & SFGAO_FOLDER) ? data->GetPath() : std::string();
    SetDropTarget(path.empty() ? nullptr : node);
    return path;
}

TDragResult TRzCustomShellTree::DragNode(TTreeNode* node) {
    const TRzShellTreeData* data = GetItemData(node);
    const AnsiString path = data ? data->GetPath() : AnsiString();
    if (path.empty()) return drCancel;
    const bool canMove = data->CanRename() && GetShellPlace(data->GetAbsoluteIdList()) == ShellPlace::Entry;
    return dragDrop_->DragFiles({path}, canMove);
}
