// Tests of the hive's text form.

#include "platform/kernel/RegistryHive.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using n_Platform::c_RegistryHive;
using n_Platform::s_RegistryValue;

TEST(RegistryHive, TextGivesBackKeysAndValues) {
    c_RegistryHive hive;
    hive.AddKey(u"empty\\key");
    hive.SetValue(u"software\\dovrik", u"path", {1, {'C', 0, ':', 0, 0, 0}});
    hive.SetValue(u"software\\dovrik", u"", {3, {}});
    c_RegistryHive read;
    read.Parse(hive.Serialize());
    EXPECT_TRUE(read.HasKey(u"empty"));
    EXPECT_TRUE(read.HasKey(u"empty\\key"));
    EXPECT_TRUE(read.HasKey(u"software"));
    ASSERT_NE(read.FindValue(u"software\\dovrik", u"path"), nullptr);
    EXPECT_EQ(read.FindValue(u"software\\dovrik", u"path")->m_Type, 1u);
    EXPECT_EQ(read.FindValue(u"software\\dovrik", u"path")->m_Data, (std::vector<unsigned char>{'C', 0, ':', 0, 0, 0}));
    ASSERT_NE(read.FindValue(u"software\\dovrik", u""), nullptr);
    EXPECT_TRUE(read.FindValue(u"software\\dovrik", u"")->m_Data.empty());
    EXPECT_EQ(read.Serialize(), hive.Serialize());
}

TEST(RegistryHive, DamagedLinesAreLeftOut) {
    struct s_Case {
        const char* m_Name;
        std::string m_Line;
    } const cases[] = {
        {"odd hex", "V 6100 6200 1 0"},
        {"upper-case hex", "V 6100 6200 1 0A"},
        {"odd name bytes", "V 61 6200 1 00"},
        {"type with a letter", "V 6100 6200 1x 00"},
        {"type too large", "V 6100 6200 99999999999 00"},
        {"missing field", "V 6100 6200 1"},
        {"extra field", "K 6100 6200"},
        {"unknown record", "X 6100"},
    };
    for (const s_Case& row : cases) {
        c_RegistryHive hive;
        hive.Parse("REGISTRY 1\n" + row.m_Line + "\nK 6300\n");
        EXPECT_FALSE(hive.HasKey(u"a")) << row.m_Name;
        EXPECT_EQ(hive.FindValue(u"a", u"b"), nullptr) << row.m_Name;
        EXPECT_TRUE(hive.HasKey(u"c")) << row.m_Name;
    }
}

TEST(RegistryHive, TextWithoutTheHeaderIsEmpty) {
    c_RegistryHive hive;
    hive.Parse("K 6300\n");
    EXPECT_FALSE(hive.HasKey(u"c"));
}

TEST(RegistryHive, NamesFoldOnlyASCIILetters) {
    EXPECT_EQ(c_RegistryHive::FoldName(u"AbZ\u00C4"), u"abz\u00C4");
}

} // namespace
