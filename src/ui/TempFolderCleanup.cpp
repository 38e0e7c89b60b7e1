#include "ui/TempFolderCleanup.h"

#include <filesystem>
#include <system_error>

#include "app/UiHelpers.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinProcess.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

// Files only: a folder that still holds a sub-folder stays.
void RemoveFilesAndFolder(const fs::path& folder)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code e;
        if (!it->is_directory(e)) fs::remove(it->path(), e);
    }
    fs::remove(folder, error);
}

bool ParsePid(const WideString& name, DWORD& pid)
{
    if (name.empty() || name.size() > 9) return false;
    pid = 0;
    for (char16_t c : name) {
        if (c < u'0' || c > u'9') return false;
        pid = pid * 10 + static_cast<DWORD>(c - u'0');
    }
    return true;
}

}  // namespace

FolderProcess LookUpProcess(DWORD pid)
{
    FolderProcess p;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return p;
    p.exists = true;
    DWORD code = 0;
    p.knownExit = GetExitCodeProcess(process, &code) != FALSE;
    p.running = p.knownExit && code == STILL_ACTIVE;
    p.imageName = GetProcessNameByHandle(process);
    CloseHandle(process);
    return p;
}

bool TempFolderCanGo(const WideString& name, const WideString& ownName, const ProcessLookup& lookup)
{
    DWORD pid = 0;
    if (!ParsePid(name, pid)) return false;
    const FolderProcess p = lookup(pid);
    if (!p.exists) return true;
    if (!p.knownExit) return false;
    return !p.running && p.imageName == ownName;
}

void CleanUpTempFolder(const WideString& tempFolder, const ProcessLookup& lookup)
{
    if (tempFolder.empty()) return;
    const fs::path own = fs::path(Utf16ToUtf8(tempFolder)).lexically_normal();
    RemoveFilesAndFolder(own);
    // The folder of all runs: the temporary folder without its trailing separator, one up.
    const fs::path parent = (own.has_filename() ? own : own.parent_path()).parent_path();
    std::error_code error;
    if (!fs::is_directory(parent, error)) return;
    const WideString ownName = GetProcessNameById(GetCurrentProcessId());
    for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        std::error_code e;
        if (!it->is_directory(e) || it->is_symlink(e)) continue;
        if (TempFolderCanGo(Utf8ToUtf16(it->path().filename().string()), ownName, lookup))
            RemoveFilesAndFolder(it->path());
    }
}
