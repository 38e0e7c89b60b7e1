#include "platform/win/WinProcess.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "platform/win/WinError.h"
#include "platform/win/WinHandle.h"
#include "platform/win/WinString.h"

namespace {

struct ProcStat {
    char state = 0;
    unsigned long long startTime = 0;  // clock ticks after boot: tells a reused id apart
};

bool ReadProcStat(pid_t pid, ProcStat& out) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!in || !std::getline(in, line)) return false;
    const std::size_t close = line.rfind(')');  // the command name may hold spaces and parentheses
    if (close == std::string::npos) return false;
    std::istringstream fields(line.substr(close + 1));
    std::string skip;
    fields >> out.state;
    for (int field = 4; field < 22; ++field) fields >> skip;  // ppid .. num_threads, itrealvalue
    fields >> out.startTime;
    return static_cast<bool>(fields);
}

class ProcessObject final : public WinHandleObject {
public:
    ProcessObject(pid_t pid, unsigned long long startTime) : pid_(pid), startTime_(startTime) {}
    pid_t pid() const { return pid_; }

    bool Running() const {
        ProcStat st;
        return ReadProcStat(pid_, st) && st.startTime == startTime_ && st.state != 'Z' && st.state != 'X';
    }

    // The exit code of our own child, read without reaping it (its owner still waits for it).
    DWORD ExitCode() {
        if (exitCode_) return *exitCode_;
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_) {
            exitCode_ = info.si_code == CLD_EXITED ? static_cast<DWORD>(info.si_status)
                                                   : 128u + static_cast<DWORD>(info.si_status);
            return *exitCode_;
        }
        return 0;
    }

private:
    pid_t pid_;
    unsigned long long startTime_;
    std::optional<DWORD> exitCode_;
};

ProcessObject* ProcessOf(HANDLE h) {
    ProcessObject* p = HandleAs<ProcessObject>(h);
    if (!p) SetLastError(ERROR_INVALID_HANDLE);
    return p;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// readlink of /proc/<pid>/exe; errno is left set on failure.
bool ReadImagePath(pid_t pid, std::string& path) {
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    std::string buf(256, '\0');
    for (;;) {
        const ssize_t n = readlink(link.c_str(), buf.data(), buf.size());
        if (n < 0) return false;
        if (static_cast<std::size_t>(n) < buf.size()) {
            buf.resize(static_cast<std::size_t>(n));
            break;
        }
        buf.resize(buf.size() * 2);
    }
    constexpr std::string_view deleted = " (deleted)";  // the file was replaced while running
    if (buf.size() > deleted.size() && buf.compare(buf.size() - deleted.size(), deleted.size(), deleted) == 0)
        buf.resize(buf.size() - deleted.size());
    path = std::move(buf);
    return true;
}

}  // namespace

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

DWORD GetCurrentThreadId() { return static_cast<DWORD>(gettid()); }

HANDLE OpenProcess(DWORD, BOOL, DWORD dwProcessId) {
    ProcStat st;
    if (dwProcessId == 0 || dwProcessId > 0x7FFFFFFFu || !ReadProcStat(static_cast<pid_t>(dwProcessId), st)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return RegisterHandle(std::make_unique<ProcessObject>(static_cast<pid_t>(dwProcessId), st.startTime));
}

BOOL GetExitCodeProcess(HANDLE hProcess, DWORD* lpExitCode) {
    ProcessObject* p = ProcessOf(hProcess);
    if (!p) return FALSE;
    if (!lpExitCode) return Fail(ERROR_INVALID_PARAMETER);
    *lpExitCode = p->Running() ? STILL_ACTIVE : p->ExitCode();
    return TRUE;
}

DWORD GetProcessId(HANDLE hProcess) {
    ProcessObject* p = ProcessOf(hProcess);
    return p ? static_cast<DWORD>(p->pid()) : 0;
}

BOOL QueryFullProcessImageNameW(HANDLE hProcess, DWORD, char16_t* lpExeName, DWORD* lpdwSize) {
    ProcessObject* p = ProcessOf(hProcess);
    if (!p) return FALSE;
    if (!lpExeName || !lpdwSize) return Fail(ERROR_INVALID_PARAMETER);
    std::string path;
    if (!p->Running()) return Fail(ERROR_INVALID_HANDLE);  // gone: nothing left to name
    if (!ReadImagePath(p->pid(), path)) return FailWithErrno();
    const WideString wide = Utf8ToUtf16(path);
    if (wide.size() + 1 > *lpdwSize) return Fail(ERROR_INSUFFICIENT_BUFFER);
    wide.copy(lpExeName, wide.size());
    lpExeName[wide.size()] = u'\0';
    *lpdwSize = static_cast<DWORD>(wide.size());
    return TRUE;
}

WideString ProcessImageName(DWORD processId) {
    std::string path;
    if (processId == 0 || processId > 0x7FFFFFFFu || !ReadImagePath(static_cast<pid_t>(processId), path))
        return WideString();
    return Utf8ToUtf16(path);
}
