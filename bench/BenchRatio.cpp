// The ratio report shared by the benchmarks.

#include "bench/BenchRatio.h"

#include <cstdio>
#include <map>
#include <string>
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
            // In the benchmark's own time unit; both sides of a case use the same one.
            const double time = run.GetAdjustedRealTime();
            for (const char* side : {"/ours", "/peer"}) {
                const std::size_t at = name.find(side);
                if (at == std::string::npos) {
                    continue;
                }
                s_Times& times = m_Times[name.substr(0, at) + name.substr(at + 5)];
                (side[1] == 'o' ? times.m_Ours : times.m_Peer) = time;
                times.m_p_Unit = benchmark::GetTimeUnitString(run.time_unit);
            }
        }
    }

    void PrintRatios(const char* peerName) const {
        std::printf("\n%-48s %15s %15s %10s\n", "case", "ours", peerName, "speed-up");
        for (const auto& [key, times] : m_Times) {
            if (times.m_Ours > 0 && times.m_Peer > 0) {
                std::printf("%-48s %12.1f %-2s %12.1f %-2s %9.2fx\n", key.c_str(), times.m_Ours, times.m_p_Unit,
                            times.m_Peer, times.m_p_Unit, times.m_Peer / times.m_Ours);
            }
        }
    }

private:
    struct s_Times {
        double m_Ours = 0;
        double m_Peer = 0;
        const char* m_p_Unit = "";
    };
    std::map<std::string, s_Times> m_Times;
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
