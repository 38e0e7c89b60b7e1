// The tab control's peer: a QTabBar along the top and the style's tab frame around the pages.
// The control paints its own background and keeps the selection; a click on a tab asks it
// (TCN_SELCHANGING) before the tab changes. Tab sheets are plain peers that paint themselves.
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include "platform/vcl/PageControl.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/ImageListQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

QString ToQString(const WideString& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

// A caption's "&x" shows x underlined in Qt as well; "&&" stays one ampersand.
QString TabText(const WideString& caption) { return ToQString(caption); }

class TabPeer : public PeerWidget, public TTabControlPeer {
public:
    TabPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : PeerWidget(control, params, parent), control_(static_cast<TCustomTabControl&>(control)), bar_(new QTabBar(this)) {
        bar_->setFocusPolicy(Qt::NoFocus);
        bar_->setDrawBase(false);
        bar_->setExpanding(false);
        bar_->setUsesScrollButtons(true);
        bar_->installEventFilter(this);
        bar_->show();
    }

    // TTabControlPeer
    void TabsChanged() override {
        Syncing s(syncing_);
        while (bar_->count() > control_.TabCount()) bar_->removeTab(bar_->count() - 1);
        while (bar_->count() < control_.TabCount()) bar_->addTab(QString());
        TCustomImageList* images = control_.Images();
        for (int i = 0; i < control_.TabCount(); ++i) {
            bar_->setTabText(i, TabText(control_.TabCaption(i)));
            const QPixmap pm = images ? ImageListPixmap(*images, control_.TabImage(i)) : QPixmap();
            bar_->setTabIcon(i, pm.isNull() ? QIcon() : QIcon(pm));
        }
        if (images) bar_->setIconSize(QSize(images->Width(), images->Height()));
        Layout();
    }
    void SetTabIndex(int index) override {
        Syncing s(syncing_);
        bar_->setCurrentIndex(index);
        update();
    }
    int TabHeight() const override { return bar_->sizeHint().height(); }
    TRect TabRect(int index) const override {
        const QRect r = bar_->tabRect(index).translated(bar_->pos());
        return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        Layout();
        PeerWidget::resizeEvent(e);
    }
    void paintEvent(QPaintEvent* e) override {
        PeerWidget::paintEvent(e);  // the control's background
        QPainter p(this);
        QStyleOptionTabWidgetFrame frame;
        frame.initFrom(this);
        frame.rect = QRect(0, TabHeight() - 1, width(), height() - TabHeight() + 1);
        frame.shape = QTabBar::RoundedNorth;
        frame.tabBarSize = bar_->sizeHint();
        frame.tabBarRect = bar_->geometry();
        frame.selectedTabRect = bar_->tabRect(bar_->currentIndex()).translated(bar_->pos());
        frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
        if (hasFocus() && bar_->currentIndex() >= 0) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = bar_->tabRect(bar_->currentIndex()).translated(bar_->pos()).adjusted(3, 3, -3, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
    }
    void focusInEvent(QFocusEvent* e) override {
        PeerWidget::focusInEvent(e);
        update();
    }
    void focusOutEvent(QFocusEvent* e) override {
        PeerWidget::focusOutEvent(e);
        update();
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != bar_) return false;
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint inBar = me->position().toPoint();
            const QPoint p = bar_->mapTo(this, inBar);
            const bool right = me->button() == Qt::RightButton;
            Send(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(p.x(), p.y()));
            const int index = bar_->tabAt(inBar);
            if (me->button() == Qt::LeftButton && index >= 0 && index != control_.TabIndex()) {
                // The control asks OnChanging and moves the selection itself.
                control_.SelectTabByUser(index);
            }
            if (CanFocus()) setFocus(Qt::MouseFocusReason);
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint p = bar_->mapTo(this, me->position().toPoint());
            const bool right = me->button() == Qt::RightButton;
            Send(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(p.x(), p.y()));
            return true;
        }
        if (e->type() == QEvent::Wheel) return true;  // the platform's tabs do not turn on the wheel
        if (e->type() == QEvent::Shortcut) {
            // A caption's accelerator (Alt+letter) turns to its tab through OnChanging too.
            const QKeySequence key = static_cast<QShortcutEvent*>(e)->key();
            for (int i = 0; i < bar_->count(); ++i)
                if (QKeySequence::mnemonic(bar_->tabText(i)) == key) {
                    if (CanFocus()) setFocus(Qt::ShortcutFocusReason);
                    control_.SelectTabByUser(i);
                    break;
                }
            return true;
        }
        return false;
    }

private:
    struct Syncing {
        explicit Syncing(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
        ~Syncing() { flag_ = saved_; }
        bool& flag_;
        bool saved_;
    };

    bool CanFocus() const { return control_.TabStop() && control_.Enabled(); }

    void Layout() {
        const int h = bar_->sizeHint().height();
        bar_->setGeometry(2, 0, std::max(0, width() - 4), h);
    }

    TCustomTabControl& control_;
    QTabBar* bar_;
    bool syncing_ = false;
};

}  // namespace

void RegisterPageControlPeers() {
    RegisterPeerClass(u"SysTabControl32", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) -> std::unique_ptr<TWidgetPeer> {
        if (!dynamic_cast<TCustomTabControl*>(&c)) return nullptr;
        return std::make_unique<TabPeer>(c, p, parent);
    });
}

}  // namespace vclqt
