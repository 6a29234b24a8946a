#pragma once
// PEM certificates, keys and authorities read through the OS layer, so that paths in the program's
// own form reach the files; OpenSSL then parses the bytes in memory.
//
// A file that cannot be read leaves a BIO entry on OpenSSL's error queue like any parse failure.
// Encrypted keys are refused rather than prompting for a password.

#include "strings/c_String.h"

#include <openssl/types.h>

namespace n_PEMFiles {

// The first certificate of the file; null on failure. The caller frees it.
X509* ReadCertificate(const c_String& path);
// The first private key of the file; null on failure. The caller frees it.
EVP_PKEY* ReadPrivateKey(const c_String& path);
// Adds every certificate of the file to the store; false when the file holds none.
bool AddAuthorities(X509_STORE* store, const c_String& path);

} // namespace n_PEMFiles
