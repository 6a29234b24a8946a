// Tests of hex text and of the UTF-8 iterator.

#include "textutil/HexEncoding.h"

#include "textutil/c_UTF8Iterator.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(HexEncoding, Texts) {
    const char bytes[] = {'\xAB', '\x01'};
    EXPECT_EQ(ToStd(HexEncodeString(c_String("\xAB"), true)), "AB");
    EXPECT_EQ(ToStd(HexEncodeString(c_String("\xAB"), false)), "ab");
    EXPECT_EQ(ToStd(HexEncodeString(c_String(), true)), "");
    EXPECT_EQ(ToStd(HexEncodeBytes(s_ByteSpan::FromPointer(bytes, 2), false)), "ab01");
    char high = 0;
    char low = 0;
    ByteToHexDigits(0x9F, &high, &low, false);
    EXPECT_EQ(high, '9');
    EXPECT_EQ(low, 'f');
}

TEST(c_UTF8Iterator, DecodesCodePoints) {
    const struct {
        const char* m_Name;
        const char* m_Bytes;
        int m_Length;
        std::uint32_t m_CodePoint;
    } cases[] = {
        {"ASCII", "A", 1, 0x41},
        {"two bytes", "\xC3\xA9", 2, 0xE9},
        {"three bytes", "\xE2\x82\xAC", 3, 0x20AC},
        {"four bytes", "\xF0\x9F\x98\x80", 4, 0x1F600},
        {"largest", "\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
        {"cut short", "\xC3", 1, 0},
        {"continuation in lead position", "\x80", 1, 0},
        {"no lead byte 0xF8", "\xF8\x80\x80\x80\x80", 5, 0},
        {"empty", "", 0, 0},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(DecodeUTF8CodePoint(test.m_Bytes, test.m_Bytes + test.m_Length), test.m_CodePoint) << test.m_Name;
    }
}

TEST(c_UTF8Iterator, VisitsEveryByteOnceAndStopsAtEnd) {
    const char text[] = "a\xC3\xA9\x80\x80z\xE2\x82";
    const char* end = text + sizeof text - 1;
    std::vector<std::uint32_t> codePoints;
    for (c_UTF8Iterator it(text, end), last(end, end); it != last; ++it) {
        codePoints.push_back(*it);
    }
    const std::vector<std::uint32_t> expected = {'a', 0xE9, 'z', 0};
    EXPECT_EQ(codePoints, expected) << "the stray continuation bytes go with the character before them";
    c_UTF8Iterator atEnd(end, end);
    const c_UTF8Iterator before = atEnd++;
    EXPECT_EQ(before.GetCurrent(), end);
    EXPECT_EQ(atEnd.GetCurrent(), end);
    c_UTF8Iterator fromContinuation(text + 3, end);
    ++fromContinuation;
    EXPECT_EQ(fromContinuation.GetCurrent(), text + 5);
}

} // namespace
