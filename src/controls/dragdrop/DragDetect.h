// Right after a button went down on a control: does the user drag, or only click? Runs until
// the pointer leaves the drag rectangle late enough, the button is held still long enough,
// or the button is released (Escape and a lost capture count as a click). The release is
// swallowed, so a caller whose control tracks its own press must reset it on false.
#pragma once

#include "controls/dragdrop/DragDetector.h"
#include "platform/vcl/Controls.h"

// The point may be in screen or in the window's client coordinates; without one, the cursor.
bool DragDetectPlus(TWinControl* control);
bool DragDetectPlus(TWinControl* control, TPoint point);
bool DragDetectPlus(HWND window);
bool DragDetectPlus(HWND window, TPoint point);
