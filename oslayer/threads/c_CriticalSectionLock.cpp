// c_CriticalSectionLock: locking, unlocking, relocking and the two-section form.

#include "oslayer/threads/c_CriticalSectionLock.h"

#include <functional>
#include <utility>

c_CriticalSectionLock::c_CriticalSectionLock(c_CriticalSectionLock&& other) noexcept
    : m_p_Held(std::exchange(other.m_p_Held, nullptr)), m_p_Previous(std::exchange(other.m_p_Previous, nullptr)) {}

void c_CriticalSectionLock::Relock() {
    c_CriticalSection* taken = std::exchange(m_p_Previous, nullptr);
    if (taken != nullptr && taken != m_p_Held) {
        Hold(*taken);
    }
}

void c_CriticalSectionLock::Swap(c_CriticalSectionLock& other) {
    std::swap(m_p_Held, other.m_p_Held);
    std::swap(m_p_Previous, other.m_p_Previous);
}

void LockTwo(c_CriticalSection& a, c_CriticalSectionLock& lockA, c_CriticalSection& b, c_CriticalSectionLock& lockB) {
    if (std::less<c_CriticalSection*>()(&a, &b)) {
        lockA.Lock(a);
        lockB.Lock(b);
    } else {
        lockB.Lock(b);
        lockA.Lock(a);
    }
}
