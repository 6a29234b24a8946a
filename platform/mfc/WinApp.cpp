// CWinApp and AfxWinMain.

#include <afxwin.h>

namespace {

CWinApp* g_p_Application = nullptr;

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCWSTR appName) : m_pszAppName(appName) {
    g_p_Application = this;
}

CWinApp::~CWinApp() {
    if (g_p_Application == this) {
        g_p_Application = nullptr;
    }
}

int CWinApp::Run() {
    MSG message;
    BOOL result;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    m_nExitCode = result == 0 ? static_cast<int>(message.wParam) : -1;
    return ExitInstance();
}

CWinApp* AFXAPI AfxGetApp() {
    return g_p_Application;
}

int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show) {
    CWinApp* application = AfxGetApp();
    if (application == nullptr) {
        return -1;
    }
    application->m_hInstance = instance;
    application->m_lpCmdLine = commandLine;
    application->m_nCmdShow = show;
    if (!application->InitInstance()) {
        if (application->m_pMainWnd != nullptr) {
            application->m_pMainWnd->DestroyWindow();
        }
        return application->ExitInstance();
    }
    return application->Run();
}
