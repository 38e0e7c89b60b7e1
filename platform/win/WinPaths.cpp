// Path names: full path, temporary folder, current directory, the program's own file name.
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/win/WinError.h"
#include "platform/win/WinFileSupport.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

using namespace winfiles;

namespace {

// The Win32 buffer protocol: copies text with its terminator when it fits and returns its
// length; otherwise returns the size needed, terminator included.
DWORD CopyOut(const WideString& text, DWORD size, LPWSTR buffer) {
    if (text.size() >= 0xFFFFFFFFu) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    const auto length = static_cast<DWORD>(text.size());
    if (!buffer || size <= length) return length + 1;
    text.copy(buffer, length);
    buffer[length] = u'\0';
    return length;
}

// The current directory, or false with the last error set (it may have been removed).
bool CurrentDirectory(std::string& out) {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    if (!cwd) {
        FailWithErrno();
        return false;
    }
    out = cwd.get();
    return true;
}

// Joins name to the current directory when relative and resolves "." and ".." by name, as
// Windows does (no link is followed). A trailing slash is kept.
WideString FullPath(const WideString& cwd, const WideString& name) {
    const WideString whole = !name.empty() && name[0] == u'/' ? name : cwd + u"/" + name;
    std::vector<std::u16string_view> parts;
    std::u16string_view rest = whole;
    while (!rest.empty()) {
        const std::size_t slash = rest.find(u'/');
        const std::u16string_view part = rest.substr(0, slash);
        rest = slash == std::u16string_view::npos ? std::u16string_view() : rest.substr(slash + 1);
        if (part.empty() || part == u".") continue;
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    WideString out;
    for (const std::u16string_view part : parts) {
        out += u'/';
        out += part;
    }
    if (out.empty() || name.back() == u'/') out += u'/';
    return out;
}

}  // namespace

DWORD GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart) {
    if (lpFilePart) *lpFilePart = nullptr;
    if (!lpFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!*lpFileName) {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    const WideString name = lpFileName;
    std::string cwd;
    if (name[0] != u'/' && !CurrentDirectory(cwd)) return 0;
    const WideString full = FullPath(Utf8ToUtf16(cwd), name);
    const DWORD result = CopyOut(full, nBufferLength, lpBuffer);
    if (result == full.size() && lpFilePart && full.back() != u'/')
        *lpFilePart = lpBuffer + full.rfind(u'/') + 1;
    return result;
}

DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer) {
    const char* env = std::getenv("TMPDIR");
    std::string dir = env && *env ? env : "/tmp";
    if (dir.back() != '/') dir += '/';
    return CopyOut(Utf8ToUtf16(dir), nBufferLength, lpBuffer);
}

DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) {
    std::string cwd;
    if (!CurrentDirectory(cwd)) return 0;
    return CopyOut(Utf8ToUtf16(cwd), nBufferLength, lpBuffer);
}

BOOL SetCurrentDirectoryW(LPCWSTR lpPathName) {
    std::string path;
    if (!PathArg(lpPathName, path)) return FALSE;
    if (::chdir(path.c_str()) != 0) {
        if (errno == ENOTDIR) {  // the name is a file
            SetLastError(ERROR_DIRECTORY);
            return FALSE;
        }
        return FailPath(path, errno);
    }
    return TRUE;
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    if (hModule) {  // no other module has a handle of ours
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    std::string exe(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
        if (n < 0) {
            FailWithErrno();
            return 0;
        }
        if (static_cast<std::size_t>(n) < exe.size()) {
            exe.resize(static_cast<std::size_t>(n));
            break;
        }
        exe.resize(exe.size() * 2);
    }
    // The program file was replaced while running (an update): name the file as installed.
    constexpr std::string_view kDeleted = " (deleted)";
    if (exe.size() > kDeleted.size() && exe.ends_with(kDeleted)) exe.resize(exe.size() - kDeleted.size());

    const WideString name = Utf8ToUtf16(exe);
    if (nSize == 0 || !lpFilename) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (name.size() < nSize) {
        name.copy(lpFilename, name.size());
        lpFilename[name.size()] = u'\0';
        SetLastError(ERROR_SUCCESS);
        return static_cast<DWORD>(name.size());
    }
    name.copy(lpFilename, nSize - 1);
    lpFilename[nSize - 1] = u'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
}
