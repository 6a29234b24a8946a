// Tests of wildcard matching, the character classes and the cached view equality.

#include "textutil/WildcardMatch.h"

#include "textutil/CharacterClasses.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WildcardMatch, Masks) {
    const struct {
        const char* m_Text;
        const char* m_Pattern;
        bool m_Matches;
    } cases[] = {
        {"Data.TXT", "*.txt", true},
        {"abc", "a*c", true},
        {"abc", "*", true},
        {"abc", "a*d", false},
        {"abc", "ab", false},
        {"ab", "ab*", true},
        {"", "*", true},
        {"", "", true},
        {"a", "", false},
        {"", "a", false},
        {"Chart.cht", "*.CHT", true},
        {"x.cht.bak", "*.cht", false},
        {"aXbXc", "a*b*c", true},
        {"abcbc", "*bc", true},
        {"abcbd", "*bc", false},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*ppx", false},
        {"ab", "a**b", true},
        {"a?b", "a?b", true},
        {"axb", "a?b", false},
        {nullptr, "*", true},
        {"abc", nullptr, false},
        {"\xC9t\xE9", "\xC9*", true},
        {"\xE9", "\xC9", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(WildcardMatchNoCase(test.m_Text, test.m_Pattern), test.m_Matches)
            << (test.m_Text ? test.m_Text : "null") << " against " << (test.m_Pattern ? test.m_Pattern : "null");
    }
}

TEST(WildcardMatch, PathologicalMaskStaysBounded) {
    // Tried recursively, each '*' would multiply the attempts: 40 stars against 5000 characters that
    // almost match would never finish. With one backtrack point it is at most 5000 x 81 steps.
    std::string mask;
    for (int i = 0; i < 40; ++i) {
        mask += "*a";
    }
    mask += "b";
    const std::string text(5000, 'a');
    EXPECT_FALSE(WildcardMatchNoCase(text.c_str(), mask.c_str()));
    EXPECT_TRUE(WildcardMatchNoCase((text + "b").c_str(), mask.c_str()));
}

TEST(CharacterClasses, AsciiOnly) {
    EXPECT_TRUE(CharEqualsNoCase('a', 'A'));
    EXPECT_TRUE(CharEqualsNoCase('[', '['));
    EXPECT_FALSE(CharEqualsNoCase('[', '{')) << "not letters, though 0x20 apart";
    EXPECT_FALSE(CharEqualsNoCase('\xC9', '\xE9'));
    EXPECT_TRUE(IsDigitChar('7'));
    EXPECT_FALSE(IsDigitChar(0x10037));
    EXPECT_TRUE(IsUpperChar('Q'));
    EXPECT_FALSE(IsUpperChar('q'));
    EXPECT_TRUE(IsLowerChar('q'));
    EXPECT_TRUE(IsAlphaChar('z'));
    EXPECT_FALSE(IsAlphaChar('@'));
    EXPECT_TRUE(IsDigitByte('0'));
    EXPECT_FALSE(IsDigitByte(0xB2));
}

TEST(CharacterClasses, CachedViewEquality) {
    const std::string left = "same";
    std::string right = "same";
    s_CachedViewEquality equality(c_StringView(left.c_str()), c_StringView(right.c_str()));
    EXPECT_FALSE(equality.m_IsComputed);
    EXPECT_TRUE(equality.IsEqual());
    right[0] = 'S';
    EXPECT_TRUE(equality.IsEqual()) << "computed once, then kept";
    EXPECT_FALSE(s_CachedViewEquality("a", "A").IsEqual());
}

} // namespace
