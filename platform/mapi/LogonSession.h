// A logged-on MAPI session over one profile: its stores table and the stores it opens.
#pragma once

#include "platform/mapi/MapiTable.h"
#include "platform/mapi/MsgStore.h"

class IMAPISession : public IUnknown {
public:
    QUILLORA_MAPI_INTERFACE(IUnknown, IID_IMAPISession)
    virtual HRESULT GetLastError(HRESULT hr, ULONG flags, std::unique_ptr<MAPIERROR>* error) = 0;
    // One row per configured store of the profile: PR_ENTRYID, PR_DISPLAY_NAME, PR_MDB_PROVIDER,
    // PR_DEFAULT_STORE, PR_RECORD_KEY.
    virtual HRESULT GetMsgStoresTable(ULONG flags, IMAPITable** table) = 0;
    // Opens a store of this session's profile by its entry id (stores of other profiles are
    // unknown here: MAPI_E_NOT_FOUND).
    virtual HRESULT OpenMsgStore(ULONG_PTR uiParam, ULONG cbEntryID, const BYTE* entryID, const IID* iid, ULONG flags,
                                 IMsgStore** store) = 0;
    virtual HRESULT OpenEntry(ULONG cbEntryID, const BYTE* entryID, const IID* iid, ULONG flags, ULONG* objType,
                              IUnknown** object) = 0;
    // result gets TRUE when both ids name the same object (the flag bytes do not count).
    virtual HRESULT CompareEntryIDs(ULONG cb1, const BYTE* id1, ULONG cb2, const BYTE* id2, ULONG flags, ULONG* result) = 0;
    virtual HRESULT Logoff(ULONG_PTR uiParam, ULONG flags, ULONG reserved) = 0;

};

// Logs on to a profile of the process (MAPILogonEx of the built-in provider). An unknown or
// missing profile answers MAPI_E_LOGON_FAILED; no dialog is ever shown.
HRESULT MAPILogonEx(ULONG_PTR uiParam, const char* profileName, const char* password, ULONG flags, IMAPISession** session);
