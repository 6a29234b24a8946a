// Tests of c_ByteBuffer: a randomized model run, the growth rule, consumption, observers and failures.

#include "textutil/c_ByteBuffer.h"

#include "strings/Memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Contents(const c_ByteBuffer& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

// The capacity rule, written out independently of the buffer.
std::uint64_t NextCapacity(std::uint64_t need, std::uint64_t capacity) {
    const std::uint64_t grown = capacity + capacity / 2;
    const std::uint64_t wanted = need > grown ? need : grown;
    return wanted / 512 * 512 + 512;
}

// A reference FIFO with the buffer's block layout: content, read offset and capacity.
struct s_ReferenceBuffer {
    std::string m_Content;
    std::uint64_t m_ReadOffset = 0;
    std::uint64_t m_Capacity = 0;

    void SetSize(std::size_t size) {
        const std::uint64_t need = size + 1;
        if (m_Capacity == 0 || m_ReadOffset + need > m_Capacity) {
            m_ReadOffset = 0;
            if (need > m_Capacity) {
                m_Capacity = NextCapacity(need, m_Capacity);
            }
        }
        m_Content.resize(size, '\0');
    }
    void Append(const std::string& bytes) {
        if (bytes.empty()) {
            return;
        }
        const std::size_t position = m_Content.size();
        SetSize(position + bytes.size());
        m_Content.replace(position, bytes.size(), bytes);
    }
    void Consume(std::size_t count) {
        const std::size_t consumed = count < m_Content.size() ? count : m_Content.size();
        m_Content.erase(0, consumed);
        m_ReadOffset = m_Content.empty() ? 0 : m_ReadOffset + consumed;
    }
};

TEST(c_ByteBuffer, MatchesReferenceUnderRandomOperations) {
    std::mt19937 random(20240611);
    c_ByteBuffer buffer;
    s_ReferenceBuffer reference;
    for (int step = 0; step < 20000; ++step) {
        const int operation = static_cast<int>(random() % 10);
        if (operation < 5) {
            std::string bytes(random() % 700, '\0');
            for (char& byte : bytes) {
                byte = static_cast<char>(random());
            }
            ASSERT_TRUE(buffer.Append(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
            reference.Append(bytes);
        } else if (operation < 8) {
            const std::uint32_t count = random() % 900;
            buffer.Consume(count);
            reference.Consume(count);
        } else if (operation < 9) {
            const std::uint32_t size = random() % (buffer.GetSize() + 600);
            const std::size_t kept = size < reference.m_Content.size() ? size : reference.m_Content.size();
            ASSERT_TRUE(buffer.SetSize(size));
            reference.SetSize(size);
            // Bytes beyond the old size are not initialised; compare only what was kept.
            std::memset(buffer.GetData() + kept, 0, size - kept);
        } else if (random() % 8 == 0) {
            const bool release = random() % 2 == 0;
            buffer.Clear(release);
            reference.m_Content.clear();
            reference.m_ReadOffset = 0;
            reference.m_Capacity = release ? 0 : reference.m_Capacity;
        }
        ASSERT_EQ(Contents(buffer), reference.m_Content) << "step " << step;
        ASSERT_EQ(buffer.GetData()[buffer.GetSize()], 0) << "step " << step;
        ASSERT_EQ(buffer.GetCapacity(), reference.m_Capacity) << "step " << step;
    }
}

TEST(c_ByteBuffer, GrowsByHalfInStepsOf512) {
    c_ByteBuffer buffer;
    std::vector<std::uint64_t> capacities;
    for (int i = 0; i < 20000; ++i) {
        ASSERT_TRUE(buffer.AppendByte(static_cast<std::uint8_t>(i)));
        if (capacities.empty() || capacities.back() != buffer.GetCapacity()) {
            capacities.push_back(buffer.GetCapacity());
        }
    }
    const std::vector<std::uint64_t> expected = {512, 1024, 2048, 3584, 5632, 8704, 13312, 20480};
    EXPECT_EQ(capacities, expected);
}

TEST(c_ByteBuffer, CapacityFollowsTheSizesOfOneBuffer) {
    struct s_Step {
        const char* m_Name;
        std::uint32_t m_Size;
        std::uint64_t m_Capacity;
    };
    const s_Step steps[] = {
        {"100 bytes", 100, 512},
        {"600 bytes", 600, 1024},
        {"1100 bytes", 1100, 2048},
        {"2100 bytes", 2100, 3584},
        {"shrinking keeps the block", 10, 3584},
    };
    c_ByteBuffer buffer;
    for (const s_Step& step : steps) {
        ASSERT_TRUE(buffer.SetSize(step.m_Size)) << step.m_Name;
        EXPECT_EQ(buffer.GetCapacity(), step.m_Capacity) << step.m_Name;
    }
}

TEST(c_ByteBuffer, FirstBlockSize) {
    const std::pair<std::uint32_t, std::uint64_t> cases[] = {{0, 512}, {510, 512}, {511, 1024}};
    for (const auto& [size, capacity] : cases) {
        c_ByteBuffer buffer;
        ASSERT_TRUE(buffer.SetSize(size));
        EXPECT_EQ(buffer.GetCapacity(), capacity) << "size " << size;
    }
}

TEST(c_ByteBuffer, NewBufferIsEmptyWithoutAllocating) {
    const std::uint64_t before = n_Memory::GetAllocationCount();
    c_ByteBuffer buffer;
    const c_ByteBuffer& readOnly = buffer;
    EXPECT_EQ(buffer.GetSize(), 0u);
    EXPECT_TRUE(buffer.GetView().IsEmpty());
    EXPECT_EQ(*readOnly.GetData(), 0);
    EXPECT_EQ(*buffer.GetData(), 0);
    EXPECT_EQ(buffer.GetSpan().m_Size, 0u);
    EXPECT_EQ(n_Memory::GetAllocationCount(), before);
}

TEST(c_ByteBuffer, ConsumeMovesTheReadOffsetAndRewindsWhenDrained) {
    c_ByteBuffer buffer;
    ASSERT_TRUE(buffer.Append(c_StringView("0123456789")));
    const std::uint8_t* start = buffer.GetData();
    buffer.Consume(4);
    EXPECT_EQ(buffer.GetSize(), 6u);
    EXPECT_EQ(buffer.GetData(), start + 4);
    EXPECT_EQ(buffer.GetData()[0], '4');
    buffer.Consume(100);
    EXPECT_EQ(buffer.GetSize(), 0u);
    EXPECT_EQ(buffer.GetData(), start);
    EXPECT_EQ(buffer.GetData()[0], 0);
}

TEST(c_ByteBuffer, AppendForms) {
    c_ByteBuffer other;
    ASSERT_TRUE(other.Append(c_StringView("xyz")));
    other.Consume(1);
    c_ByteBuffer buffer;
    EXPECT_TRUE(buffer.Append(nullptr, 0));
    EXPECT_EQ(buffer.GetCapacity(), 0u) << "an empty append allocates nothing";
    EXPECT_TRUE(buffer.Append(nullptr, 3));
    EXPECT_TRUE(buffer.Append(c_String("ab")));
    EXPECT_TRUE(buffer.Append(other));
    EXPECT_TRUE(buffer.Append(c_StringView("q").ToSpan()));
    EXPECT_TRUE(buffer.AppendByte('!'));
    buffer += c_String("s");
    buffer += other;
    EXPECT_EQ(Contents(buffer), std::string("\0\0\0abyzq!syz", 12));
}

TEST(c_ByteBuffer, AppendFromItsOwnDataSurvivesGrowth) {
    c_ByteBuffer buffer;
    ASSERT_TRUE(buffer.Append(c_StringView("--abcdefgh")));
    buffer.Consume(2);
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(buffer.Append(buffer));
    }
    ASSERT_EQ(buffer.GetSize(), 8u * 256u);
    std::string expected;
    for (int i = 0; i < 256; ++i) {
        expected += "abcdefgh";
    }
    EXPECT_EQ(Contents(buffer), expected);
    EXPECT_FALSE(buffer.Append(buffer.GetData() + buffer.GetSize() - 2, 4)) << "runs past the data";
    EXPECT_EQ(buffer.GetSize(), 8u * 256u);
}

TEST(c_ByteBuffer, ViewStopsAtFirstZeroByte) {
    c_ByteBuffer buffer;
    ASSERT_TRUE(buffer.Append("ab\0cd", 5));
    EXPECT_EQ(buffer.GetView(), "ab");
    EXPECT_EQ(buffer.GetSize(), 5u);
}

TEST(c_ByteBuffer, ClearKeepsOrReleasesTheBlock) {
    c_ByteBuffer buffer;
    ASSERT_TRUE(buffer.Append(c_StringView("abc")));
    buffer.Clear(false);
    EXPECT_EQ(buffer.GetSize(), 0u);
    EXPECT_EQ(buffer.GetCapacity(), 512u);
    EXPECT_EQ(buffer.GetData()[0], 0);
    buffer.Clear(true);
    EXPECT_EQ(buffer.GetCapacity(), 0u);
}

TEST(c_ByteBuffer, AssignCopiesUnreadBytesAndIgnoresItself) {
    c_ByteBuffer source;
    ASSERT_TRUE(source.Append(c_StringView("headbody")));
    source.Consume(4);
    c_ByteBuffer target;
    ASSERT_TRUE(target.Append(c_StringView("old content")));
    target.Assign(source);
    EXPECT_EQ(Contents(target), "body");
    target.Assign(target);
    EXPECT_EQ(Contents(target), "body");
}

TEST(c_ByteBuffer, MoveAndSwapKeepObservers) {
    c_ByteBuffer source;
    ASSERT_TRUE(source.Append(c_StringView("moved")));
    c_ByteBuffer moved(std::move(source));
    EXPECT_EQ(Contents(moved), "moved");
    EXPECT_EQ(source.GetCapacity(), 0u); // NOLINT(bugprone-use-after-move): moving leaves the source empty
    c_ByteBuffer assigned;
    ASSERT_TRUE(assigned.Append(c_StringView("old")));
    assigned = std::move(moved);
    EXPECT_EQ(Contents(assigned), "moved");
}

TEST(c_ByteBuffer, ReserveKeepsContent) {
    c_ByteBuffer empty;
    ASSERT_TRUE(empty.Reserve(1000));
    EXPECT_EQ(empty.GetSize(), 0u);
    EXPECT_EQ(empty.GetCapacity(), 1024u);
    c_ByteBuffer buffer;
    ASSERT_TRUE(buffer.Append(c_StringView("keep")));
    ASSERT_TRUE(buffer.Reserve(5000));
    EXPECT_EQ(Contents(buffer), "keep");
    EXPECT_GE(buffer.GetCapacity(), 5001u);
    EXPECT_TRUE(buffer.Reserve(2));
}

TEST(c_ByteBuffer, RefusesSizesAtTheLimit) {
    c_ByteBuffer buffer;
    ASSERT_TRUE(buffer.Append(c_StringView("0123456789")));
    EXPECT_FALSE(buffer.SetSize(0xFFFFFFFFu));
    EXPECT_FALSE(buffer.Reserve(0xFFFFFFFFu));
    static const char source[16] = {};
    EXPECT_FALSE(buffer.Append(source, 0xFFFFFFF5u)) << "the sum would reach 0xFFFFFFFF";
    EXPECT_FALSE(buffer.IncreaseSize(-11));
    EXPECT_TRUE(buffer.IncreaseSize(-10));
    EXPECT_EQ(buffer.GetSize(), 0u);
}

TEST(c_ByteBuffer, FailedGrowthLeavesContentUnchanged) {
    c_ByteBuffer buffer;
    ASSERT_TRUE(buffer.Append(c_StringView("abc")));
    const std::string big(600, 'x');
    n_Memory::FailNthAllocation(1);
    EXPECT_FALSE(buffer.Append(big.data(), static_cast<std::uint32_t>(big.size())));
    ASSERT_TRUE(buffer.AppendByte('x')) << "fits the block, no allocation";
    n_Memory::FailNthAllocation(1);
    EXPECT_FALSE(buffer.SetSize(5000));
    n_Memory::FailNthAllocation(1);
    EXPECT_FALSE(buffer.Reserve(5000));
    EXPECT_EQ(buffer.GetView(), "abcx");
    n_Memory::FailNthAllocation(1);
    c_ByteBuffer target;
    target.Assign(buffer);
    EXPECT_EQ(target.GetCapacity(), 0u);
    n_Memory::FailNthAllocation(0);
}

struct s_RecordingObserver : c_ByteBufferObserver {
    void OnDataMoved(c_ByteBuffer&, const std::uint8_t*, std::uint32_t oldSize, std::int64_t delta) override {
        m_Events.push_back("moved " + std::to_string(oldSize) + " " + std::to_string(delta));
    }
    void OnDataConsumed(c_ByteBuffer&, std::uint32_t count) override {
        m_Events.push_back("consumed " + std::to_string(count));
    }
    void OnCleared(c_ByteBuffer&) override { m_Events.push_back("cleared"); }
    std::vector<std::string> m_Events;
};

TEST(c_ByteBuffer, ObserverHearsMovesConsumptionAndClears) {
    s_RecordingObserver observer;
    c_ByteBuffer buffer(&observer);
    const std::string bytes(510, 'a');
    ASSERT_TRUE(buffer.Append(bytes.data(), 510));
    buffer.Consume(500);
    ASSERT_TRUE(buffer.Append(c_StringView("12345")));
    EXPECT_EQ(buffer.GetCapacity(), 512u) << "compacted, not reallocated";
    buffer.Consume(100);
    buffer.Clear(false);
    buffer.Clear(true);
    const std::vector<std::string> expected = {"consumed 500", "moved 10 -500", "consumed 15", "cleared", "cleared"};
    // The first Append moves from the per-thread stand-in into the new block.
    ASSERT_EQ(observer.m_Events.size(), expected.size() + 1);
    EXPECT_EQ(observer.m_Events[0].rfind("moved 0 ", 0), 0u);
    EXPECT_EQ(std::vector<std::string>(observer.m_Events.begin() + 1, observer.m_Events.end()), expected);
}

TEST(c_ByteBuffer, SetSizeToExactlyTheRoomLeftKeepsTheDataInPlace) {
    s_RecordingObserver observer;
    c_ByteBuffer buffer(&observer);
    ASSERT_TRUE(buffer.Append(c_StringView("0123456789abcdef")));
    buffer.Consume(10);
    const std::uint8_t* data = buffer.GetData();
    const std::uint64_t capacity = buffer.GetCapacity();
    observer.m_Events.clear();
    // The read offset, the size and the 0 byte after it fill the block exactly.
    ASSERT_TRUE(buffer.SetSize(static_cast<std::uint32_t>(capacity - 10 - 1)));
    EXPECT_EQ(buffer.GetData(), data);
    EXPECT_EQ(buffer.GetCapacity(), capacity);
    EXPECT_EQ(std::memcmp(buffer.GetData(), "abcdef", 6), 0);
    EXPECT_EQ(buffer.GetData()[buffer.GetSize()], 0);
    EXPECT_TRUE(observer.m_Events.empty()) << observer.m_Events.front();
    // One byte more needs the consumed room back: the data moves, and the observer hears of it.
    ASSERT_TRUE(buffer.SetSize(static_cast<std::uint32_t>(capacity - 10)));
    EXPECT_EQ(std::memcmp(buffer.GetData(), "abcdef", 6), 0);
    ASSERT_EQ(observer.m_Events.size(), 1u);
    EXPECT_EQ(observer.m_Events[0].rfind("moved ", 0), 0u);
}

} // namespace
