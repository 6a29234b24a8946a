// c_InstallerDialog's end of an installation: the staged files moved into place, the installer's
// copy, the shortcuts, the result, and the end of a run that nobody attends.

#include "installer/c_InstallerDialog.h"

#include "installer/InstallerConstants.h"
#include "installer/OverwritableFiles.h"
#include "installer/c_InstallerApp.h"
#include "oslayer/files/FileCopies.h"
#include "oslayer/files/FileInformation.h"
#include "oslayer/files/FolderCreation.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/files/ProgramNames.h"
#include "oslayer/files/c_File.h"
#include "oslayer/shell/Shortcuts.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/windows/ControlStates.h"
#include "oslayer/windows/WindowState.h"
#include "oslayer/windows/WindowStation.h"

namespace {

constexpr int MOVE_ATTEMPTS = 6;
constexpr std::uint32_t MOVE_RETRY_DELAY_MS = 4000;
constexpr const char* INSTALLER_COPY_NAME = "DovrikChartFileDownloader.exe";

c_InstallerApp& GetApp() {
    return *c_InstallerApp::GetInstance();
}

} // namespace

bool c_InstallerDialog::InstallerCopyExists() const {
    return c_File::FileExists(GetInstallPathFromDialog() + INSTALLER_COPY_NAME);
}

c_String c_InstallerDialog::GetShortcutName() const {
    const c_String product = GetProductName();
    c_String name = product + "_64";
    if (product != DEFAULT_PRODUCT_NAME) {
        return name;
    }
    name += Concat({" (", n_OSLayer::GetWindowText(m_InstallPathEdit.m_hWnd), ")"});
    name.Replace(':', '_').Replace('/', '_').Replace('\\', '_');
    while (name.Contains("__")) {
        name.ReplaceAll("__", "_");
    }
    return name;
}

void c_InstallerDialog::OnDownloadComplete(bool downloadedFiles) {
    SetProgress(100);
    c_String dataFilesFolder;
    GetDataFilesFolder(GetInstallPathFromDialog(), dataFilesFolder);
    const bool withErrors = !MoveStagedFiles(dataFilesFolder);
    CopyInstaller();
    if (withErrors) {
        LogMessage("Installation completed with errors.");
    } else if (downloadedFiles) {
        LogMessage("Installation complete.");
    } else {
        LogMessage(GetProductDisplayName(false) + " is up to date. No updates were downloaded.");
    }
    CreateShortcuts();
    n_OSLayer::SetWindowText(m_CloseButton.m_hWnd, "Close");
    m_CloseButton.SetFocus();
    GetApp().SetExitCode(withErrors ? c_InstallerApp::EXIT_COMPLETED_WITH_ERRORS : c_InstallerApp::EXIT_INSTALLED);
    ShowMessageBox(withErrors ? "Installation completed with errors. Refer to log and then press the Close button."
                              : "Installation is now complete. Press the Close button.",
                   MB_OK);
    if (GetApp().GetAutoStart2()) {
        // Posted: the Close deletes the downloader, whose callback called us and is still running.
        PostMessage(WM_CLOSE);
    }
}

bool c_InstallerDialog::MoveStagedFiles(const c_String& dataFilesFolder) {
    if (m_p_FileDownloader == nullptr) {
        return true;
    }
    bool allMoved = true;
    for (s_FileMove& move : m_p_FileDownloader->GetFileMoves()) {
        allMoved = MoveStagedFile(move, dataFilesFolder) && allMoved;
    }
    return allMoved;
}

bool c_InstallerDialog::MoveStagedFile(s_FileMove& move, const c_String& dataFilesFolder) {
    c_StringView stagingFolder = n_OSLayer::GetFolderPart(move.m_StagingPath);
    if (stagingFolder.GetLength() > 1 && (stagingFolder.EndsWith('\\') || stagingFolder.EndsWith('/'))) {
        stagingFolder = stagingFolder.Left(stagingFolder.GetLength() - 1);
    }
    const c_StringView fileName = n_OSLayer::GetFileNamePart(move.m_FinalPath);
    // Every file staged in a folder named "Data" goes to the data-files folder.
    const c_String destination =
        n_OSLayer::GetFileNamePart(stagingFolder) == "Data" ? dataFilesFolder + fileName : move.m_FinalPath;
    const c_String destinationFolder(n_OSLayer::GetFolderPart(destination));
    if (!destinationFolder.IsEmpty() && !FolderExists(destinationFolder)) {
        c_String error;
        if (!CreateFolderRecursively(destinationFolder, error)) {
            LogMessage(error);
            return false;
        }
    }
    if (c_File::FileExists(destination) && !IsOverwritableFile(destination)) {
        LogMessage(c_String("Not overwriting file since it exists: ") + fileName);
        return true;
    }
    for (int attempt = 0; attempt < MOVE_ATTEMPTS; ++attempt) {
        LogMessage(c_String("Starting move of ") + n_OSLayer::GetFileNamePart(move.m_StagingPath));
        if (MoveFileByCopying(move.m_StagingPath, destination, true)) {
            move.m_Moved = true;
            return true;
        }
        LogMessage("Error encountered with file move. Retrying in 4 seconds.");
        Sleep(MOVE_RETRY_DELAY_MS);
    }
    return false;
}

void c_InstallerDialog::CopyInstaller() {
    // An existing copy is never replaced.
    if (!InstallerCopyExists()) {
        BitCopyFile(GetProgramPath(), GetInstallPathFromDialog() + INSTALLER_COPY_NAME, false);
    }
}

void c_InstallerDialog::CreateShortcuts() {
    if (IsButtonChecked(&m_StartMenuShortcutCheck)) {
        CreateShortcut(GetInstalledProgramPath(), n_OSLayer::GetCommonProgramsFolder(), GetShortcutName(), "");
    }
    if (IsButtonChecked(&m_DesktopShortcutCheck)) {
        CreateShortcut(GetInstalledProgramPath(), n_OSLayer::GetDesktopFolder(), GetShortcutName(), "");
    }
}

bool c_InstallerDialog::IsUnattended() const {
    return GetApp().GetAutoStart2() && !n_OSLayer::IsWindowStationVisible();
}

void c_InstallerDialog::EndUnattendedRun() {
    GetApp().SetExitCode(c_InstallerApp::EXIT_FAILED);
    PostMessage(WM_CLOSE);
}
