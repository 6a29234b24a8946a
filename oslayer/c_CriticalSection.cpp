// c_CriticalSection: entering and leaving by the count rule.

#include "oslayer/c_CriticalSection.h"

#include <atomic>

c_CriticalSection::c_CriticalSection() { InitializeCriticalSectionAndSpinCount(&m_Section, 0); }

c_CriticalSection::~c_CriticalSection() { DeleteCriticalSection(&m_Section); }

void c_CriticalSection::Enter() {
    EnterCriticalSection(&m_Section);
    ++m_LockCount;
}

void c_CriticalSection::Leave() {
    if (!IsHeldByCallingThread() || m_LockCount <= 0) {
        return;
    }
    --m_LockCount;
    LeaveCriticalSection(&m_Section);
}

// The section's owner field holds the owner's thread id; only that thread ever stores its own id
// there, so the comparison is exact even while other threads take and leave the section.
bool c_CriticalSection::IsHeldByCallingThread() {
    const HANDLE self = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId()));
    return std::atomic_ref<HANDLE>(m_Section.OwningThread).load(std::memory_order_relaxed) == self;
}
