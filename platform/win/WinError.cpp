#include "platform/win/WinError.h"

#include <cerrno>

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD code) { lastError = code; }

DWORD WinErrorFromErrno(int err) {
    switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EILSEQ: return ERROR_NO_UNICODE_TRANSLATION;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EBUSY: return ERROR_BUSY;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ELOOP: return ERROR_INVALID_NAME;
    case ETIMEDOUT: return ERROR_TIMEOUT;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    default: return ERROR_INVALID_FUNCTION;
    }
}

void SetLastErrorFromErrno(int err) { lastError = WinErrorFromErrno(err); }

BOOL FailWithErrno() {
    SetLastErrorFromErrno(errno);
    return FALSE;
}

WideString WinErrorMessage(DWORD code) {
    const char* text = nullptr;
    switch (code) {
    case ERROR_SUCCESS: text = "The operation completed successfully."; break;
    case ERROR_INVALID_FUNCTION: text = "Incorrect function."; break;
    case ERROR_FILE_NOT_FOUND: text = "The system cannot find the file specified."; break;
    case ERROR_PATH_NOT_FOUND: text = "The system cannot find the path specified."; break;
    case ERROR_TOO_MANY_OPEN_FILES: text = "The system cannot open the file."; break;
    case ERROR_ACCESS_DENIED: text = "Access is denied."; break;
    case ERROR_INVALID_HANDLE: text = "The handle is invalid."; break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: text = "Not enough memory resources are available to process this command."; break;
    case ERROR_NOT_SAME_DEVICE: text = "The system cannot move the file to a different disk drive."; break;
    case ERROR_NO_MORE_FILES: text = "There are no more files."; break;
    case ERROR_SHARING_VIOLATION: text = "The process cannot access the file because it is being used by another process."; break;
    case ERROR_HANDLE_EOF: text = "Reached the end of the file."; break;
    case ERROR_NOT_SUPPORTED: text = "The request is not supported."; break;
    case ERROR_FILE_EXISTS: text = "The file exists."; break;
    case ERROR_INVALID_PARAMETER: text = "The parameter is incorrect."; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: text = "There is not enough space on the disk."; break;
    case ERROR_INSUFFICIENT_BUFFER: text = "The data area passed to a system call is too small."; break;
    case ERROR_INVALID_NAME: text = "The filename, directory name, or volume label syntax is incorrect."; break;
    case ERROR_MOD_NOT_FOUND: text = "The specified module could not be found."; break;
    case ERROR_PROC_NOT_FOUND: text = "The specified procedure could not be found."; break;
    case ERROR_DIR_NOT_EMPTY: text = "The directory is not empty."; break;
    case ERROR_BUSY: text = "The requested resource is in use."; break;
    case ERROR_ALREADY_EXISTS: text = "Cannot create a file when that file already exists."; break;
    case ERROR_FILENAME_EXCED_RANGE: text = "The filename or extension is too long."; break;
    case ERROR_MORE_DATA: text = "More data is available."; break;
    case ERROR_NO_MORE_ITEMS: text = "No more data is available."; break;
    case ERROR_DIRECTORY: text = "The directory name is invalid."; break;
    case ERROR_NO_UNICODE_TRANSLATION: text = "No mapping for the Unicode character exists in the target multi-byte code page."; break;
    case ERROR_BADDB: text = "The configuration registry database is corrupt."; break;
    case ERROR_BADKEY: text = "The configuration registry key is invalid."; break;
    case ERROR_CANTOPEN: text = "The configuration registry key could not be opened."; break;
    case ERROR_CANTREAD: text = "The configuration registry key could not be read."; break;
    case ERROR_CANTWRITE: text = "The configuration registry key could not be written."; break;
    case ERROR_KEY_DELETED: text = "Illegal operation attempted on a registry key that has been marked for deletion."; break;
    case ERROR_TIMEOUT: text = "This operation returned because the timeout period expired."; break;
    default: break;
    }
    if (!text) {
        std::string s = "Unknown error " + std::to_string(code) + ".";
        return WideFromAscii(s.c_str());
    }
    return WideFromAscii(text);
}
