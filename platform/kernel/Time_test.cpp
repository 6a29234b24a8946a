// Tests of clocks, the system time and FILETIME conversions.

#include "platform/testing/c_ScopedTimeZone.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

constexpr std::uint64_t TICKS_PER_SECOND = 10000000;

FILETIME MakeFileTime(std::uint64_t value) {
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

std::uint64_t ReadFileTime(const FILETIME& time) {
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::string Show(const SYSTEMTIME& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u dow %u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond, time.wMilliseconds, time.wDayOfWeek);
    return text;
}

struct s_TimeCase {
    std::uint64_t m_FileTime;
    const char* m_Expected;
};

TEST(FileTimeToSystemTime, SplitsAndJoinsAgain) {
    const s_TimeCase cases[] = {
        {0, "1601-01-01 00:00:00.000 dow 1"},
        {116444736000000000, "1970-01-01 00:00:00.000 dow 4"},
        {125911584000000000 + 452967890000, "2000-01-01 12:34:56.789 dow 6"},
        {125962560000000000, "2000-02-29 00:00:00.000 dow 2"},
        {2650467743999990000, "9999-12-31 23:59:59.999 dow 5"},
    };
    for (const s_TimeCase& row : cases) {
        const FILETIME fileTime = MakeFileTime(row.m_FileTime);
        SYSTEMTIME systemTime;
        ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &systemTime)) << row.m_Expected;
        EXPECT_EQ(Show(systemTime), row.m_Expected);
        FILETIME back;
        ASSERT_TRUE(SystemTimeToFileTime(&systemTime, &back));
        EXPECT_EQ(ReadFileTime(back), row.m_FileTime / 10000 * 10000) << row.m_Expected;
    }
    const FILETIME tooLarge = MakeFileTime(0x8000000000000000ull);
    SYSTEMTIME ignored;
    EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &ignored));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

struct s_InvalidCase {
    const char* m_Name;
    SYSTEMTIME m_Time;
};

TEST(SystemTimeToFileTime, RejectsImpossibleDates) {
    const s_InvalidCase cases[] = {
        {"month 13", {2001, 13, 0, 1, 0, 0, 0, 0}},         {"30 February", {2000, 2, 0, 30, 0, 0, 0, 0}},
        {"29 February 1900", {1900, 2, 0, 29, 0, 0, 0, 0}}, {"hour 24", {2001, 1, 0, 1, 24, 0, 0, 0}},
        {"year 1600", {1600, 12, 0, 31, 0, 0, 0, 0}},       {"millisecond 1000", {2001, 1, 0, 1, 0, 0, 0, 1000}},
    };
    for (const s_InvalidCase& row : cases) {
        FILETIME fileTime;
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&row.m_Time, &fileTime)) << row.m_Name;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << row.m_Name;
    }
}

TEST(SystemTime, AgreesWithTheCLibrary) {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const std::int64_t seconds = static_cast<std::int64_t>(ReadFileTime(now) / TICKS_PER_SECOND) - 11644473600;
    EXPECT_LE(std::llabs(seconds - static_cast<std::int64_t>(std::time(nullptr))), 2);
    SYSTEMTIME split;
    GetSystemTime(&split);
    FILETIME joined;
    ASSERT_TRUE(SystemTimeToFileTime(&split, &joined));
    const std::int64_t difference = std::int64_t(ReadFileTime(joined) - ReadFileTime(now));
    EXPECT_LE(std::llabs(difference), std::int64_t(2 * TICKS_PER_SECOND));
}

// Zone rules come from TZ; POSIX writes the offset west of Greenwich.
TEST(SystemTimeToTzSpecificLocalTime, UsesTheCurrentZone) {
    const n_Platform::c_ScopedTimeZone eastern("EST5");
    const SYSTEMTIME universal = {2020, 1, 0, 1, 3, 0, 0, 250};
    SYSTEMTIME local;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local));
    EXPECT_EQ(Show(local), "2019-12-31 22:00:00.250 dow 2");
    SYSTEMTIME localNow;
    SYSTEMTIME universalNow;
    GetLocalTime(&localNow);
    GetSystemTime(&universalNow);
    EXPECT_EQ((universalNow.wHour + 24 - localNow.wHour) % 24, 5);
    TIME_ZONE_INFORMATION* zone = reinterpret_cast<TIME_ZONE_INFORMATION*>(&local);
    EXPECT_FALSE(SystemTimeToTzSpecificLocalTime(zone, &universal, &local));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
}

TEST(Clocks, CountForwardAtTheirRates) {
    LARGE_INTEGER frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 10000000);
    LARGE_INTEGER before;
    LARGE_INTEGER after;
    QueryPerformanceCounter(&before);
    const ULONGLONG ticksBefore = GetTickCount64();
    // The real clock moves by itself: watch it pass five ticks.
    ULONGLONG ticksAfter = ticksBefore;
    while (ticksAfter - ticksBefore < 5) {
        ticksAfter = GetTickCount64();
    }
    QueryPerformanceCounter(&after);
    EXPECT_LT(ticksAfter - ticksBefore, 5000u);
    EXPECT_GE(after.QuadPart - before.QuadPart, 40000);
}

} // namespace
