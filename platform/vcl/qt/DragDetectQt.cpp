#include "platform/vcl/qt/DragDetectQt.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/vcl/Controls.h"

namespace vclqt {
namespace {

std::uint64_t NowMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

class DetectFilter final : public QObject {
public:
    DetectFilter(QWidget* widget, QEventLoop& loop, QTimer& idle, const TDragDetectFeed& feed)
        : widget_(widget), loop_(loop), idle_(idle), feed_(feed) {}

    // Hands an input on; the loop ends once the answer is settled.
    void Feed(TDragDetectInput::TKind kind, QPoint point = QCursor::pos()) {
        if (done_) return;
        if (kind != TDragDetectInput::CaptureLost && (!widget_ || QWidget::mouseGrabber() != widget_))
            kind = TDragDetectInput::CaptureLost;
        TDragDetectInput input;
        input.Kind = kind;
        input.Point = TPoint(point.x(), point.y());
        input.TimeMs = NowMs();
        if (!feed_(input) || kind == TDragDetectInput::CaptureLost) {
            done_ = true;
            loop_.quit();
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseMove:
                idle_.start();
                Feed(TDragDetectInput::Move, static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                return true;
            case QEvent::MouseButtonRelease:
                Feed(TDragDetectInput::Release);
                return true;
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) Feed(TDragDetectInput::Escape);
                return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyRelease:
            case QEvent::Wheel:
            case QEvent::ShortcutOverride:
                return true;
            case QEvent::UngrabMouse:
                Feed(TDragDetectInput::CaptureLost);
                return false;
            default:
                return false;
        }
    }

private:
    QPointer<QWidget> widget_;
    QEventLoop& loop_;
    QTimer& idle_;
    const TDragDetectFeed& feed_;
    bool done_ = false;
};

bool QtTrackDragDetect(HWND window, unsigned idleMs, const TDragDetectFeed& feed) {
    TWinControl* control = FindControl(window);
    QWidget* widget = control ? dynamic_cast<QWidget*>(control->Peer()) : nullptr;
    if (!widget || !widget->isVisible()) return false;
    widget->grabMouse();
    if (QWidget::mouseGrabber() != widget) return false;

    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(static_cast<int>(idleMs));
    DetectFilter filter(widget, loop, idle, feed);
    QObject::connect(&idle, &QTimer::timeout, &filter, [&] {
        filter.Feed(TDragDetectInput::Idle);
        idle.start();
    });
    qApp->installEventFilter(&filter);
    idle.start();
    loop.exec();
    qApp->removeEventFilter(&filter);
    if (QWidget::mouseGrabber() == widget) widget->releaseMouse();
    return true;
}

}  // namespace

void InstallQtDragDetect() { SetDragDetectTracker(QtTrackDragDetect); }

}  // namespace vclqt
