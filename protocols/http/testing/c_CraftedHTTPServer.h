#pragma once
// Test helper: the crafted python3 HTTP server of tests/peers on a 127.0.0.x address, plain or over
// TLS, which answers by the first path segment and records every raw request. Started by the
// constructor and stopped by its process id when the object goes, with its record folder.

#include "network/testing/c_PeerProcess.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class c_CraftedHTTPServer {
public:
    // With a certificate and key (PEM files) it speaks TLS. Port 0 takes a free one.
    explicit c_CraftedHTTPServer(const std::string& address, const std::string& certificate = "",
                                 const std::string& key = "", std::uint16_t port = 0);
    ~c_CraftedHTTPServer();
    c_CraftedHTTPServer(const c_CraftedHTTPServer&) = delete;
    c_CraftedHTTPServer& operator=(const c_CraftedHTTPServer&) = delete;

    // 0 when the server did not start.
    std::uint16_t GetPort() const { return m_Port; }
    // scheme "://" address ":" port path.
    std::string GetURL(const std::string& path) const;
    // The raw requests received so far, oldest first.
    std::vector<std::string> GetRequests() const;
    // From now on the scenario (a first path segment) is answered with these bytes, then silence.
    void SetAnswer(const std::string& scenario, const std::string& response) const;
    // Waits (real time) until count requests have been recorded.
    bool WaitForRequests(std::size_t count) const;

private:
    std::string m_Address;
    std::string m_Folder;
    bool m_Secure = false;
    std::uint16_t m_Port = 0;
    std::unique_ptr<c_PeerProcess> m_p_Process;
};
