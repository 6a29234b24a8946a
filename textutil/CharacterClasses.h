#pragma once
// ASCII character classes and the one-character comparison without case. No locale is involved;
// values are compared as unsigned, so bytes 0x80 and above belong to no class.

#include "strings/c_StringView.h"

#include <cstdint>

inline bool IsDigitChar(unsigned c) {
    return c - '0' < 10u;
}
inline bool IsUpperChar(unsigned c) {
    return c - 'A' < 26u;
}
inline bool IsLowerChar(unsigned c) {
    return c - 'a' < 26u;
}
inline bool IsAlphaChar(unsigned c) {
    return IsUpperChar(c) || IsLowerChar(c);
}
inline bool IsDigitByte(std::uint8_t c) {
    return IsDigitChar(c);
}

// Equal, or the same ASCII letter in the other case.
inline bool CharEqualsNoCase(char a, char b) {
    const unsigned x = static_cast<unsigned char>(a);
    const unsigned y = static_cast<unsigned char>(b);
    return x == y || (IsAlphaChar(x) && (x ^ 0x20u) == y);
}

// The case-sensitive equality of two views, computed on the first call and then kept.
struct s_CachedViewEquality {
    s_CachedViewEquality(const c_StringView& a, const c_StringView& b) : m_A(a), m_B(b) {}

    bool IsEqual() {
        if (!m_IsComputed) {
            m_IsEqual = m_A == m_B;
            m_IsComputed = true;
        }
        return m_IsEqual;
    }

    c_StringView m_A;
    c_StringView m_B;
    bool m_IsComputed = false;
    bool m_IsEqual = false;
};
