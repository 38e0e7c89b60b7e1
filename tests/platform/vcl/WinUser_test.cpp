// Window handles, the message queue, registered messages, timers and dropped files, without a
// display.
#include <gtest/gtest.h>

#include <thread>

#include "platform/vcl/WinUser.h"
#include "platform/win/WinError.h"

namespace {

struct Recorder {
    std::vector<TMessage> seen;
    HWND handle = AllocateHWnd([this](TMessage& m) {
        seen.push_back(m);
        m.Result = static_cast<LRESULT>(m.WParam) * 2;
    });
    ~Recorder() { DeallocateHWnd(handle); }
};

// Delivers what is queued, as the application's loop does.
int Pump() {
    int n = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
        ++n;
    }
    return n;
}

TEST(WinUser, SendReachesTheWindowAndDeadHandlesFail) {
    SetGuiThread();
    Pump();  // whatever earlier tests left
    Recorder r;
    EXPECT_EQ(SendMessageW(r.handle, WM_USER + 1, 21, 0), 42);
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].Msg, WM_USER + 1u);

    HWND dead = nullptr;
    {
        Recorder gone;
        dead = gone.handle;
        PostMessageW(dead, WM_USER, 1, 0);  // queued, then dropped with the window
    }
    EXPECT_FALSE(IsWindow(dead));
    SetLastError(0);
    EXPECT_EQ(SendMessageW(dead, WM_USER, 1, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(PostMessageW(dead, WM_USER, 1, 0));
    EXPECT_EQ(Pump(), 0);
}

TEST(WinUser, PostedMessagesFromOtherThreadsArriveInOrderOnTheGuiThread) {
    SetGuiThread();
    Pump();
    Recorder r;
    const auto gui = std::this_thread::get_id();
    std::thread::id deliveredOn;
    HWND relay = AllocateHWnd([&](TMessage&) { deliveredOn = std::this_thread::get_id(); });
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) PostMessageW(r.handle, WM_USER + 7, static_cast<WPARAM>(t * 1000 + i), 0);
        });
    std::thread([&] { PostMessageW(relay, WM_USER, 0, 0); }).join();
    for (auto& w : workers) w.join();
    Pump();
    ASSERT_EQ(r.seen.size(), 200u);
    // Each thread's messages keep their order.
    std::vector<int> last(4, -1);
    for (const TMessage& m : r.seen) {
        const int t = static_cast<int>(m.WParam / 1000), i = static_cast<int>(m.WParam % 1000);
        EXPECT_GT(i, last[static_cast<std::size_t>(t)]);
        last[static_cast<std::size_t>(t)] = i;
    }
    EXPECT_EQ(deliveredOn, gui);
    DeallocateHWnd(relay);
}

TEST(WinUser, SendFromAnotherThreadRunsOnTheGuiThread) {
    SetGuiThread();
    Pump();
    Recorder r;
    std::thread::id ranOn;
    HWND w = AllocateHWnd([&](TMessage& m) {
        ranOn = std::this_thread::get_id();
        m.Result = 99;
    });
    LRESULT result = 0;
    std::thread worker([&] { result = SendMessageW(w, WM_USER, 0, 0); });
    // The GUI thread serves the call while it pumps.
    while (result == 0) {
        WaitForQueuedMessage(std::chrono::steady_clock::now() + std::chrono::milliseconds(50));
        Pump();
    }
    worker.join();
    EXPECT_EQ(result, 99);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    DeallocateHWnd(w);
}

TEST(WinUser, RegisteredMessagesAreStableByNameWithoutCase) {
    const UINT a = RegisterWindowMessageW(u"Corvenfold.DestroyWindow");
    EXPECT_GE(a, 0xC000u);
    EXPECT_LE(a, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageA("CORVENFOLD.DESTROYWINDOW"), a);
    EXPECT_NE(RegisterWindowMessageW(u"Another.Message"), a);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
}

TEST(WinUser, TimersTickUntilKilledAndNeverQueueTwice) {
    SetGuiThread();
    Pump();
    Recorder r;
    ASSERT_EQ(SetTimer(r.handle, 5, 10, nullptr), 5u);
    const auto start = std::chrono::steady_clock::now();
    int ticks = 0;
    while (ticks < 3 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        WaitForQueuedMessage(NextTimerDue());
        MSG msg;
        int pendingTimers = 0;
        // However long the loop was away, one WM_TIMER of a timer waits at a time.
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        while (PeekMessageW(&msg, r.handle, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            ++pendingTimers;
            DispatchMessageW(&msg);
        }
        EXPECT_LE(pendingTimers, 1);
        ticks += pendingTimers;
    }
    EXPECT_EQ(ticks, 3);
    ASSERT_FALSE(r.seen.empty());
    EXPECT_EQ(r.seen.back().Msg, WM_TIMER);
    EXPECT_EQ(r.seen.back().WParam, 5u);
    EXPECT_TRUE(KillTimer(r.handle, 5));
    EXPECT_FALSE(KillTimer(r.handle, 5));
    EXPECT_FALSE(NextTimerDue().has_value());

    // A thread timer gets an id of its own; its proc runs in place of a window.
    static int procCalls;
    procCalls = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++procCalls; });
    EXPECT_NE(id, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Pump();
    EXPECT_EQ(procCalls, 1);
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x4), 1, 10, nullptr), 0u);
}

TEST(WinUser, DroppedFilesAreReadThroughTheDropHandle) {
    HDROP drop = CreateDropHandle({u"/tmp/a.msg", u"/home/b\u00E9.eml"}, POINT{3, 4}, true);
    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFFu, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileW(drop, 1, nullptr, 0), 12u);
    char16_t buffer[6];
    EXPECT_EQ(DragQueryFileW(drop, 0, buffer, 6), 5u);  // cut to the buffer, zero-ended
    EXPECT_EQ(WideString(buffer), u"/tmp/");
    POINT p;
    EXPECT_TRUE(DragQueryPoint(drop, &p));
    EXPECT_EQ(p.y, 4);
    EXPECT_EQ(DragQueryFileW(drop, 2, buffer, 6), 0u);
    DragFinish(drop);
    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFFu, nullptr, 0), 0u);
}

}  // namespace
