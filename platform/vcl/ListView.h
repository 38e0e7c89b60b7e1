// TCustomListView and TListView: items in report, icon, small-icon or list view; columns with a
// header; owner-data (virtual) mode where OnData fills the rows drawn; check boxes as state
// images; multi-select, focus, label editing, custom draw and sorting. The control keeps the
// state its messages (LVM_*) and events need, so it works without a widget; a toolkit widget
// shows it through TCustomListViewPeer and reports the user's actions as LVN_* notifications.
#pragma once


#include <functional>
#include <memory>
#include <set>

#include "platform/vcl/Controls.h"
#include "platform/vcl/HeaderControl.h"
#include "platform/vcl/ListColumns.h"
#include "platform/vcl/ListItems.h"
#include "platform/vcl/ListViewMessages.h"

class TCustomImageList;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
// Scoped: the frame sides of the styled controls are named sdLeft and sdRight too.
enum class TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TItemStateItem { isNone, isCut, isDropHilited, isFocused, isSelected, isActivating };
using TItemStates = TSet<TItemStateItem>;
enum TCustomDrawStateItem { cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot, cdsMarked, cdsIndeterminate };
using TCustomDrawState = TSet<TCustomDrawStateItem>;
QUILLORA_ENUM_TYPEINFO(TViewStyle, "vsIcon", "vsSmallIcon", "vsList", "vsReport")

class TCustomListView;

using TLVOwnerDataEvent = std::function<void(TObject* sender, TListItem* item)>;
using TLVOwnerDataFindEvent =
    std::function<void(TObject* sender, TItemFind find, const WideString& findString, const TPoint& findPosition,
                       void* findData, int startIndex, TSearchDirection direction, bool wrap, int& index)>;
using TLVColumnClickEvent = std::function<void(TObject* sender, TListColumn* column)>;
using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;
using TLVChangeEvent = std::function<void(TObject* sender, TListItem* item, TItemChange change)>;
using TLVChangingEvent = std::function<void(TObject* sender, TListItem* item, TItemChange change, bool& allowChange)>;
using TLVCheckedEvent = std::function<void(TObject* sender, TListItem* item)>;
using TLVEditingEvent = std::function<void(TObject* sender, TListItem* item, bool& allowEdit)>;
using TLVEditedEvent = std::function<void(TObject* sender, TListItem* item, WideString& text)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* sender, TListItem* item, TCustomDrawState state, bool& defaultDraw)>;
using TLVCustomDrawSubItemEvent =
    std::function<void(TCustomListView* sender, TListItem* item, int subItem, TCustomDrawState state, bool& defaultDraw)>;
using TLVInfoTipEvent = std::function<void(TObject* sender, TListItem* item, WideString& infoTip)>;
using TLVCompareEvent = std::function<void(TObject* sender, TListItem* item1, TListItem* item2, int data, int& compare)>;
using TLVDeletedEvent = std::function<void(TObject* sender, TListItem* item)>;

// How a cell is drawn after custom draw: the canvas's font and brush as the handler left them.
struct TListCellDraw {
    bool defaultDraw = true;
    bool colorsChanged = false;  // the font's or the brush's colour differs from the defaults
    bool fontChanged = false;    // face, size or style differ from the control's font
    COLORREF textColor = 0;
    COLORREF backColor = 0;
    bool backTransparent = true;
    LOGFONTW font{};
};

// What the toolkit widget shows; the control tells it what changed and asks it where rows are.
class TCustomListViewPeer {
public:
    virtual ~TCustomListViewPeer() = default;
    // The view style, options, colours, image lists or columns changed.
    virtual void LayoutChanged() = 0;
    virtual void CountChanged(int oldCount, int newCount) = 0;
    // Rows first..last show other data (an empty range: every row).
    virtual void RowsChanged(int first, int last) = 0;
    // Selection and focus as the control now holds them.
    virtual void SelectionChanged() = 0;
    virtual int TopIndex() const = 0;
    virtual int VisibleRowCount() const = 0;
    // The rectangle of an item (subItem 0) or a sub-item, in client coordinates.
    virtual bool ItemRect(int index, int subItem, TDisplayCode code, TRect& rect) const = 0;
    virtual int ItemAt(TPoint point, int* subItem) const = 0;
    virtual void ScrollBy(int dx, int dy) = 0;
    virtual void MakeVisible(int index) = 0;
    // The header's scroll offset and height (report view).
    virtual int HorizontalOffset() const = 0;
    virtual int HeaderHeight() const = 0;
    virtual bool EditLabel(int index) = 0;
    // The header's look changed (an owner-drawn section): draw it again.
    virtual void HeaderChanged() {}
};

class TCustomListView : public TWinControl {
    QUILLORA_COMPONENT(TCustomListView)
    QUILLORA_MESSAGES()
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    // ---- items and columns
    TListItems* Items() const { return items_.get(); }
    TListColumns* Columns() const { return columns_.get(); }
    TListColumn* Column(int index) const { return columns_->Items(index); }
    bool OwnerData() const { return ownerData_; }
    void SetOwnerData(bool v);
    // The row OnData filled last is kept; this forgets it so the next access asks again.
    void InvalidateOwnerDataCache();

    // ---- appearance
    TViewStyle ViewStyle() const { return viewStyle_; }
    virtual void SetViewStyle(TViewStyle style);
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool v);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool v);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool v);
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool v) { columnClick_ = v; }
    bool SubItemImages() const { return (extendedStyle_ & LVS_EX_SUBITEMIMAGES) != 0; }
    bool InfoTips() const { return (extendedStyle_ & LVS_EX_INFOTIP) != 0; }
    DWORD ExtendedStyle() const { return extendedStyle_; }
    void SetExtendedStyle(DWORD mask, DWORD style);
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* images);
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* images);
    TCustomImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* images);
    // LVM_SETBKCOLOR / LVM_SETTEXTBKCOLOR / LVM_SETTEXTCOLOR; CLR_NONE and CLR_DEFAULT allowed.
    COLORREF BkColor() const;
    COLORREF TextBkColor() const { return textBkColor_; }
    COLORREF TextColor() const;
    TCanvas* Canvas() const { return canvas_.get(); }
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType type);

    // ---- selection and focus
    int SelCount() const { return static_cast<int>(selected_.size()); }
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    void ClearSelection();
    void SelectAll();
    // LVM_GETNEXTITEM: the next item after start (-1: from the first) with the LVNI_* flags.
    int GetNextItemIndex(int start, UINT flags) const;
    TListItem* GetNextItem(TListItem* start, TSearchDirection direction, TItemStates states) const;
    // Item state as LVIS_* bits (the state image in LVIS_STATEIMAGEMASK).
    UINT ItemState(int index, UINT mask) const;
    // Sends LVN_ITEMCHANGING (a handler may veto) and LVN_ITEMCHANGED; index -1: every item.
    bool SetItemState(int index, UINT state, UINT mask);

    // ---- geometry
    TListItem* TopItem() const;
    int VisibleRowCount() const;
    TListItem* GetItemAt(int x, int y) const;
    int ItemIndexAt(TPoint point, int* subItem = nullptr) const;
    TRect ItemRect(int index, int subItem, TDisplayCode code) const;
    void Scroll(int dx, int dy);
    void MakeItemVisible(int index);
    int RowHeight() const;
    HWND HeaderHandle() const { return headerHandle_; }
    // A column whose header section the list view draws (HDF_OWNERDRAW): its header sends the
    // list WM_DRAWITEM (ODT_HEADER) for it.
    bool HeaderOwnerDrawn(int column) const;
    THeaderLayout HeaderLayout() const;

    // ---- finding and sorting
    TListItem* FindCaption(int startIndex, const WideString& value, bool partial, bool inclusive, bool wrap) const;
    TListItem* FindData(int startIndex, void* value, bool inclusive, bool wrap) const;
    bool AlphaSort();
    bool CustomSort(PFNLVCOMPARE compare, LPARAM data);
    bool IsEditing() const { return editing_; }

    // ---- what the widget asks
    int ItemCount() const { return items_->Count(); }
    // The item of a row to show: in owner-data mode the row OnData filled (asked once per row).
    TListItem* DisplayItem(int index) const;
    // The text of a cell as shown: the item's, or asked by LVN_GETDISPINFO for a callback text.
    WideString CellText(int index, int subItem);
    bool IsSelected(int index) const { return selected_.count(index) != 0; }
    int FocusedIndex() const { return focused_; }
    bool HasCustomDraw() const { return OnCustomDrawItem || OnCustomDrawSubItem; }
    // Custom draw of a cell (subItem 0: the item) on dc; the result says how to draw it.
    TListCellDraw CustomDrawCell(HDC dc, int index, int subItem, TCustomDrawState state);
    // The info tip of an item (LVN_GETINFOTIP), empty when none.
    WideString InfoTip(int index, int subItem);

    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVColumnClickEvent OnColumnClick;
    TLVSelectItemEvent OnSelectItem;
    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVCheckedEvent OnItemChecked;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
    TLVInfoTipEvent OnInfoTip;
    TLVCompareEvent OnCompare;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;

protected:
    // A new item of the view's item class (owned by Items).
    virtual std::unique_ptr<TListItem> CreateListItem();
    // Items and columns of other classes in place of the view's (both empty: call it before
    // anything is added).
    void SetCollections(std::unique_ptr<TListItems> items, std::unique_ptr<TListColumns> columns);
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DefWndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void CNNotify(TWMNotify& m);
    void WMNotify(TWMNotify& m);

private:
    friend class TListItems;
    friend class TListItem;
    friend class TListColumns;
    friend class TSubItems;
    TCustomListViewPeer* ListPeer() const;
    void LayoutChanged();
    void ColumnsChanged();
    void ItemChanged(const TListItem* item);
    void ItemInserted(int index);
    void ItemDeleting(int index);
    void ItemsCleared();
    void CountChanged(int oldCount, int newCount);
    void SetImageList(TCustomImageList*& slot, TCustomImageList* images);
    bool AnswerListMessage(TMessage& m);
    bool AnswerItemMessage(TMessage& m);
    bool AnswerColumnMessage(TMessage& m);
    LRESULT Notify(NMHDR& header);
    void NotifyItemChanged(const NMLISTVIEW& nm);
    void ApplyState(int index, UINT state, UINT mask);
    void ChangeState(int index, UINT state, UINT mask, UINT& changedMask);
    int FindItem(UINT flags, const WideString& text, LPARAM param, int start) const;
    void ColumnTrack(const NMHEADER& header, UINT code);
    void HeaderMessage(TMessage& m);
    template <class Compare>
    bool SortItems(Compare compare);

    std::unique_ptr<TListItems> items_;
    std::unique_ptr<TListColumns> columns_;
    TCanvasPtr canvas_;
    bool ownerData_ = false;
    int ownerCount_ = 0;
    mutable std::unique_ptr<TListItem> tempItem_;  // the row OnData filled last; the view's own
    mutable int tempIndex_ = -1;
    TViewStyle viewStyle_ = vsIcon;
    bool checkboxes_ = false, gridLines_ = false, rowSelect_ = false, multiSelect_ = false;
    bool hideSelection_ = true, readOnly_ = false, showColumnHeaders_ = true, columnClick_ = true;
    DWORD extendedStyle_ = 0;
    TCustomImageList* smallImages_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    TCustomImageList* stateImages_ = nullptr;
    COLORREF bkColor_ = CLR_DEFAULT, textBkColor_ = CLR_DEFAULT, textColor_ = CLR_DEFAULT;
    TSortType sortType_ = stNone;
    std::set<int> selected_;
    int focused_ = -1;
    int selectionMark_ = -1;
    int headlessTop_ = 0;    // the first row shown without a widget
    bool editing_ = false;
    bool unicode_ = true;
    int selectionBatch_ = 0;  // while above zero the widget is told of the selection once, at the end
    HWND headerHandle_ = nullptr;
};

class TListView : public TCustomListView {
    QUILLORA_COMPONENT(TListView)
public:
    using TCustomListView::TCustomListView;
};
