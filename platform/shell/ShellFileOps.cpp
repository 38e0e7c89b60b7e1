#include "platform/shell/ShellFileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/shell/MountTable.h"
#include "platform/win/ProcessSpawn.h"
#include "platform/win/UniqueFd.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFileSupport.h"
#include "platform/win/WinString.h"

namespace {

HRESULT ErrnoResult(int err) { return HRESULT_FROM_WIN32(WinErrorFromErrno(err)); }

ShellOpener& Opener() {
    static ShellOpener opener;
    return opener;
}

std::string EnvPath(const char* name) {
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? std::string(v) : std::string();
}

bool MakeDirs(const std::string& path) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A trash folder someone else could reach is refused: it must be a real folder (not a link)
// of this user, made with only the user's access when missing.
bool MakeOwnFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
        errno = EACCES;
        return false;
    }
    return true;
}

std::string Basename(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string Now() {
    const std::time_t t = std::time(nullptr);
    std::tm local {};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// Moves path into the trash folder trash; the ".trashinfo" names it as shown (absolute for
// the home trash, relative to the volume's top for a volume's trash).
// A volume's trash lies where other users may write, so its folders must be the user's own.
HRESULT MoveInto(const std::string& trash, const std::string& path, const std::string& shownPath, bool shared) {
    const std::string files = trash + "/files", info = trash + "/info";
    const bool ready = shared ? MakeOwnFolder(trash) && MakeOwnFolder(files) && MakeOwnFolder(info)
                              : MakeDirs(files) && MakeDirs(info);
    if (!ready) return ErrnoResult(errno);
    const std::string base = Basename(path);
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? base : base + "." + std::to_string(n);
        const std::string infoPath = info + "/" + name + ".trashinfo";
        // The info file claims the name: creating it exclusively keeps two deletions apart.
        UniqueFd fd(open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (fd.get() < 0) {
            if (errno == EEXIST) continue;
            return ErrnoResult(errno);
        }
        const std::string text = "[Trash Info]\nPath=" + EncodePathForUrl(shownPath) + "\nDeletionDate=" + Now() + "\n";
        const bool written = write(fd.get(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
        fd.reset();
        const std::string target = files + "/" + name;
        struct stat st {};
        if (!written) {
            unlink(infoPath.c_str());
            return ErrnoResult(EIO);
        }
        if (lstat(target.c_str(), &st) == 0) {
            unlink(infoPath.c_str());
            continue;
        }
        if (rename(path.c_str(), target.c_str()) != 0) {
            const int err = errno;
            unlink(infoPath.c_str());
            return ErrnoResult(err);
        }
        return S_OK;
    }
    return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
}

}  // namespace

std::string EncodePathForUrl(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : path) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
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

std::string HomeTrashPath() {
    if (const std::string data = EnvPath("XDG_DATA_HOME"); !data.empty()) return data + "/Trash";
    const std::string home = EnvPath("HOME");
    return home.empty() ? std::string() : home + "/.local/share/Trash";
}

HRESULT MoveToTrash(const std::string& path) {
    struct stat item {};
    if (path.empty() || path[0] != '/' || lstat(path.c_str(), &item) != 0)
        return ErrnoResult(path.empty() ? ENOENT : errno);
    const std::string home = HomeTrashPath();
    if (home.empty()) return E_FAIL;
    // The home trash serves items on its own file system (its folder made first, so its
    // device is known).
    if (MakeDirs(home)) {
        struct stat trash {};
        if (stat(home.c_str(), &trash) == 0 && trash.st_dev == item.st_dev) return MoveInto(home, path, path, false);
    }
    const std::vector<MountEntry> table = ReadMountTable();
    const MountEntry* mount = MountOf(table, path);
    if (!mount || mount->mountPoint == path) return HRESULT_FROM_WIN32(ERROR_NOT_SAME_DEVICE);
    const std::string top = mount->mountPoint == "/" ? std::string() : mount->mountPoint;
    const std::string trash = top + "/.Trash-" + std::to_string(getuid());
    return MoveInto(trash, path, path.substr(top.size() + 1), true);
}

HRESULT MakeShellFolder(const std::string& path) {
    if (!path.empty() && mkdir(path.c_str(), 0777) == 0) return S_OK;
    // A missing parent is a path not found, as a folder made through the wide calls says.
    if (path.empty() || errno == ENOENT) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    return ErrnoResult(errno);
}

bool OpenWithDesktop(const std::string& path) {
    if (Opener()) return Opener()(path);
    return !path.empty() && SpawnDetached({"xdg-open", path});
}

void SetShellOpener(ShellOpener opener) { Opener() = std::move(opener); }

bool MoveToTrash(const WideString& widePath, std::string* error) {
    std::string path;
    if (!winfiles::PathArg(widePath.c_str(), path)) {
        if (error) *error = "no file name";
        return false;
    }
    const HRESULT hr = MoveToTrash(path);
    if (SUCCEEDED(hr)) return true;
    if (error) *error = Utf16ToUtf8(WinErrorMessage(static_cast<DWORD>(hr & 0xFFFF)));
    return false;
}

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

DesktopOpenResult OpenFileWithDesktop(const WideString& widePath) {
    std::string path;
    if (!winfiles::PathArg(widePath.c_str(), path)) return DesktopOpenResult::Failed;
    if (!Opener()) {
        std::string type, handler;
        if (RunForOutput({"xdg-mime", "query", "filetype", path}, type)) {
            type = Trimmed(type);
            if (const auto semi = type.find(';'); semi != std::string::npos) type.resize(semi);
            if (!type.empty() && RunForOutput({"xdg-mime", "query", "default", type}, handler) && Trimmed(handler).empty())
                return DesktopOpenResult::NoHandler;
        }
    }
    return OpenWithDesktop(path) ? DesktopOpenResult::Opened : DesktopOpenResult::Failed;
}
