// Tests of the n_OSLayer time wrappers.

#include "oslayer/system/TimeCalls.h"

#include "platform/testing/c_ScopedTimeZone.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// 2001-02-03 04:05:06 UTC in 100-nanosecond units since 1601.
constexpr std::uint64_t FEBRUARY_2001 = 126256467060000000ull;

TEST(TimeCalls, FileTimesKeepTheirMicroseconds) {
    const struct {
        std::uint64_t m_FileTime;
        c_DateTime m_Expected;
    } cases[] = {
        {FEBRUARY_2001, c_DateTime(2001, 2, 3, 4, 5, 6)},
        {FEBRUARY_2001 + 12345, c_DateTime(c_DateTime(2001, 2, 3, 4, 5, 6, 1).GetValue() + 234)},
        {0, c_DateTime(1601, 1, 1, 0, 0, 0)},
    };
    for (const auto& row : cases) {
        const c_DateTime converted = n_OSLayer::FileTimeToDateTime(row.m_FileTime);
        EXPECT_EQ(converted.GetValue(), row.m_Expected.GetValue()) << row.m_FileTime;
        EXPECT_EQ(n_OSLayer::DateTimeToFileTime(converted), static_cast<std::int64_t>(row.m_FileTime / 10 * 10));
    }
    EXPECT_EQ(n_OSLayer::FileTimeToDateTime(0xFFFFFFFFFFFFFFFFull).GetValue(), 0) << "no date holds it";
}

TEST(TimeCalls, LocalFileTimesFollowTheZone) {
    const n_Platform::c_ScopedTimeZone zone("XYZ-3");
    EXPECT_EQ(n_OSLayer::FileTimeToLocalDateTime(FEBRUARY_2001 + 12345).GetValue(),
              c_DateTime(2001, 2, 3, 7, 5, 6, 1).GetValue() + 234);
}

TEST(TimeCalls, CurrentDateTimeAndParts) {
    std::int32_t milliseconds = -1;
    const c_DateTime date = n_OSLayer::GetCurrentDateTime(false, true, false, &milliseconds);
    EXPECT_GE(milliseconds, 0);
    EXPECT_EQ(date.GetTimeOfDay(), 0);
    const c_DateTime withTime = n_OSLayer::GetCurrentDateTime(true, true, false, nullptr);
    EXPECT_EQ(withTime.GetValue() % c_DateTime::MICROSECONDS_PER_SECOND, 0);
    EXPECT_LE(withTime.GetValue() - date.GetValue(), c_DateTime::MICROSECONDS_PER_DAY);
    std::int32_t year, month, day, hour, minute, second, millisecond;
    n_OSLayer::GetDateTimeParts(c_DateTime(2024, 1, 5, 13, 4, 9, 7), &year, &month, &day, &hour, &minute, &second,
                                &millisecond);
    EXPECT_EQ(year * 10000 + month * 100 + day, 20240105);
    EXPECT_EQ(hour * 10000 + minute * 100 + second, 130409);
    EXPECT_EQ(millisecond, 7);
    EXPECT_LE(n_OSLayer::GetTickCount64() / 1000 % 0x100000000ull / 1000, 0xFFFFFFFFull);
    EXPECT_GT(n_OSLayer::GetTickCount64(), 0u);
}

TEST(TimeCalls, SystemTimeAdjustmentIsTheSystemsReading) {
    DWORD adjustment = 0;
    DWORD increment = 0;
    BOOL disabled = FALSE;
    ASSERT_TRUE(GetSystemTimeAdjustment(&adjustment, &increment, &disabled));
    std::uint32_t wrappedAdjustment = 0;
    std::uint32_t wrappedIncrement = 0;
    bool wrappedDisabled = !disabled;
    EXPECT_TRUE(n_OSLayer::GetSystemTimeAdjustment(&wrappedAdjustment, &wrappedIncrement, &wrappedDisabled));
    EXPECT_EQ(wrappedAdjustment, adjustment);
    EXPECT_EQ(wrappedIncrement, increment);
    EXPECT_GT(wrappedIncrement, 0u);
    EXPECT_EQ(wrappedDisabled, disabled != FALSE);
}

} // namespace
