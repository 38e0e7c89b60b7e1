// A test-only map of what shows on the screen. With QUILLORA_CONTROL_MAP naming a file, the
// application writes there, whenever it changes, one line for each showing form and control:
//   path <TAB> class <TAB> left top width height (screen) <TAB> flags <TAB> text <TAB> detail
// detail: a list's item count, selection and captions (sub-items after |), a tree's selection, a status bar's panels.
// A form's rectangle is its client area. path is Form.Control (a control without a name is #index in its parent), flags are E when
// enabled and F when focused. A popup window a form's component shows (a drop-down calendar) is
// Form.#popup; the entries of menu bars and open menus are Form.Menu.Item lines of class TMenuItem.
// A driver of real input reads it to aim at controls by name.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/Types.h"
#include "platform/vcl/GdiTypes.h"

// An entry of a menu showing on the screen (a window's menu bar or an open menu): its
// command, or the sub-menu it opens, and where it shows.
struct TShownMenuItem {
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    WideString Text;
    TRect Bounds;  // screen
    bool Enabled = true;
};
// The toolkit that shows menus tells the map where their entries are.
void SetShownMenuSource(std::function<std::vector<TShownMenuItem>()> source);

// The map of the showing forms as it stands.
std::string DescribeShowingControls();
// Writes the map into the file QUILLORA_CONTROL_MAP names, when set and when it changed.
void WriteControlMapIfAsked();
