// Tests of the window station's visible flag.

#include "oslayer/windows/WindowStation.h"

#include "platform/user/testing/c_DialogDriver.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowStation, IsVisibleOnlyWhileSomeoneAnswersTheWindows) {
    EXPECT_FALSE(n_OSLayer::IsWindowStationVisible()) << "headless";
    {
        n_Platform::c_DialogDriver driver;
        EXPECT_TRUE(n_OSLayer::IsWindowStationVisible()) << "a test driver";
    }
    EXPECT_FALSE(n_OSLayer::IsWindowStationVisible()) << "headless again";
    n_Platform::c_DialogDriver onlyActing(true);
    EXPECT_FALSE(n_OSLayer::IsWindowStationVisible()) << "a driver that keeps the headless back end";
}

} // namespace
