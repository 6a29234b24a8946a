// Tests of base64: RFC 4648 vectors, unpadded and noisy input, short outputs and the buffer forms.

#include "textutil/Base64.h"

#include "strings/Memory.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Bytes(const c_ByteBuffer& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

std::string Decoded(const char* text) {
    c_ByteBuffer buffer;
    EXPECT_TRUE(Base64DecodeToBuffer(c_StringView(text), buffer));
    return Bytes(buffer);
}

TEST(Base64, Rfc4648Vectors) {
    const struct {
        const char* m_Plain;
        const char* m_Encoded;
        const char* m_Unpadded;
    } cases[] = {
        {"", "", ""},
        {"f", "Zg==", "Zg"},
        {"fo", "Zm8=", "Zm8"},
        {"foo", "Zm9v", "Zm9v"},
        {"foob", "Zm9vYg==", "Zm9vYg"},
        {"fooba", "Zm9vYmE=", "Zm9vYmE"},
        {"foobar", "Zm9vYmFy", "Zm9vYmFy"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(Base64EncodeToString(c_StringView(test.m_Plain))), test.m_Encoded);
        EXPECT_EQ(Decoded(test.m_Encoded), test.m_Plain) << test.m_Encoded;
        EXPECT_EQ(Decoded(test.m_Unpadded), test.m_Plain) << test.m_Unpadded;
        EXPECT_EQ(ToStd(Base64DecodeToString(c_StringView(test.m_Unpadded))), test.m_Plain) << test.m_Unpadded;
    }
}

TEST(Base64, DecoderSkipsForeignCharacters) {
    const struct {
        const char* m_Name;
        const char* m_Encoded;
        const char* m_Plain;
    } cases[] = {
        {"blank inside", "YW Jj", "abc"},
        {"line breaks", "YW\r\nJj\n", "abc"},
        {"pad after a whole group", "QUJD==", "ABC"},
        {"pad in the middle", "Y=WJj", "abc"},
        {"too many pads", "YQ=====", "a"},
        {"a lone character carries no byte", "YWJjZ", "abc"},
        {"url-safe characters are foreign", "-_YQ", "a"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Decoded(test.m_Encoded), test.m_Plain) << test.m_Name;
    }
}

TEST(Base64, RoundTripsRandomBytes) {
    std::mt19937 random(99);
    for (int length = 0; length < 300; ++length) {
        std::string bytes(static_cast<std::size_t>(length), '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random());
        }
        const c_String encoded = Base64EncodeToString(s_ByteSpan::FromPointer(bytes.data(), bytes.size()));
        ASSERT_EQ(static_cast<std::uint64_t>(encoded.GetLength()), GetBase64EncodedLength(bytes.size()));
        c_ByteBuffer decoded;
        ASSERT_TRUE(Base64DecodeToBuffer(encoded, decoded));
        ASSERT_EQ(Bytes(decoded), bytes) << "length " << length;
    }
}

TEST(Base64, OutputAreaLimitsWhatIsWritten) {
    char output[8] = {};
    const s_ByteSpan encoded = Base64Encode(c_StringView("abcdef").ToSpan(), output, 3);
    EXPECT_EQ(encoded.m_Size, 3u);
    EXPECT_EQ(std::string(output, 4), std::string("YWJ\0", 4));
    const s_ByteSpan decoded = Base64Decode(c_StringView("YWJjZGVm"), output, 2);
    EXPECT_EQ(decoded.m_Size, 2u);
    EXPECT_EQ(decoded.m_p_Data, output);
    EXPECT_EQ(std::string(output, 2), "ab");
}

TEST(Base64, TextFormStopsAtZeroBytesBufferFormKeepsThem) {
    const char bytes[] = {'a', 0, 'b'};
    const c_String encoded = Base64EncodeToString(s_ByteSpan::FromPointer(bytes, 3));
    EXPECT_EQ(ToStd(Base64DecodeToString(encoded)), "a");
    EXPECT_EQ(Decoded(encoded.GetChars()), std::string(bytes, 3));
}

TEST(Base64, CharacterTables) {
    EXPECT_EQ(Base64EncodeChar(0), 'A');
    EXPECT_EQ(Base64EncodeChar(63), '/');
    EXPECT_EQ(Base64EncodeChar(64), 0);
    EXPECT_EQ(Base64EncodeChar(-1), 0);
    EXPECT_EQ(Base64DecodeChar('A'), 0);
    EXPECT_EQ(Base64DecodeChar('+'), 62);
    EXPECT_EQ(Base64DecodeChar('/'), 63);
    EXPECT_EQ(Base64DecodeChar(0), 64);
    EXPECT_EQ(Base64DecodeChar('='), 65);
    EXPECT_EQ(Base64DecodeChar('\xC3'), 65);
    EXPECT_TRUE(IsBase64Char('z'));
    EXPECT_FALSE(IsBase64Char('='));
    EXPECT_FALSE(IsBase64Char(0xE9));
    EXPECT_EQ(GetBase64DecodedLength(5), 6u);
}

struct s_ClearCounter : c_ByteBufferObserver {
    void OnDataMoved(c_ByteBuffer&, const std::uint8_t*, std::uint32_t, std::int64_t) override {}
    void OnDataConsumed(c_ByteBuffer&, std::uint32_t) override {}
    void OnCleared(c_ByteBuffer&) override { ++m_Clears; }
    int m_Clears = 0;
};

TEST(Base64, BufferFormClearsFirstAndReportsFailedSizing) {
    s_ClearCounter observer;
    c_ByteBuffer buffer(&observer);
    ASSERT_TRUE(buffer.Append(c_StringView("old")));
    EXPECT_TRUE(Base64DecodeToBuffer(c_StringView("YQ"), buffer));
    EXPECT_EQ(Bytes(buffer), "a");
    EXPECT_EQ(observer.m_Clears, 1);
    n_Memory::FailNthAllocation(1);
    EXPECT_FALSE(Base64DecodeToBuffer(c_StringView("YWJj"), buffer));
    EXPECT_EQ(buffer.GetSize(), 0u);
    n_Memory::FailNthAllocation(0);
}

} // namespace
