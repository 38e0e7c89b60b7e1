#include "platform/vcl/Collections.h"

#include <algorithm>


int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::SetIndex(int index) {
    if (collection_) collection_->Move(Index(), index);
}

void TCollectionItem::Changed(bool all) {
    if (collection_) collection_->Changed(all ? nullptr : this);
}

TCollection::~TCollection() {
    updateCount_ = 1;  // no updates while going
    items_.clear();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseRangeError();
    return items_[static_cast<std::size_t>(index)].get();
}

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count()) RaiseRangeError();
    std::unique_ptr<TCollectionItem> item = factory_(this);
    TCollectionItem* raw = item.get();
    items_.insert(items_.begin() + index, std::move(item));
    Changed(nullptr);
    return raw;
}

void TCollection::Delete(int index) {
    if (index < 0 || index >= Count()) RaiseRangeError();
    items_.erase(items_.begin() + index);
    Changed(nullptr);
}

void TCollection::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed(nullptr);
}

void TCollection::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count()) RaiseRangeError();
    if (from == to) return;
    auto item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    Changed(nullptr);
}

int TCollection::IndexOf(const TCollectionItem* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed(nullptr);
}

void TCollection::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        items_.clear();
        for (const auto& item : other->items_) {
            std::unique_ptr<TCollectionItem> mine = factory_(this);
            mine->Assign(item.get());
            items_.push_back(std::move(mine));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::Update(TCollectionItem* item) {
    if (OnUpdate) OnUpdate(this, item);
}

void TCollection::Changed(TCollectionItem* item) {
    if (updateCount_ == 0) Update(item);
}
