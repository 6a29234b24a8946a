// Tests of c_InstallerApp: the command line, the log entry point, start-up and shutdown.

#include "installer/c_InstallerApp.h"

#include "installer/testing/c_InstallerRun.h"
#include "network/TLSLibrary.h"
#include "network/c_NetworkSocketCore.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/system/SingleInstance.h"
#include "oslayer/testing/c_LogRecorder.h"
#include "oslayer/threads/c_TimerCore.h"
#include "platform/testing/ChildTestProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

struct s_CommandLineCase {
    const char* m_Name;
    const char* m_CommandLine;
    const char* m_InstallPath;
    bool m_CreateShortcuts;
    bool m_CreateShortcutsGiven;
    bool m_AutoStart2;
    int m_Version;
    bool m_VersionGiven;
    const char* m_InstallerName;
    bool m_ServerVersion;
    bool m_IsARM64;
};

const s_CommandLineCase COMMAND_LINE_CASES[] = {
    {"Empty", "", "", true, false, false, 0, false, "", false, false},
    {"OneCharacter", "/", "", true, false, false, 0, false, "", false, false},
    {"ThreeKeys", "/InstallPath=C:\\Programs\\X /CreateShortcuts=FALSE /Version=1234", "C:\\Programs\\X", false, true,
     false, 1234, true, "", false, false},
    {"WithoutLeadingSlash", "Version=7", "", true, false, false, 7, true, "", false, false},
    {"KeysKeepTheirCase", "/installpath=C:\\X /version=3", "", true, false, false, 0, false, "", false, false},
    {"KeyAndValueTrimmed", "/  InstallPath =  C:\\Y  ", "C:\\Y", true, false, false, 0, false, "", false, false},
    {"AutoStartOne", "/AutoStart2=1", "", true, false, true, 0, false, "", false, false},
    {"AutoStartTrueAnyCase", "/AutoStart2=TRUE", "", true, false, true, 0, false, "", false, false},
    {"AutoStartBlankSeven", "/AutoStart2= 7", "", true, false, true, 0, false, "", false, false},
    {"AutoStartFalse", "/AutoStart2=false", "", true, false, false, 0, false, "", false, false},
    {"AutoStartBare", "/AutoStart2", "", true, false, false, 0, false, "", false, false},
    {"ARM64True", "/IsARM64=true", "", true, false, false, 0, false, "", false, false},
    {"ARM64One", "/IsARM64=1", "", true, false, false, 0, false, "", false, true},
    {"ShortcutsOtherValue", "/CreateShortcuts=maybe", "", true, true, false, 0, false, "", false, false},
    {"ShortcutsTrue", "/CreateShortcuts=false /CreateShortcuts=True", "", true, true, false, 0, false, "", false,
     false},
    {"BareVersion", "/Version", "", true, false, false, 0, false, "", false, false},
    {"VersionNotANumber", "/Version=abc", "", true, false, false, 0, true, "", false, false},
    {"VersionPrerelease", "/Version=-1", "", true, false, false, -1, true, "", false, false},
    {"VersionClamped", "/Version=99999999999", "", true, false, false, 2147483647, true, "", false, false},
    {"PathCutAtBlankSlash", "/InstallPath=C:\\A /B /Version=2", "C:\\A", true, false, false, 2, true, "", false, false},
    {"LaterPiecesOverride", "/Version=2 /Version=5", "", true, false, false, 5, true, "", false, false},
    {"EmptyValuesIgnored", "/InstallPath= /InstallerName=", "", true, false, false, 0, false, "", false, false},
    {"InstallerName", "/InstallerName=Acme Charts", "", true, false, false, 0, false, "Acme Charts", false, false},
    {"ServerVersion", "/ServerVersion=true", "", true, false, false, 0, false, "", true, false},
    {"ValueKeepsLaterEquals", "/InstallPath=C:\\a=b", "C:\\a=b", true, false, false, 0, false, "", false, false},
    {"EmptyKeySkipped", "/=5 /Version=1", "", true, false, false, 1, true, "", false, false},
    {"UnknownKeyIgnored", "/Colour=blue", "", true, false, false, 0, false, "", false, false},
};

class CommandLine : public testing::TestWithParam<s_CommandLineCase> {};

TEST_P(CommandLine, SetsTheMembers) {
    const s_CommandLineCase& row = GetParam();
    c_InstallerApp application;
    application.ParseCommandLine(c_String(row.m_CommandLine));
    EXPECT_EQ(application.GetInstallPath(), c_String(row.m_InstallPath));
    EXPECT_EQ(application.GetCreateShortcuts(), std::make_pair(row.m_CreateShortcuts, row.m_CreateShortcutsGiven));
    EXPECT_EQ(application.GetAutoStart2(), row.m_AutoStart2);
    EXPECT_EQ(application.GetVersion(), std::make_pair(row.m_Version, row.m_VersionGiven));
    EXPECT_EQ(application.GetInstallerName(), c_String(row.m_InstallerName));
    EXPECT_EQ(application.GetServerVersion(), row.m_ServerVersion);
    EXPECT_EQ(application.GetIsARM64(), row.m_IsARM64);
}

INSTANTIATE_TEST_SUITE_P(Pieces, CommandLine, testing::ValuesIn(COMMAND_LINE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST(InstallerAppLog, WithoutADialogLinesAreDropped) {
    c_InstallerApp application;
    c_LogRecorder recorder;
    application.Log("dropped");
    application.ParseCommandLine("/Version=3");
    EXPECT_TRUE(recorder.TakeLines().empty());
}

TEST(InstallerAppLog, TheSinkOfSomeoneElseStaysWhenTheDialogGoes) {
    c_InstallerApp application;
    c_LogRecorder recorder;
    application.SetInstallerDialog(nullptr);
    LogMessage("kept");
    EXPECT_EQ(recorder.TakeLines(), std::vector<std::string>{"kept"});
}

TEST(InstallerAppShutdown, ExitInstanceAfterARunStopsEveryService) {
    c_InstallerRun run;
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(IsOpenSSLStarted());
    EXPECT_NE(c_NetworkSocketCore::GetCore(), nullptr);
    run.End();
    EXPECT_EQ(run.GetResult(), 0);
    EXPECT_FALSE(IsOpenSSLStarted());
    EXPECT_EQ(c_NetworkSocketCore::GetCore(), nullptr);
    EXPECT_EQ(SetLogSink(nullptr), nullptr);
}

constexpr char SECOND_INSTANCE_VARIABLE[] = "INSTALLER_SECOND_INSTANCE_TEST";

// The child: the same program path as the parent, which holds the mutex; the run must end at once
// without a dialog, and its shutdown must find nothing started.
TEST(InstallerAppSecondInstance, Child) {
    if (std::getenv(SECOND_INSTANCE_VARIABLE) == nullptr) {
        GTEST_SKIP() << "runs as the child of SecondProcessEndsSilently";
    }
    n_Platform::c_DialogDriver driver;
    c_InstallerApp application;
    WCHAR commandLine[] = u"/Version=3";
    std::atomic<bool> ended{false};
    std::atomic<int> result{-2};
    std::thread program([&] {
        result = AfxWinMain(nullptr, nullptr, commandLine, SW_SHOWDEFAULT);
        ended = true;
    });
    const bool endedAlone = n_Platform::WaitUntil([&] { return ended.load(); });
    if (!endedAlone) {
        driver.PressKey(driver.WaitForDialog(102), VK_ESCAPE);
    }
    program.join();
    TellParent(endedAlone && result == 0 && !IsOpenSSLStarted() && c_NetworkSocketCore::GetCore() == nullptr
                   ? "silent"
                   : "dialog");
}

TEST(InstallerAppSecondInstance, SecondProcessEndsSilently) {
    c_TemporaryDrives drives;
    const std::string folder = drives.GetC() + "/second" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    setenv(n_Platform::MODULE_PATH_VARIABLE, (folder + "/DovrikChartInstaller.exe").c_str(), 1);
    ASSERT_FALSE(IsAnotherInstanceRunning());
    c_ChildTestProcess child("InstallerAppSecondInstance.Child", SECOND_INSTANCE_VARIABLE, "1");
    EXPECT_TRUE(child.WaitForLine("silent"));
    unsetenv(n_Platform::MODULE_PATH_VARIABLE);
}

} // namespace
