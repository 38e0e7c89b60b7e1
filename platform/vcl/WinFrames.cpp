#include "platform/vcl/WinFrames.h"

#include "platform/vcl/Controls.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/WinError.h"

namespace {

TWinControl* LiveControl(HWND window) {
    TWinControl* control = FindControl(window);
    if (!control) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return control;
}

}  // namespace

BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags) {
    TWinControl* control = LiveControl(window);
    if (!control) return FALSE;
    TWidgetPeer* peer = control->Peer();
    if (flags & RDW_INVALIDATE) {
        if ((flags & RDW_FRAME) && peer) peer->FrameChanged();
        if (rect && !region && peer) {
            const TRect r(rect->left, rect->top, rect->right, rect->bottom);
            peer->Invalidate(&r);
        } else {
            control->Invalidate();
        }
    }
    if (flags & RDW_UPDATENOW) control->Update();
    return TRUE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    TWinControl* control = LiveControl(window);
    if (!control) return FALSE;
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        const bool move = !(flags & SWP_NOMOVE), size = !(flags & SWP_NOSIZE);
        control->SetBounds(move ? x : control->Left(), move ? y : control->Top(), size ? cx : control->Width(),
                           size ? cy : control->Height());
    }
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOP) control->BringToFront();
        else if (insertAfter == HWND_BOTTOM) control->SendToBack();
    }
    if (flags & SWP_SHOWWINDOW) control->SetVisible(true);
    if (flags & SWP_HIDEWINDOW) control->SetVisible(false);
    if ((flags & SWP_FRAMECHANGED) && control->Peer()) control->Peer()->FrameChanged();
    return TRUE;
}
