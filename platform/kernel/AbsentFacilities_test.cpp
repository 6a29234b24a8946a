// Tests of the calls of facilities that Linux lacks: each fails, none pretends.

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(AbsentFacilities, VersionResourcesAreMissing) {
    c_TemporaryDrives drives;
    WriteTestFile(drives.GetC() + "/Kernel32.dll", "MZ");
    DWORD handle = 7;
    EXPECT_EQ(GetFileVersionInfoSizeW(u"C:\\Kernel32.dll", &handle), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(GetFileVersionInfoSizeW(u"C:\\Missing.dll", nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    char block[64];
    EXPECT_FALSE(GetFileVersionInfoW(u"C:\\Kernel32.dll", 0, sizeof block, block));
    LPVOID value = block;
    UINT bytes = 5;
    EXPECT_FALSE(VerQueryValueW(block, u"\\", &value, &bytes));
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(bytes, 0u);
}

LONG WINAPI Filter(EXCEPTION_POINTERS*) {
    return 0;
}

TEST(AbsentFacilities, NoSoundAndNoExceptionFilter) {
    EXPECT_FALSE(PlaySoundW(u"C:\\ding.wav", nullptr, SND_FILENAME | SND_ASYNC));
    EXPECT_EQ(SetUnhandledExceptionFilter(Filter), nullptr);
    EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), nullptr);
}

} // namespace
