// Tests of CWinApp and AfxWinMain.

#include <afxwin.h>

#include <gtest/gtest.h>

namespace {

class c_CountingApp : public CWinApp {
public:
    BOOL InitInstance() override {
        ++m_Inits;
        CWinApp::InitInstance();
        return m_InitResult;
    }
    int ExitInstance() override {
        ++m_Exits;
        return 3;
    }

    BOOL m_InitResult = FALSE;
    int m_Inits = 0;
    int m_Exits = 0;
};

TEST(AfxWinMain, AnInitInstanceThatFailsRunsExitInstanceOnceAndNoMessageLoop) {
    c_CountingApp application;
    ASSERT_EQ(AfxGetApp(), &application);
    // A message loop would take the quit; it must still be there afterwards.
    PostQuitMessage(9);
    WCHAR commandLine[] = u"/InstallPath=C:\\X";
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, commandLine, SW_SHOWDEFAULT), 3);
    EXPECT_EQ(application.m_Inits, 1);
    EXPECT_EQ(application.m_Exits, 1);
    EXPECT_EQ(application.m_lpCmdLine, commandLine);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

TEST(AfxWinMain, AnInitInstanceThatSucceedsRunsTheLoopUntilQuit) {
    c_CountingApp application;
    application.m_InitResult = TRUE;
    PostQuitMessage(9);
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT), 3);
    EXPECT_EQ(application.m_Exits, 1);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST(AfxWinMain, WithoutAnApplicationItFails) {
    ASSERT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT), -1);
}

TEST(CWinAppMessageMap, RoutesTheHelpCommand) {
    c_CountingApp application;
    EXPECT_NE(application.FindMessageEntry(WM_COMMAND, MAKEWPARAM(ID_HELP, 0)), nullptr);
    EXPECT_EQ(application.FindMessageEntry(WM_COMMAND, MAKEWPARAM(ID_HELP, 1)), nullptr);
}

} // namespace
