// Tests of the byte-size texts in their four styles.

#include "textutil/ByteSizeText.h"

#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

namespace {

TEST(ByteSizeText, Styles) {
    const struct {
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {FormatByteSize(0), "0 bytes"},
        {FormatByteSize(1), "1 byte"},
        {FormatByteSize(999), "999 bytes"},
        {FormatByteSize(1000), "1 kilobyte"},
        {FormatByteSize(1001), "1.00 kilobytes"},
        {FormatByteSize(1500), "1.50 kilobytes"},
        {FormatByteSize(9999), "10.00 kilobytes"},
        {FormatByteSize(15000), "15.0 kilobytes"},
        {FormatByteSize(150000), "150 kilobytes"},
        {FormatByteSize(999999), "999 kilobytes"},
        {FormatByteSize(1000000), "1 megabyte"},
        {FormatByteSize(2500000000), "2.50 gigabytes"},
        {FormatByteSizeBinary(1000), "0.98 kibibytes"},
        {FormatByteSizeBinary(1024), "1 kibibyte"},
        {FormatByteSizeBinary(1536), "1.50 kibibytes"},
        {FormatByteSizeShort(2000000000000000), "2000 TB"},
        {FormatByteSizeShort(1), "1 B"},
        {FormatByteSizeShort(12), "12 B"},
        {FormatByteSizeShortBinary(1ull << 50), "1024 TiB"},
        {FormatByteSizeShortBinary(1ull << 20), "1 MiB"},
        {FormatByteSizeShortBinary(18446744073709551615ull), "16777215 TiB"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected);
    }
}

} // namespace
