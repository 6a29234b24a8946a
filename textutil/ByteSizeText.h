#pragma once
// Human-readable byte sizes in four styles: decimal or binary units, long or short names.
//
// 1 gives "1 byte" ("1 B"); sizes below 1000 are written whole ("999 bytes"), the binary styles
// included. Larger sizes take the first unit whose quotient is below 1000, with two decimals below
// 10 units, one below 100 and none above: "1.50 kilobytes", "15.0 KB", "150 KiB". Exactly one unit
// is written as the unit's own text ("1 kilobyte"); beyond the largest unit the quotient is whole.

#include "strings/c_String.h"

#include <cstdint>

// One row of a style: the unit's size in bytes, its text for exactly one unit (number included),
// and the suffix after any other number.
struct s_ByteSizeUnit {
    std::uint64_t m_Threshold;
    const char* m_p_One;
    const char* m_p_Many;
};

// The table has exactly 5 rows: the byte, then four units; row 0's threshold is not used.
c_String FormatByteSizeWithUnits(std::uint64_t size, const s_ByteSizeUnit table[5]);

c_String FormatByteSize(std::uint64_t size);
c_String FormatByteSizeBinary(std::uint64_t size);
c_String FormatByteSizeShort(std::uint64_t size);
c_String FormatByteSizeShortBinary(std::uint64_t size);
