#include "platform/vcl/ListItems.h"

#include "platform/vcl/ListView.h"

// ---- sub-items

void TSubItems::CheckIndex(int index, int limit) const {
    if (index < 0 || index > limit) Error(u"List index out of bounds (%d)", index);
}

WideString TSubItems::Get(int index) const {
    CheckIndex(index, GetCount() - 1);
    return items_[static_cast<std::size_t>(index)].text;
}

void TSubItems::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TSubItems::Delete(int index) {
    CheckIndex(index, GetCount() - 1);
    items_.erase(items_.begin() + index);
    Changed();
}

void TSubItems::Insert(int index, const WideString& text) {
    CheckIndex(index, GetCount());
    items_.insert(items_.begin() + index, Entry{text});
    Changed();
}

void TSubItems::Put(int index, const WideString& text) {
    CheckIndex(index, GetCount() - 1);
    items_[static_cast<std::size_t>(index)].text = text;
    Changed();
}

TObject* TSubItems::GetObject(int index) const {
    CheckIndex(index, GetCount() - 1);
    return items_[static_cast<std::size_t>(index)].object;
}

void TSubItems::PutObject(int index, TObject* object) {
    CheckIndex(index, GetCount() - 1);
    items_[static_cast<std::size_t>(index)].object = object;
}

int TSubItems::ImageIndex(int index) const {
    if (index < 0 || index >= GetCount()) return -1;
    return items_[static_cast<std::size_t>(index)].image;
}

void TSubItems::SetImageIndex(int index, int image) {
    CheckIndex(index, GetCount() - 1);
    items_[static_cast<std::size_t>(index)].image = image;
    Changed();
}

void TSubItems::SetUpdateState(bool updating) {
    if (!updating) Changed();
}

void TSubItems::Changed() {
    if (UpdateCount() == 0) owner_->Changed();
}

// ---- items

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TSubItems>(this)) {}
TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return owner_ ? owner_->Owner() : nullptr; }

void TListItem::Changed() {
    if (filling_ || index_ < 0) return;
    if (TCustomListView* lv = ListView()) lv->ItemChanged(this);
}

void TListItem::SetCaption(const WideString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed();
}

void TListItem::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    Changed();
}

void TListItem::SetStateIndex(int index) {
    if (index == stateIndex_) return;
    stateIndex_ = index;
    Changed();
}

void TListItem::SetOverlayIndex(int index) {
    if (index == overlayIndex_) return;
    overlayIndex_ = index;
    Changed();
}

bool TListItem::HasState(UINT mask) const {
    const TCustomListView* lv = ListView();
    return lv && index_ >= 0 && (lv->ItemState(index_, mask) & mask) != 0;
}

void TListItem::SetState(UINT state, UINT mask) {
    if (TCustomListView* lv = ListView(); lv && index_ >= 0) lv->SetItemState(index_, state, mask);
}

bool TListItem::Checked() const {
    const TCustomListView* lv = ListView();
    if (!lv || index_ < 0) return false;
    return lv->ItemState(index_, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}
void TListItem::SetChecked(bool checked) { SetState(INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK); }
bool TListItem::Selected() const { return HasState(LVIS_SELECTED); }
void TListItem::SetSelected(bool selected) { SetState(selected ? LVIS_SELECTED : 0, LVIS_SELECTED); }
bool TListItem::Focused() const { return HasState(LVIS_FOCUSED); }
void TListItem::SetFocused(bool focused) { SetState(focused ? LVIS_FOCUSED : 0, LVIS_FOCUSED); }
bool TListItem::Cut() const { return HasState(LVIS_CUT); }
void TListItem::SetCut(bool cut) { SetState(cut ? LVIS_CUT : 0, LVIS_CUT); }
bool TListItem::DropTarget() const { return HasState(LVIS_DROPHILITED); }
void TListItem::SetDropTarget(bool target) { SetState(target ? LVIS_DROPHILITED : 0, LVIS_DROPHILITED); }

TRect TListItem::DisplayRect(TDisplayCode code) const {
    const TCustomListView* lv = ListView();
    return lv ? lv->ItemRect(index_, 0, code) : TRect();
}

TPoint TListItem::Position() const {
    const TRect r = DisplayRect(drBounds);
    return TPoint(r.left, r.top);
}

void TListItem::MakeVisible(bool) {
    if (TCustomListView* lv = ListView()) lv->MakeItemVisible(index_);
}

bool TListItem::EditCaption() {
    TCustomListView* lv = ListView();
    return lv && lv->Perform(LVM_EDITLABELW, static_cast<WPARAM>(index_), 0) != 0;
}

void TListItem::Update() {
    if (TCustomListView* lv = ListView()) lv->ItemChanged(this);
}

void TListItem::Delete() {
    if (owner_ && index_ >= 0) owner_->Delete(index_);
}

void TListItem::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TListItem*>(source);
    if (!other) return TPersistent::Assign(source);
    caption_ = other->caption_;
    subItems_->Assign(other->subItems_.get());
    for (int i = 0; i < other->subItems_->Count(); ++i) subItems_->SetImageIndex(i, other->SubItemImages(i));
    imageIndex_ = other->imageIndex_;
    stateIndex_ = other->stateIndex_;
    overlayIndex_ = other->overlayIndex_;
    indent_ = other->indent_;
    data_ = other->data_;
    Changed();
}

// ---- the list

TListItems::TListItems(TCustomListView* owner) : owner_(owner) {}

TListItems::~TListItems() {
    owner_ = nullptr;  // no notifications while going
    items_.clear();
}

int TListItems::Count() const {
    if (owner_ && owner_->OwnerData()) return owner_->ownerCount_;
    return static_cast<int>(items_.size());
}

void TListItems::SetCount(int count) {
    if (!owner_ || !owner_->OwnerData()) throw EInvalidOperation("Items.Count can only be set in owner-data mode");
    count = std::max(count, 0);
    const int old = owner_->ownerCount_;
    if (old == count) return;
    owner_->ownerCount_ = count;
    owner_->CountChanged(old, count);
}

TListItem* TListItems::Item(int index) const {
    if (owner_ && owner_->OwnerData()) {
        if (index < 0 || index >= owner_->ownerCount_) return nullptr;
        return owner_->DisplayItem(index);
    }
    if (index < 0 || index >= static_cast<int>(items_.size())) RaiseRangeError();
    return items_[static_cast<std::size_t>(index)].get();
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
    if (owner_ && owner_->OwnerData()) throw EInvalidOperation("Items cannot be added in owner-data mode");
    if (index < 0 || index > static_cast<int>(items_.size())) RaiseRangeError();
    items_.insert(items_.begin() + index, owner_ ? owner_->CreateListItem() : std::make_unique<TListItem>(this));
    Renumber(index);
    TListItem* item = items_[static_cast<std::size_t>(index)].get();
    if (owner_) owner_->ItemInserted(index);
    return item;
}

TListItem* TListItems::AddItem(const TListItem* item, int index) {
    BeginUpdate();
    TListItem* made = nullptr;
    try {
        made = Insert(index < 0 ? Count() : index);
        if (item) made->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return made;
}

void TListItems::Delete(int index) {
    if (owner_ && owner_->OwnerData()) throw EInvalidOperation("Items cannot be deleted in owner-data mode");
    if (index < 0 || index >= static_cast<int>(items_.size())) RaiseRangeError();
    if (owner_) owner_->ItemDeleting(index);
    items_.erase(items_.begin() + index);
    Renumber(index);
    if (owner_) owner_->CountChanged(Count() + 1, Count());
}

void TListItems::Clear() {
    if (owner_ && owner_->OwnerData()) {
        SetCount(0);
        return;
    }
    if (items_.empty()) return;
    if (owner_ && owner_->OnDeletion)
        for (auto& item : items_) owner_->OnDeletion(owner_, item.get());
    const int old = Count();
    items_.clear();
    if (owner_) {
        owner_->ItemsCleared();
        owner_->CountChanged(old, 0);
    }
}

int TListItems::IndexOf(const TListItem* item) const { return item && item->owner_ == this ? item->index_ : -1; }

void TListItems::BeginUpdate() { ++updateCount_; }

void TListItems::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && owner_) owner_->CountChanged(-1, Count());
}

void TListItems::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TListItems*>(source);
    if (!other) return TPersistent::Assign(source);
    BeginUpdate();
    try {
        Clear();
        for (int i = 0; i < other->Count(); ++i) AddItem(other->Item(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TListItems::Renumber(int from) {
    for (std::size_t i = static_cast<std::size_t>(from); i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i);
}
