#include "mapi/MapiLibs.h"

#include "app/cLogger.h"

MapiLibs& MapiLibs::get() {
    static MapiLibs* instance = new MapiLibs();  // lives until the process ends
    return *instance;
}

MapiLibs::~MapiLibs() {
    Close();
    Clear();
}

bool MapiLibs::Open(std::size_t index) {
    QUILLORA_TRACE(u"MapiLibs::Open");
    if (isReady) return true;
    if (libraries.empty()) Enum();
    if (index >= libraries.size()) {
        LogPrintf(u"FAILED: no MAPI library %d of %d", static_cast<int>(index), static_cast<int>(libraries.size()));
        return false;
    }
    hMapiLib = MapiLoadLibrary(libraries[index].dllPath.c_str());
    if (!hMapiLib) {
        LogPrintf(u"FAILED: LoadLibrary %hs", libraries[index].dllPath.c_str());
        return false;
    }
    auto resolve = [this](const char* nameOrOrdinal) { return MapiGetProcAddress(hMapiLib, nameOrOrdinal); };
    pMAPIInitialize = reinterpret_cast<LPMAPIINITIALIZE>(resolve("MAPIInitialize"));
    pMAPIAdminProfiles = reinterpret_cast<LPMAPIADMINPROFILES>(resolve("MAPIAdminProfiles"));
    pMAPIUninitialize = reinterpret_cast<LPMAPIUNINITIALIZE>(resolve("MAPIUninitialize"));
    pMAPILogonEx = reinterpret_cast<LPMAPILOGONEX>(resolve("MAPILogonEx"));
    pMAPIAllocateBuffer = reinterpret_cast<LPALLOCATEBUFFER>(resolve("MAPIAllocateBuffer"));
    pMAPIAllocateMore = reinterpret_cast<LPALLOCATEMORE>(resolve("MAPIAllocateMore"));
    pMAPIFreeBuffer = reinterpret_cast<LPFREEBUFFER>(resolve("MAPIFreeBuffer"));
    pMAPIGetDefaultMalloc = reinterpret_cast<LPMAPIGETDEFAULTMALLOC>(resolve(MapiOrdinal(59)));
    pOrdinal147 = resolve(MapiOrdinal(147));
    pRTFSync = reinterpret_cast<LPRTFSYNC>(resolve(MapiOrdinal(184)));
    pWrapCompressedRTFStream = reinterpret_cast<LPWRAPCOMPRESSEDRTFSTREAM>(resolve(MapiOrdinal(185)));
    pOpenIMsgSession = reinterpret_cast<LPOPENIMSGSESSION>(resolve(MapiOrdinal(196)));
    pCloseIMsgSession = reinterpret_cast<LPCLOSEIMSGSESSION>(resolve(MapiOrdinal(197)));
    pOpenIMsgOnIStg = reinterpret_cast<LPOPENIMSGONISTG>(resolve(MapiOrdinal(198)));
    if (!pMAPIInitialize || !pMAPIAdminProfiles || !pMAPIUninitialize || !pMAPILogonEx || !pMAPIAllocateBuffer ||
        !pMAPIAllocateMore || !pMAPIFreeBuffer || !pMAPIGetDefaultMalloc || !pOrdinal147 || !pRTFSync ||
        !pWrapCompressedRTFStream || !pOpenIMsgSession || !pCloseIMsgSession || !pOpenIMsgOnIStg) {
        LogPrintf(u"FAILED: invalid proc addresses");
        Close();
        return false;
    }
    HRESULT hr;
    try {
        hr = pMAPIInitialize(nullptr);
    } catch (...) {
        hr = E_FAIL;
    }
    if (hr != S_OK) {  // warnings count as failure too
        LogPrintf(u"FAILED: MAPIInitialize 0x%08X", static_cast<unsigned>(hr));
        Close();
        return false;
    }
    isReady = true;
    return true;
}

void MapiLibs::Close() {
    QUILLORA_TRACE(u"MapiLibs::Close");
    if (isReady) {
        pMAPIUninitialize();
        isReady = false;
    }
    pMAPIInitialize = nullptr;
    pMAPIAdminProfiles = nullptr;
    pMAPIUninitialize = nullptr;
    pMAPILogonEx = nullptr;
    pMAPIAllocateBuffer = nullptr;
    pMAPIAllocateMore = nullptr;
    pMAPIFreeBuffer = nullptr;
    pMAPIGetDefaultMalloc = nullptr;
    pOrdinal147 = nullptr;
    pRTFSync = nullptr;
    pWrapCompressedRTFStream = nullptr;
    pOpenIMsgSession = nullptr;
    pCloseIMsgSession = nullptr;
    pOpenIMsgOnIStg = nullptr;
    if (hMapiLib) {
        MapiFreeLibrary(hMapiLib);
        hMapiLib = nullptr;
    }
}

void MapiLibs::Clear() { libraries.clear(); }

HRESULT MapiLibs::MAPIInitialize(void* init) { return pMAPIInitialize ? pMAPIInitialize(init) : MAPI_E_NOT_INITIALIZED; }

HRESULT MapiLibs::MAPIAdminProfiles(ULONG flags, IProfAdmin** admin) {
    return pMAPIAdminProfiles ? pMAPIAdminProfiles(flags, admin) : MAPI_E_NOT_INITIALIZED;
}

void MapiLibs::MAPIUninitialize() {
    if (pMAPIUninitialize) pMAPIUninitialize();
}

HRESULT MapiLibs::MAPILogonEx(ULONG_PTR uiParam, const char* profile, const char* password, ULONG flags,
                              IMAPISession** session) {
    return pMAPILogonEx ? pMAPILogonEx(uiParam, profile, password, flags, session) : MAPI_E_NOT_INITIALIZED;
}

HRESULT MapiLibs::MAPIFreeBuffer(void* buffer) {
    return pMAPIFreeBuffer ? static_cast<HRESULT>(pMAPIFreeBuffer(buffer)) : MAPI_E_NOT_INITIALIZED;
}

IMalloc* MapiLibs::MAPIGetDefaultMalloc() { return pMAPIGetDefaultMalloc ? pMAPIGetDefaultMalloc() : nullptr; }

HRESULT MapiLibs::WrapCompressedRTFStream(IStream* compressed, ULONG flags, IStream** out) {
    return pWrapCompressedRTFStream ? pWrapCompressedRTFStream(compressed, flags, out) : -1;
}

HRESULT MapiLibs::RTFSync(IMessage* message, ULONG flags, BOOL* updated) {
    return pRTFSync ? pRTFSync(message, flags, updated) : -1;
}

HRESULT MapiLibs::OpenIMsgSession(IMalloc* malloc, ULONG flags, MSGSESS** session) {
    return pOpenIMsgSession ? pOpenIMsgSession(malloc, flags, session) : -1;
}

void MapiLibs::CloseIMsgSession(MSGSESS* session) {
    if (pCloseIMsgSession) pCloseIMsgSession(session);
}

HRESULT MapiLibs::OpenIMsgOnIStg(MSGSESS* session, LPALLOCATEBUFFER allocate, LPALLOCATEMORE allocateMore,
                                 LPFREEBUFFER free, IMalloc* malloc, void* mapiSup, IStorage* storage, void* callRelease,
                                 ULONG callbackData, ULONG flags, IMessage** message) {
    if (!pOpenIMsgOnIStg) return -1;
    return pOpenIMsgOnIStg(session, allocate, allocateMore, free, malloc, mapiSup, storage, callRelease, callbackData, flags,
                           message);
}

HRESULT MapiLibs::HrGetOneProp(IMAPIProp* object, ULONG tag, SPropValuePtr* value) {
    if (!value) return E_POINTER;
    value->reset();
    if (!object) return E_POINTER;
    SPropTagArray tags{tag};
    ULONG count = 0;
    SPropValueArray values;
    HRESULT hr = object->GetProps(&tags, 0, &count, &values);
    if (hr == MAPI_W_ERRORS_RETURNED) return MAPI_E_NOT_FOUND;  // the values go with `values`
    if (hr == S_OK) {
        if (count < 1 || values.empty()) return MAPI_E_NOT_FOUND;
        *value = std::make_unique<SPropValue>(std::move(values[0]));
    }
    return hr;
}

void MapiLibs::FreeProws(SRowSetPtr& rows) { rows.reset(); }

HRESULT MapiLibs::HrQueryAllRows(IMAPITable* table, const SPropTagArray* columns, const SRestriction* restriction,
                                 const SSortOrderSet* sortOrder, LONG maxRows, SRowSetPtr* rows) {
    QUILLORA_TRACE(u"MapiLibs::HrQueryAllRows");
    if (!rows) return E_POINTER;
    rows->reset();
    if (!table) return E_POINTER;
    if (columns) table->SetColumns(columns, 0);
    if (restriction) table->Restrict(restriction, 0);
    if (sortOrder) table->SortTable(sortOrder, 0);
    if (maxRows == 0) maxRows = 0x0FFFFFFF;
    for (int waits = 0;; ++waits) {
        const HRESULT hr = table->QueryRows(maxRows, TBL_NOADVANCE, rows);
        if (hr != MAPI_E_BUSY) return hr;
        // A table that stays busy must not hang the program: wait a bounded number of times.
        if (waits >= busyRetryLimit) {
            LogPrintf(u"FAILED: IMAPITable::QueryRows stayed busy");
            return MAPI_E_BUSY;
        }
        if (table->WaitForCompletion(0, 1000, nullptr) == MAPI_E_NO_SUPPORT) return MAPI_E_NO_SUPPORT;
    }
}
