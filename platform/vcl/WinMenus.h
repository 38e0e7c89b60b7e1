// Menu handles as the program calls them: an HMENU names a list of items (text, command id,
// state, a sub-menu handle, owner-drawn data) kept here, Qt-free. Menu bars are shown by the
// window's peer (SetMenu, DrawMenuBar); TrackPopupMenu asks the modal hook first, then the
// widget set, and reports the chosen command by its result or by WM_COMMAND to the owner.
#pragma once

#include <optional>
#include <vector>

#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/Messages.h"

using ULONG_PTR = std::uintptr_t;

inline constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
inline constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;

// AppendMenu / ModifyMenu flags and item types and states.
inline constexpr UINT MF_STRING = 0x0000, MF_ENABLED = 0x0000, MF_UNCHECKED = 0x0000, MF_BYCOMMAND = 0x0000,
                      MF_GRAYED = 0x0001, MF_DISABLED = 0x0002, MF_BITMAP = 0x0004, MF_CHECKED = 0x0008,
                      MF_POPUP = 0x0010, MF_MENUBARBREAK = 0x0020, MF_MENUBREAK = 0x0040, MF_HILITE = 0x0080,
                      MF_OWNERDRAW = 0x0100, MF_BYPOSITION = 0x0400, MF_SEPARATOR = 0x0800, MF_DEFAULT = 0x1000,
                      MF_RIGHTJUSTIFY = 0x4000;
inline constexpr UINT MFT_STRING = 0x0000, MFT_BITMAP = 0x0004, MFT_MENUBARBREAK = 0x0020, MFT_MENUBREAK = 0x0040,
                      MFT_OWNERDRAW = 0x0100, MFT_RADIOCHECK = 0x0200, MFT_SEPARATOR = 0x0800,
                      MFT_RIGHTORDER = 0x2000, MFT_RIGHTJUSTIFY = 0x4000;
inline constexpr UINT MFS_ENABLED = 0x0000, MFS_UNCHECKED = 0x0000, MFS_GRAYED = 0x0003, MFS_DISABLED = 0x0003,
                      MFS_CHECKED = 0x0008, MFS_HILITE = 0x0080, MFS_DEFAULT = 0x1000;
// MENUITEMINFOW.fMask.
inline constexpr UINT MIIM_STATE = 0x0001, MIIM_ID = 0x0002, MIIM_SUBMENU = 0x0004, MIIM_CHECKMARKS = 0x0008,
                      MIIM_TYPE = 0x0010, MIIM_DATA = 0x0020, MIIM_STRING = 0x0040, MIIM_BITMAP = 0x0080,
                      MIIM_FTYPE = 0x0100;
// TrackPopupMenu flags.
inline constexpr UINT TPM_LEFTBUTTON = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_LEFTALIGN = 0x0000,
                      TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008, TPM_TOPALIGN = 0x0000,
                      TPM_VCENTERALIGN = 0x0010, TPM_BOTTOMALIGN = 0x0020, TPM_NONOTIFY = 0x0080,
                      TPM_RETURNCMD = 0x0100;
// Owner drawing of menu items (DRAWITEMSTRUCT, MEASUREITEMSTRUCT and the ODT_/ODA_/ODS_ values
// are in Messages.h).
inline constexpr UINT ODS_DEFAULT = 0x0020, ODS_HOTLIGHT = 0x0040, ODS_NOACCEL = 0x0100;
// WM_MENUCHAR answers (in the result's high word).
inline constexpr WORD MNC_IGNORE = 0, MNC_CLOSE = 1, MNC_EXECUTE = 2, MNC_SELECT = 3;

struct MENUITEMINFOW {
    UINT cbSize = sizeof(MENUITEMINFOW);
    UINT fMask = 0;
    UINT fType = 0;
    UINT fState = 0;
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    ULONG_PTR dwItemData = 0;
    LPWSTR dwTypeData = nullptr;
    UINT cch = 0;
    HBITMAP hbmpItem = nullptr;
};

struct TPMPARAMS {
    UINT cbSize = sizeof(TPMPARAMS);
    RECT rcExclude{};
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and, as the system does, the sub-menus its items hold.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text);
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info);
// MIIM_STRING / MIIM_TYPE text: copies up to cch - 1 characters and sets cch to the length;
// a null dwTypeData only asks the length.
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOW* info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info);
int GetMenuItemCount(HMENU menu);  // -1 for an invalid handle
UINT GetMenuItemID(HMENU menu, int position);  // 0xFFFFFFFF for a sub-menu or a bad position
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);  // 0xFFFFFFFF when not found
// Previous state (MF_GRAYED | MF_DISABLED, MF_CHECKED), or 0xFFFFFFFF when not found.
DWORD EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// DeleteMenu destroys the sub-menu of the item; RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);

// The menu bar of a top-level window: shown by the window's peer; DrawMenuBar shows changes.
BOOL SetMenu(HWND window, HMENU menu);
HMENU GetMenu(HWND window);
BOOL DrawMenuBar(HWND window);

// Shows a popup menu at a screen point for the owner window (which receives WM_INITMENUPOPUP,
// WM_MENUSELECT, WM_MEASUREITEM / WM_DRAWITEM for owner-drawn items and WM_MENUCHAR). With
// TPM_RETURNCMD the result is the chosen command (0: none); otherwise WM_COMMAND is posted to
// the owner and the result says whether an item was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);

// One item as the toolkit side reads it to show a menu.
struct TMenuItemRecord {
    UINT Type = 0;
    UINT State = 0;
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    WideString Text;
    ULONG_PTR Data = 0;
    HBITMAP Bitmap = nullptr;
};
std::vector<TMenuItemRecord> MenuItemRecords(HMENU menu);
