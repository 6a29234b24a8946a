// Tests of the date-time texts: every FormatDateTime flag, the fixed forms and the durations.

#include "textutil/DateTimeText.h"

#include "strings/Memory.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::int64_t DAY = c_DateTime::MICROSECONDS_PER_DAY;
constexpr std::int64_t HOUR = c_DateTime::MICROSECONDS_PER_HOUR;
constexpr std::int64_t MINUTE = c_DateTime::MICROSECONDS_PER_MINUTE;
constexpr std::int64_t SECOND = c_DateTime::MICROSECONDS_PER_SECOND;

const c_DateTime MORNING(2024, 1, 5, 9, 4, 9);
const c_DateTime AFTERNOON(2024, 1, 5, 13, 4, 9);
const c_DateTime WHOLE_MINUTE(2024, 1, 5, 13, 4, 0);
// 2024-01-05 23:59:59.9996
const c_DateTime LAST_MOMENT(c_DateTime(2024, 1, 5, 23, 59, 59, 999).GetValue() + 600);

c_DateTime Plus(c_DateTime value, std::int64_t microseconds) {
    value.AddMicroseconds(microseconds);
    return value;
}

std::string Format(c_DateTime value, std::uint32_t flags) {
    c_String out("left over from before");
    FormatDateTime(value, flags, out);
    return ToStd(out);
}

TEST(DateTimeText, FormatDateTimeFlags) {
    const struct {
        const char* m_Name;
        c_DateTime m_Value;
        std::uint32_t m_Flags;
        const char* m_Expected;
    } cases[] = {
        {"date and time", AFTERNOON, 0x3F, "2024-01-05  13:04:09"},
        {"rounded to the millisecond, then printed to the second", Plus(AFTERNOON, 999600), 0x3F,
         "2024-01-05  13:04:10"},
        {"just below the rounding point", Plus(AFTERNOON, 999400), 0x3F, "2024-01-05  13:04:09"},
        {"rounding carries into the next day", LAST_MOMENT, 0x3F, "2024-01-06  00:00:00"},
        {"no date for 0", c_DateTime(), 0x7, ""},
        {"time of 0", c_DateTime(), 0x38, "00:00:00"},
        {"a span prints no date", c_DateTime(2 * HOUR), 0x3F, "02:00:00"},
        {"zero seconds left out", WHOLE_MINUTE, 0x13F, "2024-01-05  13:04"},
        {"zero seconds kept with a fraction", WHOLE_MINUTE, 0x53F, "2024-01-05  13:04:00.000"},
        {"day alone is unpadded", AFTERNOON, 0x4, "5"},
        {"month and day", AFTERNOON, 0x6, "01-05"},
        {"unpadded month and day", AFTERNOON, 0x87, "2024-1-5"},
        {"unpadded hour", MORNING, 0x238, "9:04:09"},
        {"padded hour", MORNING, 0x38, "09:04:09"},
        {"minutes and seconds", AFTERNOON, 0x30, "04:09"},
        {"plus sign", c_DateTime(2 * HOUR), 0x78, "+02:00:00"},
        {"negative span", c_DateTime(-2 * HOUR), 0x78, "-02:00:00"},
        {"negative span of 90 seconds", c_DateTime(-90 * SECOND), 0x38, "-00:01:30"},
        {"milliseconds cut, not rounded", Plus(AFTERNOON, 7999), 0x43F, "2024-01-05  13:04:09.007"},
        {"zero milliseconds left out", AFTERNOON, 0x143F, "2024-01-05  13:04:09"},
        {"microseconds", Plus(AFTERNOON, 7250), 0x1003F, "2024-01-05  13:04:09.007250"},
        {"zero microseconds left out", AFTERNOON, 0x1103F, "2024-01-05  13:04:09"},
        {"milliseconds win over microseconds", Plus(AFTERNOON, 7250), 0x1043F, "2024-01-05  13:04:09.007"},
        {"fraction without time fields", Plus(c_DateTime(2024, 1, 5, 0, 0, 0), 250000), 0x407, "2024-01-05.250"},
        {"day, month name and year", AFTERNOON, 0x83F, "5Jan24  13:04:09"},
        {"weekday", AFTERNOON, 0x2007, "Fri 2024-01-05"},
        {"weekday of the rounded date", LAST_MOMENT, 0x203F, "Sat 2024-01-06  00:00:00"},
        {"weekday with month name", AFTERNOON, 0x2800, "Fri 5Jan24"},
        {"one blank", AFTERNOON, 0x403F, "2024-01-05 13:04:09"},
        {"elapsed hours", c_DateTime(2 * DAY + 3 * HOUR / 2), 0x8000, "49:30:00"},
        {"elapsed hours ignore the other bits", c_DateTime(2 * DAY + 3 * HOUR / 2), 0xFFFF, "49:30:00"},
        {"elapsed hours of 0", c_DateTime(), 0x8000, ""},
        {"before 1899", c_DateTime(1850, 6, 1, 13, 4, 9), 0x3F, "1850-06-01  13:04:09"},
        {"negative year", c_DateTime(-44, 3, 15, 12, 0, 0), 0x3F, "-44-03-15  12:00:00"},
        {"year without padding", c_DateTime(800, 1, 5, 13, 4, 9), 0x3F, "800-01-05  13:04:09"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Format(test.m_Value, test.m_Flags), test.m_Expected) << test.m_Name;
    }
}

TEST(DateTimeText, FixedForms) {
    const c_DateTime withFraction = Plus(AFTERNOON, 7250);
    const struct {
        const char* m_Name;
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {"log time", DateTimeToString(AFTERNOON), "2024-01-05  13:04:09"},
        {"log time of 0", DateTimeToString(c_DateTime()), "00:00:00"},
        {"with milliseconds", DateTimeToStringWithMilliseconds(withFraction), "2024-01-05  13:04:09.007"},
        {"with microseconds", DateTimeToStringWithMicroseconds(withFraction), "2024-01-05  13:04:09.007250"},
        {"with zero microseconds", DateTimeToStringWithMicroseconds(AFTERNOON), "2024-01-05  13:04:09.000000"},
        {"time", TimeToString(AFTERNOON), "13:04:09"},
        {"time of 0", TimeToString(c_DateTime()), "00:00:00"},
        {"date", DateToString(AFTERNOON), "2024-01-05"},
        {"date of 0", DateToString(c_DateTime()), "0"},
        {"YYYYMMDD", DateToYYYYMMDDString(AFTERNOON), "20240105"},
        {"YYYYMMDD of 0", DateToYYYYMMDDString(c_DateTime()), "0"},
        {"timestamp", DateTimeToTimestampString(Plus(withFraction, 900)), "20240105-13:04:09.008"},
        {"timestamp in microseconds", DateTimeToTimestampStringMicro(withFraction), "20240105-13:04:09.007250"},
        {"HHMMSS", TimeOfDayToHHMMSS(MORNING), "090409"},
        {"HHMMSS before 1899", TimeOfDayToHHMMSS(c_DateTime(1850, 6, 1, 13, 4, 9)), "130409"},
        {"file name form", DateTimeToFileNameString(AFTERNOON), "2024-01-05 130409"},
        {"file name form rounds to the millisecond", DateTimeToFileNameString(Plus(AFTERNOON, 999600)),
         "2024-01-05 130410"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected) << test.m_Name;
    }
}

TEST(DateTimeText, Durations) {
    const struct {
        const char* m_Name;
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {"elapsed", FormatElapsedHours(c_DateTime(2 * DAY + 3 * HOUR / 2)), "49:30:00"},
        {"elapsed of 0", FormatElapsedHours(c_DateTime()), "00:00:00"},
        {"elapsed negative", FormatElapsedHours(c_DateTime(-(2 * DAY + 3 * HOUR / 2))), "-49:30:00"},
        {"elapsed of many days", FormatElapsedHours(c_DateTime(5000 * DAY + 59 * SECOND)), "120000:00:59"},
        {"compact", FormatDurationCompact(c_DateTime(3661 * SECOND)), "1h 1m 1s"},
        {"compact below half a second", FormatDurationCompact(c_DateTime(400000)), "0s"},
        {"compact half a second", FormatDurationCompact(c_DateTime(500000)), "1s"},
        {"compact negative", FormatDurationCompact(c_DateTime(-90 * SECOND)), "-1m 30s"},
        {"compact one day", FormatDurationCompact(c_DateTime(DAY)), "1d"},
        {"compact with days", FormatDurationCompact(c_DateTime(2 * DAY + HOUR + 30 * MINUTE)), "2d 1h 30m"},
        {"one unit seconds", FormatDurationInOneUnit(c_DateTime(90 * SECOND)), "90.0 seconds"},
        {"one unit minutes", FormatDurationInOneUnit(c_DateTime(-30 * MINUTE)), "-30.0 minutes"},
        {"one unit hours", FormatDurationInOneUnit(c_DateTime(2 * HOUR)), "2.0 hours"},
        {"one unit days", FormatDurationInOneUnit(c_DateTime(3 * DAY)), "3.0 days"},
        {"one unit years", FormatDurationInOneUnit(c_DateTime(800 * DAY)), "2.2 years"},
        {"one unit limit", FormatDurationInOneUnit(c_DateTime(120 * SECOND)), "2.0 minutes"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected) << test.m_Name;
    }
}

// Texts past the 30-character inline storage need one allocation; when it fails the text is empty,
// never a part of it nor the old content.
TEST(DateTimeText, FailedAllocationLeavesNoPartialText) {
    c_String out("left over from before");
    n_Memory::FailNthAllocation(1);
    FormatDateTime(Plus(AFTERNOON, 7250), 0x1203F, out);
    n_Memory::FailNthAllocation(0);
    EXPECT_EQ(ToStd(out), "");
    FormatDateTime(Plus(AFTERNOON, 7250), 0x1203F, out);
    EXPECT_EQ(ToStd(out), "Fri 2024-01-05  13:04:09.007250");
}

} // namespace
