// Telling a press from a drag on the desktop: a nested event loop with the mouse grabbed for
// the window, swallowing the program's keyboard and mouse input and handing it on.
#pragma once

#include "platform/vcl/DragDetectLoop.h"

namespace vclqt {

// Makes the nested Qt loop the one TrackDragDetect runs; the widget set calls it once.
void InstallQtDragDetect();

}  // namespace vclqt
