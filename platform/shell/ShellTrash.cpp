// The home trash.
#include "platform/shell/ShellTrash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/win/WinError.h"

namespace {

HRESULT FromErrno(int e) { return HRESULT_FROM_WIN32(WinErrorFromErrno(e)); }

// Percent-encodes a path for the Path= line, keeping '/' and unreserved characters.
std::string EncodePath(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
                           c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST; }

// Makes path and the folders above it.
bool MakeFolders(const std::string& path) {
    for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        if (!MakeFolder(path.substr(0, at))) return false;
    return MakeFolder(path);
}

}  // namespace

std::string HomeTrashFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') return std::string(data) + "/Trash";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/") + "/.local/share/Trash";
}

HRESULT MoveToTrash(const std::string& path) {
    if (path.empty() || path.front() != '/') return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    struct stat item{};
    if (::lstat(path.c_str(), &item) != 0) return FromErrno(errno);
    const std::string trash = HomeTrashFolder();
    if (!MakeFolders(trash + "/files") || !MakeFolder(trash + "/info"))
        return FromErrno(errno);
    struct stat folder{};
    if (::stat((trash + "/files").c_str(), &folder) != 0) return FromErrno(errno);
    if (folder.st_dev != item.st_dev) return HRESULT_FROM_WIN32(ERROR_NOT_SAME_DEVICE);

    std::string base = path.substr(path.rfind('/') + 1);
    if (base.empty()) return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    // The info file is created exclusively: it reserves the name.
    std::string name = base, info;
    int fd = -1;
    for (int i = 2; fd < 0; ++i) {
        info = trash + "/info/" + name + ".trashinfo";
        fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno != EEXIST) return FromErrno(errno);
        if (fd < 0) name = base + "." + std::to_string(i);
    }
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string text = "[Trash Info]\nPath=" + EncodePath(path) + "\nDeletionDate=" + date + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int writeError = errno;
    ::close(fd);
    if (!written) {
        ::unlink(info.c_str());
        return FromErrno(writeError);
    }
    if (::rename(path.c_str(), (trash + "/files/" + name).c_str()) != 0) {
        const int e = errno;
        ::unlink(info.c_str());
        return FromErrno(e);
    }
    return S_OK;
}
