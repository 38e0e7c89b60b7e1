// The Unicode list view: TTntListView with its typed columns and items. The class library's
// list view holds UTF-16 captions and sub-items, fetches owner data into an item of its own,
// hands the data-find string and edited labels as wide text and keeps its items when its
// window is made again, so the wide classes add their types, the wide list-control interface
// and the checks of their item class.
#pragma once

#include "controls/unicode/TntClasses.h"
#include "controls/unicode/TntControls.h"
#include "platform/vcl/ListView.h"

class TTntCustomListView;

class TTntListColumn : public TListColumn {
    QUILLORA_PERSISTENT(TTntListColumn)
public:
    explicit TTntListColumn(TCollection* collection) : TListColumn(collection) {}
    WideString GetCaption() const { return Caption(); }
    void DefineProperties(TFiler* filer) override;
};

class TTntListColumns : public TListColumns {
    QUILLORA_PERSISTENT(TTntListColumns)
public:
    explicit TTntListColumns(TCustomListView* owner);
    TTntListColumn* Add();
    TTntListColumn* GetItem(int index) const;
};

class TTntListItem : public TListItem {
public:
    explicit TTntListItem(TListItems* owner) : TListItem(owner) {}
    std::string_view ClassName() const override { return "TTntListItem"; }
    WideString GetCaption() const { return Caption(); }
    TTntCustomListView* GetListView() const;
};

class TTntListItems : public TListItems {
public:
    using TListItems::TListItems;
    std::string_view ClassName() const override { return "TTntListItems"; }
    TTntListItem* Add();
    TTntListItem* GetItem(int index) const;
};

// The item class a view makes: a function that makes one item for the items given.
using TTntListItemClass = std::unique_ptr<TListItem> (*)(TListItems* owner);
using TTntLVCreateItemClassEvent = std::function<void(TObject* sender, TTntListItemClass& itemClass)>;
using TTntLVEditedEvent = std::function<void(TObject* sender, TTntListItem* item, WideString& s)>;

class TTntCustomListView : public TTntWideControl<TCustomListView>, public IWideListControl {
    QUILLORA_COMPONENT(TTntCustomListView)
public:
    explicit TTntCustomListView(TComponent* owner);

    TTntListItem* GetSelected() const;
    void SetSelected(TListItem* item) { TCustomListView::SetSelected(item); }
    TTntListItem* GetTopItem() const;
    // The first column whose tag is tag; null when none.
    TTntListColumn* ColumnFromTag(int tag) const;
    // The item an item record names: by lParam, by iItem, or the owner-data row.
    TTntListItem* ItemFromLVItem(const LVITEMW& item) const;

    // Appends an item with the caption and the object as its data.
    void AddItem(const WideString& item, TObject* object) override;
    // Adds the selected items (caption and data) to another list control, in index order.
    void CopySelection(TControl* destination) const;

    // Replaces the item class; it must be TTntListItem or derive from it.
    TTntLVCreateItemClassEvent OnCreateItemClass;
    TTntLVEditedEvent OnEdited;

protected:
    std::unique_ptr<TListItem> CreateListItem() override;
};

class TTntListView : public TTntCustomListView {
    QUILLORA_COMPONENT(TTntListView)
public:
    using TTntCustomListView::TTntCustomListView;
    TTntListColumns* GetColumns() const;
    TTntListItems* GetItems() const;
    // Items are stored in form files unless an action or the owner data supplies them.
    bool IsItemsStored() const;
};
