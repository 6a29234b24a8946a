#pragma once
// c_InstallerDialog: the installer's main window on template 102, and the process's log sink.
//
// The user picks the installation folder, the shortcuts, whether to run the program afterwards and
// the version, may open the proxy dialog, and presses Install; the dialog hands the choices to its
// downloader (c_InstallerDownloader.h) and shows every log line and the progress. After an error
// box a 250 ms timer replaces the downloader, so Install can be pressed again.
//
// Log lines (AddToLog) may come from any thread: those of the dialog's own thread go to the list at
// once, the others wait under m_PendingLogLock for the 1000 ms timer. Every line is also appended at
// once to "Logs\Installer Log <UTC time>.log" beside the program; after a failed open the run writes
// no file at all.

#include "installer/c_InstallerDownloader.h"
#include "oslayer/files/c_File.h"
#include "oslayer/threads/c_CriticalSection.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "oslayer/threads/c_TimerNew.h"
#include "oslayer/threads/c_TimerNewCallback.h"
#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <afxwin.h>

#include <cstdint>
#include <vector>

class c_InstallerDialog : public CDialog, public c_TimerNewCallback {
public:
    c_InstallerDialog();
    ~c_InstallerDialog() override;

    static c_String GetProductName();
    static c_String GetProductDisplayName(bool withInstallerSuffix);
    static c_String GetDefaultInstallPath();
    // The path box's text, trimmed, ending in '\'.
    c_String GetInstallPathFromDialog() const;
    c_String GetInstalledProgramPath() const;

    void SetInstallPath(const c_String& path);
    void EnableInputs(bool enable);
    void SetProgress(std::int32_t percent);

    // The downloader's error path: logs the text, shows it in a box, and 250 ms after the box is
    // closed replaces the downloader.
    void OnDownloadError(const c_String& text);
    // The downloader's end: every listed file is staged (downloadedFiles) or none was needed.
    void OnDownloadComplete(bool downloadedFiles);
    // The end of a log upload: an empty text when it was sent, else the error line.
    void OnLogSent(const c_String& error);
    // The data-files folder of an installation: the text of its "DataFilesFolder.txt" (true), or
    // the installation folder + "Data\" when that file is missing or empty (false).
    static bool GetDataFilesFolder(const c_String& installPath, c_String& folder);

    // The log sink; any thread.
    void AddToLog(const c_StringView& text);
    // Moves the pending lines into the list; the guard is (re)locked on m_PendingLogLock. Dialog
    // thread only.
    void FlushPendingLogLines(c_CriticalSectionLock& lock);

    void OnTimer(c_TimerNew* timer) override;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    afx_msg void OnPaint();
    afx_msg void OnReadLicenseAgreement();
    afx_msg void OnBrowse();
    afx_msg void OnVersionSelected();
    afx_msg void OnProxySettings();
    afx_msg void OnInstall();
    afx_msg void OnCloseOrCancel();
    afx_msg void OnUploadInstallerFiles();
    afx_msg void OnUploadInstallerFilesIncludingCommon();
    afx_msg void OnUploadServerVersionFiles();
    afx_msg void OnClose() { OnCloseOrCancel(); }

    DECLARE_MESSAGE_MAP()

private:
    void SelectInitialVersion();
    std::int32_t GetChosenVersion();
    void ReturnToIdle();
    void ReplaceDownloader();
    void DeleteDownloader();
    std::int32_t ShowMessageBox(const c_StringView& text, UINT type);
    bool IsProgramFilesFolder(const c_String& path) const;
    bool OpenLogFile();

    HICON m_hIcon = nullptr;
    c_InstallerDownloader* m_p_FileDownloader = nullptr;
    c_TimerNew m_CancellationTimer;
    c_TimerNew m_DelayedMessageTimer;
    c_CriticalSection m_PendingLogLock;
    std::uint32_t m_GUIThreadID = 0;
    std::vector<c_String> m_PendingLogLines;
    c_String m_LogFileName;
    c_File m_LogFile;
    // Set by the menu's upload commands, whose popup is removed at start.
    bool m_UploadIncludesCommonFiles = false;

    CButton m_ReadLicenseButton;
    CButton m_SendLogButton;
    CButton m_InstallPathGroup;
    CEdit m_InstallPathEdit;
    CButton m_BrowseButton;
    CButton m_StartMenuShortcutCheck;
    CButton m_DesktopShortcutCheck;
    CButton m_RunAfterInstallCheck;
    CButton m_VersionGroup;
    CComboBox m_VersionKindCombo;
    CStatic m_SpecificVersionLabel;
    CEdit m_SpecificVersionEdit;
    CButton m_ProxySettingsButton;
    CListBox m_LogList;
    CProgressCtrl m_Progress;
    CButton m_InstallButton;
    CButton m_CloseButton;
};
