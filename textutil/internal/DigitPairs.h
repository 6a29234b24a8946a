#pragma once
// The digit-pair table of the decimal writers: "00" to "99", two characters per division by 100.

#include <cstdint>
#include <cstring>

namespace n_DigitPairs {

extern const char TABLE[200];

// Writes the magnitude's digits so that they end just before end; returns where they start.
template <typename U> char* WriteBackwards(U magnitude, char* end) {
    while (magnitude > 99) {
        end -= 2;
        std::memcpy(end, TABLE + 2 * (magnitude % 100), 2);
        magnitude /= 100;
    }
    if (magnitude > 9) {
        end -= 2;
        std::memcpy(end, TABLE + 2 * magnitude, 2);
    } else {
        *--end = static_cast<char>('0' + magnitude);
    }
    return end;
}

} // namespace n_DigitPairs
