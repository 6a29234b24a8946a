#pragma once
// n_OSLayer time: the current date and time, tick counts, and FILETIME values as c_DateTime.

#include "textutil/c_DateTime.h"

#include <cstdint>

namespace n_OSLayer {

// UTC or local; without withTime the date at midnight; the milliseconds only with withMilliseconds.
// A given milliseconds target receives them in every case.
c_DateTime GetCurrentDateTime(bool withTime, bool utc, bool withMilliseconds, std::int32_t* milliseconds);
std::uint32_t GetTickCount();
std::uint64_t GetTickCount64();
// The clock's adjustment per tick, the tick, and whether adjusting is off (preset to true, so it
// stays true when the call fails). Reading only: this layer never sets the clock or its adjustment.
bool GetSystemTimeAdjustment(std::uint32_t* adjustment, std::uint32_t* increment, bool* disabled);

// A FILETIME (100-nanosecond units since 1601-01-01, UTC) to a c_DateTime that keeps the
// microseconds; 0 for a time that no calendar date holds.
c_DateTime FileTimeToDateTime(std::uint64_t fileTime);
// The same in the current time zone.
c_DateTime FileTimeToLocalDateTime(std::uint64_t fileTime);
// 100-nanosecond units since 1601-01-01, with no time-zone change.
std::int64_t DateTimeToFileTime(c_DateTime dateTime);
void GetDateTimeParts(c_DateTime dateTime, std::int32_t* year, std::int32_t* month, std::int32_t* day,
                      std::int32_t* hour, std::int32_t* minute, std::int32_t* second, std::int32_t* millisecond);

} // namespace n_OSLayer
