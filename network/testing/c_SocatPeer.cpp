// Test helper: `socat` on 127.0.0.1.

#include "network/testing/c_SocatPeer.h"

#include <cstdlib>
#include <cstring>

c_SocatPeer::c_SocatPeer(const std::string& address, const std::string& listen)
    : m_Process({"socat", "-d", "-d", "-b", "4096", listen, address}, e_PeerOutput::STANDARD_ERROR) {
    char line[512];
    FILE* output = m_Process.GetOutput();
    while (output != nullptr && m_Process.IsStarted() && fgets(line, sizeof line, output) != nullptr) {
        // "listening on AF=2 ..." for TCP, "listening on UDP AF=2 ..." for UDP.
        const char* found = std::strstr(line, "listening on ");
        found = found != nullptr ? std::strstr(found, "AF=2 127.0.0.1:") : nullptr;
        if (found != nullptr) {
            m_Port = static_cast<std::uint16_t>(std::atoi(found + std::strlen("AF=2 127.0.0.1:")));
            return;
        }
    }
}
