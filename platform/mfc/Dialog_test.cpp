// Tests of CDialog: DoModal on a UI thread, message maps, DDX_Control, OK and Cancel.

#include "platform/testing/PumpUntil.h"
#include "platform/user/testing/c_DialogDriver.h"

#include <afxwin.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using n_Platform::c_DialogDriver;
using n_Platform::WaitUntil;

constexpr WORD FRAMEWORK_DIALOG = 901;
constexpr int BROWSE = 1005;
constexpr int VERSIONS = 1007;
constexpr int NUMBER = 1008;

const n_Platform::s_DialogItemTemplate FRAMEWORK_ITEMS[] = {
    {BROWSE, u"Button", BS_PUSHBUTTON | WS_TABSTOP, u"Browse", 5, 5, 50, 14},
    {VERSIONS, u"ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP, u"", 5, 25, 80, 60},
    {NUMBER, u"Edit", WS_TABSTOP, u"", 5, 45, 80, 12},
    {IDOK, u"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, u"Install", 100, 60, 50, 14},
    {IDCANCEL, u"Button", BS_PUSHBUTTON | WS_TABSTOP, u"Close", 155, 60, 50, 14},
};

const n_Platform::s_DialogTemplate FRAMEWORK_TEMPLATE = {FRAMEWORK_DIALOG,
                                                         WS_POPUP | WS_CAPTION,
                                                         u"",
                                                         210,
                                                         80,
                                                         u"Microsoft Sans Serif",
                                                         10,
                                                         0,
                                                         FRAMEWORK_ITEMS,
                                                         static_cast<int>(std::size(FRAMEWORK_ITEMS))};

// Counts what its handlers saw; the window's close ends the dialog with 77.
class c_SampleDialog : public CDialog {
public:
    c_SampleDialog() : CDialog(FRAMEWORK_DIALOG) {}

    std::atomic<int> m_Browses{0};
    std::atomic<int> m_Selection{-2};
    std::atomic<int> m_Exchanges{0};
    std::atomic<bool> m_Initialized{false};
    CButton m_Browse;
    CComboBox m_Versions;

protected:
    void DoDataExchange(CDataExchange* exchange) override {
        ++m_Exchanges;
        DDX_Control(exchange, BROWSE, m_Browse);
        DDX_Control(exchange, VERSIONS, m_Versions);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_Versions.AddString(u"Current Version");
        m_Versions.AddString(u"Specific Version");
        // The program's own choice notifies nothing.
        m_Versions.SetCurSel(0);
        SetWindowText(u"Dovrik Chart Installer");
        GetDlgItem(NUMBER)->SetFocus();
        m_Initialized = true;
        return FALSE;
    }
    afx_msg void OnBrowse() { ++m_Browses; }
    afx_msg void OnVersionSelected() { m_Selection = m_Versions.GetCurSel(); }
    afx_msg void OnClose() { EndDialog(77); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(c_SampleDialog, CDialog)
ON_BN_CLICKED(BROWSE, &c_SampleDialog::OnBrowse)
ON_CBN_SELCHANGE(VERSIONS, &c_SampleDialog::OnVersionSelected)
ON_WM_CLOSE()
END_MESSAGE_MAP()

class FrameworkDialog : public testing::Test {
protected:
    void SetUp() override {
        n_Platform::RegisterDialogTemplate(FRAMEWORK_TEMPLATE);
        m_Thread = std::thread([this] { m_Result = m_Dialog.DoModal(); });
        m_Window = m_Driver.WaitForDialog(FRAMEWORK_DIALOG);
        ASSERT_NE(m_Window, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return m_Dialog.m_Initialized.load(); }));
    }
    void TearDown() override {
        if (IsWindow(m_Window)) {
            m_Driver.PressKey(m_Window, VK_ESCAPE);
        }
        if (m_Thread.joinable()) {
            m_Thread.join();
        }
    }

    INT_PTR JoinResult() {
        EXPECT_TRUE(m_Driver.WaitUntilDialogEnds(m_Window));
        m_Thread.join();
        return m_Result;
    }

    c_DialogDriver m_Driver;
    c_SampleDialog m_Dialog;
    std::thread m_Thread;
    std::atomic<INT_PTR> m_Result{-2};
    HWND m_Window = nullptr;
};

TEST_F(FrameworkDialog, MessageMapsRouteClicksAndChoicesToTheirHandlers) {
    EXPECT_EQ(m_Driver.GetText(m_Window, 0), u"");
    EXPECT_EQ(m_Dialog.m_Exchanges, 1);
    EXPECT_EQ(m_Dialog.m_Browse.m_hWnd, GetDlgItem(m_Window, BROWSE));
    ASSERT_TRUE(m_Driver.Click(m_Window, BROWSE));
    ASSERT_TRUE(m_Driver.SelectComboIndex(m_Window, VERSIONS, 1));
    ASSERT_TRUE(WaitUntil([&] { return m_Dialog.m_Selection == 1; }));
    EXPECT_EQ(m_Dialog.m_Browses, 1);
    EXPECT_EQ(m_Driver.GetText(m_Window, VERSIONS), u"Specific Version");
}

TEST_F(FrameworkDialog, TheWindowTitleIsTheDialogsText) {
    std::u16string title(64, u'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(m_Window, title.data(), 64)));
    EXPECT_EQ(title, u"Dovrik Chart Installer");
}

TEST_F(FrameworkDialog, EnterIsOkAfterTheDataExchange) {
    ASSERT_TRUE(m_Driver.PressKey(m_Window, VK_RETURN));
    EXPECT_EQ(JoinResult(), IDOK);
    EXPECT_EQ(m_Dialog.m_Exchanges, 2);
    EXPECT_EQ(m_Dialog.m_hWnd, nullptr);
}

TEST_F(FrameworkDialog, EscapeIsCancel) {
    ASSERT_TRUE(m_Driver.PressKey(m_Window, VK_ESCAPE));
    EXPECT_EQ(JoinResult(), IDCANCEL);
    EXPECT_EQ(m_Dialog.m_Exchanges, 1);
}

TEST_F(FrameworkDialog, ClosingGoesToTheCloseHandler) {
    ASSERT_TRUE(m_Driver.Close(m_Window));
    EXPECT_EQ(JoinResult(), 77);
}

} // namespace
