// Tests of the n_OSLayer error texts.

#include "oslayer/system/ErrorText.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct s_ErrorTextCase {
    std::uint32_t m_Code;
    const char* m_Expected;
};

TEST(GetWindowsErrorText, JoinsTheNumberAndTheSystemText) {
    const s_ErrorTextCase cases[] = {
        {0, "Windows error code 0: The operation completed successfully."},
        {2, "Windows error code 2: The system cannot find the file specified."},
        {5, "Windows error code 5: Access is denied."},
        {4294967295u, "Unknown Windows error code 4294967295."},
        {0x80070005u, "Unknown Windows error code 2147942405."},
    };
    for (const s_ErrorTextCase& row : cases) {
        EXPECT_EQ(n_OSLayer::GetWindowsErrorText(row.m_Code), row.m_Expected) << row.m_Code;
    }
}

TEST(IsNotFoundError, KnowsTheFourNotFoundCodes) {
    for (std::uint32_t code : {2u, 3u, 15u, 21u}) {
        EXPECT_TRUE(n_OSLayer::IsNotFoundError(code)) << code;
    }
    for (std::uint32_t code : {0u, 5u, 32u, 183u}) {
        EXPECT_FALSE(n_OSLayer::IsNotFoundError(code)) << code;
    }
}

TEST(LastError, IsTheThreadsOwn) {
    n_OSLayer::SetLastError(1234);
    EXPECT_EQ(n_OSLayer::GetLastError(), 1234u);
    EXPECT_EQ(GetLastError(), 1234u);
}

} // namespace
