#pragma once
// c_FuzzInput: splits one fuzzer input into the choices of a target and the bytes it feeds.
//
// Choices (numbers and flags) are taken from the back of the input, the bytes to feed from the front,
// so a mutation of the data rarely changes the choices. With nothing left, a choice is its smallest
// value. Portable C++ on purpose: the replay of kept inputs is built by the ordinary compiler.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Ends the run with a message when a target's check fails; libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

class c_FuzzInput {
public:
    c_FuzzInput(const std::uint8_t* data, std::size_t size) : m_p_Data(data), m_Size(size) {}

    // A number from minimum to maximum, from as few bytes at the back as the range needs.
    std::uint32_t TakeInt(std::uint32_t minimum, std::uint32_t maximum) {
        const std::uint64_t range = std::uint64_t(maximum) - minimum;
        std::uint64_t value = 0;
        for (std::uint64_t covered = 0; covered < range && m_Size > 0; covered = covered << 8 | 0xff) {
            value = value << 8 | m_p_Data[--m_Size];
        }
        return static_cast<std::uint32_t>(minimum + (range == UINT32_MAX ? value : value % (range + 1)));
    }
    bool TakeBool() { return (TakeInt(0, 255) & 1) != 0; }

    // Up to count bytes from the front.
    std::vector<std::uint8_t> TakeBytes(std::size_t count) {
        const std::size_t n = count < m_Size ? count : m_Size;
        std::vector<std::uint8_t> bytes(m_p_Data, m_p_Data + n);
        m_p_Data += n;
        m_Size -= n;
        return bytes;
    }
    std::vector<std::uint8_t> TakeRest() { return TakeBytes(m_Size); }
    std::size_t GetRemaining() const { return m_Size; }

private:
    const std::uint8_t* m_p_Data;
    std::size_t m_Size;
};

// Slice lengths from a seed: the same seed cuts the same way, so a kept input replays exactly.
class c_SliceSizes {
public:
    c_SliceSizes(std::uint32_t seed, std::uint32_t largest) : m_State(seed | 1), m_Largest(largest < 1 ? 1 : largest) {}

    // From 0 (a call with no bytes) to the largest.
    std::uint32_t Next() {
        m_State ^= m_State << 13;
        m_State ^= m_State >> 17;
        m_State ^= m_State << 5;
        return m_State % (m_Largest + 1);
    }

private:
    std::uint32_t m_State;
    std::uint32_t m_Largest;
};

// Outputs of a run that failed part-way agree as far as both go.
inline bool IsOnePrefixOfTheOther(const std::string& a, const std::string& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    return a.compare(0, n, b, 0, n) == 0;
}
