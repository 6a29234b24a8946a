#pragma once
// c_CriticalSectionLock: the scoped guard of a c_CriticalSection, and LockTwo.
//
// The guard holds at most one section, entered once. It can let go in the middle of a scope and
// take the same section again (Unlock, Relock), so that owners are called without the lock held;
// and it can move to another section (Lock), remembering the first for Relock. A guard belongs to
// the thread that made it.

#include "oslayer/threads/c_CriticalSection.h"

class c_CriticalSectionLock {
public:
    c_CriticalSectionLock() = default;
    explicit c_CriticalSectionLock(c_CriticalSection& section) { Lock(section); }
    c_CriticalSectionLock(c_CriticalSectionLock&& other) noexcept;
    ~c_CriticalSectionLock() { Unlock(); }
    c_CriticalSectionLock(const c_CriticalSectionLock&) = delete;
    c_CriticalSectionLock& operator=(const c_CriticalSectionLock&) = delete;

    // Nothing when section is already held; another held section is left and remembered first.
    void Lock(c_CriticalSection& section) {
        if (m_p_Held != &section) {
            Hold(section);
        }
    }
    // Leaves the held section and remembers it.
    void Unlock() {
        if (m_p_Held != nullptr) {
            m_p_Held->Leave();
            m_p_Previous = m_p_Held;
            m_p_Held = nullptr;
        }
    }
    // Takes the remembered section again, leaving (and remembering) any other one held.
    void Relock();
    void Swap(c_CriticalSectionLock& other);

    c_CriticalSection* GetHeld() const { return m_p_Held; }

private:
    void Hold(c_CriticalSection& section) {
        if (m_p_Held != nullptr) {
            m_p_Held->Leave();
            m_p_Previous = m_p_Held;
        }
        m_p_Held = &section;
        section.Enter();
    }

    c_CriticalSection* m_p_Held = nullptr;
    c_CriticalSection* m_p_Previous = nullptr;
};

// Takes two sections always in address order, lower first, so that two callers cannot deadlock by
// taking them in opposite orders. One section passed twice is entered twice, once by each guard.
void LockTwo(c_CriticalSection& a, c_CriticalSectionLock& lockA, c_CriticalSection& b, c_CriticalSectionLock& lockB);
