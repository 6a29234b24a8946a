#pragma once
// Date-time values as text: the flag-driven FormatDateTime and the fixed forms built on it, compact
// timestamps, the file-name form, and three duration texts.
//
// A value between minus one day and one day (both excluded) prints no date whatever the date flags
// say: it is a time of day or a span, and a negative span is written with '-' before its time. Years
// are written without padding (a negative year with '-'), the other fields with two digits. Every
// function gives a whole text, or an empty one when memory runs out.

#include "strings/c_String.h"
#include "textutil/c_DateTime.h"

#include <cstdint>

// The flag bits of FormatDateTime.
namespace n_DateTimeFlags {
inline constexpr std::uint32_t YEAR = 0x1;
inline constexpr std::uint32_t MONTH = 0x2;
inline constexpr std::uint32_t DAY = 0x4;
inline constexpr std::uint32_t HOUR = 0x8;
inline constexpr std::uint32_t MINUTE = 0x10;
inline constexpr std::uint32_t SECOND = 0x20;
// "+" before the time of a value that is not a negative span.
inline constexpr std::uint32_t PLUS_SIGN = 0x40;
inline constexpr std::uint32_t UNPADDED_MONTH_AND_DAY = 0x80;
// Leaves out seconds that are 0, unless a fraction is asked for.
inline constexpr std::uint32_t OMIT_ZERO_SECONDS = 0x100;
inline constexpr std::uint32_t UNPADDED_HOUR = 0x200;
// "." and three digits.
inline constexpr std::uint32_t MILLISECONDS = 0x400;
// 5Jan22 instead of the numeric date.
inline constexpr std::uint32_t DAY_MONTH_NAME_YEAR = 0x800;
inline constexpr std::uint32_t OMIT_ZERO_FRACTION = 0x1000;
// "Fri " before the date.
inline constexpr std::uint32_t WEEKDAY = 0x2000;
// One blank between date and time instead of two.
inline constexpr std::uint32_t ONE_BLANK = 0x4000;
// FormatElapsedHours; every other bit is then ignored.
inline constexpr std::uint32_t ELAPSED_HOURS = 0x8000;
// "." and six digits, when MILLISECONDS is not set.
inline constexpr std::uint32_t MICROSECONDS = 0x10000;

inline constexpr std::uint32_t DATE = YEAR | MONTH | DAY;
inline constexpr std::uint32_t TIME = HOUR | MINUTE | SECOND;
} // namespace n_DateTimeFlags

// Replaces out. Without a fraction flag the value is rounded to the millisecond first (and the
// rounding carries into the date); with one, nothing is rounded. 0 without time flags is empty.
void FormatDateTime(c_DateTime value, std::uint32_t flags, c_String& out);

// 2024-01-05  13:04:09 (two blanks): the time of every log line.
c_String DateTimeToString(c_DateTime value);
// 2024-01-05  13:04:09.007
c_String DateTimeToStringWithMilliseconds(c_DateTime value);
// 2024-01-05  13:04:09.007250
c_String DateTimeToStringWithMicroseconds(c_DateTime value);
// 13:04:09
c_String TimeToString(c_DateTime value);
// 2024-01-05; "0" for the value 0.
c_String DateToString(c_DateTime value);
// 20240105; "0" for the value 0.
c_String DateToYYYYMMDDString(c_DateTime value);
// 20240105-13:04:09.007 and 20240105-13:04:09.007250, cut (not rounded) to the unit.
c_String DateTimeToTimestampString(c_DateTime value);
c_String DateTimeToTimestampStringMicro(c_DateTime value);
// 130409
c_String TimeOfDayToHHMMSS(c_DateTime value);
// 2024-01-05 130409, through strftime "%Y-%m-%d %H%M%S".
c_String DateTimeToFileNameString(c_DateTime value);

// 49:30:00, the days counted into the hours; a negative span gets one '-' in front.
c_String FormatElapsedHours(c_DateTime span);
// 2d 1h 30m: the non-zero units of the span rounded to whole seconds; "0s" below half a second.
c_String FormatDurationCompact(c_DateTime span);
// 1.5 hours: one number with one decimal in the largest unit that keeps it below two of the next.
c_String FormatDurationInOneUnit(c_DateTime span);
