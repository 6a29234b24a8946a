// Test helper: `danted` on 127.0.0.1.

#include "network/testing/c_DanteProxy.h"

#include "platform/testing/PosixPeer.h"
#include "platform/testing/TestFiles.h"

#include <pwd.h>
#include <unistd.h>

namespace {

std::string GetCurrentUserName() {
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_name : "";
}

} // namespace

c_DanteProxy::c_DanteProxy() {
    const std::uint16_t port = n_PosixPeer::FindClosedPort();
    const std::string user = GetCurrentUserName();
    m_Folder.WriteFile(
        "sockd.conf", "logoutput: " + m_Folder.GetPath("sockd.log") +
                          "\ninternal: 127.0.0.1 port = " + std::to_string(port) +
                          "\nexternal: 127.0.0.1\nclientmethod: none\nsocksmethod: none\n"
                          "user.privileged: " +
                          user + "\nuser.unprivileged: " + user +
                          "\nclient pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n"
                          "socks pass {\n  from: 127.0.0.0/8 to: 127.0.0.0/8\n  command: connect\n  log: connect\n}\n");
    if (m_Folder.Start({"danted", "-f", m_Folder.GetPath("sockd.conf"), "-p", m_Folder.GetPath("sockd.pid"), "-N", "1"},
                       "127.0.0.1", port)) {
        m_Port = port;
    }
}

std::string c_DanteProxy::GetLog() const {
    return ReadTestFile(m_Folder.GetPath("sockd.log"));
}
