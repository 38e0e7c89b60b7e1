// Messages with their recipients and attachments.
#pragma once

#include "platform/mapi/MapiProp.h"
#include "platform/mapi/MapiTable.h"

class IAttach;

class IMessage : public IMAPIProp {
public:
    QUILLORA_MAPI_INTERFACE(IMAPIProp, IID_IMessage)
    // One row per attachment, PR_ATTACH_NUM among the columns.
    virtual HRESULT GetAttachmentTable(ULONG flags, IMAPITable** table) = 0;
    virtual HRESULT OpenAttach(ULONG attachNum, const IID* iid, ULONG flags, IAttach** attach) = 0;
    // One row per recipient: PR_ROWID, PR_RECIPIENT_TYPE, PR_DISPLAY_NAME, addresses.
    virtual HRESULT GetRecipientTable(ULONG flags, IMAPITable** table) = 0;

};

// An attachment; an attached message opens with OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage).
class IAttach : public IMAPIProp {
public:
    QUILLORA_MAPI_INTERFACE(IMAPIProp, IID_IAttachment)
};
