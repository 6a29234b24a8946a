// Tests of c_InstallerDialog through the real application, driven as a user drives it.

#include "installer/c_InstallerDialog.h"

#include "installer/Deployment.h"
#include "installer/InstallerResourceIds.h"
#include "installer/testing/c_InstallerRun.h"
#include "installer/testing/c_RecordingDownloader.h"
#include "platform/testing/ShellHooks.h"
#include "platform/testing/TestClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using n_Platform::WaitUntil;

std::string WindowTitle(HWND window) {
    std::u16string title(256, u'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(window, title.data(), 256)));
    return n_Platform::ToUtf8(title);
}

class InstallerDialog : public testing::Test {
protected:
    n_Platform::c_DialogDriver& Driver() { return m_Run.Driver(); }
    HWND Dialog() { return m_Run.Dialog(); }
    std::string Text(int id) { return n_Platform::ToUtf8(Driver().GetText(Dialog(), id)); }
    bool Enabled(int id) { return Driver().IsEnabled(Dialog(), id); }
    // Waits for a box, checks its caption, and answers it.
    std::string AnswerBox(int answer) {
        const auto box = Driver().WaitForMessageBox();
        if (!box) {
            return "";
        }
        EXPECT_EQ(n_Platform::ToUtf8(box->m_Caption), "Dovrik Chart Installer");
        EXPECT_TRUE(Driver().Answer(answer));
        return n_Platform::ToUtf8(box->m_Text);
    }
    bool WaitForCalls(const std::vector<std::string>& calls) {
        return WaitUntil([&] { return m_Downloads.GetCalls() == calls; });
    }

    c_RecordingDownloaderFactory m_Downloads;
    c_InstallerRun m_Run;
};

TEST_F(InstallerDialog, TheTitleAndTheProductName) {
    ASSERT_TRUE(m_Run.Start(u"/Version=2"));
    EXPECT_EQ(WindowTitle(Dialog()), "Dovrik Chart Installer");
    EXPECT_EQ(Text(IDC_SEND_LOG), "Send Log to Support");
    EXPECT_EQ(Driver().GetListLines(Dialog(), IDC_LOG_LIST), std::vector<std::u16string>{u"Installer version: 12"});
}

TEST_F(InstallerDialog, AnInstallerNameReplacesTheProductName) {
    ASSERT_TRUE(m_Run.Start(u"/InstallerName=Acme Charts"));
    EXPECT_EQ(WindowTitle(Dialog()), "Acme Charts Installer");
    EXPECT_EQ(Text(IDC_INSTALL_PATH), "C:\\Acme Charts");
}

TEST_F(InstallerDialog, AProgramFolderWithoutTheProductWordsProposesTheDriveRootAndTheName) {
    ASSERT_TRUE(m_Run.Start());
    EXPECT_EQ(Text(IDC_INSTALL_PATH), "C:\\DovrikChart");
}

struct s_InitialStateCase {
    const char* m_Name;
    const char16_t* m_CommandLine;
    const char* m_Path;
    bool m_PathEnabled;
    bool m_ShortcutsChecked;
    bool m_ShortcutsEnabled;
    int m_Selection;
    const char* m_Number;
};

const s_InitialStateCase INITIAL_STATE_CASES[] = {
    {"Defaults", u"", "C:\\DovrikChart", true, true, true, 0, ""},
    {"GivenPathShortcutsAndVersion", u"/InstallPath=C:\\Programs\\X /CreateShortcuts=FALSE /Version=1234",
     "C:\\Programs\\X", false, false, false, 2, "1234"},
    {"Prerelease", u"/Version=-1", "C:\\DovrikChart", true, true, true, 1, ""},
    {"CurrentByZero", u"/Version=0", "C:\\DovrikChart", true, true, true, 0, ""},
    {"BelowPrereleaseSelectsNothing", u"/Version=-5", "C:\\DovrikChart", true, true, true, -1, ""},
    {"NotANumberIsCurrent", u"/Version=abc", "C:\\DovrikChart", true, true, true, 0, ""},
    {"OtherShortcutValueKeepsTheTicks", u"/CreateShortcuts=maybe", "C:\\DovrikChart", true, true, false, 0, ""},
};

class InstallerDialogInitialState : public InstallerDialog, public testing::WithParamInterface<s_InitialStateCase> {};

TEST_P(InstallerDialogInitialState, FollowsTheCommandLine) {
    const s_InitialStateCase& row = GetParam();
    ASSERT_TRUE(m_Run.Start(row.m_CommandLine));
    EXPECT_EQ(Text(IDC_INSTALL_PATH), row.m_Path);
    EXPECT_EQ(Enabled(IDC_INSTALL_PATH), row.m_PathEnabled);
    EXPECT_EQ(Enabled(IDC_BROWSE), row.m_PathEnabled);
    for (int id : {IDC_START_MENU_SHORTCUT, IDC_DESKTOP_SHORTCUT}) {
        EXPECT_EQ(Driver().IsChecked(Dialog(), id), row.m_ShortcutsChecked) << id;
        EXPECT_EQ(Enabled(id), row.m_ShortcutsEnabled) << id;
    }
    EXPECT_TRUE(Driver().IsChecked(Dialog(), IDC_RUN_AFTER_INSTALL));
    EXPECT_EQ(Driver().GetSelection(Dialog(), IDC_VERSION_KIND), row.m_Selection);
    EXPECT_EQ(Text(IDC_SPECIFIC_VERSION), row.m_Number);
    EXPECT_EQ(Enabled(IDC_SPECIFIC_VERSION), row.m_Selection == 2);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, InstallerDialogInitialState, testing::ValuesIn(INITIAL_STATE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST(InstallerDialogFolder, AProgramFolderNamedLikeTheProductIsProposed) {
    c_RecordingDownloaderFactory downloads;
    c_InstallerRun run("Dovrik Tools");
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(n_Platform::ToUtf8(run.Driver().GetText(run.Dialog(), IDC_INSTALL_PATH)),
              run.GetProgramFolderInDriveForm());
}

TEST_F(InstallerDialog, BrowseStartsAtTheDefaultPathAndTakesTheChosenFolder) {
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().SetText(Dialog(), IDC_INSTALL_PATH, u"C:\\Typed"));
    Driver().SetFolderPickerResult(u"C:\\Apps\\Chart");
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_BROWSE));
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_INSTALL_PATH) == "C:\\Apps\\Chart"; }));
    EXPECT_EQ(n_Platform::ToUtf8(Driver().GetFolderPickerSelection()), "C:\\DovrikChart");
    EXPECT_EQ(n_Platform::ToUtf8(Driver().GetFolderPickerTitle()), "Installation path");
}

TEST_F(InstallerDialog, TheProgramFilesFolderItselfAsksFirst) {
    ASSERT_TRUE(m_Run.Start());
    std::filesystem::create_directories(m_Run.Drives().GetC() + "/Program Files/Sub");
    Driver().SetFolderPickerResult(u"C:\\Program Files");
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_BROWSE));
    EXPECT_EQ(AnswerBox(IDNO), "It is strongly recommended not to install Dovrik Chart in the Program Files folder "
                               "because it cannot function properly in this folder. Do not use this folder unless "
                               "you know what you are doing. Do you want to continue?");
    EXPECT_EQ(Text(IDC_INSTALL_PATH), "C:\\DovrikChart");

    Driver().SetFolderPickerResult(u"C:\\Program Files\\Sub");
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_BROWSE));
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_INSTALL_PATH) == "C:\\Program Files\\Sub"; }));

    Driver().SetFolderPickerResult(u"C:\\Program Files");
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_BROWSE));
    AnswerBox(IDYES);
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_INSTALL_PATH) == "C:\\Program Files"; }));
}

TEST_F(InstallerDialog, APathOfThreeCharactersIsNotAPath) {
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().SetText(Dialog(), IDC_INSTALL_PATH, u" C:\\ "));
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
    EXPECT_EQ(AnswerBox(IDOK), "Installation path not specified");
    ASSERT_TRUE(WaitUntil([&] { return Enabled(IDC_INSTALL); }));
    EXPECT_TRUE(Enabled(IDC_INSTALL_PATH));
    EXPECT_EQ(m_Downloads.GetCalls(), std::vector<std::string>{});
}

TEST_F(InstallerDialog, InstallHandsTheChoicesToTheDownloaderAndStartsIt) {
    m_Run.App().GetHTTPProxySettings().m_ProxyAddress = "proxy.test";
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().SetText(Dialog(), IDC_INSTALL_PATH, u"  C:\\Charts  "));
    ASSERT_TRUE(Driver().SelectComboIndex(Dialog(), IDC_VERSION_KIND, 2));
    ASSERT_TRUE(Driver().SetText(Dialog(), IDC_SPECIFIC_VERSION, u"77"));
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
    ASSERT_TRUE(WaitForCalls({"1 version 77", "1 path C:\\Charts", "1 staging DownloadedInstallationFiles",
                              "1 proxy proxy.test", "1 start"}));
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOSE) == "Cancel download"; }));
    EXPECT_FALSE(Enabled(IDC_INSTALL));
}

struct s_VersionChoiceCase {
    const char* m_Name;
    int m_Selection;
    const char16_t* m_Number;
    const char* m_Call;
};

const s_VersionChoiceCase VERSION_CHOICE_CASES[] = {
    {"Current", 0, u"55", "1 version 0"},
    {"Prerelease", 1, u"55", "1 version -1"},
    {"SpecificEmptyIsCurrent", 2, u"", "1 version 0"},
};

class InstallerDialogVersionChoice : public InstallerDialog, public testing::WithParamInterface<s_VersionChoiceCase> {};

TEST_P(InstallerDialogVersionChoice, GivesTheDownloaderItsVersion) {
    const s_VersionChoiceCase& row = GetParam();
    ASSERT_TRUE(m_Run.Start(u"/Version=9"));
    ASSERT_TRUE(Driver().SetText(Dialog(), IDC_SPECIFIC_VERSION, row.m_Number));
    ASSERT_TRUE(Driver().SelectComboIndex(Dialog(), IDC_VERSION_KIND, row.m_Selection));
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
    ASSERT_TRUE(WaitUntil([&] { return !m_Downloads.GetCalls().empty(); }));
    EXPECT_EQ(m_Downloads.GetCalls().front(), row.m_Call);
}

INSTANTIATE_TEST_SUITE_P(Kinds, InstallerDialogVersionChoice, testing::ValuesIn(VERSION_CHOICE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

const int ALL_INPUTS[] = {IDC_READ_LICENSE,
                          IDC_INSTALL_PATH_GROUP,
                          IDC_INSTALL_PATH,
                          IDC_BROWSE,
                          IDC_START_MENU_SHORTCUT,
                          IDC_DESKTOP_SHORTCUT,
                          IDC_RUN_AFTER_INSTALL,
                          IDC_VERSION_GROUP,
                          IDC_VERSION_KIND,
                          IDC_SPECIFIC_VERSION_LABEL,
                          IDC_SPECIFIC_VERSION,
                          IDC_PROGRESS,
                          IDC_INSTALL,
                          IDC_CLOSE,
                          IDC_SEND_LOG,
                          IDC_PROXY_SETTINGS,
                          IDC_LOG_LIST};

struct s_EnableCase {
    const char* m_Name;
    const char16_t* m_CommandLine;
    bool m_Installing;
    std::vector<int> m_Disabled;
};

const s_EnableCase ENABLE_CASES[] = {
    {"IdleCurrentVersion", u"", false, {IDC_SPECIFIC_VERSION_LABEL, IDC_SPECIFIC_VERSION}},
    {"IdleSpecificVersion", u"/Version=4", false, {}},
    {"IdleGivenPath",
     u"/InstallPath=C:\\Given",
     false,
     {IDC_INSTALL_PATH_GROUP, IDC_INSTALL_PATH, IDC_BROWSE, IDC_SPECIFIC_VERSION_LABEL, IDC_SPECIFIC_VERSION}},
    {"IdleGivenShortcuts",
     u"/CreateShortcuts=true",
     false,
     {IDC_START_MENU_SHORTCUT, IDC_DESKTOP_SHORTCUT, IDC_SPECIFIC_VERSION_LABEL, IDC_SPECIFIC_VERSION}},
    {"Installing",
     u"/Version=4",
     true,
     {IDC_READ_LICENSE, IDC_INSTALL_PATH_GROUP, IDC_INSTALL_PATH, IDC_BROWSE, IDC_START_MENU_SHORTCUT,
      IDC_DESKTOP_SHORTCUT, IDC_RUN_AFTER_INSTALL, IDC_VERSION_GROUP, IDC_VERSION_KIND, IDC_SPECIFIC_VERSION_LABEL,
      IDC_SPECIFIC_VERSION, IDC_PROGRESS, IDC_INSTALL}},
};

class InstallerDialogInputs : public InstallerDialog, public testing::WithParamInterface<s_EnableCase> {};

TEST_P(InstallerDialogInputs, AreEnabledByTheTable) {
    const s_EnableCase& row = GetParam();
    ASSERT_TRUE(m_Run.Start(row.m_CommandLine));
    if (row.m_Installing) {
        ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
        ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOSE) == "Cancel download"; }));
    }
    for (int id : ALL_INPUTS) {
        const bool disabled = std::find(row.m_Disabled.begin(), row.m_Disabled.end(), id) != row.m_Disabled.end();
        EXPECT_EQ(Enabled(id), !disabled) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(States, InstallerDialogInputs, testing::ValuesIn(ENABLE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST_F(InstallerDialog, ChoosingSpecificVersionEnablesTheNumber) {
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().SelectComboIndex(Dialog(), IDC_VERSION_KIND, 2));
    ASSERT_TRUE(WaitUntil([&] { return Enabled(IDC_SPECIFIC_VERSION) && Enabled(IDC_SPECIFIC_VERSION_LABEL); }));
    ASSERT_TRUE(Driver().SelectComboIndex(Dialog(), IDC_VERSION_KIND, 1));
    ASSERT_TRUE(WaitUntil([&] { return !Enabled(IDC_SPECIFIC_VERSION) && !Enabled(IDC_SPECIFIC_VERSION_LABEL); }));
}

TEST_F(InstallerDialog, ADownloadErrorIsShownAndTheDownloaderReplacedAfterTheBox) {
    n_Platform::c_TestClock clock;
    m_Downloads.FailStartWith("No files to download.");
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
    EXPECT_EQ(AnswerBox(IDOK), "No files to download. Press 'Install' to retry.");
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOSE) == "Cancel download"; }));
    EXPECT_EQ(m_Downloads.GetMade(), 1);
    clock.Advance(250);
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOSE) == "Close"; }));
    EXPECT_TRUE(Enabled(IDC_INSTALL));
    EXPECT_EQ(Driver().GetProgress(Dialog(), IDC_PROGRESS), 0);
    const std::vector<std::string> calls = m_Downloads.GetCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
              (std::vector<std::string>{"1 cancel", "1 deleted"}));
    EXPECT_EQ(m_Downloads.GetMade(), 2);
    EXPECT_EQ(m_Downloads.GetLive(), 1);
    const std::vector<std::u16string> lines = Driver().GetListLines(Dialog(), IDC_LOG_LIST);
    EXPECT_EQ(lines.back(), u"No files to download.");
}

TEST_F(InstallerDialog, CloseWhileDownloadingAsksAndYesReturnsToIdle) {
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOSE) == "Cancel download"; }));
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_CLOSE));
    EXPECT_EQ(AnswerBox(IDNO), "Installation is not yet completed. Are you sure you want to cancel?");
    ASSERT_TRUE(Driver().Close(Dialog()));
    AnswerBox(IDYES);
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOSE) == "Close"; }));
    EXPECT_TRUE(Enabled(IDC_INSTALL));
    EXPECT_EQ(m_Downloads.GetMade(), 2);
    EXPECT_EQ(m_Downloads.GetLive(), 1);
    EXPECT_EQ(Driver().GetListLines(Dialog(), IDC_LOG_LIST).back(), u"Download canceled by user.");
}

TEST_F(InstallerDialog, CloseWhenIdleEndsTheDialogWithOne) {
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_CLOSE));
    ASSERT_TRUE(m_Run.WaitUntilEnded());
    EXPECT_EQ(m_Downloads.GetLive(), 0);
}

TEST_F(InstallerDialog, CancelDuringADownloadCancelsAndDeletesTheDownloader) {
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_INSTALL));
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOSE) == "Cancel download"; }));
    // What Escape sends; the layer refuses the key itself while the focused Install button is disabled.
    PostMessageW(Dialog(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(m_Run.WaitUntilEnded());
    const std::vector<std::string> calls = m_Downloads.GetCalls();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
              (std::vector<std::string>{"1 cancel", "1 deleted"}));
    EXPECT_EQ(m_Downloads.GetLive(), 0);
}

TEST_F(InstallerDialog, AutoStartPressesInstallDuringTheStart) {
    ASSERT_TRUE(m_Run.Start(u"/AutoStart2=1 /InstallPath=C:\\Auto"));
    ASSERT_TRUE(WaitForCalls(
        {"1 version 0", "1 path C:\\Auto", "1 staging DownloadedInstallationFiles", "1 proxy ", "1 start"}));
}

TEST_F(InstallerDialog, TheLicenceButtonOpensTheLicencePage) {
    c_ShellExecuteRecorder opened;
    ASSERT_TRUE(m_Run.Start());
    ASSERT_TRUE(Driver().Click(Dialog(), IDC_READ_LICENSE));
    ASSERT_TRUE(WaitUntil([&] { return !opened.GetCalls().empty(); }));
    const c_String expected = GetWebSiteBaseURL() + "index.php?page=doc/LicenseAgreement.php";
    EXPECT_EQ(opened.GetCalls().front().m_File, std::string(expected.begin(), expected.end()));
    EXPECT_EQ(opened.GetCalls().front().m_Verb, "open");
}

TEST_F(InstallerDialog, TheCommandsMenuIsRemoved) {
    ASSERT_TRUE(m_Run.Start());
    EXPECT_TRUE(WaitUntil([&] { return GetMenuItemCount(GetMenu(Dialog())) == 0; }));
}

TEST(InstallerDialogWithoutDownloader, InstallAndCloseDoNothing) {
    c_InstallerRun run;
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.Driver().Click(run.Dialog(), IDC_INSTALL));
    ASSERT_TRUE(run.Driver().Click(run.Dialog(), IDC_CLOSE));
    EXPECT_TRUE(run.Driver().IsEnabled(run.Dialog(), IDC_INSTALL));
    EXPECT_TRUE(IsWindow(run.Dialog()));
}

} // namespace
