#pragma once
// Test helper: makes the n-th allocation of the calling thread fail for the lifetime of the scope.

#include "strings/Memory.h"

class c_FailingAllocation {
public:
    explicit c_FailingAllocation(std::uint32_t n = 1) { n_Memory::FailNthAllocation(n); }
    ~c_FailingAllocation() { n_Memory::FailNthAllocation(0); }
    c_FailingAllocation(const c_FailingAllocation&) = delete;
    c_FailingAllocation& operator=(const c_FailingAllocation&) = delete;
};
