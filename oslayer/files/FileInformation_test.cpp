// Tests of the questions about single files and folders.

#include "oslayer/files/FileInformation.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class FileInformation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        WriteTestFile(m_Drives.GetC() + "/Data.txt", "12345");
        std::filesystem::create_directory(m_Drives.GetC() + "/Folder");
    }

    void SetWritten(const char16_t* path, std::uint64_t fileTime) {
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        const FILETIME time = {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
        CloseHandle(file);
    }

    c_TemporaryDrives m_Drives;
};

TEST_F(FileInformation, ExistenceInAFolder) {
    const struct {
        const char* m_Folder;
        const char* m_Name;
        bool m_FoldersOnly;
        bool m_FilesOnly;
        bool m_Exists;
    } cases[] = {
        {"C:\\", "data.TXT", false, false, true}, {"C:\\", "Data.txt", false, true, true},
        {"C:\\", "Data.txt", true, false, false}, {"C:\\", "folder", true, false, true},
        {"C:\\", "Folder", false, true, false},   {"C:\\", "Data.txt", true, true, false},
        {"C:\\", "none", false, false, false},    {"C:\\none", "x", false, false, false},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(FileExistsInFolder(row.m_Folder, row.m_Name, row.m_FoldersOnly, row.m_FilesOnly), row.m_Exists)
            << row.m_Folder << row.m_Name << row.m_FoldersOnly << row.m_FilesOnly;
    }
    EXPECT_FALSE(FileExistsInFolder(c_String(std::string(260, 'f').c_str()), "x", false, false));
    const struct {
        const char* m_Path;
        bool m_Exists;
    } folders[] = {
        {"C:\\Folder", true},    {"C:\\Folder\\", true}, {"C:/FOLDER/", true},
        {"C:\\Data.txt", false}, {"C:\\none", false},    {"\\/", false},
    };
    for (const auto& row : folders) {
        EXPECT_EQ(FolderExists(row.m_Path), row.m_Exists) << row.m_Path;
    }
}

TEST_F(FileInformation, TimesAndSizes) {
    // 2001-02-03 04:05:06 UTC and a second later.
    const std::uint64_t early = 126256467060000000ull;
    const std::uint64_t late = early + 10000000;
    SetWritten(u"C:\\Data.txt", early);
    WriteTestFile(m_Drives.GetC() + "/Later.txt", "");
    SetWritten(u"C:\\Later.txt", late);
    s_FileInfo info;
    ASSERT_TRUE(GetFileInfo("C:\\Data.txt", info));
    EXPECT_EQ(ToStd(info.m_Name), "Data.txt");
    EXPECT_EQ(info.m_Size, 5);
    EXPECT_EQ(info.m_Attributes, static_cast<std::uint32_t>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(info.m_Modified.GetValue(), GetFileModifiedLocalDateTime("C:\\Data.txt").GetValue());
    s_FileInfo untouched;
    untouched.m_Size = 77;
    EXPECT_FALSE(GetFileInfo("C:\\none", untouched));
    EXPECT_EQ(untouched.m_Size, 77);
    EXPECT_EQ(GetFileModifiedFileTime("C:\\Data.txt"), static_cast<std::int64_t>(early));
    EXPECT_EQ(GetFileModifiedFileTime("C:\\none"), 0);
    EXPECT_EQ(GetFileModifiedLocalDateTime("C:\\none").GetValue(), 0);
    EXPECT_EQ(CompareFileModifiedTimes("C:\\Data.txt", "C:\\Later.txt"), -1);
    EXPECT_EQ(CompareFileModifiedTimes("C:\\Later.txt", "C:\\Data.txt"), 1);
    EXPECT_EQ(CompareFileModifiedTimes("C:\\Data.txt", "C:\\Data.txt"), 0);
    EXPECT_EQ(CompareFileModifiedTimes("C:\\none", "C:\\Data.txt"), -1);
}

TEST_F(FileInformation, SameFolderWhateverTheSpelling) {
    const struct {
        const char* m_A;
        const char* m_B;
        bool m_Same;
    } cases[] = {
        {"C:\\Folder", "C:\\Folder\\", true},        {"c:\\folder", "C:/FOLDER", true},
        {"C:\\Folder\\sub\\..", "C:\\Folder", true}, {"Folder", "C:\\Folder", true},
        {"C:\\Folder", "D:\\Folder", false},         {"C:\\Folder", "C:\\Folder2", false},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(IsSameFolder(row.m_A, row.m_B), row.m_Same) << row.m_A << " " << row.m_B;
    }
}

} // namespace
