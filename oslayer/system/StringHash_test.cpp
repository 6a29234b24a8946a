// Tests of the 64-bit text hash.

#include "oslayer/system/StringHash.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(StringHash, KnownValues) {
    struct s_Case {
        const char* m_Text;
        std::uint64_t m_Hash;
    } const cases[] = {
        {"", 0xA5A5A5A55A5A5A5Aull},  {"abc", 0x506746253A97E206ull},  {"a", 0xeee5555f000554a1ull},
        {"b", 0xeee2bab44b4ee453ull}, {"\xFF", 0xeee5555f0005553full}, {"\xFE", 0xeee1923cc3c8cc5bull},
    };
    for (const s_Case& row : cases) {
        std::uint64_t state = 0;
        EXPECT_EQ(GetStringHashSeed(state), 0xA5A5A5A55A5A5A5Aull);
        UpdateStringHash(state, row.m_Text, static_cast<std::uint32_t>(std::strlen(row.m_Text)));
        EXPECT_EQ(state, row.m_Hash) << row.m_Text;
    }
}

TEST(StringHash, PiecesGiveTheWholeTextsHash) {
    std::uint64_t state = 0;
    GetStringHashSeed(state);
    UpdateStringHash(state, "ab", 2);
    UpdateStringHash(state, "cd", 1);
    EXPECT_EQ(state, 0x506746253A97E206ull);
}

} // namespace
