// Tests of the services of the system folder's programs: the command interpreter as COMSPEC names it
// or as the system folder holds it, and the Windows version, which no file of the layer carries.

#include "oslayer/system/SystemPrograms.h"

#include "oslayer/testing/c_RecordingProgram.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

class SystemPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        const char* comspec = std::getenv("COMSPEC");
        if (comspec != nullptr) {
            m_OldComspec = comspec;
        }
        std::filesystem::create_directories(GetSystemFolder());
        std::filesystem::create_directories(m_Drives.GetC() + "/Shell");
    }

    void TearDown() override {
        if (m_OldComspec) {
            setenv("COMSPEC", m_OldComspec->c_str(), 1);
        } else {
            unsetenv("COMSPEC");
        }
    }

    std::string GetSystemFolder() const { return m_Drives.GetC() + "/Windows/System32"; }

    c_TemporaryDrives m_Drives;
    std::optional<std::string> m_OldComspec;
};

TEST_F(SystemPrograms, RunCommandLineStartsTheInterpreterWithTheQuotedCommand) {
    const struct {
        const char* m_Name;
        const char* m_Comspec; // null: not set
        const char16_t* m_Interpreter;
        std::string m_Folder;
    } cases[] = {
        {"COMSPEC names the interpreter", "C:\\Shell\\sh.exe", u"C:\\Shell\\sh.exe", m_Drives.GetC() + "/Shell"},
        {"without COMSPEC, cmd.exe of the system folder", nullptr, u"C:\\Windows\\System32\\cmd.exe",
         GetSystemFolder()},
        {"an empty COMSPEC counts as none", "", u"C:\\Windows\\System32\\cmd.exe", GetSystemFolder()},
    };
    for (const auto& row : cases) {
        c_RecordingProgram interpreter(row.m_Interpreter, row.m_Folder);
        ASSERT_TRUE(interpreter.IsReady()) << row.m_Name;
        if (row.m_Comspec != nullptr) {
            setenv("COMSPEC", row.m_Comspec, 1);
        } else {
            unsetenv("COMSPEC");
        }
        EXPECT_TRUE(n_OSLayer::RunCommandLine("echo one  two")) << row.m_Name;
        EXPECT_EQ(interpreter.WaitForRecord(), "/C\necho one  two\n" + row.m_Folder + "\n") << row.m_Name;
        std::filesystem::remove(std::filesystem::path(row.m_Folder) / "sh.exe");
        std::filesystem::remove(std::filesystem::path(row.m_Folder) / "cmd.exe");
    }
}

TEST_F(SystemPrograms, RunCommandLineFailsWithoutAnInterpreter) {
    const struct {
        const char* m_Name;
        const char* m_Comspec;
    } cases[] = {
        {"no cmd.exe in the system folder", nullptr},
        {"COMSPEC names a missing program", "C:\\Shell\\missing.exe"},
    };
    for (const auto& row : cases) {
        if (row.m_Comspec != nullptr) {
            setenv("COMSPEC", row.m_Comspec, 1);
        } else {
            unsetenv("COMSPEC");
        }
        SetLastError(0);
        EXPECT_FALSE(n_OSLayer::RunCommandLine("dir")) << row.m_Name;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << row.m_Name;
    }
}

TEST_F(SystemPrograms, GetWindowsVersionIsEmptyWithoutAVersionResource) {
    EXPECT_STREQ(n_OSLayer::GetWindowsVersion().GetChars(), "") << "no Kernel32.dll";
    WriteTestFile(GetSystemFolder() + "/Kernel32.dll", "MZ");
    EXPECT_STREQ(n_OSLayer::GetWindowsVersion().GetChars(), "") << "a Kernel32.dll without a version resource";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

} // namespace
