// c_FileDownloader: the version's and the common file list, the choice of the files to download,
// their requests, the check of each answer and the staged file.

#include "installer/FileListLine.h"
#include "installer/InstallerConstants.h"
#include "installer/c_FileDownloader.h"
#include "installer/c_InstallerDialog.h"
#include "oslayer/files/FileDigests.h"
#include "oslayer/files/FolderCreation.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/files/c_File.h"
#include "oslayer/files/c_FolderListing.h"
#include "oslayer/system/LogMessage.h"
#include "protocols/http/c_HTTPResponse.h"
#include "textutil/NumberFormatting.h"
#include "textutil/TextSplit.h"
#include "textutil/c_MD5.h"

#include <array>
#include <vector>

namespace {

constexpr std::int32_t HTTP_STATUS_OK = 200;
const char* const LIST_FORMAT_ERROR = "Incorrect format for FilesToDownload.txt file.";
const std::array<const char*, 7> PROTECTED_EXTENSIONS = {".twconfig", ".stdycollct", ".cht",   ".dly",
                                                         ".qvid",     ".cfg",        ".config"};

// The lines of a list body; a final "\r\n" adds no empty line.
std::vector<c_StringView> SplitListLines(const c_StringView& body) {
    std::vector<c_StringView> lines = Split(body, c_StringView("\r\n"));
    if (!lines.empty() && lines.back().IsEmpty()) {
        lines.pop_back();
    }
    return lines;
}

c_String WithBackslashes(const c_String& folder) {
    c_String text = folder;
    text.Replace('/', '\\');
    return text;
}

} // namespace

c_String c_FileDownloader::GetInstallFolder() const {
    return m_InstallPath.EndsWith("\\") ? m_InstallPath : m_InstallPath + "\\";
}

void c_FileDownloader::RequestFileList() {
    if (m_State == DOWNLOAD_STATE_FILE_LIST) {
        RequestList(Concat({GetDownloadsURL(), ToString(m_Version), "/FilesToDownload.txt"}));
    }
}

void c_FileDownloader::RequestCommonFileList() {
    if (m_State == DOWNLOAD_STATE_COMMON_FILE_LIST) {
        RequestList(Concat({GetDownloadsURL(), m_CommonFolder, "/FilesToDownload.txt"}));
    }
}

void c_FileDownloader::RequestList(const c_String& url) {
    m_ListRequestID = m_AsyncHTTP.SendGetRequest(url);
    LogMessage("HTTP Request: " + url);
    if (m_ListRequestID == 0) {
        LogMessage("Error sending the request.");
        StartRetryTimer();
    }
}

bool c_FileDownloader::AcceptListResponse(std::int32_t id, const c_String& url, const c_String& statusText,
                                          std::int32_t endState, c_HTTPResponse* response, const char* htmlText) {
    if (id != m_ListRequestID) {
        return false;
    }
    m_ListRequestID = 0;
    // An error page or a cut-short body must not be read as a list.
    if (!IsCompleteAnswer(endState, response)) {
        LogMessage(Concat({"Download of ", url, " did not complete. Status: ", statusText}));
        StartRetryTimer();
        return false;
    }
    if (IsHtmlResponse(response->GetBody().GetView())) {
        LogMessage(htmlText);
        StartRetryTimer();
        return false;
    }
    return true;
}

void c_FileDownloader::OnFileListFinished(std::int32_t id, const c_String& url, const c_String& statusText,
                                          std::int32_t endState, c_HTTPResponse* response) {
    if (!AcceptListResponse(id, url, statusText, endState, response,
                            "Incorrect URL when getting files list to download.")) {
        return;
    }
    const std::vector<c_StringView> lines = SplitListLines(response->GetBody().GetView());
    m_FilesToDownload.clear();
    if (lines.empty()) {
        m_State = DOWNLOAD_STATE_DONE;
        m_p_InstallerDialog->OnDownloadError("No files to download.");
        return;
    }
    c_String commonFolder;
    const c_String versionFolder = ToString(m_Version);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const c_StringView& line = lines[i];
        if (line.Find("=") >= 0) {
            if (!AddListedFile(line, versionFolder)) {
                return;
            }
        } else if (i + 1 == lines.size() && IsSafeFolder(line)) {
            commonFolder = c_String(line);
        } else {
            StopWithFormatError(line);
            return;
        }
    }
    m_RetryCount = 0;
    if (!commonFolder.IsEmpty()) {
        m_CommonFolder = commonFolder;
        m_State = DOWNLOAD_STATE_COMMON_FILE_LIST;
        RequestCommonFileList();
        return;
    }
    m_State = DOWNLOAD_STATE_FILES;
    LogMessage("Starting request of files to install.");
    RequestFiles();
}

void c_FileDownloader::OnCommonFileListFinished(std::int32_t id, const c_String& url, const c_String& statusText,
                                                std::int32_t endState, c_HTTPResponse* response) {
    if (!AcceptListResponse(id, url, statusText, endState, response,
                            "Incorrect URL when getting common files list to download.")) {
        return;
    }
    for (const c_StringView& line : SplitListLines(response->GetBody().GetView())) {
        if (line.Find("=") >= 0 && !AddListedFile(line, m_CommonFolder)) {
            return;
        }
    }
    LogMessage("Starting request of files to install.");
    m_State = DOWNLOAD_STATE_FILES;
    RequestFiles();
}

bool c_FileDownloader::AddListedFile(const c_StringView& line, const c_String& listFolder) {
    s_FileListLine entry;
    ParseFileListLine(line, entry);
    if (!IsSafeFileListLine(entry)) {
        StopWithFormatError(line);
        return false;
    }
    c_String url = Concat({GetDownloadsURL(), listFolder, "/"});
    if (!entry.m_Folder.IsEmpty()) {
        url += entry.m_Folder + "/";
    }
    AddFileToDownload(url + entry.m_Name, entry.m_Folder, entry.m_MD5);
    return true;
}

void c_FileDownloader::StopWithFormatError(const c_StringView& line) {
    LogMessage("Unsafe or malformed line in FilesToDownload.txt: " + c_String(line));
    LogMessage(LIST_FORMAT_ERROR);
    m_p_InstallerDialog->OnDownloadError(LIST_FORMAT_ERROR);
}

void c_FileDownloader::AddFileToDownload(c_String url, const c_String& folder, const c_String& md5) {
    if (m_State != DOWNLOAD_STATE_FILE_LIST && m_State != DOWNLOAD_STATE_COMMON_FILE_LIST) {
        return;
    }
    const c_String name = FileNameFromUrl(url);
    c_String localFolder = GetInstallFolder();
    if (folder == "Data") {
        c_InstallerDialog::GetDataFilesFolder(m_InstallPath, localFolder);
    } else if (!folder.IsEmpty()) {
        localFolder += WithBackslashes(folder) + "\\";
    }
    if (IsUpToDateOrProtected(localFolder + name, name, md5)) {
        return;
    }
    url.ReplaceAll(" ", "%20");
    m_FilesToDownload[url] = s_FileToDownload{md5, folder, FILE_STATUS_NEW, -1};
}

bool c_FileDownloader::IsUpToDateOrProtected(const c_String& path, const c_String& name, const c_String& md5) {
    // The data-files folder is a prefix glued to the name, so the folder is taken from the whole path.
    const int nameStart = path.GetLength() - n_OSLayer::GetFileNamePart(path).GetLength();
    const c_String folder(path.Left(nameStart));
    c_FolderListing listing(folder, ".*", c_FolderListing::MODE_FILES);
    c_String existing;
    if (listing.SearchForFiles(c_FolderListing::RESULT_FIND_DATA)) {
        const auto found = listing.GetFindDataMap().find(c_StringNoCase(path.Mid(nameStart, path.GetLength())));
        if (found != listing.GetFindDataMap().end()) {
            existing = folder + found->first;
        }
    }
    // A listing misses long folders and hidden names; the path itself still tells.
    if (existing.IsEmpty() && c_File(path).Exists()) {
        existing = path;
    }
    if (existing.IsEmpty()) {
        return false;
    }
    if (!IsOverwritableFile(name)) {
        LogMessage("Not overwriting file since it exists: " + name);
        return true;
    }
    return !md5.IsEmpty() && GetMD5OfFile(existing) == md5;
}

void c_FileDownloader::RequestFiles() {
    if (m_State != DOWNLOAD_STATE_FILES) {
        return;
    }
    if (m_FilesToDownload.empty()) {
        m_State = DOWNLOAD_STATE_DONE;
        m_p_InstallerDialog->OnDownloadComplete(false);
        return;
    }
    bool sent = false;
    for (auto& [url, file] : m_FilesToDownload) {
        if (file.m_Status != FILE_STATUS_NEW && file.m_Status != FILE_STATUS_FAILED) {
            continue;
        }
        LogMessage("HTTP request: " + url);
        const std::int32_t id = m_AsyncHTTP.SendGetRequest(url);
        if (id != 0) {
            file.m_Status = FILE_STATUS_REQUESTED;
            file.m_RequestID = id;
            sent = true;
        } else {
            file.m_Status = FILE_STATUS_FAILED;
            file.m_RequestID = 0;
            LogMessage("Error sending HTTP request. " + url);
        }
    }
    if (!sent) {
        m_p_InstallerDialog->OnDownloadError("Error sending HTTP requests.");
    }
}

void c_FileDownloader::OnFileFinished(const c_String& url, const c_String& statusText, std::int32_t endState,
                                      c_HTTPResponse& response) {
    const auto found = m_FilesToDownload.find(url);
    if (found == m_FilesToDownload.end()) {
        return;
    }
    s_FileToDownload& file = found->second;
    file.m_RequestID = 0;
    const c_ByteBuffer& body = response.GetBody();
    const bool answered =
        endState == c_AsyncHTTP2::c_Request::END_COMPLETED && response.GetStatusCode() == HTTP_STATUS_OK;
    const bool md5Listed = !file.m_MD5.IsEmpty();
    const bool md5Matches = answered && md5Listed && GetMD5OfData(body.GetSpan()) == file.m_MD5;
    // A matching digest proves the body whatever it looks like; without one it must be whole and not
    // an error page.
    const bool usable = md5Matches || (!IsHtmlResponse(body.GetView()) && (md5Listed || response.IsComplete()));
    if (!answered || !usable) {
        file.m_Status = FILE_STATUS_FAILED;
        LogMessage(Concat({"Response not complete, invalid or error: ", statusText, " URL: ", url}));
        return;
    }
    const c_String name = FileNameFromUrl(url);
    if (md5Listed && !md5Matches) {
        file.m_Status = FILE_STATUS_FAILED;
        LogMessage(Concat({"MD5 for file does not match. File: ", name,
                           ". Received file size: ", ToString(static_cast<unsigned long>(body.GetSize()))}));
        return;
    }
    LogMessage("Received file: " + name);
    WriteStagedFile(file, name, body);
}

void c_FileDownloader::WriteStagedFile(s_FileToDownload& file, const c_String& name, const c_ByteBuffer& body) {
    const c_String installFolder = GetInstallFolder();
    c_String stagingFolder = installFolder + m_StagingFolderName + "\\";
    c_String finalFolder = installFolder;
    if (!file.m_Folder.IsEmpty()) {
        stagingFolder += WithBackslashes(file.m_Folder) + "\\";
        finalFolder += WithBackslashes(file.m_Folder) + "\\";
    }
    if (m_CreatedFolders.insert(stagingFolder).second) {
        c_String error;
        if (!CreateFolderRecursively(stagingFolder, error)) {
            LogMessage(Concat({"Failed to create folder: ", stagingFolder, ". ", error}));
        }
    }
    const c_String stagingPath = stagingFolder + name;
    m_FileMoves.push_back(s_FileMove{stagingPath, finalFolder + name, false});
    c_File staged(stagingPath);
    if (!staged.OpenForWrite(false, false)) {
        file.m_Status = FILE_STATUS_WRITE_ERROR;
        LogMessage(Concat({"Failed to open the file: ", stagingPath, ". Error: ", staged.GetLastErrorText()}));
        return;
    }
    if (!staged.Write(body)) {
        file.m_Status = FILE_STATUS_WRITE_ERROR;
        LogMessage(Concat({"Error writing to file: ", stagingPath, ". Error: ", staged.GetLastErrorText()}));
        staged.Close(false, false);
        return;
    }
    staged.Close(false, false);
    file.m_Status = FILE_STATUS_WRITTEN;
    m_p_InstallerDialog->SetProgress(PercentComplete());
}

void c_FileDownloader::CheckAllFilesFinished() {
    if (HasFileWithStatus(FILE_STATUS_REQUESTED)) {
        return;
    }
    if (HasFileWithStatus(FILE_STATUS_WRITE_ERROR)) {
        m_p_InstallerDialog->OnDownloadError(
            "Error saving downloaded files to local system. Stopping installation. Check log.");
        return;
    }
    if (!HasFileWithStatus(FILE_STATUS_FAILED)) {
        m_State = DOWNLOAD_STATE_DONE;
        m_p_InstallerDialog->OnDownloadComplete(true);
        return;
    }
    LogMessage(Concat({"Download for failed files will be retried in ", ToString(static_cast<int>(RETRY_INTERVAL_MS)),
                       " milliseconds."}));
    StartRetryTimer();
}

std::int32_t c_FileDownloader::PercentComplete() const {
    if (m_FilesToDownload.empty()) {
        return 0;
    }
    std::int32_t written = 0;
    for (const auto& entry : m_FilesToDownload) {
        written += entry.second.m_Status == FILE_STATUS_WRITTEN ? 1 : 0;
    }
    return written * 100 / static_cast<std::int32_t>(m_FilesToDownload.size());
}

bool c_FileDownloader::HasFileWithStatus(std::int32_t status) const {
    for (const auto& entry : m_FilesToDownload) {
        if (entry.second.m_Status == status) {
            return true;
        }
    }
    return false;
}

bool c_FileDownloader::IsOverwritableFile(const c_String& name) {
    const c_StringViewNoCase lastComponent(n_OSLayer::GetFileNamePart(name));
    if (lastComponent == "Clean Chart.StdyCollct") {
        return true;
    }
    if (lastComponent == "Dovrik4.config") {
        return false;
    }
    const c_StringViewNoCase whole(name.GetView());
    for (const char* extension : PROTECTED_EXTENSIONS) {
        if (whole.EndsWith(extension)) {
            return false;
        }
    }
    return true;
}

c_String c_FileDownloader::FileNameFromUrl(const c_String& url) {
    c_String name(url.GetView().Mid(url.ReverseFind("/") + 1, url.GetLength()));
    name.ReplaceAll("%20", " ");
    return name;
}

bool c_FileDownloader::IsHtmlResponse(const c_StringView& text) {
    const c_StringViewNoCase body(text);
    return body.StartsWith(HTML_DOCTYPE_MARKER) || body.StartsWith(HTML_TAG_MARKER);
}
