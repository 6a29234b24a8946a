// Overlapped receives through the completion port against a plain blocking recv loop (1 GiB one
// way over loopback, 31 KiB buffers, 16 posted), and the completion round trip across threads
// against a mutex-and-condition-variable queue.

#include "bench/BenchRatio.h"
#include "bench/PlainQueue.h"
#include "platform/testing/LoopbackPair.h"
#include "platform/testing/PosixPeer.h"

#include <thread>
#include <vector>

namespace {

constexpr std::size_t TRANSFER_SIZE = std::size_t(1) << 30;
constexpr DWORD RECEIVE_SIZE = 31 * 1024;
constexpr int POSTED_RECEIVES = 16;

// The peer sends TRANSFER_SIZE bytes and closes.
std::thread StartSender(int fd) {
    return std::thread([fd] {
        std::vector<char> chunk(1 << 20, 'x');
        for (std::size_t sent = 0; sent < TRANSFER_SIZE; sent += chunk.size()) {
            n_PosixPeer::SendAll(fd, chunk.data(), chunk.size());
        }
        n_PosixPeer::ShutdownSending(fd);
    });
}

void Transfer_ours(benchmark::State& state) {
    n_Platform::c_WinsockSession session;
    for (auto _ : state) {
        n_Platform::c_LoopbackPair pair;
        HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
        CreateIoCompletionPort(reinterpret_cast<HANDLE>(pair.m_Socket), port, 1, 0);
        std::thread sender = StartSender(pair.m_Peer);
        std::vector<std::vector<char>> buffers(POSTED_RECEIVES, std::vector<char>(RECEIVE_SIZE));
        std::vector<OVERLAPPED> records(POSTED_RECEIVES);
        auto post = [&](std::size_t i) {
            WSABUF buffer{RECEIVE_SIZE, buffers[i].data()};
            DWORD flags = 0;
            WSARecv(pair.m_Socket, &buffer, 1, nullptr, &flags, &records[i], nullptr);
        };
        for (std::size_t i = 0; i < records.size(); ++i) {
            post(i);
        }
        for (int open = POSTED_RECEIVES; open > 0;) {
            DWORD bytes = 0;
            ULONG_PTR key = 0;
            LPOVERLAPPED overlapped = nullptr;
            GetQueuedCompletionStatus(port, &bytes, &key, &overlapped, INFINITE);
            if (bytes == 0) {
                --open;
                continue;
            }
            post(std::size_t(overlapped - records.data()));
        }
        sender.join();
        CloseHandle(port);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * TRANSFER_SIZE));
}

void Transfer_peer(benchmark::State& state) {
    for (auto _ : state) {
        std::uint16_t port = 0;
        const int listener = n_PosixPeer::Listen(&port, 1);
        const int receiver = n_PosixPeer::Connect(port);
        const int peer = n_PosixPeer::Accept(listener);
        std::thread sender = StartSender(peer);
        std::vector<char> buffer(RECEIVE_SIZE);
        while (n_PosixPeer::ReceiveSome(receiver, buffer.data(), buffer.size()) > 0) {
        }
        sender.join();
        n_PosixPeer::Close(peer);
        n_PosixPeer::Close(receiver);
        n_PosixPeer::Close(listener);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * TRANSFER_SIZE));
}

void RoundTrip_ours(benchmark::State& state) {
    HANDLE ping = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
    HANDLE pong = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
    std::thread echo([&] {
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED overlapped = nullptr;
        while (GetQueuedCompletionStatus(ping, &bytes, &key, &overlapped, INFINITE) && key != 0) {
            PostQueuedCompletionStatus(pong, bytes, key, overlapped);
        }
    });
    for (auto _ : state) {
        PostQueuedCompletionStatus(ping, 1, 1, nullptr);
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED overlapped = nullptr;
        GetQueuedCompletionStatus(pong, &bytes, &key, &overlapped, INFINITE);
    }
    PostQueuedCompletionStatus(ping, 0, 0, nullptr);
    echo.join();
    CloseHandle(ping);
    CloseHandle(pong);
}

using t_PeerQueue = n_Bench::c_PlainQueue<ULONG_PTR>;

void RoundTrip_peer(benchmark::State& state) {
    t_PeerQueue ping;
    t_PeerQueue pong;
    std::thread echo([&] {
        for (ULONG_PTR key; (key = ping.Take()) != 0;) {
            pong.Post(key);
        }
    });
    for (auto _ : state) {
        ping.Post(1);
        pong.Take();
    }
    ping.Post(0);
    echo.join();
}

BENCHMARK(Transfer_ours)->Name("LoopbackGiB/ours")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Transfer_peer)->Name("LoopbackGiB/peer")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RoundTrip_ours)->Name("CompletionRoundTrip/ours")->UseRealTime();
BENCHMARK(RoundTrip_peer)->Name("CompletionRoundTrip/peer")->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "a blocking recv loop and a mutex-and-condition-variable queue");
}
