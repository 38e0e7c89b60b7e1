// The names a WM_DROPFILES message carries.
#pragma once

#include <vector>

#include "platform/vcl/WinUser.h"

// Every non-empty name of the drop, whole however long; the drop stays to the caller.
std::vector<WideString> DroppedFileNames(HDROP drop);
