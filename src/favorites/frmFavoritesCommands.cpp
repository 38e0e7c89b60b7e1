// The favorites pane's commands and the tree's events.
#include <algorithm>

#include "app/AppLocDB.h"
#include "controls/unicode/TntTreeView.h"
#include "favorites/frmAddItem.h"
#include "favorites/frmFavorites.h"
#include "favorites/frmSelectFolder.h"
#include "favorites/uxFolderProperties.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/win/WinString.h"

WideString ShortcutCaption(const WideString& path) {
    const std::size_t slash = path.find_last_of(u'/');
    if (slash == WideString::npos || slash == 0 || slash + 1 == path.size()) return path;
    return path.substr(slash + 1);
}

std::vector<TTreeNode*> TfrmFavorites::SelectedNodes() const {
    std::vector<TTreeNode*> nodes;
    const TTntTreeView* tree = Tree();
    if (!tree) return nodes;
    for (unsigned i = 0; i < tree->SelectionCount(); ++i)
        if (TTreeNode* node = tree->Selections(static_cast<int>(i))) nodes.push_back(node);
    return nodes;
}

void TfrmFavorites::actOpenExecute(TObject*) {
    if (const TTntTreeView* tree = Tree()) OpenNode(tree->Selected());
}

void TfrmFavorites::actNewFolderExecute(TObject*) { AddFolder(); }

void TfrmFavorites::actNewShortcutExecute(TObject*) {
    if (!frmSelectFolder || frmSelectFolder->ShowModal() != mrOk) return;
    const WideString path = frmSelectFolder->GetSelectedPath();
    if (path.empty()) {
        Ask(GetUiString(1154), GetUiString(1155), MB_OK);
        return;
    }
    auto shortcut = std::make_unique<FavShortcut>();
    shortcut->Path = path;
    shortcut->Tittle = ShortcutCaption(path);
    shortcut->ImageIndex = 14;
    AddItemNode(InsertionParent(), std::move(shortcut));
}

void TfrmFavorites::uxNewItemClick(TObject*) {
    if (!frmAddItem) return;
    frmAddItem->SetFavorites(this);
    frmAddItem->ShowModal();
    TTreeNode* folder = nullptr;
    std::unique_ptr<FavMsg> item;
    frmAddItem->GetResult(folder, item);
    if (item) AddItemNode(folder, std::move(item));
}

void TfrmFavorites::actRenameExecute(TObject*) {
    const TTntTreeView* tree = Tree();
    if (TTreeNode* node = tree ? tree->Selected() : nullptr) node->EditText();
}

void TfrmFavorites::uxTreeEdited(TObject*, TTntTreeNode* node, WideString& text) {
    auto* item = node ? static_cast<FavItem*>(node->Data()) : nullptr;
    if (!item) return;
    if (!text.empty() && text != item->Tittle)
        item->Tittle = text;
    else
        text = item->Tittle;
}

void TfrmFavorites::actDeleteExecute(TObject*) {
    const TTntTreeView* tree = Tree();
    if (!tree) return;
    const std::vector<TTreeNode*> selected = SelectedNodes();
    if (selected.empty()) return;
    if (selected.size() == 1) {
        TTreeNode* node = tree->Selected() ? tree->Selected() : selected.front();
        if (ConfirmDelete(node)) DeleteNode(node);
        return;
    }
    const WideString text = WideFormat(GetUiFormat(1156).c_str(), static_cast<int>(selected.size()));
    if (Ask(text, GetUiString(1157), MB_YESNO) != IDYES) return;
    // A node inside another selected node goes with it: deleting it again would touch a
    // node that is gone.
    std::vector<TTreeNode*> roots;
    for (TTreeNode* node : selected) {
        const bool inside = std::any_of(selected.begin(), selected.end(),
                                        [node](const TTreeNode* other) { return other != node && node->HasAsParent(other); });
        if (!inside) roots.push_back(node);
    }
    for (TTreeNode* node : roots) DeleteNode(node);
}

void TfrmFavorites::actPropertiesExecute(TObject*) {
    TTntTreeView* tree = Tree();
    TTreeNode* node = tree ? tree->Selected() : nullptr;
    auto* item = node ? static_cast<FavItem*>(node->Data()) : nullptr;
    if (!item || !uxFolderProperties) return;
    uxFolderProperties->SetFavorites(this);
    TFavNodeList folders;
    GetFolderNodes(folders, node);
    if (uxFolderProperties->Execute(node, folders) != mrOk) return;
    const int entry = uxFolderProperties->FolderEntry();
    if (entry == 0) MoveNode(node, nullptr);
    else if (entry > 0 && entry <= static_cast<int>(folders.size())) MoveNode(node, folders[entry - 1]);
    item->Tittle = uxFolderProperties->TitleText();
    item->Comments = uxFolderProperties->CommentText();
    node->SetText(item->Tittle);
    tree->Repaint();
}

void TfrmFavorites::MoveNode(TTreeNode* node, TTreeNode* parent) {
    if (!node || parent == node || (parent && parent->HasAsParent(node))) return;
    if (parent) {
        node->MoveTo(parent, naAddChild);
        return;
    }
    const TTreeNodes* items = node->Owner();
    TTreeNode* last = items->TopItem(items->TopCount() - 1);
    if (last && last != node) node->MoveTo(last, naAdd);
}

void TfrmFavorites::uxTreeKeyDown(TObject*, WORD& key, TShiftState) {
    switch (key) {
    case VK_RETURN: actOpenExecute(nullptr); break;
    case VK_DELETE: actDeleteExecute(nullptr); break;
    case VK_F2: actRenameExecute(nullptr); break;
    default: break;
    }
}

void TfrmFavorites::uxTreeDblClick(TObject*) { actOpenExecute(nullptr); }

void TfrmFavorites::uxTreeMouseMove(TObject*, TShiftState, int x, int y) {
    TTntTreeView* tree = Tree();
    if (!tree) return;
    const TTreeNode* node = tree->GetNodeAt(x, y);
    if (!node) {
        tree->SetShowHint(false);
        return;
    }
    if (const auto* item = static_cast<const FavItem*>(node->Data())) {
        tree->SetShowHint(true);
        tree->SetHint(item->Comments);
    }
}

void TfrmFavorites::uxTreeMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y) {
    TTntTreeView* tree = Tree();
    if (!tree) return;
    if (button == mbRight) {
        // The popup menu acts on the node under the pointer.
        if (TTreeNode* node = tree->GetNodeAt(x, y); node && !node->Selected()) tree->Select(node);
    }
    if (detectDrag && detectDrag(tree, x, y)) DragOut();
}

void TfrmFavorites::uxTreeChange(TObject*, TTreeNode*) {}
void TfrmFavorites::uxTreeClick(TObject*) {}

void TfrmFavorites::FormClose(TObject*, TCloseAction&) { Clear(); }
