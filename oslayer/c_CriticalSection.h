#pragma once
// c_CriticalSection: the system's lock, a recursive Windows critical section with a lock count.
//
// Every entry adds 1 to the count after entering; every leave first checks the count and leaves
// only while it is above 0, so a stray leave is ignored instead of unbalancing the section. A leave
// by a thread that does not hold the section is a stray leave too. Only the holder reads or changes
// the count, so it needs no atomics; it is one number per section, not one per thread.

#include <windows.h>

#include <cstdint>

class c_CriticalSection {
public:
    c_CriticalSection();
    ~c_CriticalSection();
    c_CriticalSection(const c_CriticalSection&) = delete;
    c_CriticalSection& operator=(const c_CriticalSection&) = delete;

    void Enter();
    void Leave();
    // Meaningful to the holder only.
    std::int32_t GetLockCount() const { return m_LockCount; }

private:
    bool IsHeldByCallingThread();

    CRITICAL_SECTION m_Section;
    std::int32_t m_LockCount = 0;
};
