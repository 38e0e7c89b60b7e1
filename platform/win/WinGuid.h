// GUIDs: creation, the registry text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", comparison.
#pragma once

#include <string_view>

#include "platform/win/WinTypes.h"

inline constexpr GUID GUID_NULL{};
inline constexpr GUID CLSID_NULL{};

// A random (version 4) GUID from the system's random source.
HRESULT CoCreateGuid(GUID* pguid);

// Writes the braced text form with its terminator; returns 39, or 0 when cchMax is too small.
int StringFromGUID2(REFGUID rguid, char16_t* lpsz, int cchMax);

// The braced text form. Returned by value: the caller has nothing to free.
WideString StringFromCLSID(REFCLSID rclsid);

// Parses the braced text form (hex digits in either case). Malformed text gives
// CO_E_CLASSSTRING and CLSID_NULL; a null string gives CLSID_NULL and S_OK.
HRESULT CLSIDFromString(const char16_t* lpsz, CLSID* pclsid);
// The same rule for interface ids, failing with E_INVALIDARG.
HRESULT IIDFromString(const char16_t* lpsz, IID* lpiid);

// Parses the text form with or without braces; false for anything else.
bool TryParseGuid(std::u16string_view text, GUID& guid);

inline BOOL IsEqualGUID(REFGUID a, REFGUID b) { return a == b ? TRUE : FALSE; }
inline BOOL IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b ? TRUE : FALSE; }
inline BOOL IsEqualIID(REFIID a, REFIID b) { return a == b ? TRUE : FALSE; }
