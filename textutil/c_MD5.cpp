// MD5 (RFC 1321): the 64 steps with their constants and shifts, blocks processed with the state
// kept in registers, the pad and the little-endian bit count.

#include "textutil/c_MD5.h"

#include "textutil/HexEncoding.h"

#include <bit>
#include <climits>
#include <cstring>

namespace {

constexpr std::uint32_t INITIAL_STATE[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

constexpr std::uint32_t SINES[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int SHIFTS[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// The message word each step reads: k, 5k+1, 3k+5 and 7k, modulo 16, in rounds 1 to 4.
constexpr int WordIndex(int step) {
    const int k = step % 16;
    constexpr int MULTIPLIER[4] = {1, 5, 3, 7};
    constexpr int OFFSET[4] = {0, 1, 5, 0};
    return (MULTIPLIER[step / 16] * k + OFFSET[step / 16]) % 16;
}

template <int STEP> std::uint32_t Mix(std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    if constexpr (STEP < 16) {
        return d ^ (b & (c ^ d));
    } else if constexpr (STEP < 32) {
        return c ^ (d & (b ^ c));
    } else if constexpr (STEP < 48) {
        return b ^ c ^ d;
    } else {
        return c ^ (b | ~d);
    }
}

// One step on the four words, which rotate roles from step to step.
template <int STEP>
void Step(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, const std::uint32_t* words) {
    a += Mix<STEP>(b, c, d) + words[WordIndex(STEP)] + SINES[STEP];
    a = std::rotl(a, SHIFTS[STEP / 16][STEP % 4]) + b;
}

template <int STEP>
void Steps(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c, std::uint32_t& d, const std::uint32_t* words) {
    if constexpr (STEP < 64) {
        Step<STEP>(a, b, c, d, words);
        Step<STEP + 1>(d, a, b, c, words);
        Step<STEP + 2>(c, d, a, b, words);
        Step<STEP + 3>(b, c, d, a, words);
        Steps<STEP + 4>(a, b, c, d, words);
    }
}

void TransformBlocks(std::uint32_t state[4], const std::uint8_t* blocks, std::size_t count) {
    std::uint32_t a = state[0];
    std::uint32_t b = state[1];
    std::uint32_t c = state[2];
    std::uint32_t d = state[3];
    for (; count != 0; --count, blocks += c_MD5::BLOCK_SIZE) {
        std::uint32_t words[16];
        std::memcpy(words, blocks, sizeof words);
        if constexpr (std::endian::native == std::endian::big) {
            for (std::uint32_t& word : words) {
                word = __builtin_bswap32(word);
            }
        }
        const std::uint32_t oldA = a;
        const std::uint32_t oldB = b;
        const std::uint32_t oldC = c;
        const std::uint32_t oldD = d;
        Steps<0>(a, b, c, d, words);
        a += oldA;
        b += oldB;
        c += oldC;
        d += oldD;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

void WriteLittleEndian(std::uint32_t value, std::uint8_t* out) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace

void c_MD5::Init() {
    m_BitCount[0] = 0;
    m_BitCount[1] = 0;
    std::memcpy(m_State, INITIAL_STATE, sizeof m_State);
}

void c_MD5::Update(const std::uint8_t* data, std::int32_t length) {
    if (length <= 0) {
        return;
    }
    const std::uint32_t count = static_cast<std::uint32_t>(length);
    const std::uint32_t index = (m_BitCount[0] >> 3) & 0x3F;
    m_BitCount[0] += count << 3;
    if (m_BitCount[0] < (count << 3)) {
        ++m_BitCount[1];
    }
    m_BitCount[1] += count >> 29;

    std::uint32_t used = 0;
    if (index != 0) {
        used = BLOCK_SIZE - index < count ? BLOCK_SIZE - index : count;
        std::memcpy(m_Block + index, data, used);
        if (index + used < BLOCK_SIZE) {
            return;
        }
        TransformBlocks(m_State, m_Block, 1);
    }
    const std::uint32_t blocks = (count - used) / BLOCK_SIZE;
    TransformBlocks(m_State, data + used, blocks);
    used += blocks * BLOCK_SIZE;
    std::memcpy(m_Block, data + used, count - used);
}

void c_MD5::Update(s_ByteSpan data) {
    const std::uint8_t* bytes = data.GetBytes();
    for (std::uint64_t left = data.m_Size; left != 0;) {
        const std::int32_t piece = left > INT_MAX ? INT_MAX / BLOCK_SIZE * BLOCK_SIZE : static_cast<std::int32_t>(left);
        Update(bytes, piece);
        bytes += piece;
        left -= static_cast<std::uint64_t>(piece);
    }
}

void c_MD5::Final(std::uint8_t digest[DIGEST_SIZE]) {
    static constexpr std::uint8_t PADDING[BLOCK_SIZE] = {0x80};
    std::uint8_t bits[8];
    WriteLittleEndian(m_BitCount[0], bits);
    WriteLittleEndian(m_BitCount[1], bits + 4);
    const std::uint32_t index = (m_BitCount[0] >> 3) & 0x3F;
    Update(PADDING, static_cast<std::int32_t>(index < 56 ? 56 - index : 120 - index));
    Update(bits, sizeof bits);
    for (std::size_t i = 0; i < 4; ++i) {
        WriteLittleEndian(m_State[i], digest + 4 * i);
    }
}

void c_MD5::Transform(const std::uint8_t block[BLOCK_SIZE]) {
    TransformBlocks(m_State, block, 1);
}

void MD5Digest(const void* data, std::int32_t length, std::uint8_t digest[c_MD5::DIGEST_SIZE]) {
    c_MD5 context;
    context.Update(static_cast<const std::uint8_t*>(data), length);
    context.Final(digest);
}

void MD5Digest(s_ByteSpan data, std::uint8_t digest[c_MD5::DIGEST_SIZE]) {
    c_MD5 context;
    context.Update(data);
    context.Final(digest);
}

c_String MD5DigestToHex(const std::uint8_t digest[c_MD5::DIGEST_SIZE]) {
    return HexEncodeBytes(s_ByteSpan::FromPointer(digest, c_MD5::DIGEST_SIZE), false);
}

c_String GetMD5OfData(const void* data, std::int32_t length) {
    std::uint8_t digest[c_MD5::DIGEST_SIZE];
    MD5Digest(data, length, digest);
    return MD5DigestToHex(digest);
}

c_String GetMD5OfData(s_ByteSpan data) {
    std::uint8_t digest[c_MD5::DIGEST_SIZE];
    MD5Digest(data, digest);
    return MD5DigestToHex(digest);
}

c_String GetMD5OfText(const c_String& text) {
    return GetMD5OfData(text.GetBuffer(), text.GetLength());
}
