// Operations on named files and folders: attributes, copy, move, delete, create and remove.
#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/WinError.h"
#include "platform/win/WinFileSupport.h"
#include "platform/win/WinFiles.h"

using namespace winfiles;

namespace {

// Closes a descriptor on scope exit.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result: write errors of some file systems show up here.
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int fd_;
};

int CopyByReadWrite(int in, int out) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return 0;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            if (w == 0) return ENOSPC;
            done += w;
        }
    }
}

// Copies the contents of in to out; 0 or the errno value.
int CopyData(int in, int out) {
    bool copiedAny = false;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n > 0) {
            copiedAny = true;
            continue;
        }
        if (n == 0) return 0;
        if (errno == EINTR) continue;
        // Not offered between these two files: copy through a buffer from where it stopped.
        if (!copiedAny && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                           errno == EBADF || errno == EPERM))
            return CopyByReadWrite(in, out);
        return errno;
    }
}

// Renames without replacing; 0 or the errno value (EEXIST when the target exists).
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    // The file system lacks the flag. A hard link claims the new name atomically for files.
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) {
        if (::link(from.c_str(), to.c_str()) == 0) {
            if (::unlink(from.c_str()) != 0) {
                const int err = errno;
                ::unlink(to.c_str());
                return err;
            }
            return 0;
        }
        if (errno == EEXIST) return EEXIST;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) return errno;
    }
    // No links either (folders, or file systems without them): check, then rename.
    if (::lstat(to.c_str(), &st) == 0) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Copies src to dst by way of a temporary name beside dst, so that dst is either the whole
// copy or untouched. The copy keeps the permissions and times of src.
bool CopyIntoPlace(const std::string& src, const std::string& dst, bool replace) {
    Fd in(::open(src.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return FailPath(src, errno);
    struct stat st {};
    if (::fstat(in.get(), &st) != 0) return FailWithErrno();
    if (S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    struct stat target {};
    const bool targetExists = ::stat(dst.c_str(), &target) == 0;
    if (targetExists && !replace) {
        SetLastError(ERROR_FILE_EXISTS);
        return false;
    }
    if (targetExists && S_ISDIR(target.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }

    std::string temp = ParentOf(dst) + "/.quillora-copy-XXXXXX";
    Fd out(::mkostemp(temp.data(), O_CLOEXEC));
    if (out.get() < 0) return FailPath(dst, errno);

    int err = CopyData(in.get(), out.get());
    if (!err && ::fchmod(out.get(), st.st_mode & 0777) != 0) err = errno;
    const timespec times[2] = {st.st_atim, st.st_mtim};
    if (!err && ::futimens(out.get(), times) != 0) err = errno;
    if (const int closeErr = out.Close(); !err) err = closeErr;
    if (!err) err = replace ? (::rename(temp.c_str(), dst.c_str()) == 0 ? 0 : errno)
                            : RenameNoReplace(temp, dst);
    if (err) {
        ::unlink(temp.c_str());
        if (err == EEXIST)
            SetLastError(ERROR_FILE_EXISTS);
        else
            SetPathError(dst, err);
        return false;
    }
    return true;
}

}  // namespace

DWORD GetFileAttributesW(LPCWSTR lpFileName) {
    std::string path;
    if (!PathArg(lpFileName, path)) return INVALID_FILE_ATTRIBUTES;
    FileFacts facts;
    if (const int err = FactsAt(AT_FDCWD, path.c_str(), facts)) {
        SetPathError(path, err);
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(facts, LastComponent(path));
}

BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
    std::string path;
    if (!PathArg(lpFileName, path)) return FALSE;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return FailPath(path, errno);
    mode_t mode = st.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        mode &= ~static_cast<mode_t>(0222);
    else if (!(mode & S_IWUSR))
        mode |= S_IWUSR;
    if (mode != (st.st_mode & 07777) && ::chmod(path.c_str(), mode) != 0) return FailPath(path, errno);
    return TRUE;
}

BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
    std::string src, dst;
    if (!PathArg(lpExistingFileName, src) || !PathArg(lpNewFileName, dst)) return FALSE;
    return CopyIntoPlace(src, dst, !bFailIfExists) ? TRUE : FALSE;
}

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
    if (dwFlags & MOVEFILE_DELAY_UNTIL_REBOOT) {  // nothing runs pending moves at start-up here
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    std::string src, dst;
    if (!PathArg(lpExistingFileName, src)) return FALSE;
    if (!lpNewFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!PathArg(lpNewFileName, dst)) return FALSE;

    struct stat from {};
    if (::lstat(src.c_str(), &from) != 0) return FailPath(src, errno);
    const bool replace = (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0;

    int err = 0;
    if (replace) {
        // A folder is never replaced, as on Windows (rename would take an empty one).
        struct stat to {};
        if (::lstat(dst.c_str(), &to) == 0 && S_ISDIR(to.st_mode) &&
            !(to.st_dev == from.st_dev && to.st_ino == from.st_ino)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        err = ::rename(src.c_str(), dst.c_str()) == 0 ? 0 : errno;
    } else {
        err = RenameNoReplace(src, dst);
    }

    if (err == EXDEV) {
        if (!(dwFlags & MOVEFILE_COPY_ALLOWED) || S_ISDIR(from.st_mode)) {
            SetLastError(ERROR_NOT_SAME_DEVICE);
            return FALSE;
        }
        if (!CopyIntoPlace(src, dst, replace)) {
            if (GetLastError() == ERROR_FILE_EXISTS) SetLastError(ERROR_ALREADY_EXISTS);
            return FALSE;
        }
        if (::unlink(src.c_str()) != 0) return FailPath(src, errno);
        err = 0;
    }
    if (err == EEXIST || err == ENOTEMPTY) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (err) return FailPath(dst, err);

    if (dwFlags & MOVEFILE_WRITE_THROUGH) {
        Fd folder(::open(ParentOf(dst).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() < 0 || ::fsync(folder.get()) != 0) return FailWithErrno();
    }
    return TRUE;
}

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
    return MoveFileExW(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL DeleteFileW(LPCWSTR lpFileName) {
    std::string path;
    if (!PathArg(lpFileName, path)) return FALSE;
    if (::unlink(path.c_str()) != 0) return FailPath(path, errno);  // a folder: EISDIR, access denied
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/) {
    std::string path;
    if (!PathArg(lpPathName, path)) return FALSE;
    if (::mkdir(path.c_str(), 0777) != 0) return FailPath(path, errno);
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName) {
    std::string path;
    if (!PathArg(lpPathName, path)) return FALSE;
    if (::rmdir(path.c_str()) == 0) return TRUE;
    const int err = errno;
    struct stat st {};
    if (err == ENOTDIR && ::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_DIRECTORY);  // the name is a file
        return FALSE;
    }
    if (err == EEXIST) {
        SetLastError(ERROR_DIR_NOT_EMPTY);
        return FALSE;
    }
    return FailPath(path, err);
}
