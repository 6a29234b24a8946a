#pragma once
// Test helper: `nginx` serving the files of a fresh folder over TLS 1.2 with one cipher, or in plain
// HTTP, at a free port of the given 127.0.0.x address, from a configuration written into that folder. It runs as one
// process in the foreground, stopped by its process id when the object goes; the folder goes too.

#include "network/testing/c_PeerProcess.h"

#include <cstdint>
#include <memory>
#include <string>

class c_NginxServer {
public:
    static constexpr const char* CIPHER = "ECDHE-ECDSA-AES128-GCM-SHA256";

    // certificate and key: PEM files, an ECDSA key for CIPHER. The directives go into the http and
    // server blocks (gzip, rate limits, a log of one's own). Port 0 takes a free one.
    c_NginxServer(const std::string& address, const std::string& certificate, const std::string& key,
                  const std::string& httpDirectives = "", const std::string& serverDirectives = "",
                  std::uint16_t port = 0);
    // The directives of the http and server blocks of a plain server.
    struct s_PlainDirectives {
        std::string m_HTTP;
        std::string m_Server;
    };

    // Plain HTTP.
    explicit c_NginxServer(const std::string& address, const s_PlainDirectives& directives = {});
    ~c_NginxServer();
    c_NginxServer(const c_NginxServer&) = delete;
    c_NginxServer& operator=(const c_NginxServer&) = delete;

    // 0 when nginx did not start.
    std::uint16_t GetPort() const { return m_Port; }
    const std::string& GetAddress() const { return m_Address; }
    // Where the file served as /name lives.
    std::string GetFilePath(const std::string& name) const { return m_Folder + "/files/" + name; }
    // The server's own folder, for logs its directives write.
    const std::string& GetFolder() const { return m_Folder; }

private:
    // serverLines: the TLS lines and directives of the server block, or none.
    void Start(const std::string& listenOptions, const std::string& serverLines, const std::string& httpDirectives,
               std::uint16_t port);

    std::string m_Address;
    std::string m_Folder;
    std::uint16_t m_Port = 0;
    std::unique_ptr<c_PeerProcess> m_p_Process;
};
