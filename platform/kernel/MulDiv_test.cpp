// Tests of MulDiv.

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroAndRefusesOverflow) {
    struct s_Case {
        int m_Number;
        int m_Numerator;
        int m_Denominator;
        int m_Result;
    } const cases[] = {
        {10, 96, 72, 13},
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {1, -1, 2, -1},
        {1, 1, -2, -1},
        {-1, -1, -2, -1},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {-2, 1, 3, -1},
        {2147483647, 2, 2, 2147483647},
        {65536, 65536, 1, -1},
        {-2147483647 - 1, 1, 1, -2147483647 - 1},
        {-2147483647 - 1, -1, 1, -1},
        {5, 7, 0, -1},
    };
    for (const s_Case& row : cases) {
        EXPECT_EQ(MulDiv(row.m_Number, row.m_Numerator, row.m_Denominator), row.m_Result)
            << row.m_Number << " " << row.m_Numerator << " " << row.m_Denominator;
    }
}

} // namespace
