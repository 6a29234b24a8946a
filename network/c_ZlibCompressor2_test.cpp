// Tests of c_ZlibCompressor2: whole streams to the target, the buffer's flush boundaries, levels,
// new streams after a finish and the texts of failures.

#include "network/c_ZlibCompressor2.h"

#include "network/testing/CompressionTestData.h"
#include "network/testing/c_MemoryStreams.h"
#include "strings/testing/c_FailingAllocation.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace n_CompressionTestData;

s_ByteSpan Span(const std::string& bytes) {
    return s_ByteSpan::FromPointer(bytes.data(), bytes.size());
}

std::string Inflated(const std::vector<std::uint8_t>& stream) {
    const s_ReferenceInflate reference = ReferenceInflate(stream.data(), stream.size(), ZLIB_WINDOW_BITS, 1u << 30);
    EXPECT_EQ(reference.m_Result, Z_STREAM_END);
    EXPECT_EQ(reference.m_Consumed, stream.size());
    return reference.m_Output;
}

TEST(c_ZlibCompressor2, DestructionFinishesTheStream) {
    const struct {
        const char* m_Name;
        std::vector<std::string> m_Writes;
        bool m_WritesAnything;
    } cases[] = {
        {"ten bytes", {"0123456789"}, true},
        {"no write", {}, false},
        {"an empty write", {""}, false},
        {"many small writes", std::vector<std::string>(1000, "abc "), true},
    };
    for (const auto& test : cases) {
        c_RecordingWriter target;
        std::string written;
        {
            c_ZlibCompressor2 compressor(&target);
            for (const std::string& piece : test.m_Writes) {
                compressor.Write(Span(piece));
                written += piece;
            }
            EXPECT_EQ(target.GetWriteCount(), 0) << test.m_Name;
        }
        EXPECT_EQ(!target.GetBytes().empty(), test.m_WritesAnything) << test.m_Name;
        if (test.m_WritesAnything) {
            EXPECT_EQ(Inflated(target.GetBytes()), written) << test.m_Name;
        }
    }
}

TEST(c_ZlibCompressor2, FlushBoundaries) {
    const std::string data = RandomBytes(600000, 21);
    const struct {
        const char* m_Name;
        std::vector<std::size_t> m_Writes;
        // Bytes still buffered after each write, and whether the target got bytes by then.
        std::vector<std::uint32_t> m_Buffered;
        std::vector<bool> m_Delivered;
    } cases[] = {
        {"300,000 bytes in one write go to deflate directly", {300000}, {0}, {true}},
        {"two writes of 200,000 flush the first before buffering the second",
         {200000, 200000},
         {200000, 200000},
         {false, true}},
        {"exactly the buffer stays buffered", {262144}, {262144}, {false}},
        {"a byte more than the buffer with something buffered", {1, 262144}, {1, 262144}, {false, true}},
        {"a small write after a large one", {300000, 10}, {0, 10}, {true, true}},
    };
    for (const auto& test : cases) {
        c_RecordingWriter target;
        std::string written;
        {
            c_ZlibCompressor2 compressor(&target);
            std::size_t at = 0;
            for (std::size_t i = 0; i < test.m_Writes.size(); ++i) {
                const std::string piece = data.substr(at, test.m_Writes[i]);
                at += piece.size();
                written += piece;
                compressor.Write(Span(piece));
                EXPECT_EQ(compressor.GetBufferedSize(), test.m_Buffered[i]) << test.m_Name << ", write " << i;
                EXPECT_EQ(!target.GetBytes().empty(), test.m_Delivered[i]) << test.m_Name << ", write " << i;
            }
        }
        EXPECT_EQ(Inflated(target.GetBytes()), written) << test.m_Name;
    }
}

TEST(c_ZlibCompressor2, CompressionLevelIsClamped) {
    const struct {
        int m_Asked;
        int m_Set;
    } rows[] = {{-3, 0}, {-1, 0}, {0, 0}, {5, 5}, {9, 9}, {12, 9}};
    for (const auto& row : rows) {
        c_RecordingWriter target;
        c_ZlibCompressor2 compressor(&target);
        EXPECT_EQ(compressor.SetCompressionLevel(row.m_Asked), row.m_Set) << row.m_Asked;
    }
}

TEST(c_ZlibCompressor2, LevelZeroStoresAndLevelNineShrinks) {
    const std::string data = MixedData(100000, 22);
    std::size_t sizes[2] = {};
    for (const int level : {0, 9}) {
        c_RecordingWriter target;
        {
            c_ZlibCompressor2 compressor(&target);
            compressor.SetCompressionLevel(level);
            compressor.Write(Span(data));
        }
        EXPECT_EQ(Inflated(target.GetBytes()), data) << level;
        sizes[level == 9] = target.GetBytes().size();
    }
    EXPECT_GT(sizes[0], data.size());
    EXPECT_LT(sizes[1] * 2, data.size());
}

TEST(c_ZlibCompressor2, AWriteAfterFinishStartsANewStream) {
    c_RecordingWriter target;
    c_ZlibCompressor2 compressor(&target);
    compressor.Write(Span("first"));
    compressor.Finish();
    const std::size_t firstSize = target.GetBytes().size();
    compressor.Write(Span("second"));
    compressor.Finish();
    compressor.Finish();
    const std::vector<std::uint8_t>& bytes = target.GetBytes();
    EXPECT_EQ(Inflated(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + long(firstSize))), "first");
    EXPECT_EQ(Inflated(std::vector<std::uint8_t>(bytes.begin() + long(firstSize), bytes.end())), "second");
    EXPECT_FALSE(compressor.HasError());
}

TEST(c_ZlibCompressor2, FailuresAreFinal) {
    const struct {
        const char* m_Name;
        std::size_t m_Size;
        const char* m_Text;
    } cases[] = {
        {"input buffer", 10, "Failed to expand the input buffer.  Out of memory."},
        {"output window", 300000, "Failed to allocate memory for the output buffer."},
    };
    const std::string data = RandomBytes(300000, 23);
    for (const auto& test : cases) {
        c_RecordingWriter target;
        {
            c_ZlibCompressor2 compressor(&target);
            {
                c_FailingAllocation failing;
                compressor.Write(Span(data.substr(0, test.m_Size)));
            }
            EXPECT_TRUE(compressor.HasError()) << test.m_Name;
            EXPECT_EQ(ToStd(compressor.GetErrorText()), test.m_Text) << test.m_Name;
            compressor.Write(Span("more"));
            EXPECT_EQ(compressor.GetBufferedSize(), 0u) << test.m_Name;
        }
        EXPECT_TRUE(target.GetBytes().empty()) << test.m_Name;
    }
}

} // namespace
