// Tests of the random source, the uniform range, random identifiers and the digests.

#include "textutil/RandomSource.h"

#include "textutil/Digests.h"
#include "textutil/HexEncoding.h"
#include "textutil/RandomId.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace {

// Hands out scripted 32-bit draws, then counts upwards.
std::deque<std::uint32_t> g_Draws;
std::uint32_t g_Counter = 0;

bool ScriptedSource(void* buffer, std::uint64_t count) {
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    while (count != 0) {
        std::uint32_t draw = g_Counter++;
        if (!g_Draws.empty()) {
            draw = g_Draws.front();
            g_Draws.pop_front();
        }
        const std::uint64_t taken = count < sizeof draw ? count : sizeof draw;
        std::memcpy(bytes, &draw, static_cast<std::size_t>(taken));
        bytes += taken;
        count -= taken;
    }
    return true;
}

class RandomSource : public testing::Test {
protected:
    void SetUp() override {
        g_Draws.clear();
        g_Counter = 0;
        SetRandomBytesSource(ScriptedSource);
    }
    void TearDown() override { SetRandomBytesSource(nullptr); }
};

TEST_F(RandomSource, RangeIsUniformFromOneToN) {
    const struct {
        const char* m_Name;
        int m_N;
        std::deque<std::uint32_t> m_Draws;
        int m_Result;
    } cases[] = {
        {"n = 1", 1, {12345}, 1},
        {"n below 1", 0, {12345}, 1},
        {"lowest draw", 65535, {0}, 1},
        {"n itself is as likely as any value", 65535, {65534}, 65535},
        {"wraps", 65535, {65535}, 1},
        {"the draw past the last whole multiple is drawn again", 65535, {0xFFFFFFFF, 7}, 8},
        {"large n", 0x7FFFFFFF, {0xFFFFFFFD}, 0x7FFFFFFF},
        {"large n, rejected draw", 0x7FFFFFFF, {0xFFFFFFFE, 3}, 4},
    };
    for (const auto& test : cases) {
        g_Draws = test.m_Draws;
        EXPECT_EQ(GetRandomIntInRange(test.m_N), test.m_Result) << test.m_Name;
    }
}

TEST_F(RandomSource, RandomIdText) {
    const c_String id = MakeRandomIdText();
    ASSERT_EQ(id.GetLength(), 68);
    const std::string text = ToStd(id);
    int dashes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '-') {
            ++dashes;
            continue;
        }
        EXPECT_TRUE(std::strchr("0123456789abcdef", text[i]) != nullptr) << text;
    }
    EXPECT_EQ(dashes, 4);
    EXPECT_EQ(text.substr(0, 16), "0001000200030004") << "groups come from the range 1 to 65535";
    EXPECT_EQ(text[26], '4');
    EXPECT_TRUE(std::strchr("89ab", text[35]) != nullptr) << text;
    EXPECT_EQ(GetRandomByteValue(), 18) << "one byte of the next draw";
    EXPECT_EQ(GetRandomInt(10), 10);
}

TEST(RandomSourceReal, GeneratorsFillBuffers) {
    std::uint8_t bytes[64] = {};
    ASSERT_TRUE(GetRandomBytes(bytes, sizeof bytes));
    int nonZero = 0;
    for (const std::uint8_t byte : bytes) {
        nonZero += byte != 0 ? 1 : 0;
    }
    EXPECT_GT(nonZero, 32);
    std::uint8_t openSSLBytes[16] = {};
    EXPECT_EQ(GetRandomBytesOpenSSL(openSSLBytes, sizeof openSSLBytes), 1);
    SeedOpenSSLRandom();
    EXPECT_TRUE(GetRandomBytes(nullptr, 0));
    int seen[5] = {};
    for (int i = 0; i < 2000; ++i) {
        const int value = GetRandomIntInRange(4);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 4);
        ++seen[value];
    }
    EXPECT_GT(seen[4], 300) << "n comes as often as the other values";
    const int byte = GetRandomByte();
    EXPECT_GE(byte, 0);
    EXPECT_LE(byte, 255);
}

TEST(RandomSourceReal, ThreadsDrawAtOnce) {
    std::vector<std::thread> threads;
    std::atomic<int> outOfRange{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&outOfRange] {
            for (int i = 0; i < 500; ++i) {
                const int value = GetRandomIntInRange(1000);
                outOfRange += value < 1 || value > 1000 ? 1 : 0;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(outOfRange.load(), 0);
}

TEST(Digests, KnownValues) {
    const struct {
        const char* m_Name;
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {"HMAC, empty key and data", HMACSHA256Hex("", ""),
         "b613679a0814d9ec772f95d778c35fc5ff1697c493715653c6c712144292c5ad"},
        {"HMAC, RFC 4231 case 2", HMACSHA256Hex("Jefe", "what do ya want for nothing?"),
         "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
        {"SHA-256 of nothing, base64", SHA256Base64(""), "47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU="},
        {"WebSocket accept key (RFC 6455)", SHA1Base64("dGhlIHNhbXBsZSBub25jZQ==258EAFA5-E914-47DA-95CA-C5AB0DC85B11"),
         "s3pPLMBiTxaQ9kYGzzhZRbK+xOo="},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected) << test.m_Name;
    }
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    ASSERT_EQ(SHA256Digest("abc", digest), 1);
    EXPECT_EQ(ToStd(HexEncodeBytes(s_ByteSpan::FromPointer(digest, sizeof digest), false)),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    std::uint8_t sha1[SHA1_DIGEST_SIZE];
    ASSERT_EQ(SHA1Digest("abc", sha1), 1);
    EXPECT_EQ(ToStd(HexEncodeBytes(s_ByteSpan::FromPointer(sha1, sizeof sha1), false)),
              "a9993e364706816aba3e25717850c26c9cd0d89d");
}

} // namespace
