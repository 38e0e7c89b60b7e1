// The hint window's peer: a tool-tip window of the desktop, painted by THintWindow, that never
// takes the focus or activates.
#include <QToolTip>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

class HintPeer : public PeerWidget {
public:
    HintPeer(TWinControl& control, const TCreateParams& params) : PeerWidget(control, params, nullptr) {
        setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
    }
    void SetFocus() override {}
    void Activate() override {}
};

}  // namespace

void RegisterHintWindowPeers() {
    // clInfoBk and clInfoText are the desktop's tool-tip colours.
    const QPalette palette = QToolTip::palette();
    const auto rgb = [](const QColor& c) { return RGB(c.red(), c.green(), c.blue()); };
    const INT indices[] = {COLOR_INFOBK, COLOR_INFOTEXT};
    const COLORREF colors[] = {rgb(palette.color(QPalette::ToolTipBase)), rgb(palette.color(QPalette::ToolTipText))};
    SetSysColors(2, indices, colors);
    RegisterPeerClass(u"THintWindow", [](TWinControl& c, const TCreateParams& p, PeerWidget*) {
        return std::make_unique<HintPeer>(c, p);
    });
}

}  // namespace vclqt
