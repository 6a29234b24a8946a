// The project's allocator: malloc, realloc and free with a per-thread failure hook for tests.

#include "strings/Memory.h"

#include <cstdlib>

namespace n_Memory {

namespace {

thread_local std::uint32_t t_FailCountdown = 0;
thread_local std::uint64_t t_AllocationCount = 0;

// Counts the request and tells whether the armed failure hits it.
bool ShouldFail() {
    ++t_AllocationCount;
    if (t_FailCountdown == 0) {
        return false;
    }
    return --t_FailCountdown == 0;
}

} // namespace

void* Allocate(std::size_t bytes) {
    if (ShouldFail()) {
        return nullptr;
    }
    return std::malloc(bytes);
}

void* Reallocate(void* block, std::size_t bytes) {
    if (ShouldFail()) {
        return nullptr;
    }
    return std::realloc(block, bytes);
}

void Free(void* block) {
    std::free(block);
}

void FailNthAllocation(std::uint32_t n) {
    t_FailCountdown = n;
}

bool IsFailurePending() {
    return t_FailCountdown != 0;
}

std::uint64_t GetAllocationCount() {
    return t_AllocationCount;
}

} // namespace n_Memory
