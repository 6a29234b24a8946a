// Tests of CreateProcessW and process handles, with small scripts as the programs.

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "platform/testing/WideText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <sys/stat.h>

namespace {

// A script named like a Windows program: it writes its arguments, one a line, then its folder and
// the variable TEST_VALUE, into record.txt beside it, and exits with 7.
constexpr char RECORDER[] = "#!/bin/sh\n"
                            "out=\"$(dirname \"$0\")/record.txt\"\n"
                            "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out\"\n"
                            "pwd >> \"$out\"\n"
                            "printf '%s\\n' \"$TEST_VALUE\" >> \"$out\"\n"
                            "exit 7\n";

class Processes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        ASSERT_TRUE(CreateDirectoryW(u"C:\\My Apps", nullptr));
        ASSERT_TRUE(CreateDirectoryW(u"D:\\work", nullptr));
        HANDLE file = CreateFileW(u"C:\\My Apps\\recorder.exe", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, RECORDER, sizeof RECORDER - 1, &written, nullptr));
        CloseHandle(file);
    }

    // Runs the command line to its end; the exit code, or the error of a start that failed.
    DWORD Run(const char* commandLine, const char16_t* folder, DWORD& exitCode, void* environment = nullptr) {
        std::u16string line = Wide(commandLine);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                            environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0, environment, folder, &startup,
                            &process)) {
            return GetLastError();
        }
        EXPECT_NE(process.dwProcessId, 0u);
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
        EXPECT_EQ(WaitForSingleObject(process.hThread, 0), WAIT_OBJECT_0);
        EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &exitCode));
        EXPECT_TRUE(CloseHandle(process.hThread));
        EXPECT_TRUE(CloseHandle(process.hProcess));
        return ERROR_SUCCESS;
    }

    std::string ReadRecord() const { return ReadTestFile(m_Drives.GetC() + "/My Apps/record.txt"); }

    c_TemporaryDrives m_Drives;
};

TEST_F(Processes, ProgramGetsItsArgumentsAndFolder) {
    const struct {
        const char* m_Name;
        const char* m_Line;
        const char16_t* m_Folder;
        const char* m_Record;
    } cases[] = {
        {"quoted path, blank, parameters", "\"C:\\My Apps\\recorder.exe\" one \"two three\" a\\\"b", u"D:\\work",
         "one\ntwo three\na\"b\n<root>/d/work\n\n"},
        {"no parameters, the parent's folder", "\"C:\\My Apps\\recorder.exe\" ", nullptr, "<root>/c\n\n"},
        {"empty folder is the parent's", "\"C:\\My Apps\\recorder\" x", u"", "x\n<root>/c\n\n"},
        {"relative program path", "\"My Apps\\recorder.exe\" y", u"C:\\My Apps\\", "y\n<root>/c/My Apps\n\n"},
    };
    for (const auto& row : cases) {
        DWORD exitCode = 0;
        ASSERT_EQ(Run(row.m_Line, row.m_Folder, exitCode), static_cast<DWORD>(ERROR_SUCCESS)) << row.m_Name;
        EXPECT_EQ(exitCode, 7u) << row.m_Name;
        std::string expected = row.m_Record;
        for (std::size_t at = expected.find("<root>"); at != std::string::npos; at = expected.find("<root>")) {
            expected.replace(at, 6, m_Drives.GetRoot());
        }
        EXPECT_EQ(ReadRecord(), expected) << row.m_Name;
    }
}

TEST_F(Processes, EnvironmentBlockReplacesTheParents) {
    const char16_t block[] = u"TEST_VALUE=from block\0PATH=/bin:/usr/bin\0";
    DWORD exitCode = 0;
    ASSERT_EQ(Run("\"C:\\My Apps\\recorder.exe\"", nullptr, exitCode, const_cast<char16_t*>(block)),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadRecord(), m_Drives.GetC() + "\nfrom block\n");
}

TEST_F(Processes, StartsThatFail) {
    WriteTestFile(m_Drives.GetC() + "/windows.exe", "MZ\x90");
    WriteTestFile(m_Drives.GetC() + "/plain.exe", "no program");
    ASSERT_EQ(chmod((m_Drives.GetC() + "/plain.exe").c_str(), 0644), 0);
    const struct {
        const char* m_Line;
        const char16_t* m_Folder;
        DWORD m_Error;
    } cases[] = {
        {"C:\\windows.exe", nullptr, ERROR_BAD_EXE_FORMAT},
        {"C:\\missing.exe", nullptr, ERROR_FILE_NOT_FOUND},
        {"C:\\none\\missing.exe", nullptr, ERROR_PATH_NOT_FOUND},
        {"no-such-program-anywhere", nullptr, ERROR_FILE_NOT_FOUND},
        {"\"C:\\My Apps\\recorder.exe\"", u"C:\\none", ERROR_DIRECTORY},
        {"C:\\plain.exe", nullptr, ERROR_ACCESS_DENIED},
        {"", nullptr, ERROR_INVALID_PARAMETER},
    };
    for (const auto& row : cases) {
        DWORD exitCode = 0;
        EXPECT_EQ(Run(row.m_Line, row.m_Folder, exitCode), row.m_Error) << row.m_Line;
    }
}

TEST_F(Processes, BareNamesAreFoundInPath) {
    DWORD exitCode = 99;
    ASSERT_EQ(Run("sh -c \"exit 3\"", nullptr, exitCode), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(exitCode, 3u);
}

TEST_F(Processes, OpenProcessWaitsForAnyProcess) {
    // The child runs until the test writes a line into its pipe.
    const std::string gate = m_Drives.GetC() + "/gate";
    ASSERT_EQ(mkfifo(gate.c_str(), 0600), 0);
    std::u16string line = Wide(("sh -c \"read line < '" + gate + "'\"").c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    HANDLE opened = OpenProcess(SYNCHRONIZE, FALSE, process.dwProcessId);
    ASSERT_NE(opened, nullptr);
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeProcess(opened, &exitCode));
    EXPECT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE));
    WriteTestFile(gate, "go\n");
    EXPECT_EQ(WaitForSingleObject(opened, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(opened);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(OpenProcess(SYNCHRONIZE, FALSE, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
}

TEST(GetEnvironmentVariableW, ReadsTheVariable) {
    setenv("PLATFORM_TEST_VARIABLE", "value", 1);
    WCHAR buffer[16];
    EXPECT_EQ(GetEnvironmentVariableW(u"PLATFORM_TEST_VARIABLE", buffer, 16), 5u);
    EXPECT_EQ(Narrow(buffer), "value");
    EXPECT_EQ(GetEnvironmentVariableW(u"PLATFORM_TEST_VARIABLE", buffer, 5), 6u);
    unsetenv("PLATFORM_TEST_VARIABLE");
    EXPECT_EQ(GetEnvironmentVariableW(u"PLATFORM_TEST_VARIABLE", buffer, 16), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
}

} // namespace
