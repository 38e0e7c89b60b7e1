// Building, showing and running the shell's context menus for the shell controls, the
// menu-key rule of their own menu entries, and new folders.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/shell/ShellIdList.h"
#include "platform/shell/menus/ShellContextMenu.h"

// The first id of the shell's commands in a control's popup; smaller ids are the control's own.
inline constexpr UINT kFirstShellCommand = 1000;
inline constexpr UINT kLastShellCommand = 0x7FFF;

// A popup menu destroyed with the object.
class TShellPopup {
public:
    TShellPopup() : menu_(CreatePopupMenu()) {}
    ~TShellPopup() { DestroyMenu(menu_); }
    TShellPopup(const TShellPopup&) = delete;
    TShellPopup& operator=(const TShellPopup&) = delete;
    HMENU Handle() const { return menu_; }

private:
    HMENU menu_;
};

// The context menu of items of folder and a popup holding its commands from firstId on.
// Null when the items have no menu; raises Exception when the menu cannot be filled.
std::unique_ptr<IContextMenu> BuildContextMenu(const ShellIdList& folder, const std::vector<ShellIdList>& items,
                                               UINT flags, UINT firstId, TShellPopup& popup);
// The offset of the command carrying verb (without regard to case); -1 when none does.
int FindVerbOffset(IContextMenu& menu, const std::string& verb);
// Runs the command of verb; S_FALSE when the menu has no such command (nothing runs).
HRESULT InvokeContextCommand(HWND owner, IContextMenu& menu, const std::string& verb);
HRESULT InvokeContextCommand(HWND owner, IContextMenu& menu, UINT offset);
// The verb of a command offset; empty when it has none.
std::string ContextCommandVerb(IContextMenu& menu, UINT offset);
// Shows the popup at a screen point and returns the command chosen (0 for none). While it is
// open, active is set and current points at menu, so the owner's menu messages reach it.
UINT TrackShellContextMenu(const TShellPopup& popup, IContextMenu& menu, TPoint screen, HWND owner, bool& active,
                           IContextMenu*& current);

// The help text of the command a WM_MENUSELECT names (its wParam); empty for the control's own
// entries, sub-menus, the system menu or a command without help.
AnsiString MenuSelectHint(IContextMenu& menu, WPARAM wParam);

// The answer to a typed character over a menu's entries (WM_MENUCHAR): the search starts
// after the highlighted entry (-1: none) and wraps round; the first entry whose first letter
// matches is selected (MNC_SELECT) when others share the letter, else run (MNC_EXECUTE); no
// match closes the menu (MNC_CLOSE).
LRESULT MenuCharAnswer(WideChar typed, const std::vector<WideString>& entries, int highlighted);

// Inserts texts for %1 ... %n (at most 50; more raise "FormatStrPos: Too many substitution
// strings"). "%%" is a percent sign; a number without a text stays as it is.
WideString FormatStrPos(const WideString& format, const std::vector<WideString>& inserts);

// Makes a new folder in the folder path: "New Folder", "New Folder (2)" ... "New Folder (50)",
// then "fldr", "fldr2" ... "fldr50". name is the folder made. An empty path makes nothing.
// A failure other than a name in use shows one warning box with its own reason and ends.
bool CreateNewShellFolder(HWND owner, const AnsiString& path, WideString& name);
