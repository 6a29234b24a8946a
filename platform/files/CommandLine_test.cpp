// Tests of the Windows rules for splitting a command line.

#include "platform/files/CommandLine.h"

#include "platform/testing/WideText.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Split(const char* line) {
    std::vector<std::string> pieces;
    for (const std::u16string& piece : n_Platform::SplitCommandLine(Wide(line))) {
        pieces.push_back(Narrow(piece));
    }
    return pieces;
}

TEST(SplitCommandLine, FollowsTheRunTimeLibraryRules) {
    const struct {
        const char* m_Name;
        const char* m_Line;
        std::vector<std::string> m_Pieces;
    } cases[] = {
        {"empty line", "", {}},
        {"program only", "prog.exe", {"prog.exe"}},
        {"blanks and tabs separate", "prog a \t b", {"prog", "a", "b"}},
        {"quoted program keeps blanks and backslashes", "\"C:\\My Apps\\p.exe\" x", {"C:\\My Apps\\p.exe", "x"}},
        {"quoted program path then nothing", "\"C:\\p.exe\" ", {"C:\\p.exe"}},
        {"quotes group blanks", "p \"a b\" c", {"p", "a b", "c"}},
        {"quotes inside a piece", "p a\"b c\"d", {"p", "ab cd"}},
        {"escaped quote", "p a\\\"b", {"p", "a\"b"}},
        {"even backslashes before a quote", "p \"a\\\\\" b", {"p", "a\\", "b"}},
        {"odd backslashes before a quote", "p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"backslashes without a quote", "p C:\\dir\\ x", {"p", "C:\\dir\\", "x"}},
        {"doubled quote inside quotes", "p \"a\"\"b\"", {"p", "a\"b"}},
        {"empty quoted piece", "p \"\" x", {"p", "", "x"}},
        {"unclosed quote runs to the end", "p \"a b", {"p", "a b"}},
        {"unclosed quoted program", "\"C:\\p q", {"C:\\p q"}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Split(row.m_Line), row.m_Pieces) << row.m_Name;
    }
}

} // namespace
