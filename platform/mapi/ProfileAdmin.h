// Profile and message-service administration. Profiles live in memory for the process: a
// profile holds message services; a personal-folders service ("MSPST MS") is configured with
// the path of a store file (PR_PST_PATH_W), which is opened and checked right then.
#pragma once

#include <memory>
#include <string>

#include "platform/mapi/MapiTable.h"

class IMsgServiceAdmin;

class IProfAdmin : public IUnknown {
public:
    QUILLORA_MAPI_INTERFACE(IUnknown, IID_IProfAdmin)
    virtual HRESULT GetLastError(HRESULT hr, ULONG flags, std::unique_ptr<MAPIERROR>* error) = 0;
    // A profile of that name already existing answers MAPI_E_NO_ACCESS.
    virtual HRESULT CreateProfile(const char* name, const char* password, ULONG_PTR uiParam, ULONG flags) = 0;
    virtual HRESULT DeleteProfile(const char* name, ULONG flags) = 0;
    virtual HRESULT AdminServices(const char* name, const char* password, ULONG_PTR uiParam, ULONG flags,
                                  IMsgServiceAdmin** admin) = 0;
    // One row per profile: PR_DISPLAY_NAME.
    virtual HRESULT GetProfileTable(ULONG flags, IMAPITable** table) = 0;

};

class IMsgServiceAdmin : public IUnknown {
public:
    QUILLORA_MAPI_INTERFACE(IUnknown, IID_IMsgServiceAdmin)
    virtual HRESULT GetLastError(HRESULT hr, ULONG flags, std::unique_ptr<MAPIERROR>* error) = 0;
    // Only the personal-folders service is known; flags beyond SERVICE_UI_ALLOWED and
    // MAPI_UNICODE answer MAPI_E_UNKNOWN_FLAGS.
    virtual HRESULT CreateMsgService(const char* service, const char* displayName, ULONG_PTR uiParam, ULONG flags) = 0;
    virtual HRESULT DeleteMsgService(const MAPIUID* uid) = 0;
    // One row per service: PR_SERVICE_UID, PR_DISPLAY_NAME, PR_SERVICE_NAME.
    virtual HRESULT GetMsgServiceTable(ULONG flags, IMAPITable** table) = 0;
    // Sets the store path (PR_PST_PATH_W or PR_PST_PATH_A) and opens the file to check it; a
    // file that cannot be opened answers the matching MAPI error, with its text kept for
    // GetLastError. No dialog is ever shown.
    virtual HRESULT ConfigureMsgService(const MAPIUID* uid, ULONG_PTR uiParam, ULONG flags,
                                        const SPropValueArray& props) = 0;

};

// The profile administration object (MAPIAdminProfiles of the built-in provider).
HRESULT MAPIAdminProfiles(ULONG flags, IProfAdmin** admin);
