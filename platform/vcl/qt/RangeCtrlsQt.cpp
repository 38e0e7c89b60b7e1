// Qt peers of the progress bar and the up-down buttons (the track bar shares the scroll
// bar's slider peer in StdCtrlsQt.cpp).
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/vcl/RangeCtrls.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

class ProgressPeer : public HostedPeer, public TRangePeer {
public:
    ProgressPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : HostedPeer(control, params, parent), bar_(new QProgressBar) {
        bar_->setTextVisible(false);
        Host(bar_);
    }
    void SetRange(const TRangeOptions& o) override {
        bar_->setOrientation(o.Vertical ? Qt::Vertical : Qt::Horizontal);
        bar_->setRange(o.Min, o.Max);
        bar_->setValue(o.Position);
    }
    int TrackPosition() const override { return bar_->value(); }

private:
    QProgressBar* bar_;
};

// Two arrow buttons; a press (repeated while held) steps the control.
class UpDownPeer : public HostedPeer, public TRangePeer {
public:
    UpDownPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : HostedPeer(control, params, parent), box_(new QWidget) {
        auto* layout = new QBoxLayout(QBoxLayout::TopToBottom, box_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (QToolButton** b : {&up_, &down_}) {
            *b = new QToolButton(box_);
            (*b)->setAutoRepeat(true);
            (*b)->setFocusPolicy(Qt::NoFocus);
            (*b)->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            layout->addWidget(*b);
            const WORD code = b == &up_ ? SB_LINEUP : SB_LINEDOWN;
            QObject::connect(*b, &QToolButton::clicked, *b, [this, code] {
                Send(vertical_ ? CN_VSCROLL : CN_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(Control().WindowHandle()));
            });
        }
        Host(box_);
    }
    void SetRange(const TRangeOptions& o) override {
        vertical_ = o.Vertical;
        static_cast<QBoxLayout*>(box_->layout())->setDirection(o.Vertical ? QBoxLayout::TopToBottom : QBoxLayout::RightToLeft);
        up_->setArrowType(o.Vertical ? Qt::UpArrow : Qt::RightArrow);
        down_->setArrowType(o.Vertical ? Qt::DownArrow : Qt::LeftArrow);
        position_ = o.Position;
    }
    int TrackPosition() const override { return position_; }

private:
    QWidget* box_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    bool vertical_ = true;
    int position_ = 0;
};

}  // namespace

void RegisterRangeCtrlsPeers() {
    RegisterPeerClass(u"msctls_progress32", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) {
        return std::make_unique<ProgressPeer>(c, p, parent);
    });
    RegisterPeerClass(u"msctls_updown32", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) {
        return std::make_unique<UpDownPeer>(c, p, parent);
    });
}

}  // namespace vclqt
