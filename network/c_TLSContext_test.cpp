// Tests of c_TLSContext: methods and roles, and the server certificate from files or self-signed.

#include "network/c_TLSContext.h"

#include "network/testing/c_TestAuthority.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <string>

namespace {

int GetSystemSecurityLevel() {
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    const int level = SSL_CTX_get_security_level(context);
    SSL_CTX_free(context);
    return level;
}

TEST(c_TLSContext, MethodsPinOneVersion) {
    const struct {
        int m_Method;
        int m_Version;
        bool m_LevelZero;
    } CASES[] = {
        {1, TLS1_VERSION, true},
        {2, TLS1_1_VERSION, true},
        {3, TLS1_2_VERSION, false},
        {4, TLS1_2_VERSION, false},
    };
    for (const auto& row : CASES) {
        for (int role : {0, 1}) {
            c_TLSContext context(row.m_Method, role);
            SSL_CTX* ssl = context.GetSSLContext();
            ASSERT_NE(ssl, nullptr) << row.m_Method;
            EXPECT_EQ(SSL_CTX_get_min_proto_version(ssl), row.m_Version) << row.m_Method;
            EXPECT_EQ(SSL_CTX_get_max_proto_version(ssl), row.m_Version) << row.m_Method;
            EXPECT_EQ(SSL_CTX_get_security_level(ssl), row.m_LevelZero ? 0 : GetSystemSecurityLevel()) << row.m_Method;
            EXPECT_EQ(SSL_CTX_get_verify_mode(ssl), role == 1 ? SSL_VERIFY_NONE : SSL_VERIFY_PEER) << row.m_Method;
            EXPECT_EQ(context.GetRole(), role);
        }
    }
}

TEST(c_TLSContext, NoContextOutsideTheMethods) {
    for (int method : {0, 5, -1}) {
        for (int role : {0, 1}) {
            c_TLSContext context(method, role);
            EXPECT_EQ(context.GetSSLContext(), nullptr);
            c_String text = "before";
            EXPECT_FALSE(context.LoadServerCertificates("/tmp", "/tmp", &text));
            EXPECT_STREQ(text.GetChars(), "The context is not created.");
            text = "before";
            EXPECT_FALSE(context.UseCertificateAndKeyFiles("/tmp", "/tmp", &text));
            EXPECT_STREQ(text.GetChars(), "The context is not created.");
            text = "before";
            EXPECT_FALSE(context.CreateAndUseSelfSignedCertificate(&text));
            EXPECT_STREQ(text.GetChars(), "The context is not created.");
            EXPECT_FALSE(context.CreateAndUseSelfSignedCertificate(nullptr));
        }
    }
}

TEST(c_TLSContext, FreeReleasesTheContext) {
    c_TLSContext context(3, 1);
    context.Free();
    EXPECT_EQ(context.GetSSLContext(), nullptr);
    context.Free();
}

std::string GetCommonName(SSL_CTX* context) {
    X509* certificate = SSL_CTX_get0_certificate(context);
    if (certificate == nullptr) {
        return "";
    }
    char name[256] = {};
    X509_NAME_get_text_by_NID(X509_get_subject_name(certificate), NID_commonName, name, sizeof name);
    return name;
}

class ServerCertificates : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_p_Authority = new c_TestAuthority;
        ASSERT_TRUE(s_p_Authority->IsReady());
        ASSERT_TRUE(s_p_Authority->Issue("server.test", "DNS:server.test"));
        ASSERT_TRUE(s_p_Authority->Issue("other.test", "DNS:other.test"));
        s_p_Authority->WriteFile("garbage.pem", "not a PEM file\n");
    }
    static void TearDownTestSuite() { delete s_p_Authority; }

    static c_String Path(const std::string& name) { return s_p_Authority->GetPath(name).c_str(); }

    static c_TestAuthority* s_p_Authority;
};

c_TestAuthority* ServerCertificates::s_p_Authority = nullptr;

TEST_F(ServerCertificates, FromFilesOrSelfSigned) {
    const struct {
        const char* m_Name;
        const char* m_Certificate;
        const char* m_Key;
        const char* m_TextStart; // null: the caller's text stays
        const char* m_CommonName;
    } CASES[] = {
        {"both files load", "server.test.crt", "server.test.key", "Successfully loaded TLS server certificates",
         "server.test"},
        {"key missing: self-signed, text untouched", "server.test.crt", "missing.key", nullptr, "Dovrik Chart Cert"},
        {"certificate missing", "missing.crt", "server.test.key", nullptr, "Dovrik Chart Cert"},
        {"certificate not PEM", "garbage.pem", "server.test.key", "Failed to use the certificate at ",
         "Dovrik Chart Cert"},
        {"key not PEM", "server.test.crt", "garbage.pem", "Failed to use the private key at ", "Dovrik Chart Cert"},
        {"key of another certificate", "server.test.crt", "other.test.key", "Failed to use the private key at ",
         "Dovrik Chart Cert"},
    };
    for (const auto& row : CASES) {
        c_TLSContext context(3, 1);
        c_String text = "caller's";
        EXPECT_TRUE(context.LoadServerCertificates(Path(row.m_Certificate), Path(row.m_Key), &text)) << row.m_Name;
        EXPECT_EQ(GetCommonName(context.GetSSLContext()), row.m_CommonName) << row.m_Name;
        const std::string actual = text.GetChars();
        if (row.m_TextStart == nullptr) {
            EXPECT_EQ(actual, "caller's") << row.m_Name;
        } else {
            EXPECT_EQ(actual.rfind(row.m_TextStart, 0), 0u) << row.m_Name << ": " << actual;
        }
    }
}

TEST_F(ServerCertificates, FailureTextsNameThePathAndOpenSSLsReason) {
    c_TLSContext context(3, 1);
    c_String text;
    const c_String garbage = Path("garbage.pem");
    EXPECT_FALSE(context.UseCertificateAndKeyFiles(garbage, Path("server.test.key"), &text));
    const std::string expected = std::string("Failed to use the certificate at ") + garbage.GetChars() + ".  error:";
    EXPECT_EQ(std::string(text.GetChars()).rfind(expected, 0), 0u) << text.GetChars();
    EXPECT_NE(std::string(text.GetChars()).find("no start line"), std::string::npos) << text.GetChars();
    EXPECT_EQ(ERR_peek_error(), 0u);
}

TEST_F(ServerCertificates, SuccessLeavesTheErrorTextAlone) {
    c_TLSContext context(3, 1);
    c_String text = "caller's";
    EXPECT_TRUE(context.UseCertificateAndKeyFiles(Path("server.test.crt"), Path("server.test.key"), &text));
    EXPECT_STREQ(text.GetChars(), "caller's");
    EXPECT_TRUE(context.CreateAndUseSelfSignedCertificate(&text));
    EXPECT_STREQ(text.GetChars(), "caller's");
    EXPECT_EQ(GetCommonName(context.GetSSLContext()), "Dovrik Chart Cert");
    EXPECT_EQ(ERR_peek_error(), 0u);
}

} // namespace
