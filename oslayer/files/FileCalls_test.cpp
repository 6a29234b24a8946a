// Tests of the n_OSLayer file and folder wrappers.

#include "oslayer/files/FileCalls.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

class FileCalls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Drives.IsReady()); }

    std::string Linux(const char* name) const { return m_Drives.GetC() + "/" + name; }

    c_TemporaryDrives m_Drives;
};

TEST_F(FileCalls, CreateDirectoryAcceptsOnlyAnExistingFolder) {
    WriteTestFile(Linux("file"), "x");
    const struct {
        const char* m_Path;
        bool m_Result;
        std::int32_t m_Error;
    } cases[] = {
        {"C:\\new", true, ERROR_SUCCESS},
        {"C:\\new", true, ERROR_ALREADY_EXISTS},
        {"C:\\file", false, ERROR_ALREADY_EXISTS},
        {"C:\\none\\new", false, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& row : cases) {
        std::int32_t error = -1;
        EXPECT_EQ(n_OSLayer::CreateDirectory(row.m_Path, &error), row.m_Result) << row.m_Path;
        EXPECT_EQ(error, row.m_Error) << row.m_Path;
    }
    EXPECT_TRUE(n_OSLayer::FileExists("C:\\new"));
    EXPECT_TRUE(n_OSLayer::FileExists("C:\\file"));
    EXPECT_FALSE(n_OSLayer::FileExists(""));
    EXPECT_FALSE(n_OSLayer::FileExists("C:\\none"));
    EXPECT_TRUE(n_OSLayer::RemoveDirectory("C:\\new"));
}

TEST_F(FileCalls, MoveFileRefusesToReplaceWithItsMessage) {
    WriteTestFile(Linux("a.dat"), "a");
    WriteTestFile(Linux("b.dat"), "b");
    c_String error = "old text";
    EXPECT_FALSE(n_OSLayer::MoveFile("C:\\a.dat", "C:\\b.dat", &error));
    EXPECT_EQ(ToStd(error),
              "MoveFile error: Windows error code 183: Cannot create a file when that file already exists.");
    EXPECT_FALSE(n_OSLayer::MoveFile("C:\\a.dat", "C:\\b.dat", nullptr));
    EXPECT_EQ(ReadTestFile(Linux("b.dat")), "b");
    error = "old text";
    EXPECT_TRUE(n_OSLayer::MoveFile("C:\\a.dat", "D:\\a.dat", &error));
    EXPECT_EQ(ToStd(error), "old text") << "success leaves the string alone";
    EXPECT_TRUE(n_OSLayer::DeleteFile("C:\\b.dat"));
    EXPECT_FALSE(n_OSLayer::DeleteFile("C:\\b.dat"));
}

TEST_F(FileCalls, ClearReadOnlyAttributeGivesEveryResultAlsoAsRoot) {
    WriteTestFile(Linux("plain.txt"), "x");
    WriteTestFile(Linux("sealed.txt"), "x");
    ASSERT_TRUE(MakeTestPathReadOnly(Linux("sealed.txt")));
    ASSERT_EQ(symlink("loop", Linux("loop").c_str()), 0);
    const struct {
        const char* m_Name;
        std::string m_Path;
        std::int32_t m_Result;
        std::uint32_t m_Error;
    } cases[] = {
        {"missing file", "C:\\missing.txt", 0, ERROR_FILE_NOT_FOUND},
        {"missing folder", "C:\\missing\\x.txt", 0, ERROR_PATH_NOT_FOUND},
        {"unmapped drive", "Q:\\x.txt", 0, ERROR_PATH_NOT_FOUND},
        {"not read-only", "C:\\plain.txt", 1, 0},
        {"read-only, cleared", "C:\\sealed.txt", 2, 0},
        {"cleared before", "C:\\sealed.txt", 1, 0},
        {"attributes unreadable", "C:\\loop", 3, ERROR_CANT_RESOLVE_FILENAME},
        {"name too long", "C:\\" + std::string(300, 'n'), 3, ERROR_FILENAME_EXCED_RANGE},
        {"read-only that cannot be cleared", "/proc/self/status", 4, ERROR_ACCESS_DENIED},
    };
    for (const auto& row : cases) {
        const n_OSLayer::s_ClearReadOnlyResult result =
            n_OSLayer::ClearReadOnlyAttribute(c_StringView(row.m_Path.c_str()));
        EXPECT_EQ(result.m_Result, row.m_Result) << row.m_Name;
        EXPECT_EQ(result.m_Error, row.m_Error) << row.m_Name;
    }
    EXPECT_NE(TestFileMode(Linux("sealed.txt")) & 0200, 0u);
}

TEST_F(FileCalls, SizesTimesAndDisks) {
    WriteTestFile(Linux("sized.bin"), std::string(1234, 'x'));
    EXPECT_EQ(n_OSLayer::GetFileSize("C:\\sized.bin"), 1234);
    EXPECT_EQ(n_OSLayer::GetFileSize("C:\\none.bin"), -1);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(n_OSLayer::GetFileAttributesEx("C:\\sized.bin", &data));
    HANDLE file = n_OSLayer::CreateFile("C:\\sized.bin", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::uint32_t count = 0;
    EXPECT_TRUE(n_OSLayer::WriteFile(file, "ab", 2, &count));
    EXPECT_EQ(count, 2u);
    // 2001-02-03 04:05:06 UTC.
    const std::uint64_t written = 126256467060000000ull;
    const FILETIME time = {static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
    EXPECT_TRUE(n_OSLayer::FlushFileBuffers(file));
    EXPECT_TRUE(n_OSLayer::SetEndOfFile(file));
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    EXPECT_TRUE(n_OSLayer::CloseHandle(file));
    EXPECT_FALSE(n_OSLayer::CloseHandle(file));
    EXPECT_EQ(n_OSLayer::GetFileSize("C:\\sized.bin"), 2);
    EXPECT_EQ(n_OSLayer::GetFileModifiedTime("C:\\sized.bin").GetValue(), c_DateTime(2001, 2, 3, 4, 5, 6).GetValue())
        << "the last-write time in UTC";
    EXPECT_EQ(n_OSLayer::GetFileModifiedTime("C:\\none.bin").GetValue(), 0);
    std::uint64_t free = 0;
    std::uint64_t total = 0;
    EXPECT_TRUE(n_OSLayer::GetDiskFreeSpace("C:\\", &free, &total));
    EXPECT_GT(total, 0u);
    EXPECT_NE(n_OSLayer::GetVolumeSerialNumber("C:\\"), 0u);
    EXPECT_EQ(n_OSLayer::GetVolumeSerialNumber("C:\\none\\"), 0u);
    const FILETIME earlier = {0, 1};
    EXPECT_EQ(n_OSLayer::CompareFileTime(&earlier, &time), -1);
}

TEST_F(FileCalls, ReadFileGivesTheCount) {
    WriteTestFile(Linux("r.txt"), "hello");
    HANDLE file = n_OSLayer::CreateFile("C:\\r.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0);
    char buffer[8];
    std::uint32_t read = 0;
    EXPECT_TRUE(n_OSLayer::ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "hello");
    n_OSLayer::CloseHandle(file);
}

} // namespace
