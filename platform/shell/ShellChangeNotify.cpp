#include "platform/shell/ShellChangeNotify.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <set>
#include <system_error>
#include <vector>

#include "platform/win/WinError.h"

namespace {

constexpr std::uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
// Folders remembered for subtree handles opened later; the oldest listings are not dropped,
// new ones are no longer remembered past this.
constexpr std::size_t kListedFolderBudget = 16384;

bool Below(const std::string& root, const std::string& path) {
    if (root == "/") return path.size() > 1 && path[0] == '/';
    return path.size() > root.size() && path.starts_with(root) && path[root.size()] == '/';
}

// The folders the namespace listed and the subtree handles open, shared by the GUI thread
// (listing) and the watcher threads (opening and closing handles).
struct Registry {
    std::mutex mutex;
    std::set<std::string> listed;
    std::set<ShellChangeHandle*> subtrees;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.ends_with('/')) path.pop_back();
    return path;
}

}  // namespace

std::unique_ptr<ShellChangeHandle> ShellChangeHandle::Open(const std::string& path, bool subtree, DWORD filter) {
    if (path.empty() || path[0] != '/') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    UniqueFd fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (fd.get() < 0) {
        SetLastErrorFromErrno(errno);
        return nullptr;
    }
    std::unique_ptr<ShellChangeHandle> handle(
        new ShellChangeHandle(fd.release(), WithoutTrailingSlash(path), subtree, filter));
    handle->rootWatch_ = inotify_add_watch(handle->Fd(), handle->root_.c_str(), kEntryEvents | kSelfEvents | IN_ONLYDIR);
    if (handle->rootWatch_ < 0) {
        SetLastErrorFromErrno(errno);
        return nullptr;
    }
    handle->watches_ = 1;
    handle->newestWatch_ = handle->rootWatch_;
    if (subtree) {
        Registry& r = TheRegistry();
        std::lock_guard lock(r.mutex);
        for (const std::string& folder : r.listed)
            if (Below(handle->root_, folder)) handle->WatchFolder(folder);
        r.subtrees.insert(handle.get());
    }
    return handle;
}

ShellChangeHandle::~ShellChangeHandle() {
    if (!subtree_) return;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.subtrees.erase(this);
}

void ShellChangeHandle::WatchFolder(const std::string& path) {
    if (!subtree_ || !Below(root_, path) || watches_.load() >= kSubtreeWatchBudget) return;
    // A folder watched already gives the same descriptor again: count only new ones.
    const int wd = inotify_add_watch(fd_.get(), path.c_str(), kEntryEvents | IN_ONLYDIR);
    if (wd > newestWatch_) {
        newestWatch_ = wd;
        ++watches_;
    }
}

bool ShellChangeHandle::Consume() {
    alignas(inotify_event) char buffer[16384];
    bool changed = false;
    for (;;) {
        const ssize_t n = read(fd_.get(), buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if ((e->mask & IN_IGNORED) && e->wd == rootWatch_) gone_ = true;
            if (e->mask & IN_Q_OVERFLOW) changed = true;
            else if ((e->mask & kSelfEvents) && e->wd == rootWatch_) changed = true;
            else if (e->mask & kEntryEvents)
                changed |= (e->mask & IN_ISDIR) ? (filter_ & FILE_NOTIFY_CHANGE_DIR_NAME) != 0
                                                : (filter_ & FILE_NOTIFY_CHANGE_FILE_NAME) != 0;
        }
    }
    return changed;
}

void NoteListedFolder(const std::string& path) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    if (r.listed.size() < kListedFolderBudget) r.listed.insert(path);
    for (ShellChangeHandle* h : r.subtrees) h->WatchFolder(path);
}

ShellWakeEvent::ShellWakeEvent() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (fd_.get() < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

void ShellWakeEvent::Set() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(fd_.get(), &one, sizeof one);
}

void ShellWakeEvent::Reset() const {
    std::uint64_t value = 0;
    [[maybe_unused]] const ssize_t n = read(fd_.get(), &value, sizeof value);
}

int WaitForShellChanges(const ShellWakeEvent& wake, std::span<ShellChangeHandle* const> handles, int mountTableFd) {
    std::vector<pollfd> fds;
    fds.reserve(handles.size() + 2);
    fds.push_back({wake.Fd(), POLLIN, 0});
    for (const ShellChangeHandle* h : handles) fds.push_back({h->Fd(), POLLIN, 0});
    // The table is always readable: only its priority event tells of a change.
    if (mountTableFd >= 0) fds.push_back({mountTableFd, POLLPRI, 0});
    const std::size_t handleEnd = handles.size() + 1;
    for (;;) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (fds[0].revents) return -1;
        for (std::size_t i = 1; i < handleEnd; ++i)
            if (fds[i].revents) return static_cast<int>(i - 1);
        if (fds.size() > handleEnd && (fds[handleEnd].revents & (POLLPRI | POLLERR))) return kMountTableChanged;
    }
}
