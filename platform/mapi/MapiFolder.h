// Containers and folders: their hierarchy and contents tables and OpenEntry below them.
#pragma once

#include "platform/mapi/MapiProp.h"
#include "platform/mapi/MapiTable.h"

class IMAPIContainer : public IMAPIProp {
public:
    QUILLORA_MAPI_INTERFACE(IMAPIProp, IID_IMAPIContainer)
    virtual HRESULT GetContentsTable(ULONG flags, IMAPITable** table) = 0;
    virtual HRESULT GetHierarchyTable(ULONG flags, IMAPITable** table) = 0;
    // Opens a folder or message of the same store by entry id; objType gets MAPI_FOLDER or
    // MAPI_MESSAGE. iid null gives the object's own interface.
    virtual HRESULT OpenEntry(ULONG cbEntryID, const BYTE* entryID, const IID* iid, ULONG flags, ULONG* objType,
                              IUnknown** object) = 0;

};

class IMAPIFolder : public IMAPIContainer {
public:
    QUILLORA_MAPI_INTERFACE(IMAPIContainer, IID_IMAPIFolder)
};
