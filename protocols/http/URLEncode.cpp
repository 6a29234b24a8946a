// URLEncode: percent-encoding byte by byte.

#include "protocols/http/URLEncode.h"

#include "textutil/HexEncoding.h"

namespace {

bool IsUnreserved(char c) {
    const unsigned u = static_cast<unsigned char>(c);
    return (u - '0' < 10u) || ((u | 0x20u) - 'a' < 26u) || c == '-' || c == '.' || c == '_' || c == '~';
}

} // namespace

c_String URLEncode(const c_StringView& text) {
    c_String encoded;
    for (char c : text) {
        if (c == '\0') {
            break;
        }
        if (IsUnreserved(c)) {
            encoded += c;
            continue;
        }
        char escape[3] = {'%', 0, 0};
        ByteToHexDigits(static_cast<std::uint8_t>(c), &escape[1], &escape[2], true);
        encoded += c_StringView(escape, 3);
    }
    return encoded;
}
