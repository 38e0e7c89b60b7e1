#include "platform/shell/ShellFileOps.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/ProcessSpawn.h"
#include "platform/win/UniqueFd.h"
#include "platform/win/WinFileSupport.h"

namespace {

std::string HomeTrash()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') return std::string(data) + "/Trash";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/") + "/.local/share/Trash";
}

bool MakeDir(const std::string& dir, mode_t mode)
{
    return ::mkdir(dir.c_str(), mode) == 0 || errno == EEXIST;
}

// mkdir -p for the home trash, whose parents may not exist on a fresh account.
bool MakeDirs(const std::string& dir)
{
    for (std::size_t at = 1; (at = dir.find('/', at)) != std::string::npos; ++at)
        if (!MakeDir(dir.substr(0, at), 0700)) return false;
    return MakeDir(dir, 0700);
}

// The mount point holding path: the last ancestor on the same device.
std::string TopDirOf(const std::string& path, dev_t device)
{
    std::string top = path;
    for (;;) {
        const std::string parent = winfiles::ParentOf(top);
        struct stat st {};
        if (parent == top || ::stat(parent.c_str(), &st) != 0 || st.st_dev != device) return top;
        top = parent;
    }
}

// Percent-encodes a path as the trash record's Path key wants it (bytes, not characters).
std::string EncodePath(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-_.~!$&'()*+,;=:@", c)) out += static_cast<char>(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string Absolute(const std::string& path)
{
    if (!path.empty() && path[0] == '/') return path;
    char buf[4096];
    if (!::getcwd(buf, sizeof buf)) return path;
    return std::string(buf) + "/" + path;
}

bool Fail(std::string* error, const std::string& what)
{
    if (error) *error = what;
    return false;
}

}  // namespace

bool MoveToTrash(const WideString& widePath, std::string* error)
{
    std::string path;
    if (!winfiles::PathArg(widePath.c_str(), path)) return Fail(error, "no file name");
    path = Absolute(path);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    struct stat item {};
    if (::lstat(path.c_str(), &item) != 0) return Fail(error, std::strerror(errno));

    // The home trash when it is on the file's device, else the trash at the file system's top:
    // a rename never crosses devices, and copying a file away is not what deleting means.
    std::string trash = HomeTrash();
    std::string recorded = path;
    MakeDirs(trash);
    struct stat trashStat {};
    if (::stat(trash.c_str(), &trashStat) != 0 || trashStat.st_dev != item.st_dev) {
        const std::string top = TopDirOf(path, item.st_dev);
        trash = (top == "/" ? std::string() : top) + "/.Trash-" + std::to_string(::getuid());
        if (!MakeDir(trash, 0700)) return Fail(error, "the trash folder could not be created: " + std::string(std::strerror(errno)));
        recorded = top == "/" ? path.substr(1) : path.substr(top.size() + 1);
    }
    const std::string files = trash + "/files", info = trash + "/info";
    if (!MakeDir(files, 0700) || !MakeDir(info, 0700))
        return Fail(error, "the trash folder could not be created: " + std::string(std::strerror(errno)));

    // The record is created exclusively first: it reserves the name in the trash.
    const std::string base = winfiles::LastComponent(path);
    std::string name, infoPath;
    UniqueFd fd;
    for (int n = 1; n < 10000 && !(fd.get() >= 0); ++n) {
        name = n == 1 ? base : base + "." + std::to_string(n);
        infoPath = info + "/" + name + ".trashinfo";
        struct stat taken {};
        if (::lstat((files + "/" + name).c_str(), &taken) == 0) continue;
        fd.reset(::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!(fd.get() >= 0) && errno != EEXIST) return Fail(error, std::strerror(errno));
    }
    if (!(fd.get() >= 0)) return Fail(error, "no free name in the trash");

    char date[32];
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string record = "[Trash Info]\nPath=" + EncodePath(recorded) + "\nDeletionDate=" + date + "\n";
    const bool written = ::write(fd.get(), record.data(), record.size()) == static_cast<ssize_t>(record.size());
    fd.reset();
    if (!written || ::rename(path.c_str(), (files + "/" + name).c_str()) != 0) {
        const int err = errno;
        ::unlink(infoPath.c_str());
        return Fail(error, std::strerror(written ? err : EIO));
    }
    return true;
}

DesktopOpenResult OpenWithDesktop(const WideString& widePath)
{
    std::string path;
    if (!winfiles::PathArg(widePath.c_str(), path)) return DesktopOpenResult::Failed;
    if (FindOnPath("xdg-open").empty()) return DesktopOpenResult::Failed;
    // A type without a program would make the desktop ask nobody; say so instead.
    std::string type, handler;
    if (RunForOutput({"xdg-mime", "query", "filetype", path}, type)) {
        while (!type.empty() && (type.back() == '\n' || type.back() == ' ')) type.pop_back();
        if (const auto semi = type.find(';'); semi != std::string::npos) type.resize(semi);
        if (!type.empty() && RunForOutput({"xdg-mime", "query", "default", type}, handler)) {
            while (!handler.empty() && (handler.back() == '\n' || handler.back() == ' ')) handler.pop_back();
            if (handler.empty()) return DesktopOpenResult::NoHandler;
        }
    }
    return SpawnDetached({"xdg-open", path}) ? DesktopOpenResult::Opened : DesktopOpenResult::Failed;
}
