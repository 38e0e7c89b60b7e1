#include "platform/vcl/DragDetectLoop.h"

#include "platform/vcl/Controls.h"

namespace {

TDragDetectTracker& Tracker() {
    static TDragDetectTracker tracker;
    return tracker;
}

}  // namespace

bool TrackDragDetect(HWND window, unsigned idleMs, const TDragDetectFeed& feed) {
    if (!Tracker()) return false;
    // The detector follows the mouse itself; the control that captured it on the press lets go.
    CancelMouseCapture();
    return Tracker()(window, idleMs, feed);
}

void SetDragDetectTracker(TDragDetectTracker tracker) { Tracker() = std::move(tracker); }
