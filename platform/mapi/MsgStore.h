// Message stores: the mounted ".pst" file as the session hands it out.
#pragma once

#include <string>
#include <vector>

#include "platform/mapi/MapiProp.h"

class IMsgStore : public IMAPIProp {
public:
    QUILLORA_MAPI_INTERFACE(IMAPIProp, IID_IMsgStore)
    virtual HRESULT OpenEntry(ULONG cbEntryID, const BYTE* entryID, const IID* iid, ULONG flags, ULONG* objType,
                              IUnknown** object) = 0;
    // result gets TRUE when both ids name the same object of this store.
    virtual HRESULT CompareEntryIDs(ULONG cb1, const BYTE* id1, ULONG cb2, const BYTE* id2, ULONG flags, ULONG* result) = 0;
    // The folder that receives a message class (the most specific entry of the store's
    // receive-folder table); explicitClass gets the class of that entry. MAPI_E_NOT_FOUND
    // when the store names none.
    virtual HRESULT GetReceiveFolder(const char* messageClass, ULONG flags, std::vector<BYTE>* entryID,
                                     std::string* explicitClass) = 0;

};
