#pragma once
// c_MemoryAllocator: the standard-library allocator over n_Memory, for the containers that c_ types
// hold (registries, connection sets, window maps), so that they too take memory from the project's
// allocator.
//
// The containers require an allocator that throws: a failed allocation throws std::bad_alloc, which
// the owner turns into a result where it can fail.

#include "strings/Memory.h"

#include <cstddef>
#include <new>

template <typename T> class c_MemoryAllocator {
public:
    typedef T value_type;

    c_MemoryAllocator() = default;
    template <typename U> c_MemoryAllocator(const c_MemoryAllocator<U>&) {}

    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) {
            throw std::bad_alloc();
        }
        void* block = n_Memory::Allocate(count * sizeof(T));
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t) { n_Memory::Free(block); }

    template <typename U> bool operator==(const c_MemoryAllocator<U>&) const { return true; }
};
