// Integer texts: the digit-pair decimal writer and the hexadecimal and address forms built on it.

#include "textutil/NumberFormatting.h"

#include "textutil/HexEncoding.h"
#include "textutil/internal/DigitPairs.h"
#include "textutil/internal/HexDigits.h"

#include <climits>
#include <type_traits>

namespace {

using n_HexDigits::LOWER;
using n_HexDigits::UPPER;

template <typename U> int CountDigits(U magnitude) {
    int digits = 1;
    for (; magnitude >= 10000; magnitude /= 10000) {
        digits += 4;
    }
    return digits + (magnitude >= 10) + (magnitude >= 100) + (magnitude >= 1000);
}

// Sized once and written in place from the right.
template <typename U> c_String WriteDecimal(U magnitude, bool negative, int minDigits) {
    const int digits = CountDigits(magnitude);
    const int wanted = minDigits < 0 ? 0 : (minDigits > MAX_PADDED_DIGITS ? MAX_PADDED_DIGITS : minDigits);
    const int padded = digits > wanted ? digits : wanted;
    const int sign = negative ? 1 : 0;
    c_String text;
    if (!text.SetLength(padded + sign)) {
        return text;
    }
    char* const start = text.GetBuffer();
    char* position = n_DigitPairs::WriteBackwards(magnitude, start + sign + padded);
    while (position > start + sign) {
        *--position = '0';
    }
    if (negative) {
        *start = '-';
    }
    return text;
}

template <typename S> c_String SignedToString(S value, int minDigits) {
    using U = std::make_unsigned_t<S>;
    const bool negative = value < 0;
    const U magnitude = negative ? U(0) - static_cast<U>(value) : static_cast<U>(value);
    return WriteDecimal(magnitude, negative, minDigits);
}

template <typename U> c_String HexToString(U value) {
    char buffer[2 * sizeof(U)];
    char* const end = buffer + sizeof buffer;
    char* start = end;
    do {
        *--start = LOWER[value & 0xF];
        value >>= 4;
    } while (value != 0);
    return c_String(c_StringView(start, end));
}

c_String ByteToHex(std::uint8_t byte, const char* digits) {
    const char text[2] = {digits[byte >> 4], digits[byte & 0xF]};
    return c_String(c_StringView(text, 2));
}

// Writes the address's four bytes in decimal, joined by '.'; returns the end of the text.
char* WriteIPv4(std::uint32_t address, char* out) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        char digits[3];
        char* const end = digits + sizeof digits;
        const char* start = n_DigitPairs::WriteBackwards(std::uint32_t((address >> shift) & 0xFF), end);
        while (start < end) {
            *out++ = *start++;
        }
        if (shift != 0) {
            *out++ = '.';
        }
    }
    return out;
}

} // namespace

c_String IntToDecimal(std::uint32_t magnitude, bool negative, int minDigits) {
    return WriteDecimal(magnitude, negative, minDigits);
}

c_String Int64ToDecimal(std::uint64_t magnitude, bool negative, int minDigits) {
    return WriteDecimal(magnitude, negative, minDigits);
}

c_String ToString(int value, int minDigits) {
    return SignedToString(value, minDigits);
}
c_String ToString(long value, int minDigits) {
    return SignedToString(value, minDigits);
}
c_String ToString(long long value, int minDigits) {
    return SignedToString(value, minDigits);
}
c_String ToString(unsigned int value, int minDigits) {
    return WriteDecimal(value, false, minDigits);
}
c_String ToString(unsigned long value, int minDigits) {
    return WriteDecimal(value, false, minDigits);
}
c_String ToString(unsigned long long value, int minDigits) {
    return WriteDecimal(value, false, minDigits);
}

c_String ToHexString(unsigned int value) {
    return HexToString(value);
}
c_String ToHexString(unsigned long value) {
    return HexToString(value);
}
c_String ToHexString(unsigned long long value) {
    return HexToString(value);
}

c_String ByteToHexUpper(std::uint8_t byte) {
    return ByteToHex(byte, UPPER);
}
c_String ByteToHexLower(std::uint8_t byte) {
    return ByteToHex(byte, LOWER);
}

c_String BytesToHex(s_ByteSpan bytes, char separator) {
    if (separator == 0) {
        return HexEncodeBytes(bytes, true);
    }
    // The separator stands only between bytes: none is appended, so none is taken off.
    const std::uint64_t length = bytes.m_Size == 0 ? 0 : bytes.m_Size * 3 - 1;
    c_String text;
    if (length == 0 || length >= INT_MAX || !text.SetLength(static_cast<int>(length))) {
        return c_String();
    }
    char* out = text.GetBuffer();
    for (std::uint64_t i = 0; i < bytes.m_Size; ++i) {
        if (i != 0) {
            *out++ = separator;
        }
        *out++ = UPPER[bytes.GetBytes()[i] >> 4];
        *out++ = UPPER[bytes.GetBytes()[i] & 0xF];
    }
    return text;
}

c_String ToGroupedHexString(std::uint64_t value) {
    char text[19];
    int position = 0;
    for (int nibble = 15; nibble >= 0; --nibble) {
        text[position++] = UPPER[(value >> (4 * nibble)) & 0xF];
        if (nibble % 4 == 0 && nibble != 0) {
            text[position++] = '-';
        }
    }
    return c_String(c_StringView(text, position));
}

c_String IPv4ToString(std::uint32_t address) {
    char text[16];
    return c_String(c_StringView(text, WriteIPv4(address, text)));
}

c_String IPv4PortToString(std::uint32_t address, std::uint32_t port) {
    char text[22];
    char* out = WriteIPv4(address, text);
    *out++ = ':';
    char digits[5];
    char* const end = digits + sizeof digits;
    const char* start = n_DigitPairs::WriteBackwards(port & 0xFFFF, end);
    while (start < end) {
        *out++ = *start++;
    }
    return c_String(c_StringView(text, out));
}

c_String GetOrdinalSuffix(int n) {
    const int hundreds = n % 100;
    if (hundreds >= 11 && hundreds <= 13) {
        return c_String("th");
    }
    switch (n % 10) {
        case 1:
            return c_String("st");
        case 2:
            return c_String("nd");
        case 3:
            return c_String("rd");
        default:
            return c_String("th");
    }
}

c_String ToOrdinalString(int n) {
    return Concat({ToString(n), GetOrdinalSuffix(n)});
}

c_String FormatCount(int n, const c_StringView& one, const c_StringView& many) {
    return Concat({ToString(n), " ", n == 1 ? one : many});
}
