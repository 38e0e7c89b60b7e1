// A window's frame as the program changes it: repainting the frame (RedrawWindow with
// RDW_FRAME), telling the window its frame changed (SetWindowPos with SWP_FRAMECHANGED), and
// the non-client size query. A control that draws its own border answers WM_NCCALCSIZE with a
// client rectangle smaller than the window and paints the rest on WM_NCPAINT; one that leaves
// WM_NCCALCSIZE alone has no non-client area, and its toolkit widget draws its border.
#pragma once

#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/Messages.h"

// WM_NCCALCSIZE: with wParam TRUE lParam points to this, with FALSE to a RECT; either way the
// first rectangle comes in as the window's and goes back as the client area's, both in the
// window's own coordinates.
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    void* lppos = nullptr;
};

inline constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004,
                      RDW_VALIDATE = 0x0008, RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020,
                      RDW_NOCHILDREN = 0x0040, RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100,
                      RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400, RDW_NOFRAME = 0x0800;

inline constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
                      SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_SHOWWINDOW = 0x0040,
                      SWP_HIDEWINDOW = 0x0080, SWP_NOCOPYBITS = 0x0100, SWP_NOOWNERZORDER = 0x0200;
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);

// RDW_INVALIDATE repaints the window (all of it when rect is null; a region counts as all of
// it), with RDW_FRAME its frame too (the size query is asked again); RDW_UPDATENOW paints
// before returning. FALSE with ERROR_INVALID_WINDOW_HANDLE for a handle that names nothing.
BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags);
// Moves and sizes the window (unless SWP_NOMOVE / SWP_NOSIZE, in its parent's client
// coordinates), puts it first (HWND_TOP) or last (HWND_BOTTOM) unless SWP_NOZORDER, shows or
// hides it, and with SWP_FRAMECHANGED asks its frame size again and repaints the frame.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
