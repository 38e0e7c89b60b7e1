#include "mapi/MapiRegistration.h"

#include "app/cLogger.h"
#include "platform/win/Registry.h"

LONG EnsureMapiRegistration() {
    QUILLORA_TRACE(u"EnsureMapiRegistration");
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows Messaging Subsystem", 0, KEY_READ, &key);
    if (rc == ERROR_SUCCESS) {
        RegCloseKey(key);
        return rc;
    }
    DWORD disposition = 0;
    rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps", 0, nullptr,
                         REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, &disposition);
    if (rc != ERROR_SUCCESS) {
        LogPrintf(u"FAILED: creating the MAPI registration %d", static_cast<int>(rc));
        return rc;
    }
    rc = RegFlushKey(key);
    RegCloseKey(key);
    return rc;
}
