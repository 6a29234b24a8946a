// Test helper: `microsocks` on 127.0.0.1.

#include "network/testing/c_MicrosocksProxy.h"

#include "platform/testing/PosixPeer.h"

#include <vector>

c_MicrosocksProxy::c_MicrosocksProxy(const std::string& userName, const std::string& password) {
    const std::uint16_t port = n_PosixPeer::FindClosedPort();
    std::vector<std::string> arguments = {"microsocks", "-i", "127.0.0.1", "-p", std::to_string(port)};
    if (!userName.empty()) {
        arguments.insert(arguments.end(), {"-u", userName, "-P", password});
    }
    m_p_Process = std::make_unique<c_PeerProcess>(arguments);
    if (m_p_Process->IsStarted() && c_PeerProcess::WaitUntilListening("127.0.0.1", port)) {
        m_Port = port;
    }
}
