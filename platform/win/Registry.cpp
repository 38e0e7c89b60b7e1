#include "platform/win/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

#include "platform/win/RegistryStore.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace fs = std::filesystem;

namespace {

enum class Root { User, Machine, Classes };

// What a key handle names: a key by its path below a root, so that a handle stays meaningful
// when the hive's tree is re-read or merged on save.
struct OpenKey {
    Root root = Root::User;
    std::vector<WideString> path;  // for Classes: below "Software\Classes"
    REGSAM access = 0;
    bool changed = false;
};

// One place a key lives in: a hive and the key's full path there.
struct Place {
    RegistryHive* hive;
    std::vector<WideString> path;
};

constexpr REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK;

fs::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

fs::path ConfigHome() {
    const char* env = std::getenv("XDG_CONFIG_HOME");
    if (env && *env == '/') return env;  // relative values are ignored, as XDG says
    return HomeFolder() / ".config";
}

// A folder counts as writable when it, or the nearest existing folder above it, is.
bool FolderWritable(fs::path dir) {
    std::error_code ec;
    while (!dir.empty() && !fs::exists(dir, ec)) {
        if (dir == dir.parent_path()) break;
        dir = dir.parent_path();
    }
    return ::access(dir.c_str(), W_OK) == 0;
}

void ReportToStderr(const WideString& text) {
    std::fprintf(stderr, "%s\n", Utf16ToUtf8(text).c_str());
    std::fflush(stderr);
}

// The registry of this process: both hives, the open handles and the problem reporter.
class Registry {
public:
    std::recursive_mutex mutex;

    // Saving belongs to RegCloseKey, RegFlushKey and RegistrySavePending: during static
    // destruction the reporter, and what a save needs, may be gone. Say what is lost.
    ~Registry() {
        for (const RegistryHive* hive : {user_.get(), machine_.get()}) {
            if (hive && hive->hasPendingChanges())
                std::fprintf(stderr, "registry: changes to %s were not saved (a key was left open)\n",
                             hive->file().c_str());
        }
    }

    RegistryHive& user() {
        openHives();
        return *user_;
    }
    RegistryHive& machine() {
        openHives();
        return *machine_;
    }

    void reload() {
        user_.reset();
        machine_.reset();
    }

    void setReporter(std::function<void(const WideString&)> reporter) { reporter_ = std::move(reporter); }

    HKEY addHandle(OpenKey key) {
        const std::uintptr_t id = nextHandle_;
        nextHandle_ += 4;
        handles_.emplace(id, std::move(key));
        return reinterpret_cast<HKEY>(id);
    }

    // The open key of a handle; a predefined root is described in scratch.
    OpenKey* find(HKEY h, OpenKey& scratch) {
        if (h == HKEY_CURRENT_USER || h == HKEY_LOCAL_MACHINE || h == HKEY_CLASSES_ROOT) {
            scratch.root = h == HKEY_CURRENT_USER ? Root::User : h == HKEY_LOCAL_MACHINE ? Root::Machine : Root::Classes;
            scratch.path.clear();
            scratch.access = KEY_ALL_ACCESS;
            return &scratch;
        }
        const auto it = handles_.find(reinterpret_cast<std::uintptr_t>(h));
        return it == handles_.end() ? nullptr : &it->second;
    }

    // Removes a handle; false when it is not open.
    bool close(HKEY h, OpenKey& closed) {
        const auto it = handles_.find(reinterpret_cast<std::uintptr_t>(h));
        if (it == handles_.end()) return false;
        closed = std::move(it->second);
        handles_.erase(it);
        return true;
    }

    // The places a key is read from, in order of precedence.
    std::vector<Place> readPlaces(Root root, const std::vector<WideString>& path) {
        if (root == Root::User) return {Place{&user(), path}};
        if (root == Root::Machine) return {Place{&machine(), path}};
        std::vector<WideString> full{u"Software", u"Classes"};
        full.insert(full.end(), path.begin(), path.end());
        return {Place{&user(), full}, Place{&machine(), full}};
    }

    // The place a key is written to: the user's for classes.
    Place writePlace(Root root, const std::vector<WideString>& path) { return readPlaces(root, path).front(); }

    DWORD saveHives(Root root) {
        DWORD result = ERROR_SUCCESS;
        if (root != Root::Machine) result = user().save();
        if (root != Root::User) {
            const DWORD r = machine().save();
            if (result == ERROR_SUCCESS) result = r;
        }
        return result;
    }

    // Records a change made through key: a handle saves when it is closed, a predefined root
    // (scratch) has no close and saves at once.
    DWORD changed(OpenKey& key, const OpenKey& scratch) {
        if (&key != &scratch) {
            key.changed = true;
            return ERROR_SUCCESS;
        }
        return saveHives(key.root);
    }

    // Both hives' pending changes, when they were opened at all.
    DWORD savePending() {
        if (!user_) return ERROR_SUCCESS;
        return saveHives(Root::Classes);
    }

private:
    void openHives() {
        if (user_) return;
        fs::path userFile, machineFile;
        if (const char* dir = std::getenv("QUILLORA_REGISTRY_DIR"); dir && *dir) {
            userFile = fs::path(dir) / "user.reg";
            machineFile = fs::path(dir) / "machine.reg";
        } else {
            userFile = ConfigHome() / "quillora" / "registry" / "user.reg";
            machineFile = "/etc/xdg/quillora/registry/machine.reg";
        }
        const char* forced = std::getenv("QUILLORA_REGISTRY_MACHINE_READONLY");
        const bool machineReadOnly = (forced && std::strcmp(forced, "1") == 0) || !FolderWritable(machineFile.parent_path());
        const auto report = [this](const WideString& text) {
            if (reporter_)
                reporter_(text);
            else
                ReportToStderr(text);
        };
        user_ = std::make_unique<RegistryHive>(userFile, false, report);
        machine_ = std::make_unique<RegistryHive>(machineFile, machineReadOnly, report);
    }

    std::unique_ptr<RegistryHive> user_;
    std::unique_ptr<RegistryHive> machine_;
    std::function<void(const WideString&)> reporter_;
    std::map<std::uintptr_t, OpenKey> handles_;
    std::uintptr_t nextHandle_ = 0x10000;
};

Registry& State() {
    static Registry registry;
    return registry;
}

// Runs a registry call under the lock. Out of memory and failed system calls become their
// error codes; anything else is a fault and goes on to the caller.
template <class F>
LSTATUS Guarded(F&& body) {
    try {
        Registry& reg = State();
        const std::lock_guard lock(reg.mutex);
        return static_cast<LSTATUS>(body(reg));
    } catch (const std::bad_alloc&) {
        return static_cast<LSTATUS>(ERROR_NOT_ENOUGH_MEMORY);
    } catch (const std::system_error& e) {
        if (e.code().category() != std::generic_category() && e.code().category() != std::system_category()) throw;
        return static_cast<LSTATUS>(WinErrorFromErrno(e.code().value()));
    }
}

// Appends the components of a subkey path; false when a name is over the length limit.
bool AppendSubkeyPath(LPCWSTR subKey, std::vector<WideString>& path) {
    if (!subKey) return true;
    for (auto& name : SplitRegistryPath(subKey)) {
        if (name.size() > REG_MAX_KEY_NAME) return false;
        path.push_back(std::move(name));
    }
    return true;
}

std::u16string_view ValueName(LPCWSTR name) { return name ? std::u16string_view(name) : std::u16string_view(); }

// The existing keys of an open key, in order of precedence (empty when it was deleted).
std::vector<const RegistryKey*> KeyNodes(Registry& reg, Root root, const std::vector<WideString>& path) {
    std::vector<const RegistryKey*> nodes;
    for (auto& place : reg.readPlaces(root, path))
        if (const RegistryKey* key = place.hive->find(place.path)) nodes.push_back(key);
    return nodes;
}

std::vector<const RegistryKey*> MergedSubkeys(const std::vector<const RegistryKey*>& nodes) {
    std::map<WideString, const RegistryKey*> merged;
    for (const RegistryKey* node : nodes)
        for (const auto& [folded, sub] : node->subkeys()) merged.emplace(folded, sub.get());
    std::vector<const RegistryKey*> out;
    out.reserve(merged.size());
    for (const auto& [folded, sub] : merged) out.push_back(sub);
    return out;
}

std::vector<const RegistryValue*> MergedValues(const std::vector<const RegistryKey*>& nodes) {
    std::vector<const RegistryValue*> out;
    for (std::size_t i = 0; i < nodes.size(); ++i)
        for (const auto& v : nodes[i]->values()) {
            bool shadowed = false;
            for (std::size_t j = 0; j < i && !shadowed; ++j) shadowed = nodes[j]->value(v.name) != nullptr;
            if (!shadowed) out.push_back(&v);
        }
    return out;
}

const RegistryValue* FindValue(const std::vector<const RegistryKey*>& nodes, std::u16string_view name) {
    for (const RegistryKey* node : nodes)
        if (const RegistryValue* v = node->value(name)) return v;
    return nullptr;
}

// Hands out value data by the buffer protocol: no buffer gives the size, a small one
// ERROR_MORE_DATA with the size needed.
DWORD CopyValueData(const RegistryValue& v, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
    if (lpType) *lpType = v.type;
    const auto size = static_cast<DWORD>(v.data.size());
    if (lpData) {
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (size) std::memcpy(lpData, v.data.data(), size);
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

// Copies a name into a caller's buffer of *cch units (NUL included); *cch becomes its length.
DWORD CopyName(const WideString& name, LPWSTR buffer, LPDWORD cch) {
    if (!buffer || !cch) return ERROR_INVALID_PARAMETER;
    if (*cch <= name.size()) return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    *cch = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

FILETIME ToFileTime(std::int64_t t) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(t) & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(t) >> 32);
    return ft;
}

// String data is kept as whole UTF-16 units with its terminating NUL (two for a list).
std::vector<BYTE> StoredData(DWORD type, const BYTE* data, DWORD cb) {
    std::vector<BYTE> out(data, data + cb);
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return out;
    if (out.size() % 2) out.pop_back();
    const auto unitAt = [&](std::size_t fromEnd) {
        const std::size_t i = out.size() - 2 * fromEnd;
        return static_cast<char16_t>(out[i] | (out[i + 1] << 8));
    };
    if (out.empty() || unitAt(1) != 0) out.insert(out.end(), {0, 0});
    if (type == REG_MULTI_SZ && out.size() >= 4 && unitAt(2) != 0) out.insert(out.end(), {0, 0});
    return out;
}

// Opens (or, with create, creates) a key below an open key.
LSTATUS OpenOrCreate(HKEY hKey, LPCWSTR lpSubKey, REGSAM samDesired, PHKEY phkResult, LPDWORD lpdwDisposition,
                     bool create) {
    if (!phkResult) return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        const OpenKey* parent = reg.find(hKey, scratch);
        if (!parent) return ERROR_INVALID_HANDLE;
        OpenKey key{parent->root, parent->path, samDesired, false};
        if (!AppendSubkeyPath(lpSubKey, key.path)) return ERROR_INVALID_PARAMETER;
        const bool wantsWrite = (samDesired & kWriteAccess) != 0;
        DWORD disposition = REG_OPENED_EXISTING_KEY;
        if (!KeyNodes(reg, key.root, key.path).empty()) {
            if (wantsWrite && reg.writePlace(key.root, key.path).hive->readOnly()) return ERROR_ACCESS_DENIED;
        } else if (!create) {
            return ERROR_FILE_NOT_FOUND;
        } else {
            if (KeyNodes(reg, parent->root, parent->path).empty()) return ERROR_KEY_DELETED;
            if (!(parent->access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
            const Place place = reg.writePlace(key.root, key.path);
            if (!place.hive->createKey(place.path)) return ERROR_ACCESS_DENIED;
            key.changed = true;
            disposition = REG_CREATED_NEW_KEY;
        }
        *phkResult = reg.addHandle(std::move(key));
        if (lpdwDisposition) *lpdwDisposition = disposition;
        return ERROR_SUCCESS;
    });
}

}  // namespace

LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM samDesired,
                        const SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD lpdwDisposition) {
    return OpenOrCreate(hKey, lpSubKey, samDesired, phkResult, lpdwDisposition, true);
}

LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    return OpenOrCreate(hKey, lpSubKey, samDesired, phkResult, nullptr, false);
}

LSTATUS RegCloseKey(HKEY hKey) {
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        if (reg.find(hKey, scratch) == &scratch) return ERROR_SUCCESS;  // a predefined root
        OpenKey closed;
        if (!reg.close(hKey, closed)) return ERROR_INVALID_HANDLE;
        return closed.changed ? reg.saveHives(closed.root) : ERROR_SUCCESS;
    });
}

LSTATUS RegFlushKey(HKEY hKey) {
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        const OpenKey* key = reg.find(hKey, scratch);
        if (!key) return ERROR_INVALID_HANDLE;
        return reg.saveHives(key->root);
    });
}

LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                         LPDWORD lpcbData) {
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        const OpenKey* key = reg.find(hKey, scratch);
        if (!key) return ERROR_INVALID_HANDLE;
        if (!(key->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
        const auto nodes = KeyNodes(reg, key->root, key->path);
        if (nodes.empty()) return ERROR_KEY_DELETED;
        const RegistryValue* v = FindValue(nodes, ValueName(lpValueName));
        if (!v) return ERROR_FILE_NOT_FOUND;
        return CopyValueData(*v, lpType, lpData, lpcbData);
    });
}

LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        OpenKey* key = reg.find(hKey, scratch);
        if (!key) return ERROR_INVALID_HANDLE;
        const std::u16string_view name = ValueName(lpValueName);
        if (name.size() > REG_MAX_VALUE_NAME || (!lpData && cbData)) return ERROR_INVALID_PARAMETER;
        if (!(key->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
        if (KeyNodes(reg, key->root, key->path).empty()) return ERROR_KEY_DELETED;
        const Place place = reg.writePlace(key->root, key->path);
        if (!place.hive->setValue(place.path, name, dwType, StoredData(dwType, lpData, cbData)))
            return ERROR_ACCESS_DENIED;
        return reg.changed(*key, scratch);
    });
}

LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        OpenKey* key = reg.find(hKey, scratch);
        if (!key) return ERROR_INVALID_HANDLE;
        if (!(key->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
        const std::u16string_view name = ValueName(lpValueName);
        bool keyExists = false;
        for (auto& place : reg.readPlaces(key->root, key->path)) {
            const RegistryKey* node = place.hive->find(place.path);
            keyExists = keyExists || node;
            if (!node || !node->value(name)) continue;
            if (!place.hive->deleteValue(place.path, name)) return ERROR_ACCESS_DENIED;
            return reg.changed(*key, scratch);
        }
        return keyExists ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    });
}

LSTATUS RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    if (!lpSubKey) return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        OpenKey* parent = reg.find(hKey, scratch);
        if (!parent) return ERROR_INVALID_HANDLE;
        std::vector<WideString> path = parent->path;
        if (!AppendSubkeyPath(lpSubKey, path)) return ERROR_INVALID_PARAMETER;
        if (path.empty()) return ERROR_ACCESS_DENIED;  // a root cannot go
        for (auto& place : reg.readPlaces(parent->root, path)) {
            const RegistryKey* node = place.hive->find(place.path);
            if (!node) continue;
            if (!node->subkeys().empty() || !place.hive->deleteKey(place.path)) return ERROR_ACCESS_DENIED;
            return reg.changed(*parent, scratch);
        }
        return ERROR_FILE_NOT_FOUND;
    });
}

LSTATUS RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD, LPWSTR lpClass,
                      LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        const OpenKey* key = reg.find(hKey, scratch);
        if (!key) return ERROR_INVALID_HANDLE;
        if (!(key->access & KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
        const auto nodes = KeyNodes(reg, key->root, key->path);
        if (nodes.empty()) return ERROR_KEY_DELETED;
        const auto subkeys = MergedSubkeys(nodes);
        if (dwIndex >= subkeys.size()) return ERROR_NO_MORE_ITEMS;
        const RegistryKey& sub = *subkeys[dwIndex];
        if (const DWORD err = CopyName(sub.name(), lpName, lpcchName)) return err;
        if (lpClass && lpcchClass && *lpcchClass) *lpClass = 0;
        if (lpcchClass) *lpcchClass = 0;
        if (lpftLastWriteTime) *lpftLastWriteTime = ToFileTime(sub.lastWrite());
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                      LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        const OpenKey* key = reg.find(hKey, scratch);
        if (!key) return ERROR_INVALID_HANDLE;
        if (!(key->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
        const auto nodes = KeyNodes(reg, key->root, key->path);
        if (nodes.empty()) return ERROR_KEY_DELETED;
        const auto values = MergedValues(nodes);
        if (dwIndex >= values.size()) return ERROR_NO_MORE_ITEMS;
        if (const DWORD err = CopyName(values[dwIndex]->name, lpValueName, lpcchValueName)) return err;
        return CopyValueData(*values[dwIndex], lpType, lpData, lpcbData);
    });
}

LSTATUS RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                         LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                         LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                         PFILETIME lpftLastWriteTime) {
    return Guarded([&](Registry& reg) -> DWORD {
        OpenKey scratch;
        const OpenKey* key = reg.find(hKey, scratch);
        if (!key) return ERROR_INVALID_HANDLE;
        if (!(key->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
        const auto nodes = KeyNodes(reg, key->root, key->path);
        if (nodes.empty()) return ERROR_KEY_DELETED;
        const auto subkeys = MergedSubkeys(nodes);
        const auto values = MergedValues(nodes);
        DWORD maxSubkey = 0, maxName = 0, maxData = 0;
        for (const RegistryKey* sub : subkeys) maxSubkey = std::max(maxSubkey, DWORD(sub->name().size()));
        for (const RegistryValue* v : values) {
            maxName = std::max(maxName, DWORD(v->name.size()));
            maxData = std::max(maxData, DWORD(v->data.size()));
        }
        std::int64_t lastWrite = 0;
        for (const RegistryKey* node : nodes) lastWrite = std::max(lastWrite, node->lastWrite());
        if (lpClass && lpcchClass && *lpcchClass) *lpClass = 0;
        if (lpcchClass) *lpcchClass = 0;
        if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(subkeys.size());
        if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = maxSubkey;
        if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
        if (lpcValues) *lpcValues = static_cast<DWORD>(values.size());
        if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = maxName;
        if (lpcbMaxValueLen) *lpcbMaxValueLen = maxData;
        if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
        if (lpftLastWriteTime) *lpftLastWriteTime = ToFileTime(lastWrite);
        return ERROR_SUCCESS;
    });
}

void RegistrySetProblemReporter(std::function<void(const WideString&)> reporter) {
    Registry& reg = State();
    const std::lock_guard lock(reg.mutex);
    reg.setReporter(std::move(reporter));
}

LSTATUS RegistrySavePending() {
    return Guarded([](Registry& reg) { return reg.savePending(); });
}

extern "C" void QuilloraRegistryReload() {
    Registry& reg = State();
    const std::lock_guard lock(reg.mutex);
    reg.reload();
}
