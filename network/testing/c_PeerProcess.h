#pragma once
// Test helper: a peer program started by a test, with its output thrown away, and stopped by its
// process id when the object goes.

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

class c_PeerProcess {
public:
    // arguments[0] is looked up on PATH.
    explicit c_PeerProcess(const std::vector<std::string>& arguments);
    ~c_PeerProcess();
    c_PeerProcess(const c_PeerProcess&) = delete;
    c_PeerProcess& operator=(const c_PeerProcess&) = delete;

    bool IsStarted() const { return m_Process > 0; }
    // Waits (real time) until a TCP connect to address:port succeeds.
    static bool WaitUntilListening(const std::string& address, std::uint16_t port);

private:
    pid_t m_Process = 0;
};
