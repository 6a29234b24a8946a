// Tests of the 64-bit test on the first bytes of an executable.

#include "textutil/ExecutableHeader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint8_t> MakeImage(std::uint32_t peOffset, std::uint16_t machine, std::size_t size) {
    std::vector<std::uint8_t> bytes(size, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) {
        bytes[60 + i] = static_cast<std::uint8_t>(peOffset >> (8 * i));
    }
    if (peOffset + 6 <= size) {
        bytes[peOffset] = 'P';
        bytes[peOffset + 1] = 'E';
        bytes[peOffset + 4] = static_cast<std::uint8_t>(machine);
        bytes[peOffset + 5] = static_cast<std::uint8_t>(machine >> 8);
    }
    return bytes;
}

TEST(ExecutableHeader, Machines) {
    const struct {
        const char* m_Name;
        std::vector<std::uint8_t> m_Bytes;
        bool m_Result;
        bool m_Is64Bit;
    } cases[] = {
        {"x64", MakeImage(128, 0x8664, 4096), true, true},
        {"ARM64", MakeImage(128, 0xAA64, 4096), true, true},
        {"Itanium", MakeImage(128, 0x0200, 4096), true, true},
        {"x86", MakeImage(128, 0x014C, 4096), true, false},
        {"header just fits", MakeImage(250, 0x8664, 256), true, true},
        {"header cut short", MakeImage(251, 0x8664, 256), true, false},
        {"offset far beyond the bytes", MakeImage(0xFFFFFFF0, 0x8664, 4096), true, false},
        {"no room for the offset", {'M', 'Z', 0, 0}, true, false},
        {"not MZ", {'Z', 'M', 0, 0}, false, false},
        {"empty", {}, false, false},
    };
    for (const auto& test : cases) {
        bool is64Bit = true;
        const s_ByteSpan header = s_ByteSpan::FromPointer(test.m_Bytes.data(), test.m_Bytes.size());
        EXPECT_EQ(IsWindowsExecutableHeader64Bit(header, is64Bit), test.m_Result) << test.m_Name;
        EXPECT_EQ(is64Bit, test.m_Is64Bit) << test.m_Name;
    }
}

} // namespace
