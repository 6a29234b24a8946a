// Tests of global memory blocks.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GlobalMemory, MovableBlockIsReachedThroughItsLocks) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 6);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 6u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_NE(static_cast<void*>(bytes), block);
    EXPECT_EQ(bytes[5], 0);
    EXPECT_EQ(GlobalLock(block), bytes);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, FixedBlockIsItsOwnAddress) {
    HGLOBAL block = GlobalAlloc(GPTR, 4);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalLock(block), block);
    EXPECT_EQ(GlobalSize(block), 4u);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, FreedOrMadeUpHandlesFail) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
    GlobalFree(block);
    HGLOBAL later = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_NE(later, block);
    for (HGLOBAL bad : {block, reinterpret_cast<HGLOBAL>(0x12345)}) {
        SetLastError(0);
        EXPECT_EQ(GlobalLock(bad), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(GlobalSize(bad), 0u);
        EXPECT_EQ(GlobalFree(bad), bad);
    }
    GlobalFree(later);
    EXPECT_EQ(GlobalAlloc(0x8000, 1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
