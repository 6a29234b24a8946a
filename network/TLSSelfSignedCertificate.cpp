// The self-signed server certificate made at run time when no certificate files are given.

#include "network/TLSSelfSignedCertificate.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <cstdint>
#include <cstring>
#include <ctime>

namespace {

constexpr long VALIDITY_SECONDS = 31536000;
constexpr int KEY_BITS = 2048;

// Positive and non-zero, as RFC 5280 asks; random when the generator works, else the time.
long MakeSerial() {
    std::uint32_t serial = static_cast<std::uint32_t>(std::time(nullptr));
    unsigned char bytes[sizeof serial];
    ERR_set_mark();
    if (RAND_bytes(bytes, sizeof bytes) == 1) {
        std::memcpy(&serial, bytes, sizeof serial);
    }
    ERR_pop_to_mark();
    serial &= 0x7FFFFFFFu;
    return serial != 0 ? static_cast<long>(serial) : 1;
}

// Entries that OpenSSL refuses (a three-letter country, an unknown field name) are left out, and
// their errors with them, so that no later caller reads them as its own.
void AddSubjectEntries(X509_NAME* name) {
    static const char* const ENTRIES[][2] = {
        {"C", "USA"},
        {"ST", "Oregon"},
        {"CN", "Dovrik Chart Cert"},
        {"O", "Dovrik Chart"},
        {"EMAIL", "support@dovrikchart.example"},
    };
    for (const auto& entry : ENTRIES) {
        ERR_set_mark();
        const unsigned char* value = reinterpret_cast<const unsigned char*>(entry[1]);
        if (X509_NAME_add_entry_by_txt(name, entry[0], MBSTRING_ASC, value, -1, -1, 0) == 1) {
            ERR_clear_last_mark();
        } else {
            ERR_pop_to_mark();
        }
    }
}

bool FillCertificate(X509* certificate, EVP_PKEY* key) {
    if (X509_set_version(certificate, X509_VERSION_3) != 1 ||
        ASN1_INTEGER_set(X509_get_serialNumber(certificate), MakeSerial()) != 1 ||
        X509_gmtime_adj(X509_getm_notBefore(certificate), 0) == nullptr ||
        X509_gmtime_adj(X509_getm_notAfter(certificate), VALIDITY_SECONDS) == nullptr) {
        return false;
    }
    X509_NAME* name = X509_get_subject_name(certificate);
    AddSubjectEntries(name);
    return X509_set_issuer_name(certificate, name) == 1 && X509_set_pubkey(certificate, key) == 1 &&
           X509_sign(certificate, key, EVP_sha256()) != 0;
}

} // namespace

bool CreateSelfSignedCertificate(X509** certificate, EVP_PKEY** key) {
    *certificate = X509_new();
    if (*certificate == nullptr) {
        return false;
    }
    *key = EVP_RSA_gen(KEY_BITS);
    return *key != nullptr && FillCertificate(*certificate, *key);
}
