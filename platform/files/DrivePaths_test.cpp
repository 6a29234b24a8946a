// Tests of the drive map and of path translation, in both directions.

#include "platform/files/DrivePaths.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/WideText.h"

#include <gtest/gtest.h>

namespace {

struct s_PathCase {
    const char* m_Name;
    const char* m_Path;
    const char* m_Full;  // in drive form; "<root>" stands for the test's folder
    const char* m_Linux; // null when the translation fails
    DWORD m_Error;
};

std::string Expand(const char* text, const std::string& root) {
    std::string expanded = text;
    const std::size_t at = expanded.find("<root>");
    return at == std::string::npos ? expanded : expanded.replace(at, 6, root);
}

TEST(DrivePaths, MakesWindowsPathsFullAndTranslatesThem) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    const s_PathCase cases[] = {
        {"drive and backslashes", "C:\\a\\b.txt", "C:\\a\\b.txt", "<root>/c/a/b.txt", 0},
        {"forward and repeated separators", "C:/a//b/", "C:\\a\\b\\", "<root>/c/a/b/", 0},
        {"dot-dot stops at the root", "C:\\a\\..\\..\\b", "C:\\b", "<root>/c/b", 0},
        {"dot is dropped", "D:\\a\\.\\b", "D:\\a\\b", "<root>/d/a/b", 0},
        {"lower-case drive letter", "d:\\x", "d:\\x", "<root>/d/x", 0},
        {"bare drive is its current folder", "C:", "C:\\", "<root>/c", 0},
        {"drive-relative on the current drive", "C:rel", "C:\\rel", "<root>/c/rel", 0},
        {"drive-relative on another drive", "D:rel\\x", "D:\\rel\\x", "<root>/d/rel/x", 0},
        {"relative to the current folder", "rel\\x", "C:\\rel\\x", "<root>/c/rel/x", 0},
        {"root of the current drive", "\\top", "C:\\top", "<root>/c/top", 0},
        {"long-path prefix", "\\\\?\\D:\\x", "D:\\x", "<root>/d/x", 0},
        {"POSIX path in a drive", "<root>/d/p/../q", "D:\\q", "<root>/d/q", 0},
        {"POSIX path in no drive", "/usr/bin/", "/usr/bin/", "/usr/bin/", 0},
        {"unmapped drive", "Q:\\x", "Q:\\x", nullptr, ERROR_PATH_NOT_FOUND},
        {"UNC path", "\\\\server\\share\\a\\..\\b", "\\\\server\\share\\b", nullptr, ERROR_BAD_NETPATH},
        {"UNC long-path prefix", "\\\\?\\UNC\\server\\share", "\\\\server\\share", nullptr, ERROR_BAD_NETPATH},
    };
    for (const s_PathCase& row : cases) {
        const std::u16string path = Wide(Expand(row.m_Path, drives.GetRoot()));
        std::u16string full;
        ASSERT_TRUE(n_Platform::MakeFullPath(path, full)) << row.m_Name;
        EXPECT_EQ(Narrow(full), Expand(row.m_Full, drives.GetRoot())) << row.m_Name;
        std::string linuxPath;
        SetLastError(0);
        EXPECT_EQ(n_Platform::ToLinuxPath(path, linuxPath), row.m_Linux != nullptr) << row.m_Name;
        if (row.m_Linux != nullptr) {
            EXPECT_EQ(linuxPath, Expand(row.m_Linux, drives.GetRoot())) << row.m_Name;
        }
        EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
    }
}

TEST(DrivePaths, EmptyPathIsNotFound) {
    std::string linuxPath;
    EXPECT_FALSE(n_Platform::ToLinuxPath(u"", linuxPath));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(DrivePaths, BareDriveFollowsTheCurrentFolder) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    ASSERT_TRUE(CreateDirectoryW(u"C:\\sub", nullptr));
    ASSERT_TRUE(SetCurrentDirectoryW(u"sub"));
    std::u16string full;
    ASSERT_TRUE(n_Platform::MakeFullPath(u"C:", full));
    EXPECT_EQ(Narrow(full), "C:\\sub");
    ASSERT_TRUE(n_Platform::MakeFullPath(u"..\\x", full));
    EXPECT_EQ(Narrow(full), "C:\\x");
}

TEST(DrivePaths, CurrentFolderAndFullPathsThroughTheCalls) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    WCHAR buffer[MAX_PATH];
    ASSERT_EQ(GetCurrentDirectoryW(MAX_PATH, buffer), 3u);
    EXPECT_EQ(Narrow(buffer), "C:\\");
    EXPECT_EQ(GetCurrentDirectoryW(2, buffer), 4u) << "the size with the NUL when the buffer is short";
    ASSERT_TRUE(SetCurrentDirectoryW(u"D:\\"));
    EXPECT_FALSE(SetCurrentDirectoryW(u"D:\\missing"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    LPWSTR filePart = nullptr;
    ASSERT_EQ(GetFullPathNameW(u"a\\b.txt", MAX_PATH, buffer, &filePart), 10u);
    EXPECT_EQ(Narrow(buffer), "D:\\a\\b.txt");
    EXPECT_EQ(Narrow(filePart), "b.txt");
    EXPECT_EQ(GetFullPathNameW(u"a\\b.txt", 5, buffer, nullptr), 11u);
}

} // namespace
