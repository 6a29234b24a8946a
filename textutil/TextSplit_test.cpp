// Tests of splitting into views, on the formats the program really splits.

#include "textutil/TextSplit.h"

#include "textutil/testing/FailingOperatorNew.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TextSplit, Split) {
    const struct {
        const char* m_Name;
        const char* m_Text;
        const char* m_Separator;
        t_Texts m_Pieces;
    } cases[] = {
        {"empty text", "", ",", {}},
        {"empty separator", "abc", "", {"abc"}},
        {"no separator found", "abc", ",", {"abc"}},
        {"trailing separator leaves an empty piece", "a,", ",", {"a", ""}},
        {"leading separator", ",a", ",", {"", "a"}},
        {"adjacent separators", "a,,b", ",", {"a", "", "b"}},
        {"version fields", "1.2||1.3||x||y||5", "||", {"1.2", "1.3", "x", "y", "5"}},
        {"fields with a trailing pair", "a||b||", "||", {"a", "b", ""}},
        {"leading pair", "||a", "||", {"", "a"}},
        {"file list lines", "a.exe=|abc|\r\nb.dll=\r\nCommon", "\r\n", {"a.exe=|abc|", "b.dll=", "Common"}},
        {"command line items", "/InstallPath=C:\\x /Version=2", " /", {"/InstallPath=C:\\x", "Version=2"}},
        {"separator is the whole text", "||", "||", {"", ""}},
        {"separator with case", "aXbxc", "x", {"aXb", "c"}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Texts(Split(c_StringView(test.m_Text), c_StringView(test.m_Separator))), test.m_Pieces)
            << test.m_Name;
    }
}

TEST(TextSplit, AppendingCoreAndIntoForms) {
    std::vector<c_StringView> pieces = {c_StringView("kept")};
    EXPECT_TRUE(Split(c_StringView("a;b"), c_StringView(";"), pieces));
    EXPECT_EQ(Texts(pieces), (t_Texts{"kept", "a", "b"}));
    SplitInto(c_StringView("x;y"), ";", pieces);
    EXPECT_EQ(Texts(pieces), (t_Texts{"x", "y"}));
    SplitLines(c_StringView("one\r\ntwo\nthree"), pieces);
    EXPECT_EQ(Texts(pieces), (t_Texts{"one\r", "two", "three"}));
    EXPECT_EQ(Texts(Split(c_StringView("k:v:w"), ':')), (t_Texts{"k", "v", "w"}));
}

TEST(TextSplit, PaddedAndTrimmed) {
    EXPECT_EQ(Texts(SplitPadded("abc", ",", 2)), (t_Texts{"abc", ""}));
    EXPECT_EQ(Texts(SplitPadded("a,b,c", ",", 2)), (t_Texts{"a", "b", "c"}));
    EXPECT_EQ(Texts(SplitPadded("", ",", 2)), (t_Texts{"", ""}));
    EXPECT_EQ(Texts(SplitPadded("a,b", ",", -4)), (t_Texts{"a", "b"}));
    EXPECT_EQ(Texts(SplitTrimmed(" a , , b ", ",")), (t_Texts{"a", "", "b"}));
}

TEST(TextSplit, NoCaseTextsGiveNoCasePieces) {
    const c_StringNoCase header("Upgrade, WebSocket");
    const std::vector<c_StringViewNoCase> tokens = Split(header, ',');
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_TRUE(tokens[1].Trimmed() == "websocket");
    std::vector<c_StringViewNoCase> pieces;
    SplitInto(c_StringViewNoCase("aXbxc"), 'x', pieces);
    EXPECT_EQ(Texts(pieces), (t_Texts{"aXb", "c"})) << "the separator still matches with case";
}

TEST(TextSplit, RunningOutOfMemoryGivesNoPieces) {
    std::vector<c_StringView> pieces = {c_StringView("kept")};
    n_TestAllocation::FailNthOperatorNew(2);
    EXPECT_FALSE(Split(c_StringView("a,b,c,d,e"), c_StringView(","), pieces));
    EXPECT_EQ(Texts(pieces), (t_Texts{"kept"}));
    n_TestAllocation::FailNthOperatorNew(1);
    EXPECT_TRUE(Split(c_StringView("a,b"), c_StringView(",")).empty());
    n_TestAllocation::FailNthOperatorNew(1);
    SplitPadded(c_StringView("a"), c_StringView(","), 3, pieces);
    EXPECT_TRUE(pieces.empty());
    n_TestAllocation::FailNthOperatorNew(0);
}

} // namespace
