// c_InstallerDialog: construction, start, the user's choices and the hand-off to the downloader.

#include "installer/c_InstallerDialog.h"

#include "installer/Deployment.h"
#include "installer/InstallerConstants.h"
#include "installer/InstallerResourceIds.h"
#include "installer/c_InstallerApp.h"
#include "installer/c_ProxySettingsDialog.h"
#include "oslayer/files/FileInformation.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/files/PathNames.h"
#include "oslayer/files/WholeFiles.h"
#include "oslayer/shell/FolderPicker.h"
#include "oslayer/shell/ProgramStart.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/windows/ControlStates.h"
#include "oslayer/windows/ControlTexts.h"
#include "oslayer/windows/ControlValues.h"
#include "oslayer/windows/MessageBoxes.h"
#include "oslayer/windows/WindowState.h"

namespace {

constexpr std::uint32_t CANCELLATION_DELAY_MS = 250;
constexpr std::uint32_t LOG_FLUSH_INTERVAL_MS = 1000;
constexpr int LOG_LIST_EXTENT = 2000;
constexpr int SPECIFIC_VERSION_INDEX = 2;
constexpr std::int32_t DATA_FILES_FOLDER_TEXT_LIMIT = 1024;

c_InstallerApp& GetApp() {
    return *c_InstallerApp::GetInstance();
}

} // namespace

BEGIN_MESSAGE_MAP(c_InstallerDialog, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_READ_LICENSE, &c_InstallerDialog::OnReadLicenseAgreement)
ON_BN_CLICKED(IDC_BROWSE, &c_InstallerDialog::OnBrowse)
ON_CBN_SELCHANGE(IDC_VERSION_KIND, &c_InstallerDialog::OnVersionSelected)
ON_BN_CLICKED(IDC_PROXY_SETTINGS, &c_InstallerDialog::OnProxySettings)
ON_BN_CLICKED(IDC_INSTALL, &c_InstallerDialog::OnInstall)
ON_BN_CLICKED(IDC_CLOSE, &c_InstallerDialog::OnCloseOrCancel)
ON_COMMAND(ID_UPLOAD_INSTALLER_FILES, &c_InstallerDialog::OnUploadInstallerFiles)
ON_COMMAND(ID_UPLOAD_INSTALLER_FILES_INCLUDING_COMMON, &c_InstallerDialog::OnUploadInstallerFilesIncludingCommon)
ON_COMMAND(ID_UPLOAD_SERVER_VERSION_FILES, &c_InstallerDialog::OnUploadServerVersionFiles)
ON_WM_CLOSE()
END_MESSAGE_MAP()

c_InstallerDialog::c_InstallerDialog()
    : CDialog(IDD_INSTALLER_DIALOG), m_CancellationTimer(this, "c_InstallerDialog::m_CancellationTimer"),
      m_DelayedMessageTimer(this, "c_InstallerDialog::m_DelayedMessageTimer") {
    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_p_FileDownloader = CreateInstallerDownloader(this);
}

c_InstallerDialog::~c_InstallerDialog() {
    // Escape ends the dialog without the Close handler: a download may still run, and its requests
    // must not outlive the dialog they report to.
    if (m_p_FileDownloader != nullptr) {
        m_p_FileDownloader->CancelAll();
        DeleteDownloader();
    }
}

c_String c_InstallerDialog::GetProductName() {
    const c_String name = GetApp().GetInstallerName();
    return name.IsEmpty() ? DEFAULT_PRODUCT_NAME : name;
}

c_String c_InstallerDialog::GetProductDisplayName(bool withInstallerSuffix) {
    const c_String name = GetProductName();
    c_String displayName = name == DEFAULT_PRODUCT_NAME ? c_String("Dovrik Chart") : name;
    if (withInstallerSuffix) {
        displayName.Append(" Installer");
    }
    return displayName;
}

c_String c_InstallerDialog::GetDefaultInstallPath() {
    c_String given = GetApp().GetInstallPath();
    if (!given.Trim().IsEmpty()) {
        return given;
    }
    const c_String programFolder = n_OSLayer::GetProgramFolder();
    if (programFolder.Contains("Dovrik") || programFolder.Contains("Chart")) {
        return programFolder;
    }
    return GetDriveRoot(programFolder) + GetProductName();
}

c_String c_InstallerDialog::GetInstallPathFromDialog() const {
    c_String path = n_OSLayer::GetWindowText(m_InstallPathEdit.m_hWnd);
    path.Trim();
    if (!path.EndsWith('\\')) {
        path.Append('\\');
    }
    return path;
}

c_String c_InstallerDialog::GetInstalledProgramPath() const {
    c_String path = n_OSLayer::GetWindowText(m_InstallPathEdit.m_hWnd);
    if (!path.EndsWith('\\')) {
        path.Append('\\');
    }
    return path + DEFAULT_PRODUCT_NAME + (GetApp().GetIsARM64() ? "_ARM64.exe" : "_64.exe");
}

void c_InstallerDialog::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_READ_LICENSE, m_ReadLicenseButton);
    DDX_Control(exchange, IDC_SEND_LOG, m_SendLogButton);
    DDX_Control(exchange, IDC_INSTALL_PATH_GROUP, m_InstallPathGroup);
    DDX_Control(exchange, IDC_INSTALL_PATH, m_InstallPathEdit);
    DDX_Control(exchange, IDC_BROWSE, m_BrowseButton);
    DDX_Control(exchange, IDC_START_MENU_SHORTCUT, m_StartMenuShortcutCheck);
    DDX_Control(exchange, IDC_DESKTOP_SHORTCUT, m_DesktopShortcutCheck);
    DDX_Control(exchange, IDC_RUN_AFTER_INSTALL, m_RunAfterInstallCheck);
    DDX_Control(exchange, IDC_VERSION_GROUP, m_VersionGroup);
    DDX_Control(exchange, IDC_VERSION_KIND, m_VersionKindCombo);
    DDX_Control(exchange, IDC_SPECIFIC_VERSION_LABEL, m_SpecificVersionLabel);
    DDX_Control(exchange, IDC_SPECIFIC_VERSION, m_SpecificVersionEdit);
    DDX_Control(exchange, IDC_PROXY_SETTINGS, m_ProxySettingsButton);
    DDX_Control(exchange, IDC_LOG_LIST, m_LogList);
    DDX_Control(exchange, IDC_PROGRESS, m_Progress);
    DDX_Control(exchange, IDC_INSTALL, m_InstallButton);
    DDX_Control(exchange, IDC_CLOSE, m_CloseButton);
}

BOOL c_InstallerDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    n_OSLayer::SetWindowText(m_SendLogButton.m_hWnd, "Send Log to Support");
    {
        c_CriticalSectionLock lock(m_PendingLogLock);
        m_GUIThreadID = GetCurrentThreadId();
    }
    m_DelayedMessageTimer.Start(LOG_FLUSH_INTERVAL_MS, 0, false, false);
    n_OSLayer::SetWindowText(m_hWnd, GetProductDisplayName(true));
    SetInstallPath(GetDefaultInstallPath());
    const bool createShortcuts = GetApp().GetCreateShortcuts().first;
    SetButtonCheck(&m_StartMenuShortcutCheck, createShortcuts);
    SetButtonCheck(&m_DesktopShortcutCheck, createShortcuts);
    SetButtonCheck(&m_RunAfterInstallCheck, true);
    SelectInitialVersion();
    m_Progress.SetRange(0, 100);
    EnableInputs(true);
    m_LogList.SetHorizontalExtent(LOG_LIST_EXTENT);
    LogMessage(c_String("Installer version: ") + "12");
    m_InstallButton.SetFocus();
    if (GetApp().GetAutoStart2()) {
        OnInstall();
    }
    if (CMenu* menu = GetMenu(); menu != nullptr && menu->m_hMenu != nullptr) {
        menu->RemoveMenu(0, MF_BYPOSITION);
        DrawMenuBar();
    }
    return FALSE;
}

void c_InstallerDialog::SelectInitialVersion() {
    for (const char* kind : {"Current Version", "Prerelease Version", "Specific Version"}) {
        n_OSLayer::ComboBoxAddString(m_VersionKindCombo.m_hWnd, kind);
    }
    const auto [version, given] = GetApp().GetVersion();
    if (given && version >= 1) {
        m_VersionKindCombo.SetCurSel(SPECIFIC_VERSION_INDEX);
        SetControlInt(&m_SpecificVersionEdit, version);
    } else if (version == -1) {
        m_VersionKindCombo.SetCurSel(given ? 1 : 0);
    } else if (!given || version == 0) {
        m_VersionKindCombo.SetCurSel(0);
    }
}

void c_InstallerDialog::SetInstallPath(const c_String& path) {
    if (IsProgramFilesFolder(path)) {
        const c_String question = c_String("It is strongly recommended not to install ") +
                                  GetProductDisplayName(false) +
                                  " in the Program Files folder because it cannot function properly in this "
                                  "folder. Do not use this folder unless you know what you are doing. Do you want "
                                  "to continue?";
        if (ShowMessageBox(question, MB_YESNO) != IDYES) {
            return;
        }
    }
    n_OSLayer::SetWindowText(m_InstallPathEdit.m_hWnd, path);
    m_InstallPathEdit.SetFocus();
    m_InstallPathEdit.SetSel(0, -1);
    m_InstallPathEdit.SetSel(0xFFFF, 0xFFFF);
}

bool c_InstallerDialog::IsProgramFilesFolder(const c_String& path) const {
    const c_String programFiles = n_OSLayer::GetProgramFilesFolder();
    if (IsSameFolder(path, programFiles)) {
        return true;
    }
    const int x86 = programFiles.Find(" (x86)");
    return x86 >= 0 && IsSameFolder(path, c_String(programFiles.Left(x86)));
}

void c_InstallerDialog::OnBrowse() {
    const c_String folder = n_OSLayer::BrowseForFolder(m_hWnd, "Installation path", GetDefaultInstallPath());
    if (!folder.IsEmpty()) {
        SetInstallPath(folder);
    }
}

void c_InstallerDialog::EnableInputs(bool enable) {
    const bool pathFree = enable && GetApp().GetInstallPath().IsEmpty();
    const bool shortcutsFree = enable && !GetApp().GetCreateShortcuts().second;
    const bool specificVersion = enable && m_VersionKindCombo.GetCurSel() == SPECIFIC_VERSION_INDEX;
    EnableControl(&m_ReadLicenseButton, enable);
    EnableControl(&m_InstallPathGroup, pathFree);
    EnableControl(&m_InstallPathEdit, pathFree);
    EnableControl(&m_BrowseButton, pathFree);
    EnableControl(&m_StartMenuShortcutCheck, shortcutsFree);
    EnableControl(&m_DesktopShortcutCheck, shortcutsFree);
    EnableControl(&m_RunAfterInstallCheck, enable);
    EnableControl(&m_VersionGroup, enable);
    EnableControl(&m_VersionKindCombo, enable);
    EnableControl(&m_SpecificVersionLabel, specificVersion);
    EnableControl(&m_SpecificVersionEdit, specificVersion);
    EnableControl(&m_Progress, enable);
    EnableControl(&m_InstallButton, enable);
    EnableControl(&m_CloseButton, true);
}

void c_InstallerDialog::SetProgress(std::int32_t percent) {
    m_Progress.SetPos(percent);
}

void c_InstallerDialog::OnVersionSelected() {
    const bool specificVersion = m_VersionKindCombo.GetCurSel() == SPECIFIC_VERSION_INDEX;
    EnableControl(&m_SpecificVersionLabel, specificVersion);
    EnableControl(&m_SpecificVersionEdit, specificVersion);
}

void c_InstallerDialog::OnReadLicenseAgreement() {
    OpenURL(GetWebSiteBaseURL() + "index.php?page=doc/LicenseAgreement.php", c_StringView());
}

void c_InstallerDialog::OnProxySettings() {
    c_ProxySettingsDialog dialog(this);
    dialog.DoModal();
}

std::int32_t c_InstallerDialog::GetChosenVersion() {
    switch (m_VersionKindCombo.GetCurSel()) {
        case 0:
            return 0;
        case 1:
            return -1;
        default:
            return GetControlInt(&m_SpecificVersionEdit);
    }
}

void c_InstallerDialog::OnInstall() {
    if (m_p_FileDownloader == nullptr) {
        return;
    }
    EnableInputs(false);
    const std::int32_t version = GetChosenVersion();
    c_String path = n_OSLayer::GetWindowText(m_InstallPathEdit.m_hWnd);
    path.Trim();
    if (path.GetLength() <= 3) {
        ShowMessageBox("Installation path not specified", MB_OK);
        EnableInputs(true);
        return;
    }
    m_p_FileDownloader->SetVersion(version);
    m_p_FileDownloader->SetInstallPath(path);
    m_p_FileDownloader->SetStagingFolderName(STAGING_FOLDER_NAME);
    m_p_FileDownloader->SetProxySettings(GetApp().GetHTTPProxySettings());
    m_p_FileDownloader->Start();
    n_OSLayer::SetWindowText(m_CloseButton.m_hWnd, "Cancel download");
}

void c_InstallerDialog::OnDownloadError(const c_String& text) {
    LogMessage(text);
    ShowMessageBox(text + " Press 'Install' to retry.", MB_OK);
    m_CancellationTimer.Start(CANCELLATION_DELAY_MS, 1, false, false);
}

void c_InstallerDialog::OnDownloadComplete(bool /*downloadedFiles*/) {
    SetProgress(100);
}

void c_InstallerDialog::OnLogSent(const c_String& error) {
    if (!error.IsEmpty()) {
        LogMessage(error);
    }
}

bool c_InstallerDialog::GetDataFilesFolder(const c_String& installPath, c_String& folder) {
    c_String installFolder = installPath;
    if (!installFolder.GetView().EndsWith("\\") && !installFolder.GetView().EndsWith("/")) {
        installFolder.Append("\\");
    }
    c_String text;
    if (ReadFileToString(installFolder + "DataFilesFolder.txt", text, DATA_FILES_FOLDER_TEXT_LIMIT) &&
        !text.Trim().IsEmpty()) {
        folder = text;
        return true;
    }
    folder = installFolder + "Data\\";
    return false;
}

void c_InstallerDialog::OnTimer(c_TimerNew* timer) {
    if (timer == &m_CancellationTimer) {
        if (m_p_FileDownloader != nullptr) {
            m_p_FileDownloader->CancelAll();
            ReplaceDownloader();
        }
        ReturnToIdle();
    } else if (timer == &m_DelayedMessageTimer) {
        c_CriticalSectionLock lock;
        FlushPendingLogLines(lock);
    }
}

void c_InstallerDialog::OnCloseOrCancel() {
    if (m_p_FileDownloader == nullptr) {
        return;
    }
    if (m_p_FileDownloader->IsBusy()) {
        if (ShowMessageBox("Installation is not yet completed. Are you sure you want to cancel?", MB_YESNO) != IDYES) {
            return;
        }
        LogMessage("Download canceled by user.");
        m_p_FileDownloader->CancelAll();
        ReplaceDownloader();
        ReturnToIdle();
        return;
    }
    DeleteDownloader();
    // A disabled Install button marks a run that reached its end.
    if (!m_InstallButton.IsWindowEnabled() && IsButtonChecked(&m_RunAfterInstallCheck)) {
        StartProgram(GetInstalledProgramPath(), c_StringView(), c_StringView(), false);
    }
    EndDialog(1);
}

void c_InstallerDialog::ReturnToIdle() {
    EnableInputs(true);
    SetProgress(0);
    n_OSLayer::SetWindowText(m_CloseButton.m_hWnd, "Close");
}

void c_InstallerDialog::ReplaceDownloader() {
    DeleteDownloader();
    m_p_FileDownloader = CreateInstallerDownloader(this);
}

void c_InstallerDialog::DeleteDownloader() {
    delete m_p_FileDownloader;
    m_p_FileDownloader = nullptr;
}

void c_InstallerDialog::OnUploadInstallerFiles() {
    m_UploadIncludesCommonFiles = false;
}

void c_InstallerDialog::OnUploadInstallerFilesIncludingCommon() {
    m_UploadIncludesCommonFiles = true;
}

void c_InstallerDialog::OnUploadServerVersionFiles() {}

void c_InstallerDialog::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC context(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context.GetSafeHdc()));
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(context.GetSafeHdc(), x, y, m_hIcon);
}

std::int32_t c_InstallerDialog::ShowMessageBox(const c_StringView& text, UINT type) {
    return n_OSLayer::MessageBox(m_hWnd, GetProductDisplayName(true), text, type);
}
