// The shell namespace over the file system. The desktop holds Home, the desktop folder,
// Documents (each shown when it is a folder of its own) and Computer, which holds "/" and the
// mounted volumes. Below those, items are the entries of real folders. Paths are raw bytes
// (the file system's), display names are UTF-16 with bytes that are not UTF-8 shown as
// U+FFFD; a list keeps the raw bytes, so such a folder still opens.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>

#include "platform/shell/ShellIdList.h"
#include "platform/win/WinError.h"
#include "platform/win/WinTypes.h"

// Item attributes (the bits the shell controls ask for).
inline constexpr DWORD SFGAO_CANRENAME = 0x00000010;
inline constexpr DWORD SFGAO_LINK = 0x00010000;
inline constexpr DWORD SFGAO_SHARE = 0x00020000;
inline constexpr DWORD SFGAO_HIDDEN = 0x00080000;
inline constexpr DWORD SFGAO_STREAM = 0x00400000;  // never set: archives are not browsed
inline constexpr DWORD SFGAO_REMOVABLE = 0x02000000;
inline constexpr DWORD SFGAO_FILESYSANCESTOR = 0x10000000;
inline constexpr DWORD SFGAO_FOLDER = 0x20000000;
inline constexpr DWORD SFGAO_FILESYSTEM = 0x40000000;
inline constexpr DWORD SFGAO_HASSUBFOLDER = 0x80000000;

// What an enumeration returns.
inline constexpr DWORD SHCONTF_FOLDERS = 0x20;
inline constexpr DWORD SHCONTF_NONFOLDERS = 0x40;
inline constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x80;

// Special folders the namespace knows beyond platform/win/ShellFolders.h.
inline constexpr int CSIDL_DRIVES = 0x0011;   // Computer
inline constexpr int CSIDL_PROFILE = 0x0028;  // the home folder

enum class ShellNameKind { Normal, InFolder, ForParsing, ForEditing };

struct ShellItem {
    ShellIdList id;  // relative to the folder: one item
    WideString name;  // in-folder display name
    DWORD attributes = 0;
};

// The children of an absolute folder list, in the order a file manager shows them (folders
// first, then names in case-insensitive natural order). E_INVALIDARG for a list that names no
// place, the file system's error (HRESULT_FROM_WIN32) when the folder cannot be read. Items
// that vanish or cannot be examined while reading are left out. A folder on a network or
// FUSE volume is read on a worker thread: when it has not answered by the remote deadline,
// kShellNotReachable (the reader is left to finish on its own).
HRESULT EnumShellFolder(const ShellIdList& folder, DWORD flags, std::vector<ShellItem>& items);
inline constexpr HRESULT kShellNotReachable = HRESULT_FROM_WIN32(ERROR_TIMEOUT);

// How the namespace opens folders, and how long it waits for a remote one; replaceable for
// tests (a null opener is opendir). Answers the settings it replaces.
using ShellFolderOpener = std::function<DIR*(const char* path)>;
struct ShellFolderAccess {
    ShellFolderOpener Open;
    std::chrono::milliseconds RemoteDeadline{4000};
};
ShellFolderAccess SetShellFolderAccess(ShellFolderAccess access);

// The item's attributes. Mount points of network and FUSE volumes, and folders on them, are
// never examined for subfolders: they are assumed to have some, so a hung mount cannot block
// the caller.
HRESULT GetShellAttributes(const ShellIdList& absolute, DWORD& attributes);

// The file-system path (raw bytes) of an absolute list: the desktop directory for the
// desktop, empty for Computer and for a list that names no place.
std::string ShellIdListToPath(const ShellIdList& absolute);

// The list of an absolute path that exists: under the home folder through Home, elsewhere
// through Computer and the volume holding it. Repeated and trailing slashes and "." parts are
// dropped; a relative path, a ".." part or a path that does not exist gives none.
std::optional<ShellIdList> ParseShellPath(std::string_view path);

// The list of a special folder (CSIDL_*, flags masked off): the desktop, Computer, Home, or
// the parsed path of a folder of platform/win; none when the folder is unknown or missing.
std::optional<ShellIdList> GetSpecialFolderIdList(int csidl);

WideString GetShellDisplayName(const ShellIdList& absolute, ShellNameKind kind);

// Renames an entry of a folder: newItem is its new relative list. The name's bytes are
// FileNameFromUtf16's. A name that is empty, "."
// or "..", holds "/", or is longer than a file name may be (255 bytes) is refused
// (ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE) rather than cut; an existing name is never
// replaced (ERROR_ALREADY_EXISTS). Places of the desktop and Computer cannot be renamed.
HRESULT SetShellItemName(const ShellIdList& folder, const ShellIdList& item, const WideString& name,
                         ShellIdList& newItem);

// The name a user typed over an item's shown name, ready for SetShellItemName: each stand-in
// the shown name has for bytes that are not UTF-8 (U+FFFD), kept where it was typed, gives
// those bytes back, in order, so a rename around them keeps them.
WideString EditedShellName(const ShellIdList& item, const WideString& typed);

// What kind of place an absolute list names.
enum class ShellPlace { None, Desktop, Home, DesktopFolder, Documents, Computer, Volume, Entry };
ShellPlace GetShellPlace(const ShellIdList& absolute);

// Order of two items of one folder (negative, 0, positive), as EnumShellFolder sorts.
int CompareShellItems(const ShellItem& a, const ShellItem& b);
// Case-insensitive natural order of names ("file2" before "File10").
int CompareShellNames(std::u16string_view a, std::u16string_view b);
