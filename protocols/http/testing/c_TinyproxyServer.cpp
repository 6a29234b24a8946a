// Test helper: `tinyproxy` on 127.0.0.x.

#include "protocols/http/testing/c_TinyproxyServer.h"

#include "platform/testing/PosixPeer.h"
#include "platform/testing/TestFiles.h"

c_TinyproxyServer::c_TinyproxyServer(const std::string& address, const std::string& userName,
                                     const std::string& password) {
    const std::uint16_t port = n_PosixPeer::FindClosedPort();
    std::string configuration = "Listen " + address + "\nPort " + std::to_string(port) +
                                "\nTimeout 60\nMaxClients 16\nLogLevel Info\nPidFile \"" +
                                m_Folder.GetPath("tinyproxy.pid") + "\"\nLogFile \"" +
                                m_Folder.GetPath("tinyproxy.log") + "\"\n";
    if (!userName.empty()) {
        configuration += "BasicAuth " + userName + " " + password + "\n";
    }
    m_Folder.WriteFile("tinyproxy.conf", configuration);
    if (m_Folder.Start({"tinyproxy", "-d", "-c", m_Folder.GetPath("tinyproxy.conf")}, address, port)) {
        m_Port = port;
    }
}

std::string c_TinyproxyServer::GetLog() const {
    return ReadTestFile(m_Folder.GetPath("tinyproxy.log"));
}
