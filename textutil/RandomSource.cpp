// Random bytes from RDRAND (Crypto++) or OpenSSL, and uniform numbers drawn from them.

#include "textutil/RandomSource.h"

#include <crypto++/cpu.h>
#include <crypto++/rdrand.h>
#include <openssl/rand.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <exception>

namespace {

std::atomic<t_RandomBytesSource> g_Source{nullptr};

bool FillFromRdrand(void* buffer, std::uint64_t count) {
    if (!CryptoPP::HasRDRAND()) {
        return false;
    }
    try {
        CryptoPP::RDRAND generator;
        generator.GenerateBlock(static_cast<CryptoPP::byte*>(buffer), static_cast<std::size_t>(count));
        return true;
    } catch (const std::exception&) {
        // RDRAND reports exhaustion or absence by an exception; OpenSSL takes over.
        return false;
    }
}

} // namespace

int GetRandomBytesOpenSSL(void* buffer, std::uint64_t count) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (count != 0) {
        const int chunk = count > INT_MAX ? INT_MAX : static_cast<int>(count);
        const int result = RAND_bytes(bytes, chunk);
        if (result != 1) {
            return result;
        }
        bytes += chunk;
        count -= static_cast<std::uint64_t>(chunk);
    }
    return 1;
}

bool GetRandomBytes(void* buffer, std::uint64_t count) {
    if (buffer == nullptr && count != 0) {
        std::abort();
    }
    if (count == 0) {
        return true;
    }
    if (const t_RandomBytesSource source = g_Source.load()) {
        return source(buffer, count);
    }
    return FillFromRdrand(buffer, count) || GetRandomBytesOpenSSL(buffer, count) == 1;
}

int GetRandomIntInRange(int n) {
    if (n < 2) {
        return 1;
    }
    // Draws at or above the largest multiple of n are drawn again, so that every value is as likely.
    const std::uint64_t range = static_cast<std::uint64_t>(n);
    const std::uint64_t limit = (std::uint64_t(1) << 32) / range * range;
    std::uint32_t draw = 0;
    do {
        if (!GetRandomBytes(&draw, sizeof draw)) {
            return 1;
        }
    } while (draw >= limit);
    return static_cast<int>(1 + draw % range);
}

int GetRandomByte() {
    std::uint8_t byte = 0;
    GetRandomBytes(&byte, 1);
    return byte;
}

int GetRandomIntOpenSSL() {
    int value = 0;
    if (RAND_bytes(reinterpret_cast<unsigned char*>(&value), sizeof value) != 1) {
        return 0;
    }
    return value;
}

void SeedOpenSSLRandom() {
    const std::int64_t nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    RAND_seed(&nanoseconds, sizeof nanoseconds);
}

void SetRandomBytesSource(t_RandomBytesSource source) {
    g_Source.store(source);
}
