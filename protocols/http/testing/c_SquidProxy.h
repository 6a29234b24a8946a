#pragma once
// Test helper: `squid` (the OpenSSL build) as an HTTPS proxy: an https_port on a 127.0.0.x address at
// a free port with the given certificate, Basic authentication against a password file it writes,
// and requests in absolute form passed on to their servers, https ones over TLS checked against the
// given authority. Squid refuses to run as root: then it runs as "nobody", which owns its folder. It
// is stopped by its process id.

#include "network/testing/c_PeerFolder.h"

#include <cstdint>
#include <string>

class c_SquidProxy {
public:
    struct s_Settings {
        std::string m_Address;
        // PEM files: the proxy's certificate and key, and the authority its servers' certificates
        // must come from.
        std::string m_Certificate;
        std::string m_Key;
        std::string m_Authority;
        std::string m_UserName;
        std::string m_Password;
        std::string m_Realm;
    };

    explicit c_SquidProxy(const s_Settings& settings);

    // 0 when the proxy did not start.
    std::uint16_t GetPort() const { return m_Port; }
    // One line per request it answered.
    std::string GetAccessLog() const;

private:
    bool WriteFiles(const s_Settings& settings, std::uint16_t port);

    c_PeerFolder m_Folder{"protocols-squid"};
    std::uint16_t m_Port = 0;
};
