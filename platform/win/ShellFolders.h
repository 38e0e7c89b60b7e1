// The user's special folders, mapped to the desktop's XDG folders:
//   CSIDL_DESKTOP, CSIDL_DESKTOPDIRECTORY  XDG_DESKTOP_DIR of user-dirs.dirs, else $HOME
//   CSIDL_PERSONAL                         XDG_DOCUMENTS_DIR of user-dirs.dirs, else $HOME
//   CSIDL_APPDATA, CSIDL_LOCAL_APPDATA     $XDG_DATA_HOME, else ~/.local/share (always created)
//   CSIDL_PROGRAM_FILES                    the folder of the running executable
//   CSIDL_SYSTEM                           /usr/lib
// Paths are POSIX paths without a trailing slash.
#pragma once

#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

inline constexpr int CSIDL_DESKTOP = 0x0000;
inline constexpr int CSIDL_PERSONAL = 0x0005;
inline constexpr int CSIDL_MYDOCUMENTS = CSIDL_PERSONAL;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
inline constexpr int CSIDL_APPDATA = 0x001A;
inline constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
inline constexpr int CSIDL_SYSTEM = 0x0025;
inline constexpr int CSIDL_PROGRAM_FILES = 0x0026;
inline constexpr int CSIDL_FLAG_CREATE = 0x8000;
inline constexpr int CSIDL_FLAG_MASK = 0xFF00;
inline constexpr DWORD SHGFP_TYPE_CURRENT = 0;
inline constexpr DWORD SHGFP_TYPE_DEFAULT = 1;

// Writes the folder into pszPath (room for MAX_PATH units) and returns S_OK. CSIDL_FLAG_CREATE
// creates the folder when missing. Fails with E_INVALIDARG for an unknown folder,
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) when the path does not fit, and the creation
// error when the folder cannot be made. hwndOwner and hToken are not used.
HRESULT SHGetFolderPathW(void* hwndOwner, int nFolder, HANDLE hToken, DWORD dwFlags, char16_t* pszPath);
// The same in UTF-8 (room for MAX_PATH bytes).
HRESULT SHGetFolderPathA(void* hwndOwner, int nFolder, HANDLE hToken, DWORD dwFlags, char* pszPath);
BOOL SHGetSpecialFolderPathW(void* hwndOwner, char16_t* pszPath, int csidl, BOOL fCreate);

// The folder of any length, or S_OK's failures as above (path left empty).
HRESULT GetSpecialFolderPath(int nFolder, WideString& path);

// The XDG data folders, most personal first: $XDG_DATA_HOME (else ~/.local/share), then each
// folder of $XDG_DATA_DIRS (else /usr/local/share and /usr/share). Relative entries are left out.
std::vector<std::string> XdgDataFolders();
