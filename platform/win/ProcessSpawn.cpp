#include "platform/win/ProcessSpawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/win/UniqueFd.h"

extern char** environ;

namespace {

// Owns the spawn attributes and file actions for one start.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attr_);
        posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attr_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    void NewSession() {
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSID);
    }
    void StdoutTo(int readEnd, int writeEnd) {
        posix_spawn_file_actions_addclose(&actions_, readEnd);
        posix_spawn_file_actions_adddup2(&actions_, writeEnd, STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions_, writeEnd);
    }
    // 0 or the errno value of the failed start.
    int Spawn(const std::vector<std::string>& argv, pid_t& pid) const {
        if (argv.empty() || argv[0].empty()) return ENOENT;
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        return posix_spawnp(&pid, args[0], &actions_, &attr_, args.data(), environ);
    }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attr_;
};

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindOnPath(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t at = 0;
    while (at <= folders.size()) {
        size_t end = folders.find(':', at);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > at ? folders.substr(at, end - at) : ".";
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        at = end + 1;
    }
    return {};
}

namespace {

void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

// Starts argv in a session of its own; false with *error set when it could not be started.
bool SpawnInNewSession(const std::vector<std::string>& argv, pid_t& pid, int* error) {
    SpawnSetup setup;
    setup.NewSession();
    const int rc = setup.Spawn(argv, pid);
    if (error) *error = rc;
    return rc == 0;
}

}  // namespace

bool SpawnDetached(const std::vector<std::string>& argv, int* error) {
    pid_t pid = 0;
    if (!SpawnInNewSession(argv, pid, error)) return false;
    ReapInBackground(pid);
    return true;
}

bool SpawnAndWatch(const std::vector<std::string>& argv, int graceMs, int* error) {
    pid_t pid = 0;
    if (!SpawnInNewSession(argv, pid, error)) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(graceMs);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR) return true;  // reaped elsewhere: it did start
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ReapInBackground(pid);
    return true;
}

bool RunForOutput(const std::vector<std::string>& argv, std::string& output) {
    output.clear();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    UniqueFd readEnd(fds[0]);
    UniqueFd writeEnd(fds[1]);
    SpawnSetup setup;
    setup.StdoutTo(fds[0], fds[1]);
    pid_t pid = 0;
    if (setup.Spawn(argv, pid) != 0) return false;
    writeEnd.reset();
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(readEnd.get(), buffer, sizeof buffer);
        if (n > 0) output.append(buffer, static_cast<size_t>(n));
        else if (n == 0 || errno != EINTR) break;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
