// Tests of c_IOBuffer: the growth table, shrinking, zeroing and failures.

#include "textutil/c_IOBuffer.h"

#include "strings/Memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

bool IsZero(const c_IOBuffer& buffer, int from, int to) {
    for (int i = from; i < to; ++i) {
        if (buffer.GetData()[i] != 0) {
            return false;
        }
    }
    return true;
}

TEST(c_IOBuffer, GrowthTable) {
    struct s_Case {
        const char* m_Name;
        std::function<bool(c_IOBuffer&)> m_Steps;
        int m_Capacity;
        int m_Used;
    };
    const std::vector<char> bytes(70000, 'x');
    const s_Case cases[] = {
        {"first append takes one step", [&](c_IOBuffer& b) { return b.Append(bytes.data(), 100); }, 512, 100},
        {"a whole step still gains a step", [&](c_IOBuffer& b) { return b.Append(bytes.data(), 512); }, 1024, 512},
        {"second append: step beats half",
         [&](c_IOBuffer& b) { return b.Append(bytes.data(), 100) && b.Append(bytes.data(), 500); }, 1024, 600},
        {"reserve counts while empty",
         [&](c_IOBuffer& b) {
             b.Init(16);
             return b.IncreaseSize(500, false, true, false);
         },
         1024, 500},
        {"reserve is not counted once data is there",
         [&](c_IOBuffer& b) {
             b.Init(16);
             return b.Append(bytes.data(), 100) && b.Append(bytes.data(), 1020);
         },
         1536, 1120},
        {"half the used size beats the step",
         [&](c_IOBuffer& b) {
             return b.IncreaseSize(10000, false, true, false) && b.SetUsedSizeWithinCapacity(10240) &&
                    b.IncreaseSize(1, false, true, false);
         },
         15360, 10241},
        {"large granularity",
         [&](c_IOBuffer& b) {
             b.SetLargeGranularity();
             return b.Append(bytes.data(), 1);
         },
         65536, 1},
        {"large granularity, then half",
         [&](c_IOBuffer& b) {
             b.SetLargeGranularity();
             return b.Append(bytes.data(), 65535) && b.Append(bytes.data(), 2);
         },
         131072, 65537},
        {"a reserve larger than a step stays inside the block",
         [&](c_IOBuffer& b) {
             b.Init(1000);
             return b.Append(bytes.data(), 10) && b.SetUsedSizeWithinCapacity(1024) &&
                    b.IncreaseSize(1, false, true, false);
         },
         2048, 1025},
        {"negative count shrinks and keeps the block",
         [&](c_IOBuffer& b) { return b.Append(bytes.data(), 300) && b.IncreaseSize(-300, false, true, false); }, 512,
         0},
    };
    for (const s_Case& test : cases) {
        c_IOBuffer buffer;
        ASSERT_TRUE(test.m_Steps(buffer)) << test.m_Name;
        EXPECT_EQ(buffer.GetCapacity(), test.m_Capacity) << test.m_Name;
        EXPECT_EQ(buffer.GetUsedSize(), test.m_Used) << test.m_Name;
        EXPECT_GE(buffer.GetCapacity(), buffer.GetTotalSize()) << test.m_Name;
    }
}

TEST(c_IOBuffer, AppendKeepsContentAcrossGrowth) {
    c_IOBuffer buffer;
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 3000; ++i) {
        const std::uint8_t byte = static_cast<std::uint8_t>(i * 7);
        ASSERT_TRUE(buffer.Append(&byte, 1));
        expected.push_back(byte);
    }
    ASSERT_EQ(buffer.GetUsedSize(), 3000);
    EXPECT_EQ(std::memcmp(buffer.GetData(), expected.data(), expected.size()), 0);
    EXPECT_TRUE(buffer.HasData());
}

TEST(c_IOBuffer, RefusesNegativeSizes) {
    c_IOBuffer buffer;
    ASSERT_TRUE(buffer.Append("abc", 3));
    EXPECT_FALSE(buffer.IncreaseSize(-4, false, true, false));
    EXPECT_FALSE(buffer.Append("abc", -1));
    EXPECT_FALSE(buffer.Resize(-1, false, false, false));
    EXPECT_FALSE(buffer.SetUsedSize(-1));
    EXPECT_FALSE(buffer.SetUsedSizeWithinCapacity(513));
    EXPECT_EQ(buffer.GetUsedSize(), 3);
}

TEST(c_IOBuffer, ZeroFillAndZeroing) {
    c_IOBuffer grown;
    grown.Init(8);
    ASSERT_TRUE(grown.Append("abc", 3));
    ASSERT_TRUE(grown.IncreaseSize(600, false, true, true));
    EXPECT_TRUE(IsZero(grown, 3, grown.GetCapacity())) << "growth with keepData and zeroFill";

    c_IOBuffer reserve;
    reserve.Init(8);
    ASSERT_TRUE(reserve.Append("abcdefgh", 8));
    std::memset(reserve.GetData() + 8, 0xFF, 16);
    ASSERT_TRUE(reserve.IncreaseSize(2, true, true, true));
    EXPECT_TRUE(IsZero(reserve, 10, 18)) << "fast path zeroes the reserve";
    EXPECT_EQ(reserve.GetData()[18], 0xFF) << "and nothing beyond it";

    std::memset(reserve.GetData(), 0xFF, 32);
    ASSERT_TRUE(reserve.Resize(4, true, false, true));
    EXPECT_TRUE(IsZero(reserve, 4, 18)) << "shrink zeroes the dropped bytes and the reserve behind them";
    EXPECT_EQ(reserve.GetData()[3], 0xFF);
    std::memset(reserve.GetData(), 0xFF, 32);
    ASSERT_TRUE(reserve.Resize(2, true, false, false));
    EXPECT_EQ(reserve.GetData()[2], 0xFF) << "without both flags only the size changes";
    EXPECT_EQ(reserve.GetUsedSize(), 2);
}

TEST(c_IOBuffer, ZeroRangeAndZeroReserveBounds) {
    c_IOBuffer buffer;
    EXPECT_FALSE(buffer.ZeroReserve());
    EXPECT_FALSE(buffer.ZeroRange(0, 1)) << "no block";
    ASSERT_TRUE(buffer.Append("abc", 3));
    EXPECT_FALSE(buffer.ZeroRange(-1, 2));
    EXPECT_FALSE(buffer.ZeroRange(0, 0));
    EXPECT_FALSE(buffer.ZeroRange(500, 13));
    EXPECT_TRUE(buffer.ZeroRange(500, 12));
    EXPECT_FALSE(buffer.ZeroReserve()) << "no reserve";
    buffer.SetReserve(600);
    EXPECT_FALSE(buffer.ZeroReserve()) << "reserve past the block";
    buffer.SetReserve(9);
    EXPECT_TRUE(buffer.ZeroReserve());
}

TEST(c_IOBuffer, TotalSizeCountsTheReserveOnlyWithData) {
    c_IOBuffer buffer;
    buffer.Init(16);
    EXPECT_EQ(buffer.GetTotalSize(), 0);
    ASSERT_TRUE(buffer.Append("ab", 2));
    EXPECT_EQ(buffer.GetTotalSize(), 18);
}

TEST(c_IOBuffer, SetUsedSizeGrowsWithoutKeepingData) {
    c_IOBuffer buffer;
    ASSERT_TRUE(buffer.Append("abc", 3));
    ASSERT_TRUE(buffer.SetUsedSize(100));
    EXPECT_EQ(buffer.GetCapacity(), 512) << "within the block";
    ASSERT_TRUE(buffer.SetUsedSize(2000));
    EXPECT_EQ(buffer.GetUsedSize(), 2000);
    EXPECT_EQ(buffer.GetCapacity(), 512 + 2048);
    ASSERT_TRUE(buffer.SetUsedSize(10));
    EXPECT_EQ(buffer.GetCapacity(), 512 + 2048);
}

TEST(c_IOBuffer, FailedGrowth) {
    c_IOBuffer kept;
    ASSERT_TRUE(kept.Append("abc", 3));
    n_Memory::FailNthAllocation(1);
    EXPECT_FALSE(kept.IncreaseSize(1000, false, true, false));
    EXPECT_EQ(kept.GetUsedSize(), 3);
    EXPECT_EQ(kept.GetCapacity(), 512);
    EXPECT_EQ(std::memcmp(kept.GetData(), "abc", 3), 0);

    c_IOBuffer replaced;
    ASSERT_TRUE(replaced.Append("abc", 3));
    n_Memory::FailNthAllocation(1);
    EXPECT_FALSE(replaced.IncreaseSize(1000, false, false, false));
    EXPECT_EQ(replaced.GetUsedSize(), 0);
    EXPECT_EQ(replaced.GetCapacity(), 0);
    EXPECT_EQ(replaced.GetData(), nullptr);
    n_Memory::FailNthAllocation(0);

    c_IOBuffer huge;
    ASSERT_TRUE(huge.Append("abc", 3));
    EXPECT_FALSE(huge.IncreaseSize(0x7FFFFFF0, false, true, false)) << "beyond the 32-bit sizes";
    EXPECT_EQ(huge.GetUsedSize(), 3);
}

TEST(c_IOBuffer, ClearSwapAndInit) {
    c_IOBuffer first;
    first.SetLargeGranularity();
    ASSERT_TRUE(first.Append("abc", 3));
    c_IOBuffer second;
    second.Init(4);
    first.Swap(second);
    EXPECT_EQ(first.GetUsedSize(), 0);
    EXPECT_EQ(first.GetReserve(), 4);
    EXPECT_EQ(second.GetUsedSize(), 3);
    EXPECT_EQ(second.GetGranularity(), c_IOBuffer::LARGE_GRANULARITY);
    second.Clear(false);
    EXPECT_EQ(second.GetCapacity(), 65536);
    EXPECT_FALSE(second.HasData());
    second.Clear(true);
    EXPECT_EQ(second.GetCapacity(), 0);
    EXPECT_EQ(second.GetGranularity(), c_IOBuffer::DEFAULT_GRANULARITY);
}

TEST(c_IOBuffer, FillingExactlyToTheCapacityDoesNotGrow) {
    c_IOBuffer buffer;
    const std::uint8_t byte = 7;
    ASSERT_TRUE(buffer.Append(&byte, 1));
    const int capacity = buffer.GetCapacity();
    const std::uint8_t* data = buffer.GetData();
    const std::vector<std::uint8_t> rest(static_cast<std::size_t>(capacity - 1), 9);
    ASSERT_TRUE(buffer.Append(rest.data(), capacity - 1));
    EXPECT_EQ(buffer.GetUsedSize(), capacity);
    EXPECT_EQ(buffer.GetCapacity(), capacity);
    EXPECT_EQ(buffer.GetData(), data);
    ASSERT_TRUE(buffer.Append(&byte, 1));
    EXPECT_GT(buffer.GetCapacity(), capacity) << "one byte more grows";
}

} // namespace
