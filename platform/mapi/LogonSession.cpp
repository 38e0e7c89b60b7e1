#include "platform/mapi/LogonSession.h"

#include <cstring>

#include "platform/mapi/ProfileStore.h"
#include "platform/mapi/PstObjects.h"

namespace {

class LogonSession final : public ComObject<IMAPISession> {
public:
    explicit LogonSession(std::vector<PstServiceEntry> stores) : stores_(std::move(stores)) {}

    HRESULT GetLastError(HRESULT, ULONG, std::unique_ptr<MAPIERROR>* error) override {
        if (error) error->reset();
        return MAPI_E_NOT_FOUND;
    }

    HRESULT GetMsgStoresTable(ULONG, IMAPITable** table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        *table = nullptr;
        if (loggedOff_) return MAPI_E_END_OF_SESSION;
        std::vector<std::vector<SPropValue>> rows;
        for (const PstServiceEntry& s : stores_)
            rows.push_back({SPropValue::Binary(PR_ENTRYID, PstStoreEntryId(s.path)),
                            SPropValue::String8(PR_DISPLAY_NAME_A, s.displayName),
                            SPropValue::Binary(PR_MDB_PROVIDER, kPstProviderUid.ab, 16),
                            SPropValue::Bool(PR_DEFAULT_STORE, false),
                            SPropValue::Binary(PR_RECORD_KEY, s.file->RecordKey()),
                            SPropValue::Binary(PR_SERVICE_UID, s.uid.ab, 16)});
        *table = new MemTable(std::make_unique<FixedRowSource>(std::move(rows)),
                              {PR_ENTRYID, PR_DISPLAY_NAME_A, PR_DEFAULT_STORE, PR_MDB_PROVIDER});
        return S_OK;
    }

    HRESULT OpenMsgStore(ULONG_PTR, ULONG cb, const BYTE* eid, const IID* iid, ULONG, IMsgStore** store) override {
        if (!store) return MAPI_E_INVALID_PARAMETER;
        *store = nullptr;
        if (loggedOff_) return MAPI_E_END_OF_SESSION;
        if (iid && !(*iid == IID_IMsgStore) && !(*iid == IID_IMAPIProp)) return MAPI_E_INTERFACE_NOT_SUPPORTED;
        std::string path;
        if (!PstPathFromStoreEntryId(eid, cb, path)) return MAPI_E_INVALID_ENTRYID;
        const PstContextPtr ctx = ContextFor(path);
        if (!ctx) return MAPI_E_NOT_FOUND;
        *store = MakePstStore(ctx).Detach();
        return S_OK;
    }

    HRESULT OpenEntry(ULONG cb, const BYTE* eid, const IID*, ULONG, ULONG* objType, IUnknown** object) override {
        if (!object) return MAPI_E_INVALID_PARAMETER;
        *object = nullptr;
        if (loggedOff_) return MAPI_E_END_OF_SESSION;
        std::string path;
        if (PstPathFromStoreEntryId(eid, cb, path)) {
            const PstContextPtr ctx = ContextFor(path);
            if (!ctx) return MAPI_E_NOT_FOUND;
            if (objType) *objType = MAPI_STORE;
            *object = MakePstStore(ctx).Detach();
            return S_OK;
        }
        for (const PstServiceEntry& s : stores_) {
            if (!s.file->NidFromEntryId(eid, cb)) continue;
            std::string why;  // IMAPISession keeps no extended error to hold it
            return OpenPstEntry(ContextFor(s.path), cb, eid, objType, object, why);
        }
        return MAPI_E_UNKNOWN_ENTRYID;
    }

    HRESULT CompareEntryIDs(ULONG cb1, const BYTE* id1, ULONG cb2, const BYTE* id2, ULONG, ULONG* result) override {
        if (!result) return MAPI_E_INVALID_PARAMETER;
        *result = FALSE;
        if (!id1 || !id2 || cb1 < 4 || cb2 < 4) return MAPI_E_INVALID_ENTRYID;
        // The first four bytes are flags that do not name the object.
        *result = cb1 == cb2 && std::memcmp(id1 + 4, id2 + 4, cb1 - 4) == 0 ? TRUE : FALSE;
        return S_OK;
    }

    HRESULT Logoff(ULONG_PTR, ULONG, ULONG) override {
        loggedOff_ = true;
        contexts_.clear();
        return S_OK;
    }

private:
    PstContextPtr ContextFor(const std::string& path) {
        for (const auto& c : contexts_)
            if (c->file->Path() == path) return c;
        for (const PstServiceEntry& s : stores_) {
            if (s.path != path) continue;
            auto ctx = std::make_shared<PstStoreContext>();
            ctx->file = s.file;
            ctx->storeEntryId = PstStoreEntryId(path);
            contexts_.push_back(ctx);
            return ctx;
        }
        return nullptr;
    }

    std::vector<PstServiceEntry> stores_;  // the profile's configured stores at logon
    std::vector<PstContextPtr> contexts_;
    bool loggedOff_ = false;
};

}  // namespace

HRESULT MAPILogonEx(ULONG_PTR, const char* profileName, const char*, ULONG, IMAPISession** session) {
    if (!session) return MAPI_E_INVALID_PARAMETER;
    *session = nullptr;
    if (!MapiInitialized()) return MAPI_E_NOT_INITIALIZED;
    if (!profileName) return MAPI_E_LOGON_FAILED;
    std::shared_ptr<MapiProfile> profile = ProfileStore::Get().Find(profileName);
    if (!profile) return MAPI_E_LOGON_FAILED;
    std::vector<PstServiceEntry> stores;
    {
        std::lock_guard lock(ProfileStore::Get().Lock());
        for (const PstServiceEntry& s : profile->services)
            if (s.file) stores.push_back(s);
    }
    *session = new LogonSession(std::move(stores));
    return S_OK;
}
