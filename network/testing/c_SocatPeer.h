#pragma once
// Test helper: `socat` listening on 127.0.0.1 at a port of its own choice (TCP unless told, or
// "UDP-LISTEN:0,bind=127.0.0.1"), joined to the given address (PIPE echoes). Blocks of 4096 bytes: socat then never
// blocks writing into its own pipe. The constructor returns once socat reports its port; the destructor stops it by its
// process id.

#include "network/testing/c_PeerProcess.h"

#include <cstdint>
#include <string>

class c_SocatPeer {
public:
    explicit c_SocatPeer(const std::string& address,
                         const std::string& listen = "TCP-LISTEN:0,bind=127.0.0.1,reuseaddr");
    c_SocatPeer(const c_SocatPeer&) = delete;
    c_SocatPeer& operator=(const c_SocatPeer&) = delete;

    // 0 when socat did not start.
    std::uint16_t GetPort() const { return m_Port; }

private:
    c_PeerProcess m_Process;
    std::uint16_t m_Port = 0;
};
