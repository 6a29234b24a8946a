// Test helper: the local mirror kit, its nginx and its fault mirror.

#include "installer/testing/c_MirrorKit.h"

#include "network/testing/c_PeerProcess.h"
#include "platform/testing/PumpUntil.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The regular files of a folder by name, without the hidden ones (files still being written).
std::vector<std::filesystem::path> ListFiles(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// "<n>-<address>.raw": the request line, the headers, an empty line, the body.
s_MirrorRequest ParseRecordedRequest(const std::filesystem::path& path) {
    s_MirrorRequest request;
    const std::string stem = path.stem().string();
    request.m_Address = stem.substr(stem.find('-') + 1);
    const std::string all = ReadWholeFile(path.string());
    const std::size_t end = all.find("\r\n\r\n");
    request.m_Head = all.substr(0, end == std::string::npos ? all.size() : end + 2);
    request.m_Body = end == std::string::npos ? "" : all.substr(end + 4);
    std::istringstream line(request.m_Head.substr(0, request.m_Head.find("\r\n")));
    line >> request.m_Method >> request.m_Path;
    return request;
}

} // namespace

c_MirrorKit::c_MirrorKit(const std::vector<std::string>& payloadOptions) {
    if (!m_Folder.IsReady()) {
        return;
    }
    std::string command = std::string(MIRROR_KIT_TOOLS) + "/make-kit " + GetPath("");
    for (const std::string& option : payloadOptions) {
        command += " '" + option + "'";
    }
    m_Ready = std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

c_MirrorKit::~c_MirrorKit() {
    Stop();
}

std::string c_MirrorKit::ReadPayloadFile(const std::string& path) const {
    return ReadWholeFile(GetPath("payload/" + path));
}

std::string c_MirrorKit::GetURL(const std::string& address, const std::string& path) {
    return "https://" + address + ":" + std::to_string(PORT) + path;
}

void c_MirrorKit::TrustAuthority() {
    m_p_Trust = std::make_unique<c_ScopedCertificateFile>(GetAuthorityPath());
}

bool c_MirrorKit::StartNginx() {
    return StartServer({"nginx", "-c", GetPath("nginx.conf"), "-p", GetPath("nginx")});
}

bool c_MirrorKit::StartFaultMirror(const std::string& scenarios) {
    SetScenarios(scenarios);
    return StartServer({"/usr/bin/python3", std::string(MIRROR_KIT_TOOLS) + "/fault-mirror", "--certificate",
                        GetPath("authority/server.crt"), "--key", GetPath("authority/server.key"), "--root",
                        GetPath("payload"), "--scenarios", GetPath("scenarios.json"), "--record", GetPath("requests")});
}

bool c_MirrorKit::StartServer(const std::vector<std::string>& arguments) {
    m_Folder.Stop();
    if (!m_p_Lock) {
        m_p_Lock = std::make_unique<c_MirrorAddressesLock>();
    }
    if (!m_Ready || !m_p_Lock->IsHeld() || !m_Folder.Start(arguments, SITE_ADDRESS, PORT)) {
        return false;
    }
    return std::all_of(MIRROR_ADDRESSES.begin(), MIRROR_ADDRESSES.end(),
                       [](const std::string& address) { return c_PeerProcess::WaitUntilListening(address, PORT); });
}

void c_MirrorKit::SetScenarios(const std::string& scenarios) const {
    // Written whole and renamed, so the mirror never reads half a table.
    m_Folder.WriteFile(".scenarios.json", scenarios);
    std::filesystem::rename(GetPath(".scenarios.json"), GetPath("scenarios.json"));
}

void c_MirrorKit::Stop() {
    m_Folder.Stop();
    m_p_Lock.reset();
}

std::vector<s_MirrorRequest> c_MirrorKit::GetRecordedRequests() const {
    std::vector<s_MirrorRequest> requests;
    for (const std::filesystem::path& path : ListFiles(GetPath("requests"))) {
        requests.push_back(ParseRecordedRequest(path));
    }
    return requests;
}

bool c_MirrorKit::WaitForRecordedRequests(std::size_t count) const {
    return n_Platform::WaitUntil([&] { return ListFiles(GetPath("requests")).size() >= count; });
}

std::vector<std::string> c_MirrorKit::GetUploads() const {
    std::vector<std::string> uploads;
    for (const std::filesystem::path& path : ListFiles(GetPath("nginx/uploads"))) {
        uploads.push_back(ReadWholeFile(path.string()));
    }
    return uploads;
}
