// Clocks and time conversions: FILETIME (100 ns since 1601-01-01 UTC), SYSTEMTIME, DOS
// date/time, the time zone, tick counts, and TDateTime (days since 1899-12-30 as a double).
// Every conversion uses 64-bit arithmetic: dates before 1970 and after 2038 work.
#pragma once

#include <cstdint>

#include "platform/win/WinTypes.h"

inline constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0;
inline constexpr DWORD TIME_ZONE_ID_STANDARD = 1;
inline constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2;
inline constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFFu;

// Bias in minutes, UTC = local + bias. StandardDate/DaylightDate are yearly rules when wYear
// is 0: wMonth, wDayOfWeek (0 = Sunday), wDay = week of the month (5 = last), and the local
// clock time at which the change happens. wMonth 0: the zone has no daylight saving time.
struct TIME_ZONE_INFORMATION {
    LONG Bias = 0;
    WCHAR StandardName[32] = {};
    SYSTEMTIME StandardDate;
    LONG StandardBias = 0;
    WCHAR DaylightName[32] = {};
    SYSTEMTIME DaylightDate;
    LONG DaylightBias = 0;
};

void GetSystemTime(SYSTEMTIME* lpSystemTime);
void GetLocalTime(SYSTEMTIME* lpSystemTime);
void GetSystemTimeAsFileTime(FILETIME* lpSystemTimeAsFileTime);

// Fail with ERROR_INVALID_PARAMETER for out-of-range values (FILETIME beyond year 30827,
// SYSTEMTIME fields outside their ranges or before 1601).
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, FILETIME* lpFileTime);

// Local <-> UTC with the zone's offset in effect at that instant (not today's offset), so a
// summer date stays right in winter.
BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, FILETIME* lpLocalFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, FILETIME* lpFileTime);

// MS-DOS date and time (1980-2107, two-second steps), as stored in archives.
BOOL FileTimeToDosDateTime(const FILETIME* lpFileTime, WORD* lpFatDate, WORD* lpFatTime);
BOOL DosDateTimeToFileTime(WORD wFatDate, WORD wFatTime, FILETIME* lpFileTime);

// -1, 0 or 1.
LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2);

// The current zone from the C library's tz data (honours TZ), with this year's rules.
DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* lpTimeZoneInformation);

DWORD GetTickCount();       // milliseconds since boot, wrapping after 49.7 days
ULONGLONG GetTickCount64(); // milliseconds since boot
void Sleep(DWORD dwMilliseconds);
BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency);

// FILETIME as one 64-bit count and back.
inline std::uint64_t FileTimeToTicks(const FILETIME& ft) {
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
inline FILETIME TicksToFileTime(std::uint64_t ticks) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

// Days since 1899-12-30 00:00. A negative value counts whole days before that date, and its
// fraction is still the time of day: -1.25 is 1899-12-29 06:00. Resolution is 1 ms.
using TDateTime = double;

inline constexpr TDateTime UnixDateDelta = 25569.0;  // 1970-01-01
inline constexpr std::int64_t MSecsPerDay = 86400000;

// Milliseconds since 1899-12-30 00:00 and back, the exact form of a TDateTime.
std::int64_t DateTimeToMSecs(TDateTime value);
TDateTime MSecsToDateTime(std::int64_t msecs);

// FILETIME (UTC or local, as given) <-> TDateTime. Sub-millisecond ticks are dropped.
// DateTimeToFileTime fails for dates before 1601.
TDateTime FileTimeToDateTime(const FILETIME& ft);
bool DateTimeToFileTime(TDateTime value, FILETIME& ft);

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st);
bool DateTimeToSystemTime(TDateTime value, SYSTEMTIME& st);  // years 1601-30827

// Seconds since 1970-01-01 UTC <-> TDateTime; DateTimeToUnix rounds down to the second.
TDateTime UnixToDateTime(std::int64_t unixTime);
std::int64_t DateTimeToUnix(TDateTime value);

// Calendar parts, years 1-9999. The Try forms return false for an invalid date or time;
// the raising EncodeDate/EncodeTime belong to the class library, which owns its exceptions.
bool TryEncodeDate(WORD year, WORD month, WORD day, TDateTime& value);
bool TryEncodeTime(WORD hour, WORD min, WORD sec, WORD msec, TDateTime& value);
void DecodeDate(TDateTime value, WORD& year, WORD& month, WORD& day);
void DecodeTime(TDateTime value, WORD& hour, WORD& min, WORD& sec, WORD& msec);
// 1 = Sunday ... 7 = Saturday, as the class library counts.
int DayOfWeek(TDateTime value);
bool IsLeapYear(WORD year);
// The same day and time some months away; a day the month lacks becomes its last day. Years
// stay within 1-9999.
TDateTime IncMonth(TDateTime value, int months);
