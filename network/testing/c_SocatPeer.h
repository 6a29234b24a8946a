#pragma once
// Test helper: `socat` listening on 127.0.0.1 at a port of its own choice (TCP unless told, or
// "UDP-LISTEN:0,bind=127.0.0.1"), joined to the given address (PIPE echoes). Blocks of 4096 bytes: socat then never
// blocks writing into its own pipe. The constructor returns once socat reports its port; the destructor stops it by its
// process id.

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>

class c_SocatPeer {
public:
    explicit c_SocatPeer(const std::string& address,
                         const std::string& listen = "TCP-LISTEN:0,bind=127.0.0.1,reuseaddr");
    ~c_SocatPeer();
    c_SocatPeer(const c_SocatPeer&) = delete;
    c_SocatPeer& operator=(const c_SocatPeer&) = delete;

    // 0 when socat did not start.
    std::uint16_t GetPort() const { return m_Port; }

private:
    pid_t m_Process = 0;
    FILE* m_p_Output = nullptr;
    std::uint16_t m_Port = 0;
};
