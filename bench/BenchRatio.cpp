// The ratio report shared by the benchmarks.

#include "bench/BenchRatio.h"

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace n_Bench {

namespace {

class c_RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions only the median counts; otherwise each single run.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!median && (run.run_type != Run::RT_Iteration || run.repetitions > 1)) {
                continue;
            }
            const std::string name = run.run_name.str();
            const double nanoseconds = run.GetAdjustedRealTime();
            for (const char* side : {"/ours", "/peer"}) {
                const std::size_t at = name.find(side);
                if (at == std::string::npos) {
                    continue;
                }
                const std::string key = name.substr(0, at) + name.substr(at + 5);
                (side[1] == 'o' ? m_Times[key].first : m_Times[key].second) = nanoseconds;
            }
        }
    }

    void PrintRatios(const char* peerName) const {
        std::printf("\n%-48s %12s %12s %10s\n", "case", "ours ns", peerName, "speed-up");
        for (const auto& [key, times] : m_Times) {
            if (times.first > 0 && times.second > 0) {
                std::printf("%-48s %12.1f %12.1f %9.2fx\n", key.c_str(), times.first, times.second,
                            times.second / times.first);
            }
        }
    }

private:
    std::map<std::string, std::pair<double, double>> m_Times;
};

} // namespace

int RunAndPrintRatios(int argc, char** argv, const char* peerName) {
    benchmark::Initialize(&argc, argv);
    c_RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(peerName);
    benchmark::Shutdown();
    return 0;
}

} // namespace n_Bench
