// The DOS stub's pointer to the PE header, and the header's machine field.

#include "textutil/ExecutableHeader.h"

#include <cstdint>

namespace {

constexpr std::uint64_t PE_OFFSET_FIELD = 60;

std::uint32_t ReadLittleEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

bool Is64BitMachine(std::uint32_t machine) {
    constexpr std::uint32_t MACHINES[] = {0x0200, 0x0284, 0x8664, 0xAA64};
    for (const std::uint32_t known : MACHINES) {
        if (machine == known) {
            return true;
        }
    }
    return false;
}

} // namespace

bool IsWindowsExecutableHeader64Bit(s_ByteSpan header, bool& is64Bit) {
    is64Bit = false;
    const std::uint8_t* bytes = header.GetBytes();
    if (header.m_Size < 2 || bytes[0] != 'M' || bytes[1] != 'Z') {
        return false;
    }
    if (header.m_Size < PE_OFFSET_FIELD + 4) {
        return true;
    }
    const std::uint64_t offset = ReadLittleEndian(bytes + PE_OFFSET_FIELD, 4);
    if (offset + 6 > header.m_Size) {
        return true;
    }
    const std::uint8_t* pe = bytes + offset;
    if (pe[0] == 'P' && pe[1] == 'E' && pe[2] == 0 && pe[3] == 0) {
        is64Bit = Is64BitMachine(ReadLittleEndian(pe + 4, 2));
    }
    return true;
}
