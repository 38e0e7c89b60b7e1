// The QWidget peer of a windowed control: translates Qt's input, focus, size, paint and close
// events into the class library's window messages (virtual-key codes, UTF-16 characters,
// client coordinates) and shows what the control sets.
#pragma once

#include <QImage>
#include <QMargins>
#include <QRegion>
#include <QWidget>

#include <initializer_list>
#include <memory>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ScrollingPeer.h"

namespace vclqt {

class PeerWidget : public QWidget, public TWidgetPeer {
public:
    PeerWidget(TWinControl& control, const TCreateParams& params, QWidget* parent);
    ~PeerWidget() override;

    // TWidgetPeer
    void SetBounds(const TRect& bounds) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetText(const WideString& text) override;
    void SetFont(const LOGFONTW& font, COLORREF color) override;
    void SetColor(COLORREF color) override;
    void SetZOrder(bool top) override;
    void Invalidate(const TRect* rect) override;
    void Update() override;
    void SetFocus() override;
    bool Focused() const override;
    void SetCursor(int cursor) override;
    TPoint ClientOrigin() const override;
    void SetWindowState(int state) override;
    void Activate() override;
    void SetModal(bool modal) override;
    void SetFrame(bool sizeable, bool toolWindow, bool noBorder, bool minimize, bool maximize, bool systemMenu) override;
    void AcceptDrops(bool accept) override;
    void SetMenuBar(HMENU menu) override;
    int MenuBarHeight() const override { return clientTop_; }
    TWinControl& PeeredControl() const { return control_; }
    // A top-level window moves or resizes itself through the window manager when asked to by
    // WM_SYSCOMMAND (a size grip, a caption the program draws).
    bool DefaultMessage(TMessage& message) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool focusNextPrevChild(bool next) override;

    // Sends a message to the control; an exception goes to the application, not into Qt.
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    // The same through the control's WindowProc, so the caller sees what handlers changed.
    void Send(TMessage& message);
    TWinControl& Control() const { return control_; }
    bool TopLevel() const { return topLevel_; }
    // A point of the widget in the control's client coordinates (below a menu bar).
    QPoint ClientPoint(QPointF widgetPos) const { return widgetPos.toPoint() - QPoint(0, clientTop_); }
    bool Applying() const { return applying_; }

private:
    // WM_SIZE's kind of size from the window's state.
    WPARAM SizeKind() const;
    bool topLevel_;
    bool applying_ = false;  // the control is setting the geometry: no echo back
    TWinControl& control_;
    QWidget* menuBar_ = nullptr;  // a Qt child: deleted with the widget
    int clientTop_ = 0;           // the menu bar's height: the client area starts below it
};

// The peer of a control that a real Qt widget shows (an edit, a list, a tree ...). The widget
// fills the peer; its input reaches the control as window messages first, and goes on to the
// widget only when the control leaves it to the default handling (a KeyDown handler that
// clears the key swallows it, as on the original platform). Derive one per control family and
// register it by window class name (PeerClasses.h).
class HostedPeer : public PeerWidget, public TScrollingPeer {
public:
    HostedPeer(TWinControl& control, const TCreateParams& params, QWidget* parent);
    ~HostedPeer() override;

    bool Focused() const override;
    bool DefaultMessage(TMessage& message) override;
    void FrameChanged() override;
    // The scroll bars of a hosted scroll area (a tree, a list).
    bool ScrollBarRange(bool vertical, int& min, int& max, int& page, int& position) const override;
    bool ScrollLine(bool vertical, bool forward) override;
    // The whole-window context: it draws on the frame round the hosted widget only (nothing
    // when the control keeps no non-client area); released, it has the frame shown.
    HDC WindowDC();

protected:
    // Takes the widget that shows the control; call once from the derived constructor.
    // Input to extra (a scroll area's viewport, a combo box's edit) is translated too.
    void Host(QWidget* widget, std::initializer_list<QWidget*> extra = {});
    QWidget* Hosted() const { return hosted_; }
    // Translates input of the hosted widget and the widgets named in Host.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Keys the hosted widget leaves (an edit's Enter) were sent to the control already.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // A non-client frame the control paints replaces the border the hosted widget draws; this
    // hides (false) or brings back that border.
    virtual void ShowHostedBorder(bool show);

private:
    // The frame the control keeps round its client area (WM_NCCALCSIZE), and the hosted
    // widget placed inside it.
    void LayOutFrame();
    QRegion FrameRegion() const;
    std::shared_ptr<QImage> frameImage_;  // what WM_NCPAINT drew, shown round the hosted widget
    QMargins frame_;
    bool paintingFrame_ = false;  // WM_NCPAINT runs inside a paint event: no further update
    int hostedShape_ = -1;        // the hosted frame's own shape, once the frame replaced it
    // Sends a message and says whether the control left it to the widget.
    bool SendReachesDefault(TMessage& message);
    bool FilterKey(QWidget* target, QKeyEvent* event);
    QWidget* hosted_ = nullptr;
    const TMessage* pending_ = nullptr;  // the message SendReachesDefault watches
    bool defaultReached_ = false;
    bool hadFocus_ = false;
    bool replaying_ = false;  // a key the control changed is being handed to the widget
};

// The virtual-key code of a Qt key (0 for keys without one).
WORD VirtualKeyOfQtKey(int key);

// Answers GetWindowDC for the windows of hosted peers (their frame); GetDC of a window and
// windows of other peers have no context: null with ERROR_NOT_SUPPORTED.
void InstallWindowDcProvider();

// Text between the class library (UTF-16 code units) and Qt.
inline QString QtString(const WideString& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
inline WideString WideOf(const QString& s) { return s.toStdU16String(); }

}  // namespace vclqt
