// Tests of dialogs from templates, driven by the test driver on a UI thread of their own.

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestWindows.h"
#include "platform/user/Dialogs.h"
#include "platform/user/UserInput.h"
#include "platform/user/testing/SampleDialog.h"
#include "platform/user/testing/c_DialogDriver.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using n_Platform::c_DialogDriver;
using n_Platform::WaitUntil;

using namespace n_SampleDialog;

// The sample dialog run modally on a UI thread of its own; the driver finds it by its template.
class SampleDialog : public testing::Test {
protected:
    void SetUp() override {
        n_Platform::RegisterDialogTemplate(SAMPLE_TEMPLATE);
        m_Thread = std::thread([this] {
            m_Result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(SAMPLE_DIALOG), nullptr,
                                       SampleProcedure, reinterpret_cast<LPARAM>(&m_Record));
            m_Ended = true;
        });
        m_Dialog = m_Driver.WaitForDialog(SAMPLE_DIALOG);
        ASSERT_NE(m_Dialog, nullptr);
    }
    void TearDown() override {
        if (!m_Ended) {
            EndDialogFromItsThread();
        }
        if (m_Thread.joinable()) {
            m_Thread.join();
        }
    }

    // The dialog's result, once its thread has ended.
    INT_PTR JoinResult() {
        m_Thread.join();
        return m_Result;
    }

    void EndDialogFromItsThread() {
        const HWND dialog = m_Dialog;
        n_Platform::PostUserInput(GetWindowThreadProcessId(dialog, nullptr), [dialog] { EndDialog(dialog, 0); });
    }

    c_DialogDriver m_Driver;
    s_Record m_Record;
    std::thread m_Thread;
    std::atomic<INT_PTR> m_Result{-2};
    std::atomic<bool> m_Ended{false};
    HWND m_Dialog = nullptr;
};

TEST_F(SampleDialog, StartsFromItsTemplateWithTheProgramsChangesAndNoNotification) {
    EXPECT_EQ(m_Driver.GetText(m_Dialog, GO_BUTTON), u"Go");
    EXPECT_EQ(m_Driver.GetSelection(m_Dialog, COMBO), 1);
    EXPECT_EQ(m_Driver.GetText(m_Dialog, COMBO), u"Second");
    EXPECT_TRUE(m_Driver.IsChecked(m_Dialog, CHECK_BOX));
    EXPECT_TRUE(IsWindowVisible(m_Dialog));
    EXPECT_EQ(m_Driver.GetText(m_Dialog, 0), u"");
    ASSERT_TRUE(m_Driver.Click(m_Dialog, GO_BUTTON));
    ASSERT_TRUE(WaitUntil([&] { return !m_Record.GetCommands().empty(); }));
    // The click is the first command: the selection and the check made by the program told nothing.
    EXPECT_EQ(m_Record.GetCommands(), (std::vector<std::pair<int, int>>{{GO_BUTTON, BN_CLICKED}}));
}

TEST_F(SampleDialog, UserActionsReachTheProcedureWithTheirNotifications) {
    ASSERT_TRUE(m_Driver.Click(m_Dialog, CHECK_BOX));
    ASSERT_TRUE(m_Driver.SelectComboIndex(m_Dialog, COMBO, 0));
    ASSERT_TRUE(m_Driver.SetText(m_Dialog, EDIT, u"C:\\Programs\\X"));
    ASSERT_TRUE(WaitUntil([&] { return m_Record.GetCommands().size() == 3; }));
    EXPECT_EQ(m_Record.GetCommands(),
              (std::vector<std::pair<int, int>>{{CHECK_BOX, BN_CLICKED}, {COMBO, CBN_SELCHANGE}, {EDIT, EN_CHANGE}}));
    EXPECT_FALSE(m_Driver.IsChecked(m_Dialog, CHECK_BOX));
    EXPECT_EQ(m_Driver.GetSelection(m_Dialog, COMBO), 0);
    EXPECT_EQ(m_Driver.GetText(m_Dialog, EDIT), u"C:\\Programs\\X");
    EXPECT_FALSE(m_Driver.SelectComboIndex(m_Dialog, COMBO, 2));
}

TEST_F(SampleDialog, ADisabledControlRefusesTheClick) {
    EnableWindow(GetDlgItem(m_Dialog, GO_BUTTON), FALSE);
    EXPECT_FALSE(m_Driver.IsEnabled(m_Dialog, GO_BUTTON));
    EXPECT_FALSE(m_Driver.Click(m_Dialog, GO_BUTTON));
    ASSERT_TRUE(m_Driver.Click(m_Dialog, CHECK_BOX));
    ASSERT_TRUE(WaitUntil([&] { return !m_Record.GetCommands().empty(); }));
    EXPECT_EQ(m_Record.GetCommands(), (std::vector<std::pair<int, int>>{{CHECK_BOX, BN_CLICKED}}));
}

TEST_F(SampleDialog, EnterPressesTheDefaultButton) {
    ASSERT_TRUE(m_Driver.PressKey(m_Dialog, VK_RETURN));
    ASSERT_TRUE(m_Driver.WaitUntilDialogEnds(m_Dialog));
    EXPECT_EQ(JoinResult(), IDOK);
}

TEST_F(SampleDialog, EscapeEndsTheDialogWithCancel) {
    ASSERT_TRUE(m_Driver.PressKey(m_Dialog, VK_ESCAPE));
    ASSERT_TRUE(m_Driver.WaitUntilDialogEnds(m_Dialog));
    EXPECT_EQ(JoinResult(), IDCANCEL);
}

TEST_F(SampleDialog, CloseIsCancel) {
    ASSERT_TRUE(m_Driver.Close(m_Dialog));
    ASSERT_TRUE(m_Driver.WaitUntilDialogEnds(m_Dialog));
    EXPECT_EQ(JoinResult(), IDCANCEL);
}

TEST_F(SampleDialog, ABoxIsAnsweredByTheDriverWhileItsDialogRefusesInput) {
    ASSERT_TRUE(m_Driver.Click(m_Dialog, ASK_BUTTON));
    const std::optional<c_DialogDriver::s_MessageBoxView> box = m_Driver.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->m_Caption, u"Sample Installer");
    EXPECT_EQ(box->m_Text, u"Continue?");
    EXPECT_EQ(box->m_Type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    // The owner is disabled while the box is open: neither clicks nor closing reach it.
    EXPECT_FALSE(IsWindowEnabled(m_Dialog));
    EXPECT_FALSE(m_Driver.Click(m_Dialog, GO_BUTTON));
    EXPECT_FALSE(m_Driver.Close(m_Dialog));
    EXPECT_FALSE(m_Driver.PressKey(m_Dialog, VK_ESCAPE));
    EXPECT_FALSE(m_Driver.Answer(IDOK));
    ASSERT_TRUE(m_Driver.Answer(IDNO));
    ASSERT_TRUE(WaitUntil([&] { return !m_Record.GetAnswers().empty(); }));
    EXPECT_EQ(m_Record.GetAnswers(), std::vector<int>{IDNO});
    EXPECT_TRUE(IsWindowEnabled(m_Dialog));
    EXPECT_EQ(m_Record.GetCommands(), (std::vector<std::pair<int, int>>{{ASK_BUTTON, BN_CLICKED}}));
    EXPECT_FALSE(m_Driver.Answer(IDYES));
}

TEST_F(SampleDialog, ListLinesAndProgressAreReadBack) {
    const HWND dialog = m_Dialog;
    ASSERT_TRUE(n_Platform::PostUserInput(GetWindowThreadProcessId(dialog, nullptr), [dialog] {
        SendDlgItemMessageW(dialog, LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"one"));
        SendDlgItemMessageW(dialog, LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"two"));
        SendDlgItemMessageW(dialog, PROGRESS, PBM_SETPOS, 40, 0);
    }));
    ASSERT_TRUE(WaitUntil([&] { return m_Driver.GetProgress(m_Dialog, PROGRESS) == 40; }));
    EXPECT_EQ(m_Driver.GetListLines(m_Dialog, LIST), (std::vector<std::u16string>{u"one", u"two"}));
}

TEST_F(SampleDialog, AWorkersPostReachesAHiddenWindowWhileTheDialogRuns) {
    std::atomic<int> received{0};
    n_TestWindows::t_Handler handler = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_USER + 7) {
            received = static_cast<int>(wParam);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    };
    std::atomic<HWND> hidden{nullptr};
    const HWND dialog = m_Dialog;
    ASSERT_TRUE(n_Platform::PostUserInput(GetWindowThreadProcessId(dialog, nullptr),
                                          [&] { hidden = n_TestWindows::MakeWindow(&handler, 0, HWND_MESSAGE); }));
    ASSERT_TRUE(WaitUntil([&] { return hidden.load() != nullptr; }));
    std::thread worker([&] { PostMessageW(hidden, WM_USER + 7, 42, 0); });
    worker.join();
    EXPECT_TRUE(WaitUntil([&] { return received == 42; }));
    ASSERT_TRUE(n_Platform::PostUserInput(GetWindowThreadProcessId(dialog, nullptr), [&] { DestroyWindow(hidden); }));
    ASSERT_TRUE(WaitUntil([&] { return IsWindow(hidden) == FALSE; }));
}

TEST(DialogDriver, RecordsTheAddressesTheShellOpensInsteadOfOpeningThem) {
    c_DialogDriver driver;
    ASSERT_TRUE(driver.RecordOpenedURLs());
    EXPECT_TRUE(driver.OpenedURLs().empty());
    for (const char16_t* address : {u"https://127.0.0.6:8443/SupportBoard.php",
                                    u"https://127.0.0.6:8443/index.php?page=doc/LicenseAgreement.php"}) {
        // One at a time: each opener is a process of its own.
        const std::size_t before = driver.OpenedURLs().size();
        ASSERT_GT(reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, u"open", address, nullptr, nullptr, SW_SHOWNORMAL)),
                  32);
        ASSERT_TRUE(WaitUntil([&] { return driver.OpenedURLs().size() == before + 1; }));
    }
    EXPECT_EQ(driver.OpenedURLs(),
              (std::vector<std::u16string>{u"https://127.0.0.6:8443/SupportBoard.php",
                                           u"https://127.0.0.6:8443/index.php?page=doc/LicenseAgreement.php"}));
}

TEST(DialogTemplates, AnUnknownTemplateMakesNoDialog) {
    EXPECT_EQ(CreateDialogParamW(nullptr, MAKEINTRESOURCEW(4321), nullptr, SampleProcedure, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(4321), nullptr, SampleProcedure, 0), -1);
}

} // namespace
