// Fuzz target: c_LZ4StreamDecompressor on arbitrary input, delivered in arbitrary slices into
// destinations of arbitrary sizes, as a socket would deliver it. Whatever the slicing, the output
// must be that of one call over the whole input.

#include "fuzz/FuzzInput.h"
#include "network/LZ4Streams.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    c_SliceSizes slices(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 4096));
    c_SliceSizes capacities(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 3000));
    const std::vector<std::uint8_t> stream = input.TakeRest();

    // Every block decodes to at most one chunk.
    const std::size_t most = (stream.size() / 2 + 1) * std::size_t(c_LZ4StreamCompressor::CHUNK_SIZE);
    // Kept from run to run: zeroing megabytes each run would cost more than the decoding.
    static std::vector<std::uint8_t> wholeBuffer;
    if (wholeBuffer.size() < most) {
        wholeBuffer.resize(most);
    }
    c_LZ4StreamDecompressor reference;
    int wholeConsumed = -1;
    const int wholeSize =
        reference.Decompress(stream.data(), int(stream.size()), wholeBuffer.data(), int(most), &wholeConsumed);
    FUZZ_CHECK(wholeSize >= 0 && std::size_t(wholeSize) <= most);
    FUZZ_CHECK(wholeConsumed >= 0 && std::size_t(wholeConsumed) <= stream.size());
    const std::vector<std::uint8_t> whole(wholeBuffer.begin(), wholeBuffer.begin() + wholeSize);

    c_LZ4StreamDecompressor decompressor;
    std::vector<std::uint8_t> pending;
    std::vector<std::uint8_t> output;
    std::size_t fed = 0;
    for (bool progress = true; progress;) {
        const std::size_t n = std::min<std::size_t>(slices.Next(), stream.size() - fed);
        pending.insert(pending.end(), stream.begin() + long(fed), stream.begin() + long(fed + n));
        fed += n;
        const int capacity = int(capacities.Next()) + 1;
        std::vector<std::uint8_t> piece(static_cast<std::size_t>(capacity));
        int consumed = -1;
        const int written =
            decompressor.Decompress(pending.data(), int(pending.size()), piece.data(), capacity, &consumed);
        FUZZ_CHECK(written >= 0 && written <= capacity);
        FUZZ_CHECK(consumed >= 0 && std::size_t(consumed) <= pending.size());
        output.insert(output.end(), piece.begin(), piece.begin() + written);
        pending.erase(pending.begin(), pending.begin() + consumed);
        progress = fed < stream.size() || written > 0 || consumed > 0;
    }
    FUZZ_CHECK(output == whole);
    FUZZ_CHECK(decompressor.HasFailed() == reference.HasFailed());
    return 0;
}
