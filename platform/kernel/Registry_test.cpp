// Tests of the registry calls over the hive files.

#include "platform/testing/TemporaryDrives.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

HKEY CreateKey(HKEY root, LPCWSTR path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(
        RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, disposition),
        ERROR_SUCCESS);
    return key;
}

LSTATUS SetString(HKEY key, LPCWSTR name, const std::u16string& text, DWORD bytes) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const unsigned char*>(text.c_str()), bytes);
}

class Registry : public ::testing::Test {
protected:
    c_TemporaryDrives m_Drives;
};

TEST_F(Registry, CreatingAKeyTellsWhetherItIsNew) {
    DWORD disposition = 0;
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Dovrik", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    RegCloseKey(key);
    key = CreateKey(HKEY_CURRENT_USER, u"SOFTWARE\\dovrik\\", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(std::filesystem::exists(m_Drives.GetC() + "/.registry/HKEY_CURRENT_USER"));
}

TEST_F(Registry, BadPathsAndHandlesFail) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"\\a", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"a\\\\b", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(
        RegCreateKeyExW(reinterpret_cast<HKEY>(0x12345), u"a", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetString(reinterpret_cast<HKEY>(0x12345), u"v", u"", 2), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, ValuesAreReadBackBySizeAndType) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Dovrik");
    ASSERT_EQ(SetString(key, u"Path", u"C:\\x", 10), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, u"Unterminated", u"ab", 4), ERROR_SUCCESS);
    const DWORD number = 7;
    ASSERT_EQ(RegSetValueExW(key, u"Number", 0, REG_DWORD, reinterpret_cast<const unsigned char*>(&number), 4),
              ERROR_SUCCESS);
    RegCloseKey(key);

    struct s_Case {
        const char* m_Name;
        LPCWSTR m_Value;
        DWORD m_Flags;
        LSTATUS m_Status;
        DWORD m_Size;
    } const cases[] = {
        {"string with its NUL", u"path", RRF_RT_REG_SZ, ERROR_SUCCESS, 10},
        {"string without NUL needs two more", u"Unterminated", RRF_RT_REG_SZ, ERROR_SUCCESS, 6},
        {"type refused", u"Number", RRF_RT_REG_SZ, ERROR_UNSUPPORTED_TYPE, 0},
        {"number", u"Number", RRF_RT_REG_DWORD, ERROR_SUCCESS, 4},
        {"missing value", u"Other", RRF_RT_ANY, ERROR_FILE_NOT_FOUND, 0},
        {"no type asked for", u"Path", 0, ERROR_INVALID_PARAMETER, 0},
    };
    for (const s_Case& row : cases) {
        DWORD size = 0;
        EXPECT_EQ(
            RegGetValueW(HKEY_LOCAL_MACHINE, u"software\\DOVRIK", row.m_Value, row.m_Flags, nullptr, nullptr, &size),
            row.m_Status)
            << row.m_Name;
        EXPECT_EQ(size, row.m_Size) << row.m_Name;
    }
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, u"software\\dovrik", u"Path", RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, ShortBufferGetsTheSizeNeeded) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"k");
    ASSERT_EQ(SetString(key, nullptr, u"ab", 4), ERROR_SUCCESS);
    RegCloseKey(key);
    char16_t buffer[3] = {u'x', u'x', u'x'};
    DWORD size = 4;
    DWORD type = 0;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, u"k", nullptr, RRF_RT_REG_SZ, &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, u"k", u"", RRF_RT_REG_SZ, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(buffer), u"ab");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

} // namespace
