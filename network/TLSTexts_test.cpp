// Tests of the TLS texts: security method names and OpenSSL's error queue as one line.

#include "network/TLSTexts.h"

#include "network/TLSLibrary.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/ssl.h>

namespace {

TEST(TLSTexts, SecurityMethodNames) {
    const struct {
        int m_Method;
        const char* m_Name;
    } CASES[] = {
        {0, "(no SSL/TLS)"},
        {1, "TLS 1.0"},
        {2, "TLS 1.1"},
        {3, "TLS 1.2"},
        {4, "TLS 1.2 with Client Auth"},
        {5, "(unknown security method)"},
        {-1, "(unknown security method)"},
    };
    for (const auto& row : CASES) {
        EXPECT_STREQ(GetSecurityMethodName(row.m_Method).GetChars(), row.m_Name) << row.m_Method;
    }
}

TEST(TLSTexts, ErrorQueueJoinedAndEmptied) {
    // The reasons' texts are loaded with the library.
    InitializeOpenSSL();
    ERR_clear_error();
    EXPECT_TRUE(GetOpenSSLErrorText().IsEmpty());
    ERR_raise(ERR_LIB_SSL, SSL_R_NO_CIPHERS_AVAILABLE);
    ERR_raise(ERR_LIB_SSL, SSL_R_CERTIFICATE_VERIFY_FAILED);
    EXPECT_STREQ(
        GetOpenSSLErrorText().GetChars(),
        "error:0A0000B5:SSL routines::no ciphers available; error:0A000086:SSL routines::certificate verify failed");
    EXPECT_TRUE(GetOpenSSLErrorText().IsEmpty());
    EXPECT_EQ(ERR_peek_error(), 0u);
    CleanupOpenSSL();
}

} // namespace
