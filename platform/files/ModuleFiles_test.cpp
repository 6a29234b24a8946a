// Tests of the executable's file name and of the library calls.

#include "platform/files/DrivePaths.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/WideText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace {

TEST(GetModuleFileNameW, GivesTheDriveFormOfTheExecutable) {
    char linuxPath[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", linuxPath, sizeof linuxPath - 1);
    ASSERT_GT(length, 0);
    const std::u16string expected = n_Platform::ToDrivePath(std::string_view(linuxPath, std::size_t(length)));
    WCHAR buffer[MAX_PATH];
    SetLastError(ERROR_GEN_FAILURE);
    ASSERT_EQ(GetModuleFileNameW(nullptr, buffer, MAX_PATH), expected.size());
    EXPECT_EQ(Narrow(buffer), Narrow(expected));
    EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, MAX_PATH), expected.size());
}

TEST(GetModuleFileNameW, TakesThePathThatTheProcessIsGiven) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    const struct {
        std::string m_Given;
        std::u16string m_Expected;
    } cases[] = {
        {drives.GetC() + "/Apps/X_64.exe", u"C:\\Apps\\X_64.exe"},
        {"D:\\Other\\X.exe", u"D:\\Other\\X.exe"},
    };
    for (const auto& row : cases) {
        setenv(n_Platform::MODULE_PATH_VARIABLE, row.m_Given.c_str(), 1);
        WCHAR buffer[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
        EXPECT_EQ(std::u16string(buffer, length), row.m_Expected) << row.m_Given;
    }
    unsetenv(n_Platform::MODULE_PATH_VARIABLE);
    WCHAR buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    EXPECT_NE(std::u16string(buffer, length), u"D:\\Other\\X.exe");
}

TEST(GetModuleFileNameW, CutsTheNameToAShortBuffer) {
    WCHAR buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    ASSERT_GT(length, 4u);
    const std::u16string whole(buffer, length);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 4), 4u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(Narrow(buffer), Narrow(whole.substr(0, 3)));
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, length), length);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, length + 1), length);
}

TEST(Libraries, OnlyTheExecutableIsAModule) {
    EXPECT_EQ(LoadLibraryW(u"wininet.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    const HMODULE self = GetModuleHandleW(nullptr);
    EXPECT_TRUE(FreeLibrary(self));
    EXPECT_EQ(GetProcAddress(self, "NoSuchFunctionAnywhere"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(16)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    WCHAR buffer[8];
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(16), buffer, 8), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

} // namespace
