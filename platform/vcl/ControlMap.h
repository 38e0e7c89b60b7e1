// A test-only map of what shows on the screen. With QUILLORA_CONTROL_MAP naming a file, the
// application writes there, whenever it changes, one line for each showing form and control:
//   path <TAB> class <TAB> left top width height (screen) <TAB> flags <TAB> text <TAB> detail
// detail: a list's item count, selection and captions (sub-items after |), a tree's selection, a status bar's panels.
// A form's rectangle is its client area. path is Form.Control (a control without a name is #index in its parent), flags are E when
// enabled and F when focused. A driver of real input reads it to aim at controls by name.
#pragma once

#include <string>

// The map of the showing forms as it stands.
std::string DescribeShowingControls();
// Writes the map into the file QUILLORA_CONTROL_MAP names, when set and when it changed.
void WriteControlMapIfAsked();
