// The framed list view: a frame painted over its border, colours that follow its state and the
// frame-controller link (as the framed tree view has), sorting by a clicked column with an
// arrow in its own drawing of the header section, the last report column stretched to the
// client width, item info tips in its own hint window, per-item context menus, and check-box
// changes reported as events (with a veto before the change).
#pragma once

#include <memory>
#include <vector>

#include "controls/shell/RzViewFrame.h"
#include "controls/styled/DrawHelpers.h"
#include "platform/vcl/HintWindow.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/Menus.h"

enum TRzSortDirection { sdAscending, sdDescending };
enum TRzSortArrowPlacement { sapNone, sapLeftOfCaption, sapRightOfCaption, sapRightEdge };

using TRzItemCheckStateChangedEvent = std::function<void(TObject* sender, TListItem* item)>;
using TRzItemCheckStateChangingEvent =
    std::function<void(TObject* sender, TListItem* item, bool checked, bool& allow)>;
// What an item's context menu shows and where: the handler may move the point (client
// coordinates) or change or clear the menu.
using TRzItemContextMenuEvent =
    std::function<void(TObject* sender, TListItem* item, TPoint& mousePos, TPopupMenu*& menu)>;
using TRzDrawHeaderSectionEvent =
    std::function<void(TObject* sender, TCanvas* canvas, int column, const TRect& rect)>;

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

// Where a header section's caption and sort arrow go.
struct TRzHeaderSectionLayout {
    TRect text;            // the caption's rectangle
    TRect arrow;           // the arrow's box
    bool arrowShown = false;
    bool arrowAfterCaption = false;  // the box follows the caption's measured end (left-aligned)
};
// The layout of a section's contents in r (the section less its edge) for a caption alignment;
// sorted: the section's column is the sort column.
TRzHeaderSectionLayout LayoutHeaderSection(const TRect& r, int columnWidth, TAlignment alignment,
                                           TRzSortArrowPlacement placement, bool sorted);

class TRzCustomListView : public TCustomListView {
    QUILLORA_COMPONENT(TRzCustomListView)
public:
    explicit TRzCustomListView(TComponent* owner);
    ~TRzCustomListView() override;

    bool StretchLastColumnEnabled() const { return stretch_; }
    virtual void SetStretchLastColumn(bool v);
    virtual void StretchLastColumn();
    bool SortOnColumnClick() const { return sortOnColumnClick_; }
    void SetSortOnColumnClick(bool v) { sortOnColumnClick_ = v; }
    bool EditOnRowClick() const { return editOnRowClick_; }
    void SetEditOnRowClick(bool v) { editOnRowClick_ = v; }
    int HeaderSortColumn() const { return sortColumn_; }
    void SetHeaderSortColumn(int v);
    TRzSortDirection HeaderSortDirection() const { return sortDirection_; }
    void SetHeaderSortDirection(TRzSortDirection v);
    TRzSortArrowPlacement SortArrowPlacement() const { return arrowPlacement_; }
    void SetSortArrowPlacement(TRzSortArrowPlacement v);
    // Off: OnDrawHeaderSection draws the sections instead.
    bool DefaultHeaderDrawing() const { return defaultHeaderDrawing_; }
    void SetDefaultHeaderDrawing(bool v);
    // The vertical scroll bar's width, taken off the room when there are no items.
    int ScrollBarWidth() const { return scrollBarWidth_; }
    void SetScrollBarWidth(int v) { scrollBarWidth_ = v; }

    // ---- frame and colours
    TColor DisabledColor() const { return frame_.disabledColor; }
    virtual void SetDisabledColor(TColor v);
    TColor FocusColor() const { return frame_.focusColor; }
    virtual void SetFocusColor(TColor v);
    TColor FrameColor() const { return frame_.frameColor; }
    virtual void SetFrameColor(TColor v) { ChangeFrame(frame_.frameColor, v); }
    TRzFrameController* FrameController() const { return frame_.controller; }
    virtual void SetFrameController(TRzFrameController* v);
    TRzFrameControllerNotifications FrameControllerNotifications() const { return frame_.notifications; }
    void SetFrameControllerNotifications(TRzFrameControllerNotifications v) { frame_.notifications = v; }
    TColor FrameHotColor() const { return frame_.frameHotColor; }
    virtual void SetFrameHotColor(TColor v) { ChangeFrame(frame_.frameHotColor, v); }
    bool FrameHotTrack() const { return frame_.hotTrack; }
    virtual void SetFrameHotTrack(bool v);
    TFrameStyle FrameHotStyle() const { return frame_.hotStyle; }
    virtual void SetFrameHotStyle(TFrameStyle v) { ChangeFrame(frame_.hotStyle, v); }
    TSides FrameSides() const { return frame_.sides; }
    virtual void SetFrameSides(TSides v) { ChangeFrame(frame_.sides, v); }
    TFrameStyle FrameStyle() const { return frame_.style; }
    virtual void SetFrameStyle(TFrameStyle v) { ChangeFrame(frame_.style, v); }
    bool FrameVisible() const { return frame_.visible; }
    virtual void SetFrameVisible(bool v);
    TFramingPreference FramingPreference() const { return frame_.framingPreference; }
    virtual void SetFramingPreference(TFramingPreference v);
    virtual bool UseThemes() const { return frame_.UseThemes(); }
    bool FrameHot() const { return frame_.Hot(Focused()); }
    // Paints the frame over the whole window, as the non-client paint does; the second form
    // for a host that holds the list inside its frame.
    void PaintFrame(TCanvas& canvas) const { PaintFrame(canvas, Width(), Height()); }
    void PaintFrame(TCanvas& canvas, int width, int height) const;

    void SetViewStyle(TViewStyle style) override;

    // What a click on a column header does: sort by it (again: descending), then OnColumnClick.
    void ColumnClicked(int column);
    // Draws a header section: caption in its alignment and the arrow for the sort column.
    void DrawHeaderSection(TCanvas& canvas, int column, const TRect& r) const;
    // Makes the header's sections owner-drawn (a sort arrow placement) or plain text.
    void FormatHeader();
    // The window the info tips show in; null before the first tip.
    THintWindow* InfoTipWindow() const { return hintWindow_.get(); }

    TRzItemCheckStateChangedEvent OnItemCheckStateChanged;
    TRzItemCheckStateChangingEvent OnItemCheckStateChanging;
    TRzItemContextMenuEvent OnItemContextMenu;
    TRzDrawHeaderSectionEvent OnDrawHeaderSection;

protected:
    virtual void UpdateColors();
    virtual void UpdateFrame(bool viaMouse, bool active);
    virtual void RepaintFrame();
    void WndProc(TMessage& message) override;
    void CreateWnd() override;
    void Loaded() override;
    void BoundsChanged() override;
    void DefineProperties(TFiler* filer) override;
    void Notification(TComponent* component, TOperation operation) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    // The context menu at a client point: the right-clicked item's, the focused or selected
    // item's at its icon, or the list's own.
    void ContextMenuAt(TPoint pos);
    void ItemContextMenu(TPoint pos);

private:
    template <class T>
    void ChangeFrame(T& field, const T& value) {
        if (field == value) return;
        field = value;
        RepaintFrame();
    }
    void ColorChanged();
    void SendBackgroundColors();
    bool HandleNotify(TMessage& m);
    void HeaderNotify(UINT code);
    void DrawHeaderItem(const DRAWITEMSTRUCT& dis);
    void ListPopup(TPoint pos);
    bool ContextMenuRequest(const TMessage& m);
    void RightButtonUp(TMessage& m);
    void UpdateInfoTip(TPoint pos);
    void HideInfoTip();
    void MouseWheelScroll(int delta);

    TRzViewFrame frame_;
    bool stretch_ = true;
    bool sortOnColumnClick_ = false;
    bool editOnRowClick_ = false;
    bool defaultHeaderDrawing_ = true;
    int sortColumn_ = -1;
    int lastSortColumn_ = -1;
    TRzSortDirection sortDirection_ = sdAscending;
    TRzSortArrowPlacement arrowPlacement_ = sapRightOfCaption;
    int scrollBarWidth_ = 16;
    bool loading_ = false;
    bool settingController_ = false;
    bool rightClicked_ = false;
    bool menuHandled_ = false;
    bool dragStarted_ = false;
    int formatting_ = 0;
    std::unique_ptr<THintWindow> hintWindow_;
};
