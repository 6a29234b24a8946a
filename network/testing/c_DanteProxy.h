#pragma once
// Test helper: `danted` (dante-server), a SOCKS 5 proxy without authentication, on 127.0.0.1 at a
// free port, passing connections to any 127.0.0.x target. It runs as the current user from a folder
// of its own and is stopped by its process id when the object goes.

#include "network/testing/c_PeerFolder.h"

#include <cstdint>
#include <string>

class c_DanteProxy {
public:
    c_DanteProxy();

    // 0 when the proxy did not start.
    std::uint16_t GetPort() const { return m_Port; }
    // A line per connection it passed on.
    std::string GetLog() const;

private:
    c_PeerFolder m_Folder{"network-dante"};
    std::uint16_t m_Port = 0;
};
