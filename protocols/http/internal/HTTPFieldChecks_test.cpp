// Tests of the request header field checks.

#include "protocols/http/internal/HTTPFieldChecks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct s_Case {
    const char* m_Name;
    std::string m_Text;
    bool m_IsName;
    bool m_IsValue;
};

const s_Case CASES[] = {
    {"PlainName", "Content-Type", true, true},
    {"EveryTokenSign", "!#$%&'*+-.^_`|~09azAZ", true, true},
    {"Empty", "", false, true},
    {"Blank", "a b", false, true},
    {"Colon", "a:b", false, true},
    {"Tab", "a\tb", false, true},
    {"HighByte", "caf\xc3\xa9", false, true},
    {"CarriageReturn", "a\rb", false, false},
    {"LineFeed", "a\nX-Evil: 1", false, false},
    {"Nul", std::string("a\0b", 3), false, false},
    {"OtherControl", "a\x1b", false, false},
    {"Delete", "a\x7f", false, false},
};

class HTTPFieldChecks : public testing::TestWithParam<s_Case> {};

TEST_P(HTTPFieldChecks, NamesAreTokensAndValuesHoldNoControlBytes) {
    const s_Case& row = GetParam();
    const c_StringView text(row.m_Text.data(), static_cast<std::int32_t>(row.m_Text.size()));
    EXPECT_EQ(n_HTTPFieldChecks::IsFieldName(text), row.m_IsName);
    EXPECT_EQ(n_HTTPFieldChecks::IsFieldValue(text), row.m_IsValue);
}

INSTANTIATE_TEST_SUITE_P(Cases, HTTPFieldChecks, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<s_Case>& info) { return info.param.m_Name; });

} // namespace
