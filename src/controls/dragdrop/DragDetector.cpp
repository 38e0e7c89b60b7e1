#include "controls/dragdrop/DragDetector.h"

DragDetector::DragDetector(POINT start, SIZE drag, std::uint64_t startMs)
    : rect_{start.x - drag.cx, start.y - drag.cy, start.x + drag.cx, start.y + drag.cy}, startMs_(startMs) {}

DragDetector::State DragDetector::Settle(State s) {
    if (state_ == State::Undecided) state_ = s;
    return state_;
}

DragDetector::State DragDetector::Move(POINT pt, std::uint64_t timeMs) {
    const bool outside = pt.x < rect_.left || pt.x >= rect_.right || pt.y < rect_.top || pt.y >= rect_.bottom;
    if (outside && timeMs >= startMs_ + DragDropDragDelay) return Settle(State::Drag);
    return state_;
}

DragDetector::State DragDetector::Stop() { return Settle(State::Click); }

DragDetector::State DragDetector::Timeout() { return DragDropAutoDrag ? Settle(State::Drag) : state_; }

DragDetector::State DragDetector::Quit(int exitCode) {
    if (state_ == State::Undecided) {
        quitPending_ = true;
        quitCode_ = exitCode;
    }
    return Settle(State::Click);
}
