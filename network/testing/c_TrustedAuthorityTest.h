#pragma once
// Test helper: a test suite's base that makes a test authority (and a stranger's) once for the
// suite and has every client context made meanwhile trust the first, through SSL_CERT_FILE. Network
// cores made in the suite's tests therefore verify servers against it.

#include "network/testing/c_TestAuthority.h"

#include <gtest/gtest.h>

class c_TrustedAuthorityTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_p_Authority = new c_TestAuthority;
        s_p_Stranger = new c_TestAuthority("Untrusted Authority");
        ASSERT_TRUE(s_p_Authority->IsReady() && s_p_Stranger->IsReady());
        s_p_Trust = new c_ScopedCertificateFile(s_p_Authority->GetCertificatePath());
    }
    static void TearDownTestSuite() {
        delete s_p_Trust;
        delete s_p_Authority;
        delete s_p_Stranger;
        s_p_Trust = nullptr;
        s_p_Authority = s_p_Stranger = nullptr;
    }

    static inline c_TestAuthority* s_p_Authority = nullptr;
    static inline c_TestAuthority* s_p_Stranger = nullptr;
    static inline c_ScopedCertificateFile* s_p_Trust = nullptr;
};
