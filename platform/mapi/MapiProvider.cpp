#include "platform/mapi/MapiProvider.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <list>
#include <map>
#include <memory>
#include <mutex>

#include "platform/mapi/ProfileStore.h"
#include "platform/win/WinError.h"

namespace {

std::atomic<int> initCount{0};

std::string LowerFileName(const char* path) {
    std::string name = path ? path : "";
    const std::size_t cut = name.find_last_of("\\/:");
    if (cut != std::string::npos) name.erase(0, cut + 1);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

struct LoadedModule {
    std::string name;
    std::shared_ptr<const std::vector<MapiProviderExport>> exports;
    int loads = 0;
};

struct ProviderTable {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<const std::vector<MapiProviderExport>>> providers;
    std::list<LoadedModule> loaded;
    bool builtinDone = false;
};

ProviderTable& Table() {
    static ProviderTable table;
    return table;
}

// Allocation blocks: a header before every buffer keeps the buffers allocated "more" on it.
struct AllocHeader {
    std::vector<void*>* more;
    std::max_align_t align;
};

void* RawAlloc(ULONG size) {
    void* block = std::malloc(sizeof(AllocHeader) + size);
    if (!block) return nullptr;
    auto* h = static_cast<AllocHeader*>(block);
    h->more = nullptr;
    return reinterpret_cast<char*>(block) + sizeof(AllocHeader);
}

AllocHeader* HeaderOf(void* buffer) {
    return reinterpret_cast<AllocHeader*>(static_cast<char*>(buffer) - sizeof(AllocHeader));
}

HRESULT NoStorageSupport() { return MAPI_E_NO_SUPPORT; }

// Entry points that need structured storage, which this provider does not offer yet.
IMalloc* BuiltinGetDefaultMalloc() { return nullptr; }
HRESULT BuiltinWrapCompressedRTFStream(IStream*, ULONG, IStream** out) {
    if (out) *out = nullptr;
    return NoStorageSupport();
}
HRESULT BuiltinRTFSync(IMessage*, ULONG, BOOL* updated) {
    if (updated) *updated = FALSE;
    return NoStorageSupport();
}
SCODE BuiltinOpenIMsgSession(IMalloc*, ULONG, MSGSESS** session) {
    if (session) *session = nullptr;
    return NoStorageSupport();
}
void BuiltinCloseIMsgSession(MSGSESS*) {}
SCODE BuiltinOpenIMsgOnIStg(MSGSESS*, LPALLOCATEBUFFER, LPALLOCATEMORE, LPFREEBUFFER, IMalloc*, void*, IStorage*, void*,
                            ULONG, ULONG, IMessage** message) {
    if (message) *message = nullptr;
    return NoStorageSupport();
}
HRESULT BuiltinOrdinal147() { return MAPI_E_NO_SUPPORT; }

template <class F>
MapiProc Proc(F f) {
    return reinterpret_cast<MapiProc>(f);
}

void RegisterBuiltin(ProviderTable& t) {
    if (t.builtinDone) return;
    t.builtinDone = true;
    auto exports = std::make_shared<const std::vector<MapiProviderExport>>(std::vector<MapiProviderExport>{
        {"MAPIInitialize", 0, Proc(&MAPIInitialize)},
        {"MAPIUninitialize", 0, Proc(&MAPIUninitialize)},
        {"MAPIAdminProfiles", 0, Proc(&MAPIAdminProfiles)},
        {"MAPILogonEx", 0, Proc(&MAPILogonEx)},
        {"MAPIAllocateBuffer", 0, Proc(&MAPIAllocateBuffer)},
        {"MAPIAllocateMore", 0, Proc(&MAPIAllocateMore)},
        {"MAPIFreeBuffer", 0, Proc(&MAPIFreeBuffer)},
        {nullptr, 59, Proc(&BuiltinGetDefaultMalloc)},
        {nullptr, 147, Proc(&BuiltinOrdinal147)},
        {nullptr, 184, Proc(&BuiltinRTFSync)},
        {nullptr, 185, Proc(&BuiltinWrapCompressedRTFStream)},
        {nullptr, 196, Proc(&BuiltinOpenIMsgSession)},
        {nullptr, 197, Proc(&BuiltinCloseIMsgSession)},
        {nullptr, 198, Proc(&BuiltinOpenIMsgOnIStg)},
    });
    t.providers.emplace(kBuiltinMapiLibrary, std::move(exports));
}

}  // namespace

bool MapiInitialized() { return initCount.load() > 0; }

HRESULT MAPIInitialize(void*) {
    ++initCount;
    return S_OK;
}

void MAPIUninitialize() {
    int n = initCount.load();
    while (n > 0 && !initCount.compare_exchange_weak(n, n - 1)) {
    }
}

SCODE MAPIAllocateBuffer(ULONG size, void** buffer) {
    if (!buffer) return MAPI_E_INVALID_PARAMETER;
    *buffer = RawAlloc(size);
    return *buffer ? S_OK : MAPI_E_NOT_ENOUGH_MEMORY;
}

SCODE MAPIAllocateMore(ULONG size, void* parent, void** buffer) {
    if (!buffer || !parent) return MAPI_E_INVALID_PARAMETER;
    *buffer = RawAlloc(size);
    if (!*buffer) return MAPI_E_NOT_ENOUGH_MEMORY;
    AllocHeader* h = HeaderOf(parent);
    if (!h->more) h->more = new std::vector<void*>();
    h->more->push_back(*buffer);
    return S_OK;
}

ULONG MAPIFreeBuffer(void* buffer) {
    if (!buffer) return S_OK;
    AllocHeader* h = HeaderOf(buffer);
    if (h->more) {
        for (void* m : *h->more) MAPIFreeBuffer(m);
        delete h->more;
    }
    std::free(h);
    return S_OK;
}

void RegisterMapiProvider(const std::string& libraryName, std::vector<MapiProviderExport> exports) {
    ProviderTable& t = Table();
    std::lock_guard lock(t.mutex);
    RegisterBuiltin(t);
    t.providers[LowerFileName(libraryName.c_str())] = std::make_shared<const std::vector<MapiProviderExport>>(std::move(exports));
}

void UnregisterMapiProvider(const std::string& libraryName) {
    ProviderTable& t = Table();
    std::lock_guard lock(t.mutex);
    RegisterBuiltin(t);
    t.providers.erase(LowerFileName(libraryName.c_str()));
}

HMODULE MapiLoadLibrary(const char* path) {
    ProviderTable& t = Table();
    std::lock_guard lock(t.mutex);
    RegisterBuiltin(t);
    const std::string name = LowerFileName(path);
    const auto it = t.providers.find(name);
    if (name.empty() || it == t.providers.end()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    for (LoadedModule& m : t.loaded) {
        if (m.name == name && m.exports == it->second) {
            ++m.loads;
            return &m;
        }
    }
    t.loaded.push_back(LoadedModule{name, it->second, 1});
    return &t.loaded.back();
}

MapiProc MapiGetProcAddress(HMODULE module, const char* nameOrOrdinal) {
    ProviderTable& t = Table();
    std::lock_guard lock(t.mutex);
    for (const LoadedModule& m : t.loaded) {
        if (&m != module) continue;
        const auto value = reinterpret_cast<std::uintptr_t>(nameOrOrdinal);
        for (const MapiProviderExport& e : *m.exports) {
            const bool match = value <= 0xFFFF ? (e.ordinal != 0 && e.ordinal == value)
                                               : (e.name && std::strcmp(e.name, nameOrOrdinal) == 0);
            if (match && e.proc) return e.proc;
        }
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL MapiFreeLibrary(HMODULE module) {
    ProviderTable& t = Table();
    std::lock_guard lock(t.mutex);
    for (auto it = t.loaded.begin(); it != t.loaded.end(); ++it) {
        if (&*it != module) continue;
        if (--it->loads == 0) t.loaded.erase(it);
        return TRUE;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
