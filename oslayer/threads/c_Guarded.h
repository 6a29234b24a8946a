#pragma once
// c_Guarded and c_GuardedAccess: a value together with the section that protects it, and the
// accessor that holds the section while the value is used.
//
// The process-wide registries (threads, timers) are built this way: the value cannot be reached
// without going through the section.

#include "oslayer/threads/c_CriticalSectionLock.h"

#include <utility>

template <typename T> class c_GuardedAccess {
public:
    c_GuardedAccess(T* value, c_CriticalSection& section) : m_Lock(section), m_p_Value(value) {}

    T& operator*() const { return *m_p_Value; }
    T* operator->() const { return m_p_Value; }

private:
    c_CriticalSectionLock m_Lock;
    T* m_p_Value;
};

template <typename T> class c_Guarded {
public:
    template <typename... Arguments>
    explicit c_Guarded(Arguments&&... arguments) : m_Value(std::forward<Arguments>(arguments)...) {}

    c_GuardedAccess<T> Access() { return c_GuardedAccess<T>(&m_Value, m_Section); }

    // Moves the caller's guard onto this value's section (leaving what it held) and gives the value.
    T* Lock(c_CriticalSectionLock& lock) {
        lock.Lock(m_Section);
        return &m_Value;
    }

private:
    c_CriticalSection m_Section;
    T m_Value;
};
