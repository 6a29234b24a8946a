// c_PerformanceTimer: a stopwatch over the performance counter.

#include "network/c_PerformanceTimer.h"

#include <windows.h>

c_PerformanceTimer::c_PerformanceTimer() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    m_Frequency = frequency.QuadPart;
}

std::int64_t c_PerformanceTimer::ReadCounter() {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

void c_PerformanceTimer::Start() {
    if (!IsRunning()) {
        m_StartCount = ReadCounter();
    }
}

void c_PerformanceTimer::Stop() {
    if (IsRunning()) {
        m_AccumulatedCounts += ReadCounter() - m_StartCount;
        m_StartCount = 0;
    }
}

void c_PerformanceTimer::Reset() {
    m_StartCount = 0;
    m_AccumulatedCounts = 0;
}

double c_PerformanceTimer::GetElapsedSeconds() const {
    const std::int64_t running = IsRunning() ? ReadCounter() - m_StartCount : 0;
    return m_Frequency == 0 ? 0.0
                            : static_cast<double>(m_AccumulatedCounts + running) / static_cast<double>(m_Frequency);
}
