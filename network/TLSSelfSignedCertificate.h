#pragma once
// The self-signed server certificate made at run time when no certificate files are given.
//
// X.509 v3, RSA 2048 with SHA-256 (OpenSSL 3 at its default level refuses smaller keys), a positive
// random serial, valid from now for 365 days, issuer equal to subject, no extensions.

#include <openssl/types.h>

// The caller passes two null pointers and frees afterwards whatever is not null, the key first,
// also on failure.
bool CreateSelfSignedCertificate(X509** certificate, EVP_PKEY** key);
