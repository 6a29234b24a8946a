// Tests of the double and float texts and of rounding.

#include "textutil/DoubleFormatting.h"

#include "textutil/NumericFunctions.h"

#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

TEST(DoubleFormatting, Texts) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {ToString(2.0), "2"},
        {ToString(2.5), "2.5"},
        {ToString(-0.0), "0"},
        {ToString(nan), "NaN"},
        {ToString(-infinity), "-Infinity"},
        {ToString(infinity), "Infinity"},
        {ToString(1e20), "1e+20"},
        {ToString(3000000000.0), "3e+09"},
        {ToString(123456789.0), "123456789"},
        {ToString(-2147483648.0), "-2147483648"},
        {ToStringShortest(12345678.0), "12345678"},
        {ToStringShortest(100000000.0), "1e+08"},
        {ToStringShortest(123456789.5), "1.234567895e+08"},
        {ToStringShortest(0.00000001), "0.00000001"},
        {ToStringShortest(0.000000001), "1e-09"},
        {ToStringShortest(1.5e-300), "1.5e-300"},
        {ToStringShortest(-0.0), "0"},
        {ToString(0.1f), "0.1"},
        {ToString(16777216.0f), "16777216"},
        {ToString(3e9f), "3e+09"},
        {ToStringShortest(0.1f), "0.1"},
        {ToString(3.14159, 2), "3.14"},
        {ToString(1.0, 3), "1.000"},
        {ToString(2.5, 0), "3"},
        {ToString(2.0, 61), ""},
        {ToString(2.0, -1), ""},
        {ToString(-0.001, 2), "-0.00"},
        {ToString(-0.0, 2), "0.00"},
        {ToString(1e60, 0), ""},
        {ToString(-1e60, 0), ""},
        {ToString(9.99e59, 0), "998999999999999997250545867426600863549261342560483731832832"},
        {ToString(1.0, 60), "1.000000000000000000000000000000000000000000000000000000000000"},
        {ToString(nan, 2), "NaN"},
        {ToString(-infinity, 2), "-Infinity"},
        {ToString(0.5f, 2), "0.50"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected);
    }
}

TEST(DoubleFormatting, CoreReplacesItsOutput) {
    c_String out("previous text");
    DoubleToString(1.25, 1, false, false, out);
    EXPECT_EQ(out, "1.3");
    DoubleToString(1.25, 61, false, false, out);
    EXPECT_TRUE(out.IsEmpty());
    DoubleToString(0.1, 0, true, true, out);
    EXPECT_EQ(out, "0.1");
}

TEST(NumericFunctions, Rounding) {
    const double justBelowHalf = 0.49999999999999983;
    const struct {
        double m_Value;
        int m_Int;
        std::int64_t m_Int64;
    } cases[] = {
        {2.5, 3, 3},
        {-2.5, -3, -3},
        {2.4, 2, 2},
        {-2.4, -2, -2},
        {justBelowHalf, 1, 0},
        {-justBelowHalf, -1, 0},
        {0, 0, 0},
        {1e10, INT_MAX, 10000000000},
        {-1e10, INT_MIN, -10000000000},
        {1e300, INT_MAX, INT64_MAX},
        {-1e300, INT_MIN, INT64_MIN},
        {std::numeric_limits<double>::quiet_NaN(), 0, 0},
        {2147483646.5, INT_MAX, 2147483647},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(RoundToInt(test.m_Value), test.m_Int) << test.m_Value;
        EXPECT_EQ(RoundToInt64(test.m_Value), test.m_Int64) << test.m_Value;
    }
}

TEST(NumericFunctions, PowersOfTen) {
    for (int n = -10; n <= 10; ++n) {
        EXPECT_EQ(GetPowerOfTen(n), std::stod("1e" + std::to_string(n))) << n;
    }
    EXPECT_EQ(GetPowerOfTen(20), std::pow(10.0, 20));
    EXPECT_EQ(GetPowerOfTen(-20), std::pow(10.0, -20));
    EXPECT_EQ(Power(2.0, 10), 1024.0);
}

} // namespace
