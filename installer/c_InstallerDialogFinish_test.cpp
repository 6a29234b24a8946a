// Tests of the end of an installation through the real application: the staged files moved into
// place, the installer's copy, the shortcuts, the result, Close, and the run that nobody attends.

#include "installer/c_InstallerDialog.h"

#include "installer/InstallerResourceIds.h"
#include "installer/testing/c_InstallerRun.h"
#include "installer/testing/c_RecordingDownloader.h"
#include "oslayer/testing/ShortcutReading.h"
#include "oslayer/testing/c_RecordingProgram.h"
#include "platform/testing/TestClock.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using n_Platform::ToUtf8;
using n_Platform::WaitUntil;

const char* const INSTALLED_BY_DEFAULT = "Installation is now complete. Press the Close button.";
const char* const INSTALLED_WITH_ERRORS =
    "Installation completed with errors. Refer to log and then press the Close button.";

class InstallerFinish : public testing::Test {
protected:
    void SetUp() override {
        // The running installer, whose copy goes into the installation folder.
        WriteTestFile(m_Run.GetProgramFolder() + "DovrikChartInstaller.exe", "installer v2");
        std::filesystem::create_directories(C("Inst/DownloadedInstallationFiles"));
        // The installed program, which the shortcuts point at.
        WriteTestFile(C("Inst/DovrikChart_64.exe"), "program");
    }

    // A Linux path under C:\, from a path written with '/'.
    std::string C(const std::string& path) const { return m_Run.Drives().GetC() + "/" + path; }
    // Stages a file as the downloader does: folder is "" or '\'-separated, under the staging folder.
    void Stage(const std::string& folder, const std::string& name, const std::string& content) {
        std::string linuxFolder = folder;
        std::replace(linuxFolder.begin(), linuxFolder.end(), '\\', '/');
        const std::string stagingFolder = "Inst/DownloadedInstallationFiles/" + linuxFolder;
        std::filesystem::create_directories(C(stagingFolder));
        WriteTestFile(C(stagingFolder + "/" + name), content);
        AddMove(folder, name);
    }
    void AddMove(const std::string& folder, const std::string& name) {
        const std::string inFolder = folder.empty() ? name : folder + "\\" + name;
        m_Downloads.FileMoves().push_back({c_String(("C:\\Inst\\DownloadedInstallationFiles\\" + inFolder).c_str()),
                                           c_String(("C:\\Inst\\" + inFolder).c_str()), false});
    }
    // Starts with the installation folder C:\Inst and the extra keys, and presses Install, whose
    // downloader finishes at once.
    void Install(const std::u16string& extraKeys = u"", bool downloadedFiles = true) {
        m_Downloads.CompleteStartWith(downloadedFiles);
        ASSERT_TRUE(m_Run.Start(u"/InstallPath=C:\\Inst" + extraKeys));
        ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
    }
    // Waits for the box, checks its caption, answers it and gives its text.
    std::string AnswerBox(int answer) {
        const auto box = Driver().WaitForMessageBox();
        if (!box) {
            return "";
        }
        EXPECT_EQ(ToUtf8(box->m_Caption), "Dovrik Chart Installer");
        EXPECT_TRUE(Driver().Answer(answer));
        return ToUtf8(box->m_Text);
    }
    // The log list after the version line.
    std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        for (const std::u16string& line : Driver().GetListLines(Dialog(), IDC_LOG_LIST)) {
            lines.push_back(ToUtf8(line));
        }
        return std::vector<std::string>(lines.begin() + std::min<std::size_t>(1, lines.size()), lines.end());
    }
    std::string LogFileText() {
        std::string text;
        for (const auto& entry : std::filesystem::directory_iterator(m_Run.GetProgramFolder() + "Logs")) {
            text += ReadTestFile(entry.path().string());
        }
        return text;
    }
    std::vector<std::string> NamesIn(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(C(folder))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    n_Platform::c_DialogDriver& Driver() { return m_Run.Driver(); }
    HWND Dialog() { return m_Run.Dialog(); }
    std::string Text(int id) { return ToUtf8(Driver().GetText(Dialog(), id)); }

    c_RecordingDownloaderFactory m_Downloads;
    c_InstallerRun m_Run;
};

const std::string START_MENU = "ProgramData/Microsoft/Windows/Start Menu/Programs/";

TEST_F(InstallerFinish, MovesTheStagedFilesIntoPlaceAndSaysSo) {
    WriteTestFile(C("Inst/old.txt"), "old bytes");
    Stage("", "DovrikChart_64.exe", "program");
    Stage("", "old.txt", "new bytes");
    Stage("Charts\\Deep", "c.txt", "deep");
    Install();
    EXPECT_EQ(AnswerBox(IDOK), INSTALLED_BY_DEFAULT);
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{
                  "Starting move of DovrikChart_64.exe",
                  "Successfully moved C:\\Inst\\DownloadedInstallationFiles\\DovrikChart_64.exe file to "
                  "the folder C:\\Inst\\",
                  "Starting move of old.txt",
                  "Successfully moved C:\\Inst\\DownloadedInstallationFiles\\old.txt file to the folder "
                  "C:\\Inst\\",
                  "Starting move of c.txt",
                  "Successfully moved C:\\Inst\\DownloadedInstallationFiles\\Charts\\Deep\\c.txt file to the "
                  "folder C:\\Inst\\Charts\\Deep\\",
                  "Installation complete.",
              }));
    EXPECT_EQ(ReadTestFile(C("Inst/old.txt")), "new bytes");
    EXPECT_EQ(ReadTestFile(C("Inst/Charts/Deep/c.txt")), "deep");
    EXPECT_EQ(ReadTestFile(C("Inst/DovrikChartFileDownloader.exe")), "installer v2");
    for (const s_FileMove& move : m_Downloads.FileMoves()) {
        EXPECT_TRUE(move.m_Moved) << ToStd(move.m_FinalPath);
    }
    EXPECT_EQ(NamesIn("Inst/DownloadedInstallationFiles"), (std::vector<std::string>{"Charts"}));
    EXPECT_EQ(Driver().GetProgress(Dialog(), IDC_PROGRESS), 100);
    EXPECT_FALSE(Driver().IsEnabled(Dialog(), IDC_INSTALL));
    for (const std::string& folder : {START_MENU, std::string("Desktop/")}) {
        const s_ReadShortcut shortcut = ReadShortcut(C(folder + "DovrikChart_64 (C_Inst).lnk").c_str());
        EXPECT_TRUE(shortcut.m_Loaded) << folder;
        EXPECT_EQ(shortcut.m_Target, "C:\\Inst\\DovrikChart_64.exe") << folder;
    }
}

TEST_F(InstallerFinish, NothingToDownloadIsUpToDate) {
    Install(u"", false);
    EXPECT_EQ(AnswerBox(IDOK), INSTALLED_BY_DEFAULT);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"Dovrik Chart is up to date. No updates were downloaded."}));
}

// The destination is open without delete sharing, as a running program holds it: every attempt
// fails, 4000 ms apart on the test clock, and the old file and the staged one stay.
TEST_F(InstallerFinish, SixFailedMovesEndWithErrorsAndStillMakeTheShortcuts) {
    n_Platform::c_TestClock clock;
    WriteTestFile(C("Inst/locked.txt"), "old bytes");
    const HANDLE locked =
        CreateFileW(u"C:\\Inst\\locked.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    Stage("", "locked.txt", "new bytes");
    Install();
    const DWORD uiThread = GetWindowThreadProcessId(Dialog(), nullptr);
    for (int attempt = 1; attempt <= 6; ++attempt) {
        ASSERT_TRUE(n_Platform::WaitForTimedSleep(uiThread)) << attempt;
        clock.Advance(4000);
    }
    EXPECT_EQ(AnswerBox(IDOK), INSTALLED_WITH_ERRORS);
    CloseHandle(locked);
    std::vector<std::string> expected;
    for (int attempt = 1; attempt <= 6; ++attempt) {
        expected.insert(expected.end(), {"Starting move of locked.txt",
                                         "Error opening C:\\Inst\\locked.txt.  File error: Windows error code 32: The "
                                         "process cannot access the file because it is being used by another process.",
                                         "Error encountered with file move. Retrying in 4 seconds."});
    }
    expected.push_back("Installation completed with errors.");
    EXPECT_EQ(LogLines(), expected);
    EXPECT_FALSE(m_Downloads.FileMoves().front().m_Moved);
    EXPECT_EQ(ReadTestFile(C("Inst/locked.txt")), "old bytes");
    EXPECT_EQ(ReadTestFile(C("Inst/DownloadedInstallationFiles/locked.txt")), "new bytes");
    EXPECT_EQ(NamesIn("Inst"), (std::vector<std::string>{"DovrikChartFileDownloader.exe", "DovrikChart_64.exe",
                                                         "DownloadedInstallationFiles", "locked.txt"}))
        << "no temporary file is left";
    EXPECT_TRUE(TestFileExists(C(START_MENU + "DovrikChart_64 (C_Inst).lnk")));
    EXPECT_TRUE(TestFileExists(C("Desktop/DovrikChart_64 (C_Inst).lnk")));
}

TEST_F(InstallerFinish, AFolderThatCannotBeMadeEndsWithErrors) {
    WriteTestFile(C("Inst/Blocked"), "a file where the folder goes");
    Stage("Blocked", "x.txt", "x");
    Install();
    EXPECT_EQ(AnswerBox(IDOK), INSTALLED_WITH_ERRORS);
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("CreateFolderRecursively: ")) << lines[0];
    EXPECT_EQ(lines[1], "Installation completed with errors.");
}

struct s_DataFolderCase {
    const char* m_Name;
    // Without a value, no "DataFilesFolder.txt".
    const char* m_DataFilesFolderText;
    const char* m_StagingFolder;
    const char* m_Arrives;
};

const s_DataFolderCase DATA_FOLDER_CASES[] = {
    {"NoTextFileMeansDataInTheInstallation", nullptr, "Data", "Inst/Data/d.txt"},
    {"ATextWithItsBackslash", " C:\\Shared\\ \r\n", "Data", "Shared/d.txt"},
    {"ATextWithoutItsBackslashIsGluedToTheName", "C:\\Shared", "Data", "Sharedd.txt"},
    {"AnyFolderNamedData", "C:\\Shared\\", "Sub\\Data", "Shared/d.txt"},
    {"OnlyDataWithItsCase", "C:\\Shared\\", "data", "Inst/data/d.txt"},
};

class InstallerFinishDataFolder : public InstallerFinish, public testing::WithParamInterface<s_DataFolderCase> {};

TEST_P(InstallerFinishDataFolder, TakesTheDataFiles) {
    const s_DataFolderCase& row = GetParam();
    if (row.m_DataFilesFolderText != nullptr) {
        WriteTestFile(C("Inst/DataFilesFolder.txt"), row.m_DataFilesFolderText);
    }
    Stage(row.m_StagingFolder, "d.txt", "data");
    Install();
    EXPECT_EQ(AnswerBox(IDOK), INSTALLED_BY_DEFAULT);
    EXPECT_EQ(ReadTestFile(C(row.m_Arrives)), "data");
    EXPECT_EQ(LogLines().back(), "Installation complete.");
}

INSTANTIATE_TEST_SUITE_P(Texts, InstallerFinishDataFolder, testing::ValuesIn(DATA_FOLDER_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST_F(InstallerFinish, AProtectedFileInTheDataFilesFolderStays) {
    WriteTestFile(C("Inst/DataFilesFolder.txt"), "C:\\Shared\\");
    std::filesystem::create_directories(C("Shared"));
    WriteTestFile(C("Shared/My.cfg"), "the user's settings");
    Stage("Sub\\Data", "My.cfg", "shipped settings");
    Install();
    EXPECT_EQ(AnswerBox(IDOK), INSTALLED_BY_DEFAULT);
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{"Not overwriting file since it exists: My.cfg", "Installation complete."}));
    EXPECT_EQ(ReadTestFile(C("Shared/My.cfg")), "the user's settings");
}

TEST(InstallerFinishCopy, AnExistingInstallerCopyIsNeverReplaced) {
    for (const bool copyExists : {false, true}) {
        c_RecordingDownloaderFactory downloads;
        c_InstallerRun run;
        const std::string copy = run.Drives().GetC() + "/Inst/DovrikChartFileDownloader.exe";
        std::filesystem::create_directories(run.Drives().GetC() + "/Inst");
        WriteTestFile(run.GetProgramFolder() + "DovrikChartInstaller.exe", "installer v2");
        if (copyExists) {
            WriteTestFile(copy, "installer v1");
        }
        downloads.CompleteStartWith(false);
        ASSERT_TRUE(run.Start(u"/InstallPath=C:\\Inst"));
        ASSERT_TRUE(run.Driver().Click(run.Dialog(), IDC_INSTALL));
        ASSERT_TRUE(run.Driver().WaitForMessageBox());
        ASSERT_TRUE(run.Driver().Answer(IDOK));
        EXPECT_EQ(ReadTestFile(copy), copyExists ? "installer v1" : "installer v2");
    }
}

struct s_ShortcutCase {
    const char* m_Name;
    const char16_t* m_CommandLine;
    const char* m_InstallFolder;
    const char* m_Shortcut;
    const char* m_Target;
};

const s_ShortcutCase SHORTCUT_CASES[] = {
    {"DefaultProductNamesThePath", u"/InstallPath=C:\\Programs\\X", "Programs/X", "DovrikChart_64 (C_Programs_X)",
     "C:\\Programs\\X\\DovrikChart_64.exe"},
    {"RunsOfUnderscoresCollapse", u"/InstallPath=C:\\\\\\Y//Z", "Y/Z", "DovrikChart_64 (C_Y_Z)",
     "C:\\Y\\Z\\DovrikChart_64.exe"},
    {"TheDefaultNameGivenExplicitly", u"/InstallPath=C:\\Programs\\X /InstallerName=DovrikChart", "Programs/X",
     "DovrikChart_64 (C_Programs_X)", "C:\\Programs\\X\\DovrikChart_64.exe"},
    {"AnInstallerNameAlone", u"/InstallPath=C:\\Programs\\X /InstallerName=Acme", "Programs/X", "Acme_64",
     "C:\\Programs\\X\\DovrikChart_64.exe"},
    {"ARM64ChangesOnlyTheProgram", u"/InstallPath=C:\\Programs\\X /IsARM64=1", "Programs/X",
     "DovrikChart_64 (C_Programs_X)", "C:\\Programs\\X\\DovrikChart_ARM64.exe"},
};

class InstallerFinishShortcuts : public testing::TestWithParam<s_ShortcutCase> {};

TEST_P(InstallerFinishShortcuts, AreNamedAfterTheProductAndThePath) {
    const s_ShortcutCase& row = GetParam();
    c_RecordingDownloaderFactory downloads;
    c_InstallerRun run;
    const std::string installFolder = run.Drives().GetC() + "/" + row.m_InstallFolder;
    std::filesystem::create_directories(installFolder);
    const std::string target(row.m_Target);
    WriteTestFile(installFolder + "/" + target.substr(target.rfind('\\') + 1), "program");
    downloads.CompleteStartWith(false);
    ASSERT_TRUE(run.Start(row.m_CommandLine));
    ASSERT_TRUE(run.Driver().Click(run.Dialog(), IDC_INSTALL));
    ASSERT_TRUE(run.Driver().WaitForMessageBox());
    ASSERT_TRUE(run.Driver().Answer(IDOK));
    for (const std::string& folder : {START_MENU, std::string("Desktop/")}) {
        const std::string path = run.Drives().GetC() + "/" + folder + row.m_Shortcut + ".lnk";
        const s_ReadShortcut shortcut = ReadShortcut(path.c_str());
        EXPECT_TRUE(shortcut.m_Loaded) << path;
        EXPECT_EQ(shortcut.m_Target, row.m_Target) << path;
    }
}

INSTANTIATE_TEST_SUITE_P(Names, InstallerFinishShortcuts, testing::ValuesIn(SHORTCUT_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST_F(InstallerFinish, UncheckedShortcutsAreNotMade) {
    Install(u" /CreateShortcuts=false");
    AnswerBox(IDOK);
    EXPECT_FALSE(std::filesystem::exists(C(START_MENU + "DovrikChart_64 (C_Inst).lnk")));
    EXPECT_FALSE(std::filesystem::exists(C("Desktop/DovrikChart_64 (C_Inst).lnk")));
}

// The installed program arrives by the move (so it must be able to run) and records its start.
class InstallerFinishClose : public InstallerFinish, public testing::WithParamInterface<bool> {};

TEST_P(InstallerFinishClose, StartsTheInstalledProgramWhenTicked) {
    const bool runAfterInstall = GetParam();
    const c_RecordingProgram program(u"C:\\Inst\\DownloadedInstallationFiles\\DovrikChart_64.exe", C("Inst"));
    ASSERT_TRUE(program.IsReady());
    AddMove("", "DovrikChart_64.exe");
    m_Downloads.CompleteStartWith(true);
    ASSERT_TRUE(m_Run.Start(u"/InstallPath=C:\\Inst"));
    if (!runAfterInstall) {
        ASSERT_TRUE(Driver().Click(Dialog(), IDC_RUN_AFTER_INSTALL));
        ASSERT_TRUE(WaitUntil([&] { return !Driver().IsChecked(Dialog(), IDC_RUN_AFTER_INSTALL); }));
    }
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
    EXPECT_EQ(AnswerBox(IDOK), INSTALLED_BY_DEFAULT);
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_CLOSE));
    ASSERT_TRUE(m_Run.WaitUntilEnded());
    EXPECT_EQ(m_Run.GetResult(), 0);
    const bool started = LogFileText().find("Created process C:\\Inst\\DovrikChart_64.exe") != std::string::npos;
    EXPECT_EQ(started, runAfterInstall);
    if (runAfterInstall) {
        EXPECT_FALSE(program.WaitForRecord().empty()) << "the program ran";
    }
}

INSTANTIATE_TEST_SUITE_P(RunAfterInstall, InstallerFinishClose, testing::Bool(),
                         [](const auto& info) { return info.param ? "Ticked" : "Cleared"; });

TEST_F(InstallerFinish, AutoStartClosesAfterTheDownloadersCallHasReturned) {
    const c_RecordingProgram program(u"C:\\Inst\\DownloadedInstallationFiles\\DovrikChart_64.exe", C("Inst"));
    ASSERT_TRUE(program.IsReady());
    AddMove("", "DovrikChart_64.exe");
    m_Downloads.CompleteStartWith(true);
    ASSERT_TRUE(m_Run.Start(u"/InstallPath=C:\\Inst /AutoStart2=1"));
    EXPECT_EQ(AnswerBox(IDOK), INSTALLED_BY_DEFAULT);
    ASSERT_TRUE(m_Run.WaitUntilEnded());
    const std::vector<std::string> calls = m_Downloads.GetCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"1 start", "1 start returned", "1 deleted"}));
    EXPECT_FALSE(program.WaitForRecord().empty()) << "the installed program started";
    EXPECT_EQ(m_Run.GetResult(), 0);
}

TEST_F(InstallerFinish, WithAWindowAnAutoStartErrorWaitsForTheUser) {
    n_Platform::c_TestClock clock;
    m_Downloads.FailStartWith("No files to download.");
    ASSERT_TRUE(m_Run.Start(u"/InstallPath=C:\\Inst /AutoStart2=1"));
    EXPECT_EQ(AnswerBox(IDOK), "No files to download. Press 'Install' to retry.");
    // Set once the downloader's call has returned, after the box started the timer.
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOSE) == "Cancel download"; }));
    clock.Advance(250);
    ASSERT_TRUE(WaitUntil([&] { return Driver().IsEnabled(Dialog(), IDC_INSTALL); }));
    EXPECT_TRUE(IsWindow(Dialog()));
    EXPECT_EQ(m_Downloads.GetLive(), 1);
}

// Nobody at the windows: the headless back end answers every box with its default button, and the
// run ends by itself with its status.
struct s_UnattendedCase {
    const char* m_Name;
    const char16_t* m_CommandLine;
    const char* m_StartError;
    const char* m_StagedFolder;
    int m_ExitCode;
};

const s_UnattendedCase UNATTENDED_CASES[] = {
    {"Installed", u"/InstallPath=C:\\Inst /AutoStart2=1", nullptr, "", 0},
    {"CompletedWithErrors", u"/InstallPath=C:\\Inst /AutoStart2=1", nullptr, "Blocked", 2},
    {"ADownloadError", u"/InstallPath=C:\\Inst /AutoStart2=1", "No files to download.", nullptr, 1},
    {"NoInstallationPath", u"/InstallPath=C:\\ /AutoStart2=1", nullptr, nullptr, 1},
};

class InstallerUnattended : public testing::TestWithParam<s_UnattendedCase> {};

TEST_P(InstallerUnattended, EndsByItselfWithItsStatus) {
    const s_UnattendedCase& row = GetParam();
    c_RecordingDownloaderFactory downloads;
    c_InstallerRun run("Downloads", true);
    const std::string install = run.Drives().GetC() + "/Inst";
    if (row.m_StartError != nullptr) {
        downloads.FailStartWith(row.m_StartError);
    }
    if (row.m_StagedFolder != nullptr) {
        const std::string folder = std::string(row.m_StagedFolder);
        std::filesystem::create_directories(install + "/DownloadedInstallationFiles/" + folder);
        WriteTestFile(install + "/DownloadedInstallationFiles/" + folder + "/x.txt", "x");
        WriteTestFile(install + "/Blocked", "a file where the folder goes");
        const std::string inFolder = folder.empty() ? "x.txt" : folder + "\\x.txt";
        downloads.FileMoves().push_back({c_String(("C:\\Inst\\DownloadedInstallationFiles\\" + inFolder).c_str()),
                                         c_String(("C:\\Inst\\" + inFolder).c_str()), false});
        downloads.CompleteStartWith(true);
    }
    run.Launch(row.m_CommandLine);
    ASSERT_TRUE(run.WaitUntilEnded());
    EXPECT_EQ(run.GetResult(), row.m_ExitCode);
    EXPECT_EQ(downloads.GetLive(), 0);
}

INSTANTIATE_TEST_SUITE_P(Runs, InstallerUnattended, testing::ValuesIn(UNATTENDED_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

} // namespace
