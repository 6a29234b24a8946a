// Fuzz target: LZ4 round trips of arbitrary data in arbitrary call slices. The stream compressor's
// blocks go through the stream decompressor in destinations of arbitrary sizes; the high-compression
// and block compressors, with arbitrary chunks, rings and destinations, decode with LZ4's streaming
// decoder over one flat buffer; the one-shot calls decode with LZ4's safe decoder. The data is the
// input repeated, so that small inputs still wrap the rings.

#include "fuzz/FuzzInput.h"
#include "network/LZ4Streams.h"

#include <algorithm>
#include <vector>

namespace {

using t_Bytes = std::vector<std::uint8_t>;

t_Bytes DecodeFlat(const t_Bytes& framed, std::size_t size) {
    t_Bytes data(size + c_LZ4HCStreamCompressor::MAX_CHUNK_SIZE);
    LZ4_streamDecode_t state;
    LZ4_setStreamDecode(&state, nullptr, 0);
    std::size_t out = 0;
    for (std::size_t at = 0; at + 2 <= framed.size();) {
        const int length = framed[at] | framed[at + 1] << 8;
        FUZZ_CHECK(at + 2 + std::size_t(length) <= framed.size());
        const int c = LZ4_decompress_safe_continue(&state, reinterpret_cast<const char*>(framed.data() + at + 2),
                                                   reinterpret_cast<char*>(data.data() + out), length,
                                                   c_LZ4HCStreamCompressor::MAX_CHUNK_SIZE);
        FUZZ_CHECK(c >= 0 && out + std::size_t(c) <= size);
        out += std::size_t(c);
        at += 2 + std::size_t(length);
    }
    data.resize(out);
    return data;
}

// The rest of the input, repeated, each time followed by a byte that differs, so that the repeats are
// not one long match.
t_Bytes TakeData(c_FuzzInput& input, std::uint32_t repeats) {
    const t_Bytes once = input.TakeBytes(8192);
    t_Bytes data;
    for (std::uint32_t i = 0; i < repeats && !once.empty(); ++i) {
        data.insert(data.end(), once.begin(), once.end());
        data.push_back(std::uint8_t(i * 37));
    }
    return data;
}

int FramedBound(int k) {
    return 2 + LZ4CompressBound(k);
}

void StreamRoundTrip(c_FuzzInput& input, std::uint32_t repeats) {
    c_SliceSizes slices(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 20000));
    c_SliceSizes capacities(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 5000));
    const bool tryShort = input.TakeBool();
    const t_Bytes data = TakeData(input, repeats);
    c_LZ4StreamCompressor compressor;
    c_LZ4StreamDecompressor decompressor;
    t_Bytes output;
    t_Bytes framed;
    t_Bytes piece;
    std::size_t checked = 0;
    for (std::size_t at = 0; at < data.size();) {
        const int n = int(std::min<std::size_t>(slices.Next(), data.size() - at));
        const int bound = c_LZ4StreamCompressor::GetStreamCompressBound(n);
        // Buffers grow to their largest use and are used again: zeroing a fresh one each call would
        // cost more than the compression.
        if (framed.size() < std::size_t(bound) + 1) {
            framed.resize(std::size_t(bound) + 1);
        }
        if (tryShort && n > 0) {
            // Less than the worst case is refused whole, and changes nothing.
            FUZZ_CHECK(compressor.Compress(data.data() + at, n, framed.data(), bound - 1) == LZ4_STREAM_FAILED);
        }
        const int written = compressor.Compress(data.data() + at, n, framed.data(), bound);
        FUZZ_CHECK(written >= 0 && written <= bound && (written > 0) == (n > 0));
        at += std::size_t(n);
        // The blocks of one call, read in destinations of any size.
        int offset = 0;
        for (bool progress = true; progress;) {
            const int capacity = int(capacities.Next()) + 1;
            if (piece.size() < static_cast<std::size_t>(capacity)) {
                piece.resize(static_cast<std::size_t>(capacity));
            }
            int consumed = -1;
            const int got =
                decompressor.Decompress(framed.data() + offset, written - offset, piece.data(), capacity, &consumed);
            FUZZ_CHECK(got >= 0 && got <= capacity && consumed >= 0 && consumed <= written - offset);
            output.insert(output.end(), piece.begin(), piece.begin() + got);
            offset += consumed;
            progress = got > 0 || consumed > 0;
        }
        FUZZ_CHECK(offset == written);
        FUZZ_CHECK(!decompressor.HasFailed() && decompressor.GetPendingSize() == 0);
        FUZZ_CHECK(output.size() == at &&
                   std::equal(output.begin() + long(checked), output.end(), data.begin() + long(checked)));
        checked = at;
        FUZZ_CHECK(decompressor.GetRingPosition() == compressor.GetRingPosition());
    }
}

void HighCompressionRoundTrip(c_FuzzInput& input, std::uint32_t repeats) {
    const int chunk = int(input.TakeInt(1, 70000));
    const int ring = int(input.TakeInt(1, 140000));
    c_SliceSizes slices(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 20000));
    c_SliceSizes extra(input.TakeInt(0, UINT32_MAX), input.TakeInt(0, 70000));
    const t_Bytes data = TakeData(input, repeats);
    c_LZ4HCStreamCompressor compressor(chunk, ring);
    const int usedChunk = std::min(chunk, c_LZ4HCStreamCompressor::MAX_CHUNK_SIZE);
    FUZZ_CHECK(compressor.IsUsable() == (ring >= usedChunk));
    if (!compressor.IsUsable()) {
        int consumed = -1;
        std::uint8_t byte = 0;
        FUZZ_CHECK(compressor.Compress(&byte, 1, &byte, 1, &consumed) == LZ4_STREAM_FAILED && consumed == 0);
        return;
    }
    t_Bytes framed;
    t_Bytes output;
    for (std::size_t at = 0; at < data.size();) {
        const int n = int(std::min<std::size_t>(slices.Next() + 1, data.size() - at));
        // At least room for the worst case of one chunk, so that every call takes something.
        const int capacity = FramedBound(std::min(n, usedChunk)) + int(extra.Next());
        if (output.size() < static_cast<std::size_t>(capacity)) {
            output.resize(static_cast<std::size_t>(capacity));
        }
        int consumed = -1;
        const int written = compressor.Compress(data.data() + at, n, output.data(), capacity, &consumed);
        FUZZ_CHECK(written > 0 && written <= capacity && consumed > 0 && consumed <= n);
        framed.insert(framed.end(), output.begin(), output.begin() + written);
        at += std::size_t(consumed);
    }
    FUZZ_CHECK(DecodeFlat(framed, data.size()) == data);
}

void BlockRoundTrip(c_FuzzInput& input, std::uint32_t repeats) {
    const int chunk = int(input.TakeInt(1, 70000));
    const int acceleration = int(input.TakeInt(1, 64));
    const t_Bytes data = TakeData(input, repeats);
    c_ByteBuffer source;
    source.Append(data.data(), std::uint32_t(data.size()));
    c_LZ4BlockCompressor compressor(chunk);
    const int usedChunk = std::min(chunk, c_LZ4HCStreamCompressor::MAX_CHUNK_SIZE);
    const int capacity = int(data.size() / std::size_t(usedChunk) + 1) * FramedBound(usedChunk);
    t_Bytes framed(static_cast<std::size_t>(capacity));
    int consumed = -1;
    const int written = compressor.Compress(source, framed.data(), capacity, &consumed, acceleration);
    FUZZ_CHECK(written >= 0 && consumed == int(data.size()));
    framed.resize(std::size_t(written));
    FUZZ_CHECK(DecodeFlat(framed, data.size()) == data);
}

void OneShotRoundTrip(c_FuzzInput& input, std::uint32_t repeats) {
    const t_Bytes data = TakeData(input, repeats);
    t_Bytes compressed;
    const int size = CompressLZ4(data, compressed, 1);
    FUZZ_CHECK(size > 0 && std::size_t(size) == compressed.size());
    t_Bytes output(data.size() + 1);
    FUZZ_CHECK(LZ4DecompressSafe(compressed.data(), size, output.data(), int(output.size())) == int(data.size()));
    output.resize(data.size());
    FUZZ_CHECK(output == data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    c_FuzzInput input(bytes, size);
    const std::uint32_t repeats = input.TakeInt(1, 40);
    const std::uint32_t form = input.TakeInt(0, 3);
    switch (form) {
        case 0:
            StreamRoundTrip(input, repeats);
            break;
        case 1:
            HighCompressionRoundTrip(input, repeats);
            break;
        case 2:
            BlockRoundTrip(input, repeats);
            break;
        default:
            OneShotRoundTrip(input, repeats);
            break;
    }
    return 0;
}
