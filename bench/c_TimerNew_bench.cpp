// Timer firing jitter at 10 ms and 1000 ms: the period between two callbacks of a repeating
// c_TimerNew minus its interval, median and 99th percentile, against a plain thread that sleeps until
// each deadline (std::this_thread::sleep_until). The 1000 ms case runs eight timers at once, so that
// a minute's samples take ten seconds.
//
// The timer service polls every 10 ms and counts each period from the pass that posted, so its
// periods are the interval plus up to one poll; the peer keeps a fixed schedule.

#include "oslayer/threads/c_TimerCore.h"
#include "oslayer/threads/c_TimerNew.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

typedef std::chrono::steady_clock t_Clock;

struct s_Case {
    std::uint32_t m_IntervalMs;
    int m_Timers;
    int m_PeriodsEach;
};

// Records the deviation of every period from the interval, in milliseconds.
class c_PeriodRecorder : public c_TimerNewCallback {
public:
    c_PeriodRecorder(std::uint32_t intervalMs, int periods, std::vector<double>& deviations)
        : m_IntervalMs(intervalMs), m_Periods(periods), m_Deviations(deviations) {}

    void OnTimer(c_TimerNew* timer) override {
        const t_Clock::time_point now = t_Clock::now();
        if (m_Fires > 0) {
            m_Deviations.push_back(std::chrono::duration<double, std::milli>(now - m_Last).count() - m_IntervalMs);
        }
        m_Last = now;
        if (++m_Fires > m_Periods) {
            timer->Stop();
        }
    }
    bool IsDone() const { return m_Fires > m_Periods; }

private:
    const std::uint32_t m_IntervalMs;
    const int m_Periods;
    std::vector<double>& m_Deviations;
    int m_Fires = 0;
    t_Clock::time_point m_Last;
};

std::vector<double> MeasureOurs(const s_Case& run) {
    std::vector<double> deviations;
    std::vector<std::unique_ptr<c_PeriodRecorder>> owners;
    std::vector<std::unique_ptr<c_TimerNew>> timers;
    for (int i = 0; i < run.m_Timers; ++i) {
        owners.push_back(std::make_unique<c_PeriodRecorder>(run.m_IntervalMs, run.m_PeriodsEach, deviations));
        timers.push_back(std::make_unique<c_TimerNew>(owners.back().get(), "Jitter"));
        timers.back()->Start(run.m_IntervalMs, 0, false);
        // Spread the timers over the interval.
        Sleep(run.m_IntervalMs / static_cast<std::uint32_t>(run.m_Timers));
    }
    const auto allDone = [&] {
        return std::all_of(owners.begin(), owners.end(), [](const auto& owner) { return owner->IsDone(); });
    };
    MSG message;
    while (!allDone() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return deviations;
}

std::vector<double> MeasurePeer(const s_Case& run) {
    std::vector<std::vector<double>> perThread(static_cast<std::size_t>(run.m_Timers));
    std::vector<std::thread> threads;
    const std::chrono::milliseconds interval(run.m_IntervalMs);
    for (int i = 0; i < run.m_Timers; ++i) {
        threads.emplace_back([&, i] {
            t_Clock::time_point last = t_Clock::now();
            t_Clock::time_point next = last + interval;
            for (int period = 0; period < run.m_PeriodsEach; ++period, next += interval) {
                std::this_thread::sleep_until(next);
                const t_Clock::time_point now = t_Clock::now();
                perThread[static_cast<std::size_t>(i)].push_back(
                    std::chrono::duration<double, std::milli>(now - last).count() - run.m_IntervalMs);
                last = now;
            }
        });
        std::this_thread::sleep_for(interval / run.m_Timers);
    }
    std::vector<double> deviations;
    for (std::size_t i = 0; i < threads.size(); ++i) {
        threads[i].join();
        deviations.insert(deviations.end(), perThread[i].begin(), perThread[i].end());
    }
    return deviations;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::lround(fraction * static_cast<double>(values.size() - 1)));
    return values[index];
}

} // namespace

int main() {
    if (!c_TimerCore::Start()) {
        return 1;
    }
    const s_Case cases[] = {{10, 1, 500}, {1000, 8, 8}};
    std::printf("%-12s %8s %14s %14s %14s %14s\n", "interval", "periods", "ours median", "ours p99", "peer median",
                "peer p99");
    for (const s_Case& run : cases) {
        const std::vector<double> ours = MeasureOurs(run);
        const std::vector<double> peer = MeasurePeer(run);
        std::printf("%9u ms %8zu %11.3f ms %11.3f ms %11.3f ms %11.3f ms\n", run.m_IntervalMs, ours.size(),
                    Percentile(ours, 0.5), Percentile(ours, 0.99), Percentile(peer, 0.5), Percentile(peer, 0.99));
    }
    std::printf("(period minus interval; peer: a thread sleeping until each deadline)\n");
    c_TimerCore::Stop();
    return 0;
}
