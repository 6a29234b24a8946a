// Tests of the integer texts: padding, limits, hexadecimal forms, addresses and ordinals.

#include "textutil/NumberFormatting.h"

#include "textutil/NumberParsing.h"

#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>

namespace {

TEST(NumberFormatting, Decimal) {
    const struct {
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {ToString(-5, 3), "-005"},
        {ToString(0), "0"},
        {ToString(123, 2), "123"},
        {ToString(7, 50), "00000000000000000007"},
        {ToString(7, -3), "7"},
        {ToString(INT_MIN), "-2147483648"},
        {ToString(INT_MAX), "2147483647"},
        {ToString(4294967295u), "4294967295"},
        {ToString(INT64_MIN), "-9223372036854775808"},
        {ToString(static_cast<long long>(INT64_MIN), 20), "-09223372036854775808"},
        {ToString(UINT64_MAX), "18446744073709551615"},
        {ToString(static_cast<unsigned long long>(UINT64_MAX)), "18446744073709551615"},
        {ToString(99), "99"},
        {ToString(100), "100"},
        {ToString(std::size_t(1000000)), "1000000"},
        {IntToDecimal(5, true, 0), "-5"},
        {IntToDecimal(0, false, 4), "0000"},
        {Int64ToDecimal(10, false, 1000), "00000000000000000010"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected);
    }
}

TEST(NumberFormatting, DecimalRoundTripsThroughTheParsers) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 10000; ++i) {
        const std::int64_t value = static_cast<std::int64_t>(random()) >> (random() % 64);
        ASSERT_EQ(ParseInt64(ToString(value)), value);
        const int small = static_cast<int>(value);
        ASSERT_EQ(ParseInt32(ToString(small)), small);
    }
}

TEST(NumberFormatting, Hexadecimal) {
    const std::uint8_t bytes[] = {0x0A, 0xFF};
    const struct {
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {ToHexString(0u), "0"},
        {ToHexString(0xBEEFu), "beef"},
        {ToHexString(0xFFFFFFFFu), "ffffffff"},
        {ToHexString(0x123456789ABCDEFul), "123456789abcdef"},
        {ToHexString(0xFFFFFFFFFFFFFFFFull), "ffffffffffffffff"},
        {ByteToHexUpper(0xAB), "AB"},
        {ByteToHexLower(0x0C), "0c"},
        {BytesToHex(s_ByteSpan::FromPointer(bytes, 2), ':'), "0A:FF"},
        {BytesToHex(s_ByteSpan::FromPointer(bytes, 2), 0), "0AFF"},
        {BytesToHex(s_ByteSpan::FromPointer(bytes, 1), 0), "0A"},
        {BytesToHex(s_ByteSpan::FromPointer(bytes, 1), ' '), "0A"},
        {BytesToHex(s_ByteSpan(), ':'), ""},
        {ToGroupedHexString(255), "0000-0000-0000-00FF"},
        {ToGroupedHexString(0x0123456789ABCDEFu), "0123-4567-89AB-CDEF"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected);
    }
    for (const std::uint64_t value :
         {std::uint64_t(0), std::uint64_t(255), UINT64_MAX, std::uint64_t(0x8000000000000001)}) {
        EXPECT_EQ(ParseGroupedHex(ToGroupedHexString(value)), value);
    }
}

TEST(NumberFormatting, AddressesOrdinalsAndCounts) {
    const struct {
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {IPv4ToString(0x7F000001), "127.0.0.1"},
        {IPv4ToString(0), "0.0.0.0"},
        {IPv4ToString(0xFFFFFFFF), "255.255.255.255"},
        {IPv4PortToString(0xC0A80001, 8080), "192.168.0.1:8080"},
        {IPv4PortToString(0x0A000001, 0x10050), "10.0.0.1:80"},
        {ToOrdinalString(1), "1st"},
        {ToOrdinalString(22), "22nd"},
        {ToOrdinalString(103), "103rd"},
        {ToOrdinalString(111), "111th"},
        {ToOrdinalString(-1), "-1th"},
        {FormatCount(1, "file", "files"), "1 file"},
        {FormatCount(0, "file", "files"), "0 files"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected);
    }
    for (const int n : {11, 12, 13, 111, 0, 4}) {
        EXPECT_EQ(GetOrdinalSuffix(n), "th") << n;
    }
    for (const int n : {1, 21, 101}) {
        EXPECT_EQ(GetOrdinalSuffix(n), "st") << n;
    }
}

} // namespace
