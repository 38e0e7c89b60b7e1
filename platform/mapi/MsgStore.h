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
    // The folder that receives a message class. Store files keep no receive-folder table that
    // can be read here, so the answer is MAPI_E_NO_SUPPORT.
    virtual HRESULT GetReceiveFolder(const char* messageClass, ULONG flags, std::vector<BYTE>* entryID,
                                     std::string* explicitClass) = 0;

};
