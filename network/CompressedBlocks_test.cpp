// Tests of the decoding of compressed socket blocks: whole, split at every point, malformed, and one
// table of crafted inputs.

#include "network/CompressedBlocks.h"

#include "network/testing/CompressionTestData.h"

#include <gtest/gtest.h>

#include <functional>
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
        result.m_Ok =
            DecodeCompressedBlocks(compressed, output, mode, &decompressor) == e_CompressedBlocksResult::DECODED;
    }
    result.m_Output.assign(reinterpret_cast<const char*>(output.GetData()), output.GetSize());
    result.m_Left = compressed.GetSize();
    return result;
}

const std::string TEXT = "Block data, block data, block data: the same words again and again.";
const auto SIZE = static_cast<std::uint32_t>(TEXT.size());

std::string Block(const std::string& data, std::uint32_t uncompressed) {
    return Header(static_cast<std::uint32_t>(data.size()) + COMPRESSED_BLOCK_HEADER_SIZE, uncompressed) + data;
}

std::string OneShotData(const std::string& text) {
    return MakeBlocks({text}, RECEIVE_DECOMPRESSION_BLOCKS).substr(COMPRESSED_BLOCK_HEADER_SIZE);
}

// Each call continues the same compressor's history, as a sender's blocks do.
std::string StreamData(c_LZ4StreamCompressor& compressor, const std::string& text) {
    std::string data(static_cast<std::size_t>(c_LZ4StreamCompressor::GetStreamCompressBound(int(text.size()))), '\0');
    const int written = compressor.Compress(reinterpret_cast<const std::uint8_t*>(text.data()), int(text.size()),
                                            reinterpret_cast<std::uint8_t*>(data.data()), int(data.size()));
    data.resize(static_cast<std::size_t>(written < 0 ? 0 : written));
    return data;
}

struct s_BlockCase {
    const char* m_Name;
    std::int32_t m_Mode;
    std::function<std::string()> m_Input;
    e_CompressedBlocksResult m_Result;
    std::string m_Output;
    // Bytes left in the input after a decode; a refused input keeps all of its bad block.
    std::uint32_t m_Left;
};

constexpr std::int32_t ONE_SHOT = RECEIVE_DECOMPRESSION_BLOCKS;
constexpr std::int32_t STREAM = RECEIVE_DECOMPRESSION_STREAM;
constexpr auto DECODED = e_CompressedBlocksResult::DECODED;
constexpr auto INVALID = e_CompressedBlocksResult::INVALID;

const s_BlockCase CASES[] = {
    {"OneBlock", ONE_SHOT, [] { return Block(OneShotData(TEXT), SIZE); }, DECODED, TEXT, 0},
    {"TwoBlocksAndAPartialThird", ONE_SHOT,
     [] {
         const std::string block = Block(OneShotData(TEXT), SIZE);
         return block + block + block.substr(0, 12);
     },
     DECODED, TEXT + TEXT, 12},
    {"PartialHeaderWaits", ONE_SHOT, [] { return Header(100, 10).substr(0, 7); }, DECODED, "", 7},
    // Enough data for LZ4 to make 16 MiB of it.
    {"LargestLengthWaitsForItsData", ONE_SHOT, [] { return Header(40000, COMPRESSED_BLOCK_MAX_UNCOMPRESSED); }, DECODED,
     "", 8},
    {"ZeroTotalIsAnError", ONE_SHOT, [] { return Header(0, 0); }, INVALID, "", 8},
    {"UncompressedAbove16MiBIsAnErrorBeforeItsData", ONE_SHOT,
     [] { return Header(0x01000000, COMPRESSED_BLOCK_MAX_UNCOMPRESSED + 1); }, INVALID, "", 8},
    {"MoreThanLZ4CanMakeIsAnErrorBeforeItsData", ONE_SHOT, [] { return Header(100, 1000000); }, INVALID, "", 8},
    {"HugeTotalIsAnErrorNotAWait", ONE_SHOT, [] { return Header(0xFFFFFFFF, 10); }, INVALID, "", 8},
    {"StreamFormKeepsItsHistory", STREAM,
     [] {
         c_LZ4StreamCompressor compressor;
         const std::string first = Block(StreamData(compressor, TEXT), SIZE);
         return first + Block(StreamData(compressor, TEXT), SIZE);
     },
     DECODED, TEXT + TEXT, 0},
    {"StreamFormBlockWithALeftoverFrameIsAnError", STREAM,
     [] {
         c_LZ4StreamCompressor compressor;
         return Block(StreamData(compressor, TEXT) + "\x05", SIZE);
     },
     INVALID, "", 0},
};

class CompressedBlocksTable : public testing::TestWithParam<s_BlockCase> {};

TEST_P(CompressedBlocksTable, DecodesWaitsOrRefuses) {
    const s_BlockCase& row = GetParam();
    const std::string bytes = row.m_Input();
    c_ByteBuffer input;
    ASSERT_TRUE(input.Append(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    c_ByteBuffer output;
    c_LZ4StreamDecompressor stream;
    EXPECT_EQ(DecodeCompressedBlocks(input, output, row.m_Mode, &stream), row.m_Result);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(output.GetData()), output.GetSize()), row.m_Output);
    EXPECT_EQ(input.GetSize(), row.m_Result == DECODED ? row.m_Left : bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Rows, CompressedBlocksTable, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<s_BlockCase>& info) { return info.param.m_Name; });

// The stream form cannot decode without its decompressor.
TEST(CompressedBlocksMode, TheStreamFormWithoutItsDecompressorIsAnError) {
    c_LZ4StreamCompressor compressor;
    const std::string block = Block(StreamData(compressor, TEXT), SIZE);
    c_ByteBuffer input;
    ASSERT_TRUE(input.Append(block.data(), static_cast<std::uint32_t>(block.size())));
    c_ByteBuffer output;
    EXPECT_EQ(DecodeCompressedBlocks(input, output, STREAM, nullptr), INVALID);
    EXPECT_EQ(output.GetSize(), 0U);
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
