// The HTTP client against curl, both over TLS 1.2 with one cipher from nginx: one 1 GiB file into
// memory (with the process's peak memory), and 1,000 files of 4 KiB submitted at once against curl
// with five parallel connections and no connection reuse. The client closes each connection 250 ms
// after its response and starts a queued request only then, so five connections per 250 ms is its
// ceiling for the small files: 20 files a second.

#include "bench/BenchRatio.h"
#include "bench/TLSBenchServer.h"
#include "network/testing/c_CoreSession.h"
#include "oslayer/threads/c_TimerCore.h"
#include "protocols/http/c_AsyncHTTP2.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace {

constexpr int SMALL_FILE_COUNT = 1000;
constexpr int SMALL_FILE_SIZE = 4096;

// The owner thread's message loop, without the tests' watchdog.
void PumpUntil(const std::function<bool()>& done) {
    MSG message;
    while (!done() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
}

// Counts the finished requests and the bytes of the completed bodies.
class c_CountingOwner : public c_AsyncHTTP2Owner {
public:
    void OnAsyncHTTP2RequestFinished(c_AsyncHTTP2*, c_AsyncHTTP2Request*, c_AsyncHTTP2Request*, std::int32_t endState,
                                     c_HTTPResponse* response) override {
        ++m_Finished;
        if (endState == c_AsyncHTTP2Request::END_COMPLETED && response->GetStatusCode() == 200) {
            m_Bytes += response->GetBody().GetSize();
        }
    }

    int m_Finished = 0;
    std::uint64_t m_Bytes = 0;
};

double GetPeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Runs the client over the URLs once; false when some body did not arrive whole.
bool FetchAll(const std::vector<std::string>& urls, std::uint64_t expectedBytes) {
    c_CountingOwner owner;
    c_AsyncHTTP2 client(&owner);
    client.SetEnableLogging(false);
    for (const std::string& url : urls) {
        client.SendGetRequest(url.c_str());
    }
    PumpUntil([&] { return owner.m_Finished == static_cast<int>(urls.size()); });
    return owner.m_Bytes == expectedBytes;
}

void MakeSmallFiles() {
    static bool made = false;
    if (made) {
        return;
    }
    made = true;
    const std::string bytes(SMALL_FILE_SIZE, 'x');
    for (int i = 0; i < SMALL_FILE_COUNT; ++i) {
        const std::string name = "small" + std::to_string(i);
        std::ofstream(n_Bench::GetTLSServer().m_p_Nginx->GetFilePath(name), std::ios::binary) << bytes;
    }
}

std::vector<std::string> SmallFileURLs(const std::string& host) {
    std::vector<std::string> urls;
    for (int i = 0; i < SMALL_FILE_COUNT; ++i) {
        urls.push_back(n_Bench::GetTLSServer().GetURL(host, "/small" + std::to_string(i)));
    }
    return urls;
}

void HTTPFile_ours(benchmark::State& state) {
    n_Bench::GetTLSServer();
    c_TimerCore::Start();
    c_CoreSession session;
    const std::vector<std::string> urls = {n_Bench::GetTLSServer().GetURL("127.0.0.2", "/big")};
    for (auto _ : state) {
        if (!FetchAll(urls, n_Bench::BIG_FILE_SIZE)) {
            state.SkipWithError("bytes lost");
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * n_Bench::BIG_FILE_SIZE));
    state.counters["peak_MiB"] = GetPeakMemoryMiB();
    state.counters["goal_MiB"] = static_cast<double>(n_Bench::BIG_FILE_SIZE >> 20) + 64;
}

void HTTPFile_peer(benchmark::State& state) {
    const std::string command = n_Bench::GetTLSServer().GetCurlCommand() + " -o /dev/null " +
                                n_Bench::GetTLSServer().GetURL("localhost", "/big");
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("curl failed");
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * n_Bench::BIG_FILE_SIZE));
}

void SmallFiles_ours(benchmark::State& state) {
    MakeSmallFiles();
    c_TimerCore::Start();
    c_CoreSession session;
    const std::vector<std::string> urls = SmallFileURLs("127.0.0.2");
    for (auto _ : state) {
        if (!FetchAll(urls, std::uint64_t(SMALL_FILE_COUNT) * SMALL_FILE_SIZE)) {
            state.SkipWithError("bytes lost");
        }
    }
    state.SetItemsProcessed(std::int64_t(state.iterations() * SMALL_FILE_COUNT));
    state.counters["ceiling_per_s"] = 5.0 / 0.25;
}

void SmallFiles_peer(benchmark::State& state) {
    MakeSmallFiles();
    const std::string list = "/tmp/bench-http-small-files.txt";
    {
        std::ofstream config(list);
        for (const std::string& url : SmallFileURLs("localhost")) {
            config << "url = \"" << url << "\"\noutput = \"/dev/null\"\n";
        }
    }
    const std::string command =
        n_Bench::GetTLSServer().GetCurlCommand() + " --parallel --parallel-max 5 -H 'Connection: close' -K " + list;
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("curl failed");
        }
    }
    std::remove(list.c_str());
    state.SetItemsProcessed(std::int64_t(state.iterations() * SMALL_FILE_COUNT));
}

BENCHMARK(HTTPFile_ours)->Name("HTTPFileGiB/ours")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(HTTPFile_peer)->Name("HTTPFileGiB/peer")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(SmallFiles_ours)->Name("SmallFiles1000/ours")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SmallFiles_peer)->Name("SmallFiles1000/peer")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "curl over TLS 1.2 with ECDHE-ECDSA-AES128-GCM-SHA256");
}
