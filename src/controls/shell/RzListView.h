// The framed list view's own parts: sorting by a clicked column with an arrow in its header
// section, the last report column stretched to the client width, and check-box changes
// reported as events (with a veto before the change).
#pragma once

#include <vector>

#include "controls/styled/DrawHelpers.h"
#include "platform/vcl/ListView.h"

enum TRzSortDirection { sdAscending, sdDescending };
enum TRzSortArrowPlacement { sapNone, sapLeftOfCaption, sapRightOfCaption, sapRightEdge };

using TRzItemCheckStateChangedEvent = std::function<void(TObject* sender, TListItem* item)>;
using TRzItemCheckStateChangingEvent =
    std::function<void(TObject* sender, TListItem* item, bool checked, bool& allow)>;

// Case-insensitive order of two items by column (0 the caption, k the (k-1)-th sub-item); empty
// texts come after the others in ascending order; descending negates; a missing item or a
// negative column compares equal.
int CompareListItems(const TListItem* a, const TListItem* b, int column, TRzSortDirection direction);
// The width the last column takes: the room left by the others, 5 at least; its own width when
// the others leave no room.
int StretchedLastColumnWidth(const std::vector<int>& widths, int clientWidth, int scrollBarWidth, bool subtractScrollBar);
// The box the sort arrow is drawn in for a header section rectangle.
TRect SortArrowBox(const TRect& section);
// Whether a section this wide shows the arrow: twice the box width must be below it.
bool SortArrowFits(const TRect& section, int columnWidth);
// The arrow: a filled triangle in clBtnShadow, bottom-aligned in the box, up for ascending.
void PaintSortArrow(TCanvas& canvas, const TRect& box, TRzSortDirection direction);

class TRzCustomListView : public TCustomListView {
    QUILLORA_COMPONENT(TRzCustomListView)
public:
    explicit TRzCustomListView(TComponent* owner);

    bool StretchLastColumnEnabled() const { return stretch_; }
    virtual void SetStretchLastColumn(bool v);
    virtual void StretchLastColumn();
    bool SortOnColumnClick() const { return sortOnColumnClick_; }
    void SetSortOnColumnClick(bool v) { sortOnColumnClick_ = v; }
    int HeaderSortColumn() const { return sortColumn_; }
    void SetHeaderSortColumn(int v);
    TRzSortDirection HeaderSortDirection() const { return sortDirection_; }
    void SetHeaderSortDirection(TRzSortDirection v);
    TRzSortArrowPlacement SortArrowPlacement() const { return arrowPlacement_; }
    void SetSortArrowPlacement(TRzSortArrowPlacement v);
    // The vertical scroll bar's width, taken off the room when there are no items.
    int ScrollBarWidth() const { return scrollBarWidth_; }
    void SetScrollBarWidth(int v) { scrollBarWidth_ = v; }

    // What a click on a column header does: sort by it (again: descending), then OnColumnClick.
    void ColumnClicked(int column);
    // Draws a header section: caption in its alignment and the arrow for the sort column.
    void DrawHeaderSection(TCanvas& canvas, int column, const TRect& r) const;

    TRzItemCheckStateChangedEvent OnItemCheckStateChanged;
    TRzItemCheckStateChangingEvent OnItemCheckStateChanging;

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void BoundsChanged() override;

private:
    bool stretch_ = true;
    bool sortOnColumnClick_ = false;
    int sortColumn_ = -1;
    int lastSortColumn_ = -1;
    TRzSortDirection sortDirection_ = sdAscending;
    TRzSortArrowPlacement arrowPlacement_ = sapRightOfCaption;
    int scrollBarWidth_ = 16;
    bool loading_ = false;
};
