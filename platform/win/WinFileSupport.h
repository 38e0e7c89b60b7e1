// Shared by the file services: path arguments, Win32 error codes for path failures, and the
// facts of a file in Win32 terms (attributes, FILETIMEs).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "platform/win/WinFiles.h"

namespace winfiles {

// The file-system path of a Win32 path argument. False with the last error set when the
// argument is null (ERROR_INVALID_PARAMETER) or empty (ERROR_PATH_NOT_FOUND).
bool PathArg(LPCWSTR path, std::string& out);

// Sets the last error for a call on path that failed with errno err. ENOENT becomes
// ERROR_PATH_NOT_FOUND when the folder that should hold the name is missing, as on Windows.
void SetPathError(const std::string& path, int err);
// The same, returning FALSE for the common failure path.
BOOL FailPath(const std::string& path, int err);

// The folder part of a path ("." when it has none, "/" for names in the root).
std::string ParentOf(const std::string& path);
// The last name of a path, trailing slashes ignored ("" for "/").
std::string LastComponent(const std::string& path);

// 100-ns ticks since 1601 <-> POSIX time. Times before 1601 become 0.
FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);
timespec UnixFromFileTime(const FILETIME& ft);
inline bool IsZero(const FILETIME& ft) { return ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0; }

struct FileFacts {
    mode_t mode = 0;      // of the link's target when a symbolic link resolves
    bool isLink = false;  // the name is a symbolic link
    std::uint64_t size = 0;
    FILETIME created;     // birth time where the file system keeps one, else last write
    FILETIME accessed;
    FILETIME written;
};

// Facts of name inside the folder dirFd (AT_FDCWD for a path). Symbolic links are followed;
// a dangling link gives the facts of the link itself. Returns 0 or the errno value.
int FactsAt(int dirFd, const char* name, FileFacts& out);
// Facts of an open descriptor. Returns 0 or the errno value.
int FactsOfFd(int fd, FileFacts& out);

// Win32 attributes of a file with the given facts and last name.
DWORD AttributesOf(const FileFacts& facts, std::string_view name);

}  // namespace winfiles
