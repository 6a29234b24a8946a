// c_InstallerApp: start-up, shutdown, the command line and the log entry point.

#include "installer/c_InstallerApp.h"

#include "installer/InstallerResources.h"
#include "installer/c_InstallerDialog.h"
#include "network/TLSLibrary.h"
#include "network/c_NetworkSocketCore.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/system/SingleInstance.h"
#include "oslayer/system/TextConversion.h"
#include "oslayer/threads/LogTimerException.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "oslayer/threads/c_ThreadWrapper.h"
#include "oslayer/threads/c_TimerCore.h"
#include "oslayer/threads/c_TimerNew.h"
#include "oslayer/windows/c_AsyncWindow.h"
#include "strings/c_StringNoCase.h"
#include "textutil/NumberParsing.h"
#include "textutil/SplitString.h"

#include <vector>

std::atomic<c_InstallerApp*> c_InstallerApp::s_p_Instance{nullptr};

BEGIN_MESSAGE_MAP(c_InstallerApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

namespace {

bool IsTrueText(const c_String& value) {
    return c_StringViewNoCase(value) == "true";
}

bool IsFalseText(const c_String& value) {
    return c_StringViewNoCase(value) == "false";
}

} // namespace

c_InstallerApp::c_InstallerApp() {
    s_p_Instance.store(this, std::memory_order_release);
}

c_InstallerApp::~c_InstallerApp() {
    SetInstallerDialog(nullptr);
    c_InstallerApp* self = this;
    s_p_Instance.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
}

BOOL c_InstallerApp::InitInstance() {
    CWinApp::InitInstance();
    if (IsAnotherInstanceRunning()) {
        return FALSE;
    }
    StartServices();
    ParseCommandLine(n_OSLayer::WideToUTF8(c_WStringView(m_lpCmdLine)));
    RunInstallerDialog();
    return FALSE;
}

void c_InstallerApp::StartServices() {
    TimerExceptionHook.store(&LogTimerException, std::memory_order_release);
    ThreadEndHook.exchange(&c_NetworkSocketCore::ReleaseWindowOfEndingThread, std::memory_order_acq_rel);
    c_AsyncWindow::Initialize(m_hInstance);
    c_TimerCore::Start();
    InitializeOpenSSL();
    c_NetworkSocketCore::CreateNetworkSocketCore(&m_Socks5ConnectionSettings);
}

void c_InstallerApp::RunInstallerDialog() {
    RegisterInstallerResources();
    c_InstallerDialog dialog;
    m_pMainWnd = &dialog;
    SetInstallerDialog(&dialog);
    dialog.DoModal();
    m_pMainWnd = nullptr;
    SetInstallerDialog(nullptr);
}

int c_InstallerApp::ExitInstance() {
    c_NetworkSocketCore::DestroyNetworkSocketCore();
    CleanupOpenSSL();
    c_TimerCore::Stop();
    c_AsyncWindow::Uninitialize();
    return CWinApp::ExitInstance();
}

void c_InstallerApp::ParseCommandLine(const c_String& commandLine) {
    if (commandLine.IsEmpty()) {
        return;
    }
    Log(c_String("Command line arguments: ") + commandLine);
    if (commandLine.GetLength() == 1) {
        return;
    }
    c_String text(commandLine);
    text.RemovePrefix("/");
    std::vector<c_String> pieces;
    SplitString(text, " /", pieces);
    for (const c_String& piece : pieces) {
        const int equals = piece.Find('=');
        c_String key(equals < 0 ? c_StringView(piece) : piece.Left(equals));
        c_String value(equals < 0 ? c_StringView() : piece.GetView().RightFrom(equals + 1));
        key.Trim();
        value.Trim();
        if (!key.IsEmpty()) {
            ApplyCommandLineItem(key, value);
        }
    }
}

void c_InstallerApp::ApplyCommandLineItem(const c_String& key, const c_String& value) {
    const std::int32_t number = ParseInt32(c_StringView(value));
    if (key == "InstallPath") {
        if (!value.IsEmpty()) {
            m_InstallPath = value;
        }
    } else if (key == "CreateShortcuts") {
        if (IsTrueText(value)) {
            m_CreateShortcuts = true;
        } else if (IsFalseText(value)) {
            m_CreateShortcuts = false;
        }
        m_CreateShortcutsGiven = true;
    } else if (key == "AutoStart2") {
        if (IsTrueText(value) || number != 0) {
            m_AutoStart2 = true;
        }
    } else if (key == "Version") {
        if (!value.IsEmpty()) {
            m_Version = number;
            m_VersionGiven = true;
        }
    } else if (key == "InstallerName") {
        if (!value.IsEmpty()) {
            m_InstallerName = value;
        }
    } else if (key == "ServerVersion") {
        if (IsTrueText(value) || number != 0) {
            m_ServerVersion = true;
        }
    } else if (key == "IsARM64") {
        if (number != 0) {
            m_IsARM64 = true;
        }
    }
}

void c_InstallerApp::Log(const c_StringView& text) {
    c_CriticalSectionLock lock(m_SinkLock);
    if (m_p_InstallerDialog != nullptr) {
        m_p_InstallerDialog->AddToLog(text);
    }
}

void c_InstallerApp::SetInstallerDialog(c_InstallerDialog* dialog) {
    // Taking the lock waits for a line that another thread is handing to the old dialog.
    c_CriticalSectionLock lock(m_SinkLock);
    m_p_InstallerDialog = dialog;
    if (dialog != nullptr) {
        SetLogSink(&c_InstallerApp::LogToApplication);
        return;
    }
    const t_LogSink previous = SetLogSink(nullptr);
    if (previous != &c_InstallerApp::LogToApplication) {
        // A sink that someone else set stays.
        SetLogSink(previous);
    }
}

void c_InstallerApp::LogToApplication(const c_StringView& text) {
    if (c_InstallerApp* application = GetInstance()) {
        application->Log(text);
    }
}
