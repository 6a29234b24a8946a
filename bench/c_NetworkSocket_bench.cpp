// Network sockets against plain sockets: 1 GiB one way from a plain sender into a network socket
// whose owner counts the bytes where they lie on its own thread, against a plain epoll receiver; and 10,000 small
// messages' round trip through an echo thread, against a plain blocking client.

#include "bench/BenchRatio.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_TestSocketOwner.h"
#include "platform/testing/PosixPeer.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr std::uint64_t TRANSFER_SIZE = std::uint64_t(1) << 30;
constexpr int MESSAGES = 10000;
constexpr std::size_t MESSAGE_SIZE = 16;

// The owner thread's message loop, without the tests' watchdog.
void PumpUntil(const std::function<bool()>& done) {
    MSG message;
    while (!done() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
}

// Returns once the socket thread runs its loop: it makes the server certificate first.
void WaitForSocketThread() {
    c_TestSocketOwner probe("127.0.0.1", n_PosixPeer::FindClosedPort());
    probe.Connect();
    PumpUntil([&] { return probe.HasEvent(SOCKET_EVENT_CONNECT_FAILED); });
}

// The peer sends TRANSFER_SIZE bytes and closes.
std::thread StartSender(int listener) {
    return std::thread([listener] {
        const int fd = n_PosixPeer::Accept(listener);
        std::vector<char> chunk(1 << 20, 'x');
        for (std::uint64_t sent = 0; sent < TRANSFER_SIZE; sent += chunk.size()) {
            n_PosixPeer::SendAll(fd, chunk.data(), chunk.size());
        }
        n_PosixPeer::ShutdownSending(fd);
        n_PosixPeer::ReadUntilEnd(fd);
        n_PosixPeer::Close(fd);
    });
}

// Echoes MESSAGES messages on one accepted connection.
std::thread StartEcho(int listener) {
    return std::thread([listener] {
        const int fd = n_PosixPeer::Accept(listener);
        char message[MESSAGE_SIZE];
        for (int count = 0; count < MESSAGES && n_PosixPeer::ReceiveAll(fd, message, sizeof message); ++count) {
            n_PosixPeer::SendAll(fd, message, sizeof message);
        }
        n_PosixPeer::ReadUntilEnd(fd);
        n_PosixPeer::Close(fd);
    });
}

void OneWay_ours(benchmark::State& state) {
    c_CoreSession session;
    WaitForSocketThread();
    for (auto _ : state) {
        std::uint16_t port = 0;
        const int listener = n_PosixPeer::Listen(&port, 1);
        std::thread sender = StartSender(listener);
        c_TestSocketOwner owner("127.0.0.1", port);
        // The bytes are counted where they were received, as the plain receiver does.
        std::uint64_t received = 0;
        owner.m_OnReceivedBytes = [&](s_ByteSpan bytes) { received += bytes.m_Size; };
        owner.Connect();
        PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE) || owner.HasEvent(SOCKET_EVENT_ERROR); });
        owner.Close();
        sender.join();
        n_PosixPeer::Close(listener);
        if (received != TRANSFER_SIZE) {
            state.SkipWithError("bytes lost");
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * TRANSFER_SIZE));
}

void OneWay_peer(benchmark::State& state) {
    for (auto _ : state) {
        std::uint16_t port = 0;
        const int listener = n_PosixPeer::Listen(&port, 1);
        std::thread sender = StartSender(listener);
        const int receiver = n_PosixPeer::Connect(port);
        const int poller = epoll_create1(0);
        epoll_event interest{};
        interest.events = EPOLLIN;
        epoll_ctl(poller, EPOLL_CTL_ADD, receiver, &interest);
        std::vector<char> buffer(98304);
        for (bool open = true; open;) {
            epoll_event ready{};
            epoll_wait(poller, &ready, 1, -1);
            open = n_PosixPeer::ReceiveSome(receiver, buffer.data(), buffer.size()) > 0;
        }
        close(poller);
        n_PosixPeer::Close(receiver);
        sender.join();
        n_PosixPeer::Close(listener);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * TRANSFER_SIZE));
}

void RoundTrip_ours(benchmark::State& state) {
    c_CoreSession session;
    WaitForSocketThread();
    for (auto _ : state) {
        std::uint16_t port = 0;
        const int listener = n_PosixPeer::Listen(&port, 1);
        std::thread echo = StartEcho(listener);
        c_TestSocketOwner owner("127.0.0.1", port);
        owner.Connect();
        PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); });
        const std::vector<std::uint8_t> message(MESSAGE_SIZE, 'm');
        for (int count = 0; count < MESSAGES; ++count) {
            owner.Send(message.data(), MESSAGE_SIZE);
            PumpUntil([&] { return owner.m_Received.GetSize() == MESSAGE_SIZE; });
            owner.m_Received.Clear(false);
        }
        owner.Close();
        echo.join();
        n_PosixPeer::Close(listener);
    }
    state.SetItemsProcessed(state.iterations() * MESSAGES);
}

void RoundTrip_peer(benchmark::State& state) {
    for (auto _ : state) {
        std::uint16_t port = 0;
        const int listener = n_PosixPeer::Listen(&port, 1);
        std::thread echo = StartEcho(listener);
        const int client = n_PosixPeer::Connect(port);
        char message[MESSAGE_SIZE] = {'m'};
        for (int count = 0; count < MESSAGES; ++count) {
            n_PosixPeer::SendAll(client, message, sizeof message);
            n_PosixPeer::ReceiveAll(client, message, sizeof message);
        }
        n_PosixPeer::ShutdownSending(client);
        echo.join();
        n_PosixPeer::Close(client);
        n_PosixPeer::Close(listener);
    }
    state.SetItemsProcessed(state.iterations() * MESSAGES);
}

BENCHMARK(OneWay_ours)->Name("OneWayGiB/ours")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(OneWay_peer)->Name("OneWayGiB/peer")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RoundTrip_ours)->Name("RoundTrip10000/ours")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RoundTrip_peer)->Name("RoundTrip10000/peer")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "a plain epoll receiver and a plain blocking client");
}
