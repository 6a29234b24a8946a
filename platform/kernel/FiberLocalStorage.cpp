// Fiber-local slots: one pointer per thread and slot, with a callback at thread end.
//
// Each slot is a POSIX key whose destructor is the slot's callback; the layer remembers which keys
// it made, so a slot that was never allocated, or was freed, fails with ERROR_INVALID_PARAMETER.

#include "platform/kernel/LastError.h"

#include <atomic>
#include <climits>
#include <pthread.h>

namespace {

std::atomic<bool> g_Allocated[PTHREAD_KEYS_MAX];

bool IsAllocated(DWORD index) {
    return index < PTHREAD_KEYS_MAX && g_Allocated[index].load(std::memory_order_acquire);
}

} // namespace

DWORD WINAPI FlsAlloc(PFLS_CALLBACK_FUNCTION callback) {
    pthread_key_t key;
    if (pthread_key_create(&key, callback) != 0) {
        return n_Platform::FailWith<DWORD>(FLS_OUT_OF_INDEXES, ERROR_NO_SYSTEM_RESOURCES);
    }
    g_Allocated[key].store(true, std::memory_order_release);
    return key;
}

BOOL WINAPI FlsFree(DWORD index) {
    if (!IsAllocated(index)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    g_Allocated[index].store(false, std::memory_order_release);
    pthread_key_delete(index);
    return TRUE;
}

PVOID WINAPI FlsGetValue(DWORD index) {
    if (!IsAllocated(index)) {
        return n_Platform::FailWith<PVOID>(nullptr, ERROR_INVALID_PARAMETER);
    }
    // Success clears the last error, so that a null value can be told from a failure.
    SetLastError(ERROR_SUCCESS);
    return pthread_getspecific(index);
}

BOOL WINAPI FlsSetValue(DWORD index, PVOID data) {
    if (!IsAllocated(index)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    if (pthread_setspecific(index, data) != 0) {
        return n_Platform::FailWith(FALSE, ERROR_NOT_ENOUGH_MEMORY);
    }
    return TRUE;
}
