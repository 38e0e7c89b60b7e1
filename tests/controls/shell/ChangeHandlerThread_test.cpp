// The folder-change watcher: a folder made outside reaches the owner window as a posted
// message with its slot, slots run out at 63 and are reused, and every descriptor closes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "controls/shell/ChangeHandlerThread.h"
#include "platform/vcl/WinUser.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

class ChangeHandlerTest : public ::testing::Test {
protected:
    void SetUp() override { SetGuiThread(); }
    void TearDown() override { DeallocateHWnd(window_); }

    // The slot of the next change message, waiting for it at most a few seconds.
    std::optional<WPARAM> NextChange() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!slot_ && std::chrono::steady_clock::now() < deadline) {
            WaitForQueuedMessage(deadline);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
        return std::exchange(slot_, std::nullopt);
    }

    testsupport::TempDir dir_;
    std::optional<WPARAM> slot_;
    HWND window_ = AllocateHWnd([this](TMessage& m) {
        if (m.Msg == kShellChangeMessage) slot_ = m.WParam;
    });
};

TEST_F(ChangeHandlerTest, FolderMadeOutsidePostsItsSlot) {
    fs::create_directories(dir_ / "one");
    fs::create_directories(dir_ / "two");
    TChangeHandlerThread watcher(window_, kShellChangeMessage);
    int slot = -1;
    ASSERT_TRUE(watcher.AddWatch((dir_ / "one").string(), FILE_NOTIFY_CHANGE_DIR_NAME, slot, false));
    EXPECT_EQ(slot, 0);
    ASSERT_TRUE(watcher.AddWatch((dir_ / "two").string(), FILE_NOTIFY_CHANGE_DIR_NAME, slot, false));
    EXPECT_EQ(slot, 1);
    fs::create_directory(dir_ / "two/new");
    EXPECT_EQ(NextChange(), WPARAM(1));
    EXPECT_FALSE(watcher.AddWatch("", FILE_NOTIFY_CHANGE_DIR_NAME, slot, false));
    EXPECT_EQ(slot, -1);
}

TEST_F(ChangeHandlerTest, SixtyThreeSlotsReusedAfterRemoveAllAndAllClosed) {
    const int before = OpenDescriptors();
    {
        TChangeHandlerThread watcher(window_, kShellChangeMessage);
        int slot = -1;
        for (int i = 0; i < TChangeHandlerThread::kSlotCount; ++i) {
            ASSERT_TRUE(watcher.AddWatch(dir_.path().string(), FILE_NOTIFY_CHANGE_DIR_NAME, slot, false));
            ASSERT_EQ(slot, i);
        }
        EXPECT_FALSE(watcher.AddWatch(dir_.path().string(), FILE_NOTIFY_CHANGE_DIR_NAME, slot, false));
        EXPECT_EQ(slot, -1);
        watcher.RemoveAllWatches();
        ASSERT_TRUE(watcher.AddWatch(dir_.path().string(), FILE_NOTIFY_CHANGE_DIR_NAME, slot, false));
        EXPECT_EQ(slot, 0);
        ASSERT_TRUE(watcher.AddWatch(dir_.path().string(), FILE_NOTIFY_CHANGE_DIR_NAME, slot, false));
        EXPECT_GT(OpenDescriptors(), before);
    }
    EXPECT_EQ(OpenDescriptors(), before) << "destroying with watches open closes them all";
}

}  // namespace
