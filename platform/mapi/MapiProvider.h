// MAPI libraries as named providers: a provider is a table of entry points found by name or
// by ordinal, like the exports of a library, and a library name given to MapiLoadLibrary
// resolves to the provider registered under that file name. The built-in provider over the
// store-file layer answers "mapi32.dll"; tests register their own providers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/mapi/LogonSession.h"
#include "platform/mapi/MapiMessage.h"
#include "platform/mapi/ProfileAdmin.h"

class IStream;
class IStorage;
class IMalloc;
struct MSGSESS;

using MapiProc = void (*)();

struct MapiProviderExport {
    const char* name = nullptr;  // null for an entry point exported by ordinal only
    WORD ordinal = 0;            // 0 for an entry point exported by name only
    MapiProc proc = nullptr;
};

// The library name of the built-in provider.
inline constexpr const char* kBuiltinMapiLibrary = "mapi32.dll";

// Registers (or replaces) a provider under a library file name (compared case-insensitively).
void RegisterMapiProvider(const std::string& libraryName, std::vector<MapiProviderExport> exports);
void UnregisterMapiProvider(const std::string& libraryName);

// Loads the provider named by the file part of a path ("C:\x\mapi32.dll", "/x/mapi32.dll" or
// "mapi32.dll"); null with ERROR_MOD_NOT_FOUND as the last error when none is registered.
HMODULE MapiLoadLibrary(const char* path);
// An entry point by name, or by ordinal when nameOrOrdinal is MapiOrdinal(n); null with
// ERROR_PROC_NOT_FOUND when the provider has none.
MapiProc MapiGetProcAddress(HMODULE module, const char* nameOrOrdinal);
BOOL MapiFreeLibrary(HMODULE module);
inline const char* MapiOrdinal(WORD n) { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(n)); }

// Entry-point types, as MapiGetProcAddress results are cast to.
using LPMAPIINITIALIZE = HRESULT (*)(void* init);
using LPMAPIUNINITIALIZE = void (*)();
using LPMAPIADMINPROFILES = HRESULT (*)(ULONG flags, IProfAdmin** admin);
using LPMAPILOGONEX = HRESULT (*)(ULONG_PTR uiParam, const char* profile, const char* password, ULONG flags,
                                  IMAPISession** session);
using LPALLOCATEBUFFER = SCODE (*)(ULONG size, void** buffer);
using LPALLOCATEMORE = SCODE (*)(ULONG size, void* parent, void** buffer);
using LPFREEBUFFER = ULONG (*)(void* buffer);
using LPMAPIGETDEFAULTMALLOC = IMalloc* (*)();
using LPWRAPCOMPRESSEDRTFSTREAM = HRESULT (*)(IStream* compressed, ULONG flags, IStream** out);
using LPRTFSYNC = HRESULT (*)(IMessage* message, ULONG flags, BOOL* updated);
using LPOPENIMSGSESSION = SCODE (*)(IMalloc* malloc, ULONG flags, MSGSESS** session);
using LPCLOSEIMSGSESSION = void (*)(MSGSESS* session);
using LPOPENIMSGONISTG = SCODE (*)(MSGSESS* session, LPALLOCATEBUFFER allocate, LPALLOCATEMORE allocateMore,
                                   LPFREEBUFFER free, IMalloc* malloc, void* mapiSup, IStorage* storage,
                                   void* callRelease, ULONG callbackData, ULONG flags, IMessage** message);

// The built-in provider's initialisation and memory functions. Initialisation is counted:
// every MAPIInitialize needs its MAPIUninitialize.
HRESULT MAPIInitialize(void* init);
void MAPIUninitialize();
// Buffers of MAPIAllocateMore belong to their parent and are freed with it.
SCODE MAPIAllocateBuffer(ULONG size, void** buffer);
SCODE MAPIAllocateMore(ULONG size, void* parent, void** buffer);
ULONG MAPIFreeBuffer(void* buffer);
