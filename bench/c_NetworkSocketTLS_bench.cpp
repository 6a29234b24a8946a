// A TLS network socket against curl: one 1 GiB file from nginx over TLS 1.2 with one cipher, into a
// network socket whose owner counts the bytes, against `curl -o /dev/null` of the same file with the
// same protocol version and cipher.

#include "bench/BenchRatio.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_NginxServer.h"
#include "network/testing/c_TestAuthority.h"
#include "network/testing/c_TestSocketOwner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr std::uint64_t FILE_SIZE = std::uint64_t(1) << 30;
constexpr std::uint32_t SERVER_ADDRESS = 0x7F000002;

// The authority, trusted by the contexts of every core made after it, and nginx with the file.
struct s_Server {
    s_Server() {
        m_Authority.Issue("localhost", "DNS:localhost");
        m_p_Trust = std::make_unique<c_ScopedCertificateFile>(m_Authority.GetCertificatePath());
        m_p_Nginx = std::make_unique<c_NginxServer>("127.0.0.2", m_Authority.GetPath("localhost.crt"),
                                                    m_Authority.GetPath("localhost.key"));
        // Zeros cost TLS what any bytes cost, and a sparse file costs no disk.
        std::ofstream(m_p_Nginx->GetFilePath("big")).close();
        std::filesystem::resize_file(m_p_Nginx->GetFilePath("big"), FILE_SIZE);
    }

    c_TestAuthority m_Authority;
    std::unique_ptr<c_ScopedCertificateFile> m_p_Trust;
    std::unique_ptr<c_NginxServer> m_p_Nginx;
};

s_Server& GetServer() {
    static s_Server server;
    return server;
}

// The owner thread's message loop, without the tests' watchdog.
void PumpUntil(const std::function<bool()>& done) {
    MSG message;
    while (!done() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
}

void TLSFile_ours(benchmark::State& state) {
    const s_Server& server = GetServer();
    c_CoreSession session;
    const std::string request = "GET /big HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
    for (auto _ : state) {
        c_TestSocketOwner owner("localhost", server.m_p_Nginx->GetPort());
        owner.m_SecurityMethod = 3;
        std::uint64_t received = 0;
        owner.m_OnProgress = [&] {
            received += owner.m_Received.GetSize();
            owner.m_Received.Clear(false);
        };
        owner.Connect(SERVER_ADDRESS);
        PumpUntil(
            [&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED) || owner.HasEvent(SOCKET_EVENT_CONNECT_FAILED); });
        owner.Send(reinterpret_cast<const std::uint8_t*>(request.data()), static_cast<std::uint32_t>(request.size()));
        PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE) || owner.HasEvent(SOCKET_EVENT_ERROR); });
        owner.Close();
        if (received < FILE_SIZE || owner.HasEvent(SOCKET_EVENT_ERROR)) {
            state.SkipWithError("bytes lost");
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * FILE_SIZE));
}

void TLSFile_peer(benchmark::State& state) {
    const s_Server& server = GetServer();
    const std::string port = std::to_string(server.m_p_Nginx->GetPort());
    const std::string command = std::string("curl -s -f -o /dev/null --tlsv1.2 --tls-max 1.2 --ciphers ") +
                                c_NginxServer::CIPHER + " --cacert " + server.m_Authority.GetCertificatePath() +
                                " --resolve localhost:" + port + ":127.0.0.2 https://localhost:" + port + "/big";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("curl failed");
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * FILE_SIZE));
}

BENCHMARK(TLSFile_ours)->Name("TLSFileGiB/ours")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(TLSFile_peer)->Name("TLSFileGiB/peer")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "curl -o /dev/null, TLS 1.2 with ECDHE-ECDSA-AES128-GCM-SHA256");
}
