// Small helpers shared by the message readers, the main window, the store reader and the
// export: message-file kinds by extension, month names, UTC to local time, folder emptying.
#pragma once

#include <string_view>

#include "platform/win/WinTime.h"
#include "platform/win/WinTypes.h"

// True when the path's extension is ".pst" / ".eml" / ".msg", in any case.
bool isPST(const WideString& path);
bool isEML(const WideString& path);
bool isMSG(const WideString& path);

// The month (1-12) named by an English abbreviation ("Jan" ... "Dec", exact case) in a date
// text; -1 when there is none. The name after the day number ("9 Dec 2026") wins; otherwise
// the first month in calendar order that occurs anywhere.
int ExtractMonthNumber(std::string_view text);

// The UTC date-time in local time, whole seconds; 0 for a moment whose local time is before
// 1970 (so the empty dates of message files stay "no date"). Later dates have no limit.
TDateTime UtcToLocalDateTime(TDateTime utc);
// A local date-time in UTC, with the zone's offset (summer time included) at that moment; 0
// for a moment that has none.
TDateTime LocalToUtcDateTime(TDateTime local);

// minutes earlier (a negative count moves later).
TDateTime SubtractMinutes(TDateTime value, int minutes);

// Deletes the files directly inside folder; sub-folders and the folder itself stay.
void RemoveDirWithFiles(const WideString& folder);
