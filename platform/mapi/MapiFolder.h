// Containers and folders: their hierarchy and contents tables and OpenEntry below them.
#pragma once

#include "platform/mapi/MapiProp.h"
#include "platform/mapi/MapiTable.h"

class IMAPIContainer : public IMAPIProp {
public:
    virtual HRESULT GetContentsTable(ULONG flags, IMAPITable** table) = 0;
    virtual HRESULT GetHierarchyTable(ULONG flags, IMAPITable** table) = 0;
    // Opens a folder or message of the same store by entry id; objType gets MAPI_FOLDER or
    // MAPI_MESSAGE. iid null gives the object's own interface.
    virtual HRESULT OpenEntry(ULONG cbEntryID, const BYTE* entryID, const IID* iid, ULONG flags, ULONG* objType,
                              MapiUnknown** object) = 0;

protected:
    bool Supports(REFIID iid) const override { return iid == IID_IMAPIContainer || IMAPIProp::Supports(iid); }
};

class IMAPIFolder : public IMAPIContainer {
protected:
    bool Supports(REFIID iid) const override { return iid == IID_IMAPIFolder || IMAPIContainer::Supports(iid); }
};
