// Hex text of bytes, sized once.

#include "textutil/HexEncoding.h"

#include "textutil/internal/HexDigits.h"

#include <climits>

void ByteToHexDigits(std::uint8_t byte, char* high, char* low, bool upperCase) {
    const char* digits = n_HexDigits::Table(upperCase);
    *high = digits[byte >> 4];
    *low = digits[byte & 0xF];
}

c_String HexEncodeBytes(s_ByteSpan bytes, bool upperCase) {
    c_String text;
    if (bytes.m_Size == 0 || bytes.m_Size >= INT_MAX / 2 || !text.SetLength(static_cast<int>(bytes.m_Size * 2))) {
        return c_String();
    }
    const char* digits = n_HexDigits::Table(upperCase);
    char* out = text.GetBuffer();
    for (std::uint64_t i = 0; i < bytes.m_Size; ++i) {
        *out++ = digits[bytes.GetBytes()[i] >> 4];
        *out++ = digits[bytes.GetBytes()[i] & 0xF];
    }
    return text;
}

c_String HexEncodeString(const c_String& text, bool upperCase) {
    return HexEncodeBytes(c_StringView(text).ToSpan(), upperCase);
}
