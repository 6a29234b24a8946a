#pragma once
// c_FileDownloader: the download state machine behind the Install button.
//
// It asks the four mirrors for "VersionNumbers.txt" at once and picks one (the largest field 4;
// ties to the earliest answer), reads that version's "FilesToDownload.txt" and the common list it
// may name, requests every listed file that is missing or differs by MD5 (never one that must not be
// overwritten), checks each answer and writes it under the staging folder, recording where it goes.
// A failed step is repeated by a 5000 ms timer, at most four times since the last reset. It also
// sends the log to the maker's web site. Everything runs on the dialog's thread: the HTTP client calls
// its owner there, and the retry timer fires there.
//
// Nothing from a list leaves the installation folder: every line's name and folder, and the common
// folder, are checked (FileListLine.h), and an unsafe line stops the run with the format error. Only
// complete answers with status 200 are read as version answers, lists, and files without an MD5.
//
// States: 0 idle, 1 version numbers, 2 file list, 3 common file list, 4 files, 5 done.

#include "installer/c_InstallerDownloader.h"
#include "oslayer/threads/c_TimerNew.h"
#include "oslayer/threads/c_TimerNewCallback.h"
#include "protocols/http/c_AsyncHTTP2.h"
#include "protocols/http/c_HTTPProxySettings.h"
#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>
#include <map>
#include <set>
#include <vector>

class c_InstallerDialog;
class c_HTTPResponse;

class c_FileDownloader : public c_AsyncHTTP2Owner, public c_TimerNewCallback, public c_InstallerDownloader {
public:
    enum e_DownloadState : std::int32_t {
        DOWNLOAD_STATE_IDLE = 0,
        DOWNLOAD_STATE_VERSION_NUMBERS = 1,
        DOWNLOAD_STATE_FILE_LIST = 2,
        DOWNLOAD_STATE_COMMON_FILE_LIST = 3,
        DOWNLOAD_STATE_FILES = 4,
        DOWNLOAD_STATE_DONE = 5,
    };
    enum e_FileStatus : std::int32_t {
        FILE_STATUS_NEW = 0,
        FILE_STATUS_REQUESTED = 1,
        FILE_STATUS_FAILED = 2,
        FILE_STATUS_WRITE_ERROR = 3,
        FILE_STATUS_WRITTEN = 4,
    };
    static constexpr std::uint32_t RETRY_INTERVAL_MS = 5000;
    // Expiries of the retry timer since the last reset that repeat the step; the next one gives up.
    static constexpr std::int32_t MAX_RETRIES = 4;

    struct s_FileToDownload {
        c_String m_MD5;
        // '/'-separated, checked.
        c_String m_Folder;
        std::int32_t m_Status = FILE_STATUS_NEW;
        std::int32_t m_RequestID = -1;
    };
    struct s_VersionNumbersResponse {
        c_String m_MirrorBaseURL;
        std::vector<c_String> m_Fields;
    };

    explicit c_FileDownloader(c_InstallerDialog* dialog);
    ~c_FileDownloader();
    c_FileDownloader(const c_FileDownloader&) = delete;
    c_FileDownloader& operator=(const c_FileDownloader&) = delete;

    // The factory the program registers (SetInstallerDownloaderFactory).
    static c_InstallerDownloader* Create(c_InstallerDialog* dialog);

    void SetVersion(std::int32_t version) override { m_Version = version; }
    std::int32_t GetVersion() const { return m_Version; }
    void SetInstallPath(const c_String& path) override;
    void SetStagingFolderName(const c_String& name) override;
    void SetProxySettings(const c_HTTPProxySettings& settings) override;
    void GetProxySettings(c_HTTPProxySettings& settings) const { settings = m_ProxySettings; }
    void SetState(std::int32_t state) { m_State = state; }
    std::int32_t GetState() const { return m_State; }
    bool IsBusy() const override;
    void Start() override;
    void CancelAll() override;
    std::vector<s_FileMove>& GetFileMoves() override { return m_FileMoves; }
    void UploadLog(const c_String& message) override;

    // (files written) * 100 / (files listed).
    std::int32_t PercentComplete() const;
    bool HasFileWithStatus(std::int32_t status) const;

    // False for a name that must never be overwritten when it exists.
    static bool IsOverwritableFile(const c_String& name);
    // The last '/' piece of the URL with every "%20" made a blank again.
    static c_String FileNameFromUrl(const c_String& url);
    // Begins with "<!DOCTYPE" or "<html>", without case.
    static bool IsHtmlResponse(const c_StringView& text);
    // The first line of "Username.txt" beside the program, trimmed; empty when there is none.
    static c_String ReadUsernameFile();

    void OnAsyncHTTP2RequestFinished(c_AsyncHTTP2* client, c_AsyncHTTP2Request* first, c_AsyncHTTP2Request* final,
                                     std::int32_t endState, c_HTTPResponse* response) override;
    void OnTimer(c_TimerNew* timer) override;

private:
    // c_FileDownloader.cpp: versions, dispatch, retries, the log upload.
    c_String GetDownloadsURL() const { return m_MirrorBaseURL + "downloads/"; }
    // End state 2, status 200 and the whole body.
    static bool IsCompleteAnswer(std::int32_t endState, const c_HTTPResponse* response);
    void StartRetryTimer();
    void RequestVersionNumbers();
    void OnVersionNumbersFinished(std::int32_t id, std::int32_t endState, c_HTTPResponse* response);
    void OnVersionNumbersComplete();
    void OnLogUploadFinished(std::int32_t endState, c_HTTPResponse* response, const c_String& statusText);
    void DispatchByState(std::int32_t id, const c_String& url, const c_String& statusText, std::int32_t endState,
                         c_HTTPResponse* response);

    // c_FileDownloaderFiles.cpp: the lists and the files.
    void RequestFileList();
    void RequestCommonFileList();
    void RequestList(const c_String& url);
    void RequestFiles();
    void OnFileListFinished(std::int32_t id, const c_String& url, const c_String& statusText, std::int32_t endState,
                            c_HTTPResponse* response);
    void OnCommonFileListFinished(std::int32_t id, const c_String& url, const c_String& statusText,
                                  std::int32_t endState, c_HTTPResponse* response);
    // Steps 1 to 3 of both lists; false when the body is not to be read.
    bool AcceptListResponse(std::int32_t id, const c_String& url, const c_String& statusText, std::int32_t endState,
                            c_HTTPResponse* response, const char* htmlText);
    // Adds the line's file under the list folder (the version or the common folder); false after the
    // format error for an unsafe line.
    bool AddListedFile(const c_StringView& line, const c_String& listFolder);
    void StopWithFormatError(const c_StringView& line);
    void AddFileToDownload(c_String url, const c_String& folder, const c_String& md5);
    bool IsUpToDateOrProtected(const c_String& localFolder, const c_String& name, const c_String& md5);
    void OnFileFinished(const c_String& url, const c_String& statusText, std::int32_t endState,
                        c_HTTPResponse& response);
    void WriteStagedFile(s_FileToDownload& file, const c_String& name, const c_ByteBuffer& body);
    void CheckAllFilesFinished();
    c_String GetInstallFolder() const;

    c_AsyncHTTP2 m_AsyncHTTP;
    c_HTTPProxySettings m_ProxySettings;
    c_TimerNew m_RetryTimer;
    std::int32_t m_RetryCount = 0;
    std::int32_t m_ListRequestID = 0;
    std::map<c_String, s_FileToDownload> m_FilesToDownload;
    c_InstallerDialog* m_p_InstallerDialog;
    std::int32_t m_State = DOWNLOAD_STATE_IDLE;
    std::int32_t m_Version = 0;
    c_String m_CommonFolder;
    c_String m_InstallPath;
    c_String m_StagingFolderName;
    std::vector<s_FileMove> m_FileMoves;
    std::int32_t m_LogUploadRequestID = 0;
    std::set<c_String> m_CreatedFolders;
    c_String m_MirrorBaseURL;
    std::map<std::int32_t, c_String> m_VersionRequests;
    // Usable answers in order of arrival.
    std::vector<s_VersionNumbersResponse> m_VersionResponses;
};
