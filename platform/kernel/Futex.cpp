// Futex calls through the system call.

#include "platform/kernel/Futex.h"

#include <cstdint>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace n_Platform {

void FutexWait(const void* word, std::uint32_t expected, const timespec* timeout) {
    syscall(SYS_futex, word, FUTEX_WAIT_PRIVATE, expected, timeout, nullptr, 0);
}

void FutexWakeOne(const void* word) {
    syscall(SYS_futex, word, FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

void FutexWakeAll(const void* word) {
    syscall(SYS_futex, word, FUTEX_WAKE_PRIVATE, INT32_MAX, nullptr, nullptr, 0);
}

} // namespace n_Platform
