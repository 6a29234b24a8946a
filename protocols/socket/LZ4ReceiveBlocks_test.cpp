// Tests of the compressed receive stream's decoder: one table of crafted inputs, in both forms.

#include "protocols/socket/LZ4ReceiveBlocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using t_Bytes = std::vector<std::uint8_t>;

const std::string TEXT = "Block data, block data, block data: the same words again and again.";

void AppendUInt32LE(t_Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

t_Bytes Header(std::uint32_t total, std::uint32_t uncompressed) {
    t_Bytes bytes;
    AppendUInt32LE(bytes, total);
    AppendUInt32LE(bytes, uncompressed);
    return bytes;
}

t_Bytes OneShotData(const std::string& text) {
    const t_Bytes source(text.begin(), text.end());
    t_Bytes data;
    CompressLZ4(source, data, 1);
    return data;
}

// Each call continues the same compressor's history, as a sender's blocks do.
t_Bytes StreamData(c_LZ4StreamCompressor& compressor, const std::string& text) {
    t_Bytes data(static_cast<std::size_t>(c_LZ4StreamCompressor::GetStreamCompressBound(int(text.size()))));
    const int written = compressor.Compress(reinterpret_cast<const std::uint8_t*>(text.data()), int(text.size()),
                                            data.data(), int(data.size()));
    data.resize(static_cast<std::size_t>(written < 0 ? 0 : written));
    return data;
}

t_Bytes Block(const t_Bytes& data, std::uint32_t uncompressed) {
    t_Bytes block = Header(static_cast<std::uint32_t>(data.size()) + 8, uncompressed);
    block.insert(block.end(), data.begin(), data.end());
    return block;
}

t_Bytes Join(t_Bytes a, const t_Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

t_Bytes Cut(t_Bytes bytes, std::size_t length) {
    bytes.resize(length);
    return bytes;
}

const std::uint32_t SIZE = static_cast<std::uint32_t>(TEXT.size());

struct s_BlockCase {
    const char* m_Name;
    bool m_Stream;
    std::function<t_Bytes()> m_Input;
    e_LZ4ReceiveResult m_Result;
    std::string m_Output;
    // Bytes left in the input afterwards.
    std::uint32_t m_Left;
};

const s_BlockCase CASES[] = {
    {"OneBlock", false, [] { return Block(OneShotData(TEXT), SIZE); }, e_LZ4ReceiveResult::DECODED, TEXT, 0},
    {"TwoBlocksAndAPartialThird", false,
     [] {
         const t_Bytes block = Block(OneShotData(TEXT), SIZE);
         return Join(Join(block, block), Cut(block, 12));
     },
     e_LZ4ReceiveResult::DECODED, TEXT + TEXT, 12},
    {"PartialBlockWaits", false, [] { return Cut(Block(OneShotData(TEXT), SIZE), 20); }, e_LZ4ReceiveResult::DECODED,
     "", 20},
    {"PartialHeaderWaits", false, [] { return Cut(Header(100, 10), 7); }, e_LZ4ReceiveResult::DECODED, "", 7},
    {"LargestLengthWaitsForItsData", false, [] { return Header(9000, LZ4_RECEIVE_BLOCK_MAX_UNCOMPRESSED); },
     e_LZ4ReceiveResult::DECODED, "", 8},
    {"ZeroTotalIsAnError", false, [] { return Header(0, 0); }, e_LZ4ReceiveResult::INVALID, "", 8},
    {"TotalBelowTheHeaderIsAnError", false, [] { return Join(Header(7, 0), OneShotData(TEXT)); },
     e_LZ4ReceiveResult::INVALID, "", 0},
    {"UncompressedAbove16MiBIsAnErrorBeforeItsData", false,
     [] { return Header(100, LZ4_RECEIVE_BLOCK_MAX_UNCOMPRESSED + 1); }, e_LZ4ReceiveResult::INVALID, "", 8},
    {"HugeTotalIsAnErrorNotAWait", false, [] { return Header(0xFFFFFFFF, 10); }, e_LZ4ReceiveResult::INVALID, "", 8},
    {"DataThatDoesNotDecodeIsAnError", false,
     [] {
         return Block(t_Bytes{0xF0, 0x01, 0x02}, 40);
     },
     e_LZ4ReceiveResult::INVALID, "", 0},
    {"ShorterThanAnnouncedIsAnError", false, [] { return Block(OneShotData(TEXT), SIZE + 1); },
     e_LZ4ReceiveResult::INVALID, "", 0},
    {"LongerThanAnnouncedIsAnError", false, [] { return Block(OneShotData(TEXT), SIZE - 1); },
     e_LZ4ReceiveResult::INVALID, "", 0},
    {"GoodBlockBeforeABadOneIsKept", false, [] { return Join(Block(OneShotData(TEXT), SIZE), Header(3, 0)); },
     e_LZ4ReceiveResult::INVALID, TEXT, 0},
    {"StreamFormKeepsItsHistory", true,
     [] {
         c_LZ4StreamCompressor compressor;
         const t_Bytes first = Block(StreamData(compressor, TEXT), SIZE);
         return Join(first, Block(StreamData(compressor, TEXT), SIZE));
     },
     e_LZ4ReceiveResult::DECODED, TEXT + TEXT, 0},
    {"StreamFormBlockWithALeftoverFrameIsAnError", true,
     [] {
         c_LZ4StreamCompressor compressor;
         return Block(Join(StreamData(compressor, TEXT), t_Bytes{0x05}), SIZE);
     },
     e_LZ4ReceiveResult::INVALID, "", 0},
};

class LZ4ReceiveBlocks : public testing::TestWithParam<s_BlockCase> {};

TEST_P(LZ4ReceiveBlocks, DecodesWaitsOrRefuses) {
    const s_BlockCase& row = GetParam();
    const t_Bytes bytes = row.m_Input();
    c_ByteBuffer input;
    ASSERT_TRUE(input.Append(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    c_ByteBuffer output;
    c_LZ4StreamDecompressor stream;
    EXPECT_EQ(DecodeLZ4ReceiveBlocks(input, output, row.m_Stream ? &stream : nullptr), row.m_Result);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(output.GetData()), output.GetSize()), row.m_Output);
    if (row.m_Result == e_LZ4ReceiveResult::DECODED) {
        EXPECT_EQ(input.GetSize(), row.m_Left);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, LZ4ReceiveBlocks, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<s_BlockCase>& info) { return info.param.m_Name; });

TEST(LZ4ReceiveBlocksArrival, BlockCutAnywhereDecodesOnceWhole) {
    const t_Bytes block = Block(OneShotData(TEXT), SIZE);
    for (std::size_t cut = 0; cut <= block.size(); ++cut) {
        c_ByteBuffer input;
        c_ByteBuffer output;
        ASSERT_TRUE(input.Append(block.data(), static_cast<std::uint32_t>(cut)));
        ASSERT_EQ(DecodeLZ4ReceiveBlocks(input, output, nullptr), e_LZ4ReceiveResult::DECODED) << cut;
        ASSERT_TRUE(input.Append(block.data() + cut, static_cast<std::uint32_t>(block.size() - cut)));
        ASSERT_EQ(DecodeLZ4ReceiveBlocks(input, output, nullptr), e_LZ4ReceiveResult::DECODED) << cut;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(output.GetData()), output.GetSize()), TEXT) << cut;
        EXPECT_TRUE(input.IsEmpty()) << cut;
    }
}

} // namespace
