#include "controls/unicode/TntListView.h"

#include "controls/unicode/TntWideProperties.h"

namespace {

template <class T, class S>
T* CheckedCast(S* object) {
    if (!object) return nullptr;
    if (auto* typed = dynamic_cast<T*>(object)) return typed;
    throw EInvalidCast(u"Invalid class typecast");
}

}  // namespace

// --- columns ----------------------------------------------------------------------------------

const TMetaClass& TTntListColumn::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TTntListColumn>("TTntListColumn", &TListColumn::StaticClass(), [](TClassBuilder<TTntListColumn>& b) {
            b.Property("Caption", &TTntListColumn::Caption, &TTntListColumn::SetCaption).NoDefault();
        });
    return meta;
}

void TTntListColumn::DefineProperties(TFiler* filer) {
    TListColumn::DefineProperties(filer);
    DefineWideProperties(filer, this);
}

const TMetaClass& TTntListColumns::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntListColumns>("TTntListColumns", &TListColumns::StaticClass());
    return meta;
}

TTntListColumns::TTntListColumns(TCustomListView* owner)
    : TListColumns(owner, [](TCollection* c) { return std::make_unique<TTntListColumn>(c); }) {
    TTntListColumn::StaticClass();
}

TTntListColumn* TTntListColumns::Add() { return CheckedCast<TTntListColumn>(TListColumns::Add()); }

TTntListColumn* TTntListColumns::GetItem(int index) const { return CheckedCast<TTntListColumn>(Items(index)); }

// --- items ------------------------------------------------------------------------------------

TTntCustomListView* TTntListItem::GetListView() const { return CheckedCast<TTntCustomListView>(ListView()); }

TTntListItem* TTntListItems::Add() { return CheckedCast<TTntListItem>(TListItems::Add()); }

TTntListItem* TTntListItems::GetItem(int index) const { return CheckedCast<TTntListItem>(Item(index)); }

// --- the view ---------------------------------------------------------------------------------

const TMetaClass& TTntCustomListView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntCustomListView>(
        "TTntCustomListView", &TCustomListView::StaticClass(),
        [](TClassBuilder<TTntCustomListView>& b) {
            PublishWideHint(b);
            b.Event("OnEdited", &TTntCustomListView::OnEdited);
            b.Event("OnCreateItemClass", &TTntCustomListView::OnCreateItemClass);
        });
    return meta;
}

TTntCustomListView::TTntCustomListView(TComponent* owner) : TTntWideControl<TCustomListView>(owner) {
    SetCollections(std::make_unique<TTntListItems>(this), std::make_unique<TTntListColumns>(this));
    // The view's own edited event hands the handler the typed item.
    TCustomListView::OnEdited = [this](TObject* sender, TListItem* item, WideString& text) {
        if (OnEdited) OnEdited(sender, CheckedCast<TTntListItem>(item), text);
    };
}

std::unique_ptr<TListItem> TTntCustomListView::CreateListItem() {
    TTntListItemClass itemClass = [](TListItems* owner) -> std::unique_ptr<TListItem> {
        return std::make_unique<TTntListItem>(owner);
    };
    if (OnCreateItemClass) OnCreateItemClass(this, itemClass);
    std::unique_ptr<TListItem> item = itemClass(Items());
    if (!dynamic_cast<TTntListItem*>(item.get()))
        throw ETntInternalError(u"Internal Error: OnCreateItemClass.ItemClass must inherit from TTntListItem.");
    return item;
}

TTntListItem* TTntCustomListView::GetSelected() const { return CheckedCast<TTntListItem>(Selected()); }

TTntListItem* TTntCustomListView::GetTopItem() const { return CheckedCast<TTntListItem>(TopItem()); }

TTntListColumn* TTntCustomListView::ColumnFromTag(int tag) const {
    for (int i = 0; i < Columns()->Count(); ++i)
        if (Columns()->Items(i)->Tag() == tag) return CheckedCast<TTntListColumn>(Columns()->Items(i));
    return nullptr;
}

TTntListItem* TTntCustomListView::ItemFromLVItem(const LVITEMW& item) const {
    if (item.mask & LVIF_PARAM) return CheckedCast<TTntListItem>(reinterpret_cast<TListItem*>(item.lParam));
    if (item.iItem >= 0 && item.iItem < Items()->Count()) return CheckedCast<TTntListItem>(Items()->Item(item.iItem));
    return nullptr;
}

void TTntCustomListView::AddItem(const WideString& item, TObject* object) {
    TListItem* added = Items()->Add();
    added->SetCaption(item);
    added->SetData(object);
}

void TTntCustomListView::CopySelection(TControl* destination) const {
    for (int i = 0; i < Items()->Count(); ++i) {
        if (!IsSelected(i)) continue;
        const TListItem* item = Items()->Item(i);
        WideListControlAddItem(destination, item->Caption(), static_cast<TObject*>(item->Data()));
    }
}

const TMetaClass& TTntListView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntListView>(
        "TTntListView", &TTntCustomListView::StaticClass(), [](TClassBuilder<TTntListView>& b) {
            b.ReadOnly("Columns", &TTntListView::GetColumns);
        });
    return meta;
}

TTntListColumns* TTntListView::GetColumns() const { return CheckedCast<TTntListColumns>(Columns()); }

TTntListItems* TTntListView::GetItems() const { return CheckedCast<TTntListItems>(Items()); }

bool TTntListView::IsItemsStored() const { return !OwnerData(); }
