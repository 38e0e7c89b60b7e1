// Toolkit input as a local message loop sees it before any control does: a popup's loop ends on
// a click outside it and takes the keyboard while it runs, whatever window has the focus.
#pragma once

#include <functional>

#include "platform/vcl/Messages.h"

// One input message as the window under the pointer or with the focus would get it.
struct TInputPeek {
    UINT Msg = 0;  // WM_*BUTTONDOWN, WM_*BUTTONDBLCLK, WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_ACTIVATEAPP
    HWND Window = nullptr;  // the control's window (null when the input is not over one of ours)
    WPARAM WParam = 0;
    LPARAM LParam = 0;
};

// True when the filter handled the input: it then reaches no window.
using TInputFilter = std::function<bool(const TInputPeek&)>;

// Installs a filter for the scope's lifetime; the innermost scope sees input first.
class TInputFilterScope {
public:
    explicit TInputFilterScope(TInputFilter filter);
    ~TInputFilterScope();
    TInputFilterScope(const TInputFilterScope&) = delete;
    TInputFilterScope& operator=(const TInputFilterScope&) = delete;
};

// Whether a filter is installed, and what it says of the input (the widget set asks).
bool InputFiltered();
bool FilterToolkitInput(const TInputPeek& peek);

// Windows of this class show without activating and never take the focus.
inline constexpr char16_t kPopupWindowClass[] = u"PopupWindow";
