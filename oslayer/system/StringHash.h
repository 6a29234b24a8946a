#pragma once
// A 64-bit hash of text bytes, fed in pieces.

#include <cstdint>

// Sets the state to the seed, 0xA5A5A5A55A5A5A5A, and returns it.
std::uint64_t GetStringHashSeed(std::uint64_t& state);

// Mixes the bytes into the state, one at a time; a length of 0 leaves it unchanged.
void UpdateStringHash(std::uint64_t& state, const void* bytes, std::uint32_t length);
