#include "platform/win/WinTime.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>

#include "platform/win/WinError.h"

namespace {

constexpr std::int64_t kTicksPerMs = 10000;
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kTicksPerDay = kTicksPerSecond * 86400;
constexpr std::int64_t kDays1601To1970 = 134774;
constexpr std::int64_t kDays1601To1899 = 109205;  // to 1899-12-30
constexpr std::uint64_t kMaxFileTime = 0x7FFFFFFFFFFFFFFFull;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = FloorDiv(y, 400);
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

unsigned DaysInMonth(std::int64_t y, unsigned m) {
    static constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
    return days[m - 1];
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Splits FILETIME ticks into the calendar (valid for every FILETIME below 2^63).
SYSTEMTIME TicksToSystemTime(std::uint64_t ticks) {
    const auto t = static_cast<std::int64_t>(ticks);
    const std::int64_t days = t / kTicksPerDay;
    std::int64_t rest = t % kTicksPerDay;
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days - kDays1601To1970, y, m, d);
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(d);
    st.wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
    st.wHour = static_cast<WORD>(rest / (3600 * kTicksPerSecond));
    rest %= 3600 * kTicksPerSecond;
    st.wMinute = static_cast<WORD>(rest / (60 * kTicksPerSecond));
    rest %= 60 * kTicksPerSecond;
    st.wSecond = static_cast<WORD>(rest / kTicksPerSecond);
    st.wMilliseconds = static_cast<WORD>((rest % kTicksPerSecond) / kTicksPerMs);
    return st;
}

bool SystemTimeToTicks(const SYSTEMTIME& st, std::uint64_t& ticks) {
    if (st.wYear < 1601 || st.wYear > 30827 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 ||
        st.wDay > DaysInMonth(st.wYear, st.wMonth) || st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59 ||
        st.wMilliseconds > 999)
        return false;
    const std::int64_t days = DaysFromCivil(st.wYear, st.wMonth, st.wDay) + kDays1601To1970;
    ticks = static_cast<std::uint64_t>(days * kTicksPerDay + st.wHour * 3600 * kTicksPerSecond +
                                       st.wMinute * 60 * kTicksPerSecond + st.wSecond * kTicksPerSecond +
                                       st.wMilliseconds * kTicksPerMs);
    return true;
}

std::int64_t NowTicks() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return (static_cast<std::int64_t>(ts.tv_sec) + kDays1601To1970 * 86400) * kTicksPerSecond + ts.tv_nsec / 100;
}

// The zone's state at a Unix time: its UTC offset in seconds and whether it is summer time.
struct ZoneState {
    long offset = 0;
    bool dst = false;
    const char* name = "";
    bool operator==(const ZoneState& o) const { return offset == o.offset && dst == o.dst; }
};

// tzset() stats the zone file on every call; it only needs to run when TZ changed (tests and
// the user may set it while the program runs). A changed system zone file is read at start.
void RefreshTimeZone() {
    static std::mutex lock;
    static bool loaded = false, lastSet = false;
    static std::string last;
    const std::lock_guard<std::mutex> guard(lock);
    const char* tz = std::getenv("TZ");
    if (loaded && lastSet == (tz != nullptr) && (!tz || last == tz)) return;
    tzset();
    loaded = true;
    lastSet = tz != nullptr;
    last = tz ? tz : "";
}

ZoneState ZoneAt(std::int64_t unixTime) {
    const time_t t = static_cast<time_t>(unixTime);
    tm local{};
    ZoneState z;
    if (!localtime_r(&t, &local)) return z;
    z.offset = local.tm_gmtoff;
    z.dst = local.tm_isdst > 0;
    z.name = local.tm_zone ? local.tm_zone : "";
    return z;
}

std::int64_t TicksToUnixFloor(std::int64_t ticks) {
    return FloorDiv(ticks, kTicksPerSecond) - kDays1601To1970 * 86400;
}

void CopyName(WCHAR (&dest)[32], const char* name) {
    std::size_t i = 0;
    for (; name[i] && i < 31; ++i) dest[i] = static_cast<unsigned char>(name[i]);
    dest[i] = 0;
}

// A yearly rule for a change that happens at the local clock time `localUnix` (local clock
// expressed as seconds since 1970 as if it were UTC).
SYSTEMTIME RuleFor(std::int64_t localUnix) {
    SYSTEMTIME st = TicksToSystemTime(static_cast<std::uint64_t>((localUnix + kDays1601To1970 * 86400) * kTicksPerSecond));
    const unsigned mday = st.wDay;
    st.wDay = static_cast<WORD>(mday + 7 > DaysInMonth(st.wYear, st.wMonth) ? 5 : (mday - 1) / 7 + 1);
    st.wYear = 0;
    st.wMilliseconds = 0;
    return st;
}

}  // namespace

void GetSystemTime(SYSTEMTIME* lpSystemTime) {
    if (lpSystemTime) *lpSystemTime = TicksToSystemTime(static_cast<std::uint64_t>(NowTicks()));
}

void GetLocalTime(SYSTEMTIME* lpSystemTime) {
    if (!lpSystemTime) return;
    const FILETIME utc = TicksToFileTime(static_cast<std::uint64_t>(NowTicks()));
    FILETIME local;
    if (!FileTimeToLocalFileTime(&utc, &local)) local = utc;
    *lpSystemTime = TicksToSystemTime(FileTimeToTicks(local));
}

void GetSystemTimeAsFileTime(FILETIME* lpSystemTimeAsFileTime) {
    if (lpSystemTimeAsFileTime) *lpSystemTimeAsFileTime = TicksToFileTime(static_cast<std::uint64_t>(NowTicks()));
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime) {
    if (!lpFileTime || !lpSystemTime) return Fail(ERROR_INVALID_PARAMETER);
    const std::uint64_t ticks = FileTimeToTicks(*lpFileTime);
    if (ticks > kMaxFileTime) return Fail(ERROR_INVALID_PARAMETER);
    *lpSystemTime = TicksToSystemTime(ticks);
    return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, FILETIME* lpFileTime) {
    std::uint64_t ticks;
    if (!lpSystemTime || !lpFileTime || !SystemTimeToTicks(*lpSystemTime, ticks)) return Fail(ERROR_INVALID_PARAMETER);
    *lpFileTime = TicksToFileTime(ticks);
    return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, FILETIME* lpLocalFileTime) {
    if (!lpFileTime || !lpLocalFileTime) return Fail(ERROR_INVALID_PARAMETER);
    const std::uint64_t ticks = FileTimeToTicks(*lpFileTime);
    if (ticks > kMaxFileTime) return Fail(ERROR_INVALID_PARAMETER);
    RefreshTimeZone();
    const std::int64_t offset = ZoneAt(TicksToUnixFloor(static_cast<std::int64_t>(ticks))).offset * kTicksPerSecond;
    const std::int64_t local = static_cast<std::int64_t>(ticks) + offset;
    if (local < 0 || static_cast<std::uint64_t>(local) > kMaxFileTime) return Fail(ERROR_INVALID_PARAMETER);
    *lpLocalFileTime = TicksToFileTime(static_cast<std::uint64_t>(local));
    return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, FILETIME* lpFileTime) {
    if (!lpLocalFileTime || !lpFileTime) return Fail(ERROR_INVALID_PARAMETER);
    const std::uint64_t ticks = FileTimeToTicks(*lpLocalFileTime);
    if (ticks > kMaxFileTime) return Fail(ERROR_INVALID_PARAMETER);
    RefreshTimeZone();
    const auto local = static_cast<std::int64_t>(ticks);
    // The offset in effect at the UTC instant the local time names; a time in the hour that a
    // change skips or repeats takes the offset from before the change.
    const std::int64_t localUnix = TicksToUnixFloor(local);
    const long first = ZoneAt(localUnix).offset;
    const long offset = ZoneAt(localUnix - first).offset;
    const std::int64_t utc = local - static_cast<std::int64_t>(offset) * kTicksPerSecond;
    if (utc < 0 || static_cast<std::uint64_t>(utc) > kMaxFileTime) return Fail(ERROR_INVALID_PARAMETER);
    *lpFileTime = TicksToFileTime(static_cast<std::uint64_t>(utc));
    return TRUE;
}

BOOL FileTimeToDosDateTime(const FILETIME* lpFileTime, WORD* lpFatDate, WORD* lpFatTime) {
    if (!lpFileTime || !lpFatDate || !lpFatTime) return Fail(ERROR_INVALID_PARAMETER);
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(lpFileTime, &st)) return FALSE;
    if (st.wYear < 1980 || st.wYear > 2107) return Fail(ERROR_INVALID_PARAMETER);
    *lpFatDate = static_cast<WORD>(((st.wYear - 1980) << 9) | (st.wMonth << 5) | st.wDay);
    *lpFatTime = static_cast<WORD>((st.wHour << 11) | (st.wMinute << 5) | (st.wSecond / 2));
    return TRUE;
}

BOOL DosDateTimeToFileTime(WORD wFatDate, WORD wFatTime, FILETIME* lpFileTime) {
    if (!lpFileTime) return Fail(ERROR_INVALID_PARAMETER);
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(1980 + (wFatDate >> 9));
    st.wMonth = static_cast<WORD>((wFatDate >> 5) & 0x0F);
    st.wDay = static_cast<WORD>(wFatDate & 0x1F);
    st.wHour = static_cast<WORD>(wFatTime >> 11);
    st.wMinute = static_cast<WORD>((wFatTime >> 5) & 0x3F);
    st.wSecond = static_cast<WORD>((wFatTime & 0x1F) * 2);
    return SystemTimeToFileTime(&st, lpFileTime);
}

LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2) {
    const std::uint64_t a = FileTimeToTicks(*lpFileTime1), b = FileTimeToTicks(*lpFileTime2);
    return a < b ? -1 : (a > b ? 1 : 0);
}

DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* tzi) {
    if (!tzi) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    RefreshTimeZone();
    *tzi = TIME_ZONE_INFORMATION{};
    const std::int64_t now = static_cast<std::int64_t>(time(nullptr));
    const ZoneState current = ZoneAt(now);
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(FloorDiv(now + current.offset, 86400), y, m, d);

    // Find this year's changes: walk the year a day at a time, then narrow each change to the second.
    const std::int64_t begin = DaysFromCivil(y, 1, 1) * 86400 - 86400;
    const std::int64_t end = DaysFromCivil(y + 1, 1, 1) * 86400 + 86400;
    bool haveStd = !current.dst, haveDst = current.dst;
    ZoneState standard = current, daylight = current;
    std::int64_t toDst = 0, toStd = 0;
    bool foundToDst = false, foundToStd = false;
    ZoneState prev = ZoneAt(begin);
    for (std::int64_t t = begin + 86400; t <= end; t += 86400) {
        const ZoneState cur = ZoneAt(t);
        if (cur == prev) continue;
        std::int64_t lo = t - 86400, hi = t;  // prev state at lo, cur state at hi
        while (hi - lo > 1) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            (ZoneAt(mid) == prev ? lo : hi) = mid;
        }
        if (!prev.dst && cur.dst) {
            toDst = hi;
            foundToDst = true;
            standard = prev;
            daylight = cur;
            haveStd = haveDst = true;
        } else if (prev.dst && !cur.dst) {
            toStd = hi;
            foundToStd = true;
            standard = cur;
            daylight = prev;
            haveStd = haveDst = true;
        }
        prev = cur;
    }
    if (!haveStd) {  // all year in summer time: assume the usual hour
        standard.offset = current.offset - 3600;
        standard.name = current.name;
    }
    tzi->Bias = static_cast<LONG>(-standard.offset / 60);
    CopyName(tzi->StandardName, standard.name);
    if (!(foundToDst && foundToStd)) {
        CopyName(tzi->DaylightName, haveDst ? daylight.name : standard.name);
        return TIME_ZONE_ID_UNKNOWN;
    }
    CopyName(tzi->DaylightName, daylight.name);
    tzi->DaylightBias = static_cast<LONG>(-(daylight.offset - standard.offset) / 60);
    tzi->DaylightDate = RuleFor(toDst + standard.offset);
    tzi->StandardDate = RuleFor(toStd + daylight.offset);
    return current.dst ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}

ULONGLONG GetTickCount64() {
    timespec ts;
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<ULONGLONG>(ts.tv_sec) * 1000 + static_cast<ULONGLONG>(ts.tv_nsec) / 1000000;
}

DWORD GetTickCount() { return static_cast<DWORD>(GetTickCount64()); }

void Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == INFINITE) {
        for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount) {
    if (!lpPerformanceCount) return Fail(ERROR_INVALID_PARAMETER);
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    lpPerformanceCount->QuadPart = static_cast<LONGLONG>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency) {
    if (!lpFrequency) return Fail(ERROR_INVALID_PARAMETER);
    lpFrequency->QuadPart = 1000000000;
    return TRUE;
}

// TDateTime ----------------------------------------------------------------------------------

std::int64_t DateTimeToMSecs(TDateTime value) {
    if (!std::isfinite(value)) return 0;
    value = std::clamp(value, -1.2e7, 1.2e7);  // beyond every FILETIME; keeps the arithmetic defined
    const double day = std::trunc(value);
    const double time = std::fabs(value - day);  // the fraction is a time of day on either side of 0
    return static_cast<std::int64_t>(day) * MSecsPerDay + std::llround(time * MSecsPerDay);
}

TDateTime MSecsToDateTime(std::int64_t msecs) {
    const std::int64_t day = FloorDiv(msecs, MSecsPerDay);
    const double time = static_cast<double>(msecs - day * MSecsPerDay) / MSecsPerDay;
    return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

TDateTime FileTimeToDateTime(const FILETIME& ft) {
    const auto ticks = static_cast<std::int64_t>(FileTimeToTicks(ft) & kMaxFileTime);
    return MSecsToDateTime(ticks / kTicksPerMs - kDays1601To1899 * MSecsPerDay);
}

bool DateTimeToFileTime(TDateTime value, FILETIME& ft) {
    const std::int64_t ms = DateTimeToMSecs(value) + kDays1601To1899 * MSecsPerDay;
    if (ms < 0 || !std::isfinite(value)) return false;
    ft = TicksToFileTime(static_cast<std::uint64_t>(ms) * kTicksPerMs);
    return true;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st) {
    std::uint64_t ticks;
    if (!SystemTimeToTicks(st, ticks)) return 0;
    return FileTimeToDateTime(TicksToFileTime(ticks));
}

bool DateTimeToSystemTime(TDateTime value, SYSTEMTIME& st) {
    FILETIME ft;
    return DateTimeToFileTime(value, ft) && FileTimeToSystemTime(&ft, &st);
}

TDateTime UnixToDateTime(std::int64_t unixTime) {
    unixTime = std::clamp<std::int64_t>(unixTime, -1000000000000, 1000000000000);
    return MSecsToDateTime((unixTime + static_cast<std::int64_t>(UnixDateDelta) * 86400) * 1000);
}

std::int64_t DateTimeToUnix(TDateTime value) {
    return FloorDiv(DateTimeToMSecs(value), 1000) - static_cast<std::int64_t>(UnixDateDelta) * 86400;
}

bool IsLeapYear(WORD year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

TDateTime IncMonth(TDateTime value, int months) {
    WORD y, m, d;
    DecodeDate(value, y, m, d);
    const long long total = std::clamp<long long>(static_cast<long long>(y) * 12 + (m - 1) + months, 12, 9999LL * 12 + 11);
    const WORD year = static_cast<WORD>(total / 12), month = static_cast<WORD>(total % 12 + 1);
    TDateTime date = 0;
    TryEncodeDate(year, month, std::min<WORD>(d, static_cast<WORD>(DaysInMonth(year, month))), date);
    // The time of day is the fraction's size whatever the sign (see TDateTime).
    const TDateTime time = std::fabs(value - std::trunc(value));
    return date >= 0 ? date + time : date - time;
}

bool TryEncodeDate(WORD year, WORD month, WORD day, TDateTime& value) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    value = static_cast<double>(DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30));
    return true;
}

bool TryEncodeTime(WORD hour, WORD min, WORD sec, WORD msec, TDateTime& value) {
    if (hour > 23 || min > 59 || sec > 59 || msec > 999) return false;
    value = static_cast<double>(((hour * 60 + min) * 60 + sec) * 1000 + msec) / MSecsPerDay;
    return true;
}

void DecodeDate(TDateTime value, WORD& year, WORD& month, WORD& day) {
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(FloorDiv(DateTimeToMSecs(value), MSecsPerDay) + DaysFromCivil(1899, 12, 30), y, m, d);
    if (y < 1 || y > 9999) {
        year = month = day = 0;
        return;
    }
    year = static_cast<WORD>(y);
    month = static_cast<WORD>(m);
    day = static_cast<WORD>(d);
}

void DecodeTime(TDateTime value, WORD& hour, WORD& min, WORD& sec, WORD& msec) {
    const std::int64_t ms = DateTimeToMSecs(value);
    std::int64_t rest = ms - FloorDiv(ms, MSecsPerDay) * MSecsPerDay;
    hour = static_cast<WORD>(rest / 3600000);
    rest %= 3600000;
    min = static_cast<WORD>(rest / 60000);
    rest %= 60000;
    sec = static_cast<WORD>(rest / 1000);
    msec = static_cast<WORD>(rest % 1000);
}

int DayOfWeek(TDateTime value) {
    const std::int64_t day = FloorDiv(DateTimeToMSecs(value), MSecsPerDay);  // 0 = Saturday
    return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;
}
