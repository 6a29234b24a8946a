// Tests of moving and renaming files with the move's log line.

#include "oslayer/files/FileMoving.h"

#include "oslayer/testing/c_LogRecorder.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(FileMoving, MoveFileWithLogSaysSuccessOrError) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    c_LogRecorder log;
    std::filesystem::create_directory(drives.GetC() + "/a");
    std::filesystem::create_directory(drives.GetD() + "/b");
    WriteTestFile(drives.GetC() + "/a/x.dat", "x");
    WriteTestFile(drives.GetC() + "/a/y.dat", "y");
    EXPECT_TRUE(MoveFileWithLog("C:\\a\\x.dat", "D:\\b\\x.dat", true));
    EXPECT_FALSE(MoveFileWithLog("C:\\a\\y.dat", "D:\\b\\x.dat", true));
    EXPECT_FALSE(MoveFileWithLog("C:\\a\\y.dat", "D:\\b\\x.dat", false));
    EXPECT_EQ(log.TakeLines(),
              (std::vector<std::string>{"Success moving C:\\a\\x.dat file to the folder D:\\b\\. ",
                                        "Error moving C:\\a\\y.dat file to the folder D:\\b\\. MoveFile error: Windows "
                                        "error code 183: Cannot create a file when that file already exists."}));
    c_String error;
    EXPECT_TRUE(RenameFileInFolder("C:\\a\\", "y.dat", "z.dat", &error));
    EXPECT_EQ(ReadTestFile(drives.GetC() + "/a/z.dat"), "y");
    EXPECT_FALSE(MoveFileWrapper("C:\\a\\none.dat", "C:\\a\\w.dat", &error));
    EXPECT_EQ(ToStd(error), "MoveFile error: Windows error code 2: The system cannot find the file specified.");
    EXPECT_TRUE(log.TakeLines().empty());
}

} // namespace
