// The shell tree: a framed tree view of the shell namespace. One root node for the base
// folder (the desktop unless set), children read from the namespace when a node first
// expands, hidden folders drawn ghosted, links with their overlay. The selection is kept as a
// locator (SelectedFolder) and can be moved by path or list, expanding down to it.
#pragma once

#include <map>
#include <memory>
#include <unordered_map>

#include "controls/shell/RzShellLocator.h"
#include "controls/shell/RzTreeView.h"
#include "platform/shell/ShellIcons.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/vcl/GraphicsImageList.h"

class TRzCustomShellTree;

enum TRzShellTreeOption {
    stoAutoFill,
    stoVirtualFolders,
    stoDesignInteractive,
    stoDefaultKeyHandling,
    stoContextMenus,
    stoDynamicRefresh,
    stoIncludeNonFolders,
    stoOleDrag,
    stoOleDrop,
    stoShowHidden
};
QUILLORA_ENUM_TYPEINFO(TRzShellTreeOption, "stoAutoFill", "stoVirtualFolders", "stoDesignInteractive",
                       "stoDefaultKeyHandling", "stoContextMenus", "stoDynamicRefresh", "stoIncludeNonFolders",
                       "stoOleDrag", "stoOleDrop", "stoShowHidden")
using TRzShellTreeOptions = TSet<TRzShellTreeOption>;
// Everything but stoDesignInteractive and stoIncludeNonFolders.
inline constexpr TRzShellTreeOptions kDefaultShellTreeOptions = TRzShellTreeOptions::FromBits(955);

// What a node of the tree stands for.
class TRzShellTreeData : public TObject {
public:
    TRzShellTreeData(TRzCustomShellTree* owner, TRzShellTreeData* parent, ShellItem item, ShellIdList absolute)
        : owner_(owner), parent_(parent), item_(std::move(item)), absolute_(std::move(absolute)) {}
    std::string_view ClassName() const override { return "TRzShellTreeData"; }

    TRzCustomShellTree* Owner() const { return owner_; }
    TRzShellTreeData* Parent() const { return parent_; }
    // The item within its parent folder; for the root, the last item of the base folder.
    const ShellIdList& GetRelativeIdList() const { return item_.id; }
    const ShellIdList& GetAbsoluteIdList() const { return absolute_; }
    DWORD Attributes() const { return item_.attributes; }
    const ShellItem& Item() const { return item_; }
    // The folder's file-system path (raw bytes); empty for places without one (Computer).
    AnsiString GetPath() const { return ShellIdListToPath(absolute_); }

private:
    TRzCustomShellTree* owner_;
    TRzShellTreeData* parent_;
    ShellItem item_;
    ShellIdList absolute_;
};

using TRzShAddItemEvent = std::function<void(TObject* sender, const ShellIdList& parentAbsolute,
                                             const ShellIdList& itemRelative, DWORD attributes, bool& allowAdd)>;
using TRzShTreeInsertItemEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TRzShTreeDeleteItemEvent = std::function<void(TObject* sender, TTreeNode* node, TRzShellTreeData* data)>;

class TRzCustomShellTree : public TRzCustomTreeView {
    QUILLORA_COMPONENT(TRzCustomShellTree)
public:
    explicit TRzCustomShellTree(TComponent* owner);
    ~TRzCustomShellTree() override;

    // The data of a node; null for nodes the tree did not make.
    TRzShellTreeData* GetItemData(const TTreeNode* node) const;
    // The data of the current node (CurrentNode); null when none.
    TRzShellTreeData* GetSelectedItemData() const { return GetItemData(CurrentNode()); }
    // The current node's folder path (raw bytes); empty without a node or for a place
    // without a path.
    AnsiString GetSelectedPath() const;
    AnsiString SelectedPathName() const { return GetSelectedPath(); }
    // Moves the selection to the locator's place (the caller keeps the locator). The place
    // already selected changes nothing.
    void SetSelectedFolder(const TRzShellLocator* locator);
    TRzShellLocator* SelectedFolder() const { return selectedFolder_.get(); }
    // As SetSelectedFolder for a path; a path that cannot be parsed selects the root.
    void SetSelectedPath(const AnsiString& path);

    TRzShellLocator* BaseFolder() const { return baseFolder_.get(); }
    virtual void SetBaseFolder(const TRzShellLocator* locator);
    TRzShellTreeOptions Options() const { return options_; }
    virtual void SetOptions(TRzShellTreeOptions options);

    // Clears the tree and reads the root and its children again, then selects the selected
    // folder (or the root).
    void FillTree();
    // Brings the filled nodes in line with the file system: vanished folders go (a selection
    // inside one moves to its parent), new ones appear.
    void Refresh();
    // Selects the node of an absolute list, filling and expanding the nodes down to it. A list
    // outside the base folder selects the root.
    void SelectIdList(const ShellIdList& target);
    // Selects the current node's ancestor that many levels up (at most the root).
    void GoUp(int levels);
    // Makes a folder "New Folder" (or "New Folder (n)") in the current node's folder, shows it
    // and starts renaming it. A failure is reported in a warning box; false then.
    bool CreateNewFolder();
    // Moves the current node's folder to the trash and selects its parent; raises on failure.
    // Nodes without a parent or a path are left alone (false).
    bool DeleteSelectedFolder();

    TRzShAddItemEvent OnAddItem;
    TRzShTreeInsertItemEvent OnInsertItem;
    TRzShTreeDeleteItemEvent OnDeleteItem;
    TNotifyEvent OnFillStart;
    TNotifyEvent OnFillComplete;

protected:
    // Adds a node for item under parent (the top level for null); false when the options or
    // OnAddItem leave it out.
    virtual bool AddItem(const ShellIdList& parentAbsolute, const ShellItem& item, TTreeNode* parent);
    virtual bool DoAddItem(const ShellIdList& parentAbsolute, const ShellItem& item);
    virtual void DoInsertItem(TTreeNode* node);
    // Reads node's children (null: makes the root and reads its children).
    virtual void FillNode(TTreeNode* node);
    virtual void DoFillStart();
    virtual void DoFillComplete();
    void SortChildren(TTreeNode* node);

    void Loaded() override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    bool CanExpand(TTreeNode* node) override;
    void Change(TTreeNode* node) override;
    void Delete(TTreeNode* node) override;
    void KeyDown(WORD& key, TShiftState shift) override;

private:
    bool Loading() const { return ComponentState().Contains(csLoading); }
    DWORD EnumFlags() const;
    void BaseFolderChanged();
    void SelectedFolderChanged();
    TTreeNode* FindChildNode(TTreeNode* parent, const std::string& item) const;
    void Resync(TTreeNode* node, TTreeNode*& remembered);
    // The picture's index in the tree's images, added on first use; -1 without pictures.
    int IconIndex(ShellIcon icon);
    void SetNodeImages(TTreeNode* node, const TRzShellTreeData& data);

    std::unique_ptr<TRzShellLocator> baseFolder_;
    std::unique_ptr<TRzShellLocator> selectedFolder_;
    TRzShellTreeOptions options_ = kDefaultShellTreeOptions;
    std::unordered_map<const TTreeNode*, std::unique_ptr<TRzShellTreeData>> data_;
    int busy_ = 0;
    bool expandGuard_ = false;
    TTreeNode* lastInserted_ = nullptr;
    std::unique_ptr<TImageList> icons_;
    std::map<ShellIcon, int> iconIndex_;
};

class TRzShellTree : public TRzCustomShellTree {
    QUILLORA_COMPONENT(TRzShellTree)
public:
    using TRzCustomShellTree::TRzCustomShellTree;
};

// Makes TRzShellTree known to form files.
void RegisterShellControls();
