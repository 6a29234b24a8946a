#pragma once
// Test helper: `tinyproxy`, a plain HTTP proxy that forwards absolute-form requests, on a 127.0.0.x
// address at a free port; with a user name it asks for Basic authentication (realm "Tinyproxy"). It
// runs as the current user from a folder of its own and is stopped by its process id.

#include "network/testing/c_PeerFolder.h"

#include <cstdint>
#include <string>

class c_TinyproxyServer {
public:
    explicit c_TinyproxyServer(const std::string& address, const std::string& userName = "",
                               const std::string& password = "");

    // 0 when the proxy did not start.
    std::uint16_t GetPort() const { return m_Port; }
    // What the proxy wrote about the requests it saw.
    std::string GetLog() const;

private:
    c_PeerFolder m_Folder{"protocols-tinyproxy"};
    std::uint16_t m_Port = 0;
};
