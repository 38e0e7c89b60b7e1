// The shell tree's current folder to the trash.
#include "controls/shell/RzShellTree.h"

bool TRzCustomShellTree::DeleteSelectedFolder() {
    TTreeNode* node = CurrentNode();
    const TRzShellTreeData* data = GetItemData(node);
    if (!node || !node->Parent() || !data || data->GetPath().empty()) return false;
    // The shell's own delete: it asks first and tells of a failure; the refresh after it
    // moves the selection out of a folder that went.
    return InvokeVerb(node, "delete") == S_OK;
}
