// The shell list's drags: its items dragged out, files dropped onto its folder items or into
// the folder it shows.
#include "controls/shell/RzShellList.h"

#include "controls/dragdrop/DragDetect.h"

std::unique_ptr<TRzShellDragDrop> TRzCustomShellList::MakeDragDrop() {
    TRzShellDragDrop::Hooks hooks;
    hooks.folderAt = [this](TPoint p) { return DropFolderAt(p); };
    hooks.clearHighlight = [this] { SetDropItem(nullptr); };
    hooks.changed = [this] { Resync(); };
    return std::make_unique<TRzShellDragDrop>(*this, std::move(hooks));
}

void TRzCustomShellList::UpdateDropRegistration() {
    dragDrop_->SetAcceptDrops(options_.Contains(sloOleDrop) && RunTime() && HandleAllocated());
}

void TRzCustomShellList::SetDropItem(TListItem* item) {
    if (item == dropItem_) return;
    if (dropItem_) dropItem_->SetDropTarget(false);
    dropItem_ = item;
    if (dropItem_) dropItem_->SetDropTarget(true);
}

std::string TRzCustomShellList::DropFolderAt(TPoint client) {
    TListItem* item = GetItemAt(client.x, client.y);
    if (const TRzShellListData* data = GetDataFromItem(item); data && (data->GetAttributes() & SFGAO_FOLDER)) {
        std::string path = data->GetPath();
        SetDropItem(path.empty() ? nullptr : item);
        if (!path.empty()) return path;
    }
    // Elsewhere (a file, empty space) the drop goes into the folder shown.
    SetDropItem(nullptr);
    return ShellIdListToPath(shown_);
}

TDragResult TRzCustomShellList::DragSelection() {
    std::vector<std::string> paths;
    std::vector<DWORD> attributes;
    for (int i = 0; i < Items()->Count(); ++i) {
        const TListItem* li = Items()->Item(i);
        const TRzShellListData* d = li->Selected() ? GetDataFromItem(li) : nullptr;
        if (!d) continue;
        if (d->GetPath().empty()) return drCancel;  // a place without a file (Computer)
        paths.push_back(d->GetPath());
        attributes.push_back(GetShellPlace(d->GetAbsoluteIdList()) == ShellPlace::Entry ? d->GetAttributes() : 0);
    }
    return dragDrop_->DragFiles(paths, CanDragMove(attributes));
}

void TRzCustomShellList::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TRzCustomListView::MouseDown(button, shift, x, y);
    if (button != mbLeft || !options_.Contains(sloOleDrag) || !RunTime() || IsEditing()) return;
    const TListItem* item = GetItemAt(x, y);
    if (item && item->Selected() && DragDetectPlus(this, TPoint(x, y))) DragSelection();
}
