#pragma once
// SHA-256, HMAC-SHA256 and SHA-1 of texts, through OpenSSL's EVP interface.
//
// The WebSocket handshake takes its accept key from SHA1Base64; the network layer signs with
// HMACSHA256Hex and SHA256Base64.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <cstdint>

constexpr int SHA256_DIGEST_SIZE = 32;
constexpr int SHA1_DIGEST_SIZE = 20;

// 64 lower-case hex digits of HMAC-SHA256 (RFC 2104) of data under key; empty when OpenSSL fails.
c_String HMACSHA256Hex(const c_StringView& key, const c_StringView& data);
// 1 on success, 0 when OpenSSL fails.
int SHA256Digest(const c_StringView& text, std::uint8_t digest[SHA256_DIGEST_SIZE]);
int SHA1Digest(const c_StringView& text, std::uint8_t digest[SHA1_DIGEST_SIZE]);
// Base64 (with padding) of the digest; empty when OpenSSL fails.
c_String SHA256Base64(const c_StringView& text);
c_String SHA1Base64(const c_StringView& text);
