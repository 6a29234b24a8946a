#pragma once
// Test helper: `microsocks`, a SOCKS 5 proxy, on 127.0.0.1 at a free port; with a user name it lets
// only that user and password through. Stopped by its process id when the object goes.

#include "network/testing/c_PeerProcess.h"

#include <cstdint>
#include <memory>
#include <string>

class c_MicrosocksProxy {
public:
    explicit c_MicrosocksProxy(const std::string& userName = "", const std::string& password = "");

    // 0 when the proxy did not start.
    std::uint16_t GetPort() const { return m_Port; }

private:
    std::uint16_t m_Port = 0;
    std::unique_ptr<c_PeerProcess> m_p_Process;
};
