// Tests of the header value list split and the unquoting.

#include "protocols/http/HTTPHeaderValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct s_SplitCase {
    const char* m_Name;
    std::string m_Text;
    std::vector<std::string> m_Parts;
};

const s_SplitCase SPLIT_CASES[] = {
    {"Empty", "", {}},
    {"BlankAsAWhole", " \t\r\n", {}},
    {"One", "Basic realm=\"p\"", {"Basic realm=\"p\""}},
    {"TwoChallenges", "Negotiate, Basic realm=\"p\"", {"Negotiate", "Basic realm=\"p\""}},
    {"PartsTrimmed", " a ,\tb\r\n, c ", {"a", "b", "c"}},
    {"CommaInQuotes", "Basic realm=\"a,b\", x", {"Basic realm=\"a,b\"", "x"}},
    {"EscapedQuoteKeepsQuoting", "r=\"a\\\",b\", c", {"r=\"a\\\",b\"", "c"}},
    {"EscapedCommaOutsideQuotes", "a\\,b,c", {"a\\,b", "c"}},
    {"EmptyPartsKept", "a,,b,", {"a", "", "b", ""}},
    {"OnlyCommas", ",", {"", ""}},
    {"UnclosedQuoteTakesTheRest", "a=\"x, y", {"a=\"x, y"}},
    {"TrailingEscape", "a,b\\", {"a", "b\\"}},
};

class SplitHeaderValueCases : public testing::TestWithParam<s_SplitCase> {};

TEST_P(SplitHeaderValueCases, SplitsAtCommasOutsideQuotes) {
    const s_SplitCase& row = GetParam();
    std::vector<std::string> parts;
    for (const c_StringView& part : SplitHeaderValue(c_StringView(row.m_Text.data(), int(row.m_Text.size())))) {
        parts.emplace_back(part.begin(), part.end());
    }
    EXPECT_EQ(parts, row.m_Parts);
}

INSTANTIATE_TEST_SUITE_P(Values, SplitHeaderValueCases, testing::ValuesIn(SPLIT_CASES),
                         [](const testing::TestParamInfo<s_SplitCase>& info) {
                             return std::string(info.param.m_Name);
                         });

struct s_UnquoteCase {
    const char* m_Name;
    std::string m_Text;
    std::string m_Result;
};

const s_UnquoteCase UNQUOTE_CASES[] = {
    {"Plain", "proxy", "proxy"},
    {"Quoted", "\"proxy\"", "proxy"},
    {"TrimmedFirst", " \t\"proxy\" ", "proxy"},
    {"EscapesDropped", "\"a\\\"b\\\\c\"", "a\"b\\c"},
    {"EscapeOutsideQuotes", "a\\b", "ab"},
    {"TrailingEscape", "ab\\", "ab"},
    {"LoneQuote", "\"", "\""},
    {"EmptyQuotes", "\"\"", ""},
    {"QuoteOnlyAtStart", "\"abc", "\"abc"},
    {"InnerQuotesKept", "\"a\"b\"", "a\"b"},
    {"UpperHalfDropped", "\"caf\xC3\xA9\"", "caf"},
    {"NulDropped", std::string("\"a\0b\"", 5), "ab"},
    {"EscapedNulDropped", std::string("a\\\0b", 4), "ab"},
    {"ControlKept", "a\x01z", "a\x01z"},
};

class UnquoteHeaderValueCases : public testing::TestWithParam<s_UnquoteCase> {};

TEST_P(UnquoteHeaderValueCases, RemovesQuotesAndEscapes) {
    const s_UnquoteCase& row = GetParam();
    const c_String result = UnquoteHeaderValue(c_StringView(row.m_Text.data(), int(row.m_Text.size())));
    EXPECT_EQ(std::string(result.begin(), result.end()), row.m_Result);
}

INSTANTIATE_TEST_SUITE_P(Values, UnquoteHeaderValueCases, testing::ValuesIn(UNQUOTE_CASES),
                         [](const testing::TestParamInfo<s_UnquoteCase>& info) {
                             return std::string(info.param.m_Name);
                         });

} // namespace
