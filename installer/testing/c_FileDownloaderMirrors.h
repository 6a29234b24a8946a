#pragma once
// Test helper: the four download mirrors and the web site at the addresses compiled into the program
// (127.0.0.2-5 and 127.0.0.6, port 8443), over TLS with a certificate of a test authority that
// client contexts trust through SSL_CERT_FILE while the object lives. The mirrors are nginx serving
// a folder each and logging every request line; the site is the crafted server, which records the
// raw requests. Built once per suite; Clear empties the mirrors between tests.
//
// The addresses are fixed, and other builds on this machine run the same tests at the same time, so
// every server here runs under c_MirrorAddressesLock.

#include "installer/testing/c_MirrorAddressesLock.h"
#include "network/testing/c_NginxServer.h"
#include "network/testing/c_TestAuthority.h"
#include "protocols/http/testing/c_CraftedHTTPServer.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

class c_FileDownloaderMirrors {
public:
    static constexpr std::uint16_t PORT = 8443;
    static constexpr std::size_t COUNT = 4;
    static constexpr std::array<const char*, COUNT> ADDRESSES = {"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5"};
    static constexpr const char* SITE_ADDRESS = "127.0.0.6";

    c_FileDownloaderMirrors() {
        char pattern[] = "/tmp/installer-mirrors-XXXXXX";
        m_LogFolder = mkdtemp(pattern) != nullptr ? pattern : "";
        if (m_LogFolder.empty() ||
            !m_Authority.Issue("mirrors", "IP:127.0.0.2,IP:127.0.0.3,IP:127.0.0.4,IP:127.0.0.5,IP:127.0.0.6")) {
            return;
        }
        for (std::size_t i = 0; i < COUNT; ++i) {
            m_Mirrors[i] = std::make_unique<c_NginxServer>(
                ADDRESSES[i], m_Authority.GetPath("mirrors.crt"), m_Authority.GetPath("mirrors.key"),
                "  log_format requests '$request';\n", "    access_log " + GetLogPath(i) + " requests;\n", PORT);
        }
        m_p_Site = std::make_unique<c_CraftedHTTPServer>(SITE_ADDRESS, m_Authority.GetPath("mirrors.crt"),
                                                         m_Authority.GetPath("mirrors.key"), PORT);
    }
    ~c_FileDownloaderMirrors() {
        m_p_Site.reset();
        for (auto& mirror : m_Mirrors) {
            mirror.reset();
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_LogFolder, ignored);
    }
    c_FileDownloaderMirrors(const c_FileDownloaderMirrors&) = delete;
    c_FileDownloaderMirrors& operator=(const c_FileDownloaderMirrors&) = delete;

    bool IsReady() const {
        for (const auto& mirror : m_Mirrors) {
            if (mirror == nullptr || mirror->GetPort() != PORT) {
                return false;
            }
        }
        return m_p_Site != nullptr && m_p_Site->GetPort() == PORT;
    }
    c_CraftedHTTPServer& Site() { return *m_p_Site; }

    // No file on any mirror and no request logged.
    void Clear() {
        for (std::size_t i = 0; i < COUNT; ++i) {
            std::error_code ignored;
            std::filesystem::remove_all(m_Mirrors[i]->GetFilePath("downloads"), ignored);
            // nginx appends, so the emptied log takes the next lines from its start.
            std::filesystem::resize_file(GetLogPath(i), 0, ignored);
        }
    }
    // path: below the mirror's root, such as "downloads/VersionNumbers.txt".
    void Serve(std::size_t mirror, const std::string& path, const std::string& content) {
        const std::filesystem::path file = m_Mirrors[mirror]->GetFilePath(path);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    void Remove(std::size_t mirror, const std::string& path) {
        std::error_code ignored;
        std::filesystem::remove(m_Mirrors[mirror]->GetFilePath(path), ignored);
    }
    // The request lines the mirror has served since the last Clear ("GET /downloads/... HTTP/1.1").
    std::vector<std::string> GetRequests(std::size_t mirror) const {
        std::ifstream log(GetLogPath(mirror));
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    std::size_t CountRequests(std::size_t mirror, const std::string& path) const {
        std::size_t count = 0;
        for (const std::string& line : GetRequests(mirror)) {
            count += line == "GET /" + path + " HTTP/1.1" ? 1 : 0;
        }
        return count;
    }

private:
    std::string GetLogPath(std::size_t mirror) const {
        return m_LogFolder + "/mirror" + std::to_string(mirror) + ".log";
    }

    c_MirrorAddressesLock m_Lock;
    c_TestAuthority m_Authority;
    c_ScopedCertificateFile m_Trust{m_Authority.GetCertificatePath()};
    std::string m_LogFolder;
    std::array<std::unique_ptr<c_NginxServer>, COUNT> m_Mirrors;
    std::unique_ptr<c_CraftedHTTPServer> m_p_Site;
};
