// Fuzz target: c_ZlibDecompressor2 over a reader that returns arbitrary chunk sizes (waits included),
// read in arbitrary sizes. Either the input itself is the compressed stream, checked against zlib's
// inflate of the whole input, or it is data that c_ZlibCompressor2 compresses in arbitrary writes
// first, which must come back unchanged.

#include "fuzz/FuzzInput.h"
#include "network/c_ZlibCompressor2.h"
#include "network/c_ZlibDecompressor2.h"
#include "network/testing/CompressionTestData.h"
#include "network/testing/c_MemoryStreams.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace n_CompressionTestData;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    const bool roundTrip = input.TakeBool();
    std::vector<std::uint32_t> pieces(input.TakeInt(1, 8));
    for (std::uint32_t& piece : pieces) {
        piece = input.TakeInt(0, 70000);
    }
    pieces.push_back(input.TakeInt(1, 70000));
    c_SliceSizes reads(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 300000));
    c_SliceSizes writes(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 300000));
    const int level = int(input.TakeInt(0, 10)) - 1;
    const std::vector<std::uint8_t> bytes = input.TakeRest();

    std::vector<std::uint8_t> compressed;
    if (roundTrip) {
        c_RecordingWriter target;
        {
            c_ZlibCompressor2 compressor(&target);
            if (level >= 0) {
                FUZZ_CHECK(compressor.SetCompressionLevel(level) == level);
            }
            for (std::size_t at = 0; at < bytes.size();) {
                const std::size_t n = std::min<std::size_t>(writes.Next(), bytes.size() - at);
                compressor.Write(s_ByteSpan::FromPointer(bytes.data() + at, n));
                at += n;
            }
            compressor.Finish();
            FUZZ_CHECK(!compressor.HasError());
        }
        compressed = target.GetBytes();
        FUZZ_CHECK(compressed.empty() == bytes.empty());
        if (compressed.empty()) {
            return 0;
        }
    } else {
        compressed = bytes;
    }

    c_ScriptedReader source(compressed, pieces);
    c_ZlibDecompressor2 reader(&source);
    std::string output;
    // A read that neither hands out bytes nor takes the source on met a piece of 0; the script holds
    // fewer of those in a row than it has pieces.
    for (int idle = 0; !reader.IsAtEnd() && idle <= int(pieces.size());) {
        const std::uint64_t n = reads.Next();
        const std::size_t position = source.GetPosition();
        const s_ByteSpan span = reader.Read(n);
        FUZZ_CHECK(span.m_Size <= n);
        output.append(reinterpret_cast<const char*>(span.m_p_Data), span.m_Size);
        idle = span.m_Size == 0 && n > 0 && source.GetPosition() == position ? idle + 1 : 0;
    }
    FUZZ_CHECK(reader.IsAtEnd());

    if (roundTrip || compressed.empty()) {
        // A source at its end from the start is an empty stream, no failure.
        FUZZ_CHECK(!reader.HasError());
        FUZZ_CHECK(output == (roundTrip ? std::string(bytes.begin(), bytes.end()) : std::string()));
        return 0;
    }
    const s_ReferenceInflate reference =
        ReferenceInflate(compressed.data(), compressed.size(), ZLIB_WINDOW_BITS + 32, SIZE_MAX - 1);
    if (reference.m_Result == Z_STREAM_END) {
        FUZZ_CHECK(!reader.HasError());
        FUZZ_CHECK(output == reference.m_Output);
    } else {
        // A data error, or a source that ends before the stream does.
        FUZZ_CHECK(reader.HasError());
        FUZZ_CHECK(IsOnePrefixOfTheOther(output, reference.m_Output));
    }
    return 0;
}
