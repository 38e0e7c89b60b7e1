// Runs a start-up in a child process: the run fills global objects (options, translations,
// application) that a second run in the same process would inherit. The child gets its own
// home, XDG folders and registry below a folder of the caller's.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern "C" void QuilloraRegistryReload();

namespace testsupport {

// The child's exit status; -1 when it crashed, -2 when it ran longer than timeoutSeconds (it is
// then killed).
inline int RunInChild(const std::filesystem::path& home, const std::function<int()>& body, int timeoutSeconds = 60) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        const auto set = [&](const char* name, const char* sub) {
            const std::filesystem::path p = home / sub;
            std::filesystem::create_directories(p);
            setenv(name, p.c_str(), 1);
        };
        set("HOME", "home");
        set("XDG_CONFIG_HOME", "home/.config");
        set("XDG_DATA_HOME", "home/.local/share");
        set("QUILLORA_REGISTRY_DIR", "registry");
        QuilloraRegistryReload();
        int status = 99;
        try {
            status = body();
        } catch (...) {
            status = 98;
        }
        std::fflush(nullptr);
        _exit(status);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -2;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}


}  // namespace testsupport
