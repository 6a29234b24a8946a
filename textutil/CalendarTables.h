#pragma once
// The calendar's fixed tables: days before each month, month lengths, weekday and month names.
//
// Weekdays count from 0 = Sunday; months from 1 = January, with index 0 holding 0 or the empty text
// so that a month number indexes the tables directly.

namespace n_Calendar {

// Days of the first k months of a common year, k = 0 to 12.
inline constexpr int CUMULATIVE_DAYS[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
// Days of each month of a common year.
inline constexpr int MONTH_LENGTHS[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

inline constexpr const char* DAY_NAMES[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
inline constexpr const char* FULL_DAY_NAMES[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
inline constexpr const char* TWO_LETTER_DAY_NAMES[7] = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
inline constexpr const char* MONTH_NAMES[13] = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
inline constexpr const char* FULL_MONTH_NAMES[13] = {"",        "January",  "February", "March",  "April",
                                                     "May",     "June",     "July",     "August", "September",
                                                     "October", "November", "December"};
// The futures month codes, January to December.
inline constexpr char FUTURES_MONTH_LETTERS[13] = "FGHJKMNQUVXZ";

} // namespace n_Calendar
