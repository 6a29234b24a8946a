// Tests of starting and stopping OpenSSL: the lock table as the started flag, and the library forms.

#include "network/TLSLibrary.h"

#include <gtest/gtest.h>

namespace {

TEST(TLSLibrary, StartsOnceAndStopsOnce) {
    CleanupOpenSSL();
    EXPECT_FALSE(IsOpenSSLStarted());
    CleanupOpenSSL();
    EXPECT_FALSE(IsOpenSSLStarted());

    InitializeOpenSSL();
    EXPECT_TRUE(IsOpenSSLStarted());
    EXPECT_EQ(GetOpenSSLLockCount(), 1);
    InitializeOpenSSL();
    EXPECT_EQ(GetOpenSSLLockCount(), 1);

    CleanupOpenSSL();
    EXPECT_FALSE(IsOpenSSLStarted());
    EXPECT_EQ(GetOpenSSLLockCount(), 0);
}

TEST(TLSLibrary, LibraryFormsWorkOnAnExistingTable) {
    CleanupOpenSSL();
    InitializeOpenSSLLibrary();
    EXPECT_FALSE(IsOpenSSLStarted());

    InitializeOpenSSL();
    CleanupOpenSSLLibrary();
    EXPECT_TRUE(IsOpenSSLStarted());
    EXPECT_EQ(GetOpenSSLLockCount(), 0);
    CleanupOpenSSLLibrary();
    EXPECT_EQ(GetOpenSSLLockCount(), 0);

    InitializeOpenSSLLibrary();
    EXPECT_EQ(GetOpenSSLLockCount(), 1);
    StopOpenSSLThread();
    CleanupOpenSSL();
    EXPECT_FALSE(IsOpenSSLStarted());
}

} // namespace
