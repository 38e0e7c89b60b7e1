#include "platform/vcl/WinUser.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "platform/vcl/SysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"
#include "platform/win/WinTime.h"

struct HDROP__ {
    std::vector<WideString> files;
    POINT point;
    bool inClient = true;
};

namespace {

using Clock = std::chrono::steady_clock;

struct Timer {
    HWND window;
    UINT_PTR id;
    std::chrono::milliseconds interval;
    Clock::time_point due;
    TIMERPROC proc;
    bool queued = false;  // a WM_TIMER of this timer waits in the queue
};

class UtilityWindow : public TWindowTarget {
public:
    explicit UtilityWindow(std::function<void(TMessage&)> method) : method_(std::move(method)) {}
    LRESULT WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        TMessage m{msg, wParam, lParam, 0};
        method_(m);
        return m.Result;
    }

private:
    std::function<void(TMessage&)> method_;
};

struct State {
    std::mutex lock;
    std::condition_variable queued;
    std::unordered_map<HWND, TWindowTarget*> windows;
    std::uintptr_t nextHandle = 0x10000;
    std::unordered_map<HWND, std::unique_ptr<UtilityWindow>> utilities;
    std::deque<MSG> messages;
    std::deque<std::function<void()>> calls;  // SendMessageW from other threads
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimer = 1;
    std::optional<std::thread::id> guiThread;
    // The widget set's wake-up, called under its own lock: replacing it waits for a wake-up
    // another thread is running, so the widget set can go while threads still post.
    std::mutex wakeLock;
    std::function<void()> wake;
    std::map<std::string, UINT> registered;  // names in capitals
    UINT nextRegistered = 0xC000;
    std::unordered_set<HWND> dropTargets;
    std::unordered_map<HDROP, std::unique_ptr<HDROP__>> drops;
};

// The queue lives for the whole process: threads may post and windows may go while statics
// of other units are being destroyed at exit.
State& S() {
    static State* s = new State;
    return *s;
}

thread_local DWORD lastMessageTime = 0;

void Wake(State& s) {
    s.queued.notify_all();
    std::lock_guard guard(s.wakeLock);
    if (s.wake) s.wake();
}

bool InRange(UINT msg, UINT first, UINT last) { return (first == 0 && last == 0) || (msg >= first && msg <= last); }

DWORD NowTicks() { return GetTickCount(); }

POINT NoPoint() { return POINT{}; }

}  // namespace

void SetGuiThread() {
    std::lock_guard guard(S().lock);
    S().guiThread = std::this_thread::get_id();
}

bool IsGuiThread() {
    State& s = S();
    std::lock_guard guard(s.lock);
    if (!s.guiThread) s.guiThread = std::this_thread::get_id();
    return *s.guiThread == std::this_thread::get_id();
}

HWND AllocateWindowHandle(TWindowTarget* target) {
    State& s = S();
    std::lock_guard guard(s.lock);
    s.nextHandle += 4;
    HWND h = reinterpret_cast<HWND>(s.nextHandle);
    s.windows[h] = target;
    return h;
}

void FreeWindowHandle(HWND window) {
    State& s = S();
    std::lock_guard guard(s.lock);
    s.windows.erase(window);
    s.dropTargets.erase(window);
    std::erase_if(s.messages, [&](const MSG& m) { return m.hwnd == window; });
    std::erase_if(s.timers, [&](const Timer& t) { return t.window == window; });
}

TWindowTarget* WindowTarget(HWND window) {
    State& s = S();
    std::lock_guard guard(s.lock);
    const auto it = s.windows.find(window);
    return it == s.windows.end() ? nullptr : it->second;
}

BOOL IsWindow(HWND window) { return WindowTarget(window) ? TRUE : FALSE; }

HWND AllocateHWnd(std::function<void(TMessage&)> method) {
    auto window = std::make_unique<UtilityWindow>(std::move(method));
    HWND h = AllocateWindowHandle(window.get());
    std::lock_guard guard(S().lock);
    S().utilities[h] = std::move(window);
    return h;
}

void DeallocateHWnd(HWND window) {
    FreeWindowHandle(window);
    std::unique_ptr<UtilityWindow> gone;
    {
        std::lock_guard guard(S().lock);
        auto it = S().utilities.find(window);
        if (it == S().utilities.end()) return;
        gone = std::move(it->second);
        S().utilities.erase(it);
    }
}

LRESULT SendMessageW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsGuiThread()) {
        if (!IsWindow(window)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        auto done = std::make_shared<std::promise<LRESULT>>();
        std::future<LRESULT> result = done->get_future();
        {
            std::lock_guard guard(S().lock);
            S().calls.push_back([=] {
                try {
                    done->set_value(SendMessageW(window, msg, wParam, lParam));
                } catch (...) {
                    done->set_exception(std::current_exception());
                }
            });
        }
        Wake(S());
        return result.get();
    }
    TWindowTarget* target = WindowTarget(window);
    if (!target) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return target->WindowMessage(msg, wParam, lParam);
}

LRESULT SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The 8-bit text messages carry UTF-8; the windows answer wide text.
    switch (msg) {
    case WM_SETTEXT: {
        const WideString text = lParam ? Utf8ToUtf16(reinterpret_cast<const char*>(lParam)) : WideString();
        return SendMessageW(window, msg, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    case WM_GETTEXTLENGTH: {
        const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
        WideString text(static_cast<std::size_t>(length) + 1, u'\0');
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return static_cast<LRESULT>(Utf16ToUtf8(text).size());
    }
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) return 0;
        const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
        WideString text(static_cast<std::size_t>(length) + 1, u'\0');
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        AnsiString utf8 = Utf16ToUtf8(text);
        if (utf8.size() > wParam - 1) utf8.resize(wParam - 1);  // may cut a sequence, as Windows cuts bytes
        std::copy(utf8.begin(), utf8.end(), buffer);
        buffer[utf8.size()] = '\0';
        return static_cast<LRESULT>(utf8.size());
    }
    default: return SendMessageW(window, msg, wParam, lParam);
    }
}

BOOL PostMessageW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    State& s = S();
    {
        std::lock_guard guard(s.lock);
        if (window && !s.windows.count(window)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        s.messages.push_back(MSG{window, msg, wParam, lParam, NowTicks(), NoPoint()});
    }
    Wake(s);
    return TRUE;
}

BOOL PostMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) { return PostMessageW(window, msg, wParam, lParam); }

void PostQuitMessage(int exitCode) { PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

BOOL PeekMessageW(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
    State& s = S();
    // Calls carried over from other threads run first, outside the lock.
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard guard(s.lock);
            if (s.calls.empty()) break;
            call = std::move(s.calls.front());
            s.calls.pop_front();
        }
        call();
    }
    std::lock_guard guard(s.lock);
    const auto matches = [&](const MSG& m) { return (!window || m.hwnd == window) && InRange(m.message, first, last); };
    auto it = std::find_if(s.messages.begin(), s.messages.end(), matches);
    if (it == s.messages.end() && InRange(WM_TIMER, first, last)) {
        // A timer falls due only when nothing else waits, as on Windows.
        const auto now = Clock::now();
        for (Timer& t : s.timers) {
            if (t.queued || t.due > now || (window && t.window != window)) continue;
            t.queued = true;
            t.due = now + t.interval;
            s.messages.push_back(MSG{t.window, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), NowTicks(), NoPoint()});
        }
        it = std::find_if(s.messages.begin(), s.messages.end(), matches);
    }
    if (it == s.messages.end()) return FALSE;
    if (msg) *msg = *it;
    if (remove & PM_REMOVE) {
        if (it->message == WM_TIMER)
            for (Timer& t : s.timers)
                if (t.window == it->hwnd && t.id == it->wParam) t.queued = false;
        lastMessageTime = it->time;
        s.messages.erase(it);
    }
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        // A timer of a proc: the proc runs while the timer still exists.
        bool alive = false;
        {
            std::lock_guard guard(S().lock);
            for (const Timer& t : S().timers)
                if (t.window == msg->hwnd && t.id == msg->wParam) alive = true;
        }
        if (alive) reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    if (!msg->hwnd) return 0;
    TWindowTarget* target = WindowTarget(msg->hwnd);
    if (!target) return 0;
    return target->WindowMessage(msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG*) { return FALSE; }  // character messages come from the toolkit

DWORD GetMessageTime() { return lastMessageTime; }

std::optional<Clock::time_point> NextTimerDue() {
    State& s = S();
    std::lock_guard guard(s.lock);
    std::optional<Clock::time_point> next;
    for (const Timer& t : s.timers)
        if (!t.queued && (!next || t.due < *next)) next = t.due;
    return next;
}

void WaitForQueuedMessage(std::optional<Clock::time_point> deadline) {
    State& s = S();
    std::unique_lock guard(s.lock);
    const auto ready = [&] { return !s.messages.empty() || !s.calls.empty(); };
    if (deadline)
        s.queued.wait_until(guard, *deadline, ready);
    else
        s.queued.wait(guard, ready);
}

void SetQueueWakeup(std::function<void()> wake) {
    std::function<void()> old;  // destroyed outside the lock
    std::lock_guard guard(S().wakeLock);
    old = std::exchange(S().wake, std::move(wake));
}

UINT RegisterWindowMessageW(LPCWSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const AnsiString key = AnsiUpperCase(Utf16ToUtf8(name));
    State& s = S();
    std::lock_guard guard(s.lock);
    if (auto it = s.registered.find(key); it != s.registered.end()) return it->second;
    if (s.nextRegistered > 0xFFFF) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const UINT number = s.nextRegistered++;
    s.registered[key] = number;
    return number;
}

UINT RegisterWindowMessageA(LPCSTR name) {
    if (!name) return RegisterWindowMessageW(nullptr);
    const WideString wide = Utf8ToUtf16(name);
    return RegisterWindowMessageW(wide.c_str());
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    State& s = S();
    {
        std::lock_guard guard(s.lock);
        if (window && !s.windows.count(window)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        // Windows raises very short intervals to 10 ms.
        const auto interval = std::chrono::milliseconds(std::max<UINT>(elapse, 10));
        if (!window) {
            // A thread timer: an existing id is reset, otherwise a new id is given.
            const bool existing = id && std::any_of(s.timers.begin(), s.timers.end(),
                                                    [&](const Timer& t) { return !t.window && t.id == id; });
            if (!existing) id = s.nextThreadTimer++;
        }
        std::erase_if(s.timers, [&](const Timer& t) { return t.window == window && t.id == id; });
        std::erase_if(s.messages, [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == window && m.wParam == id; });
        s.timers.push_back(Timer{window, id, interval, Clock::now() + interval, proc});
    }
    Wake(s);
    return window ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    State& s = S();
    std::lock_guard guard(s.lock);
    const auto before = s.timers.size();
    std::erase_if(s.timers, [&](const Timer& t) { return t.window == window && t.id == id; });
    std::erase_if(s.messages, [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == window && m.wParam == id; });
    if (s.timers.size() == before) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

HDROP CreateDropHandle(const std::vector<WideString>& files, POINT point, bool inClient) {
    auto drop = std::make_unique<HDROP__>();
    drop->files = files;
    drop->point = point;
    drop->inClient = inClient;
    HDROP h = drop.get();
    std::lock_guard guard(S().lock);
    S().drops[h] = std::move(drop);
    return h;
}

namespace {
const HDROP__* LiveDrop(HDROP drop) {
    std::lock_guard guard(S().lock);
    const auto it = S().drops.find(drop);
    return it == S().drops.end() ? nullptr : it->second.get();
}
}  // namespace

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size) {
    const HDROP__* d = LiveDrop(drop);
    if (!d) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (index == 0xFFFFFFFFu) return static_cast<UINT>(d->files.size());
    if (index >= d->files.size()) return 0;
    const WideString& name = d->files[index];
    if (!buffer) return static_cast<UINT>(name.size());
    if (size == 0) return 0;
    const std::size_t n = std::min<std::size_t>(name.size(), size - 1);
    std::copy_n(name.data(), n, buffer);
    buffer[n] = u'\0';
    return static_cast<UINT>(n);
}

BOOL DragQueryPoint(HDROP drop, POINT* point) {
    const HDROP__* d = LiveDrop(drop);
    if (!d) return FALSE;
    if (point) *point = d->point;
    return d->inClient ? TRUE : FALSE;
}

void DragFinish(HDROP drop) {
    std::unique_ptr<HDROP__> gone;
    std::lock_guard guard(S().lock);
    const auto it = S().drops.find(drop);
    if (it == S().drops.end()) return;
    gone = std::move(it->second);
    S().drops.erase(it);
}

void DragAcceptFiles(HWND window, BOOL accept) {
    std::lock_guard guard(S().lock);
    if (!S().windows.count(window)) return;
    if (accept)
        S().dropTargets.insert(window);
    else
        S().dropTargets.erase(window);
}

bool AcceptsDroppedFiles(HWND window) {
    std::lock_guard guard(S().lock);
    return S().dropTargets.count(window) != 0;
}
