// Tests of the LZ4 stream wrappers: framing, history across calls, the rings, empty and truncated
// blocks, the bounds, incompressible input, the high-compression and block forms, the one-shot calls.
// Compressed bytes are never pinned: the library's tables may differ by build, so tests round-trip.

#include "network/LZ4Streams.h"

#include "network/testing/CompressionTestData.h"
#include "strings/testing/c_FailingAllocation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using n_CompressionTestData::MixedData;
using n_CompressionTestData::RandomBytes;
using t_Bytes = std::vector<std::uint8_t>;

t_Bytes ToBytes(const std::string& text) {
    return t_Bytes(text.begin(), text.end());
}

// Compresses the data in calls of the given sizes (round and round) and returns each call's output.
std::vector<t_Bytes> CompressInCalls(c_LZ4StreamCompressor& compressor, const t_Bytes& data,
                                     const std::vector<int>& calls) {
    std::vector<t_Bytes> outputs;
    std::size_t at = 0;
    for (std::size_t call = 0; at < data.size(); ++call) {
        const int length = std::min<int>(calls[call % calls.size()], int(data.size() - at));
        t_Bytes output(std::size_t(c_LZ4StreamCompressor::GetStreamCompressBound(length)));
        const int written = compressor.Compress(data.data() + at, length, output.data(), int(output.size()));
        EXPECT_GT(written, 0);
        output.resize(std::size_t(std::max(written, 0)));
        outputs.push_back(output);
        at += std::size_t(length);
    }
    return outputs;
}

t_Bytes DecompressAll(c_LZ4StreamDecompressor& decompressor, const std::vector<t_Bytes>& outputs) {
    t_Bytes data;
    for (const t_Bytes& output : outputs) {
        t_Bytes piece(output.size() * 300 + 1024);
        int consumed = -1;
        const int written =
            decompressor.Decompress(output.data(), int(output.size()), piece.data(), int(piece.size()), &consumed);
        EXPECT_EQ(consumed, int(output.size()));
        data.insert(data.end(), piece.begin(), piece.begin() + std::max(written, 0));
    }
    return data;
}

// The uncompressed sizes of the blocks are not in the framing; the compressed lengths are.
std::vector<int> BlockLengths(const t_Bytes& framed) {
    std::vector<int> lengths;
    for (std::size_t at = 0; at + 2 <= framed.size();) {
        const int length = framed[at] | framed[at + 1] << 8;
        lengths.push_back(length);
        at += 2 + std::size_t(length);
    }
    return lengths;
}

// LZ4's streaming decoder over one flat buffer of the whole output: decodes the blocks of any of our
// compressors, whatever their ring.
t_Bytes DecodeFlat(const t_Bytes& framed, std::size_t size, int blockLimit) {
    t_Bytes data(size + std::size_t(blockLimit));
    LZ4_streamDecode_t state;
    LZ4_setStreamDecode(&state, nullptr, 0);
    std::size_t out = 0;
    for (std::size_t at = 0; at + 2 <= framed.size();) {
        const int length = framed[at] | framed[at + 1] << 8;
        const int c = LZ4_decompress_safe_continue(&state, reinterpret_cast<const char*>(framed.data() + at + 2),
                                                   reinterpret_cast<char*>(data.data() + out), length, blockLimit);
        if (c < 0) {
            ADD_FAILURE() << "block at " << at << " does not decode";
            break;
        }
        out += std::size_t(c);
        at += 2 + std::size_t(length);
    }
    data.resize(out);
    return data;
}

TEST(LZ4Streams, StreamRoundTripsAcrossManyCalls) {
    const struct {
        const char* m_Name;
        t_Bytes m_Data;
        std::vector<int> m_Calls;
    } cases[] = {
        {"3000 bytes in one call", ToBytes(MixedData(3000, 1)), {3000}},
        {"one byte per call", ToBytes(MixedData(5000, 2)), {1}},
        {"uneven calls past the ring", ToBytes(MixedData(400000, 3)), {1, 1000, 1023, 1025, 5000, 70000}},
        {"one large call", ToBytes(MixedData(1000000, 4)), {1000000}},
        {"random bytes", ToBytes(RandomBytes(200000, 5)), {777, 65536}},
        {"the same chunk again and again", t_Bytes(300000, 'x'), {1024}},
    };
    for (const auto& test : cases) {
        c_LZ4StreamCompressor compressor;
        c_LZ4StreamDecompressor decompressor;
        const std::vector<t_Bytes> outputs = CompressInCalls(compressor, test.m_Data, test.m_Calls);
        EXPECT_EQ(DecompressAll(decompressor, outputs), test.m_Data) << test.m_Name;
        EXPECT_EQ(decompressor.GetRingPosition(), compressor.GetRingPosition()) << test.m_Name;
        EXPECT_FALSE(decompressor.HasFailed()) << test.m_Name;
    }
}

TEST(LZ4Streams, ChunksOf1024MakeTheBlocks) {
    c_LZ4StreamCompressor compressor;
    const t_Bytes data = ToBytes(RandomBytes(3000, 9));
    const std::vector<t_Bytes> outputs = CompressInCalls(compressor, data, {3000});
    ASSERT_EQ(outputs.size(), 1u);
    const std::vector<int> lengths = BlockLengths(outputs[0]);
    ASSERT_EQ(lengths.size(), 3u);
    // Random bytes do not compress: each block is its chunk and a little more.
    EXPECT_GE(lengths[0], 1024);
    EXPECT_GE(lengths[1], 1024);
    EXPECT_GE(lengths[2], 952);
    EXPECT_LT(lengths[2], 1024);
    EXPECT_EQ(compressor.GetRingPosition(), 3000u);
}

TEST(LZ4Streams, HistoryCarriesOverToTheNextCall) {
    const t_Bytes data = ToBytes(RandomBytes(4000, 11));
    c_LZ4StreamCompressor compressor;
    const std::vector<t_Bytes> first = CompressInCalls(compressor, data, {4000});
    const std::vector<t_Bytes> second = CompressInCalls(compressor, data, {4000});
    EXPECT_LT(second[0].size() * 10, first[0].size());

    c_LZ4StreamDecompressor inOrder;
    EXPECT_EQ(DecompressAll(inOrder, first), data);
    EXPECT_EQ(DecompressAll(inOrder, second), data);

    // Without the first call's blocks the second's refer to bytes the decoder never saw.
    c_LZ4StreamDecompressor fresh;
    t_Bytes output(8000);
    const int written = fresh.Decompress(second[0].data(), int(second[0].size()), output.data(), int(output.size()));
    output.resize(std::size_t(written));
    EXPECT_NE(output, data);
}

TEST(LZ4Streams, RingsWrapByTheirRules) {
    const t_Bytes data = ToBytes(MixedData(1024 * 66, 12));
    c_LZ4StreamCompressor fast;
    c_LZ4StreamDecompressor decompressor;
    c_LZ4HCStreamCompressor high(1024, 65536);
    t_Bytes fastOutput(2000);
    t_Bytes highOutput(2000);
    t_Bytes decoded(1024);
    const struct {
        int m_Chunks;
        std::uint64_t m_Fast;
        std::uint64_t m_High;
    } rows[] = {
        // After 63 chunks the high-compression ring wraps before the next one, the fast ring after it.
        {63, 64512, 64512},
        {64, 65536, 1024},
        {65, 1024, 2048},
        {66, 2048, 3072},
    };
    int done = 0;
    for (const auto& row : rows) {
        for (; done < row.m_Chunks; ++done) {
            const std::uint8_t* chunk = data.data() + std::size_t(done) * 1024;
            const int written = fast.Compress(chunk, 1024, fastOutput.data(), int(fastOutput.size()));
            ASSERT_GT(written, 0);
            ASSERT_EQ(decompressor.Decompress(fastOutput.data(), written, decoded.data(), 1024), 1024);
            ASSERT_EQ(t_Bytes(chunk, chunk + 1024), decoded) << "chunk " << done;
            int consumed = 0;
            ASSERT_GT(high.Compress(chunk, 1024, highOutput.data(), int(highOutput.size()), &consumed), 0);
            ASSERT_EQ(consumed, 1024);
        }
        EXPECT_EQ(fast.GetRingPosition(), row.m_Fast) << row.m_Chunks << " chunks";
        EXPECT_EQ(decompressor.GetRingPosition(), row.m_Fast) << row.m_Chunks << " chunks";
        EXPECT_EQ(high.GetRingPosition(), row.m_High) << row.m_Chunks << " chunks";
    }
}

TEST(LZ4Streams, EmptyBlocksAreSkipped) {
    const t_Bytes data = ToBytes(MixedData(2500, 13));
    c_LZ4StreamCompressor compressor;
    const t_Bytes framed = CompressInCalls(compressor, data, {2500})[0];
    const std::vector<int> lengths = BlockLengths(framed);
    ASSERT_EQ(lengths.size(), 3u);
    // 00 00 at the start, between the first two blocks and at the end.
    t_Bytes padded = {0, 0};
    const std::size_t firstEnd = 2 + std::size_t(lengths[0]);
    padded.insert(padded.end(), framed.begin(), framed.begin() + long(firstEnd));
    padded.insert(padded.end(), {0, 0, 0, 0});
    padded.insert(padded.end(), framed.begin() + long(firstEnd), framed.end());
    padded.insert(padded.end(), {0, 0});
    c_LZ4StreamDecompressor decompressor;
    t_Bytes output(4000);
    int consumed = -1;
    const int written =
        decompressor.Decompress(padded.data(), int(padded.size()), output.data(), int(output.size()), &consumed);
    output.resize(std::size_t(written));
    EXPECT_EQ(output, data);
    EXPECT_EQ(consumed, int(padded.size()));
}

TEST(LZ4Streams, TruncatedInputStopsAtTheLastWholeBlock) {
    const t_Bytes data = ToBytes(MixedData(3000, 14));
    c_LZ4StreamCompressor compressor;
    const t_Bytes framed = CompressInCalls(compressor, data, {3000})[0];
    const std::vector<int> lengths = BlockLengths(framed);
    const int first = 2 + lengths[0];
    const int two = first + 2 + lengths[1];
    const struct {
        const char* m_Name;
        int m_Length;
        int m_Written;
        int m_Consumed;
    } cases[] = {
        {"nothing", 0, 0, 0},
        {"one byte of a length field", 1, 0, 0},
        {"a length field alone", 2, 0, 0},
        {"one block and a byte", first + 1, 1024, first},
        {"one block and a length field", first + 2, 1024, first},
        {"two blocks less a byte", two - 1, 1024, first},
        {"all but the last byte", int(framed.size()) - 1, 2048, two},
        {"all", int(framed.size()), 3000, int(framed.size())},
    };
    for (const auto& test : cases) {
        c_LZ4StreamDecompressor decompressor;
        t_Bytes output(4000);
        int consumed = -1;
        const int written = decompressor.Decompress(framed.data(), test.m_Length, output.data(), 4000, &consumed);
        EXPECT_EQ(written, test.m_Written) << test.m_Name;
        EXPECT_EQ(consumed, test.m_Consumed) << test.m_Name;
        EXPECT_TRUE(std::equal(output.begin(), output.begin() + written, data.begin())) << test.m_Name;
        // The rest, given later, goes on where the first call stopped.
        const int more = decompressor.Decompress(framed.data() + consumed, int(framed.size()) - consumed,
                                                 output.data() + written, 4000 - written);
        EXPECT_EQ(written + more, 3000) << test.m_Name;
        EXPECT_TRUE(std::equal(data.begin(), data.end(), output.begin())) << test.m_Name;
    }
}

TEST(LZ4Streams, ASmallDestinationGetsTheRestOfABlockNextTime) {
    const t_Bytes data = ToBytes(MixedData(50000, 15));
    c_LZ4StreamCompressor compressor;
    const t_Bytes framed = CompressInCalls(compressor, data, {50000})[0];
    for (const int capacity : {1, 100, 1023, 1025, 3000}) {
        c_LZ4StreamDecompressor decompressor;
        t_Bytes output;
        std::size_t at = 0;
        for (int calls = 0; output.size() < data.size() && calls < 200000; ++calls) {
            t_Bytes piece(std::size_t(capacity), 0);
            int consumed = 0;
            const int written =
                decompressor.Decompress(framed.data() + at, int(framed.size() - at), piece.data(), capacity, &consumed);
            ASSERT_LE(written, capacity);
            output.insert(output.end(), piece.begin(), piece.begin() + written);
            at += std::size_t(consumed);
        }
        EXPECT_EQ(output, data) << "capacity " << capacity;
        EXPECT_EQ(at, framed.size()) << "capacity " << capacity;
        EXPECT_EQ(decompressor.GetPendingSize(), 0) << "capacity " << capacity;
    }
}

TEST(LZ4Streams, ABlockThatDoesNotDecodeEndsTheStream) {
    const t_Bytes data = ToBytes(MixedData(3000, 16));
    c_LZ4StreamCompressor compressor;
    t_Bytes framed = CompressInCalls(compressor, data, {3000})[0];
    const int first = 2 + BlockLengths(framed)[0];
    // A match offset of 0 is invalid: token 0x0f (no literals, a match), offset 00 00.
    const t_Bytes bad = {3, 0, 0x0f, 0, 0};
    framed.insert(framed.begin() + first, bad.begin(), bad.end());
    c_LZ4StreamDecompressor decompressor;
    t_Bytes output(4000);
    int consumed = -1;
    EXPECT_EQ(decompressor.Decompress(framed.data(), int(framed.size()), output.data(), 4000, &consumed), 1024);
    EXPECT_EQ(consumed, first);
    EXPECT_TRUE(decompressor.HasFailed());
    EXPECT_EQ(decompressor.Decompress(framed.data() + first + 5, int(framed.size()) - first - 5, output.data(), 4000),
              0);
}

TEST(LZ4Streams, Bounds) {
    const struct {
        int m_Input;
        int m_Block;
        int m_Stream;
    } rows[] = {
        {0, 16, 0},
        {255, 272, 2 + 272},
        {1024, 1044, 1046},
        {3000, 3000 + 11 + 16, 2 * 1046 + 2 + 952 + 3 + 16},
        {0x7E000000, 0x7E000000 + 0x7E000000 / 255 + 16, 0},
        {0x7E000001, 0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LZ4CompressBound(row.m_Input), row.m_Block) << row.m_Input;
        EXPECT_EQ(c_LZ4StreamCompressor::GetStreamCompressBound(row.m_Input), row.m_Stream) << row.m_Input;
    }
}

// The framing adds two bytes and a worst case per 1024-byte chunk, so a destination sized for one
// plain block is too small for incompressible input. The compressor refuses it whole instead of
// writing a short stream and dropping the rest.
TEST(LZ4Streams, IncompressibleInputIsNeverDropped) {
    const t_Bytes data = ToBytes(RandomBytes(100000, 17));
    const struct {
        const char* m_Name;
        int m_Capacity;
    } cases[] = {
        {"plain block bound", LZ4CompressBound(100000)},
        {"one byte short", c_LZ4StreamCompressor::GetStreamCompressBound(100000) - 1},
        {"two bytes", 2},
        {"none", 0},
    };
    for (const auto& test : cases) {
        c_LZ4StreamCompressor compressor;
        t_Bytes output(std::size_t(std::max(test.m_Capacity, 1)), 0xee);
        EXPECT_EQ(compressor.Compress(data.data(), int(data.size()), output.data(), test.m_Capacity), LZ4_STREAM_FAILED)
            << test.m_Name;
        EXPECT_EQ(output, t_Bytes(output.size(), 0xee)) << test.m_Name;
        EXPECT_FALSE(compressor.HasFailed()) << test.m_Name;
        EXPECT_EQ(compressor.GetRingPosition(), 0u) << test.m_Name;
        // The same compressor then takes the data whole.
        c_LZ4StreamDecompressor decompressor;
        EXPECT_EQ(DecompressAll(decompressor, CompressInCalls(compressor, data, {100000})), data) << test.m_Name;
    }
}

TEST(LZ4Streams, NullPointersAndEmptyInput) {
    c_LZ4StreamCompressor compressor;
    std::uint8_t byte = 'a';
    std::uint8_t output[64];
    EXPECT_EQ(compressor.Compress(&byte, 0, output, 64), 0);
    EXPECT_EQ(compressor.Compress(nullptr, 1, output, 64), LZ4_STREAM_FAILED);
    EXPECT_EQ(compressor.Compress(&byte, 1, nullptr, 64), LZ4_STREAM_FAILED);
    c_LZ4StreamDecompressor decompressor;
    EXPECT_EQ(decompressor.Decompress(nullptr, 4, output, 64), 0);
    EXPECT_EQ(decompressor.Decompress(output, 4, nullptr, 64), 0);
}

TEST(LZ4Streams, ReadUInt16AndSkipBytes) {
    const std::uint8_t bytes[] = {0x34, 0x12, 0xff};
    const std::uint8_t* cursor = bytes;
    int remaining = 3;
    EXPECT_EQ(c_LZ4StreamDecompressor::ReadUInt16(&cursor, &remaining), 0x1234);
    EXPECT_EQ(remaining, 1);
    EXPECT_EQ(c_LZ4StreamDecompressor::ReadUInt16(&cursor, &remaining), 0);
    EXPECT_EQ(cursor, bytes + 2);
    EXPECT_FALSE(c_LZ4StreamDecompressor::SkipBytes(&cursor, &remaining, 2));
    EXPECT_TRUE(c_LZ4StreamDecompressor::SkipBytes(&cursor, &remaining, 1));
    EXPECT_EQ(remaining, 0);
    EXPECT_EQ(cursor, bytes + 3);
}

TEST(LZ4Streams, StateThatCannotBeAllocatedIsNeverUsed) {
    c_FailingAllocation failing;
    c_LZ4StreamCompressor compressor;
    std::uint8_t byte = 'a';
    std::uint8_t output[64];
    EXPECT_EQ(compressor.Compress(&byte, 1, output, 64), LZ4_STREAM_FAILED);
}

TEST(LZ4Streams, HighCompressionRoundTripsInSlices) {
    const t_Bytes data = ToBytes(MixedData(300000, 18));
    const struct {
        const char* m_Name;
        int m_Chunk;
        int m_Ring;
        int m_Capacity;
    } cases[] = {
        {"1024-byte chunks, 64 KiB ring", 1024, 65536, 5000},
        {"largest chunk", 100000, 200000, 70000},
        {"ring of one chunk", 4096, 4096, 4200},
        {"small destination", 1024, 65536, 1100},
    };
    for (const auto& test : cases) {
        c_LZ4HCStreamCompressor compressor(test.m_Chunk, test.m_Ring);
        ASSERT_TRUE(compressor.IsUsable()) << test.m_Name;
        t_Bytes framed;
        std::size_t at = 0;
        while (at < data.size()) {
            t_Bytes output(std::size_t(test.m_Capacity));
            int consumed = 0;
            const int length = int(std::min<std::size_t>(9000, data.size() - at));
            const int written =
                compressor.Compress(data.data() + at, length, output.data(), test.m_Capacity, &consumed);
            ASSERT_GE(written, 0) << test.m_Name;
            ASSERT_GT(consumed, 0) << test.m_Name;
            framed.insert(framed.end(), output.begin(), output.begin() + written);
            at += std::size_t(consumed);
        }
        EXPECT_EQ(DecodeFlat(framed, data.size(), c_LZ4HCStreamCompressor::MAX_CHUNK_SIZE), data) << test.m_Name;
    }
}

TEST(LZ4Streams, HighCompressionRefusesARingSmallerThanItsChunk) {
    const struct {
        const char* m_Name;
        int m_Chunk;
        int m_Ring;
    } cases[] = {{"ring below chunk", 1024, 1023}, {"no chunk", 0, 65536}, {"no ring", 1024, 0}};
    for (const auto& test : cases) {
        c_LZ4HCStreamCompressor compressor(test.m_Chunk, test.m_Ring);
        EXPECT_FALSE(compressor.IsUsable()) << test.m_Name;
        std::uint8_t input[2000] = {};
        std::uint8_t output[4000];
        int consumed = -1;
        EXPECT_EQ(compressor.Compress(input, 2000, output, 4000, &consumed), LZ4_STREAM_FAILED) << test.m_Name;
        EXPECT_EQ(consumed, 0) << test.m_Name;
    }
}

TEST(LZ4Streams, BlockCompressorStartsAfreshEachCall) {
    const std::string text = MixedData(150000, 19);
    c_ByteBuffer source;
    source.Append(text.data(), std::uint32_t(text.size()));
    c_LZ4BlockCompressor compressor(64000);
    for (int call = 0; call < 2; ++call) {
        t_Bytes output(200000);
        int consumed = -1;
        const int written = compressor.Compress(source, output.data(), int(output.size()), &consumed, 1);
        ASSERT_GT(written, 0);
        EXPECT_EQ(consumed, 150000);
        EXPECT_EQ(BlockLengths(t_Bytes(output.begin(), output.begin() + written)).size(), 3u);
        output.resize(std::size_t(written));
        EXPECT_EQ(DecodeFlat(output, text.size(), 64000), ToBytes(text)) << "call " << call;
    }
    // A destination for about one block takes one chunk and says so.
    t_Bytes small(40000);
    int consumed = -1;
    const int written = compressor.Compress(source, small.data(), int(small.size()), &consumed, 1);
    EXPECT_EQ(consumed, 64000);
    small.resize(std::size_t(written));
    EXPECT_EQ(DecodeFlat(small, 64000, 64000), ToBytes(text.substr(0, 64000)));
}

TEST(LZ4Streams, OneShotCallsRoundTrip) {
    const std::string text = MixedData(100000, 20);
    c_ByteBuffer source;
    source.Append(text.data(), std::uint32_t(text.size()));
    c_ByteBuffer compressed;
    const int size = CompressLZ4(source, compressed, 1);
    ASSERT_GT(size, 0);
    EXPECT_EQ(compressed.GetSize(), std::uint32_t(size));
    t_Bytes output(text.size());
    EXPECT_EQ(LZ4DecompressSafe(compressed.GetData(), size, output.data(), int(output.size())), int(text.size()));
    EXPECT_EQ(output, ToBytes(text));

    t_Bytes vectorOutput;
    const int vectorSize = CompressLZ4(ToBytes(text), vectorOutput, 1);
    EXPECT_EQ(vectorSize, int(vectorOutput.size()));
    t_Bytes fast(std::size_t(LZ4CompressBound(int(text.size()))));
    const int fastSize = LZ4CompressFast(reinterpret_cast<const std::uint8_t*>(text.data()), int(text.size()),
                                         fast.data(), int(fast.size()), 1);
    EXPECT_EQ(t_Bytes(fast.begin(), fast.begin() + fastSize), vectorOutput);
}

} // namespace
