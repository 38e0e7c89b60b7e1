// Telling a press from a drag needs the window system's input while the button is held: a
// loop with the mouse captured that hands every keyboard and mouse input to the detector.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/Types.h"

// Input while a press is told from a drag: screen points, milliseconds of the steady clock.
struct TDragDetectInput {
    enum TKind { Move, Release, Escape, CaptureLost, Idle };
    TKind Kind = Move;
    TPoint Point;
    std::uint64_t TimeMs = 0;
};
using TDragDetectFeed = std::function<bool(const TDragDetectInput& input)>;
using TDragDetectTracker = std::function<bool(HWND window, unsigned idleMs, const TDragDetectFeed& feed)>;

// Captures the mouse for the window and hands the program's keyboard and mouse input to feed,
// and to nothing else, until feed answers false; Idle comes after idleMs without input. False
// when the mouse could not be captured (so without a display).
bool TrackDragDetect(HWND window, unsigned idleMs, const TDragDetectFeed& feed);
// The widget set installs the window system's loop.
void SetDragDetectTracker(TDragDetectTracker tracker);
