// c_CriticalSection against std::mutex: a lock/unlock pair through the guard, alone and contended.

#include "bench/BenchRatio.h"
#include "oslayer/threads/c_CriticalSectionLock.h"

#include <mutex>

namespace {

c_CriticalSection g_Section;
std::mutex g_Mutex;
long g_Counter = 0;

void LockPair_ours(benchmark::State& state) {
    for (auto _ : state) {
        c_CriticalSectionLock guard(g_Section);
        ++g_Counter;
    }
}
void LockPair_peer(benchmark::State& state) {
    for (auto _ : state) {
        std::lock_guard<std::mutex> guard(g_Mutex);
        ++g_Counter;
    }
}
BENCHMARK(LockPair_ours)->Name("LockPair/ours")->Threads(1)->Threads(4);
BENCHMARK(LockPair_peer)->Name("LockPair/peer")->Threads(1)->Threads(4);

} // namespace

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "std::mutex");
}
