// The tree view: TTreeNode (text, data, image indices, cut and drop-highlight states, a "has
// children" button that need not have children yet), TTreeNodes (the nodes of one view) and
// TCustomTreeView/TTreeView with expansion, selection, label editing and sorting events. The
// control keeps every node and answers the TVM_* messages itself; what the user does in the
// toolkit's tree comes back as the TVN_* notifications of CN_NOTIFY.
#pragma once


#include <memory>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/GraphicsImageList.h"

class TTreeNode;
class TTreeNodes;
class TCustomTreeView;

QUILLORA_EXCEPTION_CLASS(ETreeViewError, Exception);

// How a multi-selecting view extends its selection: Ctrl adds or removes one node, Shift takes
// the shown rows from the anchor; VisibleOnly drops selected nodes a collapse hides, SiblingOnly
// keeps the selection among the children of one parent.
enum TMultiSelectStyle : unsigned { msControlSelect = 1, msShiftSelect = 2, msVisibleOnly = 4, msSiblingOnly = 8 };
using TMultiSelectStyles = unsigned;

// Where TTreeNode::MoveTo puts a node, relative to the destination.
enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

// ---- messages, notifications and records of "SysTreeView32"
struct TREEITEM_;
using HTREEITEM = TREEITEM_*;
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));

inline constexpr UINT TV_FIRST = 0x1100;
inline constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
inline constexpr UINT TVM_EXPAND = TV_FIRST + 2;
inline constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;
inline constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
inline constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
inline constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
inline constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
inline constexpr UINT TVM_HITTEST = TV_FIRST + 17;
inline constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
inline constexpr UINT TVM_SORTCHILDRENCB = TV_FIRST + 21;  // 0x1115
inline constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
inline constexpr UINT TVM_SETITEMHEIGHT = TV_FIRST + 27;
inline constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
inline constexpr UINT TVM_EDITLABELW = TV_FIRST + 65;

inline constexpr WPARAM TVE_COLLAPSE = 0x1, TVE_EXPAND = 0x2, TVE_TOGGLE = 0x3;
inline constexpr WPARAM TVGN_ROOT = 0x0, TVGN_NEXT = 0x1, TVGN_PREVIOUS = 0x2, TVGN_PARENT = 0x3, TVGN_CHILD = 0x4,
                        TVGN_DROPHILITE = 0x8, TVGN_CARET = 0x9;
inline constexpr UINT TVHT_NOWHERE = 0x1, TVHT_ONITEMICON = 0x2, TVHT_ONITEMLABEL = 0x4, TVHT_ONITEMBUTTON = 0x10;

inline constexpr UINT TVN_FIRST = 0u - 400u;
inline constexpr UINT TVN_SELCHANGINGA = TVN_FIRST - 1;
inline constexpr UINT TVN_SELCHANGEDA = TVN_FIRST - 2;
inline constexpr UINT TVN_GETDISPINFOA = TVN_FIRST - 3;
inline constexpr UINT TVN_ITEMEXPANDINGA = TVN_FIRST - 5;   // -405
inline constexpr UINT TVN_ITEMEXPANDEDA = TVN_FIRST - 6;    // -406
inline constexpr UINT TVN_BEGINDRAGA = TVN_FIRST - 7;       // -407
inline constexpr UINT TVN_BEGINRDRAGA = TVN_FIRST - 8;
inline constexpr UINT TVN_DELETEITEMA = TVN_FIRST - 9;      // -409
inline constexpr UINT TVN_BEGINLABELEDITA = TVN_FIRST - 10;
inline constexpr UINT TVN_ENDLABELEDITA = TVN_FIRST - 11;
inline constexpr UINT TVN_SELCHANGINGW = TVN_FIRST - 50;
inline constexpr UINT TVN_SELCHANGEDW = TVN_FIRST - 51;
inline constexpr UINT TVN_GETDISPINFOW = TVN_FIRST - 52;    // -452
inline constexpr UINT TVN_SETDISPINFOW = TVN_FIRST - 53;    // -453
inline constexpr UINT TVN_ITEMEXPANDINGW = TVN_FIRST - 54;  // -454
inline constexpr UINT TVN_ITEMEXPANDEDW = TVN_FIRST - 55;   // -455
inline constexpr UINT TVN_BEGINDRAGW = TVN_FIRST - 56;      // -456
inline constexpr UINT TVN_BEGINRDRAGW = TVN_FIRST - 57;
inline constexpr UINT TVN_DELETEITEMW = TVN_FIRST - 58;     // -458
inline constexpr UINT TVN_BEGINLABELEDITW = TVN_FIRST - 59; // -459
inline constexpr UINT TVN_ENDLABELEDITW = TVN_FIRST - 60;   // -460

inline constexpr UINT TVIF_TEXT = 0x1, TVIF_IMAGE = 0x2, TVIF_PARAM = 0x4, TVIF_STATE = 0x8, TVIF_HANDLE = 0x10,
                      TVIF_SELECTEDIMAGE = 0x20, TVIF_CHILDREN = 0x40;
inline constexpr UINT TVIS_SELECTED = 0x2, TVIS_CUT = 0x4, TVIS_DROPHILITED = 0x8, TVIS_EXPANDED = 0x20;
inline constexpr UINT TVC_UNKNOWN = 0, TVC_BYMOUSE = 1, TVC_BYKEYBOARD = 2;
inline constexpr DWORD TVS_HASBUTTONS = 0x1, TVS_HASLINES = 0x2, TVS_LINESATROOT = 0x4, TVS_EDITLABELS = 0x8,
                       TVS_DISABLEDRAGDROP = 0x10, TVS_SHOWSELALWAYS = 0x20, TVS_NOTOOLTIPS = 0x80,
                       TVS_CHECKBOXES = 0x100, TVS_TRACKSELECT = 0x200, TVS_FULLROWSELECT = 0x1000;

struct TVITEMW {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;  // the item's TTreeNode
};
struct NMTREEVIEWW {
    NMHDR hdr;
    UINT action = 0;  // TVE_* for expansion, TVC_* for selection
    TVITEMW itemOld;
    TVITEMW itemNew;
    POINT ptDrag{};
};
struct NMTVDISPINFOW {
    NMHDR hdr;
    TVITEMW item;
};
using PFNTVCOMPARE = int (*)(LPARAM node1, LPARAM node2, LPARAM data);
struct TVSORTCB {
    HTREEITEM hParent = nullptr;
    PFNTVCOMPARE lpfnCompare = nullptr;
    LPARAM lParam = 0;
};
struct TVHITTESTINFO {
    POINT pt{};
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};

// What the toolkit's tree must show. The control calls it as its nodes and states change; the
// peer reads nodes, texts and images from the control.
class TTreeViewPeer {
public:
    virtual ~TTreeViewPeer() = default;
    // Children first..last of parent (null: the top level) are about to appear or go.
    virtual void NodesInserting(TTreeNode* parent, int first, int last) = 0;
    virtual void NodesInserted() = 0;
    virtual void NodesRemoving(TTreeNode* parent, int first, int last) = 0;
    virtual void NodesRemoved() = 0;
    // The order of children changed (sorting).
    virtual void NodesReordering() = 0;
    virtual void NodesReordered() = 0;
    virtual void NodeChanged(TTreeNode* node) = 0;
    virtual void SetExpanded(TTreeNode* node, bool expanded) = 0;
    virtual void SetSelected(TTreeNode* node) = 0;
    // Multi-selection: the view lets the user pick several rows, and shows the control's
    // Selections after SelectionChanged.
    virtual void SetMultiSelect(bool) {}
    virtual void SelectionChanged() {}
    virtual void MakeVisible(TTreeNode* node) = 0;
    // The node's row (whole, or only its text) in client coordinates; empty when not shown.
    virtual TRect NodeRect(TTreeNode* node, bool textOnly) const = 0;
    virtual TTreeNode* NodeAt(TPoint point) const = 0;
    virtual void SetItemHeight(int height) = 0;  // 0: the toolkit's own
    virtual void SetStyle(DWORD treeStyles) = 0;
    virtual void SetUpdating(bool updating) = 0;
    // Label editing: opens the editor on node, ends it (keeping or dropping the typed text).
    virtual void BeginEdit(TTreeNode* node) = 0;
    virtual void EndEdit(bool cancel) = 0;
    virtual WideString EditText() const = 0;
    virtual void SetEditText(const WideString& text) = 0;
    // The vertical scroll position in rows, as the scroll bar holds it.
    virtual int ScrollPos() const { return 0; }
    virtual void SetScrollPos(int) {}
};

class TTreeNode : public TPersistent {
public:
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode() override;
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;
    std::string_view ClassName() const override { return "TTreeNode"; }

    TTreeNodes* Owner() const { return owner_; }
    TCustomTreeView* TreeView() const;
    // Null for a top-level node.
    TTreeNode* Parent() const { return parent_; }
    HTREEITEM ItemId() const { return reinterpret_cast<HTREEITEM>(const_cast<TTreeNode*>(this)); }
    static TTreeNode* FromItemId(HTREEITEM item) { return reinterpret_cast<TTreeNode*>(item); }

    const WideString& Text() const { return text_; }
    void SetText(const WideString& text);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int index);
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int index);
    bool Cut() const { return cut_; }
    void SetCut(bool cut);
    bool DropTarget() const;
    void SetDropTarget(bool target);
    // The expand button shows when set, with or without children (children on demand).
    bool HasChildren() const { return hasChildren_; }
    void SetHasChildren(bool value);

    bool Expanded() const { return expanded_; }
    void SetExpanded(bool expanded);
    // Expansion asks the view's OnExpanding/OnCollapsing first; either may refuse it.
    void Expand(bool recurse);
    void Collapse(bool recurse);
    // In the view's selection (with multi-selection, one of several).
    bool Selected() const;
    // True adds the node to a multi-selection, else makes it the selection.
    void SetSelected(bool selected);
    bool Focused() const { return Selected(); }

    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;
    int Index() const;
    int Level() const;
    // The position in the whole tree, depth first.
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back().get(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next and previous node depth first, whatever is expanded.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    bool HasAsParent(const TTreeNode* value) const;
    // Shown: every parent expanded.
    bool IsVisible() const;

    void Delete();
    void DeleteChildren();
    void MakeVisible();
    TRect DisplayRect(bool textOnly) const;
    bool EditText();
    void EndEdit(bool cancel);
    bool AlphaSort(bool recurse = false);
    bool CustomSort(PFNTVCOMPARE compare, LPARAM data, bool recurse = false);
    // Moves the node with its subtree, keeping it (data, images, expansion, selection). A move
    // onto itself or into its own subtree does nothing; one into another view throws.
    void MoveTo(TTreeNode* destination, TNodeAttachMode mode);

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    std::vector<std::unique_ptr<TTreeNode>>& Siblings() const;
    void Changed();

    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::vector<std::unique_ptr<TTreeNode>> children_;
    WideString text_;
    void* data_ = nullptr;
    int imageIndex_ = -1, selectedIndex_ = -1, overlayIndex_ = -1, stateIndex_ = -1;
    bool cut_ = false;
    bool hasChildren_ = false;
    bool expanded_ = false;
    bool deleting_ = false;
};

// The nodes of one tree view.
class TTreeNodes : public TPersistent {
public:
    explicit TTreeNodes(TCustomTreeView* owner);
    ~TTreeNodes() override;
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;
    std::string_view ClassName() const override { return "TTreeNodes"; }

    TCustomTreeView* Owner() const { return owner_; }
    // Every node of the tree.
    int Count() const;
    // The node at an absolute (depth-first) index.
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstNode() const;
    int TopCount() const { return static_cast<int>(top_.size()); }
    TTreeNode* TopItem(int index) const;

    // Add: a new last sibling of sibling (top level for null); Insert: before sibling.
    TTreeNode* Add(TTreeNode* sibling, const WideString& text) { return AddObject(sibling, text, nullptr); }
    TTreeNode* AddObject(TTreeNode* sibling, const WideString& text, void* data);
    TTreeNode* AddFirst(TTreeNode* sibling, const WideString& text);
    TTreeNode* AddChild(TTreeNode* parent, const WideString& text) { return AddChildObject(parent, text, nullptr); }
    TTreeNode* AddChildObject(TTreeNode* parent, const WideString& text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, const WideString& text);
    TTreeNode* Insert(TTreeNode* sibling, const WideString& text) { return InsertObject(sibling, text, nullptr); }
    TTreeNode* InsertObject(TTreeNode* sibling, const WideString& text, void* data);
    void Delete(TTreeNode* node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }
    TTreeNode* GetNode(HTREEITEM item) const;

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    std::vector<std::unique_ptr<TTreeNode>>& ChildList(TTreeNode* parent) { return parent ? parent->children_ : top_; }
    TTreeNode* InsertAt(TTreeNode* parent, int index, const WideString& text, void* data);
    // Where a node with text goes among a sorted view's children of parent; index otherwise.
    int PlaceIndex(TTreeNode* parent, int index, const WideString& text);
    // Takes node out of its parent's children (the view is told), and puts one in.
    std::unique_ptr<TTreeNode> Detach(TTreeNode* node);
    void Attach(std::unique_ptr<TTreeNode> node, TTreeNode* parent, int index);

    TCustomTreeView* owner_;
    std::vector<std::unique_ptr<TTreeNode>> top_;
    int updateCount_ = 0;
};


using TTVChangingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowChange)>;
using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVExpandingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVEditingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowEdit)>;
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, WideString& s)>;
using TTVCompareEvent = std::function<void(TObject* sender, TTreeNode* node1, TTreeNode* node2, int data, int& compare)>;
using TTVDeletionEvent = TTVExpandedEvent;

class TCustomTreeView : public TWinControl {
    QUILLORA_COMPONENT(TCustomTreeView)
    QUILLORA_MESSAGES()
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() const { return items_.get(); }
    // The primary (focused, last selected) node.
    TTreeNode* Selected() const { return selected_; }
    // Makes node the only selected one (null: none).
    void SetSelected(TTreeNode* node);

    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    TMultiSelectStyles MultiSelectStyle() const { return multiSelectStyle_; }
    void SetMultiSelectStyle(TMultiSelectStyles v) { multiSelectStyle_ = v; }
    unsigned SelectionCount() const { return static_cast<unsigned>(selection_.size()); }
    // The selected nodes in the order they were selected; null out of range.
    TTreeNode* Selections(int index) const;
    // As a click with shift: Ctrl toggles node, Shift takes the shown rows from the anchor, none
    // selects only node (as MultiSelectStyle allows; without MultiSelect, SetSelected).
    void Select(TTreeNode* node, TShiftState shift = {});
    // Exactly these nodes, the last one primary.
    void Select(const std::vector<TTreeNode*>& nodes);
    void Deselect(TTreeNode* node);
    void ClearSelection(bool keepPrimary = false);
    TTreeNode* DropTarget() const { return dropTarget_; }
    void SetDropTarget(TTreeNode* node);
    TTreeNode* TopItem() const { return items_->GetFirstNode(); }
    TTreeNode* GetNodeAt(int x, int y) const;
    bool IsEditing() const { return editing_ != nullptr; }
    // The window of the label editor while a label is edited (TVM_GETEDITCONTROL).
    HWND EditHandle() const { return editHandle_; }
    void FullExpand();
    void FullCollapse();
    bool AlphaSort(bool recurse = true);
    bool CustomSort(PFNTVCOMPARE compare, LPARAM data, bool recurse = true);

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* list);
    TCustomImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* list);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool v);
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool v);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool v);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v);
    // The node under the pointer is drawn underlined in the hot-tracking colour.
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool v);
    bool ToolTips() const { return toolTips_; }
    void SetToolTips(bool v);
    bool RightClickSelect() const { return rightClickSelect_; }
    void SetRightClickSelect(bool v) { rightClickSelect_ = v; }
    bool AutoExpand() const { return autoExpand_; }
    void SetAutoExpand(bool v) { autoExpand_ = v; }
    bool DragAllowed() const { return dragAllowed_; }
    void SetDragAllowed(bool v);
    int Indent() const { return indent_; }
    void SetIndent(int v);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int v);
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType v);
    // The window styles the control has (TVS_*): CreateParams' own, kept for the peer.
    DWORD TreeStyles() const { return treeStyles_; }

    // The images a node shows now, asked of TVN_GETDISPINFO (OnGetImageIndex and
    // OnGetSelectedIndex answer it unless a WindowProc hook does).
    void NodeImages(TTreeNode* node, int& image, int& selectedImage);
    // The tooltip text for the node at a client point (TTN_NEEDTEXT); empty for none.
    WideString TooltipText(TPoint point);
    // The vertical scroll bar's position in rows (0 without a window); WM_VSCROLL with
    // SB_THUMBPOSITION moves it.
    int VertScrollPos() const;

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnExpanded;
    TTVExpandedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVCompareEvent OnCompare;
    TTVDeletionEvent OnDeletion;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TTVExpandedEvent OnAddition;

protected:
    // A new node of the view's node class for owner, under parent (null: top level).
    virtual std::unique_ptr<TTreeNode> CreateNode(TTreeNodes* owner, TTreeNode* parent);
    // Nodes of another class in place of the view's (empty: call it before any node is added).
    void SetNodesCollection(std::unique_ptr<TTreeNodes> nodes);
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    virtual bool CanExpand(TTreeNode* node);
    virtual void Expand(TTreeNode* node);
    virtual bool CanCollapse(TTreeNode* node);
    virtual void Collapse(TTreeNode* node);
    virtual bool CanChange(TTreeNode* node);
    virtual void Change(TTreeNode* node);
    virtual bool CanEdit(TTreeNode* node);
    virtual void Edit(const TVITEMW& item);
    virtual void Delete(TTreeNode* node);
    void CNNotify(TWMNotify& m);
    void WMNotify(TWMNotify& m);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    TTreeViewPeer* TreePeer() const;
    // Sends a notification to the control itself (through WindowProc), as the window would.
    LRESULT Notify(UINT code, NMHDR& header);
    LRESULT NotifyTree(UINT code, TTreeNode* oldNode, TTreeNode* newNode, UINT action);
    bool ExpandNode(TTreeNode* node, WPARAM how);
    // Changes the primary node; keepOthers leaves the rest of a multi-selection.
    bool SelectNode(TTreeNode* node, UINT action, bool keepOthers = false);
    bool IsSelected(const TTreeNode* node) const;
    void AddToSelection(TTreeNode* node);
    void DropFromSelection(TTreeNode* node);
    // A collapse of node: a hidden primary moves to node; VisibleOnly drops hidden ones.
    void HideSelected(TTreeNode* node);
    // Being deleted, itself or with a parent.
    static bool Doomed(const TTreeNode* node);
    // The peer shows selection_ again.
    void SelectionShown();
    // The shown rows from one node to another, in either order, as the style allows.
    std::vector<TTreeNode*> RangeTo(TTreeNode* from, TTreeNode* to) const;
    bool SortChildren(const TVSORTCB& sort, bool recurse);
    void NodeDeleting(TTreeNode* node);
    void UpdateStyle();
    void EndLabelEdit(bool cancel);

    std::unique_ptr<TTreeNodes> items_;
    TTreeNode* selected_ = nullptr;
    std::vector<TTreeNode*> selection_;  // in the order selected; holds selected_
    TTreeNode* anchor_ = nullptr;        // where a Shift range starts
    bool multiSelect_ = false;
    TMultiSelectStyles multiSelectStyle_ = msControlSelect;
    TTreeNode* dropTarget_ = nullptr;
    TTreeNode* editing_ = nullptr;
    HWND editHandle_ = nullptr;
    TCustomImageList* images_ = nullptr;
    TCustomImageList* stateImages_ = nullptr;
    bool readOnly_ = false, hideSelection_ = true, showButtons_ = true, showLines_ = true, showRoot_ = true,
         rowSelect_ = false, hotTrack_ = false, toolTips_ = true, rightClickSelect_ = false, autoExpand_ = false, dragAllowed_ = true;
    int indent_ = 19;
    int itemHeight_ = 0;  // 0: the platform's default
    TSortType sortType_ = stNone;
    DWORD treeStyles_ = 0;
    bool destroying_ = false;
    WideString tipText_;  // the buffer TTN_NEEDTEXT answers point into
};

class TTreeView : public TCustomTreeView {
    QUILLORA_COMPONENT(TTreeView)
public:
    using TCustomTreeView::TCustomTreeView;
};
