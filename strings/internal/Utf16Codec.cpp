// UTF-8 to UTF-16 and back, replacing what cannot be decoded with U+FFFD.

#include "strings/internal/Utf16Codec.h"

namespace n_StringCore {

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

// Decodes one code point at text[*at] and advances *at; a malformed sequence yields U+FFFD and
// advances by one byte, so decoding resynchronises on the next byte.
char32_t DecodeUtf8(t_Text<char> text, int* at) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.m_p_Data);
    const unsigned first = bytes[*at];
    int count = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if (first < 0x80) {
        ++*at;
        return first;
    } else if (first - 0xC2u < 0x1Eu) {
        count = 1, point = first & 0x1F, minimum = 0x80;
    } else if (first - 0xE0u < 0x10u) {
        count = 2, point = first & 0x0F, minimum = 0x800;
    } else if (first - 0xF0u < 0x05u) {
        count = 3, point = first & 0x07, minimum = 0x10000;
    } else {
        ++*at;
        return REPLACEMENT;
    }
    if (text.m_Length - *at <= count) {
        ++*at;
        return REPLACEMENT;
    }
    for (int i = 1; i <= count; ++i) {
        const unsigned next = bytes[*at + i];
        if ((next & 0xC0) != 0x80) {
            ++*at;
            return REPLACEMENT;
        }
        point = (point << 6) | (next & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        ++*at;
        return REPLACEMENT;
    }
    *at += count + 1;
    return point;
}

} // namespace

std::int64_t Utf8ToUtf16(t_Text<char> text, char16_t* out) {
    std::int64_t written = 0;
    for (int at = 0; at < text.m_Length;) {
        const char32_t point = DecodeUtf8(text, &at);
        if (point >= 0x10000) {
            if (out != nullptr) {
                out[written] = static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
                out[written + 1] = static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
            }
            written += 2;
        } else {
            if (out != nullptr) {
                out[written] = static_cast<char16_t>(point);
            }
            ++written;
        }
    }
    return written;
}

std::int64_t Utf16ToUtf8(t_Text<char16_t> text, char* out) {
    std::int64_t written = 0;
    const auto put = [&](unsigned byte) {
        if (out != nullptr) {
            out[written] = static_cast<char>(byte);
        }
        ++written;
    };
    for (int at = 0; at < text.m_Length; ++at) {
        char32_t point = text.m_p_Data[at];
        if (point >= 0xD800 && point <= 0xDFFF) {
            const bool paired = point < 0xDC00 && at + 1 < text.m_Length && text.m_p_Data[at + 1] >= 0xDC00 &&
                                text.m_p_Data[at + 1] <= 0xDFFF;
            point = paired ? 0x10000 + ((point - 0xD800) << 10) + (text.m_p_Data[++at] - 0xDC00) : REPLACEMENT;
        }
        if (point < 0x80) {
            put(point);
        } else if (point < 0x800) {
            put(0xC0 | (point >> 6));
            put(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            put(0xE0 | (point >> 12));
            put(0x80 | ((point >> 6) & 0x3F));
            put(0x80 | (point & 0x3F));
        } else {
            put(0xF0 | (point >> 18));
            put(0x80 | ((point >> 12) & 0x3F));
            put(0x80 | ((point >> 6) & 0x3F));
            put(0x80 | (point & 0x3F));
        }
    }
    return written;
}

} // namespace n_StringCore
