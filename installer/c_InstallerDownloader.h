#pragma once
// c_InstallerDownloader: what the installer dialog asks of the download state machine, and the
// factory through which the dialog gets one.
//
// The dialog owns one downloader at a time: it makes one with itself as the downloader's dialog,
// hands it the choices of an Install and starts it, cancels it, and replaces it after an error or
// a cancel. The downloader answers through the dialog: OnDownloadError with the text of a failed
// run, SetProgress with the percentage done, OnDownloadComplete when every file is staged (or none
// was needed), OnLogSent when a log upload ends. Without a factory the dialog has no downloader, and
// Install and Close then do nothing.

#include "protocols/http/c_HTTPProxySettings.h"
#include "strings/c_String.h"

#include <cstdint>
#include <vector>

class c_InstallerDialog;

// A downloaded file waiting in the staging folder, and where it goes when the run completes.
struct s_FileMove {
    c_String m_StagingPath;
    c_String m_FinalPath;
    bool m_Moved = false;
};

class c_InstallerDownloader {
public:
    virtual ~c_InstallerDownloader() = default;

    // 0 the current version, -1 the prerelease, n > 0 that version.
    virtual void SetVersion(std::int32_t version) = 0;
    virtual void SetInstallPath(const c_String& path) = 0;
    virtual void SetStagingFolderName(const c_String& name) = 0;
    virtual void SetProxySettings(const c_HTTPProxySettings& settings) = 0;
    virtual void Start() = 0;
    // Cancels every request, telling the downloader's own handlers, and goes back to idle.
    virtual void CancelAll() = 0;
    // True from Start until the run has finished.
    virtual bool IsBusy() const = 0;
    // The staged files of the run, in the order they were written; the dialog moves them and marks
    // each one moved.
    virtual std::vector<s_FileMove>& GetFileMoves() = 0;
    // Sends the log text to the maker's web site; the end comes back through OnLogSent.
    virtual void UploadLog(const c_String& message) = 0;
};

typedef c_InstallerDownloader* (*t_InstallerDownloaderFactory)(c_InstallerDialog* dialog);

// Replaces the factory (null for none) and returns the one it replaced. Set it before a dialog runs.
t_InstallerDownloaderFactory SetInstallerDownloaderFactory(t_InstallerDownloaderFactory factory);
// A new downloader for the dialog; null without a factory or when the factory fails.
c_InstallerDownloader* CreateInstallerDownloader(c_InstallerDialog* dialog);
