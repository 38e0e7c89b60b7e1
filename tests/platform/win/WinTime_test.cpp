#include <ctime>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/win/WinError.h"
#include "platform/win/WinTime.h"
#include "tests/support/TestSupport.h"

namespace {

struct Moment {
    std::uint64_t ticks;
    SYSTEMTIME st;  // wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds
    TDateTime dt;
    std::int64_t unixTime;
};

// The same instants in every form, around the edges the program meets.
const Moment kMoments[] = {
    {0, {1601, 1, 1, 1, 0, 0, 0, 0}, -109205.0, -11644473600},
    {94352472000000000, {1899, 12, 5, 29, 6, 0, 0, 0}, -1.25, -2209226400},
    {94353120000000000, {1899, 12, 6, 30, 0, 0, 0, 0}, 0.0, -2209161600},
    {94354416000000000, {1899, 12, 0, 31, 12, 0, 0, 0}, 1.5, -2209032000},
    {116444736000000000, {1970, 1, 4, 1, 0, 0, 0, 0}, 25569.0, 0},
    {116444735990000000, {1969, 12, 3, 31, 23, 59, 59, 0}, 25568.0 + 86399.0 / 86400, -1},
    {137919572480000000, {2038, 1, 2, 19, 3, 14, 8, 0}, 50424.0 + 11648.0 / 86400, 2147483648},
    {2650467743990000000, {9999, 12, 5, 31, 23, 59, 59, 0}, 2958465.0 + 86399.0 / 86400, 253402300799},
};

void ExpectSameSystemTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    EXPECT_EQ(a.wYear, b.wYear);
    EXPECT_EQ(a.wMonth, b.wMonth);
    EXPECT_EQ(a.wDayOfWeek, b.wDayOfWeek);
    EXPECT_EQ(a.wDay, b.wDay);
    EXPECT_EQ(a.wHour, b.wHour);
    EXPECT_EQ(a.wMinute, b.wMinute);
    EXPECT_EQ(a.wSecond, b.wSecond);
    EXPECT_EQ(a.wMilliseconds, b.wMilliseconds);
}

}  // namespace

TEST(WinTime, ConvertsBetweenEveryFormExactly) {
    for (const Moment& m : kMoments) {
        SCOPED_TRACE(m.ticks);
        const FILETIME ft = TicksToFileTime(m.ticks);
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        ExpectSameSystemTime(st, m.st);
        FILETIME back;
        ASSERT_TRUE(SystemTimeToFileTime(&m.st, &back));
        EXPECT_EQ(FileTimeToTicks(back), m.ticks);

        EXPECT_EQ(DateTimeToMSecs(FileTimeToDateTime(ft)), DateTimeToMSecs(m.dt));
        ASSERT_TRUE(DateTimeToFileTime(m.dt, back));
        EXPECT_EQ(FileTimeToTicks(back), m.ticks);
        EXPECT_EQ(DateTimeToUnix(m.dt), m.unixTime);
        EXPECT_EQ(DateTimeToMSecs(UnixToDateTime(m.unixTime)), DateTimeToMSecs(m.dt));
        ASSERT_TRUE(DateTimeToSystemTime(m.dt, st));
        ExpectSameSystemTime(st, m.st);
        EXPECT_EQ(DateTimeToMSecs(SystemTimeToDateTime(m.st)), DateTimeToMSecs(m.dt));
    }
}

TEST(WinTime, NegativeDateTimesKeepAPositiveTimeOfDay) {
    WORD y, mo, d, h, mi, s, ms;
    DecodeDate(-1.25, y, mo, d);
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ((std::vector<WORD>{y, mo, d, h, mi, s, ms}), (std::vector<WORD>{1899, 12, 29, 6, 0, 0, 0}));
    DecodeDate(-700.75, y, mo, d);
    DecodeTime(-700.75, h, mi, s, ms);
    EXPECT_EQ((std::vector<WORD>{y, mo, d, h}), (std::vector<WORD>{1898, 1, 29, 18}));
    // Millisecond values survive the trip through the double all the way to 9999.
    for (std::int64_t ms0 : {std::int64_t{1}, std::int64_t{-86400000 + 1}, std::int64_t{2958465} * MSecsPerDay + 86399999,
                             std::int64_t{-109205} * MSecsPerDay + 123})
        EXPECT_EQ(DateTimeToMSecs(MSecsToDateTime(ms0)), ms0);
    FILETIME ft;
    EXPECT_FALSE(DateTimeToFileTime(-109206.0, ft));  // before 1601
}

TEST(WinTime, EncodesAndDecodesCalendarParts) {
    TDateTime v;
    ASSERT_TRUE(TryEncodeDate(2000, 2, 29, v));
    EXPECT_EQ(v, 36585.0);
    EXPECT_EQ(DayOfWeek(v), 3);  // Tuesday
    EXPECT_EQ(DayOfWeek(0.0), 7);  // 1899-12-30 was a Saturday
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, v));
    EXPECT_FALSE(TryEncodeDate(2023, 13, 1, v));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, v));
    ASSERT_TRUE(TryEncodeDate(1, 1, 1, v));
    EXPECT_EQ(v, -693593.0);
    ASSERT_TRUE(TryEncodeTime(23, 59, 59, 999, v));
    WORD h, m, s, ms;
    DecodeTime(v, h, m, s, ms);
    EXPECT_EQ((std::vector<WORD>{h, m, s, ms}), (std::vector<WORD>{23, 59, 59, 999}));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, v));
}

TEST(WinTime, RejectsOutOfRangeValues) {
    const SYSTEMTIME bad[] = {
        {1600, 12, 0, 31, 0, 0, 0, 0}, {2023, 2, 0, 29, 0, 0, 0, 0}, {2023, 0, 0, 1, 0, 0, 0, 0},
        {2023, 1, 0, 1, 24, 0, 0, 0},  {2023, 1, 0, 1, 0, 60, 0, 0}, {2023, 1, 0, 1, 0, 0, 0, 1000},
    };
    for (const auto& st : bad) {
        FILETIME ft;
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    const FILETIME tooLate = TicksToFileTime(0x8000000000000000ull);
    SYSTEMTIME st;
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &st));
}

TEST(WinTime, DosDateTimeCoversItsRange) {
    SYSTEMTIME st{2024, 2, 0, 29, 13, 37, 58, 0};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    WORD date, time;
    ASSERT_TRUE(FileTimeToDosDateTime(&ft, &date, &time));
    EXPECT_EQ(date, ((2024 - 1980) << 9) | (2 << 5) | 29);
    EXPECT_EQ(time, (13 << 11) | (37 << 5) | 29);
    FILETIME back;
    ASSERT_TRUE(DosDateTimeToFileTime(date, time, &back));
    EXPECT_EQ(CompareFileTime(&back, &ft), 0);
    const FILETIME before1980 = TicksToFileTime(116444736000000000ull);
    EXPECT_FALSE(FileTimeToDosDateTime(&before1980, &date, &time));
    EXPECT_FALSE(DosDateTimeToFileTime((44 << 9) | (2 << 5) | 30, 0, &back));  // 30 February
    const FILETIME later = TicksToFileTime(FileTimeToTicks(ft) + 1);
    EXPECT_EQ(CompareFileTime(&ft, &later), -1);
    EXPECT_EQ(CompareFileTime(&later, &ft), 1);
}

TEST(WinTime, TimeZoneInformationFollowsTz) {
    struct Case {
        const char* tz;
        LONG bias, daylightBias;
        WORD dstMonth, dstWeek, dstHour, stdMonth, stdWeek, stdHour;
        const char16_t* stdName;
    };
    const Case cases[] = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", -60, -60, 3, 5, 2, 10, 5, 3, u"CET"},
        {"EST5EDT,M3.2.0,M11.1.0", 300, -60, 3, 2, 2, 11, 1, 2, u"EST"},
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", -600, -60, 10, 1, 2, 4, 1, 3, u"AEST"},
        {"IST-5:30", -330, 0, 0, 0, 0, 0, 0, 0, u"IST"},
        {"UTC0", 0, 0, 0, 0, 0, 0, 0, 0, u"UTC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tz);
        testsupport::ScopedEnv tz("TZ", c.tz);
        tzset();
        TIME_ZONE_INFORMATION tzi;
        const DWORD id = GetTimeZoneInformation(&tzi);
        EXPECT_EQ(tzi.Bias, c.bias);
        EXPECT_EQ(tzi.DaylightBias, c.daylightBias);
        EXPECT_EQ(WideString(tzi.StandardName), c.stdName);
        EXPECT_EQ(tzi.DaylightDate.wMonth, c.dstMonth);
        EXPECT_EQ(tzi.StandardDate.wMonth, c.stdMonth);
        if (c.dstMonth == 0) {
            EXPECT_EQ(id, TIME_ZONE_ID_UNKNOWN);
            continue;
        }
        EXPECT_TRUE(id == TIME_ZONE_ID_STANDARD || id == TIME_ZONE_ID_DAYLIGHT);
        EXPECT_EQ(tzi.DaylightDate.wYear, 0);
        EXPECT_EQ(tzi.DaylightDate.wDayOfWeek, 0);  // Sunday
        EXPECT_EQ(tzi.DaylightDate.wDay, c.dstWeek);
        EXPECT_EQ(tzi.DaylightDate.wHour, c.dstHour);
        EXPECT_EQ(tzi.StandardDate.wDay, c.stdWeek);
        EXPECT_EQ(tzi.StandardDate.wHour, c.stdHour);
    }
    tzset();
}

TEST(WinTime, LocalFileTimeUsesTheOffsetOfThatDate) {
    testsupport::ScopedEnv tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    const struct { SYSTEMTIME utc; WORD localHour; } cases[] = {
        {{2030, 1, 0, 15, 12, 0, 0, 0}, 13},  // winter: +1
        {{2030, 7, 0, 15, 12, 0, 0, 0}, 14},  // summer: +2, whatever today is
        {{2100, 7, 0, 15, 12, 0, 0, 0}, 14},
    };
    for (const auto& c : cases) {
        FILETIME utc, local, back;
        ASSERT_TRUE(SystemTimeToFileTime(&c.utc, &utc));
        ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&local, &st));
        EXPECT_EQ(st.wHour, c.localHour) << c.utc.wYear << "-" << c.utc.wMonth;
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
        EXPECT_EQ(CompareFileTime(&back, &utc), 0);
    }
    tzset();
}

TEST(WinTime, LocalFileTimeFollowsTheZoneHistory) {
    if (!std::filesystem::exists("/usr/share/zoneinfo/America/New_York")) GTEST_SKIP() << "no tz data installed";
    testsupport::ScopedEnv tz("TZ", "America/New_York");
    tzset();
    const struct { SYSTEMTIME utc; WORD localHour; } cases[] = {
        {{1960, 7, 0, 15, 12, 0, 0, 0}, 8},   // daylight time before 1970
        {{1974, 1, 0, 15, 12, 0, 0, 0}, 8},   // the winter the clocks stayed forward
        {{2006, 3, 0, 20, 12, 0, 0, 0}, 7},   // before the 2007 rule change: still standard
        {{2007, 3, 0, 20, 12, 0, 0, 0}, 8},
        {{2045, 7, 0, 15, 12, 0, 0, 0}, 8},   // after 2038
    };
    for (const auto& c : cases) {
        FILETIME utc, local, back;
        ASSERT_TRUE(SystemTimeToFileTime(&c.utc, &utc));
        ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&local, &st));
        EXPECT_EQ(st.wHour, c.localHour) << c.utc.wYear << "-" << c.utc.wMonth;
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
        EXPECT_EQ(CompareFileTime(&back, &utc), 0);
    }
    tzset();
}

TEST(WinTime, ClocksAdvance) {
    const ULONGLONG t0 = GetTickCount64();
    FILETIME a, b;
    GetSystemTimeAsFileTime(&a);
    Sleep(20);
    GetSystemTimeAsFileTime(&b);
    EXPECT_GE(GetTickCount64() - t0, 20u);
    EXPECT_EQ(CompareFileTime(&a, &b), -1);
    SYSTEMTIME st;
    GetSystemTime(&st);
    EXPECT_GE(st.wYear, 2024);
    GetLocalTime(&st);
    EXPECT_GE(st.wYear, 2024);
}
