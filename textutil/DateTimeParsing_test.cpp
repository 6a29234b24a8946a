// Tests of the date and time parsers: ISO text, free dates, times, date-time text, lists and fields.

#include "textutil/DateTimeParsing.h"

#include "textutil/testing/FailingOperatorNew.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr std::int64_t HOUR = c_DateTime::MICROSECONDS_PER_HOUR;
constexpr std::int64_t MINUTE = c_DateTime::MICROSECONDS_PER_MINUTE;
constexpr std::int64_t SECOND = c_DateTime::MICROSECONDS_PER_SECOND;

std::int64_t At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0) {
    return c_DateTime::Encode(year, month, day, hour, minute, second, millisecond);
}

constexpr std::int64_t FAILS = INT64_MIN;

std::int64_t ISO(const char* text) {
    c_DateTime value(1);
    return ParseISODateTime(text, &value) ? value.GetValue() : FAILS;
}

TEST(DateTimeParsing, ISODateTime) {
    const struct {
        const char* m_Text;
        std::int64_t m_Expected;
    } cases[] = {
        {"2024-01-05", At(2024, 1, 5)},
        {"2024-01-05T13", At(2024, 1, 5, 13)},
        {"2024-01-05T13:04", At(2024, 1, 5, 13, 4)},
        {"2024-01-05T13:04:09", At(2024, 1, 5, 13, 4, 9)},
        {"2024-01-05T13:04:09.007", At(2024, 1, 5, 13, 4, 9, 7)},
        {"2024-01-05T13:04:09.5", At(2024, 1, 5, 13, 4, 9, 500)},
        {"2024-01-05T13:04:09.25Z", At(2024, 1, 5, 13, 4, 9, 250)},
        {"2024-01-05T23:59:60", At(2024, 1, 6)},
        {"1800-01-01T12:00:00.250", At(1800, 1, 1, 12, 0, 0, 250)},
        {"0000-01-01", At(0, 1, 1)},
        {"1899-12-30", 0},
        {"2024-02-29", At(2024, 2, 29)},
        {"2024-02-30", FAILS},
        {"2023-02-29", FAILS},
        {"2024-04-31", FAILS},
        {"2024-13-01", FAILS},
        {"2024-00-10", FAILS},
        {"2024-01-00", FAILS},
        {"2024-01-05T24:00", FAILS},
        {"2024-01-05T23:60", FAILS},
        {"2024-01-05T23:59:61", FAILS},
        {"2024-01", FAILS},
        {"20240105", FAILS},
        {"-001-01-01", FAILS},
        {"10000-01-01", FAILS},
        {"", FAILS},
        {"garbage", FAILS},
        {nullptr, FAILS},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ISO(test.m_Text), test.m_Expected) << (test.m_Text == nullptr ? "null" : test.m_Text);
    }
    EXPECT_TRUE(ParseISODateTime("2024-01-05", nullptr));
    EXPECT_FALSE(ParseISODateTime("2024-02-30", nullptr));
    EXPECT_EQ(ISODateTimeFromString(c_String("2024-01-05T13:04")).GetValue(), At(2024, 1, 5, 13, 4));
    EXPECT_EQ(ISODateTimeFromString(c_String("2024-02-30")).GetValue(), 0);
}

TEST(DateTimeParsing, DateText) {
    const struct {
        const char* m_Text;
        std::int64_t m_Expected;
    } cases[] = {
        {"1/5/24", At(2024, 1, 5)},
        {"2024-01-05", At(2024, 1, 5)},
        {"2024/1/5", At(2024, 1, 5)},
        {"1.5.24", At(2024, 1, 5)},
        {"1-5-1999", At(1999, 1, 5)},
        {" 1/5/2024", At(2024, 1, 5)},
        {"12/31/49", At(2049, 12, 31)},
        {"12/31/50", At(1950, 12, 31)},
        {"240105", At(2024, 1, 5)},
        {"990105", At(1999, 1, 5)},
        {"20240105", At(2024, 1, 5)},
        {"2024", At(2024, 1, 1)},
        {"45", At(2045, 1, 1)},
        {" 2024 ", At(2024, 1, 1)},
        {"2024-01", At(2024, 1, 1)},
        {"2024-01-05,2025-01-01", At(2024, 1, 5)},
        {"2024-01-05\t13:04", At(2024, 1, 5)},
        {"2/30/2024", 0},
        {"2023-02-29", 0},
        {"20230229", 0},
        {"13/5/2024", 0},
        {"5", 0},
        {"", 0},
        {",2024-01-05", 0},
        {"Jan 5", 0},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ParseDateText(test.m_Text).GetValue(), test.m_Expected) << test.m_Text;
    }
}

std::int64_t Time(const char* text) {
    c_DateTime value(1);
    if (!ParseTimeText(text, value)) {
        EXPECT_EQ(value.GetValue(), 0) << "a failed parse leaves 0: " << text;
        return FAILS;
    }
    return value.GetValue();
}

TEST(DateTimeParsing, TimeText) {
    const struct {
        const char* m_Text;
        std::int64_t m_Expected;
    } cases[] = {
        {"13:04", 13 * HOUR + 4 * MINUTE},
        {"1:04:09.25 PM", 13 * HOUR + 4 * MINUTE + 9250000},
        {"12:30 AM", 30 * MINUTE},
        {"12:30 PM", 12 * HOUR + 30 * MINUTE},
        {"1:30 pm", 13 * HOUR + 30 * MINUTE},
        {"0130PM", 13 * HOUR + 30 * MINUTE},
        {"12AM", 0},
        {"7", 7 * HOUR},
        {"1304", 13 * HOUR + 4 * MINUTE},
        {"130409", 13 * HOUR + 4 * MINUTE + 9 * SECOND},
        {"130409250", 13 * HOUR + 4 * MINUTE + 9250000},
        {"2400", 23 * HOUR + 59 * MINUTE + 59 * SECOND},
        {"-0:30", -30 * MINUTE},
        {"- 1:00", -HOUR},
        {"+1:00", HOUR},
        {"49:30", 49 * HOUR + 30 * MINUTE},
        {"13:", 13 * HOUR},
        {"13:04:59.9999996", 13 * HOUR + 5 * MINUTE},
        {"  13:04  ", 13 * HOUR + 4 * MINUTE},
        {"10:60", FAILS},
        {"13:04:60", FAILS},
        {"0130 PM", FAILS},
        {"1060", FAILS},
        {"130475", FAILS},
        {"123", FAILS},
        {"1234567", FAILS},
        {"", FAILS},
        {"x", FAILS},
        {":30", FAILS},
        {"2024-02-30 13:04", FAILS},
        {"13:04x", FAILS},
        {"13:04:1e1", FAILS},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Time(test.m_Text), test.m_Expected) << test.m_Text;
    }
}

std::int64_t DateTime(const char* text) {
    c_DateTime value(1);
    if (!ParseDateTimeText(text, value)) {
        EXPECT_EQ(value.GetValue(), 0) << "a failed parse leaves 0";
        return FAILS;
    }
    return value.GetValue();
}

TEST(DateTimeParsing, DateTimeText) {
    const struct {
        const char* m_Text;
        std::int64_t m_Expected;
    } cases[] = {
        {"2024-01-05 13:04:09", At(2024, 1, 5, 13, 4, 9)},
        {"1/5/2024\t 1:30 pm", At(2024, 1, 5, 13, 30)},
        {"2024-01-05", At(2024, 1, 5)},
        {"2024-01-05   ", At(2024, 1, 5)},
        {"13:04", 13 * HOUR + 4 * MINUTE},
        {"1850-06-01 13:04", At(1850, 6, 1, 13, 4)},
        {"1899-12-30 -0:30", At(1899, 12, 29, 23, 30)},
        {"2024-01-05 garbage", FAILS},
        {"2024-02-30 13:04", FAILS},
        {"garbage", FAILS},
        {"", FAILS},
        {nullptr, FAILS},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(DateTime(test.m_Text), test.m_Expected) << (test.m_Text == nullptr ? "null" : test.m_Text);
    }
}

TEST(DateTimeParsing, DateList) {
    const std::set<c_DateTime> dates = ParseDateList(" 2024-01-05, 1/6/24 ,,2024-01-05, junk,");
    const std::set<c_DateTime> expected = {c_DateTime(), c_DateTime(At(2024, 1, 5)), c_DateTime(At(2024, 1, 6))};
    EXPECT_EQ(dates, expected);
    EXPECT_TRUE(ParseDateList("").empty());

    n_TestAllocation::FailNthOperatorNew(2);
    const std::set<c_DateTime> failed = ParseDateList("2024-01-05,2024-01-06,2024-01-07");
    n_TestAllocation::FailNthOperatorNew(0);
    EXPECT_TRUE(failed.empty());
}

struct s_FieldResult {
    bool m_Ok;
    std::int64_t m_Value;
    int m_Consumed;
    bool operator==(const s_FieldResult&) const = default;
};

std::ostream& operator<<(std::ostream& out, const s_FieldResult& r) {
    return out << (r.m_Ok ? "ok " : "fails ") << r.m_Value << " after " << r.m_Consumed;
}

// Fields start from a value that already has a date and a time, and a consumed count of -1.
const std::int64_t START = At(2000, 6, 15, 10, 20, 30);

template <typename Parser> s_FieldResult Field(Parser parser, const char* text, int length = -1) {
    c_DateTime value(START);
    int consumed = -1;
    const bool ok = parser(text, length < 0 ? static_cast<int>(std::strlen(text)) : length, &value, &consumed);
    return {ok, value.GetValue(), consumed};
}

TEST(DateTimeParsing, DateAndTimeFields) {
    const auto date = [](const char* t, int n, c_DateTime* v, int* c) { return ParseDateField(t, n, v, c); };
    const auto time = [](const char* t, int n, c_DateTime* v, int* c) { return ParseTimeField(t, n, v, c); };
    const s_FieldResult unchanged = {false, START, -1};
    const struct {
        const char* m_Name;
        s_FieldResult m_Result;
        s_FieldResult m_Expected;
    } cases[] = {
        {"Y-M-D keeps the time", Field(date, "2024-01-05 13:04"), {true, At(2024, 1, 5, 10, 20, 30), 10}},
        {"M/D/Y", Field(date, "1/5/2024"), {true, At(2024, 1, 5, 10, 20, 30), 8}},
        {"mixed separators", Field(date, "2024/01-05"), {true, At(2024, 1, 5, 10, 20, 30), 10}},
        {"the epoch is a valid date", Field(date, "1899-12-30"), {true, At(1899, 12, 30, 10, 20, 30), 10}},
        {"before 1899 keeps the time", Field(date, "12/31/1850"), {true, At(1850, 12, 31, 10, 20, 30), 10}},
        {"no two-digit years", Field(date, "1/5/24"), {true, At(24, 1, 5, 10, 20, 30), 6}},
        {"missing day of the month", Field(date, "2024-02-30"), unchanged},
        {"month 13 read as M/D/Y", Field(date, "13/5/2024"), unchanged},
        {"two numbers", Field(date, "2024-01"), unchanged},
        {"cut by the length", Field(date, "2024-01-15", 9), {true, At(2024, 1, 1, 10, 20, 30), 9}},
        {"leading blank", Field(date, " 2024-01-05"), unchanged},
        {"H:MM:SS keeps the date", Field(time, "13:04:09x"), {true, At(2000, 6, 15, 13, 4, 9), 8}},
        {"H:MM", Field(time, "9:04 rest"), {true, At(2000, 6, 15, 9, 4, 0), 4}},
        {"seconds out of range are not read", Field(time, "13:04:75"), {true, At(2000, 6, 15, 13, 4, 0), 5}},
        {"hour 24", Field(time, "24:00"), unchanged},
        {"minute 60", Field(time, "13:60"), unchanged},
        {"no minutes", Field(time, "13"), unchanged},
        {"no colon", Field(time, "13.04"), unchanged},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.m_Result, test.m_Expected) << test.m_Name;
    }
    EXPECT_FALSE(ParseDateField(nullptr, 10, nullptr, nullptr));
    EXPECT_FALSE(ParseTimeField(nullptr, 10, nullptr, nullptr));
    int consumed = 0;
    EXPECT_TRUE(ParseDateField(c_StringView("2024-01-05"), nullptr, &consumed));
    EXPECT_EQ(consumed, 10);
    EXPECT_TRUE(ParseTimeField(c_StringView("13:04"), nullptr, &consumed));
    EXPECT_EQ(consumed, 5);
}

TEST(DateTimeParsing, IntAndBlankFields) {
    const struct {
        const char* m_Text;
        int m_Length;
        bool m_Ok;
        int m_Value;
        int m_Consumed;
    } ints[] = {
        {"123abc", 6, true, 123, 3},     {"-42", 3, true, -42, 3},
        {"12345", 2, true, 12, 2},       {"2147483647", 10, true, 2147483647, 10},
        {"2147483648", 10, false, 0, 0}, {"-", 1, false, 0, 0},
        {"abc", 3, false, 0, 0},         {" 1", 2, false, 0, 0},
        {"+1", 2, false, 0, 0},          {"1", 0, false, 0, 0},
    };
    for (const auto& test : ints) {
        int value = 0;
        int consumed = 0;
        EXPECT_EQ(ParseIntField(test.m_Text, test.m_Length, &value, &consumed), test.m_Ok) << test.m_Text;
        EXPECT_EQ(value, test.m_Value) << test.m_Text;
        EXPECT_EQ(consumed, test.m_Consumed) << test.m_Text;
    }
    const struct {
        const char* m_Text;
        bool m_Ok;
        int m_Count;
    } blanks[] = {
        {" \t\r\nx", true, 4},
        {"x ", false, 0},
        {"\v", false, 0},
        {"", false, 0},
    };
    for (const auto& test : blanks) {
        int count = -1;
        EXPECT_EQ(SkipBlanksField(c_StringView(test.m_Text), &count), test.m_Ok) << test.m_Text;
        EXPECT_EQ(count, test.m_Count) << test.m_Text;
    }
}

} // namespace
