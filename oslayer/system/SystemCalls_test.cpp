// Tests of the n_OSLayer system calls.

#include "oslayer/system/SystemCalls.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The volatile keeps the call from becoming a jump, so the caller is this function.
__attribute__((noinline)) const void* CallerAddress() {
    const void* volatile address = n_OSLayer::GetCurrentCodeAddress();
    return address;
}

TEST(GetCurrentCodeAddress, PointsIntoTheCaller) {
    const auto address = reinterpret_cast<std::uintptr_t>(CallerAddress());
    const auto caller = reinterpret_cast<std::uintptr_t>(&CallerAddress);
    // The return address lies inside the caller's own code (longer in sanitizer builds).
    EXPECT_GT(address, caller);
    EXPECT_LT(address, caller + 1024);
    EXPECT_EQ(CallerAddress(), CallerAddress());
}

TEST(SystemCalls, SoundAndFilterFailWithoutTheFacility) {
    EXPECT_FALSE(n_OSLayer::PlaySound("C:\\ding.wav", SND_ASYNC));
    EXPECT_EQ(n_OSLayer::SetUnhandledExceptionFilter(nullptr), nullptr);
}

} // namespace
