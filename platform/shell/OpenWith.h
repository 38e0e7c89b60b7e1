// "Open With": the desktop's own chooser of a program for a file whose type has none set. The
// toolkit side installs the chooser (the desktop portal); without one nothing is asked.
#pragma once

#include <functional>
#include <string>

#include "platform/win/WinTypes.h"

// Shows the desktop's chooser for the file; false when no chooser could be reached.
using OpenWithChooser = std::function<bool(const std::string& path)>;
void SetOpenWithChooser(OpenWithChooser chooser);

// Lets the user pick the program for the file in the desktop's chooser; false when there is
// no chooser (no portal runs), so the caller says so instead.
bool AskDesktopToOpenWith(const WideString& path);
