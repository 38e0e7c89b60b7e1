// The one seam between the class library and a display toolkit. A windowed control asks the
// widget set for a peer when its handle is made; the peer shows the control (bounds, text,
// visibility, enabled state) and hands the toolkit's input back as window messages through
// the control's WindowProc. The widget set runs the toolkit's event loop, wakes it for posted
// messages and timers, and shows message boxes. The Qt widget set lives in platform/vcl/qt;
// the headless one here serves tests and programs without a display.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/Types.h"

class TWinControl;
struct TCreateParams;
struct TMessage;

// The toolkit's side of one windowed control.
class TWidgetPeer {
public:
    virtual ~TWidgetPeer() = default;

    // Bounds in the parent's client coordinates (screen coordinates for a top-level window).
    virtual void SetBounds(const TRect& bounds) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // The caption of a top-level window; controls that show text in a toolkit widget show it.
    virtual void SetText(const WideString& text) = 0;
    // The text as the toolkit widget holds it (an edit's typed text), when it holds one.
    virtual std::optional<WideString> Text() const { return std::nullopt; }
    virtual void SetFont(const LOGFONTW& font, COLORREF color) = 0;
    virtual void SetColor(COLORREF color) = 0;
    // Places the peer above (true) or below its siblings.
    virtual void SetZOrder(bool top) = 0;
    virtual void Invalidate(const TRect* rect) = 0;
    // The window's frame changed: the peer asks the control's non-client size again
    // (WM_NCCALCSIZE) and has the frame repainted (WM_NCPAINT). Peers without a non-client
    // area ignore it.
    virtual void FrameChanged() {}
    // Paints the invalid parts now.
    virtual void Update() = 0;
    virtual void SetFocus() = 0;
    virtual bool Focused() const = 0;
    virtual void SetCursor(int cursor) = 0;
    // The screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const = 0;
    // Top-level windows: window state (0 normal, 1 minimised, 2 maximised), activation,
    // modality, frame.
    virtual void SetWindowState(int) {}
    virtual void Activate() {}
    virtual void SetModal(bool) {}
    virtual void SetFrame(bool /*sizeable*/, bool /*toolWindow*/, bool /*noBorder*/, bool /*minimize*/,
                          bool /*maximize*/, bool /*systemMenu*/) {}
    virtual void AcceptDrops(bool) {}
    // Top-level windows: shows the menu bar of menu (null: none) above the client area, and
    // rereads it after a change; the client area starts MenuBarHeight below the window's top.
    virtual void SetMenuBar(HMENU) {}
    virtual int MenuBarHeight() const { return 0; }
    // A message that reached the control's default handling (DefWndProc): a peer over a
    // toolkit widget learns that the control left a key, a character, the wheel or a context
    // menu to the widget, or answers the message itself. True when the peer answered it.
    virtual bool DefaultMessage(TMessage&) { return false; }
};

// How a message box is answered: kinds and texts as MessageBoxW takes them.
struct TMessageBoxRequest {
    HWND Owner = nullptr;
    WideString Text;
    WideString Caption;
    UINT Flags = 0;
};

// One monitor in screen coordinates: all of it, and the part windows may use.
struct TMonitorArea {
    TRect Bounds;
    TRect WorkArea;
};

class TWidgetSet {
public:
    virtual ~TWidgetSet() = default;
    virtual const char* Name() const = 0;
    // True when windows are really shown (not the headless set).
    virtual bool HasDisplay() const = 0;

    // A peer for a control whose handle is being made; parent is the parent's peer (null for
    // a top-level window).
    virtual std::unique_ptr<TWidgetPeer> CreatePeer(TWinControl& control, const TCreateParams& params,
                                                    TWidgetPeer* parent) = 0;

    // Handles the toolkit's pending events without waiting.
    virtual void ProcessEvents() = 0;
    // Waits until an event or a posted message arrives, or the deadline passes.
    virtual void WaitEvents(std::optional<std::chrono::steady_clock::time_point> deadline) = 0;

    virtual TPoint CursorPos() const = 0;
    virtual void SetCursorPos(TPoint) {}
    // The screen cursor of the whole application (crDefault to let controls choose).
    virtual void SetScreenCursor(int) {}
    virtual TRect DesktopRect() const = 0;
    virtual TRect WorkAreaRect() const { return DesktopRect(); }
    // Every monitor, the primary first.
    virtual std::vector<TMonitorArea> Monitors() const { return {{DesktopRect(), WorkAreaRect()}}; }
    // The work area of the monitor at a screen point (the primary one when no monitor is
    // there); empty when windows have no real screen to fit (headless, offscreen).
    virtual TRect WorkAreaAt(TPoint) const { return {}; }
    virtual std::vector<WideString> FontNames() const = 0;
    // A modal message box; returns IDOK, IDYES, ... (0 when none can be shown).
    virtual int MessageBox(const TMessageBoxRequest& request) = 0;
    virtual void Beep() {}
    // Whether a key is held down now (the modifier keys: VK_SHIFT, VK_CONTROL, VK_MENU).
    virtual bool KeyDown(int /*virtualKey*/) const { return false; }
    // Runs a popup menu at a screen point for the owner window; the chosen command, or 0.
    virtual UINT TrackPopupMenu(HMENU, UINT /*flags*/, TPoint, HWND /*owner*/) { return 0; }
    // Shows a hint window with text at a screen point; empty text hides it.
    virtual void ShowHint(const WideString&, TPoint) {}
    // A size x size ARGB picture of the desktop theme's icon: by its theme name, or, with an
    // empty name, the icon of a file's type judged by the file name alone (the file need not
    // exist). Empty when the theme has none.
    virtual std::vector<std::uint32_t> DesktopIcon(const WideString& /*themeName*/, const WideString& /*fileName*/,
                                                   int /*size*/) const {
        return {};
    }
};

// The index of the monitor holding a screen point, else of the one nearest to it (0 for none).
size_t NearestMonitor(const std::vector<TMonitorArea>& monitors, TPoint p);

// The widget set in use; the headless one until another is installed.
TWidgetSet& WidgetSet();
void SetWidgetSet(std::unique_ptr<TWidgetSet> widgetSet);
std::unique_ptr<TWidgetSet> CreateHeadlessWidgetSet();
