#include "platform/win/WinFileSupport.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/win/WinError.h"
#include "platform/win/WinString.h"
#include "platform/win/WinTime.h"

namespace winfiles {

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kUnixEpochTicks = 116'444'736'000'000'000;  // 1970-01-01 in FILETIME

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void FactsFromStatx(const struct statx& sx, FileFacts& out) {
    out.mode = sx.stx_mode;
    out.size = sx.stx_size;
    out.accessed = FileTimeFromUnix(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
    out.written = FileTimeFromUnix(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    out.created = (sx.stx_mask & STATX_BTIME)
                      ? FileTimeFromUnix(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec)
                      : out.written;
}

}  // namespace

bool PathArg(LPCWSTR path, std::string& out) {
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!*path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    out = Utf16ToUtf8(path);
    return true;
}

std::string ParentOf(const std::string& path) {
    std::string::size_type end = path.find_last_not_of('/');
    if (end == std::string::npos) return "/";
    std::string::size_type slash = path.rfind('/', end);
    if (slash == std::string::npos) return ".";
    std::string::size_type parentEnd = path.find_last_not_of('/', slash);
    if (parentEnd == std::string::npos) return "/";
    return path.substr(0, parentEnd + 1);
}

std::string LastComponent(const std::string& path) {
    std::string::size_type end = path.find_last_not_of('/');
    if (end == std::string::npos) return {};
    std::string::size_type slash = path.rfind('/', end);
    std::string::size_type begin = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(begin, end + 1 - begin);
}

void SetPathError(const std::string& path, int err) {
    if (err == ENOENT && !IsFolder(ParentOf(path))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return;
    }
    SetLastErrorFromErrno(err);
}

BOOL FailPath(const std::string& path, int err) {
    SetPathError(path, err);
    return FALSE;
}

FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
    // Below 1601 or beyond the 64-bit range clamps to the ends rather than wrapping.
    constexpr std::int64_t kMinSeconds = -kUnixEpochTicks / kTicksPerSecond;
    constexpr std::int64_t kMaxSeconds = (INT64_MAX - kUnixEpochTicks) / kTicksPerSecond - 1;
    std::uint64_t ticks = 0;
    if (seconds >= kMaxSeconds) {
        ticks = static_cast<std::uint64_t>(INT64_MAX);
    } else if (seconds >= kMinSeconds) {
        const std::int64_t t = seconds * kTicksPerSecond + nanoseconds / 100 + kUnixEpochTicks;
        ticks = t < 0 ? 0 : static_cast<std::uint64_t>(t);
    }
    return TicksToFileTime(ticks);
}

timespec UnixFromFileTime(const FILETIME& ft) {
    const std::uint64_t ticks = FileTimeToTicks(ft);
    // Signed arithmetic over 128 bits keeps the whole unsigned FILETIME range exact.
    const __int128 sinceEpoch = static_cast<__int128>(ticks) - kUnixEpochTicks;
    __int128 seconds = sinceEpoch / kTicksPerSecond;
    __int128 rest = sinceEpoch % kTicksPerSecond;
    if (rest < 0) {
        rest += kTicksPerSecond;
        --seconds;
    }
    timespec ts {};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>(rest * 100);
    return ts;
}

int FactsAt(int dirFd, const char* name, FileFacts& out) {
    constexpr unsigned kMask = STATX_BASIC_STATS | STATX_BTIME;
    struct statx sx {};
    if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW, kMask, &sx) != 0) return errno;
    out.isLink = S_ISLNK(sx.stx_mode);
    if (out.isLink) {
        struct statx target {};
        if (::statx(dirFd, name, 0, kMask, &target) == 0) sx = target;
    }
    FactsFromStatx(sx, out);
    return 0;
}

int FactsOfFd(int fd, FileFacts& out) {
    struct statx sx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) return errno;
    out.isLink = false;
    FactsFromStatx(sx, out);
    return 0;
}

DWORD AttributesOf(const FileFacts& facts, std::string_view name) {
    DWORD attrs = 0;
    if (S_ISDIR(facts.mode))
        attrs |= FILE_ATTRIBUTE_DIRECTORY;
    else if (S_ISREG(facts.mode))
        attrs |= FILE_ATTRIBUTE_ARCHIVE;
    if ((facts.mode & S_IWUSR) == 0) attrs |= FILE_ATTRIBUTE_READONLY;
    if (name.size() > 1 && name[0] == '.' && name != "..") attrs |= FILE_ATTRIBUTE_HIDDEN;
    if (facts.isLink) attrs |= FILE_ATTRIBUTE_REPARSE_POINT;
    return attrs == 0 ? FILE_ATTRIBUTE_NORMAL : attrs;
}

}  // namespace winfiles
