// The Windows registry functions over our own store (RegistryStore.h).
//
// Hives and their files:
//   HKEY_CURRENT_USER   $XDG_CONFIG_HOME/quillora/registry/user.reg (default ~/.config)
//   HKEY_LOCAL_MACHINE  /etc/xdg/quillora/registry/machine.reg, read-only unless that folder
//                       (or the nearest existing folder above it) is writable by this user, or
//                       when QUILLORA_REGISTRY_MACHINE_READONLY=1
//   HKEY_CLASSES_ROOT   the user's "Software\Classes" over the machine's: reads look in the
//                       user's key first, writes go to the user's
// QUILLORA_REGISTRY_DIR puts user.reg and machine.reg in that one folder.
//
// Functions return a Windows error code (ERROR_SUCCESS on success) and leave GetLastError
// alone, as the originals do. Changes are saved on RegFlushKey, on RegCloseKey of a handle
// that changed something, and at exit.
#pragma once

#include <functional>

#include "platform/win/WinError.h"
#include "platform/win/WinTypes.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
using PFILETIME = FILETIME*;
struct SECURITY_ATTRIBUTES;  // only ever passed as nullptr here

inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<std::intptr_t>(LONG(0x80000000u)));
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::intptr_t>(LONG(0x80000001u)));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<std::intptr_t>(LONG(0x80000002u)));

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;
inline constexpr DWORD REG_QWORD_LITTLE_ENDIAN = 11;

// Access rights of a key handle.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_CREATE_LINK = 0x0020;
inline constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
inline constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_EXECUTE = KEY_READ;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Options and dispositions of RegCreateKeyExW.
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0x0;
inline constexpr DWORD REG_OPTION_VOLATILE = 0x1;
inline constexpr DWORD REG_CREATED_NEW_KEY = 0x1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 0x2;

// Name limits in UTF-16 code units, without the terminating NUL.
inline constexpr DWORD REG_MAX_KEY_NAME = 255;
inline constexpr DWORD REG_MAX_VALUE_NAME = 16383;

LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                        REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes,
                        PHKEY phkResult, LPDWORD lpdwDisposition);
LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LSTATUS RegCloseKey(HKEY hKey);
LSTATUS RegFlushKey(HKEY hKey);

// String values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are stored with their terminating NUL:
// a missing one is added, an odd trailing byte dropped. Queries count that NUL in the size.
LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                         LPBYTE lpData, LPDWORD lpcbData);
LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                       DWORD cbData);
LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
// Fails with ERROR_ACCESS_DENIED when the key has subkeys. An empty lpSubKey deletes hKey's key.
LSTATUS RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);

LSTATUS RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                      LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
LSTATUS RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                      LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
LSTATUS RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                         LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                         LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                         LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime);

// Where store problems (a damaged file kept aside, a failed save) are reported; stderr until
// set. An empty function restores stderr. It should not call registry functions.
void RegistrySetProblemReporter(std::function<void(const WideString&)> reporter);

// Saves the changes still pending in keys left open; the program calls it at shutdown, before
// its reporter goes. Changes are otherwise saved when their key is closed or flushed, and at
// once when made through a predefined root; nothing is saved while the process exits.
LSTATUS RegistrySavePending();

// Drops every hive from memory, unsaved changes included; the next call reads the files again
// from the locations the environment gives then. For tests and for a fork()ed child.
extern "C" void QuilloraRegistryReload();
