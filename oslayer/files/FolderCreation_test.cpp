// Tests of making folders and clearing read-only attributes, with their log lines.

#include "oslayer/files/FolderCreation.h"

#include "oslayer/testing/c_LogRecorder.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

class FolderCreation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Drives.IsReady()); }

    bool IsFolder(const std::string& linuxPath) const {
        struct stat status;
        return stat(linuxPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    }

    c_TemporaryDrives m_Drives;
    c_LogRecorder m_Log;
};

TEST_F(FolderCreation, CreatesEveryLevelOfThePath) {
    WriteTestFile(m_Drives.GetC() + "/file", "x");
    const struct {
        const char* m_Name;
        std::string m_Path;
        bool m_Created;
        const char* m_Error;
        std::string m_Folder;
    } cases[] = {
        {"empty pieces are skipped", "C:\\A\\\\B\\", true, "CreateFolderRecursively: ", "/c/A/B"},
        {"existing levels", "C:\\A\\B\\C", true, "CreateFolderRecursively: ", "/c/A/B/C"},
        {"pieces are trimmed", "C:\\ T1 \\T2", true, "CreateFolderRecursively: ", "/c/T1/T2"},
        {"forward separators", "D:/x/y/", true, "CreateFolderRecursively: ", "/d/x/y"},
        {"a POSIX path", m_Drives.GetD() + "/p/q", true, "CreateFolderRecursively: ", "/d/p/q"},
        {"a file in the way", "C:\\file\\sub", false,
         "CreateFolderRecursively: Windows error code 183: Cannot create a file when that file already exists.", ""},
        {"an unmapped drive", "Q:\\x", false,
         "CreateFolderRecursively: Windows error code 3: The system cannot find the path specified.", ""},
        {"a UNC path", "\\\\server\\share\\x", false,
         "CreateFolderRecursively: Windows error code 53: The network path was not found.", ""},
        {"an empty path", "", false,
         "CreateFolderRecursively: Windows error code 3: The system cannot find the path specified.", ""},
    };
    for (const auto& row : cases) {
        c_String error;
        EXPECT_EQ(CreateFolderRecursively(c_StringView(row.m_Path.c_str()), error), row.m_Created) << row.m_Name;
        EXPECT_EQ(ToStd(error), row.m_Error) << row.m_Name;
        if (!row.m_Folder.empty()) {
            EXPECT_TRUE(IsFolder(m_Drives.GetRoot() + row.m_Folder)) << row.m_Name;
        }
    }
    EXPECT_FALSE(IsFolder(m_Drives.GetC() + "/server")) << "nothing made on the local drive for UNC";
    EXPECT_FALSE(IsFolder(m_Drives.GetC() + "/share"));
}

TEST_F(FolderCreation, PrepareFilesFolderLogsWhatItDid) {
    WriteTestFile(m_Drives.GetC() + "/file", "x");
    std::filesystem::create_directory(m_Drives.GetC() + "/sealed");
    ASSERT_TRUE(MakeTestPathReadOnly(m_Drives.GetC() + "/sealed"));
    const struct {
        const char* m_Folder;
        bool m_Prepared;
        std::vector<std::string> m_Log;
    } cases[] = {
        {"", false, {"Files path is empty."}},
        {"C:\\Files", true, {}},
        {"C:\\Files", true, {}},
        {"C:\\sealed", true, {"Removed read-only attribute from the files folder: C:\\sealed"}},
        {"C:\\file",
         false,
         {"Error creating the file folder: C:\\file.  Windows error code 183: Cannot create a file when that file "
          "already exists."}},
        {"C:\\none\\Files",
         false,
         {"Error creating the file folder: C:\\none\\Files.  Windows error code 3: The system cannot find the path "
          "specified."}},
        {"/proc/self",
         true,
         {"The files folder, /proc/self, is set to read-only, and unable to disable the read-only attribute.",
          "Windows error code 5: Access is denied.", "You may want to change the location of this files folder."}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(PrepareFilesFolder(row.m_Folder), row.m_Prepared) << row.m_Folder;
        EXPECT_EQ(m_Log.TakeLines(), row.m_Log) << row.m_Folder;
    }
    EXPECT_TRUE(IsFolder(m_Drives.GetC() + "/Files"));
}

TEST_F(FolderCreation, ClearReadOnlyAttributeWithLog) {
    WriteTestFile(m_Drives.GetC() + "/sealed.txt", "x");
    ASSERT_TRUE(MakeTestPathReadOnly(m_Drives.GetC() + "/sealed.txt"));
    ASSERT_EQ(symlink("loop", (m_Drives.GetC() + "/loop").c_str()), 0);
    const struct {
        const char* m_Path;
        std::vector<std::string> m_Log;
    } cases[] = {
        {"C:\\sealed.txt", {"Removed read-only attribute from the file C:\\sealed.txt"}},
        {"C:\\sealed.txt", {}},
        {"C:\\missing.txt", {}},
        {"C:\\loop",
         {"Error getting file attributes for C:\\loop.  Unable to check read-only status.  Windows error code 1921: "
          "The name of the file cannot be resolved by the system."}},
        {"/proc/self/status",
         {"The file /proc/self/status is set to read-only, and unable to disable the read-only attribute.  Windows "
          "error code 5: Access is denied."}},
    };
    for (const auto& row : cases) {
        ClearReadOnlyAttributeWithLog(row.m_Path);
        EXPECT_EQ(m_Log.TakeLines(), row.m_Log) << row.m_Path;
    }
}

} // namespace
