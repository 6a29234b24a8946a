// Tests of the installer dialog's log: the list, the pending lines of other threads and the file.

#include "installer/c_InstallerDialog.h"

#include "installer/InstallerResourceIds.h"
#include "installer/testing/c_InstallerRun.h"
#include "oslayer/system/LogMessage.h"
#include "platform/testing/TestClock.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

using n_Platform::WaitUntil;

class InstallerLog : public testing::Test {
protected:
    std::vector<std::u16string> ListLines() { return m_Run.Driver().GetListLines(m_Run.Dialog(), IDC_LOG_LIST); }
    std::vector<std::filesystem::path> LogFiles() {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(m_Run.GetProgramFolder() + "Logs", error)) {
            files.push_back(entry.path());
        }
        return files;
    }
    std::string LogFileText() {
        const auto files = LogFiles();
        return files.size() == 1 ? ReadTestFile(files.front().string()) : "";
    }
    // Logs from a thread of its own, as the network core's threads do.
    static void LogFromThread(const std::string& line) {
        std::thread([line] { LogMessage(c_StringView(line.c_str())); }).join();
    }
    int Selection() { return m_Run.Driver().GetSelection(m_Run.Dialog(), IDC_LOG_LIST); }

    n_Platform::c_TestClock m_Clock;
    c_InstallerRun m_Run;
};

TEST_F(InstallerLog, TheFileIsNamedByTheUTCTimeAndEachLineEndsWithIt) {
    ASSERT_TRUE(m_Run.Start());
    LogFromThread("second line");
    const auto files = LogFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(files.front().filename().string(), std::regex(R"(Installer Log \d{4}-\d\d-\d\d \d{6}\.log)")));
    EXPECT_TRUE(std::regex_match(LogFileText(), std::regex("Installer version: 12 \\| \\d{4}-\\d\\d-\\d\\d  "
                                                           "\\d\\d:\\d\\d:\\d\\d\r\n"
                                                           "second line \\| \\d{4}-\\d\\d-\\d\\d  "
                                                           "\\d\\d:\\d\\d:\\d\\d\r\n")));
}

TEST_F(InstallerLog, LinesOfWorkerThreadsAreInTheFileAtOnceAndInTheListAfterOneTick) {
    ASSERT_TRUE(m_Run.Start());
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([thread] {
            for (int line = 0; line < 25; ++line) {
                LogMessage(c_String::MakeFormatted("worker %d line %d", thread, line));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::string file = LogFileText();
    for (int thread = 0; thread < 4; ++thread) {
        for (int line = 0; line < 25; ++line) {
            EXPECT_NE(file.find("worker " + std::to_string(thread) + " line " + std::to_string(line) + " | "),
                      std::string::npos);
        }
    }
    EXPECT_EQ(ListLines().size(), 1u);
    m_Clock.Advance(1000);
    ASSERT_TRUE(WaitUntil([&] { return ListLines().size() == 101; }));
    EXPECT_EQ(Selection(), 100);
}

TEST_F(InstallerLog, TheListFollowsNewLinesOnlyWhileItsLastLineIsSelected) {
    ASSERT_TRUE(m_Run.Start());
    const HWND list = GetDlgItem(m_Run.Dialog(), IDC_LOG_LIST);
    LogFromThread("two");
    m_Clock.Advance(1000);
    ASSERT_TRUE(WaitUntil([&] { return ListLines().size() == 2; }));
    EXPECT_EQ(Selection(), 1);

    SendMessageW(list, LB_SETCURSEL, 0, 0);
    LogFromThread("three");
    m_Clock.Advance(1000);
    ASSERT_TRUE(WaitUntil([&] { return ListLines().size() == 3; }));
    EXPECT_EQ(Selection(), 0);

    SendMessageW(list, LB_SETCURSEL, 2, 0);
    LogFromThread("four");
    m_Clock.Advance(1000);
    ASSERT_TRUE(WaitUntil([&] { return ListLines().size() == 4; }));
    EXPECT_EQ(Selection(), 3);
}

TEST(InstallerLogFile, ALogsFileInPlaceOfTheFolderGivesOneErrorLineAndNoFile) {
    n_Platform::c_TestClock clock;
    c_InstallerRun run;
    WriteTestFile(run.GetProgramFolder() + "Logs", "not a folder");
    ASSERT_TRUE(run.Start());
    std::thread([] { LogMessage("later"); }).join();
    clock.Advance(1000);
    const auto lines = [&] { return run.Driver().GetListLines(run.Dialog(), IDC_LOG_LIST); };
    ASSERT_TRUE(WaitUntil([&] { return lines().size() == 3; }));
    EXPECT_EQ(lines()[0], u"Installer version: 12");
    EXPECT_EQ(lines()[1].rfind(u"Error opening log file.   File error: ", 0), 0u) << n_Platform::ToUtf8(lines()[1]);
    EXPECT_EQ(lines()[2], u"later");
    EXPECT_EQ(ReadTestFile(run.GetProgramFolder() + "Logs"), "not a folder");
}

TEST(InstallerLogSink, RemovingItWhileAThreadLogsIsClean) {
    c_InstallerRun run;
    ASSERT_TRUE(run.Start());
    std::atomic<bool> stop{false};
    std::atomic<int> logged{0};
    std::thread worker([&] {
        while (!stop) {
            LogMessage("busy");
            ++logged;
        }
    });
    ASSERT_TRUE(WaitUntil([&] { return logged > 100; }));
    run.End();
    const int atEnd = logged;
    ASSERT_TRUE(WaitUntil([&] { return logged > atEnd + 100; }));
    stop = true;
    worker.join();
    EXPECT_EQ(SetLogSink(nullptr), nullptr);
}

} // namespace
