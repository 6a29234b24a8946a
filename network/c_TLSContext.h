#pragma once
// c_TLSContext: one shared OpenSSL context for a role and a security method, from which every TLS
// connection of that kind is made.
//
// Methods 1 to 4 pin the protocol to one version (TLS 1.0, 1.1, 1.2, and 1.2 again for client
// authentication); 1 and 2 run at security level 0, where OpenSSL 3 still allows those versions.
// Client contexts verify the server's chain against OpenSSL's default paths (SSL_CERT_FILE and
// SSL_CERT_DIR add authorities); each connection checks the name it asked for. Server contexts ask
// for no client certificate. Any other method leaves the context empty, as does a failed set-up.

#include "strings/c_String.h"

#include <openssl/types.h>

class c_TLSContext {
public:
    static constexpr int ROLE_SERVER = 1;

    // Any role other than ROLE_SERVER is a client.
    c_TLSContext(int securityMethod, int role);
    ~c_TLSContext() { Free(); }
    c_TLSContext(const c_TLSContext&) = delete;
    c_TLSContext& operator=(const c_TLSContext&) = delete;

    void Free();
    SSL_CTX* GetSSLContext() const { return m_p_SSLContext; }
    int GetRole() const { return m_Role; }
    bool IsServer() const { return m_Role == ROLE_SERVER; }

    // The two files when both exist and load, else a self-signed certificate. The text (may be
    // null) becomes the outcome; see the definition for which text survives a fallback.
    bool LoadServerCertificates(const c_String& certificatePathAndFileName, const c_String& keyPathAndFileName,
                                c_String* text);
    // PEM certificate and key; the error text (may be null) is touched only on failure.
    bool UseCertificateAndKeyFiles(const c_String& certificatePathAndFileName, const c_String& keyPathAndFileName,
                                   c_String* errorText);
    bool CreateAndUseSelfSignedCertificate(c_String* errorText);

private:
    bool Configure(int version);

    SSL_CTX* m_p_SSLContext = nullptr;
    int m_Role;
};
