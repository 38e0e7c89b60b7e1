// Combo boxes and list boxes with items that carry objects ("COMBOBOX", "LISTBOX"), owner
// drawing, and scroll bars ("SCROLLBAR").
#include <algorithm>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/StdCtrls.h"

// ---------------------------------------------------------------------------------------------
// TListControlItems

void TListControlItems::Check(int index, int limit) const {
    if (index < 0 || index >= limit) Error(u"List index out of bounds (%d)", index);
}

AnsiString TListControlItems::Get(int index) const {
    Check(index, GetCount());
    return items_[static_cast<std::size_t>(index)].text;
}

TObject* TListControlItems::GetObject(int index) const {
    Check(index, GetCount());
    return items_[static_cast<std::size_t>(index)].object;
}

void TListControlItems::PutObject(int index, TObject* object) {
    Check(index, GetCount());
    items_[static_cast<std::size_t>(index)].object = object;
}

void TListControlItems::Clear() {
    for (int i = GetCount() - 1; i >= 0; --i)
        if (TObject* object = items_[static_cast<std::size_t>(i)].object) owner_.ItemDeleting(i, object);
    items_.clear();
    owner_.ItemsCleared();
}

void TListControlItems::Delete(int index) {
    Check(index, GetCount());
    if (TObject* object = items_[static_cast<std::size_t>(index)].object) owner_.ItemDeleting(index, object);
    items_.erase(items_.begin() + index);
    owner_.ItemDeleted(index);
}

void TListControlItems::Insert(int index, const AnsiString& text) { InsertObject(index, text, nullptr); }

void TListControlItems::InsertObject(int index, const AnsiString& text, TObject* object) {
    Check(index, GetCount() + 1);
    items_.insert(items_.begin() + index, Item{text, object});
    owner_.ItemInserted(index, text);
}

// A sorted control puts a new item after the items that do not sort above it.
int TListControlItems::AddObject(const AnsiString& text, TObject* object) {
    int index = GetCount();
    if (owner_.Sorted()) {
        const auto at = std::upper_bound(items_.begin(), items_.end(), text, [this](const AnsiString& t, const Item& item) {
            return CompareStrings(t, item.text) < 0;
        });
        index = static_cast<int>(at - items_.begin());
    }
    InsertObject(index, text, object);
    return index;
}

void TListControlItems::Put(int index, const AnsiString& text) {
    Check(index, GetCount());
    items_[static_cast<std::size_t>(index)].text = text;
    owner_.ItemChanged(index, text);
}

void TListControlItems::Sort() {
    std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
    owner_.PushItems();
}

// ---------------------------------------------------------------------------------------------
// TCustomListControl

const TMetaClass& TCustomListControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomListControl>("TCustomListControl", &TWinControl::StaticClass());
    return meta;
}

const TMessageTable& TCustomListControl::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_DRAWITEM, TCustomListControl::CNDrawItem),
        MESSAGE_HANDLER(CN_MEASUREITEM, TCustomListControl::CNMeasureItem),
    });
    return table;
}

TCustomListControl::TCustomListControl(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TListControlItems>(*this)), canvas_(NewControlCanvas(*this)) {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    // Clicks come from the widget's selection (LBN_SELCHANGE, CBN_SELCHANGE).
    controlStyle_ = TControlStyle{csCaptureMouse, csDoubleClicks};
}

TCustomListControl::~TCustomListControl() = default;

void TCustomListControl::SetItems(TStrings* items) {
    if (items) items_->Assign(items);
    else items_->Clear();
}

int TCustomListControl::ItemIndex() const { return itemIndex_; }

void TCustomListControl::SetItemIndex(int index) {
    if (index < -1 || index >= items_->Count()) index = -1;
    itemIndex_ = index;
    if (TListItemsPeer* p = ItemsPeer()) p->SetItemIndex(index);
}

void TCustomListControl::SetSorted(bool v) {
    if (v == sorted_) return;
    sorted_ = v;
    if (v) items_->Sort();
}

void TCustomListControl::SetItemHeight(int v) {
    if (v <= 0 || v == itemHeight_) return;
    itemHeight_ = v;
    PushItems();
}

void TCustomListControl::ItemInserted(int index, const AnsiString& text) {
    if (itemIndex_ >= index) ++itemIndex_;
    if (TListItemsPeer* p = ItemsPeer()) p->InsertItem(index, Utf8ToUtf16(text));
}

void TCustomListControl::ItemDeleted(int index) {
    if (itemIndex_ == index) itemIndex_ = -1;
    else if (itemIndex_ > index) --itemIndex_;
    if (TListItemsPeer* p = ItemsPeer()) p->DeleteItem(index);
}

void TCustomListControl::ItemChanged(int index, const AnsiString& text) {
    if (TListItemsPeer* p = ItemsPeer()) p->SetItemText(index, Utf8ToUtf16(text));
}

void TCustomListControl::ItemsCleared() {
    itemIndex_ = -1;
    if (TListItemsPeer* p = ItemsPeer()) p->ClearItems();
}

void TCustomListControl::CreateWnd() {
    TWinControl::CreateWnd();
    PushItems();
}

void TCustomListControl::PushItems() {
    TListItemsPeer* p = ItemsPeer();
    if (!p) return;
    p->ClearItems();
    for (int i = 0; i < items_->Count(); ++i) p->InsertItem(i, Utf8ToUtf16(items_->Get(i)));
    p->SetItemIndex(itemIndex_);
}

void TCustomListControl::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->FillRect(rect);
    if (index < 0 || index >= items_->Count()) return;
    // Centred in a row taller than the text.
    const WideString text = Utf8ToUtf16(items_->Get(index));
    canvas_->TextOut(rect.left + 2, rect.top + std::max(0, (rect.Height() - canvas_->TextHeight(text)) / 2), text);
}

void TCustomListControl::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

// CN_DRAWITEM: the canvas draws on the item's context with the selection's colours.
void TCustomListControl::CNDrawItem(TMessage& m) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (!dis || !dis->hDC) return;
    TOwnerDrawState state;
    if (dis->itemState & ODS_SELECTED) state << odSelected;
    if (dis->itemState & ODS_FOCUS) state << odFocused;
    if (dis->itemState & ODS_DISABLED) state << odDisabled;
    if (dis->itemState & ODS_COMBOBOXEDIT) state << odComboBoxEdit;
    BeginCanvasPaint(canvas_.get(), dis->hDC, Font(), Color());
    if (state.Contains(odSelected)) {
        canvas_->Brush()->SetColor(clHighlight);
        canvas_->Font()->SetColor(clHighlightText);
    }
    const TRect rect(dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom);
    try {
        DrawItem(static_cast<int>(dis->itemID), rect, state);
        if (state.Contains(odFocused)) canvas_->DrawFocusRect(rect);
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    EndCanvasPaint(canvas_.get());
    m.Result = TRUE;
}

void TCustomListControl::CNMeasureItem(TMessage& m) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (!mis) return;
    int height = itemHeight_;
    MeasureItem(static_cast<int>(mis->itemID), height);
    mis->itemHeight = static_cast<UINT>(std::max(height, 1));
    m.Result = TRUE;
}

// ---------------------------------------------------------------------------------------------
// TCustomComboBox

const TMetaClass& TCustomComboBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomComboBox>("TCustomComboBox", &TCustomListControl::StaticClass());
    return meta;
}

const TMetaClass& TComboBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TComboBox>("TComboBox", &TCustomComboBox::StaticClass(), [](TClassBuilder<TComboBox>& b) {
        b.Property("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
        b.Property("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
        b.Property("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight).Default(16);
        b.Property("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
        b.Property("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false);
        b.Property("Text", &TComboBox::Text, &TComboBox::SetText);
        b.Property("Items", &TComboBox::Items, &TComboBox::SetItems);
        b.Property("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1);
        b.Event("OnChange", static_cast<decltype(TComboBox::OnChange) TComboBox::*>(&TComboBox::OnChange));
        b.Event("OnSelect", static_cast<decltype(TComboBox::OnSelect) TComboBox::*>(&TComboBox::OnSelect));
        b.Event("OnDropDown", static_cast<decltype(TComboBox::OnDropDown) TComboBox::*>(&TComboBox::OnDropDown));
        b.Event("OnCloseUp", static_cast<decltype(TComboBox::OnCloseUp) TComboBox::*>(&TComboBox::OnCloseUp));
        b.Event("OnDrawItem", static_cast<decltype(TComboBox::OnDrawItem) TComboBox::*>(&TComboBox::OnDrawItem));
        b.Event("OnMeasureItem", static_cast<decltype(TComboBox::OnMeasureItem) TComboBox::*>(&TComboBox::OnMeasureItem));
    });
    return meta;
}

const TMessageTable& TCustomComboBox::ClassMessages() {
    static const TMessageTable table(&TCustomListControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_SETTEXT, TCustomComboBox::WMSetText),
        MESSAGE_HANDLER(WM_GETDLGCODE, TCustomComboBox::WMGetDlgCode),
        MESSAGE_HANDLER(CN_COMMAND, TCustomComboBox::CNCommand),
        MESSAGE_HANDLER(CB_GETCOUNT, TCustomComboBox::CBGetCount),
        MESSAGE_HANDLER(CB_GETCURSEL, TCustomComboBox::CBGetCurSel),
        MESSAGE_HANDLER(CB_SETCURSEL, TCustomComboBox::CBSetCurSel),
        MESSAGE_HANDLER(CB_SHOWDROPDOWN, TCustomComboBox::CBShowDropDown),
        MESSAGE_HANDLER(CB_GETDROPPEDSTATE, TCustomComboBox::CBGetDroppedState),
    });
    return table;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomListControl(owner) { SetBounds(0, 0, 145, 25); }

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
    if (v == style_) return;
    style_ = v;
    if (v == csDropDownList) SelectItemOfText();
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int v) {
    dropDownCount_ = std::max(v, 1);
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) p->SetDropDownCount(dropDownCount_);
}

void TCustomComboBox::SetMaxLength(int v) {
    maxLength_ = std::max(v, 0);
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) p->SetMaxLength(maxLength_);
}

bool TCustomComboBox::DroppedDown() const {
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) return p->DroppedDown();
    return droppedDown_;
}

void TCustomComboBox::SetDroppedDown(bool v) { Perform(CB_SHOWDROPDOWN, v ? TRUE : FALSE, 0); }

int TCustomComboBox::ItemIndex() const { return itemIndex_; }

// Choosing an item shows its text; -1 empties the text.
void TCustomComboBox::SetItemIndex(int index) {
    TCustomListControl::SetItemIndex(index);
    text_ = itemIndex_ >= 0 ? Utf8ToUtf16(Items()->Get(itemIndex_)) : WideString();
    if (TWidgetPeer* p = Peer(); p && style_ != csDropDownList) p->SetText(text_);
}

void TCustomComboBox::SelectItemOfText() {
    const int index = Items()->IndexOf(Utf16ToUtf8(text_));
    if (index >= 0 || style_ == csDropDownList) SetItemIndex(index);
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TCustomListControl::CreateParams(params);
    params.WinClassName = u"COMBOBOX";
    params.OwnerPainted = false;
    params.Style |= WS_VSCROLL;
    switch (style_) {
    case csDropDown: params.Style |= CBS_DROPDOWN; break;
    case csSimple: params.Style |= CBS_SIMPLE; break;
    case csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
    }
    if (Sorted()) params.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd() {
    TCustomListControl::CreateWnd();
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) {
        p->SetDropDownCount(dropDownCount_);
        p->SetMaxLength(maxLength_);
    }
    if (style_ != csDropDownList && itemIndex_ < 0 && Peer()) Peer()->SetText(text_);
}

void TCustomComboBox::PushItems() {
    TCustomListControl::PushItems();
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) p->SetItemHeight(ItemHeight());
}

void TCustomComboBox::GetEditSelection(int& start, int& length) const {
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) {
        p->EditSelection(start, length);
        return;
    }
    start = editSelStart_;
    length = editSelLength_;
}

void TCustomComboBox::SetEditSelection(int start, int length) {
    const int size = static_cast<int>(text_.size());
    editSelStart_ = std::clamp(start, 0, size);
    editSelLength_ = std::clamp(length, 0, size - editSelStart_);
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) p->SetEditSelection(editSelStart_, editSelLength_);
}

void TCustomComboBox::ItemDeleted(int index) {
    const bool wasSelected = index == itemIndex_;
    TCustomListControl::ItemDeleted(index);
    if (wasSelected) text_.clear();
}

void TCustomComboBox::ItemsCleared() {
    TCustomListControl::ItemsCleared();
    text_.clear();
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect) OnSelect(this);
    else Change();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

// A drop-down list shows only its items' texts: the text selects the item it names.
void TCustomComboBox::WMSetText(TMessage& m) {
    const auto* text = reinterpret_cast<LPCWSTR>(m.LParam);
    text_ = text ? WideString(text) : WideString();
    m.Result = TRUE;
    if (style_ == csDropDownList || style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) {
        const int index = Items()->IndexOf(Utf16ToUtf8(text_));
        TCustomListControl::SetItemIndex(index);
        text_ = index >= 0 ? Utf8ToUtf16(Items()->Get(index)) : WideString();
        return;
    }
    if (TWidgetPeer* p = Peer()) p->SetText(text_);
}

void TCustomComboBox::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomComboBox::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
    case CBN_SELCHANGE:
        if (TListItemsPeer* p = ItemsPeer()) itemIndex_ = p->ItemIndex();
        text_ = itemIndex_ >= 0 ? Utf8ToUtf16(Items()->Get(itemIndex_)) : WideString();
        Click();
        Select();
        break;
    case CBN_EDITCHANGE:
        if (TWidgetPeer* p = Peer())
            if (std::optional<WideString> t = p->Text()) text_ = *t;
        Change();
        break;
    case CBN_DROPDOWN:
        droppedDown_ = true;
        DropDown();
        break;
    case CBN_CLOSEUP:
        droppedDown_ = false;
        CloseUp();
        break;
    default: break;
    }
}

void TCustomComboBox::CBGetCount(TMessage& m) { m.Result = Items()->Count(); }
void TCustomComboBox::CBGetCurSel(TMessage& m) { m.Result = itemIndex_; }

void TCustomComboBox::CBSetCurSel(TMessage& m) {
    const int index = static_cast<int>(static_cast<INT_PTR>(m.WParam));
    SetItemIndex(index);
    m.Result = index >= 0 && index == itemIndex_ ? index : CB_ERR;
}

void TCustomComboBox::CBShowDropDown(TMessage& m) {
    const bool drop = m.WParam != 0;
    if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) {
        p->SetDroppedDown(drop);  // the widget reports CBN_DROPDOWN / CBN_CLOSEUP
        return;
    }
    if (drop == droppedDown_) return;
    droppedDown_ = drop;
    if (drop) DropDown();
    else CloseUp();
}

void TCustomComboBox::CBGetDroppedState(TMessage& m) { m.Result = DroppedDown() ? TRUE : FALSE; }

// ---------------------------------------------------------------------------------------------
// TCustomListBox

const TMetaClass& TCustomListBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomListBox>("TCustomListBox", &TCustomListControl::StaticClass());
    return meta;
}

const TMetaClass& TListBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TListBox>("TListBox", &TCustomListBox::StaticClass(), [](TClassBuilder<TListBox>& b) {
        b.Property("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect).Default(true);
        b.Property("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight).Default(16);
        b.Property("Items", &TListBox::Items, &TListBox::SetItems);
        b.Property("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(false);
        b.Property("Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(false);
        b.Property("Style", &TListBox::Style, &TListBox::SetStyle).Default(lbStandard);
        b.Event("OnDrawItem", static_cast<decltype(TListBox::OnDrawItem) TListBox::*>(&TListBox::OnDrawItem));
        b.Event("OnMeasureItem", static_cast<decltype(TListBox::OnMeasureItem) TListBox::*>(&TListBox::OnMeasureItem));
    });
    return meta;
}

const TMessageTable& TCustomListBox::ClassMessages() {
    static const TMessageTable table(&TCustomListControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_COMMAND, TCustomListBox::CNCommand),
        MESSAGE_HANDLER(LB_GETCOUNT, TCustomListBox::LBGetCount),
        MESSAGE_HANDLER(LB_GETCURSEL, TCustomListBox::LBGetCurSel),
        MESSAGE_HANDLER(LB_SETCURSEL, TCustomListBox::LBSetCurSel),
        MESSAGE_HANDLER(LB_GETSEL, TCustomListBox::LBGetSel),
        MESSAGE_HANDLER(LB_SETSEL, TCustomListBox::LBSetSel),
        MESSAGE_HANDLER(LB_GETTOPINDEX, TCustomListBox::LBGetTopIndex),
        MESSAGE_HANDLER(LB_SETTOPINDEX, TCustomListBox::LBSetTopIndex),
    });
    return table;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TCustomListControl(owner) { SetBounds(0, 0, 121, 97); }

void TCustomListBox::SetStyle(TListBoxStyle v) {
    if (v == style_) return;
    style_ = v;
    if (auto* p = BoxPeer()) p->SetOwnerDraw(v != lbStandard, v == lbOwnerDrawVariable, ItemHeight());
}

void TCustomListBox::SetMultiSelect(bool v) {
    if (v == multiSelect_) return;
    multiSelect_ = v;
    if (!v) std::fill(selected_.begin(), selected_.end(), false);
    if (auto* p = BoxPeer()) p->SetMultiSelect(multiSelect_, extendedSelect_);
}

void TCustomListBox::SetExtendedSelect(bool v) {
    if (v == extendedSelect_) return;
    extendedSelect_ = v;
    if (auto* p = BoxPeer()) p->SetMultiSelect(multiSelect_, extendedSelect_);
}

bool TCustomListBox::Selected(int index) const {
    if (index < 0 || index >= Items()->Count()) throw EStringListError(WideFormat(u"List index out of bounds (%d)", index));
    if (!multiSelect_) return index == itemIndex_;
    return selected_[static_cast<std::size_t>(index)];
}

void TCustomListBox::SetSelected(int index, bool selected) {
    if (index < 0 || index >= Items()->Count()) throw EStringListError(WideFormat(u"List index out of bounds (%d)", index));
    if (!multiSelect_) {
        if (selected) SetItemIndex(index);
        else if (index == itemIndex_) SetItemIndex(-1);
        return;
    }
    selected_[static_cast<std::size_t>(index)] = selected;
    if (auto* p = BoxPeer()) p->SetSelected(index, selected);
}

int TCustomListBox::SelCount() const {
    if (!multiSelect_) return -1;
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void TCustomListBox::ClearSelection() {
    if (!multiSelect_) {
        SetItemIndex(-1);
        return;
    }
    for (int i = 0; i < Items()->Count(); ++i) SetSelected(i, false);
}

void TCustomListBox::SelectAll() {
    if (!multiSelect_) return;
    for (int i = 0; i < Items()->Count(); ++i) SetSelected(i, true);
}

int TCustomListBox::TopIndex() const {
    if (auto* p = BoxPeer()) return p->TopIndex();
    return topIndex_;
}

void TCustomListBox::SetTopIndex(int index) {
    topIndex_ = std::clamp(index, 0, std::max(Items()->Count() - 1, 0));
    if (auto* p = BoxPeer()) p->SetTopIndex(topIndex_);
}

int TCustomListBox::ItemIndex() const { return itemIndex_; }

void TCustomListBox::SetItemIndex(int index) {
    TCustomListControl::SetItemIndex(index);
    if (multiSelect_ && itemIndex_ >= 0) selected_[static_cast<std::size_t>(itemIndex_)] = true;
}

TRect TCustomListBox::ItemRect(int index) const {
    if (auto* p = BoxPeer()) return p->ItemRect(index);
    const int top = (index - topIndex_) * ItemHeight();
    return TRect(0, top, ClientWidth(), top + ItemHeight());
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) const {
    for (int i = TopIndex(); i < Items()->Count(); ++i) {
        const TRect r = ItemRect(i);
        if (r.Height() <= 0 || r.top > ClientHeight()) break;
        if (pos.y >= r.top && pos.y < r.bottom) return i;
    }
    return existing ? -1 : Items()->Count();
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    TCustomListControl::CreateParams(params);
    params.WinClassName = u"LISTBOX";
    params.OwnerPainted = false;
    params.Style |= LBS_NOTIFY | WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (Sorted()) params.Style |= LBS_SORT;
    if (multiSelect_) params.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (style_ == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
    if (style_ == lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
}

void TCustomListBox::CreateWnd() {
    // The items follow the widget's drawing and selection modes.
    TWinControl::CreateWnd();
    if (auto* p = BoxPeer()) {
        p->SetOwnerDraw(style_ != lbStandard, style_ == lbOwnerDrawVariable, ItemHeight());
        p->SetMultiSelect(multiSelect_, extendedSelect_);
        PushItems();
        p->SetTopIndex(topIndex_);
    }
}

void TCustomListBox::ItemInserted(int index, const AnsiString& text) {
    selected_.insert(selected_.begin() + index, false);
    TCustomListControl::ItemInserted(index, text);
}

void TCustomListBox::ItemDeleted(int index) {
    selected_.erase(selected_.begin() + index);
    TCustomListControl::ItemDeleted(index);
}

void TCustomListBox::ItemsCleared() {
    selected_.clear();
    topIndex_ = 0;
    TCustomListControl::ItemsCleared();
}

void TCustomListBox::PushItems() {
    TCustomListControl::PushItems();
    if (auto* p = BoxPeer(); p && multiSelect_)
        for (int i = 0; i < static_cast<int>(selected_.size()); ++i)
            if (selected_[static_cast<std::size_t>(i)]) p->SetSelected(i, true);
}

// LBN_SELCHANGE: the widget's selection becomes the control's, then OnClick.
void TCustomListBox::CNCommand(TMessage& m) {
    const WORD code = HIWORD(m.WParam);
    if (code == LBN_DBLCLK) {
        DblClick();
        return;
    }
    if (code != LBN_SELCHANGE) return;
    if (auto* p = BoxPeer()) {
        itemIndex_ = p->ItemIndex();
        if (multiSelect_)
            for (int i = 0; i < static_cast<int>(selected_.size()); ++i) selected_[static_cast<std::size_t>(i)] = p->Selected(i);
    }
    Click();
}

void TCustomListBox::LBGetCount(TMessage& m) { m.Result = Items()->Count(); }
void TCustomListBox::LBGetCurSel(TMessage& m) { m.Result = itemIndex_; }

void TCustomListBox::LBSetCurSel(TMessage& m) {
    const int index = static_cast<int>(static_cast<INT_PTR>(m.WParam));
    SetItemIndex(index);
    m.Result = index >= 0 && index == itemIndex_ ? index : LB_ERR;
}

void TCustomListBox::LBGetSel(TMessage& m) {
    const int index = static_cast<int>(static_cast<INT_PTR>(m.WParam));
    m.Result = index >= 0 && index < Items()->Count() ? (Selected(index) ? 1 : 0) : LB_ERR;
}

// LB_SETSEL (select, index): index -1 is every item.
void TCustomListBox::LBSetSel(TMessage& m) {
    const int index = static_cast<int>(m.LParam);
    if (!multiSelect_ || index < -1 || index >= Items()->Count()) {
        m.Result = LB_ERR;
        return;
    }
    for (int i = index < 0 ? 0 : index; i < (index < 0 ? Items()->Count() : index + 1); ++i) SetSelected(i, m.WParam != 0);
}

void TCustomListBox::LBGetTopIndex(TMessage& m) { m.Result = TopIndex(); }
void TCustomListBox::LBSetTopIndex(TMessage& m) { SetTopIndex(static_cast<int>(static_cast<INT_PTR>(m.WParam))); }

// ---------------------------------------------------------------------------------------------
// TScrollBar

const TMetaClass& TScrollBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TScrollBar>("TScrollBar", &TWinControl::StaticClass(), [](TClassBuilder<TScrollBar>& b) {
        b.Property("Kind", &TScrollBar::Kind, &TScrollBar::SetKind).Default(sbHorizontal);
        b.Property("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange).Default(1);
        b.Property("Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100);
        b.Property("Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0);
        b.Property("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize).Default(0);
        b.Property("Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0);
        b.Property("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange).Default(1);
        b.Event("OnChange", static_cast<decltype(TScrollBar::OnChange) TScrollBar::*>(&TScrollBar::OnChange));
        b.Event("OnScroll", static_cast<decltype(TScrollBar::OnScroll) TScrollBar::*>(&TScrollBar::OnScroll));
    });
    return meta;
}

const TMessageTable& TScrollBar::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_HSCROLL, TScrollBar::CNScroll),
        MESSAGE_HANDLER(CN_VSCROLL, TScrollBar::CNScroll),
    });
    return table;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 17);
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind v) {
    if (v == kind_) return;
    kind_ = v;
    range_.Vertical = v == sbVertical;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    Push();
}

void TScrollBar::SetSmallChange(int v) {
    range_.SmallChange = std::max(v, 1);
    Push();
}

void TScrollBar::SetLargeChange(int v) {
    range_.LargeChange = std::max(v, 1);
    Push();
}

void TScrollBar::SetPageSize(int v) {
    range_.PageSize = std::clamp(v, 0, std::max(range_.Max - range_.Min + 1, 0));
    Push();
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) throw EInvalidOperation("Scroll bar property out of range");
    const bool changed = std::clamp(position, min, max) != range_.Position;
    range_.Min = min;
    range_.Max = max;
    range_.Position = std::clamp(position, min, max);
    Push();
    if (changed) Change();
}

void TScrollBar::Push() {
    if (auto* p = dynamic_cast<TRangePeer*>(Peer())) p->SetRange(range_);
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"SCROLLBAR";
    params.OwnerPainted = false;
    params.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    Push();
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int& pos) {
    if (OnScroll) OnScroll(this, code, pos);
}

// The scroll code moves the position by a line or a page, to an end, or to the thumb.
void TScrollBar::CNScroll(TMessage& m) {
    const auto code = static_cast<TScrollCode>(std::min<WORD>(LOWORD(m.WParam), scEndScroll));
    int pos = range_.Position;
    switch (code) {
    case scLineUp: pos -= range_.SmallChange; break;
    case scLineDown: pos += range_.SmallChange; break;
    case scPageUp: pos -= range_.LargeChange; break;
    case scPageDown: pos += range_.LargeChange; break;
    case scPosition:
    case scTrack:
        pos = HIWORD(m.WParam);
        if (auto* p = dynamic_cast<TRangePeer*>(Peer())) pos = p->TrackPosition();
        break;
    case scTop: pos = range_.Min; break;
    case scBottom: pos = range_.Max; break;
    case scEndScroll: break;
    }
    pos = std::clamp(pos, range_.Min, range_.Max);
    Scroll(code, pos);
    SetPosition(pos);
}
