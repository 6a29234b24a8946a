// Tests of the version answer's parse and the mirror choice.

#include "installer/VersionNumbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct s_ParseCase {
    const char* m_Name;
    const char* m_Body;
    std::vector<std::string> m_Fields;
};

const s_ParseCase PARSE_CASES[] = {
    {"FiveFields", "2400||2401||x||y||7", {"2400", "2401", "x", "y", "7"}},
    {"BlanksAroundTheBodyAreTrimmed", " \r\n2400||2401||x||y||7\r\n ", {"2400", "2401", "x", "y", "7"}},
    {"MoreFieldsAreKept", "1||2||3||4||5||6", {"1", "2", "3", "4", "5", "6"}},
    {"EmptyFieldsCount", "1||||||||", {"1", "", "", "", ""}},
    {"FourFieldsAreIgnored", "2400||2401||x||7", {}},
    {"SingleBarsDoNotSeparate", "1|2|3|4|5", {}},
    {"Empty", "", {}},
};

class VersionNumbersParse : public testing::TestWithParam<s_ParseCase> {};

TEST_P(VersionNumbersParse, NeedsFiveFields) {
    const s_ParseCase& row = GetParam();
    std::vector<c_String> fields{c_String("stale")};
    EXPECT_EQ(ParseVersionNumbers(row.m_Body, fields), !row.m_Fields.empty());
    std::vector<std::string> texts;
    for (const c_String& field : fields) {
        texts.emplace_back(field.begin(), field.end());
    }
    EXPECT_EQ(texts, row.m_Fields);
}

INSTANTIATE_TEST_SUITE_P(Answers, VersionNumbersParse, testing::ValuesIn(PARSE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

struct s_ChoiceCase {
    const char* m_Name;
    std::vector<std::int32_t> m_Ranks;
    std::size_t m_Chosen;
};

const s_ChoiceCase CHOICE_CASES[] = {
    {"LargestWins", {3, 7, 9, 5}, 2},
    {"TieGoesToTheEarlier", {3, 7, 7, 5}, 1},
    {"AllZeroGoesToTheFirst", {0, 0, 0, 0}, 0},
    {"NegativeRanksGoToTheFirst", {-1, -5, -2}, 0},
    {"FirstPositiveBeatsEarlierZeros", {0, 0, 1}, 2},
    {"OneAnswer", {4}, 0},
    {"NoAnswer", {}, 0},
};

class VersionNumbersChoice : public testing::TestWithParam<s_ChoiceCase> {};

TEST_P(VersionNumbersChoice, PicksTheFirstStrictlyLargest) {
    EXPECT_EQ(ChooseVersionAnswer(GetParam().m_Ranks), GetParam().m_Chosen);
}

INSTANTIATE_TEST_SUITE_P(Ranks, VersionNumbersChoice, testing::ValuesIn(CHOICE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

} // namespace
