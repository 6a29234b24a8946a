#pragma once
// Test helper: the local mirror kit of tools/mirror in a fresh folder of the test's own: a test
// authority with a server certificate for 127.0.0.2-6, the payload (version folders, lists with their
// MD5s, each mirror's version answer) and the nginx configuration. It runs either nginx as the four
// mirrors and the web site, or the python fault mirror with a scenario table, on 127.0.0.2-6:8443,
// holding the machine-wide address lock while one of them runs; both are stopped by process id.

#include "installer/testing/c_MirrorAddressesLock.h"
#include "network/testing/c_PeerFolder.h"
#include "network/testing/c_TestAuthority.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One request as the fault mirror recorded it.
struct s_MirrorRequest {
    std::string m_Address;
    std::string m_Method;
    std::string m_Path;
    // The request line and the header lines, each ending in CRLF.
    std::string m_Head;
    std::string m_Body;
};

class c_MirrorKit {
public:
    static constexpr std::uint16_t PORT = 8443;
    static inline const std::vector<std::string> MIRROR_ADDRESSES = {"127.0.0.2", "127.0.0.3", "127.0.0.4",
                                                                     "127.0.0.5"};
    static constexpr const char* SITE_ADDRESS = "127.0.0.6";
    static constexpr const char* UPLOAD_PATH = "/API.php?Service=UploadInstallerLogFile";
    // What tools/mirror/make-payload makes unless told otherwise.
    static constexpr int CURRENT_VERSION = 1650;
    static constexpr int PRERELEASE_VERSION = 1651;
    static inline const std::vector<int> FIELD4 = {3, 7, 7, 5};

    // payloadOptions go to make-payload ("--large-files", "3", ...).
    explicit c_MirrorKit(const std::vector<std::string>& payloadOptions = {});
    ~c_MirrorKit();
    c_MirrorKit(const c_MirrorKit&) = delete;
    c_MirrorKit& operator=(const c_MirrorKit&) = delete;

    bool IsReady() const { return m_Ready; }
    std::string GetPath(const std::string& name) const { return m_Folder.GetPath(name); }
    std::string GetAuthorityPath() const { return GetPath("authority/ca.crt"); }
    // A file of the payload by its path under the document root ("downloads/1650/Read Me.txt").
    std::string ReadPayloadFile(const std::string& path) const;
    static std::string GetURL(const std::string& address, const std::string& path);
    // Client contexts made from now on trust the kit's authority (SSL_CERT_FILE), until the kit goes.
    void TrustAuthority();

    // Each waits for the address lock, stops what runs, starts the server and waits until every
    // address takes connections; false when it did not come up.
    bool StartNginx();
    bool StartFaultMirror(const std::string& scenarios);
    // The fault mirror reads its scenarios (JSON) afresh for every request.
    void SetScenarios(const std::string& scenarios) const;
    // Stops the server and lets go of the address lock.
    void Stop();

    // The fault mirror's record, oldest first.
    std::vector<s_MirrorRequest> GetRecordedRequests() const;
    // Waits (real time) until count requests are recorded.
    bool WaitForRecordedRequests(std::size_t count) const;
    // The bodies of the log uploads that the nginx site received, oldest first.
    std::vector<std::string> GetUploads() const;

private:
    bool StartServer(const std::vector<std::string>& arguments);

    c_PeerFolder m_Folder{"installer-mirror"};
    bool m_Ready = false;
    std::unique_ptr<c_MirrorAddressesLock> m_p_Lock;
    std::unique_ptr<c_ScopedCertificateFile> m_p_Trust;
};
