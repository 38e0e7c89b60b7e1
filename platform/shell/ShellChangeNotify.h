// Change notification of folders over inotify. A handle fires when an entry of its folder is
// created, removed or renamed, when the folder itself goes, or when the kernel dropped events.
// inotify is not recursive: a subtree handle watches its root and every folder below it that
// the namespace has listed (before or after the handle opened), up to kSubtreeWatchBudget
// folders; folders nobody has opened cannot show a change anyway.
#pragma once

#include <atomic>
#include <memory>
#include <span>
#include <string>

#include "platform/win/UniqueFd.h"
#include "platform/win/WinTypes.h"

inline constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x00000001;
inline constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x00000002;

// Folders one subtree handle watches at most, beside the kernel's own limit.
inline constexpr int kSubtreeWatchBudget = 4096;

class ShellChangeHandle {
public:
    // Null with the error set (GetLastError) when the path is empty or cannot be watched.
    static std::unique_ptr<ShellChangeHandle> Open(const std::string& path, bool subtree, DWORD filter);
    ~ShellChangeHandle();
    ShellChangeHandle(const ShellChangeHandle&) = delete;
    ShellChangeHandle& operator=(const ShellChangeHandle&) = delete;

    // Readable (poll) when events wait.
    int Fd() const { return fd_.get(); }
    // Reads the waiting events without blocking; true when one is a change the filter asks for.
    bool Consume();
    // The root folder went (removed, moved, unmounted): the handle fires no more.
    bool Gone() const { return gone_; }
    int WatchCount() const { return watches_.load(); }
    const std::string& Root() const { return root_; }
    bool Subtree() const { return subtree_; }

    // Adds a folder below the root (subtree handles only, within the budget); called with the
    // listing registry held.
    void WatchFolder(const std::string& path);

private:
    ShellChangeHandle(int fd, std::string root, bool subtree, DWORD filter)
        : fd_(fd), root_(std::move(root)), subtree_(subtree), filter_(filter) {}

    UniqueFd fd_;
    std::string root_;
    bool subtree_;
    DWORD filter_;
    int rootWatch_ = -1;
    int newestWatch_ = -1;
    bool gone_ = false;  // descriptors grow: a larger one is a new folder
    std::atomic<int> watches_{0};
};

// Tells the subtree handles that the namespace listed a folder.
void NoteListedFolder(const std::string& path);

// An event another thread sets to wake a waiting one (an eventfd).
class ShellWakeEvent {
public:
    ShellWakeEvent();
    void Set() const;
    void Reset() const;
    int Fd() const { return fd_.get(); }

private:
    UniqueFd fd_;
};

// Blocks until wake is set (-1, left set), a handle has events (its index, the first one) or,
// with a descriptor of the mount table open, something was mounted or unmounted
// (kMountTableChanged; the table's poll reports each change once).
inline constexpr int kMountTableChanged = -2;
int WaitForShellChanges(const ShellWakeEvent& wake, std::span<ShellChangeHandle* const> handles,
                        int mountTableFd = -1);
