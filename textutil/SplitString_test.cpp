// Tests of splitting into owned pieces and in place, with the trailing-separator rule of both.

#include "textutil/SplitString.h"

#include "strings/Memory.h"
#include "textutil/testing/FailingOperatorNew.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SplitString, OwnedPieces) {
    const struct {
        const char* m_Name;
        const char* m_Text;
        const char* m_Separator;
        t_Texts m_Pieces;
    } cases[] = {
        {"version fields with a trailing pair", "a||b||", "||", {"a", "b"}},
        {"leading pair", "||a", "||", {"", "a"}},
        {"adjacent pairs keep an empty piece", "a||||b", "||", {"a", "", "b"}},
        {"empty text", "", "||", {}},
        {"empty separator", "abc", "", {"abc"}},
        {"null separator", "abc", nullptr, {"abc"}},
        {"only the separator", "||", "||", {""}},
        {"file list",
         "a.exe=Data|0123|x\r\nb.dll=\r\nCommonFiles\r\n",
         "\r\n",
         {"a.exe=Data|0123|x", "b.dll=", "CommonFiles"}},
        {"list fields", "folder|md5|", "|", {"folder", "md5"}},
        {"command line",
         "InstallPath=C:\\Dovrik /CreateShortcuts=true /Version=2310",
         " /",
         {"InstallPath=C:\\Dovrik", "CreateShortcuts=true", "Version=2310"}},
        {"with case", "aXbxc", "x", {"aXb", "c"}},
        {"long pieces",
         "0123456789012345678901234567890123456789|x",
         "|",
         {"0123456789012345678901234567890123456789", "x"}},
    };
    for (const auto& test : cases) {
        std::vector<c_String> pieces = {c_String("stale")};
        const int count = SplitString(c_String(test.m_Text), test.m_Separator, pieces);
        EXPECT_EQ(Texts(pieces), test.m_Pieces) << test.m_Name;
        EXPECT_EQ(count, static_cast<int>(test.m_Pieces.size())) << test.m_Name;
    }
    std::vector<c_String> pieces;
    EXPECT_EQ(SplitStringNoCase(c_StringNoCase("aXbxc"), "x", pieces), 3);
    EXPECT_EQ(Texts(pieces), (t_Texts{"a", "b", "c"}));
}

TEST(SplitString, RunningOutOfMemoryGivesNoPieces) {
    const c_String text("first piece that lives on the heap|second piece that lives on the heap|third");
    std::vector<c_String> pieces;
    n_Memory::FailNthAllocation(2);
    EXPECT_EQ(SplitString(text, "|", pieces), 0);
    EXPECT_TRUE(pieces.empty());
    std::vector<c_String> fresh;
    n_TestAllocation::FailNthOperatorNew(2);
    EXPECT_EQ(SplitString(text, "|", fresh), 0) << "the vector cannot grow to a second piece";
    EXPECT_TRUE(fresh.empty());
    n_Memory::FailNthAllocation(0);
    n_TestAllocation::FailNthOperatorNew(0);
    EXPECT_EQ(SplitString(text, "|", pieces), 3);
}

TEST(SplitString, InPlace) {
    const struct {
        const char* m_Name;
        const char* m_Text;
        const char* m_Separator;
        t_Texts m_Pieces;
    } cases[] = {
        {"trailing separator adds no piece", "a,b,,", ",", {"a", "b", ""}},
        {"single trailing separator", "a,", ",", {"a"}},
        {"leading separator", ",a", ",", {"", "a"}},
        {"empty text is one piece", "", ",", {""}},
        {"no separator", "abc", nullptr, {"abc"}},
        {"longer separator", "k1||k2||", "||", {"k1", "k2"}},
    };
    for (const auto& test : cases) {
        std::string buffer(test.m_Text);
        std::vector<char*> pieces;
        const int count = SplitInPlace(buffer.data(), test.m_Separator, pieces);
        t_Texts texts;
        for (const char* piece : pieces) {
            texts.push_back(piece);
        }
        EXPECT_EQ(texts, test.m_Pieces) << test.m_Name;
        EXPECT_EQ(count, static_cast<int>(test.m_Pieces.size())) << test.m_Name;
    }
    std::vector<char*> pieces;
    EXPECT_EQ(SplitInPlace(nullptr, ",", pieces), 0);
}

} // namespace
