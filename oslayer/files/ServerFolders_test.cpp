// Tests of the server data folder and the computer's server name.

#include "oslayer/files/ServerFolders.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ServerFolders, DataFilePathFromTheProgramFolder) {
    struct s_Case {
        const char* m_Folder;
        const char* m_Path;
    } const cases[] = {
        {"C:\\dovrikchartserver\\bin\\", "C:\\dovrikchartserver\\f.txt"},
        {"C:\\DovrikChartServer\\", "C:\\DovrikChartServer\\f.txt"},
        {"C:\\DovrikChartServer\\a\\DovrikChartServer\\b\\", "C:\\DovrikChartServer\\a\\DovrikChartServer\\f.txt"},
        {"C:\\DovrikChartServer_Trading\\bin\\", "C:\\DovrikChartServer_Trading\\f.txt"},
        {"C:\\DovrikChartServer_Trading\\DovrikChartServer\\",
         "C:\\DovrikChartServer_Trading\\DovrikChartServer\\f.txt"},
        {"C:\\DovrikChartServer_Trading\\x\\DovrikChartServer\\y\\",
         "C:\\DovrikChartServer_Trading\\x\\DovrikChartServer\\f.txt"},
        {"C:\\DovrikChartServerX\\", ""},
        {"C:\\Apps\\", ""},
        {"", ""},
    };
    for (const s_Case& row : cases) {
        EXPECT_STREQ(FindServerDataFilePath(row.m_Folder, "f.txt").GetChars(), row.m_Path) << row.m_Folder;
    }
}

TEST(ServerFolders, ComputerServerNameIsTheTrimmedFileText) {
    c_TemporaryDrives drives;
    std::filesystem::create_directories(drives.GetC() + "/DovrikChartServer/bin");
    EXPECT_STREQ(ReadComputerServerName("C:\\DovrikChartServer\\bin\\").GetChars(), "");
    WriteTestFile(drives.GetC() + "/DovrikChartServer/ComputerServerName.txt", " \tserver-7\r\n");
    EXPECT_STREQ(ReadComputerServerName("C:\\DovrikChartServer\\bin\\").GetChars(), "server-7");
    EXPECT_STREQ(ReadComputerServerName("C:\\Other\\bin\\").GetChars(), "");
}

TEST(ServerFolders, TestProgramIsInNoServerFolder) {
    EXPECT_STREQ(GetServerDataFilePath("f.txt").GetChars(), "");
    EXPECT_STREQ(GetComputerServerName().GetChars(), "");
}

TEST(JoinTwoStrings, OneStringOfBoth) {
    EXPECT_STREQ(JoinTwoStrings("C:\\a\\", "b.txt").GetChars(), "C:\\a\\b.txt");
    EXPECT_STREQ(JoinTwoStrings("", "").GetChars(), "");
}

} // namespace
