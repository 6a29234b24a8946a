// Tests of the comparison primitives against the case rule stated unit by unit.

#include "strings/internal/TextCore.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// The primitives as the case rule states them, one unit at a time.
int Reference(const char* left, const char* right, int count, bool noCase) {
    for (int i = 0; i < count; ++i) {
        unsigned a = static_cast<unsigned char>(left[i]);
        unsigned b = static_cast<unsigned char>(right[i]);
        if (noCase) {
            a = a >= 'A' && a <= 'Z' ? a + 32 : a;
            b = b >= 'A' && b <= 'Z' ? b + 32 : b;
        }
        if (a != b) {
            return noCase ? static_cast<int>(a) - static_cast<int>(b) : (a < b ? -1 : 1);
        }
        if (a == 0) {
            return 0;
        }
    }
    return 0;
}

// Random runs drawn from a small alphabet (letters of both cases, NUL, bytes 0x01, 0x80, 0xFF, and
// the neighbours of 'A' and 'Z'), at many lengths and offsets.
TEST(TextCore, ComparisonsMatchTheCaseRule) {
    const char alphabet[] = {'a', 'A', 'z', 'Z', '@', '[', '`', '{', 0, 1, '\x80', '\xFF', 'm', 'M'};
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
    std::vector<char> left(48);
    std::vector<char> right(48);
    for (int round = 0; round < 20000; ++round) {
        for (size_t i = 0; i < left.size(); ++i) {
            left[i] = alphabet[pick(random)];
            // mostly equal, so that comparisons run deep
            right[i] = random() % 4 == 0 ? alphabet[pick(random)] : left[i];
        }
        const int offset = round % 8;
        const int count = static_cast<int>(random() % 40);
        const char* a = left.data() + offset;
        const char* b = right.data() + (round / 8) % 8;
        ASSERT_EQ(n_StringCore::CompareWithoutCase(a, b, count), Reference(a, b, count, true)) << round;
        ASSERT_EQ(Sign(n_StringCore::CompareWithCase(a, b, count)), Reference(a, b, count, false)) << round;
    }
}

// Texts that end at the last byte before an unreadable page: no comparison may read past them.
TEST(TextCore, ComparisonsStopAtTheEndOfReadableMemory) {
    const long page = 4096;
    void* mapping = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapping, MAP_FAILED);
    char* first = static_cast<char*>(mapping);
    ASSERT_EQ(mprotect(first + page, page, PROT_NONE), 0);
    std::memset(first, 'a', page);
    const char other[] = "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAb";
    for (int count = 1; count <= 40; ++count) {
        const char* atEnd = first + page - count;
        EXPECT_EQ(n_StringCore::CompareWithoutCase(atEnd, other, count), 0) << count;
        EXPECT_EQ(n_StringCore::CompareWithoutCase(other, atEnd, count), 0) << count;
        EXPECT_EQ(n_StringCore::CompareWithCase(atEnd, other, count), 1) << count;
        EXPECT_EQ(n_StringCore::CompareWithCase(atEnd, atEnd, count), 0) << count;
    }
    munmap(mapping, 2 * page);
}

} // namespace
