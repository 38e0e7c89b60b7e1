// The Qt peer of the scroll box: the control paints itself; two Qt scroll bars at its edges
// report their moves as WM_HSCROLL / WM_VSCROLL.
#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

constexpr int kBar = 16;

class ScrollBoxPeer : public PeerWidget, public TScrollBoxPeer {
public:
    ScrollBoxPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : PeerWidget(control, params, parent), border_((params.ExStyle & WS_EX_CLIENTEDGE) ? 2 : 0) {
        for (QScrollBar** bar : {&hBar_, &vBar_}) {
            *bar = new QScrollBar(bar == &hBar_ ? Qt::Horizontal : Qt::Vertical, this);
            (*bar)->hide();
            QObject::connect(*bar, &QScrollBar::valueChanged, *bar, [this, bar](int value) {
                if (!pushing_) Send(bar == &hBar_ ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, value), 0);
            });
        }
    }

    void SetScrollBars(int hRange, int hPage, int hPos, int vRange, int vPage, int vPos) override {
        pushing_ = true;
        Place(hBar_, hRange, hPage, hPos);
        Place(vBar_, vRange, vPage, vPos);
        pushing_ = false;
        Layout();
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        PeerWidget::resizeEvent(e);
        Layout();
    }

    void paintEvent(QPaintEvent* e) override {
        PeerWidget::paintEvent(e);
        if (!border_) return;
        QPainter painter(this);
        QStyleOptionFrame opt;
        opt.initFrom(this);
        opt.rect = rect();
        opt.lineWidth = 1;
        opt.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_Frame, &opt, &painter, this);
    }

private:
    static void Place(QScrollBar* bar, int range, int page, int pos) {
        bar->setVisible(range > 0);
        if (range <= 0) return;
        bar->setRange(0, std::max(range - page, 0));
        bar->setPageStep(std::max(page, 1));
        bar->setSingleStep(16);
        bar->setValue(pos);
    }

    void Layout() {
        const int b = border_;
        const bool h = hBar_->isVisible() || !hBar_->isHidden(), v = !vBar_->isHidden();
        if (h) hBar_->setGeometry(b, height() - b - kBar, width() - 2 * b - (v ? kBar : 0), kBar);
        if (v) vBar_->setGeometry(width() - b - kBar, b, kBar, height() - 2 * b - (h ? kBar : 0));
        hBar_->raise();
        vBar_->raise();
    }

    int border_;
    QScrollBar* hBar_ = nullptr;
    QScrollBar* vBar_ = nullptr;
    bool pushing_ = false;
};

}  // namespace

void RegisterExtCtrlsPeers() {
    RegisterPeerClass(u"ScrollBox", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) {
        return std::make_unique<ScrollBoxPeer>(c, p, parent);
    });
}

}  // namespace vclqt
