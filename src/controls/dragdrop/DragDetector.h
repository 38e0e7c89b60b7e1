// Telling a drag from a click after a button went down: fed the input that follows, with
// times from one monotonic clock, it settles on drag or click.
#pragma once

#include <cstdint>

#include "platform/win/WinTypes.h"

// Tunables of drag and drop (milliseconds).
inline unsigned DragDropDragDelay = 200;     // a move out of the rectangle before this is no drag
inline unsigned DragDropDragDelayMax = 500;  // holding still this long starts a drag
inline bool DragDropAutoDrag = true;

class DragDetector {
public:
    enum class State { Undecided, Drag, Click };

    // start: the press point in screen coordinates; drag: the half width and height of the
    // rectangle the pointer may move in without starting a drag.
    DragDetector(POINT start, SIZE drag, std::uint64_t startMs);

    State Move(POINT pt, std::uint64_t timeMs);
    // The button was released, Escape pressed, the mode cancelled or the capture lost.
    State Stop();
    // No input came for DragDropDragDelayMax.
    State Timeout();
    // A quit request: detection ends with a click, and the request is to be posted again.
    State Quit(int exitCode);

    State Result() const { return state_; }
    bool QuitPending() const { return quitPending_; }
    int QuitCode() const { return quitCode_; }

private:
    State Settle(State s);

    RECT rect_;
    std::uint64_t startMs_;
    State state_ = State::Undecided;
    bool quitPending_ = false;
    int quitCode_ = 0;
};
