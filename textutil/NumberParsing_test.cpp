// Tests of the number parsers: blanks, signs, thresholds, saturation and the double grammar.

#include "textutil/NumberParsing.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

TEST(NumberParsing, Int32) {
    const struct {
        const char* m_Text;
        int m_Value;
    } cases[] = {
        {"  -42xyz", -42},
        {"\t\n7", 7},
        {"\v\f\r 9", 9},
        {"+7", 0},
        {"", 0},
        {"   ", 0},
        {"-", 0},
        {"abc", 0},
        {"12abc", 12},
        {"--5", 0},
        {"- 5", 0},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"2147483650", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"99999999999999999999", INT_MAX},
        {"214748364", 214748364},
        {"2147483639", 2147483639},
        {"-2147483647", -2147483647},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ParseInt32(c_StringView(test.m_Text)), test.m_Value) << "'" << test.m_Text << "'";
    }
}

TEST(NumberParsing, UInt32Int64UInt64) {
    EXPECT_EQ(ParseUInt32("-1"), 0u);
    EXPECT_EQ(ParseUInt32("4294967295"), 4294967295u);
    EXPECT_EQ(ParseUInt32("4294967296"), 4294967295u);
    EXPECT_EQ(ParseUInt32("4294967289"), 4294967289u) << "below the threshold for a high last digit";
    EXPECT_EQ(ParseUInt32(" 4294967290"), 4294967290u);
    EXPECT_EQ(ParseInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ParseInt64("9223372036854775808"), INT64_MAX);
    EXPECT_EQ(ParseInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(ParseInt64("-9223372036854775809"), INT64_MIN);
    EXPECT_EQ(ParseInt64(" -12345678901234"), -12345678901234);
    EXPECT_EQ(ParseUInt64("18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(ParseUInt64("18446744073709551616"), UINT64_MAX);
    EXPECT_EQ(ParseUInt64("18446744073709551609"), 18446744073709551609u);
}

TEST(NumberParsing, NonConstViewLosesOnlyItsLeadingBlanks) {
    c_StringView text(" \t 12 rest");
    EXPECT_EQ(ParseInt32(text), 12);
    EXPECT_EQ(text, "12 rest");
    c_StringView number("  1.5x");
    EXPECT_EQ(ParseDouble(number), 1.5);
    EXPECT_EQ(number, "1.5x");
    const c_StringView constant("  7");
    EXPECT_EQ(ParseUInt64(constant), 7u);
    EXPECT_EQ(constant, "  7");
}

TEST(NumberParsing, Double) {
    const struct {
        const char* m_Text;
        double m_Value;
    } cases[] = {
        {"1.5e3", 1500},
        {"1.e2", 100},
        {".5", 0.5},
        {"-.5", -0.5},
        {"e5", 0},
        {"1e+-5", 1},
        {"1.5.3", 1.5},
        {"1e1234", 1e123},
        {"1e-400", 0},
        {"  2.25", 2.25},
        {"+1", 0},
        {"1E2", 100},
        {"1e2e3", 100},
        {"5e", 5},
        {"1.5e-3", 0.0015},
        {"0.1", 0.1},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"0.30000000000000004", 0.30000000000000004},
        {"9007199254740993", 9007199254740992.0},
        {"1e308", 1e308},
        {"1e309", INFINITY},
        {"0e999", 0},
        {"2.5E-2x", 0.025},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ParseDouble(c_StringView(test.m_Text)), test.m_Value) << "'" << test.m_Text << "'";
    }
    EXPECT_TRUE(std::signbit(ParseDouble(c_StringView("-"))));
    EXPECT_EQ(ParseFloat("0.1"), 0.1f);
}

TEST(NumberParsing, DoubleNeverNaNForLongDecimals) {
    const std::string many(400, '9');
    const std::string cases[] = {
        "0." + many,                        // a fraction longer than any double
        "0." + std::string(500, '0') + "1", // underflows to zero
        many + "e-500",                     // an overflowing integer part brought back down
        "1" + std::string(5000, '0') + "." + many + "e-999",
    };
    for (const std::string& text : cases) {
        const double value = ParseDouble(c_StringView(text.c_str()));
        EXPECT_FALSE(std::isnan(value)) << text.substr(0, 40);
    }
    EXPECT_EQ(ParseDouble(c_StringView(("0." + many).c_str())), 1.0);
    EXPECT_EQ(ParseDouble(c_StringView((many + "e-500").c_str())), 1e-100);
}

TEST(NumberParsing, ConsumeDecimal) {
    c_StringView text("123abc");
    int value = -1;
    EXPECT_TRUE(ConsumeDecimal(text, &value));
    EXPECT_EQ(value, 123);
    EXPECT_EQ(text, "abc");
    c_StringView largest("2147483647");
    EXPECT_TRUE(ConsumeDecimal(largest, nullptr));
    EXPECT_TRUE(largest.IsEmpty());
    const char* refused[] = {"", " 1", "-1", "x", "2147483648"};
    for (const char* bad : refused) {
        c_StringView view(bad);
        value = -1;
        EXPECT_FALSE(ConsumeDecimal(view, &value)) << bad;
        EXPECT_EQ(view, bad);
        EXPECT_EQ(value, -1);
    }
}

TEST(NumberParsing, GroupedHex) {
    const struct {
        const char* m_Text;
        std::uint64_t m_Value;
    } cases[] = {
        {"0000-0000-0000-00FF", 255},        {"0123-4567-89ab-CDEF", 0x0123456789ABCDEFu},
        {"FFFF-FFFF-FFFF-FFFF", UINT64_MAX}, {"0000-0000-0000-00F", 0},
        {"0000-0000-0000-00FF0", 0},         {"0000-0000-0000-00FG", 0},
        {"0000000000000000FFF", 0},          {"---0000000000000001", 1},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ParseGroupedHex(c_String(test.m_Text)), test.m_Value) << test.m_Text;
    }
}

} // namespace
