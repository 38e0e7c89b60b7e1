// The desktop's drag events over a window registered with RegisterDragDrop, as the calls of
// its IDropTarget: the key state from the modifiers and buttons, the allowed effects from the
// possible actions, the data as a data object over the event's MIME data.
#pragma once

#include "platform/vcl/GdiTypes.h"

class QEvent;

namespace vclqt {

// True when the window has a registered target, which then answered the event.
bool DeliverOleDragEvent(HWND window, QEvent* event);

}  // namespace vclqt
