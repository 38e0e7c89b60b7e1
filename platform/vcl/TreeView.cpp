#include "platform/vcl/TreeView.h"

#include <algorithm>
#include <cstring>

#include "platform/vcl/Forms.h"

// ---- TTreeNode

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const { return owner_->Owner(); }

std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::Siblings() const { return owner_->ChildList(parent_); }

void TTreeNode::Changed() {
    if (auto* peer = TreeView()->TreePeer()) peer->NodeChanged(this);
}

void TTreeNode::SetText(const WideString& text) {
    if (text == text_) return;
    text_ = text;
    Changed();
    if (TreeView()->SortType() == stText || TreeView()->SortType() == stBoth) {
        if (parent_) parent_->AlphaSort(false);
        else TreeView()->AlphaSort(false);
    }
}

void TTreeNode::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    Changed();
}

void TTreeNode::SetSelectedIndex(int index) {
    if (index == selectedIndex_) return;
    selectedIndex_ = index;
    Changed();
}

void TTreeNode::SetOverlayIndex(int index) {
    if (index == overlayIndex_) return;
    overlayIndex_ = index;
    Changed();
}

void TTreeNode::SetStateIndex(int index) {
    if (index == stateIndex_) return;
    stateIndex_ = index;
    Changed();
}

void TTreeNode::SetCut(bool cut) {
    if (cut == cut_) return;
    cut_ = cut;
    Changed();
}

bool TTreeNode::DropTarget() const { return TreeView()->DropTarget() == this; }

void TTreeNode::SetDropTarget(bool target) {
    if (target) TreeView()->SetDropTarget(this);
    else if (DropTarget()) TreeView()->SetDropTarget(nullptr);
}

void TTreeNode::SetHasChildren(bool value) {
    if (value == hasChildren_) return;
    hasChildren_ = value;
    if (!value && expanded_ && children_.empty()) expanded_ = false;
    Changed();
}

void TTreeNode::SetExpanded(bool expanded) {
    if (expanded) Expand(false);
    else Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
    TreeView()->ExpandNode(this, TVE_EXPAND);
    if (recurse)
        for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    TreeView()->ExpandNode(this, TVE_COLLAPSE);
    if (recurse)
        for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->Collapse(true);
}

bool TTreeNode::Selected() const { return TreeView()->IsSelected(this); }

void TTreeNode::SetSelected(bool selected) {
    TCustomTreeView* view = TreeView();
    if (selected && view->MultiSelect()) view->AddToSelection(this);
    else if (selected) view->SetSelected(this);
    else view->Deselect(this);
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) throw ETreeViewError(WideString(u"Invalid index"));
    return children_[static_cast<std::size_t>(index)].get();
}

int TTreeNode::Index() const {
    const auto& list = Siblings();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == this) return static_cast<int>(i);
    return -1;
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

int TTreeNode::AbsoluteIndex() const {
    int index = 0;
    for (const TTreeNode* n = GetPrev(); n; n = n->GetPrev()) ++index;
    return index;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& list = Siblings();
    const int i = Index();
    return i + 1 < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const int i = Index();
    return i > 0 ? Siblings()[static_cast<std::size_t>(i - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!children_.empty()) return children_.front().get();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
    TTreeNode* prev = GetPrevSibling();
    if (!prev) return parent_;
    while (!prev->children_.empty()) prev = prev->children_.back().get();
    return prev;
}

bool TTreeNode::HasAsParent(const TTreeNode* value) const {
    for (const TTreeNode* p = parent_; p; p = p->parent_)
        if (p == value) return true;
    return false;
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* p = parent_; p; p = p->parent_)
        if (!p->expanded_) return false;
    return true;
}

void TTreeNode::Delete() { owner_->Delete(this); }

void TTreeNode::DeleteChildren() {
    while (!children_.empty()) owner_->Delete(children_.back().get());
    if (expanded_) expanded_ = false;
    hasChildren_ = false;
    Changed();
}

void TTreeNode::MakeVisible() {
    for (TTreeNode* p = parent_; p; p = p->parent_) p->Expand(false);
    if (auto* peer = TreeView()->TreePeer()) peer->MakeVisible(this);
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
    // The platform's convention: the item's handle arrives in the rectangle itself.
    RECT r{};
    const HTREEITEM item = ItemId();
    std::memcpy(static_cast<void*>(&r), &item, sizeof item);
    if (!TreeView()->Perform(TVM_GETITEMRECT, textOnly ? 1 : 0, reinterpret_cast<LPARAM>(&r))) return TRect();
    return TRect(r.left, r.top, r.right, r.bottom);
}

bool TTreeNode::EditText() { return TreeView()->Perform(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(ItemId())) != 0; }

void TTreeNode::EndEdit(bool cancel) {
    if (TreeView()->editing_ == this) TreeView()->Perform(TVM_ENDEDITLABELNOW, cancel ? 1 : 0, 0);
}

bool TTreeNode::AlphaSort(bool recurse) { return CustomSort(nullptr, 0, recurse); }

namespace {

// The class library's default order: OnCompare when set, else the texts without regard to case.
int DefaultTreeViewSort(LPARAM node1, LPARAM node2, LPARAM data) {
    auto* a = reinterpret_cast<TTreeNode*>(node1);
    auto* b = reinterpret_cast<TTreeNode*>(node2);
    TCustomTreeView* view = a->TreeView();
    if (view->OnCompare) {
        int compare = 0;
        view->OnCompare(view, a, b, static_cast<int>(data), compare);
        return compare;
    }
    return WideCompareText(a->Text(), b->Text());
}

}  // namespace

bool TTreeNode::CustomSort(PFNTVCOMPARE compare, LPARAM data, bool recurse) {
    TVSORTCB sort;
    sort.hParent = ItemId();
    sort.lpfnCompare = compare ? compare : &DefaultTreeViewSort;
    sort.lParam = data;
    return TreeView()->Perform(TVM_SORTCHILDRENCB, recurse ? 1 : 0, reinterpret_cast<LPARAM>(&sort)) != 0;
}

// ---- TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* owner) : owner_(owner) {}

TTreeNodes::~TTreeNodes() = default;

int TTreeNodes::Count() const {
    int count = 0;
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) ++count;
    return count;
}

TTreeNode* TTreeNodes::Item(int index) const {
    TTreeNode* n = GetFirstNode();
    for (int i = 0; n && i < index; ++i) n = n->GetNext();
    if (!n || index < 0) throw ETreeViewError(WideString(u"Invalid index"));
    return n;
}

TTreeNode* TTreeNodes::GetFirstNode() const { return top_.empty() ? nullptr : top_.front().get(); }

TTreeNode* TTreeNodes::TopItem(int index) const {
    if (index < 0 || index >= TopCount()) throw ETreeViewError(WideString(u"Invalid index"));
    return top_[static_cast<std::size_t>(index)].get();
}

int TTreeNodes::PlaceIndex(TTreeNode* parent, int index, const WideString& text) {
    const auto& list = ChildList(parent);
    if (owner_->SortType() != stNone) {
        // A sorted view places the node by its text among its siblings.
        index = 0;
        while (index < static_cast<int>(list.size()) && WideCompareText(list[static_cast<std::size_t>(index)]->Text(), text) <= 0)
            ++index;
    }
    return std::clamp(index, 0, static_cast<int>(list.size()));
}

void TTreeNodes::Attach(std::unique_ptr<TTreeNode> node, TTreeNode* parent, int index) {
    auto& list = ChildList(parent);
    node->parent_ = parent;
    TTreeViewPeer* peer = owner_->TreePeer();
    if (peer) peer->NodesInserting(parent, index, index);
    list.insert(list.begin() + index, std::move(node));
    if (peer) peer->NodesInserted();
    if (parent && !parent->hasChildren_) {
        parent->hasChildren_ = true;
        if (peer) peer->NodeChanged(parent);
    }
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, int index, const WideString& text, void* data) {
    index = PlaceIndex(parent, index, text);
    std::unique_ptr<TTreeNode> node = owner_->CreateNode(this, parent);
    node->text_ = text;
    node->data_ = data;
    TTreeNode* made = node.get();
    Attach(std::move(node), parent, index);
    if (owner_->OnAddition) owner_->OnAddition(owner_, made);
    return made;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const WideString& text, void* data) {
    TTreeNode* parent = sibling ? sibling->parent_ : nullptr;
    return InsertAt(parent, static_cast<int>(ChildList(parent).size()), text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const WideString& text) {
    return InsertAt(sibling ? sibling->parent_ : nullptr, 0, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const WideString& text, void* data) {
    return InsertAt(parent, static_cast<int>(ChildList(parent).size()), text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const WideString& text) { return InsertAt(parent, 0, text, nullptr); }

TTreeNode* TTreeNodes::InsertObject(TTreeNode* sibling, const WideString& text, void* data) {
    if (!sibling) return AddObject(nullptr, text, data);
    return InsertAt(sibling->parent_, sibling->Index(), text, data);
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node->deleting_) return;
    node->deleting_ = true;
    // Children go first, each announced (TVN_DELETEITEM) while it still exists.
    while (!node->children_.empty()) Delete(node->children_.back().get());
    owner_->NodeDeleting(node);
    Detach(node);
}

std::unique_ptr<TTreeNode> TTreeNodes::Detach(TTreeNode* node) {
    TTreeNode* parent = node->parent_;
    auto& list = ChildList(parent);
    const int index = node->Index();
    if (index < 0) return nullptr;
    TTreeViewPeer* peer = owner_->TreePeer();
    if (peer) peer->NodesRemoving(parent, index, index);
    std::unique_ptr<TTreeNode> gone = std::move(list[static_cast<std::size_t>(index)]);
    list.erase(list.begin() + index);
    if (peer) peer->NodesRemoved();
    if (parent && list.empty() && parent->expanded_) {
        parent->expanded_ = false;
        if (peer) peer->NodeChanged(parent);
    }
    return gone;
}

void TTreeNodes::Clear() {
    BeginUpdate();
    try {
        while (!top_.empty()) Delete(top_.back().get());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTreeNodes::BeginUpdate() {
    if (updateCount_++ == 0)
        if (auto* peer = owner_->TreePeer()) peer->SetUpdating(true);
}

void TTreeNodes::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0)
        if (auto* peer = owner_->TreePeer()) peer->SetUpdating(false);
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM item) const {
    if (!item || item == TVI_ROOT) return nullptr;
    return TTreeNode::FromItemId(item);
}

// ---- TCustomTreeView

namespace {
enum class TMultiSelectStyleBit { ControlSelect, ShiftSelect, VisibleOnly, SiblingOnly };
}  // namespace
QUILLORA_ENUM_TYPEINFO(TMultiSelectStyleBit, "msControlSelect", "msShiftSelect", "msVisibleOnly", "msSiblingOnly")

const TMetaClass& TCustomTreeView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomTreeView>("TCustomTreeView", &TWinControl::StaticClass(), [](TClassBuilder<TCustomTreeView>& b) {
        b.Property("Images", &TCustomTreeView::Images, &TCustomTreeView::SetImages);
        b.Property("StateImages", &TCustomTreeView::StateImages, &TCustomTreeView::SetStateImages);
        b.Property("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly).Default(false);
        b.Property("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection).Default(true);
        b.Property("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons).Default(true);
        b.Property("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines).Default(true);
        b.Property("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot).Default(true);
        b.Property("RowSelect", &TCustomTreeView::RowSelect, &TCustomTreeView::SetRowSelect).Default(false);
        b.Property("HotTrack", &TCustomTreeView::HotTrack, &TCustomTreeView::SetHotTrack).Default(false);
        b.Property("MultiSelect", &TCustomTreeView::MultiSelect, &TCustomTreeView::SetMultiSelect).Default(false);
        // Form files name the style as a set; its element ordinals are the flags' bits.
        b.Property(
             "MultiSelectStyle",
             [](const TCustomTreeView& v) { return TSet<TMultiSelectStyleBit>::FromBits(v.MultiSelectStyle()); },
             [](TCustomTreeView& v, TSet<TMultiSelectStyleBit> s) { v.SetMultiSelectStyle(static_cast<TMultiSelectStyles>(s.Bits())); })
            .Default(TSet<TMultiSelectStyleBit>{TMultiSelectStyleBit::ControlSelect});
        b.Property("ToolTips", &TCustomTreeView::ToolTips, &TCustomTreeView::SetToolTips).Default(true);
        b.Property("RightClickSelect", &TCustomTreeView::RightClickSelect, &TCustomTreeView::SetRightClickSelect).Default(false);
        b.Property("AutoExpand", &TCustomTreeView::AutoExpand, &TCustomTreeView::SetAutoExpand).Default(false);
        b.Property("Indent", &TCustomTreeView::Indent, &TCustomTreeView::SetIndent).Default(19);
        b.Property("ItemHeight", &TCustomTreeView::ItemHeight, &TCustomTreeView::SetItemHeight).Default(0);
        b.Property("SortType", &TCustomTreeView::SortType, &TCustomTreeView::SetSortType).Default(stNone);
        b.Property("TabStop", &TCustomTreeView::TabStop, &TCustomTreeView::SetTabStop).Default(true);
        b.Event("OnChange", &TCustomTreeView::OnChange);
        b.Event("OnChanging", &TCustomTreeView::OnChanging);
        b.Event("OnExpanding", &TCustomTreeView::OnExpanding);
        b.Event("OnExpanded", &TCustomTreeView::OnExpanded);
        b.Event("OnCollapsing", &TCustomTreeView::OnCollapsing);
        b.Event("OnCollapsed", &TCustomTreeView::OnCollapsed);
        b.Event("OnEditing", &TCustomTreeView::OnEditing);
        b.Event("OnEdited", &TCustomTreeView::OnEdited);
        b.Event("OnCompare", &TCustomTreeView::OnCompare);
        b.Event("OnDeletion", &TCustomTreeView::OnDeletion);
        b.Event("OnGetImageIndex", &TCustomTreeView::OnGetImageIndex);
        b.Event("OnGetSelectedIndex", &TCustomTreeView::OnGetSelectedIndex);
    });
    return meta;
}

const TMetaClass& TTreeView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTreeView>("TTreeView", &TCustomTreeView::StaticClass());
    return meta;
}

const TMessageTable& TCustomTreeView::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_NOTIFY, TCustomTreeView::CNNotify),
        MESSAGE_HANDLER(WM_NOTIFY, TCustomTreeView::WMNotify),
    });
    return table;
}

std::unique_ptr<TTreeNode> TCustomTreeView::CreateNode(TTreeNodes* owner, TTreeNode* parent) {
    return std::make_unique<TTreeNode>(owner, parent);
}

void TCustomTreeView::SetNodesCollection(std::unique_ptr<TTreeNodes> nodes) { items_ = std::move(nodes); }

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    controlStyle_ = {csCaptureMouse, csClickEvents, csDoubleClicks};
}

TCustomTreeView::~TCustomTreeView() {
    SetImages(nullptr);
    SetStateImages(nullptr);
    if (editHandle_) DeallocateHWnd(editHandle_);
    editHandle_ = nullptr;
    editing_ = nullptr;
    // The nodes go with the view; OnDeletion still hears each (it frees what Data holds), but
    // nothing else fires and no message is sent.
    destroying_ = true;
    OnChange = nullptr;
    OnChanging = nullptr;
    DestroyHandle();
    items_->Clear();
}

TTreeViewPeer* TCustomTreeView::TreePeer() const { return dynamic_cast<TTreeViewPeer*>(Peer()); }

int TCustomTreeView::VertScrollPos() const {
    const TTreeViewPeer* peer = TreePeer();
    return peer ? peer->ScrollPos() : 0;
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"SysTreeView32";
    params.OwnerPainted = false;
    params.Style |= WS_VSCROLL | WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (showButtons_) params.Style |= TVS_HASBUTTONS;
    if (showLines_) params.Style |= TVS_HASLINES;
    if (showRoot_) params.Style |= TVS_LINESATROOT;
    if (!readOnly_) params.Style |= TVS_EDITLABELS;
    if (!hideSelection_) params.Style |= TVS_SHOWSELALWAYS;
    if (rowSelect_) params.Style |= TVS_FULLROWSELECT;
    if (hotTrack_) params.Style |= TVS_TRACKSELECT;
    if (!toolTips_) params.Style |= TVS_NOTOOLTIPS;
    if (!dragAllowed_) params.Style |= TVS_DISABLEDRAGDROP;
}

void TCustomTreeView::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    treeStyles_ = params.Style & 0xFFFF;
    TWinControl::CreateWnd();
    if (auto* peer = TreePeer()) {
        peer->SetStyle(treeStyles_);
        peer->SetItemHeight(itemHeight_);
        // A new window (RecreateWnd) shows the nodes as they were.
        for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext())
            if (n->Expanded()) peer->SetExpanded(n, true);
        peer->SetMultiSelect(multiSelect_);
        if (selected_) SelectionShown();
    }
}

void TCustomTreeView::UpdateStyle() {
    if (!HandleAllocated()) return;
    TCreateParams params;
    CreateParams(params);
    treeStyles_ = params.Style & 0xFFFF;
    if (auto* peer = TreePeer()) peer->SetStyle(treeStyles_);
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == images_) SetImages(nullptr);
    if (component == stateImages_) SetStateImages(nullptr);
}

void TCustomTreeView::SetImages(TCustomImageList* list) {
    if (ChangeImageList(*this, images_, list, [this](TObject*) { Invalidate(); })) Invalidate();
}

void TCustomTreeView::SetStateImages(TCustomImageList* list) {
    if (ChangeImageList(*this, stateImages_, list, [this](TObject*) { Invalidate(); })) Invalidate();
}

void TCustomTreeView::SetReadOnly(bool v) { readOnly_ = v; UpdateStyle(); }
void TCustomTreeView::SetHideSelection(bool v) { hideSelection_ = v; UpdateStyle(); }
void TCustomTreeView::SetShowButtons(bool v) { showButtons_ = v; UpdateStyle(); }
void TCustomTreeView::SetShowLines(bool v) { showLines_ = v; UpdateStyle(); }
void TCustomTreeView::SetShowRoot(bool v) { showRoot_ = v; UpdateStyle(); }
void TCustomTreeView::SetRowSelect(bool v) { rowSelect_ = v; UpdateStyle(); }
void TCustomTreeView::SetHotTrack(bool v) { hotTrack_ = v; UpdateStyle(); }
void TCustomTreeView::SetToolTips(bool v) { toolTips_ = v; UpdateStyle(); }
void TCustomTreeView::SetDragAllowed(bool v) { dragAllowed_ = v; UpdateStyle(); }

void TCustomTreeView::SetIndent(int v) {
    indent_ = std::max(v, 0);
    Invalidate();
}

void TCustomTreeView::SetItemHeight(int v) {
    v = std::max(v, 0);
    if (v == itemHeight_) return;
    Perform(TVM_SETITEMHEIGHT, v == 0 ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(v), 0);
}

void TCustomTreeView::SetSortType(TSortType v) {
    if (v == sortType_) return;
    sortType_ = v;
    if (v == stText || v == stBoth) AlphaSort(true);
}

void TCustomTreeView::SetSelected(TTreeNode* node) { SelectNode(node, TVC_UNKNOWN); }

void TCustomTreeView::SetDropTarget(TTreeNode* node) {
    if (node == dropTarget_) return;
    TTreeNode* old = dropTarget_;
    dropTarget_ = node;
    if (auto* peer = TreePeer()) {
        if (old) peer->NodeChanged(old);
        if (node) peer->NodeChanged(node);
    }
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const {
    TVHITTESTINFO hit;
    hit.pt = POINT{x, y};
    const_cast<TCustomTreeView*>(this)->Perform(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (!(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMBUTTON))) return nullptr;
    return items_->GetNode(hit.hItem);
}

void TCustomTreeView::FullExpand() {
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
}

void TCustomTreeView::FullCollapse() {
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
}

bool TCustomTreeView::AlphaSort(bool recurse) { return CustomSort(nullptr, 0, recurse); }

bool TCustomTreeView::CustomSort(PFNTVCOMPARE compare, LPARAM data, bool recurse) {
    TVSORTCB sort;
    sort.hParent = TVI_ROOT;
    sort.lpfnCompare = compare ? compare : &DefaultTreeViewSort;
    sort.lParam = data;
    return Perform(TVM_SORTCHILDRENCB, recurse ? 1 : 0, reinterpret_cast<LPARAM>(&sort)) != 0;
}

LRESULT TCustomTreeView::Notify(UINT code, NMHDR& header) {
    header.hwndFrom = WindowHandle();
    header.code = code;
    return Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

LRESULT TCustomTreeView::NotifyTree(UINT code, TTreeNode* oldNode, TTreeNode* newNode, UINT action) {
    NMTREEVIEWW nm;
    nm.action = action;
    auto fill = [](TVITEMW& item, TTreeNode* node) {
        if (!node) return;
        item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
        item.hItem = node->ItemId();
        item.lParam = reinterpret_cast<LPARAM>(node);
        item.state = node->Expanded() ? TVIS_EXPANDED : 0;
    };
    fill(nm.itemOld, oldNode);
    fill(nm.itemNew, newNode);
    return Notify(code, nm.hdr);
}

bool TCustomTreeView::ExpandNode(TTreeNode* node, WPARAM how) {
    if (!node) return false;
    bool expand = how == TVE_TOGGLE ? !node->expanded_ : how == TVE_EXPAND;
    if (expand == node->expanded_) return true;
    if (expand && !node->hasChildren_ && node->children_.empty()) return false;
    // TVN_ITEMEXPANDING: a non-zero answer keeps the node as it is.
    if (NotifyTree(TVN_ITEMEXPANDINGW, nullptr, node, expand ? TVE_EXPAND : TVE_COLLAPSE) != 0) return false;
    if (expand && node->children_.empty()) {
        // Nothing came on demand: the button goes, as the platform's tree does.
        node->hasChildren_ = false;
        if (auto* peer = TreePeer()) peer->NodeChanged(node);
        return false;
    }
    if (!expand) HideSelected(node);
    node->expanded_ = expand;
    if (auto* peer = TreePeer()) peer->SetExpanded(node, expand);
    NotifyTree(TVN_ITEMEXPANDEDW, nullptr, node, expand ? TVE_EXPAND : TVE_COLLAPSE);
    return true;
}

bool TCustomTreeView::SelectNode(TTreeNode* node, UINT action, bool keepOthers) {
    if (node == selected_) {
        const bool alone = node ? selection_.size() == 1 && selection_.front() == node : selection_.empty();
        if (!keepOthers && !alone) {
            selection_.assign(node ? 1 : 0, node);
            anchor_ = node;
            SelectionShown();
        }
        return true;
    }
    if (NotifyTree(TVN_SELCHANGINGW, selected_, node, action) != 0) {
        SelectionShown();
        return false;
    }
    TTreeNode* old = selected_;
    selected_ = node;
    if (keepOthers) {
        if (node && !IsSelected(node)) selection_.push_back(node);
    } else {
        selection_.assign(node ? 1 : 0, node);
        anchor_ = node;
    }
    SelectionShown();
    NotifyTree(TVN_SELCHANGEDW, old, node, action);
    return true;
}

bool TCustomTreeView::SortChildren(const TVSORTCB& sort, bool recurse) {
    if (!sort.lpfnCompare) return false;
    TTreeNode* parent = items_->GetNode(sort.hParent);
    auto& list = items_->ChildList(parent);
    TTreeViewPeer* peer = TreePeer();
    if (peer) peer->NodesReordering();
    std::stable_sort(list.begin(), list.end(), [&](const auto& a, const auto& b) {
        return sort.lpfnCompare(reinterpret_cast<LPARAM>(a.get()), reinterpret_cast<LPARAM>(b.get()), sort.lParam) < 0;
    });
    if (peer) peer->NodesReordered();
    if (recurse) {
        for (const auto& child : list) {
            if (child->children_.empty()) continue;
            TVSORTCB inner = sort;
            inner.hParent = child->ItemId();
            SortChildren(inner, true);
        }
    }
    return true;
}

void TCustomTreeView::NodeDeleting(TTreeNode* node) {
    DropFromSelection(node);
    if (node == anchor_) anchor_ = nullptr;
    if (destroying_) {
        if (node == selected_) selected_ = nullptr;
        Delete(node);
        return;
    }
    if (node == editing_) EndLabelEdit(true);
    if (node == dropTarget_) dropTarget_ = nullptr;
    if (node == selected_) {
        // The primary moves to another selected node that stays, else to a neighbour, as the
        // platform's tree does.
        TTreeNode* next = nullptr;
        for (auto it = selection_.rbegin(); it != selection_.rend() && !next; ++it)
            if (!Doomed(*it)) next = *it;
        const bool keepOthers = next != nullptr;
        if (!next) next = node->GetNextSibling();
        if (!next) next = node->GetPrevSibling();
        if (!next) next = node->Parent();
        selected_ = nullptr;
        if (next && !Doomed(next) && !ComponentState().Contains(csDestroying)) SelectNode(next, TVC_UNKNOWN, keepOthers);
    }
    if (TTreeViewPeer* peer = TreePeer(); peer && multiSelect_) peer->SelectionChanged();
    NotifyTree(TVN_DELETEITEMW, node, nullptr, 0);
}

void TCustomTreeView::EndLabelEdit(bool cancel) {
    TTreeNode* node = editing_;
    if (!node) return;
    TTreeViewPeer* peer = TreePeer();
    WideString text = peer ? peer->EditText() : node->Text();
    editing_ = nullptr;
    if (peer) peer->EndEdit(true);
    NMTVDISPINFOW nm;
    nm.item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_TEXT;
    nm.item.hItem = node->ItemId();
    nm.item.lParam = reinterpret_cast<LPARAM>(node);
    text.push_back(u'\0');
    nm.item.pszText = cancel ? nullptr : text.data();
    nm.item.cchTextMax = static_cast<int>(text.size());
    Notify(TVN_ENDLABELEDITW, nm.hdr);
    if (editHandle_) DeallocateHWnd(editHandle_);
    editHandle_ = nullptr;
}

void TCustomTreeView::NodeImages(TTreeNode* node, int& image, int& selectedImage) {
    NMTVDISPINFOW nm;
    nm.item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    nm.item.hItem = node->ItemId();
    nm.item.lParam = reinterpret_cast<LPARAM>(node);
    nm.item.iImage = node->ImageIndex();
    nm.item.iSelectedImage = node->SelectedIndex();
    Notify(TVN_GETDISPINFOW, nm.hdr);
    image = nm.item.iImage;
    selectedImage = nm.item.iSelectedImage;
}

WideString TCustomTreeView::TooltipText(TPoint point) {
    if (treeStyles_ & TVS_NOTOOLTIPS) return {};
    NMTTDISPINFOW nm;
    nm.hdr.hwndFrom = WindowHandle();
    nm.hdr.code = TTN_NEEDTEXTW;
    nm.uFlags = TTF_IDISHWND;
    nm.lParam = MAKELPARAM(point.x, point.y);
    Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    if (nm.lpszText) return WideString(nm.lpszText);
    return WideString(nm.szText);
}

bool TCustomTreeView::CanExpand(TTreeNode* node) {
    bool allow = true;
    if (OnExpanding) OnExpanding(this, node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* node) {
    if (OnExpanded) OnExpanded(this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* node) {
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* node) {
    if (OnCollapsed) OnCollapsed(this, node);
}

bool TCustomTreeView::CanChange(TTreeNode* node) {
    bool allow = true;
    if (OnChanging) OnChanging(this, node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* node) {
    if (OnChange) OnChange(this, node);
}

bool TCustomTreeView::CanEdit(TTreeNode* node) {
    bool allow = !readOnly_;
    if (allow && OnEditing) OnEditing(this, node, allow);
    return allow;
}

void TCustomTreeView::Edit(const TVITEMW& item) {
    TTreeNode* node = items_->GetNode(item.hItem);
    if (!node || !item.pszText) return;
    WideString s(item.pszText);
    if (OnEdited) OnEdited(this, node, s);
    node->SetText(s);
}

void TCustomTreeView::Delete(TTreeNode* node) {
    if (OnDeletion) OnDeletion(this, node);
}

void TCustomTreeView::KeyDown(WORD& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if (key == 0) return;
    // The keys that expand and collapse go through the expansion events (the widget's own
    // handling would expand without asking).
    if (selected_ && shift.Empty()) {
        switch (key) {
        case VK_RIGHT:
            if (!selected_->Expanded() && (selected_->HasChildren() || selected_->Count() > 0)) {
                ExpandNode(selected_, TVE_EXPAND);
                key = 0;
            }
            break;
        case VK_LEFT:
            if (selected_->Expanded()) {
                ExpandNode(selected_, TVE_COLLAPSE);
                key = 0;
            }
            break;
        case VK_ADD: ExpandNode(selected_, TVE_EXPAND); key = 0; break;
        case VK_SUBTRACT: ExpandNode(selected_, TVE_COLLAPSE); key = 0; break;
        case VK_MULTIPLY: selected_->Expand(true); key = 0; break;
        case VK_F2:
            if (!readOnly_) selected_->EditText();
            key = 0;
            break;
        default: break;
        }
    }
}

void TCustomTreeView::CNNotify(TWMNotify& m) {
    NMHDR* header = m.NMHdr;
    if (!header) return;
    switch (header->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        TTreeNode* node = items_->GetNode(nm->itemNew.hItem);
        if (!node) return;
        const bool allowed = nm->action == TVE_EXPAND ? CanExpand(node) : CanCollapse(node);
        m.Result = allowed ? 0 : 1;
        return;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        TTreeNode* node = items_->GetNode(nm->itemNew.hItem);
        if (!node) return;
        if (nm->action == TVE_EXPAND) Expand(node);
        else Collapse(node);
        return;
    }
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        m.Result = CanChange(items_->GetNode(nm->itemNew.hItem)) ? 0 : 1;
        return;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        Change(items_->GetNode(nm->itemNew.hItem));
        return;
    }
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        if (TTreeNode* node = items_->GetNode(nm->itemOld.hItem)) Delete(node);
        return;
    }
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: {
        auto* nm = reinterpret_cast<NMTVDISPINFOW*>(header);
        TTreeNode* node = items_->GetNode(nm->item.hItem);
        m.Result = node && CanEdit(node) ? 0 : 1;
        return;
    }
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW: {
        auto* nm = reinterpret_cast<NMTVDISPINFOW*>(header);
        Edit(nm->item);
        m.Result = 1;
        return;
    }
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW: {
        auto* nm = reinterpret_cast<NMTVDISPINFOW*>(header);
        TTreeNode* node = (nm->item.mask & TVIF_PARAM) ? reinterpret_cast<TTreeNode*>(nm->item.lParam) : items_->GetNode(nm->item.hItem);
        if (!node) return;
        if (nm->item.mask & TVIF_IMAGE) {
            if (OnGetImageIndex) OnGetImageIndex(this, node);
            nm->item.iImage = node->ImageIndex();
        }
        if (nm->item.mask & TVIF_SELECTEDIMAGE) {
            if (OnGetSelectedIndex) OnGetSelectedIndex(this, node);
            nm->item.iSelectedImage = node->SelectedIndex();
        }
        return;
    }
    case TVN_SETDISPINFOW: {
        auto* nm = reinterpret_cast<NMTVDISPINFOW*>(header);
        TTreeNode* node = items_->GetNode(nm->item.hItem);
        if (node && (nm->item.mask & TVIF_TEXT) && nm->item.pszText) node->SetText(WideString(nm->item.pszText));
        return;
    }
    case NM_RCLICK: {
        if (rightClickSelect_) {
            const TPoint p = ScreenToClient(Mouse->CursorPos());
            if (TTreeNode* node = GetNodeAt(p.x, p.y)) SelectNode(node, TVC_BYMOUSE);
        }
        return;
    }
    default: return;
    }
}

void TCustomTreeView::WMNotify(TWMNotify& m) {
    NMHDR* header = m.NMHdr;
    if (!header || (header->code != TTN_NEEDTEXTW && header->code != TTN_NEEDTEXTA)) {
        TWinControl::InheritedMessage(TWinControl::ClassMessages(), m.Message);
        return;
    }
    // The tooltip shows the text of the node under the mouse.
    auto* nm = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (!(nm->uFlags & TTF_IDISHWND)) return;
    const TPoint p(GET_X_LPARAM(nm->lParam), GET_Y_LPARAM(nm->lParam));
    TTreeNode* node = GetNodeAt(p.x, p.y);
    if (!node || node->Text().empty()) return;
    tipText_ = node->Text();
    nm->lpszText = tipText_.data();
    m.Result = 1;
}

void TCustomTreeView::WndProc(TMessage& m) {
    switch (m.Msg) {
    case TVM_DELETEITEM: {
        auto item = reinterpret_cast<HTREEITEM>(m.LParam);
        if (item == TVI_ROOT || item == nullptr) items_->Clear();
        else items_->Delete(items_->GetNode(item));
        m.Result = 1;
        return;
    }
    case TVM_EXPAND:
        m.Result = ExpandNode(items_->GetNode(reinterpret_cast<HTREEITEM>(m.LParam)), m.WParam & 0x3) ? 1 : 0;
        return;
    case TVM_GETCOUNT: m.Result = items_->Count(); return;
    case TVM_GETNEXTITEM: {
        TTreeNode* node = items_->GetNode(reinterpret_cast<HTREEITEM>(m.LParam));
        TTreeNode* found = nullptr;
        switch (m.WParam) {
        case TVGN_ROOT: found = items_->GetFirstNode(); break;
        case TVGN_NEXT: found = node ? node->GetNextSibling() : nullptr; break;
        case TVGN_PREVIOUS: found = node ? node->GetPrevSibling() : nullptr; break;
        case TVGN_PARENT: found = node ? node->Parent() : nullptr; break;
        case TVGN_CHILD: found = node ? node->GetFirstChild() : items_->GetFirstNode(); break;
        case TVGN_CARET: found = selected_; break;
        case TVGN_DROPHILITE: found = dropTarget_; break;
        default: break;
        }
        m.Result = reinterpret_cast<LRESULT>(found ? found->ItemId() : nullptr);
        return;
    }
    case TVM_SELECTITEM: {
        TTreeNode* node = items_->GetNode(reinterpret_cast<HTREEITEM>(m.LParam));
        if (m.WParam == TVGN_DROPHILITE) {
            SetDropTarget(node);
            m.Result = 1;
        } else {
            m.Result = SelectNode(node, static_cast<UINT>(m.WParam >> 16)) ? 1 : 0;
        }
        return;
    }
    case TVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        HTREEITEM item = nullptr;
        std::memcpy(&item, static_cast<const void*>(r), sizeof item);
        TTreeNode* node = items_->GetNode(item);
        TTreeViewPeer* peer = TreePeer();
        const TRect rect = node && peer && node->IsVisible() ? peer->NodeRect(node, m.WParam != 0) : TRect();
        *r = RECT{rect.left, rect.top, rect.right, rect.bottom};
        m.Result = rect.IsEmpty() ? 0 : 1;
        return;
    }
    case TVM_HITTEST: {
        auto* hit = reinterpret_cast<TVHITTESTINFO*>(m.LParam);
        TTreeViewPeer* peer = TreePeer();
        TTreeNode* node = peer ? peer->NodeAt(TPoint(hit->pt.x, hit->pt.y)) : nullptr;
        hit->hItem = node ? node->ItemId() : nullptr;
        hit->flags = node ? TVHT_ONITEMLABEL : TVHT_NOWHERE;
        m.Result = reinterpret_cast<LRESULT>(hit->hItem);
        return;
    }
    case TVM_ENSUREVISIBLE:
        if (TTreeNode* node = items_->GetNode(reinterpret_cast<HTREEITEM>(m.LParam))) node->MakeVisible();
        return;
    case TVM_SORTCHILDRENCB: {
        const auto* sort = reinterpret_cast<const TVSORTCB*>(m.LParam);
        m.Result = sort && SortChildren(*sort, m.WParam != 0) ? 1 : 0;
        return;
    }
    case TVM_SETITEMHEIGHT: {
        m.Result = itemHeight_;
        const int h = static_cast<int>(static_cast<LPARAM>(m.WParam));
        itemHeight_ = h < 0 ? 0 : h;
        if (auto* peer = TreePeer()) peer->SetItemHeight(itemHeight_);
        return;
    }
    case TVM_GETITEMHEIGHT: m.Result = itemHeight_ > 0 ? itemHeight_ : 16; return;
    case TVM_EDITLABELW: {
        TTreeNode* node = items_->GetNode(reinterpret_cast<HTREEITEM>(m.LParam));
        m.Result = 0;
        if (!node || readOnly_) return;
        if (editing_) EndLabelEdit(false);
        NMTVDISPINFOW nm;
        nm.item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_TEXT;
        nm.item.hItem = node->ItemId();
        nm.item.lParam = reinterpret_cast<LPARAM>(node);
        if (Notify(TVN_BEGINLABELEDITW, nm.hdr) != 0) return;
        editing_ = node;
        // The editor's window answers the text messages a program sends it.
        editHandle_ = AllocateHWnd([this](TMessage& em) {
            TTreeViewPeer* peer = TreePeer();
            if (em.Msg == WM_GETTEXTLENGTH) {
                em.Result = peer ? static_cast<LRESULT>(peer->EditText().size()) : 0;
            } else if (em.Msg == WM_GETTEXT) {
                const WideString t = peer ? peer->EditText() : WideString();
                const int max = static_cast<int>(em.WParam);
                auto* out = reinterpret_cast<LPWSTR>(em.LParam);
                if (max <= 0 || !out) return;
                const int n = std::min(static_cast<int>(t.size()), max - 1);
                std::copy(t.begin(), t.begin() + n, out);
                out[n] = 0;
                em.Result = n;
            } else if (em.Msg == WM_SETTEXT) {
                if (peer) peer->SetEditText(WideString(reinterpret_cast<LPCWSTR>(em.LParam)));
                em.Result = 1;
            }
        });
        if (auto* peer = TreePeer()) peer->BeginEdit(node);
        m.Result = reinterpret_cast<LRESULT>(editHandle_);
        return;
    }
    case TVM_GETEDITCONTROL: m.Result = reinterpret_cast<LRESULT>(editHandle_); return;
    case WM_VSCROLL:
        if (LOWORD(m.WParam) == SB_THUMBPOSITION || LOWORD(m.WParam) == SB_THUMBTRACK) {
            if (auto* peer = TreePeer()) peer->SetScrollPos(static_cast<short>(HIWORD(m.WParam)));
            m.Result = 0;
            return;
        }
        TWinControl::WndProc(m);
        return;
    // After the toolkit drew the tree, a paint with its device context lets a subclass draw
    // over it; the tree itself is already painted.
    case WM_PAINT:
        if (m.WParam) {
            m.Result = 0;
            return;
        }
        TWinControl::WndProc(m);
        return;
    case TVM_ENDEDITLABELNOW:
        m.Result = editing_ ? 1 : 0;
        EndLabelEdit(m.WParam != 0);
        return;
    default: TWinControl::WndProc(m);
    }
}
