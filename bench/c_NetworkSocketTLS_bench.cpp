// A TLS network socket against curl: one 1 GiB file from nginx over TLS 1.2 with one cipher, into a
// network socket whose owner counts the bytes, against `curl -o /dev/null` of the same file with the
// same protocol version and cipher.

#include "bench/BenchRatio.h"
#include "bench/TLSBenchServer.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_TestSocketOwner.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr std::uint64_t FILE_SIZE = n_Bench::BIG_FILE_SIZE;
constexpr std::uint32_t SERVER_ADDRESS = 0x7F000002;

// The owner thread's message loop, without the tests' watchdog.
void PumpUntil(const std::function<bool()>& done) {
    MSG message;
    while (!done() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
}

void TLSFile_ours(benchmark::State& state) {
    const n_Bench::s_TLSServer& server = n_Bench::GetTLSServer();
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
    const std::string command = n_Bench::GetTLSServer().GetCurlCommand() + " -o /dev/null " +
                                n_Bench::GetTLSServer().GetURL("localhost", "/big");
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
