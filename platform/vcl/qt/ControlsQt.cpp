#include "platform/vcl/qt/ControlsQt.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/DropTargetQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/win/WinError.h"

namespace vclqt {

namespace {

QString ToQString(const WideString& s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    WPARAM keys = 0;
    if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (mods & Qt::ControlModifier) keys |= MK_CONTROL;
    return keys;
}

// Our key data: bits 25 and 26 carry Shift and Ctrl, bit 29 Alt, bit 30 a repeat, bit 31 a
// release (see KeyDataToShiftState).
LPARAM KeyData(const QKeyEvent* e, bool release) {
    LONG data = 1;
    if (e->modifiers() & Qt::ShiftModifier) data |= 1 << 25;
    if (e->modifiers() & Qt::ControlModifier) data |= 1 << 26;
    if (e->modifiers() & Qt::AltModifier) data |= 1 << 29;
    if (e->isAutoRepeat() || release) data |= 1 << 30;
    LPARAM l = data;
    if (release) l |= static_cast<LPARAM>(static_cast<DWORD>(1u << 31));
    return l;
}

Qt::CursorShape CursorShape(int cursor) {
    switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

WORD VirtualKeyOfQtKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<WORD>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<WORD>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<WORD>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Comma:
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period:
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash:
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return VK_OEM_7;
    default: return 0;
    }
}

PeerWidget::PeerWidget(TWinControl& control, const TCreateParams& params, QWidget* parent)
    : QWidget(parent, parent ? Qt::WindowFlags() : Qt::Window), topLevel_(parent == nullptr), control_(control) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(topLevel_ ? Qt::ClickFocus : Qt::StrongFocus);
    setAutoFillBackground(false);
    if (topLevel_) {
        setWindowTitle(ToQString(params.Caption));
        setAttribute(Qt::WA_DeleteOnClose, false);
    }
    setObjectName(QString::fromUtf8(control.Name().c_str()));
    if (params.ExStyle & WS_EX_ACCEPTFILES) setAcceptDrops(true);
}

PeerWidget::~PeerWidget() = default;

LRESULT PeerWidget::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return control_.Perform(msg, wParam, lParam);
    } catch (...) {
        if (Application) Application->HandleException(&control_);
        return 0;
    }
}

void PeerWidget::Send(TMessage& m) {
    try {
        control_.WindowProc(m);
    } catch (...) {
        if (Application) Application->HandleException(&control_);
    }
}

void PeerWidget::SetBounds(const TRect& b) {
    applying_ = true;
    if (topLevel_) {
        move(b.left, b.top);
        resize(std::max<LONG>(b.Width(), 1), std::max<LONG>(b.Height(), 1));
    } else {
        // A child of a window with a menu bar sits below the bar.
        const auto* owner = dynamic_cast<PeerWidget*>(parentWidget());
        const int top = owner ? owner->clientTop_ : 0;
        setGeometry(b.left, b.top + top, std::max<LONG>(b.Width(), 0), std::max<LONG>(b.Height(), 0));
    }
    applying_ = false;
}

void PeerWidget::SetVisible(bool visible) { setVisible(visible); }
void PeerWidget::SetEnabled(bool enabled) { setEnabled(enabled); }

void PeerWidget::SetText(const WideString& text) {
    if (topLevel_) setWindowTitle(ToQString(text));
}

void PeerWidget::SetFont(const LOGFONTW& font, COLORREF) { setFont(QtFontOf(font)); }
void PeerWidget::SetColor(COLORREF) { update(); }

void PeerWidget::SetZOrder(bool top) {
    if (top)
        raise();
    else
        lower();
}

void PeerWidget::Invalidate(const TRect* rect) {
    if (rect)
        update(QRect(rect->left, rect->top + clientTop_, rect->Width(), rect->Height()));
    else
        update();
}

void PeerWidget::Update() { repaint(); }

void PeerWidget::SetFocus() {
    if (topLevel_) activateWindow();
    setFocus(Qt::OtherFocusReason);
    // Without a window system (offscreen) Qt may not move the focus; the control still learns it.
    if (!hasFocus()) {
        QWidget* old = QApplication::focusWidget();
        if (old == this) return;
        if (auto* oldPeer = dynamic_cast<PeerWidget*>(old)) oldPeer->Send(WM_KILLFOCUS, 0, 0);
    }
}

bool PeerWidget::Focused() const { return hasFocus(); }

void PeerWidget::SetCursor(int cursor) {
    if (cursor == crDefault)
        unsetCursor();
    else
        setCursor(QCursor(CursorShape(cursor)));
}

TPoint PeerWidget::ClientOrigin() const {
    const QPoint p = mapToGlobal(QPoint(0, clientTop_));
    return TPoint(p.x(), p.y());
}

void PeerWidget::SetWindowState(int state) {
    if (!topLevel_) return;
    setWindowState(state == 1 ? Qt::WindowMinimized : state == 2 ? Qt::WindowMaximized : Qt::WindowNoState);
}

void PeerWidget::Activate() {
    if (!topLevel_) return;
    raise();
    activateWindow();
}

void PeerWidget::SetModal(bool modal) {
    if (topLevel_) setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
}

void PeerWidget::SetFrame(bool sizeable, bool toolWindow, bool noBorder, bool minimize, bool maximize, bool systemMenu) {
    if (!topLevel_) return;
    Qt::WindowFlags f = toolWindow ? Qt::Tool : Qt::Window;
    if (noBorder) {
        f |= Qt::FramelessWindowHint;
    } else {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (systemMenu) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (minimize) f |= Qt::WindowMinimizeButtonHint;
        if (maximize) f |= Qt::WindowMaximizeButtonHint;
    }
    const bool wasVisible = isVisible();
    setWindowFlags(f);
    if (!sizeable) setFixedSize(size());
    else setMinimumSize(0, 0), setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (wasVisible) show();
}

void PeerWidget::AcceptDrops(bool accept) { setAcceptDrops(accept); }

bool PeerWidget::DefaultMessage(TMessage& m) {
    constexpr WPARAM kSize = 0xF000, kMove = 0xF010;
    if (m.Msg != WM_SYSCOMMAND || !topLevel_ || !windowHandle()) return false;
    const WPARAM command = m.WParam & 0xFFF0;
    if (command == kMove) return windowHandle()->startSystemMove();
    if (command != kSize) return false;
    // The low digit names the edge: 1 left, 2 right, 3 top, 4 top-left, 5 top-right, 6 bottom,
    // 7 bottom-left, 8 bottom-right.
    static const Qt::Edges edges[] = {{},
                                      Qt::LeftEdge,
                                      Qt::RightEdge,
                                      Qt::TopEdge,
                                      Qt::TopEdge | Qt::LeftEdge,
                                      Qt::TopEdge | Qt::RightEdge,
                                      Qt::BottomEdge,
                                      Qt::BottomEdge | Qt::LeftEdge,
                                      Qt::BottomEdge | Qt::RightEdge};
    const WPARAM edge = m.WParam & 0xF;
    if (edge == 0 || edge > 8) return false;
    return windowHandle()->startSystemResize(edges[edge]);
}

void PeerWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.translate(0, clientTop_);
    HDC dc = CreatePainterDC(painter);
    if (!dc) return;
    Send(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    DeleteDC(dc);
}

void PeerWidget::mousePressEvent(QMouseEvent* e) {
    const QPoint p = ClientPoint(e->position());
    const UINT msg = e->button() == Qt::RightButton ? WM_RBUTTONDOWN : e->button() == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
    Send(msg, MouseKeys(e->buttons(), e->modifiers()), MAKELPARAM(p.x(), p.y()));
}

void PeerWidget::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = ClientPoint(e->position());
    const UINT msg = e->button() == Qt::RightButton ? WM_RBUTTONUP : e->button() == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
    Send(msg, MouseKeys(e->buttons(), e->modifiers()), MAKELPARAM(p.x(), p.y()));
    // The right button's release asks for the context menu, as on Windows.
    if (e->button() == Qt::RightButton) {
        const QPoint g = e->globalPosition().toPoint();
        Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control_.WindowHandle()), MAKELPARAM(g.x(), g.y()));
    }
}

void PeerWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint p = ClientPoint(e->position());
    const UINT msg = e->button() == Qt::RightButton ? WM_RBUTTONDBLCLK : e->button() == Qt::MiddleButton ? WM_MBUTTONDBLCLK : WM_LBUTTONDBLCLK;
    Send(msg, MouseKeys(e->buttons(), e->modifiers()), MAKELPARAM(p.x(), p.y()));
}

void PeerWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = ClientPoint(e->position());
    Send(WM_MOUSEMOVE, MouseKeys(e->buttons(), e->modifiers()), MAKELPARAM(p.x(), p.y()));
}

void PeerWidget::wheelEvent(QWheelEvent* e) {
    const QPoint g = e->globalPosition().toPoint();
    const int delta = e->angleDelta().y();
    const WPARAM w = MAKEWPARAM(static_cast<int>(MouseKeys(e->buttons(), e->modifiers())), delta);
    if (Send(WM_MOUSEWHEEL, w, MAKELPARAM(g.x(), g.y())) == 0) e->ignore();
}

void PeerWidget::keyPressEvent(QKeyEvent* e) {
    const WORD vk = VirtualKeyOfQtKey(e->key());
    const bool alt = e->modifiers() & Qt::AltModifier;
    const LPARAM data = KeyData(e, false);
    if (vk) Send(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data);
    // The typed characters follow as UTF-16 code units; Ctrl+letter gives its control code.
    QString text = e->text();
    if (text.isEmpty() && (e->modifiers() & Qt::ControlModifier) && vk >= 'A' && vk <= 'Z') text = QChar(vk - 'A' + 1);
    for (QChar ch : text) {
        if (vk == VK_TAB || (ch.unicode() == 0x7F && vk == VK_DELETE)) continue;
        Send(alt ? WM_SYSCHAR : WM_CHAR, ch.unicode(), data);
    }
}

void PeerWidget::keyReleaseEvent(QKeyEvent* e) {
    const WORD vk = VirtualKeyOfQtKey(e->key());
    if (vk) Send(e->modifiers() & Qt::AltModifier ? WM_SYSKEYUP : WM_KEYUP, vk, KeyData(e, true));
}

void PeerWidget::focusInEvent(QFocusEvent*) { Send(WM_SETFOCUS, 0, 0); }
void PeerWidget::focusOutEvent(QFocusEvent*) { Send(WM_KILLFOCUS, 0, 0); }

void PeerWidget::resizeEvent(QResizeEvent* e) {
    if (menuBar_) menuBar_->setGeometry(0, 0, e->size().width(), clientTop_);
    if (applying_ || !topLevel_) return;
    // The user resized the window: the form takes its new client size.
    Send(WM_SIZE, SizeKind(), MAKELPARAM(e->size().width(), e->size().height() - clientTop_));
}

void PeerWidget::moveEvent(QMoveEvent* e) {
    if (applying_ || !topLevel_) return;
    Send(WM_MOVE, 0, MAKELPARAM(e->pos().x(), e->pos().y()));
    // The window manager moved a normal window: its place (that of its frame, as SetBounds
    // takes it) follows, so the place a person left is the one kept. A maximized window keeps
    // its normal place to come back to.
    // Only recorded, as a resize by the window manager is: the window is already there.
    if (windowState() == Qt::WindowNoState && isVisible() && (control_.Left() != x() || control_.Top() != y()))
        control_.TControl::SetBounds(x(), y(), control_.Width(), control_.Height());
}

void PeerWidget::enterEvent(QEnterEvent*) { Send(CM_MOUSEENTER, 0, 0); }
void PeerWidget::leaveEvent(QEvent*) { Send(CM_MOUSELEAVE, 0, 0); }

void PeerWidget::closeEvent(QCloseEvent* e) {
    // The form decides: WM_CLOSE runs Close (CloseQuery, OnClose); it hides the peer itself.
    e->ignore();
    // A disabled window takes no input, its title bar's close included.
    if (!isEnabled()) return;
    Send(WM_CLOSE, 0, 0);
}

void PeerWidget::contextMenuEvent(QContextMenuEvent* e) {
    if (e->reason() == QContextMenuEvent::Mouse) return;  // sent with the right button's release
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control_.WindowHandle()), MAKELPARAM(-1, -1));
}

void PeerWidget::changeEvent(QEvent* e) {
    if (topLevel_ && e->type() == QEvent::ActivationChange)
        Send(WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
    // Minimized, maximized or restored (by the window manager or by code): the form reads its
    // state from the window, as from WM_SIZE's kind of size.
    if (topLevel_ && e->type() == QEvent::WindowStateChange)
        Send(WM_SIZE, SizeKind(), MAKELPARAM(width(), height() - clientTop_));
    QWidget::changeEvent(e);
}

WPARAM PeerWidget::SizeKind() const {
    return isMinimized() ? SIZE_MINIMIZED : isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

void PeerWidget::dragEnterEvent(QDragEnterEvent* e) {
    if (DeliverOleDragEvent(control_.WindowHandle(), e)) return;
    if (e->mimeData()->hasUrls() && AcceptsDroppedFiles(control_.WindowHandle())) e->acceptProposedAction();
}

void PeerWidget::dragMoveEvent(QDragMoveEvent* e) {
    if (!DeliverOleDragEvent(control_.WindowHandle(), e)) QWidget::dragMoveEvent(e);
}

void PeerWidget::dragLeaveEvent(QDragLeaveEvent* e) {
    if (!DeliverOleDragEvent(control_.WindowHandle(), e)) QWidget::dragLeaveEvent(e);
}

void PeerWidget::dropEvent(QDropEvent* e) {
    if (DeliverOleDragEvent(control_.WindowHandle(), e)) return;
    std::vector<WideString> files;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdU16String());
    if (files.empty()) return;
    const QPoint p = ClientPoint(e->position());
    HDROP drop = CreateDropHandle(files, POINT{p.x(), p.y()}, true);
    e->acceptProposedAction();
    if (!PostMessageW(control_.WindowHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) DragFinish(drop);
}

// Tab and Shift+Tab come to the control as keys; the form moves the focus in its tab order.
bool PeerWidget::focusNextPrevChild(bool) { return false; }

}  // namespace vclqt

namespace vclqt {

HostedPeer::HostedPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
    : PeerWidget(control, params, parent) {
    // The hosted widget paints everything; the peer itself draws nothing.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_NoSystemBackground, false);
}

HostedPeer::~HostedPeer() = default;  // the hosted widget is a Qt child: Qt deletes it with us

void HostedPeer::Host(QWidget* widget, std::initializer_list<QWidget*> extra) {
    hosted_ = widget;
    widget->setParent(this);
    widget->setGeometry(rect().marginsRemoved(frame_));
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    for (QWidget* w : extra) {
        if (!w) continue;
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    setFocusProxy(widget);
    widget->show();
}

bool HostedPeer::Focused() const {
    const QWidget* f = QApplication::focusWidget();
    return f && (f == this || isAncestorOf(f));
}

bool HostedPeer::DefaultMessage(TMessage& m) {
    if (pending_ && (&m == pending_ || m.Msg == pending_->Msg)) defaultReached_ = true;
    return false;
}

bool HostedPeer::SendReachesDefault(TMessage& m) {
    const TMessage* savedPending = pending_;
    const bool savedReached = defaultReached_;
    pending_ = &m;
    defaultReached_ = false;
    Send(m);
    const bool reached = defaultReached_;
    pending_ = savedPending;
    defaultReached_ = savedReached;
    return reached;
}

bool HostedPeer::FilterKey(QWidget* target, QKeyEvent* e) {
    if (replaying_) return false;
    const bool press = e->type() == QEvent::KeyPress;
    const WORD vk = VirtualKeyOfQtKey(e->key());
    const bool alt = e->modifiers() & Qt::AltModifier;
    const LPARAM data = KeyData(e, !press);
    if (!press) {
        if (!vk) return false;
        TMessage m{alt ? WM_SYSKEYUP : WM_KEYUP, vk, data, 0};
        return !SendReachesDefault(m);
    }
    if (vk) {
        TMessage m{alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data, 0};
        if (!SendReachesDefault(m)) return true;
    }
    // The characters go to the control one by one; the widget gets what the control left
    // (a KeyPress handler may drop or replace a character).
    QString text = e->text();
    const bool controlCode = text.isEmpty() && (e->modifiers() & Qt::ControlModifier) && vk >= 'A' && vk <= 'Z';
    if (controlCode) text = QChar(vk - 'A' + 1);
    QString passed;
    bool changed = false;
    for (QChar ch : text) {
        if (vk == VK_TAB || (ch.unicode() == 0x7F && vk == VK_DELETE)) {
            passed += ch;
            continue;
        }
        TMessage m{alt ? WM_SYSCHAR : WM_CHAR, ch.unicode(), data, 0};
        if (!SendReachesDefault(m)) {
            changed = true;
            continue;
        }
        const QChar now(static_cast<char16_t>(m.WParam));
        if (now != ch) changed = true;
        if (!controlCode) passed += now;
    }
    if (!changed) return false;
    if (passed.isEmpty()) return true;
    QKeyEvent copy(QEvent::KeyPress, e->key(), e->modifiers(), passed, e->isAutoRepeat(), static_cast<quint16>(e->count()));
    replaying_ = true;
    QCoreApplication::sendEvent(target, &copy);
    replaying_ = false;
    return true;
}

bool HostedPeer::eventFilter(QObject* watched, QEvent* e) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return FilterKey(w, static_cast<QKeyEvent*>(e));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto* me = static_cast<QMouseEvent*>(e);
        const QPoint p = w->mapTo(this, me->position().toPoint());
        const bool right = me->button() == Qt::RightButton, middle = me->button() == Qt::MiddleButton;
        UINT msg = WM_MOUSEMOVE;
        if (e->type() == QEvent::MouseButtonPress) msg = right ? WM_RBUTTONDOWN : middle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        else if (e->type() == QEvent::MouseButtonRelease) msg = right ? WM_RBUTTONUP : middle ? WM_MBUTTONUP : WM_LBUTTONUP;
        else if (e->type() == QEvent::MouseButtonDblClick) msg = right ? WM_RBUTTONDBLCLK : middle ? WM_MBUTTONDBLCLK : WM_LBUTTONDBLCLK;
        Send(msg, MouseKeys(me->buttons(), me->modifiers()), MAKELPARAM(p.x(), p.y()));
        return false;  // the widget still selects, scrolls and clicks
    }
    case QEvent::Wheel: {
        const auto* we = static_cast<QWheelEvent*>(e);
        const QPoint g = we->globalPosition().toPoint();
        TMessage m{WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(MouseKeys(we->buttons(), we->modifiers())), we->angleDelta().y()),
                   MAKELPARAM(g.x(), g.y()), 0};
        return !SendReachesDefault(m);
    }
    case QEvent::ContextMenu: {
        // A popup menu of the control's replaces the widget's own (an edit's Cut/Copy/Paste).
        const auto* ce = static_cast<QContextMenuEvent*>(e);
        const QPoint g = ce->globalPos();
        const LPARAM pos = ce->reason() == QContextMenuEvent::Mouse ? MAKELPARAM(g.x(), g.y()) : MAKELPARAM(-1, -1);
        TMessage m{WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control().WindowHandle()), pos, 0};
        return !SendReachesDefault(m);
    }
    case QEvent::FocusIn:
        if (!hadFocus_) {
            hadFocus_ = true;
            Send(WM_SETFOCUS, 0, 0);
        }
        return false;
    case QEvent::FocusOut:
        // Focus moving between the hosted widget and its parts stays inside the control.
        if (hadFocus_ && !Focused()) {
            hadFocus_ = false;
            Send(WM_KILLFOCUS, 0, 0);
        }
        return false;
    default: return false;
    }
}

void HostedPeer::resizeEvent(QResizeEvent* e) {
    LayOutFrame();
    PeerWidget::resizeEvent(e);
}

void HostedPeer::FrameChanged() {
    LayOutFrame();
    if (!frame_.isNull()) update(FrameRegion());
}

void HostedPeer::LayOutFrame() {
    RECT r{0, 0, width(), height()};
    Send(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    // A client area outside the window or turned inside out leaves no room for a frame there.
    const int left = std::clamp<int>(r.left, 0, width()), top = std::clamp<int>(r.top, 0, height());
    const int right = std::clamp<int>(width() - r.right, 0, width() - left);
    const int bottom = std::clamp<int>(height() - r.bottom, 0, height() - top);
    const QMargins frame(left, top, right, bottom);
    if (frame != frame_) {
        if (frame.isNull() != frame_.isNull()) ShowHostedBorder(frame.isNull());
        frame_ = frame;
    }
    if (hosted_) hosted_->setGeometry(rect().marginsRemoved(frame_));
}

QRegion HostedPeer::FrameRegion() const { return QRegion(rect()).subtracted(rect().marginsRemoved(frame_)); }

void HostedPeer::ShowHostedBorder(bool show) {
    auto* frame = qobject_cast<QFrame*>(hosted_);
    if (!frame) return;
    if (hostedShape_ < 0) hostedShape_ = frame->frameShape();
    frame->setFrameShape(show ? static_cast<QFrame::Shape>(hostedShape_) : QFrame::NoFrame);
}

HDC HostedPeer::WindowDC() {
    if (!frameImage_ || frameImage_->size() != size()) {
        // Drawn over the window's own colour, so a control that paints part of its frame
        // leaves no garbage in the rest.
        frameImage_ = std::make_shared<QImage>(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        frameImage_->fill(palette().color(QPalette::Window));
    }
    const QPointer<HostedPeer> self(this);
    return CreateImageDC(frameImage_, FrameRegion(), [self] {
        if (self && !self->paintingFrame_ && !self->frame_.isNull()) self->update(self->FrameRegion());
    });
}

void HostedPeer::paintEvent(QPaintEvent*) {
    if (frame_.isNull()) return;
    // As the window manager would: the frame is painted (WM_NCPAINT, 1 = all of it) whenever
    // part of it is shown again.
    paintingFrame_ = true;
    Send(WM_NCPAINT, 1, 0);
    paintingFrame_ = false;
    if (!frameImage_) return;  // the control painted no frame
    QPainter painter(this);
    painter.setClipRegion(FrameRegion());
    painter.drawImage(0, 0, *frameImage_);
}

void HostedPeer::keyPressEvent(QKeyEvent* e) { e->accept(); }
void HostedPeer::keyReleaseEvent(QKeyEvent* e) { e->accept(); }

void InstallWindowDcProvider() {
    SetWindowDcProvider([](HWND window, bool wholeWindow) -> HDC {
        TWinControl* control = FindControl(window);
        auto* peer = control ? dynamic_cast<HostedPeer*>(control->Peer()) : nullptr;
        if (!wholeWindow || !peer) {
            SetLastError(ERROR_NOT_SUPPORTED);
            return nullptr;
        }
        return peer->WindowDC();
    });
}

}  // namespace vclqt
