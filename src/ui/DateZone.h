// The zone choice of the shown date: 25 whole-hour zones from "-12:00" to "+12:00", item
// index = hours + 12.
#pragma once

#include "platform/win/WinTime.h"
#include "platform/win/WinTypes.h"

inline constexpr int kTimeZoneItemCount = 25;
inline constexpr int kZeroZoneItem = 12;

// The items' texts in order ("0" for UTC).
const char16_t* TimeZoneItemText(int index);
// The item of a zone; the zero zone's for an offset outside -12 .. +12.
int TimeZoneItemOf(int zoneHours);
// The hours of an item's text ("+05:00" 5, "0" 0); false when it is not one.
bool ZoneHoursOfText(const WideString& text, int& hours);
// The date as shown in a zone; "N/A" without a date.
WideString DateTextInZone(TDateTime utc, int zoneHours);
