// Window handles and the message queue, as the program calls them: an HWND names a live window
// object of the class library (a windowed control, or a utility window made by AllocateHWnd);
// SendMessageW reaches it synchronously; PostMessageW queues from any thread onto the GUI
// thread's loop; registered message numbers; window timers (WM_TIMER); dropped files (HDROP).
//
// Window classes, replacing a raw handle's procedure, atoms, window properties and hooks are not
// built: the class library's WindowProc is the hook point.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/vcl/Messages.h"

// What a window handle names.
class TWindowTarget {
public:
    virtual ~TWindowTarget() = default;
    virtual LRESULT WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

// Hands out a fresh handle for target; handles are never reused while the process runs.
HWND AllocateWindowHandle(TWindowTarget* target);
// The handle stops naming anything: later messages to it fail, queued ones are dropped.
void FreeWindowHandle(HWND window);
TWindowTarget* WindowTarget(HWND window);
BOOL IsWindow(HWND window);

// A utility window that hands every message to method (timers, relays, cross-thread posts).
HWND AllocateHWnd(std::function<void(TMessage& message)> method);
void DeallocateHWnd(HWND window);

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// On the GUI thread: calls the window's procedure and returns its result; 0 with
// ERROR_INVALID_WINDOW_HANDLE for a handle that names nothing. From another thread the call is
// carried to the GUI thread and waits for it.
LRESULT SendMessageW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues the message for the GUI thread; safe from any thread. A null window posts a thread
// message (the application's OnMessage sees it). FALSE with ERROR_INVALID_WINDOW_HANDLE for a
// handle that names nothing.
BOOL PostMessageW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues WM_QUIT.
void PostQuitMessage(int exitCode);
// Takes the first queued message in [first, last] (0, 0: any) for window (null: any); due
// timers are queued first. Never waits.
BOOL PeekMessageW(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
// Calls the procedure of the message's window; returns its result (0 for thread messages).
LRESULT DispatchMessageW(const MSG* msg);
BOOL TranslateMessage(const MSG* msg);
DWORD GetMessageTime();

// Blocks the calling (GUI) thread until a message is queued or the deadline passes (the
// loop of a display backend waits its own way and is woken through SetQueueWakeup).
void WaitForQueuedMessage(std::optional<std::chrono::steady_clock::time_point> deadline);
// The earliest time a timer falls due, if any runs.
std::optional<std::chrono::steady_clock::time_point> NextTimerDue();
// Called (from any thread) whenever a message is queued or a timer is set, so that a display
// backend's loop wakes; called with the time the next timer is due.
void SetQueueWakeup(std::function<void()> wake);

// The GUI thread: the thread that first uses the queue, or the one named here.
void SetGuiThread();
bool IsGuiThread();

// "Corvenfold.DestroyWindow" and the like: the same name (without case) gives the same number
// in 0xC000..0xFFFF; 0 for an empty name or when the range is used up.
UINT RegisterWindowMessageW(LPCWSTR name);
UINT RegisterWindowMessageA(LPCSTR name);

// Window timers. With a window, WM_TIMER goes to it (id as given); without one a new id is
// returned and WM_TIMER goes out as a thread message. A timer proc, when given, is called in
// place of the window. Returns 0 with ERROR_INVALID_WINDOW_HANDLE for a dead window.
using TIMERPROC = void (*)(HWND window, UINT msg, UINT_PTR id, DWORD time);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);

// Dropped files: the backend makes a drop object for WM_DROPFILES; the receiver reads it and
// frees it with DragFinish. Windows accept drops after DragAcceptFiles.
HDROP CreateDropHandle(const std::vector<WideString>& files, POINT point, bool inClient);
// index 0xFFFFFFFF: the number of files; buffer null: the name's length; else copies up to
// size-1 units and a terminating zero and returns the units copied.
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size);
BOOL DragQueryPoint(HDROP drop, POINT* point);
void DragFinish(HDROP drop);
void DragAcceptFiles(HWND window, BOOL accept);
bool AcceptsDroppedFiles(HWND window);

inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

// ---- keyboard state
// A key's state now: the high bit (a negative result) while it is held down. The widget set
// knows the modifier keys (SHIFT, CTRL, ALT); other keys read as up.
SHORT GetKeyState(int virtualKey);
