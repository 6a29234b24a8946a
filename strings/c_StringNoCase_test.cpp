// Tests of c_StringNoCase: comparisons, searches and map keys without case.

#include "strings/c_StringNoCase.h"

#include <gtest/gtest.h>

#include <map>

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

} // namespace
