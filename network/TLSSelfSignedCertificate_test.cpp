// Tests of the self-signed certificate, read back by the openssl tool.

#include "network/TLSSelfSignedCertificate.h"

#include "network/testing/c_TestAuthority.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>
#include <string>

namespace {

std::string ReadCommandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char block[4096];
    for (size_t read = 0; pipe != nullptr && (read = fread(block, 1, sizeof block, pipe)) > 0;) {
        output.append(block, read);
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return output;
}

class SelfSignedCertificate : public testing::Test {
protected:
    void SetUp() override {
        ERR_clear_error();
        m_Created = CreateSelfSignedCertificate(&m_p_Certificate, &m_p_Key);
    }
    void TearDown() override {
        EVP_PKEY_free(m_p_Key);
        X509_free(m_p_Certificate);
    }

    bool m_Created = false;
    X509* m_p_Certificate = nullptr;
    EVP_PKEY* m_p_Key = nullptr;
};

TEST_F(SelfSignedCertificate, AsTheOpenSSLToolReadsIt) {
    ASSERT_TRUE(m_Created);
    c_TestAuthority folder;
    const std::string path = folder.GetPath("self.crt");
    FILE* file = fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    PEM_write_X509(file, m_p_Certificate);
    fclose(file);

    const std::string text = ReadCommandOutput("openssl x509 -noout -text -in " + path);
    for (const char* expected : {"Version: 3 (0x2)", "Public-Key: (2048 bit)", "Exponent: 65537 (0x10001)",
                                 "Signature Algorithm: sha256WithRSAEncryption",
                                 "Issuer: ST = Oregon, CN = Dovrik Chart Cert, O = Dovrik Chart",
                                 "Subject: ST = Oregon, CN = Dovrik Chart Cert, O = Dovrik Chart"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    EXPECT_EQ(text.find("X509v3 extensions"), std::string::npos);
}

TEST_F(SelfSignedCertificate, ValidForAYearWithAPositiveSerial) {
    ASSERT_TRUE(m_Created);
    int days = 0;
    int seconds = 0;
    ASSERT_EQ(
        ASN1_TIME_diff(&days, &seconds, X509_get0_notBefore(m_p_Certificate), X509_get0_notAfter(m_p_Certificate)), 1);
    EXPECT_EQ(days * 86400 + seconds, 31536000);
    EXPECT_LE(X509_cmp_current_time(X509_get0_notBefore(m_p_Certificate)), 0);
    EXPECT_GT(ASN1_INTEGER_get(X509_get0_serialNumber(m_p_Certificate)), 0);
    EXPECT_EQ(X509_verify(m_p_Certificate, m_p_Key), 1);
}

TEST_F(SelfSignedCertificate, RefusedSubjectEntriesLeaveNoError) {
    ASSERT_TRUE(m_Created);
    EXPECT_EQ(ERR_peek_error(), 0u);
}

} // namespace
