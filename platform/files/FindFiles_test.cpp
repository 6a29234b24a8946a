// Tests of folder searches: masks, order, the entries' data and the errors.

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "platform/testing/WideText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

// The names that a search gives, in its order; the error when it gives none.
std::vector<std::string> Search(const char16_t* pattern, DWORD& error) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern, &data);
    error = GetLastError();
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.push_back(Narrow(data.cFileName));
    } while (FindNextFileW(search, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
}

TEST(FindFiles, ListsMatchingEntriesInNameOrder) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    for (const char* name : {"b.txt", "A.TXT", "a.txt", "c.log", ".hidden.txt", "README"}) {
        WriteTestFile(drives.GetC() + "/" + name, "x");
    }
    ASSERT_TRUE(CreateDirectoryW(u"C:\\sub", nullptr));
    const struct {
        const char16_t* m_Pattern;
        std::vector<std::string> m_Names;
        DWORD m_Error;
    } cases[] = {
        {u"C:\\*", {".", "..", ".hidden.txt", "A.TXT", "a.txt", "b.txt", "c.log", "README", "sub"}, 0},
        {u"C:\\*.txt", {".hidden.txt", "A.TXT", "a.txt", "b.txt"}, 0},
        {u"C:/?.log", {"c.log"}, 0},
        {u"C:\\README", {"README"}, 0},
        {u"C:\\readme", {}, ERROR_FILE_NOT_FOUND},
        {u"C:\\*.doc", {}, ERROR_FILE_NOT_FOUND},
        {u"sub\\*", {".", ".."}, 0},
        {u"C:\\missing\\*", {}, ERROR_PATH_NOT_FOUND},
        {u"C:\\b.txt\\*", {}, ERROR_PATH_NOT_FOUND},
        {u"Q:\\*", {}, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& row : cases) {
        DWORD error = 0;
        EXPECT_EQ(Search(row.m_Pattern, error), row.m_Names) << Narrow(row.m_Pattern);
        if (row.m_Names.empty()) {
            EXPECT_EQ(error, row.m_Error) << Narrow(row.m_Pattern);
        }
    }
}

TEST(FindFiles, EntriesCarryAttributesTimesAndSizes) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    WriteTestFile(drives.GetC() + "/.secret", "12345");
    WriteTestFile(drives.GetC() + "/sealed", "");
    ASSERT_TRUE(SetFileAttributesW(u"C:\\sealed", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryW(u"C:\\folder", nullptr));
    const struct {
        const char16_t* m_Pattern;
        DWORD m_Attributes;
        DWORD m_Size;
    } cases[] = {
        {u"C:\\.secret", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, 5},
        {u"C:\\sealed", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 0},
        {u"C:\\folder", FILE_ATTRIBUTE_DIRECTORY, 0},
        {u"/dev/null", FILE_ATTRIBUTE_SYSTEM, 0},
    };
    for (const auto& row : cases) {
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW(row.m_Pattern, &data);
        ASSERT_NE(search, INVALID_HANDLE_VALUE) << Narrow(row.m_Pattern);
        EXPECT_EQ(data.dwFileAttributes, row.m_Attributes) << Narrow(row.m_Pattern);
        EXPECT_EQ(data.nFileSizeLow, row.m_Size) << Narrow(row.m_Pattern);
        EXPECT_EQ(data.nFileSizeHigh, 0u);
        EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        ASSERT_TRUE(GetFileAttributesExW(row.m_Pattern, GetFileExInfoStandard, &attributes));
        EXPECT_EQ(attributes.dwFileAttributes, row.m_Attributes);
        EXPECT_EQ(CompareFileTime(&attributes.ftLastWriteTime, &data.ftLastWriteTime), 0);
        EXPECT_EQ(GetFileAttributesW(row.m_Pattern), row.m_Attributes);
        FindClose(search);
    }
}

TEST(FindFiles, CloseTakesOnlySearches) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    HANDLE file = CreateFileW(u"C:\\f", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FindClose(file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    WIN32_FIND_DATAW data;
    EXPECT_FALSE(FindNextFileW(file, &data));
    EXPECT_TRUE(CloseHandle(file));
}

TEST(FileAttributes, MissingEntriesAndTheReadOnlyBit) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    EXPECT_EQ(GetFileAttributesW(u"C:\\none"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW(u"C:\\none\\x"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    WIN32_FILE_ATTRIBUTE_DATA data;
    EXPECT_FALSE(GetFileAttributesExW(u"C:\\", GetFileExMaxInfoLevel, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_TRUE(CreateDirectoryW(u"C:\\dir", nullptr));
    ASSERT_TRUE(SetFileAttributesW(u"C:\\dir", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(GetFileAttributesW(u"C:\\dir"), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW(u"C:\\dir", 0));
    EXPECT_EQ(GetFileAttributesW(u"C:\\dir"), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(TestFileMode(drives.GetC() + "/dir") & S_IWUSR, S_IWUSR);
}

} // namespace
