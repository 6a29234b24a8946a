// The test executable's global operator new and delete, with a per-thread failure countdown.

#include "textutil/testing/FailingOperatorNew.h"

#include <cstdlib>
#include <new>

namespace {

thread_local unsigned t_Countdown = 0;

} // namespace

namespace n_TestAllocation {

void FailNthOperatorNew(unsigned n) {
    t_Countdown = n;
}

} // namespace n_TestAllocation

void* operator new(std::size_t bytes) {
    if (t_Countdown != 0 && --t_Countdown == 0) {
        throw std::bad_alloc();
    }
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

// Counted like the throwing form, which the library's own nothrow form may not call.
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
