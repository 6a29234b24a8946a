// Tests of applying the compression setting, on a file system that cannot compress.

#include "oslayer/files/FileCompression.h"

#include "oslayer/testing/c_LogRecorder.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(FileCompression, SettingIsAppliedOnlyWhereTheFileSystemCan) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    c_LogRecorder log;
    WriteTestFile(drives.GetC() + "/data.bin", "data");
    const struct {
        bool m_Enable;
        bool m_Disable;
        const char* m_Path;
        std::vector<std::string> m_Log;
    } cases[] = {
        {false, false, "C:\\data.bin", {}},
        {true, false, "C:\\missing.bin", {}},
        {true,
         false,
         "C:\\data.bin",
         {"File compression not supported on file system. C:\\data.bin. Windows error code 50: The request is not "
          "supported."}},
        {false,
         true,
         "C:\\data.bin",
         {"File compression not supported on file system. C:\\data.bin. Windows error code 50: The request is not "
          "supported."}},
    };
    for (const auto& row : cases) {
        SetFileCompressionMode(row.m_Enable, row.m_Disable);
        EXPECT_FALSE(ApplyFileCompressionSetting(row.m_Path));
        EXPECT_EQ(log.TakeLines(), row.m_Log);
    }
    SetFileCompressionMode(false, false);
}

} // namespace
