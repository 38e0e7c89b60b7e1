// MapiLibs: the one object through which the program reaches Extended MAPI. It picks a mail
// client's MAPI library from the registry (Enum), loads it by name from the provider table,
// resolves its fourteen entry points, initialises MAPI and wraps the entry points.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/mapi/MapiProvider.h"
#include "platform/win/Registry.h"

struct mapi_TLibraryInfo {
    AnsiString clientName;
    AnsiString dllPath;  // handed to the library loader: a full path or a bare file name
    bool fromClientKey = false;
};

class MapiLibs {
public:
    // The one instance, created on first use and never destroyed.
    static MapiLibs& get();

    MapiLibs() = default;
    ~MapiLibs();
    MapiLibs(const MapiLibs&) = delete;
    MapiLibs& operator=(const MapiLibs&) = delete;

    bool isReady = false;
    HMODULE hMapiLib = nullptr;
    std::vector<mapi_TLibraryInfo> libraries;

    LPMAPIINITIALIZE pMAPIInitialize = nullptr;
    LPMAPIADMINPROFILES pMAPIAdminProfiles = nullptr;
    LPMAPIUNINITIALIZE pMAPIUninitialize = nullptr;
    LPMAPILOGONEX pMAPILogonEx = nullptr;
    LPALLOCATEBUFFER pMAPIAllocateBuffer = nullptr;
    LPALLOCATEMORE pMAPIAllocateMore = nullptr;
    LPFREEBUFFER pMAPIFreeBuffer = nullptr;
    LPMAPIGETDEFAULTMALLOC pMAPIGetDefaultMalloc = nullptr;
    MapiProc pOrdinal147 = nullptr;
    LPWRAPCOMPRESSEDRTFSTREAM pWrapCompressedRTFStream = nullptr;
    LPRTFSYNC pRTFSync = nullptr;
    LPOPENIMSGSESSION pOpenIMsgSession = nullptr;
    LPCLOSEIMSGSESSION pCloseIMsgSession = nullptr;
    LPOPENIMSGONISTG pOpenIMsgOnIStg = nullptr;

    // How often a busy table is waited for before HrQueryAllRows gives up with MAPI_E_BUSY.
    int busyRetryLimit = 30;

    // Loads entry `index` of the list (discovering the list first when it is empty) and
    // initialises MAPI; true when MAPI is ready. A ready loader ignores the index.
    bool Open(std::size_t index);
    void Close();
    void Clear();
    // Fills `libraries` from the mail clients registered on the machine (see
    // MailClientDiscovery.cpp); 0 or the registry error of the failing call.
    LONG Enum();
    std::size_t GetCount() const { return libraries.size(); }
    AnsiString GetName(std::size_t index) const { return libraries.at(index).dllPath; }

    HRESULT MAPIInitialize(void* init);
    HRESULT MAPIAdminProfiles(ULONG flags, IProfAdmin** admin);
    void MAPIUninitialize();
    HRESULT MAPILogonEx(ULONG_PTR uiParam, const char* profile, const char* password, ULONG flags, IMAPISession** session);
    HRESULT MAPIFreeBuffer(void* buffer);
    IMalloc* MAPIGetDefaultMalloc();
    HRESULT WrapCompressedRTFStream(IStream* compressed, ULONG flags, IStream** out);
    HRESULT RTFSync(IMessage* message, ULONG flags, BOOL* updated);
    HRESULT OpenIMsgSession(IMalloc* malloc, ULONG flags, MSGSESS** session);
    void CloseIMsgSession(MSGSESS* session);
    HRESULT OpenIMsgOnIStg(MSGSESS* session, LPALLOCATEBUFFER allocate, LPALLOCATEMORE allocateMore, LPFREEBUFFER free,
                           IMalloc* malloc, void* mapiSup, IStorage* storage, void* callRelease, ULONG callbackData,
                           ULONG flags, IMessage** message);

    // One property of an object: E_POINTER for a null out pointer; MAPI_E_NOT_FOUND with
    // nothing in *value for an absent property.
    static HRESULT HrGetOneProp(IMAPIProp* object, ULONG tag, SPropValuePtr* value);
    static void FreeProws(SRowSetPtr& rows);
    // Every row of a table (maximum 0: up to 0x0FFFFFFF) from its current position, without
    // moving it. A busy table is waited for up to busyRetryLimit times, then MAPI_E_BUSY.
    HRESULT HrQueryAllRows(IMAPITable* table, const SPropTagArray* columns, const SRestriction* restriction,
                           const SSortOrderSet* sortOrder, LONG maxRows, SRowSetPtr* rows);

    // Registry helpers of the discovery (8-bit names and values are UTF-8).
    static AnsiString mapi_RegQueryString(HKEY key, const AnsiString& name);
    static std::vector<AnsiString> mapi_RegQuerySubkeys(HKEY key);
};
