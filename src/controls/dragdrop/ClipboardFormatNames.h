// Names of clipboard formats for diagnostics: the standard ones by their constant's name,
// registered ones by the name they were registered with.
#pragma once

#include "platform/win/WinTypes.h"

AnsiString GetClipboardFormatNameStr(UINT format);
