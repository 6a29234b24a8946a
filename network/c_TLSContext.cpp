// c_TLSContext: one shared OpenSSL context for a role and a security method.

#include "network/c_TLSContext.h"

#include "network/TLSSelfSignedCertificate.h"
#include "network/TLSTexts.h"
#include "network/internal/PEMFiles.h"
#include "oslayer/files/FileCalls.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace {

// The protocol version of a security method; 0 for none.
int GetProtocolVersion(int securityMethod) {
    static const int VERSIONS[] = {0, TLS1_VERSION, TLS1_1_VERSION, TLS1_2_VERSION, TLS1_2_VERSION};
    if (securityMethod < 0 || securityMethod >= static_cast<int>(std::size(VERSIONS))) {
        return 0;
    }
    return VERSIONS[securityMethod];
}

bool Fail(c_String* text, c_String&& value) {
    if (text != nullptr) {
        *text = static_cast<c_String&&>(value);
    }
    return false;
}

bool FailWithOpenSSLText(c_String* text, const c_StringView& fixed) {
    return Fail(text, fixed + GetOpenSSLErrorText());
}

const char NO_CONTEXT_TEXT[] = "The context is not created.";

} // namespace

c_TLSContext::c_TLSContext(int securityMethod, int role) : m_Role(role) {
    const int version = GetProtocolVersion(securityMethod);
    if (version == 0) {
        return;
    }
    m_p_SSLContext = SSL_CTX_new(IsServer() ? TLS_server_method() : TLS_client_method());
    if (m_p_SSLContext != nullptr && !Configure(version)) {
        Free();
    }
}

bool c_TLSContext::Configure(int version) {
    if (SSL_CTX_set_min_proto_version(m_p_SSLContext, version) != 1 ||
        SSL_CTX_set_max_proto_version(m_p_SSLContext, version) != 1) {
        return false;
    }
    if (version < TLS1_2_VERSION) {
        SSL_CTX_set_security_level(m_p_SSLContext, 0);
    }
    if (IsServer()) {
        // OpenSSL 3 refuses a client's renegotiation unless asked; the servers here always took it.
        SSL_CTX_set_options(m_p_SSLContext, SSL_OP_ALLOW_CLIENT_RENEGOTIATION);
        SSL_CTX_set_verify(m_p_SSLContext, SSL_VERIFY_NONE, nullptr);
        return true;
    }
    SSL_CTX_set_verify(m_p_SSLContext, SSL_VERIFY_PEER, nullptr);
    return SSL_CTX_set_default_verify_paths(m_p_SSLContext) == 1;
}

void c_TLSContext::Free() {
    if (m_p_SSLContext != nullptr) {
        SSL_CTX_free(m_p_SSLContext);
        m_p_SSLContext = nullptr;
    }
}

// When both files exist but fail to load, their failure text stays even if the self-signed
// certificate then succeeds; when a file is missing, a successful fallback leaves the text alone.
bool c_TLSContext::LoadServerCertificates(const c_String& certificatePathAndFileName,
                                          const c_String& keyPathAndFileName, c_String* text) {
    if (n_OSLayer::FileExists(certificatePathAndFileName) && n_OSLayer::FileExists(keyPathAndFileName) &&
        UseCertificateAndKeyFiles(certificatePathAndFileName, keyPathAndFileName, text)) {
        if (text != nullptr) {
            *text = "Successfully loaded TLS server certificates";
        }
        return true;
    }
    return CreateAndUseSelfSignedCertificate(text);
}

bool c_TLSContext::UseCertificateAndKeyFiles(const c_String& certificatePathAndFileName,
                                             const c_String& keyPathAndFileName, c_String* errorText) {
    if (m_p_SSLContext == nullptr) {
        return Fail(errorText, NO_CONTEXT_TEXT);
    }
    ERR_clear_error();
    X509* certificate = n_PEMFiles::ReadCertificate(certificatePathAndFileName);
    const bool certificateUsed = certificate != nullptr && SSL_CTX_use_certificate(m_p_SSLContext, certificate) == 1;
    X509_free(certificate);
    if (!certificateUsed) {
        return FailWithOpenSSLText(errorText,
                                   Concat({"Failed to use the certificate at ", certificatePathAndFileName, ".  "}));
    }
    EVP_PKEY* key = n_PEMFiles::ReadPrivateKey(keyPathAndFileName);
    const bool keyUsed = key != nullptr && SSL_CTX_use_PrivateKey(m_p_SSLContext, key) == 1;
    EVP_PKEY_free(key);
    if (!keyUsed) {
        return FailWithOpenSSLText(errorText, Concat({"Failed to use the private key at ", keyPathAndFileName, ".  "}));
    }
    if (SSL_CTX_check_private_key(m_p_SSLContext) != 1) {
        return FailWithOpenSSLText(errorText, "Checking the private key failed.  ");
    }
    return true;
}

bool c_TLSContext::CreateAndUseSelfSignedCertificate(c_String* errorText) {
    if (m_p_SSLContext == nullptr) {
        return Fail(errorText, NO_CONTEXT_TEXT);
    }
    ERR_clear_error();
    X509* certificate = nullptr;
    EVP_PKEY* key = nullptr;
    bool used = false;
    if (!CreateSelfSignedCertificate(&certificate, &key)) {
        ERR_clear_error();
        Fail(errorText, "Failed to create the certificate.");
    } else if (SSL_CTX_use_certificate(m_p_SSLContext, certificate) != 1) {
        FailWithOpenSSLText(errorText, "Failed to use the created certificate.  ");
    } else if (SSL_CTX_use_PrivateKey(m_p_SSLContext, key) != 1) {
        FailWithOpenSSLText(errorText, "Failed to use the created private key.  ");
    } else {
        used = true;
    }
    // The context holds its own references.
    EVP_PKEY_free(key);
    X509_free(certificate);
    if (!used) {
        return false;
    }
    if (SSL_CTX_check_private_key(m_p_SSLContext) != 1) {
        return FailWithOpenSSLText(errorText, "Checking the created private key failed.  ");
    }
    return true;
}
