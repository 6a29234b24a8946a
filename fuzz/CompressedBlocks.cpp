// Fuzz target: DecodeCompressedBlocks on arbitrary bytes in arbitrary slices, in either mode, as a
// compressed socket's stream would arrive. Whatever the slicing, the outcome must be that of one
// call over the whole input, the output never grows beyond what LZ4 can make of the bytes, and a
// call never leaves a whole block behind undecoded.

#include "network/CompressedBlocks.h"
#include "fuzz/FuzzInput.h"

#include <algorithm>
#include <vector>

namespace {

struct s_Outcome {
    e_CompressedBlocksResult m_Result = e_CompressedBlocksResult::DECODED;
    std::vector<std::uint8_t> m_Output;
    std::uint32_t m_Left = 0;
    bool m_LeftHoldsAWholeBlock = false;
};

std::uint32_t ReadTotal(const std::uint8_t* header) {
    return header[0] | header[1] << 8 | header[2] << 16 | std::uint32_t(header[3]) << 24;
}

s_Outcome DecodeInSlices(const std::vector<std::uint8_t>& stream, std::int32_t mode, c_SliceSizes* slices) {
    c_LZ4StreamDecompressor decompressor;
    c_ByteBuffer compressed;
    c_ByteBuffer output;
    s_Outcome outcome;
    std::size_t fed = 0;
    do {
        const std::size_t n =
            slices == nullptr ? stream.size() : std::min<std::size_t>(slices->Next(), stream.size() - fed);
        compressed.Append(stream.data() + fed, static_cast<std::uint32_t>(n));
        fed += n;
        outcome.m_Result = DecodeCompressedBlocks(compressed, output, mode, &decompressor);
    } while (outcome.m_Result == e_CompressedBlocksResult::DECODED && fed < stream.size());
    // After an error nothing more is decoded: the rest only waits.
    compressed.Append(stream.data() + fed, static_cast<std::uint32_t>(stream.size() - fed));
    outcome.m_Output.assign(output.GetData(), output.GetData() + output.GetSize());
    outcome.m_Left = compressed.GetSize();
    outcome.m_LeftHoldsAWholeBlock =
        compressed.GetSize() >= COMPRESSED_BLOCK_HEADER_SIZE && ReadTotal(compressed.GetData()) <= compressed.GetSize();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    const auto mode =
        static_cast<std::int32_t>(input.TakeInt(RECEIVE_DECOMPRESSION_BLOCKS, RECEIVE_DECOMPRESSION_STREAM));
    c_SliceSizes slices(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 4096));
    const std::vector<std::uint8_t> stream = input.TakeRest();

    const s_Outcome whole = DecodeInSlices(stream, mode, nullptr);
    FUZZ_CHECK(whole.m_Output.size() <= stream.size() * 512 + 1024 * (stream.size() / 8 + 1));
    FUZZ_CHECK(whole.m_Left <= stream.size());
    FUZZ_CHECK(whole.m_Result != e_CompressedBlocksResult::OUT_OF_MEMORY);
    FUZZ_CHECK(whole.m_Result != e_CompressedBlocksResult::DECODED || !whole.m_LeftHoldsAWholeBlock);
    const s_Outcome sliced = DecodeInSlices(stream, mode, &slices);
    FUZZ_CHECK(sliced.m_Result == whole.m_Result);
    FUZZ_CHECK(sliced.m_Output == whole.m_Output);
    FUZZ_CHECK(sliced.m_Left == whole.m_Left);
    return 0;
}
