#include "strings/Memory.h"

#include <gtest/gtest.h>

#include <thread>

TEST(Memory, FailsExactlyTheArmedAllocation) {
    n_Memory::FailNthAllocation(2);
    void* first = n_Memory::Allocate(16);
    EXPECT_NE(first, nullptr);
    EXPECT_TRUE(n_Memory::IsFailurePending());
    EXPECT_EQ(n_Memory::Reallocate(first, 64), nullptr);
    EXPECT_FALSE(n_Memory::IsFailurePending());
    void* third = n_Memory::Reallocate(first, 64);
    EXPECT_NE(third, nullptr);
    n_Memory::Free(third);
}

TEST(Memory, HookBelongsToTheArmingThread) {
    n_Memory::FailNthAllocation(1);
    std::uint64_t before = n_Memory::GetAllocationCount();
    void* block = nullptr;
    std::thread([&] { block = n_Memory::Allocate(8); }).join();
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(n_Memory::GetAllocationCount(), before);
    EXPECT_TRUE(n_Memory::IsFailurePending());
    n_Memory::FailNthAllocation(0);
    n_Memory::Free(block);
}
