// Menu handles shown by Qt: a QMenu or QMenuBar filled from an HMENU's items, whose choices,
// highlights and sub-menu openings reach the owner window as the menu messages.
#pragma once

#include <QMenu>
#include <QMenuBar>

#include <vector>

#include "platform/vcl/ControlMap.h"
#include "platform/vcl/WinMenus.h"

namespace vclqt {

// Fills menu with the items of handle; sub-menus are read again each time they open, after
// the owner heard WM_INITMENUPOPUP. A chosen item's command is the QAction's data.
void FillMenu(QMenu* menu, HMENU handle, HWND owner);
void FillMenuBar(QMenuBar* bar, HMENU handle, HWND owner);
// Runs a popup menu (under a ForeignLoopScope); the chosen command, or 0.
// The entries of the menu bars and the open menus, where they show.
std::vector<TShownMenuItem> ShownMenuItems();
UINT ExecPopupMenu(HMENU handle, UINT flags, TPoint at, HWND owner);

}  // namespace vclqt
