// The scroll bars of a hosted scroll area, for callers that scroll it as a user would (a
// drag resting at a control's edge).
#include <algorithm>

#include <QAbstractScrollArea>
#include <QScrollBar>

#include "platform/vcl/qt/ControlsQt.h"

namespace vclqt {
namespace {

QScrollBar* BarOf(QWidget* hosted, bool vertical) {
    auto* area = qobject_cast<QAbstractScrollArea*>(hosted);
    if (!area) return nullptr;
    QScrollBar* bar = vertical ? area->verticalScrollBar() : area->horizontalScrollBar();
    return bar && bar->maximum() > bar->minimum() ? bar : nullptr;
}

}  // namespace

bool HostedPeer::ScrollBarRange(bool vertical, int& min, int& max, int& page, int& position) const {
    const QScrollBar* bar = BarOf(hosted_, vertical);
    if (!bar) return false;
    min = bar->minimum();
    page = std::max(bar->pageStep(), 1);
    max = bar->maximum() + page - 1;
    position = bar->value();
    return true;
}

bool HostedPeer::ScrollLine(bool vertical, bool forward) {
    QScrollBar* bar = BarOf(hosted_, vertical);
    if (!bar) return false;
    const int before = bar->value();
    bar->triggerAction(forward ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
    return bar->value() != before;
}

}  // namespace vclqt
