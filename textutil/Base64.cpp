// Base64 (RFC 4648): table-driven encoding and decoding in one pass, straight into the output.

#include "textutil/Base64.h"

#include <array>
#include <climits>

namespace {

// 65 bytes with the NUL, so that the NUL's position is 64.
constexpr char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t NOT_IN_ALPHABET = 65;

constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    for (std::uint8_t& entry : table) {
        entry = NOT_IN_ALPHABET;
    }
    for (int i = 0; i < 65; ++i) {
        table[static_cast<unsigned char>(ALPHABET[i])] = static_cast<std::uint8_t>(i);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> DECODE_TABLE = MakeDecodeTable();

// Writes bytes to an output area while they fit, dropping the rest.
class c_OutputArea {
public:
    c_OutputArea(void* output, std::uint64_t size) : m_p_Output(static_cast<std::uint8_t*>(output)), m_Size(size) {}

    void Put(std::uint8_t byte) {
        if (m_Written < m_Size) {
            m_p_Output[m_Written++] = byte;
        }
    }
    s_ByteSpan GetWritten() const { return {m_Written, m_p_Output}; }

private:
    std::uint8_t* m_p_Output;
    std::uint64_t m_Size;
    std::uint64_t m_Written = 0;
};

} // namespace

std::uint64_t GetBase64EncodedLength(std::uint64_t byteCount) {
    return (byteCount + 2) / 3 * 4;
}

std::uint64_t GetBase64DecodedLength(std::uint64_t characterCount) {
    return (characterCount + 3) / 4 * 3;
}

char Base64EncodeChar(int index) {
    return index >= 0 && index < 64 ? ALPHABET[index] : '\0';
}

std::uint8_t Base64DecodeChar(char c) {
    return DECODE_TABLE[static_cast<unsigned char>(c)];
}

bool IsBase64Char(int c) {
    return c >= 0 && c < 256 && DECODE_TABLE[c] < 64;
}

s_ByteSpan Base64Encode(s_ByteSpan input, void* output, std::uint64_t outputSize) {
    c_OutputArea out(output, outputSize);
    const std::uint8_t* bytes = input.GetBytes();
    std::uint64_t i = 0;
    for (; i + 3 <= input.m_Size; i += 3) {
        const std::uint32_t group = std::uint32_t(bytes[i]) << 16 | std::uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) {
            out.Put(static_cast<std::uint8_t>(ALPHABET[(group >> shift) & 0x3F]));
        }
    }
    const std::uint64_t left = input.m_Size - i;
    if (left != 0) {
        const std::uint32_t group = std::uint32_t(bytes[i]) << 16 | (left == 2 ? std::uint32_t(bytes[i + 1]) << 8 : 0);
        for (std::uint64_t character = 0; character < 4; ++character) {
            const bool real = character <= left;
            out.Put(static_cast<std::uint8_t>(real ? ALPHABET[(group >> (18 - 6 * character)) & 0x3F] : '='));
        }
    }
    return out.GetWritten();
}

s_ByteSpan Base64Decode(s_ByteSpan input, void* output, std::uint64_t outputSize) {
    c_OutputArea out(output, outputSize);
    std::uint32_t group = 0;
    int positions = 0;
    for (std::uint64_t i = 0; i < input.m_Size; ++i) {
        const std::uint8_t position = DECODE_TABLE[input.GetBytes()[i]];
        if (position >= 64) {
            continue;
        }
        group = group << 6 | position;
        if (++positions == 4) {
            out.Put(static_cast<std::uint8_t>(group >> 16));
            out.Put(static_cast<std::uint8_t>(group >> 8));
            out.Put(static_cast<std::uint8_t>(group));
            group = 0;
            positions = 0;
        }
    }
    // A partial group carries whole bytes only: two characters one byte, three characters two.
    if (positions >= 2) {
        group <<= 6 * (4 - positions);
        out.Put(static_cast<std::uint8_t>(group >> 16));
        if (positions == 3) {
            out.Put(static_cast<std::uint8_t>(group >> 8));
        }
    }
    return out.GetWritten();
}

s_ByteSpan Base64Decode(const c_StringView& input, void* output, std::uint64_t outputSize) {
    return Base64Decode(input.ToSpan(), output, outputSize);
}

c_String Base64EncodeToString(s_ByteSpan input) {
    const std::uint64_t length = GetBase64EncodedLength(input.m_Size);
    c_String text;
    if (length == 0 || length >= INT_MAX || !text.SetLength(static_cast<int>(length))) {
        return c_String();
    }
    Base64Encode(input, text.GetBuffer(), length);
    return text;
}

c_String Base64EncodeToString(const c_StringView& input) {
    return Base64EncodeToString(input.ToSpan());
}

bool Base64DecodeToBuffer(s_ByteSpan input, c_ByteBuffer& out) {
    out.Clear(true);
    const std::uint64_t length = GetBase64DecodedLength(input.m_Size);
    if (length > c_ByteBuffer::MAX_SIZE || !out.SetSize(static_cast<std::uint32_t>(length))) {
        return false;
    }
    const s_ByteSpan written = Base64Decode(input, out.GetData(), length);
    return out.SetSize(static_cast<std::uint32_t>(written.m_Size));
}

bool Base64DecodeToBuffer(const c_StringView& input, c_ByteBuffer& out) {
    return Base64DecodeToBuffer(input.ToSpan(), out);
}

c_String Base64DecodeToString(s_ByteSpan input) {
    const std::uint64_t length = GetBase64DecodedLength(input.m_Size);
    c_String text;
    if (length == 0 || length >= INT_MAX || !text.SetLength(static_cast<int>(length))) {
        return c_String();
    }
    const s_ByteSpan written = Base64Decode(input, text.GetBuffer(), length);
    text.SetLength(static_cast<int>(written.m_Size));
    text.CutAtNul();
    return text;
}

c_String Base64DecodeToString(const c_StringView& input) {
    return Base64DecodeToString(input.ToSpan());
}
