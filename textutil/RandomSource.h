#pragma once
// The process's source of random bytes and the numbers drawn from it.
//
// Bytes come from the processor's RDRAND through Crypto++ when the processor has it, and from
// OpenSSL's generator otherwise or when RDRAND fails. Every function may be called from any thread.
// Tests replace the source to script the bytes.

#include <cstdint>

// Fills count bytes; false only when no generator could. A null buffer with a non-zero count ends
// the process.
bool GetRandomBytes(void* buffer, std::uint64_t count);
// Uniform over 1 to n (1 for n below 2).
int GetRandomIntInRange(int n);
// 0 to 255.
int GetRandomByte();

// OpenSSL's generator alone. GetRandomIntOpenSSL reads 0 when the generator fails.
int GetRandomIntOpenSSL();
int GetRandomBytesOpenSSL(void* buffer, std::uint64_t count);
// Mixes the monotonic clock into OpenSSL's generator.
void SeedOpenSSLRandom();

// Test hook: a function that fills the bytes in place of the generators; null restores them.
using t_RandomBytesSource = bool (*)(void* buffer, std::uint64_t count);
void SetRandomBytesSource(t_RandomBytesSource source);
