#include "controls/dragdrop/DragDetect.h"

#include <chrono>

#include "platform/vcl/Messages.h"
#include "platform/vcl/DragDetectLoop.h"
#include "platform/vcl/WinUser.h"

namespace {

std::uint64_t NowMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

bool Contains(const TRect& r, TPoint p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

bool DragDetectPlus(TWinControl* control) { return control && DragDetectPlus(control->Handle(), Mouse->CursorPos()); }

bool DragDetectPlus(TWinControl* control, TPoint point) { return control && DragDetectPlus(control->Handle(), point); }

bool DragDetectPlus(HWND window) { return DragDetectPlus(window, Mouse->CursorPos()); }

bool DragDetectPlus(HWND window, TPoint point) {
    TWinControl* control = FindControl(window);
    if (!control) return false;
    const TPoint origin = control->ClientToScreen(TPoint(0, 0));
    const TRect screen(origin, TPoint(origin.x + control->Width(), origin.y + control->Height()));
    if (!Contains(screen, point)) {
        if (!Contains(control->ClientRect(), point)) return false;
        point = control->ClientToScreen(point);
    }
    if (!(GetKeyState(VK_LBUTTON) & 0x8000) && !(GetKeyState(VK_RBUTTON) & 0x8000)) return false;
    const int half = Mouse->DragThreshold();
    DragDetector detector(point, SIZE{half, half}, NowMs());
    const bool tracked = TrackDragDetect(window, DragDropDragDelayMax, [&](const TDragDetectInput& in) {
        switch (in.Kind) {
            case TDragDetectInput::Move: detector.Move(in.Point, in.TimeMs); break;
            case TDragDetectInput::Idle: detector.Timeout(); break;
            default: detector.Stop(); break;
        }
        return detector.Result() == DragDetector::State::Undecided;
    });
    return tracked && detector.Result() == DragDetector::State::Drag;
}
