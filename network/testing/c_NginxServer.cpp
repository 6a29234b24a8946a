// Test helper: `nginx` serving files over TLS or in plain HTTP on 127.0.0.x.

#include "network/testing/c_NginxServer.h"

#include "platform/testing/PosixPeer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

c_NginxServer::c_NginxServer(const std::string& address, const std::string& certificate, const std::string& key,
                             const std::string& httpDirectives, const std::string& serverDirectives, std::uint16_t port)
    : m_Address(address) {
    Start(" ssl",
          "    ssl_certificate " + certificate + ";\n    ssl_certificate_key " + key +
              ";\n    ssl_protocols TLSv1.2;\n    ssl_ciphers " + CIPHER + ";\n" + serverDirectives,
          httpDirectives, port);
}

c_NginxServer::c_NginxServer(const std::string& address, const s_PlainDirectives& directives) : m_Address(address) {
    Start("", directives.m_Server, directives.m_HTTP, 0);
}

void c_NginxServer::Start(const std::string& listenOptions, const std::string& serverLines,
                          const std::string& httpDirectives, std::uint16_t fixedPort) {
    char pattern[] = "/tmp/network-nginx-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return;
    }
    m_Folder = pattern;
    std::filesystem::create_directory(m_Folder + "/files");
    // Free on 127.0.0.1 is as good as free here: nothing else in the tests listens on the others.
    const std::uint16_t port = fixedPort != 0 ? fixedPort : n_PosixPeer::FindClosedPort();
    const std::string temporary = m_Folder + "/temp";
    std::ofstream(m_Folder + "/nginx.conf")
        << "daemon off;\nmaster_process off;\nworker_processes 1;\nerror_log " << m_Folder << "/error.log;\npid "
        << m_Folder << "/nginx.pid;\nevents { worker_connections 64; }\nhttp {\n  access_log off;\n"
        << "  client_body_temp_path " << temporary << ";\n  proxy_temp_path " << temporary << ";\n"
        << "  fastcgi_temp_path " << temporary << ";\n  uwsgi_temp_path " << temporary << ";\n"
        << "  scgi_temp_path " << temporary << ";\n  default_type application/octet-stream;\n"
        << httpDirectives << "  server {\n    listen " << m_Address << ":" << port << listenOptions << ";\n"
        << serverLines << "    root " << m_Folder << "/files;\n  }\n}\n";
    m_p_Process = std::make_unique<c_PeerProcess>(std::vector<std::string>{
        "nginx", "-c", m_Folder + "/nginx.conf", "-p", m_Folder, "-e", m_Folder + "/error.log"});
    if (m_p_Process->IsStarted() && c_PeerProcess::WaitUntilListening(m_Address, port)) {
        m_Port = port;
    }
}

c_NginxServer::~c_NginxServer() {
    m_p_Process.reset();
    if (!m_Folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_Folder, ignored);
    }
}
