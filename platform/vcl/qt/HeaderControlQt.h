// The header notifications of a QHeaderView: a press on a divider begins tracking (HDN_BEGINTRACK),
// each width while dragging is HDN_TRACK, the release HDN_ENDTRACK; a click is HDN_ITEMCLICK and
// a double click on a divider HDN_DIVIDERDBLCLICK. The receiver may change the width it is
// given (limits); the header then takes that width. Used by the header control and the list
// view's column header.
#pragma once

#include <QObject>

#include <functional>

#include "platform/vcl/HeaderControl.h"

class QHeaderView;

namespace vclqt {

class HeaderNotifier : public QObject {
public:
    // Notifications go to target as message (WM_NOTIFY or CN_NOTIFY) from the window from gives.
    HeaderNotifier(QHeaderView* header, TControl& target, UINT message, std::function<HWND()> from);
    // While set, width changes come from the control, not the user: no notifications.
    void SetSyncing(bool syncing) { syncing_ = syncing; }
    bool Syncing() const { return syncing_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LRESULT Notify(UINT wideCode, int section, int width);
    void Resized(int section, int newSize);
    QHeaderView* header_;
    TControl& target_;
    UINT message_;
    std::function<HWND()> from_;
    int tracking_ = -1;
    bool syncing_ = false;
};

}  // namespace vclqt
