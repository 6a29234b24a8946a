// Fuzz target: c_ZlibInflateStream::DecompressBlock on arbitrary bytes, with an arbitrary output
// limit. A block that decodes must carry the Adler-32 of its output and match zlib's raw inflate.

#include "fuzz/FuzzInput.h"
#include "network/c_ZlibInflateStream.h"
#include "network/testing/CompressionTestData.h"

#include <string>

using namespace n_CompressionTestData;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    const std::uint32_t limit = input.TakeBool() ? input.TakeInt(0, 1u << 20) : 16u << 20;
    const std::vector<std::uint8_t> block = input.TakeRest();

    c_ZlibInflateStream stream;
    stream.SetMaxOutputSize(limit);
    // Kept from run to run: a fresh 256 KiB block each run would cost more than the inflating.
    static c_ByteBuffer output;
    output.Clear(false);
    c_String error;
    const bool decoded = stream.DecompressBlock(block.data(), std::uint32_t(block.size()), output, &error);
    FUZZ_CHECK(decoded == error.IsEmpty());
    FUZZ_CHECK(output.GetSize() <= limit);
    if (decoded) {
        FUZZ_CHECK(block.size() >= 6 && block[0] == 0);
        const std::uint8_t* check = block.data() + block.size() - 4;
        const uLong expected = uLong(check[0]) | uLong(check[1]) << 8 | uLong(check[2]) << 16 | uLong(check[3]) << 24;
        FUZZ_CHECK(adler32(adler32(0, Z_NULL, 0), output.GetData(), output.GetSize()) == expected);
        const s_ReferenceInflate reference =
            ReferenceInflate(block.data() + 1, block.size() - 5, RAW_WINDOW_BITS, limit);
        FUZZ_CHECK(!reference.IsError());
        FUZZ_CHECK(std::string(reinterpret_cast<const char*>(output.GetData()), output.GetSize()) ==
                   reference.m_Output);
    }

    // The same block after Reset decodes the same way.
    stream.Reset();
    static c_ByteBuffer again;
    again.Clear(false);
    c_String againError;
    FUZZ_CHECK(stream.DecompressBlock(block.data(), std::uint32_t(block.size()), again, &againError) == decoded);
    FUZZ_CHECK(againError == error);
    return 0;
}
