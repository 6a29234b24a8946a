// Tests of c_DateTime: encoding and split against an independent calendar, rounding, weekdays,
// time-of-day members and the clocks.

#include "textutil/c_DateTime.h"

#include "platform/testing/TestClock.h"
#include "platform/testing/c_ScopedTimeZone.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

constexpr std::int64_t DAY = c_DateTime::MICROSECONDS_PER_DAY;
constexpr std::int64_t HOUR = c_DateTime::MICROSECONDS_PER_HOUR;
constexpr std::int64_t MINUTE = c_DateTime::MICROSECONDS_PER_MINUTE;
constexpr std::int64_t SECOND = c_DateTime::MICROSECONDS_PER_SECOND;

// The reference calendar: days from 1970-01-01 of a proleptic Gregorian date and back, by eras of
// 400 years starting in March (H. Hinnant's algorithms), written apart from the code under test.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct s_Civil {
    int m_Year;
    int m_Month;
    int m_Day;
};

s_Civil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2)), static_cast<int>(m),
            static_cast<int>(d)};
}

// 1970-01-01 was a Thursday.
int WeekdayFromDays(std::int64_t z) {
    return static_cast<int>(z >= -4 ? (z + 4) % 7 : (z + 5) % 7 + 6);
}

const std::int64_t REFERENCE_EPOCH = DaysFromCivil(1899, 12, 30);

// The value of a date and time of day after the data model: the time is subtracted before 1899-12-30.
std::int64_t ExpectedValue(std::int64_t dayNumber, std::int64_t timeOfDay) {
    return dayNumber >= 0 ? dayNumber * DAY + timeOfDay : dayNumber * DAY - timeOfDay;
}

struct s_Parts {
    int m_Year, m_Month, m_Day, m_Hour, m_Minute, m_Second, m_SubSecond;
    bool operator==(const s_Parts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const s_Parts& p) {
    return out << p.m_Year << '-' << p.m_Month << '-' << p.m_Day << ' ' << p.m_Hour << ':' << p.m_Minute << ':'
               << p.m_Second << '.' << p.m_SubSecond;
}

s_Parts Split(std::int64_t value, int subSecond, bool microseconds) {
    s_Parts p{};
    p.m_SubSecond = subSecond;
    c_DateTime(value).GetDateTimeParts(p.m_Year, p.m_Month, p.m_Day, p.m_Hour, p.m_Minute, p.m_Second, p.m_SubSecond,
                                       microseconds);
    return p;
}

constexpr int TO_SECOND = c_DateTime::ROUND_TO_SECOND;

// One loop over 3.65 million days; a counter and the first failing day keep it fast.
TEST(DateTimeCalendar, EveryDayFromYear0To9999MatchesTheReference) {
    constexpr std::int64_t TIME_OF_DAY = 12 * HOUR + 34 * MINUTE + 56 * SECOND + 789000;
    const std::int64_t first = DaysFromCivil(0, 1, 1);
    const std::int64_t last = DaysFromCivil(9999, 12, 31);
    int failures = 0;
    std::string firstFailure;
    std::int64_t previousMidnight = c_DateTime::Encode(-1, 12, 31, 0, 0, 0, 0);
    for (std::int64_t days = first; days <= last; ++days) {
        const s_Civil civil = CivilFromDays(days);
        const std::int64_t dayNumber = days - REFERENCE_EPOCH;
        const std::int64_t value = c_DateTime::Encode(civil.m_Year, civil.m_Month, civil.m_Day, 12, 34, 56, 789);
        const std::int64_t midnight = c_DateTime::Encode(civil.m_Year, civil.m_Month, civil.m_Day, 0, 0, 0, 0);
        const s_Parts parts = Split(value, 0, false);
        const bool ok = value == ExpectedValue(dayNumber, TIME_OF_DAY) &&
                        parts == s_Parts{civil.m_Year, civil.m_Month, civil.m_Day, 12, 34, 56, 789} &&
                        c_DateTime(value).GetDayOfWeek() == WeekdayFromDays(days) &&
                        c_DateTime::GetDayNumber(civil.m_Year, civil.m_Month, civil.m_Day) == dayNumber &&
                        midnight > previousMidnight;
        previousMidnight = midnight;
        if (!ok && failures++ == 0) {
            firstFailure =
                std::to_string(civil.m_Year) + "-" + std::to_string(civil.m_Month) + "-" + std::to_string(civil.m_Day);
        }
    }
    EXPECT_EQ(failures, 0) << "first failing date: " << firstFailure;
}

TEST(DateTimeCalendar, NegativeYearsAreDistinctOrderedAndRoundTrip) {
    const struct {
        int m_Year, m_Month, m_Day;
    } dates[] = {
        {0, 1, 1},    {-1, 12, 31},  {-1, 1, 1},     {-1, 3, 1},     {-4, 2, 29},   {-4, 3, 1},      {-100, 2, 28},
        {-100, 3, 1}, {-400, 2, 29}, {-401, 12, 31}, {-1000, 6, 15}, {-9999, 1, 1}, {-9999, 12, 31}, {-5, 2, 28},
    };
    for (const auto& d : dates) {
        SCOPED_TRACE(std::to_string(d.m_Year) + "-" + std::to_string(d.m_Month) + "-" + std::to_string(d.m_Day));
        const std::int64_t dayNumber = DaysFromCivil(d.m_Year, d.m_Month, d.m_Day) - REFERENCE_EPOCH;
        const std::int64_t value = c_DateTime::Encode(d.m_Year, d.m_Month, d.m_Day, 6, 0, 0, 0);
        EXPECT_EQ(value, ExpectedValue(dayNumber, 6 * HOUR));
        EXPECT_EQ(Split(value, TO_SECOND, false), (s_Parts{d.m_Year, d.m_Month, d.m_Day, 6, 0, 0, 0}));
    }
    EXPECT_LT(c_DateTime::Encode(-1, 12, 31, 23, 0, 0, 0), c_DateTime::Encode(0, 1, 1, 0, 0, 0, 0));
    EXPECT_EQ(c_DateTime::GetDayNumber(0, 1, 1), -693959);
    EXPECT_EQ(c_DateTime::GetDayNumber(-1, 12, 31), -693960);
    EXPECT_EQ(c_DateTime::GetDayNumber(-4, 3, 1) - c_DateTime::GetDayNumber(-4, 2, 28), 2);
    EXPECT_EQ(c_DateTime::GetDayNumber(-3, 1, 1) - c_DateTime::GetDayNumber(-4, 1, 1), 366);
    EXPECT_EQ(c_DateTime::Encode(-100, 2, 29, 0, 0, 0, 0), 0);
    EXPECT_EQ(c_DateTime::Encode(-10000, 1, 1, 0, 0, 0, 0), 0);
}

TEST(DateTimeCalendar, Encode) {
    const struct {
        const char* m_Name;
        std::int64_t m_Value;
        std::int64_t m_Expected;
    } cases[] = {
        {"epoch is the unset value", c_DateTime::Encode(1899, 12, 30, 0, 0, 0, 0), 0},
        {"1900-01-01 is day 2", c_DateTime::Encode(1900, 1, 1, 0, 0, 0, 0), 172800000000},
        {"leap day of 2000", c_DateTime::Encode(2000, 2, 29, 0, 0, 0, 0) / DAY, 36585},
        {"no leap day in 1900", c_DateTime::Encode(1900, 2, 29, 0, 0, 0, 0), 0},
        {"April has 30 days", c_DateTime::Encode(2021, 4, 31, 0, 0, 0, 0), 0},
        {"year 10000", c_DateTime::Encode(10000, 1, 1, 0, 0, 0, 0), 0},
        {"year -10000", c_DateTime::Encode(-10000, 1, 1, 0, 0, 0, 0), 0},
        {"month 13", c_DateTime::Encode(2020, 13, 1, 0, 0, 0, 0), 0},
        {"month 0", c_DateTime::Encode(2020, 0, 1, 0, 0, 0, 0), 0},
        {"day 0", c_DateTime::Encode(2020, 1, 0, 0, 0, 0, 0), 0},
        {"hour 25 is the next day", c_DateTime::Encode(2020, 1, 1, 25, 0, 0, 0),
         c_DateTime::Encode(2020, 1, 2, 1, 0, 0, 0)},
        {"before 1899 the time counts back", c_DateTime::Encode(1899, 12, 29, 6, 0, 0, 0), -108000000000},
        {"hour 25 before 1899 is the next day too", c_DateTime::Encode(1899, 12, 28, 25, 0, 0, 0),
         c_DateTime::Encode(1899, 12, 29, 1, 0, 0, 0)},
        {"a negative hour moves back across the epoch", c_DateTime::Encode(1899, 12, 30, -1, 0, 0, 0),
         c_DateTime::Encode(1899, 12, 29, 23, 0, 0, 0)},
        {"microseconds before 1899 move forward",
         c_DateTime::FromPartsWithMicroseconds(1800, 1, 1, 12, 0, 0, 250).GetValue(),
         c_DateTime::Encode(1800, 1, 1, 12, 0, 0, 0) - 250},
        {"microseconds on an invalid date", c_DateTime::FromPartsWithMicroseconds(2023, 2, 29, 0, 0, 0, 5).GetValue(),
         0},
        {"constructor with milliseconds", c_DateTime(2024, 1, 5, 13, 4, 9, 7).GetValue(),
         c_DateTime::Encode(2024, 1, 5, 13, 4, 9, 0) + 7000},
        {"ticks since 1970", c_DateTime::FromTicksSince1970(10).GetValue(), 25569 * DAY + 1},
        {"date from YYYYMMDD", DateFromYYYYMMDD(20240105).GetValue(), c_DateTime::Encode(2024, 1, 5, 0, 0, 0, 0)},
        {"YYYYMMDD of a missing day", DateFromYYYYMMDD(20230229).GetValue(), 0},
        {"YYYYMMDD of a date", DateToYYYYMMDD(c_DateTime(2024, 1, 5, 23, 0, 0)), 20240105},
        {"YYYYMMDD of no date", DateToYYYYMMDD(c_DateTime()), 0},
        {"day number and seconds", c_DateTime::FromDayNumberAndSeconds(2, 90).GetValue(), 2 * DAY + 90 * SECOND},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.m_Value, test.m_Expected) << test.m_Name;
    }
}

TEST(DateTimeCalendar, SplitRoundsAndCarriesIntoTheDate) {
    const std::int64_t lastDay2020 = c_DateTime::Encode(2020, 12, 31, 23, 59, 59, 0);
    const std::int64_t lastDay1899 = c_DateTime::Encode(1899, 12, 29, 23, 59, 59, 0);
    const struct {
        const char* m_Name;
        s_Parts m_Parts;
        s_Parts m_Expected;
    } cases[] = {
        {"half a second carries into the new year",
         Split(lastDay2020 + 500000, TO_SECOND, false),
         {2021, 1, 1, 0, 0, 0, 0}},
        {"just below half a second", Split(lastDay2020 + 499999, TO_SECOND, false), {2020, 12, 31, 23, 59, 59, 0}},
        {"milliseconds round down", Split(lastDay2020 + 999400, 0, false), {2020, 12, 31, 23, 59, 59, 999}},
        {"milliseconds carry into the next day", Split(lastDay2020 + 999600, 0, false), {2021, 1, 1, 0, 0, 0, 0}},
        {"microseconds exact", Split(lastDay2020 + 999999, 0, true), {2020, 12, 31, 23, 59, 59, 999999}},
        {"microseconds asked to round to the second",
         Split(lastDay2020 + 600000, TO_SECOND, true),
         {2021, 1, 1, 0, 0, 0, 0}},
        {"before 1899 the carry goes to the later day",
         Split(lastDay1899 - 700000, TO_SECOND, false),
         {1899, 12, 30, 0, 0, 0, 0}},
        {"before 1899 milliseconds round up in time",
         Split(lastDay1899 - 999600, 0, false),
         {1899, 12, 30, 0, 0, 0, 0}},
        {"zero is the epoch", Split(0, TO_SECOND, false), {1899, 12, 30, 0, 0, 0, 0}},
        {"negative span reads as its time of day", Split(-21600000000, TO_SECOND, false), {1899, 12, 30, 6, 0, 0, 0}},
        {"positive quarter day", Split(21600000000, TO_SECOND, false), {1899, 12, 30, 6, 0, 0, 0}},
        {"1.25 days back", Split(-108000000000, TO_SECOND, false), {1899, 12, 29, 6, 0, 0, 0}},
        {"leap day", Split(c_DateTime::Encode(2024, 2, 29, 12, 0, 0, 0), TO_SECOND, false), {2024, 2, 29, 12, 0, 0, 0}},
        {"day after February 28",
         Split(c_DateTime::Encode(2023, 3, 1, 0, 0, 0, 0), TO_SECOND, false),
         {2023, 3, 1, 0, 0, 0, 0}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.m_Parts, test.m_Expected) << test.m_Name;
    }

    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, subSecond = 0;
    c_DateTime(lastDay2020 + 999600).GetDateTimeParts(year, month, day, hour, minute, second);
    EXPECT_EQ((s_Parts{year, month, day, hour, minute, second, 0}), (s_Parts{2021, 1, 1, 0, 0, 0, 0}));
    c_DateTime(lastDay2020 + 7250).GetDateTimePartsMicro(year, month, day, hour, minute, second, subSecond);
    EXPECT_EQ(subSecond, 7250);
    c_DateTime(lastDay2020 + 999600).GetDateParts(year, month, day);
    EXPECT_EQ((s_Parts{year, month, day, 0, 0, 0, 0}), (s_Parts{2020, 12, 31, 0, 0, 0, 0}));
    EXPECT_EQ(c_DateTime(lastDay2020).GetDay(), 31);
    EXPECT_EQ(c_DateTime(lastDay1899).GetYear(), 1899);
}

TEST(DateTimeCalendar, Weekdays) {
    const c_DateTime sunday(2024, 1, 7, 15, 0, 0);
    const c_DateTime saturday(2024, 1, 13, 9, 0, 0);
    const struct {
        const char* m_Name;
        std::int64_t m_Value;
        std::int64_t m_Expected;
    } cases[] = {
        {"day 0 is a Saturday", c_DateTime::GetDayOfWeekOfDayNumber(0), 6},
        {"day -1 is a Friday", c_DateTime::GetDayOfWeekOfDayNumber(-1), 5},
        {"2024-01-07 is a Sunday", sunday.GetDayOfWeek(), 0},
        {"IsSunday", sunday.IsSunday(), 1},
        {"IsSaturday", saturday.IsSaturday(), 1},
        {"start of a Sunday's week", sunday.GetStartOfWeek().GetValue(), c_DateTime::Encode(2024, 1, 7, 0, 0, 0, 0)},
        {"start of a Saturday's week", saturday.GetStartOfWeek().GetValue(),
         c_DateTime::Encode(2024, 1, 7, 0, 0, 0, 0)},
        {"start of week of a day number", c_DateTime::GetStartOfWeekDayNumber(0), -6},
        {"same week", c_DateTime::IsSameWeek(sunday, saturday), 1},
        {"not the same week", c_DateTime::IsSameWeek(sunday, c_DateTime(2024, 1, 6, 0, 0, 0)), 0},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.m_Value, test.m_Expected) << test.m_Name;
    }
    EXPECT_STREQ(c_DateTime::GetDayName(0), "Sun");
    EXPECT_STREQ(c_DateTime::GetDayName(6), "Sat");
    EXPECT_STREQ(c_DateTime::GetDayName(7), "");
    EXPECT_STREQ(c_DateTime::GetDayName(-1), "");
}

TEST(DateTimeCalendar, TimeOfDayMembersKeepTheDayOnBothSidesOfTheEpoch) {
    const auto withTime = [](c_DateTime value, void (*edit)(c_DateTime&)) {
        edit(value);
        return value.GetValue();
    };
    const c_DateTime after(2024, 1, 5, 13, 4, 9);
    const c_DateTime before(1850, 6, 1, 13, 4, 9);
    const struct {
        const char* m_Name;
        std::int64_t m_Value;
        std::int64_t m_Expected;
    } cases[] = {
        {"hour", after.GetHour(), 13},
        {"hour before 1899", before.GetHour(), 13},
        {"seconds of day before 1899", before.GetSecondsOfDay(), 13 * 3600 + 4 * 60 + 9},
        {"set time", withTime(after, [](c_DateTime& v) { v.SetTime(1, 2, 3); }),
         c_DateTime::Encode(2024, 1, 5, 1, 2, 3, 0)},
        {"set time before 1899", withTime(before, [](c_DateTime& v) { v.SetTime(1, 2, 3, 4); }),
         c_DateTime::Encode(1850, 6, 1, 1, 2, 3, 4)},
        {"set time past midnight", withTime(before, [](c_DateTime& v) { v.SetTime(24, 30, 0); }),
         c_DateTime::Encode(1850, 6, 2, 0, 30, 0, 0)},
        {"set microseconds", withTime(after, [](c_DateTime& v) { v.SetTimeWithMicroseconds(0, 0, 1, 5); }),
         c_DateTime::Encode(2024, 1, 5, 0, 0, 1, 0) + 5},
        {"set seconds of day", withTime(before, [](c_DateTime& v) { v.SetSecondsOfDay(60); }),
         c_DateTime::Encode(1850, 6, 1, 0, 1, 0, 0)},
        {"set date part keeps the time", withTime(after, [](c_DateTime& v) { v.SetDatePart(-1); }),
         c_DateTime::Encode(1899, 12, 29, 13, 4, 9, 0)},
        {"time of day from another value",
         withTime(before, [](c_DateTime& v) { v.SetTimeOfDayFrom(c_DateTime(2024, 1, 5, 7, 0, 0)); }),
         c_DateTime::Encode(1850, 6, 1, 7, 0, 0, 0)},
        {"date part", after.GetDatePart().GetValue(), c_DateTime::Encode(2024, 1, 5, 0, 0, 0, 0)},
        {"date part before 1899", before.GetDatePart().GetValue(), c_DateTime::Encode(1850, 6, 1, 0, 0, 0, 0)},
        {"truncate to the time of day", withTime(before, [](c_DateTime& v) { v.TruncateToTimeOfDay(); }),
         -c_DateTime::TimeOfDayToMicroseconds(13, 4, 9, 0)},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.m_Value, test.m_Expected) << test.m_Name;
    }
    int hour = 0, minute = 0, second = 0;
    before.GetTimeOfDayParts(hour, minute, second);
    EXPECT_EQ((s_Parts{hour, minute, second, 0, 0, 0, 0}), (s_Parts{13, 4, 9, 0, 0, 0, 0}));
    c_DateTime::SplitSeconds(90061, hour, minute, second);
    EXPECT_EQ((s_Parts{hour, minute, second, 0, 0, 0, 0}), (s_Parts{1, 1, 1, 0, 0, 0, 0}));
}

TEST(DateTimeCalendar, ArithmeticAndRounding) {
    const auto edited = [](std::int64_t value, void (*edit)(c_DateTime&)) {
        c_DateTime v(value);
        edit(v);
        return v.GetValue();
    };
    const std::int64_t lateBefore1899 = c_DateTime::Encode(1899, 12, 29, 23, 59, 59, 700);
    const struct {
        const char* m_Name;
        std::int64_t m_Value;
        std::int64_t m_Expected;
    } cases[] = {
        {"round up", edited(1500000, [](c_DateTime& v) { v.RoundToSecond(); }), 2000000},
        {"round down", edited(1499999, [](c_DateTime& v) { v.RoundToSecond(); }), 1000000},
        {"round a negative span away from zero", edited(-1500000, [](c_DateTime& v) { v.RoundToSecond(); }), -2000000},
        {"round before 1899 into the next day", edited(lateBefore1899, [](c_DateTime& v) { v.RoundToSecond(); }), 0},
        {"truncate to the second", edited(-1700000, [](c_DateTime& v) { v.TruncateToSecond(); }), -1000000},
        {"half second away from zero", edited(-1, [](c_DateTime& v) { v.AddHalfSecondAwayFromZero(); }), -500001},
        {"half millisecond on zero", edited(0, [](c_DateTime& v) { v.AddHalfMillisecondAwayFromZero(); }), 500},
        {"make non-positive", edited(5, [](c_DateTime& v) { v.MakeNonPositive(); }), -5},
        {"add and subtract",
         edited(0,
                [](c_DateTime& v) {
                    v.AddDays(2);
                    v.SubtractSeconds(1);
                    v.AddHalfDay();
                }),
         2 * DAY - SECOND + DAY / 2},
        {"seconds rounded half away", c_DateTime(-2500000).GetSecondsRounded(), -3},
        {"milliseconds rounded", c_DateTime(2499).GetMillisecondsRounded(), 2},
        {"days from a double", c_DateTime::FromDaysDouble(1.5).GetValue(), DAY + DAY / 2},
        {"days from a negative double", c_DateTime::FromDaysDouble(-0.25).GetValue(), -DAY / 4},
        {"equals days", c_DateTime(DAY / 4).EqualsDays(0.25), 1},
        {"same hour", c_DateTime(HOUR + 5).IsSameHour(c_DateTime(2 * HOUR - 1)), 1},
        {"not the same hour", c_DateTime(HOUR - 1).IsSameHour(c_DateTime(HOUR)), 0},
        {"abs", c_DateTime(-7).Abs().GetValue(), 7},
        {"above minus one day", c_DateTime(-DAY).IsAboveMinusOneDay(), 0},
        {"two-year span", c_DateTime::GetTwoYearSpan().GetValue(), 63115200000000},
        {"time of day in microseconds", c_DateTime::TimeOfDayToMicroseconds(1, 2, 3, 4), 3723004000},
        {"seconds of hours, minutes and seconds", c_DateTime::HMSToSeconds(1, 2, 3), 3723},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.m_Value, test.m_Expected) << test.m_Name;
    }
    EXPECT_DOUBLE_EQ(c_DateTime(DAY * 3 / 2).GetDays(), 1.5);
    EXPECT_DOUBLE_EQ(c_DateTime(DAY * 365).GetYears(), 1.0);
    EXPECT_DOUBLE_EQ(c_DateTime::RoundDaysToMicrosecond(-1.0), -1.0 - 5.787037037037037e-12);
    EXPECT_DOUBLE_EQ(AddAwayFromZero(-1.0, 0.5), -1.5);
}

// Sets TZ for the test's duration and restores the previous zone.

TEST(DateTimeClock, UtcAndLocalNow) {
    const std::int64_t systemSeconds = std::time(nullptr);
    const c_DateTime now = GetCurrentDateTimeUTC();
    EXPECT_NEAR(double(now.GetValue()) / 1e6 - 25569.0 * 86400, double(systemSeconds), 2.0);
    EXPECT_EQ(GetCurrentDateTimeUTCWholeSeconds().GetValue() % SECOND, 0);
    EXPECT_EQ(GetCurrentDateUTC().GetValue() % DAY, 0);
    EXPECT_NEAR(double(GetCurrentDateUTC().GetValue()), double(now.GetValue()), double(DAY));
    {
        const n_Platform::c_ScopedTimeZone zone("UTC");
        EXPECT_NEAR(double(GetCurrentLocalDateTime().GetValue()), double(GetCurrentDateTimeUTC().GetValue()),
                    2.0 * SECOND);
    }
    {
        const n_Platform::c_ScopedTimeZone zone("Asia/Tokyo");
        EXPECT_NEAR(double(GetCurrentLocalDateTime().GetValue()), double(GetCurrentDateTimeUTC().GetValue() + 9 * HOUR),
                    2.0 * SECOND);
    }
}

// The base is the calendar time at tick count 0: it moves against the tick count, and with it the
// base plus the tick count is the calendar time.
TEST(CurrentTime, TheTickCountBaseFollowsTheLayersTickCount) {
    n_Platform::c_TestClock clock;
    const std::int64_t before = GetTickCountBaseMilliseconds();
    EXPECT_NEAR(double(before + std::int64_t(GetTickCount64())), double(GetCurrentDateTimeUTC().GetValue()) / 1000.0,
                2000.0);
    clock.Advance(3600000);
    EXPECT_NEAR(double(GetTickCountBaseMilliseconds()), double(before - 3600000), 2000.0);
}

} // namespace
