#pragma once
// The project's one allocator: every c_ type takes its memory here, never from operator new.
//
// Allocation failures cannot be provoked from outside where the system overcommits memory, so the
// allocator has a test hook that makes a chosen allocation on the calling thread fail.

#include <cstddef>
#include <cstdint>

namespace n_Memory {

// malloc, realloc and free; a failed request returns null and leaves the old block in place.
void* Allocate(std::size_t bytes);
void* Reallocate(void* block, std::size_t bytes);
void Free(void* block);

// Test hook: the n-th allocation or reallocation made by the calling thread from now on fails
// (1 = the next one). 0 disarms it.
void FailNthAllocation(std::uint32_t n);

// True while an armed failure has not yet been used.
bool IsFailurePending();

// Allocations and reallocations made by the calling thread since it started.
std::uint64_t GetAllocationCount();

} // namespace n_Memory
