// c_Event against std::condition_variable: signal-to-wake latency, as a round trip between two
// threads (each iteration is two signals and two wake-ups).

#include "bench/BenchRatio.h"
#include "oslayer/threads/c_Event.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

void RoundTrip_ours(benchmark::State& state) {
    c_Event ping;
    c_Event pong;
    ping.Create(false, c_StringView());
    pong.Create(false, c_StringView());
    std::atomic<bool> stop{false};
    std::thread echo([&] {
        while (ping.Wait(INFINITE) && !stop) {
            pong.Set();
        }
    });
    for (auto _ : state) {
        ping.Set();
        pong.Wait(INFINITE);
    }
    stop = true;
    ping.Set();
    echo.join();
}

void RoundTrip_peer(benchmark::State& state) {
    std::mutex mutex;
    std::condition_variable changed;
    int turn = 0; // 1: the echo thread's, 2: the benchmark's, 3: stop
    std::thread echo([&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return turn == 1 || turn == 3; });
            if (turn == 3) {
                return;
            }
            turn = 2;
            changed.notify_all();
        }
    });
    for (auto _ : state) {
        std::unique_lock<std::mutex> lock(mutex);
        turn = 1;
        changed.notify_all();
        changed.wait(lock, [&] { return turn == 2; });
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        turn = 3;
    }
    changed.notify_all();
    echo.join();
}

BENCHMARK(RoundTrip_ours)->Name("EventRoundTrip/ours")->UseRealTime();
BENCHMARK(RoundTrip_peer)->Name("EventRoundTrip/peer")->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "std::condition_variable");
}
