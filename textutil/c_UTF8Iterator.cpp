// UTF-8 decoding of one code point and the iterator's step.

#include "textutil/c_UTF8Iterator.h"

std::uint32_t DecodeUTF8CodePoint(const char* current, const char* end) {
    if (current == nullptr || current >= end) {
        return 0;
    }
    const auto byte = [current](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(current[i])); };
    const std::uint32_t lead = byte(0);
    const long available = end - current;
    if (lead < 0x80) {
        return lead;
    }
    if ((lead & 0xE0) == 0xC0 && available >= 2) {
        return (lead & 0x1F) << 6 | (byte(1) & 0x3F);
    }
    if ((lead & 0xF0) == 0xE0 && available >= 3) {
        return (lead & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    }
    if ((lead & 0xF8) == 0xF0 && available >= 4) {
        return (lead & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    }
    return 0;
}

c_UTF8Iterator& c_UTF8Iterator::operator++() {
    if (m_p_Current == nullptr || m_p_Current >= m_p_End) {
        return *this;
    }
    ++m_p_Current;
    while (m_p_Current < m_p_End && IsUTF8Continuation(*m_p_Current)) {
        ++m_p_Current;
    }
    return *this;
}
