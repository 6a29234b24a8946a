// The 64-bit text hash.

#include "oslayer/system/StringHash.h"

std::uint64_t GetStringHashSeed(std::uint64_t& state) {
    state = 0xA5A5A5A55A5A5A5Aull;
    return state;
}

void UpdateStringHash(std::uint64_t& state, const void* bytes, std::uint32_t length) {
    const auto* units = static_cast<const unsigned char*>(bytes);
    for (std::uint32_t index = 0; index < length; ++index) {
        const std::uint64_t c = units[index];
        if ((c & 1) != 0) {
            state ^= ~(((state >> 12) ^ c) + (state << 5));
        } else {
            state ^= ((state >> 12) + (state >> 21) * c) ^ (state << 9);
        }
    }
}
