// Popup windows that show without activating, and the application-wide event filter through
// which a local loop sees clicks and keys before any widget does.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include "platform/vcl/Application.h"
#include "platform/vcl/InputFilter.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

class PopupPeer : public PeerWidget {
public:
    PopupPeer(TWinControl& control, const TCreateParams& params) : PeerWidget(control, params, nullptr) {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
    }
    void Activate() override {}
    void SetFrame(bool, bool, bool, bool, bool, bool) override {}
    // Owned by the window it opens from: a modal dialog's popup is part of the dialog, so the
    // toolkit neither swallows its clicks nor raises the dialog over it.
    void SetVisible(bool visible) override {
        if (visible) {
            winId();
            QWindow* owner = QGuiApplication::modalWindow() ? QGuiApplication::modalWindow() : QGuiApplication::focusWindow();
            if (QWindow* own = windowHandle(); own && owner != own) own->setTransientParent(owner);
        }
        PeerWidget::SetVisible(visible);
    }
};

HWND WindowOf(QObject* object) {
    for (auto* w = qobject_cast<QWidget*>(object); w; w = w->parentWidget())
        if (auto* peer = dynamic_cast<PeerWidget*>(w)) return peer->PeeredControl().WindowHandle();
    return nullptr;
}

// A toolkit popup opened inside a local loop (a menu, a list's drop-down) takes its own
// clicks and keys: it runs a loop of its own, and would never close otherwise.
bool InToolkitPopup(QObject* object) {
    const QWidget* popup = QApplication::activePopupWidget();
    const auto* w = qobject_cast<QWidget*>(object);
    return popup && w && (w == popup || popup->isAncestorOf(w));
}

UINT ButtonMessage(Qt::MouseButton button, bool doubleClick) {
    switch (button) {
        case Qt::LeftButton: return doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        case Qt::RightButton: return doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
        case Qt::MiddleButton: return doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
        default: return 0;
    }
}

class InputFilterObject : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!InputFiltered() || delivering_ || !watched->isWidgetType() || InToolkitPopup(watched)) {
            if (event->type() == QEvent::ApplicationDeactivate && InputFiltered()) Deliver({WM_ACTIVATEAPP, nullptr, 0, 0});
            return false;
        }
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: {
                auto* e = static_cast<QMouseEvent*>(event);
                const UINT msg = ButtonMessage(e->button(), event->type() == QEvent::MouseButtonDblClick);
                if (!msg) return false;
                const QPoint p = e->position().toPoint();
                return Deliver({msg, WindowOf(watched), 0, MAKELPARAM(p.x(), p.y())});
            }
            case QEvent::KeyPress:
            case QEvent::KeyRelease: {
                auto* e = static_cast<QKeyEvent*>(event);
                const WORD vk = VirtualKeyOfQtKey(e->key());
                const HWND window = WindowOf(watched);
                bool handled = vk && Deliver({event->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP, window, vk, 0});
                if (event->type() == QEvent::KeyPress)
                    for (const QChar c : e->text())
                        if (c.unicode() >= 0x20 || c.unicode() == 0x1B || c.unicode() == '\r')
                            handled = Deliver({WM_CHAR, window, c.unicode(), 0}) || handled;
                return handled;
            }
            default: return false;
        }
    }

private:
    bool Deliver(const TInputPeek& peek) {
        // What the filter sends on may reach widgets again: it is not filtered twice.
        delivering_ = true;
        bool handled = false;
        try {
            handled = FilterToolkitInput(peek);
        } catch (...) {
            // Nothing may unwind through the toolkit.
            Application->HandleException(nullptr);
        }
        delivering_ = false;
        return handled;
    }
    bool delivering_ = false;
};

}  // namespace

void RegisterPopupPeers() {
    RegisterPeerClass(kPopupWindowClass, [](TWinControl& c, const TCreateParams& p, PeerWidget*) {
        return std::make_unique<PopupPeer>(c, p);
    });
    static InputFilterObject* filter = nullptr;
    // The application object may be a plain QGuiApplication (painting without widgets).
    QCoreApplication* app = QCoreApplication::instance();
    if (!filter && app) {
        filter = new InputFilterObject;
        filter->setParent(app);  // lives as long as the application
        app->installEventFilter(filter);
    }
}

}  // namespace vclqt
