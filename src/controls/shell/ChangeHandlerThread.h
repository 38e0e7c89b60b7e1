// A worker thread that waits on up to 63 folder-change handles and posts (message, slot
// index, 0) to its owner window when one fires; asked to, it also watches the mount table and
// posts (message, kMountsChangedSlot, 0) when a volume is mounted or unmounted. The GUI thread hands it actions (add a
// watch, remove all) and waits until they are done; the worker answers at once, so nothing
// waits on a timer. Destroying it wakes the worker, joins it and closes every handle.
#pragma once

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/shell/ShellChangeNotify.h"
#include "platform/vcl/Messages.h"
#include "platform/win/UniqueFd.h"

// Both shell controls receive the watcher's posts as this message.
inline constexpr UINT kShellChangeMessage = WM_USER + 101;

class TChangeHandlerThread {
public:
    static constexpr int kSlotCount = 63;
    static constexpr WPARAM kMountsChangedSlot = kSlotCount;

    // mountTable: the file to poll for mount changes (kMountTableFile); empty for none.
    TChangeHandlerThread(HWND owner, UINT messageId, const std::string& mountTable = {});
    ~TChangeHandlerThread();
    TChangeHandlerThread(const TChangeHandlerThread&) = delete;
    TChangeHandlerThread& operator=(const TChangeHandlerThread&) = delete;

    // Watches a folder (FILE_NOTIFY_CHANGE_* filter); false for an empty path, a folder that
    // cannot be watched or a full slot table. slot is the slot used, -1 on failure.
    bool AddWatch(const AnsiString& path, DWORD filter, int& slot, bool subtree);
    void RemoveAllWatches();

private:
    enum class Action { None, Add, RemoveAll, Quit };
    void Run();
    // Hands an action to the worker and waits until it is done.
    void Request(Action action);
    void Perform(Action action);

    HWND owner_;
    UINT messageId_;
    UniqueFd mountTable_;
    ShellWakeEvent wake_;
    std::mutex mutex_;
    std::condition_variable processed_;
    Action action_ = Action::None;
    unsigned long requested_ = 0, done_ = 0;
    std::unique_ptr<ShellChangeHandle> pending_;
    int newSlot_ = -1;
    std::array<std::unique_ptr<ShellChangeHandle>, kSlotCount> slots_;  // the worker's
    std::thread thread_;
};
