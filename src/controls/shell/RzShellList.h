// A list view of the items of one shell folder: names with their pictures, size, type and
// modified columns, sorting by the folder's own order, opening folders in place and files with
// the desktop's handler, the shell's context menu and default keys, rename by label editing,
// and a refresh when the folder changes on disk. Linked to a shell tree, it shows the tree's
// selected folder.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "controls/shell/ChangeHandlerThread.h"
#include "controls/shell/RzShellDragDrop.h"
#include "controls/shell/RzListView.h"
#include "controls/shell/RzShellImages.h"
#include "controls/shell/RzShellLocator.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/vcl/ExtCtrls.h"

class TRzCustomShellList;
class IContextMenu;
class TRzCustomShellTree;

enum TRzShellListOption {
    sloAutoFill,
    sloVirtualFolders,
    sloDesignInteractive,
    sloDefaultKeyHandling,
    sloContextMenus,
    sloNoNavigation,
    sloUnused6,
    sloDynamicRefresh,
    sloFilesOnlyWithTree,
    sloOleDrag,
    sloOleDrop,
    sloUnused11,
    sloShowHidden,
    sloStreamFolders
};
QUILLORA_ENUM_TYPEINFO(TRzShellListOption, "sloAutoFill", "sloVirtualFolders", "sloDesignInteractive",
                       "sloDefaultKeyHandling", "sloContextMenus", "sloNoNavigation", "sloUnused6",
                       "sloDynamicRefresh", "sloFilesOnlyWithTree", "sloOleDrag", "sloOleDrop", "sloUnused11",
                       "sloShowHidden", "sloStreamFolders")
using TRzShellListOptions = TSet<TRzShellListOption>;
inline constexpr TRzShellListOptions kDefaultShellListOptions = TRzShellListOptions::FromBits(16027);

// A folder the list opens in place (archives and other stream folders only when allowed).
bool IsBrowsableFolder(DWORD attributes, bool streamFolders);
// The size column's text: the whole kilobytes that hold the size (1 to 1024 bytes give 1),
// with thousands separators, as "%sKB".
WideString ShellSizeText(std::uint64_t bytes, WideChar separator);
WideString ShellSizeText(std::uint64_t bytes);

// What an item of the list stands for.
class TRzShellListData : public TObject {
public:
    TRzShellListData(ShellItem item, ShellIdList absolute) : item_(std::move(item)), absolute_(std::move(absolute)) {}
    std::string_view ClassName() const override { return "TRzShellListData"; }

    DWORD GetAttributes() const { return item_.attributes; }
    // 1 size, 2 type, 3 modified (read once); other columns are empty.
    WideString GetColumnText(int column);
    const WideString& GetDisplayName() const { return item_.name; }
    AnsiString GetPath() const { return ShellIdListToPath(absolute_); }
    // A symbolic link: the shell's shortcuts on this system.
    bool IsShortcut() const { return (item_.attributes & SFGAO_LINK) != 0; }
    bool CanRename() const { return (item_.attributes & SFGAO_CANRENAME) != 0; }
    const ShellIdList& GetRelativeIdList() const { return item_.id; }
    const ShellIdList& GetAbsoluteIdList() const { return absolute_; }
    const ShellItem& Item() const { return item_; }
    // After a rename.
    void SetRelativeIdList(const ShellIdList& relative, const WideString& name);

    // Size in bytes (0 for folders) and modification time (Unix seconds) for sorting.
    std::uint64_t Size();
    std::int64_t Modified();
    const WideString& TypeName();
    // Places of the desktop and Computer keep their listed order (-1 for entries of folders).
    int PlaceRank() const { return placeRank_; }
    void SetPlaceRank(int rank) { placeRank_ = rank; }

private:
    void ReadDetails();

    ShellItem item_;
    ShellIdList absolute_;
    bool detailsValid_ = false;
    bool isFile_ = false;
    std::uint64_t size_ = 0;
    std::int64_t modified_ = 0;
    WideString type_;
    int placeRank_ = -1;
};

// Order of two items by column (0 name, 1 size, 2 type, 3 modified): folders first, ties by
// name.
int CompareShellListData(TRzShellListData& a, TRzShellListData& b, int column);

using TRzShListAddItemEvent = std::function<void(TObject* sender, const ShellIdList& folder,
                                                 const ShellIdList& itemRelative, DWORD attributes, bool& allowAdd)>;
using TRzShListDblClickOpenEvent = std::function<void(TObject* sender, bool& handled)>;
using TRzShListDeleteItemEvent = std::function<void(TObject* sender, TListItem* item, TRzShellListData* data)>;
using TRzShPopupHintEvent = std::function<void(TObject* sender, const AnsiString& hint)>;

class TRzCustomShellList : public TRzCustomListView {
    QUILLORA_COMPONENT(TRzCustomShellList)
public:
    explicit TRzCustomShellList(TComponent* owner);
    ~TRzCustomShellList() override;

    // The folder shown.
    TRzShellLocator* Folder() const { return folder_.get(); }
    void SetFolder(const TRzShellLocator* locator) { SetFolderFrom(locator); }
    void SetFolderFrom(const TRzShellLocator* locator);
    TRzShellListOptions Options() const { return options_; }
    virtual void SetOptions(TRzShellListOptions options);
    TRzCustomShellTree* ShellTree() const { return tree_; }
    // Links a tree (null: none); the tree shows this list the folder it selects.
    void SetShellTree(TRzCustomShellTree* tree);
    // 1-based column, negative for descending, 0 for the order read.
    int SortColumn() const { return sortColumn_; }
    void SetSortColumn(int column);

    TRzShellListData* GetDataFromItem(const TListItem* item) const;
    // Clears the list and reads the folder again.
    void FillList();
    // Brings the items in line with the folder: vanished ones go, new ones come.
    void Resync();
    void OpenItem(TListItem* item);
    void OpenSelection();
    void GoUp(int levels);
    void NavigateTo(const ShellIdList& absolute);
    // With withTree, the tree's pending selection first; then a pending refresh now.
    void FlushPending(bool withTree);
    // Runs a verb ("copy", "cut", "delete") on the selected items; E_FAIL with none selected.
    HRESULT InvokeVerbOnSelection(const std::string& verb);
    // Runs a verb ("paste") on the folder shown.
    HRESULT InvokeVerbOnFolder(const std::string& verb);
    // Shows the shell's menu for the selection at a screen point; false when there is none.
    bool ShowShellContextMenu(TPoint screen);
    // Drags the selected items out as files (moving only when all may be renamed).
    TDragResult DragSelection();
    // Drags out of the list and drops onto it or its folders (sloOleDrop).
    TRzShellDragDrop& DragDrop() const { return *dragDrop_; }

    TRzShListAddItemEvent OnAddItem;
    TRzShListDblClickOpenEvent OnDblClickOpen;
    TNotifyEvent OnFolderChanged;
    TNotifyEvent OnFillStart;
    TNotifyEvent OnFillComplete;
    TRzShListDeleteItemEvent OnDeleteItem;
    TRzShPopupHintEvent OnPopupHint;

protected:
    // Whether an item read from the folder is shown.
    virtual bool AddItem(const ShellItem& item);
    void InsertItem(const ShellItem& item);
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(WideChar& key) override;
    void DblClick() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class TRzCustomShellTree;
    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool RunTime() const { return !ComponentState().Contains(csDesigning); }
    DWORD EnumFlags() const;
    void FolderChanged();
    void SetupColumns();
    // Stores the widths of the width stream as the desktop's for the next session.
    void SaveColumnWidths();
    void SortItems();
    void ClearItems();
    void DeleteItem(TListItem* item);
    void StartWatch();
    void TimerFired();
    void ColumnClick(int column);
    bool HandleNotify(TMessage& m);
    void EndLabelEdit(TListItem* item, WideString text, LRESULT& result);
    std::vector<ShellIdList> SelectedItems() const;
    std::unique_ptr<TRzShellDragDrop> MakeDragDrop();
    void UpdateDropRegistration();
    std::string DropFolderAt(TPoint client);
    void SetDropItem(TListItem* item);

    std::unique_ptr<TRzShellLocator> folder_;
    ShellIdList shown_;  // the folder whose items the list holds
    TRzShellListOptions options_ = kDefaultShellListOptions;
    TRzCustomShellTree* tree_ = nullptr;
    std::unique_ptr<TTimer> timer_;
    TRzShellImages smallImages_{16};
    TRzShellImages largeImages_{32};
    int sortColumn_ = 1;
    std::unordered_map<const TListItem*, std::unique_ptr<TRzShellListData>> data_;
    std::unique_ptr<TChangeHandlerThread> watcher_;
    int ignore_ = 0;
    bool ignoreNextChange_ = false;
    bool menuActive_ = false;
    IContextMenu* activeMenu_ = nullptr;  // the shell menu being shown
    bool refreshPending_ = false;
    TListItem* dropItem_ = nullptr;  // drawn as the drop target
    std::unique_ptr<TRzShellDragDrop> dragDrop_;
};

class TRzShellList : public TRzCustomShellList {
    QUILLORA_COMPONENT(TRzShellList)
public:
    using TRzCustomShellList::TRzCustomShellList;
};
