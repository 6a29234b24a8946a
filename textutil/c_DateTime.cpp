// c_DateTime: calendar encoding and split, rounding on instants, and the current time.

#include "textutil/c_DateTime.h"

#include "textutil/CalendarTables.h"

#include <windows.h>

#include <cmath>

namespace {

using n_Calendar::CUMULATIVE_DAYS;

constexpr std::int64_t DAY = c_DateTime::MICROSECONDS_PER_DAY;
constexpr std::int64_t SECOND = c_DateTime::MICROSECONDS_PER_SECOND;
// Absolute day numbers count from 0000-01-01; 1899-12-30 is this one.
constexpr std::int64_t ABSOLUTE_DAY_OF_1899_12_30 = 693959;
constexpr std::int64_t DAYS_PER_400_YEARS = 146097;
// A century whose first year is not a leap year, and four years of which the first is one.
constexpr int DAYS_PER_100_YEARS = 36524;
constexpr int DAYS_PER_4_YEARS = 1461;
constexpr int DAY_OF_YEAR_OF_FEBRUARY_29 = 59;
// FILETIME counts 100 ns units from 1601-01-01.
constexpr std::int64_t TICKS_1601_TO_1970 = 116444736000000000;

struct s_Date {
    int m_Year;
    int m_Month;
    int m_Day;
};

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

// The count of whole units nearest to the instant, halves going to the later one.
std::int64_t RoundToUnits(std::int64_t instant, std::int64_t unit) {
    const std::int64_t units = FloorDivide(instant, unit);
    return (instant - units * unit) * 2 >= unit ? units + 1 : units;
}

struct s_DayAndTime {
    std::int64_t m_DayNumber;
    std::int64_t m_TimeOfDay;
};

// The instant rounded to whole units, as its day number and time of day. The unit is a constant so
// that no division here needs a divide instruction.
template <std::int64_t UNIT> s_DayAndTime RoundInstant(std::int64_t instant) {
    constexpr std::int64_t UNITS_PER_DAY = DAY / UNIT;
    const std::int64_t units = RoundToUnits(instant, UNIT);
    const std::int64_t dayNumber = FloorDivide(units, UNITS_PER_DAY);
    return {dayNumber, (units - dayNumber * UNITS_PER_DAY) * UNIT};
}

// Floor division keeps the leap-day count right for years below 0, so they stay distinct and ordered.
std::int64_t AbsoluteDayNumber(int year, int month, int day) {
    const std::int64_t y = year;
    const std::int64_t leapDays = FloorDivide(y, 4) - FloorDivide(y, 100) + FloorDivide(y, 400);
    const int leapDayStillAhead = month <= 2 && c_DateTime::IsLeapYear(year) ? 1 : 0;
    return 365 * y + leapDays + CUMULATIVE_DAYS[month - 1] + day - leapDayStillAhead;
}

// Month and day of a 0-based day of the year.
s_Date SplitDayOfYear(int year, int dayOfYear, bool leapYear) {
    if (leapYear) {
        if (dayOfYear == DAY_OF_YEAR_OF_FEBRUARY_29) {
            return {year, 2, 29};
        }
        if (dayOfYear > DAY_OF_YEAR_OF_FEBRUARY_29) {
            --dayOfYear;
        }
    }
    ++dayOfYear;
    // No month is shorter than 28 days, so the month is this guess or the next; no branch to mispredict.
    int month = dayOfYear / 32 + 1;
    month += dayOfYear > CUMULATIVE_DAYS[month] ? 1 : 0;
    return {year, month, dayOfYear - CUMULATIVE_DAYS[month - 1]};
}

// Walks 400-year cycles, centuries, four-year blocks and years. Within a cycle the first century
// keeps its leap year 0, and the first block of every other century has none.
s_Date SplitAbsoluteDay(std::int64_t absoluteDay) {
    const std::int64_t cycles = FloorDivide(absoluteDay, DAYS_PER_400_YEARS);
    // Within a cycle everything fits an int, whose divisions by constants are cheaper.
    int rest = static_cast<int>(absoluteDay - cycles * DAYS_PER_400_YEARS);
    const int centuries = (rest - 1) / DAYS_PER_100_YEARS;
    int blocks = 0;
    bool blockHasLeapYear = true;
    if (centuries != 0) {
        rest = (rest - 1) % DAYS_PER_100_YEARS;
        blocks = (rest + 1) / DAYS_PER_4_YEARS;
        if (blocks != 0) {
            rest = (rest + 1) % DAYS_PER_4_YEARS;
        } else {
            blockHasLeapYear = false;
        }
    } else {
        blocks = rest / DAYS_PER_4_YEARS;
        rest %= DAYS_PER_4_YEARS;
    }
    int years = 0;
    if (blockHasLeapYear) {
        years = (rest - 1) / 365;
        if (years != 0) {
            rest = (rest - 1) % 365;
        }
    } else {
        years = rest / 365;
        rest %= 365;
    }
    const int year = static_cast<int>(400 * cycles) + 100 * centuries + 4 * blocks + years;
    return SplitDayOfYear(year, rest, blockHasLeapYear && years == 0);
}

s_Date SplitDayNumber(std::int64_t dayNumber) {
    return SplitAbsoluteDay(dayNumber + ABSOLUTE_DAY_OF_1899_12_30);
}

} // namespace

bool c_DateTime::IsValidDate(int year, int month, int day) {
    if (year < MIN_YEAR || year > MAX_YEAR || month < 1 || month > 12 || day < 1) {
        return false;
    }
    const int leapDay = month == 2 && IsLeapYear(year) ? 1 : 0;
    return day <= n_Calendar::MONTH_LENGTHS[month] + leapDay;
}

std::int64_t c_DateTime::EncodeWithTimeOfDay(int year, int month, int day, std::int64_t timeOfDay) {
    if (!IsValidDate(year, month, day)) {
        return 0;
    }
    const std::int64_t dayNumber = AbsoluteDayNumber(year, month, day) - ABSOLUTE_DAY_OF_1899_12_30;
    return FromInstant(dayNumber * DAY + timeOfDay);
}

std::int64_t c_DateTime::FromInstant(std::int64_t instant) {
    const std::int64_t dayNumber = FloorDivide(instant, DAY);
    if (dayNumber >= 0) {
        return instant;
    }
    return dayNumber * DAY - (instant - dayNumber * DAY);
}

c_DateTime c_DateTime::FromDaysDouble(double days) {
    if (days == 0.0) {
        return c_DateTime();
    }
    return c_DateTime(std::llround(days * 8.64e10));
}

void c_DateTime::GetDateTimeParts(int& year, int& month, int& day, int& hour, int& minute, int& second, int& subSecond,
                                  bool microseconds) const {
    const s_DayAndTime rounded = subSecond == ROUND_TO_SECOND ? RoundInstant<SECOND>(GetInstant())
                                 : microseconds               ? RoundInstant<1>(GetInstant())
                                                : RoundInstant<MICROSECONDS_PER_MILLISECOND>(GetInstant());
    const s_Date date = SplitDayNumber(rounded.m_DayNumber);
    year = date.m_Year;
    month = date.m_Month;
    day = date.m_Day;
    const std::int64_t timeOfDay = rounded.m_TimeOfDay;
    hour = static_cast<int>(timeOfDay / MICROSECONDS_PER_HOUR);
    minute = static_cast<int>(timeOfDay % MICROSECONDS_PER_HOUR / MICROSECONDS_PER_MINUTE);
    second = static_cast<int>(timeOfDay % MICROSECONDS_PER_MINUTE / SECOND);
    const int fraction = static_cast<int>(timeOfDay % SECOND);
    subSecond = microseconds ? fraction : fraction / 1000;
}

void c_DateTime::GetDatePartsOfDayNumber(int dayNumber, int& year, int& month, int& day) {
    const s_Date date = SplitDayNumber(dayNumber);
    year = date.m_Year;
    month = date.m_Month;
    day = date.m_Day;
}

int c_DateTime::GetDay() const {
    return SplitDayNumber(GetDayNumber()).m_Day;
}

int c_DateTime::GetYear() const {
    return SplitDayNumber(GetDayNumber()).m_Year;
}

const char* c_DateTime::GetDayName(int weekday) {
    return weekday >= 0 && weekday < 7 ? n_Calendar::DAY_NAMES[weekday] : "";
}

void c_DateTime::RoundToSecond() {
    if (m_Value <= -DAY) {
        m_Value = FromInstant(RoundToUnits(GetInstant(), SECOND) * SECOND);
        return;
    }
    AddHalfSecondAwayFromZero();
    TruncateToSecond();
}

c_DateTime GetCurrentDateTimeUTC() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const std::int64_t ticks = std::int64_t((std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    return c_DateTime::FromTicksSince1970(ticks - TICKS_1601_TO_1970);
}

c_DateTime GetCurrentDateTimeUTCWholeSeconds() {
    const std::int64_t now = GetCurrentDateTimeUTC().GetValue();
    return c_DateTime(now - now % SECOND);
}

c_DateTime GetCurrentDateUTC() {
    const std::int64_t now = GetCurrentDateTimeUTC().GetValue();
    return c_DateTime(now - now % DAY);
}

c_DateTime GetCurrentLocalDateTime() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    return c_DateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond);
}

std::int64_t GetTickCountBaseMilliseconds() {
    return GetCurrentDateTimeUTC().GetMillisecondsRounded() - static_cast<std::int64_t>(GetTickCount64());
}

c_DateTime DateFromYYYYMMDD(int yyyymmdd) {
    return c_DateTime(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100, 0, 0, 0);
}

int DateToYYYYMMDD(const c_DateTime& value) {
    if (value.IsZero()) {
        return 0;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    value.GetDateParts(year, month, day);
    return year * 10000 + month * 100 + day;
}
