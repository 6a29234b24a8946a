// The tick count and performance counter on the layer's clock, sleeping, the system time and conversions between
// FILETIME and SYSTEMTIME.

#include "platform/kernel/Clock.h"
#include "platform/kernel/LastError.h"

#include <atomic>
#include <cstdint>
#include <ctime>
#include <sched.h>

namespace {

constexpr std::int64_t TICKS_PER_SECOND = 10000000; // FILETIME and performance-counter units
constexpr std::int64_t TICKS_PER_DAY = 86400 * TICKS_PER_SECOND;
constexpr std::int64_t SECONDS_1601_TO_1970 = 11644473600;
constexpr std::int64_t DAYS_0000_TO_1601 = 584694; // from 0000-03-01, the origin of the civil-day count
constexpr int LAST_YEAR = 30827;

timespec ReadClock(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return now;
}

std::int64_t ToTicks(const timespec& time) {
    return time.tv_sec * TICKS_PER_SECOND + time.tv_nsec / 100;
}

std::uint64_t ReadFileTime(const FILETIME& time) {
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void StoreFileTime(std::uint64_t value, FILETIME& time) {
    time.dwLowDateTime = static_cast<DWORD>(value);
    time.dwHighDateTime = static_cast<DWORD>(value >> 32);
}

// Days since 0000-03-01 in the proleptic Gregorian calendar, and back (Hinnant, "chrono-Compatible
// Low-Level Date Algorithms"); years are from 1601 on, so no negative eras arise.
std::int64_t DaysFromCivil(int year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int era = year / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return std::int64_t(era) * 146097 + dayOfEra;
}

void CivilFromDays(std::int64_t days, int& year, unsigned& month, unsigned& day) {
    const int era = static_cast<int>(days / 146097);
    const unsigned dayOfEra = static_cast<unsigned>(days - std::int64_t(era) * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<int>(yearOfEra) + era * 400 + (month <= 2);
}

unsigned DaysInMonth(int year, unsigned month) {
    constexpr unsigned DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : DAYS[month - 1];
}

bool IsValidSystemTime(const SYSTEMTIME& time) {
    return time.wYear >= 1601 && time.wYear <= LAST_YEAR && time.wMonth >= 1 && time.wMonth <= 12 && time.wDay >= 1 &&
           time.wDay <= DaysInMonth(time.wYear, time.wMonth) && time.wHour < 24 && time.wMinute < 60 &&
           time.wSecond < 60 && time.wMilliseconds < 1000;
}

void SplitTicks(std::uint64_t ticks, SYSTEMTIME& time) {
    const std::int64_t days = static_cast<std::int64_t>(ticks / TICKS_PER_DAY);
    const std::int64_t dayTicks = static_cast<std::int64_t>(ticks % TICKS_PER_DAY);
    int year;
    unsigned month;
    unsigned day;
    CivilFromDays(days + DAYS_0000_TO_1601, year, month, day);
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = static_cast<WORD>((days + 1) % 7); // 1601-01-01 was a Monday
    time.wHour = static_cast<WORD>(dayTicks / (3600 * TICKS_PER_SECOND));
    time.wMinute = static_cast<WORD>(dayTicks / (60 * TICKS_PER_SECOND) % 60);
    time.wSecond = static_cast<WORD>(dayTicks / TICKS_PER_SECOND % 60);
    time.wMilliseconds = static_cast<WORD>(dayTicks / 10000 % 1000);
}

std::uint64_t JoinTicks(const SYSTEMTIME& time) {
    const std::int64_t days = DaysFromCivil(time.wYear, time.wMonth, time.wDay) - DAYS_0000_TO_1601;
    const std::int64_t seconds = ((days * 24 + time.wHour) * 60 + time.wMinute) * 60 + time.wSecond;
    return static_cast<std::uint64_t>(seconds * TICKS_PER_SECOND + std::int64_t(time.wMilliseconds) * 10000);
}

std::uint64_t UniversalTicksNow() {
    return static_cast<std::uint64_t>(ToTicks(ReadClock(CLOCK_REALTIME)) + SECONDS_1601_TO_1970 * TICKS_PER_SECOND);
}

// The local time of a UTC tick count, through the C library's zone rules.
std::uint64_t LocalTicks(std::uint64_t universalTicks) {
    const std::int64_t seconds = static_cast<std::int64_t>(universalTicks / TICKS_PER_SECOND) - SECONDS_1601_TO_1970;
    const std::time_t universal = static_cast<std::time_t>(seconds);
    std::tm local;
    if (localtime_r(&universal, &local) == nullptr) {
        return universalTicks;
    }
    return static_cast<std::uint64_t>(std::int64_t(universalTicks) + std::int64_t(local.tm_gmtoff) * TICKS_PER_SECOND);
}

} // namespace

ULONGLONG WINAPI GetTickCount64() {
    return static_cast<ULONGLONG>(n_Platform::ReadClockNanoseconds() / 1000000);
}

DWORD WINAPI GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    count->QuadPart = n_Platform::ReadClockNanoseconds() / 100;
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = TICKS_PER_SECOND;
    return TRUE;
}

VOID WINAPI GetSystemTimePreciseAsFileTime(LPFILETIME time) {
    StoreFileTime(UniversalTicksNow(), *time);
}

VOID WINAPI GetSystemTimeAsFileTime(LPFILETIME time) {
    StoreFileTime(UniversalTicksNow(), *time);
}

VOID WINAPI GetSystemTime(LPSYSTEMTIME time) {
    SplitTicks(UniversalTicksNow(), *time);
}

VOID WINAPI GetLocalTime(LPSYSTEMTIME time) {
    SplitTicks(LocalTicks(UniversalTicksNow()), *time);
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
    const std::uint64_t ticks = ReadFileTime(*fileTime);
    SYSTEMTIME result;
    SplitTicks(ticks, result);
    if (ticks >= 0x8000000000000000ull || result.wYear > LAST_YEAR) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    *systemTime = result;
    return TRUE;
}

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
    if (!IsValidSystemTime(*systemTime)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    StoreFileTime(JoinTicks(*systemTime), *fileTime);
    return TRUE;
}

BOOL WINAPI SystemTimeToTzSpecificLocalTime(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* universal,
                                            LPSYSTEMTIME local) {
    if (zone != nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_NOT_SUPPORTED);
    }
    if (!IsValidSystemTime(*universal)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    SplitTicks(LocalTicks(JoinTicks(*universal)), *local);
    return TRUE;
}

VOID WINAPI Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    std::atomic<std::uint32_t> never{0};
    n_Platform::SleepOnWord(never, n_Platform::DeadlineAfterMilliseconds(milliseconds));
}
