// Tests of CreateFileW: dispositions, sharing between handles, read-only files and new files' modes.

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct s_OpenCase {
    const char* m_Name;
    bool m_Exists;
    DWORD m_Access;
    DWORD m_Disposition;
    bool m_Opens;
    DWORD m_Error;
    const char* m_ContentAfter; // null: no file afterwards
};

TEST(CreateFileW, FollowsEveryDisposition) {
    const s_OpenCase cases[] = {
        {"CREATE_NEW makes a file", false, GENERIC_WRITE, CREATE_NEW, true, ERROR_SUCCESS, ""},
        {"CREATE_NEW refuses an existing one", true, GENERIC_WRITE, CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
        {"CREATE_ALWAYS empties an existing one", true, GENERIC_WRITE, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        {"CREATE_ALWAYS makes a file", false, GENERIC_WRITE, CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
        {"OPEN_EXISTING opens", true, GENERIC_READ, OPEN_EXISTING, true, ERROR_SUCCESS, "old"},
        {"OPEN_EXISTING needs the file", false, GENERIC_READ, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"OPEN_ALWAYS keeps an existing one", true, GENERIC_WRITE, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
        {"OPEN_ALWAYS makes a file", false, GENERIC_WRITE, OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        {"TRUNCATE_EXISTING empties", true, GENERIC_WRITE, TRUNCATE_EXISTING, true, ERROR_SUCCESS, ""},
        {"TRUNCATE_EXISTING needs write access", true, GENERIC_READ, TRUNCATE_EXISTING, false, ERROR_INVALID_PARAMETER,
         "old"},
        {"TRUNCATE_EXISTING needs the file", false, GENERIC_WRITE, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND,
         nullptr},
        {"an unknown disposition", true, GENERIC_READ, 9, false, ERROR_INVALID_PARAMETER, "old"},
    };
    for (const s_OpenCase& row : cases) {
        c_TemporaryDrives drives;
        ASSERT_TRUE(drives.IsReady());
        const std::string linuxPath = drives.GetC() + "/file.txt";
        if (row.m_Exists) {
            WriteTestFile(linuxPath, "old");
        }
        HANDLE file = CreateFileW(u"C:\\file.txt", row.m_Access, 0, nullptr, row.m_Disposition, 0, nullptr);
        EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, row.m_Opens) << row.m_Name;
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(file));
        }
        EXPECT_EQ(TestFileExists(linuxPath), row.m_ContentAfter != nullptr) << row.m_Name;
        if (row.m_ContentAfter != nullptr) {
            EXPECT_EQ(ReadTestFile(linuxPath), row.m_ContentAfter) << row.m_Name;
        }
    }
}

TEST(CreateFileW, TellsMissingFilesFromMissingFolders) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    WriteTestFile(drives.GetC() + "/plain", "x");
    const struct {
        const char16_t* m_Path;
        DWORD m_Error;
    } cases[] = {
        {u"C:\\missing.txt", ERROR_FILE_NOT_FOUND},          {u"C:\\missing\\file.txt", ERROR_PATH_NOT_FOUND},
        {u"C:\\plain\\file.txt", ERROR_PATH_NOT_FOUND},      {u"Q:\\file.txt", ERROR_PATH_NOT_FOUND},
        {u"\\\\server\\share\\file.txt", ERROR_BAD_NETPATH},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(CreateFileW(row.m_Path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), row.m_Error);
    }
}

struct s_SharingCase {
    const char* m_Name;
    DWORD m_FirstAccess;
    DWORD m_FirstShare;
    DWORD m_SecondAccess;
    DWORD m_SecondShare;
    bool m_SecondOpens;
};

TEST(CreateFileW, HonoursSharingModesBetweenHandles) {
    const DWORD R = FILE_SHARE_READ;
    const DWORD W = FILE_SHARE_WRITE;
    const s_SharingCase cases[] = {
        {"a writer that shares reading refuses a second writer", GENERIC_WRITE, R, GENERIC_WRITE, R | W, false},
        {"a writer that shares reading admits a reader", GENERIC_WRITE, R, GENERIC_READ, R | W, true},
        {"a reader must share writing with the writer", GENERIC_WRITE, R, GENERIC_READ, R, false},
        {"an exclusive reader refuses a reader", GENERIC_READ, 0, GENERIC_READ, R | W, false},
        {"readers sharing reading", GENERIC_READ, R, GENERIC_READ, R, true},
        {"a reader sharing everything admits a writer", GENERIC_READ, R | W, GENERIC_WRITE, R | W, true},
        {"an attribute handle is never refused", GENERIC_READ, 0, FILE_READ_ATTRIBUTES, 0, true},
        {"an attribute handle refuses nothing", FILE_READ_ATTRIBUTES, 0, GENERIC_WRITE, 0, true},
    };
    for (const s_SharingCase& row : cases) {
        c_TemporaryDrives drives;
        ASSERT_TRUE(drives.IsReady());
        WriteTestFile(drives.GetC() + "/shared.txt", "content");
        HANDLE first =
            CreateFileW(u"C:\\shared.txt", row.m_FirstAccess, row.m_FirstShare, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(first, INVALID_HANDLE_VALUE) << row.m_Name;
        HANDLE second =
            CreateFileW(u"C:\\shared.txt", row.m_SecondAccess, row.m_SecondShare, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, row.m_SecondOpens) << row.m_Name;
        if (second == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << row.m_Name;
        } else {
            CloseHandle(second);
        }
        CloseHandle(first);
        HANDLE after = CreateFileW(u"C:\\shared.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(after, INVALID_HANDLE_VALUE) << row.m_Name << ": closing gives the file free";
        CloseHandle(after);
    }
}

TEST(CreateFileW, ReadOnlyFileRefusesWritingEvenToRoot) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    WriteTestFile(drives.GetC() + "/locked.txt", "keep");
    ASSERT_TRUE(SetFileAttributesW(u"C:\\locked.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(TestFileMode(drives.GetC() + "/locked.txt") & 0222, 0u);
    for (DWORD disposition : {OPEN_EXISTING, OPEN_ALWAYS, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
        EXPECT_EQ(CreateFileW(u"C:\\locked.txt", GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr),
                  INVALID_HANDLE_VALUE)
            << disposition;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << disposition;
    }
    HANDLE reader = CreateFileW(u"C:\\locked.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    EXPECT_EQ(ReadTestFile(drives.GetC() + "/locked.txt"), "keep");
    ASSERT_TRUE(SetFileAttributesW(u"C:\\locked.txt", FILE_ATTRIBUTE_NORMAL));
    HANDLE writer = CreateFileW(u"C:\\locked.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(writer);
}

TEST(CreateFileW, CreateAlwaysNeverReplacesAReadOnlyFile) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    WriteTestFile(drives.GetC() + "/locked.txt", "keep");
    ASSERT_TRUE(SetFileAttributesW(u"C:\\locked.txt", FILE_ATTRIBUTE_READONLY));
    for (DWORD access : {DWORD(GENERIC_WRITE), DWORD(GENERIC_READ), DWORD(GENERIC_READ | GENERIC_WRITE)}) {
        SetLastError(0);
        EXPECT_EQ(CreateFileW(u"C:\\locked.txt", access, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE)
            << access;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << access;
        EXPECT_EQ(ReadTestFile(drives.GetC() + "/locked.txt"), "keep") << access;
        EXPECT_EQ(GetFileAttributesW(u"C:\\locked.txt") & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY));
    }
}

TEST(CreateFileW, NewFilesGetTheirModes) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    const struct {
        const char16_t* m_Path;
        const char* m_Name;
        DWORD m_Attributes;
        mode_t m_Bits;
        mode_t m_Expected;
    } cases[] = {
        {u"C:\\tool.exe", "tool.exe", FILE_ATTRIBUTE_NORMAL, 0111, 0111},
        {u"C:\\TOOL2.EXE", "TOOL2.EXE", FILE_ATTRIBUTE_NORMAL, 0111, 0111},
        {u"C:\\data.bin", "data.bin", FILE_ATTRIBUTE_NORMAL, 0111, 0},
        {u"C:\\sealed.txt", "sealed.txt", FILE_ATTRIBUTE_READONLY, 0222, 0},
    };
    for (const auto& row : cases) {
        HANDLE file = CreateFileW(row.m_Path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, row.m_Attributes, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << row.m_Name;
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, "x", 1, &written, nullptr)) << row.m_Name << ": the handle keeps its access";
        CloseHandle(file);
        EXPECT_EQ(TestFileMode(drives.GetC() + "/" + row.m_Name) & row.m_Bits, row.m_Expected) << row.m_Name;
    }
}

TEST(CreateFileW, FolderOpensOnlyWithBackupSemantics) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    ASSERT_TRUE(CreateDirectoryW(u"C:\\folder", nullptr));
    EXPECT_EQ(CreateFileW(u"C:\\folder", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    HANDLE folder = CreateFileW(u"C:\\folder", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    EXPECT_NE(folder, INVALID_HANDLE_VALUE);
    CloseHandle(folder);
}

} // namespace
