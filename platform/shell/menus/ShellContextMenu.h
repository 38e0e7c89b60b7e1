// The shell's context menu of items of one folder: it adds its commands to a popup menu,
// tells each command's verb and help text, and carries a command out. Files are opened with
// the desktop's handler, never run; "delete" asks first and moves them to the trash, never
// deleting them outright; cut, copy and paste go through the clipboard's file list.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/shell/ShellIdList.h"
#include "platform/vcl/WinMenus.h"

// QueryContextMenu flags.
inline constexpr UINT CMF_NORMAL = 0x0000, CMF_DEFAULTONLY = 0x0001, CMF_EXPLORE = 0x0004, CMF_CANRENAME = 0x0010;
// GetCommandString kinds.
inline constexpr UINT GCS_VERBA = 0x0000, GCS_HELPTEXTA = 0x0001;

class IContextMenu {
public:
    virtual ~IContextMenu() = default;
    // Inserts the commands at position index with ids from first (at most last); the number
    // of ids taken (from first) is the result's code.
    virtual HRESULT QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) = 0;
    // Carries out the command at offset (its id less the first id).
    virtual HRESULT InvokeCommand(HWND owner, UINT offset) = 0;
    virtual HRESULT GetCommandString(UINT offset, UINT kind, std::string& text) = 0;
};

// The menu of items (each one item relative to folder); null without items or for lists that
// name no place.
std::unique_ptr<IContextMenu> GetShellContextMenu(const ShellIdList& folder, const std::vector<ShellIdList>& items);

// The registered clipboard format that says whether files were cut (2) or copied (1).
UINT CF_PREFERREDDROPEFFECT();
