#pragma once
// The TLS benchmarks' peer: a test authority, trusted by the contexts of every core made after it,
// and nginx over TLS 1.2 with one cipher on 127.0.0.2 (named "localhost" too), serving a sparse 1 GiB
// file as /big. Made once, on first use.

#include "network/testing/c_NginxServer.h"
#include "network/testing/c_TestAuthority.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace n_Bench {

constexpr std::uint64_t BIG_FILE_SIZE = std::uint64_t(1) << 30;

struct s_TLSServer {
    s_TLSServer() {
        m_Authority.Issue("localhost", "DNS:localhost,IP:127.0.0.2");
        m_p_Trust = std::make_unique<c_ScopedCertificateFile>(m_Authority.GetCertificatePath());
        m_p_Nginx = std::make_unique<c_NginxServer>("127.0.0.2", m_Authority.GetPath("localhost.crt"),
                                                    m_Authority.GetPath("localhost.key"));
        // Zeros cost TLS what any bytes cost, and a sparse file costs no disk.
        std::ofstream(m_p_Nginx->GetFilePath("big")).close();
        std::filesystem::resize_file(m_p_Nginx->GetFilePath("big"), BIG_FILE_SIZE);
    }

    // curl with the server's protocol version, cipher and authority, "localhost" resolved to it.
    std::string GetCurlCommand() const {
        const std::string port = std::to_string(m_p_Nginx->GetPort());
        return std::string("curl -s -f --tlsv1.2 --tls-max 1.2 --ciphers ") + c_NginxServer::CIPHER + " --cacert " +
               m_Authority.GetCertificatePath() + " --resolve localhost:" + port + ":127.0.0.2";
    }
    std::string GetURL(const std::string& host, const std::string& path) const {
        return "https://" + host + ":" + std::to_string(m_p_Nginx->GetPort()) + path;
    }

    c_TestAuthority m_Authority;
    std::unique_ptr<c_ScopedCertificateFile> m_p_Trust;
    std::unique_ptr<c_NginxServer> m_p_Nginx;
};

inline s_TLSServer& GetTLSServer() {
    static s_TLSServer server;
    return server;
}

} // namespace n_Bench
