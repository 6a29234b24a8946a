// DateTimeToString, the time of every log line, against the C library's gmtime_r and strftime.

#include "bench/BenchRatio.h"
#include "textutil/DateTimeText.h"

#include <cstdint>
#include <ctime>
#include <vector>

namespace {

constexpr int COUNT = 1024;
constexpr std::int64_t SECONDS_1899_TO_1970 = 25569LL * 86400;

// Argument 0: instants spread over 1970 to about 2100. Argument 1: the times of a run's log lines,
// 37 ms apart from 2024-01-05 13:04:09 on. Each with a fraction of a second.
std::vector<c_DateTime> MakeValues(std::int64_t spread) {
    std::vector<c_DateTime> values;
    std::uint64_t state = 77;
    std::int64_t logTime = c_DateTime(2024, 1, 5, 13, 4, 9, 250).GetValue();
    for (int i = 0; i < COUNT; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::int64_t seconds = static_cast<std::int64_t>((state >> 33) % 4102444800ULL);
        const std::int64_t spreadTime = (SECONDS_1899_TO_1970 + seconds) * c_DateTime::MICROSECONDS_PER_SECOND +
                                        static_cast<std::int64_t>(state % 1000000);
        values.emplace_back(spread == 0 ? spreadTime : logTime);
        logTime += 37000;
    }
    return values;
}

void DateTimeToString_ours(benchmark::State& state) {
    const std::vector<c_DateTime> values = MakeValues(state.range(0));
    for (auto _ : state) {
        for (const c_DateTime value : values) {
            c_String text = DateTimeToString(value);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetItemsProcessed(state.iterations() * COUNT);
}

// The same text from the same values: whole seconds since 1970, split and formatted by the C library.
void DateTimeToString_peer(benchmark::State& state) {
    const std::vector<c_DateTime> values = MakeValues(state.range(0));
    for (auto _ : state) {
        for (const c_DateTime value : values) {
            const std::time_t seconds = static_cast<std::time_t>(
                (value.GetValue() + c_DateTime::MICROSECONDS_PER_SECOND / 2) / c_DateTime::MICROSECONDS_PER_SECOND -
                SECONDS_1899_TO_1970);
            std::tm parts;
            gmtime_r(&seconds, &parts);
            char text[32];
            const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d  %H:%M:%S", &parts);
            benchmark::DoNotOptimize(text);
            benchmark::DoNotOptimize(length);
        }
    }
    state.SetItemsProcessed(state.iterations() * COUNT);
}

} // namespace

BENCHMARK(DateTimeToString_ours)->Name("DateTimeToString/ours")->Arg(0)->Arg(1);
BENCHMARK(DateTimeToString_peer)->Name("DateTimeToString/peer")->Arg(0)->Arg(1);

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "gmtime_r+strftime");
}
