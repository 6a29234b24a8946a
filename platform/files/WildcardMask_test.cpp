// Tests of the wildcard rules of folder searches.

#include "platform/files/WildcardMask.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

TEST(WildcardMask, MatchesAsWindowsSearchesDo) {
    const struct {
        const char16_t* m_Name;
        const char16_t* m_Mask;
        bool m_Matches;
    } cases[] = {
        {u"report.txt", u"*", true},
        {u"report.txt", u"*.txt", true},
        {u"REPORT.TXT", u"*.txt", true},
        {u"report.txt.bak", u"*.txt", false},
        {u"README", u"*.*", true},
        {u"a.b.c", u"*.*", true},
        {u"a", u"?", true},
        {u"ab", u"?", false},
        {u"a", u"a?", true},
        {u"abc", u"a?c", true},
        {u"ac", u"a?c", false},
        {u"data1.log", u"data*.log", true},
        {u"data.log", u"data*.log", true},
        {u"page.html", u"*.htm", false},
        {u"abc", u"a**c", true},
        {u"", u"*", true},
        {u"", u"", true},
        {u"a", u"", false},
        {u"README", u"*.", false},
        {u"README", u"*.?", false},
        {u"ab", u"ab??", true},
        {u"ab", u"ab?.*", true},
        {u"ab", u"a?x", false},
        {u"Setup_64.EXE", u"*_??.exe", true},
        {u"a.b", u"*.*.*", true},
        {u"abcabd", u"*ab?", true},
        {u"aXbXc", u"*x*X*", true},
    };
    for (const auto& row : cases) {
        const std::u16string_view name(row.m_Name);
        const std::u16string_view mask(row.m_Mask);
        EXPECT_EQ(n_Platform::MatchesMask(name, mask), row.m_Matches)
            << std::string(name.begin(), name.end()) << " against " << std::string(mask.begin(), mask.end());
    }
}

// Eleven stars against a 40-character name: a matcher that tries every split of the name among the
// stars takes seconds here; one backtrack point takes microseconds.
TEST(WildcardMask, ManyStarsStayCheap) {
    const std::u16string name(40, u'a');
    const std::u16string starred = u"*a*a*a*a*a*a*a*a*a*a*";
    EXPECT_FALSE(n_Platform::MatchesMask(name, starred + u"b"));
    EXPECT_TRUE(n_Platform::MatchesMask(name, starred + u"a"));
    EXPECT_TRUE(n_Platform::MatchesMask(name + u".log", starred + u".LOG"));
}

TEST(WildcardMask, KnowsMasksWithWildcards) {
    EXPECT_TRUE(n_Platform::HasWildcards(u"*.txt"));
    EXPECT_TRUE(n_Platform::HasWildcards(u"a?"));
    EXPECT_FALSE(n_Platform::HasWildcards(u"name.txt"));
}

} // namespace
