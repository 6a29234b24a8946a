// c_FileDownloader: its life, the version numbers and the mirror choice, the dispatch of finished
// requests, the retry timer and the log upload. The lists and the files are in
// c_FileDownloaderFiles.cpp.

#include "installer/c_FileDownloader.h"

#include "installer/Deployment.h"
#include "installer/VersionNumbers.h"
#include "installer/c_InstallerApp.h"
#include "installer/c_InstallerDialog.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/files/WholeFiles.h"
#include "oslayer/system/LogMessage.h"
#include "protocols/http/URLEncode.h"
#include "protocols/http/c_HTTPRequestParameters.h"
#include "protocols/http/c_HTTPResponse.h"
#include "textutil/NumberFormatting.h"
#include "textutil/NumberParsing.h"

namespace {

constexpr std::int32_t USERNAME_TEXT_LIMIT = 1024;
constexpr std::int32_t HTTP_STATUS_OK = 200;

} // namespace

c_FileDownloader::c_FileDownloader(c_InstallerDialog* dialog)
    : m_AsyncHTTP(this), m_RetryTimer(this, "c_FileDownloader::m_RetryTimer"), m_p_InstallerDialog(dialog) {
    m_AsyncHTTP.SetProxySettings(&m_ProxySettings);
    m_AsyncHTTP.SetErrorOnlySocketLogging();
}

c_FileDownloader::~c_FileDownloader() {
    // Requests ending during this cancel are then only logged.
    m_ListRequestID = 0;
    m_LogUploadRequestID = 0;
    m_AsyncHTTP.CancelAllRequests(true);
}

c_InstallerDownloader* c_FileDownloader::Create(c_InstallerDialog* dialog) {
    return new c_FileDownloader(dialog);
}

void c_FileDownloader::SetInstallPath(const c_String& path) {
    m_InstallPath = c_String(path.GetTrimmedView());
}

void c_FileDownloader::SetStagingFolderName(const c_String& name) {
    m_StagingFolderName = c_String(name.GetTrimmedView());
}

void c_FileDownloader::SetProxySettings(const c_HTTPProxySettings& settings) {
    m_ProxySettings = settings;
    if (!m_ProxySettings.IsInUse()) {
        LogMessage("Not using HTTP proxy server settings.");
        return;
    }
    LogMessage(Concat({"Using proxy server settings. Address: ", m_ProxySettings.m_ProxyAddress,
                       ".  Port: ", ToString(static_cast<int>(m_ProxySettings.m_HTTPSPort))}));
    m_ProxySettings.m_ChangedSignal.Emit();
}

bool c_FileDownloader::IsBusy() const {
    return m_State >= DOWNLOAD_STATE_VERSION_NUMBERS && m_State <= DOWNLOAD_STATE_FILES;
}

void c_FileDownloader::Start() {
    const c_InstallerApp* app = c_InstallerApp::GetInstance();
    if (app != nullptr && app->GetServerVersion()) {
        return;
    }
    m_State = DOWNLOAD_STATE_VERSION_NUMBERS;
    RequestVersionNumbers();
}

void c_FileDownloader::CancelAll() {
    m_AsyncHTTP.CancelAllRequests(true);
    m_VersionRequests.clear();
    m_VersionResponses.clear();
    m_RetryCount = 0;
    m_State = DOWNLOAD_STATE_IDLE;
}

void c_FileDownloader::StartRetryTimer() {
    m_RetryTimer.Start(RETRY_INTERVAL_MS, 1, false, false);
}

bool c_FileDownloader::IsCompleteAnswer(std::int32_t endState, const c_HTTPResponse* response) {
    return endState == c_AsyncHTTP2::c_Request::END_COMPLETED && response != nullptr &&
           response->GetStatusCode() == HTTP_STATUS_OK && response->IsComplete();
}

void c_FileDownloader::RequestVersionNumbers() {
    if (m_State != DOWNLOAD_STATE_VERSION_NUMBERS) {
        return;
    }
    m_VersionRequests.clear();
    m_VersionResponses.clear();
    for (const c_String& mirror : GetMirrorBaseURLs()) {
        c_HTTPRequestParameters parameters;
        parameters.m_Method = HTTP_METHOD_GET;
        parameters.m_URL = mirror + "downloads/VersionNumbers.txt";
        parameters.m_Headers["Accept-Encoding"] = "identity";
        const c_AsyncHTTP2::c_Request* request = m_AsyncHTTP.SendRequest(parameters, nullptr);
        LogMessage("HTTP Request: " + parameters.m_URL);
        if (request == nullptr || request->GetID() == 0) {
            LogMessage("Error sending the request for the version numbers.");
            m_AsyncHTTP.CancelAllRequests(false);
            StartRetryTimer();
            return;
        }
        m_VersionRequests[request->GetID()] = mirror;
    }
}

void c_FileDownloader::OnAsyncHTTP2RequestFinished(c_AsyncHTTP2*, c_AsyncHTTP2Request* first,
                                                   c_AsyncHTTP2Request* final, std::int32_t endState,
                                                   c_HTTPResponse* response) {
    const std::int32_t id = first->GetID();
    const c_String url = first->GetURL();
    const c_String statusText = final->GetStatusText();
    if (id == m_LogUploadRequestID) {
        OnLogUploadFinished(endState, response, statusText);
        return;
    }
    if (endState == c_AsyncHTTP2::c_Request::END_CANCELED) {
        LogMessage(
            Concat({"Download of ", url, " did not complete. Status: ", statusText, " Request ID: ", ToString(id)}));
        return;
    }
    if (m_VersionRequests.count(id) != 0) {
        OnVersionNumbersFinished(id, endState, response);
        return;
    }
    DispatchByState(id, url, statusText, endState, response);
}

void c_FileDownloader::DispatchByState(std::int32_t id, const c_String& url, const c_String& statusText,
                                       std::int32_t endState, c_HTTPResponse* response) {
    switch (m_State) {
        case DOWNLOAD_STATE_FILE_LIST:
            OnFileListFinished(id, url, statusText, endState, response);
            return;
        case DOWNLOAD_STATE_COMMON_FILE_LIST:
            OnCommonFileListFinished(id, url, statusText, endState, response);
            return;
        case DOWNLOAD_STATE_FILES:
            if (response != nullptr) {
                OnFileFinished(url, statusText, endState, *response);
            }
            CheckAllFilesFinished();
            return;
        default:
            LogMessage("Unexpected download status in OnAsyncHTTP2RequestFinished. Download status: " +
                       ToString(m_State));
    }
}

void c_FileDownloader::OnVersionNumbersFinished(std::int32_t id, std::int32_t endState, c_HTTPResponse* response) {
    if (IsCompleteAnswer(endState, response)) {
        const c_StringView body = response->GetBody().GetView();
        std::vector<c_String> fields;
        if (!body.IsEmpty() && !IsHtmlResponse(body) && ParseVersionNumbers(body, fields)) {
            m_VersionResponses.push_back({m_VersionRequests[id], std::move(fields)});
        }
    }
    m_VersionRequests.erase(id);
    if (m_VersionRequests.empty()) {
        OnVersionNumbersComplete();
    }
}

void c_FileDownloader::OnVersionNumbersComplete() {
    if (m_VersionResponses.empty()) {
        LogMessage("Request of version numbers failed. Retrying.");
        StartRetryTimer();
        return;
    }
    std::vector<std::int32_t> ranks;
    for (const s_VersionNumbersResponse& answer : m_VersionResponses) {
        ranks.push_back(ParseInt32(answer.m_Fields[VERSION_FIELD_RANK]));
    }
    const s_VersionNumbersResponse& chosen = m_VersionResponses[ChooseVersionAnswer(ranks)];
    m_MirrorBaseURL = chosen.m_MirrorBaseURL;
    if (m_Version == 0) {
        m_Version = ParseInt32(chosen.m_Fields[VERSION_FIELD_CURRENT]);
    } else if (m_Version == -1) {
        m_Version = ParseInt32(chosen.m_Fields[VERSION_FIELD_PRERELEASE]);
    }
    m_RetryCount = 0;
    m_ListRequestID = 0;
    m_State = DOWNLOAD_STATE_FILE_LIST;
    RequestFileList();
}

void c_FileDownloader::OnTimer(c_TimerNew* timer) {
    if (timer != &m_RetryTimer) {
        return;
    }
    m_ListRequestID = 0;
    if (++m_RetryCount > MAX_RETRIES) {
        m_p_InstallerDialog->OnDownloadError("Maximum number of retries encountered. Refer to log. Download canceled.");
        return;
    }
    switch (m_State) {
        case DOWNLOAD_STATE_VERSION_NUMBERS:
            RequestVersionNumbers();
            return;
        case DOWNLOAD_STATE_FILE_LIST:
            RequestFileList();
            return;
        case DOWNLOAD_STATE_COMMON_FILE_LIST:
            RequestCommonFileList();
            return;
        case DOWNLOAD_STATE_FILES:
            RequestFiles();
            return;
        default:
            return;
    }
}

c_String c_FileDownloader::ReadUsernameFile() {
    c_String name;
    if (!ReadFileToString(n_OSLayer::GetProgramFolder() + "Username.txt", name, USERNAME_TEXT_LIMIT)) {
        return c_String();
    }
    return c_String(name.GetTrimmedView());
}

void c_FileDownloader::UploadLog(const c_String& message) {
    c_HTTPRequestParameters parameters;
    parameters.m_Method = HTTP_METHOD_POST;
    parameters.m_URL = GetWebSiteBaseURL() + "API.php?Service=UploadInstallerLogFile";
    parameters.SetBody(Concat({"Username=", URLEncode(ReadUsernameFile()), "&MessageText=", URLEncode(message)}));
    const c_AsyncHTTP2::c_Request* request = m_AsyncHTTP.SendRequest(parameters, nullptr);
    m_LogUploadRequestID = request != nullptr ? request->GetID() : 0;
}

void c_FileDownloader::OnLogUploadFinished(std::int32_t endState, c_HTTPResponse* response,
                                           const c_String& statusText) {
    m_LogUploadRequestID = 0;
    const bool sent = endState == c_AsyncHTTP2::c_Request::END_COMPLETED && response != nullptr &&
                      response->GetStatusCode() >= 200 && response->GetStatusCode() < 300;
    m_p_InstallerDialog->OnLogSent(sent ? c_String() : "Error sending the installer log: " + statusText);
}
