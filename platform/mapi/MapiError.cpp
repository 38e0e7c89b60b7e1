#include "platform/mapi/MapiError.h"

#include <cerrno>
#include <cstdio>

std::string MapiErrorText(HRESULT hr) {
    struct Known {
        HRESULT hr;
        const char* text;
    };
    static const Known known[] = {
        {S_OK, "success"},
        {MAPI_E_CALL_FAILED, "the call failed"},
        {MAPI_E_NOT_ENOUGH_MEMORY, "not enough memory"},
        {MAPI_E_INVALID_PARAMETER, "invalid parameter"},
        {MAPI_E_INTERFACE_NOT_SUPPORTED, "interface not supported"},
        {MAPI_E_NO_ACCESS, "access denied"},
        {MAPI_E_NO_SUPPORT, "not supported"},
        {MAPI_E_UNKNOWN_FLAGS, "unknown flags"},
        {MAPI_E_INVALID_ENTRYID, "invalid entry id"},
        {MAPI_E_INVALID_OBJECT, "invalid object"},
        {MAPI_E_BUSY, "the table is busy"},
        {MAPI_E_NOT_ENOUGH_DISK, "not enough disk space"},
        {MAPI_E_NOT_ENOUGH_RESOURCES, "not enough resources"},
        {MAPI_E_NOT_FOUND, "not found"},
        {MAPI_E_LOGON_FAILED, "logon failed"},
        {MAPI_E_DISK_ERROR, "disk error"},
        {MAPI_E_BAD_COLUMN, "bad column"},
        {MAPI_E_EXTENDED_ERROR, "extended error"},
        {MAPI_E_CORRUPT_DATA, "the store file is damaged or not a personal folders file"},
        {MAPI_E_UNCONFIGURED, "the message service is not configured"},
        {MAPI_E_NOT_INITIALIZED, "MAPI is not initialised"},
        {MAPI_E_UNKNOWN_ENTRYID, "unknown entry id"},
        {MAPI_E_INVALID_TYPE, "invalid property type"},
        {MAPI_E_TABLE_EMPTY, "the table is empty"},
        {MAPI_E_INVALID_BOOKMARK, "invalid bookmark"},
        {MAPI_W_ERRORS_RETURNED, "some properties could not be returned"},
    };
    for (const Known& k : known)
        if (k.hr == hr) return k.text;
    char buf[32];
    std::snprintf(buf, sizeof buf, "error 0x%08X", static_cast<unsigned>(hr));
    return buf;
}

HRESULT MapiErrorFromErrno(int err) {
    switch (err) {
    case 0: return S_OK;
    case EACCES:
    case EPERM:
    case EROFS: return MAPI_E_NO_ACCESS;
    case ENOENT:
    case ENOTDIR: return MAPI_E_NOT_FOUND;
    case ENOMEM: return MAPI_E_NOT_ENOUGH_RESOURCES;
    case ENOSPC: return MAPI_E_NOT_ENOUGH_DISK;
    case EIO: return MAPI_E_DISK_ERROR;
    default: return MAPI_E_CALL_FAILED;
    }
}
