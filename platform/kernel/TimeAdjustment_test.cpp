// Tests of GetSystemTimeAdjustment against the kernel's clock discipline.

#include <windows.h>

#include <gtest/gtest.h>

#include <sys/timex.h>

namespace {

TEST(GetSystemTimeAdjustment, ReadsTheTickAndItsCorrection) {
    DWORD adjustment = 0;
    DWORD increment = 0;
    BOOL disabled = FALSE;
    ASSERT_TRUE(GetSystemTimeAdjustment(&adjustment, &increment, &disabled));
    timex clock = {};
    ASSERT_NE(adjtimex(&clock), -1);
    EXPECT_EQ(increment, static_cast<DWORD>(clock.tick * 10)) << "the tick in 100-nanosecond units";
    // The kernel corrects the frequency by at most 500 parts per million.
    EXPECT_NEAR(static_cast<double>(adjustment), static_cast<double>(increment), increment * 0.0006);
    EXPECT_EQ(disabled != FALSE, clock.freq == 0);
    if (disabled) {
        EXPECT_EQ(adjustment, increment);
    }
}

TEST(GetSystemTimeAdjustment, RefusesMissingTargets) {
    DWORD value = 0;
    BOOL disabled = FALSE;
    const struct {
        LPDWORD m_Adjustment;
        LPDWORD m_Increment;
        LPBOOL m_Disabled;
    } rows[] = {{nullptr, &value, &disabled}, {&value, nullptr, &disabled}, {&value, &value, nullptr}};
    for (const auto& row : rows) {
        SetLastError(0);
        EXPECT_FALSE(GetSystemTimeAdjustment(row.m_Adjustment, row.m_Increment, row.m_Disabled));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

} // namespace
