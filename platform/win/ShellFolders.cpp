#include "platform/win/ShellFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    std::vector<char> buf(16384);
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir) return found->pw_dir;
    return std::string();
}

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string XdgBase(const char* variable, const char* fallback) {
    if (const char* v = std::getenv(variable); v && v[0] == '/') return v;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/" + fallback;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// XDG_<NAME>_DIR from user-dirs.dirs: a line NAME="$HOME/sub" or NAME="/absolute".
std::string UserDir(const char* name) {
    const std::string key = std::string("XDG_") + name + "_DIR";
    const std::string config = XdgBase("XDG_CONFIG_HOME", ".config");
    std::string value;
    bool found = false;
    if (!config.empty()) {
        std::ifstream in(config + "/user-dirs.dirs");
        std::string line;
        while (std::getline(in, line)) {
            std::size_t i = line.find_first_not_of(" \t");
            if (i == std::string::npos || line[i] == '#' || line.compare(i, key.size(), key) != 0) continue;
            i += key.size();
            if (i >= line.size() || line[i] != '=' || i + 1 >= line.size() || line[i + 1] != '"') continue;
            std::string v;
            bool closed = false;
            for (std::size_t k = i + 2; k < line.size(); ++k) {
                if (line[k] == '\\' && k + 1 < line.size()) {
                    v.push_back(line[++k]);
                } else if (line[k] == '"') {
                    closed = true;
                    break;
                } else {
                    v.push_back(line[k]);
                }
            }
            if (!closed) continue;
            value = v;  // the last assignment wins, as when the file is sourced
            found = true;
        }
    }
    if (!found) {
        if (const char* env = std::getenv(key.c_str())) value = env;
    }
    const std::string home = HomeFolder();
    if (value.rfind("$HOME", 0) == 0) {
        if (value.size() > 5 && value[5] != '/') return home;  // "$HOMEx" is no folder of home
        value = home + value.substr(5);
    }
    if (value.empty() || value[0] != '/') return home;
    return WithoutTrailingSlash(value);
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// mkdir -p with private permissions for what we create; errno set on failure.
bool CreateFolders(const std::string& path) {
    if (IsDirectory(path)) return true;
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!IsDirectory(part) && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    if (!IsDirectory(path)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

HRESULT FolderPath(int nFolder, std::string& path) {
    const bool create = (nFolder & CSIDL_FLAG_CREATE) != 0;
    path.clear();
    switch (nFolder & ~CSIDL_FLAG_MASK) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
    case CSIDL_PERSONAL: {
        const char* name = (nFolder & ~CSIDL_FLAG_MASK) == CSIDL_PERSONAL ? "DOCUMENTS" : "DESKTOP";
        path = UserDir(name);
        // A configured folder that is gone falls back to home, as the desktop's own tools do,
        // unless the caller asked for it to be made.
        if (!path.empty() && !IsDirectory(path) && !create) path = HomeFolder();
        break;
    }
    case CSIDL_APPDATA:
    case CSIDL_LOCAL_APPDATA:
        path = WithoutTrailingSlash(XdgBase("XDG_DATA_HOME", ".local/share"));
        if (!path.empty() && !CreateFolders(path)) return HRESULT_FROM_WIN32(WinErrorFromErrno(errno));
        return S_OK;
    case CSIDL_SYSTEM:
        path = "/usr/lib";
        return S_OK;
    case CSIDL_PROGRAM_FILES: {
        std::error_code ec;
        path = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
        if (ec || path.empty()) return E_FAIL;
        return S_OK;
    }
    default:
        return E_INVALIDARG;
    }
    if (path.empty()) return E_FAIL;
    if (create && !CreateFolders(path)) return HRESULT_FROM_WIN32(WinErrorFromErrno(errno));
    return S_OK;
}

}  // namespace

std::vector<std::string> XdgDataFolders() {
    std::vector<std::string> folders;
    if (std::string home = XdgBase("XDG_DATA_HOME", ".local/share"); !home.empty()) folders.push_back(std::move(home));
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    const std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    for (std::size_t at = 0; at <= list.size();) {
        std::size_t end = list.find(':', at);
        if (end == std::string::npos) end = list.size();
        if (end > at && list[at] == '/') folders.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return folders;
}

HRESULT GetSpecialFolderPath(int nFolder, WideString& path) {
    std::string utf8;
    const HRESULT hr = FolderPath(nFolder, utf8);
    path = SUCCEEDED(hr) ? Utf8ToUtf16(utf8) : WideString();
    return hr;
}

HRESULT SHGetFolderPathW(void*, int nFolder, HANDLE, DWORD, char16_t* pszPath) {
    if (!pszPath) return E_INVALIDARG;
    pszPath[0] = u'\0';
    WideString path;
    const HRESULT hr = GetSpecialFolderPath(nFolder, path);
    if (FAILED(hr)) return hr;
    if (path.size() >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    path.copy(pszPath, path.size());
    pszPath[path.size()] = u'\0';
    return S_OK;
}

HRESULT SHGetFolderPathA(void*, int nFolder, HANDLE, DWORD, char* pszPath) {
    if (!pszPath) return E_INVALIDARG;
    pszPath[0] = '\0';
    std::string path;
    const HRESULT hr = FolderPath(nFolder, path);
    if (FAILED(hr)) return hr;
    if (path.size() >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    path.copy(pszPath, path.size());
    pszPath[path.size()] = '\0';
    return S_OK;
}

BOOL SHGetSpecialFolderPathW(void* hwndOwner, char16_t* pszPath, int csidl, BOOL fCreate) {
    const HRESULT hr = SHGetFolderPathW(hwndOwner, csidl | (fCreate ? CSIDL_FLAG_CREATE : 0), nullptr,
                                        SHGFP_TYPE_CURRENT, pszPath);
    return SUCCEEDED(hr) ? TRUE : FALSE;
}
