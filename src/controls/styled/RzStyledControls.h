// Registers the styled buttons, check boxes, spinner, panels and edits for form files.
#pragma once

void RegisterStyledControls();
