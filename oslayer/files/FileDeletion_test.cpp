// Tests of deleting files with their messages, and of deleting the older files of a folder.

#include "oslayer/files/FileDeletion.h"

#include "oslayer/testing/c_LogRecorder.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>

namespace {

class FileDeletion : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Drives.IsReady()); }

    // A file in C:\ last written the given seconds ago.
    void MakeFile(const char* name, int secondsAgo) {
        const std::string path = m_Drives.GetC() + "/" + name;
        WriteTestFile(path, name);
        const timespec times[2] = {{std::time(nullptr) - secondsAgo, 0}, {std::time(nullptr) - secondsAgo, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    bool Exists(const char* name) const { return TestFileExists(m_Drives.GetC() + "/" + name); }

    c_TemporaryDrives m_Drives;
    c_LogRecorder m_Log;
};

TEST_F(FileDeletion, DeleteFileWithItsMessage) {
    MakeFile("a.txt", 0);
    c_String error = "old";
    EXPECT_TRUE(DeleteFileWithMessage("C:\\a.txt", error));
    EXPECT_EQ(ToStd(error), "old");
    EXPECT_FALSE(DeleteFileWithMessage("C:\\a.txt", error));
    EXPECT_EQ(ToStd(error), "Error deleting C:\\a.txt file: \"Windows error code 2: The system cannot find the file "
                            "specified.\"");
    EXPECT_FALSE(DeleteFileAndLog("C:\\none\\b.txt"));
    EXPECT_EQ(m_Log.TakeLines(),
              (std::vector<std::string>{"Error deleting C:\\none\\b.txt file: \"Windows error code 3: "
                                        "The system cannot find the path specified.\""}));
}

TEST_F(FileDeletion, DeletesOldFilesWithTheExtension) {
    const int DAY = 86400;
    MakeFile("old.log", 3 * DAY);
    MakeFile("OLD2.LOG", 3 * DAY);
    MakeFile("new.log", DAY);
    MakeFile("old.txt", 3 * DAY);
    c_String message;
    EXPECT_TRUE(DeleteFilesInFolder("C:\\", 2, ".log", message));
    EXPECT_EQ(ToStd(message), "Deleted 2 (*.log) files from C:\\");
    EXPECT_FALSE(Exists("old.log"));
    EXPECT_FALSE(Exists("OLD2.LOG"));
    EXPECT_TRUE(Exists("new.log"));
    EXPECT_TRUE(Exists("old.txt"));
    EXPECT_FALSE(DeleteFilesInFolder("C:\\", 2, ".log", message));
    EXPECT_EQ(ToStd(message), "No files were deleted from C:\\");
    const struct {
        const char* m_Folder;
        const char* m_Extension;
        const char* m_Message;
    } refused[] = {
        {"C:\\", ".db", "DeleteFilesInFolder | Invalid file parameters."},
        {"C:\\", "xlog", "DeleteFilesInFolder | Invalid file parameters."},
        {"", ".log", "DeleteFilesInFolder | Invalid file parameters."},
        {"C:\\none\\", ".log", "DeleteFilesInFolder: C:\\none\\. SearchForFiles error."},
    };
    for (const auto& row : refused) {
        EXPECT_FALSE(DeleteFilesInFolder(row.m_Folder, 2, row.m_Extension, message));
        EXPECT_EQ(ToStd(message), row.m_Message);
    }
    EXPECT_TRUE(m_Log.TakeLines().empty());
}

TEST_F(FileDeletion, DeletesOldFilesExceptThoseToKeep) {
    MakeFile("a.dat", 10);
    MakeFile("Keep.dat", 10);
    MakeFile("fresh.dat", -60);
    MakeFile("sealed.dat", 10);
    ASSERT_TRUE(MakeTestPathReadOnly(m_Drives.GetC() + "/sealed.dat"));
    const std::set<c_StringNoCase> keep = {c_StringNoCase("KEEP.DAT")};
    c_String message;
    EXPECT_TRUE(DeleteFilesInFolderExceptFiles("C:\\", 0, keep, message));
    EXPECT_EQ(ToStd(message), "Deleted 1 files from C:\\");
    EXPECT_FALSE(Exists("a.dat"));
    EXPECT_TRUE(Exists("Keep.dat"));
    EXPECT_TRUE(Exists("fresh.dat"));
    EXPECT_EQ(m_Log.TakeLines(), (std::vector<std::string>{"Error deleting C:\\\\sealed.dat file: \"Windows error "
                                                           "code 5: Access is denied.\""}));
    EXPECT_FALSE(DeleteFilesInFolderExceptFiles("C:", 0, keep, message));
    EXPECT_EQ(ToStd(message), "No files were deleted from C:");
    EXPECT_FALSE(DeleteFilesInFolderExceptFiles("C:\\none", 0, keep, message));
    EXPECT_EQ(ToStd(message), "DeleteFilesInFolderExceptFiles | SearchForFiles error.");
    EXPECT_FALSE(DeleteFilesInFolderExceptFiles("", 0, keep, message));
    EXPECT_EQ(ToStd(message), "DeleteFilesInFolderExceptFiles | Invalid file parameters.");
}

} // namespace
