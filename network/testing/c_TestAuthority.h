#pragma once
// Test helper: a certificate authority of the test's own in a fresh folder, made with the openssl
// tool, which issues leaf certificates for DNS names or IP addresses. The folder goes with the object.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class c_TestAuthority {
public:
    // subject is the authority's common name, so two authorities differ.
    explicit c_TestAuthority(const std::string& subject = "Test Authority") {
        char pattern[] = "/tmp/network-tls-XXXXXX";
        m_Folder = mkdtemp(pattern) != nullptr ? pattern : "";
        WriteFile("ca.cnf", "[req]\ndistinguished_name=dn\nx509_extensions=ca\nprompt=no\n[dn]\nCN=" + subject +
                                "\n[ca]\nbasicConstraints=critical,CA:TRUE\nkeyUsage=critical,keyCertSign,cRLSign\n"
                                "subjectKeyIdentifier=hash\n");
        m_Ready = !m_Folder.empty() && Run("req -x509 -config " + GetPath("ca.cnf") + " " + NEW_KEY + " -keyout " +
                                           GetPath("ca.key") + " -out " + GetPath("ca.crt") + " -days 2");
    }
    ~c_TestAuthority() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Folder, ignored);
    }
    c_TestAuthority(const c_TestAuthority&) = delete;
    c_TestAuthority& operator=(const c_TestAuthority&) = delete;

    bool IsReady() const { return m_Ready; }
    std::string GetPath(const std::string& name) const { return m_Folder + "/" + name; }
    std::string GetCertificatePath() const { return GetPath("ca.crt"); }

    // Writes name.crt and name.key; alternativeName is "DNS:host" or "IP:address".
    bool Issue(const std::string& name, const std::string& alternativeName) {
        WriteFile(name + ".ext", "subjectAltName=" + alternativeName +
                                     "\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth,clientAuth\n");
        return Run("req -new " + NEW_KEY + " -subj /CN=" + name + " -keyout " + GetPath(name + ".key") + " -out " +
                   GetPath(name + ".csr")) &&
               Run("x509 -req -in " + GetPath(name + ".csr") + " -CA " + GetCertificatePath() + " -CAkey " +
                   GetPath("ca.key") + " -CAcreateserial -days 2 -extfile " + GetPath(name + ".ext") + " -out " +
                   GetPath(name + ".crt"));
    }

    void WriteFile(const std::string& name, const std::string& content) const {
        std::ofstream(GetPath(name), std::ios::binary) << content;
    }

private:
    // P-256 keys: quick to make, and usable from TLS 1.0 to 1.2.
    static inline const std::string NEW_KEY = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";

    static bool Run(const std::string& arguments) {
        return std::system(("openssl " + arguments + " >/dev/null 2>&1").c_str()) == 0;
    }

    std::string m_Folder;
    bool m_Ready = false;
};

// SSL_CERT_FILE pointed at a file for the object's life: client contexts made meanwhile trust it.
class c_ScopedCertificateFile {
public:
    explicit c_ScopedCertificateFile(const std::string& path) {
        const char* old = std::getenv("SSL_CERT_FILE");
        m_HadOld = old != nullptr;
        m_Old = m_HadOld ? old : "";
        setenv("SSL_CERT_FILE", path.c_str(), 1);
    }
    ~c_ScopedCertificateFile() {
        if (m_HadOld) {
            setenv("SSL_CERT_FILE", m_Old.c_str(), 1);
        } else {
            unsetenv("SSL_CERT_FILE");
        }
    }
    c_ScopedCertificateFile(const c_ScopedCertificateFile&) = delete;
    c_ScopedCertificateFile& operator=(const c_ScopedCertificateFile&) = delete;

private:
    bool m_HadOld = false;
    std::string m_Old;
};
