// The window a long copy or move shows: which item of how many is going, and Cancel.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "platform/vcl/GdiTypes.h"

// What the copying thread tells the window; the window sets Cancel.
struct TShellTransferProgress {
    std::atomic<bool> Cancel{false};
    std::atomic<int> Done{0};
    int Total = 0;
    // The name of the item being copied (raw bytes), under its lock.
    void SetCurrent(std::string name);
    std::string CurrentName() const;

private:
    mutable std::mutex lock_;
    std::string current_;
};

// Shows the window modally until finished answers true; Cancel asks the transfer to stop
// and the window then waits for it.
void ShowShellTransferProgress(HWND owner, TShellTransferProgress& progress, bool move,
                               const std::function<bool()>& finished);
