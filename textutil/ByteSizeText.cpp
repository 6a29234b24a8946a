// Byte-size texts: the four unit tables and the rule that picks a unit and its decimals.

#include "textutil/ByteSizeText.h"

#include "textutil/DoubleFormatting.h"
#include "textutil/NumberFormatting.h"

namespace {

constexpr int UNIT_ROWS = 5;

constexpr s_ByteSizeUnit DECIMAL_LONG[UNIT_ROWS] = {
    {1, "1 byte", " bytes"},
    {1000, "1 kilobyte", " kilobytes"},
    {1000000, "1 megabyte", " megabytes"},
    {1000000000, "1 gigabyte", " gigabytes"},
    {1000000000000, "1 terabyte", " terabytes"},
};
constexpr s_ByteSizeUnit BINARY_LONG[UNIT_ROWS] = {
    {1, "1 byte", " bytes"},
    {1024, "1 kibibyte", " kibibytes"},
    {1048576, "1 mebibyte", " mebibytes"},
    {1073741824, "1 gibibyte", " gibibytes"},
    {1099511627776, "1 tebibyte", " tebibytes"},
};
constexpr s_ByteSizeUnit DECIMAL_SHORT[UNIT_ROWS] = {
    {1, "1 B", " B"},
    {1000, "1 KB", " KB"},
    {1000000, "1 MB", " MB"},
    {1000000000, "1 GB", " GB"},
    {1000000000000, "1 TB", " TB"},
};
constexpr s_ByteSizeUnit BINARY_SHORT[UNIT_ROWS] = {
    {1, "1 B", " B"},
    {1024, "1 KiB", " KiB"},
    {1048576, "1 MiB", " MiB"},
    {1073741824, "1 GiB", " GiB"},
    {1099511627776, "1 TiB", " TiB"},
};

c_String WithSuffix(const c_String& number, const char* suffix) {
    return Concat({number, suffix});
}

} // namespace

c_String FormatByteSizeWithUnits(std::uint64_t size, const s_ByteSizeUnit table[UNIT_ROWS]) {
    if (size == 1) {
        return c_String(table[0].m_p_One);
    }
    if (size < 1000) {
        return WithSuffix(ToString(size), table[0].m_p_Many);
    }
    for (int row = 1; row < UNIT_ROWS; ++row) {
        const s_ByteSizeUnit& unit = table[row];
        if (size == unit.m_Threshold) {
            return c_String(unit.m_p_One);
        }
        const std::uint64_t quotient = size / unit.m_Threshold;
        const double units = static_cast<double>(size) / static_cast<double>(unit.m_Threshold);
        if (quotient < 10) {
            return WithSuffix(ToString(units, 2), unit.m_p_Many);
        }
        if (quotient < 100) {
            return WithSuffix(ToString(units, 1), unit.m_p_Many);
        }
        if (quotient < 1000) {
            return WithSuffix(ToString(quotient), unit.m_p_Many);
        }
    }
    const s_ByteSizeUnit& largest = table[UNIT_ROWS - 1];
    return WithSuffix(ToString(size / largest.m_Threshold), largest.m_p_Many);
}

c_String FormatByteSize(std::uint64_t size) {
    return FormatByteSizeWithUnits(size, DECIMAL_LONG);
}
c_String FormatByteSizeBinary(std::uint64_t size) {
    return FormatByteSizeWithUnits(size, BINARY_LONG);
}
c_String FormatByteSizeShort(std::uint64_t size) {
    return FormatByteSizeWithUnits(size, DECIMAL_SHORT);
}
c_String FormatByteSizeShortBinary(std::uint64_t size) {
    return FormatByteSizeWithUnits(size, BINARY_SHORT);
}
