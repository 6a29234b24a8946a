#pragma once
// c_PerformanceTimer: a stopwatch over the performance counter that adds up its running spans.

#include <cstdint>

class c_PerformanceTimer {
public:
    c_PerformanceTimer();

    // Nothing while running.
    void Start();
    void Stop();
    void Reset();
    bool IsRunning() const { return m_StartCount != 0; }
    // The spans so far plus the running one.
    double GetElapsedSeconds() const;

private:
    static std::int64_t ReadCounter();

    std::int64_t m_Frequency = 0;
    std::int64_t m_StartCount = 0;
    std::int64_t m_AccumulatedCounts = 0;
};
