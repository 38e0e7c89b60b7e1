#include "controls/shell/RzListView.h"

#include <algorithm>
#include <numeric>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/ListItems.h"
#include "platform/vcl/ListViewMessages.h"

namespace {

constexpr UINT kStateChecked = 0x2000, kStateUnchecked = 0x1000;

WideString CellOf(const TListItem& item, int column) {
    if (column == 0) return item.Caption();
    const TSubItems& sub = *item.SubItems();
    return column - 1 < sub.Count() ? sub[column - 1] : WideString();
}

}  // namespace

int CompareListItems(const TListItem* a, const TListItem* b, int column, TRzSortDirection direction) {
    if (!a || !b || column < 0) return 0;
    const WideString s1 = CellOf(*a, column), s2 = CellOf(*b, column);
    int result;
    if (s1.empty() != s2.empty()) result = s1.empty() ? 1 : -1;
    else result = AnsiCompareText(Utf16ToUtf8(s1), Utf16ToUtf8(s2));
    result = result < 0 ? -1 : result > 0 ? 1 : 0;
    return direction == sdDescending ? -result : result;
}

int StretchedLastColumnWidth(const std::vector<int>& widths, int clientWidth, int scrollBarWidth, bool subtractScrollBar) {
    if (widths.empty()) return 0;
    const int others = std::accumulate(widths.begin(), widths.end() - 1, 0);
    const int room = clientWidth - (subtractScrollBar ? scrollBarWidth : 0);
    if (others >= room) return widths.back();
    const int width = room - others;
    return width <= 4 ? 5 : width;
}

TRect SortArrowBox(const TRect& r) {
    const int s = (r.top + r.bottom) / 2 - 1;
    const int top = (r.top + r.bottom - s) / 2 - 1;
    return TRect(r.left, top, r.left + s + 1, top + s);
}

bool SortArrowFits(const TRect& section, int columnWidth) { return 2 * SortArrowBox(section).Width() < columnWidth; }

void PaintSortArrow(TCanvas& c, const TRect& box, TRzSortDirection direction) {
    const int h = box.Height() * 3 / 4, w = 2 * h - 1;
    if (h <= 0) return;
    const int left = box.left + (box.Width() - w) / 2, bottom = box.bottom - 1, top = bottom - h + 1;
    c.Pen()->SetColor(clBtnShadow);
    c.Brush()->SetColor(clBtnShadow);
    // One row at a time, so the triangle is the same whatever the polygon fill rule.
    for (int row = 0; row < h; ++row) {
        const int half = direction == sdDescending ? h - 1 - row : row;  // rows from the top
        const int y = top + row;
        c.FillRect(TRect(left + (h - 1 - half), y, left + (h - 1 - half) + 2 * half + 1, y + 1));
    }
}

TRzCustomListView::TRzCustomListView(TComponent* owner) : TCustomListView(owner) {}

void TRzCustomListView::SetStretchLastColumn(bool v) {
    if (stretch_ == v) return;
    stretch_ = v;
    StretchLastColumn();
}

void TRzCustomListView::StretchLastColumn() {
    if (!stretch_ || ViewStyle() != vsReport || ComponentState().Contains(csDestroying)) return;
    TListColumns& columns = *Columns();
    if (columns.Count() == 0) return;
    std::vector<int> widths;
    for (int i = 0; i < columns.Count(); ++i) widths.push_back(columns[i]->Width());
    const int width =
        StretchedLastColumnWidth(widths, ClientWidth(), scrollBarWidth_, Items()->Count() == 0 || loading_);
    Items()->BeginUpdate();
    columns[columns.Count() - 1]->SetWidth(width);
    Items()->EndUpdate();
}

void TRzCustomListView::SetHeaderSortColumn(int v) {
    if (sortColumn_ == v) return;
    sortColumn_ = v;
    Invalidate();
}

void TRzCustomListView::SetHeaderSortDirection(TRzSortDirection v) {
    if (sortDirection_ == v) return;
    sortDirection_ = v;
    Invalidate();
}

void TRzCustomListView::SetSortArrowPlacement(TRzSortArrowPlacement v) {
    if (arrowPlacement_ == v) return;
    arrowPlacement_ = v;
    Invalidate();
}

void TRzCustomListView::ColumnClicked(int column) {
    if (sortOnColumnClick_) {
        if (column == lastSortColumn_) {
            SetHeaderSortDirection(sdDescending);
            lastSortColumn_ = -1;
        } else {
            SetHeaderSortDirection(sdAscending);
            lastSortColumn_ = column;
        }
        SetHeaderSortColumn(column);
        // The platform's sort hands OnCompare the items themselves: lend it ours meanwhile.
        TLVCompareEvent saved = std::move(OnCompare);
        const TRzSortDirection direction = sortDirection_;
        OnCompare = [column, direction](TObject*, TListItem* a, TListItem* b, int, int& result) {
            result = CompareListItems(a, b, column, direction);
        };
        try {
            AlphaSort();
        } catch (...) {
            OnCompare = std::move(saved);
            throw;
        }
        OnCompare = std::move(saved);
    }
    if (OnColumnClick && column >= 0 && column < Columns()->Count()) OnColumnClick(this, (*Columns())[column]);
}

void TRzCustomListView::DrawHeaderSection(TCanvas& c, int column, const TRect& section) const {
    TRect r = section;
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(r);
    r = PaintButtonBorder(c, r, false);
    c.Font()->Assign(Font());
    c.Font()->SetColor(clBtnText);
    TRect text(r.left + 4, r.top, r.right - 4, r.bottom);
    const bool sorted = column == sortColumn_ && arrowPlacement_ != sapNone &&
                        SortArrowFits(r, section.Width());
    TRect box = SortArrowBox(text);
    if (sorted && arrowPlacement_ == sapLeftOfCaption) {
        text.left = box.right + 5;
    } else if (sorted) {
        box = TRect(text.right - 5 - box.Width(), box.top, text.right - 5, box.bottom);
        text.right = box.left - 5;
    }
    const WideString caption = column < Columns()->Count() ? (*Columns())[column]->Caption() : WideString();
    c.Brush()->SetStyle(bsClear);
    CanvasDrawText(c, caption, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
    c.Brush()->SetStyle(bsSolid);
    if (sorted) PaintSortArrow(c, box, sortDirection_);
}

void TRzCustomListView::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY && m.LParam) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(m.LParam);
        if (hdr->code == LVN_COLUMNCLICK) {
            ColumnClicked(reinterpret_cast<const NMLISTVIEW*>(m.LParam)->iSubItem);
            m.Result = 0;
            return;
        }
        if ((hdr->code == LVN_ITEMCHANGING || hdr->code == LVN_ITEMCHANGED) && Checkboxes()) {
            const auto* nm = reinterpret_cast<const NMLISTVIEW*>(m.LParam);
            const UINT state = nm->uNewState & LVIS_STATEIMAGEMASK;
            TListItem* item = nm->iItem >= 0 && nm->iItem < Items()->Count() ? Items()->Item(nm->iItem) : nullptr;
            if (item && (state == kStateChecked || state == kStateUnchecked)) {
                if (hdr->code == LVN_ITEMCHANGING) {
                    bool allow = true;
                    if (OnItemCheckStateChanging) OnItemCheckStateChanging(this, item, state == kStateChecked, allow);
                    if (!allow) {
                        m.Result = 1;
                        return;
                    }
                } else {
                    TCustomListView::WndProc(m);
                    if (OnItemCheckStateChanged) OnItemCheckStateChanged(this, item);
                    return;
                }
            }
        }
    }
    TCustomListView::WndProc(m);
}

void TRzCustomListView::Loaded() {
    TCustomListView::Loaded();
    loading_ = true;
    StretchLastColumn();
    loading_ = false;
}

void TRzCustomListView::BoundsChanged() {
    TCustomListView::BoundsChanged();
    StretchLastColumn();
}

const TMetaClass& TRzCustomListView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomListView>("TRzCustomListView", &TCustomListView::StaticClass());
    return meta;
}
