// The tree view's peer: a QTreeView over a model that reads the control's nodes. Expansion,
// selection and label editing the user starts go to the control as messages first, so its
// events may refuse them; the control then tells the view what to show.
#include <QAbstractItemModel>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QTreeView>

#include "platform/vcl/TreeView.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/ImageListQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

QString ToQString(const WideString& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

TTreeNode* NodeOf(const QModelIndex& index) { return index.isValid() ? static_cast<TTreeNode*>(index.internalPointer()) : nullptr; }

class TreeModel : public QAbstractItemModel {
public:
    explicit TreeModel(TCustomTreeView& view) : view_(view) {}

    QModelIndex IndexOf(TTreeNode* node) const { return node ? createIndex(node->Index(), 0, node) : QModelIndex(); }

    QModelIndex index(int row, int column, const QModelIndex& parent) const override {
        if (column != 0 || row < 0) return {};
        TTreeNode* p = NodeOf(parent);
        if (p) return row < p->Count() ? createIndex(row, 0, p->Item(row)) : QModelIndex();
        TTreeNodes* items = view_.Items();
        return row < items->TopCount() ? createIndex(row, 0, items->TopItem(row)) : QModelIndex();
    }
    QModelIndex parent(const QModelIndex& child) const override {
        TTreeNode* node = NodeOf(child);
        return node ? IndexOf(node->Parent()) : QModelIndex();
    }
    int rowCount(const QModelIndex& parent) const override {
        if (parent.column() > 0) return 0;
        TTreeNode* p = NodeOf(parent);
        return p ? p->Count() : view_.Items()->TopCount();
    }
    int columnCount(const QModelIndex&) const override { return 1; }
    bool hasChildren(const QModelIndex& parent) const override {
        TTreeNode* p = NodeOf(parent);
        if (!p) return view_.Items()->TopCount() > 0;
        return p->HasChildren() || p->Count() > 0;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!view_.ReadOnly()) f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        TTreeNode* node = NodeOf(index);
        if (!node) return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return ToQString(node->Text());
        case Qt::DecorationRole: {
            TCustomImageList* images = view_.Images();
            if (!images) return {};
            int image = -1, selected = -1;
            view_.NodeImages(node, image, selected);
            const int shown = node->Selected() ? selected : image;
            QPixmap pixmap = ImageListPixmap(*images, shown, node->OverlayIndex(), view_.Enabled(), node->Cut());
            if (pixmap.isNull()) {
                // A node without a picture keeps its text in line with its siblings'.
                pixmap = QPixmap(images->Width(), images->Height());
                pixmap.fill(Qt::transparent);
            }
            return pixmap;
        }
        default: return {};
        }
    }

    void Reset() { beginResetModel(); endResetModel(); }
    void BeginInsert(TTreeNode* parent, int first, int last) { beginInsertRows(IndexOf(parent), first, last); }
    void EndInsert() { endInsertRows(); }
    void BeginRemove(TTreeNode* parent, int first, int last) { beginRemoveRows(IndexOf(parent), first, last); }
    void EndRemove() { endRemoveRows(); }
    void BeginReorder() { emit layoutAboutToBeChanged(); }
    void EndReorder() {
        const QModelIndexList old = persistentIndexList();
        QModelIndexList now;
        now.reserve(old.size());
        for (const QModelIndex& i : old) now.push_back(IndexOf(NodeOf(i)));
        changePersistentIndexList(old, now);
        emit layoutChanged();
    }
    void Changed(TTreeNode* node) {
        const QModelIndex i = IndexOf(node);
        emit dataChanged(i, i);
    }

private:
    TCustomTreeView& view_;
};

class TreePeer;

// Draws the state picture before the node's own, and a drop target as selected.
class TreeDelegate : public QStyledItemDelegate {
public:
    TreeDelegate(TCustomTreeView& view, TreePeer& peer) : view_(view), peer_(peer) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    using QStyledItemDelegate::initStyleOption;
    int StateWidth() const {
        TCustomImageList* states = view_.StateImages();
        return states ? states->Width() + 2 : 0;
    }

private:
    TCustomTreeView& view_;
    TreePeer& peer_;
};

class TreeWidget : public QTreeView {
public:
    explicit TreeWidget(TreePeer& peer) : peer_(peer) {}
    using QTreeView::initViewItemOption;
    using QTreeView::scheduleDelayedItemsLayout;
    using QTreeView::edit;
    void CloseEditorNow(QWidget* editor) {
        closingByControl = true;
        QTreeView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        closingByControl = false;
    }
    bool ownEdit = false;       // the control opens the editor
    bool closingByControl = false;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void commitData(QWidget*) override {}
    void paintEvent(QPaintEvent* e) override;

private:
    TreePeer& peer_;
};

class TreePeer : public HostedPeer, public TTreeViewPeer {
public:
    TreePeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : HostedPeer(control, params, parent), view_(static_cast<TCustomTreeView&>(control)), model_(view_),
          widget_(new TreeWidget(*this)), delegate_(new TreeDelegate(view_, *this)) {
        widget_->setModel(&model_);
        widget_->setItemDelegate(delegate_);
        delegate_->setParent(widget_);
        widget_->setHeaderHidden(true);
        widget_->setExpandsOnDoubleClick(false);
        widget_->setUniformRowHeights(true);
        widget_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);  // positions count rows
        widget_->setSelectionMode(view_.MultiSelect() ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
        widget_->setFrameShape((params.ExStyle & WS_EX_CLIENTEDGE) ? QFrame::StyledPanel : QFrame::NoFrame);
        widget_->header()->setStretchLastSection(false);
        widget_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        QObject::connect(widget_->selectionModel(), &QItemSelectionModel::currentChanged, widget_,
                         [this](const QModelIndex& now, const QModelIndex&) { CurrentChanged(now); });
        // The control owns a multi-selection: what the view changes on its own is shown back
        // as the control has it (clicks and keys reach the control first).
        QObject::connect(widget_->selectionModel(), &QItemSelectionModel::selectionChanged, widget_, [this] {
            if (!syncing_ && view_.MultiSelect()) SelectionChanged();
        });
        Host(widget_, {widget_->viewport()});
        SetStyle(params.Style);
    }

    // TTreeViewPeer
    void NodesInserting(TTreeNode* parent, int first, int last) override { model_.BeginInsert(parent, first, last); }
    void NodesInserted() override { model_.EndInsert(); }
    void NodesRemoving(TTreeNode* parent, int first, int last) override { model_.BeginRemove(parent, first, last); }
    void NodesRemoved() override { model_.EndRemove(); }
    void NodesReordering() override { model_.BeginReorder(); }
    void NodesReordered() override { model_.EndReorder(); }
    void NodeChanged(TTreeNode* node) override { model_.Changed(node); }
    void SetExpanded(TTreeNode* node, bool expanded) override {
        Syncing s(syncing_);
        widget_->setExpanded(model_.IndexOf(node), expanded);
    }
    void SetSelected(TTreeNode* node) override {
        Syncing s(syncing_);
        if (node) widget_->setCurrentIndex(model_.IndexOf(node));
        else widget_->selectionModel()->clear();
    }
    void SetMultiSelect(bool multi) override {
        widget_->setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    }
    void SelectionChanged() override {
        Syncing s(syncing_);
        QItemSelection selection;
        for (unsigned i = 0; i < view_.SelectionCount(); ++i) {
            const QModelIndex index = model_.IndexOf(view_.Selections(static_cast<int>(i)));
            selection.select(index, index);
        }
        QItemSelectionModel* model = widget_->selectionModel();
        model->select(selection, QItemSelectionModel::ClearAndSelect);
        if (TTreeNode* primary = view_.Selected()) model->setCurrentIndex(model_.IndexOf(primary), QItemSelectionModel::NoUpdate);
    }
    void MakeVisible(TTreeNode* node) override { widget_->scrollTo(model_.IndexOf(node)); }
    TRect NodeRect(TTreeNode* node, bool textOnly) const override {
        const QModelIndex index = model_.IndexOf(node);
        QRect r = widget_->visualRect(index);
        if (r.isEmpty()) return TRect();
        if (textOnly) {
            QStyleOptionViewItem option;
            widget_->initViewItemOption(&option);
            option.rect = r;
            delegate_->initStyleOption(&option, index);
            r = widget_->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, widget_);
            const int margin = widget_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget_) + 1;
            r.setWidth(option.fontMetrics.horizontalAdvance(option.text) + 2 * margin);
        } else {
            r.setLeft(0);
            r.setRight(widget_->viewport()->width() - 1);
        }
        r.translate(widget_->viewport()->mapTo(this, QPoint(0, 0)));
        return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
    TTreeNode* NodeAt(TPoint point) const override {
        const QPoint p = widget_->viewport()->mapFrom(this, QPoint(point.x, point.y));
        const QModelIndex index = widget_->indexAt(p);
        if (!index.isValid() || p.x() < widget_->visualRect(index).left()) return nullptr;
        return NodeOf(index);
    }
    void SetItemHeight(int height) override {
        itemHeight_ = height;
        widget_->scheduleDelayedItemsLayout();
    }
    void SetStyle(DWORD styles) override {
        styles_ = styles;
        widget_->setRootIsDecorated((styles & TVS_LINESATROOT) && (styles & TVS_HASBUTTONS));
        // A full-row selection highlights across the view: the one column fills it.
        const bool fullRow = styles & TVS_FULLROWSELECT;
        widget_->header()->setStretchLastSection(fullRow);
        if (!fullRow) widget_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        widget_->setItemsExpandable(true);
        if (styles & TVS_TRACKSELECT) {
            widget_->viewport()->setAttribute(Qt::WA_Hover, true);
            widget_->setMouseTracking(true);
        }
        widget_->setEditTriggers((styles & TVS_EDITLABELS) ? QAbstractItemView::SelectedClicked : QAbstractItemView::NoEditTriggers);
        // Without "show selection always" an unfocused tree shows no highlight.
        QPalette pal = widget_->palette();
        const QPalette app = QApplication::palette();
        pal.setColor(QPalette::Inactive, QPalette::Highlight,
                     (styles & TVS_SHOWSELALWAYS) ? app.color(QPalette::Inactive, QPalette::Highlight) : app.color(QPalette::Inactive, QPalette::Base));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     (styles & TVS_SHOWSELALWAYS) ? app.color(QPalette::Inactive, QPalette::HighlightedText) : app.color(QPalette::Inactive, QPalette::Text));
        widget_->setPalette(pal);
        widget_->setIndentation(std::max(view_.Indent(), 8));
    }
    void SetUpdating(bool updating) override { widget_->setUpdatesEnabled(!updating); }
    void BeginEdit(TTreeNode* node) override {
        const QModelIndex index = model_.IndexOf(node);
        widget_->scrollTo(index);
        widget_->ownEdit = true;
        widget_->edit(index);
        widget_->ownEdit = false;
    }
    void EndEdit(bool) override {
        if (!editor_) return;
        QLineEdit* editor = editor_;
        editor_ = nullptr;
        widget_->CloseEditorNow(editor);
    }
    WideString EditText() const override {
        if (!editor_) return {};
        const QString t = editor_->text();
        return WideString(reinterpret_cast<const char16_t*>(t.utf16()), static_cast<std::size_t>(t.size()));
    }
    void SetEditText(const WideString& text) override {
        if (editor_) editor_->setText(ToQString(text));
    }
    int ScrollPos() const override { return widget_->verticalScrollBar()->value(); }
    void SetScrollPos(int pos) override { widget_->verticalScrollBar()->setValue(pos); }

    // The control draws over the painted rows, in its own client coordinates.
    void PaintOver(QPainter& painter) {
        HDC dc = CreatePainterDC(painter);
        if (!dc) return;
        const QPoint origin = widget_->viewport()->mapTo(this, QPoint(0, 0));
        SetViewportOrgEx(dc, -origin.x(), -origin.y(), nullptr);
        Send(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        DeleteDC(dc);
    }

    // From the widget
    void SetEditor(QLineEdit* editor) { editor_ = editor; }
    bool EditorOpen() const { return editor_ != nullptr; }
    void RequestEdit(const QModelIndex& index) {
        if (TTreeNode* node = NodeOf(index)) Send(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->ItemId()));
    }
    void EditorClosing(bool cancel) { Send(TVM_ENDEDITLABELNOW, cancel ? 1 : 0, 0); }
    int ItemHeight() const { return itemHeight_; }
    bool HotTrack() const { return styles_ & TVS_TRACKSELECT; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == widget_->viewport()) {
            switch (e->type()) {
            case QEvent::MouseButtonPress: return MousePress(watched, static_cast<QMouseEvent*>(e));
            case QEvent::MouseButtonDblClick: return DoubleClick(watched, static_cast<QMouseEvent*>(e));
            case QEvent::MouseMove: return MouseMove(watched, static_cast<QMouseEvent*>(e));
            case QEvent::MouseButtonRelease: return MouseRelease(watched, static_cast<QMouseEvent*>(e));
            case QEvent::ToolTip: return ToolTip(static_cast<QHelpEvent*>(e));
            // The mouse's menu request follows the right click's release (MouseRelease).
            case QEvent::ContextMenu:
                if (static_cast<QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Mouse) return true;
                break;
            default: break;
            }
        }
        if (watched == widget_ && e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Plus || key == Qt::Key_Minus || key == Qt::Key_Asterisk) {
                // The control's KeyDown answers these through the expansion events; the view's
                // own handling would expand without asking.
                HostedPeer::eventFilter(watched, e);
                if (TTreeNode* node = view_.Selected()) {
                    if (key == Qt::Key_Asterisk) node->Expand(true);
                    else Send(TVM_EXPAND, key == Qt::Key_Plus ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(node->ItemId()));
                }
                return true;
            }
        }
        return HostedPeer::eventFilter(watched, e);
    }

private:
    struct Syncing {
        explicit Syncing(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
        ~Syncing() { flag_ = saved_; }
        bool& flag_;
        bool saved_;
    };

    void CurrentChanged(const QModelIndex& now) {
        if (syncing_) return;
        TTreeNode* node = NodeOf(now);
        if (node && view_.MultiSelect() && (QApplication::keyboardModifiers() & Qt::ShiftModifier)) {
            view_.Select(node, TShiftState{ssShift});  // Shift with the arrow keys
            return;
        }
        const UINT action = QApplication::mouseButtons() != Qt::NoButton ? TVC_BYMOUSE : TVC_BYKEYBOARD;
        if (!Send(TVM_SELECTITEM, TVGN_CARET | (static_cast<WPARAM>(action) << 16), reinterpret_cast<LPARAM>(node ? node->ItemId() : nullptr)))
            SetSelected(view_.Selected());
    }

    bool OnButton(const QModelIndex& index, const QPoint& p) const {
        if (!index.isValid()) return false;
        const QRect r = widget_->visualRect(index);
        return p.x() < r.left() && p.x() >= r.left() - widget_->indentation();
    }

    bool MousePress(QObject* watched, QMouseEvent* e) {
        HostedPeer::eventFilter(watched, e);  // the control hears the button first
        pressPos_ = e->position().toPoint();
        pressIndex_ = widget_->indexAt(pressPos_);
        dragStarted_ = false;
        if (e->button() == Qt::RightButton) return true;  // a right click does not select
        if (e->button() == Qt::LeftButton && OnButton(pressIndex_, pressPos_)) {
            if (TTreeNode* node = NodeOf(pressIndex_)) Send(TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(node->ItemId()));
            return true;
        }
        if (e->button() == Qt::LeftButton && view_.MultiSelect()) return MultiSelectPress(e);
        return false;
    }

    // The control picks the nodes (as its MultiSelectStyle allows), not the view.
    bool MultiSelectPress(const QMouseEvent* e) {
        pendingClick_ = QPersistentModelIndex();
        TTreeNode* node = NodeOf(pressIndex_);
        if (!node) return false;
        TShiftState shift;
        if (e->modifiers() & Qt::ControlModifier) shift << ssCtrl;
        if (e->modifiers() & Qt::ShiftModifier) shift << ssShift;
        // A plain press on one of several selected nodes may start dragging them all: the
        // release without a drag selects it alone.
        if (shift.Empty() && node->Selected() && view_.SelectionCount() > 1) pendingClick_ = pressIndex_;
        else view_.Select(node, shift);
        return true;
    }

    bool DoubleClick(QObject* watched, QMouseEvent* e) {
        HostedPeer::eventFilter(watched, e);
        const QModelIndex index = widget_->indexAt(e->position().toPoint());
        if (e->button() == Qt::LeftButton)
            if (TTreeNode* node = NodeOf(index)) Send(TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(node->ItemId()));
        NotifyCode(e->button() == Qt::RightButton ? NM_RDBLCLK : NM_DBLCLK);
        return true;
    }

    bool MouseMove(QObject* watched, QMouseEvent* e) {
        HostedPeer::eventFilter(watched, e);
        const bool left = e->buttons() & Qt::LeftButton, right = e->buttons() & Qt::RightButton;
        if ((left || right) && !dragStarted_ && pressIndex_.isValid() &&
            (e->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
            dragStarted_ = true;
            if (!(styles_ & TVS_DISABLEDRAGDROP)) {
                NMTREEVIEWW nm;
                nm.hdr.hwndFrom = Control().WindowHandle();
                nm.hdr.code = left ? TVN_BEGINDRAGW : TVN_BEGINRDRAGW;
                TTreeNode* node = NodeOf(pressIndex_);
                nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
                nm.itemNew.hItem = node->ItemId();
                nm.itemNew.lParam = reinterpret_cast<LPARAM>(node);
                const QPoint p = widget_->viewport()->mapTo(this, pressPos_);
                nm.ptDrag = POINT{p.x(), p.y()};
                Send(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
            }
        }
        // The view's own drag would select rows as the mouse moves; the control decides.
        return dragStarted_;
    }

    // As the platform's tree does: a right click is NM_RCLICK, then (unless that was answered)
    // the context menu request, then the button-up message.
    bool MouseRelease(QObject* watched, QMouseEvent* e) {
        if (e->button() == Qt::RightButton) {
            if (NotifyCode(NM_RCLICK) == 0) {
                const QPoint g = e->globalPosition().toPoint();
                TMessage m{WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control().WindowHandle()), MAKELPARAM(g.x(), g.y()), 0};
                Send(m);
            }
            HostedPeer::eventFilter(watched, e);
        } else {
            HostedPeer::eventFilter(watched, e);
            if (e->button() == Qt::LeftButton && pendingClick_.isValid() && !dragStarted_) view_.Select(NodeOf(pendingClick_), {});
            if (e->button() == Qt::LeftButton) NotifyCode(NM_CLICK);
        }
        pendingClick_ = QPersistentModelIndex();
        dragStarted_ = false;
        return false;
    }

    LRESULT NotifyCode(UINT code) {
        NMHDR header;
        header.hwndFrom = Control().WindowHandle();
        header.code = code;
        return Send(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }

    bool ToolTip(QHelpEvent* e) {
        const QPoint p = widget_->viewport()->mapTo(this, e->pos());
        TTreeNode* node = NodeAt(TPoint(p.x(), p.y()));
        const TRect text = node ? NodeRect(node, true) : TRect();
        // Like the platform's tree, a tip only for a node whose text is cut off.
        const int visibleRight = widget_->viewport()->mapTo(this, QPoint(widget_->viewport()->width(), 0)).x();
        const WideString tip = node && text.right > visibleRight ? view_.TooltipText(TPoint(p.x(), p.y())) : WideString();
        if (tip.empty()) QToolTip::hideText();
        else QToolTip::showText(e->globalPos(), ToQString(tip), widget_->viewport());
        return true;
    }

    TCustomTreeView& view_;
    TreeModel model_;
    TreeWidget* widget_;
    TreeDelegate* delegate_;
    QPointer<QLineEdit> editor_;
    DWORD styles_ = 0;
    int itemHeight_ = 0;
    bool syncing_ = false;
    QPoint pressPos_;
    QPersistentModelIndex pressIndex_;
    QPersistentModelIndex pendingClick_;  // a plain press on a multi-selection, decided at release
    bool dragStarted_ = false;
};

void TreeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    TTreeNode* node = NodeOf(index);
    QStyleOptionViewItem o(option);
    if (node && node->DropTarget()) o.state |= QStyle::State_Selected | QStyle::State_Active;
    if (peer_.HotTrack() && (o.state & QStyle::State_MouseOver) && !(o.state & QStyle::State_Selected)) {
        o.font.setUnderline(true);
        o.palette.setColor(QPalette::Text, o.palette.color(QPalette::Link));
    }
    if (TCustomImageList* states = view_.StateImages()) {
        if (node && node->StateIndex() >= 0) {
            const QPixmap pm = ImageListPixmap(*states, node->StateIndex());
            painter->drawPixmap(o.rect.left(), o.rect.top() + (o.rect.height() - pm.height()) / 2, pm);
        }
        o.rect.setLeft(o.rect.left() + StateWidth());
    }
    QStyledItemDelegate::paint(painter, o, index);
}

QSize TreeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setWidth(s.width() + StateWidth());
    if (peer_.ItemHeight() > 0) s.setHeight(peer_.ItemHeight());
    return s;
}

QWidget* TreeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    auto* editor = static_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
    peer_.SetEditor(editor);
    return editor;
}

void TreeDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem o(option);
    o.rect.setLeft(o.rect.left() + StateWidth());
    QStyledItemDelegate::updateEditorGeometry(editor, o, index);
}

void TreeWidget::paintEvent(QPaintEvent* e) {
    QTreeView::paintEvent(e);
    QPainter painter(viewport());
    peer_.PaintOver(painter);
}

bool TreeWidget::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // An editor the user asks for goes through the control's begin-edit notification.
    if (!ownEdit && trigger == AllEditTriggers) {
        peer_.RequestEdit(index);
        return peer_.EditorOpen();
    }
    return QTreeView::edit(index, trigger, event);
}

void TreeWidget::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (!closingByControl && peer_.EditorOpen()) {
        // The control takes the text (or drops it) and closes the editor through EndEdit.
        peer_.EditorClosing(hint == QAbstractItemDelegate::RevertModelCache);
        if (!peer_.EditorOpen()) return;
    }
    QTreeView::closeEditor(editor, hint);
}

}  // namespace

void RegisterTreeViewPeers() {
    RegisterPeerClass(u"SysTreeView32", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) -> std::unique_ptr<TWidgetPeer> {
        if (!dynamic_cast<TCustomTreeView*>(&c)) return nullptr;
        return std::make_unique<TreePeer>(c, p, parent);
    });
}

}  // namespace vclqt
