// Tests of the list-line parser and the checks that keep listed files inside the installation folder.

#include "installer/FileListLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const c_String& text) {
    return std::string(text.begin(), text.end());
}

struct s_ParseCase {
    const char* m_Name;
    std::string m_Line;
    bool m_HasEquals;
    const char* m_FileName;
    const char* m_Folder;
    const char* m_MD5;
};

const s_ParseCase PARSE_CASES[] = {
    {"NameOnlyHasNoFields", "a.txt=", true, "a.txt", "", ""},
    {"OneFieldIsTheFolder", "a.txt=Sub", true, "a.txt", "Sub", ""},
    {"TwoFieldsAreFolderAndTrimmedMD5", "a.txt=Sub| 0123abc ", true, "a.txt", "Sub", "0123abc"},
    {"ThirdFieldHasNoEffect", "a.txt=Sub|abc|x", true, "a.txt", "Sub", "abc"},
    {"FourFieldsLeaveBothEmpty", "a.txt=Sub|abc|x|y", true, "a.txt", "", ""},
    {"NameIsNotTrimmed", " a b.txt =Sub", true, " a b.txt ", "Sub", ""},
    {"SplitAtTheFirstEquals", "a=b=c|d", true, "a", "b=c", "d"},
    {"FolderTrimmedOfBackslashesThenSlashes", "a=\\/Sub\\Deep/\\", true, "a", "Sub/Deep", ""},
    {"InnerBackslashesBecomeSlashes", "a=Sub\\Deep", true, "a", "Sub/Deep", ""},
    {"SlashBehindABackslashStays", "a=/\\Sub", true, "a", "/Sub", ""},
    {"EmptyFolderWithMD5", "a=|abc", true, "a", "", "abc"},
    {"NoEqualsIsNoFile", "Common", false, "", "", ""},
};

class FileListLineParse : public testing::TestWithParam<s_ParseCase> {};

TEST_P(FileListLineParse, SplitsNameFolderAndMD5) {
    const s_ParseCase& row = GetParam();
    s_FileListLine line;
    ASSERT_EQ(ParseFileListLine(c_StringView(row.m_Line.data(), static_cast<int>(row.m_Line.size())), line),
              row.m_HasEquals);
    if (!row.m_HasEquals) {
        return;
    }
    EXPECT_EQ(Text(line.m_Name), row.m_FileName);
    EXPECT_EQ(Text(line.m_Folder), row.m_Folder);
    EXPECT_EQ(Text(line.m_MD5), row.m_MD5);
}

INSTANTIATE_TEST_SUITE_P(Lines, FileListLineParse, testing::ValuesIn(PARSE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST(FileListLine, AReusedRecordKeepsNothingOfTheLastLine) {
    s_FileListLine line;
    ASSERT_TRUE(ParseFileListLine("a=Sub|abc", line));
    ASSERT_TRUE(ParseFileListLine("b=", line));
    EXPECT_EQ(Text(line.m_Folder), "");
    EXPECT_EQ(Text(line.m_MD5), "");
}

struct s_SafetyCase {
    const char* m_Name;
    std::string m_Line;
    bool m_Safe;
};

const s_SafetyCase SAFETY_CASES[] = {
    {"PlainName", "a.txt=", true},
    {"NameWithBlank", "My File.txt=Sub", true},
    {"NestedFolder", "a.txt=Sub\\Deep", true},
    {"DataFolder", "a.dly=Data|abc", true},
    {"DotsInsideAName", "a..b=x..y", true},
    {"ParentStepsInTheName", "..\\..\\evil.txt=", false},
    {"BackslashInTheName", "a\\b.txt=", false},
    {"SlashInTheName", "a/b.txt=", false},
    {"DriveInTheName", "C:\\x.txt=", false},
    {"ColonInTheName", "a:b=", false},
    {"EmptyName", "=Sub", false},
    {"DotName", ".=Sub", false},
    {"DotDotName", "..=Sub", false},
    {"WildcardInTheName", "a*.txt=", false},
    {"QuestionMarkInTheName", "a?.txt=", false},
    {"QuoteInTheName", "a\".txt=", false},
    {"AnglesInTheName", "a<b>.txt=", false},
    {"PipeInTheName", "a|b.txt=", false},
    {"TabInTheName", "a\t.txt=", false},
    {"DeleteInTheName", "a\x7f.txt=", false},
    {"NulInTheName", std::string("a\0b=", 4), false},
    {"ParentFolder", "a.txt=../..", false},
    {"ParentFolderWithBackslashes", "a.txt=..\\..", false},
    {"ParentStepInsideTheFolder", "a.txt=Sub\\..\\..\\x", false},
    {"DotFolderComponent", "a.txt=Sub/./x", false},
    {"EmptyFolderComponent", "a.txt=Sub//x", false},
    {"RootedFolderLeftAfterTrimming", "a.txt=/\\Sub", false},
    {"DriveFolder", "a.txt=C:\\Windows", false},
    {"ControlCharacterInTheFolder", "a.txt=Sub\r", false},
};

class FileListLineSafety : public testing::TestWithParam<s_SafetyCase> {};

TEST_P(FileListLineSafety, OnlyNamesAndFoldersInsideTheInstallationFolderPass) {
    const s_SafetyCase& row = GetParam();
    s_FileListLine line;
    ASSERT_TRUE(ParseFileListLine(c_StringView(row.m_Line.data(), static_cast<int>(row.m_Line.size())), line));
    EXPECT_EQ(IsSafeFileListLine(line), row.m_Safe);
}

INSTANTIATE_TEST_SUITE_P(Lines, FileListLineSafety, testing::ValuesIn(SAFETY_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST(FileListLine, CommonFoldersFollowTheFolderRule) {
    EXPECT_TRUE(IsSafeFolder(""));
    EXPECT_TRUE(IsSafeFolder("Common"));
    EXPECT_TRUE(IsSafeFolder("Common/Charts"));
    EXPECT_FALSE(IsSafeFolder(".."));
    EXPECT_FALSE(IsSafeFolder("Common/../.."));
    EXPECT_FALSE(IsSafeFolder("Common\\..\\.."));
    EXPECT_FALSE(IsSafeFolder("/Common"));
    EXPECT_FALSE(IsSafeFolder("Common?x=1"));
}

} // namespace
