#pragma once
// c_InstallerApp: the application object. It starts the process-wide services, reads the command
// line, runs the installer dialog and is the log sink's owner while the dialog runs.
//
// InitInstance always returns false, so the framework calls ExitInstance right after it; every
// shutdown step there does nothing for a service that never started (a refused second instance).
//
// Command line: a leading '/' is dropped and the rest split on " /"; each piece is key=value, split
// at the first '=' and trimmed. Keys compare with their case; "true" and "false" without it.

#include "network/c_Socks5ConnectionSettings.h"
#include "oslayer/threads/c_CriticalSection.h"
#include "protocols/http/c_HTTPProxySettings.h"
#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <afxwin.h>

#include <atomic>
#include <cstdint>
#include <utility>

class c_InstallerDialog;

class c_InstallerApp : public CWinApp {
public:
    c_InstallerApp();
    ~c_InstallerApp() override;

    // The one application object of the process, or null before it is built.
    static c_InstallerApp* GetInstance() { return s_p_Instance.load(std::memory_order_acquire); }

    BOOL InitInstance() override;
    int ExitInstance() override;

    void ParseCommandLine(const c_String& commandLine);

    c_String GetInstallPath() const { return m_InstallPath; }
    // {value, given}
    std::pair<bool, bool> GetCreateShortcuts() const { return {m_CreateShortcuts, m_CreateShortcutsGiven}; }
    bool GetAutoStart2() const { return m_AutoStart2; }
    // {value, given}
    std::pair<std::int32_t, bool> GetVersion() const { return {m_Version, m_VersionGiven}; }
    c_String GetInstallerName() const { return m_InstallerName; }
    bool GetServerVersion() const { return m_ServerVersion; }
    bool GetIsARM64() const { return m_IsARM64; }

    // The records that the proxy dialog edits in place.
    c_Socks5ConnectionSettings& GetSocks5ConnectionSettings() { return m_Socks5ConnectionSettings; }
    c_HTTPProxySettings& GetHTTPProxySettings() { return m_HTTPProxySettings; }

    // Hands the line to the dialog while one is the sink; otherwise drops it.
    void Log(const c_StringView& text);
    // Makes the dialog the sink (and the main window), or removes the sink with null. Once removal
    // returns, no thread is still handing a line to the old dialog.
    void SetInstallerDialog(c_InstallerDialog* dialog);

private:
    void StartServices();
    void RunInstallerDialog();
    void ApplyCommandLineItem(const c_String& key, const c_String& value);
    static void LogToApplication(const c_StringView& text);

    static std::atomic<c_InstallerApp*> s_p_Instance;

    c_InstallerDialog* m_p_InstallerDialog = nullptr;
    c_String m_InstallPath;
    bool m_CreateShortcuts = true;
    bool m_CreateShortcutsGiven = false;
    bool m_AutoStart2 = false;
    std::int32_t m_Version = 0;
    bool m_VersionGiven = false;
    c_String m_InstallerName;
    bool m_ServerVersion = false;
    bool m_IsARM64 = false;
    c_Socks5ConnectionSettings m_Socks5ConnectionSettings;
    c_HTTPProxySettings m_HTTPProxySettings;
    // Held around every hand-over to the dialog and around its removal.
    c_CriticalSection m_SinkLock;

    DECLARE_MESSAGE_MAP()
};
