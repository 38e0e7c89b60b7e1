// The list view over Qt: a flat model that reads the control row by row (owner-data rows are
// filled once per row drawn, never all of them), a QTreeView for the report view and a QListView
// for the icon, small-icon and list views. The user's selection, focus, check boxes, label
// edits and header drags come back to the control as LVN_* and HDN_* notifications.
#include <QAbstractTableModel>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHash>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStackedLayout>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QTreeView>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/HeaderControlQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

QString ToQ(const WideString& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

Qt::Alignment AlignmentOf(TAlignment a) {
    return (a == taRightJustify ? Qt::AlignRight : a == taCenter ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

// A picture of an image list as a pixmap with its transparency, kept per list and index.
class ImageCache {
public:
    QPixmap Get(TCustomImageList* list, int index) {
        if (!list || index < 0 || index >= list->Count()) return {};
        const Key key{list, index};
        if (auto it = cache_.find(key); it != cache_.end()) return *it;
        QImage image(list->Width(), list->Height(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            HDC dc = CreateImageDC(image);
            TCanvas canvas;
            canvas.SetHandle(dc);
            list->Draw(&canvas, 0, 0, index);
            canvas.SetHandle(nullptr);
            DeleteDC(dc);
        }
        const QPixmap pixmap = QPixmap::fromImage(image);
        cache_.insert(key, pixmap);
        return pixmap;
    }
    void Clear() { cache_.clear(); }

private:
    using Key = std::pair<const TCustomImageList*, int>;
    QHash<Key, QPixmap> cache_;
};

// The rows as the control holds them. The row count is the model's own between a change's
// begin and end, as Qt wants.
class ListModel : public QAbstractTableModel {
public:
    ListModel(TCustomListView& control, ImageCache& images) : control_(control), images_(images), count_(control.ItemCount()) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : count_; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : columns_; }

    QVariant data(const QModelIndex& index, int role) const override {
        const int row = index.row(), col = index.column();
        if (row >= count_ || row >= control_.ItemCount()) return {};
        try {
            switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole: return ToQ(control_.CellText(row, col));
            case Qt::DecorationRole: return Decoration(row, col);
            case Qt::CheckStateRole: {
                if (col != 0 || !control_.Checkboxes() || control_.StateImages()) return {};
                const UINT state = control_.ItemState(row, LVIS_STATEIMAGEMASK);
                return state == INDEXTOSTATEIMAGEMASK(2) ? Qt::Checked : Qt::Unchecked;
            }
            case Qt::TextAlignmentRole:
                if (col < control_.Columns()->Count()) return QVariant::fromValue(AlignmentOf(control_.Column(col)->Alignment()));
                return {};
            default: return {};
            }
        } catch (...) {
            if (Application) Application->HandleException(&control_);
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section >= control_.Columns()->Count()) return {};
        const TListColumn* c = control_.Column(section);
        if (role == Qt::DisplayRole) return ToQ(c->Caption());
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(c->Alignment()));
        if (role == Qt::DecorationRole && c->ImageIndex() >= 0) return images_.Get(control_.SmallImages(), c->ImageIndex());
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == 0) {
            if (control_.Checkboxes() && !control_.StateImages()) f |= Qt::ItemIsUserCheckable;
            if (!control_.ReadOnly()) f |= Qt::ItemIsEditable;
        }
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role == Qt::CheckStateRole && index.column() == 0) {
            const bool checked = value.toInt() == Qt::Checked;
            ToggleCheck(index.row(), checked);
            return true;
        }
        return false;
    }

    void ToggleCheck(int row, bool checked) {
        const UINT old = control_.ItemState(row, LVIS_STATEIMAGEMASK);
        NMLISTVIEW nm;
        nm.hdr.hwndFrom = control_.WindowHandle();
        nm.hdr.code = LVN_ITEMCHANGING;
        nm.iItem = row;
        nm.uChanged = LVIF_STATE;
        nm.uOldState = old;
        nm.uNewState = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        if (Notify(nm.hdr) != 0) return;  // vetoed: the box stays
        nm.hdr.code = LVN_ITEMCHANGED;
        Notify(nm.hdr);
        const QModelIndex cell = this->index(row, 0);
        emit dataChanged(cell, cell);
    }

    LRESULT Notify(NMHDR& header) const {
        try {
            return control_.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        } catch (...) {
            if (Application) Application->HandleException(&control_);
            return 0;
        }
    }

    void SetColumns(int columns) {
        if (columns == columns_) {
            emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
            return;
        }
        beginResetModel();
        columns_ = columns;
        count_ = control_.ItemCount();
        endResetModel();
    }

    void SetCount(int oldCount, int newCount) {
        if (oldCount != count_ || oldCount < 0) {
            beginResetModel();
            count_ = newCount;
            endResetModel();
        } else if (newCount > oldCount) {
            beginInsertRows({}, oldCount, newCount - 1);
            count_ = newCount;
            endInsertRows();
        } else if (newCount < oldCount) {
            beginRemoveRows({}, newCount, oldCount - 1);
            count_ = newCount;
            endRemoveRows();
        }
    }

private:
    QVariant Decoration(int row, int col) const {
        const TListItem* item = control_.DisplayItem(row);
        if (!item) return {};
        TCustomImageList* list = control_.ViewStyle() == vsIcon ? control_.LargeImages() : control_.SmallImages();
        if (col > 0) {
            if (!control_.SubItemImages()) return {};
            const int image = item->SubItemImages(col - 1);
            return image >= 0 ? QVariant(images_.Get(list, image)) : QVariant();
        }
        const QPixmap image = images_.Get(list, item->ImageIndex());
        TCustomImageList* states = control_.StateImages();
        if (!states || item->StateIndex() < 0) return image.isNull() ? QVariant() : QVariant(image);
        // The state image stands left of the item's image.
        const QPixmap state = images_.Get(states, item->StateIndex());
        QPixmap both(state.width() + image.width(), std::max(state.height(), image.height()));
        both.fill(Qt::transparent);
        QPainter p(&both);
        p.drawPixmap(0, 0, state);
        if (!image.isNull()) p.drawPixmap(state.width(), 0, image);
        return both;
    }

    TCustomListView& control_;
    ImageCache& images_;
    int count_;
    int columns_ = 1;
};

// Custom draw, grid lines, the highlight only on the first column without row select, and
// label editing through the control's notifications.
class ListDelegate : public QStyledItemDelegate {
public:
    ListDelegate(TCustomListView& control, QObject* parent) : QStyledItemDelegate(parent), control_(control) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const int row = index.row(), col = index.column();
        if (col > 0 && !control_.RowSelect() && control_.ViewStyle() == vsReport) opt.state &= ~QStyle::State_Selected;
        // Without the focus the selection is hidden, or kept in the active colours when asked.
        const bool focused = option.widget && option.widget->hasFocus();
        if (!focused && control_.HideSelection()) opt.state &= ~QStyle::State_Selected;
        if (!control_.HideSelection() && (opt.state & QStyle::State_Selected)) opt.state |= QStyle::State_Active;
        // The item a drag would drop into shows as selected.
        if (control_.ItemState(row, LVIS_DROPHILITED)) opt.state |= QStyle::State_Selected | QStyle::State_Active;
        if (control_.HasCustomDraw()) {
            TCustomDrawState state;
            if (opt.state & QStyle::State_Selected) state << cdsSelected;
            if (opt.state & QStyle::State_HasFocus) state << cdsFocused;
            if (control_.ItemState(row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2)) state << cdsChecked;
            TListCellDraw draw;
            painter->save();
            painter->setClipRect(opt.rect);  // the handler draws within its cell
            HDC dc = CreatePainterDC(*painter);
            try {
                draw = control_.CustomDrawCell(dc, row, col, state);
            } catch (...) {
                if (Application) Application->HandleException(&control_);
            }
            DeleteDC(dc);
            painter->restore();
            if (!draw.defaultDraw) return;
            if (draw.colorsChanged) {
                opt.palette.setColor(QPalette::Text, ToQColor(draw.textColor));
                if (!draw.backTransparent) opt.backgroundBrush = ToQColor(draw.backColor);
            }
            if (draw.fontChanged) opt.font = QtFontOf(draw.font);
        } else if (control_.TextBkColor() != CLR_DEFAULT && control_.TextBkColor() != CLR_NONE) {
            opt.backgroundBrush = ToQColor(control_.TextBkColor());
        }
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        if (control_.GridLines() && control_.ViewStyle() == vsReport) {
            painter->save();
            painter->setPen(opt.palette.color(QPalette::Midlight));
            painter->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
            painter->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
            painter->restore();
        }
    }

    // Report rows are all as high as the font, the images and the check box need: measured
    // without reading a row, so an owner-data list is asked only for the rows it draws.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (control_.ViewStyle() != vsReport || measuring_) return QStyledItemDelegate::sizeHint(option, index);
        const QWidget* widget = option.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        int height = option.fontMetrics.height();
        if (const TCustomImageList* small = control_.SmallImages()) height = std::max(height, small->Height());
        if (const TCustomImageList* states = control_.StateImages()) height = std::max(height, states->Height());
        if (control_.Checkboxes()) height = std::max(height, style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, widget));
        return QSize(option.rect.width() > 0 ? option.rect.width() : 100, height + 2);
    }
    // Sizing a column to its content reads the rows after all.
    void SetMeasuring(bool measuring) { measuring_ = measuring; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        NMLVDISPINFOW nm;
        nm.hdr.hwndFrom = control_.WindowHandle();
        nm.hdr.code = LVN_BEGINLABELEDITW;
        nm.item.iItem = index.row();
        nm.item.mask = LVIF_TEXT;
        if (Send(nm.hdr) != 0) return nullptr;
        committed_ = false;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        if (!edit) return;
        WideString text = edit->text().toStdU16String();
        NMLVDISPINFOW nm;
        nm.hdr.hwndFrom = control_.WindowHandle();
        nm.hdr.code = LVN_ENDLABELEDITW;
        nm.item.iItem = index.row();
        nm.item.mask = LVIF_TEXT;
        nm.item.pszText = text.data();
        nm.item.cchTextMax = static_cast<int>(text.size() + 1);
        committed_ = true;
        Send(nm.hdr);
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
        if (!committed_) {
            NMLVDISPINFOW nm;
            nm.hdr.hwndFrom = control_.WindowHandle();
            nm.hdr.code = LVN_ENDLABELEDITW;
            nm.item.iItem = index.row();
            Send(nm.hdr);  // no text: cancelled
        }
        committed_ = true;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

private:
    LRESULT Send(NMHDR& header) const {
        try {
            return control_.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        } catch (...) {
            if (Application) Application->HandleException(&control_);
            return 1;
        }
    }
    TCustomListView& control_;
    mutable bool committed_ = true;
    bool measuring_ = false;
};

// Typing in an owner-data list asks the owner (LVN_ODFINDITEM) instead of reading every row.
template <class View>
class SearchingView : public View {
public:
    explicit SearchingView(TCustomListView& control) : control_(control) {}
    void keyboardSearch(const QString& search) override {
        if (!control_.OwnerData()) return View::keyboardSearch(search);
        const WideString text = search.toStdU16String();
        NMLVFINDITEMW nm;
        nm.hdr.hwndFrom = control_.WindowHandle();
        nm.hdr.code = LVN_ODFINDITEMW;
        nm.iStart = std::max(control_.FocusedIndex(), 0);
        nm.lvfi.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
        nm.lvfi.psz = text.c_str();
        LRESULT found = -1;
        try {
            found = control_.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
        } catch (...) {
            if (Application) Application->HandleException(&control_);
        }
        if (found >= 0 && found < control_.ItemCount())
            this->setCurrentIndex(this->model()->index(static_cast<int>(found), 0));
    }

private:
    TCustomListView& control_;
};

// The column header; a section the list view draws itself goes to it as WM_DRAWITEM.
class ListHeader : public QHeaderView {
public:
    explicit ListHeader(TCustomListView& control) : QHeaderView(Qt::Horizontal), control_(control) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        if (!control_.HeaderOwnerDrawn(section)) {
            QHeaderView::paintSection(painter, rect, section);
            return;
        }
        painter->save();
        painter->setClipRect(rect);
        HDC dc = CreatePainterDC(*painter);
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_HEADER;
        dis.itemID = static_cast<UINT>(section);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = control_.HeaderHandle();
        dis.hDC = dc;
        dis.rcItem = RECT{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
        try {
            control_.Perform(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        } catch (...) {
            if (Application) Application->HandleException(&control_);
        }
        DeleteDC(dc);
        painter->restore();
    }

private:
    TCustomListView& control_;
};

class ListViewPeer : public HostedPeer, public TCustomListViewPeer {
public:
    ListViewPeer(TCustomListView& control, const TCreateParams& params, QWidget* parent)
        : HostedPeer(control, params, parent),
          control_(control),
          model_(control, images_),
          stack_(new QWidget),
          report_(new SearchingView<QTreeView>(control)),
          icons_(new SearchingView<QListView>(control)),
          delegate_(new ListDelegate(control, stack_)) {
        auto* layout = new QStackedLayout(stack_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(report_);
        layout->addWidget(icons_);
        report_->setHeader(new ListHeader(control));
        report_->setRootIsDecorated(false);
        report_->setUniformRowHeights(true);
        report_->setItemsExpandable(false);
        report_->setSelectionBehavior(QAbstractItemView::SelectRows);
        report_->setAllColumnsShowFocus(false);
        report_->header()->setStretchLastSection(false);
        report_->header()->setSectionsMovable(false);
        report_->header()->setMinimumSectionSize(0);
        report_->header()->setSectionsClickable(true);
        report_->header()->setHighlightSections(false);
        icons_->setUniformItemSizes(true);
        icons_->setResizeMode(QListView::Adjust);
        icons_->setMovement(QListView::Static);
        for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icons_)}) {
            v->setModel(&model_);
            v->setItemDelegate(delegate_);
            v->setFrameShape(QFrame::StyledPanel);
            v->viewport()->installEventFilter(this);
        }
        icons_->setSelectionModel(report_->selectionModel());
        QItemSelectionModel* selection = report_->selectionModel();
        QObject::connect(selection, &QItemSelectionModel::selectionChanged, stack_,
                         [this](const QItemSelection& on, const QItemSelection& off) { UserSelected(on, off); });
        QObject::connect(selection, &QItemSelectionModel::currentRowChanged, stack_,
                         [this](const QModelIndex& now, const QModelIndex& before) { UserFocused(now, before); });
        QObject::connect(report_, &QAbstractItemView::doubleClicked, stack_, [this](const QModelIndex&) {});
        headerNotifier_ = new HeaderNotifier(report_->header(), control, WM_NOTIFY, [&control] { return control.HeaderHandle(); });
        // Keys go to the view with the focus, the mouse to the views' viewports. The header is a
        // window of its own: a press on it is no press in the list (the list's handlers would
        // start a drag detection that takes the release, and the column would never click).
        Host(stack_, {report_, icons_, report_->viewport(), icons_->viewport()});
        LayoutChanged();
    }

    ~ListViewPeer() override {
        report_->setModel(nullptr);
        icons_->setModel(nullptr);
    }

    // ---- TCustomListViewPeer
    void LayoutChanged() override {
        syncing_ = true;
        images_.Clear();
        const bool report = control_.ViewStyle() == vsReport;
        const bool hadFocus = Focused();
        static_cast<QStackedLayout*>(stack_->layout())->setCurrentWidget(report ? static_cast<QWidget*>(report_) : icons_);
        stack_->setFocusProxy(View());
        if (hadFocus) View()->setFocus();
        const int columns = report ? std::max(control_.Columns()->Count(), 1) : 1;
        const int top = View()->verticalScrollBar()->value();
        model_.SetColumns(columns);
        ApplyColumns();
        report_->setHeaderHidden(!control_.ShowColumnHeaders() || control_.Columns()->Count() == 0);
        const auto mode = control_.MultiSelect() ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
        const auto triggers = control_.ReadOnly() ? QAbstractItemView::NoEditTriggers
                                                  : QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked;
        for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icons_)}) {
            v->setSelectionMode(mode);
            v->setEditTriggers(triggers);
            QPalette pal = v->palette();
            if (control_.BkColor() != CLR_NONE) pal.setColor(QPalette::Base, ToQColor(control_.BkColor()));
            pal.setColor(QPalette::Text, ToQColor(control_.TextColor()));
            v->setPalette(pal);
        }
        report_->setAllColumnsShowFocus(control_.RowSelect());
        ApplyIconMode();
        View()->verticalScrollBar()->setValue(top);
        syncing_ = false;
        SelectionChanged();
        View()->viewport()->update();
    }

    void CountChanged(int oldCount, int newCount) override {
        syncing_ = true;
        const int top = View()->verticalScrollBar()->value();
        model_.SetCount(oldCount, newCount);
        View()->doItemsLayout();  // the scroll range of the new count, before the place is restored
        View()->verticalScrollBar()->setValue(top);
        syncing_ = false;
        SelectionChanged();
        View()->viewport()->update();
    }

    void RowsChanged(int first, int last) override {
        if (last < first || first < 0) {
            View()->viewport()->update();
            return;
        }
        emit model_.dataChanged(model_.index(first, 0), model_.index(last, model_.columnCount({}) - 1));
    }

    void SelectionChanged() override {
        syncing_ = true;
        QItemSelection selection;
        const int last = model_.columnCount({}) - 1;
        for (int i = control_.GetNextItemIndex(-1, LVNI_SELECTED); i >= 0;) {
            int end = i;
            int next = control_.GetNextItemIndex(i, LVNI_SELECTED);
            while (next == end + 1) {
                end = next;
                next = control_.GetNextItemIndex(end, LVNI_SELECTED);
            }
            selection.select(model_.index(i, 0), model_.index(end, last));
            i = next;
        }
        QItemSelectionModel* model = report_->selectionModel();
        model->select(selection, QItemSelectionModel::ClearAndSelect);
        const int focused = control_.FocusedIndex();
        model->setCurrentIndex(focused >= 0 ? model_.index(focused, 0) : QModelIndex(), QItemSelectionModel::NoUpdate);
        syncing_ = false;
    }

    int TopIndex() const override {
        const QModelIndex top = View()->indexAt(QPoint(1, 1));
        return top.isValid() ? top.row() : (model_.rowCount({}) > 0 ? 0 : -1);
    }

    int VisibleRowCount() const override {
        const int rowHeight = RowHeight();
        return rowHeight > 0 ? View()->viewport()->height() / rowHeight : 0;
    }

    bool ItemRect(int index, int subItem, TDisplayCode code, TRect& rect) const override {
        QRect r = View()->visualRect(model_.index(index, std::clamp(subItem, 0, model_.columnCount({}) - 1)));
        if (!r.isValid()) return false;
        if (control_.ViewStyle() == vsReport && subItem == 0 && code == drBounds) {
            // The whole row: every column.
            const QRect last = View()->visualRect(model_.index(index, model_.columnCount({}) - 1));
            r = r.united(last);
        }
        if (subItem == 0 && (code == drIcon || code == drLabel)) {
            const int icon = IconWidth();
            if (code == drIcon) r.setWidth(icon);
            else r.setLeft(r.left() + icon);
        }
        const QPoint origin = View()->viewport()->mapTo(const_cast<ListViewPeer*>(this), QPoint(0, 0));
        r.translate(origin);
        rect = TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        return true;
    }

    int ItemAt(TPoint point, int* subItem) const override {
        const QPoint p = View()->viewport()->mapFrom(const_cast<ListViewPeer*>(this), QPoint(point.x, point.y));
        if (!View()->viewport()->rect().contains(p)) return -1;
        const QModelIndex index = View()->indexAt(p);
        if (subItem) *subItem = index.isValid() ? index.column() : 0;
        return index.isValid() ? index.row() : -1;
    }

    void ScrollBy(int dx, int dy) override {
        QAbstractItemView* v = View();
        if (dy) {
            QScrollBar* bar = v->verticalScrollBar();
            const bool perItem = v->verticalScrollMode() == QAbstractItemView::ScrollPerItem;
            const int rowHeight = std::max(RowHeight(), 1);
            bar->setValue(bar->value() + (perItem ? dy / rowHeight : dy));
        }
        if (dx) v->horizontalScrollBar()->setValue(v->horizontalScrollBar()->value() + dx);
    }

    void MakeVisible(int index) override { View()->scrollTo(model_.index(index, 0), QAbstractItemView::EnsureVisible); }
    void HeaderChanged() override { report_->header()->viewport()->update(); }
    int HorizontalOffset() const override { return report_->header()->offset(); }
    int HeaderHeight() const override { return report_->isHeaderHidden() ? 0 : report_->header()->height(); }

    bool EditLabel(int index) override {
        if (control_.ReadOnly()) return false;
        View()->setCurrentIndex(model_.index(index, 0));
        View()->edit(model_.index(index, 0));
        return View()->indexWidget(model_.index(index, 0)) != nullptr || control_.IsEditing();
    }

protected:
    void ShowHostedBorder(bool show) override {
        for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icons_)})
            v->setFrameShape(show ? QFrame::StyledPanel : QFrame::NoFrame);
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::ToolTip && watched == View()->viewport()) {
            auto* help = static_cast<QHelpEvent*>(e);
            const QModelIndex index = View()->indexAt(help->pos());
            WideString tip;
            if (index.isValid() && (control_.InfoTips() || control_.OnInfoTip)) {
                try {
                    tip = control_.InfoTip(index.row(), index.column());
                } catch (...) {
                    if (Application) Application->HandleException(&control_);
                }
            }
            if (tip.empty()) QToolTip::hideText();
            else QToolTip::showText(help->globalPos(), ToQ(tip), View()->viewport());
            return true;
        }
        if (watched == View()->viewport()) {
            // As the platform's list does: a right click is NM_RCLICK, then (unless that was
            // answered) the context menu request, then the button-up message.
            if (e->type() == QEvent::ContextMenu && static_cast<QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Mouse)
                return true;
            if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
                NMHDR header;
                header.hwndFrom = control_.WindowHandle();
                header.code = NM_RCLICK;
                if (model_.Notify(header) == 0) {
                    const QPoint g = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
                    TMessage m{WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control_.WindowHandle()), MAKELPARAM(g.x(), g.y()), 0};
                    Send(m);
                }
            }
        }
        return HostedPeer::eventFilter(watched, e);
    }

private:
    QAbstractItemView* View() const {
        return control_.ViewStyle() == vsReport ? static_cast<QAbstractItemView*>(report_) : static_cast<QAbstractItemView*>(icons_);
    }

    int RowHeight() const {
        if (control_.ViewStyle() == vsReport) {
            const int h = report_->sizeHintForRow(0);
            return h > 0 ? h : report_->fontMetrics().height() + 4;
        }
        const QRect r = icons_->visualRect(model_.index(0, 0));
        return r.isValid() ? r.height() : icons_->fontMetrics().height() + 4;
    }

    int IconWidth() const {
        int width = 0;
        if (control_.Checkboxes() && !control_.StateImages())
            width += report_->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 4;
        if (control_.StateImages()) width += control_.StateImages()->Width();
        TCustomImageList* list = control_.ViewStyle() == vsIcon ? control_.LargeImages() : control_.SmallImages();
        if (list) width += list->Width() + 4;
        return width;
    }

    void ApplyColumns() {
        QHeaderView* header = report_->header();
        headerNotifier_->SetSyncing(true);
        for (int i = 0; i < control_.Columns()->Count() && i < header->count(); ++i) {
            const TListColumn* c = control_.Column(i);
            if (c->AutoSize()) {
                header->setSectionResizeMode(i, QHeaderView::Stretch);
                continue;
            }
            header->setSectionResizeMode(i, QHeaderView::Interactive);
            const int width = c->Width();
            if (width == ColumnHeaderWidth) header->resizeSection(i, header->sectionSizeHint(i));
            else if (width == ColumnTextWidth) {
                delegate_->SetMeasuring(true);
                report_->resizeColumnToContents(i);
                delegate_->SetMeasuring(false);
            }
            else header->resizeSection(i, width);
        }
        headerNotifier_->SetSyncing(false);
    }

    void ApplyIconMode() {
        TCustomImageList* small = control_.SmallImages();
        report_->setIconSize(small ? QSize(small->Width(), small->Height()) : QSize(16, 16));
        switch (control_.ViewStyle()) {
        case vsIcon: {
            TCustomImageList* large = control_.LargeImages();
            icons_->setViewMode(QListView::IconMode);
            icons_->setIconSize(large ? QSize(large->Width(), large->Height()) : QSize(32, 32));
            icons_->setFlow(QListView::LeftToRight);
            icons_->setWrapping(true);
            icons_->setGridSize(QSize(std::max(icons_->iconSize().width() + 40, 76), icons_->iconSize().height() + 2 * icons_->fontMetrics().height() + 8));
            break;
        }
        case vsSmallIcon:
        case vsList:
            icons_->setViewMode(QListView::ListMode);
            icons_->setIconSize(small ? QSize(small->Width(), small->Height()) : QSize(16, 16));
            icons_->setFlow(control_.ViewStyle() == vsList ? QListView::TopToBottom : QListView::LeftToRight);
            icons_->setWrapping(true);
            icons_->setGridSize(QSize());
            break;
        case vsReport: break;
        }
    }

    // The user changed the selection: each row's change goes to the control; a change of every
    // row of a large list goes as one notification for all.
    void UserSelected(const QItemSelection& on, const QItemSelection& off) {
        if (syncing_) return;
        const int count = model_.rowCount({});
        auto rows = [](const QItemSelection& s) {
            std::set<int> r;
            for (const QItemSelectionRange& range : s)
                for (int row = range.top(); row <= range.bottom(); ++row) r.insert(row);
            return r;
        };
        const std::set<int> selected = rows(on), deselected = rows(off);
        if (control_.OwnerData() && static_cast<int>(selected.size()) == count && count > 1) {
            SendState(-1, LVIS_SELECTED, LVIS_SELECTED, 0);
            return;
        }
        for (int row : deselected)
            if (!selected.count(row)) SendState(row, 0, LVIS_SELECTED, control_.ItemState(row, LVIS_SELECTED));
        for (int row : selected) SendState(row, LVIS_SELECTED, LVIS_SELECTED, control_.ItemState(row, LVIS_SELECTED));
    }

    void UserFocused(const QModelIndex& now, const QModelIndex& before) {
        if (syncing_) return;
        if (before.isValid() && before.row() == control_.FocusedIndex()) SendState(before.row(), 0, LVIS_FOCUSED, LVIS_FOCUSED);
        if (now.isValid()) SendState(now.row(), LVIS_FOCUSED, LVIS_FOCUSED, control_.ItemState(now.row(), LVIS_FOCUSED));
    }

    void SendState(int row, UINT state, UINT mask, UINT old) {
        if (row >= 0 && (old & mask) == (state & mask)) return;
        NMLISTVIEW nm;
        nm.hdr.hwndFrom = control_.WindowHandle();
        nm.hdr.code = LVN_ITEMCHANGED;
        nm.iItem = row;
        nm.uChanged = LVIF_STATE;
        nm.uOldState = old & mask;
        nm.uNewState = state & mask;
        model_.Notify(nm.hdr);
    }

    TCustomListView& control_;
    ImageCache images_;
    ListModel model_;
    QWidget* stack_;
    QTreeView* report_;
    QListView* icons_;
    ListDelegate* delegate_;
    HeaderNotifier* headerNotifier_ = nullptr;
    bool syncing_ = false;
};

}  // namespace

void RegisterListViewPeers() {
    RegisterPeerClass(u"SysListView32", [](TWinControl& control, const TCreateParams& params, PeerWidget* parent) -> std::unique_ptr<TWidgetPeer> {
        auto* list = dynamic_cast<TCustomListView*>(&control);
        if (!list) return nullptr;
        return std::make_unique<ListViewPeer>(*list, params, parent);
    });
}

}  // namespace vclqt
