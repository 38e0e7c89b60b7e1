// What the main window and the favorites dialogs ask of the favorites pane.
#pragma once

#include <vector>

#include "platform/win/WinTypes.h"

class IQuilloraProvider;
class TCustomImageList;
class TMessageAttr;
class TRzImageComboBox;
class TTreeNode;
class TTreeNodes;

// Folder nodes of the favorites tree, depth first.
using TFavNodeList = std::vector<TTreeNode*>;

class IFavorites {
public:
    virtual ~IFavorites() = default;

    // A message favorite at the top level; an empty caption becomes "subject - from".
    virtual void AddMessage(TMessageAttr* message, const WideString& caption) = 0;
    virtual TCustomImageList* GetImages() = 0;
    // The folder nodes with their nesting into target; the items are shared, not copied.
    virtual void CopyFolderNodes(TTreeNodes* target) = 0;
    // "Root folder" then one entry per node of folders, indented by level; entry i + 1 is
    // folders[i].
    virtual void FillFolderCombo(TRzImageComboBox* combo, const TFavNodeList& folders) = 0;
    // Every folder node but excluded, depth first. Descendants of excluded are left out too,
    // since a node cannot move into its own subtree.
    virtual void GetFolderNodes(TFavNodeList& folders, TTreeNode* excluded) = 0;
    virtual int IndexOfNode(TTreeNode* node, const TFavNodeList& folders) = 0;
    virtual void Load(const WideString& path) = 0;
    virtual void Save(const WideString& path) = 0;
    virtual void SetHost(IQuilloraProvider* host) = 0;
    // Frees the items and nodes, then deletes the copies of deleted message favorites.
    virtual void Clear() = 0;
};
