// Fuzz target: the buffered socket's compressed receive blocks on arbitrary input, in either form,
// delivered in arbitrary slices as a socket would deliver them. Whatever the slicing, the outcome and
// the output must be those of one call over the whole input, and a call never leaves a whole block
// behind undecoded.

#include "protocols/socket/LZ4ReceiveBlocks.h"
#include "fuzz/FuzzInput.h"

#include <memory>

namespace {

std::string Text(const c_ByteBuffer& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    const bool streamForm = input.TakeBool();
    c_SliceSizes slices(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 4096));
    const std::vector<std::uint8_t> stream = input.TakeRest();

    c_ByteBuffer whole;
    c_ByteBuffer wholeOutput;
    FUZZ_CHECK(whole.Append(stream.data(), static_cast<std::uint32_t>(stream.size())));
    c_LZ4StreamDecompressor wholeDecompressor;
    const e_LZ4ReceiveResult wholeResult =
        DecodeLZ4ReceiveBlocks(whole, wholeOutput, streamForm ? &wholeDecompressor : nullptr);
    FUZZ_CHECK(wholeResult != e_LZ4ReceiveResult::OUT_OF_MEMORY);
    if (wholeResult == e_LZ4ReceiveResult::DECODED) {
        // What is left is a header's start or a block still arriving.
        FUZZ_CHECK(whole.GetSize() < LZ4_RECEIVE_BLOCK_HEADER_SIZE ||
                   (whole.GetData()[0] | whole.GetData()[1] << 8 | whole.GetData()[2] << 16 |
                    std::uint32_t(whole.GetData()[3]) << 24) > whole.GetSize());
    }

    c_ByteBuffer pending;
    c_ByteBuffer output;
    c_LZ4StreamDecompressor decompressor;
    e_LZ4ReceiveResult result = e_LZ4ReceiveResult::DECODED;
    for (std::size_t fed = 0; fed < stream.size() && result == e_LZ4ReceiveResult::DECODED;) {
        const std::size_t n = std::min<std::size_t>(slices.Next(), stream.size() - fed);
        FUZZ_CHECK(pending.Append(stream.data() + fed, static_cast<std::uint32_t>(n)));
        fed += n;
        result = DecodeLZ4ReceiveBlocks(pending, output, streamForm ? &decompressor : nullptr);
    }
    FUZZ_CHECK(result == wholeResult);
    FUZZ_CHECK(Text(output) == Text(wholeOutput));
    if (result == e_LZ4ReceiveResult::DECODED) {
        FUZZ_CHECK(Text(pending) == Text(whole));
    }
    return 0;
}
