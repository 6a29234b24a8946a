// Tests of the n_OSLayer process wrappers: program starts with their messages, and running programs
// found by path.

#include "oslayer/system/ProcessCalls.h"

#include "oslayer/files/PathCalls.h"
#include "oslayer/testing/c_RecordingProgram.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>

namespace {

class ProcessCalls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        std::filesystem::create_directory(m_Drives.GetC() + "/Apps");
        std::filesystem::create_directory(m_Drives.GetD() + "/Work");
        m_Recorder.emplace(u"C:\\Apps\\recorder.exe", m_Drives.GetC() + "/Apps");
        ASSERT_TRUE(m_Recorder->IsReady());
    }

    std::string WaitForRecord() { return m_Recorder->WaitForRecord(); }

    c_TemporaryDrives m_Drives;
    std::optional<c_RecordingProgram> m_Recorder;
};

TEST_F(ProcessCalls, StartsTheProgramAndSaysWhereAndHow) {
    const struct {
        const char* m_Name;
        const char* m_Parameters;
        const char* m_Folder;
        bool m_LogParameters;
        const char* m_Message;
        std::string m_Record;
    } cases[] = {
        {"the program's own folder", "one \"two three\"", "", false,
         "Created process C:\\Apps\\recorder.exe.  Current folder: C:\\Apps", "one\ntwo three\n/c/Apps\n"},
        {"a folder with blanks and a trailing separator", "x", "  D:\\Work\\  ", true,
         "Created process C:\\Apps\\recorder.exe.  Current folder: D:\\Work.  Parameters: x", "x\n/d/Work\n"},
        {"no parameters", "", "D:\\", true,
         "Created process C:\\Apps\\recorder.exe.  Current folder: D:.  Parameters: ", "/d\n"},
    };
    for (const auto& row : cases) {
        c_String message = "old";
        ASSERT_TRUE(n_OSLayer::CreateProcess("C:\\Apps\\recorder.exe", row.m_Parameters, row.m_Folder, &message,
                                             row.m_LogParameters))
            << row.m_Name;
        EXPECT_EQ(ToStd(message), row.m_Message) << row.m_Name;
        std::string record = row.m_Record;
        record.replace(record.rfind("\n/") + 1, 0, m_Drives.GetRoot());
        EXPECT_EQ(WaitForRecord(), record) << row.m_Name;
    }
}

TEST_F(ProcessCalls, FailedStartSaysWhy) {
    WriteTestFile(m_Drives.GetC() + "/Apps/windows.exe", "MZ");
    const struct {
        const char* m_Path;
        const char* m_Message;
    } cases[] = {
        {"C:\\Apps\\missing.exe",
         "Error creating process C:\\Apps\\missing.exe.  Windows error code 2: The system cannot find the file "
         "specified."},
        {"C:\\Apps\\windows.exe",
         "Error creating process C:\\Apps\\windows.exe.  Windows error code 193: %1 is not a valid Win32 "
         "application."},
    };
    for (const auto& row : cases) {
        c_String message;
        EXPECT_FALSE(n_OSLayer::CreateProcess(row.m_Path, "", "", &message, false));
        EXPECT_EQ(ToStd(message), row.m_Message);
    }
    EXPECT_FALSE(n_OSLayer::CreateProcess("C:\\Apps\\missing.exe", "", "", nullptr, false));
}

TEST_F(ProcessCalls, FindsARunningProgramByItsPath) {
    std::filesystem::copy_file("/bin/sleep", m_Drives.GetC() + "/Apps/Sleeper.exe");
    ASSERT_TRUE(n_OSLayer::CreateProcess("C:\\Apps\\Sleeper.exe", "30", "", nullptr, false));
    std::uint32_t id = 0;
    n_Platform::WaitUntil([&] { return (id = n_OSLayer::GetProgramProcessId("C:\\Apps\\Sleeper.exe")) != 0; });
    ASSERT_NE(id, 0u);
    EXPECT_EQ(n_OSLayer::GetProgramProcessId("c:\\apps\\SLEEPER.EXE"), id) << "compared without case";
    EXPECT_TRUE(n_OSLayer::IsProgramRunning("C:\\Apps\\Sleeper.exe"));
    EXPECT_EQ(ToStd(n_OSLayer::GetProcessImagePath(id)), "C:\\Apps\\Sleeper.exe");
    EXPECT_EQ(n_OSLayer::GetProgramProcessId("D:\\Apps\\Sleeper.exe"), 0u) << "the same name elsewhere";
    EXPECT_EQ(n_OSLayer::GetProgramProcessId(""), 0u);
    HANDLE process = n_OSLayer::OpenProcess(SYNCHRONIZE, false, id);
    ASSERT_NE(process, nullptr);
    kill(static_cast<pid_t>(id), SIGTERM);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
    EXPECT_EQ(ToStd(n_OSLayer::GetProcessImagePath(0x7FFFFFF0)), "");
    EXPECT_EQ(n_OSLayer::GetCurrentProcessId(), static_cast<std::uint32_t>(getpid()));
}

TEST_F(ProcessCalls, ShellOpensThroughXdgOpen) {
    const char* path = std::getenv("PATH");
    const std::string savedPath = path == nullptr ? "" : path;
    setenv("PATH", (m_Drives.GetRoot() + ":/bin:/usr/bin").c_str(), 1);
    EXPECT_FALSE(n_OSLayer::ShellExecute("https://example.invalid/", "", "", false));
    WriteTestFile(m_Drives.GetRoot() + "/xdg-open",
                  "#!/bin/sh\nprintf '%s\\n' \"$1\" > \"$(dirname \"$0\")/opened.new\"\n"
                  "mv \"$(dirname \"$0\")/opened.new\" \"$(dirname \"$0\")/c/Apps/record.txt\"\n");
    ASSERT_TRUE(MakeTestFileExecutable(m_Drives.GetRoot() + "/xdg-open"));
    n_OSLayer::ShellExecuteEx("https://example.invalid/page");
    EXPECT_EQ(WaitForRecord(), "https://example.invalid/page\n");
    EXPECT_TRUE(n_OSLayer::ShellExecute("C:\\Apps\\recorder.exe", "", "", true));
    EXPECT_EQ(WaitForRecord(), m_Drives.GetC() + "/Apps/recorder.exe\n");
    setenv("PATH", savedPath.c_str(), 1);
}

} // namespace
