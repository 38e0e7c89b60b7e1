#include "platform/vcl/DragDetectLoop.h"

namespace {

TDragDetectTracker& Tracker() {
    static TDragDetectTracker tracker;
    return tracker;
}

}  // namespace

bool TrackDragDetect(HWND window, unsigned idleMs, const TDragDetectFeed& feed) {
    return Tracker() && Tracker()(window, idleMs, feed);
}

void SetDragDetectTracker(TDragDetectTracker tracker) { Tracker() = std::move(tracker); }
