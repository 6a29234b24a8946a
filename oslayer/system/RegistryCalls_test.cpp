// Tests of the registry strings, one read by another process.

#include "oslayer/system/RegistryCalls.h"

#include "platform/kernel/RegistryHive.h"
#include "platform/testing/ChildTestProcess.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr const char* CHILD_VARIABLE = "OSLAYER_TEST_REGISTRY_READER";
constexpr const char* KEY = "Software\\Dovrik\\Tests";

// The bytes stored for the value in the current user's hive file, as the file holds them; -1 when
// it holds no such value.
long ReadStoredSize(const std::u16string& key, const std::u16string& name) {
    std::string file;
    n_Platform::ToLinuxPath(std::u16string_view(u"C:\\.registry\\HKEY_CURRENT_USER"), file);
    n_Platform::c_RegistryHive hive;
    hive.Parse(ReadTestFile(file));
    const n_Platform::s_RegistryValue* value = hive.FindValue(key, name);
    return value == nullptr ? -1 : static_cast<long>(value->m_Data.size());
}

class RegistryCalls : public ::testing::Test {
protected:
    c_TemporaryDrives m_Drives;
};

TEST_F(RegistryCalls, StringsComeBackAsWritten) {
    const char* const values[] = {"C:\\Program Files\\Dovrik", "", "\xC3\xA4\xE2\x82\xAC",
                                  "a string longer than thirty bytes in all"};
    for (const char* value : values) {
        ASSERT_TRUE(n_OSLayer::WriteRegistryStringCurrentUser(KEY, "Value", value)) << value;
        EXPECT_STREQ(n_OSLayer::ReadRegistryStringCurrentUser(KEY, "value").GetChars(), value);
    }
}

TEST_F(RegistryCalls, HivesAreApart) {
    ASSERT_TRUE(n_OSLayer::WriteRegistryStringLocalMachine(KEY, "Machine", "m"));
    EXPECT_STREQ(n_OSLayer::ReadRegistryStringLocalMachine(KEY, "Machine").GetChars(), "m");
    EXPECT_STREQ(n_OSLayer::ReadRegistryStringCurrentUser(KEY, "Machine").GetChars(), "");
}

TEST_F(RegistryCalls, FailuresGiveEmptyOrFalse) {
    EXPECT_STREQ(n_OSLayer::ReadRegistryStringCurrentUser(KEY, "Missing").GetChars(), "");
    EXPECT_FALSE(n_OSLayer::WriteRegistryStringCurrentUser("\\Bad", "Value", "x"));
    const DWORD number = 5;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Numbers", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"N", 0, REG_DWORD, reinterpret_cast<const unsigned char*>(&number), 4);
    RegCloseKey(key);
    EXPECT_STREQ(n_OSLayer::ReadRegistryStringCurrentUser("Numbers", "N").GetChars(), "");
}

TEST_F(RegistryCalls, EmptyValueIsTwoBytesForTheNextProcess) {
    ASSERT_TRUE(n_OSLayer::WriteRegistryStringCurrentUser(KEY, "Empty", ""));
    c_ChildTestProcess child("RegistryReaderChild.ReadsTheEmptyValue", CHILD_VARIABLE, "1");
    EXPECT_TRUE(child.WaitForLine("SIZE 2 TYPE 1 STORED 2 TEXT []"));
}

// The child side of the test above; skipped when run on its own.
TEST(RegistryReaderChild, ReadsTheEmptyValue) {
    if (std::getenv(CHILD_VARIABLE) == nullptr) {
        GTEST_SKIP() << "runs only as the child of EmptyValueIsTwoBytesForTheNextProcess";
    }
    DWORD size = 0;
    DWORD type = 0;
    RegGetValueW(HKEY_CURRENT_USER, u"Software\\Dovrik\\Tests", u"Empty", RRF_RT_REG_SZ, &type, nullptr, &size);
    const c_String text = n_OSLayer::ReadRegistryStringCurrentUser(KEY, "Empty");
    TellParent("SIZE " + std::to_string(size) + " TYPE " + std::to_string(type) + " STORED " +
               std::to_string(ReadStoredSize(u"software\\dovrik\\tests", u"empty")) + " TEXT [" + text.GetChars() +
               "]");
}

} // namespace
