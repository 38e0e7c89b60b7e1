#include "platform/win/PrivateFolder.h"

#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/WinError.h"
#include "platform/win/WinFileSupport.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool Fail(const std::string& path)
{
    winfiles::SetPathError(path, errno);
    return false;
}

// The name itself (a link is not followed) is a folder of this user.
bool IsOwnFolder(const struct stat& facts) { return S_ISDIR(facts.st_mode) && facts.st_uid == ::geteuid(); }

bool IsPrivate(const std::string& path)
{
    struct stat facts {};
    if (::lstat(path.c_str(), &facts) != 0) return Fail(path);
    if (!IsOwnFolder(facts) || (facts.st_mode & 077) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

bool MakePrivate(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) == 0) {
        // The umask may have taken the owner's own rights.
        if (::chmod(path.c_str(), 0700) != 0) return Fail(path);
    } else if (errno != EEXIST) {
        return Fail(path);
    }
    return IsPrivate(path);
}

// A runtime folder is the user's only when it is theirs; one inherited from another user (a
// switched user keeping the environment) is not used.
bool IsOwnRuntimeFolder(const char* path)
{
    struct stat facts {};
    return path && *path == '/' && ::lstat(path, &facts) == 0 && IsOwnFolder(facts);
}

}  // namespace

WideString PrivateTempRoot(const WideString& product)
{
    std::string root;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (IsOwnRuntimeFolder(runtime)) {
        root = WithoutTrailingSlash(runtime) + "/" + Utf16ToUtf8(product);
    } else {
        WideChar buffer[4096];
        const DWORD length = GetTempPathW(static_cast<DWORD>(std::size(buffer)), buffer);
        if (length == 0 || length >= std::size(buffer)) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return {};
        }
        root = WithoutTrailingSlash(Utf16ToUtf8(WideString(buffer, length))) + "/" + Utf16ToUtf8(product) + "-" +
               std::to_string(::geteuid());
    }
    if (!MakePrivate(root)) return {};
    return Utf8ToUtf16(root + "/");
}

bool MakePrivateFolder(const WideString& folder)
{
    return MakePrivate(WithoutTrailingSlash(Utf16ToUtf8(folder)));
}

bool IsPrivateFolder(const WideString& folder)
{
    return IsPrivate(WithoutTrailingSlash(Utf16ToUtf8(folder)));
}
