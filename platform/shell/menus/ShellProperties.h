// The properties of a shell item in a small box of its own: the desktops share no command
// that shows a file's properties, so this one is ours.
#pragma once

#include <cstdint>
#include <string>

#include "platform/vcl/GdiTypes.h"
#include "platform/win/WinTypes.h"

// A number with its thousands grouped ("1,234,567"); the locale's separator, else ','.
WideString ShellGroupedNumber(std::uint64_t n, WideChar separator);
WideChar ShellThousandsSeparator();

// A time (Unix seconds) as the locale's short date and time, in local time.
WideString ShellDateTimeText(std::int64_t unixTime);

// The lines the box shows for a path: name, type, location, size (files), link target
// (symbolic links), modified and accessed times. Empty when the path cannot be examined.
WideString ShellPropertiesText(const std::string& path, DWORD attributes);

// Shows the box; false (nothing shown) when the path cannot be examined.
bool ShowShellProperties(HWND owner, const std::string& path, DWORD attributes);
