// Tests of n_OSLayer::c_COMInitializer: initialised on S_OK and S_FALSE, and uninitialising only what
// it initialised.

#include "oslayer/shell/c_COMInitializer.h"

#include "platform/testing/ShellHooks.h"

#include <gtest/gtest.h>

namespace {

// True when the thread has no COM initialisation open: a new one is the first.
bool IsThreadUninitialized() {
    const HRESULT result = CoInitialize(nullptr);
    CoUninitialize();
    return result == S_OK;
}

TEST(COMInitializer, InitialisesForItsLifeAndNests) {
    {
        const n_OSLayer::c_COMInitializer outer;
        EXPECT_TRUE(outer.IsInitialized());
        {
            const n_OSLayer::c_COMInitializer inner;
            EXPECT_TRUE(inner.IsInitialized()) << "S_FALSE counts as initialised";
        }
        EXPECT_FALSE(IsThreadUninitialized()) << "the inner one took back only its own";
    }
    EXPECT_TRUE(IsThreadUninitialized());
}

TEST(COMInitializer, AFailedStartTakesNothingBack) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    {
        const c_InjectedShellFault fault(n_Platform::e_ShellCall::CO_INITIALIZE, E_OUTOFMEMORY);
        const n_OSLayer::c_COMInitializer failed;
        EXPECT_FALSE(failed.IsInitialized());
    }
    EXPECT_FALSE(IsThreadUninitialized()) << "the caller's initialisation is still open";
    CoUninitialize();
}

} // namespace
