// Tests of the decoding of compressed socket blocks: whole, split at every point, and malformed.

#include "network/CompressedBlocks.h"

#include "network/testing/CompressionTestData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Header(std::uint32_t total, std::uint32_t uncompressed) {
    std::string header(COMPRESSED_BLOCK_HEADER_SIZE, '\0');
    for (int byte = 0; byte < 4; ++byte) {
        header[static_cast<std::size_t>(byte)] = static_cast<char>(total >> (8 * byte));
        header[static_cast<std::size_t>(byte) + 4] = static_cast<char>(uncompressed >> (8 * byte));
    }
    return header;
}

// Blocks as the compression thread makes them, one per piece, in the given mode.
std::string MakeBlocks(const std::vector<std::string>& pieces, std::int32_t mode) {
    c_LZ4StreamCompressor stream;
    std::string blocks;
    for (const std::string& piece : pieces) {
        const int size = static_cast<int>(piece.size());
        std::vector<std::uint8_t> output(static_cast<std::size_t>(c_LZ4StreamCompressor::GetStreamCompressBound(size)));
        const auto* source = reinterpret_cast<const std::uint8_t*>(piece.data());
        const int compressed = mode == RECEIVE_DECOMPRESSION_STREAM
                                   ? stream.Compress(source, size, output.data(), static_cast<int>(output.size()))
                                   : LZ4CompressFast(source, size, output.data(), static_cast<int>(output.size()), 1);
        blocks += Header(static_cast<std::uint32_t>(compressed) + COMPRESSED_BLOCK_HEADER_SIZE,
                         static_cast<std::uint32_t>(size));
        blocks.append(reinterpret_cast<const char*>(output.data()), static_cast<std::size_t>(compressed));
    }
    return blocks;
}

struct s_Decoding {
    bool m_Ok = true;
    std::string m_Output;
    std::size_t m_Left = 0;
};

// Feeds the bytes in slices of the given size (0: all at once).
s_Decoding Decode(const std::string& bytes, std::int32_t mode, std::size_t slice) {
    c_LZ4StreamDecompressor decompressor;
    c_ByteBuffer compressed;
    c_ByteBuffer output;
    s_Decoding result;
    const std::size_t step = slice == 0 ? bytes.size() : slice;
    for (std::size_t at = 0; at < bytes.size() && result.m_Ok; at += step) {
        compressed.Append(bytes.data() + at, static_cast<std::uint32_t>(std::min(step, bytes.size() - at)));
        result.m_Ok = DecodeCompressedBlocks(compressed, output, mode, decompressor);
    }
    result.m_Output.assign(reinterpret_cast<const char*>(output.GetData()), output.GetSize());
    result.m_Left = compressed.GetSize();
    return result;
}

class CompressedBlocks : public testing::TestWithParam<std::int32_t> {};

TEST_P(CompressedBlocks, DecodeAtEverySplitPoint) {
    const std::vector<std::string> pieces = {n_CompressionTestData::MixedData(5000, 1), "x",
                                             n_CompressionTestData::RandomBytes(3000, 2),
                                             n_CompressionTestData::MixedData(70000, 3)};
    const std::string blocks = MakeBlocks(pieces, GetParam());
    const std::string expected = pieces[0] + pieces[1] + pieces[2] + pieces[3];
    for (std::size_t slice : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
        const s_Decoding decoding = Decode(blocks, GetParam(), slice);
        EXPECT_TRUE(decoding.m_Ok) << "slice " << slice;
        EXPECT_TRUE(decoding.m_Output == expected) << "slice " << slice;
        EXPECT_EQ(decoding.m_Left, 0U) << "slice " << slice;
    }
}

TEST_P(CompressedBlocks, AnIncompleteBlockWaits) {
    const std::string block = MakeBlocks({n_CompressionTestData::MixedData(2000, 4)}, GetParam());
    const s_Decoding decoding = Decode(block.substr(0, block.size() - 1), GetParam(), 0);
    EXPECT_TRUE(decoding.m_Ok);
    EXPECT_TRUE(decoding.m_Output.empty());
    EXPECT_EQ(decoding.m_Left, block.size() - 1);
}

// A block that does not decode to exactly what its header says is an error, never skipped.
TEST_P(CompressedBlocks, MalformedBlocksAreErrors) {
    const std::string good = MakeBlocks({n_CompressionTestData::MixedData(2000, 5)}, GetParam());
    const std::string data = good.substr(COMPRESSED_BLOCK_HEADER_SIZE);
    const auto total = static_cast<std::uint32_t>(good.size());
    // Lengths that run past the data: neither form can decode them.
    const std::string corrupt = Header(total, 2000) + std::string(data.size(), '\xFF');
    const struct {
        const char* m_Name;
        std::string m_Bytes;
    } rows[] = {
        {"TotalBelowTheHeader", Header(7, 0) + "x"},
        {"UncompressedLengthTooShort", Header(total, 1999) + data},
        {"UncompressedLengthTooLong", Header(total, 2001) + data},
        {"UncompressedLengthBeyondWhatLZ4CanMake", Header(total, 0x7FFFFFF0) + data},
        {"CorruptData", corrupt},
    };
    for (const auto& row : rows) {
        const s_Decoding decoding = Decode(good + row.m_Bytes, GetParam(), 0);
        EXPECT_FALSE(decoding.m_Ok) << row.m_Name;
        EXPECT_EQ(decoding.m_Output.size(), 2000U) << row.m_Name << ": the good block before it stays decoded";
        EXPECT_EQ(decoding.m_Left, row.m_Bytes.size()) << row.m_Name;
    }
}

TEST(CompressedBlocksMode, AnUnknownModeDecodesNothing) {
    const std::string block = MakeBlocks({"text"}, RECEIVE_DECOMPRESSION_BLOCKS);
    EXPECT_FALSE(Decode(block, 3, 0).m_Ok);
}

INSTANTIATE_TEST_SUITE_P(Modes, CompressedBlocks,
                         testing::Values(RECEIVE_DECOMPRESSION_BLOCKS, RECEIVE_DECOMPRESSION_STREAM),
                         [](const testing::TestParamInfo<std::int32_t>& info) {
                             return info.param == RECEIVE_DECOMPRESSION_STREAM ? "Stream" : "Blocks";
                         });

} // namespace
