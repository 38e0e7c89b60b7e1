// The tree view's multi-selection (the selected nodes in the order picked, one of them the
// primary) and moving a node with its subtree.
#include <algorithm>

#include "platform/vcl/TreeView.h"

TTreeNode* TCustomTreeView::Selections(int index) const {
    if (index < 0 || index >= static_cast<int>(selection_.size())) return nullptr;
    return selection_[static_cast<std::size_t>(index)];
}

bool TCustomTreeView::IsSelected(const TTreeNode* node) const {
    return node && std::find(selection_.begin(), selection_.end(), node) != selection_.end();
}

bool TCustomTreeView::Doomed(const TTreeNode* node) {
    for (const TTreeNode* n = node; n; n = n->parent_)
        if (n->deleting_) return true;
    return false;
}

void TCustomTreeView::SelectionShown() {
    TTreeViewPeer* peer = TreePeer();
    if (!peer) return;
    peer->SetSelected(selected_);
    if (multiSelect_) peer->SelectionChanged();
}

void TCustomTreeView::SetMultiSelect(bool v) {
    if (v == multiSelect_) return;
    multiSelect_ = v;
    if (!v) ClearSelection(true);
    if (auto* peer = TreePeer()) peer->SetMultiSelect(v);
    SelectionShown();
}

void TCustomTreeView::AddToSelection(TTreeNode* node) {
    if (!node || node->Owner() != items_.get()) return;
    if (node == selected_) return;
    // The new node becomes primary; a refused change leaves the selection as it was.
    SelectNode(node, TVC_UNKNOWN, true);
}

void TCustomTreeView::DropFromSelection(TTreeNode* node) {
    selection_.erase(std::remove(selection_.begin(), selection_.end(), node), selection_.end());
}

void TCustomTreeView::Deselect(TTreeNode* node) {
    if (!IsSelected(node)) return;
    if (node != selected_) {
        DropFromSelection(node);
        SelectionShown();
        return;
    }
    // The primary goes: the last one selected before it takes its place.
    TTreeNode* next = nullptr;
    for (auto it = selection_.rbegin(); it != selection_.rend() && !next; ++it)
        if (*it != node) next = *it;
    std::vector<TTreeNode*> kept = selection_;
    if (!SelectNode(next, TVC_UNKNOWN, next != nullptr)) return;
    kept.erase(std::remove(kept.begin(), kept.end(), node), kept.end());
    selection_ = kept;
    SelectionShown();
}

void TCustomTreeView::ClearSelection(bool keepPrimary) {
    if (keepPrimary && selected_) SelectNode(selected_, TVC_UNKNOWN);
    else SelectNode(nullptr, TVC_UNKNOWN);
}

std::vector<TTreeNode*> TCustomTreeView::RangeTo(TTreeNode* from, TTreeNode* to) const {
    std::vector<TTreeNode*> range;
    const bool upwards = from->AbsoluteIndex() > to->AbsoluteIndex();
    TTreeNode* first = upwards ? to : from;
    TTreeNode* last = upwards ? from : to;
    for (TTreeNode* n = first; n; n = n->GetNext()) {
        const bool sibling = !(multiSelectStyle_ & msSiblingOnly) || n->Parent() == from->Parent();
        if (n->IsVisible() && sibling) range.push_back(n);
        if (n == last) break;
    }
    // In the order the rows were passed, from the anchor on.
    if (upwards) std::reverse(range.begin(), range.end());
    return range;
}

void TCustomTreeView::Select(TTreeNode* node, TShiftState shift) {
    if (!node || node->Owner() != items_.get()) return;
    const bool ctrl = multiSelect_ && shift.Contains(ssCtrl) && (multiSelectStyle_ & msControlSelect);
    const bool range = multiSelect_ && shift.Contains(ssShift) && (multiSelectStyle_ & msShiftSelect) && anchor_;
    // SiblingOnly: a node of another parent starts a new selection.
    const bool sameParent = !(multiSelectStyle_ & msSiblingOnly) || !selected_ || selected_->Parent() == node->Parent();
    if ((!ctrl && !range) || !sameParent) {
        SetSelected(node);
        return;
    }
    if (range) {
        TTreeNode* anchor = anchor_;
        std::vector<TTreeNode*> picked = ctrl ? selection_ : std::vector<TTreeNode*>();
        for (TTreeNode* n : RangeTo(anchor, node))
            if (n != node && std::find(picked.begin(), picked.end(), n) == picked.end()) picked.push_back(n);
        picked.push_back(node);
        Select(picked);
        anchor_ = anchor;
        return;
    }
    if (IsSelected(node) && selection_.size() > 1) {
        Deselect(node);
        return;
    }
    if (SelectNode(node, TVC_UNKNOWN, true)) anchor_ = node;
}

void TCustomTreeView::Select(const std::vector<TTreeNode*>& nodes) {
    std::vector<TTreeNode*> picked;
    for (TTreeNode* n : nodes)
        if (n && n->Owner() == items_.get() && std::find(picked.begin(), picked.end(), n) == picked.end()) picked.push_back(n);
    if (!multiSelect_ && picked.size() > 1) picked.erase(picked.begin(), picked.end() - 1);
    TTreeNode* primary = picked.empty() ? nullptr : picked.back();
    if (!SelectNode(primary, TVC_UNKNOWN, true)) return;
    selection_ = picked;
    anchor_ = primary;
    SelectionShown();
}

void TCustomTreeView::HideSelected(TTreeNode* node) {
    if (selected_ && selected_->HasAsParent(node)) SelectNode(node, TVC_UNKNOWN, multiSelect_);
    if (!multiSelect_ || !(multiSelectStyle_ & msVisibleOnly)) return;
    const std::size_t before = selection_.size();
    selection_.erase(std::remove_if(selection_.begin(), selection_.end(), [node](const TTreeNode* n) { return n->HasAsParent(node); }),
                     selection_.end());
    if (selection_.size() != before) SelectionShown();
}

void TTreeNode::MoveTo(TTreeNode* destination, TNodeAttachMode mode) {
    if (destination == this || (destination && destination->HasAsParent(this))) return;
    if (destination && destination->owner_ != owner_) throw ETreeViewError(WideString(u"Cannot move a node to another tree"));
    const bool child = mode == naAddChild || mode == naAddChildFirst;
    TTreeNode* parent = child ? destination : (destination ? destination->parent_ : nullptr);
    TCustomTreeView* view = TreeView();
    TTreeViewPeer* peer = view->TreePeer();
    // The toolkit's view would move its current row off the rows that go and report it as a
    // new selection; it shows the selection again after the move.
    if (peer) peer->SetSelected(nullptr);
    std::unique_ptr<TTreeNode> self = owner_->Detach(this);
    if (!self) return;
    int index = 0;
    switch (mode) {
    case naAdd:
    case naAddChild: index = static_cast<int>(owner_->ChildList(parent).size()); break;
    case naAddFirst:
    case naAddChildFirst: index = 0; break;
    case naInsert: index = destination ? destination->Index() : static_cast<int>(owner_->ChildList(parent).size()); break;
    }
    owner_->Attach(std::move(self), parent, owner_->PlaceIndex(parent, index, text_));
    if (peer) {
        for (TTreeNode* n = this; n && (n == this || n->HasAsParent(this)); n = n->GetNext())
            if (n->expanded_) peer->SetExpanded(n, true);
    }
    view->SelectionShown();
}
