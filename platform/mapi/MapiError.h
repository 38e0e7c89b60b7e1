// MAPI result codes, the extended error record and their texts.
#pragma once

#include <string>

#include "platform/mapi/MapiTags.h"

inline constexpr HRESULT MAKE_MAPI_E(ULONG code) { return static_cast<HRESULT>(0x80040000u | code); }

inline constexpr HRESULT MAPI_E_CALL_FAILED = E_FAIL;
inline constexpr HRESULT MAPI_E_NOT_ENOUGH_MEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT MAPI_E_INVALID_PARAMETER = E_INVALIDARG;
inline constexpr HRESULT MAPI_E_INTERFACE_NOT_SUPPORTED = E_NOINTERFACE;
inline constexpr HRESULT MAPI_E_NO_ACCESS = E_ACCESSDENIED;
inline constexpr HRESULT MAPI_E_NO_SUPPORT = MAKE_MAPI_E(0x102);
inline constexpr HRESULT MAPI_E_BAD_CHARWIDTH = MAKE_MAPI_E(0x103);
inline constexpr HRESULT MAPI_E_STRING_TOO_LONG = MAKE_MAPI_E(0x105);
inline constexpr HRESULT MAPI_E_UNKNOWN_FLAGS = MAKE_MAPI_E(0x106);
inline constexpr HRESULT MAPI_E_INVALID_ENTRYID = MAKE_MAPI_E(0x107);
inline constexpr HRESULT MAPI_E_INVALID_OBJECT = MAKE_MAPI_E(0x108);
inline constexpr HRESULT MAPI_E_OBJECT_CHANGED = MAKE_MAPI_E(0x109);
inline constexpr HRESULT MAPI_E_OBJECT_DELETED = MAKE_MAPI_E(0x10A);
inline constexpr HRESULT MAPI_E_BUSY = MAKE_MAPI_E(0x10B);
inline constexpr HRESULT MAPI_E_NOT_ENOUGH_DISK = MAKE_MAPI_E(0x10D);
inline constexpr HRESULT MAPI_E_NOT_ENOUGH_RESOURCES = MAKE_MAPI_E(0x10E);
inline constexpr HRESULT MAPI_E_NOT_FOUND = MAKE_MAPI_E(0x10F);
inline constexpr HRESULT MAPI_E_VERSION = MAKE_MAPI_E(0x110);
inline constexpr HRESULT MAPI_E_LOGON_FAILED = MAKE_MAPI_E(0x111);
inline constexpr HRESULT MAPI_E_SESSION_LIMIT = MAKE_MAPI_E(0x112);
inline constexpr HRESULT MAPI_E_USER_CANCEL = MAKE_MAPI_E(0x113);
inline constexpr HRESULT MAPI_E_UNABLE_TO_ABORT = MAKE_MAPI_E(0x114);
inline constexpr HRESULT MAPI_E_NETWORK_ERROR = MAKE_MAPI_E(0x115);
inline constexpr HRESULT MAPI_E_DISK_ERROR = MAKE_MAPI_E(0x116);
inline constexpr HRESULT MAPI_E_TOO_COMPLEX = MAKE_MAPI_E(0x117);
inline constexpr HRESULT MAPI_E_BAD_COLUMN = MAKE_MAPI_E(0x118);
inline constexpr HRESULT MAPI_E_EXTENDED_ERROR = MAKE_MAPI_E(0x119);
inline constexpr HRESULT MAPI_E_COMPUTED = MAKE_MAPI_E(0x11A);
inline constexpr HRESULT MAPI_E_CORRUPT_DATA = MAKE_MAPI_E(0x11B);
inline constexpr HRESULT MAPI_E_UNCONFIGURED = MAKE_MAPI_E(0x11C);
inline constexpr HRESULT MAPI_E_FAILONEPROVIDER = MAKE_MAPI_E(0x11D);
inline constexpr HRESULT MAPI_E_PASSWORD_CHANGE_REQUIRED = MAKE_MAPI_E(0x120);
inline constexpr HRESULT MAPI_E_NOT_INITIALIZED = MAKE_MAPI_E(0x605);
inline constexpr HRESULT MAPI_E_END_OF_SESSION = MAKE_MAPI_E(0x200);
inline constexpr HRESULT MAPI_E_UNKNOWN_ENTRYID = MAKE_MAPI_E(0x201);
inline constexpr HRESULT MAPI_E_MISSING_REQUIRED_COLUMN = MAKE_MAPI_E(0x202);
inline constexpr HRESULT MAPI_E_BAD_VALUE = MAKE_MAPI_E(0x301);
inline constexpr HRESULT MAPI_E_INVALID_TYPE = MAKE_MAPI_E(0x302);
inline constexpr HRESULT MAPI_E_TYPE_NO_SUPPORT = MAKE_MAPI_E(0x303);
inline constexpr HRESULT MAPI_E_UNEXPECTED_TYPE = MAKE_MAPI_E(0x304);
inline constexpr HRESULT MAPI_E_TOO_BIG = MAKE_MAPI_E(0x305);
inline constexpr HRESULT MAPI_E_NOT_IN_QUEUE = MAKE_MAPI_E(0x600);
inline constexpr HRESULT MAPI_E_NO_RECIPIENTS = MAKE_MAPI_E(0x607);
inline constexpr HRESULT MAPI_E_TABLE_EMPTY = MAKE_MAPI_E(0x402);
inline constexpr HRESULT MAPI_E_TABLE_TOO_BIG = MAKE_MAPI_E(0x403);
inline constexpr HRESULT MAPI_E_INVALID_BOOKMARK = MAKE_MAPI_E(0x405);
inline constexpr HRESULT MAPI_W_ERRORS_RETURNED = static_cast<HRESULT>(0x00040380u);
inline constexpr HRESULT MAPI_W_POSITION_CHANGED = static_cast<HRESULT>(0x00040481u);
inline constexpr HRESULT MAPI_W_APPROX_COUNT = static_cast<HRESULT>(0x00040482u);

// The extended error record that IMAPIProp::GetLastError and the admin objects hand out.
// Texts are 8-bit (UTF-8); the record owns them.
struct MAPIERROR {
    ULONG ulVersion = 0;
    std::string lpszError;
    std::string lpszComponent;
    ULONG ulLowLevelError = 0;
    ULONG ulContext = 0;
};

// A short English text for a MAPI result code ("MAPI_E_NOT_FOUND: not found").
std::string MapiErrorText(HRESULT hr);

// The result code for an errno value met while opening or reading a store file.
HRESULT MapiErrorFromErrno(int err);
