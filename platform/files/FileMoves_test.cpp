// Tests of deleting, moving and copying files, and of making and removing folders.

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <sys/statfs.h>

namespace {

class FileMoves : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        WriteTestFile(C("source.txt"), "source");
        WriteTestFile(C("target.txt"), "target");
        WriteTestFile(C("sealed.txt"), "sealed");
        ASSERT_TRUE(SetFileAttributesW(u"C:\\sealed.txt", FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(CreateDirectoryW(u"C:\\folder", nullptr));
    }

    std::string C(const std::string& name) const { return m_Drives.GetC() + "/" + name; }

    c_TemporaryDrives m_Drives;
};

struct s_CallCase {
    const char* m_Name;
    const char16_t* m_Source;
    const char16_t* m_Destination;
    DWORD m_Flags;
    DWORD m_Error; // 0: succeeds
};

TEST_F(FileMoves, DeleteFollowsTheWindowsRules) {
    const s_CallCase cases[] = {
        {"a file", u"C:\\source.txt", nullptr, 0, 0},
        {"a missing file", u"C:\\none.txt", nullptr, 0, ERROR_FILE_NOT_FOUND},
        {"a file in a missing folder", u"C:\\none\\x.txt", nullptr, 0, ERROR_PATH_NOT_FOUND},
        {"a read-only file", u"C:\\sealed.txt", nullptr, 0, ERROR_ACCESS_DENIED},
        {"a folder", u"C:\\folder", nullptr, 0, ERROR_ACCESS_DENIED},
    };
    for (const s_CallCase& row : cases) {
        EXPECT_EQ(DeleteFileW(row.m_Source) != FALSE, row.m_Error == 0) << row.m_Name;
        if (row.m_Error != 0) {
            EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
        }
    }
    EXPECT_FALSE(TestFileExists(C("source.txt")));
    EXPECT_TRUE(TestFileExists(C("sealed.txt")));
}

TEST_F(FileMoves, OpenFileCannotBeDeletedOrMovedUnlessItSharesDeleting) {
    for (DWORD share : {DWORD(FILE_SHARE_READ), DWORD(FILE_SHARE_READ | FILE_SHARE_DELETE)}) {
        HANDLE open = CreateFileW(u"C:\\target.txt", GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(open, INVALID_HANDLE_VALUE);
        const bool shared = (share & FILE_SHARE_DELETE) != 0;
        EXPECT_EQ(MoveFileExW(u"C:\\source.txt", u"C:\\target.txt", MOVEFILE_REPLACE_EXISTING) != FALSE, shared);
        EXPECT_EQ(DeleteFileW(u"C:\\target.txt") != FALSE, shared);
        if (!shared) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        }
        CloseHandle(open);
    }
}

TEST_F(FileMoves, MoveReplacesOnlyWhenAsked) {
    const s_CallCase cases[] = {
        {"onto an existing file", u"C:\\source.txt", u"C:\\target.txt", 0, ERROR_ALREADY_EXISTS},
        {"onto a read-only file", u"C:\\source.txt", u"C:\\sealed.txt", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED},
        {"onto a folder", u"C:\\source.txt", u"C:\\folder", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED},
        {"into a missing folder", u"C:\\source.txt", u"C:\\none\\x.txt", 0, ERROR_PATH_NOT_FOUND},
        {"a missing file", u"C:\\none.txt", u"C:\\x.txt", 0, ERROR_FILE_NOT_FOUND},
        {"to another drive", u"C:\\source.txt", u"D:\\moved.txt", 0, 0},
        {"back, replacing", u"D:\\moved.txt", u"C:\\target.txt", MOVEFILE_REPLACE_EXISTING, 0},
        {"a read-only file", u"C:\\sealed.txt", u"C:\\folder\\sealed.txt", 0, 0},
        {"a folder", u"C:\\folder", u"D:\\folder", 0, 0},
    };
    for (const s_CallCase& row : cases) {
        EXPECT_EQ(MoveFileExW(row.m_Source, row.m_Destination, row.m_Flags) != FALSE, row.m_Error == 0) << row.m_Name;
        if (row.m_Error != 0) {
            EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
        }
    }
    EXPECT_FALSE(TestFileExists(C("source.txt")));
    EXPECT_EQ(ReadTestFile(C("target.txt")), "source");
    EXPECT_EQ(ReadTestFile(m_Drives.GetD() + "/folder/sealed.txt"), "sealed");
    EXPECT_FALSE(MoveFileW(u"D:\\folder\\sealed.txt", u"C:\\target.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

// A folder on another file system than /tmp, when the machine has one.
class c_OtherFileSystem {
public:
    c_OtherFileSystem() {
        struct statfs temporary;
        struct statfs shared;
        char pattern[] = "/dev/shm/platform-other-XXXXXX";
        if (statfs("/tmp", &temporary) == 0 && statfs("/dev/shm", &shared) == 0 && temporary.f_type != shared.f_type &&
            mkdtemp(pattern) != nullptr) {
            m_Folder = pattern;
        }
    }
    ~c_OtherFileSystem() {
        if (!m_Folder.empty()) {
            std::filesystem::remove_all(m_Folder);
        }
    }
    const std::string& GetFolder() const { return m_Folder; }

private:
    std::string m_Folder;
};

TEST_F(FileMoves, MoveBetweenFileSystemsCopiesFilesOnly) {
    c_OtherFileSystem other;
    if (other.GetFolder().empty()) {
        GTEST_SKIP() << "no second file system";
    }
    c_TemporaryDrives::SetMap("C=" + m_Drives.GetC() + ";E=" + other.GetFolder());
    ASSERT_TRUE(SetFileAttributesW(u"C:\\sealed.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_FALSE(MoveFileExW(u"C:\\source.txt", u"E:\\source.txt", 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SAME_DEVICE));
    EXPECT_TRUE(MoveFileW(u"C:\\source.txt", u"E:\\source.txt"));
    EXPECT_FALSE(TestFileExists(C("source.txt")));
    EXPECT_EQ(ReadTestFile(other.GetFolder() + "/source.txt"), "source");
    EXPECT_FALSE(MoveFileW(u"C:\\target.txt", u"E:\\source.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileExW(u"C:\\target.txt", u"E:\\source.txt", MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadTestFile(other.GetFolder() + "/source.txt"), "target");
    EXPECT_FALSE(MoveFileW(u"C:\\folder", u"E:\\folder"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SAME_DEVICE));
}

TEST_F(FileMoves, CopyKeepsContentStateAndTime) {
    const s_CallCase cases[] = {
        {"onto an existing file when refused", u"C:\\source.txt", u"C:\\target.txt", TRUE, ERROR_FILE_EXISTS},
        {"onto itself", u"C:\\source.txt", u"C:\\source.txt", FALSE, ERROR_SHARING_VIOLATION},
        {"onto a read-only file", u"C:\\source.txt", u"C:\\sealed.txt", FALSE, ERROR_ACCESS_DENIED},
        {"a folder", u"C:\\folder", u"C:\\copy", FALSE, ERROR_ACCESS_DENIED},
        {"a missing file", u"C:\\none.txt", u"C:\\copy", FALSE, ERROR_FILE_NOT_FOUND},
        {"onto an existing file", u"C:\\source.txt", u"C:\\target.txt", FALSE, 0},
        {"a read-only file", u"C:\\sealed.txt", u"D:\\sealed.txt", TRUE, 0},
    };
    for (const s_CallCase& row : cases) {
        EXPECT_EQ(CopyFileW(row.m_Source, row.m_Destination, static_cast<BOOL>(row.m_Flags)) != FALSE, row.m_Error == 0)
            << row.m_Name;
        if (row.m_Error != 0) {
            EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
        }
    }
    EXPECT_EQ(ReadTestFile(C("source.txt")), "source");
    EXPECT_EQ(ReadTestFile(C("target.txt")), "source");
    EXPECT_EQ(GetFileAttributesW(u"D:\\sealed.txt"), DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    WIN32_FILE_ATTRIBUTE_DATA original;
    WIN32_FILE_ATTRIBUTE_DATA copy;
    ASSERT_TRUE(GetFileAttributesExW(u"C:\\sealed.txt", GetFileExInfoStandard, &original));
    ASSERT_TRUE(GetFileAttributesExW(u"D:\\sealed.txt", GetFileExInfoStandard, &copy));
    EXPECT_EQ(CompareFileTime(&original.ftLastWriteTime, &copy.ftLastWriteTime), 0);
}

TEST_F(FileMoves, CopyRespectsOpenHandles) {
    HANDLE open = CreateFileW(u"C:\\target.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CopyFileW(u"C:\\source.txt", u"C:\\target.txt", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(CopyFileW(u"C:\\target.txt", u"D:\\copy.txt", TRUE));
    CloseHandle(open);
}

TEST_F(FileMoves, FoldersAreMadeAndRemovedOneLevelAtATime) {
    const struct {
        const char* m_Name;
        bool m_Create;
        const char16_t* m_Path;
        DWORD m_Error;
    } cases[] = {
        {"a new folder", true, u"C:\\folder\\inner", 0},
        {"an existing folder", true, u"C:\\folder", ERROR_ALREADY_EXISTS},
        {"over an existing file", true, u"C:\\source.txt", ERROR_ALREADY_EXISTS},
        {"in a missing folder", true, u"C:\\none\\inner", ERROR_PATH_NOT_FOUND},
        {"on an unmapped drive", true, u"Q:\\folder", ERROR_PATH_NOT_FOUND},
        {"removing a folder that is not empty", false, u"C:\\folder", ERROR_DIR_NOT_EMPTY},
        {"removing a file", false, u"C:\\source.txt", ERROR_DIRECTORY},
        {"removing a missing folder", false, u"C:\\none", ERROR_FILE_NOT_FOUND},
        {"removing the inner folder", false, u"C:\\folder\\inner", 0},
        {"removing the emptied folder", false, u"C:\\folder", 0},
    };
    for (const auto& row : cases) {
        const BOOL done = row.m_Create ? CreateDirectoryW(row.m_Path, nullptr) : RemoveDirectoryW(row.m_Path);
        EXPECT_EQ(done != FALSE, row.m_Error == 0) << row.m_Name;
        if (row.m_Error != 0) {
            EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
        }
    }
}

TEST_F(FileMoves, DiskSpaceAndVolume) {
    ULARGE_INTEGER free;
    ULARGE_INTEGER total;
    ULARGE_INTEGER totalFree;
    ASSERT_TRUE(GetDiskFreeSpaceExW(u"C:\\", &free, &total, &totalFree));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(free.QuadPart, totalFree.QuadPart);
    EXPECT_LE(totalFree.QuadPart, total.QuadPart);
    EXPECT_FALSE(GetDiskFreeSpaceExW(u"C:\\none\\", &free, nullptr, nullptr));
    DWORD serial = 0;
    DWORD longest = 0;
    WCHAR name[MAX_PATH];
    ASSERT_TRUE(GetVolumeInformationW(u"C:\\", name, MAX_PATH, &serial, &longest, nullptr, nullptr, 0));
    EXPECT_EQ(name[0], 0);
    EXPECT_EQ(longest, 255u);
}

} // namespace
