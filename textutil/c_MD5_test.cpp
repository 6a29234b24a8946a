// Tests of c_MD5: the RFC 1321 suite, and agreement with OpenSSL on random data in random pieces.

#include "textutil/c_MD5.h"

#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>
#include <vector>

namespace {

TEST(c_MD5, Rfc1321Suite) {
    const struct {
        const char* m_Message;
        const char* m_Digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(GetMD5OfText(c_String(test.m_Message))), test.m_Digest) << test.m_Message;
    }
    EXPECT_EQ(ToStd(GetMD5OfData(nullptr, 0)), "d41d8cd98f00b204e9800998ecf8427e");
}

std::vector<std::uint8_t> OpenSSLDigest(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> digest(16);
    unsigned int size = 0;
    EXPECT_EQ(EVP_Digest(data.data(), data.size(), digest.data(), &size, EVP_md5(), nullptr), 1);
    return digest;
}

TEST(c_MD5, AgreesWithOpenSSLOnRandomPieces) {
    std::mt19937 random(1321);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> data(random() % 5000);
        for (std::uint8_t& byte : data) {
            byte = static_cast<std::uint8_t>(random());
        }
        c_MD5 context;
        for (std::size_t fed = 0; fed < data.size();) {
            const std::size_t piece = std::min<std::size_t>(random() % 150, data.size() - fed);
            context.Update(data.data() + fed, static_cast<std::int32_t>(piece));
            fed += piece;
        }
        std::vector<std::uint8_t> digest(16);
        context.Final(digest.data());
        ASSERT_EQ(digest, OpenSSLDigest(data)) << "round " << round << ", " << data.size() << " bytes";
    }
}

TEST(c_MD5, NegativeLengthChangesNothingAndSpansMatchPointers) {
    const c_String text("The quick brown fox jumps over the lazy dog");
    c_MD5 context;
    context.Update(reinterpret_cast<const std::uint8_t*>(text.GetBuffer()), -5);
    context.Update(reinterpret_cast<const std::uint8_t*>(text.GetBuffer()), text.GetLength());
    std::uint8_t digest[16];
    context.Final(digest);
    EXPECT_EQ(ToStd(MD5DigestToHex(digest)), "9e107d9d372bb6826bd81d3542a419d6");
    EXPECT_EQ(ToStd(GetMD5OfData(c_StringView(text).ToSpan())), "9e107d9d372bb6826bd81d3542a419d6");
}

TEST(c_MD5, UnalignedBlocks) {
    std::vector<std::uint8_t> storage(64 * 9 + 1);
    for (std::size_t i = 0; i < storage.size(); ++i) {
        storage[i] = static_cast<std::uint8_t>(i * 31);
    }
    const std::vector<std::uint8_t> shifted(storage.begin() + 1, storage.end());
    std::uint8_t digest[16];
    MD5Digest(storage.data() + 1, static_cast<std::int32_t>(shifted.size()), digest);
    EXPECT_EQ(std::vector<std::uint8_t>(digest, digest + 16), OpenSSLDigest(shifted));
}

} // namespace
