// n_OSLayer time wrappers over the Windows clock and FILETIME calls.

#include "oslayer/system/TimeCalls.h"

#include <windows.h>

namespace {

std::int64_t EncodeSystemTime(const SYSTEMTIME& time, bool withTime, bool withMilliseconds) {
    if (!withTime) {
        return c_DateTime::Encode(time.wYear, time.wMonth, time.wDay, 0, 0, 0, 0);
    }
    return c_DateTime::Encode(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
                              withMilliseconds ? time.wMilliseconds : 0);
}

// The split of the FILETIME, in the current zone when asked, plus the microseconds below the
// millisecond.
c_DateTime ConvertFileTime(std::uint64_t fileTime, bool local) {
    const FILETIME time = {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME universal;
    SYSTEMTIME zoned;
    if (!FileTimeToSystemTime(&time, &universal) ||
        (local && !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &zoned))) {
        return c_DateTime();
    }
    const std::int64_t microseconds = static_cast<std::int64_t>(fileTime / 10 % 1000);
    return c_DateTime(EncodeSystemTime(local ? zoned : universal, true, true) + microseconds);
}

} // namespace

namespace n_OSLayer {

c_DateTime GetCurrentDateTime(bool withTime, bool utc, bool withMilliseconds, std::int32_t* milliseconds) {
    SYSTEMTIME now;
    if (utc) {
        GetSystemTime(&now);
    } else {
        GetLocalTime(&now);
    }
    if (milliseconds != nullptr) {
        *milliseconds = now.wMilliseconds;
    }
    return c_DateTime(EncodeSystemTime(now, withTime, withMilliseconds));
}

std::uint32_t GetTickCount() {
    return ::GetTickCount();
}

std::uint64_t GetTickCount64() {
    return ::GetTickCount64();
}

bool GetSystemTimeAdjustment(std::uint32_t* adjustment, std::uint32_t* increment, bool* disabled) {
    DWORD adjustmentValue = 0;
    DWORD incrementValue = 0;
    BOOL disabledValue = TRUE;
    const bool read = ::GetSystemTimeAdjustment(&adjustmentValue, &incrementValue, &disabledValue) != FALSE;
    *adjustment = adjustmentValue;
    *increment = incrementValue;
    *disabled = disabledValue != FALSE;
    return read;
}

c_DateTime FileTimeToDateTime(std::uint64_t fileTime) {
    return ConvertFileTime(fileTime, false);
}

c_DateTime FileTimeToLocalDateTime(std::uint64_t fileTime) {
    return ConvertFileTime(fileTime, true);
}

std::int64_t DateTimeToFileTime(c_DateTime dateTime) {
    return (dateTime.GetValue() - c_DateTime::Encode(1601, 1, 1, 0, 0, 0, 0)) * 10;
}

void GetDateTimeParts(c_DateTime dateTime, std::int32_t* year, std::int32_t* month, std::int32_t* day,
                      std::int32_t* hour, std::int32_t* minute, std::int32_t* second, std::int32_t* millisecond) {
    dateTime.GetDateTimeParts(*year, *month, *day, *hour, *minute, *second, *millisecond);
}

} // namespace n_OSLayer
