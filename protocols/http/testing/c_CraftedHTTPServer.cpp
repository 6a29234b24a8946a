// Test helper: the crafted python3 HTTP server, started and stopped by process id.

#include "protocols/http/testing/c_CraftedHTTPServer.h"

#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"

#include <filesystem>
#include <fstream>
#include <sstream>

c_CraftedHTTPServer::c_CraftedHTTPServer(const std::string& address, const std::string& certificate,
                                         const std::string& key, std::uint16_t fixedPort)
    : m_Address(address), m_Secure(!certificate.empty()) {
    char pattern[] = "/tmp/crafted-http-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return;
    }
    m_Folder = pattern;
    const std::uint16_t port = fixedPort != 0 ? fixedPort : n_PosixPeer::FindClosedPort();
    std::vector<std::string> arguments = {"/usr/bin/python3", CRAFTED_HTTP_SERVER_SCRIPT, "--address", address,
                                          "--port",           std::to_string(port),       "--folder",  m_Folder};
    if (m_Secure) {
        arguments.insert(arguments.end(), {"--certificate", certificate, "--key", key});
    }
    m_p_Process = std::make_unique<c_PeerProcess>(arguments);
    if (m_p_Process->IsStarted() && c_PeerProcess::WaitUntilListening(address, port)) {
        m_Port = port;
    }
}

c_CraftedHTTPServer::~c_CraftedHTTPServer() {
    m_p_Process.reset();
    if (!m_Folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_Folder, ignored);
    }
}

std::string c_CraftedHTTPServer::GetURL(const std::string& path) const {
    return std::string(m_Secure ? "https" : "http") + "://" + m_Address + ":" + std::to_string(m_Port) + path;
}

std::vector<std::string> c_CraftedHTTPServer::GetRequests() const {
    std::vector<std::string> requests;
    for (std::size_t number = 1;; ++number) {
        std::ifstream file(m_Folder + "/" + std::to_string(number) + ".raw", std::ios::binary);
        if (!file) {
            return requests;
        }
        std::ostringstream bytes;
        bytes << file.rdbuf();
        requests.push_back(bytes.str());
    }
}

void c_CraftedHTTPServer::SetAnswer(const std::string& scenario, const std::string& response) const {
    std::filesystem::create_directory(m_Folder + "/answers");
    const std::string path = m_Folder + "/answers/" + scenario;
    std::ofstream(path + ".part", std::ios::binary) << response;
    std::filesystem::rename(path + ".part", path);
}

bool c_CraftedHTTPServer::WaitForRequests(std::size_t count) const {
    return n_Platform::WaitUntil([&] { return GetRequests().size() >= count; });
}
