#include "platform/vcl/ListView.h"

#include <algorithm>

#include "platform/vcl/GraphicsImageList.h"

const TMetaClass& TCustomListView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomListView>("TCustomListView", &TWinControl::StaticClass(), [](TClassBuilder<TCustomListView>& b) {
        b.ReadOnly("Columns", &TCustomListView::Columns);
        b.Property("Checkboxes", &TCustomListView::Checkboxes, &TCustomListView::SetCheckboxes).Default(false);
        b.Property("ColumnClick", &TCustomListView::ColumnClick, &TCustomListView::SetColumnClick).Default(true);
        b.Property("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines).Default(false);
        b.Property("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection).Default(true);
        b.Property("LargeImages", &TCustomListView::LargeImages, &TCustomListView::SetLargeImages);
        b.Property("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect).Default(false);
        b.Property("OwnerData", &TCustomListView::OwnerData, &TCustomListView::SetOwnerData).Default(false);
        b.Property("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly).Default(false);
        b.Property("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect).Default(false);
        b.Property("ShowColumnHeaders", &TCustomListView::ShowColumnHeaders, &TCustomListView::SetShowColumnHeaders).Default(true);
        b.Property("SmallImages", &TCustomListView::SmallImages, &TCustomListView::SetSmallImages);
        b.Property("SortType", &TCustomListView::SortType, &TCustomListView::SetSortType).Default(stNone);
        b.Property("StateImages", &TCustomListView::StateImages, &TCustomListView::SetStateImages);
        b.Property("ViewStyle", &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle).Default(vsIcon);
        b.Event("OnChange", &TCustomListView::OnChange);
        b.Event("OnChanging", &TCustomListView::OnChanging);
        b.Event("OnColumnClick", &TCustomListView::OnColumnClick);
        b.Event("OnCompare", &TCustomListView::OnCompare);
        b.Event("OnCustomDrawItem", &TCustomListView::OnCustomDrawItem);
        b.Event("OnCustomDrawSubItem", &TCustomListView::OnCustomDrawSubItem);
        b.Event("OnData", &TCustomListView::OnData);
        b.Event("OnDataFind", &TCustomListView::OnDataFind);
        b.Event("OnDeletion", &TCustomListView::OnDeletion);
        b.Event("OnEdited", &TCustomListView::OnEdited);
        b.Event("OnEditing", &TCustomListView::OnEditing);
        b.Event("OnInfoTip", &TCustomListView::OnInfoTip);
        b.Event("OnInsert", &TCustomListView::OnInsert);
        b.Event("OnItemChecked", &TCustomListView::OnItemChecked);
        b.Event("OnSelectItem", &TCustomListView::OnSelectItem);
    });
    return meta;
}

const TMetaClass& TListView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TListView>("TListView", &TCustomListView::StaticClass());
    return meta;
}

const TMessageTable& TCustomListView::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_NOTIFY, TCustomListView::CNNotify),
        MESSAGE_HANDLER(WM_NOTIFY, TCustomListView::WMNotify),
    });
    return table;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner),
      items_(std::make_unique<TListItems>(this)),
      columns_(std::make_unique<TListColumns>(this)),
      canvas_(NewControlCanvas(*this)) {
    SetBounds(0, 0, 250, 150);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    // The column header is a window of its own that answers the header messages.
    headerHandle_ = AllocateHWnd([this](TMessage& m) { HeaderMessage(m); });
}

TCustomListView::~TCustomListView() {
    DestroyHandle();
    DeallocateHWnd(headerHandle_);
    OnDeletion = nullptr;
    items_.reset();
}

std::unique_ptr<TListItem> TCustomListView::CreateListItem() { return std::make_unique<TListItem>(items_.get()); }

void TCustomListView::SetCollections(std::unique_ptr<TListItems> items, std::unique_ptr<TListColumns> columns) {
    items_ = std::move(items);
    columns_ = std::move(columns);
    ColumnsChanged();
}

TCustomListViewPeer* TCustomListView::ListPeer() const { return dynamic_cast<TCustomListViewPeer*>(Peer()); }

void TCustomListView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"SysListView32";
    params.OwnerPainted = false;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    const DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    params.Style |= styles[viewStyle_];
    if (!multiSelect_) params.Style |= LVS_SINGLESEL;
    if (!hideSelection_) params.Style |= LVS_SHOWSELALWAYS;
    if (!readOnly_) params.Style |= LVS_EDITLABELS;
    if (ownerData_) params.Style |= LVS_OWNERDATA;
    if (!showColumnHeaders_) params.Style |= LVS_NOCOLUMNHEADER;
}

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    LayoutChanged();
}

void TCustomListView::DestroyWnd() {
    editing_ = false;
    TWinControl::DestroyWnd();
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    for (TCustomImageList** slot : {&smallImages_, &largeImages_, &stateImages_})
        if (*slot == component) {
            *slot = nullptr;
            LayoutChanged();
        }
}

// ---- appearance

void TCustomListView::LayoutChanged() {
    if (auto* p = ListPeer()) p->LayoutChanged();
}

void TCustomListView::ColumnsChanged() { LayoutChanged(); }

void TCustomListView::SetViewStyle(TViewStyle style) {
    if (style == viewStyle_) return;
    viewStyle_ = style;
    LayoutChanged();
}

void TCustomListView::SetOwnerData(bool v) {
    if (v == ownerData_) return;
    items_->Clear();
    ownerData_ = v;
    ownerCount_ = 0;
    selected_.clear();
    focused_ = selectionMark_ = -1;
    InvalidateOwnerDataCache();
    LayoutChanged();
    if (auto* p = ListPeer()) p->CountChanged(-1, 0);
}

void TCustomListView::SetCheckboxes(bool v) { SetExtendedStyle(LVS_EX_CHECKBOXES, v ? LVS_EX_CHECKBOXES : 0); }
void TCustomListView::SetGridLines(bool v) { SetExtendedStyle(LVS_EX_GRIDLINES, v ? LVS_EX_GRIDLINES : 0); }
void TCustomListView::SetRowSelect(bool v) { SetExtendedStyle(LVS_EX_FULLROWSELECT, v ? LVS_EX_FULLROWSELECT : 0); }

void TCustomListView::SetExtendedStyle(DWORD mask, DWORD style) {
    const DWORD next = (extendedStyle_ & ~mask) | (style & mask);
    const bool checkboxesOn = (next & LVS_EX_CHECKBOXES) && !(extendedStyle_ & LVS_EX_CHECKBOXES);
    extendedStyle_ = next;
    checkboxes_ = next & LVS_EX_CHECKBOXES;
    gridLines_ = next & LVS_EX_GRIDLINES;
    rowSelect_ = next & LVS_EX_FULLROWSELECT;
    // Turning check boxes on gives every item the unchecked box.
    if (checkboxesOn && !ownerData_)
        for (auto& item : items_->items_)
            if (item->stateIndex_ < 0) item->stateIndex_ = 0;
    LayoutChanged();
}

void TCustomListView::SetMultiSelect(bool v) {
    multiSelect_ = v;
    if (!v && selected_.size() > 1) {
        const int keep = focused_ >= 0 && IsSelected(focused_) ? focused_ : *selected_.begin();
        for (int index : std::set<int>(selected_))
            if (index != keep) SetItemState(index, 0, LVIS_SELECTED);
    }
    LayoutChanged();
}

void TCustomListView::SetHideSelection(bool v) {
    hideSelection_ = v;
    LayoutChanged();
}
void TCustomListView::SetReadOnly(bool v) {
    readOnly_ = v;
    LayoutChanged();
}
void TCustomListView::SetShowColumnHeaders(bool v) {
    showColumnHeaders_ = v;
    LayoutChanged();
}

void TCustomListView::SetImageList(TCustomImageList*& slot, TCustomImageList* images) {
    if (slot == images) return;
    if (slot) slot->RemoveFreeNotification(this);
    slot = images;
    if (slot) slot->FreeNotification(this);
    LayoutChanged();
}
void TCustomListView::SetSmallImages(TCustomImageList* images) { SetImageList(smallImages_, images); }
void TCustomListView::SetLargeImages(TCustomImageList* images) { SetImageList(largeImages_, images); }
void TCustomListView::SetStateImages(TCustomImageList* images) { SetImageList(stateImages_, images); }

COLORREF TCustomListView::BkColor() const { return bkColor_ == CLR_DEFAULT ? ColorToRGB(Color()) : bkColor_; }
COLORREF TCustomListView::TextColor() const { return textColor_ == CLR_DEFAULT ? ColorToRGB(Font()->Color()) : textColor_; }

void TCustomListView::SetSortType(TSortType type) {
    sortType_ = type;
    if (type != stNone) AlphaSort();
}

// ---- items

void TCustomListView::InvalidateOwnerDataCache() { tempIndex_ = -1; }

TListItem* TCustomListView::DisplayItem(int index) const {
    if (!ownerData_) return index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr;
    if (index < 0 || index >= ownerCount_) return nullptr;
    if (tempIndex_ == index) return tempItem_.get();
    // Made on first use so that it is of the class the view's items are.
    if (!tempItem_) tempItem_ = const_cast<TCustomListView*>(this)->CreateListItem();
    TListItem& item = *tempItem_;
    item.filling_ = true;
    item.index_ = index;
    item.caption_.clear();
    item.subItems_->Clear();
    item.imageIndex_ = item.overlayIndex_ = -1;
    item.stateIndex_ = checkboxes_ ? 0 : -1;
    item.indent_ = 0;
    item.data_ = nullptr;
    tempIndex_ = index;
    try {
        if (OnData) OnData(const_cast<TCustomListView*>(this), &item);
    } catch (...) {
        item.filling_ = false;
        tempIndex_ = -1;
        throw;
    }
    item.filling_ = false;
    return &item;
}

WideString TCustomListView::CellText(int index, int subItem) {
    const TListItem* item = DisplayItem(index);
    if (!item) return {};
    if (subItem < 32 && (item->textCallbacks_ & (1u << subItem))) {
        char16_t buffer[1024] = {};
        NMLVDISPINFOW nm;
        nm.hdr.hwndFrom = WindowHandle();
        nm.hdr.code = LVN_GETDISPINFOW;
        nm.item.mask = LVIF_TEXT;
        nm.item.iItem = index;
        nm.item.iSubItem = subItem;
        nm.item.pszText = buffer;
        nm.item.cchTextMax = 1024;
        nm.item.lParam = reinterpret_cast<LPARAM>(item->Data());
        Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
        return nm.item.pszText && nm.item.pszText != LPSTR_TEXTCALLBACKW ? WideString(nm.item.pszText) : WideString();
    }
    if (subItem == 0) return item->Caption();
    return subItem - 1 < item->SubItems()->Count() ? item->SubItems()->Get(subItem - 1) : WideString();
}

void TCustomListView::ItemChanged(const TListItem* item) {
    if (items_->UpdateCount() > 0) return;
    if (auto* p = ListPeer()) p->RowsChanged(item->Index(), item->Index());
}

void TCustomListView::ItemInserted(int index) {
    // Selection and focus move with the items after the new one.
    std::set<int> moved;
    for (int i : selected_) moved.insert(i >= index ? i + 1 : i);
    selected_.swap(moved);
    if (focused_ >= index) ++focused_;
    TListItem* item = items_->Item(index);
    if (checkboxes_) item->stateIndex_ = 0;
    if (OnInsert) OnInsert(this, item);
    if (items_->UpdateCount() == 0) CountChanged(ItemCount() - 1, ItemCount());
}

void TCustomListView::ItemDeleting(int index) {
    if (OnDeletion) OnDeletion(this, items_->Item(index));
    std::set<int> moved;
    for (int i : selected_)
        if (i != index) moved.insert(i > index ? i - 1 : i);
    selected_.swap(moved);
    if (focused_ == index) focused_ = -1;
    else if (focused_ > index) --focused_;
}

void TCustomListView::ItemsCleared() {
    selected_.clear();
    focused_ = selectionMark_ = -1;
}

void TCustomListView::CountChanged(int oldCount, int newCount) {
    InvalidateOwnerDataCache();
    // A shorter list drops the selection, focus and top row beyond its end.
    if (newCount < oldCount || oldCount < 0) {
        selected_.erase(selected_.lower_bound(newCount), selected_.end());
        if (focused_ >= newCount) focused_ = -1;
        if (selectionMark_ >= newCount) selectionMark_ = -1;
    }
    headlessTop_ = std::clamp(headlessTop_, 0, std::max(newCount - VisibleRowCount(), 0));
    if (items_->UpdateCount() > 0) return;
    if (auto* p = ListPeer()) p->CountChanged(oldCount, newCount);
}

// ---- selection and focus

UINT TCustomListView::ItemState(int index, UINT mask) const {
    if (index < 0 || index >= ItemCount()) return 0;
    UINT state = 0;
    if (selected_.count(index)) state |= LVIS_SELECTED;
    if (focused_ == index) state |= LVIS_FOCUSED;
    if (mask & LVIS_STATEIMAGEMASK) {
        const TListItem* item = DisplayItem(index);
        if (item && item->StateIndex() >= 0) state |= INDEXTOSTATEIMAGEMASK(item->StateIndex() + 1);
    }
    if ((mask & LVIS_DROPHILITED) && !ownerData_ && items_->Item(index)->dropHilited_) state |= LVIS_DROPHILITED;
    return state & mask;
}

bool TCustomListView::SetItemState(int index, UINT state, UINT mask) {
    if (index < -1 || index >= ItemCount()) return false;
    NMLISTVIEW nm;
    nm.hdr.hwndFrom = WindowHandle();
    nm.iItem = index;
    nm.uChanged = LVIF_STATE;
    nm.uNewState = state & mask;
    nm.uOldState = index >= 0 ? ItemState(index, mask) : 0;
    if (index >= 0 && nm.uNewState == nm.uOldState) return true;
    if (index >= 0) {
        nm.hdr.code = LVN_ITEMCHANGING;
        if (Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)) != 0) return false;
    }
    // One item has the focus, and one is selected without multi-select: the one losing it is
    // told first.
    if (index >= 0 && (mask & state & LVIS_FOCUSED) && focused_ >= 0 && focused_ != index)
        SetItemState(focused_, 0, LVIS_FOCUSED);
    if (index >= 0 && (mask & state & LVIS_SELECTED) && !multiSelect_) {
        ++selectionBatch_;
        for (int other : std::set<int>(selected_))
            if (other != index) SetItemState(other, 0, LVIS_SELECTED);
        --selectionBatch_;
    }
    ApplyState(index, state, mask);
    nm.hdr.code = LVN_ITEMCHANGED;
    nm.uNewState = index >= 0 ? ItemState(index, mask) : state & mask;
    Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    if (auto* p = ListPeer()) {
        if ((mask & (LVIS_SELECTED | LVIS_FOCUSED)) && selectionBatch_ == 0) p->SelectionChanged();
        if (mask & ~(LVIS_SELECTED | LVIS_FOCUSED)) p->RowsChanged(index < 0 ? 0 : index, index < 0 ? -1 : index);
    }
    return true;
}

void TCustomListView::ApplyState(int index, UINT state, UINT mask) {
    if (index < 0) {
        if (mask & LVIS_SELECTED) {
            selected_.clear();
            if (state & LVIS_SELECTED)
                for (int i = 0; i < ItemCount(); ++i) selected_.insert(selected_.end(), i);
        }
        if ((mask & LVIS_FOCUSED) && !(state & LVIS_FOCUSED)) focused_ = -1;
        if ((mask & LVIS_STATEIMAGEMASK) && !ownerData_)
            for (auto& item : items_->items_) item->stateIndex_ = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1;
        if ((mask & LVIS_DROPHILITED) && !ownerData_)
            for (auto& item : items_->items_) item->dropHilited_ = (state & LVIS_DROPHILITED) != 0;
        return;
    }
    if (mask & LVIS_SELECTED) {
        if (state & LVIS_SELECTED) {
            if (!multiSelect_) selected_.clear();
            selected_.insert(index);
            selectionMark_ = index;
        } else {
            selected_.erase(index);
        }
    }
    if (mask & LVIS_FOCUSED) {
        if (state & LVIS_FOCUSED) focused_ = index;
        else if (focused_ == index) focused_ = -1;
    }
    if ((mask & LVIS_STATEIMAGEMASK) && !ownerData_)
        items_->Item(index)->stateIndex_ = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1;
    if ((mask & LVIS_DROPHILITED) && !ownerData_) items_->Item(index)->dropHilited_ = (state & LVIS_DROPHILITED) != 0;
}

TListItem* TCustomListView::Selected() const { return selected_.empty() ? nullptr : items_->Item(*selected_.begin()); }

void TCustomListView::SetSelected(TListItem* item) {
    if (multiSelect_) ClearSelection();
    if (item) item->SetSelected(true);
    else ClearSelection();
}

TListItem* TCustomListView::ItemFocused() const { return focused_ >= 0 ? items_->Item(focused_) : nullptr; }

void TCustomListView::SetItemFocused(TListItem* item) {
    if (item) item->SetFocused(true);
    else if (focused_ >= 0) SetItemState(focused_, 0, LVIS_FOCUSED);
}

int TCustomListView::ItemIndex() const { return selected_.empty() ? -1 : *selected_.begin(); }

void TCustomListView::SetItemIndex(int index) {
    if (index < 0 || index >= ItemCount()) {
        ClearSelection();
        return;
    }
    if (multiSelect_) ClearSelection();
    SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TCustomListView::ClearSelection() {
    if (selected_.empty()) return;
    if (ownerData_) {
        SetItemState(-1, 0, LVIS_SELECTED);
        return;
    }
    // One notification per item, as the items were selected one by one; the widget follows once.
    ++selectionBatch_;
    try {
        for (int index : std::set<int>(selected_)) SetItemState(index, 0, LVIS_SELECTED);
    } catch (...) {
        --selectionBatch_;
        throw;
    }
    --selectionBatch_;
    if (auto* p = ListPeer()) p->SelectionChanged();
}

void TCustomListView::SelectAll() {
    if (!multiSelect_) return;
    SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

int TCustomListView::GetNextItemIndex(int start, UINT flags) const {
    const int count = ItemCount();
    auto matches = [&](int i) {
        if ((flags & LVNI_SELECTED) && !selected_.count(i)) return false;
        if ((flags & LVNI_FOCUSED) && focused_ != i) return false;
        if ((flags & (LVNI_CUT | LVNI_DROPHILITED)) && !(ItemState(i, LVIS_CUT | LVIS_DROPHILITED) & (flags & 0xC)))
            return false;
        return true;
    };
    if (flags & LVNI_ABOVE) {
        for (int i = start - 1; i >= 0; --i)
            if (matches(i)) return i;
        return -1;
    }
    // Only the selected items need looking at when the selection is asked for.
    if ((flags & LVNI_SELECTED) && !(flags & (LVNI_CUT | LVNI_DROPHILITED))) {
        for (auto it = selected_.upper_bound(start); it != selected_.end(); ++it)
            if (matches(*it)) return *it;
        return -1;
    }
    if (flags & LVNI_FOCUSED) return focused_ > start && matches(focused_) ? focused_ : -1;
    for (int i = start + 1; i < count; ++i)
        if (matches(i)) return i;
    return -1;
}

TListItem* TCustomListView::GetNextItem(TListItem* start, TSearchDirection direction, TItemStates states) const {
    UINT flags = 0;
    if (states.Contains(isSelected)) flags |= LVNI_SELECTED;
    if (states.Contains(isFocused)) flags |= LVNI_FOCUSED;
    if (states.Contains(isCut)) flags |= LVNI_CUT;
    if (states.Contains(isDropHilited)) flags |= LVNI_DROPHILITED;
    if (direction == TSearchDirection::sdAbove || direction == TSearchDirection::sdLeft) flags |= LVNI_ABOVE;
    const int index = GetNextItemIndex(start ? start->Index() : -1, flags);
    return index >= 0 ? items_->Item(index) : nullptr;
}

// ---- geometry (the widget's when there is one)

int TCustomListView::RowHeight() const {
    const int text = std::abs(Font()->Height()) + 4;
    int image = 0;
    if (viewStyle_ == vsIcon) return (largeImages_ ? largeImages_->Height() : 32) + 2 * text;
    if (smallImages_) image = smallImages_->Height() + 1;
    if (checkboxes_ || stateImages_) image = std::max(image, stateImages_ ? stateImages_->Height() + 1 : 17);
    return std::max({text, image, 16});
}

int TCustomListView::VisibleRowCount() const {
    if (auto* p = ListPeer()) return p->VisibleRowCount();
    const int header = viewStyle_ == vsReport && showColumnHeaders_ ? RowHeight() + 4 : 0;
    return std::max((ClientHeight() - header) / RowHeight(), 0);
}

TListItem* TCustomListView::TopItem() const {
    const int top = ListPeer() ? ListPeer()->TopIndex() : headlessTop_;
    return top >= 0 && top < ItemCount() ? items_->Item(top) : nullptr;
}

TRect TCustomListView::ItemRect(int index, int subItem, TDisplayCode code) const {
    TRect r;
    if (index < 0 || index >= ItemCount()) return r;
    if (auto* p = ListPeer()) {
        p->ItemRect(index, subItem, code, r);
        return r;
    }
    const int rowH = RowHeight();
    const int header = viewStyle_ == vsReport && showColumnHeaders_ ? rowH + 4 : 0;
    const int top = header + (index - headlessTop_) * rowH;
    int width = 0;
    for (int i = 0; i < columns_->Count(); ++i) width += std::max(columns_->Items(i)->Width(), 0);
    if (columns_->Count() == 0) width = ClientWidth();
    if (subItem > 0 && subItem < columns_->Count()) {
        int left = 0;
        for (int i = 0; i < subItem; ++i) left += columns_->Items(i)->Width();
        return TRect(left, top, left + columns_->Items(subItem)->Width(), top + rowH);
    }
    const int firstRight = columns_->Count() ? columns_->Items(0)->Width() : width;
    int iconLeft = checkboxes_ || stateImages_ ? 18 : 0;
    const int iconRight = iconLeft + (smallImages_ ? smallImages_->Width() : 0);
    switch (code) {
    case drIcon: return TRect(iconLeft, top, iconRight, top + rowH);
    case drLabel: return TRect(iconRight, top, firstRight, top + rowH);
    case drSelectBounds: return TRect(iconLeft, top, rowSelect_ ? width : firstRight, top + rowH);
    default: return TRect(0, top, width, top + rowH);
    }
}

int TCustomListView::ItemIndexAt(TPoint point, int* subItem) const {
    if (subItem) *subItem = 0;
    if (auto* p = ListPeer()) return p->ItemAt(point, subItem);
    const int rowH = RowHeight();
    const int header = viewStyle_ == vsReport && showColumnHeaders_ ? rowH + 4 : 0;
    if (point.y < header || point.x < 0) return -1;
    const int index = headlessTop_ + (point.y - header) / rowH;
    if (index >= ItemCount()) return -1;
    int left = 0;
    for (int i = 0; i < columns_->Count(); ++i) {
        const int right = left + columns_->Items(i)->Width();
        if (point.x >= left && point.x < right) {
            if (subItem) *subItem = i;
            return index;
        }
        left = right;
    }
    return columns_->Count() == 0 ? index : -1;
}

TListItem* TCustomListView::GetItemAt(int x, int y) const {
    const int index = ItemIndexAt(TPoint(x, y));
    return index >= 0 ? items_->Item(index) : nullptr;
}

void TCustomListView::Scroll(int dx, int dy) {
    if (auto* p = ListPeer()) {
        p->ScrollBy(dx, dy);
        return;
    }
    const int rows = dy / RowHeight();
    headlessTop_ = std::clamp(headlessTop_ + rows, 0, std::max(ItemCount() - VisibleRowCount(), 0));
}

void TCustomListView::MakeItemVisible(int index) {
    if (index < 0 || index >= ItemCount()) return;
    if (auto* p = ListPeer()) {
        p->MakeVisible(index);
        return;
    }
    const int rows = std::max(VisibleRowCount(), 1);
    if (index < headlessTop_) headlessTop_ = index;
    else if (index >= headlessTop_ + rows) headlessTop_ = index - rows + 1;
}

THeaderLayout TCustomListView::HeaderLayout() const {
    std::vector<int> widths;
    for (int i = 0; i < columns_->Count(); ++i) widths.push_back(std::max(columns_->Items(i)->Width(), 0));
    const auto* p = ListPeer();
    const int height = p ? p->HeaderHeight() : viewStyle_ == vsReport && showColumnHeaders_ ? RowHeight() + 4 : 0;
    return THeaderLayout(std::move(widths), height, p ? p->HorizontalOffset() : 0);
}

// ---- custom draw and tips

namespace {
bool SameFont(const TFont* a, const TFont* b) {
    return a->Name() == b->Name() && a->Height() == b->Height() && a->Style() == b->Style();
}
}  // namespace

TListCellDraw TCustomListView::CustomDrawCell(HDC dc, int index, int subItem, TCustomDrawState state) {
    TListCellDraw draw;
    TListItem* item = DisplayItem(index);
    if (!item || !HasCustomDraw()) return draw;
    const TColor baseBrush = static_cast<TColor>(textBkColor_ == CLR_DEFAULT || textBkColor_ == CLR_NONE ? BkColor() : textBkColor_);
    const TColor baseText = static_cast<TColor>(TextColor());
    BeginCanvasPaint(canvas_.get(), dc, Font(), baseBrush);
    canvas_->Font()->SetColor(baseText);
    try {
        if (subItem == 0 && OnCustomDrawItem) OnCustomDrawItem(this, item, state, draw.defaultDraw);
        if (draw.defaultDraw && OnCustomDrawSubItem && (subItem > 0 || viewStyle_ == vsReport))
            OnCustomDrawSubItem(this, item, subItem, state, draw.defaultDraw);
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    draw.textColor = ColorToRGB(canvas_->Font()->Color());
    draw.backColor = ColorToRGB(canvas_->Brush()->Color());
    draw.backTransparent = canvas_->Brush()->Style() == bsClear;
    draw.colorsChanged = canvas_->Font()->Color() != baseText || canvas_->Brush()->Color() != baseBrush;
    draw.fontChanged = !SameFont(canvas_->Font(), Font());
    draw.font = canvas_->Font()->LogFont();
    EndCanvasPaint(canvas_.get());
    return draw;
}

WideString TCustomListView::InfoTip(int index, int subItem) {
    if (index < 0 || index >= ItemCount()) return {};
    char16_t buffer[1024] = {};
    NMLVGETINFOTIPW nm;
    nm.hdr.hwndFrom = WindowHandle();
    nm.hdr.code = LVN_GETINFOTIPW;
    nm.pszText = buffer;
    nm.cchTextMax = 1024;
    nm.iItem = index;
    nm.iSubItem = subItem;
    Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    return WideString(buffer);
}

// ---- finding and sorting

int TCustomListView::FindItem(UINT flags, const WideString& text, LPARAM param, int start) const {
    const int count = ItemCount();
    if (count == 0) return -1;
    if (ownerData_) {
        int found = -1;
        if (OnDataFind) {
            const TItemFind find = flags & LVFI_PARAM ? ifData : flags & LVFI_PARTIAL ? ifPartialString
                                 : flags & LVFI_STRING ? ifExactString : ifNearest;
            OnDataFind(const_cast<TCustomListView*>(this), find, text, TPoint(), reinterpret_cast<void*>(param),
                       std::max(start, 0), TSearchDirection::sdAll, (flags & LVFI_WRAP) != 0, found);
        }
        return found >= 0 && found < count ? found : -1;
    }
    const WideString wanted = WideLowerCase(text);
    auto matches = [&](int i) {
        const TListItem* item = items_->Item(i);
        if (flags & LVFI_PARAM) return reinterpret_cast<LPARAM>(item->Data()) == param;
        const WideString caption = WideLowerCase(item->Caption());
        if (flags & LVFI_PARTIAL) return caption.compare(0, wanted.size(), wanted) == 0;
        return caption == wanted;
    };
    for (int i = std::max(start, 0); i < count; ++i)
        if (matches(i)) return i;
    if (flags & LVFI_WRAP)
        for (int i = 0; i < std::min(std::max(start, 0), count); ++i)
            if (matches(i)) return i;
    return -1;
}

TListItem* TCustomListView::FindCaption(int startIndex, const WideString& value, bool partial, bool inclusive, bool wrap) const {
    const UINT flags = LVFI_STRING | (partial ? LVFI_PARTIAL : 0) | (wrap ? LVFI_WRAP : 0);
    const int index = FindItem(flags, value, 0, inclusive ? startIndex : startIndex + 1);
    return index >= 0 ? items_->Item(index) : nullptr;
}

TListItem* TCustomListView::FindData(int startIndex, void* value, bool inclusive, bool wrap) const {
    const UINT flags = LVFI_PARAM | (wrap ? LVFI_WRAP : 0);
    const int index = FindItem(flags, {}, reinterpret_cast<LPARAM>(value), inclusive ? startIndex : startIndex + 1);
    return index >= 0 ? items_->Item(index) : nullptr;
}

template <class Compare>
bool TCustomListView::SortItems(Compare compare) {
    if (ownerData_) return false;
    auto& list = items_->items_;
    std::vector<TListItem*> wasSelected;
    for (int i : selected_) wasSelected.push_back(list[static_cast<std::size_t>(i)].get());
    TListItem* wasFocused = focused_ >= 0 ? list[static_cast<std::size_t>(focused_)].get() : nullptr;
    std::stable_sort(list.begin(), list.end(), [&](const auto& a, const auto& b) { return compare(a.get(), b.get()) < 0; });
    items_->Renumber(0);
    selected_.clear();
    for (TListItem* item : wasSelected) selected_.insert(item->index_);
    focused_ = wasFocused ? wasFocused->index_ : -1;
    if (auto* p = ListPeer()) {
        p->RowsChanged(0, -1);
        p->SelectionChanged();
    }
    return true;
}

bool TCustomListView::AlphaSort() {
    return SortItems([this](TListItem* a, TListItem* b) {
        int result = 0;
        if (OnCompare) OnCompare(this, a, b, 0, result);
        else if (sortType_ == stData) result = a->Data() < b->Data() ? -1 : a->Data() > b->Data() ? 1 : 0;
        else result = WideCompareText(a->Caption(), b->Caption());
        return result;
    });
}

bool TCustomListView::CustomSort(PFNLVCOMPARE compare, LPARAM data) {
    if (!compare) return AlphaSort();
    return SortItems([&](TListItem* a, TListItem* b) {
        return compare(reinterpret_cast<LPARAM>(a->Data()), reinterpret_cast<LPARAM>(b->Data()), data);
    });
}
