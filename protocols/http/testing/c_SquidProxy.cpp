// Test helper: `squid` as an HTTPS proxy on 127.0.0.x.

#include "protocols/http/testing/c_SquidProxy.h"

#include "platform/testing/PosixPeer.h"
#include "platform/testing/TestFiles.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr const char* ROOT_REPLACEMENT = "nobody";

// The password in the Apache MD5 form that basic_ncsa_auth reads; the password goes through a file,
// so no shell sees it.
std::string HashPassword(const c_PeerFolder& folder, const std::string& password) {
    folder.WriteFile("password", password);
    FILE* output = popen(("openssl passwd -apr1 -in " + folder.GetPath("password")).c_str(), "r");
    if (output == nullptr) {
        return "";
    }
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, output) != nullptr;
    pclose(output);
    std::remove(folder.GetPath("password").c_str());
    std::string hash = read ? line : "";
    while (!hash.empty() && (hash.back() == '\n' || hash.back() == '\r')) {
        hash.pop_back();
    }
    return hash;
}

// Squid names its shared memory after the service: each instance needs its own name.
std::string MakeServiceName() {
    static std::atomic<int> s_Count{0};
    return "proxytest" + std::to_string(getpid()) + "x" + std::to_string(++s_Count);
}

// Under root, hands the folder and its files to the user squid switches to.
bool HandOverFolder(const std::string& folder) {
    if (geteuid() != 0) {
        return true;
    }
    const passwd* entry = getpwnam(ROOT_REPLACEMENT);
    if (entry == nullptr || chown(folder.c_str(), entry->pw_uid, entry->pw_gid) != 0) {
        return false;
    }
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        if (chown(file.path().c_str(), entry->pw_uid, entry->pw_gid) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

c_SquidProxy::c_SquidProxy(const s_Settings& settings) {
    const std::uint16_t port = n_PosixPeer::FindClosedPort();
    if (!m_Folder.IsReady() || !WriteFiles(settings, port) ||
        !m_Folder.Start({"squid", "-N", "-n", MakeServiceName(), "-f", m_Folder.GetPath("squid.conf")},
                        settings.m_Address, port)) {
        return;
    }
    m_Port = port;
}

bool c_SquidProxy::WriteFiles(const s_Settings& settings, std::uint16_t port) {
    std::error_code error;
    for (const auto& [from, to] :
         {std::pair{settings.m_Certificate, "proxy.crt"}, std::pair{settings.m_Key, "proxy.key"},
          std::pair{settings.m_Authority, "authority.crt"}}) {
        if (!std::filesystem::copy_file(from, m_Folder.GetPath(to), error)) {
            return false;
        }
    }
    const std::string hash = HashPassword(m_Folder, settings.m_Password);
    m_Folder.WriteFile("passwd", settings.m_UserName + ":" + hash + "\n");
    const std::string folder = m_Folder.GetPath("");
    m_Folder.WriteFile(
        "squid.conf",
        "https_port " + settings.m_Address + ":" + std::to_string(port) + " tls-cert=" + folder +
            "proxy.crt tls-key=" + folder + "proxy.key\nauth_param basic program /usr/lib/squid/basic_ncsa_auth " +
            folder + "passwd\nauth_param basic realm " + settings.m_Realm +
            "\nacl authenticated proxy_auth REQUIRED\nhttp_access allow authenticated\nhttp_access deny all\n"
            "cache deny all\nshutdown_lifetime 0 seconds\npinger_enable off\ntls_outgoing_options cafile=" +
            folder + "authority.crt\npid_filename " + folder + "squid.pid\ncache_log " + folder +
            "cache.log\naccess_log " + folder + "access.log\ncoredump_dir " + folder + "\n" +
            (geteuid() == 0 ? std::string("cache_effective_user ") + ROOT_REPLACEMENT + "\n" : std::string()));
    return !hash.empty() && HandOverFolder(m_Folder.GetPath("."));
}

std::string c_SquidProxy::GetAccessLog() const {
    return ReadTestFile(m_Folder.GetPath("access.log"));
}
