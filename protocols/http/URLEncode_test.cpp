// Tests of URLEncode.

#include "protocols/http/URLEncode.h"

#include <gtest/gtest.h>

namespace {

TEST(URLEncode, EncodesAllButUnreservedBytes) {
    const struct {
        c_StringView m_Text;
        const char* m_Encoded;
    } rows[] = {
        {"a b&c", "a%20b%26c"},       {"\xC3\xA9", "%C3%A9"},           {"", ""},
        {"AZaz09-._~", "AZaz09-._~"}, {"/?#=+%", "%2F%3F%23%3D%2B%25"}, {c_StringView("x\0y", 3), "x"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(URLEncode(row.m_Text), c_String(row.m_Encoded)) << row.m_Encoded;
    }
}

} // namespace
