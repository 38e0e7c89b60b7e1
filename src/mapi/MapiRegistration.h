// Makes this program's MAPI layer the installed MAPI provider: the discovery finds the
// system's MAPI library through the machine's "Windows Messaging Subsystem" key, so the
// install and the first start create that key. Without it the program has no PST support.
#pragma once

#include "platform/win/WinTypes.h"

// Creates the key under the local machine when it is missing; ERROR_SUCCESS, or the registry
// error (for instance ERROR_ACCESS_DENIED when the machine hive is read-only for this user).
LONG EnsureMapiRegistration();
