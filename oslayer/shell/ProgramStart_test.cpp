// Tests of StartProgram and OpenURL: a recording program started with its logged line, failures
// logged with their error text, and web pages handed to the shell (recorded, nothing opened) or to
// the browser in its own folder.

#include "oslayer/shell/ProgramStart.h"

#include "oslayer/testing/c_LogRecorder.h"
#include "oslayer/testing/c_RecordingProgram.h"
#include "platform/testing/ShellHooks.h"
#include "platform/testing/TemporaryDrives.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        std::filesystem::create_directory(m_Drives.GetC() + "/B");
        std::filesystem::create_directory(m_Drives.GetD() + "/Work");
        m_Program.emplace(u"C:\\B\\browser.exe", m_Drives.GetC() + "/B");
        ASSERT_TRUE(m_Program->IsReady());
    }

    // The arguments and the folder, as the program recorded them, with the folder in drive form.
    std::string WaitForRecord() {
        std::string record = m_Program->WaitForRecord();
        const std::size_t root = record.find(m_Drives.GetRoot());
        if (root != std::string::npos) {
            record.erase(root, m_Drives.GetRoot().size());
        }
        return record;
    }

    c_TemporaryDrives m_Drives;
    c_LogRecorder m_Log;
    std::optional<c_RecordingProgram> m_Program;
};

TEST_F(ProgramStart, StartsTheProgramAndLogsHowAndWhere) {
    const struct {
        const char* m_Name;
        const char* m_Parameters;
        const char* m_Folder;
        bool m_LogParameters;
        const char* m_Line;
        const char* m_Record;
    } cases[] = {
        {"its own folder", "one \"two three\"", "", false, "Created process C:\\B\\browser.exe.  Current folder: C:\\B",
         "one\ntwo three\n/c/B\n"},
        {"a folder with blanks and a separator", "x", "  D:\\Work\\  ", true,
         "Created process C:\\B\\browser.exe.  Current folder: D:\\Work.  Parameters: x", "x\n/d/Work\n"},
        {"no parameters", "", "D:\\Work", true,
         "Created process C:\\B\\browser.exe.  Current folder: D:\\Work.  Parameters: ", "/d/Work\n"},
    };
    for (const auto& row : cases) {
        EXPECT_TRUE(StartProgram("C:\\B\\browser.exe", row.m_Parameters, row.m_Folder, row.m_LogParameters))
            << row.m_Name;
        EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>{row.m_Line}) << row.m_Name;
        EXPECT_EQ(WaitForRecord(), row.m_Record) << row.m_Name;
    }
    EXPECT_TRUE(StartProgram("C:\\B\\browser.exe", "p", "D:\\Work"));
    EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>{"Created process C:\\B\\browser.exe.  Current folder: "
                                                          "D:\\Work.  Parameters: p"})
        << "the second entry logs the parameters";
    EXPECT_EQ(WaitForRecord(), "p\n/d/Work\n");
}

TEST_F(ProgramStart, AFailedStartLogsTheErrorText) {
    EXPECT_FALSE(StartProgram("C:\\B\\missing.exe", "", "", false));
    EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>{"Error creating process C:\\B\\missing.exe.  Windows error "
                                                          "code 2: The system cannot find the file specified."});
}

TEST_F(ProgramStart, OpenURLWithoutABrowserGoesThroughTheShell) {
    c_ShellExecuteRecorder shell;
    OpenURL("https://example.invalid/index.php?page=doc/LicenseAgreement.php", "");
    const std::vector<c_ShellExecuteRecorder::s_Call> calls = shell.GetCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].m_Verb, "open");
    EXPECT_EQ(calls[0].m_File, "https://example.invalid/index.php?page=doc/LicenseAgreement.php");
    EXPECT_EQ(calls[0].m_Parameters, "");
    EXPECT_EQ(calls[0].m_Folder, "");
    EXPECT_EQ(calls[0].m_Mask, static_cast<ULONG>(SEE_MASK_NO_CONSOLE));
    EXPECT_EQ(calls[0].m_Show, SW_SHOWNORMAL);
    EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>());
}

TEST_F(ProgramStart, OpenURLWithABrowserStartsItInItsFolderWithANewTab) {
    c_ShellExecuteRecorder shell;
    OpenURL("https://example.invalid/Support Board.php", "C:\\B\\browser.exe");
    EXPECT_EQ(WaitForRecord(), "-new-tab\nhttps://example.invalid/Support Board.php\n/c/B\n");
    EXPECT_EQ(m_Log.TakeLines(),
              std::vector<std::string>{"Created process C:\\B\\browser.exe.  Current folder: C:\\B.  Parameters: "
                                       "-new-tab \"https://example.invalid/Support Board.php\""});
    OpenURL("https://example.invalid/", "C:\\B\\missing.exe");
    EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>{"Error creating process C:\\B\\missing.exe.  Windows error "
                                                          "code 2: The system cannot find the file specified."});
    EXPECT_TRUE(shell.GetCalls().empty()) << "the shell is not asked";
}

TEST(BrowserParameters, QuoteTheWholeURL) {
    const struct {
        const char* m_URL;
        const char* m_Parameters;
    } cases[] = {
        {"https://example.invalid/", "-new-tab \"https://example.invalid/\""},
        {"https://example.invalid/a b?c=d e", "-new-tab \"https://example.invalid/a b?c=d e\""},
        {"", "-new-tab \"\""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(ToStd(MakeBrowserParameters(row.m_URL)), row.m_Parameters);
    }
}

} // namespace
