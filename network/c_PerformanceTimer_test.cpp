// Tests of c_PerformanceTimer on the layer's test clock.

#include "network/c_PerformanceTimer.h"

#include "platform/testing/TestClock.h"

#include <gtest/gtest.h>

namespace {

TEST(PerformanceTimer, AddsRunningSpansAndIgnoresStoppedTime) {
    n_Platform::c_TestClock clock;
    c_PerformanceTimer timer;
    EXPECT_FALSE(timer.IsRunning());
    timer.Start();
    clock.Advance(250);
    timer.Start();
    EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.25);
    timer.Stop();
    clock.Advance(1000);
    EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.25);
    timer.Start();
    clock.Advance(500);
    timer.Stop();
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.75);
    timer.Reset();
    EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.0);
}

} // namespace
