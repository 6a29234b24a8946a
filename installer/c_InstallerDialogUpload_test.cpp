// Tests of the log upload from the installer dialog: the name dialog, the message sent through the
// downloader, and what the dialog does with the upload's end.

#include "installer/c_InstallerDialog.h"

#include "installer/Deployment.h"
#include "installer/InstallerResourceIds.h"
#include "installer/testing/c_InstallerRun.h"
#include "installer/testing/c_RecordingDownloader.h"
#include "oslayer/system/LogMessage.h"
#include "platform/testing/ShellHooks.h"
#include "platform/testing/TestClock.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using n_Platform::ToUtf8;
using n_Platform::WaitUntil;

class InstallerUpload : public testing::Test {
protected:
    n_Platform::c_DialogDriver& Driver() { return m_Run.Driver(); }
    HWND Dialog() { return m_Run.Dialog(); }
    std::vector<std::u16string> ListLines() { return Driver().GetListLines(Dialog(), IDC_LOG_LIST); }
    // Presses "Send Log to Support" and answers the name dialog with the button.
    void SendLog(int button) {
        ASSERT_TRUE(Driver().Click(Dialog(), IDC_SEND_LOG));
        const HWND nameDialog = Driver().WaitForDialog(IDD_USER_NAME_DIALOG);
        ASSERT_NE(nameDialog, nullptr);
        ASSERT_TRUE(Driver().SetText(nameDialog, IDC_USER_NAME, u"someone@example.test"));
        ASSERT_TRUE(Driver().Click(nameDialog, button));
        ASSERT_TRUE(Driver().WaitUntilDialogEnds(nameDialog));
    }
    std::vector<std::string> Uploads() {
        std::vector<std::string> uploads;
        for (const std::string& call : m_Downloads.GetCalls()) {
            if (call.starts_with("1 upload ")) {
                uploads.push_back(call.substr(9));
            }
        }
        return uploads;
    }

    c_RecordingDownloaderFactory m_Downloads;
    c_InstallerRun m_Run;
};

TEST_F(InstallerUpload, SendsEveryLineOfTheListAfterTheName) {
    n_Platform::c_TestClock clock;
    ASSERT_TRUE(m_Run.Start());
    std::thread([] { LogMessage("a line with & = % and \xC3\xA9"); }).join();
    clock.Advance(1000);
    ASSERT_TRUE(WaitUntil([&] { return ListLines().size() == 2; }));
    SendLog(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !Uploads().empty(); }));
    EXPECT_EQ(Uploads(), std::vector<std::string>{"Log: \n\nInstaller version: 12\na line with & = % and \xC3\xA9\n"});
}

TEST_F(InstallerUpload, ASentLogOffersTheSupportPage) {
    c_ShellExecuteRecorder opened;
    m_Downloads.AnswerUploadsWith("");
    ASSERT_TRUE(m_Run.Start());
    for (const int answer : {IDNO, IDYES}) {
        SendLog(IDOK);
        const auto box = Driver().WaitForMessageBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(ToUtf8(box->m_Caption), "Dovrik Chart Installer");
        EXPECT_EQ(ToUtf8(box->m_Text),
                  "This log will *not* be reviewed by a supported engineer unless we have requested the log or you "
                  "have informed us you will be sending the log. Press the Yes button to be taken to the Support "
                  "page if you need to contact Support about installation problems.");
        EXPECT_EQ(box->m_Type & 0xF, static_cast<UINT>(MB_YESNO));
        EXPECT_EQ(ListLines().back(), u"Log has been sent to support.");
        EXPECT_TRUE(opened.GetCalls().empty()) << "nothing opens before the answer";
        ASSERT_TRUE(Driver().Answer(answer));
    }
    ASSERT_TRUE(WaitUntil([&] { return !opened.GetCalls().empty(); }));
    const c_String page = GetWebSiteBaseURL() + "SupportBoard.php";
    ASSERT_EQ(opened.GetCalls().size(), 1u) << "No opens nothing";
    EXPECT_EQ(opened.GetCalls().front().m_File, std::string(page.begin(), page.end()));
}

TEST_F(InstallerUpload, AFailedUploadIsOnlyLogged) {
    m_Downloads.AnswerUploadsWith("Error sending the installer log: Internal Server Error");
    ASSERT_TRUE(m_Run.Start());
    SendLog(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return ListLines().size() == 2; }));
    EXPECT_EQ(ListLines().back(), u"Error sending the installer log: Internal Server Error");
}

} // namespace
