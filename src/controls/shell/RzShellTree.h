// The shell tree: a framed tree view of the shell namespace. One root node for the base
// folder (the desktop unless set), children read from the namespace when a node first
// expands, hidden folders drawn ghosted, links with their overlay. The selection is kept as a
// locator (SelectedFolder) and can be moved by path or list, expanding down to it.
#pragma once

#include <memory>
#include <unordered_map>

#include "controls/shell/ChangeHandlerThread.h"
#include "controls/shell/RzShellDragDrop.h"
#include "controls/shell/RzShellImages.h"
#include "controls/shell/RzShellLocator.h"
#include "controls/shell/RzTreeView.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/vcl/ExtCtrls.h"

class IContextMenu;
class TRzCustomShellTree;
class TRzCustomShellList;

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
    bool CanRename() const { return parent_ && !absolute_.Empty() && (item_.attributes & SFGAO_CANRENAME); }
    // After a rename: the new item and name.
    void SetRelativeIdList(const ShellIdList& relative, const WideString& name);
    // After an ancestor's rename: the absolute list under the parent's new one.
    void Rebase(const ShellIdList& parentAbsolute) { absolute_ = parentAbsolute + item_.id; }

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
using TRzShPopupHintEvent = std::function<void(TObject* sender, const AnsiString& hint)>;

// The text of the node shown under a folder whose volume did not answer in time.
inline constexpr const char16_t* kNotReachableText = u"Not reachable";

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
    // Moves the current node's folder to the trash after asking, as the shell's delete verb
    // does, and selects its parent. False when the user says no, the move fails (the verb
    // shows why) or the node has no parent or path.
    bool DeleteSelectedFolder();

    // The list that shows the selected folder (not owned).
    TRzCustomShellList* ShellList() const { return shellList_; }
    void SetShellList(TRzCustomShellList* list);
    // Runs the selection update a keyboard move left waiting, or a waiting refresh, now.
    void FlushPendingSelection();
    // Runs a verb ("copy", "cut", "paste", "delete") on a node's item, then refreshes; 1 for
    // a node without an item of a folder (the root).
    HRESULT InvokeVerb(TTreeNode* node, const std::string& verb);
    // Shows the shell's menu of a node at a screen point; false when the node has none.
    bool ShowShellContextMenu(TTreeNode* node, TPoint screen);
    // Drags a node's folder out as a file (moving only what may be renamed); drCancel for
    // nodes without a path.
    TDragResult DragNode(TTreeNode* node);
    // Drags out of the tree and drops onto its folders (stoOleDrop).
    TRzShellDragDrop& DragDrop() const { return *dragDrop_; }

    TRzShAddItemEvent OnAddItem;
    TRzShTreeInsertItemEvent OnInsertItem;
    TRzShTreeDeleteItemEvent OnDeleteItem;
    TNotifyEvent OnFillStart;
    TNotifyEvent OnFillComplete;
    TRzShPopupHintEvent OnPopupHint;

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
    bool CanEdit(TTreeNode* node) override;
    void Edit(const TVITEMW& item) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void DestroyWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Watches the mount table, so "Computer" follows volumes mounted and unmounted, and with
    // stoDynamicRefresh every local volume for folders made or removed (and files with
    // stoIncludeNonFolders).
    void StartDriveWatch();

private:
    bool Loading() const { return ComponentState().Contains(csLoading); }
    DWORD EnumFlags() const;
    void BaseFolderChanged();
    void SelectedFolderChanged();
    TTreeNode* FindChildNode(TTreeNode* parent, const std::string& item) const;
    // The lone child that says its folder's volume did not answer.
    bool IsNotReachableNode(const TTreeNode* node) const;
    void RenameNode(const TVITEMW& item);
    void Resync(TTreeNode* node, TTreeNode*& remembered);
    void SetNodeImages(TTreeNode* node, const TRzShellTreeData& data);
    // The selected-folder locator and the linked list follow node.
    void UpdateSelectedFolder(const TTreeNode* node);
    void StartTimer(int tag, UINT interval);
    void TimerFired();
    bool Interacting() const { return IsEditing() || menuActive_; }
    std::unique_ptr<TRzShellDragDrop> MakeDragDrop();
    void UpdateDropRegistration();
    std::string DropFolderAt(TPoint client);

    std::unique_ptr<TRzShellLocator> baseFolder_;
    std::unique_ptr<TRzShellLocator> selectedFolder_;
    TRzShellTreeOptions options_ = kDefaultShellTreeOptions;
    std::unordered_map<const TTreeNode*, std::unique_ptr<TRzShellTreeData>> data_;
    int busy_ = 0;
    bool expandGuard_ = false;
    TTreeNode* lastInserted_ = nullptr;
    TRzShellImages images_{16};
    TRzCustomShellList* shellList_ = nullptr;
    std::unique_ptr<TTimer> timer_;
    int timerTag_ = 0;  // 1: update the selection's followers, 2: refresh
    bool selectNow_ = false;
    bool ignoreNextChange_ = false;
    bool menuActive_ = false;
    IContextMenu* activeMenu_ = nullptr;  // the shell menu being shown
    bool refreshPending_ = false;
    bool mountsChanged_ = false;  // the next refresh watches the volumes again
    std::unique_ptr<TChangeHandlerThread> watcher_;
    std::unique_ptr<TRzShellDragDrop> dragDrop_;
};

class TRzShellTree : public TRzCustomShellTree {
    QUILLORA_COMPONENT(TRzShellTree)
public:
    using TRzCustomShellTree::TRzCustomShellTree;
};

// Makes TRzShellTree and TRzShellList known to form files.
void RegisterShellControls();
