// Tests of the wildcard rules of folder searches.

#include "platform/files/WildcardMask.h"

#include <gtest/gtest.h>

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
    };
    for (const auto& row : cases) {
        EXPECT_EQ(n_Platform::MatchesMask(row.m_Name, row.m_Mask), row.m_Matches);
    }
}

TEST(WildcardMask, KnowsMasksWithWildcards) {
    EXPECT_TRUE(n_Platform::HasWildcards(u"*.txt"));
    EXPECT_TRUE(n_Platform::HasWildcards(u"a?"));
    EXPECT_FALSE(n_Platform::HasWildcards(u"name.txt"));
}

} // namespace
