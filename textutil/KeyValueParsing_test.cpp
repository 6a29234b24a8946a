// Tests of key-value lists, attributes, host and port, and the field helpers.

#include "textutil/KeyValueParsing.h"

#include "textutil/testing/FailingOperatorNew.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using t_Pairs = std::map<std::string, std::string>;

t_Pairs InPlace(const char* text, const char* keySeparator, const char* pairSeparator) {
    std::string buffer(text);
    std::map<char*, char*> pairs;
    const int count = ParseKeyValuePairsInPlace(buffer.data(), keySeparator, pairSeparator, pairs);
    t_Pairs result;
    for (const auto& [key, value] : pairs) {
        result[key] = value;
    }
    EXPECT_EQ(count, static_cast<int>(pairs.size())) << text;
    return result;
}

TEST(KeyValueParsing, InPlace) {
    const struct {
        const char* m_Text;
        const char* m_Key;
        const char* m_Pair;
        t_Pairs m_Pairs;
    } cases[] = {
        {"a=1;b=2;c", "=", ";", {{"a", "1"}, {"b", "2"}, {"c", ""}}},
        {"a=1=2;b", "=", ";", {{"a", "1=2"}, {"b", ""}}},
        {"a;;b=", "=", ";", {{"a", ""}, {"", ""}, {"b", ""}}},
        {"k: v\r\nx: y", ": ", "\r\n", {{"k", "v"}, {"x", "y"}}},
        {"", "=", ";", {}},
        {"a=1;b=2", "", "", {{"a=1;b=2", ""}}},
        {"a=1;b=2", nullptr, ";", {{"a=1", ""}, {"b=2", ""}}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(InPlace(test.m_Text, test.m_Key, test.m_Pair), test.m_Pairs) << test.m_Text;
    }
    std::map<char*, char*> pairs;
    EXPECT_EQ(ParseKeyValuePairsInPlace(nullptr, "=", ";", pairs), 0);
}

TEST(KeyValueParsing, OwnedPairsIgnoreKeyCase) {
    std::map<c_StringNoCase, c_String> pairs;
    EXPECT_EQ(ParseKeyValuePairs(c_String("Host=a;HOST=b;Port=80"), "=", ";", pairs), 2);
    EXPECT_EQ(ToStd(pairs[c_StringNoCase("host")]), "b") << "a later equal key replaces the value";
    EXPECT_EQ(ToStd(pairs[c_StringNoCase("PORT")]), "80");
    n_TestAllocation::FailNthOperatorNew(2);
    EXPECT_EQ(ParseKeyValuePairs(c_String("a=1;b=2;c=3"), "=", ";", pairs), 0);
    EXPECT_TRUE(pairs.empty());
    n_TestAllocation::FailNthOperatorNew(0);
}

TEST(KeyValueParsing, Attributes) {
    std::string buffer = "  name=\"value\" other=\"two words\" last=\"open";
    char* cursor = buffer.data();
    char* name = nullptr;
    char* value = nullptr;
    ASSERT_TRUE(ParseNextAttribute(cursor, name, value));
    EXPECT_STREQ(name, "name");
    EXPECT_STREQ(value, "value");
    ASSERT_TRUE(ParseNextAttribute(cursor, name, value));
    EXPECT_STREQ(name, "other");
    EXPECT_STREQ(value, "two words");
    EXPECT_FALSE(ParseNextAttribute(cursor, name, value)) << "no closing quote";
    EXPECT_STREQ(value, "open");
    std::string bare = "flag";
    cursor = bare.data();
    EXPECT_FALSE(ParseNextAttribute(cursor, name, value));
    EXPECT_EQ(value, nullptr);
    cursor = nullptr;
    EXPECT_FALSE(ParseNextAttribute(cursor, name, value));
    EXPECT_EQ(name, nullptr);
}

TEST(KeyValueParsing, HostAndPort) {
    const struct {
        const char* m_Text;
        const char* m_Host;
        std::uint16_t m_Port;
    } cases[] = {
        {"host:8080", "host", 8080},   {"host:0", "host", 1},     {"host", "host", 1},
        {"[::1]:443", "[::1]", 443},   {"host:70000", "host", 1}, {"host:-1", "host", 1},
        {"host:65535", "host", 65535}, {"a:b:21", "a:b", 21},     {":99", "", 99},
    };
    for (const auto& test : cases) {
        c_String host("old");
        std::uint16_t port = 1;
        SplitHostAndPort(c_String(test.m_Text), host, port);
        EXPECT_EQ(ToStd(host), test.m_Host) << test.m_Text;
        EXPECT_EQ(port, test.m_Port) << test.m_Text;
    }
}

TEST(KeyValueParsing, Fields) {
    EXPECT_EQ(FindFieldEnd("ab,cd"), 2);
    EXPECT_EQ(FindFieldEnd("ab\tcd,"), 2);
    EXPECT_EQ(FindFieldEnd("abcd"), 4);
    EXPECT_EQ(ToStd(TrimAndUnquote("  \" quoted \"  ")), "quoted");
    EXPECT_EQ(ToStd(TrimAndUnquote(" plain ")), "plain");
    EXPECT_EQ(ToStd(TrimAndUnquote("\"")), "\"");
    EXPECT_EQ(ToStd(TrimAndUnquote("\"\"")), "");
}

} // namespace
