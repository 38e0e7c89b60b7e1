// Saving a whole file so that it is either replaced completely or left as it was.
#pragma once

#include <string_view>

#include "platform/win/WinTypes.h"

// Writes the bytes to a temporary file in the target's folder, then renames it over the
// target. Nothing is left behind on failure.
bool WriteFileAtomically(const WideString& path, std::string_view bytes);
