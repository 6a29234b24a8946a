// Tests of c_StringNoCase: comparisons, searches and map keys without case.

#include "strings/c_StringNoCase.h"
#include "strings/c_WStringNoCase.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

TEST(StringNoCase, EqualityWithAnyOperandKind) {
    const c_StringNoCase gzip("GZIP");
    EXPECT_TRUE(gzip == "gzip");
    EXPECT_TRUE("gzip" == gzip);
    EXPECT_TRUE(gzip == c_String("gZiP"));
    EXPECT_TRUE(c_String("gZiP") == gzip);
    EXPECT_TRUE(gzip == c_StringView("gzip"));
    EXPECT_TRUE(c_StringNoCase("Chunked") == c_StringNoCase("chunked"));
    EXPECT_FALSE(gzip == "gzip2");
    EXPECT_FALSE(c_StringNoCase("\xC3\x84") == "\xC3\xA4");
}

TEST(StringNoCase, MapKeysIgnoreCase) {
    std::map<c_StringNoCase, int> headers;
    headers["Host"] = 1;
    headers["HOST"] = 2;
    headers["accept-encoding"] = 3;
    headers["Accept"] = 4;
    headers[""] = 5;
    headers["_a"] = 6;
    headers["A"] = 7;
    ASSERT_EQ(headers.size(), 6u);
    EXPECT_EQ(headers["host"], 2);
    auto it = headers.begin();
    EXPECT_TRUE(it++->first.IsEmpty());
    EXPECT_TRUE(it++->first == "_a");
    EXPECT_TRUE(it++->first == "a");
    EXPECT_TRUE(it++->first == "accept");
    EXPECT_TRUE(it++->first == "ACCEPT-ENCODING");
    EXPECT_TRUE(c_StringNoCase("Content-Length") < "content-type");
}

TEST(StringNoCase, SearchesAndPiecesIgnoreCase) {
    const c_StringNoCase connection("keep-alive, Upgrade");
    EXPECT_TRUE(connection.Contains("upgrade"));
    EXPECT_EQ(c_StringNoCase("xa").Find('A'), 1);
    EXPECT_TRUE(c_StringNoCase("a.cfg").EndsWith(".CFG"));
    EXPECT_TRUE(c_StringNoCase("HTTP/1.1").StartsWith("http/"));
    EXPECT_EQ(c_StringNoCase("aXbx").ReverseFind("X"), 3);
    EXPECT_EQ(c_StringNoCase("aXbx").ReverseFind("X", -1), -1);
    EXPECT_EQ(c_StringNoCase("abc").Find(""), -1);
    // Pieces carry the rule on.
    const c_StringViewNoCase piece = connection.Right(7);
    EXPECT_TRUE(piece == "UPGRADE");
    EXPECT_TRUE(connection.WithoutPrefix("KEEP-") == "ALIVE, upgrade");
    EXPECT_TRUE(c_StringNoCase(" Gzip ").GetTrimmedView() == "gzip");
}

TEST(StringNoCase, ConstructionAndCaseChanges) {
    EXPECT_TRUE(c_StringNoCase('\xE9').IsEmpty());
    c_StringNoCase text("a-z");
    text += '\xE9';
    EXPECT_STREQ(text.GetChars(), "a-z");
    EXPECT_STREQ(text.MakeUpper().GetChars(), "A-Z");
    c_StringNoCase high("\xC3\x84X");
    EXPECT_STREQ(high.MakeLower().GetChars(), "\xC3\x84x");
    text = c_StringViewNoCase("view");
    EXPECT_STREQ(text.GetChars(), "view");
    const c_StringNoCase copy(text);
    EXPECT_TRUE(copy == "VIEW");
}

// Turns ASCII text into the view's own units.
template <typename Unit> std::basic_string<Unit> Units(const std::string& text) {
    return std::basic_string<Unit>(text.begin(), text.end());
}

// '[' and '{', '@' and '`' lie 0x20 apart like the letters, but only 'A'-'Z' fold: every path
// without case keeps them apart, at the start, inside and past the first sixteen units.
template <typename NoCaseView> void ExpectNeighboursStayApart() {
    using Unit = typename NoCaseView::t_Unit;
    const std::pair<char, char> pairs[] = {{'[', '{'}, {'@', '`'}, {']', '}'}, {'^', '~'}};
    const std::string prefixes[] = {"", "Ab", std::string(20, 'x')};
    for (const auto& [low, high] : pairs) {
        for (const std::string& prefix : prefixes) {
            const std::basic_string<Unit> lowText = Units<Unit>(prefix + low + "z");
            const std::basic_string<Unit> highText = Units<Unit>(prefix + high + "z");
            const NoCaseView left(lowText.c_str());
            const NoCaseView right(highText.c_str());
            const std::string row = prefix + low + " against " + high;
            EXPECT_FALSE(left == right) << row;
            EXPECT_TRUE(left < right) << row;
            EXPECT_TRUE(right > left) << row;
            EXPECT_EQ(left.Compare(right, false), low - high) << row;
            EXPECT_FALSE(left.Equals(right, false)) << row;
            EXPECT_EQ(left.Find(right), -1) << row;
            EXPECT_EQ(left.ReverseFind(right), -1) << row;
            EXPECT_FALSE(left.StartsWith(right)) << row;
            EXPECT_FALSE(left.EndsWith(right)) << row;
            EXPECT_FALSE(left.Contains(Units<Unit>(std::string(1, high)).c_str())) << row;
        }
    }
}

TEST(StringNoCase, NeighboursOfTheLettersNeverFold) {
    ExpectNeighboursStayApart<c_StringViewNoCase>();
    ExpectNeighboursStayApart<c_WStringViewNoCase>();
}

TEST(StringNoCase, WideOrderWithoutCase) {
    struct s_Row {
        const char16_t* m_Left;
        const char16_t* m_Right;
        int m_Order;
    };
    const s_Row rows[] = {
        {u"abc", u"ABD", -1}, {u"ABD", u"abc", 1}, {u"Abc", u"aBC", 0}, {u"ab", u"ABC", -1},
        {u"_", u"A", -1},     {u"[", u"a", -1},    {u"Z", u"_", 1},     {u"\u00C4", u"\u00E4", -1},
    };
    for (const s_Row& row : rows) {
        const c_WStringNoCase left(row.m_Left);
        const c_WStringNoCase right(row.m_Right);
        const int order = (left > right) - (left < right);
        EXPECT_EQ(order, row.m_Order) << std::string(row.m_Left, row.m_Left + 1);
        EXPECT_EQ(left <= right, row.m_Order <= 0);
        EXPECT_EQ(left >= right, row.m_Order >= 0);
    }
    // With case 'A' sorts before '_'; without case after it.
    EXPECT_TRUE(c_WString(u"A") < c_WString(u"_"));
    std::map<c_WStringNoCase, int> keys{
        {c_WStringNoCase(u"b"), 2}, {c_WStringNoCase(u"A"), 1}, {c_WStringNoCase(u"_"), 0}};
    int expected = 0;
    for (const auto& [key, value] : keys) {
        EXPECT_EQ(value, expected++);
    }
}

} // namespace
