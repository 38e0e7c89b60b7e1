// Open files: CreateFileW and the calls on its handles.
#include "platform/win/WinFiles.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/WinError.h"
#include "platform/win/WinFileSupport.h"

using namespace winfiles;

namespace {

constexpr DWORD kReadRights = GENERIC_READ | GENERIC_ALL | FILE_READ_DATA;
constexpr DWORD kWriteRights = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA;

// An open file. The descriptor is closed (and a delete-on-close file removed) with the handle.
class FileObject final : public WinHandleObject {
public:
    FileObject(int fd, bool canRead, bool canWrite) : fd_(fd), canRead_(canRead), canWrite_(canWrite) {}
    ~FileObject() override {
        if (fd_ >= 0) ::close(fd_);
    }

    int fd() const { return fd_; }
    bool canRead() const { return canRead_; }
    bool canWrite() const { return canWrite_; }
    // A regular file, as found at the open (the type of an open file cannot change).
    bool regular() const { return regular_; }
    void SetRegular(bool regular) { regular_ = regular; }

    // Removes the file when the handle closes, provided the name still refers to it.
    void DeleteOnClose(std::string path) { deletePath_ = std::move(path); }

    bool Close() override {
        bool ok = true;
        if (!deletePath_.empty()) {
            struct stat mine {}, named {};
            if (::fstat(fd_, &mine) == 0 && ::lstat(deletePath_.c_str(), &named) == 0 &&
                mine.st_dev == named.st_dev && mine.st_ino == named.st_ino &&
                ::unlink(deletePath_.c_str()) != 0) {
                SetPathError(deletePath_, errno);
                ok = false;
            }
        }
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) {
            if (ok) SetLastErrorFromErrno(errno);
            ok = false;
        }
        return ok;
    }

private:
    int fd_;
    bool canRead_;
    bool canWrite_;
    bool regular_ = false;
    std::string deletePath_;
};

FileObject* FileOf(HANDLE h) {
    FileObject* file = HandleAs<FileObject>(h);
    if (!file) SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

// Moves the file position to an OVERLAPPED's offset, as a synchronous handle does.
bool SeekToOverlapped(int fd, const OVERLAPPED* ov) {
    if (!ov) return true;
    const off_t pos = static_cast<off_t>((static_cast<std::uint64_t>(ov->OffsetHigh) << 32) | ov->Offset);
    if (pos < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return false;
    }
    if (::lseek(fd, pos, SEEK_SET) < 0) {
        FailWithErrno();
        return false;
    }
    return true;
}

// Opens path with flags; on ENOENT after a first attempt that found the file, callers retry.
int OpenRetrying(const std::string& path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD /*dwShareMode*/,
                   LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE /*hTemplateFile*/) {
    std::string path;
    if (!PathArg(lpFileName, path)) return INVALID_HANDLE_VALUE;

    const bool canRead = (dwDesiredAccess & kReadRights) != 0;
    const bool canWrite = (dwDesiredAccess & kWriteRights) != 0;
    const bool appendOnly = (dwDesiredAccess & FILE_APPEND_DATA) &&
                            !(dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA));

    int flags = O_CLOEXEC | O_NOCTTY;
    if (canRead && canWrite)
        flags |= O_RDWR;
    else if (canWrite)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;  // also for attribute-only access: a read-only descriptor suffices
    if (appendOnly) flags |= O_APPEND;
    if (dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH) flags |= O_DSYNC;

    // New files get the usual permissions, or none to write with FILE_ATTRIBUTE_READONLY.
    const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

    int fd = -1;
    bool existed = false;
    switch (dwCreationDisposition) {
    case CREATE_NEW:
        fd = OpenRetrying(path, flags | O_CREAT | O_EXCL, mode);
        if (fd < 0 && errno == EEXIST) {
            SetLastError(ERROR_FILE_EXISTS);
            return INVALID_HANDLE_VALUE;
        }
        break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS: {
        // Create first, so that "did it exist" is answered by the same call that opens it.
        const int onExisting = dwCreationDisposition == CREATE_ALWAYS ? O_TRUNC : 0;
        for (int attempt = 0; attempt < 16; ++attempt) {
            fd = OpenRetrying(path, flags | O_CREAT | O_EXCL, mode);
            if (fd >= 0 || errno != EEXIST) break;
            fd = OpenRetrying(path, flags | onExisting, 0);
            if (fd >= 0) {
                existed = true;
                break;
            }
            if (errno != ENOENT) break;  // ENOENT: removed in between, create again
        }
        break;
    }
    case OPEN_EXISTING:
        // A reader does not block in the open: a FIFO found where a file was expected must not
        // hang the caller until some writer comes. Cleared again below for anything but a file.
        fd = OpenRetrying(path, canWrite ? flags : flags | O_NONBLOCK, 0);
        // Asking only for attributes needs no permission to read the contents.
        if (fd < 0 && errno == EACCES && !canRead && !canWrite)
            fd = OpenRetrying(path, (flags & ~O_ACCMODE) | O_PATH, 0);
        break;
    case TRUNCATE_EXISTING:
        if (!canWrite) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        fd = OpenRetrying(path, flags | O_TRUNC, 0);
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (fd < 0) {
        SetPathError(path, errno);
        return INVALID_HANDLE_VALUE;
    }

    auto file = std::make_unique<FileObject>(fd, canRead, canWrite);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        SetLastErrorFromErrno(errno);
        return INVALID_HANDLE_VALUE;
    }
    // Folders open only for backup semantics, as on Windows.
    if (S_ISDIR(st.st_mode) && !(dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    file->SetRegular(S_ISREG(st.st_mode));
    if (dwCreationDisposition == OPEN_EXISTING && !canWrite && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        const int status = ::fcntl(fd, F_GETFL);
        if (status >= 0) ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    if (dwFlagsAndAttributes & FILE_FLAG_SEQUENTIAL_SCAN)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    else if (dwFlagsAndAttributes & FILE_FLAG_RANDOM_ACCESS)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    if (dwFlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) {
        char cwd[4096];
        if (path[0] != '/' && ::getcwd(cwd, sizeof cwd))
            file->DeleteOnClose(std::string(cwd) + "/" + path);
        else
            file->DeleteOnClose(path);
    }

    HANDLE h = RegisterHandle(std::move(file));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    FileObject* file = FileOf(hFile);
    if (!file) return FALSE;
    if (!file->canRead()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!lpBuffer && nNumberOfBytesToRead > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!SeekToOverlapped(file->fd(), lpOverlapped)) return FALSE;

    // A file gives all that was asked for unless it ends first; a pipe gives what it has.
    const bool regular = file->regular();
    char* out = static_cast<char*>(lpBuffer);
    DWORD done = 0;
    while (done < nNumberOfBytesToRead) {
        const ssize_t n = ::read(file->fd(), out + done, nNumberOfBytesToRead - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
            return FailWithErrno();
        }
        if (n == 0) break;
        done += static_cast<DWORD>(n);
        if (!regular) break;
    }
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
    if (lpOverlapped) lpOverlapped->InternalHigh = done;
    return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               DWORD* lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    FileObject* file = FileOf(hFile);
    if (!file) return FALSE;
    if (!file->canWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!lpBuffer && nNumberOfBytesToWrite > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!SeekToOverlapped(file->fd(), lpOverlapped)) return FALSE;

    const char* in = static_cast<const char*>(lpBuffer);
    DWORD done = 0;
    while (done < nNumberOfBytesToWrite) {
        const ssize_t n = ::write(file->fd(), in + done, nNumberOfBytesToWrite - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
            return FailWithErrno();  // ENOSPC and EDQUOT give ERROR_DISK_FULL
        }
        if (n == 0) {  // no progress and no error: treat as a full device rather than spin
            if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        done += static_cast<DWORD>(n);
    }
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
    if (lpOverlapped) lpOverlapped->InternalHigh = done;
    return TRUE;
}

namespace {

// The position a move would reach, or false with the last error set.
bool TargetPosition(int fd, LONGLONG distance, DWORD method, LONGLONG& target) {
    LONGLONG base = 0;
    switch (method) {
    case FILE_BEGIN: break;
    case FILE_CURRENT: {
        const off_t cur = ::lseek(fd, 0, SEEK_CUR);
        if (cur < 0) return FailWithErrno();
        base = cur;
        break;
    }
    case FILE_END: {
        struct stat st {};
        if (::fstat(fd, &st) != 0) return FailWithErrno();
        base = st.st_size;
        break;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return false;
    }
    if (__builtin_add_overflow(base, distance, &target)) {
        SetLastError(distance < 0 ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
        return false;
    }
    if (target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return false;
    }
    return true;
}

}  // namespace

BOOL SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, LARGE_INTEGER* lpNewFilePointer,
                      DWORD dwMoveMethod) {
    FileObject* file = FileOf(hFile);
    if (!file) return FALSE;
    LONGLONG target = 0;
    if (!TargetPosition(file->fd(), liDistanceToMove.QuadPart, dwMoveMethod, target)) return FALSE;
    const off_t pos = ::lseek(file->fd(), static_cast<off_t>(target), SEEK_SET);
    if (pos < 0) return FailWithErrno();
    if (lpNewFilePointer) lpNewFilePointer->QuadPart = pos;
    return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh,
                     DWORD dwMoveMethod) {
    FileObject* file = FileOf(hFile);
    if (!file) return INVALID_SET_FILE_POINTER;
    LONGLONG distance = lDistanceToMove;
    if (lpDistanceToMoveHigh)
        distance = static_cast<LONGLONG>((static_cast<std::uint64_t>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
                                         static_cast<DWORD>(lDistanceToMove));
    LONGLONG target = 0;
    if (!TargetPosition(file->fd(), distance, dwMoveMethod, target)) return INVALID_SET_FILE_POINTER;
    if (!lpDistanceToMoveHigh && target > 0xFFFFFFFELL) {  // not representable in 32 bits
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    const off_t pos = ::lseek(file->fd(), static_cast<off_t>(target), SEEK_SET);
    if (pos < 0) {
        FailWithErrno();
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<std::uint64_t>(pos) >> 32);
    // A low part equal to INVALID_SET_FILE_POINTER is told apart by a cleared last error.
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(static_cast<std::uint64_t>(pos) & 0xFFFFFFFFu);
}

BOOL GetFileSizeEx(HANDLE hFile, LARGE_INTEGER* lpFileSize) {
    FileObject* file = FileOf(hFile);
    if (!file) return FALSE;
    if (!lpFileSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct stat st {};
    if (::fstat(file->fd(), &st) != 0) return FailWithErrno();
    lpFileSize->QuadPart = st.st_size;
    return TRUE;
}

DWORD GetFileSize(HANDLE hFile, DWORD* lpFileSizeHigh) {
    LARGE_INTEGER size {};
    if (!GetFileSizeEx(hFile, &size)) return INVALID_FILE_SIZE;
    const auto bytes = static_cast<std::uint64_t>(size.QuadPart);
    if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(bytes >> 32);
    SetLastError(ERROR_SUCCESS);  // so that a low part of INVALID_FILE_SIZE is not a failure
    return static_cast<DWORD>(bytes & 0xFFFFFFFFu);
}

BOOL SetEndOfFile(HANDLE hFile) {
    FileObject* file = FileOf(hFile);
    if (!file) return FALSE;
    if (!file->canWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const off_t pos = ::lseek(file->fd(), 0, SEEK_CUR);
    if (pos < 0) return FailWithErrno();
    while (::ftruncate(file->fd(), pos) != 0) {
        if (errno != EINTR) return FailWithErrno();
    }
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile) {
    FileObject* file = FileOf(hFile);
    if (!file) return FALSE;
    if (::fsync(file->fd()) != 0 && errno != EINVAL)  // EINVAL: nothing that can be synced
        return FailWithErrno();
    return TRUE;
}

BOOL GetFileTime(HANDLE hFile, FILETIME* lpCreationTime, FILETIME* lpLastAccessTime,
                 FILETIME* lpLastWriteTime) {
    FileObject* file = FileOf(hFile);
    if (!file) return FALSE;
    FileFacts facts;
    if (int err = FactsOfFd(file->fd(), facts)) {
        SetLastErrorFromErrno(err);
        return FALSE;
    }
    if (lpCreationTime) *lpCreationTime = facts.created;
    if (lpLastAccessTime) *lpLastAccessTime = facts.accessed;
    if (lpLastWriteTime) *lpLastWriteTime = facts.written;
    return TRUE;
}

BOOL SetFileTime(HANDLE hFile, const FILETIME* /*lpCreationTime*/, const FILETIME* lpLastAccessTime,
                 const FILETIME* lpLastWriteTime) {
    FileObject* file = FileOf(hFile);
    if (!file) return FALSE;
    // A missing or zero time leaves that time alone; so does all-ones (Windows: "stop updating").
    const auto pick = [](const FILETIME* ft) {
        timespec ts {};
        if (!ft || IsZero(*ft) || (ft->dwLowDateTime == 0xFFFFFFFFu && ft->dwHighDateTime == 0xFFFFFFFFu))
            ts.tv_nsec = UTIME_OMIT;
        else
            ts = UnixFromFileTime(*ft);
        return ts;
    };
    const timespec times[2] = {pick(lpLastAccessTime), pick(lpLastWriteTime)};
    if (::futimens(file->fd(), times) == 0) return TRUE;
    if (errno != EBADF) return FailWithErrno();
    // A descriptor opened for attributes only (O_PATH) is reached through its /proc name.
    char procName[64];
    std::snprintf(procName, sizeof procName, "/proc/self/fd/%d", file->fd());
    if (::utimensat(AT_FDCWD, procName, times, 0) != 0) return FailWithErrno();
    return TRUE;
}

BOOL CloseHandle(HANDLE hObject) {
    std::unique_ptr<WinHandleObject> object = ReleaseHandle(hObject);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return object->Close() ? TRUE : FALSE;
}
