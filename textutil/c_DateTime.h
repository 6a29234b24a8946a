#pragma once
// c_DateTime: a point in time or a span of time, as signed microseconds since 1899-12-30 00:00:00.
//
// One 64-bit integer, passed by value, with no other state. 0 means that no date is set. The day
// number is the value divided by one day, truncated toward zero; the time of day is the absolute value
// modulo one day. Negative values thus count whole days back from 1899-12-30 and keep a positive time
// of day: -1.25 days is 1899-12-29 06:00, and -0.25 days reads as 1899-12-30 06:00 like +0.25 days
// (a negative span). Dates follow the proleptic Gregorian calendar from year -9999 to 9999; times are
// UTC unless a function's name says local.
//
// Whatever moves a date through its time of day (encoding, rounding, replacing the time) works on the
// instant the value stands for, so out-of-range time parts and rounding carry to the later day before
// 1899-12-30 as after it. Everything else is plain 64-bit arithmetic without overflow checks.

#include <compare>
#include <cstdint>

class c_DateTime {
public:
    static constexpr std::int64_t MICROSECONDS_PER_MILLISECOND = 1000;
    static constexpr std::int64_t MICROSECONDS_PER_SECOND = 1000000;
    static constexpr std::int64_t MICROSECONDS_PER_MINUTE = 60000000;
    static constexpr std::int64_t MICROSECONDS_PER_HOUR = 3600000000;
    static constexpr std::int64_t MICROSECONDS_PER_DAY = 86400000000;
    static constexpr std::int64_t MICROSECONDS_PER_HALF_DAY = 43200000000;
    // 100-nanosecond ticks in the 25569 days from 1899-12-30 to 1970-01-01.
    static constexpr std::int64_t TICKS_1899_TO_1970 = 22091616000000000;
    static constexpr int MIN_YEAR = -9999;
    static constexpr int MAX_YEAR = 9999;
    // The subSecond input of GetDateTimeParts that asks for rounding to the nearest second.
    static constexpr int ROUND_TO_SECOND = -1;

    constexpr c_DateTime() = default;
    constexpr explicit c_DateTime(std::int64_t value) : m_Value(value) {}
    c_DateTime(int year, int month, int day, int hour, int minute, int second)
        : m_Value(Encode(year, month, day, hour, minute, second, 0)) {}
    c_DateTime(int year, int month, int day, int hour, int minute, int second, int millisecond)
        : m_Value(Encode(year, month, day, hour, minute, second, millisecond)) {}

    constexpr std::int64_t GetValue() const { return m_Value; }

    // --- Encoding ---

    static bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }
    // A year from -9999 to 9999, a month from 1 to 12 and a day that month has.
    static bool IsValidDate(int year, int month, int day);
    // The date plus a time of day in microseconds, which may run past either end of the day; 0 for an
    // invalid date.
    static std::int64_t EncodeWithTimeOfDay(int year, int month, int day, std::int64_t timeOfDay);
    // The time parts are not checked: hour 25 lands at 01:00 of the next day, negative parts move back.
    static std::int64_t Encode(int year, int month, int day, int hour, int minute, int second, int millisecond) {
        return EncodeWithTimeOfDay(year, month, day, TimeOfDayToMicroseconds(hour, minute, second, millisecond));
    }
    static c_DateTime FromPartsWithMicroseconds(int year, int month, int day, int hour, int minute, int second,
                                                int microsecond) {
        return c_DateTime(
            EncodeWithTimeOfDay(year, month, day, TimeOfDayToMicroseconds(hour, minute, second, 0) + microsecond));
    }
    static int GetDayNumber(int year, int month, int day) {
        return static_cast<int>(Encode(year, month, day, 0, 0, 0, 0) / MICROSECONDS_PER_DAY);
    }

    static c_DateTime FromDays(int n) { return c_DateTime(n * MICROSECONDS_PER_DAY); }
    static c_DateTime FromHours(int n) { return c_DateTime(n * MICROSECONDS_PER_HOUR); }
    static c_DateTime FromMinutes(int n) { return c_DateTime(n * MICROSECONDS_PER_MINUTE); }
    static c_DateTime FromSeconds(int n) { return c_DateTime(n * MICROSECONDS_PER_SECOND); }
    static c_DateTime FromTimeOfDay(int hour, int minute, int second) {
        return c_DateTime(TimeOfDayToMicroseconds(hour, minute, second, 0));
    }
    static std::int64_t TimeOfDayToMicroseconds(int hour, int minute, int second, int millisecond) {
        const std::int64_t seconds = std::int64_t(hour) * 3600 + std::int64_t(minute) * 60 + second;
        return (seconds * 1000 + millisecond) * MICROSECONDS_PER_MILLISECOND;
    }
    static int HMSToSeconds(int hour, int minute, int second) { return hour * 3600 + minute * 60 + second; }
    // From 100-nanosecond ticks since 1970-01-01 00:00.
    static c_DateTime FromTicksSince1970(std::int64_t ticks) { return c_DateTime((ticks + TICKS_1899_TO_1970) / 10); }
    static std::int64_t TicksSince1970ToTicksSince1899(std::int64_t ticks) { return ticks + TICKS_1899_TO_1970; }
    static c_DateTime FromDayNumberAndSeconds(int dayNumber, int seconds) {
        return c_DateTime(dayNumber * MICROSECONDS_PER_DAY + seconds * MICROSECONDS_PER_SECOND);
    }
    // 0 for 0.0; otherwise rounded half away from zero.
    static c_DateTime FromDaysDouble(double days);

    // --- Calendar parts ---

    // The split into calendar parts; a value of 0 gives 1899-12-30 00:00:00. subSecond is read on
    // entry: ROUND_TO_SECOND rounds to the nearest second (subSecond 0 on return); otherwise, without
    // microseconds, rounds to the nearest millisecond and returns it; with microseconds, returns the
    // exact microseconds. Rounding carries through to the date, halves go to the later instant.
    void GetDateTimeParts(int& year, int& month, int& day, int& hour, int& minute, int& second, int& subSecond,
                          bool microseconds) const;
    void GetDateTimeParts(int& year, int& month, int& day, int& hour, int& minute, int& second) const {
        int subSecond = ROUND_TO_SECOND;
        GetDateTimeParts(year, month, day, hour, minute, second, subSecond, false);
    }
    void GetDateTimeParts(int& year, int& month, int& day, int& hour, int& minute, int& second,
                          int& millisecond) const {
        millisecond = 0;
        GetDateTimeParts(year, month, day, hour, minute, second, millisecond, false);
    }
    void GetDateTimePartsMicro(int& year, int& month, int& day, int& hour, int& minute, int& second,
                               int& subSecond) const {
        GetDateTimeParts(year, month, day, hour, minute, second, subSecond, true);
    }
    void GetDateParts(int& year, int& month, int& day) const {
        GetDatePartsOfDayNumber(GetDayNumber(), year, month, day);
    }
    static void GetDatePartsOfDayNumber(int dayNumber, int& year, int& month, int& day);
    int GetDay() const;
    int GetYear() const;

    // Days from 1899-12-30, truncated toward zero.
    int GetDayNumber() const { return static_cast<int>(m_Value / MICROSECONDS_PER_DAY); }
    // Microseconds since midnight, 0 to one day less one; the same for a value and its negative.
    std::int64_t GetTimeOfDay() const {
        const std::int64_t rest = m_Value % MICROSECONDS_PER_DAY;
        return rest < 0 ? -rest : rest;
    }
    int GetHour() const { return static_cast<int>(GetTimeOfDay() / MICROSECONDS_PER_HOUR); }
    int GetSecondsOfDay() const { return static_cast<int>(GetTimeOfDay() / MICROSECONDS_PER_SECOND); }
    void GetTimeOfDayParts(int& hour, int& minute, int& second) const {
        const int seconds = GetSecondsOfDay();
        hour = seconds / 3600;
        minute = seconds / 60 % 60;
        second = seconds % 60;
    }
    static void SplitSeconds(int seconds, int& hour, int& minute, int& second) {
        hour = seconds / 3600 - seconds / 86400 * 24;
        minute = seconds / 60 - seconds / 3600 * 60;
        second = seconds % 60;
    }
    static int GetMinuteOfSeconds(int seconds) { return seconds / 60 - seconds / 3600 * 60; }
    static int GetSecondOfSeconds(int seconds) { return seconds % 60; }

    // --- Day of the week (0 = Sunday) ---

    int GetDayOfWeek() const { return GetDayOfWeekOfDayNumber(GetDayNumber()); }
    // Day 0, 1899-12-30, is a Saturday.
    static int GetDayOfWeekOfDayNumber(int dayNumber) {
        const int weekday = (dayNumber - 1) % 7;
        return weekday < 0 ? weekday + 7 : weekday;
    }
    // "Sun" to "Sat" for 0 to 6; the empty text otherwise.
    static const char* GetDayName(int weekday);
    bool IsSaturday() const { return GetDayOfWeek() == 6; }
    bool IsSunday() const { return GetDayOfWeek() == 0; }
    // The Sunday 00:00 of the value's week.
    c_DateTime GetStartOfWeek() const {
        return c_DateTime(GetStartOfWeekDayNumber(GetDayNumber()) * MICROSECONDS_PER_DAY);
    }
    static int GetStartOfWeekDayNumber(int dayNumber) { return dayNumber - GetDayOfWeekOfDayNumber(dayNumber); }
    static bool IsSameWeek(const c_DateTime& a, const c_DateTime& b) {
        return a.GetStartOfWeek() == b.GetStartOfWeek();
    }

    // --- Date and time-of-day parts ---

    c_DateTime GetDatePart() const { return c_DateTime(m_Value / MICROSECONDS_PER_DAY * MICROSECONDS_PER_DAY); }
    // The value modulo one day, with its sign: it reads as the same time of day.
    void TruncateToTimeOfDay() { m_Value %= MICROSECONDS_PER_DAY; }
    // The setters keep the day (or the time of day) and replace the other; a time past the end of the
    // day carries into the next one.
    void SetDatePart(int dayNumber) { m_Value = FromInstant(dayNumber * MICROSECONDS_PER_DAY + GetTimeOfDay()); }
    void SetTimeOfDayFrom(const c_DateTime& other) { SetTimeOfDay(other.GetTimeOfDay()); }
    void SetTime(int hour, int minute, int second) { SetTimeOfDay(TimeOfDayToMicroseconds(hour, minute, second, 0)); }
    void SetTime(int hour, int minute, int second, int millisecond) {
        SetTimeOfDay(TimeOfDayToMicroseconds(hour, minute, second, millisecond));
    }
    void SetTimeWithMicroseconds(int hour, int minute, int second, int microsecond) {
        SetTimeOfDay(TimeOfDayToMicroseconds(hour, minute, second, 0) + microsecond);
    }
    void SetSecondsOfDay(int seconds) { SetTimeOfDay(seconds * MICROSECONDS_PER_SECOND); }
    void SetTimeOfDay(std::int64_t timeOfDay) {
        m_Value = FromInstant(GetDayNumber() * MICROSECONDS_PER_DAY + timeOfDay);
    }

    // --- Arithmetic, rounding and numbers ---

    void AddDays(int n) { m_Value += n * MICROSECONDS_PER_DAY; }
    void SubtractDays(int n) { m_Value -= n * MICROSECONDS_PER_DAY; }
    void AddSeconds(int n) { m_Value += n * MICROSECONDS_PER_SECOND; }
    void SubtractSeconds(int n) { m_Value -= n * MICROSECONDS_PER_SECOND; }
    void AddMicroseconds(std::int64_t n) { m_Value += n; }
    void AddHalfDay() { m_Value += MICROSECONDS_PER_HALF_DAY; }
    void SubtractHalfDay() { m_Value -= MICROSECONDS_PER_HALF_DAY; }
    void AddAwayFromZero(std::int64_t span) { m_Value = m_Value < 0 ? m_Value - span : m_Value + span; }
    void MakeNonPositive() {
        if (m_Value > 0) {
            m_Value = -m_Value;
        }
    }
    void AddHalfSecondAwayFromZero() { AddAwayFromZero(MICROSECONDS_PER_SECOND / 2); }
    void AddHalfMillisecondAwayFromZero() { AddAwayFromZero(MICROSECONDS_PER_MILLISECOND / 2); }
    // Half a second away from zero, then cut to the whole second; a date before 1899-12-30 rounds its
    // instant, so 23:59:59.5 carries into the next day there too.
    void RoundToSecond();
    void TruncateToSecond() { m_Value -= m_Value % MICROSECONDS_PER_SECOND; }

    double GetDays() const { return double(m_Value) / 8.64e10; }
    double GetHours() const { return double(m_Value) / 3.6e9; }
    double GetMinutes() const { return double(m_Value) / 6e7; }
    double GetSeconds() const { return double(m_Value) / 1e6; }
    double GetMilliseconds() const { return double(m_Value) / 1e3; }
    double GetYears() const { return double(m_Value) / 8.64e10 / 365; }
    std::int64_t GetSecondsRounded() const { return DivideRounded(m_Value, MICROSECONDS_PER_SECOND); }
    std::int64_t GetMillisecondsRounded() const { return DivideRounded(m_Value, MICROSECONDS_PER_MILLISECOND); }
    bool EqualsDays(double days) const { return m_Value == FromDaysDouble(days).m_Value; }
    // Half a microsecond in days, added away from zero.
    static double RoundDaysToMicrosecond(double days) {
        constexpr double HALF_MICROSECOND_IN_DAYS = 5.787037037037037e-12;
        return days < 0 ? days - HALF_MICROSECOND_IN_DAYS : days + HALF_MICROSECOND_IN_DAYS;
    }
    // 730.5 days.
    static c_DateTime GetTwoYearSpan() { return c_DateTime(63115200000000); }

    c_DateTime Abs() const { return c_DateTime(m_Value < 0 ? -m_Value : m_Value); }
    bool IsZero() const { return m_Value == 0; }
    bool IsNegative() const { return m_Value < 0; }
    bool IsAboveMinusOneDay() const { return m_Value > -MICROSECONDS_PER_DAY; }
    bool IsSameHour(const c_DateTime& other) const {
        return m_Value / MICROSECONDS_PER_HOUR == other.m_Value / MICROSECONDS_PER_HOUR;
    }

    c_DateTime operator+(const c_DateTime& other) const { return c_DateTime(m_Value + other.m_Value); }
    c_DateTime operator-(const c_DateTime& other) const { return c_DateTime(m_Value - other.m_Value); }
    c_DateTime& operator+=(const c_DateTime& other) {
        m_Value += other.m_Value;
        return *this;
    }
    c_DateTime& operator-=(const c_DateTime& other) {
        m_Value -= other.m_Value;
        return *this;
    }
    bool operator==(const c_DateTime& other) const = default;
    auto operator<=>(const c_DateTime& other) const = default;

    // --- The instant a value stands for ---

    // Microseconds from 1899-12-30 00:00 to the instant, negative before it: the day number times a day
    // plus the time of day. A negative span reads as its time of day on 1899-12-30.
    std::int64_t GetInstant() const { return GetDayNumber() * MICROSECONDS_PER_DAY + GetTimeOfDay(); }
    // The value of an instant: the day (floor-divided) and the time of day, the latter subtracted for
    // days before 1899-12-30.
    static std::int64_t FromInstant(std::int64_t instant);

private:
    // Rounded half away from zero.
    static std::int64_t DivideRounded(std::int64_t value, std::int64_t unit) {
        const std::int64_t half = unit / 2;
        return (value < 0 ? value - half : value + half) / unit;
    }

    std::int64_t m_Value = 0;
};

static_assert(sizeof(c_DateTime) == 8, "c_DateTime is one 64-bit integer");

// a - b when a is negative, else a + b.
inline double AddAwayFromZero(double a, double b) {
    return a < 0 ? a - b : a + b;
}
inline bool IsZero(double x) {
    return x == 0.0;
}

// --- The current time ---

// UTC now, to the microsecond.
c_DateTime GetCurrentDateTimeUTC();
c_DateTime GetCurrentDateTimeUTCWholeSeconds();
// Today's UTC date at 00:00.
c_DateTime GetCurrentDateUTC();
// Local now (after TZ) to the second; 0 when the conversion fails.
c_DateTime GetCurrentLocalDateTime();
// The UTC millisecond since 1899-12-30 at which the system's tick count was 0.
std::int64_t GetTickCountBaseMilliseconds();

// 20240105 as a date; 0 when it is no date.
c_DateTime DateFromYYYYMMDD(int yyyymmdd);
// 0 for the value 0.
int DateToYYYYMMDD(const c_DateTime& value);
