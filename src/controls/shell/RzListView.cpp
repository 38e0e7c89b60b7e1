#include "controls/shell/RzListView.h"

#include <algorithm>
#include <numeric>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/ListItems.h"
#include "platform/vcl/ListViewMessages.h"
#include "platform/vcl/WinUser.h"

namespace {

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
    c.Brush()->SetStyle(bsSolid);
    // One row at a time, so the triangle is the same whatever the polygon fill rule.
    for (int row = 0; row < h; ++row) {
        const int half = direction == sdDescending ? h - 1 - row : row;  // rows from the top
        const int y = top + row;
        c.FillRect(TRect(left + (h - 1 - half), y, left + (h - 1 - half) + 2 * half + 1, y + 1));
    }
}

TRzHeaderSectionLayout LayoutHeaderSection(const TRect& r, int columnWidth, TAlignment alignment,
                                           TRzSortArrowPlacement placement, bool sorted) {
    TRzHeaderSectionLayout out;
    out.text = TRect(r.left + 4, r.top, r.right - 4, r.bottom);
    TRect box = SortArrowBox(out.text);
    const int w = box.Width();
    switch (placement) {
    case sapNone: break;
    case sapLeftOfCaption:
        if (sorted && columnWidth > 15) {
            out.arrowShown = true;
            out.text.left = box.right + 5;
        }
        break;
    case sapRightOfCaption:
        if (alignment == taLeftJustify) {
            out.arrowShown = sorted;
            out.arrowAfterCaption = true;
        } else if (sorted) {
            out.arrowShown = true;
            box = TRect(out.text.right - 5 - w, box.top, out.text.right - 5, box.bottom);
            if (alignment == taRightJustify) {
                out.text.right -= w + 5;
            } else {
                out.text.left += w + 5;
                out.text.right -= w + 5;
            }
        }
        break;
    case sapRightEdge:
        box = TRect(out.text.right - w, box.top, out.text.right, box.bottom);
        if (sorted) {
            out.arrowShown = true;
            out.text.right = box.left - 5;
        }
        break;
    }
    out.arrow = box;
    if (!SortArrowFits(r, columnWidth)) out.arrowShown = false;
    return out;
}

TRzCustomListView::TRzCustomListView(TComponent* owner) : TCustomListView(owner) {}

TRzCustomListView::~TRzCustomListView() { SetFrameController(nullptr); }

// ---- columns and sorting

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
    FormatHeader();
}

void TRzCustomListView::SetHeaderSortDirection(TRzSortDirection v) {
    if (sortDirection_ == v) return;
    sortDirection_ = v;
    FormatHeader();
}

void TRzCustomListView::SetSortArrowPlacement(TRzSortArrowPlacement v) {
    if (arrowPlacement_ == v) return;
    arrowPlacement_ = v;
    FormatHeader();
}

void TRzCustomListView::SetDefaultHeaderDrawing(bool v) {
    if (defaultHeaderDrawing_ == v) return;
    defaultHeaderDrawing_ = v;
    FormatHeader();
}

void TRzCustomListView::SetViewStyle(TViewStyle style) {
    TCustomListView::SetViewStyle(style);
    if (style == vsReport) FormatHeader();
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

// ---- the header

void TRzCustomListView::FormatHeader() {
    if (ViewStyle() != vsReport || !HandleAllocated() || formatting_ > 0) return;
    ++formatting_;
    try {
        for (int i = Columns()->Count() - 1; i >= 0; --i) {
            HDITEMW item;
            item.mask = HDI_FORMAT;
            SendMessageW(HeaderHandle(), HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            if (arrowPlacement_ != sapNone || !defaultHeaderDrawing_) {
                item.fmt = (item.fmt & HDF_JUSTIFYMASK) | HDF_OWNERDRAW;
            } else {
                item.fmt = (item.fmt & HDF_JUSTIFYMASK) | HDF_STRING;
                if ((*Columns())[i]->ImageIndex() >= 0 && SmallImages()) item.fmt |= HDF_IMAGE;
            }
            SendMessageW(HeaderHandle(), HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
    } catch (...) {
        --formatting_;
        throw;
    }
    --formatting_;
}

void TRzCustomListView::DrawHeaderSection(TCanvas& c, int column, const TRect& section) const {
    c.Brush()->SetColor(clBtnFace);
    c.Brush()->SetStyle(bsSolid);
    c.FillRect(section);
    // The toolkit's header leaves an owner-drawn section blank: its raised edge is drawn here.
    const TRect r = PaintButtonBorder(c, section, false);
    const TListColumn* col = column >= 0 && column < Columns()->Count() ? (*Columns())[column] : nullptr;
    if (!col) return;
    const bool sorted = column == sortColumn_;
    TRzHeaderSectionLayout layout = LayoutHeaderSection(r, section.Width(), col->Alignment(), arrowPlacement_, sorted);
    const int saved = SaveDC(c.Handle());
    IntersectClipRect(c.Handle(), section.left, section.top, section.right, section.bottom);
    c.Font()->Assign(Font());
    c.Font()->SetColor(clBtnText);
    if (TCustomImageList* images = SmallImages(); images && col->ImageIndex() >= 0) {
        images->Draw(&c, layout.text.left, (layout.text.top + layout.text.bottom - images->Height()) / 2, col->ImageIndex());
        layout.text.left += images->Width() + 4;
    }
    const UINT align = col->Alignment() == taRightJustify ? DT_RIGHT : col->Alignment() == taCenter ? DT_CENTER : DT_LEFT;
    c.Brush()->SetStyle(bsClear);
    TRect text = layout.text;
    CanvasDrawText(c, col->Caption(), text, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    c.Brush()->SetStyle(bsSolid);
    if (layout.arrowAfterCaption) {
        const int end = std::min(layout.text.left + c.TextWidth(col->Caption()), layout.text.right);
        layout.arrow = TRect(end + 5, layout.arrow.top, end + 5 + layout.arrow.Width(), layout.arrow.bottom);
    }
    if (layout.arrowShown) PaintSortArrow(c, layout.arrow, sortDirection_);
    RestoreDC(c.Handle(), saved);
}

void TRzCustomListView::DrawHeaderItem(const DRAWITEMSTRUCT& dis) {
    TCanvas canvas;
    canvas.SetHandle(dis.hDC);
    const int saved = SaveDC(dis.hDC);
    try {
        canvas.Font()->Assign(Font());
        canvas.Font()->SetColor(clBtnText);
        canvas.Brush()->SetColor(clBtnFace);
        const TRect r(dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom);
        const int column = static_cast<int>(dis.itemID);
        if (defaultHeaderDrawing_) {
            DrawHeaderSection(canvas, column, r);
        } else {
            canvas.FillRect(r);
            const TRect inner(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
            if (OnDrawHeaderSection) OnDrawHeaderSection(this, &canvas, column, inner);
        }
    } catch (...) {
        RestoreDC(dis.hDC, saved);
        canvas.SetHandle(nullptr);
        throw;
    }
    RestoreDC(dis.hDC, saved);
    canvas.SetHandle(nullptr);
}

void TRzCustomListView::HeaderNotify(UINT code) {
    switch (code) {
    case HDN_ITEMCLICKW: FormatHeader(); break;
    case HDN_BEGINTRACKW:
    case HDN_ENDTRACKW:
    case HDN_ITEMCHANGEDW:
        FormatHeader();
        if (frame_.visible) Invalidate();
        if (code == HDN_ENDTRACKW) StretchLastColumn();
        break;
    case HDN_DIVIDERDBLCLICKW: StretchLastColumn(); break;
    default: break;
    }
}

void TRzCustomListView::Loaded() {
    TCustomListView::Loaded();
    UpdateColors();
    UpdateFrame(false, false);
    if (stretch_) {
        loading_ = true;
        StretchLastColumn();
        loading_ = false;
    }
    FormatHeader();
}

void TRzCustomListView::BoundsChanged() {
    TCustomListView::BoundsChanged();
    StretchLastColumn();
}

const TMetaClass& TRzCustomListView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomListView>("TRzCustomListView", &TCustomListView::StaticClass());
    return meta;
}
