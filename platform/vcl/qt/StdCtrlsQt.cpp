// Qt peers of the standard controls: line and plain-text edits, push buttons, check boxes,
// radio buttons, combo boxes, list boxes (owner drawing through the control) and scroll bars
// and sliders; and the frame painter that draws group boxes and bevels in the Qt style.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <qdrawutil.h>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTextBlock>

#include "platform/vcl/ControlFrames.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/DeviceContextQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

LPARAM HandleParam(TWinControl& control) { return reinterpret_cast<LPARAM>(control.WindowHandle()); }

// Positions in the control's text (CR LF counts two) and in a Qt text (one line feed).
int QtPosOf(const QString& qt, int pos) {
    int q = 0;
    for (int c = 0; q < qt.size() && c < pos; ++q) c += qt[q] == u'\n' ? 2 : 1;
    return q;
}

int ControlPosOf(const QString& qt, int q) {
    int c = 0;
    for (int i = 0; i < q && i < qt.size(); ++i) c += qt[i] == u'\n' ? 2 : 1;
    return c;
}

QString ToQtLines(const WideString& text) {
    QString s = QtString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

// ---- edits

// The chevron of a drop-down field, in the palette's text colour.
QIcon DropArrowIcon(const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const QPointF arrow[] = {QPointF(4, 6), QPointF(12, 6), QPointF(8, 11)};
    p.drawPolygon(arrow, 3);
    return QIcon(pixmap);
}

class EditPeer : public HostedPeer, public TEditPeer {
public:
    EditPeer(TWinControl& control, const TCreateParams& params, QWidget* parent) : HostedPeer(control, params, parent) {
        if (params.Style & ES_MULTILINE) {
            memo_ = new QPlainTextEdit;
            memo_->setTabChangesFocus(true);
            QObject::connect(memo_, &QPlainTextEdit::textChanged, memo_, [this] { Changed(); });
            Host(memo_, {memo_->viewport()});
        } else {
            line_ = new QLineEdit;
            QObject::connect(line_, &QLineEdit::textChanged, line_, [this] { Changed(); });
            Host(line_);
        }
    }

    void SetText(const WideString& text) override {
        pushing_ = true;
        if (line_) {
            const QString t = QtString(text);
            if (line_->maxLength() < t.size()) line_->setMaxLength(static_cast<int>(t.size()));
            line_->setText(t);
        } else {
            memo_->setPlainText(ToQtLines(text));
        }
        pushing_ = false;
    }

    std::optional<WideString> Text() const override {
        if (line_) return WideOf(line_->text());
        QString t = memo_->toPlainText();
        t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        return WideOf(t);
    }

    void SetOptions(const TEditOptions& o) override {
        const Qt::Alignment align = o.Alignment == taCenter ? Qt::AlignHCenter : o.Alignment == taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
        if (line_) {
            line_->setReadOnly(o.ReadOnly);
            line_->setEchoMode(o.PasswordChar ? QLineEdit::Password : QLineEdit::Normal);
            line_->setMaxLength(o.MaxLength > 0 ? std::max<int>(o.MaxLength, static_cast<int>(line_->text().size())) : 32767);
            line_->setAlignment(align | Qt::AlignVCenter);
            return;
        }
        memo_->setReadOnly(o.ReadOnly);
        memo_->setLineWrapMode(o.WordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        memo_->setVerticalScrollBarPolicy(o.ScrollBars == ssVertical || o.ScrollBars == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        memo_->setHorizontalScrollBarPolicy(o.ScrollBars == ssHorizontal || o.ScrollBars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                                                     : Qt::ScrollBarAlwaysOff);
        memo_->setTabChangesFocus(!o.WantTabs);
    }

    void SetSelection(int start, int length) override {
        if (line_) {
            line_->setSelection(start, length);
            return;
        }
        const QString t = memo_->toPlainText();
        QTextCursor c = memo_->textCursor();
        c.setPosition(QtPosOf(t, start));
        c.setPosition(QtPosOf(t, start + length), QTextCursor::KeepAnchor);
        memo_->setTextCursor(c);
    }

    void Selection(int& start, int& length) const override {
        if (line_) {
            start = line_->hasSelectedText() ? static_cast<int>(line_->selectionStart()) : line_->cursorPosition();
            length = line_->hasSelectedText() ? static_cast<int>(line_->selectedText().size()) : 0;
            return;
        }
        const QString t = memo_->toPlainText();
        const QTextCursor c = memo_->textCursor();
        start = ControlPosOf(t, c.selectionStart());
        length = ControlPosOf(t, c.selectionEnd()) - start;
    }

    void SetDropButton(bool shown) override {
        if (!line_ || shown == (dropAction_ != nullptr)) return;
        if (!shown) {
            line_->removeAction(dropAction_);
            delete dropAction_;
            dropAction_ = nullptr;
            return;
        }
        dropAction_ = line_->addAction(DropArrowIcon(line_->palette().color(QPalette::ButtonText)), QLineEdit::TrailingPosition);
        QObject::connect(dropAction_, &QAction::triggered, line_, [this] { Send(CN_COMMAND, MAKEWPARAM(0, EN_DROPBUTTON), HandleParam(Control())); });
    }

private:
    void Changed() {
        if (!pushing_) Send(CN_COMMAND, MAKEWPARAM(0, EN_CHANGE), HandleParam(Control()));
    }
    QAction* dropAction_ = nullptr;  // a child of the line edit
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    bool pushing_ = false;
};

// ---- buttons

// A check box or radio button answers a click anywhere in its window, as the platform's button
// controls do, not only on the mark and the caption's text.
template <class Base>
class WholeAreaButton : public Base {
protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

class ButtonPeer : public HostedPeer, public TButtonPeer {
public:
    ButtonPeer(TWinControl& control, const TCreateParams& params, QWidget* parent) : HostedPeer(control, params, parent) {
        const DWORD kind = params.Style & BS_TYPEMASK;
        if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE) {
            check_ = new WholeAreaButton<QCheckBox>;
            check_->setTristate(kind == BS_3STATE);
            button_ = check_;
        } else if (kind == BS_RADIOBUTTON) {
            auto* radio = new WholeAreaButton<QRadioButton>;
            radio->setAutoExclusive(false);  // the control unchecks its siblings
            button_ = radio;
        } else {
            push_ = new QPushButton;
            push_->setAutoDefault(false);
            button_ = push_;
        }
        if (params.Style & BS_LEFTTEXT) button_->setLayoutDirection(Qt::RightToLeft);
        QObject::connect(button_, &QAbstractButton::clicked, button_, [this] {
            if (!pushing_) Send(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), HandleParam(Control()));
        });
        Host(button_);
    }

    void SetText(const WideString& text) override { button_->setText(QtString(text)); }

    void SetCheck(int state) override {
        pushing_ = true;
        if (check_) check_->setCheckState(state == BST_CHECKED ? Qt::Checked : state == BST_INDETERMINATE ? Qt::PartiallyChecked : Qt::Unchecked);
        else if (button_->isCheckable()) button_->setChecked(state == BST_CHECKED);
        pushing_ = false;
    }

    void SetDefault(bool isDefault) override {
        if (push_) push_->setDefault(isDefault);
    }

private:
    QAbstractButton* button_ = nullptr;
    QCheckBox* check_ = nullptr;
    QPushButton* push_ = nullptr;
    bool pushing_ = false;
};

// ---- owner-drawn items: the control paints through CN_DRAWITEM on the view's painter

class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(TWinControl& control, UINT ctlType, QObject* parent)
        : QStyledItemDelegate(parent), control_(control), ctlType_(ctlType) {}
    bool variable = false;
    int itemHeight = 16;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        HDC dc = CreatePainterDC(*painter);
        DRAWITEMSTRUCT dis;
        dis.CtlType = ctlType_;
        dis.itemID = static_cast<UINT>(index.row());
        dis.itemState = (option.state & QStyle::State_Selected ? ODS_SELECTED : 0) | (option.state & QStyle::State_HasFocus ? ODS_FOCUS : 0) |
                        (option.state & QStyle::State_Enabled ? 0 : ODS_DISABLED);
        dis.hwndItem = control_.WindowHandle();
        dis.hDC = dc;
        const QRect r = option.rect;
        dis.rcItem = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
        try {
            control_.Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        } catch (...) {
            if (Application) Application->HandleException(&control_);
        }
        DeleteDC(dc);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        int height = itemHeight;
        if (variable) {
            MEASUREITEMSTRUCT mis;
            mis.CtlType = ctlType_;
            mis.itemID = static_cast<UINT>(index.row());
            mis.itemHeight = static_cast<UINT>(itemHeight);
            control_.Perform(CN_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            height = static_cast<int>(mis.itemHeight);
        }
        return QSize(option.rect.width(), height);
    }

private:
    TWinControl& control_;
    UINT ctlType_;
};

// ---- combo boxes

class NotifyingCombo : public QComboBox {
public:
    std::function<void(bool)> dropped;
    // Owner-drawn styles: the closed box shows the current item through this (its edit part).
    std::function<void(QPainter&, const QRect&, bool focused)> drawCurrent;
    // Called after the box painted itself, to draw over it.
    std::function<void(QPainter&)> paintOver;
    int droppedWidth = 0;

    void showPopup() override {
        if (dropped) dropped(true);
        QComboBox::showPopup();
        if (droppedWidth > 0 && view() && view()->window()) {
            QWidget* popup = view()->window();
            popup->resize(std::max(droppedWidth, width()), popup->height());
        }
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        if (dropped) dropped(false);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!drawCurrent || isEditable()) {
            QComboBox::paintEvent(e);
        } else {
            QStylePainter painter(this);
            QStyleOptionComboBox option;
            initStyleOption(&option);
            option.currentText.clear();
            option.currentIcon = QIcon();
            painter.drawComplexControl(QStyle::CC_ComboBox, option);
            const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
            drawCurrent(painter, field, hasFocus());
        }
        if (paintOver) {
            QPainter painter(this);
            paintOver(painter);
        }
    }
};

class ComboPeer : public HostedPeer, public TComboBoxPeer {
public:
    ComboPeer(TWinControl& control, const TCreateParams& params, QWidget* parent) : HostedPeer(control, params, parent) {
        combo_ = new NotifyingCombo;
        const DWORD kind = params.Style & 0x3;
        combo_->setEditable(kind == CBS_DROPDOWN || kind == CBS_SIMPLE);
        combo_->setInsertPolicy(QComboBox::NoInsert);
        if (QLineEdit* edit = combo_->lineEdit()) edit->setCompleter(nullptr);
        if (params.Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
            delegate_ = new OwnerDrawDelegate(control, ODT_COMBOBOX, combo_);
            delegate_->variable = (params.Style & CBS_OWNERDRAWVARIABLE) != 0;
            combo_->setItemDelegate(delegate_);
            combo_->drawCurrent = [this](QPainter& painter, const QRect& r, bool focused) { DrawCurrent(painter, r, focused); };
        }
        QObject::connect(combo_, &QComboBox::currentIndexChanged, combo_, [this] { Notify(CBN_SELCHANGE); });
        QObject::connect(combo_, &QComboBox::activated, combo_, [this] {
            chosen_ = true;
            Notify(CBN_SELENDOK);
        });
        if (QLineEdit* edit = combo_->lineEdit())
            QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { Notify(CBN_EDITCHANGE); });
        combo_->dropped = [this](bool down) {
            if (down) chosen_ = false;
            else if (!chosen_) Notify(CBN_SELENDCANCEL);
            Notify(down ? CBN_DROPDOWN : CBN_CLOSEUP);
        };
        Host(combo_, {combo_->lineEdit()});
    }

    void SetText(const WideString& text) override {
        if (!combo_->isEditable()) return;
        pushing_ = true;
        combo_->setEditText(QtString(text));
        pushing_ = false;
    }
    std::optional<WideString> Text() const override { return WideOf(combo_->currentText()); }

    void InsertItem(int index, const WideString& text) override { Quiet([&] { combo_->insertItem(index, QtString(text)); }); }
    void DeleteItem(int index) override { Quiet([&] { combo_->removeItem(index); }); }
    void SetItemText(int index, const WideString& text) override { Quiet([&] { combo_->setItemText(index, QtString(text)); }); }
    void ClearItems() override { Quiet([&] { combo_->clear(); }); }
    void SetItemIndex(int index) override { Quiet([&] { combo_->setCurrentIndex(index); }); }
    int ItemIndex() const override { return combo_->currentIndex(); }
    void SetDropDownCount(int count) override { combo_->setMaxVisibleItems(count); }
    void SetMaxLength(int length) override {
        if (QLineEdit* edit = combo_->lineEdit()) edit->setMaxLength(length > 0 ? length : 32767);
    }
    void SetDroppedDown(bool dropped) override {
        if (dropped) combo_->showPopup();
        else combo_->hidePopup();
    }
    bool DroppedDown() const override { return combo_->view() && combo_->view()->isVisible(); }
    void SetEditSelection(int start, int length) override {
        if (QLineEdit* edit = combo_->lineEdit()) {
            if (length > 0) edit->setSelection(start, length);
            else {
                edit->deselect();
                edit->setCursorPosition(start);
            }
        }
    }
    void EditSelection(int& start, int& length) const override {
        start = length = 0;
        if (const QLineEdit* edit = combo_->lineEdit()) {
            if (edit->hasSelectedText()) {
                start = edit->selectionStart();
                length = edit->selectionLength();
            } else {
                start = edit->cursorPosition();
            }
        }
    }
    void SetEditReadOnly(bool readOnly) override {
        if (QLineEdit* edit = combo_->lineEdit()) edit->setReadOnly(readOnly);
    }
    void SetCueText(const WideString& text) override {
        combo_->setPlaceholderText(QtString(text));
        if (QLineEdit* edit = combo_->lineEdit()) edit->setPlaceholderText(QtString(text));
    }
    void SetDroppedWidth(int width) override { combo_->droppedWidth = width; }
    // The control's colour fills the field (a styled combo box shows its state so).
    void SetColor(COLORREF color) override {
        QPalette palette = combo_->palette();
        palette.setColor(QPalette::Base, ColorOf(color));
        combo_->setPalette(palette);
        if (QLineEdit* edit = combo_->lineEdit()) edit->setPalette(palette);
        HostedPeer::SetColor(color);
    }
    void SetItemHeight(int height) override {
        if (delegate_) delegate_->itemHeight = height;
        combo_->update();
    }
    int TopIndex() const override {
        const QAbstractItemView* view = combo_->view();
        if (!view) return 0;
        const QModelIndex top = view->indexAt(QPoint(1, 1));
        return top.isValid() ? top.row() : 0;
    }
    void SetTopIndex(int index) override {
        if (QAbstractItemView* view = combo_->view())
            view->scrollTo(combo_->model()->index(index, 0), QAbstractItemView::PositionAtTop);
    }
    void SetPaintOver(bool on) override {
        if (!on) {
            combo_->paintOver = nullptr;
        } else {
            combo_->paintOver = [this](QPainter& painter) {
                HDC dc = CreatePainterDC(painter);
                if (!dc) return;
                Send(CN_PAINTOVER, reinterpret_cast<WPARAM>(dc), 0);
                DeleteDC(dc);
            };
        }
        combo_->update();
    }

private:
    template <class F>
    void Quiet(F&& f) {
        const bool saved = pushing_;
        pushing_ = true;
        f();
        pushing_ = saved;
    }
    void Notify(WORD code) {
        if (!pushing_) Send(CN_COMMAND, MAKEWPARAM(0, code), HandleParam(Control()));
    }
    void DrawCurrent(QPainter& painter, const QRect& r, bool focused) {
        painter.save();
        HDC dc = CreatePainterDC(painter);
        if (dc) {
            DRAWITEMSTRUCT dis;
            dis.CtlType = ODT_COMBOBOX;
            dis.itemID = static_cast<UINT>(combo_->currentIndex());
            dis.itemState = ODS_COMBOBOXEDIT | (focused ? ODS_SELECTED | ODS_FOCUS : 0) | (combo_->isEnabled() ? 0 : ODS_DISABLED);
            dis.hwndItem = Control().WindowHandle();
            dis.hDC = dc;
            dis.rcItem = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
            try {
                Control().Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
            } catch (...) {
                if (Application) Application->HandleException(&Control());
            }
            DeleteDC(dc);
        }
        painter.restore();
    }
    NotifyingCombo* combo_;
    OwnerDrawDelegate* delegate_ = nullptr;
    bool pushing_ = false;
    bool chosen_ = false;
};

// ---- list boxes

class ListBoxPeer : public HostedPeer, public TListBoxPeer {
public:
    ListBoxPeer(TWinControl& control, const TCreateParams& params, QWidget* parent) : HostedPeer(control, params, parent) {
        list_ = new QListWidget;
        list_->setUniformItemSizes(!(params.Style & LBS_OWNERDRAWVARIABLE));
        QObject::connect(list_, &QListWidget::itemSelectionChanged, list_, [this] { Notify(LBN_SELCHANGE); });
        QObject::connect(list_, &QListWidget::itemDoubleClicked, list_, [this] { Notify(LBN_DBLCLK); });
        Host(list_, {list_->viewport()});
    }

    void InsertItem(int index, const WideString& text) override { Quiet([&] { list_->insertItem(index, QtString(text)); }); }
    void DeleteItem(int index) override { Quiet([&] { delete list_->takeItem(index); }); }
    void SetItemText(int index, const WideString& text) override {
        if (QListWidgetItem* item = list_->item(index)) item->setText(QtString(text));
    }
    void ClearItems() override { Quiet([&] { list_->clear(); }); }
    void SetItemIndex(int index) override {
        Quiet([&] {
            if (index < 0) {
                list_->clearSelection();
                list_->setCurrentRow(-1);
            } else {
                list_->setCurrentRow(index, list_->selectionMode() == QAbstractItemView::SingleSelection
                                                ? QItemSelectionModel::ClearAndSelect
                                                : QItemSelectionModel::Select);
            }
        });
    }
    int ItemIndex() const override { return list_->currentRow(); }
    void SetMultiSelect(bool multi, bool extended) override {
        list_->setSelectionMode(!multi ? QAbstractItemView::SingleSelection
                                       : extended ? QAbstractItemView::ExtendedSelection : QAbstractItemView::MultiSelection);
    }
    void SetSelected(int index, bool selected) override {
        if (QListWidgetItem* item = list_->item(index)) Quiet([&] { item->setSelected(selected); });
    }
    bool Selected(int index) const override {
        const QListWidgetItem* item = list_->item(index);
        return item && item->isSelected();
    }
    int TopIndex() const override {
        const QModelIndex top = list_->indexAt(QPoint(1, 1));
        return top.isValid() ? top.row() : 0;
    }
    void SetTopIndex(int index) override {
        if (QListWidgetItem* item = list_->item(index)) list_->scrollToItem(item, QAbstractItemView::PositionAtTop);
    }
    void SetOwnerDraw(bool ownerDraw, bool variable, int itemHeight) override {
        if (!ownerDraw) {
            list_->setItemDelegate(new QStyledItemDelegate(list_));
            return;
        }
        auto* delegate = new OwnerDrawDelegate(Control(), ODT_LISTBOX, list_);
        delegate->variable = variable;
        delegate->itemHeight = itemHeight;
        list_->setUniformItemSizes(!variable);
        list_->setItemDelegate(delegate);
    }
    TRect ItemRect(int index) const override {
        const QListWidgetItem* item = list_->item(index);
        if (!item) return TRect(0, 0, 0, 0);
        QRect r = list_->visualItemRect(item);
        r.moveTopLeft(list_->viewport()->mapTo(const_cast<ListBoxPeer*>(this), r.topLeft()));
        return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }

private:
    template <class F>
    void Quiet(F&& f) {
        const bool saved = pushing_;
        pushing_ = true;
        f();
        pushing_ = saved;
    }
    void Notify(WORD code) {
        if (!pushing_) Send(CN_COMMAND, MAKEWPARAM(0, code), HandleParam(Control()));
    }
    QListWidget* list_;
    bool pushing_ = false;
};

// ---- scroll bars and track bars: Qt's slider actions become scroll messages

WORD ScrollCodeOf(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    default: return SB_THUMBTRACK;
    }
}

class SliderPeer : public HostedPeer, public TRangePeer {
public:
    SliderPeer(TWinControl& control, const TCreateParams& params, QWidget* parent, QAbstractSlider* slider)
        : HostedPeer(control, params, parent), slider_(slider) {
        QObject::connect(slider_, &QAbstractSlider::actionTriggered, slider_, [this](int action) {
            if (pushing_) return;
            const WORD code = ScrollCodeOf(action);
            const UINT msg = slider_->orientation() == Qt::Vertical ? CN_VSCROLL : CN_HSCROLL;
            Send(msg, MAKEWPARAM(code, slider_->sliderPosition()), HandleParam(Control()));
            slider_->setSliderPosition(position_);
        });
        Host(slider_);
    }

    void SetRange(const TRangeOptions& o) override {
        pushing_ = true;
        position_ = o.Position;
        slider_->setOrientation(o.Vertical ? Qt::Vertical : Qt::Horizontal);
        slider_->setRange(o.Min, o.PageSize > 0 ? std::max(o.Min, o.Max - o.PageSize + 1) : o.Max);
        slider_->setSingleStep(o.SmallChange);
        slider_->setPageStep(o.PageSize > 0 ? o.PageSize : o.LargeChange);
        slider_->setValue(o.Position);
        if (auto* s = qobject_cast<QSlider*>(slider_)) {
            s->setTickPosition(o.Frequency > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
            s->setTickInterval(o.Frequency);
        }
        pushing_ = false;
    }
    int TrackPosition() const override { return slider_->sliderPosition(); }

private:
    QAbstractSlider* slider_;
    int position_ = 0;
    bool pushing_ = false;
};

// ---- frames in the Qt style

// A rectangle of the context's logical units in the painter's coordinates (a graphic
// control's context has its origin moved to the control).
QRect PainterRect(HDC dc, const TRect& r) {
    POINT p[2] = {{r.left, r.top}, {r.right, r.bottom}};
    LPtoDP(dc, p, 2);
    return QRect(QPoint(p[0].x, p[0].y), QPoint(p[1].x - 1, p[1].y - 1));
}

class QtFramePainter : public TFramePainter {
public:
    void GroupFrame(HDC dc, const TRect& r, const WideString& caption, const TFont& font, bool enabled) override {
        QPainter* painter = PainterOfDC(dc);
        if (!painter) return TFramePainter::GroupFrame(dc, r, caption, font, enabled);
        painter->save();
        const QFont qfont = QtFontOf(font.LogFont());
        painter->setFont(qfont);
        QStyleOptionGroupBox opt;
        opt.palette = QApplication::palette();
        opt.direction = QApplication::layoutDirection();
        opt.rect = PainterRect(dc, r);
        opt.fontMetrics = QFontMetrics(qfont);
        opt.text = QtString(caption);
        opt.textAlignment = Qt::AlignLeft;
        opt.textColor = opt.palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
        opt.subControls = QStyle::SC_GroupBoxFrame | (caption.empty() ? QStyle::SC_None : QStyle::SC_GroupBoxLabel);
        opt.lineWidth = 1;
        opt.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
        QApplication::style()->drawComplexControl(QStyle::CC_GroupBox, &opt, painter, nullptr);
        painter->restore();
    }

    void Bevel(HDC dc, TRect& r, TFrameKind kind, int width) override {
        QPainter* painter = PainterOfDC(dc);
        if (!painter) return TFramePainter::Bevel(dc, r, kind, width);
        const QRect q = PainterRect(dc, r);
        const QPalette pal = QApplication::palette();
        if (kind == TFrameKind::Single) qDrawPlainRect(painter, q, pal.color(QPalette::Mid), width);
        else qDrawShadePanel(painter, q, pal, kind == TFrameKind::Lowered, width);
        r.Inflate(-width, -width);
    }

    void Line(HDC dc, TPoint a, TPoint b, bool raised) override {
        QPainter* painter = PainterOfDC(dc);
        if (!painter) return TFramePainter::Line(dc, a, b, raised);
        const QRect q = PainterRect(dc, TRect(a.x, a.y, b.x + 1, b.y + 1));
        qDrawShadeLine(painter, q.topLeft(), q.bottomRight(), QApplication::palette(), !raised, 1, 0);
    }

    int CaptionHeight(const TFont& font) override { return QFontMetrics(QtFontOf(font.LogFont())).height(); }
};

}  // namespace

void RegisterStdCtrlsPeers() {
    RegisterPeerClass(u"EDIT", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) { return std::make_unique<EditPeer>(c, p, parent); });
    RegisterPeerClass(u"BUTTON", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) -> std::unique_ptr<TWidgetPeer> {
        if ((p.Style & BS_TYPEMASK) == BS_GROUPBOX) return std::make_unique<PeerWidget>(c, p, parent);
        return std::make_unique<ButtonPeer>(c, p, parent);
    });
    RegisterPeerClass(u"COMBOBOX", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) { return std::make_unique<ComboPeer>(c, p, parent); });
    RegisterPeerClass(u"LISTBOX", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) { return std::make_unique<ListBoxPeer>(c, p, parent); });
    RegisterPeerClass(u"SCROLLBAR", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) {
        return std::make_unique<SliderPeer>(c, p, parent, new QScrollBar);
    });
    RegisterPeerClass(u"msctls_trackbar32", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) {
        return std::make_unique<SliderPeer>(c, p, parent, new QSlider);
    });
    SetFramePainter(std::make_unique<QtFramePainter>());
}

}  // namespace vclqt
