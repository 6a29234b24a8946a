// SHA-256, HMAC-SHA256 and SHA-1 through OpenSSL 3's EVP calls.

#include "textutil/Digests.h"

#include "textutil/Base64.h"
#include "textutil/HexEncoding.h"

#include <openssl/evp.h>

namespace {

int Digest(const EVP_MD* algorithm, const c_StringView& text, std::uint8_t* digest) {
    return EVP_Digest(text.begin(), static_cast<std::size_t>(text.GetLength()), digest, nullptr, algorithm, nullptr);
}

template <int SIZE> c_String DigestBase64(const EVP_MD* algorithm, const c_StringView& text) {
    std::uint8_t digest[SIZE];
    if (Digest(algorithm, text, digest) != 1) {
        return c_String();
    }
    return Base64EncodeToString(s_ByteSpan::FromPointer(digest, SIZE));
}

} // namespace

c_String HMACSHA256Hex(const c_StringView& key, const c_StringView& data) {
    std::uint8_t mac[EVP_MAX_MD_SIZE];
    std::size_t length = 0;
    // EVP_Q_mac wants a key pointer even for an empty key.
    const char* keyBytes = key.IsEmpty() ? "" : key.begin();
    if (EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA256", nullptr, keyBytes, static_cast<std::size_t>(key.GetLength()),
                  reinterpret_cast<const unsigned char*>(data.IsEmpty() ? "" : data.begin()),
                  static_cast<std::size_t>(data.GetLength()), mac, sizeof mac, &length) == nullptr) {
        return c_String();
    }
    return HexEncodeBytes(s_ByteSpan::FromPointer(mac, length), false);
}

int SHA256Digest(const c_StringView& text, std::uint8_t digest[SHA256_DIGEST_SIZE]) {
    return Digest(EVP_sha256(), text, digest);
}

int SHA1Digest(const c_StringView& text, std::uint8_t digest[SHA1_DIGEST_SIZE]) {
    return Digest(EVP_sha1(), text, digest);
}

c_String SHA256Base64(const c_StringView& text) {
    return DigestBase64<SHA256_DIGEST_SIZE>(EVP_sha256(), text);
}

c_String SHA1Base64(const c_StringView& text) {
    return DigestBase64<SHA1_DIGEST_SIZE>(EVP_sha1(), text);
}
