#pragma once
// c_CriticalSection: the system's lock, a recursive Windows critical section with a lock count.
//
// Every entry adds 1 to the count after entering; every leave first checks the count and leaves
// only while it is above 0, so a stray leave is ignored instead of unbalancing the section. A leave
// by a thread that does not hold the section is a stray leave too. Only the holder reads or changes
// the count, so it needs no atomics; it is one number per section, not one per thread.

#include <windows.h>

#include <atomic>
#include <cstdint>

class c_CriticalSection {
public:
    c_CriticalSection();
    ~c_CriticalSection();
    c_CriticalSection(const c_CriticalSection&) = delete;
    c_CriticalSection& operator=(const c_CriticalSection&) = delete;

    // Inline, as every guard enters and leaves through them.
    void Enter() {
        EnterCriticalSection(&m_Section);
        ++m_LockCount;
    }
    void Leave() {
        if (!IsHeldByCallingThread() || m_LockCount <= 0) {
            return;
        }
        --m_LockCount;
        LeaveCriticalSection(&m_Section);
    }
    // Meaningful to the holder only.
    std::int32_t GetLockCount() const { return m_LockCount; }

private:
    // The section's owner field holds the owner's thread id; only that thread ever stores its own
    // id there, so the comparison is exact even while other threads take and leave the section.
    bool IsHeldByCallingThread() {
        const HANDLE self = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId()));
        return std::atomic_ref<HANDLE>(m_Section.OwningThread).load(std::memory_order_relaxed) == self;
    }

    CRITICAL_SECTION m_Section;
    std::int32_t m_LockCount = 0;
};
