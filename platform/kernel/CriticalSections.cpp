// Critical sections: a recursive lock word with futex sleeps (Drepper, "Futexes Are Tricky", mutex 2).

#include "platform/kernel/Futex.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace {

constexpr LONG FREE = 0;
constexpr LONG HELD = 1;
constexpr LONG HELD_WITH_SLEEPERS = 2;

std::atomic_ref<LONG> LockWord(LPCRITICAL_SECTION section) {
    return std::atomic_ref<LONG>(section->LockCount);
}
std::atomic_ref<HANDLE> Owner(LPCRITICAL_SECTION section) {
    return std::atomic_ref<HANDLE>(section->OwningThread);
}

HANDLE CurrentOwnerValue() {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(GetCurrentThreadId()));
}

void PauseOnce() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Watches the word up to the section's spin count for the owner to leave, taking it if it does:
// a holder that leaves within microseconds costs less than a futex sleep and wake.
bool SpinToTake(LPCRITICAL_SECTION section) {
    for (ULONG_PTR spin = 0; spin < section->SpinCount; ++spin) {
        PauseOnce();
        LONG state = LockWord(section).load(std::memory_order_relaxed);
        if (state == FREE && LockWord(section).compare_exchange_weak(state, HELD, std::memory_order_acquire)) {
            return true;
        }
    }
    return false;
}

void SleepWhileHeld(LPCRITICAL_SECTION section) {
    n_Platform::FutexWait(&section->LockCount, HELD_WITH_SLEEPERS, nullptr);
}

void WakeOneSleeper(LPCRITICAL_SECTION section) {
    n_Platform::FutexWakeOne(&section->LockCount);
}

} // namespace

BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount) {
    *section = CRITICAL_SECTION{};
    section->SpinCount = spinCount;
    return TRUE;
}

VOID WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section) {
    *section = CRITICAL_SECTION{};
}

VOID WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) {
    const HANDLE self = CurrentOwnerValue();
    // Only this thread ever stores its own id, so seeing it means this thread holds the section.
    if (Owner(section).load(std::memory_order_relaxed) == self) {
        ++section->RecursionCount;
        return;
    }
    LONG state = FREE;
    if (!LockWord(section).compare_exchange_strong(state, HELD, std::memory_order_acquire) && !SpinToTake(section)) {
        if (state != HELD_WITH_SLEEPERS) {
            state = LockWord(section).exchange(HELD_WITH_SLEEPERS, std::memory_order_acquire);
        }
        while (state != FREE) {
            SleepWhileHeld(section);
            state = LockWord(section).exchange(HELD_WITH_SLEEPERS, std::memory_order_acquire);
        }
    }
    Owner(section).store(self, std::memory_order_relaxed);
    section->RecursionCount = 1;
}

VOID WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) {
    if (Owner(section).load(std::memory_order_relaxed) != CurrentOwnerValue()) {
        return;
    }
    if (--section->RecursionCount > 0) {
        return;
    }
    Owner(section).store(nullptr, std::memory_order_relaxed);
    if (LockWord(section).exchange(FREE, std::memory_order_release) == HELD_WITH_SLEEPERS) {
        WakeOneSleeper(section);
    }
}
